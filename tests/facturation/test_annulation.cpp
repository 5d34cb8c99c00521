#include "facturation/annulation.h"
#include "facturation/comptesejour.h"
#include "config/ini32.h"
#include "store/dates.h"
#include "store/dialecte.h"
#include "store/horloge.h"
#include "store/module1.h"
#include "store/requetes.h"
#include "testutil.h"

#include "pdftexte.h"

#include <QFile>
#include <QSqlQuery>
#include <gtest/gtest.h>

using Tarification::Genre;

TEST(Annulation, ThePlanReversesEachKindAndRateAndAddsTheFee)
{
    struct Cas {
        const char* nom;
        QList<Tarification::Part> postees;
        double frais;
        QStringList libelles;
        QList<double> prix;
        double annule;
    };
    const QString d = QStringLiteral("Les Pins du 29/06/2027 au 02/07/2027");
    const Cas cas[] = {
        {"nothing posted, no fee", {}, 0, {}, {}, 0},
        {"nothing posted, a fee", {}, 84, {QStringLiteral("FRAIS D'ANNULATION ") + d}, {-84}, 0},
        {"two rates and the tax",
         {{Genre::Sejour, 10, 280}, {Genre::Sejour, 5.5, 40}, {Genre::Taxe, 0, 4.8}},
         0,
         {QStringLiteral("CORRECTION SEJOUR ") + d + QStringLiteral(" : annulation (TVA 10 %)"),
          QStringLiteral("CORRECTION SEJOUR ") + d + QStringLiteral(" : annulation (TVA 5,5 %)"),
          QStringLiteral("CORRECTION TAXE DE SEJOUR ") + d + QStringLiteral(" : annulation")},
         {280, 40, 4.8},
         324.8},
        {"a part netted to nothing is left alone", {{Genre::Sejour, 10, 0.001}, {Genre::Taxe, 0, 4.8}}, 12.345,
         {QStringLiteral("CORRECTION TAXE DE SEJOUR ") + d + QStringLiteral(" : annulation"),
          QStringLiteral("FRAIS D'ANNULATION ") + d},
         {4.8, -12.35}, 4.8},
        {"a negative fee is none", {}, -5, {}, {}, 0},
    };
    for (const Cas& c : cas) {
        const Annulation::Plan plan = Annulation::Planifier(d, c.postees, c.frais);
        QStringList libelles;
        QList<double> prix;
        for (const auto& e : plan.ecritures) {
            libelles << e.libelle;
            prix << e.prix;
        }
        EXPECT_EQ(libelles, c.libelles) << c.nom;
        EXPECT_EQ(prix, c.prix) << c.nom;
        EXPECT_DOUBLE_EQ(plan.annule, c.annule) << c.nom;
    }
}

TEST(Annulation, AFeesShareAppliesToTheStayWithoutTheTax)
{
    Tarification::Calcul calcul;
    calcul.lignes = {{Genre::Sejour, QStringLiteral("s"), 280, 10}, {Genre::Taxe, QStringLiteral("t"), 4.8, 0}};
    Tarification::Calcul invalide;
    invalide.erreur = QStringLiteral("Aucun tarif");
    EXPECT_DOUBLE_EQ(Annulation::PrixDuSejour({}, calcul), 280);
    EXPECT_DOUBLE_EQ(Annulation::PrixDuSejour({}, invalide), 0);
    // What was posted wins over the price of today's rates.
    EXPECT_DOUBLE_EQ(Annulation::PrixDuSejour({{Genre::Sejour, 10, 300}, {Genre::Taxe, 0, 4.8}}, calcul), 300);
    EXPECT_DOUBLE_EQ(Annulation::PrixDuSejour({{Genre::Taxe, 0, 4.8}}, calcul), 280);
}

