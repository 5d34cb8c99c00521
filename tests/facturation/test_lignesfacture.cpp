#include "facturation/lignesfacture.h"
#include "store/dates.h"

#include <gtest/gtest.h>

#include <cmath>

using RequetesFacturation::LigneCompte;

namespace {

// Chalets: low season to 30 June (80 a night, 5 per adult), high season
// from 1 July (120); VAT 10; tax 0,80 per adult and night.
const QList<Tarification::Saison> kSaisons = {
    {1, QStringLiteral("Chalet"), QDate(2027, 4, 1), QDate(2027, 6, 30), 80, 5, 0, 10},
    {2, QStringLiteral("Chalet"), QDate(2027, 7, 1), QDate(2027, 8, 31), 120, 0, 0, 10},
};

Tarification::Sejour sejour(QDate arrivee, QDate depart)
{
    return {QStringLiteral("Les Pins"), QStringLiteral("Chalet"), arrivee, depart, 2, 0};
}

// Booked 29/06 to 01/07, then moved to 28/06 to 02/07 (across both seasons).
const Tarification::Sejour kAvant = sejour(QDate(2027, 6, 29), QDate(2027, 7, 1));
const Tarification::Sejour kMaintenant = sejour(QDate(2027, 6, 28), QDate(2027, 7, 2));
const Tarification::Calcul kPrixAvant = Tarification::Calculer(kAvant, kSaisons, 0.8);
const Tarification::Calcul kPrix = Tarification::Calculer(kMaintenant, kSaisons, 0.8);

LigneCompte ligne(double prix, const char* paiement, const QString& libelle, std::optional<double> taux)
{
    return {Dates::naive(QDate(2027, 6, 20), QTime(10, 0)), prix, QString::fromLatin1(paiement), libelle, taux};
}

// The rows the posting writes: the stay's lines, or the differences to what
// `deja` had posted.
QList<LigneCompte> porte(const Tarification::Sejour& s, const Tarification::Calcul& c,
                         const QList<Tarification::Part>& deja = {})
{
    QList<LigneCompte> lignes;
    for (const Tarification::Ecriture& e : Tarification::Ecritures(s, c, deja))
        lignes << ligne(e.prix, "   ", e.libelle, e.tauxTVA);
    return lignes;
}

const QList<LigneCompte> kAutres = {
    ligne(0, "   ", QStringLiteral("Création de la reservation"), std::nullopt),
    {Dates::naive(QDate(2027, 7, 1), QTime(9, 0)), -2.5, QStringLiteral("   "), QStringLiteral("BAR Café"), 20},
    ligne(100, "ESP", QStringLiteral("Paiement ESP"), std::nullopt),
};

struct Attendu {
    const char* libelle;
    double taux;   // 0: no VAT
    double montant;
};

} // namespace

