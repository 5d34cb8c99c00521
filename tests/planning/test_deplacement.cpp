// Geometry and state of the grid's direct manipulation: the cell under the
// pointer, the part of a bar a press takes, where a dragged stay lands, its
// ghost, the scrolling at the edges, the free nights of a drawn stay.
#include "planning/deplacement.h"
#include "planning/manipulation.h"
#include "store/dates.h"

#include <gtest/gtest.h>

using Deplacement::Prise;

namespace {

QDateTime moment(int mois, int jour, int heure)
{
    return Dates::naive(QDate(2026, mois, jour), QTime(heure, 0));
}

const char* nom(Prise p)
{
    switch (p) {
    case Prise::Aucune: return "Aucune";
    case Prise::Corps: return "Corps";
    case Prise::Debut: return "Debut";
    case Prise::Fin: return "Fin";
    }
    return "?";
}

} // namespace

TEST(Deplacement, ThePointerFallsOnOneRowAndOneDay)
{
    const QDate d(2026, 8, 1);
    struct Cas { int x, y, premiere, hauteur; int ligne; int jour; };
    const Cas cas[] = {
        {0, 0, 0, 20, 0, 0},
        {19, 19, 0, 20, 0, 0},     // last pixel of the first cell
        {20, 20, 0, 20, 1, 1},
        {-1, -1, 0, 20, -1, -1},   // left of and above the grid: rounded down
        {45, 45, 3, 20, 5, 2},     // scrolled rows count from the first shown
        {59, 59, 2, 30, 3, 2},
    };
    for (const Cas& c : cas) {
        EXPECT_EQ(Deplacement::ligneSous(c.y, c.premiere, c.hauteur), c.ligne) << c.x << "," << c.y;
        EXPECT_EQ(Deplacement::jourSous(c.x, d, 20), d.addDays(c.jour)) << c.x << "," << c.y;
    }
}

TEST(Deplacement, TheEndsOfABarStretchItAndItsMiddleMovesIt)
{
    const Grille::Rectangle large{40, 2, 100, 18};
    const Grille::Rectangle etroit{40, 2, 48, 18};    // 9 pixels: a third each
    const Grille::Rectangle minuscule{40, 2, 41, 18};
    const Grille::Rectangle envers{60, 2, 40, 18};    // ends before it starts
    struct Cas { Grille::Rectangle r; int x, y; Prise prise; };
    const Cas cas[] = {
        {large, 40, 10, Prise::Debut}, {large, 44, 10, Prise::Debut}, {large, 45, 10, Prise::Corps},
        {large, 95, 10, Prise::Corps}, {large, 96, 10, Prise::Fin}, {large, 100, 10, Prise::Fin},
        {large, 39, 10, Prise::Aucune}, {large, 101, 10, Prise::Aucune},
        {large, 70, 1, Prise::Aucune}, {large, 70, 19, Prise::Aucune}, {large, 40, 2, Prise::Debut},
        {etroit, 42, 10, Prise::Debut}, {etroit, 43, 10, Prise::Corps}, {etroit, 45, 10, Prise::Corps},
        {etroit, 46, 10, Prise::Fin},
        {minuscule, 40, 10, Prise::Corps}, {minuscule, 41, 10, Prise::Corps},
        {envers, 50, 10, Prise::Aucune},
    };
    for (const Cas& c : cas)
        EXPECT_STREQ(nom(Deplacement::priseSur(c.r, c.x, c.y)), nom(c.prise)) << c.r.x1 << ".." << c.r.x2 << " at "
                                                                              << c.x << "," << c.y;
}

TEST(Deplacement, APressBecomesADragFromFourPixels)
{
    struct Cas { QPoint vers; bool glisse; };
    const Cas cas[] = {
        {{0, 0}, false}, {{3, 0}, false}, {{4, 0}, true}, {{-4, 0}, true}, {{0, -4}, true},
        {{2, 3}, false},   // 3.6 pixels away
        {{3, 3}, true},    // 4.2
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Deplacement::seuilDepasse(QPoint(100, 50), QPoint(100, 50) + c.vers), c.glisse)
            << c.vers.x() << "," << c.vers.y();
}

