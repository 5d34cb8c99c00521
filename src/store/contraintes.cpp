#include "contraintes.h"

#include "base.h"

#include <QSqlQuery>
#include <QVariant>
#include <cstdio>

namespace Contraintes {

namespace {

using Dialecte::Moteur;

// A date as the program writes it, "2026-12-09" or "2026-12-09 14:00:00"
// (an older "2026-12-09T14:00:00.000" too), month and day in range.
QString estDate(Moteur moteur, const QString& colonne)
{
    const QString forme = moteur == Moteur::PostgreSQL
        ? QStringLiteral("%1 ~ '^[0-9]{4}-[01][0-9]-[0-3][0-9]([ T][0-2][0-9]:[0-5][0-9].*)?$'")
        : QStringLiteral("(%1 GLOB '[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]' "
                         "OR %1 GLOB '[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9][ T][0-2][0-9]:[0-5][0-9]*')");
    return QStringLiteral("(%1 AND substr(%2, 6, 2) BETWEEN '01' AND '12' AND substr(%2, 9, 2) BETWEEN '01' AND '31')")
        .arg(forme.arg(colonne), colonne);
}

struct Regle {
    const char* table;
    const char* nom;
    const char* texte;   // what the refusal says, after "Refusé par la base : "
    // The condition a row must meet, for the given engine.
    QString (*condition)(Moteur);
};

const Regle kRegles[] = {
    {"RESERVATIONS", "sejour_logement", "la réservation n'a pas de logement",
     [](Moteur) { return QStringLiteral("objet IS NOT NULL"); }},
    {"RESERVATIONS", "sejour_etat", "la réservation n'a pas d'état",
     [](Moteur) { return QStringLiteral("Etat IS NOT NULL"); }},
    {"RESERVATIONS", "sejour_personnes", "un nombre de personnes est négatif",
     [](Moteur) { return QStringLiteral("nbadultes >= 0 AND nbenfants >= 0"); }},
    {"RESERVATIONS", "sejour_dates", "l'arrivée, le départ ou la date limite n'est pas une date (AAAA-MM-JJ)",
     [](Moteur m) {
         return QStringLiteral("DateDebut IS NOT NULL AND DateFin IS NOT NULL AND %1 AND %2 AND (datelimite IS NULL OR %3)")
             .arg(estDate(m, QStringLiteral("DateDebut")), estDate(m, QStringLiteral("DateFin")),
                  estDate(m, QStringLiteral("datelimite")));
     }},
    {"RESERVATIONS", "sejour_ordre", "le départ est avant l'arrivée",
     [](Moteur) { return QStringLiteral("replace(DateFin, 'T', ' ') >= replace(DateDebut, 'T', ' ')"); }},
    {"OPERATIONS", "operation_date", "la date de l'opération n'est pas une date (AAAA-MM-JJ)",
     [](Moteur m) { return QStringLiteral("date IS NOT NULL AND %1").arg(estDate(m, QStringLiteral("date"))); }},
};

struct Lien {
    const char* nom;
    const char* colonne;
    const char* parent;
    const char* cle;
    const char* texte;
};

const Lien kLiens[] = {
    {"sejour_logement_existe", "objet", "OBJETS", "Numero", "le logement"},
    {"sejour_etat_existe", "Etat", "ETATS", "Code", "l'état"},
};

// How a rule is written in a table's definition (and after "ADD").
QString definition(const Regle& r, Moteur moteur)
{
    return QStringLiteral("CONSTRAINT %1 CHECK (%2)").arg(QLatin1String(r.nom), r.condition(moteur));
}

QString definition(const Lien& k)
{
    return QStringLiteral("CONSTRAINT %1 FOREIGN KEY (%2) REFERENCES %3 (%4)")
        .arg(QLatin1String(k.nom), QLatin1String(k.colonne), QLatin1String(k.parent), QLatin1String(k.cle));
}

QString clauses(const char* table, Moteur moteur)
{
    QStringList l;
    for (const Regle& r : kRegles)
        if (qstrcmp(r.table, table) == 0)
            l << definition(r, moteur);
    if (qstrcmp(table, "RESERVATIONS") == 0)
        for (const Lien& k : kLiens)
            l << definition(k);
    return l.join(QStringLiteral(", "));
}

// The columns of the stays and of the journal in this version; a column an
// older file has beyond them is kept too.
const char* const kColonnesReservations =
    "NumeroReservation INTEGER PRIMARY KEY AUTOINCREMENT, objet INTEGER, nomclient TEXT, DateDebut TEXT, "
    "DateFin TEXT, arrhes REAL, datelimite TEXT, Etat INTEGER, nbadultes INTEGER, nbenfants INTEGER, "
    "remarque TEXT, telephone TEXT, email TEXT, UidExterne TEXT, version INTEGER DEFAULT 0";
const char* const kColonnesOperations =
    "numeroreservation INTEGER, date TEXT, prix REAL, paiement TEXT, libelle TEXT, tauxtva REAL";

using Base::executer;

struct Colonne {
    QString nom;
    QString type;
};

QList<Colonne> colonnes(const QSqlDatabase& base, const QString& table)
{
    QList<Colonne> l;
    QSqlQuery q(base);
    if (q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
        while (q.next())
            l.append({q.value(1).toString(), q.value(2).toString()});
    return l;
}

// One table made again with its rules. `rowid`: the table has no column of
// its own that numbers its rows, whose numbers must survive all the same.
bool reconstruire(const QSqlDatabase& base, const QString& table, const QString& definition, bool rowid,
                  QString* erreur)
{
    const QList<Colonne> anciennes = colonnes(base, table);
    QStringList noms, suite;
    for (const QString& d : definition.split(QStringLiteral(", ")))
        noms << d.section(QLatin1Char(' '), 0, 0).toLower();
    QStringList copiees;
    for (const Colonne& c : anciennes) {
        if (!noms.contains(c.nom.toLower()))
            suite << QStringLiteral("%1 %2").arg(c.nom, c.type);
        copiees << c.nom;
    }
    QStringList dependants;   // its indexes and triggers, made again afterwards
    {
        QSqlQuery q(base);
        q.prepare(QStringLiteral("SELECT sql FROM sqlite_master WHERE type IN ('index', 'trigger') "
                                 "AND lower(tbl_name) = lower(?) AND sql IS NOT NULL"));
        q.addBindValue(table);
        if (!q.exec()) {
            if (erreur)
                *erreur = q.lastError().text();
            return false;
        }
        while (q.next())
            dependants << q.value(0).toString();
    }
    const QString nouvelle = table + QStringLiteral("_regles");
    QStringList colonnesNouvelles = {definition};
    colonnesNouvelles << suite;
    const QString liste = copiees.join(QStringLiteral(", "));
    const QString numero = rowid ? QStringLiteral("rowid, ") : QString();
    const QStringList etapes = {
        QStringLiteral("CREATE TABLE %1 (%2, %3)").arg(nouvelle, colonnesNouvelles.join(QStringLiteral(", ")),
                                                       clauses(qPrintable(table), Moteur::SQLite)),
        QStringLiteral("INSERT INTO %1 (%2%3) SELECT %2%3 FROM %4").arg(nouvelle, numero, liste, table),
        QStringLiteral("DROP TABLE %1").arg(table),
        QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(nouvelle, table),
    };
    for (const QString& sql : etapes)
        if (!executer(base, sql, erreur))
            return false;
    for (const QString& sql : std::as_const(dependants))
        if (!executer(base, sql, erreur))
            return false;
    return true;
}

} // namespace

bool appliquerSQLite(const QSqlDatabase& base, QString* erreur)
{
    // The views read the rebuilt tables: made again after them.
    QStringList vues;
    {
        QSqlQuery q(base);
        if (!q.exec(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'view'"))) {
            if (erreur)
                *erreur = q.lastError().text();
            return false;
        }
        QStringList noms;
        while (q.next()) {
            noms << q.value(0).toString();
            vues << q.value(1).toString();
        }
        for (const QString& nom : std::as_const(noms))
            if (!executer(base, QStringLiteral("DROP VIEW %1").arg(nom), erreur))
                return false;
    }
    // The rows already there are copied as they are, rules or not.
    executer(base, QStringLiteral("PRAGMA ignore_check_constraints = ON"), nullptr);
    const bool fait = reconstruire(base, QStringLiteral("RESERVATIONS"), QLatin1String(kColonnesReservations), false, erreur)
        && reconstruire(base, QStringLiteral("OPERATIONS"), QLatin1String(kColonnesOperations), true, erreur);
    executer(base, QStringLiteral("PRAGMA ignore_check_constraints = OFF"), nullptr);
    if (!fait)
        return false;
    for (const QString& sql : std::as_const(vues))
        if (!executer(base, sql, erreur))
            return false;
    return true;
}

QStringList instructionsPostgres(bool existantes)
{
    const QString suite = existantes ? QStringLiteral(" NOT VALID") : QString();
    QStringList l;
    // A rule already there (an upgrade run again) is set anew.
    if (existantes) {
        for (const Regle& r : kRegles)
            l << QStringLiteral("ALTER TABLE %1 DROP CONSTRAINT IF EXISTS %2").arg(QLatin1String(r.table), QLatin1String(r.nom));
        for (const Lien& k : kLiens)
            l << QStringLiteral("ALTER TABLE RESERVATIONS DROP CONSTRAINT IF EXISTS %1").arg(QLatin1String(k.nom));
    }
    for (const Regle& r : kRegles)
        l << QStringLiteral("ALTER TABLE %1 ADD %2%3")
                 .arg(QLatin1String(r.table), definition(r, Moteur::PostgreSQL), suite);
    for (const Lien& k : kLiens)
        l << QStringLiteral("ALTER TABLE RESERVATIONS ADD %1%2").arg(definition(k), suite);
    return l;
}

QStringList lignesHorsRegles(const QSqlDatabase& base)
{
    const Moteur moteur = Dialecte::estPostgres(base) ? Moteur::PostgreSQL : Moteur::SQLite;
    QStringList lignes;
    QSqlQuery q(base);
    for (const Regle& r : kRegles) {
        const bool sejour = qstrcmp(r.table, "RESERVATIONS") == 0;
        const QString sql = sejour
            ? QStringLiteral("SELECT NumeroReservation, 0 FROM RESERVATIONS WHERE (%1) IS FALSE ORDER BY 1")
            : QStringLiteral("SELECT rowid, numeroreservation FROM OPERATIONS WHERE (%1) IS FALSE ORDER BY 1");
        if (!q.exec(sql.arg(r.condition(moteur))))
            continue;
        while (q.next())
            lignes << (sejour ? QStringLiteral("réservation n° %1 : %2").arg(q.value(0).toLongLong())
                                    .arg(QString::fromUtf8(r.texte))
                              : QStringLiteral("ligne %1 du journal (réservation n° %2) : %3")
                                    .arg(q.value(0).toLongLong()).arg(q.value(1).toLongLong())
                                    .arg(QString::fromUtf8(r.texte)));
    }
    for (const Lien& k : kLiens) {
        if (!q.exec(QStringLiteral("SELECT r.NumeroReservation, r.%1 FROM RESERVATIONS r WHERE r.%1 IS NOT NULL "
                                   "AND NOT EXISTS (SELECT 1 FROM %2 p WHERE p.%3 = r.%1) ORDER BY 1")
                        .arg(QLatin1String(k.colonne), QLatin1String(k.parent), QLatin1String(k.cle))))
            continue;
        while (q.next())
            lignes << QStringLiteral("réservation n° %1 : %2 %3 n'existe pas")
                          .arg(q.value(0).toLongLong()).arg(QString::fromUtf8(k.texte)).arg(q.value(1).toLongLong());
    }
    return lignes;
}

void signalerHorsRegles(const QSqlDatabase& base)
{
    const QStringList lignes = lignesHorsRegles(base);
    if (lignes.isEmpty())
        return;
    for (const QString& l : lignes)
        std::fprintf(stderr, "Hors des règles de la base : %s\n", qPrintable(l));
    std::fprintf(stderr, "%d ligne%s hors des règles gardée%s telle%s quelle%s ; "
                         "corrigez-les dans le programme (les nouvelles écritures sont contrôlées).\n",
                 int(lignes.size()), lignes.size() > 1 ? "s" : "", lignes.size() > 1 ? "s" : "",
                 lignes.size() > 1 ? "s" : "", lignes.size() > 1 ? "s" : "");
}

QString texteRefus(const QSqlError& erreur)
{
    const QString texte = erreur.databaseText() + QLatin1Char(' ') + erreur.driverText();
    for (const Regle& r : kRegles)
        if (texte.contains(QLatin1String(r.nom)))
            return QStringLiteral("Refusé par la base : %1.").arg(QString::fromUtf8(r.texte));
    // A unit or state still in use (or one that does not exist): the server
    // names the rule, SQLite does not.
    const bool suppression = texte.contains(QLatin1String("update or delete on table"));
    for (const Lien& k : kLiens)
        if (texte.contains(QLatin1String(k.nom)))
            return suppression
                ? QStringLiteral("Refusé par la base : %1 est encore celui d'une réservation.").arg(QString::fromUtf8(k.texte))
                : QStringLiteral("Refusé par la base : %1 choisi n'existe pas.").arg(QString::fromUtf8(k.texte));
    if (texte.contains(QLatin1String("FOREIGN KEY constraint failed")))
        return QStringLiteral("Refusé par la base : le logement ou l'état n'existe pas, ou est encore celui d'une réservation.");
    return QString();
}

} // namespace Contraintes
