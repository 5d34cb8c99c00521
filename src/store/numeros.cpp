#include "numeros.h"

#include "dialecte.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <algorithm>

namespace Numeros {

namespace {

// Where a reservation's number is kept once the reservation is gone.
struct Colonne {
    const char* table;
    const char* colonne;
};
const Colonne kColonnes[] = {
    {"RESERVATIONS", "NumeroReservation"},
    {"OPERATIONS", "numeroreservation"},
    {"FACTURES", "reservation"},
};

// A reservation number is a 32-bit number from 1: anything else written in
// those columns (a text, 0, a number too large) numbers no reservation.
constexpr qint64 kPlusGrand = 2147483647;

bool echec(const QSqlQuery& q, QString* erreur)
{
    if (erreur) {
        const QString texte = q.lastError().databaseText().trimmed();
        *erreur = texte.isEmpty() ? q.lastError().text().trimmed() : texte;
    }
    return false;
}

// A server names the tables of another schema than "public" "schema.table".
bool contient(const QStringList& noms, const char* nom)
{
    for (const QString& n : noms)
        if (n.section(QLatin1Char('.'), -1).compare(QLatin1String(nom), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// The highest number the columns hold (an older file may lack a table).
std::optional<qint64> plusGrandTenu(const QSqlDatabase& base, QString* erreur)
{
    const QStringList tables = base.tables(QSql::Tables);
    QStringList parties;
    for (const Colonne& c : kColonnes)
        if (contient(tables, c.table))
            parties << QStringLiteral("SELECT CAST(%1 AS INTEGER) AS n FROM %2")
                           .arg(QLatin1String(c.colonne), QLatin1String(c.table));
    if (parties.isEmpty())
        return 0;
    QSqlQuery q(base);
    if (!q.exec(QStringLiteral("SELECT max(n) FROM (%1) AS u WHERE n BETWEEN 1 AND %2")
                    .arg(parties.join(QStringLiteral(" UNION ALL ")))
                    .arg(kPlusGrand))
        || !q.next()) {
        echec(q, erreur);
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

// SQLite: the counter of an AUTOINCREMENT table is its row of
// sqlite_sequence, found by the table's name exactly as it was created.
std::optional<QString> nomSQLite(const QSqlDatabase& base, QString* erreur)
{
    QSqlQuery q(base);
    if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND lower(name) = 'reservations'"))) {
        echec(q, erreur);
        return std::nullopt;
    }
    if (!q.next()) {
        if (erreur)
            *erreur = QStringLiteral("la table RESERVATIONS est absente");
        return std::nullopt;
    }
    return q.value(0).toString();
}

bool sequenceSQLitePresente(const QSqlDatabase& base)
{
    QSqlQuery q(base);
    return q.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = 'sqlite_sequence'")) && q.next();
}

std::optional<qint64> compteurSQLite(const QSqlDatabase& base, QString* erreur)
{
    const auto nom = nomSQLite(base, erreur);
    if (!nom)
        return std::nullopt;
    if (!sequenceSQLitePresente(base))
        return 0;
    QSqlQuery q(base);
    q.prepare(QStringLiteral("SELECT max(seq) FROM sqlite_sequence WHERE name = ?"));
    q.addBindValue(*nom);
    if (!q.exec() || !q.next()) {
        echec(q, erreur);
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

bool releverSQLite(const QSqlDatabase& base, qint64 n, QString* erreur)
{
    const auto nom = nomSQLite(base, erreur);
    if (!nom)
        return false;
    if (!sequenceSQLitePresente(base)) {
        if (erreur)
            *erreur = QStringLiteral("la table RESERVATIONS ne garde pas ses numéros (sans AUTOINCREMENT)");
        return false;
    }
    QSqlQuery q(base);
    q.prepare(QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE name = ? AND seq < ?"));
    q.addBindValue(n);
    q.addBindValue(*nom);
    q.addBindValue(n);
    if (!q.exec())
        return echec(q, erreur);
    q.prepare(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) "
                             "SELECT ?, ? WHERE NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = ?)"));
    q.addBindValue(*nom);
    q.addBindValue(n);
    q.addBindValue(*nom);
    return q.exec() || echec(q, erreur);
}

// PostgreSQL: the sequence behind the identity column.
std::optional<QString> sequencePostgres(const QSqlDatabase& base, QString* erreur)
{
    QSqlQuery q(base);
    if (!q.exec(QStringLiteral("SELECT pg_get_serial_sequence('reservations', 'numeroreservation')")) || !q.next()) {
        echec(q, erreur);
        return std::nullopt;
    }
    if (q.value(0).isNull()) {
        if (erreur)
            *erreur = QStringLiteral("la table RESERVATIONS n'a pas de séquence de numéros");
        return std::nullopt;
    }
    return q.value(0).toString();
}

// The last number the sequence gave (setval(…, false) has given none yet).
std::optional<qint64> compteurPostgres(const QSqlDatabase& base, const QString& sequence, QString* erreur)
{
    QSqlQuery q(base);
    if (!q.exec(QStringLiteral("SELECT CASE WHEN is_called THEN last_value ELSE last_value - 1 END FROM %1").arg(sequence))
        || !q.next()) {
        echec(q, erreur);
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

} // namespace

std::optional<qint64> plusGrandUtilise(const QSqlDatabase& base, QString* erreur)
{
    std::optional<qint64> compteur;
    if (Dialecte::estPostgres(base)) {
        if (const auto sequence = sequencePostgres(base, erreur))
            compteur = compteurPostgres(base, *sequence, erreur);
    } else {
        compteur = compteurSQLite(base, erreur);
    }
    if (!compteur)
        return std::nullopt;
    const auto tenu = plusGrandTenu(base, erreur);
    if (!tenu)
        return std::nullopt;
    return std::max(*compteur, *tenu);
}

bool suivantApres(const QSqlDatabase& base, qint64 n, QString* erreur)
{
    if (n < 1)
        return true;
    if (!Dialecte::estPostgres(base))
        return releverSQLite(base, n, erreur);
    const auto sequence = sequencePostgres(base, erreur);
    if (!sequence)
        return false;
    const auto compteur = compteurPostgres(base, *sequence, erreur);
    if (!compteur)
        return false;
    if (*compteur >= n)
        return true;
    QSqlQuery q(base);
    // The name comes from the server, already quoted as an identifier.
    QString nom = *sequence;
    nom.replace(QLatin1Char('\''), QStringLiteral("''"));
    q.prepare(QStringLiteral("SELECT setval('%1', ?, true)").arg(nom));
    q.addBindValue(n);
    return q.exec() || echec(q, erreur);
}

bool garderUtilises(const QSqlDatabase& base, QString* erreur)
{
    const auto n = plusGrandUtilise(base, erreur);
    return n && suivantApres(base, *n, erreur);
}

} // namespace Numeros
