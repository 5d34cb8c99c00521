// The bar and the payment window opened from a reservation.
#include "fenetretest.h"

#include "bar/bar.h"
#include "bar/encaissement.h"
#include "bar/ticketdecaisse.h"
#include "store/conversion.h"
#include "store/module1.h"
#include "ui/xpcmdbutton.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

TEST(CaisseDepuisReservation, ConsoOuvreLeBarSurLaReservation)
{
    FenetreTest t;
    const qint32 numero = t.stocker(reservationExemple());
    t.ouvrir(numero);
    reservations& f = t.fenetre();
    t.cliquer(QStringLiteral("BoutonBAR"));
    BAR* bar = f.findChild<BAR*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->reservation->text(), QString::number(numero));
    EXPECT_EQ(bar->totaldu, 0.0);
    // A second click brings the same bar forward.
    t.cliquer(QStringLiteral("BoutonBAR"));
    EXPECT_EQ(f.findChildren<BAR*>().size(), 1);

    // A sale stored by the bar shows at once on the receipt and the balance.
    ASSERT_TRUE(Module1::EnregistrerOperation(t.base(), numero, -4, QString(), QStringLiteral("BAR Bière")));
    emit bar->operationEnregistree(numero);
    EXPECT_EQ(f.Ticket->Lignes(), (QStringList{QStringLiteral("BAR Bière"), Conversion::Monnaie(-4)}));
    EXPECT_EQ(f.du->text(), Conversion::Monnaie(-4));

    // Leaving the reservation closes its bar.
    t.cliquer(QStringLiteral("Annuler"));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.findChild<BAR*>(), nullptr);
    EXPECT_EQ(t.fermee.count(), 1);
}

TEST(CaisseDepuisReservation, EncaisserOuvreLePaiementEtRafraichitLeTicket)
{
    FenetreTest t;
    const qint32 numero = t.stocker(reservationExemple());
    t.ouvrir(numero);
    reservations& f = t.fenetre();
    ASSERT_TRUE(f.Encaisser->isEnabled());
    t.cliquer(QStringLiteral("Encaisser"));
    Encaissement* caisse = f.findChild<Encaissement*>();
    ASSERT_NE(caisse, nullptr);
    EXPECT_EQ(caisse->reservation->text(), QString::number(numero));
    ASSERT_TRUE(Module1::EnregistrerOperation(t.base(), numero, 5, QStringLiteral("ESP"), QStringLiteral("Paiement ESP")));
    emit caisse->operationEnregistree(numero);
    EXPECT_EQ(f.du->text(), Conversion::Monnaie(5));
}

TEST(CaisseDepuisReservation, RienAEncaisserPourUneNouvelleReservation)
{
    FenetreTest t;
    t.ouvrirNouvelle();
    EXPECT_FALSE(t.fenetre().BoutonBAR->isEnabled());
    EXPECT_FALSE(t.fenetre().Encaisser->isEnabled());
    QTest::mouseClick(t.fenetre().BoutonBAR, Qt::LeftButton);
    EXPECT_EQ(t.fenetre().findChild<BAR*>(), nullptr);
}
