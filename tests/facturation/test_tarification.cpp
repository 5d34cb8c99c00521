#include "facturation/tarification.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace Tarification;

namespace {

QDate j(int a, int m, int d) { return QDate(a, m, d); }

// Chalets: low season to 30 June (80 a night, 5 per adult, VAT 10),
// high season July and August (120, no supplement, VAT 10), and a leap
// winter season on 2028 at 60, VAT 5.5.
const QList<Saison> kSaisons = {
    {1, QStringLiteral("Chalet"), j(2027, 4, 1), j(2027, 6, 30), 80, 5, 0, 10},
    {2, QStringLiteral("Chalet"), j(2027, 7, 1), j(2027, 8, 31), 120, 0, 0, 10},
    {3, QStringLiteral("Chalet"), j(2028, 2, 1), j(2028, 3, 31), 60, 0, 2.5, 5.5},
    {4, QStringLiteral("Emplacement"), j(2027, 4, 1), j(2027, 9, 30), 15, 6.2, 3.1, 10},
};

} // namespace

TEST(Tarification, StaysArePricedNightByNight)
{
    struct Cas {
        const char* nom;
        Sejour sejour;
        double taxe;
        QStringList libelles;
        double total;
    };
    const Cas cas[] = {
        {"one season", {QStringLiteral("Les Pins"), QStringLiteral("Chalet"), j(2027, 5, 10), j(2027, 5, 13), 2, 1}, 0.8,
         {QStringLiteral("Séjour Les Pins du 10/05 au 13/05 : 3 nuits x 80,00 €"),
          QStringLiteral("Supplément 2 adultes x 3 nuits x 5,00 €"),
          QStringLiteral("Taxe de séjour : 2 adultes x 3 nuits x 0,80 €")},
         240 + 30 + 4.8},
        {"across two seasons", {QStringLiteral("Les Pins"), QStringLiteral("chalet"), j(2027, 6, 28), j(2027, 7, 2), 1, 0}, 0,
         {QStringLiteral("Séjour Les Pins du 28/06 au 01/07 : 3 nuits x 80,00 €"),
          QStringLiteral("Supplément 1 adulte x 3 nuits x 5,00 €"),
          QStringLiteral("Séjour Les Pins du 01/07 au 02/07 : 1 nuit x 120,00 €")},
         240 + 15 + 120},
        {"ends on the first day of the next season", {QStringLiteral("P"), QStringLiteral("Chalet"), j(2027, 6, 29), j(2027, 7, 1), 0, 0}, 1,
         {QStringLiteral("Séjour P du 29/06 au 01/07 : 2 nuits x 80,00 €")}, 160},
        {"leap day", {QStringLiteral("P"), QStringLiteral("Chalet"), j(2028, 2, 28), j(2028, 3, 1), 0, 2}, 0,
         {QStringLiteral("Séjour P du 28/02 au 01/03 : 2 nuits x 60,00 €"),
          QStringLiteral("Supplément 2 enfants x 2 nuits x 2,50 €")},
         130},
        {"children only pay no tax", {QStringLiteral("A"), QStringLiteral("Emplacement"), j(2027, 8, 1), j(2027, 8, 3), 0, 3}, 0.8,
         {QStringLiteral("Séjour A du 01/08 au 03/08 : 2 nuits x 15,00 €"),
          QStringLiteral("Supplément 3 enfants x 2 nuits x 3,10 €")},
         30 + 18.6},
        {"zero nights", {QStringLiteral("A"), QStringLiteral("Emplacement"), j(2027, 8, 1), j(2027, 8, 1), 2, 0}, 0.8, {}, 0},
    };
    for (const Cas& c : cas) {
        const Calcul r = Calculer(c.sejour, kSaisons, c.taxe);
        EXPECT_TRUE(r.valide()) << c.nom << ": " << r.erreur.toStdString();
        QStringList libelles;
        for (const Ligne& l : r.lignes)
            libelles << l.libelle;
        EXPECT_EQ(libelles, c.libelles) << c.nom;
        EXPECT_DOUBLE_EQ(r.total, c.total) << c.nom;
    }
}

TEST(Tarification, AStayThatCannotBePricedSaysWhy)
{
    struct Cas { const char* nom; Sejour sejour; const char* erreur; };
    const Cas cas[] = {
        {"night without season", {QStringLiteral("P"), QStringLiteral("Chalet"), j(2027, 8, 30), j(2027, 9, 2), 2, 0},
         "Aucun tarif pour la nuit du 01/09/2027 (catégorie Chalet)."},
        {"unit without category", {QStringLiteral("Chambre 1"), QString(), j(2027, 5, 1), j(2027, 5, 2), 2, 0},
         "Le logement Chambre 1 n'a pas de catégorie : donnez-lui en une dans Paramètres, onglet Objets."},
        {"unknown category", {QStringLiteral("X"), QStringLiteral("Yourte"), j(2027, 5, 1), j(2027, 5, 2), 2, 0},
         "Aucun tarif pour la nuit du 01/05/2027 (catégorie Yourte)."},
    };
    for (const Cas& c : cas) {
        const Calcul r = Calculer(c.sejour, kSaisons, 1);
        EXPECT_EQ(r.erreur, QString::fromUtf8(c.erreur)) << c.nom;
        EXPECT_TRUE(r.lignes.isEmpty()) << c.nom;
    }
}

