// The contract buttons and the "Fact." tab of the reservation window.
#include "fenetretest.h"

#include "config/ini32.h"
#include "reservation/ongletfacturation.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "ui/xpcmdbutton.h"

#include "../facturation/pdftexte.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

int lignesHisto(FenetreTest& t, qint32 numero)
{
    return t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE prix = 0 AND numeroreservation = ")
                    + QString::number(numero));
}

// Chalets at 80 a night all year 2026, tax 0,50 per adult and night.
void tarifer(FenetreTest& t)
{
    t.temp().executer(QStringLiteral("UPDATE OBJETS SET Categorie = 'Chalet' WHERE Numero = 12"));
    t.temp().executer(QStringLiteral("INSERT INTO TARIFS (Categorie, PremierJour, DernierJour, PrixNuit, TauxTVA) "
                                     "VALUES ('Chalet', '2026-01-01', '2026-12-31', 80, 10)"));
    INI32::ProfilINI("facturation", "taxe de sejour", "0,50", t.contexte().CheminINI, 0);
}

} // namespace

TEST(DocumentsReservation, AContractIsRecordedOnlyWhenItReallyWent)
{
    FenetreTest t;
    tarifer(t);
    Requetes::Reservation r = reservationExemple();
    r.nomclient = QString::fromUtf8("Gérard <Dupont> & fils");
    const qint32 numero = t.stocker(r);
    r.email.clear();
    const qint32 sansEmail = t.stocker(r);
    enum Bouton { Imprimer, Email, Poste, Fax };
    struct Cas { const char* nom; qint32 reservation; Bouton bouton; bool imprimer; int codeEmail; bool note; const char* message; };
    const Cas cas[] = {
        {"print accepted", numero, Imprimer, true, 0, true, nullptr},
        {"print cancelled", numero, Imprimer, false, 0, false, "Impression annulée"},
        {"post cancelled", numero, Poste, false, 0, false, "Impression annulée"},
        {"fax accepted", numero, Fax, true, 0, true, nullptr},
        {"mail handed over", numero, Email, true, 0, true, nullptr},
        {"mail program failed", numero, Email, true, 3, false, "Le programme de messagerie n'a pas pris le contrat (xdg-email : code 3)"},
        {"no address", sansEmail, Email, true, 0, false, "Cette réservation n'a pas d'adresse e-mail"},
    };
    for (const Cas& c : cas) {
        t.ouvrir(c.reservation);
        t.imprimerAccepte = c.imprimer;
        t.codeEmail(c.codeEmail);
        const int avant = lignesHisto(t, c.reservation);
        const QStringList messages = FenetreTest::messagesPendant([&] { t.cliquer(t.fenetre().ImprimerContrat.at(c.bouton)); });
        EXPECT_EQ(lignesHisto(t, c.reservation) - avant, c.note ? 1 : 0) << c.nom;
        if (c.message) {
            ASSERT_EQ(messages.size(), 1) << c.nom;
            EXPECT_TRUE(messages.first().startsWith(QString::fromUtf8(c.message))) << c.nom << ": " << messages.first().toStdString();
        } else {
            EXPECT_TRUE(messages.isEmpty()) << c.nom << ": " << messages.join(QLatin1Char('|')).toStdString();
        }
        // The document is kept whatever happened to its sending.
        EXPECT_TRUE(QFile::exists(t.dossierDonnees() + QStringLiteral("/Documents/contrat_") + QString::number(c.reservation)
                                  + QStringLiteral(".pdf"))) << c.nom;
        FenetreTest::questionsPendant([&] { t.cliquer(QStringLiteral("Annuler")); }, {});
    }
    EXPECT_EQ(t.impressions.size(), 4);
    const QString pdf = t.dossierDonnees() + QStringLiteral("/Documents/contrat_") + QString::number(numero) + QStringLiteral(".pdf");
    EXPECT_EQ(t.argumentsEmail(), (QStringList{QStringLiteral("--attach"), pdf, QStringLiteral("--subject"),
                                               QStringLiteral("Contrat de réservation ") + QString::number(numero),
                                               QStringLiteral("durand@exemple.fr")}));
    if (const auto texte = texteDuPdf(TestUtil::lireFichier(pdf))) {
        EXPECT_TRUE(texte->contains(QString::fromUtf8("Gérard <Dupont> & fils"))) << texte->toStdString();
        EXPECT_TRUE(texte->contains(QString::fromUtf8("7 nuits x 80,00 €"))) << texte->toStdString();
    }
}

