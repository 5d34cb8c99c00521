#include "store/conversion.h"

#include <gtest/gtest.h>

using namespace Conversion;

TEST(Conversion, RemplacerIgnoresCaseAndNeverRescansWhatItInserts)
{
    struct Cas { const char* texte; const char* cherche; const char* remplace; const char* attendu; };
    const Cas cas[] = {
        {"12,50", ",", ".", "12.50"},
        {"Aab", "a", "x", "xxb"},
        {"AbA", "a", "-", "-b-"},
        {"a", "a", "aa", "aa"},
        {"Chalet\r\nBleu", "\r\n", " ", "Chalet Bleu"},
        {"", "a", "b", ""},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Remplacer(QString::fromUtf8(c.texte), QString::fromUtf8(c.cherche), QString::fromUtf8(c.remplace)),
                  QString::fromUtf8(c.attendu)) << c.texte;
}

TEST(Conversion, PathsAndFields)
{
    EXPECT_EQ(ExtraireDossier(QStringLiteral("C:\\Planning\\base.mdb")), QStringLiteral("C:\\Planning\\"));
    EXPECT_EQ(ExtraireDossier(QStringLiteral("base.mdb")), QString());
    EXPECT_EQ(ExtraireDossier(QStringLiteral("C:")), QStringLiteral("C:"));
    EXPECT_EQ(ExtraireDossier(QStringLiteral("/srv/hotel/planning.db")), QStringLiteral("/srv/hotel/"));

    struct Cas { const char* texte; int n; const char* attendu; };
    const Cas cas[] = {{"10|20|30|40", 1, "10"}, {"10|20|30|40", 3, "30"}, {"10|20|30|40", 4, "40"},
                       {"10||30", 2, ""}, {"a|b", 2, "b"}, {"a|b", 3, ""}, {"a|b", 0, ""}, {"", 1, ""}};
    for (const Cas& c : cas)
        EXPECT_EQ(ExtraireChamp(QString::fromUtf8(c.texte), QStringLiteral("|"), c.n), QString::fromUtf8(c.attendu))
            << c.texte << " n=" << c.n;
    EXPECT_EQ(ExtraireChamp(QStringLiteral("a--b--c"), QStringLiteral("--"), 2), QStringLiteral("b"));
}

TEST(Conversion, ChoicesAndComparisons)
{
    EXPECT_EQ(SiAlorsSinon(true, 1, 2).toInt(), 1);
    EXPECT_EQ(SiAlorsSinon(false, 1, 2).toInt(), 2);
    EXPECT_EQ(SiAlorsSinon(QVariant(), 1, 2).toInt(), 2);   // Null is not true
    EXPECT_TRUE(PointDansRectangle(10, 20, 10, 20, 30, 40));  // corner belongs
    EXPECT_TRUE(PointDansRectangle(30, 40, 10, 20, 30, 40));
    EXPECT_FALSE(PointDansRectangle(31, 40, 10, 20, 30, 40));
    EXPECT_FALSE(PointDansRectangle(20, 30, 30, 20, 10, 40)); // reversed rectangle holds nothing
    EXPECT_EQ(Maximum(3, 5), 5);
    EXPECT_EQ(Minimum(3, 5), 3);
    EXPECT_EQ(SansNull(QVariant()).toString(), QString());
    EXPECT_EQ(SansNull(QStringLiteral("x")).toString(), QStringLiteral("x"));
}

