#include "cumuls.h"

#include "base.h"
#include "dialecte.h"
#include "fragments_statistiques.h"
#include "requetes.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>

namespace Cumuls {

namespace {

using namespace FragmentsStatistiques;

// The days the sums cover, as stored dates compare.
const char* const kPremierJour = "'1900-01-01'";
const char* const kApresDernierJour = "'2200-01-01'";

// What marks a reservation (or a month of the journal rows without one) to
// be summed again; a mark already taken by a summing under way is given
// back, so that the change made meanwhile is summed next time.
QString marque(const QString& reservation, const QString& mois)
{
    return QStringLiteral("INSERT INTO CUMULS_A_REFAIRE (reservation, mois) VALUES (%1, %2)"
                          " ON CONFLICT (reservation, mois) DO UPDATE SET pris = 0")
        .arg(reservation, mois);
}

// The mark of a journal row R: its reservation, or 0 and its month.
QString marqueOperation(const char* r)
{
    return marque(QStringLiteral("coalesce(%1.numeroreservation, 0)").arg(QLatin1String(r)),
                  QStringLiteral("CASE WHEN coalesce(%1.numeroreservation, 0) = 0"
                                 " THEN coalesce(substr(%1.date, 1, 7), '') ELSE '' END")
                      .arg(QLatin1String(r)));
}

// The reservations of a unit U: whether their stay charges are spread
// over their nights depends on the unit being there.
QString marqueUnite(const char* u)
{
    return QStringLiteral("INSERT INTO CUMULS_A_REFAIRE (reservation, mois)"
                          " SELECT NumeroReservation, '' FROM RESERVATIONS WHERE objet = %1.Numero"
                          " ON CONFLICT (reservation, mois) DO UPDATE SET pris = 0")
        .arg(QLatin1String(u));
}

QStringList tablesSQLite()
{
    // Clustered by month and in the order of the monthly sums: a period
    // reads its months in a row, and sums them as it goes.
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS CUMULS_A_REFAIRE (reservation INTEGER NOT NULL, mois TEXT NOT NULL,"
                       " pris INTEGER NOT NULL DEFAULT 0, PRIMARY KEY (reservation, mois)) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS CUMULS_SEJOURS (mois TEXT NOT NULL, reservation INTEGER NOT NULL,"
                       " objet INTEGER, etat INTEGER, nuits INTEGER, adultes INTEGER, enfants INTEGER,"
                       " arrivees INTEGER, duree INTEGER, departs INTEGER, debiteurs INTEGER, du REAL,"
                       " sejour INTEGER, taxe INTEGER, PRIMARY KEY (mois, etat, reservation)) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS CUMULS_JOURNAL (mois TEXT NOT NULL, reservation INTEGER NOT NULL,"
                       " nature INTEGER NOT NULL, code TEXT NOT NULL, objet INTEGER, nombre INTEGER, total REAL,"
                       " PRIMARY KEY (mois, nature, code, reservation)) WITHOUT ROWID"),
    };
}

QStringList tablesPostgres()
{
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS CUMULS_A_REFAIRE (reservation BIGINT NOT NULL,"
                       " mois TEXT COLLATE \"C\" NOT NULL, pris INTEGER NOT NULL DEFAULT 0,"
                       " PRIMARY KEY (reservation, mois))"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS CUMULS_SEJOURS (mois TEXT COLLATE \"C\" NOT NULL,"
                       " reservation BIGINT NOT NULL, objet INTEGER, etat INTEGER, nuits INTEGER, adultes INTEGER,"
                       " enfants INTEGER, arrivees INTEGER, duree INTEGER, departs INTEGER, debiteurs INTEGER,"
                       " du DOUBLE PRECISION, sejour BIGINT, taxe BIGINT, PRIMARY KEY (mois, etat, reservation))"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS CUMULS_JOURNAL (mois TEXT COLLATE \"C\" NOT NULL,"
                       " reservation BIGINT NOT NULL, nature INTEGER NOT NULL, code TEXT COLLATE \"C\" NOT NULL,"
                       " objet INTEGER, nombre BIGINT, total DOUBLE PRECISION,"
                       " PRIMARY KEY (mois, nature, code, reservation))"),
    };
}

QStringList declencheursSQLite()
{
    const auto declencheur = [](const char* nom, const char* quand, const QStringList& corps) {
        return QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 %2 BEGIN %3; END")
            .arg(QLatin1String(nom), QLatin1String(quand), corps.join(QStringLiteral("; ")));
    };
    return {
        declencheur("cumuls_reservations_ajout", "AFTER INSERT ON RESERVATIONS",
                    {marque(QStringLiteral("NEW.NumeroReservation"), QStringLiteral("''"))}),
        declencheur("cumuls_reservations_modif", "AFTER UPDATE ON RESERVATIONS",
                    {marque(QStringLiteral("OLD.NumeroReservation"), QStringLiteral("''")),
                     marque(QStringLiteral("NEW.NumeroReservation"), QStringLiteral("''"))}),
        declencheur("cumuls_reservations_suppr", "AFTER DELETE ON RESERVATIONS",
                    {marque(QStringLiteral("OLD.NumeroReservation"), QStringLiteral("''"))}),
        declencheur("cumuls_operations_ajout", "AFTER INSERT ON OPERATIONS", {marqueOperation("NEW")}),
        declencheur("cumuls_operations_modif", "AFTER UPDATE ON OPERATIONS",
                    {marqueOperation("OLD"), marqueOperation("NEW")}),
        declencheur("cumuls_operations_suppr", "AFTER DELETE ON OPERATIONS", {marqueOperation("OLD")}),
        declencheur("cumuls_objets_ajout", "AFTER INSERT ON OBJETS", {marqueUnite("NEW")}),
        declencheur("cumuls_objets_modif", "AFTER UPDATE OF Numero ON OBJETS", {marqueUnite("OLD"), marqueUnite("NEW")}),
        declencheur("cumuls_objets_suppr", "AFTER DELETE ON OBJETS", {marqueUnite("OLD")}),
    };
}

QStringList declencheursPostgres()
{
    // One function per table; OLD is read only where there is one.
    const auto fonction = [](const char* nom, const QString& ancien, const QString& nouveau) {
        return QStringLiteral("CREATE OR REPLACE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                              "IF TG_OP <> 'INSERT' THEN %2; END IF; "
                              "IF TG_OP <> 'DELETE' THEN %3; END IF; "
                              "RETURN NULL; END $$")
            .arg(QLatin1String(nom), ancien, nouveau);
    };
    const auto declencheur = [](const char* nom, const char* quand, const char* fonction) {
        return QStringLiteral("CREATE OR REPLACE TRIGGER %1 AFTER %2 FOR EACH ROW EXECUTE FUNCTION %3()")
            .arg(QLatin1String(nom), QLatin1String(quand), QLatin1String(fonction));
    };
    return {
        fonction("cumuls_reservation", marque(QStringLiteral("OLD.NumeroReservation"), QStringLiteral("''")),
                 marque(QStringLiteral("NEW.NumeroReservation"), QStringLiteral("''"))),
        fonction("cumuls_operation", marqueOperation("OLD"), marqueOperation("NEW")),
        fonction("cumuls_objet", marqueUnite("OLD"), marqueUnite("NEW")),
        declencheur("cumuls_reservations", "INSERT OR UPDATE OR DELETE ON RESERVATIONS", "cumuls_reservation"),
        declencheur("cumuls_operations", "INSERT OR UPDATE OR DELETE ON OPERATIONS", "cumuls_operation"),
        declencheur("cumuls_objets", "INSERT OR UPDATE OF Numero OR DELETE ON OBJETS", "cumuls_objet"),
    };
}

QString jour(const QString& colonne)
{
    return QStringLiteral("julianday(substr(%1, 1, 10))").arg(colonne);
}

// What each reservation to sum gives each month: the parts (nights,
// arrival, departure, spread charges, charges of a cancellation) summed by
// reservation and month. The same rules as RequetesStatistiques's
// statements over the days from 1900 to 2199: a stay on a unit that is
// gone counts nothing.
QString sommeSejours(const QSqlDatabase& b)
{
    const QString d1 = QStringLiteral("julianday(%1)").arg(QLatin1String(kPremierJour));
    const QString d2 = QStringLiteral("julianday(%1)").arg(QLatin1String(kApresDernierJour));
    const auto max = [&](const QString& a, const QString& c) { return Dialecte::maximum(b, a, c); };
    const auto min = [&](const QString& a, const QString& c) { return Dialecte::minimum(b, a, c); };
    const auto moisSuivant = [&](const QString& j) { return Dialecte::debutMoisSuivant(b, j); };
    const QString dansLesJours = QStringLiteral(" >= %1 AND %2 < %3")
                                     .arg(QLatin1String(kPremierJour), QStringLiteral("%1"), QLatin1String(kApresDernierJour));
    const auto dans = [&](const QString& colonne) { return colonne + dansLesJours.arg(colonne); };
    // The part of c cents spread over n nights from j that falls on [d, f).
    const QString part = QStringLiteral("((c / n) * (f - d) + CASE WHEN c % n < 0 THEN -1 ELSE 1 END * %1)")
                             .arg(max(QStringLiteral("0"), min(QStringLiteral("f - j"), QStringLiteral("abs(c % n)"))
                                                              + QStringLiteral(" - (d - j)")));
    const QString taxe = QStringLiteral("CASE WHEN %1 THEN 1 ELSE 0 END").arg(QLatin1String(kPosteTaxe));
    return QStringLiteral(
        "WITH RECURSIVE"
        " r0(numero, objet, etat, jd, jf, ja, debut, fin, annulation, ad, en) AS ("
        "  SELECT r.NumeroReservation, r.objet, r.Etat, %1, %2, %3, r.DateDebut, r.DateFin, r.Annulation,"
        "   coalesce(r.nbadultes, 0), coalesce(r.nbenfants, 0)"
        "  FROM CUMULS_A_REFAIRE a CROSS JOIN RESERVATIONS r JOIN OBJETS o ON o.Numero = r.objet"
        "  WHERE a.pris = 1 AND a.mois = '' AND r.NumeroReservation = a.reservation),"
        // The nights of a standing stay, cut at the first of every month.
        " nuits(numero, ad, en, d, f, fin) AS ("
        "  SELECT numero, ad, en, %4, %5, %6 FROM r0 WHERE annulation IS NULL AND %6 > %4"
        "  UNION ALL SELECT numero, ad, en, f, %7, fin FROM nuits WHERE f < fin),"
        // Its stay charges by kind and VAT rate, in cents, over its nights.
        " postes(numero, j, n, taxe, c) AS ("
        "  SELECT r0.numero, r0.jd, CAST(r0.jf - r0.jd AS BIGINT), %8, CAST(round(-total(x.prix) * 100) AS BIGINT)"
        "  FROM r0 CROSS JOIN OPERATIONS x"
        "  WHERE x.numeroreservation = r0.numero AND r0.annulation IS NULL AND %9 AND x.prix <> 0"
        "  GROUP BY r0.numero, r0.jd, r0.jf, 4, coalesce(x.tauxtva, 0)),"
        " argent(numero, j, n, taxe, c, d, f, fin) AS ("
        "  SELECT numero, j, n, taxe, c, %10, %11, %12 FROM postes WHERE n > 0 AND c <> 0"
        "  UNION ALL SELECT numero, j, n, taxe, c, f, %7, fin FROM argent WHERE f < fin),"
        // The balance of a stay at its departure.
        " soldes(numero, mois, s) AS ("
        "  SELECT numero, substr(fin, 1, 7),"
        "   round((SELECT total(x.prix) FROM OPERATIONS x WHERE x.numeroreservation = r0.numero), 2)"
        "  FROM r0 WHERE annulation IS NULL AND jd IS NOT NULL AND jf IS NOT NULL AND %13),"
        " parts(numero, mois, nuits, adultes, enfants, arrivees, duree, departs, debiteurs, du, sejour, taxe) AS ("
        "  SELECT numero, %14, f - d, (f - d) * ad, (f - d) * en, 0, 0, 0, 0, 0, 0, 0 FROM nuits WHERE f > d"
        "  UNION ALL SELECT numero, substr(debut, 1, 7), 0, 0, 0, 1, %15, 0, 0, 0, 0, 0"
        "  FROM r0 WHERE annulation IS NULL AND jd IS NOT NULL AND jf IS NOT NULL AND %16"
        "  UNION ALL SELECT numero, mois, 0, 0, 0, 0, 0, 1, CASE WHEN s < 0 THEN 1 ELSE 0 END,"
        "   CASE WHEN s < 0 THEN -s ELSE 0 END, 0, 0 FROM soldes"
        "  UNION ALL SELECT numero, %14, 0, 0, 0, 0, 0, 0, 0, 0, CASE WHEN taxe = 0 THEN %17 ELSE 0 END,"
        "   CASE WHEN taxe = 1 THEN %17 ELSE 0 END FROM argent WHERE f > d"
        // What stays posted on a cancelled stay counts on its cancellation.
        "  UNION ALL SELECT r0.numero, substr(r0.annulation, 1, 7), 0, 0, 0, 0, 0, 0, 0, 0,"
        "   round(-total(CASE WHEN %8 = 0 THEN x.prix ELSE 0 END) * 100),"
        "   round(-total(CASE WHEN %8 = 1 THEN x.prix ELSE 0 END) * 100)"
        "  FROM r0 CROSS JOIN OPERATIONS x"
        "  WHERE x.numeroreservation = r0.numero AND r0.annulation IS NOT NULL AND r0.ja IS NOT NULL AND %18"
        "  AND %9 AND x.prix <> 0 GROUP BY r0.numero, r0.annulation)"
        " INSERT INTO CUMULS_SEJOURS (mois, reservation, objet, etat, nuits, adultes, enfants, arrivees, duree,"
        "  departs, debiteurs, du, sejour, taxe)"
        " SELECT p.mois, p.numero, r0.objet, r0.etat, total(p.nuits), total(p.adultes), total(p.enfants),"
        "  total(p.arrivees), total(p.duree), total(p.departs), total(p.debiteurs), total(p.du),"
        "  total(p.sejour), total(p.taxe)"
        " FROM parts p JOIN r0 ON r0.numero = p.numero GROUP BY p.mois, p.numero, r0.objet, r0.etat")
        .arg(jour(QStringLiteral("r.DateDebut")), jour(QStringLiteral("r.DateFin")), jour(QStringLiteral("r.Annulation")),
             max(QStringLiteral("jd"), d1), min(min(QStringLiteral("jf"), d2), moisSuivant(max(QStringLiteral("jd"), d1))),
             min(QStringLiteral("jf"), d2), min(QStringLiteral("fin"), moisSuivant(QStringLiteral("f"))), taxe,
             posteSejour(b))
        .arg(max(QStringLiteral("j"), d1),
             min(min(QStringLiteral("j + n"), d2), moisSuivant(max(QStringLiteral("j"), d1))),
             min(QStringLiteral("j + n"), d2), dans(QStringLiteral("fin")), Dialecte::moisDuJour(b, QStringLiteral("d")),
             max(QStringLiteral("0"), QStringLiteral("jf - jd")), dans(QStringLiteral("debut")), part,
             dans(QStringLiteral("r0.annulation")));
}

// The journal rows of the reservations to sum (`parReservation`), or of
// the months to sum of the rows without one, by month, kind and code. The
// stay charges that CUMULS_SEJOURS spreads are left out, as in
// RequetesStatistiques::journal().
QString sommeJournal(const QSqlDatabase& b, const Prefixes& prefixes, bool parReservation, QVariantList* valeurs)
{
    const QString choix = parReservation
        ? QStringLiteral("a.mois = '' AND a.reservation <> 0 AND x.numeroreservation = a.reservation")
        : QStringLiteral("a.reservation = 0 AND a.mois <> '' AND substr(x.date, 1, 7) = a.mois"
                         " AND coalesce(x.numeroreservation, 0) = 0");
    return QStringLiteral(
        "INSERT INTO CUMULS_JOURNAL (mois, reservation, nature, code, objet, nombre, total)"
        " SELECT substr(x.date, 1, 7), coalesce(x.numeroreservation, 0), %1,"
        "  CASE WHEN %2 THEN upper(trim(x.paiement)) ELSE '' END, coalesce(r.objet, 0), count(*), total(x.prix)"
        " FROM CUMULS_A_REFAIRE a CROSS JOIN OPERATIONS x"
        " LEFT JOIN RESERVATIONS r ON r.NumeroReservation = x.numeroreservation"
        " LEFT JOIN OBJETS o ON o.Numero = r.objet"
        " WHERE a.pris = 1 AND %3 AND x.date IS NOT NULL AND x.prix <> 0"
        " AND NOT coalesce(%4 AND o.Numero IS NOT NULL AND %5, %6)"
        " GROUP BY 1, 2, 3, 4, 5")
        .arg(casNature(prefixes, RequetesStatistiques::kNatureEncaissement, valeurs), QLatin1String(kEstEncaissement),
             choix, posteSejour(b), etaleOuAnnule(), Dialecte::faux(b));
}

bool executer(const QSqlDatabase& base, const QString& sql, const QVariantList& valeurs, QString* erreur)
{
    QSqlQuery q(base);
    // PostgreSQL prepares no transaction statement.
    if (valeurs.isEmpty())
        return Base::executer(base, sql, erreur);
    if (!q.prepare(sql))
        return Requetes::Rapporter(q, erreur);
    for (const QVariant& v : valeurs)
        q.addBindValue(v);
    return q.exec() || Requetes::Rapporter(q, erreur);
}

} // namespace

QStringList InstructionsSchema(Dialecte::Moteur moteur)
{
    const bool postgres = moteur == Dialecte::Moteur::PostgreSQL;
    // A reservation's rows are found again to be replaced.
    const QStringList index = {
        RequetesStatistiques::InstructionIndexIllisibles(),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_cumuls_sejours_reservation ON CUMULS_SEJOURS(reservation)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_cumuls_journal_reservation ON CUMULS_JOURNAL(reservation)"),
    };
    return (postgres ? tablesPostgres() : tablesSQLite()) + index
        + (postgres ? declencheursPostgres() : declencheursSQLite());
}

QStringList ToutARefaire()
{
    // "WHERE true" tells SQLite that ON CONFLICT is the upsert's.
    const QString conflit = QStringLiteral(" ON CONFLICT (reservation, mois) DO UPDATE SET pris = 0");
    return {
        QStringLiteral("INSERT INTO CUMULS_A_REFAIRE (reservation, mois) SELECT NumeroReservation, ''"
                       " FROM RESERVATIONS WHERE true") + conflit,
        QStringLiteral("INSERT INTO CUMULS_A_REFAIRE (reservation, mois)"
                       " SELECT DISTINCT coalesce(numeroreservation, 0),"
                       "  CASE WHEN coalesce(numeroreservation, 0) = 0 THEN substr(date, 1, 7) ELSE '' END"
                       " FROM OPERATIONS WHERE date IS NOT NULL OR coalesce(numeroreservation, 0) <> 0") + conflit,
    };
}

QDate PremierMois()
{
    return QDate(1900, 1, 1);
}

QDate DernierMois()
{
    return QDate(2199, 12, 1);
}

bool MettreAJour(const QSqlDatabase& base, const RequetesStatistiques::Prefixes& prefixes, QString* erreur)
{
    {
        QSqlQuery q(base);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT 1 FROM CUMULS_A_REFAIRE LIMIT 1")))
            return Requetes::Rapporter(q, erreur);
        if (!q.next())
            return true;
    }
    for (const QString& sql : Dialecte::debutEcriture(base))
        if (!executer(base, sql, {}, erreur))
            return false;
    QVariantList valeursReservations;
    QVariantList valeursMois;
    const QString journalReservations = sommeJournal(base, prefixes, true, &valeursReservations);
    const QString journalMois = sommeJournal(base, prefixes, false, &valeursMois);
    const QList<QPair<QString, QVariantList>> etapes = {
        // The marks present now are taken; those written meanwhile stay.
        {QStringLiteral("UPDATE CUMULS_A_REFAIRE SET pris = 1"), {}},
        {QStringLiteral("DELETE FROM CUMULS_SEJOURS WHERE reservation IN"
                        " (SELECT reservation FROM CUMULS_A_REFAIRE WHERE pris = 1 AND mois = '')"), {}},
        {sommeSejours(base), {}},
        {QStringLiteral("DELETE FROM CUMULS_JOURNAL WHERE reservation IN (SELECT reservation FROM CUMULS_A_REFAIRE"
                        " WHERE pris = 1 AND mois = '' AND reservation <> 0)"), {}},
        {QStringLiteral("DELETE FROM CUMULS_JOURNAL WHERE reservation = 0 AND mois IN (SELECT mois FROM CUMULS_A_REFAIRE"
                        " WHERE pris = 1 AND reservation = 0)"), {}},
        {journalReservations, valeursReservations},
        {journalMois, valeursMois},
        {QStringLiteral("DELETE FROM CUMULS_A_REFAIRE WHERE pris = 1"), {}},
    };
    for (const auto& [sql, valeurs] : etapes) {
        if (!executer(base, sql, valeurs, erreur)) {
            executer(base, QStringLiteral("ROLLBACK"), {}, nullptr);
            return false;
        }
    }
    if (!executer(base, QStringLiteral("COMMIT"), {}, erreur)) {
        executer(base, QStringLiteral("ROLLBACK"), {}, nullptr);
        return false;
    }
    return true;
}

namespace {

qint64 entier(const QVariant& v)
{
    return qint64(std::llround(v.toDouble()));
}

// The sums of the months m1 to m2 grouped by `groupe`, with `colonnes`, of
// the units of the category when one is asked (the unit is read only then).
QString somme(const char* table, const QString& colonnes, const QString& groupe, const QString& condition,
              bool categorie)
{
    return QStringLiteral("SELECT %1, %2 FROM %3 c%4 WHERE c.mois >= ? AND c.mois <= ?%5%6 GROUP BY %1")
        .arg(groupe, colonnes, QLatin1String(table),
             categorie ? QStringLiteral(" JOIN OBJETS o ON o.Numero = c.objet") : QString(),
             categorie ? QStringLiteral(" AND coalesce(o.Categorie, '') = ?") : QString(),
             condition.isEmpty() ? QString() : QStringLiteral(" AND ") + condition);
}

bool lire(QSqlQuery& q, const QString& sql, const QDate& premier, const QDate& dernier,
          const std::optional<QString>& categorie, QString* erreur)
{
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        return Requetes::Rapporter(q, erreur);
    q.addBindValue(premier.toString(QStringLiteral("yyyy-MM")));
    q.addBindValue(dernier.toString(QStringLiteral("yyyy-MM")));
    if (categorie)
        q.addBindValue(*categorie);
    return q.exec() || Requetes::Rapporter(q, erreur);
}

// The states counted as sold; a state that is not in the table is not.
std::optional<QSet<qint32>> etatsVendus(const QSqlDatabase& base, QString* erreur)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT Code FROM ETATS WHERE coalesce(Vendu, 1) <> 0"))) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QSet<qint32> vendus;
    while (q.next())
        vendus.insert(q.value(0).toInt());
    return vendus;
}

} // namespace

