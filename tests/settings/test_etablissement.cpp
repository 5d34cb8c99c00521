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

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <functional>
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

namespace {

TEST_F(OngletEtablissementTest, LesReglagesDeLArgentDuSejourSeSaisissentEtLesErreursSontRefusees)
{
    Repondeur repondeur;
    using MontantOuPourcentage::Valeur;
    const QString& ini = contexte.CheminINI;
    // A new installation shows the defaults.
    EXPECT_EQ(champ("etablissement_fraisannulation")->text(), QStringLiteral("0 %"));
    EXPECT_EQ(champ("etablissement_arrhes")->text(), QStringLiteral("30 %"));
    EXPECT_EQ(champ("etablissement_delaiarrhes")->text(), QStringLiteral("7"));
    auto* porter = fenetre->findChild<QCheckBox*>(QStringLiteral("etablissement_porter"));
    ASSERT_NE(porter, nullptr);
    EXPECT_TRUE(porter->isChecked());

    auto frais = [&] { return Etablissement::FraisAnnulation(ini).texte(); };
    auto arrhes = [&] { return Etablissement::Arrhes(ini).texte(); };
    auto delai = [&] { return QString::number(Etablissement::DelaiArrhes(ini)); };
    struct Cas {
        const char* champ;
        const char* tape;
        const char* affiche;       // the box afterwards, as stored
        std::function<QString()> stocke;
        const char* message;       // nullptr: accepted
    } const cas[] = {
        {"etablissement_fraisannulation", "15%", "15 %", frais, nullptr},
        {"etablissement_fraisannulation", "45,5", "45,50 €", frais, nullptr},
        {"etablissement_fraisannulation", "quarante", "45,50 €", frais,
         "Les frais d'annulation « quarante » ne sont ni un montant ni une part du prix du séjour"},
        {"etablissement_fraisannulation", "120 %", "45,50 €", frais, "Les frais d'annulation « 120 % »"},
        {"etablissement_arrhes", "25 %", "25 %", arrhes, nullptr},
        {"etablissement_arrhes", "100 €", "100,00 €", arrhes, nullptr},
        {"etablissement_arrhes", "-10", "100,00 €", arrhes, "Les arrhes demandées « -10 »"},
        {"etablissement_arrhes", "", "100,00 €", arrhes, "Les arrhes demandées ne peuvent pas rester vides"},
        {"etablissement_delaiarrhes", " 10 ", "10", delai, nullptr},
        {"etablissement_delaiarrhes", "0", "0", delai, nullptr},
        {"etablissement_delaiarrhes", "365", "365", delai, nullptr},
        {"etablissement_delaiarrhes", "366", "365", delai,
         "Le délai des arrhes « 366 » doit être un nombre entier de jours, de 0 à 365."},
        {"etablissement_delaiarrhes", "-1", "365", delai, "Le délai des arrhes « -1 »"},
        {"etablissement_delaiarrhes", "3,5", "365", delai, "Le délai des arrhes « 3,5 »"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(std::string(c.champ) + " " + c.tape);
        repondeur.messages.clear();
        QLineEdit* ligne = champ(c.champ);
        ASSERT_NE(ligne, nullptr);
        ligne->setFocus();
        Pilotage::remplacer(ligne, QString::fromUtf8(c.tape));
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        EXPECT_EQ(ligne->text(), QString::fromUtf8(c.affiche));
        EXPECT_EQ(c.stocke(), QString::fromUtf8(c.affiche));
        if (c.message) {
            ASSERT_EQ(repondeur.messages.size(), 1);
            EXPECT_TRUE(repondeur.messages[0].startsWith(QString::fromUtf8(c.message))) << repondeur.messages[0].toStdString();
        } else {
            EXPECT_TRUE(repondeur.messages.isEmpty()) << repondeur.messages.join(QLatin1Char('|')).toStdString();
        }
    }

    // The check box is stored as it is clicked.
    QTest::mouseClick(porter, Qt::LeftButton, {}, QPoint(8, porter->height() / 2));
    EXPECT_FALSE(porter->isChecked());
    EXPECT_FALSE(Etablissement::PorterAutomatiquement(ini));

    // A new window shows what was stored.
    fenetre.reset();
    ouvrir();
    EXPECT_EQ(champ("etablissement_fraisannulation")->text(), QString::fromUtf8("45,50 €"));
    EXPECT_EQ(champ("etablissement_arrhes")->text(), QString::fromUtf8("100,00 €"));
    EXPECT_EQ(champ("etablissement_delaiarrhes")->text(), QStringLiteral("365"));
    EXPECT_FALSE(fenetre->findChild<QCheckBox*>(QStringLiteral("etablissement_porter"))->isChecked());
    if (const QString dossier = qEnvironmentVariable("PARCOURS_CAPTURES"); !dossier.isEmpty())
        fenetre->grab().save(dossier + QStringLiteral("/parametres_etablissement.png"));
}

TEST_F(OngletEtablissementTest, UnReglageQuiNePeutEtreEcritLeDitEtGardeLaValeurStockee)
{
    Repondeur repondeur;
    QFile::remove(contexte.CheminINI);
    ASSERT_TRUE(QDir().mkpath(contexte.CheminINI));
    Pilotage::remplacer(champ("etablissement_arrhes"), QStringLiteral("20 %"));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(champ("etablissement_arrhes")->text(), QStringLiteral("30 %"));
    auto* porter = fenetre->findChild<QCheckBox*>(QStringLiteral("etablissement_porter"));
    QTest::mouseClick(porter, Qt::LeftButton, {}, QPoint(8, porter->height() / 2));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(porter->isChecked());
    ASSERT_EQ(repondeur.messages.size(), 2);
    for (const QString& m : repondeur.messages)
        EXPECT_TRUE(m.startsWith(QString::fromUtf8("Le réglage n'a pas pu être enregistré"))) << m.toStdString();
}

} // namespace