namespace {

class Annulation_ : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Horloge::fixer(Dates::naive(QDate(2027, 6, 1), QTime(9, 0)));
        m_ini = m_base.dossier() + QStringLiteral("/planning.ini");
        m_factures = m_base.dossier() + QStringLiteral("/factures");
        INI32::ProfilINI("facturation", "taxe de sejour", "0,80", m_ini, 0);
        m_base.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom, Categorie) VALUES (1, 'Les Pins', 'Chalet')"));
        m_base.executer(QStringLiteral("INSERT INTO TARIFS (Categorie, PremierJour, DernierJour, PrixNuit, PrixAdulte, "
                                       "PrixEnfant, TauxTVA) VALUES ('Chalet', '2027-04-01', '2027-06-30', 80, 0, 0, 10), "
                                       "('Chalet', '2027-07-01', '2027-08-31', 120, 0, 0, 10)"));
    }
    void TearDown() override { Horloge::liberer(); }

    // 29/06 to 02/07, 2 adults: 80 + 80 + 120 = 280, tax 2 x 3 x 0.80 = 4.80.
    qint32 reserver()
    {
        QSqlQuery q(m_base.base());
        q.prepare(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat, nbadultes, "
                                 "nbenfants, arrhes) VALUES (1, 'Gérard', '2027-06-29 14:00:00', '2027-07-02 12:00:00', "
                                 "1, 2, 0, 0)") + Dialecte::retourNumero(m_base.base(), QStringLiteral("NumeroReservation")));
        EXPECT_TRUE(q.exec());
        return qint32(Dialecte::numeroInsere(q).value_or(0));
    }
    qint32 version(qint32 n)
    {
        return m_base.valeur(QStringLiteral("SELECT COALESCE(version, 0) FROM RESERVATIONS WHERE NumeroReservation = %1")
                                 .arg(n)).toInt();
    }
    double solde(qint32 n) { return *CompteSejour::Solde(m_base.base(), n); }
    double postesNets(qint32 n)
    {
        double total = 0;
        const auto postes = RequetesFacturation::postesSejour(m_base.base(), n);
        for (const auto& p : *postes)
            total += p.montant;
        return total;
    }

    TestUtil::BaseTemporaire m_base;
    QString m_ini;
    QString m_factures;
};

} // namespace

TEST_F(Annulation_, ACancellationReversesWhatWasPostedKeepsTheFeeAndCreditsAnInvoice)
{
    struct Cas {
        const char* nom;
        bool porte;
        bool facture;
        double paye;
        MontantOuPourcentage::Valeur frais;
        double fraisAttendus;
        double soldeAttendu;    // payments minus charges, afterwards
        double avoirAttendu;    // 0: no credit note
    };
    const Cas cas[] = {
        {"not posted, no fee", false, false, 0, {0, true}, 0, 0, 0},
        {"not posted, 30 % of today's price", false, false, 0, {30, true}, 84, -84, 0},
        {"posted, no fee", true, false, 0, {0, true}, 0, 0, 0},
        {"posted, a fee of 50 euros", true, false, 0, {50, false}, 50, -50, 0},
        {"invoiced, 30 %", true, true, 0, {30, true}, 84, -84, -284.8},
        {"paid 100, no fee: 100 to give back", true, false, 100, {0, true}, 0, 100, 0},
        {"invoiced and paid 100, 25 %", true, true, 100, {25, true}, 70, 30, -284.8},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const qint32 n = reserver();
        if (c.porte)
            ASSERT_EQ(CompteSejour::PorterAuCompte(m_base.base(), n, m_ini).resultat, CompteSejour::Resultat::Ecrit);
        QString erreur;
        if (c.facture)
            ASSERT_TRUE(CompteSejour::EmettreFacture(m_base.base(), n, m_ini, m_factures, &erreur)) << erreur.toStdString();
        if (c.paye > 0)
            ASSERT_TRUE(Module1::EnregistrerOperation(m_base.base(), n, c.paye, QStringLiteral("CB"),
                                                      QStringLiteral("Paiement CB"), &erreur));
        const auto r = Annulation::Annuler(m_base.base(), n, version(n), c.frais, m_ini, m_factures);
        ASSERT_TRUE(r.fait) << r.message.toStdString();
        EXPECT_DOUBLE_EQ(r.frais, c.fraisAttendus);
        EXPECT_NEAR(solde(n), c.soldeAttendu, 0.001);
        EXPECT_NEAR(r.solde, c.soldeAttendu, 0.001);
        EXPECT_NEAR(postesNets(n), 0, 0.001);
        EXPECT_TRUE(Requetes::reservation(m_base.base(), n)->annulee());
        EXPECT_EQ(m_base.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE numeroreservation = %1 "
                                               "AND libelle LIKE 'Annulation de la réservation (%'").arg(n)).toInt(), 1);
        EXPECT_EQ(r.avoir.has_value(), c.avoirAttendu != 0);
        if (r.avoir) {
            EXPECT_NEAR(r.avoir->total, c.avoirAttendu, 0.001);
            EXPECT_TRUE(r.avoir->numero.startsWith(QStringLiteral("A-2027-")));
            EXPECT_TRUE(r.avoir->origine.startsWith(QStringLiteral("F-2027-")));
            EXPECT_TRUE(QFile::exists(m_factures + QLatin1Char('/') + r.avoir->numero + QStringLiteral(".pdf")));
        }
        // Cancelled once only.
        const auto encore = Annulation::Annuler(m_base.base(), n, version(n), c.frais, m_ini, m_factures);
        EXPECT_FALSE(encore.fait);
        EXPECT_TRUE(encore.message.contains(QStringLiteral("déjà annulée"))) << encore.message.toStdString();
        // What is owed to the guest goes back as a negative payment.
        if (c.soldeAttendu > 0) {
            ASSERT_TRUE(Annulation::Rembourser(m_base.base(), n, c.soldeAttendu, QStringLiteral("CB"), &erreur));
            EXPECT_NEAR(solde(n), 0, 0.001);
            EXPECT_EQ(m_base.liste(QStringLiteral("SELECT prix, TRIM(paiement), libelle FROM OPERATIONS WHERE "
                                                  "numeroreservation = %1 AND prix < 0 AND TRIM(paiement) <> ''").arg(n)),
                      QStringLiteral("%1 CB Remboursement (CB)").arg(QString::number(-c.soldeAttendu, 'f', 1)));
        }
    }
}

