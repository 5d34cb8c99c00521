#include "seme.h"
#include "statistiques/statistiques.h"
#include "statistiques/taxesejour.h"

#include <gtest/gtest.h>

namespace {

using Statistiques::Chiffres;

const Statistiques::ParMois* mois(const Chiffres& c, int annee, int m)
{
    for (const auto& pm : c.parMois)
        if (pm.mois == QDate(annee, m, 1))
            return &pm;
    return nullptr;
}

} // namespace

// March 2026 of the seeded database, worked out by hand, for every unit and
// for the chalets only.
TEST(Statistiques, KnownFiguresOfAMonth)
{
    TestUtil::BaseTemporaire b(QStringLiteral("stats1"));
    Seme::semer(b);
    struct Cas {
        std::optional<QString> categorie;
        qint64 unites, disponibles, vendues, arrivees, adultes, enfants, ignores;
        double duree;
        std::array<double, 4> recettes;   // stay, tax, bar, other
        qint64 termines, debiteurs;
        double du;
    };
    const Cas cas[] = {
        // Stays: 3 nights of #1 (from February), 4 of #2 (into April), 0 of
        // the day use #3, 5 of the children-only #5; #4 is "Fermé".
        // Average: (6 + 0 + 5) / 3 arrivals. Stay revenue on the nights:
        // #1's 90 over 7 nights (12,86 × 5 then 12,85 × 2), 3 in March:
        // 38,56; #2's 200 over 6 nights (33,34 × 2 then 33,33), 4 in March:
        // 133,34; and the 30 of the deleted reservation #999 on its date.
        // Tax: #1's 4,80 over 7 nights (0,69 × 4 then 0,68), 3 in March.
        {std::nullopt, 3, 93, 12, 3, 14, 18, 2, 11.0 / 3, {201.90, 2.04, 1.5, 12}, 3, 1, 33.3},
        // The chalets: #5 and the deleted reservation's row drop out.
        {QStringLiteral("Chalet"), 2, 62, 7, 2, 14, 3, 2, 3.0, {171.90, 2.04, 1.5, 12}, 2, 1, 33.3},
        {QStringLiteral("Emplacement"), 1, 31, 5, 1, 0, 15, 0, 5.0, {0, 0, 0, 0}, 1, 0, 0},
        {QStringLiteral("Inconnue"), 0, 0, 0, 0, 0, 0, 0, 0.0, {0, 0, 0, 0}, 0, 0, 0},
    };
    for (const Cas& k : cas) {
        const QString nom = k.categorie.value_or(QStringLiteral("toutes"));
        QString erreur;
        const auto c = Statistiques::Calculer(b.base(), QDate(2026, 3, 1), QDate(2026, 3, 31), k.categorie, &erreur);
        ASSERT_TRUE(c) << erreur.toStdString();
        EXPECT_EQ(c->unites, k.unites) << nom.toStdString();
        EXPECT_EQ(c->nuitsDisponibles, k.disponibles) << nom.toStdString();
        EXPECT_EQ(c->nuitsVendues, k.vendues) << nom.toStdString();
        EXPECT_NEAR(c->taux, k.disponibles ? 100.0 * double(k.vendues) / double(k.disponibles) : 0, 1e-9) << nom.toStdString();
        EXPECT_EQ(c->arrivees, k.arrivees) << nom.toStdString();
        EXPECT_NEAR(c->dureeMoyenne, k.duree, 1e-9) << nom.toStdString();
        EXPECT_EQ(c->nuitsAdultes, k.adultes) << nom.toStdString();
        EXPECT_EQ(c->nuitsEnfants, k.enfants) << nom.toStdString();
        EXPECT_EQ(c->ignores, k.ignores) << nom.toStdString();
        for (int n = 0; n < 4; ++n)
            EXPECT_NEAR(c->recettes[size_t(n)], k.recettes[size_t(n)], 0.001) << nom.toStdString() << " nature " << n;
        EXPECT_NEAR(c->totalRecettes, k.recettes[0] + k.recettes[1] + k.recettes[2] + k.recettes[3], 0.001);
        EXPECT_EQ(c->sejoursTermines, k.termines) << nom.toStdString();
        EXPECT_EQ(c->sejoursDebiteurs, k.debiteurs) << nom.toStdString();
        EXPECT_NEAR(c->soldeDu, k.du, 0.001) << nom.toStdString();
        ASSERT_EQ(c->parMois.size(), 1);
        EXPECT_EQ(c->parMois[0].nuits, k.vendues);
        EXPECT_EQ(c->parMois[0].disponibles, k.disponibles);
    }
}