TEST(DocumentsReservation, TheBillingTabPostsTheStayOnceAndIssuesInvoices)
{
    FenetreTest t;
    tarifer(t);
    Horloge::fixer(Dates::naive(QDate(2026, 8, 10), QTime(11, 0)));
    const qint32 numero = t.stocker(reservationExemple());

    // A new reservation has nothing to bill.
    t.ouvrirNouvelle();
    EXPECT_FALSE(t.fenetre().infos->isTabEnabled(3));
    FenetreTest::questionsPendant([&] { t.cliquer(QStringLiteral("Annuler")); }, {});

    t.ouvrir(numero);
    reservations& f = t.fenetre();
    ASSERT_TRUE(f.infos->isTabEnabled(3));
    f.infos->setCurrentIndex(3);
    OngletFacturation* onglet = f.ongletfacturation;
    QStringList informations;
    onglet->information = [&](const QString& texte) { informations << texte; };
    QStringList ouverts;
    onglet->ouvrir = [&](const QString& chemin) { ouverts << chemin; return true; };
    QStringList questions;
    bool reponse = false;
    onglet->question = [&](const QString& texte) { questions << texte; return reponse; };

    auto* lignes = onglet->findChild<QPlainTextEdit*>(QStringLiteral("lignesfacture"));
    ASSERT_NE(lignes, nullptr);
    EXPECT_EQ(lignes->toPlainText(), QString::fromUtf8("Séjour Chalet du 03/08 au 10/08 : 7 nuits x 80,00 € = 560,00 €\n"
                                                      "Taxe de séjour : 2 adultes x 7 nuits x 0,50 € = 7,00 €\n"
                                                      "Total : 567,00 €\n\n"
                                                      "Rien n'est encore porté au compte pour ce séjour."));
    // Showing the lines writes nothing.
    EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS")), 0);

    auto cliquer = [&](const char* nom) { onglet->findChild<QPushButton*>(QLatin1String(nom))->click(); };
    cliquer("porteraucompte");
    EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE prix < 0")), 2);
    EXPECT_EQ(f.du->text(), QString::fromUtf8("-567,00 €"));
    EXPECT_EQ(informations.takeLast(), QString::fromUtf8("2 lignes portées au compte."));
    EXPECT_TRUE(lignes->toPlainText().endsWith(QString::fromUtf8("Porté au compte : 567,00 €. Le compte est à jour.")))
        << lignes->toPlainText().toStdString();
    cliquer("porteraucompte");
    EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE prix < 0")), 2);
    EXPECT_TRUE(informations.takeLast().startsWith(QString::fromUtf8("Le séjour est déjà porté au compte")));

    // The balance is not zero: the invoice asks first; Non issues nothing.
    cliquer("facture");
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions.first().startsWith(QString::fromUtf8("Le compte n'est pas soldé (reste à payer : 567,00 €)")))
        << questions.first().toStdString();
    EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM FACTURES")), 0);
    reponse = true;
    cliquer("facture");
    EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM FACTURES")), 1);
    const QString chemin = t.dossierDonnees() + QStringLiteral("/Factures/F-2026-00001.pdf");
    ASSERT_EQ(ouverts, QStringList{chemin});
    EXPECT_EQ(onglet->findChild<QLabel*>(QStringLiteral("dernierefacture"))->text(), QStringLiteral("F-2026-00001"));

    // "Réimprimer" gives back the very bytes issued, even if the file changed.
    const QByteArray emis = TestUtil::lireFichier(chemin);
    TestUtil::ecrireFichier(chemin, "abîmé");
    cliquer("reimprimer");
    EXPECT_EQ(TestUtil::lireFichier(chemin), emis);
    EXPECT_EQ(ouverts.size(), 2);
    FenetreTest::questionsPendant([&] { t.cliquer(QStringLiteral("Annuler")); }, {});
}
