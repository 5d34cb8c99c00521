#include "requetes_caisse.h"

#include "dates.h"
#include "requetes.h"

#include <QSqlQuery>
#include <QVariant>

namespace RequetesCaisse {

std::optional<QList<Operation>> operationsDuJour(const QSqlDatabase& base, const QDate& jour, QString* erreur)
{
    // Dates are stored as sortable text, so the day is a range of texts.
    QSqlQuery q(base);
    q.prepare(QStringLiteral("SELECT date, numeroreservation, prix, paiement, libelle FROM OPERATIONS "
                             "WHERE date >= ? AND date < ? ORDER BY date, rowid"));
    q.addBindValue(Dates::versTexteBase(jour));
    q.addBindValue(Dates::versTexteBase(jour.addDays(1)));
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<Operation> lignes;
    while (q.next())
        lignes.append({Dates::depuisBase(q.value(0)), q.value(1).toInt(), q.value(2).toDouble(),
                       q.value(3).toString(), q.value(4).toString()});
    return lignes;
}

} // namespace RequetesCaisse
