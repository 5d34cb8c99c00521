#include "dialecte.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace Dialecte {

namespace {

const QLatin1String kSchemas[] = {QLatin1String("postgresql://"), QLatin1String("postgres://")};

// Every desk's writes that must see a steady database take this one lock
// (PostgreSQL advisory lock, released at commit), as SQLite's BEGIN
// IMMEDIATE takes the file's. The lock is the schema's: the planning's
// tables of one schema are written under it, those of another schema of
// the same database (another establishment) are not held up by it.
constexpr qint64 kVerrouEcriture = 0x706c616e6e696e67;   // "planning"

} // namespace

bool estPostgres(const QSqlDatabase& base)
{
    return base.driverName() == QLatin1String("QPSQL");
}

bool estAdresse(const QString& valeur)
{
    const QString v = valeur.trimmed();
    for (const QLatin1String& s : kSchemas)
        if (v.startsWith(s, Qt::CaseInsensitive))
            return true;
    return false;
}

std::optional<Adresse> lireAdresse(const QString& valeur, QString* erreur)
{
    auto refus = [&](const QString& raison) -> std::optional<Adresse> {
        if (erreur)
            *erreur = raison;
        return std::nullopt;
    };
    if (!estAdresse(valeur))
        return refus(QStringLiteral("ce n'est pas une adresse postgresql://"));
    const QUrl url(valeur.trimmed(), QUrl::StrictMode);
    if (!url.isValid())
        return refus(QStringLiteral("adresse illisible"));
    Adresse a;
    a.utilisateur = url.userName(QUrl::FullyDecoded);
    a.motDePasse = url.password(QUrl::FullyDecoded);
    a.hote = url.host(QUrl::FullyDecoded);
    a.port = url.port(-1);
    a.base = url.path(QUrl::FullyDecoded);
    if (a.base.startsWith(QLatin1Char('/')))
        a.base.remove(0, 1);
    if (a.base.isEmpty() || a.base.contains(QLatin1Char('/')))
        return refus(QStringLiteral("l'adresse ne nomme pas de base (postgresql://hôte/base)"));
    QStringList options;
    for (const auto& [cle, val] : QUrlQuery(url).queryItems(QUrl::FullyDecoded))
        options << cle + QLatin1Char('=') + val;
    a.options = options.join(QLatin1Char(';'));
    return a;
}

QString masquer(const QString& valeur)
{
    if (!estAdresse(valeur))
        return valeur;
    // Cut by hand rather than through QUrl, so that even an address QUrl
    // refuses never shows its password: the one after "user:", and one
    // given as an option ("?password=…").
    QString v = valeur.trimmed();
    const int debut = v.indexOf(QLatin1String("://")) + 3;
    int fin = v.indexOf(QLatin1Char('/'), debut);
    if (fin < 0)
        fin = v.size();
    const int arobase = v.lastIndexOf(QLatin1Char('@'), fin - 1);
    const int deuxPoints = v.indexOf(QLatin1Char(':'), debut);
    if (arobase >= debut && deuxPoints >= 0 && deuxPoints < arobase)
        v = v.left(deuxPoints + 1) + QStringLiteral("****") + v.mid(arobase);
    static const QRegularExpression option(QStringLiteral("([?&]password=)[^&]*"),
                                           QRegularExpression::CaseInsensitiveOption);
    v.replace(option, QStringLiteral("\\1****"));
    return v;
}

QString sansIndex(const QSqlDatabase& base)
{
    return estPostgres(base) ? QString() : QStringLiteral("+");
}

QString retourNumero(const QSqlDatabase& base, const QString& colonne)
{
    return estPostgres(base) ? QStringLiteral(" RETURNING ") + colonne : QString();
}

std::optional<qint64> numeroInsere(QSqlQuery& requete)
{
    // A statement ending with RETURNING gives the number as its one row.
    if (requete.isSelect()) {
        if (!requete.next())
            return std::nullopt;
        return requete.value(0).toLongLong();
    }
    const QVariant id = requete.lastInsertId();
    if (!id.isValid())
        return std::nullopt;
    return id.toLongLong();
}

