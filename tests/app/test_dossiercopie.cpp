// A data folder copied (cp -a) or moved keeps its own database: the
// program itself, run in the copy, reads and replaces the copy's file and
// never the original's.
#include "app/demarrage.h"
#include "config/chemins.h"
#include "config/ini32.h"
#include "store/base.h"
#include "store/copiebase.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/module1.h"
#include "programme.h"
#include "testutil.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Programme::Execution;
using Programme::lancer;

// The day's cash report of the folder: it lists the sales of its database.
Execution caisse(const QString& dossier)
{
    return lancer(dossier, {QStringLiteral("--caisse"), QStringLiteral("2026-12-09")});
}

// A sale on 9 December 2026 written into a database file.
void vendre(const QString& chemin, const QString& article)
{
    const QString connexion = QStringLiteral("vente");
    {
        const auto base = Base::ouvrir(chemin, Base::Ouverture::Existante, connexion);
        ASSERT_TRUE(base) << chemin.toStdString();
        Horloge::fixer(Dates::naive(QDate(2026, 12, 9), QTime(11, 0)));
        EXPECT_TRUE(Module1::EnregistrerOperation(*base, 4, -7, QString(), QStringLiteral("BAR ") + article));
        Horloge::liberer();
    }
    QSqlDatabase::removeDatabase(connexion);
}

// The database's snapshot in the folder's backup slot 1.
void sauvegarder(const QString& dossier)
{
    const QString connexion = QStringLiteral("instantane");
    {
        const auto base = CopieBase::ouvrir(dossier + QStringLiteral("/planning.db"), connexion, true);
        ASSERT_TRUE(base);
        ASSERT_TRUE(QDir().mkpath(dossier + QStringLiteral("/Sauvegardes")));
        ASSERT_TRUE(CopieBase::copier(*base, dossier + QStringLiteral("/Sauvegardes/planning_1.db")));
    }
    CopieBase::fermer(connexion);
}

QString valeurIni(const QString& dossier)
{
    return INI32::ProfilINI(QStringLiteral("system"), QStringLiteral("database"), QStringLiteral("<absent>"),
                            dossier + QStringLiteral("/planning.ini"), 1);
}

bool copierDossier(const QString& de, const QString& vers)
{
    return QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), de, vers}) == 0;
}

} // namespace

