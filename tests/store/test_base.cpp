#include "store/base.h"
#include "testutil.h"

#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Builds one kind of bad database path inside the folder and returns it.
QString preparer(const QTemporaryDir& dossier, const std::string& genre)
{
    const QString chemin = dossier.filePath(QStringLiteral("base.db"));
    if (genre == "dossier")
        QDir().mkpath(chemin);
    else if (genre == "vide")
        TestUtil::ecrireFichier(chemin, QByteArray());
    else if (genre == "texte")
        TestUtil::ecrireFichier(chemin, "ceci n'est pas une base\n");
    else if (genre == "sqlite sans nos tables" || genre == "version plus récente") {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("prep"));
            db.setDatabaseName(chemin);
            db.open();
            QSqlQuery q(db);
            if (genre == "sqlite sans nos tables") {
                q.exec(QStringLiteral("CREATE TABLE autre (x)"));
            } else {
                Base::creerSchema(db);
                q.exec(QStringLiteral("PRAGMA user_version = 99"));
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("prep"));
    }
    return chemin;
}

} // namespace

TEST(Base, RefusesEveryPathThatIsNotOurDatabase)
{
    for (const std::string genre : {"absent", "dossier", "vide", "texte", "sqlite sans nos tables", "version plus récente"}) {
        QTemporaryDir dossier;
        const QString chemin = preparer(dossier, genre);
        QString erreur;
        const auto base = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("c"), &erreur);
        EXPECT_FALSE(base.has_value()) << genre;
        EXPECT_FALSE(erreur.isEmpty()) << genre;
        EXPECT_FALSE(QSqlDatabase::contains(QStringLiteral("c"))) << genre;
    }
}

TEST(Base, CreatesAMissingFileWithSchemaAndDefaultStates)
{
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("neuve.db"));
    {
        const auto base = Base::ouvrir(chemin, Base::Ouverture::CreerSiAbsente, QStringLiteral("n"));
        ASSERT_TRUE(base.has_value());
        QSqlQuery q(*base);
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM ETATS")) && q.next());
        EXPECT_GE(q.value(0).toInt(), 3);
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA synchronous")) && q.next());
        EXPECT_EQ(q.value(0).toInt(), 2); // FULL
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM RESERVATION_NOMINATIVE")) && q.next());
        EXPECT_TRUE(Base::estVide(*base));
        EXPECT_TRUE(Base::remplirDemo(*base, QDate(2026, 12, 9)));
        EXPECT_FALSE(Base::estVide(*base));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("n"));
    // Reopened as an existing database.
    {
        const auto base = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("n2"));
        EXPECT_TRUE(base.has_value());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("n2"));
}

TEST(Base, AnOlderFileIsBroughtToTheCurrentSchema)
{
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("ancienne.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("prep1"));
        db.setDatabaseName(chemin);
        db.open();
        Base::creerSchema(db);
        QSqlQuery q(db);
        q.exec(QStringLiteral("DROP INDEX idx_reservations_objet_fin"));
        q.exec(QStringLiteral("PRAGMA user_version = 1"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("prep1"));
    {
        const auto base = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("v"));
        ASSERT_TRUE(base.has_value());
        QSqlQuery q(*base);
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA user_version")) && q.next());
        EXPECT_EQ(q.value(0).toInt(), Base::kVersionSchema);
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'idx_reservations_objet_fin'")) && q.next());
        EXPECT_EQ(q.value(0).toInt(), 1);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("v"));
}
