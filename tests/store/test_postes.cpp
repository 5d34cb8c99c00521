// Several desks on one database, on either engine: two bookings of one unit
// made at the same moment, and a write that meets another desk's lock.
#include "store/base.h"
#include "store/dialecte.h"
#include "store/requetes.h"
#include "store/requetes_reservation.h"
#include "testutil.h"

#include <QSqlQuery>
#include <QThread>
#include <gtest/gtest.h>
#include <atomic>
#include <barrier>

namespace {

Requetes::Reservation sejour(const QString& client, int premiereNuit)
{
    Requetes::Reservation r;
    r.objet = 1;
    r.nomclient = client;
    r.debut = QDateTime(QDate(2027, 7, 1).addDays(premiereNuit), QTime(14, 0), Qt::UTC);
    r.fin = r.debut.addDays(2);
    r.etat = 1;
    r.nbadultes = 2;
    return r;
}

QString occupee()
{
    return QString::fromUtf8("La base est occupée par un autre poste, réessayez.");
}

} // namespace

TEST(Postes, TwoDesksBookingOneUnitAtOnceNeverBothPassWithoutTheQuestion)
{
    TestUtil::BaseTemporaire t;
    ASSERT_TRUE(t.base().isOpen());
    t.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chalet')"));
    constexpr int kTours = 12;
    const QString adresse = t.chemin();
    struct Resultat { bool reussi = false; bool nouveau = false; QString erreur; };
    Resultat resultats[kTours][2];
    // Both desks start each round together.
    std::barrier depart(2);
    std::atomic<int> tour{0};
    auto poste = [&](int p) {
        const QString connexion = QStringLiteral("poste%1").arg(p);
        {
            const auto base = Base::ouvrir(adresse, Base::Ouverture::Existante, connexion);
            if (!base)
                depart.arrive_and_drop();   // the other desk books alone (and the test fails)
            for (int k = 0; base && k < kTours; ++k) {
                // Both desks saw the unit free (no overlap to accept) and book
                // the same two nights at the same moment.
                const QList<qint32> acceptes;
                depart.arrive_and_wait();
                Resultat& r = resultats[k][p];
                r.reussi = RequetesReservation::creer(*base, sejour(QStringLiteral("Poste %1").arg(p), 3 * k),
                                                      QStringLiteral("Création"), &r.erreur, &acceptes, &r.nouveau)
                               .has_value();
            }
        }
        QSqlDatabase::removeDatabase(connexion);
        tour++;
    };
    QThread* a = QThread::create(poste, 0);
    QThread* b = QThread::create(poste, 1);
    a->start();
    b->start();
    a->wait();
    b->wait();
    delete a;
    delete b;
    ASSERT_EQ(tour.load(), 2);
    for (int k = 0; k < kTours; ++k) {
        const Resultat& un = resultats[k][0];
        const Resultat& deux = resultats[k][1];
        EXPECT_NE(un.reussi, deux.reussi) << "tour " << k << " : " << un.erreur.toStdString() << " / "
                                          << deux.erreur.toStdString();
        const Resultat& refuse = un.reussi ? deux : un;
        EXPECT_TRUE(refuse.nouveau) << "tour " << k << " : " << refuse.erreur.toStdString();
    }
    EXPECT_EQ(t.valeur(QStringLiteral("SELECT count(*) FROM RESERVATIONS")).toInt(), kTours);
    EXPECT_EQ(t.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS")).toInt(), kTours);
}

TEST(Postes, AWriteMeetingAnotherDesksLockOnAServerSaysBusyAndWritesNothing)
{
    if (!TestUtil::SurPostgres())
        GTEST_SKIP() << "un serveur PostgreSQL seulement (le fichier SQLite a son propre test)";
    TestUtil::BaseTemporaire t(QStringLiteral("poste1"));
    TestUtil::Logements(t.base(), {1});
    auto poste2 = Base::ouvrir(t.chemin(), Base::Ouverture::Existante, QStringLiteral("poste2"));
    ASSERT_TRUE(poste2);
    const auto numero = RequetesReservation::creer(t.base(), sejour(QStringLiteral("Dupont"), 0), QStringLiteral("Création"));
    ASSERT_TRUE(numero);
    {
        // The second desk waits a fifth of a second instead of five.
        ASSERT_TRUE(QSqlQuery(*poste2).exec(QStringLiteral("SET lock_timeout = 200")));
        QSqlQuery verrou(t.base());
        for (const QString& sql : Dialecte::debutEcriture(t.base()))
            ASSERT_TRUE(verrou.exec(sql)) << sql.toStdString();
        ASSERT_TRUE(verrou.exec(QStringLiteral("UPDATE RESERVATIONS SET remarque = 'x' WHERE NumeroReservation = %1")
                                    .arg(*numero)));
        struct Cas { const char* nom; std::function<bool(QString*)> ecrire; };
        const Cas cas[] = {
            {"a booking", [&](QString* e) {
                 return RequetesReservation::creer(*poste2, sejour(QStringLiteral("Martin"), 5), QStringLiteral("Création"), e)
                     .has_value(); }},
            {"a change of the row being written", [&](QString* e) {
                 Requetes::Reservation r = *Requetes::reservation(*poste2, *numero);
                 r.nomclient = QStringLiteral("Durand");
                 return RequetesReservation::modifier(*poste2, r, QStringLiteral("Modification"), e); }},
        };
        for (const Cas& c : cas) {
            QString erreur;
            EXPECT_FALSE(c.ecrire(&erreur)) << c.nom;
            EXPECT_EQ(erreur, occupee()) << c.nom;
        }
        ASSERT_TRUE(verrou.exec(QStringLiteral("COMMIT")));
        for (const Cas& c : cas) {
            QString erreur;
            EXPECT_TRUE(c.ecrire(&erreur)) << c.nom << " : " << erreur.toStdString();
        }
    }
    EXPECT_EQ(t.valeur(QStringLiteral("SELECT count(*) FROM RESERVATIONS")).toInt(), 2);
    EXPECT_EQ(t.valeur(QStringLiteral("SELECT nomclient FROM RESERVATIONS WHERE NumeroReservation = %1").arg(*numero))
                  .toString(), QStringLiteral("Durand"));
    poste2.reset();
    QSqlDatabase::removeDatabase(QStringLiteral("poste2"));
}
