// A summer worked out by hand: a stay charged at booking across June and
// July, a stay cancelled with its reversal, fee, refund and credit note, a
// stay cancelled with part of its charge kept, a day use charged the next
// day, and a stay not charged yet with a deposit.
#include "seme.h"
#include "statistiques/restedu.h"
#include "statistiques/statistiques.h"
#include "statistiques/tableaux.h"
#include "statistiques/taxesejour.h"

#include <gtest/gtest.h>

namespace {

void semerEte(const TestUtil::BaseTemporaire& b)
{
    b.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom, Categorie) VALUES (1, 'Chalet A', 'Chalet')"));
    auto sejour = [&](int n, const char* debut, const char* fin, const char* annulation) {
        b.executer(QStringLiteral("INSERT INTO RESERVATIONS (NumeroReservation, objet, nomclient, DateDebut, DateFin, Etat, "
                                  "nbadultes, nbenfants, Annulation) VALUES (%1, 1, 'Client %1', '%2', '%3', 1, 2, 0, %4)")
                       .arg(n).arg(QLatin1String(debut), QLatin1String(fin),
                                   annulation ? QStringLiteral("'%1'").arg(QLatin1String(annulation)) : QStringLiteral("NULL")));
    };
    sejour(1, "2026-06-28 14:00:00", "2026-07-05 11:00:00", nullptr);
    sejour(2, "2026-07-10 14:00:00", "2026-07-15 11:00:00", "2026-06-20 11:00:00");
    sejour(3, "2026-08-01 14:00:00", "2026-08-03 11:00:00", "2026-07-20 09:00:00");
    sejour(4, "2026-06-10 09:00:00", "2026-06-10 18:00:00", nullptr);
    sejour(5, "2026-07-20 14:00:00", "2026-07-25 11:00:00", nullptr);
    const QString rien = QStringLiteral("   ");
    Seme::operation(b, 1, QStringLiteral("2026-05-10 10:00:00"), -879, rien, QStringLiteral("SEJOUR Chalet A"));
    Seme::operation(b, 1, QStringLiteral("2026-05-10 10:00:01"), -11.2, rien, QStringLiteral("TAXE DE SEJOUR 2 adultes"));
    Seme::operation(b, 1, QStringLiteral("2026-05-10 10:05:00"), 300, QStringLiteral("CB "), QStringLiteral("Arrhes"));
    Seme::operation(b, 2, QStringLiteral("2026-05-12 10:00:00"), -500, rien, QStringLiteral("SEJOUR Chalet A"));
    Seme::operation(b, 2, QStringLiteral("2026-05-12 10:05:00"), 150, QStringLiteral("CB "), QStringLiteral("Arrhes"));
    Seme::operation(b, 2, QStringLiteral("2026-06-20 11:00:00"), 500, rien, QStringLiteral("CORRECTION SEJOUR annulation"));
    Seme::operation(b, 2, QStringLiteral("2026-06-20 11:00:01"), -45.5, rien, QStringLiteral("FRAIS D''ANNULATION 45,50"));
    Seme::operation(b, 2, QStringLiteral("2026-06-20 11:00:02"), 0, rien, QStringLiteral("Annulation de la réservation (client)"));
    Seme::operation(b, 2, QStringLiteral("2026-06-21 09:00:00"), -104.5, QStringLiteral("CB "), QStringLiteral("Remboursement (CB )"));
    b.executer(QStringLiteral("INSERT INTO FACTURES (Numero, Annee, Sequence, reservation, date, total, Serie, Origine) "
                              "VALUES ('A-2026-00001', 2026, 1, 2, '2026-06-20 11:00:00', -500, 'A', 'F-2026-00001')"));
    Seme::operation(b, 3, QStringLiteral("2026-06-01 10:00:00"), -200, rien, QStringLiteral("SEJOUR Chalet A"));
    Seme::operation(b, 3, QStringLiteral("2026-07-20 09:00:00"), 150, rien, QStringLiteral("CORRECTION SEJOUR annulation"));
    Seme::operation(b, 4, QStringLiteral("2026-06-11 10:00:00"), -20, rien, QStringLiteral("SEJOUR journée"));
    Seme::operation(b, 5, QStringLiteral("2026-07-01 10:00:00"), 100, QStringLiteral("VIR"), QStringLiteral("Arrhes"));
}

} // namespace