TEST(Tarification, SeasonsOfOneCategoryMayNotOverlap)
{
    struct Cas { const char* nom; QList<Saison> saisons; bool accepte; };
    const Cas cas[] = {
        {"the example seasons", kSaisons, true},
        {"touching seasons", {{0, "C", j(2027, 1, 1), j(2027, 1, 31), 1, 0, 0, 10}, {0, "C", j(2027, 2, 1), j(2027, 2, 5), 1, 0, 0, 10}}, true},
        {"one shared day", {{0, "C", j(2027, 1, 1), j(2027, 1, 31), 1, 0, 0, 10}, {0, "c", j(2027, 1, 31), j(2027, 2, 5), 1, 0, 0, 10}}, false},
        {"other category", {{0, "C", j(2027, 1, 1), j(2027, 1, 31), 1, 0, 0, 10}, {0, "D", j(2027, 1, 10), j(2027, 2, 5), 1, 0, 0, 10}}, true},
        {"last day before first", {{0, "C", j(2027, 1, 31), j(2027, 1, 1), 1, 0, 0, 10}}, false},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(VerifierSaisons(c.saisons).isEmpty(), c.accepte) << c.nom << ": " << VerifierSaisons(c.saisons).toStdString();
}

TEST(Tarification, OnlyTheDifferenceIsPostedAgain)
{
    const Sejour avant{QStringLiteral("P"), QStringLiteral("Chalet"), j(2027, 6, 28), j(2027, 7, 2), 2, 0};
    struct Cas { const char* nom; Sejour apres; QList<Part> attendu; };
    Sejour plusLong = avant;
    plusLong.depart = j(2027, 7, 4);
    Sejour unAdulte = avant;
    unAdulte.adultes = 1;
    Sejour autreUnite = avant;
    autreUnite.categorie = QStringLiteral("Emplacement");
    const Cas cas[] = {
        {"nothing changed", avant, {}},
        {"two more nights", plusLong, {{Genre::Sejour, 10, 240}, {Genre::Taxe, 0, 2 * 2 * 0.5}}},
        {"one adult less", unAdulte, {{Genre::Sejour, 10, -3 * 5}, {Genre::Taxe, 0, -4 * 0.5}}},
        {"other unit", autreUnite, {{Genre::Sejour, 10, 60 + 4 * 2 * 6.2 - (3 * 80 + 2 * 3 * 5 + 120)}}},
    };
    const QList<Part> deja = Parts(Calculer(avant, kSaisons, 0.5).lignes);
    for (const Cas& c : cas) {
        const QList<Part> d = Difference(deja, Parts(Calculer(c.apres, kSaisons, 0.5).lignes));
        ASSERT_EQ(d.size(), c.attendu.size()) << c.nom;
        for (qsizetype i = 0; i < d.size(); ++i) {
            EXPECT_EQ(d.at(i).genre, c.attendu.at(i).genre) << c.nom;
            EXPECT_NEAR(d.at(i).montant, c.attendu.at(i).montant, 0.001) << c.nom;
        }
    }
}

TEST(Tarification, RowsToPostFirstTimeAndAfterAChange)
{
    const Sejour sejour{QStringLiteral("Les Pins"), QStringLiteral("Chalet"), j(2027, 6, 29), j(2027, 7, 2), 2, 1};
    const Calcul calcul = Calculer(sejour, kSaisons, 0.8);
    struct Attendu { const char* libelle; double prix; double taux; };
    struct Cas { const char* nom; QList<Part> deja; QList<Attendu> attendu; };
    const Cas cas[] = {
        {"first posting", {},
         {{"SEJOUR Les Pins du 29/06 au 01/07 : 2 nuits x 80,00 €", -160, 10},
          {"SEJOUR Supplément 2 adultes x 2 nuits x 5,00 €", -20, 10},
          {"SEJOUR Les Pins du 01/07 au 02/07 : 1 nuit x 120,00 €", -120, 10},
          {"TAXE DE SEJOUR 2 adultes x 3 nuits x 0,80 €", -4.8, 0}}},
        {"posted twice: nothing", Parts(calcul.lignes), {}},
        {"one night less was posted", {{Genre::Sejour, 10, 180}, {Genre::Taxe, 0, 3.2}},
         {{"CORRECTION SEJOUR Les Pins du 29/06/2027 au 02/07/2027, 2 adultes, 1 enfant (TVA 10 %)", -120, 10},
          {"CORRECTION TAXE DE SEJOUR Les Pins du 29/06/2027 au 02/07/2027, 2 adultes, 1 enfant", -1.6, 0}}},
        {"more was posted at another rate", {{Genre::Sejour, 5.5, 300}, {Genre::Taxe, 0, 4.8}},
         {{"CORRECTION SEJOUR Les Pins du 29/06/2027 au 02/07/2027, 2 adultes, 1 enfant (TVA 10 %)", -300, 10},
          {"CORRECTION SEJOUR Les Pins du 29/06/2027 au 02/07/2027, 2 adultes, 1 enfant (TVA 5,5 %)", 300, 5.5}}},
    };
    for (const Cas& c : cas) {
        const QList<Ecriture> e = Ecritures(sejour, calcul, c.deja);
        ASSERT_EQ(e.size(), c.attendu.size()) << c.nom;
        for (qsizetype i = 0; i < e.size(); ++i) {
            EXPECT_EQ(e.at(i).libelle, QString::fromUtf8(c.attendu.at(i).libelle)) << c.nom;
            EXPECT_NEAR(e.at(i).prix, c.attendu.at(i).prix, 0.001) << c.nom;
            EXPECT_DOUBLE_EQ(e.at(i).tauxTVA, c.attendu.at(i).taux) << c.nom;
        }
    }
}
