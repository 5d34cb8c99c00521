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
#include <functional>

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
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Mise à jour Internet"));
    EXPECT_EQ(f.size(), QSize(409, 242));
    auto* bouton = f.findChild<QPushButton*>(QStringLiteral("GenerateurInternet"));
    auto* journal = f.findChild<QPlainTextEdit*>(QStringLiteral("avancement"));
    ASSERT_EQ(bouton, f.GenerateurInternet);
    ASSERT_EQ(journal, f.avancement);
    EXPECT_EQ(bouton->text(), QStringLiteral("Générateur Internet"));
    EXPECT_EQ(bouton->geometry(), QRect(8, 16, 129, 33));
    EXPECT_EQ(journal->geometry(), QRect(8, 56, 393, 113));
    EXPECT_EQ(journal->palette().color(QPalette::Base), QColor(Qt::black));
    EXPECT_EQ(journal->palette().color(QPalette::Text), QColor(0, 255, 0));
    // Closing, top right; the outcome of a run under the log.
    auto* fermer = f.findChild<QPushButton*>(QStringLiteral("Fermer"));
    auto* bilan = f.findChild<QPlainTextEdit*>(QStringLiteral("bilan"));
    ASSERT_TRUE(fermer && bilan);
    EXPECT_EQ(fermer->geometry(), QRect(272, 16, 129, 33));
    EXPECT_EQ(bilan->geometry(), QRect(8, 175, 393, 60));
    EXPECT_TRUE(bilan->isReadOnly());
    EXPECT_TRUE(bilan->toPlainText().isEmpty());
}

// After a run the window stays open on what was done, until "Fermer".
TEST_F(FenetreTest, LeBilanResteAffichéJusquAFermer)
{
    struct Cas {
        const char* nom;
        QByteArray script;   // lanceftp.sh written first (empty: none)
        Publication::Issue issue;
        QString envoi;
    };
    const Cas cas[] = {
        {"sans script", {}, Publication::Issue::SansScript,
         QStringLiteral("Aucun script d'envoi (lanceftp.sh) : les pages n'ont pas été envoyées.")},
        {"avec script", "exit 0\n", Publication::Issue::Envoyee, QStringLiteral("Envoi lancé : lanceftp.sh")},
    };
    for (const Cas& c : cas) {
        const QString script = bd.dossier() + QStringLiteral("/lanceftp.sh");
        QFile::remove(script);
        if (!c.script.isEmpty())
            TestUtil::ecrireFichier(script, c.script);
        MiseAJourInternet f(&contexte);
        QSignalSpy fin(&f, &MiseAJourInternet::publicationTerminee);
        f.show();
        auto* bilan = f.findChild<QPlainTextEdit*>(QStringLiteral("bilan"));
        auto* fermer = f.findChild<QPushButton*>(QStringLiteral("Fermer"));
        ASSERT_TRUE(bilan && fermer) << c.nom;
        EXPECT_EQ(fermer->text(), QStringLiteral("Fermer"));
        QTest::mouseClick(f.GenerateurInternet, Qt::LeftButton);

        ASSERT_EQ(fin.size(), 1) << c.nom;
        EXPECT_EQ(fin.at(0).at(0).value<Publication::Issue>(), c.issue) << c.nom;
        EXPECT_TRUE(f.isVisible()) << c.nom;
        EXPECT_TRUE(fermer->isEnabled()) << c.nom;
        EXPECT_EQ(bilan->toPlainText(), QStringLiteral("2 pages écrites dans ") + bd.dossier() + '\n' + c.envoi)
            << c.nom;
        EXPECT_TRUE(QFile::exists(bd.dossier() + QStringLiteral("/Chambre_1.html"))) << c.nom;
        EXPECT_TRUE(QFile::exists(bd.dossier() + QStringLiteral("/Chambre_2.html"))) << c.nom;
        EXPECT_EQ(f.avancement->toPlainText(),
                  QStringLiteral("Bascule en FTP ... \nChambre 2 ... OK !\nChambre 1 ... OK !\nChargement des données..."))
            << c.nom;
        EXPECT_EQ(f.avancement->property("tag").toString(),
                  QStringLiteral("Chambre 2 ... OK !\nChambre 1 ... OK !\nChargement des données..."))
            << c.nom;

        QTest::mouseClick(fermer, Qt::LeftButton);
        EXPECT_FALSE(f.isVisible()) << c.nom;
        EXPECT_EQ(f.result(), QDialog::Accepted) << c.nom;
    }
}

