#include "facturation/etablissement.h"
#include "facturation/montantoupourcentage.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using MontantOuPourcentage::Lire;
using MontantOuPourcentage::Valeur;

TEST(MontantOuPourcentage, ReadsWhatTheDeskTypesAndRefusesTheRest)
{
    struct Cas {
        const char* texte;
        std::optional<Valeur> attendu;
    };
    const Cas cas[] = {
        {"45", Valeur{45, false}},
        {"45,50 €", Valeur{45.5, false}},
        {" 1 200,5 ", Valeur{1200.5, false}},
        {"30 %", Valeur{30, true}},
        {"12,5%", Valeur{12.5, true}},
        {"100 %", Valeur{100, true}},
        {"0", Valeur{0, false}},
        {"100,01 %", std::nullopt},
        {"-10", std::nullopt},
        {"-5 %", std::nullopt},
        {"trente", std::nullopt},
        {"%", std::nullopt},
        {"", std::nullopt},
        {"1e3", std::nullopt},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Lire(QString::fromUtf8(c.texte)), c.attendu) << c.texte;
}

TEST(MontantOuPourcentage, AShareOfAPriceIsRoundedToTheCent)
{
    struct Cas {
        Valeur v;
        double prix;
        double montant;
    };
    const Cas cas[] = {
        {{30, true}, 880.80, 264.24},
        {{33, true}, 100.01, 33.00},   // 33.0033
        {{12.5, true}, 0.04, 0.01},    // 0.005 rounds up
        {{0, true}, 500, 0},
        {{45, false}, 10, 45},         // an amount is what it says, whatever the price
    };
    for (const Cas& c : cas)
        EXPECT_DOUBLE_EQ(c.v.montant(c.prix), c.montant) << c.v.valeur << " of " << c.prix;
}

TEST(MontantOuPourcentage, TheSettingsReadBackWhatWasWrittenAndFallBackOnTheirDefaults)
{
    QTemporaryDir dossier;
    const QString ini = dossier.filePath(QStringLiteral("planning.ini"));
    EXPECT_EQ(Etablissement::FraisAnnulation(ini), (Valeur{0, true}));
    EXPECT_EQ(Etablissement::Arrhes(ini), (Valeur{30, true}));
    EXPECT_TRUE(Etablissement::PorterAutomatiquement(ini));
    EXPECT_EQ(Etablissement::DelaiArrhes(ini), 7);

    ASSERT_TRUE(Etablissement::EcrireFraisAnnulation(ini, {25, false}));
    ASSERT_TRUE(Etablissement::EcrireArrhes(ini, {12.5, true}));
    ASSERT_TRUE(Etablissement::EcrirePorterAutomatiquement(ini, false));
    ASSERT_TRUE(Etablissement::EcrireDelaiArrhes(ini, 14));
    EXPECT_EQ(Etablissement::FraisAnnulation(ini), (Valeur{25, false}));
    EXPECT_EQ(Etablissement::Arrhes(ini), (Valeur{12.5, true}));
    EXPECT_FALSE(Etablissement::PorterAutomatiquement(ini));
    EXPECT_EQ(Etablissement::DelaiArrhes(ini), 14);
}
