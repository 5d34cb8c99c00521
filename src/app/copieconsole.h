#pragma once
// Copying the whole database into another one from the command line
// (--copier-vers FILE|ADDRESS): an SQLite file to a PostgreSQL server or
// back, no window.
#include <QString>
#include <QTextStream>

namespace CopieConsole {

// Exit statuses of the copy.
enum Sortie : int {
    SortieOK = 0,          // every table copied; the counts are printed
    SortieSource = 1,      // the configured database does not open
    SortieNonVide = 2,     // the target already holds data (or is the source itself): nothing written
    SortieCible = 3,       // the target cannot be opened or created
    SortieEchec = 4,       // a row or the commit was refused: nothing written
};

// Copies the database named by the configuration of the program folder
// into `cible` (a file path, created when missing, or a postgresql://
// address of an existing, empty database).
int Copier(const QString& cible, QTextStream& sortie, QTextStream& erreurs);

} // namespace CopieConsole
