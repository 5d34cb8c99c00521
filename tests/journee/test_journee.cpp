#include "journee/journee.h"
#include "store/dates.h"

#include <gtest/gtest.h>

namespace {

using Journee::Sejour;

Sejour sejour(qint32 numero, const QString& unite, const QString& client, const QDate& debut, const QDate& fin)
{
    Sejour s;
    s.numero = numero;
    s.unite = unite;
    s.client = client;
    s.debut = debut.isValid() ? Dates::naive(debut, QTime(14, 0)) : QDateTime();
    s.fin = fin.isValid() ? Dates::naive(fin, QTime(12, 0)) : QDateTime();
    return s;
}

QStringList noms(const QList<Sejour>& l)
{
    QStringList n;
    for (const Sejour& s : l)
        n << s.client;
    return n;
}

} // namespace

TEST(Journee, EachStayGoesToTheListsOfItsDay)
{
    const QDate jour(2026, 12, 9);
    QList<Sejour> sejours = {
        sejour(1, QStringLiteral("Chalet B"), QStringLiteral("Arrive"), jour, jour.addDays(3)),
        sejour(2, QStringLiteral("Chalet A"), QStringLiteral("Part"), jour.addDays(-4), jour),
        sejour(3, QStringLiteral("Chalet C"), QStringLiteral("Reste"), jour.addDays(-2), jour.addDays(2)),
        sejour(4, QStringLiteral("Chalet A"), QStringLiteral("Passe"), jour, jour),            // no night
        sejour(5, QStringLiteral("Chalet D"), QStringLiteral("Avant"), jour.addDays(-9), jour.addDays(-1)),
        sejour(6, QStringLiteral("Chalet D"), QStringLiteral("Apres"), jour.addDays(1), jour.addDays(5)),
        sejour(7, QStringLiteral("Chalet E"), QStringLiteral("SansDates"), QDate(), QDate()),
        sejour(8, QStringLiteral("Chalet E"), QStringLiteral("SansFin"), jour, QDate()),
        sejour(9, QStringLiteral("Chalet E"), QStringLiteral("Envers"), jour.addDays(1), jour.addDays(-1)),
        sejour(10, QStringLiteral("chalet a"), QStringLiteral("Arrive2"), jour, jour.addDays(1)),  // names sort without case
    };
    sejours[3].fin = Dates::naive(jour, QTime(18, 0));   // a day's stay, 14:00 to 18:00
    const Journee::Listes l = Journee::repartir(sejours, jour);
    EXPECT_EQ(noms(l.arrivees), (QStringList{QStringLiteral("Passe"), QStringLiteral("Arrive2"), QStringLiteral("Arrive")}));
    EXPECT_EQ(noms(l.departs), (QStringList{QStringLiteral("Part"), QStringLiteral("Passe")}));
    EXPECT_EQ(noms(l.presents), (QStringList{QStringLiteral("Arrive2"), QStringLiteral("Arrive"), QStringLiteral("Reste")}));
}

TEST(Journee, ColumnsOfAStay)
{
    Sejour s = sejour(12, QString(), QStringLiteral("Dupont\r\nJean "), QDate(2026, 12, 7), QDate(2026, 12, 10));
    s.objet = 4;
    s.nbadultes = 2;
    s.nbenfants = 1;
    s.solde = -45.5;
    s.etatTrouve = true;
    s.nomEtat = QStringLiteral("Arrivé");
    const QStringList t = Journee::textes(s);
    ASSERT_EQ(t.size(), Journee::NombreColonnes);
    ASSERT_EQ(Journee::titresColonnes().size(), Journee::NombreColonnes);
    EXPECT_EQ(t[Journee::Unite], QStringLiteral("4"));   // a unit without a name shows its number
    EXPECT_EQ(t[Journee::Client], QStringLiteral("Dupont Jean"));
    EXPECT_EQ(t[Journee::Arrivee], QStringLiteral("07/12 14:00"));
    EXPECT_EQ(t[Journee::Depart], QStringLiteral("10/12 12:00"));
    EXPECT_EQ(t[Journee::Nuits], QStringLiteral("3"));
    EXPECT_EQ(t[Journee::Personnes], QStringLiteral("2/1"));
    EXPECT_EQ(t[Journee::Etat], QStringLiteral("Arrivé"));
    EXPECT_TRUE(t[Journee::Solde].contains(QStringLiteral("45,50"))) << t[Journee::Solde].toStdString();

    struct Cas { double solde; bool doit; };
    for (const Cas& c : {Cas{-45.5, true}, Cas{-0.004, false}, Cas{0, false}, Cas{12, false}, Cas{-0.01, true}}) {
        s.solde = c.solde;
        EXPECT_EQ(Journee::doit(s), c.doit) << c.solde;
    }
    s.etatTrouve = false;
    EXPECT_EQ(Journee::textes(s)[Journee::Etat], QString());
    // A stay across the new year shows its years.
    s.fin = Dates::naive(QDate(2027, 1, 2), QTime(10, 30));
    EXPECT_EQ(Journee::textes(s)[Journee::Arrivee], QStringLiteral("07/12/2026 14:00"));
    EXPECT_EQ(Journee::textes(s)[Journee::Depart], QStringLiteral("02/01/2027 10:30"));
}

