// Geometry of the calendar grid: columns, month labels, bars, hit test, drag.
#include "planning/grille.h"
#include "store/conversion.h"
#include "store/dates.h"
#include "store/requetes.h"

#include <gtest/gtest.h>

using Grille::Rectangle;

namespace {

QDateTime moment(const QDate& depart, int jour, int heure, int minute = 0)
{
    return Dates::naive(depart.addDays(jour), QTime(heure, minute));
}

} // namespace

TEST(Grille, ColumnsFillTheWidthWithTheLastOneCut)
{
    struct Cas { int largeur; int largeurJour; int colonnes; };
    const Cas cas[] = {
        {465, 20, 24},   // 617-pixel container: x = 0 .. 460, last column 5 pixels
        {460, 20, 24},   // a column starting exactly on the edge is still drawn
        {459, 20, 23},
        {0, 20, 1},
        {-30, 20, 0},    // a window shrunk below the grid's left edge
        {100, 0, 101},   // a zero width counts as one pixel, never a division by zero
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Grille::nombreColonnes(c.largeur, c.largeurJour), c.colonnes) << c.largeur << " " << c.largeurJour;

    const Grille::Entete e = Grille::entete(QDate(2007, 3, 25), 465, 20);
    ASSERT_EQ(e.colonnes.size(), 24);
    EXPECT_EQ(e.colonnes.last().x, 460);
    EXPECT_EQ(e.xFin, 480);
}

TEST(Grille, MonthLabelsAreCentredOverTheirSpans)
{
    struct Cas {
        QDate depart;
        QStringList textes;
        QList<int> debuts, fins, separations;
    };
    const Cas cas[] = {
        // 25th of a 31-day month: seven columns of March, then April.
        {QDate(2007, 3, 25), {QStringLiteral("mars 2007"), QStringLiteral("avril 2007")}, {0, 140}, {140, 480}, {140}},
        {QDate(2007, 2, 1), {QString::fromUtf8("février 2007")}, {0}, {480}, {}},
        // Across the year's end.
        {QDate(2006, 12, 20), {QString::fromUtf8("décembre 2006"), QStringLiteral("janvier 2007")}, {0, 240}, {240, 480}, {240}},
    };
    for (const Cas& c : cas) {
        const Grille::Entete e = Grille::entete(c.depart, 465, 20);
        QStringList textes;
        QList<int> debuts, fins;
        for (const auto& m : e.mois) {
            textes << m.texte;
            debuts << m.debut;
            fins << m.fin;
        }
        EXPECT_EQ(textes, c.textes);
        EXPECT_EQ(debuts, c.debuts);
        EXPECT_EQ(fins, c.fins);
        EXPECT_EQ(e.separations, c.separations);
    }
    const Grille::Entete e = Grille::entete(QDate(2007, 3, 25), 465, 20);
    EXPECT_DOUBLE_EQ(e.mois.at(0).centre(), 70.0);
    EXPECT_DOUBLE_EQ(e.mois.at(1).centre(), 310.0);
}

TEST(Grille, DayHeadersWeekEndsAndToday)
{
    // 25 March 2007 is a Sunday: Saturdays fall in columns 6, 13 and 20, the
    // Sundays in 0, 7, 14 and 21. Today, the 28th, is column 3.
    const Grille::Entete e = Grille::entete(QDate(2007, 3, 25), 465, 20, QDate(2007, 3, 28));
    QList<int> ombres;
    QList<int> aujourdhui;
    for (const auto& c : e.colonnes) {
        if (c.ombre)
            ombres << c.x;
        if (c.aujourdhui)
            aujourdhui << c.x;
    }
    EXPECT_EQ(ombres, (QList<int>{0, 120, 140, 260, 280, 400, 420}));
    EXPECT_EQ(aujourdhui, QList<int>{60});
    const Grille::Entete sansAujourdhui = Grille::entete(QDate(2007, 3, 25), 465, 20, QDate(2007, 5, 1));
    EXPECT_TRUE(std::none_of(sansAujourdhui.colonnes.cbegin(), sansAujourdhui.colonnes.cend(),
                             [](const Grille::Colonne& c) { return c.aujourdhui; }));
    struct Cas { int colonne; const char* nom; const char* numero; };
    const Cas cas[] = {{0, "dim.", "25"}, {1, "lun.", "26"}, {6, "sam.", "31"}, {7, "dim.", "01"}, {23, "mar.", "17"}};
    for (const Cas& c : cas) {
        EXPECT_EQ(e.colonnes.at(c.colonne).nomJour, QString::fromUtf8(c.nom));
        EXPECT_EQ(e.colonnes.at(c.colonne).numeroJour, QString::fromUtf8(c.numero));
    }
}

