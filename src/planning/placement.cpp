#include "placement.h"

#include <algorithm>

namespace Placement {

Position versSejour(const QDate& arrivee, int colonnes, int ligne, int lignesVisibles, int premiereActuelle)
{
    Position p;
    // The arrival halfway into the first third: the days before it show too.
    p.datedepart = arrivee.addDays(-std::max(0, colonnes) / 6);
    p.premiereLigne = std::max(0, premiereActuelle);
    if (ligne < 0)
        return p;
    const int visibles = std::max(1, lignesVisibles);
    if (ligne >= p.premiereLigne && ligne < p.premiereLigne + visibles)
        return p;
    // A row out of view comes into the upper third of the rows.
    p.premiereLigne = std::max(0, ligne - (visibles - 1) / 3);
    return p;
}

} // namespace Placement
