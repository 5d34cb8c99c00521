// The stay's charges following the saves of the reservation window, as the
// desk sees them: the receipt, the "Fact." tab and the planning's bar.
#include "fenetretest.h"

#include "bar/ticketdecaisse.h"
#include "config/ini32.h"
#include "facturation/comptesejour.h"
#include "planning/form1.h"
#include "reservation/ongletfacturation.h"
#include "reservation/zonetexte.h"
#include "store/dates.h"
#include "store/horloge.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Chalets at 80 a night all year 2026 (unit 12), tax 0,50 per adult and
// night; unit 10 has no category.
void tarifer(FenetreTest& t)
{
    t.temp().executer(QStringLiteral("UPDATE OBJETS SET Categorie = 'Chalet' WHERE Numero = 12"));
    t.temp().executer(QStringLiteral("INSERT INTO TARIFS (Categorie, PremierJour, DernierJour, PrixNuit, TauxTVA) "
                                     "VALUES ('Chalet', '2026-01-01', '2026-12-31', 80, 10)"));
    INI32::ProfilINI("facturation", "taxe de sejour", "0,50", t.contexte().CheminINI, 0);
}

// Types a new stay in the window and presses "Ajouter"; the messages shown.
QStringList ajouter(FenetreTest& t, const QString& unite, const char* debut, const char* fin)
{
    t.ouvrirNouvelle();
    reservations& f = t.fenetre();
    f.Objets->setCurrentIndex(f.Objets->findText(unite));
    f.NomClient->setText(QStringLiteral("Durand"));
    f.datedebut->setText(QString::fromLatin1(debut));
    f.datefin->setText(QString::fromLatin1(fin));
    f.nbadultes->setText(QStringLiteral("2"));
    return FenetreTest::messagesPendant([&] { t.cliquer(QStringLiteral("ajouter")); });
}

int charges(FenetreTest& t)
{
    return t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE prix <> 0"));
}

} // namespace

TEST(CompteSuivi, ChangingTheDatesPostsTheCorrectionTheDeskSeesEverywhere)
{
    FenetreTest t;
    tarifer(t);
    Horloge::fixer(Dates::naive(QDate(2026, 8, 1), QTime(9, 0)));
    ASSERT_EQ(ajouter(t, QStringLiteral("12 : Chalet"), "03/08/2026", "10/08/2026"), QStringList());
    const qint32 numero = t.nombre(QStringLiteral("SELECT NumeroReservation FROM RESERVATIONS"));
    // 7 x 80 and the tax 2 x 7 x 0,50, posted by "Ajouter".
    EXPECT_EQ(charges(t), 2);

    t.ouvrir(numero);
    reservations& f = t.fenetre();
    EXPECT_EQ(f.du->text(), QString::fromUtf8("-567,00 €"));
    f.datefin->setText(QStringLiteral("12/08/2026"));
    EXPECT_EQ(FenetreTest::messagesPendant([&] { t.cliquer(QStringLiteral("Modifier")); }), QStringList());

    // Reopened: the correction is on the account, the balance is the new one.
    t.ouvrir(numero);
    EXPECT_EQ(f.du->text(), QString::fromUtf8("-729,00 €"));
    EXPECT_EQ(f.du->toolTip(), QString::fromUtf8("-729,00 €"));
    const QStringList recu = f.Ticket->Lignes();
    EXPECT_EQ(recu.filter(QStringLiteral("CORRECTION SEJOUR Chalet du 03/08/2026 au 12/08/2026")).size(), 1)
        << recu.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(recu.filter(QStringLiteral("CORRECTION TAXE DE SEJOUR")).size(), 1) << recu.join(QLatin1Char('|')).toStdString();
    f.infos->setCurrentIndex(3);
    const QString onglet = f.ongletfacturation->lignesfacture->toPlainText();
    EXPECT_TRUE(onglet.startsWith(QString::fromUtf8("Séjour Chalet du 03/08 au 12/08 : 9 nuits x 80,00 € = 720,00 €")))
        << onglet.toStdString();
    EXPECT_TRUE(onglet.endsWith(QString::fromUtf8("Porté au compte : 729,00 €. Le compte est à jour."))) << onglet.toStdString();
    FenetreTest::questionsPendant([&] { t.cliquer(QStringLiteral("Annuler")); }, {});

    // The planning's bar tells the same balance.
    Form1 planning(&t.contexte());
    planning.resize(633, 386);
    planning.fixerTailleCellules(20, 20);
    planning.remplirAnnees(2026);
    planning.remplirMois();
    planning.mouvementaujourdhui_Click();
    planning.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&planning));
    planning.rafraichir();
    int barre = 0;
    for (int i = 0; i < planning.Barres().size(); ++i)
        if (planning.Barres().at(i).reservation.numero == numero)
            barre = i + 1;
    ASSERT_GT(barre, 0);
    EXPECT_TRUE(planning.texteInfoBulle(barre).endsWith(QString::fromUtf8("Solde : -729,00 €")))
        << planning.texteInfoBulle(barre).toStdString();
}

