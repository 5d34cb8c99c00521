#include "calendrierhtml.h"

#include "store/dates.h"

#include <QHash>
#include <QTime>
#include <vector>

namespace CalendrierHTML {

namespace {

const char* const kJoursEntete[7] = {"Lun", "Mar", "Mer", "Jeu", "Ven", "Sam", "Dim"};

// Index 1 (Sunday) .. 7 (Saturday) -> column; 0 and 8 stay empty.
constexpr int kColonnes[9] = {0, 7, 1, 2, 3, 4, 5, 6, 0};

// Characters of bytes 0x80 to 0x9F in Windows-1252 (0 where the byte has none).
constexpr char16_t kPlage80[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

// The stays reduced to what the day state needs: day numbers of the first
// and last day, and whether the stay starts or ends at a time of day.
struct Bornes {
    qint64 a = 0;
    qint64 b = 0;
    bool demiJournee = false;
};

std::vector<Bornes> bornes(const QList<LigneSejour>& sejours)
{
    const QTime minuit(0, 0);
    std::vector<Bornes> resultat;
    resultat.reserve(size_t(sejours.size()));
    for (const LigneSejour& sejour : sejours) {
        if (!sejour.debut.isValid() || !sejour.fin.isValid())
            continue;
        resultat.push_back({sejour.debut.date().toJulianDay(), sejour.fin.date().toJulianDay(),
                            sejour.debut.time() != minuit || sejour.fin.time() != minuit});
    }
    return resultat;
}

int etat(qint64 jour, const std::vector<Bornes>& sejours)
{
    int s = 0;
    for (const Bornes& sejour : sejours) {
        if (sejour.a < jour && jour < sejour.b)
            s = 2;
        if (jour == sejour.a || jour == sejour.b)
            s = (sejour.demiJournee && s == 0) ? 1 : 2;
    }
    return s;
}

// The page's lines, each ended by CR LF, already in Windows-1252.
class Ecriture
{
public:
    Ecriture() { m_octets.reserve(160 * 1024); }
    void ligne(const QByteArray& texte)
    {
        m_octets += texte;
        m_octets += "\r\n";
    }
    const QByteArray& octets() const { return m_octets; }

private:
    QByteArray m_octets;
};

QString deuxChiffres(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// "dd mmm yy" with the French abbreviated month: "05 janv. 25".
QString dateEntete(const QDate& jour)
{
    return deuxChiffres(jour.day()) + QLatin1Char(' ') + Dates::nomMoisAbrege(jour.month()) + QLatin1Char(' ')
        + deuxChiffres(jour.year() % 100);
}

// "mmmm yyyy": "janvier 2025".
QString titreMois(const QDate& premier)
{
    return Dates::nomMoisMinuscule(premier.month()) + QLatin1Char(' ') + QString::number(premier.year());
}

const QByteArray kPolice = "Verdana, Arial, Helvetica, sans-serif";

// The fixed lines of a month table.
struct Modeles {
    QByteArray titre = "    <td><div align=\"center\"><strong><font size=\"2\" face=\"" + kPolice + "\">";
    QByteArray tableMois = "        </font></strong>        <table width=\"186\" border = \"1\" cellspacing = \"0\" "
                           "cellpadding = \"0\" > ";
    QByteArray enteteJours[7];
    QByteArray debutCellule[3];
    QByteArray celluleVide = QByteArray("            <td bgcolor=\"") + kCouleurSansJour
        + "\"><div align=\"center\"><font face=\"" + kPolice + "\"><font size=\"2\"></font></font></div></td>";

    Modeles()
    {
        for (int i = 0; i < 7; ++i)
            enteteJours[i] = "        <td><div align=\"center\"><font size=\"2\" face=\"" + kPolice + "\">"
                + kJoursEntete[i] + "</font></div></td>";
        for (int e = 0; e < 3; ++e)
            debutCellule[e] = QByteArray("           <td bgcolor=\"") + kCouleurEtat[e]
                + "\"><div align=\"center\"><font size=\"2\" face=\"" + kPolice + "\">";
    }
};

// Writes the table of the month starting at `c` and leaves `c` on the 1st
// of the next month.
void ecrireMois(Ecriture& e, QDate& c, const std::vector<Bornes>& sejours, const Modeles& m)
{
    const int moisCle = c.month();
    const int anneeCle = c.year();
    e.ligne(m.titre + EnWindows1252(titreMois(c)));
    e.ligne("<br>");
    e.ligne(m.tableMois);
    e.ligne("      <tr bgcolor=\"#EAEAEA\">");
    for (const QByteArray& jour : m.enteteJours)
        e.ligne(jour);
    e.ligne("          </tr>");

    int premier = jourdecolonne(Dates::jourDeSemaine(c));
    int position = 1;
    for (int semaine = 0; semaine < kSemaines; ++semaine) {
        e.ligne("<tr bgcolor=\"#EAEAEA\">");
        for (int colonne = 0; colonne < 7; ++colonne) {
            if (c.month() != moisCle || c.year() != anneeCle || position != premier) {
                e.ligne(m.celluleVide);
            } else {
                e.ligne(m.debutCellule[etat(c.toJulianDay(), sejours)] + QByteArray::number(c.day())
                        + "</font></div></td>");
                c = c.addDays(1);
                ++premier;
            }
            ++position;
        }
        e.ligne("</tr>");
    }
    e.ligne("</table></td>");
}

} // namespace

int jourdecolonne(int jourSemaine)
{
    if (jourSemaine < 0 || jourSemaine > 8)
        return 0;
    return kColonnes[jourSemaine];
}

int etatjour(const QDate& jour, const QList<LigneSejour>& sejours)
{
    return etat(jour.toJulianDay(), bornes(sejours));
}

QString NomPourPage(const QString& nom)
{
    QString propre = nom;
    for (QChar& c : propre)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    return propre.toHtmlEscaped();
}

QByteArray EnWindows1252(const QString& texte)
{
    static const QHash<char32_t, char> plage80 = [] {
        QHash<char32_t, char> h;
        for (int i = 0; i < 32; ++i)
            if (kPlage80[i])
                h.insert(kPlage80[i], char(0x80 + i));
        return h;
    }();
    QByteArray octets;
    octets.reserve(texte.size());
    for (char32_t u : texte.toUcs4()) {
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
            octets.append(char(u));
        else if (const auto it = plage80.constFind(u); it != plage80.constEnd())
            octets.append(*it);
        else
            octets.append("&#" + QByteArray::number(quint32(u)) + ';');
    }
    return octets;
}

QByteArray Page(const QString& NomObjet, const QList<LigneSejour>& sejours, const QDateTime& maintenant)
{
    const Modeles modeles;
    const std::vector<Bornes> jours = bornes(sejours);

    Ecriture e;
    e.ligne(EnWindows1252(QStringLiteral("<div align=\"center\"><strong>Réservations ") + NomPourPage(NomObjet)
                          + QStringLiteral("</strong><font size=\"1\" face=\"") + QLatin1String(kPolice)
                          + QStringLiteral("\"> (mis à jour le ") + dateEntete(maintenant.date())
                          + QStringLiteral(" à ") + Dates::hhnn(maintenant.time())
                          + QLatin1String(")</font></div>")));
    e.ligne("<table width=\"770px\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">");

    QDate c(maintenant.date().year(), maintenant.date().month(), 1);
    for (int rangee = 0; rangee < kRangees; ++rangee) {
        e.ligne("  <tr>");
        for (int mois = 0; mois < kMoisParRangee; ++mois)
            ecrireMois(e, c, jours, modeles);
        e.ligne("</tr>");
    }
    e.ligne("</table>");
    return e.octets();
}

} // namespace CalendrierHTML
