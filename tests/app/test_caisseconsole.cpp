#include "app/caisseconsole.h"
#include "app/demarrage.h"
#include "app/lanceur.h"
#include "app/root.h"
#include "config/chemins.h"
#include "facturation/caissedujourfenetre.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/module1.h"
#include "testutil.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "dossierdujour.h"

// The run without a window, as `planning --dossier DIR --caisse AAAA-MM-JJ`
// does it.
TEST(CaisseConsole, PrintsTheReportOrSaysWhyNot)
{
    struct Cas {
        const char* nom;
        QString jour;
        QByteArray ini;        // configuration written first (empty: none)
        int sortie;
        QStringList sortieContient;
        QString erreurContient;
    };
    const Cas cas[] = {
        {"a day with rows", QStringLiteral("2026-12-09"), {}, CaisseConsole::SortieOK,
         {QStringLiteral("Caisse du mercredi 9 décembre 2026\n"), QStringLiteral("Gaufre %1;"), QStringLiteral("7,00 €"),
          QStringLiteral("Espèces"), QStringLiteral("20,00 €")},
         {}},
        {"a day without rows", QStringLiteral("2026-12-10"), {}, CaisseConsole::SortieOK,
         {QStringLiteral("Caisse du jeudi 10 décembre 2026\n"), QStringLiteral("Aucune vente")}, {}},
        {"a month 13", QStringLiteral("2026-13-01"), {}, CaisseConsole::SortieDate, {},
         QStringLiteral("Date invalide : « 2026-13-01 ». La date s'écrit AAAA-MM-JJ")},
        {"a French date", QStringLiteral("09/12/2026"), {}, CaisseConsole::SortieDate, {},
         QStringLiteral("Date invalide : « 09/12/2026 »")},
        {"no leading zero", QStringLiteral("2026-12-9"), {}, CaisseConsole::SortieDate, {},
         QStringLiteral("Date invalide")},
        {"empty", QString(), {}, CaisseConsole::SortieDate, {}, QStringLiteral("Date invalide")},
        {"no database", QStringLiteral("2026-12-09"), "[system]\r\ndatabase=/nulle/part/base.db\r\n",
         CaisseConsole::SortieBase, {}, QStringLiteral("Problème d'ouverture de la Base de Données : /nulle/part/base.db")},
    };
    for (const Cas& c : cas) {
        QTemporaryDir dossier;
        Chemins::fixerDossierProgramme(dossier.path());
        if (!c.ini.isEmpty()) {
            TestUtil::ecrireFichier(Demarrage::CheminIniParDefaut(), c.ini);
        } else {
            const auto base = Demarrage::OuvrirBase(Demarrage::CheminBaseParDefaut());
            ASSERT_TRUE(base) << c.nom;
            Horloge::fixer(Dates::naive(QDate(2026, 12, 9), QTime(11, 0)));
            EXPECT_TRUE(Module1::EnregistrerOperation(*base, 4, -7, QString(), QStringLiteral("BAR Gaufre %1;\r\n2 x 3,5")));
            EXPECT_TRUE(Module1::EnregistrerOperation(*base, 4, 20, QStringLiteral("ESP"), QStringLiteral("Paiement ESP")));
            Horloge::liberer();
        }
        QSqlDatabase::removeDatabase(QLatin1String(Demarrage::kConnexion));
        QString sortie;
        QString erreurs;
        {
            QTextStream s(&sortie);
            QTextStream e(&erreurs);
            EXPECT_EQ(CaisseConsole::ImprimerCaisse(c.jour, s, e), c.sortie) << c.nom;
        }
        QSqlDatabase::removeDatabase(QLatin1String(Demarrage::kConnexion));
        for (const QString& t : c.sortieContient)
            EXPECT_TRUE(sortie.contains(t)) << c.nom << ": " << t.toStdString() << "\n" << sortie.toStdString();
        if (c.erreurContient.isEmpty()) {
            EXPECT_TRUE(erreurs.isEmpty()) << c.nom << erreurs.toStdString();
        } else {
            EXPECT_TRUE(erreurs.contains(c.erreurContient)) << c.nom << erreurs.toStdString();
            EXPECT_TRUE(sortie.isEmpty()) << c.nom;
        }
        Chemins::fixerDossierProgramme(QString());
    }
}

using MenuCaisse = DossierDuJour;

TEST_F(MenuCaisse, ToolsMenuOpensOneReportWindow)
{
    Lanceur lanceur;
    ASSERT_TRUE(lanceur.demarrer(OptionsLancement{}));
    const auto fenetres = ChoisirDeuxFois<CaisseDuJourFenetre>(lanceur, 60, QStringLiteral("&Caisse du jour"));
    ASSERT_EQ(fenetres.size(), 1);
    EXPECT_TRUE(fenetres[0]->isVisible());
    EXPECT_EQ(fenetres[0]->findChild<QDateEdit*>(QStringLiteral("jour"))->date(), QDate(2026, 12, 9));
}
