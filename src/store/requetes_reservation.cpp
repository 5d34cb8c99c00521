#include "requetes_reservation.h"

#include "module1.h"

#include <QSqlError>
#include <QSqlQuery>

namespace RequetesReservation {

using Requetes::EnTransaction;

std::optional<qint32> creer(const QSqlDatabase& base, const Requetes::Reservation& r,
                            const QString& libelle, QString* erreur)
{
    qint32 numero = 0;
    const bool ok = EnTransaction(base, erreur, [&] {
        const auto nouveau = Requetes::ajouterReservation(base, r, erreur);
        if (!nouveau)
            return false;
        numero = *nouveau;
        return Module1::EnregistrerOperation(base, numero, 0, QString(), libelle, erreur);
    });
    if (!ok)
        return std::nullopt;
    return numero;
}

bool modifier(const QSqlDatabase& base, const Requetes::Reservation& r,
              const QString& libelle, QString* erreur)
{
    return EnTransaction(base, erreur, [&] {
        return Requetes::modifierReservation(base, r, erreur)
            && Module1::EnregistrerOperation(base, r.numero, 0, QString(), libelle, erreur);
    });
}

std::optional<int> supprimer(const QSqlDatabase& base, qint32 numero, const QString& libelle, QString* erreur)
{
    int supprimees = 0;
    const bool ok = EnTransaction(base, erreur, [&] {
        QSqlQuery q(base);
        q.prepare(QStringLiteral("DELETE FROM RESERVATIONS WHERE NumeroReservation = :n"));
        q.bindValue(QStringLiteral(":n"), numero);
        if (!q.exec())
            return Requetes::Rapporter(q, erreur);
        supprimees = q.numRowsAffected();
        // Nothing deleted (another desk was quicker): nothing to record.
        return supprimees == 0 || Module1::EnregistrerOperation(base, numero, 0, QString(), libelle, erreur);
    });
    if (!ok)
        return std::nullopt;
    return supprimees;
}

} // namespace RequetesReservation
