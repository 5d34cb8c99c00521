#include "requetes_facturation.h"

#include "dates.h"
#include "dialecte.h"
#include "requetes.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace RequetesFacturation {

namespace {

QDate jourDe(const QVariant& v)
{
    return Dates::depuisBase(v).date();
}

} // namespace

std::optional<QList<Tarif>> tarifs(const QSqlDatabase& base, QString* erreur)
{
    QSqlQuery q(base);
    if (!q.exec(QStringLiteral("SELECT Numero, Categorie, PremierJour, DernierJour, PrixNuit, PrixAdulte, PrixEnfant, "
                               "TauxTVA FROM TARIFS ORDER BY Categorie, PremierJour"))) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<Tarif> lignes;
    while (q.next())
        lignes.append({q.value(0).toInt(), q.value(1).toString(), jourDe(q.value(2)), jourDe(q.value(3)),
                       q.value(4).toDouble(), q.value(5).toDouble(), q.value(6).toDouble(), q.value(7).toDouble()});
    return lignes;
}

bool remplacerTarifs(const QSqlDatabase& base, const QList<Tarif>& tarifs, QString* erreur)
{
    return Requetes::EnTransaction(base, erreur, [&] {
        QSqlQuery q(base);
        if (!q.exec(QStringLiteral("DELETE FROM TARIFS")))
            return Requetes::Rapporter(q, erreur);
        q.prepare(QStringLiteral("INSERT INTO TARIFS (Categorie, PremierJour, DernierJour, PrixNuit, PrixAdulte, "
                                 "PrixEnfant, TauxTVA) VALUES (?, ?, ?, ?, ?, ?, ?)"));
        for (const Tarif& t : tarifs) {
            q.addBindValue(t.categorie.trimmed());
            q.addBindValue(Dates::versTexteBase(t.premier));
            q.addBindValue(Dates::versTexteBase(t.dernier));
            q.addBindValue(t.prixNuit);
            q.addBindValue(t.prixAdulte);
            q.addBindValue(t.prixEnfant);
            q.addBindValue(t.tauxTVA);
            if (!q.exec())
                return Requetes::Rapporter(q, erreur);
        }
        return true;
    });
}

std::optional<QList<Poste>> postesSejour(const QSqlDatabase& base, qint32 numero, QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral(
        "SELECT taxe, COALESCE(tauxtva, 0), -SUM(prix) FROM ("
        " SELECT CASE WHEN libelle LIKE 'TAXE DE SEJOUR %' OR libelle LIKE 'CORRECTION TAXE DE SEJOUR %'"
        " THEN 1 ELSE 0 END AS taxe, tauxtva, prix FROM OPERATIONS WHERE numeroreservation = ?"
        " AND (libelle LIKE 'SEJOUR %' OR libelle LIKE 'CORRECTION SEJOUR %'"
        " OR libelle LIKE 'TAXE DE SEJOUR %' OR libelle LIKE 'CORRECTION TAXE DE SEJOUR %')) AS postes"
        " GROUP BY taxe, COALESCE(tauxtva, 0) ORDER BY taxe, 2"));
    q.addBindValue(numero);
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<Poste> postes;
    while (q.next())
        postes.append({q.value(0).toInt() == 1, q.value(1).toDouble(), q.value(2).toDouble()});
    return postes;
}

QString LettreSerie(Serie serie)
{
    return serie == Serie::Avoir ? QStringLiteral("A") : QStringLiteral("F");
}

QString NumeroDocument(Serie serie, int annee, int sequence)
{
    return LettreSerie(serie) + QLatin1Char('-') + QString::number(annee) + QLatin1Char('-')
        + QStringLiteral("%1").arg(sequence, 5, 10, QLatin1Char('0'));
}

QString NumeroFacture(int annee, int sequence)
{
    return NumeroDocument(Serie::Facture, annee, sequence);
}

std::optional<Facture> emettreFacture(const QSqlDatabase& base, qint32 reservation, const QDateTime& date,
    double total, const std::function<std::optional<QByteArray>(const QString&)>& document, QString* erreur)
{
    return emettre(base, Serie::Facture, reservation, date, total, QString(), document, erreur);
}

std::optional<Facture> emettre(const QSqlDatabase& base, Serie serie, qint32 reservation, const QDateTime& date,
    double total, const QString& origine, const std::function<std::optional<QByteArray>(const QString&)>& document,
    QString* erreur, const std::function<bool(const QString&, double*)>& avant)
{
    // The write lock is taken before the last number is read: a second desk
    // waits for this invoice instead of reading the same number.
    QSqlQuery q(base);
    for (const QString& debut : Dialecte::debutEcriture(base))
        if (!q.exec(debut)) {
            Requetes::Rapporter(q, erreur);
            QSqlQuery(base).exec(QStringLiteral("ROLLBACK"));
            return std::nullopt;
        }
    auto annuler = [&]() -> std::optional<Facture> {
        QSqlQuery(base).exec(QStringLiteral("ROLLBACK"));
        return std::nullopt;
    };
    const int annee = date.date().year();
    q.prepare(QStringLiteral("SELECT COALESCE(MAX(Sequence), 0) + 1 FROM FACTURES WHERE Annee = ? AND Serie = ?"));
    q.addBindValue(annee);
    q.addBindValue(LettreSerie(serie));
    if (!q.exec() || !q.next()) {
        Requetes::Rapporter(q, erreur);
        return annuler();
    }
    const int sequence = q.value(0).toInt();
    Facture f{NumeroDocument(serie, annee, sequence), reservation, date, total, {}, serie, origine};
    if (avant && !avant(f.numero, &f.total))
        return annuler();
    const auto pdf = document(f.numero);
    if (!pdf)
        return annuler();
    f.pdf = *pdf;
    q.prepare(QStringLiteral("INSERT INTO FACTURES (Numero, Annee, Sequence, reservation, date, total, pdf, Serie, "
                             "Origine) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(f.numero);
    q.addBindValue(annee);
    q.addBindValue(sequence);
    q.addBindValue(reservation);
    q.addBindValue(Dates::versTexteBase(date));
    q.addBindValue(f.total);
    q.addBindValue(f.pdf);
    q.addBindValue(LettreSerie(serie));
    q.addBindValue(origine.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(origine));
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
        return annuler();
    }
    if (!q.exec(QStringLiteral("COMMIT"))) {
        Requetes::Rapporter(q, erreur);
        return annuler();
    }
    return f;
}

std::optional<QList<Facture>> facturesDeReservation(const QSqlDatabase& base, qint32 reservation, QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("SELECT Numero, reservation, date, total, pdf, Serie, Origine FROM FACTURES "
                             "WHERE reservation = ? ORDER BY date, Serie DESC, Annee, Sequence"));
    q.addBindValue(reservation);
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<Facture> factures;
    while (q.next())
        factures.append({q.value(0).toString(), q.value(1).toInt(), Dates::depuisBase(q.value(2)),
                         q.value(3).toDouble(), q.value(4).toByteArray(),
                         q.value(5).toString() == QLatin1String("A") ? Serie::Avoir : Serie::Facture,
                         q.value(6).toString()});
    return factures;
}

} // namespace RequetesFacturation
