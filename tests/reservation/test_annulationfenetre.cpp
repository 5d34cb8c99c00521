// The cancellation as the desk does it in the reservation window.
#include "facturation/comptesejour.h"
#include "fenetretest.h"
#include "store/horloge.h"
#include "store/module1.h"
#include "reservation/ongletfacturation.h"
#include "reservation/zonetexte.h"
#include "ui/xpcmdbutton.h"

#include "../facturation/pdftexte.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
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

TEST(AnnulationFenetre, AHandMadeCreditNoteFromTheInvoiceTabLowersTheBalance)
{
    FenetreTest t;
    const qint32 numero = stayPrice(t);
    t.ouvrir(numero);
    reservations& f = t.fenetre();
    f.infos->setCurrentIndex(3);
    OngletFacturation* onglet = f.ongletfacturation;
    EXPECT_FALSE(onglet->avoir->isEnabled());   // no invoice yet
    QStringList dits;
    onglet->information = [&](const QString& texte) { dits << texte; };
    onglet->question = [](const QString&) { return true; };
    onglet->ouvrir = [](const QString&) { return true; };
    onglet->facture->click();
    ASSERT_TRUE(onglet->avoir->isEnabled());
    onglet->demanderAvoir = [](const QString& origine) {
        EXPECT_EQ(origine, QStringLiteral("F-2026-00001"));
        return std::optional(DialoguesAnnulation::AvoirDemande{35, 10, QStringLiteral("Piscine fermée")});
    };
    onglet->avoir->click();
    ASSERT_FALSE(dits.isEmpty());
    EXPECT_TRUE(dits.last().startsWith(QStringLiteral("Avoir A-2026-00001 émis sur la facture F-2026-00001"))) << dits.last().toStdString();
    EXPECT_NEAR(*CompteSejour::Solde(t.base(), numero), -665, 0.001);
    EXPECT_TRUE(f.du->text().contains(QStringLiteral("665,00"))) << f.du->text().toStdString();
    EXPECT_EQ(onglet->derniereFacture->text(), QStringLiteral("A-2026-00001"));
}

TEST(AnnulationFenetre, WhatTheCreditNoteAndRefundDialogsRefuse)
{
    struct Cas {
        const char* montant;
        const char* taux;
        bool accepte;
    };
    const Cas avoirs[] = {{"22", "10", true}, {"22,50", "5,5 %", true}, {"0", "10", false}, {"-3", "10", false},
                          {"abc", "10", false}, {"22", "100", false}, {"22", "-1", false}, {"22", "dix", false}};
    for (const Cas& c : avoirs) {
        DialoguesAnnulation::AvoirDemande lu;
        EXPECT_EQ(DialoguesAnnulation::RefusAvoir(QString::fromUtf8(c.montant), QString::fromUtf8(c.taux), &lu).isEmpty(),
                  c.accepte) << c.montant << " " << c.taux;
    }
    struct Remb {
        const char* texte;
        double du;
        bool accepte;
    };
    const Remb remboursements[] = {{"90", 90, true}, {"90,01", 90, false}, {"45,5", 90, true}, {"0", 90, false},
                                   {"-10", 90, false}, {"x", 90, false}};
    for (const Remb& r : remboursements) {
        double montant = 0;
        EXPECT_EQ(DialoguesAnnulation::RefusRemboursement(QString::fromUtf8(r.texte), r.du, &montant).isEmpty(), r.accepte)
            << r.texte;
    }
}

TEST(AnnulationFenetre, TheOwnersPathBookChangeInvoiceCancelReadsBackOnTheCreditNote)
{
    FenetreTest t;
    t.temp().executer(QStringLiteral("UPDATE OBJETS SET Categorie = 'Chalet' WHERE Numero = 12"));
    t.temp().executer(QStringLiteral("INSERT INTO TARIFS (Categorie, PremierJour, DernierJour, PrixNuit, PrixAdulte, "
                                     "PrixEnfant, TauxTVA) VALUES ('Chalet', '2026-01-01', '2026-12-31', 100, 0, 0, 10)"));
    Horloge::fixer(QDateTime(QDate(2026, 7, 1), QTime(9, 0), Qt::UTC));
    // Book: 4 nights, posted by the save itself.
    t.ouvrirNouvelle();
    reservations& f = t.fenetre();
    f.Objets->setCurrentIndex(f.Objets->findText(QStringLiteral("12 : Chalet")));
    f.NomClient->setText(QStringLiteral("Durand"));
    f.datedebut->setText(QStringLiteral("03/08/2026"));
    f.datefin->setText(QStringLiteral("07/08/2026"));
    f.arrhes->setText(QStringLiteral("0"));
    EXPECT_TRUE(FenetreTest::messagesPendant([&] { t.cliquer(QStringLiteral("ajouter")); }).isEmpty());
    const qint32 numero = t.nombre(QStringLiteral("SELECT max(NumeroReservation) FROM RESERVATIONS"));
    EXPECT_NEAR(*CompteSejour::Solde(t.base(), numero), -400, 0.001);
    // Two more nights: corrected by the save.
    t.ouvrir(numero);
    f.datefin->setText(QStringLiteral("09/08/2026"));
    EXPECT_TRUE(FenetreTest::messagesPendant([&] { t.cliquer(QStringLiteral("Modifier")); }).isEmpty());
    EXPECT_NEAR(*CompteSejour::Solde(t.base(), numero), -600, 0.001);
    // Invoice, then cancel with 30 %.
    t.ouvrir(numero);
    f.infos->setCurrentIndex(3);
    f.ongletfacturation->question = [](const QString&) { return true; };
    f.ongletfacturation->ouvrir = [](const QString&) { return true; };
    f.ongletfacturation->information = [](const QString&) {};
    f.ongletfacturation->facture->click();
    f.demanderFrais = [](double prix) {
        EXPECT_DOUBLE_EQ(prix, 600);
        return std::optional(MontantOuPourcentage::Valeur{30, true});
    };
    FenetreTest::messagesPendant([&] { t.cliquer(QStringLiteral("AnnulerReservation")); });
    EXPECT_NEAR(*CompteSejour::Solde(t.base(), numero), -180, 0.001);
    const auto texte = texteDuPdf(TestUtil::lireFichier(t.dossierDonnees() + "/Factures/A-2026-00001.pdf"));
    ASSERT_TRUE(texte);
    for (const char* attendu : {"Avoir A-2026-00001", "Annule la facture F-2026-00001", "Séjour Chalet du 03/08/2026 au 09/08/2026",
                                "-600,00", "-545,45", "-54,55", "page 1/1"})
        EXPECT_TRUE(texte->contains(QString::fromUtf8(attendu))) << attendu << "\n" << texte->toStdString();
    // The invoice was of the stay as it then was: one line for its six nights.
    const auto facture = texteDuPdf(TestUtil::lireFichier(t.dossierDonnees() + "/Factures/F-2026-00001.pdf"));
    ASSERT_TRUE(facture);
    EXPECT_TRUE(facture->contains(QStringLiteral("600,00"))) << facture->toStdString();
    EXPECT_FALSE(facture->contains(QStringLiteral("CORRECTION"))) << facture->toStdString();
}
