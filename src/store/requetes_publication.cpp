#include "requetes_publication.h"

#include "dates.h"
#include "dialecte.h"
#include "requetes.h"

#include <QSqlError>
#include <QSqlQuery>

namespace Requetes {

std::optional<QList<SejourPublie>> sejoursPublies(const QSqlDatabase& base, qint32 objet, const QDate& depuis,
                                                  const QDate& avant, QString* erreur)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    // The bounds are bare "YYYY-MM-DD" texts: every stored form of a date
    // ("YYYY-MM-DD HH:MM:SS", "YYYY-MM-DDTHH:MM:SS", "YYYY-MM-DD") of the
    // day `avant` or later compares as not smaller than it.
    // A text that is not a date compares with the bounds as any text does
    // and could fall outside them: such rows are read apart from the bounds.
    q.prepare(QStringLiteral(
        "SELECT RESERVATIONS.NumeroReservation, RESERVATIONS.DateDebut, RESERVATIONS.DateFin FROM RESERVATIONS "
        "LEFT JOIN ETATS ON RESERVATIONS.Etat = ETATS.Code "
        "WHERE ETATS.surinternet <> 0 AND RESERVATIONS.objet = :objet AND RESERVATIONS.Annulation IS NULL "
        "AND ((RESERVATIONS.DateDebut < :avant "
        "AND (RESERVATIONS.DateFin >= :depuis OR RESERVATIONS.DateDebut >= :depuis)) "
        "OR RESERVATIONS.DateDebut IS NULL OR RESERVATIONS.DateFin IS NULL "
        "OR ") + Dialecte::pasUneDate(base, QStringLiteral("RESERVATIONS.DateDebut")) + QStringLiteral(" "
        "OR ") + Dialecte::pasUneDate(base, QStringLiteral("RESERVATIONS.DateFin")) + QStringLiteral(") "
        "ORDER BY RESERVATIONS.DateDebut, RESERVATIONS.NumeroReservation"));
    q.bindValue(QStringLiteral(":objet"), objet);
    q.bindValue(QStringLiteral(":avant"), avant.toString(Qt::ISODate));
    q.bindValue(QStringLiteral(":depuis"), depuis.toString(Qt::ISODate));
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<SejourPublie> lignes;
    while (q.next())
        lignes.append({q.value(0).toInt(), Dates::depuisBase(q.value(1)), Dates::depuisBase(q.value(2)),
                       q.value(1).toString(), q.value(2).toString()});
    return lignes;
}

} // namespace Requetes
