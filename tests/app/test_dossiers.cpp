// Data folders whose names Windows-1252 cannot write.
#include "app/demarrage.h"
#include "config/chemins.h"
#include "testutil.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DossierDeDonnees, AnyFolderNameSurvivesEveryStart)
{
    QTemporaryDir racine;
    const char* noms[] = {"Łódź", "Αθήνα", "Москва", "Données €", "日本"};
    for (const char* n : noms) {
        const QString dossier = racine.filePath(QString::fromUtf8(n));
        ASSERT_TRUE(QDir().mkpath(dossier));
        Chemins::fixerDossierProgramme(dossier);
        for (int depart = 1; depart <= 3; ++depart) {
            const QString ini = Demarrage::CheminIniParDefaut();
            const QString base = Demarrage::LireCheminBase(ini);
            EXPECT_EQ(base, Demarrage::CheminBaseParDefaut()) << n << " start " << depart;
            {
                const auto db = Demarrage::OuvrirBase(base);
                EXPECT_TRUE(db.has_value()) << n << " start " << depart;
            }
            QSqlDatabase::removeDatabase(QLatin1String(Demarrage::kConnexion));
        }
        // One database, never a second one under a mangled name.
        EXPECT_EQ(QDir(dossier).entryList({QStringLiteral("*.db")}),
                  QStringList{QFileInfo(Demarrage::CheminBaseParDefaut()).fileName()}) << n;
    }
    Chemins::fixerDossierProgramme(QString());
}