TEST(Deplacement, AStayLandsOnWholeDaysWithItsHoursAndOneNightAtLeast)
{
    const Deplacement::Sejour origine{2, moment(8, 3, 14), moment(8, 10, 10)};
    struct Cas { const char* nom; Prise prise; int jours, lignes; Deplacement::Sejour attendu; };
    const Cas cas[] = {
        {"still", Prise::Corps, 0, 0, origine},
        {"moved 2 days, 1 row down", Prise::Corps, 2, 1, {3, moment(8, 5, 14), moment(8, 12, 10)}},
        {"moved back across a month", Prise::Corps, -5, 0, {2, moment(7, 29, 14), moment(8, 5, 10)}},
        {"above the first unit", Prise::Corps, 0, -3, {0, moment(8, 3, 14), moment(8, 10, 10)}},
        {"below the last unit", Prise::Corps, 0, 5, {4, moment(8, 3, 14), moment(8, 10, 10)}},
        {"arrival later", Prise::Debut, 3, 0, {2, moment(8, 6, 14), moment(8, 10, 10)}},
        {"arrival earlier, rows ignored", Prise::Debut, -2, 1, {2, moment(8, 1, 14), moment(8, 10, 10)}},
        {"arrival past the departure", Prise::Debut, 10, 0, {2, moment(8, 9, 14), moment(8, 10, 10)}},
        {"departure later", Prise::Fin, 1, 0, {2, moment(8, 3, 14), moment(8, 11, 10)}},
        {"departure before the arrival", Prise::Fin, -10, 0, {2, moment(8, 3, 14), moment(8, 4, 10)}},
        {"nothing taken", Prise::Aucune, 4, 1, origine},
    };
    for (const Cas& c : cas) {
        const Deplacement::Sejour s = Deplacement::appliquer(origine, c.prise, c.jours, c.lignes, 5);
        EXPECT_EQ(s.ligne, c.attendu.ligne) << c.nom;
        EXPECT_EQ(s.debut, c.attendu.debut) << c.nom << " " << s.debut.toString().toStdString();
        EXPECT_EQ(s.fin, c.attendu.fin) << c.nom << " " << s.fin.toString().toStdString();
    }
}

TEST(Deplacement, TheGhostIsTheBarOfItsRowAndDays)
{
    struct Cas { Deplacement::Sejour s; int premiere; Grille::Rectangle r; };
    const Cas cas[] = {
        // Days 4 to 6 from 1 August, row 3 shown second.
        {{3, Dates::naive(QDate(2026, 8, 5)), Dates::naive(QDate(2026, 8, 7))}, 1, {82, 42, 118, 58}},
        // Noon to noon: the ends sit in the middle of their days.
        {{0, moment(8, 2, 12), moment(8, 3, 12)}, 0, {32, 2, 48, 18}},
        // A row scrolled above the grid: a negative top.
        {{0, moment(8, 2, 12), moment(8, 3, 12)}, 2, {32, -38, 48, -22}},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Deplacement::fantome(c.s, QDate(2026, 8, 1), c.premiere, 20, 20), c.r) << c.s.ligne;
}

TEST(Deplacement, TheGridScrollsWhileTheDragIsOverItsEdge)
{
    const QSize grille(400, 200);
    struct Cas { QPoint p; Deplacement::Pas pas; };
    const Cas cas[] = {
        {{200, 100}, {0, 0}},
        {{9, 100}, {-1, 0}}, {{10, 100}, {0, 0}},       // half a day from the left
        {{390, 100}, {1, 0}}, {{389, 100}, {0, 0}},
        {{200, 9}, {0, -1}}, {{200, 10}, {0, 0}},
        {{200, 190}, {0, 1}}, {{200, 189}, {0, 0}},
        {{-30, -5}, {-1, -1}}, {{450, 250}, {1, 1}},    // beyond the grid
    };
    for (const Cas& c : cas) {
        const Deplacement::Pas pas = Deplacement::defilementAuBord(c.p, grille, 20, 20);
        EXPECT_EQ(pas.jours, c.pas.jours) << c.p.x() << "," << c.p.y();
        EXPECT_EQ(pas.lignes, c.pas.lignes) << c.p.x() << "," << c.p.y();
    }
}

