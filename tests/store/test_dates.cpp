#include "store/dates.h"

#include <gtest/gtest.h>

TEST(Dates, StoredFormsRoundTripAndOldFormsAreRead)
{
    const QDateTime moment = Dates::naive(QDate(2026, 3, 29), QTime(2, 30)); // a daylight-saving night
    EXPECT_EQ(Dates::versTexteBase(moment), QStringLiteral("2026-03-29 02:30:00"));
    EXPECT_EQ(Dates::depuisBase(Dates::versTexteBase(moment)), moment);
    struct Cas { const char* texte; bool valide; };
    const Cas cas[] = {{"2026-12-09T14:00:00.000", true}, {"2026-12-09 14:00", true}, {"2026-12-09", true},
                       {"09/12/2026", false}, {"", false}, {"2026-13-01 00:00:00", false}, {"2026-12-09 99:00:00", false}};
    for (const Cas& c : cas)
        EXPECT_EQ(Dates::depuisBase(QString::fromLatin1(c.texte)).isValid(), c.valide) << c.texte;
    EXPECT_FALSE(Dates::depuisBase(QVariant()).isValid());
}

TEST(Dates, DayCountsIgnoreDaylightSaving)
{
    const QDateTime avant = Dates::naive(QDate(2026, 3, 28), QTime(14, 0));
    const QDateTime apres = Dates::naive(QDate(2026, 3, 30), QTime(12, 0));
    EXPECT_NEAR(Dates::enJours(apres) - Dates::enJours(avant), 2.0 - 2.0 / 24.0, 1e-9);
    EXPECT_EQ(Dates::depuisJours(Dates::enJours(avant)), avant);
}

TEST(Dates, FrenchNamesWhateverTheLocale)
{
    EXPECT_EQ(Dates::nomJourCourt(QDate(2026, 12, 9)), QStringLiteral("mer."));
    EXPECT_EQ(Dates::nomMoisMinuscule(2), QString::fromUtf8("février"));
    EXPECT_EQ(Dates::nomMoisAbrege(12), QString::fromUtf8("déc."));
    EXPECT_EQ(Dates::jourDeSemaine(QDate(2026, 12, 12)), 7); // Saturday
    EXPECT_EQ(Dates::jourDeSemaine(QDate(2026, 12, 13)), 1); // Sunday
    EXPECT_EQ(Dates::jjmmaahhnn(Dates::naive(QDate(2026, 1, 5), QTime(9, 7))), QStringLiteral("05/01/26 09:07"));
}
