#include "indextelephones.h"

#include "base.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <cstdio>

namespace IndexTelephones {

namespace {

const char* const kTable = "RECHERCHE_TELEPHONES";
const char* const kIndexPostgres = "idx_reservations_telephone_trgm";

Dialecte::Moteur moteur(const QSqlDatabase& base)
{
    return Dialecte::estPostgres(base) ? Dialecte::Moteur::PostgreSQL : Dialecte::Moteur::SQLite;
}

using Base::executer;

// Undoes what the attempt did, keeping the caller's transaction alive.
Issue abandonner(const QSqlDatabase& base, Issue issue)
{
    executer(base, QStringLiteral("ROLLBACK TO SAVEPOINT index_telephones"), nullptr);
    executer(base, QStringLiteral("RELEASE SAVEPOINT index_telephones"), nullptr);
    return issue;
}

// SQLite: a table of its own rather than a second column of the words'
// index, since one full-text table has one tokenizer. It keeps its own copy
// of the digits (a dozen bytes a stay) so that the triggers delete a row by
// its number alone, as those of the words' index do, whatever the
// reservation held before.
Issue installerSQLite(const QSqlDatabase& base, QString* raison)
{
    const QString table = QLatin1String(kTable);
    const QString valeurs = QStringLiteral("new.NumeroReservation, %1").arg(Chiffres(QStringLiteral("new.telephone")));
    if (!executer(base, QStringLiteral("CREATE VIRTUAL TABLE IF NOT EXISTS %1 USING fts5(telephone, tokenize='trigram')")
                            .arg(table), raison)) {
        // No FTS5, or a library older than 3.34 (no trigram tokenizer).
        return abandonner(base, Issue::Indisponible);
    }
    const QString instructions[] = {
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS recherche_telephone_ajout AFTER INSERT ON RESERVATIONS BEGIN "
                       "INSERT INTO %1 (rowid, telephone) VALUES (%2); END").arg(table, valeurs),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS recherche_telephone_suppression AFTER DELETE ON RESERVATIONS BEGIN "
                       "DELETE FROM %1 WHERE rowid = old.NumeroReservation; END").arg(table),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS recherche_telephone_modification AFTER UPDATE OF NumeroReservation, "
                       "telephone ON RESERVATIONS BEGIN DELETE FROM %1 WHERE rowid = old.NumeroReservation; "
                       "INSERT INTO %1 (rowid, telephone) VALUES (%2); END").arg(table, valeurs),
        QStringLiteral("DELETE FROM %1").arg(table),
        QStringLiteral("INSERT INTO %1 (rowid, telephone) SELECT NumeroReservation, %2 FROM RESERVATIONS")
            .arg(table, Chiffres(QStringLiteral("telephone"))),
    };
    for (const QString& sql : instructions)
        if (!executer(base, sql, raison))
            return abandonner(base, Issue::Echec);
    return Issue::Installe;
}

// PostgreSQL: pg_trgm's GIN index on the digits of RESERVATIONS. The
// extension may already live in another schema of the database (made by
// its administrator): its operator class is named with that schema.
Issue installerPostgres(const QSqlDatabase& base, QString* raison)
{
    if (!executer(base, QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm"), raison))
        return abandonner(base, Issue::Indisponible);
    QSqlQuery q(base);
    if (!q.exec(QStringLiteral("SELECT n.nspname FROM pg_extension e JOIN pg_namespace n ON n.oid = e.extnamespace "
                               "WHERE e.extname = 'pg_trgm'")) || !q.next()) {
        if (raison)
            *raison = q.lastError().text().trimmed();
        return abandonner(base, Issue::Indisponible);
    }
    const QString schema = q.value(0).toString().replace(QLatin1Char('"'), QStringLiteral("\"\""));
    q.finish();
    if (!executer(base, QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON RESERVATIONS USING gin ((%2) \"%3\".gin_trgm_ops)")
                            .arg(QLatin1String(kIndexPostgres),
                                 Chiffres(QStringLiteral("telephone"), Dialecte::Moteur::PostgreSQL), schema), raison))
        return abandonner(base, Issue::Indisponible);
    return Issue::Installe;
}

} // namespace

QString Chiffres(const QString& colonne, Dialecte::Moteur moteur)
{
    QString e = QStringLiteral("coalesce(%1, '')").arg(colonne);
    for (const char* s : {" ", ".", "-", "/", "(", ")", "+"})
        e = QStringLiteral("replace(%1, '%2', '')").arg(e, QLatin1String(s));
    return QStringLiteral("replace(%1, %2(9), '')")
        .arg(e, moteur == Dialecte::Moteur::PostgreSQL ? QStringLiteral("chr") : QStringLiteral("char"));
}

Issue Installer(const QSqlDatabase& base, QString* raison)
{
    if (!executer(base, QStringLiteral("SAVEPOINT index_telephones"), raison))
        return Issue::Echec;
    const Issue issue = Dialecte::estPostgres(base) ? installerPostgres(base, raison) : installerSQLite(base, raison);
    if (issue == Issue::Installe && !executer(base, QStringLiteral("RELEASE SAVEPOINT index_telephones"), raison))
        return Issue::Echec;
    return issue;
}

bool InstallerSinonSignaler(const QSqlDatabase& base, QString* erreur)
{
    QString raison;
    switch (Installer(base, &raison)) {
    case Issue::Installe:
        return true;
    case Issue::Indisponible:
        std::fprintf(stderr, "Index des téléphones non créé (%s) : la recherche d'un numéro lira chaque téléphone.\n",
                     qPrintable(raison));
        return true;
    case Issue::Echec:
        break;
    }
    if (erreur)
        *erreur = raison;
    return false;
}

bool Present(const QSqlDatabase& base)
{
    if (Dialecte::estPostgres(base))
        return true;
    QSqlQuery q(base);
    q.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = :nom"));
    q.bindValue(QStringLiteral(":nom"), QLatin1String(kTable));
    return q.exec() && q.next();
}

QString Selection(const QSqlDatabase& base, bool present)
{
    if (present && !Dialecte::estPostgres(base))
        return QStringLiteral("SELECT rowid FROM %1 WHERE %1 MATCH :tel").arg(QLatin1String(kTable));
    // The very expression of the server's index, so that its planner uses it.
    return QStringLiteral("SELECT NumeroReservation FROM RESERVATIONS WHERE %1 LIKE :tel")
        .arg(Chiffres(QStringLiteral("telephone"), moteur(base)));
}

QString Condition(const QSqlDatabase& base, bool present, const QString& ligne)
{
    if (present && !Dialecte::estPostgres(base))
        return QStringLiteral("EXISTS (SELECT 1 FROM %1 WHERE %1 MATCH :tel AND rowid = %2.NumeroReservation)")
            .arg(QLatin1String(kTable), ligne);
    return QStringLiteral("%1 LIKE :tel").arg(Chiffres(ligne + QStringLiteral(".telephone"), moteur(base)));
}

QString Valeur(const QString& chiffres, const QSqlDatabase& base, bool present)
{
    // Digits only: nothing in them is syntax for MATCH or LIKE.
    if (present && !Dialecte::estPostgres(base))
        return QLatin1Char('"') + chiffres + QLatin1Char('"');
    return QLatin1Char('%') + chiffres + QLatin1Char('%');
}

} // namespace IndexTelephones
