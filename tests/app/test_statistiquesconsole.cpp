#include "app/demarrage.h"
#include "app/lanceur.h"
#include "app/root.h"
#include "app/statistiquesconsole.h"
#include "config/chemins.h"
#include "statistiques/statistiquesfenetre.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "testutil.h"

#include <QAction>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "dossierdujour.h"

// The run without a window, as `planning --dossier DIR --statistiques
// AAAA-MM-JJ AAAA-MM-JJ [--csv FILE]` does it.
TEST(StatistiquesConsole, PrintsOrWritesTheFiguresOrSaysWhyNot)
{
    struct Cas {
        const char* nom;
        QString debut, fin, csv;
        QByteArray ini;
        int sortie;
        QString sortieContient;
        QString erreurContient;
    };
    const Cas cas[] = {
        {"text", QStringLiteral("2026-03-01"), QStringLiteral("2026-03-31"), {}, {}, StatistiquesConsole::SortieOK,
         QStringLiteral("Nuitées vendues.................... 5\n"), {}},
        {"csv", QStringLiteral("2026-03-01"), QStringLiteral("2026-03-31"), QStringLiteral("chiffres.csv"), {},
         StatistiquesConsole::SortieOK, QStringLiteral("Statistiques écrites dans "), {}},
        {"bad date", QStringLiteral("2026-02-30"), QStringLiteral("2026-03-31"), {}, {}, StatistiquesConsole::SortiePeriode,
         {}, QStringLiteral("Date invalide : « 2026-02-30 »")},
        {"French end date", QStringLiteral("2026-03-01"), QStringLiteral("31/03/2026"), {}, {},
         StatistiquesConsole::SortiePeriode, {}, QStringLiteral("Date invalide : « 31/03/2026 »")},
        {"start after end", QStringLiteral("2026-04-01"), QStringLiteral("2026-03-31"), {}, {},
         StatistiquesConsole::SortiePeriode, {}, QStringLiteral("est après sa fin")},
        {"fifty years", QStringLiteral("1980-01-01"), QStringLiteral("2029-12-31"), {}, {},
         StatistiquesConsole::SortiePeriode, {}, QStringLiteral("dépasse 30 ans")},
        {"no database", QStringLiteral("2026-03-01"), QStringLiteral("2026-03-31"), {},
         "[system]\r\ndatabase=/nulle/part/base.db\r\n", StatistiquesConsole::SortieBase, {},
         QStringLiteral("Problème d'ouverture de la Base de Données : /nulle/part/base.db")},
        {"csv not writable", QStringLiteral("2026-03-01"), QStringLiteral("2026-03-31"),
         QStringLiteral("/nulle/part/chiffres.csv"), {}, StatistiquesConsole::SortieFichier, {},
         QStringLiteral("Le fichier « /nulle/part/chiffres.csv » ne peut pas être écrit")},
    };
    for (const Cas& c : cas) {
        QTemporaryDir dossier;
        Chemins::fixerDossierProgramme(dossier.path());
        if (!c.ini.isEmpty()) {
            TestUtil::ecrireFichier(Demarrage::CheminIniParDefaut(), c.ini);
        } else {
            const auto base = Demarrage::OuvrirBase(Demarrage::CheminBaseParDefaut());
            ASSERT_TRUE(base) << c.nom;
            QSqlQuery q(*base);
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chalet; \"A\"')")));
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat, "
                                              "nbadultes, nbenfants) VALUES (1, 'X', '2026-03-10 14:00:00', "
                                              "'2026-03-15 12:00:00', 1, 2, 0)")));
        }
        QSqlDatabase::removeDatabase(QLatin1String(Demarrage::kConnexion));
        const QString csv = c.csv.isEmpty() || c.csv.startsWith(QLatin1Char('/')) ? c.csv : dossier.filePath(c.csv);
        QString sortie;
        QString erreurs;
        {
            QTextStream s(&sortie);
            QTextStream e(&erreurs);
            EXPECT_EQ(StatistiquesConsole::Executer(c.debut, c.fin, csv, s, e), c.sortie) << c.nom;
        }
        QSqlDatabase::removeDatabase(QLatin1String(Demarrage::kConnexion));
        if (!c.sortieContient.isEmpty())
            EXPECT_TRUE(sortie.contains(c.sortieContient)) << c.nom << "\n" << sortie.toStdString();
        if (c.erreurContient.isEmpty())
            EXPECT_TRUE(erreurs.isEmpty()) << c.nom << erreurs.toStdString();
        else
            EXPECT_TRUE(erreurs.contains(c.erreurContient)) << c.nom << erreurs.toStdString();
        if (c.sortie == StatistiquesConsole::SortieOK && !csv.isEmpty()) {
            const QByteArray octets = TestUtil::lireFichier(csv);
            EXPECT_TRUE(octets.startsWith("\xEF\xBB\xBF"));
            // The summary, the months, then the units, the name quoted.
            EXPECT_TRUE(octets.contains("Nuitées vendues;5\r\n"));
            EXPECT_TRUE(octets.contains("mars 2026;31;5;16,1;"));
            EXPECT_TRUE(octets.contains("1;\"Chalet; \"\"A\"\"\";5;16,1;0,00\r\n"));
        }
        Chemins::fixerDossierProgramme(QString());
    }
}

using MenuStatistiques = DossierDuJour;

TEST_F(MenuStatistiques, ToolsMenuOpensOneFiguresWindow)
{
    Lanceur lanceur;
    ASSERT_TRUE(lanceur.demarrer(OptionsLancement{}));
    const auto fenetres = ChoisirDeuxFois<StatistiquesFenetre>(lanceur, 80, QStringLiteral("&Statistiques"));
    ASSERT_EQ(fenetres.size(), 1);
    EXPECT_TRUE(fenetres[0]->isVisible());
    EXPECT_EQ(fenetres[0]->periode(), qMakePair(QDate(2026, 12, 1), QDate(2026, 12, 31)));
}

// The command line as typed: the end date is the argument after the start.
TEST(StatistiquesConsole, CommandLineOfTheProgram)
{
    struct Cas { QStringList arguments; int sortie; QString erreur; };
    const Cas cas[] = {
        {{QStringLiteral("--statistiques"), QStringLiteral("2026-01-01"), QStringLiteral("2026-01-31")}, 0, {}},
        {{QStringLiteral("--statistiques"), QStringLiteral("2026-01-01")}, 2, QStringLiteral("la date de fin manque")},
        {{QStringLiteral("--statistiques")}, 2, QStringLiteral("Usage : --statistiques")},
        {{QStringLiteral("--statistiques"), QStringLiteral("2026-01-31"), QStringLiteral("2026-01-01")}, 2,
         QStringLiteral("est après sa fin")},
    };
    for (const Cas& c : cas) {
        QTemporaryDir dossier;
        QProcess p;
        p.start(QStringLiteral(PROGRAMME_PLANNING), QStringList{QStringLiteral("--dossier"), dossier.path()} + c.arguments);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), c.sortie) << c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(c.erreur)) << c.arguments.join(QLatin1Char(' ')).toStdString();
    }
}