TEST(Grille, BarsFollowTheHoursAndRoundHalvesToEven)
{
    const QDate d(2007, 3, 25);
    struct Cas { QDateTime debut, fin; int largeurJour; int yLigne; Rectangle attendu; };
    const Cas cas[] = {
        // Day 2 at 14:00 to day 5 at 12:00: 53.67 and 108 before rounding.
        {moment(d, 2, 14), moment(d, 5, 12), 20, 0, {54, 2, 108, 18}},
        {moment(d, 2, 14), moment(d, 5, 12), 20, 40, {54, 42, 108, 58}},
        // Begun before the first day: negative start, cut at the left edge.
        {moment(d, -2, 14), moment(d, 1, 12), 20, 0, {-26, 2, 28, 18}},
        // Exact halves (2-pixel days, quarter days): 2.5 -> 2, 3.5 -> 4, 0.5 -> 0, 1.5 -> 2.
        {moment(d, 0, 6), moment(d, 1, 6), 2, 0, {2, 2, 0, 18}},
        {moment(d, 0, 18), moment(d, 1, 18), 2, 0, {4, 2, 2, 18}},
        // Ending before it starts: drawn between its ends, x1 > x2.
        {moment(d, 5, 12), moment(d, 2, 12), 20, 0, {112, 2, 48, 18}},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Grille::rectangleBarre(c.debut, c.fin, d, c.largeurJour, 20, c.yLigne), c.attendu)
            << c.debut.toString().toStdString();

    // An empty end counts as the old date origin: far to the left of its start.
    const Rectangle sansFin = Grille::rectangleBarre(moment(d, 3, 14), QDateTime(), d, 20, 20, 0);
    EXPECT_EQ(sansFin.x1, 74);
    EXPECT_LT(sansFin.x2, -20 * 365 * 100);
}

TEST(Grille, HitTestTakesTheFirstBarWithEveryBoundIncluded)
{
    QList<Grille::Barre> barres(3);
    barres[0].r = {10, 2, 50, 18};
    barres[1].r = {40, 2, 90, 18};     // overlaps the first and is painted over it
    barres[2].r = {100, 22, 60, 38};   // ends before it starts
    struct Cas { int x, y, attendu; };
    const Cas cas[] = {
        {10, 2, 1}, {50, 18, 1}, {10, 18, 1},  // corners
        {45, 10, 1},                            // overlap: the lower index
        {51, 10, 2}, {90, 10, 2},
        {9, 10, 0}, {10, 1, 0}, {30, 19, 0},    // just outside
        {91, 10, 0},
        {80, 30, 0}, {60, 22, 0}, {100, 38, 0}, // never the reversed bar
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Grille::barreTouchee(barres, c.x, c.y), c.attendu) << c.x << "," << c.y;
    EXPECT_EQ(Grille::barreTouchee({}, 0, 0), 0);
}

TEST(Grille, DragOffsetRoundsTowardsMinusInfinity)
{
    struct Cas { int dx, largeurJour, jours; };
    const Cas cas[] = {
        {45, 20, 2},    // 45 pixels right: two days back
        {-5, 20, -1},   // 5 pixels left: one day forward
        {-1, 20, -1}, {-20, 20, -1}, {-21, 20, -2},
        {0, 20, 0}, {19, 20, 0}, {20, 20, 1},
        {7, 0, 7},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Grille::decalageGlisser(c.dx, c.largeurJour), c.jours) << c.dx;
}