TEST(Statistiques, PaymentsByTypeAndUnitsOfTheMonth)
{
    TestUtil::BaseTemporaire b(QStringLiteral("stats2"));
    Seme::semer(b);
    const auto c = Statistiques::Calculer(b.base(), QDate(2026, 3, 1), QDate(2026, 3, 31), std::nullopt);
    ASSERT_TRUE(c);
    struct P { QString type; qint64 nombre; double total; };
    const P attendus[] = {{QStringLiteral("Espèces"), 1, 20}, {QStringLiteral("Carte Bleue"), 1, 50},
                          {QStringLiteral("Chèque"), 0, 0}, {QStringLiteral("Virement"), 0, 0},
                          {QStringLiteral("Autre"), 1, 5}};
    ASSERT_EQ(c->paiements.size(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(c->paiements[i].type, attendus[i].type);
        EXPECT_EQ(c->paiements[i].nombre, attendus[i].nombre) << i;
        EXPECT_DOUBLE_EQ(c->paiements[i].total, attendus[i].total) << i;
    }
    EXPECT_DOUBLE_EQ(c->totalEncaisse, 75);

    struct U { qint32 numero; qint64 nuits; double recettes; };
    // Unit 1: the March nights of #1 (38,56 + 2,04) and #2 (133,34), and
    // 3 - 1,50 + 12 sold in March.
    const U unites[] = {{1, 7, 187.44}, {2, 0, 0}, {3, 5, 0}};
    ASSERT_EQ(c->parUnite.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(c->parUnite[i].numero, unites[i].numero);
        EXPECT_EQ(c->parUnite[i].nuits, unites[i].nuits) << i;
        EXPECT_NEAR(c->parUnite[i].taux, 100.0 * double(unites[i].nuits) / 31, 1e-9) << i;
        EXPECT_NEAR(c->parUnite[i].recettes, unites[i].recettes, 0.001) << i;
    }
    // Nights by state: the option #2 keeps its own colour in the charts.
    EXPECT_EQ(c->parUnite[0].nuitsParEtat.value(1), 3);
    EXPECT_EQ(c->parUnite[0].nuitsParEtat.value(2), 4);
}

// Stays cut by month: across New Year, in a leap February, and a state
// ticked or not.
TEST(Statistiques, NightsAreCutAtMonthsAndPeriod)
{
    struct Cas {
        const char* nom;
        QString debutSejour, finSejour;
        int etat;
        QDate debut, fin;
        QList<QPair<QDate, qint64>> parMois;   // first of month, nights
        qint64 disponibles;                    // of the whole period (one unit)
    };
    const Cas cas[] = {
        {"new year", QStringLiteral("2025-12-30 14:00:00"), QStringLiteral("2026-01-02 12:00:00"), 1,
         QDate(2025, 12, 1), QDate(2026, 1, 31), {{QDate(2025, 12, 1), 2}, {QDate(2026, 1, 1), 1}}, 62},
        {"leap february", QStringLiteral("2024-02-27 14:00:00"), QStringLiteral("2024-03-02 12:00:00"), 1,
         QDate(2024, 2, 1), QDate(2024, 2, 29), {{QDate(2024, 2, 1), 3}}, 29},
        {"a long stay over three months", QStringLiteral("2026-01-31 14:00:00"), QStringLiteral("2026-04-01 12:00:00"), 2,
         QDate(2026, 1, 1), QDate(2026, 12, 31), {{QDate(2026, 1, 1), 1}, {QDate(2026, 2, 1), 28}, {QDate(2026, 3, 1), 31},
         {QDate(2026, 4, 1), 0}}, 365},
        {"cut at both ends", QStringLiteral("2026-01-01 14:00:00"), QStringLiteral("2026-12-31 12:00:00"), 1,
         QDate(2026, 6, 10), QDate(2026, 6, 19), {{QDate(2026, 6, 1), 10}}, 10},
        {"a state not sold", QStringLiteral("2026-06-01 14:00:00"), QStringLiteral("2026-06-05 12:00:00"), 3,
         QDate(2026, 6, 1), QDate(2026, 6, 30), {{QDate(2026, 6, 1), 0}}, 30},
        {"departure before arrival", QStringLiteral("2026-06-05 14:00:00"), QStringLiteral("2026-06-01 12:00:00"), 1,
         QDate(2026, 6, 1), QDate(2026, 6, 30), {{QDate(2026, 6, 1), 0}}, 30},
    };
    for (const Cas& k : cas) {
        TestUtil::BaseTemporaire b(QStringLiteral("stats3"));
        b.executer(QStringLiteral("UPDATE ETATS SET Vendu = 0 WHERE Code = 3"));
        b.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Seul')"));
        Seme::reservation(b, 1, 1, k.debutSejour, k.finSejour, k.etat, 2, 1);
        const auto c = Statistiques::Calculer(b.base(), k.debut, k.fin, std::nullopt);
        ASSERT_TRUE(c) << k.nom;
        EXPECT_EQ(c->nuitsDisponibles, k.disponibles) << k.nom;
        qint64 total = 0;
        for (const auto& [m, n] : k.parMois) {
            const auto* pm = mois(*c, m.year(), m.month());
            ASSERT_NE(pm, nullptr) << k.nom;
            EXPECT_EQ(pm->nuits, n) << k.nom << " " << m.toString().toStdString();
            total += n;
        }
        EXPECT_EQ(c->nuitsVendues, total) << k.nom;
        EXPECT_EQ(c->nuitsAdultes, 2 * total) << k.nom;
        EXPECT_EQ(c->nuitsEnfants, total) << k.nom;
    }
}

// A unit has no date of creation: one added in the middle of the year is
// available over the whole period, so that its empty months lower the rate.
TEST(Statistiques, AUnitAddedMidYearCountsFromTheFirstDayOfThePeriod)
{
    TestUtil::BaseTemporaire b(QStringLiteral("stats4"));
    b.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Ancienne'), (2, 'Nouvelle')"));
    Seme::reservation(b, 1, 2, QStringLiteral("2026-07-01 14:00:00"), QStringLiteral("2026-07-11 12:00:00"), 1, 2, 0);
    const auto c = Statistiques::Calculer(b.base(), QDate(2026, 1, 1), QDate(2026, 12, 31), std::nullopt);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->nuitsDisponibles, 2 * 365);
    ASSERT_EQ(c->parUnite.size(), 2);
    EXPECT_NEAR(c->parUnite[1].taux, 1000.0 / 365, 1e-9);
    ASSERT_EQ(c->parMois.size(), 12);
    EXPECT_EQ(c->parMois[0].disponibles, 62);
    EXPECT_NEAR(c->parMois[6].taux, 1000.0 / 62, 1e-9);
}