TEST(Annulations, FiguresOfASummerWithCancellations)
{
    TestUtil::BaseTemporaire b(QStringLiteral("annul1"));
    semerEte(b);
    struct Cas {
        int mois;
        qint64 nuits, arrivees;
        std::array<double, 4> recettes;   // stay, tax, bar, other
        double encaisse;
    };
    const Cas cas[] = {
        // #1's 879 posted in May counts on its nights: 125,58 + 125,57 × 6.
        {5, 0, 0, {0, 0, 0, 0}, 450},
        // June: 3 nights of #1 (376,72; tax 1,60 a night), #2 reversed on the
        // day it was cancelled, #4 (a day use: an arrival, no night) on the
        // date of its charge; #2's fee; a refund.
        {6, 3, 2, {396.72, 4.80, 0, 45.50}, -104.50},
        // July: 4 nights of #1 and 5 of #5; nothing of #2; the 50 kept on
        // #3 on the day of its cancellation.
        {7, 9, 1, {552.28, 6.40, 0, 0}, 100},
        {8, 0, 0, {0, 0, 0, 0}, 0},
    };
    for (const Cas& k : cas) {
        QString erreur;
        const auto c = Statistiques::Calculer(b.base(), TaxeSejour::DebutMois(2026, k.mois),
                                              TaxeSejour::FinMois(2026, k.mois), std::nullopt, &erreur);
        ASSERT_TRUE(c) << erreur.toStdString();
        EXPECT_EQ(c->nuitsVendues, k.nuits) << k.mois;
        EXPECT_EQ(c->arrivees, k.arrivees) << k.mois;
        for (size_t n = 0; n < 4; ++n)
            EXPECT_NEAR(c->recettes[n], k.recettes[n], 0.001) << k.mois << " nature " << n;
        EXPECT_NEAR(c->totalEncaisse, k.encaisse, 0.001) << k.mois;
    }
    // The summer as one period: the same sums, and no night of a cancelled stay.
    const auto ete = Statistiques::Calculer(b.base(), QDate(2026, 5, 1), QDate(2026, 8, 31), std::nullopt);
    ASSERT_TRUE(ete);
    EXPECT_EQ(ete->nuitsVendues, 12);
    EXPECT_NEAR(ete->recettes[Statistiques::Sejour], 949, 0.001);   // 879 + 20 + 50
    EXPECT_NEAR(ete->recettes[Statistiques::Taxe], 11.2, 0.001);
}

TEST(Annulations, TaxDeclarationLeavesCancelledStaysOut)
{
    TestUtil::BaseTemporaire b(QStringLiteral("annul2"));
    semerEte(b);
    struct Cas {
        int mois;
        QList<qint32> sejours;
        double due, facturee, nonFacturee, avance;
    };
    const Cas cas[] = {
        // May: #1's tax is charged, its nights are all later.
        {5, {}, 0, 0, 0, 11.2},
        {6, {1}, 4.8, 4.8, 0, 6.4},
        // #5 has stayed and is not charged yet; #2 was cancelled.
        {7, {1, 5}, 14.4, 6.4, 8.0, 0},
    };
    for (const Cas& k : cas) {
        const auto d = TaxeSejour::Lire(b.base(), TaxeSejour::DebutMois(2026, k.mois), TaxeSejour::FinMois(2026, k.mois),
                                        0.8, std::nullopt);
        ASSERT_TRUE(d);
        QList<qint32> numeros;
        for (const auto& l : d->lignes)
            numeros << l.sejour.numero;
        EXPECT_EQ(numeros, k.sejours) << k.mois;
        EXPECT_NEAR(d->montant, k.due, 0.001) << k.mois;
        EXPECT_NEAR(d->facturee, k.facturee, 0.001) << k.mois;
        EXPECT_NEAR(d->nonFacturee, k.nonFacturee, 0.001) << k.mois;
        EXPECT_NEAR(d->autresEcarts, 0, 0.001) << k.mois;
        EXPECT_NEAR(d->avance, k.avance, 0.001) << k.mois;
    }
}

