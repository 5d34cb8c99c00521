#pragma once
// The two database engines the program runs on, and what differs between
// them: an SQLite file for one desk, a PostgreSQL server for several. The
// statements of the store are written once; the few words that differ (the
// planner's hints, the write lock, the search index, the schema's types)
// are asked here, so that no window ever knows which engine it talks to.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <optional>

namespace Dialecte {

enum class Moteur { SQLite, PostgreSQL };

bool estPostgres(const QSqlDatabase& base);

// The parts of `postgresql://[user[:password]@]host[:port]/dbname[?options]`.
// Empty parts are left to libpq's environment (PGHOST, PGUSER, PGPASSWORD…).
struct Adresse {
    QString utilisateur;
    QString motDePasse;
    QString hote;
    int port = -1;         // -1: libpq's default
    QString base;
    QString options;       // "key=value;key=value" for the driver (sslmode…)
};

// True when the `[system] database=` value names a server, not a file.
bool estAdresse(const QString& valeur);
// The parts of an address; nullopt (and the reason in French) when it is not one.
std::optional<Adresse> lireAdresse(const QString& valeur, QString* erreur = nullptr);
// The address as it may be shown: the password replaced by "****". A file
// path comes back unchanged.
QString masquer(const QString& valeur);

// The hint that keeps SQLite's planner off an index ("+"); PostgreSQL has
// no such hint (and no unary plus on texts).
QString sansIndex(const QSqlDatabase& base);
// What ends an INSERT whose new number is wanted (" RETURNING <colonne>"
// on PostgreSQL, nothing on SQLite), and that number once it ran.
QString retourNumero(const QSqlDatabase& base, const QString& colonne);
std::optional<qint64> numeroInsere(QSqlQuery& requete);

// A column's name as the schema spells it (PostgreSQL gives them in lower
// case): "nomobjet" -> "NomObjet". Unknown names come back unchanged.
QString nomCanonique(const QString& nom);

// The statements that open a transaction which takes the write lock at once
// (what it reads cannot change before it commits; another desk's write waits
// up to kAttenteMs, then fails as "occupée").
QStringList debutEcriture(const QSqlDatabase& base);

// How long a write waits for another desk (milliseconds): SQLite's busy
// timeout, PostgreSQL's lock_timeout.
constexpr int kAttenteMs = 5000;

// True when the error says the other desk held the database too long
// (SQLite busy or locked; PostgreSQL lock timeout, deadlock, serialization).
bool estOccupee(const QString& codeNatif);

// A placeholder of the given SQL type ("TEXT", "INTEGER"): PostgreSQL
// takes a bare `?` whose type it cannot infer as text.
QString parametre(const QSqlDatabase& base, const QString& type);
// An integer expression read as a truth value (SQLite takes it as it is),
// and a truth value counted as 0 or 1.
QString booleen(const QSqlDatabase& base, const QString& entier);
QString nombre(const QSqlDatabase& base, const QString& condition);
// The false value, where a truth value is expected.
QString faux(const QSqlDatabase& base);

// The larger/smaller of two values, Null when either is Null as with
// SQLite's max(a, b) (PostgreSQL's greatest and least pass over a Null).
QString maximum(const QSqlDatabase& base, const QString& a, const QString& b);
QString minimum(const QSqlDatabase& base, const QString& a, const QString& b);

// The figures count days as Julian days (SQLite's julianday(), which the
// PostgreSQL schema defines too, Null for an unreadable text). Of such a
// number `jour`: the Julian day of the first of the next month, and its
// month as "yyyy-MM".
QString debutMoisSuivant(const QSqlDatabase& base, const QString& jour);
QString moisDuJour(const QSqlDatabase& base, const QString& jour);

// What a whole database's copy says after it opened its transaction on the
// target: on PostgreSQL that the announcements to the other desks stay
// quiet (the copy is not a desk's write); nothing on SQLite.
QStringList copieSilencieuse(const QSqlDatabase& base);

// What a reading of the whole database says first inside its transaction,
// so that every table is read at the same moment (SQLite's transaction
// already reads one snapshot).
QStringList lectureFigee(const QSqlDatabase& base);

// The statement that sets the next number of a numbered column past the
// highest one of its table (PostgreSQL's identity sequence); empty on
// SQLite, whose numbering follows the rows already there.
QString numeroterApres(const QSqlDatabase& base, const QString& table, const QString& colonne);

// A condition true when the text of `colonne` does not begin as a date
// "YYYY-MM-DD" (SQLite's GLOB, PostgreSQL's regular expression).
QString pasUneDate(const QSqlDatabase& base, const QString& colonne);

} // namespace Dialecte