TEST_F(Annulation_, TheCreditNoteNamesTheInvoiceAndShowsMinusSignsAndVatByRate)
{
    const qint32 n = reserver();
    ASSERT_EQ(CompteSejour::PorterAuCompte(m_base.base(), n, m_ini).resultat, CompteSejour::Resultat::Ecrit);
    QString erreur;
    const auto facture = CompteSejour::EmettreFacture(m_base.base(), n, m_ini, m_factures, &erreur);
    ASSERT_TRUE(facture) << erreur.toStdString();
    const auto r = Annulation::Annuler(m_base.base(), n, version(n), {30, true}, m_ini, m_factures);
    ASSERT_TRUE(r.avoir) << r.message.toStdString();
    const auto lu = texteDuPdf(r.avoir->pdf);
    ASSERT_TRUE(lu) << "pdftotext";
    const QString texte = *lu;
    EXPECT_TRUE(texte.contains(QStringLiteral("Avoir A-2027-00001"))) << texte.toStdString();
    EXPECT_TRUE(texte.contains(QStringLiteral("Annule la facture F-2027-00001"))) << texte.toStdString();
    EXPECT_TRUE(texte.contains(QStringLiteral("-280,00"))) << texte.toStdString();
    EXPECT_TRUE(texte.contains(QStringLiteral("-4,80"))) << texte.toStdString();
    EXPECT_TRUE(texte.contains(QStringLiteral("-284,80"))) << texte.toStdString();
    EXPECT_TRUE(texte.contains(QStringLiteral("-254,55"))) << texte.toStdString();   // 280 / 1.1, excluding VAT
    EXPECT_FALSE(texte.contains(QStringLiteral("FRAIS"))) << texte.toStdString();
    // Reprinted from the table as it was issued.
    const auto documents = RequetesFacturation::facturesDeReservation(m_base.base(), n);
    ASSERT_TRUE(documents);
    ASSERT_EQ(documents->size(), 2);
    EXPECT_EQ(documents->at(1).numero, QStringLiteral("A-2027-00001"));
    EXPECT_EQ(documents->at(1).pdf, r.avoir->pdf);
}

