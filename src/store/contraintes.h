#pragma once
// What the database itself refuses, whichever program writes to it: a stay
// without unit, state or dates, on a unit or in a state that does not
// exist, with a negative count of people, a date that is no date
// (AAAA-MM-JJ, optionally followed by a time) or a departure before its
// arrival; a journal row without a readable date. The rows of an older
// file that break these rules are kept as they are, and listed once when
// the file is brought to the schema that has them.
#include "dialecte.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

namespace Contraintes {

// The stays' and the journal's tables rebuilt with their rules (SQLite
// cannot add a rule to a table): every row copied as it is, the numbers of
// the journal rows kept, the indexes, triggers and views of both tables
// made again. The reservations' counter starts again from the rows: the
// caller keeps the numbers used (Numeros). Inside the caller's
// transaction; foreign keys must be off on the connection meanwhile.
bool appliquerSQLite(const QSqlDatabase& base, QString* erreur);

// The same rules on a server's tables. `existantes`: rows already there
// are not checked (they stay as they are), only new writes are.
QStringList instructionsPostgres(bool existantes);

// The rows that break the rules, one line of text each ("réservation n° 12 :
// logement 999 inconnu"); empty when all hold or the tables cannot be read.
QStringList lignesHorsRegles(const QSqlDatabase& base);

// Writes the rows that break the rules on standard error, with one line
// saying they are kept.
void signalerHorsRegles(const QSqlDatabase& base);

// The French text of a write refused by one of the rules; empty when the
// error is not such a refusal.
QString texteRefus(const QSqlError& erreur);

} // namespace Contraintes