TEST_F(FenetreTest, UnEchecLaisseLaFenetreOuverte)
{
    QDir(bd.dossier()).mkdir(QStringLiteral("Chambre_2.html"));
    MiseAJourInternet f(&contexte);
    f.show();
    auto* bilan = f.findChild<QPlainTextEdit*>(QStringLiteral("bilan"));
    ASSERT_TRUE(bilan);
    QTest::mouseClick(f.GenerateurInternet, Qt::LeftButton);
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.GenerateurInternet->isEnabled());
    const QStringList lignes = f.avancement->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lignes.size(), 4);
    EXPECT_EQ(lignes[0], QStringLiteral("Publication arrêtée : rien n'est envoyé."));
    EXPECT_TRUE(lignes[1].startsWith(QStringLiteral("Chambre 2 ... ÉCHEC : impossible d'écrire "))) << lignes[1].toStdString();
    EXPECT_EQ(lignes[2], QStringLiteral("Chambre 1 ... OK !"));
    EXPECT_TRUE(bilan->toPlainText().startsWith(QStringLiteral("Page de « Chambre 2 » : impossible d'écrire ")));
    EXPECT_TRUE(bilan->toPlainText().endsWith(QStringLiteral("Publication arrêtée : rien n'est envoyé.")));
    // Once the cause is gone, a second run publishes and tells it.
    QDir(bd.dossier()).rmdir(QStringLiteral("Chambre_2.html"));
    QTest::mouseClick(f.GenerateurInternet, Qt::LeftButton);
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(bilan->toPlainText().startsWith(QStringLiteral("2 pages écrites dans ")))
        << bilan->toPlainText().toStdString();
}

// A reservation whose date cannot be read stops the run: the window says
// which one, under which unit, and nothing is sent.
TEST_F(FenetreTest, UneDateIllisibleArreteLaPublication)
{
    TestUtil::ecrireFichier(bd.dossier() + QStringLiteral("/lanceftp.sh"), "touch envoye\n");
    bd.executerHorsRegles(QStringLiteral("INSERT INTO RESERVATIONS (NumeroReservation, objet, nomclient, DateDebut, DateFin, Etat) "
                               "VALUES (5, 2, 'Client', '2025-02-03 14:00:00', '3 mars', 1)"));
    MiseAJourInternet f(&contexte);
    QSignalSpy fin(&f, &MiseAJourInternet::publicationTerminee);
    f.show();
    QTest::mouseClick(f.GenerateurInternet, Qt::LeftButton);
    ASSERT_EQ(fin.size(), 1);
    EXPECT_EQ(fin.at(0).at(0).value<Publication::Issue>(), Publication::Issue::Echec);
    EXPECT_TRUE(f.isVisible());
    auto* bilan = f.findChild<QPlainTextEdit*>(QStringLiteral("bilan"));
    ASSERT_TRUE(bilan);
    EXPECT_EQ(bilan->toPlainText(), QStringLiteral("Page de « Chambre 2 » : réservation n° 5 : date de fin illisible (« 3 mars »)\n"
                                            "Publication arrêtée : rien n'est envoyé."));
    EXPECT_TRUE(f.avancement->toPlainText().startsWith(QStringLiteral(
        "Publication arrêtée : rien n'est envoyé.\nChambre 2 ... ÉCHEC : réservation n° 5 : date de fin illisible")));
    EXPECT_FALSE(QFile::exists(bd.dossier() + QStringLiteral("/Chambre_2.html")));
    QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("Fermer")), Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    // The script was never started (it would have left this file).
    EXPECT_FALSE(QFile::exists(bd.dossier() + QStringLiteral("/envoye")));
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
        std::function<void()> preparer = {};   // fills the default database first
    };
    const Cas cas[] = {
        {"démonstration", true, {}, Publication::SortieOK, 9, {}, 7},
        {"base neuve et vide", false, {}, Publication::SortieAucunObjet, 0,
         QStringLiteral("Aucun objet à publier"), 0},
        {"base introuvable", false, "[system]\r\ndatabase=/nulle/part/base.db\r\n", Publication::SortieBase, 0,
         QStringLiteral("Problème d'ouverture de la Base de Données : /nulle/part/base.db"), 0},
        {"date illisible", false, {}, Publication::SortieEchec, 0,
         QStringLiteral("Page de « Chambre 1 » : réservation n° 3 : date de début illisible (« hier »)\n"
                        "Publication arrêtée : rien n'est envoyé.\n"),
         0, [] {
             {
                 const auto base = Demarrage::OuvrirBase(Demarrage::CheminBaseParDefaut());
                 ASSERT_TRUE(base);
                 QSqlQuery q(*base);
                 ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chambre 1')")));
                 const TestUtil::SansRegles ancienne(*base);   // a row of an older program
                 ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO RESERVATIONS (NumeroReservation, objet, nomclient, "
                                                   "DateDebut, DateFin, Etat) VALUES (3, 1, 'Client', 'hier', "
                                                   "'2025-02-06 12:00:00', 1)")));
             }
             QSqlDatabase::removeDatabase(QLatin1String(Demarrage::kConnexion));
         }},
    };
    for (const Cas& c : cas) {
        QTemporaryDir dossier;
        Chemins::fixerDossierProgramme(dossier.path());
        if (!c.ini.isEmpty())
            TestUtil::ecrireFichier(Demarrage::CheminIniParDefaut(), c.ini);
        if (c.preparer)
            c.preparer();
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
            EXPECT_TRUE(sortie.endsWith(QStringLiteral("7 pages écrites dans ") + dossier.path()
                                        + QStringLiteral("\nAucun script d'envoi (lanceftp.sh) : les pages n'ont "
                                                         "pas été envoyées.\n")))
                << sortie.toStdString();
        }
    }
    Chemins::fixerDossierProgramme(QString());
}