TEST_F(Annulation_, AStayChangedOnAnotherDeskIsNotCancelledAndNothingIsWritten)
{
    const qint32 n = reserver();
    ASSERT_EQ(CompteSejour::PorterAuCompte(m_base.base(), n, m_ini).resultat, CompteSejour::Resultat::Ecrit);
    const qint32 lue = version(n);
    m_base.executer(QStringLiteral("UPDATE RESERVATIONS SET nbadultes = 3 WHERE NumeroReservation = %1").arg(n));
    const int lignes = m_base.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS")).toInt();
    const auto r = Annulation::Annuler(m_base.base(), n, lue, {30, true}, m_ini, m_factures);
    EXPECT_FALSE(r.fait);
    EXPECT_TRUE(r.conflit);
    EXPECT_FALSE(Requetes::reservation(m_base.base(), n)->annulee());
    EXPECT_EQ(m_base.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS")).toInt(), lignes);
}

TEST_F(Annulation_, ARowThatCannotBeWrittenLeavesTheStayAsItWasAndTakesNoNumber)
{
    const qint32 n = reserver();
    ASSERT_EQ(CompteSejour::PorterAuCompte(m_base.base(), n, m_ini).resultat, CompteSejour::Resultat::Ecrit);
    QString erreur;
    ASSERT_TRUE(CompteSejour::EmettreFacture(m_base.base(), n, m_ini, m_factures, &erreur));
    m_base.refuser(QStringLiteral("INSERT"), QStringLiteral("OPERATIONS"), QStringLiteral("disque plein"));
    const auto r = Annulation::Annuler(m_base.base(), n, version(n), {30, true}, m_ini, m_factures);
    m_base.accepter(QStringLiteral("OPERATIONS"));
    EXPECT_FALSE(r.fait);
    EXPECT_TRUE(r.message.contains(QStringLiteral("disque plein"))) << r.message.toStdString();
    EXPECT_FALSE(Requetes::reservation(m_base.base(), n)->annulee());
    EXPECT_EQ(m_base.valeur(QStringLiteral("SELECT count(*) FROM FACTURES WHERE Serie = 'A'")).toInt(), 0);
    EXPECT_NEAR(postesNets(n), 284.8, 0.001);
}

TEST_F(Annulation_, AHandMadeCreditNoteLowersTheBalanceAtItsRate)
{
    const qint32 n = reserver();
    ASSERT_EQ(CompteSejour::PorterAuCompte(m_base.base(), n, m_ini).resultat, CompteSejour::Resultat::Ecrit);
    QString erreur;
    const auto facture = CompteSejour::EmettreFacture(m_base.base(), n, m_ini, m_factures, &erreur);
    ASSERT_TRUE(facture);
    const auto avoir = Annulation::AvoirManuel(m_base.base(), n, facture->numero, 22, 10, QStringLiteral("Geste commercial"),
                                               m_ini, m_factures, &erreur);
    ASSERT_TRUE(avoir) << erreur.toStdString();
    EXPECT_EQ(avoir->numero, QStringLiteral("A-2027-00001"));
    EXPECT_DOUBLE_EQ(avoir->total, -22);
    EXPECT_NEAR(solde(n), -284.8 + 22, 0.001);
    EXPECT_EQ(m_base.liste(QStringLiteral("SELECT libelle, tauxtva FROM OPERATIONS WHERE numeroreservation = %1 AND prix > 0")
                               .arg(n)),
              QStringLiteral("AVOIR A-2027-00001 sur F-2027-00001 : Geste commercial 10.0"));
    const auto lu = texteDuPdf(avoir->pdf);
    ASSERT_TRUE(lu) << "pdftotext";
    const QString texte = *lu;
    EXPECT_TRUE(texte.contains(QStringLiteral("Se rapporte à la facture F-2027-00001"))) << texte.toStdString();
    EXPECT_TRUE(texte.contains(QStringLiteral("-20,00"))) << texte.toStdString();   // excluding VAT
    for (const double montant : {0.0, -5.0})
        EXPECT_FALSE(Annulation::AvoirManuel(m_base.base(), n, facture->numero, montant, 10, QString(), m_ini, m_factures,
                                             &erreur));
}

TEST_F(Annulation_, OnlyAStayWithNothingButItsOwnPostingsMayBeDeleted)
{
    struct Cas {
        const char* nom;
        std::function<void(qint32)> preparer;
        bool permis;
    };
    QString erreur;
    const Cas cas[] = {
        {"nothing at all", [](qint32) {}, true},
        {"events only", [&](qint32 n) { Module1::EnregistrerOperation(m_base.base(), n, 0, QString(), QStringLiteral("Envoi contrat"), &erreur); }, true},
        {"its stay posted", [&](qint32 n) { CompteSejour::PorterAuCompte(m_base.base(), n, m_ini); }, true},
        {"a payment", [&](qint32 n) { Module1::EnregistrerOperation(m_base.base(), n, 10, QStringLiteral("ESP"), QStringLiteral("Paiement ESP"), &erreur); }, false},
        {"a bar sale", [&](qint32 n) { Module1::EnregistrerOperationTVA(m_base.base(), n, -3, QString(), QStringLiteral("BAR Café"), 10, &erreur); }, false},
        {"an invoice", [&](qint32 n) { CompteSejour::EmettreFacture(m_base.base(), n, m_ini, m_factures, &erreur); }, false},
    };
    for (const Cas& c : cas) {
        const qint32 n = reserver();
        c.preparer(n);
        const QString refus = Annulation::RefusSuppression(m_base.base(), n, &erreur);
        EXPECT_EQ(refus.isEmpty(), c.permis) << c.nom << " " << refus.toStdString();
    }
}
