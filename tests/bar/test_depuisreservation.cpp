// The bar and the payment dialog opened from a reservation window: every
// stored sale or payment shows at once in its receipt and balance.
#include "store/contexte.h"
#include "config/langues.h"
#include "bar/bar.h"
#include "bar/encaissement.h"
#include "bar/ticketdecaisse.h"
#include "outils.h"
#include "reservation/reservations.h"
#include "store/conversion.h"
#include "store/horloge.h"
#include "store/requetes.h"
#include "testutil.h"
#include "ui/boutoneclaire.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(BarDepuisReservation, VentesEtPaiementFontLeSolde)
{
    TestUtil::BaseTemporaire db(QStringLiteral("depuisreservation"));
    QTemporaryDir dossier;
    Contexte contexte;
    contexte.BaseOuverte = db.base();
    contexte.CheminINI = dossier.filePath(QStringLiteral("planning.ini"));
    Langues::fixerFichier(contexte.CheminINI);
    Horloge::fixer(QDateTime(QDate(2026, 8, 4), QTime(18, 30), Qt::UTC));
    db.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (12, 'Chalet')"));
    remplirArticles(db.base(), {{QStringLiteral("Boissons"), QStringLiteral("Jus d'orange"), 2.5},
                                {QStringLiteral("Boissons"), QStringLiteral("Café"), 1.5}});
    Requetes::Reservation r;
    r.objet = 12;
    r.nomclient = QStringLiteral("Durand");
    r.debut = QDateTime(QDate(2026, 8, 3), QTime(14, 0), Qt::UTC);
    r.fin = QDateTime(QDate(2026, 8, 10), QTime(12, 0), Qt::UTC);
    r.etat = 1;
    const auto numero = Requetes::ajouterReservation(db.base(), r);
    ASSERT_TRUE(numero.has_value());

    RepondeurMessages messages;
    {
        reservations f(&contexte);
        f.Fonction_Modifier();
        f.RemplirDepuis(*Requetes::reservation(db.base(), *numero), QStringLiteral("1 - Confirmé"));
        f.show();
        f.AfficherLeTicket();
        QTest::mouseClick(f.BoutonBAR, Qt::LeftButton);
        BAR* bar = f.findChild<BAR*>();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->reservation->text(), QString::number(*numero));

        // (quantity typed, article) -> amount on the reservation's receipt,
        // and its balance; articles in query order: 0 Jus d'orange, 1 Café.
        const struct { const char* quantite; int article; double montant; double solde; } ventes[] = {
            {"3", 0, -7.5, -7.5}, {nullptr, 0, -2.5, -10.0}, {"2", 1, -3.0, -13.0},
        };
        for (const auto& v : ventes) {
            if (v.quantite) {
                bar->Quitter->setFocus();
                QTest::mouseClick(bar->afficheur, Qt::LeftButton);
                QTest::keyClicks(bar->afficheur, QString::fromLatin1(v.quantite));
            }
            QTest::mouseClick(bar->Consommation[v.article], Qt::LeftButton);
            EXPECT_EQ(f.du->text(), Conversion::Monnaie(v.solde));
            EXPECT_EQ(bar->afficheur->text(), Conversion::Monnaie(-v.solde));
            EXPECT_EQ(f.Ticket->Lignes().last(), Conversion::Monnaie(v.montant));
        }

        QTest::mouseClick(bar->encaissemnt, Qt::LeftButton);
        Encaissement* paiement = bar->paiement();
        ASSERT_NE(paiement, nullptr);
        QTest::mouseClick(paiement->typereglemement[2], Qt::LeftButton);
        paiement->montant->insert(QStringLiteral("12,50"));
        QTest::mouseClick(paiement->OK, Qt::LeftButton);
        EXPECT_EQ(f.du->text(), Conversion::Monnaie(-0.5));
        EXPECT_EQ(f.Ticket->Lignes().last(), Conversion::Monnaie(12.5));
        EXPECT_TRUE(f.Ticket->Lignes().contains(QStringLiteral("Paiement CHQ")));

        QTest::mouseClick(bar->Quitter, Qt::LeftButton);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(f.findChild<BAR*>(), nullptr);
        EXPECT_EQ(f.du->text(), Conversion::Monnaie(-0.5));
    }
    EXPECT_EQ(messages.textes, QStringList());
    EXPECT_EQ(db.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE numeroreservation = %1 "
                                       "AND prix <> 0").arg(*numero)).toInt(), 4);
    Horloge::liberer();
}
