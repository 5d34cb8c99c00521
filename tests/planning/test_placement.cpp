#include "planning/placement.h"

#include <gtest/gtest.h>

TEST(Placement, TheStayComesIntoTheFirstThirdAndItsRowIntoView)
{
    const QDate arrivee(2026, 7, 14);
    struct Cas { int colonnes, ligne, visibles, premiere; QDate depart; int premiereAttendue; };
    const Cas cas[] = {
        {30, 5, 10, 0, arrivee.addDays(-5), 0},     // row in view: rows stay
        {30, 9, 10, 0, arrivee.addDays(-5), 0},     // last visible row
        {30, 10, 10, 0, arrivee.addDays(-5), 7},    // just below: into the upper third
        {30, 2, 10, 6, arrivee.addDays(-5), 0},     // above: into view, never below 0
        {30, 40, 10, 6, arrivee.addDays(-5), 37},
        {60, -1, 10, 4, arrivee.addDays(-10), 4},   // unit unknown: rows stay
        {2, 0, 0, 0, arrivee, 0},                   // tiny grid
        {0, 3, 1, 0, arrivee, 3},
    };
    for (const Cas& c : cas) {
        const Placement::Position p = Placement::versSejour(arrivee, c.colonnes, c.ligne, c.visibles, c.premiere);
        EXPECT_EQ(p.datedepart, c.depart) << c.colonnes << " " << c.ligne;
        EXPECT_EQ(p.premiereLigne, c.premiereAttendue) << c.colonnes << " " << c.ligne;
        // The arrival is within the first third of the days shown.
        EXPECT_LE(p.datedepart.daysTo(arrivee), std::max(0, c.colonnes / 3));
    }
}
