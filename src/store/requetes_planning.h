#pragma once
// Statements of the calendar beyond the shared ones.
#include "requetes.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace RequetesPlanning {

// Makes sure the reservations can be found by unit and end, so that the
// calendar reads the stays of the shown period without walking through
// years of history. Creating it once on an older file is harmless; false
// (with the reason) when the file cannot take it, e.g. read-only.
bool indexerFins(const QSqlDatabase& base, QString* erreur = nullptr);

// The reservations of every unit of OBJETS for the shown period, in one
// statement: by unit, the same rows in the same order as
// Requetes::reservationsDeObjet(base, unit, avant, finApres) gives.
std::optional<QHash<qint32, QList<Requetes::ReservationPlanning>>> reservationsDuPlanning(
    const QSqlDatabase& base, const QDate& avant, const QDateTime& finApres, QString* erreur = nullptr);

} // namespace RequetesPlanning