std::optional<Sommes> Lire(const QSqlDatabase& base, const QDate& premier, const QDate& dernier,
                           const std::optional<QString>& categorie, bool parUnite, QString* erreur)
{
    namespace R = RequetesStatistiques;
    const auto vendus = etatsVendus(base, erreur);
    if (!vendus)
        return std::nullopt;
    Sommes s;
    // The stays, by state: their nights, arrivals and departures count in
    // a sold state, their charges in any.
    const QString sejours = QStringLiteral(
        "total(c.nuits), total(c.adultes), total(c.enfants), total(c.arrivees), total(c.duree), total(c.departs),"
        " total(c.debiteurs), total(c.du), total(c.sejour), total(c.taxe)");
    for (const bool mensuel : {true, false}) {
        if (!mensuel && !parUnite)
            break;
        QSqlQuery q(base);
        const QString groupe = mensuel ? QStringLiteral("c.mois, c.etat") : QStringLiteral("c.objet, c.etat");
        if (!lire(q, somme("CUMULS_SEJOURS", sejours, groupe, QString(), categorie.has_value()), premier, dernier,
                  categorie, erreur))
            return std::nullopt;
        while (q.next()) {
            R::Nuits n;
            n.objet = R::kSansUnite;
            if (mensuel)
                n.mois = q.value(0).toString();
            else
                n.objet = q.value(0).toInt();
            n.etat = q.value(1).toInt();
            for (const bool taxe : {false, true}) {
                const qint64 centimes = entier(q.value(taxe ? 11 : 10));
                if (centimes != 0)
                    s.etalees.append({n.mois, n.objet, taxe, double(centimes) / 100.0});
            }
            if (!vendus->contains(n.etat))
                continue;
            n.nuits = entier(q.value(2));
            n.nuitsAdultes = entier(q.value(3));
            n.nuitsEnfants = entier(q.value(4));
            if (n.nuits != 0 || n.nuitsAdultes != 0 || n.nuitsEnfants != 0)
                s.nuits.append(n);
            if (!mensuel)
                continue;
            s.arrivees.nombre += entier(q.value(5));
            s.arrivees.nuits += entier(q.value(6));
            s.soldes.sejours += entier(q.value(7));
            s.soldes.debiteurs += entier(q.value(8));
            s.soldes.du += q.value(9).toDouble();
        }
    }
    // The journal; the rows of a reservation gone count only without a
    // category (their unit is 0).
    for (const bool mensuel : {true, false}) {
        if (!mensuel && !parUnite)
            break;
        QSqlQuery q(base);
        const QString sql = mensuel
            ? somme("CUMULS_JOURNAL", QStringLiteral("sum(c.nombre), total(c.total)"),
                    QStringLiteral("c.mois, c.nature, c.code"), QString(), categorie.has_value())
            : somme("CUMULS_JOURNAL", QStringLiteral("sum(c.nombre), total(c.total)"), QStringLiteral("c.objet"),
                    QStringLiteral("c.nature <> %1").arg(R::kNatureEncaissement), categorie.has_value());
        if (!lire(q, sql, premier, dernier, categorie, erreur))
            return std::nullopt;
        while (q.next()) {
            R::Journal j;
            j.objet = R::kSansUnite;
            if (mensuel) {
                j.mois = q.value(0).toString();
                j.nature = q.value(1).toInt();
                j.code = q.value(2).toString();
                j.nombre = q.value(3).toLongLong();
                j.total = q.value(4).toDouble();
            } else {
                j.objet = q.value(0).toInt();
                j.nombre = q.value(1).toLongLong();
                j.total = q.value(2).toDouble();
            }
            s.journal.append(j);
        }
    }
    return s;
}

} // namespace Cumuls
