// The feeds as text: what the export writes, read back by libical itself,
// and what the reading makes of the shapes of event the portals send.
#include "flux/calendrierics.h"

#include <QTimeZone>
#include <gtest/gtest.h>
#include <libical/ical.h>

namespace {

using CalendrierICS::Evenement;

QByteArray calendrier(const QByteArray& evenements)
{
    QByteArray texte = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Portail//Test//FR\r\n" + evenements
                     + "END:VCALENDAR\r\n";
    return texte;
}

QByteArray evenement(const QByteArray& lignes)
{
    return "BEGIN:VEVENT\r\nDTSTAMP:20260601T000000Z\r\n" + lignes + "END:VEVENT\r\n";
}

QString decrire(const QList<Evenement>& evenements)
{
    QStringList lignes;
    for (const Evenement& e : evenements)
        lignes << QStringLiteral("%1 %2 %3 %4").arg(e.uid, e.resume, e.arrivee.toString(Qt::ISODate),
                                                    e.depart.toString(Qt::ISODate));
    return lignes.join(QLatin1String(" | "));
}

const QDate kAujourdhui(2026, 7, 1);

} // namespace

TEST(CalendrierICS, TheExportIsAFeedLibicalReadsBackNightByNight)
{
    const QList<CalendrierICS::SejourExporte> sejours = {
        {12, QDate(2026, 7, 12), QDate(2026, 7, 19)},
        {13, QDate(2026, 8, 1), QDate(2026, 8, 1)},   // no night: given one
        {14, QDate(), QDate(2026, 8, 3)},             // no arrival: left out
    };
    // A long name with accents and characters to escape: folded and escaped by libical.
    const QString nom = QStringLiteral("Chalet « Les Pins », vue sur le lac; très grand, avec terrasse et barbecue");
    const QByteArray texte = CalendrierICS::Ecrire(nom, sejours, QStringLiteral("hotel.example.org"),
                                                   QDateTime(QDate(2026, 7, 1), QTime(8, 30), QTimeZone::utc()));

    EXPECT_TRUE(texte.startsWith("BEGIN:VCALENDAR\r\n"));
    EXPECT_FALSE(texte.contains("\n\n"));
    for (const QByteArray& ligne : texte.split('\n')) {
        EXPECT_LE(ligne.size(), 76) << ligne.constData();       // 75 octets and the CR
        EXPECT_TRUE(ligne.isEmpty() || ligne.endsWith('\r')) << ligne.constData();
    }
    EXPECT_TRUE(texte.contains("DTSTART;VALUE=DATE:20260712\r\n"));
    EXPECT_TRUE(texte.contains("DTEND;VALUE=DATE:20260719\r\n"));
    EXPECT_TRUE(texte.contains("UID:12@hotel.example.org\r\n"));
    EXPECT_TRUE(texte.contains("DTSTAMP:20260701T083000Z\r\n"));
    EXPECT_EQ(texte.count("BEGIN:VEVENT"), 2);

    icalcomponent* cal = icalparser_parse_string(texte.constData());
    ASSERT_NE(cal, nullptr);
    icalproperty* calname = icalcomponent_get_first_property(cal, ICAL_X_PROPERTY);
    ASSERT_NE(calname, nullptr);
    EXPECT_STREQ(icalproperty_get_x_name(calname), "X-WR-CALNAME");
    EXPECT_EQ(QString::fromUtf8(icalproperty_get_x(calname)), nom);
    icalcomponent_free(cal);

    const auto lu = CalendrierICS::Lire(texte, kAujourdhui);
    ASSERT_TRUE(lu.has_value());
    EXPECT_EQ(decrire(lu->evenements),
              QStringLiteral("12@hotel.example.org Réservé 2026-07-12 2026-07-19 | "
                             "13@hotel.example.org Réservé 2026-08-01 2026-08-02"));
}