TEST(Journee, ThePrintedPageEscapesTheClientsTexts)
{
    const QDate jour(2026, 12, 9);
    Journee::Listes l;
    l.arrivees << sejour(1, QStringLiteral("Chalet <1>"), QStringLiteral("<b>Léa & Co</b>"), jour, jour.addDays(2));
    l.arrivees.last().solde = -10;
    const QString html = Journee::Html(jour, l);
    EXPECT_TRUE(html.contains(QStringLiteral("&lt;b&gt;Léa &amp; Co&lt;/b&gt;")));
    EXPECT_FALSE(html.contains(QStringLiteral("<b>Léa")));
    EXPECT_TRUE(html.contains(QStringLiteral("Arrivées (1)")));
    EXPECT_TRUE(html.contains(QStringLiteral("Départs (0)")));
    EXPECT_TRUE(html.contains(QStringLiteral("09/12/2026")));
    EXPECT_TRUE(html.contains(QStringLiteral("color:#c00000")));   // owed: red
}

TEST(Journee, TimeToMidnight)
{
    struct Cas { QTime heure; qint64 ms; };
    for (const Cas& c : {Cas{QTime(0, 0), 86400000}, Cas{QTime(23, 59, 59, 999), 1}, Cas{QTime(12, 0), 43200000},
                         Cas{QTime(23, 0), 3600000}}) {
        EXPECT_EQ(Journee::jusquaMinuit(Dates::naive(QDate(2026, 3, 29), c.heure)), c.ms) << c.heure.toString().toStdString();
    }
}

TEST(Journee, ADepartureOnTheArrivalDayIsAskedAndEndsToday)
{
    const QDate aujourdhui(2026, 12, 9);
    const auto a = [](int jour, int heure, int minute = 0) { return Dates::naive(QDate(2026, 12, jour), QTime(heure, minute)); };
    struct Cas { const char* quoi; QDateTime debut, fin; bool demande; };
    const Cas cas[] = {
        {"arrivé aujourd'hui, part dans trois jours", a(9, 14), a(12, 12), true},
        {"arrivé aujourd'hui, part demain", a(9, 14), a(10, 12), true},
        {"arrivé hier", a(8, 14), a(12, 12), false},
        {"arrive demain", a(10, 14), a(12, 12), false},
        {"arrivé et parti aujourd'hui", a(9, 8), a(9, 18), false},
        {"dates illisibles", QDateTime(), a(12, 12), false},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Journee::departLeJourDeLArrivee(c.debut, c.fin, aujourdhui), c.demande) << c.quoi;

    // Today at the stay's own departure hour, never before its arrival.
    struct Fin { const char* quoi; QDateTime debut, fin, maintenant, attendu; };
    const Fin fins[] = {
        {"arrivé le matin", a(9, 8), a(12, 12), a(9, 10), a(9, 12)},
        {"arrivé à 14 h, parti à 16 h 30", a(9, 14), a(12, 12), a(9, 16, 30), a(9, 16, 30)},
        {"arrivée à 14 h pas encore passée", a(9, 14), a(12, 12), a(9, 10), a(9, 14)},
        {"départ prévu le soir", a(9, 14), a(12, 20), a(9, 15), a(9, 20)},
    };
    for (const Fin& f : fins)
        EXPECT_EQ(Journee::finLeJourMeme(f.debut, f.fin, f.maintenant), f.attendu) << f.quoi;
}
