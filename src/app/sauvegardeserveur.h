#pragma once
// The backups of a database on a PostgreSQL server: the start's slot holds
// what `pg_dump --format=custom` writes, and such a file is restored with
// `pg_restore`, program closed (the program does not replace a server's
// database under the other desks).
#include "store/dialecte.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace SauvegardeServeur {

// The extension of a server's backup ("planning_7.dump").
inline constexpr char kExtension[] = ".dump";

// The name the slots of a server's database are made from: its database
// name and ".dump" ("planning.dump" gives "planning_7.dump").
QString NomBase(const Dialecte::Adresse& adresse);

// The connection string given to pg_dump/pg_restore: every part of the
// address but the password, which goes in the environment (PGPASSWORD),
// never on a command line others can read.
QString ChaineConnexion(const Dialecte::Adresse& adresse);
QStringList ArgumentsPgDump(const Dialecte::Adresse& adresse, const QString& fichier);
QProcessEnvironment Environnement(const Dialecte::Adresse& adresse);

// pg_dump found on the PATH; empty when it is not installed.
QString CheminPgDump();

// Writes the server's database into `cible` with pg_dump: first under a
// temporary name beside it, renamed over `cible` once pg_dump succeeded,
// so that `cible` is always the older backup or a complete one. False and
// the reason (pg_dump's own message included) otherwise.
bool Sauvegarder(const QString& adresse, const QString& cible, QString* erreur);

// What the user is told when asking to restore a server's backup: the
// pg_restore command line for `fichier` (without the password), and when
// the server's database has given reservation numbers up to
// `numerosDonnes`, the psql line that keeps the restored database from
// giving them again.
QString MessageRestauration(const QString& adresse, const QString& fichier, qint64 numerosDonnes = 0);

} // namespace SauvegardeServeur
