#include "journee.h"

#include "store/conversion.h"
#include "store/dates.h"

#include <algorithm>

namespace Journee {

namespace {

bool avant(const Sejour& a, const Sejour& b)
{
    const int c = QString::compare(a.unite, b.unite, Qt::CaseInsensitive);
    if (c != 0)
        return c < 0;
    if (a.objet != b.objet)
        return a.objet < b.objet;
    if (a.debut != b.debut)
        return a.debut < b.debut;
    return a.numero < b.numero;
}

QString ligneHtml(const QStringList& cellules, bool entete, const QString& couleurSolde = QString())
{
    const QString balise = entete ? QStringLiteral("th") : QStringLiteral("td");
    // The same widths in the three tables, in percent of the page.
    static const int largeurs[NombreColonnes] = {14, 25, 15, 15, 6, 8, 9, 8};
    QString h = QStringLiteral("<tr>");
    for (int i = 0; i < cellules.size(); ++i) {
        QString style = entete && i < NombreColonnes ? QStringLiteral(" width='%1%'").arg(largeurs[i]) : QString();
        if (i == Solde && !couleurSolde.isEmpty())
            style += QStringLiteral(" style='color:%1'").arg(couleurSolde);
        h += QStringLiteral("<%1%2>%3</%1>").arg(balise, style, cellules[i].toHtmlEscaped());
    }
    return h + QStringLiteral("</tr>");
}

QString tableau(const QString& titre, const QList<Sejour>& sejours)
{
    QString h = QStringLiteral("<h3>%1 (%2)</h3>").arg(titre.toHtmlEscaped()).arg(sejours.size());
    if (sejours.isEmpty())
        return h + QStringLiteral("<p>Personne.</p>");
    h += QStringLiteral("<table width='100%' cellspacing='0' cellpadding='2' border='1'>")
        + ligneHtml(titresColonnes(), true);
    for (const Sejour& s : sejours)
        h += ligneHtml(textes(s), false, doit(s) ? QStringLiteral("#c00000") : QString());
    return h + QStringLiteral("</table>");
}

} // namespace

Listes repartir(const QList<Sejour>& sejours, const QDate& jour)
{
    Listes l;
    for (const Sejour& s : sejours) {
        if (!s.debut.isValid() || !s.fin.isValid() || s.fin < s.debut)
            continue;
        const QDate debut = s.debut.date();
        const QDate fin = s.fin.date();
        if (debut == jour)
            l.arrivees.append(s);
        if (fin == jour)
            l.departs.append(s);
        if (debut <= jour && jour < fin)
            l.presents.append(s);
    }
    for (QList<Sejour>* liste : {&l.arrivees, &l.departs, &l.presents})
        std::stable_sort(liste->begin(), liste->end(), avant);
    return l;
}

int nuits(const Sejour& s)
{
    if (!s.debut.isValid() || !s.fin.isValid())
        return 0;
    return int(s.fin.date().toJulianDay() - s.debut.date().toJulianDay());
}

QStringList titresColonnes()
{
    return {QStringLiteral("Unité"), QStringLiteral("Client"), QStringLiteral("Arrivée"), QStringLiteral("Départ"),
            QStringLiteral("Nuits"), QStringLiteral("Ad./Enf."), QStringLiteral("État"), QStringLiteral("Solde")};
}

QStringList textes(const Sejour& s)
{
    // Day and month are enough around one day; a far year is still shown.
    auto moment = [&s](const QDateTime& d) {
        if (!d.isValid())
            return QString();
        const QString jour = d.date().year() == s.debut.date().year() && d.date().year() == s.fin.date().year()
            ? d.date().toString(QStringLiteral("dd/MM")) : Dates::jjmmaaaa(d.date());
        return jour + QLatin1Char(' ') + Dates::hhnn(d.time());
    };
    // The client's name may hold several lines: the lists show one.
    QString client = s.client;
    client.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return {s.unite.isEmpty() ? QString::number(s.objet) : s.unite,
            client.trimmed(),
            moment(s.debut),
            moment(s.fin),
            QString::number(nuits(s)),
            QStringLiteral("%1/%2").arg(s.nbadultes).arg(s.nbenfants),
            s.etatTrouve ? s.nomEtat : QString(),
            Conversion::Monnaie(s.solde)};
}

bool doit(const Sejour& s)
{
    return Conversion::ArrondiCentime(s.solde) < 0;
}

QString Html(const QDate& jour, const Listes& listes)
{
    QString h = QStringLiteral("<html><body style='font-family:DejaVu Sans; font-size:8pt'>");
    h += QStringLiteral("<h2>Journée du %1 %2</h2>").arg(Dates::nomJourCourt(jour), Dates::jjmmaaaa(jour));
    h += tableau(QStringLiteral("Arrivées"), listes.arrivees);
    h += tableau(QStringLiteral("Départs"), listes.departs);
    h += tableau(QStringLiteral("Présents"), listes.presents);
    return h + QStringLiteral("</body></html>");
}

qint64 jusquaMinuit(const QDateTime& maintenant)
{
    const qint64 ms = qint64(maintenant.time().msecsSinceStartOfDay());
    return std::max<qint64>(1, 24LL * 3600 * 1000 - ms);
}

bool departLeJourDeLArrivee(const QDateTime& debut, const QDateTime& fin, const QDate& aujourdhui)
{
    return debut.isValid() && fin.isValid() && debut.date() == aujourdhui && fin.date() > aujourdhui;
}

QDateTime finLeJourMeme(const QDateTime& debut, const QDateTime& fin, const QDateTime& maintenant)
{
    const QDateTime aLHeure = Dates::naive(maintenant.date(), fin.time());
    return aLHeure >= debut ? aLHeure : std::max(debut, maintenant);
}

} // namespace Journee