TEST(Statistiques, EmptyDatabaseAndRefusedPeriods)
{
    TestUtil::BaseTemporaire b(QStringLiteral("stats5"));
    const auto vide = Statistiques::Calculer(b.base(), QDate(2026, 1, 1), QDate(2026, 12, 31), std::nullopt);
    ASSERT_TRUE(vide);
    EXPECT_EQ(vide->nuitsDisponibles, 0);
    EXPECT_EQ(vide->taux, 0.0);
    EXPECT_EQ(vide->dureeMoyenne, 0.0);
    EXPECT_EQ(vide->totalRecettes, 0.0);
    EXPECT_EQ(vide->parMois.size(), 12);
    for (const auto& m : vide->parMois)
        EXPECT_EQ(m.taux, 0.0);

    struct Cas { QDate debut, fin; bool accepte; QString message; };
    const Cas cas[] = {
        {QDate(2026, 3, 2), QDate(2026, 3, 1), false, QStringLiteral("Le début de la période (02/03/2026) est après sa fin (01/03/2026).")},
        {QDate(1990, 1, 1), QDate(2039, 12, 31), false, QStringLiteral("La période dépasse 30 ans : choisissez une période plus courte.")},
        {QDate(), QDate(2026, 3, 1), false, QStringLiteral("La période n'a pas de date de début ou de fin.")},
        {QDate(2026, 3, 1), QDate(2026, 3, 1), true, {}},
        {QDate(2000, 1, 1), QDate(2029, 12, 31), true, {}},
    };
    for (const Cas& k : cas) {
        QString erreur;
        const auto c = Statistiques::Calculer(b.base(), k.debut, k.fin, std::nullopt, &erreur);
        EXPECT_EQ(c.has_value(), k.accepte) << k.message.toStdString();
        EXPECT_EQ(erreur, k.message);
    }
}

TEST(Statistiques, IgnoredStaysLine)
{
    const std::pair<qint64, QString> cas[] = {{0, QString()}, {1, QStringLiteral("1 séjour ignoré : dates illisibles")},
                                              {4, QStringLiteral("4 séjours ignorés : dates illisibles")}};
    for (const auto& [n, texte] : cas)
        EXPECT_EQ(Statistiques::LigneIgnores(n), texte);
}