TEST(Grille, BarLabelFromTheTemplate)
{
    Grille::Barre b;
    b.reservation.nomclient = QStringLiteral("Dupont");
    b.nbadultes = 2;
    b.nbenfants = 1;
    b.reservation.numero = 42;
    b.reservation.telephone = QStringLiteral("0102030405");
    b.reservation.debut = Dates::naive(QDate(2026, 7, 3), QTime(14, 0));
    struct Cas { const char* modele; const char* attendu; };
    const Cas cas[] = {
        {"[nomclient] ([nbadultes]ad/[nbenfants]en)", "Dupont (2ad/1en)"},
        {"[NomClient] n°[NUMERORESERVATION]", "Dupont n°42"},
        {"[nomclient] [inconnu] [telephone]", "Dupont [inconnu] 0102030405"},
        {"[nomclient", "[nomclient"},
        {"arrivée [datedebut]", "arrivée 03/07/2026"},
        {"[email]|[remarque]", "|"},
        {"", "Dupont"},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Grille::etiquetteBarre(QString::fromUtf8(c.modele), b), QString::fromUtf8(c.attendu)) << c.modele;

    // Brackets inside the client's own name are not expanded again.
    b.reservation.nomclient = QStringLiteral("A & [nbadultes]");
    EXPECT_EQ(Grille::etiquetteBarre(QStringLiteral("[nomclient]!"), b), QStringLiteral("A & [nbadultes]!"));
}

TEST(Grille, BarEntryFromAReservationRow)
{
    const QDate d(2026, 7, 1);
    Requetes::ReservationPlanning ligne;
    ligne.reservation.numero = 7;
    ligne.reservation.objet = 3;
    ligne.reservation.nomclient = QStringLiteral("Martin");
    ligne.reservation.debut = moment(d, 2, 14);
    ligne.reservation.fin = moment(d, 5, 12);
    ligne.reservation.nbadultes = 70000;   // beyond 16 bits: kept as 0
    ligne.reservation.nbenfants = 3;
    struct Cas { bool trouve; qint32 code; const char* nom; qint32 couleur; const char* libelle; qint32 couleurBarre; };
    const Cas cas[] = {
        {true, 1, "Confirmé", 0x3C14DC, "1 - Confirmé", 0x3C14DC},
        {false, 0, "", 0, " - ", 0},   // state code with no row: black bar
    };
    for (const Cas& c : cas) {
        ligne.etatTrouve = c.trouve;
        ligne.code = c.code;
        ligne.nom = QString::fromUtf8(c.nom);
        ligne.couleur = c.couleur;
        const Grille::Barre b = Grille::barreDepuis(ligne, d, 20, 20, 60);
        EXPECT_EQ(b.libelleEtat, QString::fromUtf8(c.libelle));
        EXPECT_EQ(b.couleur, c.couleurBarre);
        EXPECT_EQ(b.r, (Rectangle{54, 62, 108, 78}));
        EXPECT_EQ(b.hautLigne, 60);
        EXPECT_EQ(b.nbadultes, 0);
        EXPECT_EQ(b.nbenfants, 3);
    }
    EXPECT_EQ(Grille::couleurDepuisBGR(0x3C14DC), QColor(0xDC, 0x14, 0x3C));
}

