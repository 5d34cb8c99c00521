// The establishment's details and the tourist tax in the INI file: written
// and read back by the plain functions, then typed in the "Établissement" tab
// as a user would.
#include "config/fichierini.h"
#include "config/langues.h"
#include "pilotage.h"
#include "facturation/etablissement.h"
#include "settings/ongletetablissement.h"
#include "settings/parametres.h"
#include "store/contexte.h"
#include "testutil.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

using Etablissement::Coordonnees;

// Conditions of several lines, longer than a profile read gives.
QString conditionsLongues()
{
    QStringList lignes;
    for (int i = 1; i <= 12; ++i)
        lignes << QStringLiteral("Article %1 : les arrhes versées (30 %) restent acquises ; = [section] ;").arg(i)
                      + QString(40, QLatin1Char('x'));
    return lignes.join(QLatin1Char('\n'));
}

TEST(Etablissement, ChaqueCoordonneeRevientTelleQuEcrite)
{
    QTemporaryDir dossier;
    const QString ini = dossier.path() + QStringLiteral("/planning.ini");
    EXPECT_TRUE(Etablissement::Lire(ini).nom.isEmpty());   // no file yet: nothing, no failure

    const struct { QString Coordonnees::* membre; const char* cle; QString valeur; } cas[] = {
        {&Coordonnees::nom, "nom", QString(500, QChar(0xE9))},   // 500 × "é"
        {&Coordonnees::adresse, "adresse", QStringLiteral("  12, chemin des Pins = bas  ")},
        {&Coordonnees::codePostal, "code postal", QStringLiteral("40150")},
        {&Coordonnees::ville, "ville", QStringLiteral("Hossegor")},
        {&Coordonnees::telephone, "telephone", QStringLiteral("05 58 00 00 00")},
        {&Coordonnees::email, "email", QStringLiteral("accueil@les-pins.fr")},
        {&Coordonnees::siret, "siret", QStringLiteral("123 456 789 00012")},
        {&Coordonnees::numeroTVA, "numero tva", QStringLiteral("FR 12 123456789")},
        {&Coordonnees::conditions, "conditions", conditionsLongues()},
    };
    for (const auto& c : cas)
        ASSERT_TRUE(Etablissement::Ecrire(ini, QLatin1String(c.cle), c.valeur)) << c.cle;
    const Coordonnees lues = Etablissement::Lire(ini);
    for (const auto& c : cas)
        EXPECT_EQ(lues.*c.membre, c.valeur) << c.cle;
    // The keys are those of section [etablissement], one line per value.
    EXPECT_EQ(FichierIni::lire(ini, QStringLiteral("ETABLISSEMENT"), QStringLiteral("Code Postal")).value_or(QString()),
              QStringLiteral("40150"));
    const QByteArray octets = TestUtil::lireFichier(ini);
    EXPECT_EQ(octets.count('\n'), 10) << octets.toStdString();
    ASSERT_GT(conditionsLongues().size(), 589);

    // A CR LF typed elsewhere comes back as it was.
    ASSERT_TRUE(Etablissement::Ecrire(ini, QStringLiteral("conditions"), QStringLiteral("Ligne 1\r\nLigne 2")));
    EXPECT_EQ(Etablissement::Lire(ini).conditions, QStringLiteral("Ligne 1\r\nLigne 2"));

    // A file that cannot be written says so.
    EXPECT_FALSE(Etablissement::Ecrire(dossier.path(), QStringLiteral("nom"), QStringLiteral("X")));
}

TEST(Etablissement, LaTaxeDeSejourSeLitCommeUnMontant)
{
    QTemporaryDir dossier;
    const QString ini = dossier.path() + QStringLiteral("/planning.ini");
    EXPECT_DOUBLE_EQ(Etablissement::TaxeDeSejour(ini), 0.0);   // missing: none
    const struct { const char* stocke; double taxe; } cas[] = {
        {"0.6", 0.6}, {"0,60", 0.6}, {"1 200,5", 1200.5}, {"0.615", 0.62}, {"abc", 0}, {"-2", 0}, {"", 0},
    };
    for (const auto& c : cas) {
        ASSERT_TRUE(FichierIni::ecrire(ini, QStringLiteral("facturation"), QStringLiteral("taxe de sejour"),
                                       QString::fromUtf8(c.stocke)));
        EXPECT_DOUBLE_EQ(Etablissement::TaxeDeSejour(ini), c.taxe) << c.stocke;
    }
    for (double taxe : {0.0, 0.6, 1.25, 12.0}) {
        ASSERT_TRUE(Etablissement::EcrireTaxeDeSejour(ini, taxe));
        EXPECT_DOUBLE_EQ(Etablissement::TaxeDeSejour(ini), taxe);
    }
}

class OngletEtablissementTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        contexte.CheminINI = base.dossier() + QStringLiteral("/planning.ini");
        Langues::fixerFichier(contexte.CheminINI);
        contexte.BaseOuverte = base.base();
        ouvrir();
    }
    void ouvrir()
    {
        fenetre = std::make_unique<parametres>(&contexte);
        fenetre->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(fenetre.get()));
        fenetre->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(fenetre.get()));
        fenetre->SSTab1->setCurrentIndex(4);
    }
    QLineEdit* champ(const char* nom) const { return fenetre->findChild<QLineEdit*>(QLatin1String(nom)); }
    QPlainTextEdit* conditions() const
    {
        return fenetre->findChild<QPlainTextEdit*>(QStringLiteral("etablissement_conditions"));
    }

    TestUtil::BaseTemporaire base{QStringLiteral("etablissement")};
    Contexte contexte;
    std::unique_ptr<parametres> fenetre;
};

TEST_F(OngletEtablissementTest, LesCoordonneesSaisiesSontDansLeFichierIniEtReviennent)
{
    Repondeur repondeur;
    const QString nomLong = QStringLiteral("Camping des Pins ") + QString(483, QLatin1Char('N'));
    const struct { const char* nom; QString saisi; QString Coordonnees::* membre; } cas[] = {
        {"etablissement_nom", nomLong, &Coordonnees::nom},
        {"etablissement_adresse", QStringLiteral("12, chemin des Pins"), &Coordonnees::adresse},
        {"etablissement_codepostal", QStringLiteral("40150"), &Coordonnees::codePostal},
        {"etablissement_ville", QStringLiteral("Hossegor"), &Coordonnees::ville},
        {"etablissement_telephone", QStringLiteral("05 58 00 00 00"), &Coordonnees::telephone},
        {"etablissement_email", QStringLiteral("accueil@les-pins.fr"), &Coordonnees::email},
        {"etablissement_siret", QStringLiteral("123 456 789 00012"), &Coordonnees::siret},
        {"etablissement_tva", QStringLiteral("FR12123456789"), &Coordonnees::numeroTVA},
    };
    ASSERT_EQ(nomLong.size(), 500);
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        QLineEdit* ligne = champ(c.nom);
        ASSERT_NE(ligne, nullptr);
        ligne->setFocus();
        Pilotage::remplacer(ligne, QStringLiteral("  ") + c.saisi + QStringLiteral(" "));
        EXPECT_EQ(Etablissement::Lire(contexte.CheminINI).*c.membre, c.saisi);   // stored trimmed
    }
    // The conditions are stored as they are typed, line ends included.
    conditions()->setFocus();
    QTest::keyClicks(conditions(), QStringLiteral("Arrhes : 30 %."));
    QTest::keyClick(conditions(), Qt::Key_Return);
    conditions()->insertPlainText(QStringLiteral("Départ avant 12 h."));   // keyClicks types ASCII only
    EXPECT_EQ(Etablissement::Lire(contexte.CheminINI).conditions, QStringLiteral("Arrhes : 30 %.\nDépart avant 12 h."));
    EXPECT_TRUE(repondeur.messages.isEmpty()) << repondeur.messages.join(QLatin1Char('|')).toStdString();

    // A new window shows what was stored.
    fenetre.reset();
    ouvrir();
    for (const auto& c : cas)
        EXPECT_EQ(champ(c.nom)->text(), c.saisi) << c.nom;
    EXPECT_EQ(conditions()->toPlainText(), QStringLiteral("Arrhes : 30 %.\nDépart avant 12 h."));
}

TEST_F(OngletEtablissementTest, UnFichierQuiNePeutEtreEcritLeDitEtGardeLeTexteStocke)
{
    Repondeur repondeur;
    Pilotage::remplacer(champ("etablissement_ville"), QStringLiteral("Hossegor"));
    // The INI file becomes a folder: nothing more can be written to it.
    QFile::remove(contexte.CheminINI);
    ASSERT_TRUE(QDir().mkpath(contexte.CheminINI));

    QLineEdit* ville = champ("etablissement_ville");
    Pilotage::remplacer(ville, QStringLiteral("Capbreton"));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    ASSERT_EQ(repondeur.messages.size(), 1);
    EXPECT_TRUE(repondeur.messages[0].contains(QStringLiteral("n'ont pas pu être enregistrées")));
    EXPECT_EQ(ville->text(), QStringLiteral("Hossegor"));

    // Typed conditions fail at each key, but the user is told once.
    conditions()->setFocus();
    QTest::keyClicks(conditions(), QStringLiteral("abc"));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(repondeur.messages.size(), 2);
}

} // namespace
