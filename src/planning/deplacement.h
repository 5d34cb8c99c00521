#pragma once
// Plain geometry of the grid's direct manipulation: the cell under the
// pointer, the part of a bar a press takes, where a moved or stretched stay
// lands (whole days, its hours kept), its ghost's rectangle, the scrolling
// at the grid's edges, and the free nights a new stay may be drawn over.
#include "grille.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>

namespace Deplacement {

// The unit row (0 for the first unit) under y; rows above the grid are
// negative, rows below the last unit beyond it.
int ligneSous(int y, int premiereLigne, int hauteurLigne);
// The day under x.
QDate jourSous(int x, const QDate& datedepart, int largeurJour);

// The pixels at each end of a bar that stretch it instead of moving it.
inline constexpr int kBord = 5;
// How far the pointer moves from the press before a press on a bar drags it
// instead of opening it.
inline constexpr int kSeuil = 4;

enum class Prise { Aucune, Corps, Debut, Fin };
// What a press at (x, y) takes of a bar drawn in r: its first and last
// kBord pixels its arrival and departure (on a bar too narrow for both and
// a middle, each end a third of it), the rest the whole stay; nothing
// outside it or on a bar that ends before it starts.
Prise priseSur(const Grille::Rectangle& r, int x, int y);

// Whether the pointer went kSeuil pixels or more from the press.
bool seuilDepasse(QPoint appui, QPoint point);

// A stay as the grid places it: its unit row and its moments.
struct Sejour {
    int ligne = 0;
    QDateTime debut;
    QDateTime fin;
    bool operator==(const Sejour&) const = default;
};

// The stay once the pointer went `jours` days and `lignes` rows from the
// press: taken by its body it moves whole (its row kept among the
// `nbLignes` units); taken by an end, that end alone moves and at least one
// night stays. The hours never change.
Sejour appliquer(const Sejour& origine, Prise prise, qint64 jours, int lignes, int nbLignes);

// The rectangle of the ghost that shows where the stay goes, as its bar
// would be drawn there (its whole row's height).
Grille::Rectangle fantome(const Sejour& s, const QDate& datedepart, int premiereLigne, int largeurJour,
                          int hauteurLigne);

// While a drag is over the edge of the grid (within half a day's width of
// its left or right side, half a row of its top or bottom, or beyond), the
// grid scrolls one day or row a tick that way.
struct Pas {
    int jours = 0;    // -1 earlier days, 1 later ones
    int lignes = 0;   // -1 the rows above, 1 the rows below
    bool operator==(const Pas&) const = default;
};
Pas defilementAuBord(QPoint point, QSize grille, int largeurJour, int hauteurLigne);

// The nights of a row's stays: from the arrival's day to the day before
// the departure's.
struct Occupation {
    QDate arrivee;
    QDate depart;
};
// A new stay drawn from the night of `appui` towards the night of `pointe`:
// its arrival and nights, stopped before the first night taken by another
// stay of the row. Zero nights when `appui` itself is taken.
struct Trace {
    QDate arrivee;
    int nuits = 0;
    bool operator==(const Trace&) const = default;
};
Trace etendueLibre(const QList<Occupation>& occupees, const QDate& appui, const QDate& pointe);

// "Chalet 2 : du 05/08/2026 au 12/08/2026, 7 nuits": where a stay goes, as
// the pointer's text says it.
QString texteCible(const QString& unite, const QDate& arrivee, const QDate& depart);

// "Déplacement : Chalet 1 du 03/08/2026 au 10/08/2026 → Chalet 2 du
// 05/08/2026 au 12/08/2026": the journal row of a move or stretch made on
// the grid; `retour` for the undoing of one.
QString libelleJournal(const QString& uniteAvant, const QDate& arriveeAvant, const QDate& departAvant,
                       const QString& uniteApres, const QDate& arriveeApres, const QDate& departApres,
                       bool retour = false);

} // namespace Deplacement
