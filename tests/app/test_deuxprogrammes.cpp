// Two programs on one SQLite file (the database on a shared folder): their
// bookings never overlap unasked, and a write that finds the file held by
// the other one says so and stores nothing.
#include "store/base.h"
#include "store/requetes.h"
#include "testutil.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList lignes(QProcess& p)
{
    return QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

TEST(DeuxProgrammes, BookingTheSameNightsTogetherEachStayIsStoredOnceAndEveryOkIsInTheFile)
{
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("partagee.db"));
    const QString top = dossier.filePath(QStringLiteral("top"));
    {
        const auto base = Base::ouvrir(chemin, Base::Ouverture::CreerSiAbsente, QStringLiteral("creation"));
        ASSERT_TRUE(base.has_value());
        ASSERT_TRUE(QSqlQuery(*base).exec(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chalet')")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("creation"));
    constexpr int kSejours = 40;
    QProcess a, b;
    for (QProcess* p : {&a, &b})
        p->start(QStringLiteral(AIDE_SAUVEGARDES),
                 {QStringLiteral("reserver"), chemin, QString::number(kSejours), top});
    TestUtil::ecrireFichier(top, "go");
    for (QProcess* p : {&a, &b})
        ASSERT_TRUE(p->waitForFinished(120000)) << "un programme ne finit pas";
    const QStringList deA = lignes(a), deB = lignes(b);
    ASSERT_EQ(deA.size(), kSejours) << QString::fromUtf8(a.readAllStandardError()).toStdString();
    ASSERT_EQ(deB.size(), kSejours) << QString::fromUtf8(b.readAllStandardError()).toStdString();
    int stockes = 0;
    for (int k = 0; k < kSejours; ++k) {
        const bool okA = deA[k] == QStringLiteral("OK %1").arg(k), okB = deB[k] == QStringLiteral("OK %1").arg(k);
        EXPECT_NE(okA, okB) << deA[k].toStdString() << " / " << deB[k].toStdString();
        // The one not stored was told the other desk booked it.
        EXPECT_TRUE(okA || deA[k] == QStringLiteral("AUTRE %1").arg(k)) << deA[k].toStdString();
        EXPECT_TRUE(okB || deB[k] == QStringLiteral("AUTRE %1").arg(k)) << deB[k].toStdString();
        stockes += int(okA) + int(okB);
    }
    {
        const auto base = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("lecture"));
        ASSERT_TRUE(base);
        QSqlQuery q(*base);
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*), count(DISTINCT DateDebut) FROM RESERVATIONS")) && q.next());
        EXPECT_EQ(q.value(0).toInt(), stockes);
        EXPECT_EQ(q.value(1).toInt(), kSejours);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("lecture"));
}

TEST(DeuxProgrammes, AWriteWhileTheOtherProgramHoldsTheFileSaysBusyAndItsUncommittedRowNeverAppears)
{
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("partagee.db"));
    {
        ASSERT_TRUE(Base::ouvrir(chemin, Base::Ouverture::CreerSiAbsente, QStringLiteral("ici")).has_value());
    }
    QProcess autre;
    autre.start(QStringLiteral(AIDE_SAUVEGARDES), {QStringLiteral("verrouiller"), chemin});
    ASSERT_TRUE(autre.waitForReadyRead(30000));
    ASSERT_EQ(lignes(autre), QStringList{QStringLiteral("VERROU")});
    {
        QSqlDatabase ici = QSqlDatabase::database(QStringLiteral("ici"));
        // This desk waits a fifth of a second instead of five.
        ici.close();
        ici.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=200"));
        ASSERT_TRUE(ici.open());
        QString erreur;
        EXPECT_FALSE(Requetes::ajouterOperation(ici, 1, QDateTime(QDate(2026, 12, 9), QTime(10, 0), Qt::UTC), -3,
                                                QStringLiteral("   "), QStringLiteral("BAR Café"), &erreur));
        EXPECT_EQ(erreur, QString::fromUtf8("La base est occupée par un autre poste, réessayez."));
        // The other program dies before its commit: its row is never seen,
        // this desk's write then goes through.
        autre.kill();
        autre.waitForFinished();
        EXPECT_TRUE(Requetes::ajouterOperation(ici, 1, QDateTime(QDate(2026, 12, 9), QTime(10, 0), Qt::UTC), -3,
                                               QStringLiteral("   "), QStringLiteral("BAR Café"), &erreur))
            << erreur.toStdString();
        QSqlQuery q(ici);
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT (SELECT count(*) FROM OBJETS), (SELECT count(*) FROM OPERATIONS)"))
                    && q.next());
        EXPECT_EQ(q.value(0).toInt(), 0);
        EXPECT_EQ(q.value(1).toInt(), 1);
        ici.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("ici"));
}
