#include "calendrierhtml.h"

#include "store/dates.h"

#include <QHash>
#include <QStringList>
#include <QTime>

namespace CalendrierHTML {

namespace {

const char* const kPolice = "Verdana, Arial, Helvetica, sans-serif";
const char* const kJoursEntete[7] = {"Lun", "Mar", "Mer", "Jeu", "Ven", "Sam", "Dim"};

// Index 1 (Sunday) .. 7 (Saturday) -> column; 0 and 8 stay empty.
constexpr int kColonnes[9] = {0, 7, 1, 2, 3, 4, 5, 6, 0};

// Characters of bytes 0x80 to 0x9F in Windows-1252 (0 where the byte has none).
constexpr char16_t kPlage80[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

// Writes the lines of the page, each ended by CR LF.
class Ecriture
{
public:
    void ligne(const QString& texte)
    {
        m_texte += texte;
        m_texte += QLatin1String("\r\n");
    }
    void ligne(QLatin1String texte) { ligne(QString(texte)); }
    const QString& texte() const { return m_texte; }
    void reserver(qsizetype n) { m_texte.reserve(n); }

private:
    QString m_texte;
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

QString debutCellule(int etat)
{
    return QStringLiteral("           <td bgcolor=\"%1\"><div align=\"center\"><font size=\"2\" face=\"%2\">")
        .arg(QLatin1String(kCouleurEtat[etat]), QLatin1String(kPolice));
}

// Writes the table of the month starting at `c` and leaves `c` on the 1st
// of the next month.
void ecrireMois(Ecriture& e, QDate& c, const QList<LigneSejour>& sejours, const QString (&cellules)[3],
                const QString& celluleVide)
{
    const int moisCle = c.month();
    const int anneeCle = c.year();
    e.ligne(QStringLiteral("    <td><div align=\"center\"><strong><font size=\"2\" face=\"%1\">")
                .arg(QLatin1String(kPolice))
            + titreMois(c));
    e.ligne(QLatin1String("<br>"));
    e.ligne(QLatin1String("        </font></strong>        <table width=\"186\" border = \"1\" cellspacing = \"0\" "
                          "cellpadding = \"0\" > "));
    e.ligne(QLatin1String("      <tr bgcolor=\"#EAEAEA\">"));
    for (const char* jour : kJoursEntete)
        e.ligne(QStringLiteral("        <td><div align=\"center\"><font size=\"2\" face=\"%1\">%2</font></div></td>")
                    .arg(QLatin1String(kPolice), QLatin1String(jour)));
    e.ligne(QLatin1String("          </tr>"));

    int premier = jourdecolonne(Dates::jourDeSemaine(c));
    int position = 1;
    for (int semaine = 0; semaine < kSemaines; ++semaine) {
        e.ligne(QLatin1String("<tr bgcolor=\"#EAEAEA\">"));
        for (int colonne = 0; colonne < 7; ++colonne) {
            if (c.month() != moisCle || c.year() != anneeCle || position != premier) {
                e.ligne(celluleVide);
            } else {
                e.ligne(cellules[etatjour(c, sejours)] + QString::number(c.day())
                        + QLatin1String("</font></div></td>"));
                c = c.addDays(1);
                ++premier;
            }
            ++position;
        }
        e.ligne(QLatin1String("</tr>"));
    }
    e.ligne(QLatin1String("</table></td>"));
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
    const QTime minuit(0, 0);
    int s = 0;
    for (const LigneSejour& sejour : sejours) {
        if (!sejour.debut.isValid() || !sejour.fin.isValid())
            continue;
        const QDate a = sejour.debut.date();
        const QDate b = sejour.fin.date();
        if (a < jour && jour < b)
            s = 2;
        if (jour == a || jour == b) {
            const bool demiJournee = sejour.debut.time() != minuit || sejour.fin.time() != minuit;
            if (!demiJournee)
                s = 2;
            else
                s = (s == 0) ? 1 : 2;
        }
    }
    return s;
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
    const QString celluleVide = QStringLiteral(
        "            <td bgcolor=\"%1\"><div align=\"center\"><font face=\"%2\"><font size=\"2\"></font></font>"
        "</div></td>").arg(QLatin1String(kCouleurSansJour), QLatin1String(kPolice));
    const QString cellules[3] = {debutCellule(0), debutCellule(1), debutCellule(2)};

    Ecriture e;
    e.reserver(200 * 1024);
    e.ligne(QStringLiteral("<div align=\"center\"><strong>Réservations ") + NomPourPage(NomObjet)
            + QStringLiteral("</strong><font size=\"1\" face=\"%1\"> (mis à jour le ").arg(QLatin1String(kPolice))
            + dateEntete(maintenant.date()) + QStringLiteral(" à ") + Dates::hhnn(maintenant.time())
            + QLatin1String(")</font></div>"));
    e.ligne(QLatin1String("<table width=\"770px\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">"));

    QDate c(maintenant.date().year(), maintenant.date().month(), 1);
    for (int rangee = 0; rangee < kRangees; ++rangee) {
        e.ligne(QLatin1String("  <tr>"));
        for (int mois = 0; mois < kMoisParRangee; ++mois)
            ecrireMois(e, c, sejours, cellules, celluleVide);
        e.ligne(QLatin1String("</tr>"));
    }
    e.ligne(QLatin1String("</table>"));
    return EnWindows1252(e.texte());
}

} // namespace CalendrierHTML
