#pragma once
// The one source of the current date and time. Tests fix it so that no
// result depends on the real date.
#include <QDate>
#include <QDateTime>

namespace Horloge {

// Current local date and time, as a naive value (see Dates).
QDateTime maintenant();
QDate aujourdhui();

// Freezes the clock at the given moment (tests); liberer() lets it run again.
void fixer(const QDateTime& moment);
void liberer();

} // namespace Horloge