TEST(DossierCopie, ACopiedOrMovedFolderReadsAndWritesItsOwnDatabase)
{
    struct Cas {
        const char* nom;
        bool ancienIni;   // the INI holds the absolute path an earlier version wrote
        bool deplace;     // moved (renamed) rather than copied
    };
    const Cas cas[] = {
        {"copy", false, false},
        {"move", false, true},
        {"copy of a folder configured by an earlier version", true, false},
        {"move of a folder configured by an earlier version", true, true},
    };
    const QString ditAutreDossier = QStringLiteral("nommait la base d'un autre dossier");
    for (const Cas& c : cas) {
        QTemporaryDir racine;
        const QString d1 = racine.filePath(QStringLiteral("hotel"));
        const QString d2 = racine.filePath(QStringLiteral("hotel copie"));
        ASSERT_TRUE(QDir().mkpath(d1));
        // The first start makes the configuration and the database.
        const Execution premier = caisse(d1);
        ASSERT_EQ(premier.code, 0) << c.nom << premier.erreurs.toStdString();
        EXPECT_EQ(valeurIni(d1), QStringLiteral("planning.db")) << c.nom;
        if (c.ancienIni)
            INI32::ProfilINI(QStringLiteral("system"), QStringLiteral("database"), d1 + QStringLiteral("/planning.db"),
                             d1 + QStringLiteral("/planning.ini"), 0);
        sauvegarder(d1);
        vendre(d1 + QStringLiteral("/planning.db"), QStringLiteral("Vente-avant"));

        if (c.deplace) {
            ASSERT_TRUE(QDir().rename(d1, d2)) << c.nom;
        } else {
            ASSERT_TRUE(copierDossier(d1, d2)) << c.nom;
            vendre(d2 + QStringLiteral("/planning.db"), QStringLiteral("Vente-copie"));
        }

        // The report of the new folder lists its own sales.
        const Execution rapport = caisse(d2);
        ASSERT_EQ(rapport.code, 0) << c.nom << rapport.erreurs.toStdString();
        EXPECT_TRUE(rapport.sortie.contains(QStringLiteral("Vente-avant"))) << c.nom << rapport.sortie.toStdString();
        EXPECT_EQ(rapport.sortie.contains(QStringLiteral("Vente-copie")), !c.deplace) << c.nom;
        // An earlier version's path is mended once, and said so once.
        EXPECT_EQ(rapport.erreurs.count(ditAutreDossier), c.ancienIni ? 1 : 0) << c.nom << rapport.erreurs.toStdString();
        EXPECT_EQ(valeurIni(d2), QStringLiteral("planning.db")) << c.nom;
        EXPECT_FALSE(caisse(d2).erreurs.contains(ditAutreDossier)) << c.nom;
        if (!c.deplace) {
            const Execution original = caisse(d1);
            EXPECT_FALSE(original.sortie.contains(QStringLiteral("Vente-copie"))) << c.nom;
            EXPECT_FALSE(original.erreurs.contains(ditAutreDossier)) << c.nom;
            EXPECT_EQ(valeurIni(d1), QStringLiteral("planning.db")) << c.nom;
        }

        // The program replaces the new folder's database, not the original's.
        const Execution restauration = lancer(d2, {QStringLiteral("--restaurer"), QStringLiteral("1")});
        ASSERT_EQ(restauration.code, 0) << c.nom << restauration.erreurs.toStdString();
        EXPECT_TRUE(restauration.sortie.contains(QStringLiteral("restaurée dans ") + d2 + QStringLiteral("/planning.db")))
            << c.nom << restauration.sortie.toStdString();
        EXPECT_FALSE(caisse(d2).sortie.contains(QStringLiteral("Vente-avant"))) << c.nom;
        if (!c.deplace) {
            EXPECT_TRUE(caisse(d1).sortie.contains(QStringLiteral("Vente-avant"))) << c.nom;
        }
        EXPECT_EQ(QDir(d2).entryList({QStringLiteral("*.db")}), QStringList{QStringLiteral("planning.db")}) << c.nom;
    }
}

// A path the owner typed stays as typed, whatever the folder holds.
TEST(DossierCopie, ATypedPathElsewhereStaysAsTyped)
{
    QTemporaryDir racine;
    const QString dossier = racine.filePath(QStringLiteral("hotel"));
    ASSERT_TRUE(QDir().mkpath(dossier));
    ASSERT_EQ(caisse(dossier).code, 0);
    vendre(dossier + QStringLiteral("/planning.db"), QStringLiteral("Vente-dossier"));

    struct Cas {
        const char* nom;
        QString base;   // the typed path, created with a sale
    };
    const Cas cas[] = {
        {"another name elsewhere", racine.filePath(QStringLiteral("partage/base.db"))},
        {"the default name in a shared folder", racine.filePath(QStringLiteral("partage/planning.db"))},
    };
    for (const Cas& c : cas) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(c.base).absolutePath()));
        {
            ASSERT_TRUE(Base::ouvrir(c.base, Base::Ouverture::CreerSiAbsente, QStringLiteral("partage")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("partage"));
        vendre(c.base, QStringLiteral("Vente-partage"));
        INI32::ProfilINI(QStringLiteral("system"), QStringLiteral("database"), c.base,
                         dossier + QStringLiteral("/planning.ini"), 0);

        const Execution e = caisse(dossier);
        ASSERT_EQ(e.code, 0) << c.nom << e.erreurs.toStdString();
        EXPECT_TRUE(e.sortie.contains(QStringLiteral("Vente-partage"))) << c.nom << e.sortie.toStdString();
        EXPECT_FALSE(e.sortie.contains(QStringLiteral("Vente-dossier"))) << c.nom;
        EXPECT_TRUE(e.erreurs.isEmpty()) << c.nom << e.erreurs.toStdString();
        EXPECT_EQ(valeurIni(dossier), c.base) << c.nom;
        QFile::remove(c.base);
    }
}