TEST(Deplacement, ADrawnStayStopsBeforeTheNightsOfOthers)
{
    auto j = [](int jour) { return QDate(2026, 8, jour); };
    // Nights 5, 6, 7 and 12, 13 taken; a stay without a night takes none.
    const QList<Deplacement::Occupation> occupees = {{j(5), j(8)}, {j(12), j(14)}, {j(10), j(10)}, {{}, j(20)}};
    struct Cas { int appui, pointe; Deplacement::Trace trace; };
    const Cas cas[] = {
        {9, 9, {j(9), 1}},
        {9, 10, {j(9), 2}},
        {9, 11, {j(9), 3}},
        {9, 12, {j(9), 3}},    // stops before the arrival on the 12th
        {9, 25, {j(9), 3}},
        {9, 1, {j(8), 2}},     // backwards: from the departure day of the 8th
        {8, 12, {j(8), 4}},    // a departure day is free
        {6, 9, {j(6), 0}},     // pressed on a taken night
        {15, 13, {j(14), 2}},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Deplacement::etendueLibre(occupees, j(c.appui), j(c.pointe)), c.trace) << c.appui << " -> " << c.pointe;
}

TEST(Deplacement, TheTextsNameTheUnitsAndDates)
{
    EXPECT_EQ(Deplacement::texteCible(QStringLiteral("Chalet 2"), QDate(2026, 8, 5), QDate(2026, 8, 12)),
              QStringLiteral("Chalet 2 : du 05/08/2026 au 12/08/2026, 7 nuits"));
    EXPECT_EQ(Deplacement::texteCible(QStringLiteral("Chalet 2"), QDate(2026, 8, 5), QDate(2026, 8, 6)),
              QStringLiteral("Chalet 2 : du 05/08/2026 au 06/08/2026, 1 nuit"));
    EXPECT_EQ(Deplacement::libelleJournal(QStringLiteral("Chalet 1"), QDate(2026, 8, 3), QDate(2026, 8, 10),
                                          QStringLiteral("Chalet 2"), QDate(2026, 8, 5), QDate(2026, 8, 12)),
              QStringLiteral("Déplacement : Chalet 1 du 03/08/2026 au 10/08/2026 → Chalet 2 du 05/08/2026 au 12/08/2026"));
    EXPECT_EQ(Deplacement::libelleJournal(QStringLiteral("A"), QDate(2026, 8, 5), QDate(2026, 8, 12),
                                          QStringLiteral("B"), QDate(2026, 8, 3), QDate(2026, 8, 10), true),
              QStringLiteral("Déplacement annulé : A du 05/08/2026 au 12/08/2026 → B du 03/08/2026 au 10/08/2026"));
}

namespace {

// Unit row 1 shown second, days from 1 August 2026, a 400 x 200 grid.
Manipulation::Vue vue(int jours = 0)
{
    return {QDate(2026, 8, 1).addDays(jours), 0, 20, 20, 5, QSize(400, 200)};
}

Requetes::Reservation sejour()
{
    Requetes::Reservation r;
    r.numero = 7;
    r.objet = 2;
    r.debut = moment(8, 3, 14);
    r.fin = moment(8, 6, 10);
    return r;
}

} // namespace

