#include "requetes_planning.h"

#include <QSqlError>
#include <QSqlQuery>

namespace RequetesPlanning {

bool indexerFins(const QSqlDatabase& base, QString* erreur)
{
    QSqlQuery q(base);
    if (q.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS idx_reservations_objet_fin "
                              "ON RESERVATIONS(objet, DateFin, DateDebut)")))
        return true;
    if (erreur)
        *erreur = q.lastError().text();
    return false;
}

} // namespace RequetesPlanning