// What a "database=" value names, read from an INI file in `dossier`.
TEST(DossierCopie, TheValueIsReadFromTheConfigurationsFolder)
{
    QTemporaryDir racine;
    const QString dossier = racine.filePath(QStringLiteral("hotel"));
    const QString autre = racine.filePath(QStringLiteral("ancien"));       // a data folder, copied
    const QString parti = racine.filePath(QStringLiteral("parti"));        // a data folder, moved away
    const QString partage = racine.filePath(QStringLiteral("partage"));    // a shared folder
    ASSERT_TRUE(QDir().mkpath(dossier) && QDir().mkpath(autre) && QDir().mkpath(partage));
    TestUtil::ecrireFichier(autre + QLatin1Char('/') + Chemins::nomExecutable() + QStringLiteral(".ini"), "");
    const QString nom = Demarrage::NomBaseParDefaut();
    struct Cas {
        const char* nom;
        QString valeur;
        bool fichierPropre;   // the folder holds its own default file
        QString lu;           // what LireCheminBase gives
        QString ecrit;        // what the INI holds afterwards
    };
    const Cas cas[] = {
        {"nothing yet", QString(), false, dossier + QLatin1Char('/') + nom, nom},
        {"the default", nom, true, dossier + QLatin1Char('/') + nom, nom},
        {"relative in a sub-folder", QStringLiteral("donnees/../donnees/b.db"), false,
         dossier + QStringLiteral("/donnees/b.db"), QStringLiteral("donnees/../donnees/b.db")},
        {"an earlier version's default of this folder", dossier + QLatin1Char('/') + nom, true,
         dossier + QLatin1Char('/') + nom, nom},
        {"an earlier version's default of a copied folder", autre + QLatin1Char('/') + nom, true,
         dossier + QLatin1Char('/') + nom, nom},
        {"an earlier version's default of a moved folder", parti + QLatin1Char('/') + nom, true,
         dossier + QLatin1Char('/') + nom, nom},
        {"the default name in a shared folder", partage + QLatin1Char('/') + nom, true, partage + QLatin1Char('/') + nom,
         partage + QLatin1Char('/') + nom},
        {"another folder's default file, none here", autre + QLatin1Char('/') + nom, false,
         autre + QLatin1Char('/') + nom, autre + QLatin1Char('/') + nom},
        {"another name in another folder", autre + QStringLiteral("/x.db"), true, autre + QStringLiteral("/x.db"),
         autre + QStringLiteral("/x.db")},
        {"a server", QStringLiteral("postgresql://accueil@serveur/planning"), true,
         QStringLiteral("postgresql://accueil@serveur/planning"), QStringLiteral("postgresql://accueil@serveur/planning")},
    };
    const QString ini = dossier + QStringLiteral("/config.ini");
    for (const Cas& c : cas) {
        QFile::remove(ini);
        QFile::remove(dossier + QLatin1Char('/') + nom);
        if (!c.valeur.isEmpty())
            INI32::ProfilINI(QStringLiteral("system"), QStringLiteral("database"), c.valeur, ini, 0);
        if (c.fichierPropre)
            TestUtil::ecrireFichier(dossier + QLatin1Char('/') + nom, "x");
        testing::internal::CaptureStderr();
        const QString lu = Demarrage::LireCheminBase(ini);
        const QString erreurs = QString::fromStdString(testing::internal::GetCapturedStderr());
        EXPECT_EQ(lu, c.lu) << c.nom;
        EXPECT_EQ(INI32::ProfilINI(QStringLiteral("system"), QStringLiteral("database"), QStringLiteral("<absent>"), ini, 1),
                  c.ecrit) << c.nom;
        // Only the other folder's default is said, on one line.
        const bool dit = c.lu != c.valeur && QDir::isAbsolutePath(c.valeur) && !c.valeur.startsWith(dossier);
        EXPECT_EQ(erreurs.count(QLatin1Char('\n')), dit ? 1 : 0) << c.nom << erreurs.toStdString();
    }
}