TEST(LignesFacture, TheStayReadsAsItIsNowWhateverItsCorrections)
{
    const Attendu commeMaintenant[] = {
        {"Séjour Les Pins du 28/06 au 01/07 : 3 nuits x 80,00 €, supplément 2 adultes x 3 nuits x 5,00 €", 10, 270},
        {"Séjour Les Pins du 01/07 au 02/07 : 1 nuit x 120,00 €", 10, 120},
        {"Taxe de séjour : 2 adultes x 4 nuits x 0,80 €", 0, 6.4},
        {"01/07/2027 BAR Café", 20, 2.5},
    };
    const QList<LigneCompte> annulation = {
        ligne(390, "   ", QStringLiteral("CORRECTION SEJOUR Les Pins annulé (TVA 10 %)"), 10),
        ligne(6.4, "   ", QStringLiteral("CORRECTION TAXE DE SEJOUR Les Pins annulé"), 0),
        ligne(-117, "   ", QStringLiteral("FRAIS D'ANNULATION 30 %"), 0),
    };
    struct Cas {
        const char* nom;
        QList<LigneCompte> sejour;
        std::optional<Tarification::Calcul> prix;
        bool annule;
        QList<Attendu> attendu;
    };
    const QList<Cas> cas = {
        {"posted once, as it is", porte(kMaintenant, kPrix), kPrix, false,
         {std::begin(commeMaintenant), std::end(commeMaintenant)}},
        {"moved after posting: corrections netted", porte(kAvant, kPrixAvant) + porte(kMaintenant, kPrix, Tarification::Parts(kPrixAvant.lignes)),
         kPrix, false, {std::begin(commeMaintenant), std::end(commeMaintenant)}},
        {"moved and not posted again: what was posted, under today's dates", porte(kAvant, kPrixAvant), kPrix, false,
         {{"Séjour Les Pins du 28/06/2027 au 02/07/2027", 10, 180}, {"Taxe de séjour du 28/06/2027 au 02/07/2027", 0, 3.2},
          {"01/07/2027 BAR Café", 20, 2.5}}},
        {"price unknown now", porte(kMaintenant, kPrix), std::nullopt, false,
         {{"Séjour Les Pins du 28/06/2027 au 02/07/2027", 10, 390}, {"Taxe de séjour du 28/06/2027 au 02/07/2027", 0, 6.4},
          {"01/07/2027 BAR Café", 20, 2.5}}},
        {"cancelled: the stay nets to nothing, the fee stays", porte(kMaintenant, kPrix) + annulation, kPrix, true,
         {{"20/06/2027 FRAIS D'ANNULATION 30 %", 0, 117}, {"01/07/2027 BAR Café", 20, 2.5}}},
        {"never posted", {}, kPrix, false, {{"01/07/2027 BAR Café", 20, 2.5}}},
        {"an older row without rate", {ligne(-200, "   ", QStringLiteral("SEJOUR Les Pins 2 nuits"), std::nullopt)}, kPrix, false,
         {{"Séjour Les Pins du 28/06/2027 au 02/07/2027", 0, 200}, {"01/07/2027 BAR Café", 20, 2.5}}},
    };
    for (const Cas& c : cas) {
        const QList<LigneCompte> compte = c.sejour + kAutres;
        const auto lignes = LignesFacture::Charges(compte, {QStringLiteral("Les Pins"), kMaintenant.arrivee, kMaintenant.depart,
                                                            c.prix, c.annule});
        ASSERT_EQ(lignes.size(), c.attendu.size()) << c.nom;
        double total = 0;
        for (qsizetype i = 0; i < lignes.size(); ++i) {
            const Attendu& a = c.attendu.at(i);
            EXPECT_EQ(lignes.at(i).libelle, QString::fromUtf8(a.libelle)) << c.nom;
            EXPECT_EQ(lignes.at(i).tauxTVA.value_or(0), a.taux) << c.nom << " " << a.libelle;
            EXPECT_NEAR(lignes.at(i).montant, a.montant, 0.001) << c.nom << " " << a.libelle;
            total += lignes.at(i).montant;
        }
        // The invoice's lines add up to the charges of the account.
        double charges = 0;
        for (const LigneCompte& l : compte)
            if (l.paiement.trimmed().isEmpty())
                charges -= l.prix;
        EXPECT_NEAR(total, charges, 0.001) << c.nom;
    }
}

TEST(LignesFacture, TheBalanceIsWordedNeverSigned)
{
    struct Cas { double solde; const char* texte; };
    const Cas cas[] = {
        {-266.8, "Reste à payer : 266,80 €"},
        {12, "Trop-perçu : 12,00 €"},
        {0, "Reste à payer : 0,00 €"},
        {-0.004, "Reste à payer : 0,00 €"},
        {0.006, "Trop-perçu : 0,01 €"},
        {-1234567.5, "Reste à payer : 1 234 567,50 €"},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(LignesFacture::Solde(c.solde), QString::fromUtf8(c.texte)) << c.solde;
}