TEST(CalendrierICS, EventsBecomeNightsWhateverTheirForm)
{
    struct Cas {
        const char* nom;
        QByteArray lignes;
        const char* attendu;
    };
    const Cas cas[] = {
        {"dates", "UID:a\r\nSUMMARY:Booking\r\nDTSTART;VALUE=DATE:20260712\r\nDTEND;VALUE=DATE:20260719\r\n",
         "a Booking 2026-07-12 2026-07-19"},
        {"heure avec fuseau : le jour du portail",
         "UID:b\r\nSUMMARY:Airbnb\r\nDTSTART;TZID=Europe/Paris:20260712T000000\r\n"
         "DTEND;TZID=Europe/Paris:20260719T000000\r\n",
         "b Airbnb 2026-07-12 2026-07-19"},
        {"heure de l'autre bout du monde, telle qu'écrite",
         "UID:b2\r\nSUMMARY:Sydney\r\nDTSTART;TZID=Australia/Sydney:20260712T230000\r\n"
         "DTEND;TZID=Australia/Sydney:20260714T100000\r\n",
         "b2 Sydney 2026-07-12 2026-07-14"},
        {"UTC en milieu de journée",
         "UID:c\r\nSUMMARY:Expedia\r\nDTSTART:20260712T120000Z\r\nDTEND:20260715T100000Z\r\n",
         "c Expedia 2026-07-12 2026-07-15"},
        {"heure flottante", "UID:d\r\nSUMMARY:Gîtes\r\nDTSTART:20260712T150000\r\nDTEND:20260713T110000\r\n",
         "d Gîtes 2026-07-12 2026-07-13"},
        {"durée", "UID:e\r\nSUMMARY:Durée\r\nDTSTART;VALUE=DATE:20260712\r\nDURATION:P3D\r\n",
         "e Durée 2026-07-12 2026-07-15"},
        {"sans fin : une nuit", "UID:f\r\nSUMMARY:Seul\r\nDTSTART;VALUE=DATE:20260712\r\n",
         "f Seul 2026-07-12 2026-07-13"},
        {"fin avant le début : une nuit",
         "UID:g\r\nSUMMARY:Envers\r\nDTSTART;VALUE=DATE:20260712\r\nDTEND;VALUE=DATE:20260710\r\n",
         "g Envers 2026-07-12 2026-07-13"},
        {"résumé plié, échappé, avec contrôles",
         "UID:h\r\nSUMMARY:Dupont\\, Marie\\; ch\r\n ambre\\n2\r\nDTSTART;VALUE=DATE:20260712\r\n"
         "DTEND;VALUE=DATE:20260713\r\n",
         "h Dupont, Marie; chambre 2 2026-07-12 2026-07-13"},
        {"résumé hostile gardé tel quel",
         "UID:i\r\nSUMMARY:<script>alert(1)</script>'); DROP TABLE RESERVATIONS;--\r\n"
         "DTSTART;VALUE=DATE:20260712\r\nDTEND;VALUE=DATE:20260713\r\n",
         "i <script>alert(1)</script>'); DROP TABLE RESERVATIONS;-- 2026-07-12 2026-07-13"},
        {"annulé", "UID:j\r\nSTATUS:CANCELLED\r\nDTSTART;VALUE=DATE:20260712\r\nDTEND;VALUE=DATE:20260713\r\n", ""},
    };
    for (const Cas& c : cas) {
        const auto lu = CalendrierICS::Lire(calendrier(evenement(c.lignes)), kAujourdhui);
        ASSERT_TRUE(lu.has_value()) << c.nom;
        EXPECT_EQ(decrire(lu->evenements), QString::fromUtf8(c.attendu)) << c.nom;
    }
}

TEST(CalendrierICS, AUtcMomentFallsOnItsLocalDay)
{
    // Late in the evening in UTC: the day is the one of that moment here.
    const QDateTime moment(QDate(2026, 7, 12), QTime(23, 30), QTimeZone::utc());
    const QDate jourLocal = moment.toLocalTime().date();
    const auto lu = CalendrierICS::Lire(
        calendrier(evenement("UID:z\r\nDTSTART:20260712T233000Z\r\nDTEND:20260720T233000Z\r\n")), kAujourdhui);
    ASSERT_TRUE(lu.has_value());
    ASSERT_EQ(lu->evenements.size(), 1);
    EXPECT_EQ(lu->evenements[0].arrivee, jourLocal);
    EXPECT_EQ(lu->evenements[0].depart, jourLocal.addDays(8));
}

TEST(CalendrierICS, RepeatedEventsGiveTheirOccurrencesOfTheNextTwoYears)
{
    struct Cas {
        const char* nom;
        QByteArray evenements;
        const char* attendu;
    };
    const Cas cas[] = {
        {"chaque semaine, trois fois",
         evenement("UID:r\r\nSUMMARY:Club\r\nDTSTART;VALUE=DATE:20260704\r\nDTEND;VALUE=DATE:20260706\r\n"
                   "RRULE:FREQ=WEEKLY;COUNT=3\r\n"),
         "r/20260704 Club 2026-07-04 2026-07-06 | r/20260711 Club 2026-07-11 2026-07-13 | "
         "r/20260718 Club 2026-07-18 2026-07-20"},
        {"une occurrence exclue, une autre déplacée",
         evenement("UID:r\r\nSUMMARY:Club\r\nDTSTART;VALUE=DATE:20260704\r\nDTEND;VALUE=DATE:20260706\r\n"
                   "RRULE:FREQ=WEEKLY;COUNT=3\r\nEXDATE;VALUE=DATE:20260711\r\n")
             + evenement("UID:r\r\nSUMMARY:Club\r\nRECURRENCE-ID;VALUE=DATE:20260718\r\n"
                         "DTSTART;VALUE=DATE:20260719\r\nDTEND;VALUE=DATE:20260722\r\n"),
         "r/20260704 Club 2026-07-04 2026-07-06 | r/20260718 Club 2026-07-19 2026-07-22"},
        {"chaque année sans fin : deux ans devant",
         evenement("UID:an\r\nSUMMARY:Famille\r\nDTSTART;VALUE=DATE:20200801\r\nDTEND;VALUE=DATE:20200815\r\n"
                   "RRULE:FREQ=YEARLY\r\n"),
         "an/20260801 Famille 2026-08-01 2026-08-15 | an/20270801 Famille 2027-08-01 2027-08-15"},
        {"chaque jour depuis des années : pas de passé lointain",
         evenement("UID:j\r\nSUMMARY:Jour\r\nDTSTART;VALUE=DATE:20100101\r\nDTEND;VALUE=DATE:20100102\r\n"
                   "RRULE:FREQ=DAILY;UNTIL=20260702\r\n"),
         "j/20260630 Jour 2026-06-30 2026-07-01 | j/20260701 Jour 2026-07-01 2026-07-02 | "
         "j/20260702 Jour 2026-07-02 2026-07-03"},
    };
    for (const Cas& c : cas) {
        const auto lu = CalendrierICS::Lire(calendrier(c.evenements), kAujourdhui);
        ASSERT_TRUE(lu.has_value()) << c.nom;
        EXPECT_EQ(decrire(lu->evenements), QString::fromUtf8(c.attendu)) << c.nom;
        EXPECT_TRUE(lu->avertissements.isEmpty()) << c.nom;
    }
}