TEST(Grille, ScrollingKeepsTheWantedRowWithinTheUnits)
{
    struct Cas { int lignes, hauteur, hauteurLigne, voulue; int premiere, maximale, visibles; bool necessaire; };
    const Cas cas[] = {
        {2, 297, 20, 0, 0, 0, 14, false},
        {14, 280, 20, 0, 0, 0, 14, false},    // exactly full: no scroll bar
        {15, 280, 20, 1, 1, 1, 14, true},     // one unit too many
        {40, 297, 20, 13, 13, 26, 14, true},  // the last unit ends at the bottom
        {40, 297, 20, 99, 26, 26, 14, true},  // beyond the last: clamped
        {40, 297, 20, -3, 0, 26, 14, true},
        {10, 297, 20, 20, 0, 0, 14, false},   // units removed since: back to the top
        {0, 297, 20, 5, 0, 0, 14, false},     // no units table
        {5, 10, 20, 9, 4, 4, 0, true},        // lower than a row: still one unit at a time
        {5, -30, 20, 2, 2, 4, 0, true},       // a window shrunk above the grid
        {5, 3, 0, 1, 1, 2, 3, true},          // a zero row height counts as one pixel
    };
    for (const Cas& c : cas) {
        const Grille::Defilement d = Grille::defilement(c.lignes, c.hauteur, c.hauteurLigne, c.voulue);
        EXPECT_EQ(d.premiereLigne, c.premiere) << c.lignes << " rows, " << c.hauteur << " px, wanted " << c.voulue;
        EXPECT_EQ(d.premiereMaximale, c.maximale) << c.lignes << " rows, " << c.hauteur << " px";
        EXPECT_EQ(d.lignesVisibles, c.visibles) << c.hauteur;
        EXPECT_EQ(d.necessaire(), c.necessaire) << c.lignes << " rows, " << c.hauteur << " px";
    }
}

TEST(Grille, RowTopsAndVisibilityFollowTheFirstShownRow)
{
    struct Cas { int ligne, premiere, haut; bool visible; };
    const Cas cas[] = {
        {0, 0, 0, true}, {3, 0, 60, true},
        {5, 5, 0, true}, {6, 5, 20, true},
        {4, 5, -20, false},   // its lower line is the grid's top line, drawn anyway
        {0, 5, -100, false},
        {19, 5, 280, true},   // partly below the last whole row
        {21, 5, 320, false},  // below a 320-pixel grid
        {20, 5, 300, true},
    };
    for (const Cas& c : cas) {
        const int haut = Grille::hautLigne(c.ligne, c.premiere, 20);
        EXPECT_EQ(haut, c.haut) << c.ligne << " from " << c.premiere;
        EXPECT_EQ(Grille::ligneVisible(haut, 20, 320), c.visible) << c.ligne << " from " << c.premiere;
    }
}

TEST(Grille, HitTestAfterScrollingFindsTheBarOfTheShownRow)
{
    // The same days on units of rows 0, 5 and 6: only the row, hence the
    // scrolling, tells their bars apart.
    const QDate d(2026, 7, 1);
    auto barres = [&](int premiere) {
        QList<Grille::Barre> liste;
        const int lignes[] = {0, 5, 6};
        for (int ligne : lignes) {
            Requetes::ReservationPlanning r;
            r.reservation.numero = 100 + ligne;
            r.reservation.debut = moment(d, 2, 14);
            r.reservation.fin = moment(d, 5, 12);
            liste.append(Grille::barreDepuis(r, d, 20, 20, Grille::hautLigne(ligne, premiere, 20)));
        }
        return liste;
    };
    struct Cas { int premiere, x, y; qint32 numero; };
    const Cas cas[] = {
        {0, 60, 10, 100}, {0, 60, 110, 105}, {0, 60, 130, 106},
        {5, 60, 10, 105}, {5, 60, 30, 106},
        {5, 54, 2, 105}, {5, 108, 18, 105},      // edge pixels still open the bar
        {5, 60, 110, 0},                         // row 5's old place is empty now
        {5, 60, 20, 0}, {5, 60, 21, 0},          // the gap between the rows
        {6, 60, 10, 106}, {6, 60, 30, 0},         // nothing on the row after it
        {4, 60, 30, 105},
    };
    for (const Cas& c : cas) {
        const QList<Grille::Barre> liste = barres(c.premiere);
        const int i = Grille::barreTouchee(liste, c.x, c.y);
        EXPECT_EQ(i > 0 ? liste.at(i - 1).reservation.numero : 0, c.numero)
            << "first row " << c.premiere << " at " << c.x << "," << c.y;
    }
    // Scrolled, the bar sits on its row's new top.
    const QList<Grille::Barre> defilees = barres(5);
    EXPECT_EQ(defilees.at(0).r, (Rectangle{54, -98, 108, -82}));
    EXPECT_EQ(defilees.at(2).hautLigne, 20);
}

