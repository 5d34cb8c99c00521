#pragma once
// Copies and checks of an SQLite database taken through SQLite itself, so
// that a copy is a consistent snapshot even while another connection
// writes. Returns errors; shows nothing.
#include "dialecte.h"

#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace CopieBase {

// What PRAGMA quick_check (or integrity_check) said.
// A check that could not run (the file held by another program longer than
// the connection waits, a read error) is neither sound nor damaged.
struct Controle {
    bool saine = false;
    bool endommagee = false;   // the check ran, or SQLite read the file, and found damage
    bool occupee = false;      // another program held the file: not checked
    QString premiereLigne;     // "ok", the first complaint, or why the check could not run
};

// Runs the check on an opened database. `complet` runs integrity_check,
// which also compares every index with its table (slower).
Controle controler(const QSqlDatabase& base, bool complet = false);

// The first line worth showing of a check's first row: SQLite prefixes
// the first complaint with "*** in database main ***".
QString premiereLigne(const QString& resultat);

// Writes a snapshot of the database to `cible` with VACUUM INTO: first
// under a temporary name beside it, flushed to disk, then renamed over
// `cible`, so that `cible` is always either the older file or a complete
// snapshot. The snapshot is one file in rollback-journal mode, whatever the
// database's mode: it needs no log beside it. *occupee tells a failure
// because another program held the database.
bool copier(const QSqlDatabase& base, const QString& cible, QString* erreur = nullptr, bool* occupee = nullptr);

// A plain SQLite connection of its own on a file (no schema check, no
// upgrade), for a worker thread or a backup file. `lectureSeule` never
// writes to the file. A statement that finds the file held by another
// program waits up to `attenteMs` (the desks' usual wait), then fails.
std::optional<QSqlDatabase> ouvrir(const QString& chemin, const QString& connexion, bool lectureSeule,
                                   QString* erreur = nullptr, int attenteMs = Dialecte::kAttenteMs);
// Closes and forgets a connection opened by ouvrir().
void fermer(const QString& connexion);

// A fresh connection name for a thread's own connection.
QString nouvelleConnexion(const QString& prefixe);

// True when the database is an SQLite file (the only kind these copies serve).
bool estSQLite(const QSqlDatabase& base);

// Flushes a file (or a folder's entries) to disk.
bool synchroniser(const QString& chemin);

// The temporary name a copy is written under beside its target ("/.<name>.tmp").
QString nomProvisoire(const QString& cible);
// Puts a finished copy in place: flushes `provisoire`, renames it over
// `cible` in one step and flushes the folder. A log and its index left
// beside `cible` ("-wal", "-shm") belong to the older file: they go first,
// so that SQLite never applies them to the new one. On failure the
// temporary file is removed, the target left as it was, and the reason given.
bool mettreEnPlace(const QString& provisoire, const QString& cible, QString* erreur = nullptr);

} // namespace CopieBase
