#include "requetes_statistiques.h"

#include "dates.h"
#include "dialecte.h"
#include "fragments_statistiques.h"
#include "requetes.h"

#include <QMap>
#include <QSqlQuery>
#include <cmath>
#include <tuple>

namespace RequetesStatistiques {

namespace {

using namespace FragmentsStatistiques;

// The period and the filter, given once to every statement as a one-row
// table `p`: d1 the first day, d2 the day after the last, as sortable text
// (a stored "2026-03-01 14:00:00" is after "2026-03-01").
// `toutes` is true when no category is asked.
QString parametres(const QSqlDatabase& b)
{
    const QString texte = Dialecte::parametre(b, QStringLiteral("TEXT"));
    return QStringLiteral("p(d1, d2, toutes, cat) AS (SELECT %1, %1, %2, %1)")
        .arg(texte, Dialecte::booleen(b, Dialecte::parametre(b, QStringLiteral("INTEGER"))));
}

// A reservation whose dates cannot be read, or fall outside 1900…2199
// (the condition of the index idx_reservations_illisibles, word for word).
// `table` is the reservations' name in the statement ("r.", or "" in the
// index).
QString illisible(const QString& table)
{
    return QStringLiteral("(julianday(substr(%1DateDebut, 1, 10)) IS NULL OR julianday(substr(%1DateFin, 1, 10)) IS NULL"
                          " OR %1DateDebut < '1900' OR %1DateDebut >= '2200' OR %1DateFin < '1900'"
                          " OR %1DateFin >= '2200')")
        .arg(table);
}

// The units of the filter.
const char* const kFiltreUnite = "(p.toutes OR coalesce(o.Categorie, '') = p.cat)";

// The reservations of the filter's units touching the period, in two
// index ranges per unit instead of the whole history: those that start
// inside it, and those that started before it and end inside or after it
// (the unary + keeps the planner on the index of the ends). The units are
// the outer loop (CROSS JOIN), so that each range is searched per unit.
QString choisis(const QSqlDatabase& b)
{
    return QStringLiteral(
        "choisis(numero) AS ("
        " SELECT r.NumeroReservation FROM p CROSS JOIN OBJETS o CROSS JOIN RESERVATIONS r"
        " WHERE (p.toutes OR coalesce(o.Categorie, '') = p.cat) AND r.objet = o.Numero"
        " AND r.DateDebut >= p.d1 AND r.DateDebut < p.d2"
        " UNION ALL"
        " SELECT r.NumeroReservation FROM p CROSS JOIN OBJETS o CROSS JOIN RESERVATIONS r"
        " WHERE (p.toutes OR coalesce(o.Categorie, '') = p.cat) AND r.objet = o.Numero"
        " AND r.DateFin >= p.d1 AND %1r.DateDebut < p.d1)").arg(Dialecte::sansIndex(b));
}

// Those of them in a sold state and not cancelled, cut at the period's
// bounds (d, f as Julian days; an unreadable date gives Null and drops out
// on f > d).
QString sejoursVendus(const QSqlDatabase& b)
{
    return QStringLiteral(
        "sejours(numero, objet, etat, d, f, ad, en) AS ("
        " SELECT r.NumeroReservation, r.objet, r.Etat,"
        "  %1, %2,"
        "  coalesce(r.nbadultes, 0), coalesce(r.nbenfants, 0)"
        " FROM p, choisis c JOIN RESERVATIONS r ON r.NumeroReservation = c.numero"
        " JOIN ETATS e ON e.Code = r.Etat AND coalesce(e.Vendu, 1) <> 0"
        " WHERE r.Annulation IS NULL)")
        .arg(Dialecte::maximum(b, QStringLiteral("julianday(substr(r.DateDebut, 1, 10))"),
                               QStringLiteral("julianday(p.d1)")),
             Dialecte::minimum(b, QStringLiteral("julianday(substr(r.DateFin, 1, 10))"),
                               QStringLiteral("julianday(p.d2)")));
}

QString jour(const QDate& d)
{
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

// Binds the period and filter (the first placeholders, in `p`), then `suite`.
bool executer(QSqlQuery& q, const QString& sql, const Filtre& f, const QVariantList& suite, QString* erreur)
{
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        return Requetes::Rapporter(q, erreur);
    q.addBindValue(jour(f.debut));
    q.addBindValue(jour(f.fin.addDays(1)));
    q.addBindValue(f.categorie ? 0 : 1);
    q.addBindValue(f.categorie.value_or(QString()));
    for (const QVariant& v : suite)
        q.addBindValue(v);
    if (!q.exec())
        return Requetes::Rapporter(q, erreur);
    return true;
}

qint64 entier(const QVariant& v)
{
    return qint64(std::llround(v.toDouble()));
}

std::optional<QList<Nuits>> nuits(const QSqlDatabase& base, const Filtre& filtre, bool parUnite, QString* erreur)
{
    // Each stay is split at the first of every month it crosses.
    const QString sql = QStringLiteral(
        "WITH RECURSIVE %1, %2, %3, morceaux(objet, etat, d, f, fin, ad, en) AS ("
        " SELECT objet, etat, d, %5, f, ad, en"
        "  FROM sejours WHERE f > d"
        " UNION ALL SELECT objet, etat, f, %6,"
        "  fin, ad, en FROM morceaux WHERE f < fin)"
        " SELECT %7, %4, etat, total(f - d), total((f - d) * ad), total((f - d) * en)"
        " FROM morceaux GROUP BY 1, 2, 3 ORDER BY 1, 2, 3")
        .arg(parametres(base), choisis(base), sejoursVendus(base),
             parUnite ? QStringLiteral("objet") : QStringLiteral("0"),
             Dialecte::minimum(base, QStringLiteral("f"), Dialecte::debutMoisSuivant(base, QStringLiteral("d"))),
             Dialecte::minimum(base, QStringLiteral("fin"), Dialecte::debutMoisSuivant(base, QStringLiteral("f"))),
             Dialecte::moisDuJour(base, QStringLiteral("d")));
    QSqlQuery q(base);
    if (!executer(q, sql, filtre, {}, erreur))
        return std::nullopt;
    QList<Nuits> lignes;
    while (q.next()) {
        Nuits n;
        n.mois = q.value(0).toString();
        n.objet = q.value(1).toInt();
        n.etat = q.value(2).toInt();
        n.nuits = entier(q.value(3));
        n.nuitsAdultes = entier(q.value(4));
        n.nuitsEnfants = entier(q.value(5));
        lignes.append(n);
    }
    return lignes;
}

} // namespace

std::optional<QList<Nuits>> nuitsParMois(const QSqlDatabase& base, const Filtre& filtre, QString* erreur)
{
    return nuits(base, filtre, false, erreur);
}

std::optional<QList<Nuits>> nuitsParMoisEtUnite(const QSqlDatabase& base, const Filtre& filtre, QString* erreur)
{
    return nuits(base, filtre, true, erreur);
}

std::optional<QList<Journal>> journal(const QSqlDatabase& base, const Filtre& filtre, const Prefixes& prefixes,
                                      bool parUnite, QString* erreur)
{
    // The unit of a row is its reservation's (0 when the reservation is
    // gone). The stay charges of a stay with nights on a unit, or of a
    // cancelled stay, are left to recettesEtalees().
    QVariantList valeurs;
    const QString sql = QStringLiteral(
        "WITH %1 SELECT substr(x.date, 1, 7), %2, %3,"
        " CASE WHEN %4 THEN upper(trim(x.paiement)) ELSE '' END,"
        " count(*), total(x.prix) FROM p, OPERATIONS x"
        " LEFT JOIN RESERVATIONS r ON r.NumeroReservation = x.numeroreservation"
        " LEFT JOIN OBJETS o ON o.Numero = r.objet"
        " WHERE %5x.date >= p.d1 AND %5x.date < p.d2 AND x.prix <> 0"
        " AND (p.toutes OR (o.Numero IS NOT NULL AND coalesce(o.Categorie, '') = p.cat))"
        " AND NOT coalesce(%6 AND o.Numero IS NOT NULL AND %7, %8)"
        " GROUP BY 1, 2, 3, 4 ORDER BY 1, 2, 3, 4")
        .arg(parametres(base), parUnite ? QStringLiteral("coalesce(r.objet, 0)") : QStringLiteral("0"),
             casNature(prefixes, kNatureEncaissement, &valeurs), QLatin1String(kEstEncaissement),
             // Over years, reading the journal in its own order is quicker
             // than going through the index of dates (the unary + leaves it).
             filtre.debut.daysTo(filtre.fin) > 2 * 366 ? Dialecte::sansIndex(base) : QString(),
             posteSejour(base), etaleOuAnnule(), Dialecte::faux(base));
    QSqlQuery q(base);
    if (!executer(q, sql, filtre, valeurs, erreur))
        return std::nullopt;
    QList<Journal> lignes;
    while (q.next())
        lignes.append({q.value(0).toString(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toString(),
                       q.value(4).toLongLong(), q.value(5).toDouble()});
    return lignes;
}

std::optional<QList<Journal>> chargesParMois(const QSqlDatabase& base, const Filtre& filtre, const Prefixes& prefixes,
                                             QString* erreur)
{
    auto lignes = journal(base, filtre, prefixes, false, erreur);
    if (lignes)
        lignes->removeIf([](const Journal& j) { return j.nature == kNatureEncaissement; });
    return lignes;
}

std::optional<QList<Etalee>> recettesEtalees(const QSqlDatabase& base, const Filtre& filtre, bool parUnite,
                                             QString* erreur)
{
    // The net charges of each stay by kind and VAT rate in whole cents (c)
    // with its first night (j) and its number of nights (n); each is cut at
    // the period's bounds and at the first of every month, and each piece
    // of nights [d, f) takes its part: c / n a night, and one cent more (or
    // less) on each of the first |c % n| nights.
    const QString jourDebut = QStringLiteral("julianday(substr(r.DateDebut, 1, 10))");
    const QString jourFin = QStringLiteral("julianday(substr(r.DateFin, 1, 10))");
    const QString sql = QStringLiteral(
        "WITH RECURSIVE %1, %2,"
        " postes(objet, j, n, taxe, c) AS ("
        "  SELECT r.objet, %3, CAST(%4 - %3 AS BIGINT), CASE WHEN %5 THEN 1 ELSE 0 END,"
        "   CAST(round(-total(x.prix) * 100) AS BIGINT)"
        // The chosen stays lead (CROSS JOIN keeps SQLite from reading every
        // reservation), each reading its own rows through their index.
        "  FROM choisis s CROSS JOIN RESERVATIONS r CROSS JOIN OPERATIONS x"
        "  WHERE r.NumeroReservation = s.numero AND x.numeroreservation = r.NumeroReservation"
        "  AND r.Annulation IS NULL AND %6 AND x.prix <> 0"
        "  GROUP BY r.NumeroReservation, r.objet, r.DateDebut, r.DateFin, 4, coalesce(x.tauxtva, 0)),"
        " morceaux(objet, j, n, taxe, c, d, f, fin) AS ("
        "  SELECT objet, j, n, taxe, c, %7, %8, %9 FROM p, postes WHERE n > 0 AND c <> 0"
        "  UNION ALL SELECT objet, j, n, taxe, c, f, %10, fin FROM morceaux WHERE f < fin)"
        " SELECT %11, %12, taxe, total((c / n) * (f - d)"
        "  + CASE WHEN c % n < 0 THEN -1 ELSE 1 END * %13)"
        " FROM morceaux WHERE f > d GROUP BY 1, 2, 3"
        // What stays posted on a stay cancelled in the period counts on
        // the day of its cancellation.
        " UNION ALL SELECT substr(r.Annulation, 1, 7), %14, CASE WHEN %5 THEN 1 ELSE 0 END,"
        "  round(-total(x.prix) * 100)"
        " FROM p CROSS JOIN OBJETS o CROSS JOIN RESERVATIONS r"
        " JOIN OPERATIONS x ON x.numeroreservation = r.NumeroReservation"
        " WHERE %15 AND r.objet = o.Numero AND r.Annulation >= p.d1 AND r.Annulation < p.d2"
        " AND julianday(substr(r.Annulation, 1, 10)) IS NOT NULL AND %6 AND x.prix <> 0"
        " GROUP BY 1, 2, 3")
        .arg(parametres(base), choisis(base), jourDebut, jourFin, QLatin1String(kPosteTaxe), posteSejour(base),
             Dialecte::maximum(base, QStringLiteral("j"), QStringLiteral("julianday(p.d1)")),
             Dialecte::minimum(base, Dialecte::minimum(base, QStringLiteral("j + n"), QStringLiteral("julianday(p.d2)")),
                               Dialecte::debutMoisSuivant(base, Dialecte::maximum(base, QStringLiteral("j"),
                                                                                  QStringLiteral("julianday(p.d1)")))),
             Dialecte::minimum(base, QStringLiteral("j + n"), QStringLiteral("julianday(p.d2)")),
             Dialecte::minimum(base, QStringLiteral("fin"), Dialecte::debutMoisSuivant(base, QStringLiteral("f"))))
        .arg(Dialecte::moisDuJour(base, QStringLiteral("d")), parUnite ? QStringLiteral("objet") : QStringLiteral("0"),
             Dialecte::maximum(base, QStringLiteral("0"),
                               Dialecte::minimum(base, QStringLiteral("f - j"), QStringLiteral("abs(c % n)"))
                                   + QStringLiteral(" - (d - j)")),
             parUnite ? QStringLiteral("r.objet") : QStringLiteral("0"), QLatin1String(kFiltreUnite));
    QSqlQuery q(base);
    if (!executer(q, sql, filtre, {}, erreur))
        return std::nullopt;
    QMap<std::tuple<QString, qint32, int>, qint64> sommes;
    while (q.next())
        sommes[{q.value(0).toString(), q.value(1).toInt(), q.value(2).toInt()}] += entier(q.value(3));
    QList<Etalee> lignes;
    for (auto it = sommes.cbegin(); it != sommes.cend(); ++it)
        if (it.value() != 0)
            lignes.append({std::get<0>(it.key()), std::get<1>(it.key()), std::get<2>(it.key()) == 1,
                           double(it.value()) / 100.0});
    return lignes;
}

std::optional<Arrivees> arrivees(const QSqlDatabase& base, const Filtre& filtre, QString* erreur)
{
    const QString sql = QStringLiteral(
        "WITH %1 SELECT count(*), total(%3)"
        " FROM p CROSS JOIN OBJETS o CROSS JOIN RESERVATIONS r"
        " JOIN ETATS e ON e.Code = r.Etat AND coalesce(e.Vendu, 1) <> 0"
        " WHERE %2 AND r.objet = o.Numero AND r.DateDebut >= p.d1 AND r.DateDebut < p.d2 AND r.Annulation IS NULL"
        " AND julianday(substr(r.DateDebut, 1, 10)) IS NOT NULL AND julianday(substr(r.DateFin, 1, 10)) IS NOT NULL")
                            .arg(parametres(base), QLatin1String(kFiltreUnite),
                                 Dialecte::maximum(base, QStringLiteral("0"),
                                                   QStringLiteral("julianday(substr(r.DateFin, 1, 10))"
                                                                  " - julianday(substr(r.DateDebut, 1, 10))")));
    QSqlQuery q(base);
    if (!executer(q, sql, filtre, {}, erreur) || !q.next()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    return Arrivees{q.value(0).toLongLong(), entier(q.value(1))};
}

std::optional<qint64> datesIllisibles(const QSqlDatabase& base, const Filtre& filtre, QString* erreur)
{
    // Those reservations are few, and found by an index of their own. A missing
    // date, or a text outside the dates of 1900 to 2199 ("", "3 mars",
    // "12/03/2026") counts in every period; a text among them that is not
    // a date either ("2026-13-45") in the periods it falls in, as choisis()
    // would read it.
    const QString sql = QStringLiteral(
        "WITH %1 SELECT count(*) FROM p CROSS JOIN RESERVATIONS r%5 JOIN OBJETS o ON o.Numero = r.objet"
        " WHERE %2 AND %3 AND (r.DateDebut IS NULL OR r.DateDebut < '1900' OR r.DateDebut >= '2200'"
        "  OR r.DateFin IS NULL OR r.DateFin < '1900' OR r.DateFin >= '2200'"
        "  OR ((%4r.DateDebut >= p.d1 AND %4r.DateDebut < p.d2) OR (%4r.DateFin >= p.d1 AND %4r.DateDebut < p.d1)))")
                            .arg(parametres(base), illisible(QStringLiteral("r.")), QLatin1String(kFiltreUnite),
                                 Dialecte::sansIndex(base),
                                 // SQLite's planner, without statistics, does not know the index is small.
                                 Dialecte::estPostgres(base) ? QString()
                                                             : QStringLiteral(" INDEXED BY idx_reservations_illisibles"));
    QSqlQuery q(base);
    if (!executer(q, sql, filtre, {}, erreur) || !q.next()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

QString InstructionIndexIllisibles()
{
    return QStringLiteral("CREATE INDEX IF NOT EXISTS idx_reservations_illisibles ON RESERVATIONS(objet) WHERE %1")
        .arg(illisible(QString()));
}

std::optional<Soldes> soldes(const QSqlDatabase& base, const Filtre& filtre, QString* erreur)
{
    // The balance of an account is the sum of its rows: below 0 the guest owes.
    const QString sql = QStringLiteral(
        "WITH %1 SELECT count(*), total(%3), total(CASE WHEN s < 0 THEN -s ELSE 0 END) FROM ("
        " SELECT round((SELECT total(x.prix) FROM OPERATIONS x WHERE x.numeroreservation = r.NumeroReservation), 2) AS s"
        " FROM p CROSS JOIN OBJETS o CROSS JOIN RESERVATIONS r"
        " JOIN ETATS e ON e.Code = r.Etat AND coalesce(e.Vendu, 1) <> 0"
        " WHERE %2 AND r.objet = o.Numero AND r.DateFin >= p.d1 AND r.DateFin < p.d2 AND r.Annulation IS NULL"
        " AND julianday(substr(r.DateDebut, 1, 10)) IS NOT NULL AND julianday(substr(r.DateFin, 1, 10)) IS NOT NULL)"
        " AS comptes")
                            .arg(parametres(base), QLatin1String(kFiltreUnite), Dialecte::nombre(base, QStringLiteral("s < 0")));
    QSqlQuery q(base);
    if (!executer(q, sql, filtre, {}, erreur) || !q.next()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    return Soldes{q.value(0).toLongLong(), entier(q.value(1)), q.value(2).toDouble()};
}

std::optional<QList<Sejour>> sejours(const QSqlDatabase& base, const Filtre& filtre, QString* erreur)
{
    const QString sql = QStringLiteral(
        "WITH %1, %2, %3 SELECT s.numero, r.nomclient, o.Nom, r.DateDebut, r.DateFin, s.f - s.d, s.ad, s.en,"
        " (SELECT count(*) FROM OPERATIONS x WHERE x.numeroreservation = s.numero AND %4 AND x.prix <> 0),"
        " (SELECT -total(x.prix) FROM OPERATIONS x WHERE x.numeroreservation = s.numero AND %4)"
        " FROM sejours s JOIN RESERVATIONS r ON r.NumeroReservation = s.numero"
        " LEFT JOIN OBJETS o ON o.Numero = s.objet"
        " WHERE s.f > s.d ORDER BY r.DateDebut, s.numero")
                            .arg(parametres(base), choisis(base), sejoursVendus(base),
                                 QStringLiteral("%1 AND %2").arg(QLatin1String(kPosteTaxe), posteSejour(base)));
    QSqlQuery q(base);
    if (!executer(q, sql, filtre, {}, erreur))
        return std::nullopt;
    QList<Sejour> lignes;
    while (q.next()) {
        Sejour s;
        s.numero = q.value(0).toInt();
        s.client = q.value(1).toString();
        s.unite = q.value(2).toString();
        s.arrivee = Dates::depuisBase(q.value(3));
        s.depart = Dates::depuisBase(q.value(4));
        s.nuits = entier(q.value(5));
        s.adultes = q.value(6).toInt();
        s.enfants = q.value(7).toInt();
        s.taxePostees = q.value(8).toLongLong();
        s.taxe = q.value(9).toDouble();
        lignes.append(s);
    }
    return lignes;
}

std::optional<QList<TaxeAvance>> taxeAvance(const QSqlDatabase& base, const Filtre& filtre, QString* erreur)
{
    const QString sql = QStringLiteral(
        "WITH %1 SELECT r.DateDebut, r.DateFin, -total(x.prix)"
        " FROM p CROSS JOIN OBJETS o CROSS JOIN RESERVATIONS r"
        " JOIN OPERATIONS x ON x.numeroreservation = r.NumeroReservation"
        " WHERE %2 AND r.objet = o.Numero AND r.DateFin > p.d2 AND r.Annulation IS NULL"
        " AND x.date < p.d2 AND %3 AND %4 AND x.prix <> 0"
        " GROUP BY r.NumeroReservation, r.DateDebut, r.DateFin")
                            .arg(parametres(base), QLatin1String(kFiltreUnite), QLatin1String(kPosteTaxe),
                                 posteSejour(base));
    QSqlQuery q(base);
    if (!executer(q, sql, filtre, {}, erreur))
        return std::nullopt;
    QList<TaxeAvance> lignes;
    while (q.next())
        lignes.append({Dates::depuisBase(q.value(0)).date(), Dates::depuisBase(q.value(1)).date(), q.value(2).toDouble()});
    return lignes;
}

namespace {

// The columns comptes() reads, from a reservation r, its unit o and the
// sums of its account.
const char* const kColonnesCompte =
    "r.NumeroReservation, r.objet, r.nomclient, o.Nom, o.Categorie, r.DateDebut, r.DateFin, r.Annulation,"
    " coalesce(r.nbadultes, 0), coalesce(r.nbenfants, 0),"
    " round((SELECT total(x.prix) FROM OPERATIONS x WHERE x.numeroreservation = r.NumeroReservation), 2),";

bool lireComptes(QSqlQuery& q, QList<Compte>* lignes)
{
    while (q.next()) {
        Compte c;
        c.genre = Compte::Genre(q.value(0).toInt());
        c.numero = q.value(1).toInt();
        c.objet = q.value(2).toInt();
        c.client = q.value(3).toString();
        c.unite = q.value(4).toString();
        c.categorie = q.value(5).toString();
        c.arrivee = Dates::depuisBase(q.value(6));
        c.depart = Dates::depuisBase(q.value(7));
        c.annulation = Dates::depuisBase(q.value(8));
        c.adultes = q.value(9).toInt();
        c.enfants = q.value(10).toInt();
        c.solde = q.value(11).toDouble();
        c.recu = q.value(12).toDouble();
        c.frais = q.value(13).toDouble();
        c.avoirs = q.value(14).toDouble();
        lignes->append(c);
    }
    return true;
}

} // namespace

std::optional<QList<Compte>> comptes(const QSqlDatabase& base, const Filtre& filtre, QString* erreur)
{
    const QString recu = QStringLiteral("(SELECT total(x.prix) FROM OPERATIONS x WHERE x.numeroreservation = "
                                        "r.NumeroReservation AND %1)").arg(QLatin1String(kEstEncaissement));
    // The stays: not charged yet when no stay charge was posted on them.
    const QString sejoursOuverts = QStringLiteral(
        "WITH %1, %2, %3 SELECT genre, %4 %5, 0, 0 FROM ("
        " SELECT CASE WHEN NOT EXISTS (SELECT 1 FROM OPERATIONS x WHERE x.numeroreservation = s.numero AND %6"
        "  AND x.prix <> 0) AND s.f > s.d THEN 1 ELSE 0 END AS genre, s.numero"
        " FROM sejours s) AS g"
        " JOIN RESERVATIONS r ON r.NumeroReservation = g.numero LEFT JOIN OBJETS o ON o.Numero = r.objet, p"
        " WHERE g.genre = 1 OR (r.DateFin >= p.d1 AND r.DateFin < p.d2"
        "  AND julianday(substr(r.DateFin, 1, 10)) IS NOT NULL AND julianday(substr(r.DateDebut, 1, 10)) IS NOT NULL"
        "  AND round((SELECT total(x.prix) FROM OPERATIONS x WHERE x.numeroreservation = r.NumeroReservation), 2) < 0)"
        " ORDER BY genre, r.DateFin, r.NumeroReservation")
                                       .arg(parametres(base), choisis(base), sejoursVendus(base),
                                            QLatin1String(kColonnesCompte), recu, posteSejour(base));
    const QString annules = QStringLiteral(
        "WITH %1 SELECT 2, %2 %3,"
        " (SELECT -total(x.prix) FROM OPERATIONS x WHERE x.numeroreservation = r.NumeroReservation"
        "  AND substr(x.libelle, 1, 18) = 'FRAIS D''ANNULATION' AND NOT coalesce(%4, %5)),"
        " (SELECT total(f.total) FROM FACTURES f WHERE f.reservation = r.NumeroReservation AND f.Serie = 'A')"
        " FROM p CROSS JOIN OBJETS o CROSS JOIN RESERVATIONS r"
        " WHERE %6 AND r.objet = o.Numero AND r.Annulation >= p.d1 AND r.Annulation < p.d2"
        " ORDER BY r.Annulation, r.NumeroReservation")
                                .arg(parametres(base), QLatin1String(kColonnesCompte), recu,
                                     QLatin1String(kEstEncaissement), Dialecte::faux(base), QLatin1String(kFiltreUnite));
    QList<Compte> lignes;
    for (const QString& sql : {sejoursOuverts, annules}) {
        QSqlQuery q(base);
        if (!executer(q, sql, filtre, {}, erreur))
            return std::nullopt;
        lireComptes(q, &lignes);
    }
    return lignes;
}

std::optional<QList<Unite>> unites(const QSqlDatabase& base, const std::optional<QString>& categorie, QString* erreur)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT Numero, Nom FROM OBJETS WHERE %1 OR coalesce(Categorie, '') = %2 ORDER BY Numero")
                  .arg(Dialecte::booleen(base, Dialecte::parametre(base, QStringLiteral("INTEGER"))),
                       Dialecte::parametre(base, QStringLiteral("TEXT"))));
    q.addBindValue(categorie ? 0 : 1);
    q.addBindValue(categorie.value_or(QString()));
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<Unite> lignes;
    while (q.next())
        lignes.append({q.value(0).toInt(), q.value(1).toString()});
    return lignes;
}

std::optional<QStringList> categories(const QSqlDatabase& base, QString* erreur)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT DISTINCT Categorie FROM OBJETS WHERE trim(coalesce(Categorie, '')) <> ''"
                               " ORDER BY Categorie"))) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QStringList liste;
    while (q.next())
        liste.append(q.value(0).toString());
    return liste;
}

std::optional<QList<Etat>> etats(const QSqlDatabase& base, QString* erreur)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT Code, Nom, CouleurPrincipale, coalesce(Vendu, 1) FROM ETATS ORDER BY rowid"))) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<Etat> lignes;
    while (q.next())
        lignes.append({q.value(0).toInt(), q.value(1).toString(), q.value(2), q.value(3).toInt() != 0});
    return lignes;
}

bool changerVendu(const QSqlDatabase& base, qint32 code, bool vendu, QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("UPDATE ETATS SET Vendu = ? WHERE Code = ?"));
    q.addBindValue(vendu ? 1 : 0);
    q.addBindValue(code);
    return Requetes::ChangerUneLigne(q, QStringLiteral("État %1 introuvable").arg(code), erreur);
}

} // namespace RequetesStatistiques