TEST(Grille, HeldButtonMovesOneDayThenEightThenThirtyASecond)
{
    struct Cas { qint64 ms; int jours; };
    const Cas cas[] = {
        {0, 1}, {50, 1}, {399, 1},            // a click is one day
        {400, 2}, {524, 2}, {525, 3},         // the repeat starts, a day every 125 ms
        {1000, 6}, {1999, 14}, {2000, 14},
        {2034, 15}, {3000, 44}, {12000, 314}, // then 30 a second
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Grille::joursMaintenus(c.ms), c.jours) << c.ms;
}

TEST(Grille, TodayMarkerSitsInTodaysColumnAtTheHour)
{
    const QDate d(2007, 3, 25);
    struct Cas { QDateTime maintenant; int largeurJour; int largeur; std::optional<int> x; };
    const Cas cas[] = {
        {moment(d, 0, 0), 20, 465, 0},
        {moment(d, 3, 12), 20, 465, 70},     // noon of column 3
        {moment(d, 3, 23, 59), 20, 465, 78}, // kept inside the column, 2 pixels wide
        {moment(d, 23, 6), 20, 465, 465},    // the last, cut column
        {moment(d, 24, 6), 20, 465, std::nullopt},
        {moment(d, -1, 23), 20, 465, std::nullopt},
        {moment(d, 1, 12), 1, 465, 1},       // a one-pixel day still shows its line
        {QDateTime(), 20, 465, std::nullopt},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Grille::marqueAujourdhui(c.maintenant, d, c.largeurJour, c.largeur), c.x)
            << c.maintenant.toString().toStdString();
}

TEST(Grille, LabelOfABarBegunBeforeTheFirstDayStartsAtItsFirstVisiblePixel)
{
    const QDate d(2007, 3, 25);
    struct Cas { QDateTime debut, fin; Rectangle barre; Rectangle etiquette; };
    const Cas cas[] = {
        {moment(d, -2, 14), moment(d, 1, 12), {-26, 2, 28, 18}, {0, 2, 28, 18}},
        {moment(d, -400, 14), moment(d, 3, 12), {-7986, 2, 68, 18}, {0, 2, 68, 18}},
        {moment(d, 2, 14), moment(d, 5, 12), {54, 2, 108, 18}, {54, 2, 108, 18}},   // wholly shown
        {moment(d, -5, 14), moment(d, -1, 12), {-86, 2, -12, 18}, {-86, 2, -12, 18}}, // wholly gone
    };
    for (const Cas& c : cas) {
        const Rectangle r = Grille::rectangleBarre(c.debut, c.fin, d, 20, 20, 0);
        EXPECT_EQ(r, c.barre) << c.barre.x1;
        EXPECT_EQ(Grille::rectangleEtiquette(r), c.etiquette) << c.barre.x1;
    }
}

