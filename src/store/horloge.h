#pragma once
// The one source of the current date and time. Tests fix it so that no
// result depends on the real date.
#include <QDate>
#include <QDateTime>

namespace Horloge {

// Current local date and time, as a naive value (see Dates).
QDateTime maintenant();
QDate aujourdhui();

// Milliseconds on a steady counter, for lengths of time such as how long a
// button is held. While the clock is frozen it gives the frozen moment's
// milliseconds, so that tests move time by freezing a later moment.
qint64 millisecondes();

// Freezes the clock at the given moment (tests); liberer() lets it run again.
void fixer(const QDateTime& moment);
void liberer();

} // namespace Horloge
