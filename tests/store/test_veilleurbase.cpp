#include "store/base.h"
#include "store/veilleurbase.h"
#include "testutil.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Long enough for a server's announce to reach this desk (the event loop
// runs meanwhile): used before saying that nothing came.
constexpr int kDelaiAnnonceMs = 400;

} // namespace

TEST(VeilleurBase, OnlyAnotherDesksCommitsAreNews)
{
    TestUtil::BaseTemporaire t(QStringLiteral("ici"), TestUtil::BaseTemporaire::Isolement::BaseAPart);
    const TestUtil::AutrePoste ailleurs(t.chemin());
    ASSERT_TRUE(ailleurs.ouverte());
    const QSqlDatabase ici = t.base();
    {
        VeilleurBase veilleur(ici, nullptr, 60000);
        QSignalSpy nouvelles(&veilleur, &VeilleurBase::baseChangee);
        struct Etape { const char* nom; std::optional<QSqlDatabase> base; bool nouvelle; };
        const Etape etapes[] = {
            {"nothing happened", std::nullopt, false},
            {"this desk wrote", ici, false},
            {"another desk wrote", ailleurs.base(), true},
            {"looked again without change", std::nullopt, false},
            {"another desk wrote again", ailleurs.base(), true},
        };
        int n = 0;
        for (const Etape& e : etapes) {
            if (e.base)
                ASSERT_TRUE(QSqlQuery(*e.base).exec(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (%1, 'x')").arg(++n)));
            if (e.nouvelle) {
                EXPECT_TRUE(QTest::qWaitFor([&] { return veilleur.verifier(); }, 5000)) << e.nom;
            } else {
                QTest::qWait(TestUtil::SurPostgres() ? kDelaiAnnonceMs : 0);
                EXPECT_FALSE(veilleur.verifier()) << e.nom;
            }
        }
        EXPECT_EQ(nouvelles.size(), 2);
    }
}

TEST(VeilleurBase, AServersAnnouncesNameTheTableAndNumberAndComeOncePerCommit)
{
    if (!TestUtil::SurPostgres())
        GTEST_SKIP() << "annonces d'un serveur PostgreSQL seulement";
    TestUtil::BaseTemporaire t(QStringLiteral("ici"), TestUtil::BaseTemporaire::Isolement::BaseAPart);
    TestUtil::Logements(t.base(), {1});
    const TestUtil::AutrePoste ailleurs(t.chemin());
    ASSERT_TRUE(ailleurs.ouverte());
    {
        VeilleurBase veilleur(t.base(), nullptr);
        QSignalSpy nouvelles(&veilleur, &VeilleurBase::baseChangee);
        QList<QStringList> annonces;
        QObject::connect(&veilleur, &VeilleurBase::baseChangee, [&] { annonces << veilleur.annonces(); });
        QSqlDatabase autre = ailleurs.base();
        // One commit writing a reservation and its journal row: one signal.
        ASSERT_TRUE(autre.transaction());
        QSqlQuery q(autre);
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO RESERVATIONS (NumeroReservation, objet, nomclient, DateDebut, DateFin, Etat) "
                                          "VALUES (41, 1, 'A', '2026-12-09', '2026-12-10', 1)")));
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, libelle) "
                                          "VALUES (41, '2026-12-09 10:00:00', 0, 'x')")));
        ASSERT_TRUE(autre.commit());
        ASSERT_TRUE(nouvelles.wait(5000));
        QTest::qWait(kDelaiAnnonceMs);
        EXPECT_EQ(nouvelles.size(), 1);
        ASSERT_EQ(annonces.size(), 1);
        EXPECT_EQ(annonces[0], (QStringList{QStringLiteral("RESERVATIONS:41"), QStringLiteral("OPERATIONS:41")}));
        // Nothing is announced before the commit.
        ASSERT_TRUE(autre.transaction());
        ASSERT_TRUE(q.exec(QStringLiteral("UPDATE RESERVATIONS SET nomclient = 'B' WHERE NumeroReservation = 41")));
        QTest::qWait(kDelaiAnnonceMs);
        EXPECT_EQ(nouvelles.size(), 1);
        ASSERT_TRUE(autre.commit());
        ASSERT_TRUE(nouvelles.wait(5000));
        EXPECT_EQ(nouvelles.size(), 2);
        EXPECT_EQ(annonces.value(1), QStringList{QStringLiteral("RESERVATIONS:41")});
    }
}

TEST(VeilleurBase, ALostServerConnectionIsOpenedAgainAndTheDeskHearsTheOthersAgain)
{
    if (!TestUtil::SurPostgres())
        GTEST_SKIP() << "connexion à un serveur PostgreSQL seulement";
    TestUtil::BaseTemporaire t(QStringLiteral("ici"), TestUtil::BaseTemporaire::Isolement::BaseAPart);
    const TestUtil::AutrePoste ailleurs(t.chemin());
    ASSERT_TRUE(ailleurs.ouverte());
    {
        VeilleurBase veilleur(t.base(), nullptr);
        QSignalSpy nouvelles(&veilleur, &VeilleurBase::baseChangee);
        EXPECT_TRUE(veilleur.verifierConnexion());
        EXPECT_EQ(nouvelles.size(), 0);
        // The server ends this desk's session (as a restart or a cut would).
        QSqlQuery q(ailleurs.base());
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                          "WHERE datname = current_database() AND pid <> pg_backend_pid()")));
        // Another desk writes while this one is cut off.
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (7, 'Pendant la coupure')")));
        EXPECT_FALSE(QSqlQuery(t.base()).exec(QStringLiteral("SELECT count(*) FROM OBJETS")));

        // The next look opens the connection again and has everything drawn again.
        EXPECT_TRUE(veilleur.verifierConnexion());
        EXPECT_EQ(nouvelles.size(), 1);
        EXPECT_EQ(t.valeur(QStringLiteral("SELECT Nom FROM OBJETS WHERE Numero = 7")).toString(),
                  QStringLiteral("Pendant la coupure"));
        // The other desk's next write is heard again.
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (8, 'Après')")));
        EXPECT_TRUE(nouvelles.wait(5000));
        EXPECT_EQ(nouvelles.size(), 2);
        // A failed transaction is no lost connection.
        QSqlDatabase ici = t.base();
        ASSERT_TRUE(ici.transaction());
        EXPECT_FALSE(QSqlQuery(ici).exec(QStringLiteral("SELECT * FROM table_absente")));
        EXPECT_TRUE(veilleur.verifierConnexion());
        EXPECT_EQ(nouvelles.size(), 2);
        ici.rollback();
    }
}