TEST(Conversion, MoneyUsesFrenchCommaAndGroupsOfThree)
{
    struct Cas { double montant; const char* attendu; };
    const Cas cas[] = {
        {0, "0,00 €"}, {1234.5, "1 234,50 €"}, {1234567.891, "1 234 567,89 €"}, {-12, "-12,00 €"},
        {7.5, "7,50 €"}, {0.005, "0,01 €"}, {999.999, "1 000,00 €"}, {-0.001, "0,00 €"},
        {1234567890123.0, "1234 567 890 123,00 €"},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(FormaterValeur(5, c.montant).toString(), QString::fromUtf8(c.attendu)) << c.montant;
    EXPECT_EQ(FormaterValeur(1, QVariant()).toString(), QString());
    EXPECT_EQ(FormaterValeur(1, 42).toInt(), 42);
}

TEST(Conversion, MonthNamesAreExact)
{
    EXPECT_EQ(NomDuMois(1), QStringLiteral("Janvier"));
    EXPECT_EQ(NomDuMois(8), QString::fromUtf8("Août"));
    EXPECT_EQ(NomDuMois(12), QString::fromUtf8("Décembre"));
    EXPECT_EQ(NumeroDuMois(QString::fromUtf8("Août")), 8);
    EXPECT_EQ(NumeroDuMois(QStringLiteral("Janvier")), 1);
    EXPECT_FALSE(NumeroDuMois(QStringLiteral("janvier")).has_value());
    EXPECT_FALSE(NumeroDuMois(QStringLiteral("Aout")).has_value());
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(NumeroDuMois(NomDuMois(m)), m);
}

TEST(Conversion, FileNamesLoseTheirUnsafeCharacters)
{
    EXPECT_EQ(NomDeFichierValide(QString::fromUtf8("Chalet (n° 3)")), QString::fromUtf8("Chalet__n°_3_"));
    EXPECT_EQ(NomDeFichierValide(QStringLiteral("a'b%c-d+e,f=g@h*i/j\\k")), QStringLiteral("a_b_c_d_e_f_g_h_i_j_k"));
}

TEST(Conversion, LeadingNumberOfAText)
{
    struct Cas { const char* texte; double attendu; };
    const Cas cas[] = {
        {"12.50", 12.5}, {"12,50", 12}, {"12 : Chalet", 12}, {"3 - Fermé", 3}, {"abc", 0}, {"", 0},
        {" 1 2 ", 12}, {"-7", -7}, {"+4.5x", 4.5}, {"1e3", 1000}, {"2E", 2}, {"&H1F", 31}, {"&O17", 15},
        {".5", 0.5}, {"-", 0}, {"30", 30}, {"1\t0", 10},
    };
    for (const Cas& c : cas)
        EXPECT_DOUBLE_EQ(LireNombre(QString::fromUtf8(c.texte)), c.attendu) << c.texte;
}

TEST(Conversion, DatesAreReadDayFirst)
{
    struct Cas { const char* texte; bool valide; int a, m, j, h, mi; };
    const Cas cas[] = {
        {"01/02/2005", true, 2005, 2, 1, 0, 0},
        {"30/01/2026 14:00", true, 2026, 1, 30, 14, 0},
        {"1/1/26", true, 2026, 1, 1, 0, 0},
        {"31/02/2026", false, 0, 0, 0, 0, 0},
        {"abc", false, 0, 0, 0, 0, 0},
        {"", false, 0, 0, 0, 0, 0},
        {"03/08/2005 25:61", false, 0, 0, 0, 0, 0},
        {"2005-08-03", false, 0, 0, 0, 0, 0},
    };
    for (const Cas& c : cas) {
        const auto d = LireDate(QString::fromUtf8(c.texte));
        ASSERT_EQ(d.has_value(), c.valide) << c.texte;
        if (d) {
            EXPECT_EQ(d->date(), QDate(c.a, c.m, c.j)) << c.texte;
            EXPECT_EQ(d->time(), QTime(c.h, c.mi)) << c.texte;
        }
    }
}

TEST(Conversion, SixteenBitWholeNumbersRoundHalvesToEven)
{
    struct Cas { double valeur; int attendu; };
    const Cas cas[] = {{2.5, 2}, {3.5, 4}, {-1.5, -2}, {12.5, 12}, {13.5, 14}, {32767.4, 32767}, {-32768, -32768}};
    for (const Cas& c : cas)
        EXPECT_EQ(EntierSeize(c.valeur), c.attendu) << c.valeur;
    EXPECT_FALSE(EntierSeize(32767.5).has_value());
    EXPECT_FALSE(EntierSeize(-40000).has_value());
    EXPECT_FALSE(EntierSeize(std::numeric_limits<double>::quiet_NaN()).has_value());
}

TEST(Conversion, AmountsTypedWithCommaOrPoint)
{
    // Accepted texts and their value.
    const struct { const char* texte; double valeur; } acceptes[] = {
        {"12,50", 12.5}, {" 12.5 ", 12.5}, {"1 200,5", 1200.5}, {"1000000", 1000000}, {"-20", -20},
        {"+3", 3}, {",5", 0.5}, {"12,", 12}, {"0", 0}, {"007", 7}, {"\t4,25\n", 4.25},
    };
    for (const auto& c : acceptes)
        EXPECT_EQ(LireMontant(QString::fromUtf8(c.texte)), c.valeur) << c.texte;
    // Refused texts: no exponent, no second separator, nothing but the number.
    const char* const refuses[] = {
        "abc", "", "   ", "1,2,3", "1.2.3", "1e6", "1E3", "2,5e2", "1d3", "inf", "nan", "0x10", "&H10",
        "12 €", "12a", "--3", "+", "-", ",", "1,,5", "1.5,2", "١٢", "12/3",
    };
    for (const char* texte : refuses)
        EXPECT_FALSE(LireMontant(QString::fromUtf8(texte)).has_value()) << texte;
    EXPECT_DOUBLE_EQ(ArrondiCentime(3 * 2.5), 7.5);
    EXPECT_DOUBLE_EQ(ArrondiCentime(0.1 + 0.2), 0.3);
}

TEST(Conversion, CountsArePlainDigits)
{
    const struct { const char* texte; std::optional<qint64> attendu; } cas[] = {
        {"3", 3}, {" 12 ", 12}, {"0", 0}, {"0042", 42}, {"9999", 9999},
        {"1e3", std::nullopt}, {"1E3", std::nullopt}, {"3,0", std::nullopt}, {"4.0", std::nullopt},
        {"+2", std::nullopt}, {"-1", std::nullopt}, {"", std::nullopt}, {"1 000", std::nullopt},
        {"3x", std::nullopt}, {"&H10", std::nullopt}, {"٣", std::nullopt}, {"1234567890123456789", std::nullopt},
    };
    for (const auto& c : cas)
        EXPECT_EQ(LireEntier(QString::fromUtf8(c.texte)), c.attendu) << c.texte;
}
