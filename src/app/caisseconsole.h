#pragma once
// The day's cash report from the command line (--caisse AAAA-MM-JJ), for a
// nightly e-mail: no window, the configuration and the database opened as
// the start-up does, the report printed as text.
#include <QString>
#include <QTextStream>

namespace CaisseConsole {

// Exit statuses of the run.
enum Sortie : int {
    SortieOK = 0,       // the report was printed
    SortieBase = 1,     // the database could not be opened or read
    SortieDate = 2,     // the day is not a date AAAA-MM-JJ
};

// Prints the report of `jour` ("2026-12-09") on `sortie`; every failure
// with its reason, in French, on `erreurs`.
int ImprimerCaisse(const QString& jour, QTextStream& sortie, QTextStream& erreurs);

} // namespace CaisseConsole
