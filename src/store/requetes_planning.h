#pragma once
// Statements of the calendar beyond the shared ones.
#include <QSqlDatabase>
#include <QString>

namespace RequetesPlanning {

// Makes sure the reservations can be found by unit and end, so that the
// calendar reads the stays of the shown period without walking through
// years of history. Creating it once on an older file is harmless; false
// (with the reason) when the file cannot take it, e.g. read-only.
bool indexerFins(const QSqlDatabase& base, QString* erreur = nullptr);

} // namespace RequetesPlanning
