// The account of a reservation: receipt lines, balance, dated tabs, and the
// writes that go with creating, changing and deleting a reservation.
#include "reservation/compte.h"
#include "store/conversion.h"
#include "store/dates.h"
#include "store/requetes_reservation.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {

QDateTime le(int a, int m, int j, int h, int n)
{
    return QDateTime(QDate(a, m, j), QTime(h, n), Qt::UTC);
}

Requetes::Reservation exemple()
{
    Requetes::Reservation r;
    r.objet = 1;
    r.nomclient = QStringLiteral("Durand");
    r.debut = le(2026, 8, 3, 14, 0);
    r.fin = le(2026, 8, 10, 12, 0);
    r.etat = 2;
    r.nbadultes = 2;
    r.remarque = QStringLiteral(" ");
    r.telephone = QStringLiteral(" ");
    r.email = QStringLiteral(" ");
    return r;
}

} // namespace

TEST(Compte, NumeroAffiche)
{
    EXPECT_EQ(Compte::NumeroAffiche(QStringLiteral("42")), 42);
    EXPECT_EQ(Compte::NumeroAffiche(QStringLiteral("nouveau")), std::nullopt);
    EXPECT_EQ(Compte::NumeroAffiche(QString()), std::nullopt);
    EXPECT_EQ(Compte::NumeroAffiche(QStringLiteral("4 2")), std::nullopt);
}

TEST(Compte, LignesDesTicketsEtSolde)
{
    const QList<Requetes::Operation> ops = {
        {le(2005, 8, 2, 10, 15), -3, QStringLiteral("   "), QStringLiteral("BAR Café\r\n1 x 3")},
        {le(2005, 8, 3, 9, 0), 5, QStringLiteral("ESP"), QStringLiteral("Paiement ESP")},
    };
    const Compte::Ticket t = Compte::LignesTicket(ops);
    EXPECT_EQ(t.lignes, (QStringList{QStringLiteral("BAR Café\r\n1 x 3"), Conversion::Monnaie(-3),
                                     QStringLiteral("Paiement ESP"), Conversion::Monnaie(5)}));
    EXPECT_DOUBLE_EQ(t.total, 2.0);
    EXPECT_EQ(Compte::LignesConso(ops).at(0), QStringLiteral("02/08/05 10:15 : BAR Café\r\n1 x 3"));
    EXPECT_EQ(Compte::LignesConso(ops).at(3), Conversion::Monnaie(5));
    EXPECT_EQ(Compte::LignesHisto(ops), (QStringList{QStringLiteral("02/08/05 10:15 : BAR Café\r\n1 x 3"),
                                                     QStringLiteral("03/08/05 09:00 : Paiement ESP")}));
    EXPECT_DOUBLE_EQ(Compte::LignesTicket({}).total, 0.0);
}

TEST(Compte, CreationEtJournalEnUneTransaction)
{
    TestUtil::BaseTemporaire base(QStringLiteral("creation"));
    TestUtil::Logements(base.base(), {1});
    QString erreur;
    const auto premier = RequetesReservation::creer(base.base(), exemple(), QStringLiteral("Création de la reservation"), &erreur);
    ASSERT_TRUE(premier.has_value()) << erreur.toStdString();
    const auto second = RequetesReservation::creer(base.base(), exemple(), QStringLiteral("Création de la reservation"), &erreur);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(*second, *premier + 1);
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE numeroreservation = %1").arg(*second)).toInt(), 1);

    // A journal that cannot be written leaves no reservation behind.
    base.supprimerTable(QStringLiteral("OPERATIONS"));
    erreur.clear();
    EXPECT_FALSE(RequetesReservation::creer(base.base(), exemple(), QStringLiteral("x"), &erreur).has_value());
    EXPECT_FALSE(erreur.isEmpty());
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT count(*) FROM RESERVATIONS")).toInt(), 2);
}

TEST(Compte, ModificationEtSuppression)
{
    TestUtil::BaseTemporaire base(QStringLiteral("modification"));
    TestUtil::Logements(base.base(), {1});
    const auto numero = RequetesReservation::creer(base.base(), exemple(), QStringLiteral("Création de la reservation"));
    ASSERT_TRUE(numero.has_value());
    Requetes::Reservation r = exemple();
    r.numero = *numero;
    r.nomclient = QStringLiteral("Martin");
    QString erreur;
    ASSERT_TRUE(RequetesReservation::modifier(base.base(), r, QStringLiteral("Modification d'informations"), &erreur));
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT nomclient FROM RESERVATIONS")).toString(), QStringLiteral("Martin"));
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS")).toInt(), 2);

    const QString libelle = QStringLiteral("Suppression de la réservation (Martin, Chalet, 03/08/2026 - 10/08/2026)");
    EXPECT_EQ(RequetesReservation::supprimer(base.base(), *numero, libelle), 1);
    // The journal of a deleted reservation stays, with one row more saying so.
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS")).toInt(), 3);
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT libelle FROM OPERATIONS WHERE numeroreservation = %1 "
                                         "ORDER BY date DESC, rowid DESC LIMIT 1").arg(*numero)).toString(), libelle);
    // Already gone: nothing deleted, nothing recorded.
    EXPECT_EQ(RequetesReservation::supprimer(base.base(), *numero, libelle), 0);
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS")).toInt(), 3);

    // Changing a reservation that is gone stores nothing, not even its journal row.
    erreur.clear();
    EXPECT_FALSE(RequetesReservation::modifier(base.base(), r, QStringLiteral("Modification d'informations"), &erreur));
    EXPECT_FALSE(erreur.isEmpty());
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS")).toInt(), 3);
}

TEST(Compte, SuppressionEtSonJournalEnsembleOuPas)
{
    TestUtil::BaseTemporaire base(QStringLiteral("suppression"));
    TestUtil::Logements(base.base(), {1});
    const auto numero = RequetesReservation::creer(base.base(), exemple(), QStringLiteral("Création de la reservation"));
    ASSERT_TRUE(numero.has_value());
    // A journal that cannot be written keeps the reservation.
    base.supprimerTable(QStringLiteral("OPERATIONS"));
    QString erreur;
    EXPECT_FALSE(RequetesReservation::supprimer(base.base(), *numero, QStringLiteral("x"), &erreur).has_value());
    EXPECT_FALSE(erreur.isEmpty());
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT count(*) FROM RESERVATIONS")).toInt(), 1);
}

TEST(Compte, TheCreationRowReadsMendedTheStoredWordingStays)
{
    struct Cas { const char* stocke; const char* affiche; };
    const Cas cas[] = {
        {"Création de la reservation", "Création de la réservation"},
        {"Création de la réservation", "Création de la réservation"},
        {"Création de la reservation (copie)", "Création de la reservation (copie)"},   // only the program's own row
        {"BAR Café\r\n1 x 1,5", "BAR Café\r\n1 x 1,5"},
        {"", ""},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Compte::LibelleAffiche(QString::fromUtf8(c.stocke)), QString::fromUtf8(c.affiche)) << c.stocke;
    // The receipt and the dated lines show it mended.
    Requetes::Operation o;
    o.date = Dates::naive(QDate(2005, 8, 3), QTime(9, 0));
    o.libelle = QStringLiteral("Création de la reservation");
    EXPECT_EQ(Compte::LignesTicket({o}).lignes.first(), QStringLiteral("Création de la réservation"));
    EXPECT_EQ(Compte::LignesConso({o}).first(), QStringLiteral("03/08/05 09:00 : Création de la réservation"));
}
