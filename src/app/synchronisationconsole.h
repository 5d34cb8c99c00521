#pragma once
// The reading of the portals' calendars from the command line
// (--synchroniser), for a cron job: no window, the configuration and the
// database opened as the start-up does.
#include <QTextStream>

namespace SynchronisationConsole {

// Exit statuses of the run.
enum Sortie : int {
    SortieOK = 0,           // every feed read, no double booking
    SortieBase = 1,         // the database could not be opened or the feeds listed
    SortieEchec = 2,        // a feed could not be fetched, read or stored (wins over 4)
    SortieConflits = 4,     // every feed read, and double bookings to settle
};

// One line per feed and the outcome on `sortie` (the conflicts included);
// the failures, with their reason, on `erreurs` too.
int Synchroniser(QTextStream& sortie, QTextStream& erreurs);

} // namespace SynchronisationConsole