TEST(Grille, OverlappingStaysShareTheRowHeightAndAreHitEachInItsBand)
{
    const QDate d(2007, 3, 25);
    auto barre = [&](int numero, int debut, int nuits, int yLigne) {
        Requetes::ReservationPlanning l;
        l.reservation.numero = numero;
        l.reservation.debut = moment(d, debut, 14);
        l.reservation.fin = moment(d, debut + nuits, 12);
        return Grille::barreDepuis(l, d, 20, 20, yLigne);
    };
    struct Cas {
        const char* nom;
        QList<Grille::Barre> barres;
        QList<std::pair<int, int>> bandes;   // y1, y2 of each bar, in the row's order
        QList<bool> cadres;
    };
    const Cas cas[] = {
        {"alone", {barre(1, 2, 3, 0)}, {{2, 18}}, {false}},
        {"one after the other", {barre(1, 2, 3, 0), barre(2, 5, 2, 0)}, {{2, 18}, {2, 18}}, {false, false}},
        // The earlier stay on top, whichever the row gives first.
        {"two", {barre(1, 2, 3, 40), barre(2, 4, 3, 40)}, {{42, 49}, {50, 58}}, {true, true}},
        {"two, later first", {barre(2, 4, 3, 0), barre(1, 2, 3, 0)}, {{10, 18}, {2, 9}}, {true, true}},
        // Three at once: thirds; a fourth after the first left takes its band.
        {"three", {barre(1, 0, 4, 0), barre(2, 1, 4, 0), barre(3, 2, 4, 0), barre(4, 4, 2, 0)},
         {{2, 6}, {7, 12}, {13, 18}, {2, 6}}, {true, true, true, true}},
        // A double booking apart from a lone stay of the same row.
        {"group and lone", {barre(1, 0, 2, 0), barre(2, 1, 2, 0), barre(3, 10, 2, 0)},
         {{2, 9}, {10, 18}, {2, 18}}, {true, true, false}},
    };
    for (const Cas& c : cas) {
        QList<Grille::Barre> barres = c.barres;
        Grille::partagerChevauchements(barres, 20);
        ASSERT_EQ(barres.size(), c.bandes.size()) << c.nom;
        for (int i = 0; i < barres.size(); ++i) {
            EXPECT_EQ(std::make_pair(barres.at(i).r.y1, barres.at(i).r.y2), c.bandes.at(i)) << c.nom << " " << i;
            EXPECT_EQ(barres.at(i).chevauche, c.cadres.at(i)) << c.nom << " " << i;
            EXPECT_EQ(barres.at(i).r.x1, c.barres.at(i).r.x1) << c.nom;   // the days are kept
            // A click in the middle of its band opens that bar, not the other.
            const Rectangle& r = barres.at(i).r;
            const int x = std::max(r.x1, 0) + 1;
            const int trouvee = Grille::barreTouchee(barres, x, (r.y1 + r.y2) / 2);
            EXPECT_EQ(trouvee, i + 1) << c.nom << " " << i;
        }
    }
}

TEST(Grille, TextIsCentredInItsRow)
{
    struct Cas { int yLigne, hauteurLigne, hauteurTexte, haut; };
    const Cas cas[] = {{0, 20, 14, 3}, {40, 20, 15, 42}, {-20, 20, 20, -20}, {0, 20, 24, -2}};
    for (const Cas& c : cas)
        EXPECT_EQ(Grille::hautTexteCentre(c.yLigne, c.hauteurLigne, c.hauteurTexte), c.haut) << c.yLigne;
}

TEST(Grille, KeepingTheChosenItemInSight)
{
    struct Cas { qint64 premier, choisi, visibles, attendu; };
    const Cas cas[] = {
        {0, 0, 10, 0}, {0, 9, 10, 0},     // already shown
        {0, 10, 10, 1}, {0, 30, 10, 21},  // past the last: just enough
        {5, 4, 10, 4}, {5, -3, 10, -3},   // before the first: it becomes the first
        {0, 3, 0, 3},                     // no whole item: the chosen one first
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Grille::garderVisible(c.premier, c.choisi, c.visibles), c.attendu) << c.premier << " " << c.choisi;
}

TEST(Grille, TheBarInTheChosenCell)
{
    const QDate d(2007, 3, 25);
    auto barre = [&](int debut, int nuits, int yLigne, int sens = 1) {
        Requetes::ReservationPlanning l;
        l.reservation.debut = moment(d, debut, 14);
        l.reservation.fin = moment(d, debut + sens * nuits, 12);
        return Grille::barreDepuis(l, d, 20, 20, yLigne);
    };
    const QList<Grille::Barre> barres = {barre(2, 3, 0), barre(4, 3, 20), barre(9, 2, 20, -1)};
    struct Cas { int ligne, premiere, jour, attendu; };
    const Cas cas[] = {
        {0, 0, 2, 1}, {0, 0, 5, 1},   // arrival and departure days
        {0, 0, 1, 0}, {0, 0, 6, 0},
        {1, 0, 4, 2}, {1, 0, 2, 0},
        {2, 1, 5, 2},                 // scrolled one row: the second unit's row is on top
        {1, 0, 8, 0},                 // a stay ending before it starts is never found
    };
    for (const Cas& c : cas) {
        const Rectangle cel = Grille::cellule(c.ligne, c.premiere, d.addDays(c.jour), d, 20, 20);
        EXPECT_EQ(cel.x2 - cel.x1, 20);
        EXPECT_EQ(Grille::barreDansCellule(barres, cel), c.attendu) << c.ligne << " " << c.jour;
    }
}

