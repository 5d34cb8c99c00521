#include "store/dates.h"
#include "store/horloge.h"
#include "store/module1.h"
#include "store/requetes.h"
#include "testutil.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

Requetes::Reservation sejour(qint32 objet, const char* client, QDate debut, int nuits, qint32 etat)
{
    Requetes::Reservation r;
    r.objet = objet;
    r.nomclient = QString::fromUtf8(client);
    r.debut = Dates::naive(debut, QTime(14, 0));
    r.fin = Dates::naive(debut.addDays(nuits), QTime(12, 0));
    r.etat = etat;
    r.nbadultes = 2;
    r.remarque = QStringLiteral(" ");
    return r;
}

} // namespace

TEST(Requetes, PlanningReadsEveryReservationOfTheUnitStartingBeforeTheBound)
{
    TestUtil::BaseTemporaire t;
    const QSqlDatabase db = t.base();
    const QDate jour(2026, 2, 1);
    // Added out of date order, on two units, one (of an older program) with
    // a state that does not exist.
    TestUtil::Logements(db, {1, 2});
    ASSERT_TRUE(Requetes::ajouterReservation(db, sejour(1, "Tard", jour.addDays(5), 2, 1)));
    ASSERT_TRUE(Requetes::ajouterReservation(db, sejour(1, "Ancien", jour.addDays(-400), 3, 2)));
    {
        const TestUtil::SansRegles ancienne(db);
        ASSERT_TRUE(Requetes::ajouterReservation(db, sejour(1, "Sans état", jour.addDays(1), 2, 77)));
    }
    ASSERT_TRUE(Requetes::ajouterReservation(db, sejour(2, "Autre unité", jour, 2, 1)));
    ASSERT_TRUE(Requetes::ajouterReservation(db, sejour(1, "Le jour même", jour.addDays(10), 2, 1)));

    const auto lignes = Requetes::reservationsDeObjet(db, 1, jour.addDays(10));
    ASSERT_TRUE(lignes.has_value());
    QStringList clients;
    for (const auto& l : *lignes)
        clients << l.reservation.nomclient;
    // The stay starting on the bound is not read; order is by arrival.
    EXPECT_EQ(clients, (QStringList{QStringLiteral("Ancien"), QString::fromUtf8("Sans état"), QStringLiteral("Tard")}));
    const auto& sansEtat = lignes->at(1);
    EXPECT_FALSE(sansEtat.etatTrouve);
    EXPECT_EQ(sansEtat.couleur, 0);
    EXPECT_TRUE(lignes->at(0).etatTrouve);
    EXPECT_EQ(lignes->at(0).nom, QStringLiteral("Option"));

    // Bounded by the shown period: the stay that ended long ago is left out.
    const auto bornees = Requetes::reservationsDeObjet(db, 1, jour.addDays(10), Dates::naive(jour));
    ASSERT_TRUE(bornees.has_value());
    ASSERT_EQ(bornees->size(), 2);
    EXPECT_EQ(bornees->at(0).reservation.nomclient, QString::fromUtf8("Sans état"));
}

TEST(Requetes, PublishedReservationsFollowTheStatesFlag)
{
    TestUtil::BaseTemporaire t;
    const QSqlDatabase db = t.base();
    const QDate jour(2026, 2, 1);
    TestUtil::Logements(db, {1});
    ASSERT_TRUE(Requetes::ajouterReservation(db, sejour(1, "Confirmé", jour, 2, 1)));   // published
    ASSERT_TRUE(Requetes::ajouterReservation(db, sejour(1, "Option", jour, 2, 2)));     // not published
    {
        const TestUtil::SansRegles ancienne(db);
        ASSERT_TRUE(Requetes::ajouterReservation(db, sejour(1, "Orphelin", jour, 2, 77)));  // no state row
    }
    ASSERT_TRUE(Requetes::ajouterReservation(db, sejour(1, "Après", jour.addDays(30), 2, 1)));
    const auto lignes = Requetes::reservationsPubliees(db, 1, jour.addDays(30));
    ASSERT_TRUE(lignes.has_value());
    ASSERT_EQ(lignes->size(), 1);
    EXPECT_EQ(lignes->at(0).nomclient, QString::fromUtf8("Confirmé"));
}

