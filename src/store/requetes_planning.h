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

// The reservations of every unit of OBJETS for the shown period, in one
// statement: by unit, the same rows in the same order as
// Requetes::reservationsDeObjet(base, unit, avant, finApres) gives.
std::optional<QHash<qint32, QList<Requetes::ReservationPlanning>>> reservationsDuPlanning(
    const QSqlDatabase& base, const QDate& avant, const QDateTime& finApres, QString* erreur = nullptr);

// A mark that changes whenever the database's rows may have changed, by this
// connection or by any other; nullopt when the engine gives none (the
// calendar then reads everything again at each refresh).
std::optional<QString> versionDonnees(const QSqlDatabase& base);

} // namespace RequetesPlanning