// The declaration of March 2026 at 0,80 € per adult and night, by hand:
// #1 3 nights × 2 adults, #5 children only, #2 4 nights × 2 adults.
TEST(TaxeSejour, DeclarationOfAMonthAndAQuarter)
{
    TestUtil::BaseTemporaire b(QStringLiteral("stats6"));
    Seme::semer(b);
    const auto d = TaxeSejour::Lire(b.base(), TaxeSejour::DebutMois(2026, 3), TaxeSejour::FinMois(2026, 3), 0.8,
                                    std::nullopt);
    ASSERT_TRUE(d);
    struct L { qint32 numero; qint64 nuits, taxees; double montant; };
    const L lignes[] = {{1, 3, 6, 4.8}, {5, 5, 0, 0}, {2, 4, 8, 6.4}};
    ASSERT_EQ(d->lignes.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(d->lignes[i].sejour.numero, lignes[i].numero) << i;
        EXPECT_EQ(d->lignes[i].sejour.nuits, lignes[i].nuits) << i;
        EXPECT_EQ(d->lignes[i].nuitsTaxees, lignes[i].taxees) << i;
        EXPECT_DOUBLE_EQ(d->lignes[i].montant, lignes[i].montant) << i;
    }
    EXPECT_EQ(d->lignes[0].sejour.unite, QStringLiteral("Chalet A"));
    EXPECT_EQ(d->lignes[1].sejour.arrivee.date(), QDate(2026, 3, 15));
    EXPECT_EQ(d->nuits, 12);
    EXPECT_EQ(d->adultes, 4);
    EXPECT_EQ(d->exoneres, 4);
    EXPECT_EQ(d->nuitsTaxees, 14);
    EXPECT_DOUBLE_EQ(d->montant, 11.2);

    // The first quarter also has February's nights of #1 (4 more × 2).
    const auto t = TaxeSejour::Lire(b.base(), TaxeSejour::DebutTrimestre(2026, 1), TaxeSejour::FinTrimestre(2026, 1),
                                    0.8, std::nullopt);
    ASSERT_TRUE(t);
    EXPECT_EQ(TaxeSejour::FinTrimestre(2026, 1), QDate(2026, 3, 31));
    EXPECT_EQ(t->nuitsTaxees, 22);
    EXPECT_DOUBLE_EQ(t->montant, 17.6);
}

// The monthly figures of long periods, read the quick way, are those of
// the full computation, month by month and kind by kind.
TEST(Statistiques, MonthlyFiguresAloneAgreeWithTheFullComputation)
{
    TestUtil::BaseTemporaire b(QStringLiteral("stats7"));
    Seme::semer(b);
    Seme::operation(b, 5, QStringLiteral("2026-05-02 10:00:00"), -7.25, QStringLiteral("   "), QStringLiteral("Blanchisserie"));
    Seme::operation(b, 5, QStringLiteral("2026-05-02 10:01:00"), 7.25, QStringLiteral("VIR"), QStringLiteral("Virement"));
    for (const std::optional<QString>& categorie : {std::optional<QString>(), std::optional<QString>(QStringLiteral("Chalet"))}) {
        const auto tout = Statistiques::Calculer(b.base(), QDate(2025, 12, 15), QDate(2026, 6, 30), categorie);
        const auto mois = Statistiques::CalculerParMois(b.base(), QDate(2025, 12, 15), QDate(2026, 6, 30), categorie);
        ASSERT_TRUE(tout && mois);
        ASSERT_EQ(tout->parMois.size(), 7);
        ASSERT_EQ(mois->parMois.size(), 7);
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(mois->parMois[i].nuits, tout->parMois[i].nuits) << i;
            EXPECT_EQ(mois->parMois[i].disponibles, tout->parMois[i].disponibles) << i;
            for (int n = 0; n < Statistiques::NombreDeNatures; ++n)
                EXPECT_NEAR(mois->parMois[i].recettes[size_t(n)], tout->parMois[i].recettes[size_t(n)], 0.001)
                    << i << " " << n;
        }
        EXPECT_NEAR(mois->totalRecettes, tout->totalRecettes, 0.001);
        EXPECT_EQ(mois->totalEncaisse, 0.0);   // payments are not read
    }
    const auto avril = Statistiques::CalculerParMois(b.base(), QDate(2026, 1, 1), QDate(2026, 12, 31), std::nullopt);
    ASSERT_TRUE(avril);
    // #2's 200 posted in April: 66,66 on its two April nights, 51,44 of
    // #1's 90 on its four February nights.
    EXPECT_NEAR(avril->parMois[3].recettes[Statistiques::Sejour], 66.66, 0.001);
    EXPECT_NEAR(avril->parMois[1].recettes[Statistiques::Sejour], 51.44, 0.001);
    EXPECT_NEAR(avril->parMois[4].recettes[Statistiques::Autre], 7.25, 0.001);
}
