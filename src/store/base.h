#pragma once
// The database file: opening, schema (with its version), and the sample
// data of a demonstration folder. Returns errors; shows nothing.
#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace Base {

// Version of the schema this program writes (PRAGMA user_version).
constexpr int kVersionSchema = 11;

enum class Ouverture {
    Existante,       // the file must already be this program's database
    CreerSiAbsente,  // a missing file is created with the schema
};

// Opens the database file under the given connection name, with durable
// settings (write-ahead log on a local disk, rollback journal on a network
// share, synchronous=FULL: see Journalisation). A file that is missing
// (unless creation is allowed), a folder, not SQLite, without our tables,
// or of a newer schema gives nullopt and the reason in *erreur. Where
// creation is allowed, an empty (0-byte) file is treated as missing.
std::optional<QSqlDatabase> ouvrir(const QString& chemin, Ouverture mode,
                                   const QString& connexion, QString* erreur = nullptr);

// Closes the connection and opens the same file again under the same
// name, with the same settings and checks (after the file was replaced).
// Every copy of the connection's handle sees the reopened file.
bool rouvrir(const QSqlDatabase& base, QString* erreur = nullptr);

// Runs one statement of the schema; false with the database's message.
bool executer(const QSqlDatabase& base, const QString& sql, QString* erreur = nullptr);

// Refuses (or allows again) every write on this connection.
bool lectureSeule(const QSqlDatabase& base, bool oui);

// Creates the tables, the view, the indexes and the default states.
bool creerSchema(const QSqlDatabase& base, QString* erreur = nullptr);

// True when the database has no unit, no reservation and no article.
bool estVide(const QSqlDatabase& base);

// Sample units, articles and reservations around the given day.
bool remplirDemo(const QSqlDatabase& base, const QDate& aujourdhui, QString* erreur = nullptr);

} // namespace Base
