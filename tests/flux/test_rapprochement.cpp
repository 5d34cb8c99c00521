// Matching a feed's events with the reservations imported from it, the
// double bookings, and the addresses typed in the settings.
#include "flux/rapprochement.h"
#include "store/dates.h"

#include <gtest/gtest.h>

namespace {

using CalendrierICS::Evenement;
using Rapprochement::Importee;

const QDate kAujourdhui(2026, 7, 10);

Evenement ev(const char* uid, int arrivee, int depart, int mois = 7)
{
    return {QString::fromUtf8(uid), QStringLiteral("Booking"), QDate(2026, mois, arrivee), QDate(2026, mois, depart)};
}

Importee imp(qint32 numero, const char* uid, int arrivee, int depart, int mois = 7)
{
    return {numero, QString::fromUtf8(uid), Dates::naive(QDate(2026, mois, arrivee), QTime(14, 0)),
            Dates::naive(QDate(2026, mois, depart), QTime(12, 0))};
}

QString decrire(const Rapprochement::Plan& plan)
{
    QStringList parties;
    for (const Evenement& e : plan.creations)
        parties << QStringLiteral("+%1").arg(e.uid);
    for (const Rapprochement::Deplacement& d : plan.deplacements)
        parties << QStringLiteral("~%1:%2").arg(d.numero).arg(d.evenement.arrivee.day());
    for (qint32 n : plan.suppressions)
        parties << QStringLiteral("-%1").arg(n);
    return parties.join(QLatin1Char(' '));
}

} // namespace

TEST(Rapprochement, EventsAndReservationsAreMatchedByUidOnly)
{
    struct Cas {
        const char* nom;
        QList<Evenement> evenements;
        QList<Importee> importees;
        const char* attendu;
    };
    const Cas cas[] = {
        {"premier import", {ev("a", 12, 19), ev("b", 20, 22)}, {}, "+a +b"},
        {"rien n'a changé", {ev("a", 12, 19)}, {imp(5, "a", 12, 19)}, ""},
        {"dates changées", {ev("a", 13, 19)}, {imp(5, "a", 12, 19)}, "~5:13"},
        {"départ changé", {ev("a", 12, 20)}, {imp(5, "a", 12, 19)}, "~5:12"},
        {"événement disparu", {ev("b", 20, 22)}, {imp(5, "a", 12, 19)}, "+b -5"},
        {"mêmes dates, autre UID : une autre réservation", {ev("c", 12, 19)}, {imp(5, "a", 12, 19)}, "+c -5"},
        {"même UID deux fois dans le flux : une seule", {ev("a", 12, 19), ev("a", 14, 19)}, {}, "+a"},
        {"même UID deux fois en base : la seconde part", {ev("a", 12, 19)},
         {imp(5, "a", 12, 19), imp(6, "a", 12, 19)}, "-6"},
        {"séjour passé disparu du flux : gardé", {}, {imp(5, "a", 1, 5)}, ""},
        {"séjour passé changé : gardé", {ev("a", 2, 6)}, {imp(5, "a", 1, 5)}, ""},
        {"séjour qui part aujourd'hui disparu : annulé", {}, {imp(5, "a", 5, 10)}, "-5"},
        {"événement passé : pas importé", {ev("a", 1, 5), ev("b", 8, 10)}, {}, "+b"},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(decrire(Rapprochement::Comparer(c.evenements, c.importees, kAujourdhui)),
                  QString::fromUtf8(c.attendu))
            << c.nom;
}

TEST(Rapprochement, AnImportedStayTakesTheUsualHours)
{
    const Evenement e = ev("a", 12, 19);
    EXPECT_EQ(Dates::versTexteBase(Rapprochement::Arrivee(e, QTime(15, 0))), QStringLiteral("2026-07-12 15:00:00"));
    EXPECT_EQ(Dates::versTexteBase(Rapprochement::Depart(e, QTime(10, 30))), QStringLiteral("2026-07-19 10:30:00"));
}

TEST(Rapprochement, OverlapsAreListedByHoursNotDays)
{
    auto sejour = [](qint32 n, const char* client, int j1, int h1, int j2, int h2) {
        return Rapprochement::Sejour{n, QString::fromUtf8(client), Dates::naive(QDate(2026, 7, j1), QTime(h1, 0)),
                                     Dates::naive(QDate(2026, 7, j2), QTime(h2, 0))};
    };
    const auto portail = sejour(1, "Booking", 12, 14, 19, 12);
    struct Cas {
        const char* nom;
        Rapprochement::Sejour autre;
        const char* attendu;
    };
    const Cas cas[] = {
        {"au milieu", sejour(2, "Dupont", 14, 14, 16, 12),
         "Chalet Les Pins : Booking 12/07–19/07 chevauche Dupont 14/07–16/07"},
        {"qui commence avant", sejour(2, "Martin", 10, 14, 13, 12),
         "Chalet Les Pins : Booking 12/07–19/07 chevauche Martin 10/07–13/07"},
        {"part le jour de l'arrivée", sejour(2, "Avant", 8, 14, 12, 12), ""},
        {"arrive le jour du départ", sejour(2, "Après", 19, 14, 22, 12), ""},
        {"part après l'arrivée le même jour", sejour(2, "Tard", 8, 14, 12, 16),
         "Chalet Les Pins : Booking 12/07–19/07 chevauche Tard 08/07–12/07"},
        {"lui-même", sejour(1, "Booking", 12, 14, 19, 12), ""},
        {"dates illisibles", Rapprochement::Sejour{3, QStringLiteral("?"), QDateTime(), QDateTime()}, ""},
    };
    for (const Cas& c : cas) {
        const auto conflits = Rapprochement::Conflits(QStringLiteral("Chalet Les Pins"), {portail}, {c.autre});
        EXPECT_EQ(conflits.isEmpty() ? QString() : conflits[0].texte, QString::fromUtf8(c.attendu)) << c.nom;
        EXPECT_LE(conflits.size(), 1) << c.nom;
    }
}

TEST(Rapprochement, TypedAddressesAreSplitAndChecked)
{
    EXPECT_EQ(Rapprochement::Adresses(QStringLiteral("  https://a.example/x.ics\thttp://b.example/y  "
                                                     "https://a.example/x.ics\n/srv/flux.ics ")),
              (QStringList{QStringLiteral("https://a.example/x.ics"), QStringLiteral("http://b.example/y"),
                           QStringLiteral("/srv/flux.ics")}));
    EXPECT_TRUE(Rapprochement::Adresses(QStringLiteral("   ")).isEmpty());

    struct Cas {
        const char* adresse;
        bool acceptee;
    };
    const Cas cas[] = {
        {"https://www.airbnb.fr/calendar/ical/123.ics?s=abc", true},
        {"http://127.0.0.1:8080/flux.ics", true},
        {"HTTPS://EXAMPLE.ORG/X", true},
        {"file:///srv/portail/flux.ics", true},
        {"/srv/portail/flux.ics", true},
        {"flux.ics", false},
        {"ftp://example.org/flux.ics", false},
        {"https://", false},
        {"javascript:alert(1)", false},
        {"www.example.org/flux.ics", false},
    };
    for (const Cas& c : cas) {
        const auto refus = Rapprochement::AdresseRefusee(QString::fromUtf8(c.adresse));
        EXPECT_EQ(!refus.has_value(), c.acceptee) << c.adresse;
        if (refus) {
            EXPECT_TRUE(refus->contains(QString::fromUtf8(c.adresse))) << c.adresse;
        }
    }
}