// What is still owed: with a rate for July the stay not charged yet is
// priced (5 nights × 50 + 8 of tax, less its 100 of deposit); without one
// the reason is given.
TEST(Annulations, WhatIsStillOwedAtTheEndOfAMonth)
{
    TestUtil::BaseTemporaire b(QStringLiteral("annul3"));
    semerEte(b);
    b.executer(QStringLiteral("INSERT INTO TARIFS (Categorie, PremierJour, DernierJour, PrixNuit, PrixAdulte, PrixEnfant, "
                              "TauxTVA) VALUES ('Chalet', '2026-07-01 00:00:00', '2026-07-31 00:00:00', 50, 0, 0, 10)"));
    const auto juin = ResteDu::Lire(b.base(), QDate(2026, 6, 1), QDate(2026, 6, 30), std::nullopt, 0.8);
    const auto juillet = ResteDu::Lire(b.base(), QDate(2026, 7, 1), QDate(2026, 7, 31), std::nullopt, 0.8);
    ASSERT_TRUE(juin && juillet);
    using C = RequetesStatistiques::Compte;
    struct L {
        C::Genre genre;
        qint32 numero;
        double montant, frais, avoirs;
    };
    const QList<L> attendusJuin = {{C::Debiteur, 4, 20, 0, 0}, {C::Annule, 2, 0, 45.5, -500}};
    const QList<L> attendusJuillet = {{C::Debiteur, 1, 590.2, 0, 0}, {C::NonFacture, 5, 158, 0, 0},
                                      {C::Annule, 3, 50, 0, 0}};
    for (const auto& [etat, attendus] : {std::pair{*juin, attendusJuin}, std::pair{*juillet, attendusJuillet}}) {
        ASSERT_EQ(etat.lignes.size(), attendus.size()) << etat.debut.month();
        for (int i = 0; i < attendus.size(); ++i) {
            const auto& l = etat.lignes[i];
            EXPECT_EQ(l.compte.genre, attendus[i].genre) << etat.debut.month() << " " << i;
            EXPECT_EQ(l.compte.numero, attendus[i].numero) << etat.debut.month() << " " << i;
            EXPECT_NEAR(l.montant, attendus[i].montant, 0.001) << etat.debut.month() << " " << i;
            EXPECT_NEAR(l.compte.frais, attendus[i].frais, 0.001) << etat.debut.month() << " " << i;
            EXPECT_NEAR(l.compte.avoirs, attendus[i].avoirs, 0.001) << etat.debut.month() << " " << i;
        }
    }
    EXPECT_EQ(juillet->nonFactures, 1);
    EXPECT_NEAR(juillet->prevu, 158, 0.001);
    EXPECT_NEAR(juillet->du, 590.2, 0.001);
    EXPECT_NEAR(juin->frais, 45.5, 0.001);
    EXPECT_NEAR(juin->avoirs, -500, 0.001);

    // Without the July rate, the stay is listed with the reason, not priced.
    b.executer(QStringLiteral("DELETE FROM TARIFS"));
    const auto sansTarif = ResteDu::Lire(b.base(), QDate(2026, 7, 1), QDate(2026, 7, 31), std::nullopt, 0.8);
    ASSERT_TRUE(sansTarif);
    EXPECT_EQ(sansTarif->sansTarif, 1);
    EXPECT_EQ(sansTarif->prevu, 0.0);
    EXPECT_TRUE(sansTarif->lignes[1].remarque.startsWith(QStringLiteral("Aucun tarif pour la nuit du 20/07/2026")))
        << sansTarif->lignes[1].remarque.toStdString();
    const Tableaux::Tableau t = Tableaux::ResteDu(*sansTarif);
    EXPECT_EQ(t.lignes[1].value(0), QStringLiteral("Pas encore facturé"));
    EXPECT_EQ(t.lignes[1].value(7), QString());
}
