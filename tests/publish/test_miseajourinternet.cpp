#include "config/chemins.h"
#include "app/demarrage.h"
#include "publish/miseajourinternet.h"
#include "app/publicationconsole.h"
#include "store/horloge.h"
#include "testutil.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The window on a temporary database whose folder is the program folder.
class FenetreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Horloge::fixer(QDateTime(QDate(2025, 1, 15), QTime(10, 30)));
        Chemins::fixerDossierProgramme(bd.dossier());
        contexte.BaseOuverte = bd.base();
        bd.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chambre 1'), (2, 'Chambre 2')"));
    }
    void TearDown() override
    {
        Chemins::fixerDossierProgramme(QString());
        Horloge::liberer();
    }

    TestUtil::BaseTemporaire bd{QStringLiteral("fenetre")};
    Contexte contexte;
};

} // namespace

TEST_F(FenetreTest, Controles)
{
    MiseAJourInternet f(&contexte);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Mise A Jour Internet"));
    EXPECT_EQ(f.size(), QSize(409, 175));
    auto* bouton = f.findChild<QPushButton*>(QStringLiteral("GenerateurInternet"));
    auto* journal = f.findChild<QPlainTextEdit*>(QStringLiteral("avancement"));
    ASSERT_EQ(bouton, f.GenerateurInternet);
    ASSERT_EQ(journal, f.avancement);
    EXPECT_EQ(bouton->text(), QStringLiteral("Générateur Internet"));
    EXPECT_EQ(bouton->geometry(), QRect(8, 16, 129, 33));
    EXPECT_EQ(journal->geometry(), QRect(8, 56, 393, 113));
    EXPECT_EQ(journal->palette().color(QPalette::Base), QColor(Qt::black));
    EXPECT_EQ(journal->palette().color(QPalette::Text), QColor(0, 255, 0));
}

TEST_F(FenetreTest, LaPublicationReussieFermeLaFenetre)
{
    MiseAJourInternet f(&contexte);
    QSignalSpy fin(&f, &MiseAJourInternet::publicationTerminee);
    f.show();
    QTest::mouseClick(f.GenerateurInternet, Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Accepted);
    ASSERT_EQ(fin.size(), 1);
    // No lanceftp.sh in the folder: ignored, the pages are written all the same.
    EXPECT_EQ(fin.at(0).at(0).value<Publication::Issue>(), Publication::Issue::SansScript);
    EXPECT_TRUE(QFile::exists(bd.dossier() + QStringLiteral("/Chambre_1.html")));
    EXPECT_TRUE(QFile::exists(bd.dossier() + QStringLiteral("/Chambre_2.html")));
    EXPECT_EQ(f.avancement->toPlainText(),
              QStringLiteral("Bascule en FTP ... \nChambre 2 ... OK !\nChambre 1 ... OK !\nChargement des données..."));
    EXPECT_EQ(f.avancement->property("tag").toString(),
              QStringLiteral("Chambre 2 ... OK !\nChambre 1 ... OK !\nChargement des données..."));
}

TEST_F(FenetreTest, UnEchecLaisseLaFenetreOuverte)
{
    QDir(bd.dossier()).mkdir(QStringLiteral("Chambre_2.html"));
    MiseAJourInternet f(&contexte);
    f.show();
    QTest::mouseClick(f.GenerateurInternet, Qt::LeftButton);
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.GenerateurInternet->isEnabled());
    const QStringList lignes = f.avancement->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lignes.size(), 4);
    EXPECT_EQ(lignes[0], QStringLiteral("Publication arrêtée : rien n'est envoyé."));
    EXPECT_TRUE(lignes[1].startsWith(QStringLiteral("Chambre 2 ... ÉCHEC : impossible d'écrire "))) << lignes[1].toStdString();
    EXPECT_EQ(lignes[2], QStringLiteral("Chambre 1 ... OK !"));
    // Once the cause is gone, a second run publishes and closes.
    QDir(bd.dossier()).rmdir(QStringLiteral("Chambre_2.html"));
    QTest::mouseClick(f.GenerateurInternet, Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
}

// The run without a window, as `planning --dossier DIR --publier` does it.
TEST(PublicationConsole, Issues)
{
    struct Cas {
        const char* nom;
        bool demo;
        QByteArray ini;         // configuration written first (empty: none)
        int sortie;
        int lignesSortie;
        QString erreurContient;
        int pages;
    };
    const Cas cas[] = {
        {"démonstration", true, {}, Publication::SortieOK, 8, {}, 7},
        {"base neuve et vide", false, {}, Publication::SortieAucunObjet, 0,
         QStringLiteral("Aucun objet à publier"), 0},
        {"base introuvable", false, "[system]\r\ndatabase=/nulle/part/base.db\r\n", Publication::SortieBase, 0,
         QStringLiteral("Problème d'ouverture de la Base de Données : /nulle/part/base.db"), 0},
    };
    for (const Cas& c : cas) {
        QTemporaryDir dossier;
        Chemins::fixerDossierProgramme(dossier.path());
        if (!c.ini.isEmpty())
            TestUtil::ecrireFichier(Demarrage::CheminIniParDefaut(), c.ini);
        QString sortie;
        QString erreurs;
        {
            QTextStream s(&sortie);
            QTextStream e(&erreurs);
            EXPECT_EQ(Publication::PublierSansFenetre(c.demo, s, e), c.sortie) << c.nom;
        }
        QSqlDatabase::removeDatabase(QLatin1String(Demarrage::kConnexion));
        EXPECT_EQ(sortie.count(QLatin1Char('\n')), c.lignesSortie) << c.nom << sortie.toStdString();
        if (c.erreurContient.isEmpty())
            EXPECT_TRUE(erreurs.isEmpty()) << c.nom << erreurs.toStdString();
        else
            EXPECT_TRUE(erreurs.contains(c.erreurContient)) << c.nom << erreurs.toStdString();
        EXPECT_EQ(QDir(dossier.path()).entryList({QStringLiteral("*.html")}, QDir::Files).size(), c.pages) << c.nom;
        // A publication run makes no backup.
        EXPECT_FALSE(QDir(dossier.path()).exists(QStringLiteral("Sauvegardes"))) << c.nom;
        if (c.demo) {
            EXPECT_TRUE(sortie.startsWith(QStringLiteral("Chambre 1 ... OK ! (Chambre_1.html)\n")));
            EXPECT_TRUE(sortie.endsWith(QStringLiteral("les pages ne sont pas envoyées\n")));
        }
    }
    Chemins::fixerDossierProgramme(QString());
}
