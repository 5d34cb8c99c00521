// The journal mode of the database file: a write-ahead log on a local disk,
// where readers never wait for a writer, and the rollback journal on a
// network share.
#include "store/base.h"
#include "store/journalisation.h"
#include "testutil.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QVariant pragma(const QSqlDatabase& base, const QString& nom)
{
    QSqlQuery q(base);
    return q.exec(QStringLiteral("PRAGMA ") + nom) && q.next() ? q.value(0) : QVariant();
}

} // namespace

TEST(Journalisation, NetworkFileSystemsAreToldByTheirMagicNumber)
{
    struct Cas { quint32 magique; const char* reseau; };
    const Cas cas[] = {
        {0x6969, "NFS"}, {0x517B, "SMB"}, {0xFF534D42, "CIFS"}, {0xFE534D42, "SMB2"},
        {0x5346414F, "AFS"}, {0x01021997, "9P"}, {0x00C36400, "Ceph"},
        // Local ones: ext4, xfs, btrfs, tmpfs, a FUSE file system (one machine).
        {0xEF53, ""}, {0x58465342, ""}, {0x9123683E, ""}, {0x01021994, ""}, {0x65735546, ""}, {0, ""},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Journalisation::systemeReseau(c.magique), QLatin1String(c.reseau)) << std::hex << c.magique;
}

TEST(Journalisation, TheModeFollowsTheFileSystemAndTheFolder)
{
    using Journalisation::Mode;
    struct Cas { const char* reseau; bool inscriptible; Mode attendu; };
    const Cas cas[] = {
        {"", true, Mode::Wal},
        {"", false, Mode::Inchange},       // a log could not be made beside the file
        {"NFS", true, Mode::Classique},
        {"CIFS", false, Mode::Classique},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Journalisation::choisir(QLatin1String(c.reseau), c.inscriptible), c.attendu)
            << c.reseau << " " << c.inscriptible;
}

TEST(Journalisation, AFileOnALocalDiskIsOpenedInWalModeWithEveryCommitFlushed)
{
    SQLITE_SEULEMENT();
    QTemporaryDir dossier;
    EXPECT_EQ(Journalisation::systemeReseauDe(dossier.filePath(QStringLiteral("x.db"))), QString());
    // A file made in rollback mode by an older program.
    const QString ancienne = dossier.filePath(QStringLiteral("ancienne.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("ancienne"));
        db.setDatabaseName(ancienne);
        ASSERT_TRUE(db.open());
        ASSERT_EQ(pragma(db, QStringLiteral("journal_mode=DELETE")).toString(), QStringLiteral("delete"));
        ASSERT_TRUE(Base::creerSchema(db));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("ancienne"));

    struct Cas { const char* quoi; QString chemin; Base::Ouverture mode; bool rouvrir; };
    const Cas cas[] = {
        {"new file", dossier.filePath(QStringLiteral("neuve.db")), Base::Ouverture::CreerSiAbsente, false},
        {"older file", ancienne, Base::Ouverture::Existante, false},
        {"reopened", ancienne, Base::Ouverture::Existante, true},
    };
    for (const Cas& c : cas) {
        {
            QString erreur;
            const auto base = Base::ouvrir(c.chemin, c.mode, QStringLiteral("j"), &erreur);
            ASSERT_TRUE(base.has_value()) << c.quoi << ": " << qPrintable(erreur);
            if (c.rouvrir) {
                ASSERT_TRUE(Base::rouvrir(*base, &erreur)) << qPrintable(erreur);
            }
            EXPECT_EQ(pragma(*base, QStringLiteral("journal_mode")).toString(), QStringLiteral("wal")) << c.quoi;
            EXPECT_EQ(pragma(*base, QStringLiteral("synchronous")).toInt(), 2) << c.quoi;   // FULL
        }
        QSqlDatabase::removeDatabase(QStringLiteral("j"));
    }
}

TEST(Journalisation, TheCalendarReadsWhileAnotherDeskHoldsAWriteAndSeesOnlyWhatIsCommitted)
{
    SQLITE_SEULEMENT();
    TestUtil::BaseTemporaire temp;
    temp.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chambre 1')"));
    {
        TestUtil::AutrePoste autre(temp.chemin());
        ASSERT_TRUE(autre.ouverte());
        QSqlQuery ecriture(autre.base());
        // The strongest hold a writer takes: in rollback mode it shuts
        // every reader out until it ends.
        ASSERT_TRUE(ecriture.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        ASSERT_TRUE(ecriture.exec(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (2, 'Chambre 2')")));

        QSqlQuery lecture(temp.base());
        ASSERT_TRUE(lecture.exec(QStringLiteral("SELECT group_concat(Nom, '/') FROM OBJETS")) && lecture.next())
            << qPrintable(lecture.lastError().text());
        EXPECT_EQ(lecture.value(0).toString(), QStringLiteral("Chambre 1"));
        lecture.finish();

        ASSERT_TRUE(ecriture.exec(QStringLiteral("COMMIT")));
        EXPECT_EQ(temp.valeur(QStringLiteral("SELECT count(*) FROM OBJETS")).toInt(), 2);
    }
}

TEST(Journalisation, AFileInAFolderTheProgramCannotWriteToKeepsItsMode)
{
    SQLITE_SEULEMENT();
    if (::geteuid() == 0)
        GTEST_SKIP() << "root écrit dans tout dossier";
    struct Cas { const char* mode; bool ouverte; const char* raison; };
    const Cas cas[] = {
        {"delete", true, ""},
        // No log nor index beside it, and none can be made: unreadable.
        {"wal", false, "base en mode WAL dans un dossier où le programme ne peut pas écrire"},
    };
    for (const Cas& c : cas) {
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath(QStringLiteral("base.db"));
        {
            const auto base = Base::ouvrir(chemin, Base::Ouverture::CreerSiAbsente, QStringLiteral("prep"));
            ASSERT_TRUE(base.has_value());
            ASSERT_EQ(pragma(*base, QStringLiteral("journal_mode=") + QLatin1String(c.mode)).toString(),
                      QLatin1String(c.mode));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("prep"));
        ASSERT_FALSE(QFileInfo::exists(Journalisation::nomWal(chemin)));
        const QFileDevice::Permissions droits = QFile::permissions(dossier.path());
        ASSERT_TRUE(QFile::setPermissions(dossier.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        {
            QString erreur;
            const auto base = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("lecture"), &erreur);
            EXPECT_EQ(base.has_value(), c.ouverte) << c.mode << ": " << qPrintable(erreur);
            if (c.ouverte) {
                EXPECT_EQ(erreur, QString()) << c.mode;
            } else {
                EXPECT_TRUE(erreur.startsWith(QString::fromUtf8(c.raison))) << c.mode << ": " << qPrintable(erreur);
            }
            if (base) {
                EXPECT_EQ(pragma(*base, QStringLiteral("journal_mode")).toString(), QLatin1String(c.mode));
                QSqlQuery q(*base);
                EXPECT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM ETATS")) && q.next() && q.value(0).toInt() >= 3);
                EXPECT_FALSE(q.exec(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'x')")));
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("lecture"));
        QFile::setPermissions(dossier.path(), droits);
    }
}