TEST(Requetes, ReservationRoundTripAndNumbering)
{
    TestUtil::BaseTemporaire t;
    const QSqlDatabase db = t.base();
    EXPECT_EQ(Requetes::maxNumeroReservation(db), 0);
    TestUtil::Logements(db, {3});
    Requetes::Reservation r = sejour(3, "O'Brien & fils \"Vacances\"", QDate(2026, 7, 1), 7, 1);
    r.arrhes = 12.5;
    r.datelimite = Dates::naive(QDate(2026, 6, 1));
    r.email = QStringLiteral("a@b.fr ");
    const auto n1 = Requetes::ajouterReservation(db, r);
    const auto n2 = Requetes::ajouterReservation(db, r);
    ASSERT_TRUE(n1 && n2);
    EXPECT_EQ(*n2, *n1 + 1);
    EXPECT_EQ(Requetes::maxNumeroReservation(db), *n2);

    auto lu = Requetes::reservation(db, *n1);
    ASSERT_TRUE(lu.has_value());
    EXPECT_EQ(lu->nomclient, r.nomclient);
    EXPECT_EQ(lu->debut, r.debut);
    EXPECT_EQ(lu->fin, r.fin);
    EXPECT_DOUBLE_EQ(lu->arrhes, 12.5);
    EXPECT_EQ(lu->datelimite, r.datelimite);
    EXPECT_EQ(lu->email, QStringLiteral("a@b.fr "));

    lu->nomclient = QStringLiteral("Nouveau nom");
    lu->datelimite = QDateTime();
    EXPECT_TRUE(Requetes::modifierReservation(db, *lu));
    EXPECT_EQ(Requetes::reservation(db, *n1)->nomclient, QStringLiteral("Nouveau nom"));
    EXPECT_FALSE(Requetes::reservation(db, *n1)->datelimite.isValid());
    EXPECT_TRUE(t.valeur(QStringLiteral("SELECT datelimite IS NULL FROM RESERVATIONS WHERE NumeroReservation = %1").arg(*n1)).toBool());

    // The view carries the reservation with its unit's name.
    const auto nominative = Requetes::reservationNominative(db, *n1);
    ASSERT_TRUE(nominative.has_value());
    EXPECT_EQ(nominative->value(QStringLiteral("NumeroReservation")).toInt(), *n1);

    Requetes::Reservation absente = *lu;
    absente.numero = 9999;
    QString erreur;
    EXPECT_FALSE(Requetes::modifierReservation(db, absente, &erreur));
    EXPECT_FALSE(erreur.isEmpty());

    // Deleting leaves the journal rows.
    ASSERT_TRUE(Module1::EnregistrerOperation(db, *n1, 0, QString(), QStringLiteral("Création de la reservation")));
    EXPECT_TRUE(Requetes::supprimerReservation(db, *n1));
    EXPECT_FALSE(Requetes::reservation(db, *n1).has_value());
    EXPECT_EQ(t.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE numeroreservation = %1").arg(*n1)).toInt(), 1);
}

TEST(Requetes, StatesArticlesAndColours)
{
    TestUtil::BaseTemporaire t;
    const QSqlDatabase db = t.base();
    t.executer(QStringLiteral("INSERT INTO CONSOMMATIONS (Famille, Libelle, prixTTC) VALUES ('Boissons', 'Café', 1.5)"));
    t.executer(QStringLiteral("INSERT INTO CONSOMMATIONS (Famille, Libelle, prixTTC) VALUES ('Bar', 'Bière', 3.5)"));
    t.executer(QStringLiteral("INSERT INTO CONSOMMATIONS (Famille, Libelle, prixTTC) VALUES ('Boissons', 'Thé', NULL)"));
    const auto articles = Requetes::consommations(db);
    ASSERT_TRUE(articles.has_value());
    ASSERT_EQ(articles->size(), 3);
    EXPECT_EQ(articles->at(0).famille, QStringLiteral("Bar"));
    EXPECT_EQ(articles->at(1).libelle, QString::fromUtf8("Café"));
    EXPECT_EQ(articles->at(2).libelle, QString::fromUtf8("Thé"));

    EXPECT_TRUE(Requetes::changerCouleurEtat(db, 2, 0x123456));
    EXPECT_FALSE(Requetes::changerCouleurEtat(db, 42, 0x123456));
    const auto etats = Requetes::etats(db);
    ASSERT_TRUE(etats.has_value());
    for (const auto& e : *etats)
        EXPECT_EQ(e.couleur == 0x123456, e.code == 2) << e.code;

    t.supprimerTable(QStringLiteral("OBJETS"));
    QString erreur;
    EXPECT_FALSE(Requetes::objets(db, &erreur).has_value());
    EXPECT_FALSE(erreur.isEmpty());
}

TEST(Journal, RowsKeepCentsPadPaymentCodesAndFollowTheClock)
{
    TestUtil::BaseTemporaire t;
    const QSqlDatabase db = t.base();
    struct Cas { double prix; const char* paiement; const char* stocke; };
    const Cas cas[] = {{12.5, "ESP", "ESP"}, {-7.5, "", "   "}, {40, "CB", "CB "}, {3.333, "CHQUE", "CHQ"}, {0, "VIR", "VIR"}};
    QDateTime moment = Dates::naive(QDate(2026, 12, 9), QTime(10, 0));
    for (const Cas& c : cas) {
        Horloge::fixer(moment);
        ASSERT_TRUE(Module1::EnregistrerOperation(db, 5, c.prix, QString::fromLatin1(c.paiement), QStringLiteral("ligne\r\ndeux")));
        moment = moment.addSecs(60);
    }
    Horloge::liberer();
    // A row for a reservation that does not exist is still written.
    EXPECT_TRUE(Module1::EnregistrerOperation(db, 404, 1, QString(), QStringLiteral("x")));

    QSqlQuery q(db);
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT prix, paiement, libelle, date FROM OPERATIONS WHERE numeroreservation = 5 ORDER BY rowid")));
    int i = 0;
    QString datePrecedente;
    while (q.next()) {
        EXPECT_DOUBLE_EQ(q.value(0).toDouble(), std::round(cas[i].prix * 100) / 100) << i;
        EXPECT_EQ(q.value(1).toString(), QString::fromLatin1(cas[i].stocke)) << i;
        EXPECT_EQ(q.value(2).toString(), QStringLiteral("ligne\r\ndeux"));
        EXPECT_GT(q.value(3).toString(), datePrecedente);
        datePrecedente = q.value(3).toString();
        ++i;
    }
    EXPECT_EQ(i, 5);

    const auto montants = Requetes::operationsMontant(db, 5);
    const auto histoire = Requetes::operationsHistorique(db, 5);
    ASSERT_TRUE(montants && histoire);
    EXPECT_EQ(montants->size(), 4);
    ASSERT_EQ(histoire->size(), 1);
    EXPECT_EQ(histoire->at(0).paiement, QStringLiteral("VIR"));

    // A failing journal writes nothing and says why.
    t.supprimerTable(QStringLiteral("OPERATIONS"));
    QString erreur;
    EXPECT_FALSE(Module1::EnregistrerOperation(db, 5, 1, QString(), QStringLiteral("x"), &erreur));
    EXPECT_FALSE(erreur.isEmpty());
}
