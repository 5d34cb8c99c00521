#pragma once
// Whether a start shows the welcome page: an owner who starts the program
// on a new, empty database is told where to begin, until he has something
// in it or ticks "Ne plus afficher".
#include <QString>

namespace Accueil {

// demo: the start was asked with --demo; baseVide: no unit, reservation
// or account row in the database.
bool AMontrer(bool demo, bool baseVide, const QString& cheminINI);
// Stores the box "Ne plus afficher" ([accueil] ne plus afficher = 1 or 0).
void NePlusAfficher(const QString& cheminINI, bool nePlus);

} // namespace Accueil
