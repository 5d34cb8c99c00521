// The cancellation as the desk does it in the reservation window.
#include "facturation/comptesejour.h"
#include "fenetretest.h"
#include "store/horloge.h"
#include "store/module1.h"
#include "ui/xpcmdbutton.h"

#include "../facturation/pdftexte.h"

#include <QDir>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

// The example stay (unit 12, 03/08 to 10/08/2026, 7 nights) priced 100 a
// night at 10 % VAT: 700.
qint32 stayPrice(FenetreTest& t)
{
    t.temp().executer(QStringLiteral("UPDATE OBJETS SET Categorie = 'Chalet' WHERE Numero = 12"));
    t.temp().executer(QStringLiteral("INSERT INTO TARIFS (Categorie, PremierJour, DernierJour, PrixNuit, PrixAdulte, "
                                     "PrixEnfant, TauxTVA) VALUES ('Chalet', '2026-01-01', '2026-12-31', 100, 0, 0, 10)"));
    Horloge::fixer(QDateTime(QDate(2026, 7, 1), QTime(9, 0), Qt::UTC));
    const qint32 numero = t.stocker(reservationExemple());
    EXPECT_EQ(CompteSejour::PorterAuCompte(t.base(), numero, t.contexte().CheminINI).resultat, CompteSejour::Resultat::Ecrit);
    return numero;
}

} // namespace

TEST(AnnulationFenetre, CancellingAfterAnInvoiceKeepsTheFeeIssuesTheCreditNoteAndLeavesTheStayReadOnly)
{
    FenetreTest t;
    const qint32 numero = stayPrice(t);
    QString erreur;
    ASSERT_TRUE(CompteSejour::EmettreFacture(t.base(), numero, t.contexte().CheminINI, t.dossierDonnees() + "/Factures",
                                             &erreur)) << erreur.toStdString();
    ASSERT_TRUE(Module1::EnregistrerOperation(t.base(), numero, 300, QStringLiteral("CB"), QStringLiteral("Acompte (CB)")));
    t.ouvrir(numero);
    reservations& f = t.fenetre();
    double prixPropose = 0;
    f.demanderFrais = [&](double prix) {
        prixPropose = prix;
        return std::optional(MontantOuPourcentage::Valeur{30, true});
    };
    int remboursements = 0;
    f.demanderRemboursement = [&](double du) {
        ++remboursements;
        EXPECT_DOUBLE_EQ(du, 90);   // 300 paid, 210 of fee
        return std::optional(DialoguesAnnulation::Remboursement{du, QStringLiteral("CB")});
    };
    const QStringList messages = FenetreTest::messagesPendant([&] { t.cliquer(QStringLiteral("AnnulerReservation")); });
    EXPECT_DOUBLE_EQ(prixPropose, 700);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QStringLiteral("210,00"))) << messages.first().toStdString();
    EXPECT_TRUE(messages.first().contains(QStringLiteral("A-2026-00001"))) << messages.first().toStdString();
    EXPECT_EQ(remboursements, 1);
    EXPECT_NEAR(*CompteSejour::Solde(t.base(), numero), 0, 0.001);
    EXPECT_EQ(t.rafraichir.count(), 1);
    // Read only but for payments.
    EXPECT_TRUE(f.windowTitle().contains(QStringLiteral("annulée"))) << f.windowTitle().toStdString();
    EXPECT_FALSE(f.Modifier->isEnabled());
    EXPECT_FALSE(f.supprimer->isEnabled());
    EXPECT_FALSE(f.datedebut->isEnabled());
    EXPECT_TRUE(f.Encaisser->isEnabled());
    EXPECT_EQ(f.AnnulerReservation->Caption(), QStringLiteral("Rembourser"));
    EXPECT_FALSE(f.AnnulerReservation->isEnabled());   // nothing more is owed to the guest
    const auto pdf = texteDuPdf(TestUtil::lireFichier(t.dossierDonnees() + "/Factures/A-2026-00001.pdf"));
    ASSERT_TRUE(pdf);
    EXPECT_TRUE(pdf->contains(QStringLiteral("Annule la facture F-2026-00001"))) << pdf->toStdString();
    EXPECT_TRUE(pdf->contains(QStringLiteral("-700,00"))) << pdf->toStdString();
}

TEST(AnnulationFenetre, GoingBackFromTheFeeChangesNothing)
{
    FenetreTest t;
    const qint32 numero = stayPrice(t);
    t.ouvrir(numero);
    t.fenetre().demanderFrais = [](double) { return std::optional<MontantOuPourcentage::Valeur>(); };
    EXPECT_TRUE(FenetreTest::messagesPendant([&] { t.cliquer(QStringLiteral("AnnulerReservation")); }).isEmpty());
    EXPECT_FALSE(Requetes::reservation(t.base(), numero)->annulee());
    EXPECT_NEAR(*CompteSejour::Solde(t.base(), numero), -700, 0.001);
}

TEST(AnnulationFenetre, AStayWithMoneyIsNotDeletedButOneWithOnlyItsPostingsIsAndNetsToNothing)
{
    struct Cas {
        const char* nom;
        double paiement;
        QStringList attendus;
    };
    const Cas cas[] = {
        {"a payment", 50, {QStringLiteral("Cette réservation a des opérations ou une facture : utilisez « Annuler la réservation ».")}},
        {"only its postings", 0, {}},
    };
    for (const Cas& c : cas) {
        FenetreTest t;
        const qint32 numero = stayPrice(t);
        if (c.paiement)
            ASSERT_TRUE(Module1::EnregistrerOperation(t.base(), numero, c.paiement, QStringLiteral("ESP"), QStringLiteral("Paiement ESP")));
        t.ouvrir(numero);
        QStringList lus;
        if (c.attendus.isEmpty())
            lus = FenetreTest::questionsPendant([&] { t.cliquer(QStringLiteral("supprimer")); }, {true});
        else
            lus = FenetreTest::messagesPendant([&] { t.cliquer(QStringLiteral("supprimer")); });
        if (!c.attendus.isEmpty())
            EXPECT_EQ(lus, c.attendus) << c.nom;
        EXPECT_EQ(Requetes::reservation(t.base(), numero).has_value(), !c.attendus.isEmpty()) << c.nom;
        // A deleted stay's own postings are reversed: its revenue nets to nothing.
        if (c.attendus.isEmpty())
            EXPECT_NEAR(t.temp().valeur(QStringLiteral("SELECT COALESCE(SUM(prix), 0) FROM OPERATIONS WHERE "
                                                       "numeroreservation = %1").arg(numero)).toDouble(), 0, 0.001) << c.nom;
    }
}
