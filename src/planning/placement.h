#pragma once
// Where the grid goes to show one stay: its unit row in view and its
// arrival within the first third of the shown days.
#include <QDate>

namespace Placement {

struct Position {
    QDate datedepart;       // the grid's first day
    int premiereLigne = 0;  // the first unit row shown
};

// `colonnes`: days the grid shows; `ligne`: the unit's row (-1 when the
// unit is not in the grid: the rows stay); `lignesVisibles`: rows that fit;
// `premiereActuelle`: the first row shown now, kept when the row is in view.
Position versSejour(const QDate& arrivee, int colonnes, int ligne, int lignesVisibles, int premiereActuelle);

} // namespace Placement
