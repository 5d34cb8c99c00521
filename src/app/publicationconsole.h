#pragma once
// The publication run from the command line (--publier), for a nightly job:
// no window at all, the configuration and the database opened as the
// start-up does, then every page and the upload script.
#include <QTextStream>

namespace Publication {

// Exit statuses of a run without a window.
enum Sortie : int {
    SortieOK = 0,          // every page written (the upload script started when present)
    SortieBase = 1,        // the database could not be opened
    SortieEchec = 2,       // a page, a query or a reservation's date failed: nothing sent
    SortieAucunObjet = 3,  // no unit in OBJETS: nothing written, nothing sent
};

// Runs the publication in the program folder. One line per unit on
// `sortie`, then the pages written, the folder and the upload; every failure
// with its reason on `erreurs`. `demo` fills a new, empty database with the
// sample data first, as the window start does.
int PublierSansFenetre(bool demo, QTextStream& sortie, QTextStream& erreurs);

} // namespace Publication