QString nomCanonique(const QString& nom)
{
    static const char* const kNoms[] = {"NumeroReservation", "DateDebut", "DateFin", "NomObjet", "Etat",
        "UidExterne", "Code", "Nom", "CouleurPrincipale", "Numero", "NomInternet", "FichierPlanningHTML",
        "Categorie", "Vendu", "Famille", "Libelle", "prixTTC", "tauxTVA", "PremierJour", "DernierJour", "PrixNuit",
        "PrixAdulte", "PrixEnfant", "Annee", "Sequence", "derniereLecture", "dernierResultat"};
    for (const char* n : kNoms)
        if (nom.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return QLatin1String(n);
    return nom;
}

QStringList debutEcriture(const QSqlDatabase& base)
{
    if (!estPostgres(base))
        return {QStringLiteral("BEGIN IMMEDIATE")};
    // The connection waits kAttenteMs for any lock (set when it opened).
    return {QStringLiteral("BEGIN"),
            QStringLiteral("SELECT pg_advisory_xact_lock(hashtextextended(current_schema(), %1))").arg(kVerrouEcriture)};
}

bool estOccupee(const QString& codeNatif)
{
    // PostgreSQL's codes have five characters: lock_not_available,
    // deadlock_detected, serialization_failure.
    if (codeNatif.size() == 5)
        return codeNatif == QLatin1String("55P03") || codeNatif == QLatin1String("40P01")
            || codeNatif == QLatin1String("40001");
    // SQLite: SQLITE_BUSY (5) and SQLITE_LOCKED (6), possibly extended (5 + 256 n).
    bool nombre = false;
    const int code = codeNatif.toInt(&nombre);
    return nombre && ((code & 0xFF) == 5 || (code & 0xFF) == 6);
}

QString parametre(const QSqlDatabase& base, const QString& type)
{
    return estPostgres(base) ? QStringLiteral("CAST(? AS %1)").arg(type) : QStringLiteral("?");
}

QString booleen(const QSqlDatabase& base, const QString& entier)
{
    return estPostgres(base) ? QStringLiteral("(%1 <> 0)").arg(entier) : entier;
}

QString nombre(const QSqlDatabase& base, const QString& condition)
{
    return estPostgres(base) ? QStringLiteral("CAST(%1 AS INTEGER)").arg(condition) : condition;
}

QString faux(const QSqlDatabase& base)
{
    return estPostgres(base) ? QStringLiteral("false") : QStringLiteral("0");
}

namespace {

QString extreme(const QSqlDatabase& base, const QString& a, const QString& b, bool grand)
{
    if (!estPostgres(base))
        return QStringLiteral("%1(%2, %3)").arg(grand ? QStringLiteral("max") : QStringLiteral("min"), a, b);
    return QStringLiteral("CASE WHEN (%2) IS NULL OR (%3) IS NULL THEN NULL ELSE %1(%2, %3) END")
        .arg(grand ? QStringLiteral("greatest") : QStringLiteral("least"), a, b);
}

} // namespace

QString maximum(const QSqlDatabase& base, const QString& a, const QString& b)
{
    return extreme(base, a, b, true);
}

QString minimum(const QSqlDatabase& base, const QString& a, const QString& b)
{
    return extreme(base, a, b, false);
}

namespace {

// On PostgreSQL, a Julian day as a date (the day it falls in: a Julian day
// begins at noon, a civil day half a day earlier), and a date as the
// Julian day of its midnight; 2000-01-01 is day 2451545.
QString dateDuJour(const QString& jour)
{
    return QStringLiteral("(DATE '2000-01-01' + (CAST(floor(%1 + 0.5) AS INTEGER) - 2451545))").arg(jour);
}

QString jourDeDate(const QString& date)
{
    return QStringLiteral("(CAST(%1 - DATE '2000-01-01' AS DOUBLE PRECISION) + 2451544.5)").arg(date);
}

} // namespace

QString debutMoisSuivant(const QSqlDatabase& base, const QString& jour)
{
    if (!estPostgres(base))
        return QStringLiteral("julianday(date(%1, 'start of month', '+1 month'))").arg(jour);
    return jourDeDate(QStringLiteral("CAST(date_trunc('month', CAST(%1 AS TIMESTAMP)) + INTERVAL '1 month' AS DATE)")
                          .arg(dateDuJour(jour)));
}

QString moisDuJour(const QSqlDatabase& base, const QString& jour)
{
    if (!estPostgres(base))
        return QStringLiteral("strftime('%Y-%m', %1)").arg(jour);
    return QStringLiteral("to_char(%1, 'YYYY-MM')").arg(dateDuJour(jour));
}

QStringList copieSilencieuse(const QSqlDatabase& base)
{
    if (!estPostgres(base))
        return {};
    return {QStringLiteral("SET LOCAL planning.silence = 'on'")};
}

QStringList lectureFigee(const QSqlDatabase& base)
{
    if (!estPostgres(base))
        return {};
    return {QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY")};
}

QString numeroterApres(const QSqlDatabase& base, const QString& table, const QString& colonne)
{
    if (!estPostgres(base))
        return {};
    // is_called false: the next number given is exactly max + 1 (1 on an empty table).
    return QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), coalesce(max(%2), 0) + 1, false) FROM %1")
        .arg(table.toLower(), colonne.toLower());
}

QString pasUneDate(const QSqlDatabase& base, const QString& colonne)
{
    if (estPostgres(base))
        return colonne + QStringLiteral(" !~ '^[0-9]{4}-[0-9]{2}-[0-9]{2}'");
    return colonne + QStringLiteral(" NOT GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]*'");
}

} // namespace Dialecte