TEST(Manipulation, APressOpensAMoveSavesAnEscapeOrAReleaseOutsideCancels)
{
    using Action = Manipulation::Fin::Action;
    struct Pas { QPoint p; int jours; };   // a pointer move, the grid scrolled `jours` days by then
    struct Cas {
        const char* nom;
        bool annulee;
        Prise prise;
        QList<Pas> pas;
        QPoint relache;
        Action action;
        Deplacement::Sejour apres;
    };
    const QPoint appui(70, 30);   // day 3, row 1
    const Cas cas[] = {
        {"a click", false, Prise::Corps, {{{72, 31}, 0}}, {72, 31}, Action::Ouvrir, {}},
        {"moved 2 days and a row", false, Prise::Corps, {{{75, 30}, 0}, {{110, 50}, 0}}, {110, 50}, Action::Enregistrer,
         {2, moment(8, 5, 14), moment(8, 8, 10)}},
        {"back where it was", false, Prise::Corps, {{{110, 50}, 0}}, {70, 30}, Action::Rien, {}},
        {"released outside the grid", false, Prise::Corps, {{{110, 50}, 0}}, {401, 50}, Action::Rien, {}},
        {"the grid scrolled 3 days meanwhile", false, Prise::Corps, {{{110, 30}, 3}}, {110, 30}, Action::Enregistrer,
         {1, moment(8, 8, 14), moment(8, 11, 10)}},
        {"its departure stretched", false, Prise::Fin, {{{95, 50}, 0}}, {95, 50}, Action::Enregistrer,
         {1, moment(8, 3, 14), moment(8, 7, 10)}},
        {"its arrival stretched", false, Prise::Debut, {{{35, 30}, 0}}, {35, 30}, Action::Enregistrer,
         {1, moment(8, 1, 14), moment(8, 6, 10)}},
        {"a cancelled stay only opens", true, Prise::Corps, {}, {70, 30}, Action::Ouvrir, {}},
        {"a cancelled stay never moves", true, Prise::Corps, {{{110, 50}, 0}}, {110, 50}, Action::Rien, {}},
    };
    for (const Cas& c : cas) {
        Requetes::Reservation r = sejour();
        if (c.annulee)
            r.annulation = moment(7, 1, 9);
        Manipulation m;
        m.appuyerSurBarre(4, r, 1, c.prise, appui, vue());
        EXPECT_EQ(m.mode(), Manipulation::Mode::Appui) << c.nom;
        int jours = 0;
        for (const Pas& p : c.pas) {
            jours = p.jours;
            m.deplacer(p.p, vue(jours));
        }
        if (!c.pas.isEmpty() && !c.annulee && c.action != Action::Ouvrir)
            EXPECT_TRUE(m.glisse()) << c.nom;
        else
            EXPECT_FALSE(m.glisse()) << c.nom;
        const Manipulation::Fin fin = m.relacher(c.relache, vue(jours));
        EXPECT_EQ(int(fin.action), int(c.action)) << c.nom;
        EXPECT_FALSE(m.actif()) << c.nom;
        if (c.action == Action::Ouvrir)
            EXPECT_EQ(fin.barre, 4) << c.nom;
        if (c.action == Action::Enregistrer) {
            EXPECT_EQ(fin.reservation.numero, 7) << c.nom;
            EXPECT_EQ(fin.avant, (Deplacement::Sejour{1, r.debut, r.fin})) << c.nom;
            EXPECT_EQ(fin.apres.ligne, c.apres.ligne) << c.nom;
            EXPECT_EQ(fin.apres.debut, c.apres.debut) << c.nom;
            EXPECT_EQ(fin.apres.fin, c.apres.fin) << c.nom;
        }
    }

    // Escape: back to rest, the release then does nothing.
    Manipulation m;
    m.appuyerSurBarre(4, sejour(), 1, Prise::Corps, appui, vue());
    m.deplacer({110, 50}, vue());
    ASSERT_TRUE(m.glisse());
    m.abandonner();
    EXPECT_EQ(int(m.relacher({110, 50}, vue()).action), int(Action::Rien));
}

TEST(Manipulation, ShiftDrawsTheFreeNightsOfOneRow)
{
    using Action = Manipulation::Fin::Action;
    const QList<Deplacement::Occupation> occupees = {{QDate(2026, 8, 10), QDate(2026, 8, 12)}};
    struct Cas { QPoint relache; Action action; Deplacement::Trace trace; };
    const Cas cas[] = {
        {{130, 30}, Action::Proposer, {QDate(2026, 8, 5), 3}},     // day 4 to day 6
        {{130, 90}, Action::Proposer, {QDate(2026, 8, 5), 3}},     // another row: still its own
        {{270, 30}, Action::Proposer, {QDate(2026, 8, 5), 5}},     // stops before the 10th
        {{90, 30}, Action::Proposer, {QDate(2026, 8, 5), 1}},      // a click: one night
        {{30, 30}, Action::Proposer, {QDate(2026, 8, 2), 4}},      // backwards
        {{-5, 30}, Action::Rien, {}},                              // released outside
    };
    for (const Cas& c : cas) {
        Manipulation m;
        m.appuyerPourDessiner(1, occupees, QPoint(90, 30), vue());
        EXPECT_TRUE(m.glisse());
        m.deplacer(c.relache, vue());
        const Manipulation::Fin fin = m.relacher(c.relache, vue());
        EXPECT_EQ(int(fin.action), int(c.action)) << c.relache.x();
        if (c.action == Action::Proposer) {
            EXPECT_EQ(fin.ligne, 1);
            EXPECT_EQ(fin.trace, c.trace) << c.relache.x() << " " << fin.trace.arrivee.toString().toStdString() << " "
                                          << fin.trace.nuits;
        }
    }
    // Pressed on a taken night: nothing to propose.
    Manipulation m;
    m.appuyerPourDessiner(1, occupees, QPoint(190, 30), vue());   // the 10th
    EXPECT_EQ(m.trace().nuits, 0);
    EXPECT_EQ(int(m.relacher({230, 30}, vue()).action), int(Action::Rien));
}
