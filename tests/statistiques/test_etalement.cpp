#include "statistiques/etalement.h"

#include <gtest/gtest.h>
#include <cmath>

// A stay's amount in cents over its nights: equal shares, the cents left
// over one each on the first nights, a credit spread like a charge.
TEST(Etalement, PartOfARunOfNights)
{
    struct Cas {
        qint64 centimes, nuits, premiere, derniere, part;
    };
    const Cas cas[] = {
        {9000, 7, 0, 7, 9000},    // the whole stay
        {9000, 7, 0, 4, 5144},    // 1286 × 4: the 5 cents left go to nights 0…4
        {9000, 7, 4, 7, 3856},    // 1286 + 1285 × 2
        {9000, 7, 5, 6, 1285},
        {1, 3, 0, 1, 1},          // one cent: on the first night
        {1, 3, 1, 3, 0},
        {-7, 3, 0, 1, -3},        // a correction that gives money back
        {-7, 3, 1, 3, -4},
        {500, 0, 0, 1, 0},        // no night to carry it
        {500, 5, 3, 3, 0},        // an empty run
        {500, 5, 4, 2, 0},        // a run backwards
        {9000, 7, -5, 2, 2572},   // cut at the arrival
        {9000, 7, 6, 40, 1285},   // cut at the departure
        {9000, 7, 7, 9, 0},       // after the stay
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Etalement::Part(c.centimes, c.nuits, c.premiere, c.derniere), c.part)
            << c.centimes << " over " << c.nuits << " nights, " << c.premiere << "…" << c.derniere;
}

// The owner's stay of 28/06 to 05/07: its June nights count in June.
TEST(Etalement, MonthsOfAStay)
{
    struct Cas {
        const char* nom;
        double montant;
        QDate arrivee, depart;
        QMap<QDate, double> mois;
    };
    const Cas cas[] = {
        {"across two months", 879, QDate(2027, 6, 28), QDate(2027, 7, 5),
         {{QDate(2027, 6, 1), 376.72}, {QDate(2027, 7, 1), 502.28}}},
        {"across new year", 100, QDate(2026, 12, 30), QDate(2027, 1, 2),
         {{QDate(2026, 12, 1), 66.67}, {QDate(2027, 1, 1), 33.33}}},
        {"a leap february", 29.01, QDate(2028, 2, 1), QDate(2028, 3, 1), {{QDate(2028, 2, 1), 29.01}}},
        {"over three months", 61, QDate(2026, 1, 31), QDate(2026, 4, 1),
         {{QDate(2026, 1, 1), 1.02}, {QDate(2026, 2, 1), 28.56}, {QDate(2026, 3, 1), 31.42}}},
        {"a refund", -10, QDate(2026, 3, 30), QDate(2026, 4, 2), {{QDate(2026, 3, 1), -6.67}, {QDate(2026, 4, 1), -3.33}}},
        {"a day use", 40, QDate(2026, 3, 10), QDate(2026, 3, 10), {}},
        {"departure before arrival", 40, QDate(2026, 3, 10), QDate(2026, 3, 8), {}},
        {"unreadable dates", 40, QDate(), QDate(2026, 3, 8), {}},
    };
    for (const Cas& c : cas) {
        const QMap<QDate, double> mois = Etalement::ParMois(c.montant, c.arrivee, c.depart);
        ASSERT_EQ(mois.keys(), c.mois.keys()) << c.nom;
        for (auto it = c.mois.cbegin(); it != c.mois.cend(); ++it)
            EXPECT_NEAR(mois.value(it.key()), it.value(), 1e-9) << c.nom << " " << it.key().toString().toStdString();
    }
}

// Whatever the amount and the length, the months add up to the cent to the
// amount posted, and a period's part is the sum of its nights'.
TEST(Etalement, MonthsAddUpToTheAmountPosted)
{
    const QDate arrivees[] = {QDate(2026, 1, 31), QDate(2026, 2, 27), QDate(2027, 12, 20), QDate(2028, 2, 28)};
    for (const QDate& arrivee : arrivees)
        for (int nuits = 1; nuits <= 70; nuits += 3)
            for (qint64 centimes = -997; centimes <= 100003; centimes += 4999) {
                const double montant = double(centimes) / 100.0;
                const QDate depart = arrivee.addDays(nuits);
                qint64 somme = 0;
                for (double m : Etalement::ParMois(montant, arrivee, depart))
                    somme += std::llround(m * 100);
                EXPECT_EQ(somme, centimes) << arrivee.toString().toStdString() << " " << nuits;
                // A period of ten days inside the stay, night by night.
                const QDate debut = arrivee.addDays(nuits / 3);
                const QDate fin = debut.addDays(9);
                qint64 nuitParNuit = 0;
                for (QDate j = debut; j <= fin; j = j.addDays(1))
                    nuitParNuit += std::llround(Etalement::PartDansPeriode(montant, arrivee, depart, j, j) * 100);
                EXPECT_EQ(std::llround(Etalement::PartDansPeriode(montant, arrivee, depart, debut, fin) * 100), nuitParNuit)
                    << arrivee.toString().toStdString() << " " << nuits << " " << centimes;
            }
}
