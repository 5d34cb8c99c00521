#pragma once
// Reservation numbers are never given twice. A deleted stay keeps its
// journal rows, its invoices keep its number, and the portals know its
// feed event by that number: a new stay that got it again would show the
// old stay's rows and balance. So a number once used stays used, through
// a copy to the other engine, a restored backup and a schema upgrade.
// Returns errors; shows nothing.
#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace Numeros {

// The highest reservation number the database ever gave or holds: its
// counter (SQLite's sqlite_sequence row, PostgreSQL's sequence), the
// reservations, the journal rows and the invoices. 0 for a database that
// never numbered anything; nullopt (and the reason) when it cannot be read.
std::optional<qint64> plusGrandUtilise(const QSqlDatabase& base, QString* erreur = nullptr);

// Makes the next reservation number given at least n + 1. Never lowers the
// counter: a database that is already past n is left as it is.
bool suivantApres(const QSqlDatabase& base, qint64 n, QString* erreur = nullptr);

// Raises the counter past every number the database holds (the schema
// upgrade's last step, after the reservations' table is rebuilt).
bool garderUtilises(const QSqlDatabase& base, QString* erreur = nullptr);

} // namespace Numeros
