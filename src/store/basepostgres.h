#pragma once
// The database on a PostgreSQL server, for several desks: opening from a
// `postgresql://` address, and the same tables and meanings as the SQLite
// file, created on an empty database and upgraded at start under a lock,
// so that two desks starting together do not both do it.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

namespace BasePostgres {

// The channel every write is announced on ("<TABLE>:<number>").
inline constexpr char kCanal[] = "planning";

// Opens the database of the address under the given connection name.
// A server that cannot be reached, a refused login, a database holding
// other tables than ours, or of a newer schema: nullopt and the reason.
std::optional<QSqlDatabase> ouvrir(const QString& adresse, const QString& connexion, QString* erreur = nullptr);

// The settings of every connection (after it opened or reopened); empty
// when all went well, else the reason.
QString regler(const QSqlDatabase& base);

// The statements that create the schema of the current version.
QStringList instructionsSchema();

// The schema's version (the table schema_version); -1 when unreadable.
int versionSchema(const QSqlDatabase& base);

} // namespace BasePostgres
