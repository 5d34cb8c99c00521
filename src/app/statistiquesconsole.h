#pragma once
// The figures of a period from the command line
// (--statistiques AAAA-MM-JJ AAAA-MM-JJ [--csv FILE]): no window, the
// configuration and the database opened as the start-up does; the main
// figures printed as text, or the tables written as CSV.
#include <QString>
#include <QTextStream>

namespace StatistiquesConsole {

// Exit statuses of the run.
enum Sortie : int {
    SortieOK = 0,        // printed, or the CSV written
    SortieBase = 1,      // the database could not be opened or read
    SortiePeriode = 2,   // a date is not AAAA-MM-JJ, the start is after the end, or the period is too long
    SortieFichier = 3,   // the CSV file could not be written
};

// `csv` empty: print the figures on `sortie`. Otherwise write the summary,
// the months and the units as one CSV file and say where on `sortie`.
int Executer(const QString& debut, const QString& fin, const QString& csv, QTextStream& sortie,
             QTextStream& erreurs);

} // namespace StatistiquesConsole
