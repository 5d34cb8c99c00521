#include "requetes_statistiques.h"

#include "dates.h"
#include "dialecte.h"
#include "requetes.h"

#include <QSqlQuery>
#include <cmath>

namespace RequetesStatistiques {

namespace {

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

// Those of them in a sold state, cut at the period's bounds (d, f as
// Julian days; an unreadable date gives Null and drops out on f > d).
QString sejoursVendus(const QSqlDatabase& b)
{
    return QStringLiteral(
        "sejours(numero, objet, etat, d, f, ad, en) AS ("
        " SELECT r.NumeroReservation, r.objet, r.Etat,"
        "  %1, %2,"
        "  coalesce(r.nbadultes, 0), coalesce(r.nbenfants, 0)"
        " FROM p, choisis c JOIN RESERVATIONS r ON r.NumeroReservation = c.numero"
        " JOIN ETATS e ON e.Code = r.Etat AND coalesce(e.Vendu, 1) <> 0)")
        .arg(Dialecte::maximum(b, QStringLiteral("julianday(substr(r.DateDebut, 1, 10))"),
                               QStringLiteral("julianday(p.d1)")),
             Dialecte::minimum(b, QStringLiteral("julianday(substr(r.DateFin, 1, 10))"),
                               QStringLiteral("julianday(p.d2)")));
}

// A payment has a code that is not blank; the first test spares the
// function call on most charges ("   " sorts first among the codes).
const char* const kEstEncaissement = "(x.paiement > '   ' AND trim(x.paiement) <> '')";

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

// The kind of a journal row: a payment, or the number given with the first
// prefix its label begins with, 0 without one. A prefix is tested as a
// range of texts (from the prefix to the prefix with its last letter
// raised), which the database compares without a function call.
QString casNature(const Prefixes& prefixes, QVariantList* valeurs)
{
    QString cas = QStringLiteral("CASE WHEN %1 THEN %2").arg(QLatin1String(kEstEncaissement)).arg(kNatureEncaissement);
    for (const auto& [prefixe, nature] : prefixes) {
        if (prefixe.isEmpty())
            continue;
        QString apres = prefixe;
        apres.back() = QChar(apres.back().unicode() + 1);
        cas += QStringLiteral(" WHEN x.libelle >= ? AND x.libelle < ? THEN %1").arg(nature);
        valeurs->append(prefixe);
        valeurs->append(apres);
    }
    return cas + QStringLiteral(" ELSE 0 END");
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
    // gone); with every unit and no unit asked, no reservation is read.
    const bool joindre = parUnite || filtre.categorie;
    QVariantList valeurs;
    const QString sql = QStringLiteral(
        "WITH %1 SELECT substr(x.date, 1, 7), %2, %3,"
        " CASE WHEN %6 THEN upper(trim(x.paiement)) ELSE '' END,"
        " count(*), total(x.prix) FROM p, OPERATIONS x %4"
        " WHERE %7x.date >= p.d1 AND %7x.date < p.d2 AND x.prix <> 0 %5 GROUP BY 1, 2, 3, 4 ORDER BY 1, 2, 3, 4")
        .arg(parametres(base), parUnite ? QStringLiteral("coalesce(r.objet, 0)") : QStringLiteral("0"),
             casNature(prefixes, &valeurs),
             joindre ? QStringLiteral("LEFT JOIN RESERVATIONS r ON r.NumeroReservation = x.numeroreservation"
                                      " LEFT JOIN OBJETS o ON o.Numero = r.objet") : QString(),
             joindre ? QStringLiteral("AND (p.toutes OR (o.Numero IS NOT NULL AND coalesce(o.Categorie, '') = p.cat))")
                     : QString(),
             QLatin1String(kEstEncaissement),
             // Over years, reading the journal in its own order is quicker
             // than going through the index of dates (the unary + leaves it).
             filtre.debut.daysTo(filtre.fin) > 2 * 366 ? Dialecte::sansIndex(base) : QString());
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
    if (filtre.categorie) {
        auto lignes = journal(base, filtre, prefixes, false, erreur);
        if (lignes)
            lignes->removeIf([](const Journal& j) { return j.nature == kNatureEncaissement; });
        return lignes;
    }
    // One sum per kind, side by side, so that the only group is the month:
    // the index of months then gives the rows in order. The unary + keeps
    // the planner off the index of dates.
    QStringList natures;
    QList<int> numeros;
    for (const auto& [prefixe, nature] : prefixes)
        if (!prefixe.isEmpty() && !numeros.contains(nature))
            numeros.append(nature);
    QVariantList valeurs;
    for (int nature : numeros) {
        QStringList conditions;
        for (const auto& [prefixe, n] : prefixes) {
            if (n != nature || prefixe.isEmpty())
                continue;
            QString apres = prefixe;
            apres.back() = QChar(apres.back().unicode() + 1);
            conditions.append(QStringLiteral("(x.libelle >= ? AND x.libelle < ?)"));
            valeurs << prefixe << apres;
        }
        natures.append(QStringLiteral("total(CASE WHEN %1 THEN x.prix END)").arg(conditions.join(QStringLiteral(" OR "))));
    }
    const QString sql = QStringLiteral(
        "SELECT substr(x.date, 1, 7), %1 total(x.prix) FROM OPERATIONS x"
        " WHERE substr(x.date, 1, 7) >= ? AND substr(x.date, 1, 7) <= ? AND %3x.date >= ? AND %3x.date < ?"
        " AND x.prix <> 0 AND NOT coalesce(%2, %4) GROUP BY substr(x.date, 1, 7)")
        .arg(natures.isEmpty() ? QString() : natures.join(QStringLiteral(", ")) + QStringLiteral(","),
             QLatin1String(kEstEncaissement), Dialecte::sansIndex(base), Dialecte::faux(base));
    QSqlQuery q(base);
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    for (const QVariant& v : valeurs)
        q.addBindValue(v);
    q.addBindValue(filtre.debut.toString(QStringLiteral("yyyy-MM")));
    q.addBindValue(filtre.fin.toString(QStringLiteral("yyyy-MM")));
    q.addBindValue(jour(filtre.debut));
    q.addBindValue(jour(filtre.fin.addDays(1)));
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<Journal> lignes;
    while (q.next()) {
        const QString mois = q.value(0).toString();
        double reste = q.value(int(numeros.size()) + 1).toDouble();
        for (int i = 0; i < numeros.size(); ++i) {
            const double total = q.value(i + 1).toDouble();
            reste -= total;
            if (total != 0)
                lignes.append({mois, 0, numeros[i], QString(), 0, total});
        }
        // What no prefix claimed.
        if (std::abs(reste) >= 0.005)
            lignes.append({mois, 0, 0, QString(), 0, reste});
    }
    return lignes;
}

std::optional<Arrivees> arrivees(const QSqlDatabase& base, const Filtre& filtre, QString* erreur)
{
    const QString sql = QStringLiteral(
        "WITH %1 SELECT count(*), total(%3)"
        " FROM p CROSS JOIN OBJETS o CROSS JOIN RESERVATIONS r"
        " JOIN ETATS e ON e.Code = r.Etat AND coalesce(e.Vendu, 1) <> 0"
        " WHERE %2 AND r.objet = o.Numero AND r.DateDebut >= p.d1 AND r.DateDebut < p.d2"
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
    // Stored dates sort as text: a missing date, or a text outside the
    // dates of 1900 to 2199 ("", "3 mars", "12/03/2026"), is found in the
    // index of each unit; a text among them that is not a date either
    // ("2026-13-45") is found among the reservations the period reads.
    QString sql = QStringLiteral("WITH %1, %2 SELECT count(*) FROM ("
                                 " SELECT c.numero FROM choisis c JOIN RESERVATIONS r ON r.NumeroReservation = c.numero"
                                 " WHERE julianday(substr(r.DateDebut, 1, 10)) IS NULL"
                                 " OR julianday(substr(r.DateFin, 1, 10)) IS NULL")
                      .arg(parametres(base), choisis(base));
    for (const char* colonne : {"DateDebut", "DateFin"})
        for (const char* condition : {"IS NULL", "< '1900'", ">= '2200'"})
            sql += QStringLiteral(" UNION SELECT r.NumeroReservation FROM p CROSS JOIN OBJETS o CROSS JOIN RESERVATIONS r"
                                  " WHERE %1 AND r.objet = o.Numero AND r.%2 %3")
                       .arg(QLatin1String(kFiltreUnite), QLatin1String(colonne), QLatin1String(condition));
    sql += QStringLiteral(") AS illisibles");
    QSqlQuery q(base);
    if (!executer(q, sql, filtre, {}, erreur) || !q.next()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

std::optional<Soldes> soldes(const QSqlDatabase& base, const Filtre& filtre, QString* erreur)
{
    // The balance of an account is the sum of its rows: below 0 the guest owes.
    const QString sql = QStringLiteral(
        "WITH %1 SELECT count(*), total(%3), total(CASE WHEN s < 0 THEN -s ELSE 0 END) FROM ("
        " SELECT round((SELECT total(x.prix) FROM OPERATIONS x WHERE x.numeroreservation = r.NumeroReservation), 2) AS s"
        " FROM p CROSS JOIN OBJETS o CROSS JOIN RESERVATIONS r"
        " JOIN ETATS e ON e.Code = r.Etat AND coalesce(e.Vendu, 1) <> 0"
        " WHERE %2 AND r.objet = o.Numero AND r.DateFin >= p.d1 AND r.DateFin < p.d2"
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
        "WITH %1, %2, %3 SELECT s.numero, r.nomclient, o.Nom, r.DateDebut, r.DateFin, s.f - s.d, s.ad, s.en"
        " FROM sejours s JOIN RESERVATIONS r ON r.NumeroReservation = s.numero"
        " LEFT JOIN OBJETS o ON o.Numero = s.objet"
        " WHERE s.f > s.d ORDER BY r.DateDebut, s.numero")
                            .arg(parametres(base), choisis(base), sejoursVendus(base));
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
        lignes.append(s);
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