TEST(CalendrierICS, AnEndlessRuleStopsTwoYearsAheadOrAtItsLimit)
{
    // Every day without end: the days from yesterday's night to two years ahead.
    auto lu = CalendrierICS::Lire(
        calendrier(evenement("UID:jour\r\nDTSTART;VALUE=DATE:20260601\r\nRRULE:FREQ=DAILY\r\n")), kAujourdhui);
    ASSERT_TRUE(lu.has_value());
    ASSERT_EQ(lu->evenements.size(), kAujourdhui.addDays(-1).daysTo(kAujourdhui.addYears(2)) + 1);
    EXPECT_EQ(lu->evenements.first().arrivee, kAujourdhui.addDays(-1));
    EXPECT_EQ(lu->evenements.last().arrivee, kAujourdhui.addYears(2));
    EXPECT_TRUE(lu->avertissements.isEmpty());

    // Every hour: the reading stops at its limit and says so.
    lu = CalendrierICS::Lire(
        calendrier(evenement("UID:heure\r\nDTSTART:20260701T000000\r\nDTEND:20260701T010000\r\n"
                             "RRULE:FREQ=HOURLY\r\n")), kAujourdhui);
    ASSERT_TRUE(lu.has_value());
    EXPECT_EQ(lu->evenements.size(), CalendrierICS::kOccurrencesMax / 24 + 1);
    ASSERT_EQ(lu->avertissements.size(), 1);
    EXPECT_TRUE(lu->avertissements[0].contains(QStringLiteral("heure")));
}

TEST(CalendrierICS, TheSameUidTwiceIsOneEventTheLastOne)
{
    const auto lu = CalendrierICS::Lire(
        calendrier(evenement("UID:x\r\nSUMMARY:Premier\r\nDTSTART;VALUE=DATE:20260712\r\nDTEND;VALUE=DATE:20260714\r\n")
                   + evenement("UID:y\r\nSUMMARY:Autre\r\nDTSTART;VALUE=DATE:20260801\r\nDTEND;VALUE=DATE:20260802\r\n")
                   + evenement("UID:x\r\nSUMMARY:Second\r\nDTSTART;VALUE=DATE:20260713\r\nDTEND;VALUE=DATE:20260716\r\n")
                   + evenement("SUMMARY:Sans UID\r\nDTSTART;VALUE=DATE:20260713\r\n")
                   + evenement("UID:w\r\nSUMMARY:Sans date\r\n")),
        kAujourdhui);
    ASSERT_TRUE(lu.has_value());
    EXPECT_EQ(decrire(lu->evenements), QStringLiteral("x Second 2026-07-13 2026-07-16 | y Autre 2026-08-01 2026-08-02"));
    EXPECT_EQ(lu->avertissements.size(), 2);
}

TEST(CalendrierICS, WhatIsNotACalendarIsRefusedWithItsReason)
{
    struct Cas {
        const char* nom;
        QByteArray texte;
    };
    const Cas cas[] = {
        {"vide", QByteArray()},
        {"page web", "<!DOCTYPE html><html><body>Not found</body></html>"},
        {"JSON", "{\"events\": []}"},
        {"autre composant", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Dupont\r\nEND:VCARD\r\n"},
        {"octets nuls", QByteArray("BEGIN:VCALENDAR\r\n\0\0\0END:VCALENDAR\r\n", 34)},
    };
    for (const Cas& c : cas) {
        QString erreur;
        EXPECT_FALSE(CalendrierICS::Lire(c.texte, kAujourdhui, &erreur).has_value()) << c.nom;
        EXPECT_EQ(erreur, QStringLiteral("ce n'est pas un calendrier iCalendar")) << c.nom;
    }
    // An empty calendar is a calendar: no event.
    const auto vide = CalendrierICS::Lire(calendrier(QByteArray()), kAujourdhui);
    ASSERT_TRUE(vide.has_value());
    EXPECT_TRUE(vide->evenements.isEmpty());
}
