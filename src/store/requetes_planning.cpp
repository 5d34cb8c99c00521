#include "requetes_planning.h"

#include "dates.h"
#include "dialecte.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace RequetesPlanning {

std::optional<QHash<qint32, QList<Requetes::ReservationPlanning>>> reservationsDuPlanning(
    const QSqlDatabase& base, const QDate& avant, const QDateTime& finApres, QString* erreur)
{
    // The two index ranges of reservationsDeObjet, run for each unit
    // through the IN list.
    const QString unites = QStringLiteral("RESERVATIONS.objet IN (SELECT Numero FROM OBJETS)");
    QSqlQuery q(base);
    q.setForwardOnly(true);
    // Sorting on expressions keeps the planner from walking the start index
    // for its order in the second range.
    const QString plus = Dialecte::sansIndex(base);
    q.prepare(Requetes::SelectPeriode(base, unites, unites,
                                      QStringLiteral("%1objet, %1DateDebut, %1NumeroReservation").arg(plus)));
    Requetes::LierPeriode(q, avant, finApres);
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
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

std::optional<QString> versionDonnees(const QSqlDatabase& base)
{
    if (Dialecte::estPostgres(base)) {
        // The server's snapshot (oldest running transaction, next number to
        // give, those running) moves whenever a transaction that writes
        // starts or ends, this desk's or any other's: while it stands still,
        // nothing was committed since. Read before the rows, so that a
        // commit in between only makes the next refresh read them again.
        QSqlQuery q(base);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT CAST(pg_current_snapshot() AS TEXT)")) || !q.next())
            return std::nullopt;
        return q.value(0).toString();
    }
    if (base.driverName() != QLatin1String("QSQLITE"))
        return std::nullopt;
    // total_changes() counts the rows this connection wrote, schema_version
    // its changes of tables; data_version moves when another connection (a
    // worker thread, another program) committed.
    QSqlQuery q(base);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT total_changes(), (SELECT schema_version FROM pragma_schema_version), "
                               "(SELECT data_version FROM pragma_data_version)"))
        || !q.next())
        return std::nullopt;
    return q.value(0).toString() + QLatin1Char(':') + q.value(1).toString() + QLatin1Char(':')
        + q.value(2).toString();
}

} // namespace RequetesPlanning
