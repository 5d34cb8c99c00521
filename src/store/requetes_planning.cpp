#include "requetes_planning.h"

#include "dates.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace RequetesPlanning {

namespace {

bool rapporter(const QSqlQuery& q, QString* erreur)
{
    if (erreur)
        *erreur = q.lastError().text();
    return false;
}

} // namespace

std::optional<QHash<qint32, QList<Requetes::ReservationPlanning>>> reservationsDuPlanning(
    const QSqlDatabase& base, const QDate& avant, const QDateTime& finApres, QString* erreur)
{
    // The two index ranges of reservationsDeObjet, run for each unit through
    // the IN list: stays starting inside the period whatever their end, and
    // stays begun before it that end inside or after it.
    const QString colonnes = QStringLiteral(
        "SELECT RESERVATIONS.*, ETATS.Code AS code, ETATS.Nom AS nom, ETATS.CouleurPrincipale AS couleur "
        "FROM RESERVATIONS LEFT JOIN ETATS ON RESERVATIONS.Etat = ETATS.Code "
        "WHERE RESERVATIONS.objet IN (SELECT Numero FROM OBJETS) ");
    QSqlQuery q(base);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT * FROM (") + colonnes
        + QStringLiteral("AND RESERVATIONS.DateDebut >= :apres1 AND RESERVATIONS.DateDebut < :avant1 UNION ALL ")
        + colonnes
        + QStringLiteral("AND RESERVATIONS.DateFin >= :apres2 AND +RESERVATIONS.DateDebut < :apres3 "
                         "AND +RESERVATIONS.DateDebut < :avant2) "
                         // Sorting on expressions keeps the planner from walking the
                         // start index for its order in the second range.
                         "ORDER BY +objet, +DateDebut, +NumeroReservation"));
    const QString apres = Dates::versTexteBase(finApres);
    const QString borne = Dates::versTexteBase(avant);
    q.bindValue(QStringLiteral(":apres1"), apres);
    q.bindValue(QStringLiteral(":avant1"), borne);
    q.bindValue(QStringLiteral(":apres2"), apres);
    q.bindValue(QStringLiteral(":apres3"), apres);
    q.bindValue(QStringLiteral(":avant2"), borne);
    if (!q.exec()) {
        rapporter(q, erreur);
        return std::nullopt;
    }

    const Requetes::LecteurPlanning lecteur(q);
    QHash<qint32, QList<Requetes::ReservationPlanning>> parUnite;
    while (q.next()) {
        Requetes::ReservationPlanning l = lecteur.ligne();
        parUnite[l.reservation.objet].append(l);
    }
    return parUnite;
}

} // namespace RequetesPlanning