TEST(Grille, AfterSavingTheGridMovesOnlyWhenTheStayIsOutOfSight)
{
    const QDate d(2007, 3, 15);
    struct Cas { int debut, fin; int jours; QDate attendu; };
    const Cas cas[] = {
        {2, 5, 23, d}, {-10, 1, 23, d},   // shown, or still there on the first day
        {22, 30, 23, d},                  // arrives on the last whole day
        {23, 30, 23, d.addDays(23)},      // just beyond: to its arrival
        {-10, -1, 23, d.addDays(-10)},    // left the day before the first
        {40, 38, 23, d.addDays(40)},      // ending before it starts counts its arrival
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Grille::jourApresEnregistrement(d, c.jours, moment(d, c.debut, 14), moment(d, c.fin, 12)),
                  c.attendu) << c.debut;
    EXPECT_EQ(Grille::jourApresEnregistrement(d, 23, QDateTime(), QDateTime()), d);
}

TEST(Grille, TextOverABar)
{
    const QDate d(2007, 3, 25);
    Requetes::ReservationPlanning l;
    l.reservation.nomclient = QStringLiteral("Dupont");
    l.reservation.debut = moment(d, 0, 14);
    l.reservation.fin = moment(d, 1, 12);
    l.reservation.nbadultes = 1;
    l.reservation.nbenfants = 3;
    l.etatTrouve = true;
    l.code = 2;
    l.nom = QStringLiteral("Option");
    const Grille::Barre b = Grille::barreDepuis(l, d, 20, 20, 0);
    struct Cas { std::optional<double> solde; const char* attendu; };
    const Cas cas[] = {
        {-75.5, "Dupont\nLogement : Chalet\nArrivée : 25/03/2007 14:00\nDépart : 26/03/2007 12:00\n1 nuit\n"
                "1 adulte, 3 enfants\nÉtat : 2 - Option\nSolde : "},
        {std::nullopt, "Solde : illisible"},
    };
    for (const Cas& c : cas) {
        const QString texte = Grille::infoBulle(b, QStringLiteral("Chalet"), c.solde);
        EXPECT_TRUE(texte.contains(QString::fromUtf8(c.attendu))) << texte.toStdString();
    }
    EXPECT_TRUE(Grille::infoBulle(b, QStringLiteral("Chalet"), -75.5).endsWith(Conversion::Monnaie(-75.5)));
}

TEST(Grille, TheLabelTakesTheColourThatReadsOnItsBar)
{
    struct Cas {
        qint32 bgr;
        QColor attendue;
    };
    const QColor blanc(255, 255, 255);
    const QColor noir(0, 0, 0);
    const Cas cas[] = {
        {0x3C14DC, blanc},   // "Confirmé"
        {0x00A5FF, noir},    // "Option": orange
        {0x808080, noir},    // "Fermé": grey, white would read at 3.9
        {0x000000, blanc},
        {0xFFFFFF, noir},
        {0xFF0000, blanc},   // blue
        {0x00FFFF, noir},    // yellow
        {0x008000, blanc},   // dark green
    };
    for (const Cas& c : cas) {
        const QColor choisie = Grille::couleurTexte(c.bgr);
        EXPECT_EQ(choisie, c.attendue) << std::hex << c.bgr;
        EXPECT_GE(Grille::contraste(choisie, Grille::couleurDepuisBGR(c.bgr)), 4.5) << std::hex << c.bgr;
    }
    EXPECT_NEAR(Grille::contraste(blanc, noir), 21.0, 1e-9);
    EXPECT_NEAR(Grille::contraste(noir, noir), 1.0, 1e-9);
}
