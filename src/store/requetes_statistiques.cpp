#include "requetes_statistiques.h"

#include "dates.h"
#include "requetes.h"

#include <QSqlQuery>
#include <cmath>

namespace RequetesStatistiques {

namespace {

// The period and the filter, given once to every statement as a one-row
// table `p`: d1 the first day, d2 the day after the last, as sortable text
// (a stored "2026-03-01 14:00:00" is after "2026-03-01").
const char* const kParametres = "p(d1, d2, toutes, cat) AS (SELECT ?, ?, ?, ?)";

// The units of the filter.
const char* const kFiltreUnite = "(p.toutes OR coalesce(o.Categorie, '') = p.cat)";

// Stays in a sold state of the filter's units with nights in the period,
// cut at its bounds (d, f as Julian days; unreadable dates give Null and
// drop out on f > d).
const char* const kSejours =
    "sejours(numero, objet, etat, d, f, ad, en) AS ("
    " SELECT r.NumeroReservation, r.objet, r.Etat,"
    "  max(julianday(substr(r.DateDebut, 1, 10)), julianday(p.d1)),"
    "  min(julianday(substr(r.DateFin, 1, 10)), julianday(p.d2)),"
    "  coalesce(r.nbadultes, 0), coalesce(r.nbenfants, 0)"
    " FROM p, RESERVATIONS r"
    " JOIN ETATS e ON e.Code = r.Etat AND coalesce(e.Vendu, 1) <> 0"
    " JOIN OBJETS o ON o.Numero = r.objet"
    " WHERE r.DateDebut < p.d2 AND r.DateFin >= p.d1 AND (p.toutes OR coalesce(o.Categorie, '') = p.cat))";

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

std::optional<QList<Nuits>> nuits(const QSqlDatabase& base, const Filtre& filtre, bool parMois, QString* erreur)
{
    // By month, each stay is split at the first of every month it crosses.
    const QString sql = parMois
        ? QStringLiteral("WITH RECURSIVE %1, %2, morceaux(etat, d, f, fin, ad, en) AS ("
                         " SELECT etat, d, min(f, julianday(date(d, 'start of month', '+1 month'))), f, ad, en"
                         "  FROM sejours WHERE f > d"
                         " UNION ALL SELECT etat, f, min(fin, julianday(date(f, 'start of month', '+1 month'))),"
                         "  fin, ad, en FROM morceaux WHERE f < fin)"
                         " SELECT strftime('%Y-%m', d), etat, total(f - d), total((f - d) * ad), total((f - d) * en)"
                         " FROM morceaux GROUP BY 1, 2 ORDER BY 1, 2")
        : QStringLiteral("WITH %1, %2 SELECT objet, etat, total(f - d), total((f - d) * ad), total((f - d) * en)"
                         " FROM sejours WHERE f > d GROUP BY 1, 2 ORDER BY 1, 2");
    QSqlQuery q(base);
    if (!executer(q, sql.arg(QLatin1String(kParametres), QLatin1String(kSejours)), filtre, {}, erreur))
        return std::nullopt;
    QList<Nuits> lignes;
    while (q.next()) {
        Nuits n;
        if (parMois)
            n.mois = q.value(0).toString();
        else
            n.objet = q.value(0).toInt();
        n.etat = q.value(1).toInt();
        n.nuits = entier(q.value(2));
        n.nuitsAdultes = entier(q.value(3));
        n.nuitsEnfants = entier(q.value(4));
        lignes.append(n);
    }
    return lignes;
}

// The kind of a journal row from its label, as a CASE of bound prefixes.
QString casNature(const Prefixes& prefixes, QVariantList* valeurs)
{
    QString cas = QStringLiteral("CASE");
    for (const auto& [prefixe, nature] : prefixes) {
        cas += QStringLiteral(" WHEN substr(x.libelle, 1, %1) = ? THEN %2").arg(prefixe.size()).arg(nature);
        valeurs->append(prefixe);
    }
    return cas + QStringLiteral(" ELSE 0 END");
}

// Rows of the journal written in the period, with the unit of their
// reservation (Null when it is gone).
const char* const kJournal =
    " FROM p, OPERATIONS x"
    " LEFT JOIN RESERVATIONS r ON r.NumeroReservation = x.numeroreservation"
    " LEFT JOIN OBJETS o ON o.Numero = r.objet"
    " WHERE x.date >= p.d1 AND x.date < p.d2 AND x.prix <> 0"
    " AND (p.toutes OR (o.Numero IS NOT NULL AND coalesce(o.Categorie, '') = p.cat))";

std::optional<QList<Charges>> charges(const QSqlDatabase& base, const Filtre& filtre, const Prefixes& prefixes,
                                      bool parMois, QString* erreur)
{
    QVariantList valeurs;
    const QString groupe = parMois ? QStringLiteral("substr(x.date, 1, 7)") : QStringLiteral("coalesce(r.objet, 0)");
    const QString sql = QStringLiteral("WITH %1 SELECT %2, %3, total(x.prix) %4"
                                       " AND trim(coalesce(x.paiement, '')) = '' GROUP BY 1, 2 ORDER BY 1, 2")
                            .arg(QLatin1String(kParametres), groupe, casNature(prefixes, &valeurs),
                                 QLatin1String(kJournal));
    QSqlQuery q(base);
    if (!executer(q, sql, filtre, valeurs, erreur))
        return std::nullopt;
    QList<Charges> lignes;
    while (q.next()) {
        Charges c;
        if (parMois)
            c.mois = q.value(0).toString();
        else
            c.objet = q.value(0).toInt();
        c.nature = q.value(1).toInt();
        c.total = q.value(2).toDouble();
        lignes.append(c);
    }
    return lignes;
}

} // namespace

std::optional<QList<Nuits>> nuitsParMois(const QSqlDatabase& base, const Filtre& filtre, QString* erreur)
{
    return nuits(base, filtre, true, erreur);
}

std::optional<QList<Nuits>> nuitsParUnite(const QSqlDatabase& base, const Filtre& filtre, QString* erreur)
{
    return nuits(base, filtre, false, erreur);
}

std::optional<Arrivees> arrivees(const QSqlDatabase& base, const Filtre& filtre, QString* erreur)
{
    const QString sql = QStringLiteral(
        "WITH %1 SELECT count(*), total(max(0, julianday(substr(r.DateFin, 1, 10))"
        " - julianday(substr(r.DateDebut, 1, 10))))"
        " FROM p, RESERVATIONS r"
        " JOIN ETATS e ON e.Code = r.Etat AND coalesce(e.Vendu, 1) <> 0"
        " JOIN OBJETS o ON o.Numero = r.objet"
        " WHERE r.DateDebut >= p.d1 AND r.DateDebut < p.d2 AND %2"
        " AND julianday(substr(r.DateDebut, 1, 10)) IS NOT NULL AND julianday(substr(r.DateFin, 1, 10)) IS NOT NULL")
                            .arg(QLatin1String(kParametres), QLatin1String(kFiltreUnite));
    QSqlQuery q(base);
    if (!executer(q, sql, filtre, {}, erreur) || !q.next()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    return Arrivees{q.value(0).toLongLong(), entier(q.value(1))};
}

std::optional<qint64> datesIllisibles(const QSqlDatabase& base, const Filtre& filtre, QString* erreur)
{
    const QString sql = QStringLiteral(
        "WITH %1 SELECT count(*) FROM p, RESERVATIONS r"
        " JOIN ETATS e ON e.Code = r.Etat AND coalesce(e.Vendu, 1) <> 0"
        " JOIN OBJETS o ON o.Numero = r.objet"
        " WHERE %2 AND (julianday(substr(r.DateDebut, 1, 10)) IS NULL OR julianday(substr(r.DateFin, 1, 10)) IS NULL)")
                            .arg(QLatin1String(kParametres), QLatin1String(kFiltreUnite));
    QSqlQuery q(base);
    if (!executer(q, sql, filtre, {}, erreur) || !q.next()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    return q.value(0).toLongLong();
}

std::optional<QList<Charges>> chargesParMois(const QSqlDatabase& base, const Filtre& filtre,
                                             const Prefixes& prefixes, QString* erreur)
{
    return charges(base, filtre, prefixes, true, erreur);
}

std::optional<QList<Charges>> chargesParUnite(const QSqlDatabase& base, const Filtre& filtre,
                                              const Prefixes& prefixes, QString* erreur)
{
    return charges(base, filtre, prefixes, false, erreur);
}

std::optional<QList<Encaissements>> encaissements(const QSqlDatabase& base, const Filtre& filtre, QString* erreur)
{
    const QString sql = QStringLiteral("WITH %1 SELECT upper(trim(x.paiement)), count(*), total(x.prix) %2"
                                       " AND trim(coalesce(x.paiement, '')) <> '' GROUP BY 1 ORDER BY 1")
                            .arg(QLatin1String(kParametres), QLatin1String(kJournal));
    QSqlQuery q(base);
    if (!executer(q, sql, filtre, {}, erreur))
        return std::nullopt;
    QList<Encaissements> lignes;
    while (q.next())
        lignes.append({q.value(0).toString(), q.value(1).toLongLong(), q.value(2).toDouble()});
    return lignes;
}

std::optional<Soldes> soldes(const QSqlDatabase& base, const Filtre& filtre, QString* erreur)
{
    // The balance of an account is the sum of its rows: below 0 the guest owes.
    const QString sql = QStringLiteral(
        "WITH %1 SELECT count(*), total(s < 0), total(CASE WHEN s < 0 THEN -s ELSE 0 END) FROM ("
        " SELECT round((SELECT total(x.prix) FROM OPERATIONS x WHERE x.numeroreservation = r.NumeroReservation), 2) AS s"
        " FROM p, RESERVATIONS r"
        " JOIN ETATS e ON e.Code = r.Etat AND coalesce(e.Vendu, 1) <> 0"
        " JOIN OBJETS o ON o.Numero = r.objet"
        " WHERE r.DateFin >= p.d1 AND r.DateFin < p.d2 AND %2"
        " AND julianday(substr(r.DateDebut, 1, 10)) IS NOT NULL AND julianday(substr(r.DateFin, 1, 10)) IS NOT NULL)")
                            .arg(QLatin1String(kParametres), QLatin1String(kFiltreUnite));
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
        "WITH %1, %2 SELECT s.numero, r.nomclient, o.Nom, r.DateDebut, r.DateFin, s.f - s.d, s.ad, s.en"
        " FROM sejours s JOIN RESERVATIONS r ON r.NumeroReservation = s.numero"
        " LEFT JOIN OBJETS o ON o.Numero = s.objet"
        " WHERE s.f > s.d ORDER BY r.DateDebut, s.numero")
                            .arg(QLatin1String(kParametres), QLatin1String(kSejours));
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
    q.prepare(QStringLiteral("SELECT Numero, Nom FROM OBJETS WHERE ? OR coalesce(Categorie, '') = ? ORDER BY Numero"));
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
    if (!q.exec())
        return Requetes::Rapporter(q, erreur);
    if (q.numRowsAffected() != 1) {
        if (erreur)
            *erreur = QStringLiteral("État %1 introuvable").arg(code);
        return false;
    }
    return true;
}

} // namespace RequetesStatistiques