TEST(CompteSuivi, WhatTheWindowSaysWhenTheStayIsNotPosted)
{
    struct Cas {
        const char* nom;
        const char* porter;      // "[facturation] porter automatiquement"
        const char* unite;
        QStringList messages;
        int charges;
    };
    const Cas cas[] = {
        {"priced", "OUI", "12 : Chalet", {}, 2},
        {"left to the button", "NON", "12 : Chalet", {}, 0},
        {"no category", "OUI", "10 : Tente",
         {QString::fromUtf8("La réservation est enregistrée, mais son séjour n'est pas porté au compte :\n"
                            "Le logement Tente n'a pas de catégorie : donnez-lui en une dans Paramètres, onglet Objets.\n"
                            "Une fois le tarif corrigé, « Porter au compte » (onglet Fact.) le portera.")}, 0},
    };
    for (const Cas& c : cas) {
        FenetreTest t;
        tarifer(t);
        INI32::ProfilINI("facturation", "porter automatiquement", QString::fromLatin1(c.porter), t.contexte().CheminINI, 0);
        EXPECT_EQ(ajouter(t, QString::fromUtf8(c.unite), "03/08/2026", "10/08/2026"), c.messages) << c.nom;
        // Saved whatever the account.
        EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM RESERVATIONS")), 1) << c.nom;
        EXPECT_EQ(charges(t), c.charges) << c.nom;
        EXPECT_FALSE(t.fenetre().isVisible()) << c.nom;
    }
}

TEST(CompteSuivi, ACancelledStayIsNotPostedFromTheBillingTab)
{
    FenetreTest t;
    tarifer(t);
    const qint32 numero = t.stocker(reservationExemple());
    t.temp().executer(QStringLiteral("UPDATE RESERVATIONS SET Annulation = '2026-07-20 10:00:00' WHERE NumeroReservation = %1")
                          .arg(numero));
    t.ouvrir(numero);
    reservations& f = t.fenetre();
    f.infos->setCurrentIndex(3);
    QStringList informations;
    f.ongletfacturation->information = [&](const QString& texte) { informations << texte; };
    // The button is off, and the posting itself refuses a cancelled stay.
    EXPECT_FALSE(f.ongletfacturation->porteraucompte->isEnabled());
    EXPECT_EQ(CompteSejour::PorterAuCompte(t.base(), numero, t.contexte().CheminINI).message,
              QString::fromUtf8("Cette réservation est annulée : son séjour n'est plus porté au compte."));
    EXPECT_EQ(charges(t), 0);
    EXPECT_TRUE(f.ongletfacturation->lignesfacture->toPlainText().endsWith(
        QString::fromUtf8("Réservation annulée le 20/07/2026 : son séjour n'est plus porté au compte.")));
    FenetreTest::questionsPendant([&] { t.cliquer(QStringLiteral("Annuler")); }, {});
}
