#pragma once
// The writes of the reservation window that belong together: a reservation
// and its journal row are stored in one transaction, or neither is.
#include "requetes.h"

#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <optional>

namespace RequetesReservation {

// What a caller writes with the reservation in the same transaction, once
// its row is written (the stay's charges): given the reservation's number,
// false with the reason undoes the whole save.
using Ensuite = std::function<bool(qint32 numero, QString* erreur)>;

// Appends the reservation and the journal row (amount 0, no payment code,
// the given wording) carrying the number the database gave it. Returns that
// number, or nullopt with the database's message when nothing was stored.
// With `acceptes` (the overlapping reservations the user agreed to), the
// overlaps are read again under the write lock: one that was not accepted
// (another desk booked meanwhile) stores nothing and sets *nouveau.
// `ensuite`, when given, runs last inside the transaction.
std::optional<qint32> creer(const QSqlDatabase& base, const Requetes::Reservation& r,
                            const QString& libelle, QString* erreur = nullptr,
                            const QList<qint32>* acceptes = nullptr, bool* nouveau = nullptr,
                            const Ensuite& ensuite = {});

// What a desk is told when the reservation it shows was written or deleted
// by another desk since it was read.
QString MessageModifieeAilleurs();

// Rewrites reservation r.numero and appends its journal row. False with the
// reason when nothing was stored (also when the reservation no longer exists).
// With `conflit`, the row is written only if its version is still r.version;
// otherwise *conflit is set, nothing is written and the reason says so.
// `ensuite`, when given, runs last inside the transaction.
bool modifier(const QSqlDatabase& base, const Requetes::Reservation& r,
              const QString& libelle, QString* erreur = nullptr, bool* conflit = nullptr,
              const QList<qint32>* acceptes = nullptr, bool* nouveau = nullptr,
              const Ensuite& ensuite = {});

// Deletes one reservation and appends its journal row (amount 0, no payment
// code, the given wording); its earlier journal rows stay. Returns the number
// of rows removed: 0 when it was already gone, and then no journal row is
// written; nullopt with the message when nothing was done.
// With `versionLue`, a reservation written by another desk since it was read
// is not deleted: nullopt, *conflit set and the reason. `avant`, when given,
// runs in the same transaction before the row goes (false: nothing done).
std::optional<int> supprimer(const QSqlDatabase& base, qint32 numero, const QString& libelle,
                             QString* erreur = nullptr, std::optional<qint32> versionLue = std::nullopt,
                             bool* conflit = nullptr, const std::function<bool()>& avant = {});

} // namespace RequetesReservation
