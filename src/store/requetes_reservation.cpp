#include "requetes_reservation.h"

#include "module1.h"

#include <QSqlError>
#include <QSqlQuery>

namespace RequetesReservation {

namespace {

// Runs `ecrire` inside a transaction: committed when it succeeds, rolled
// back otherwise.
template <typename Ecriture>
bool enTransaction(const QSqlDatabase& base, QString* erreur, Ecriture ecrire)
{
    QSqlDatabase db = base;
    if (!db.transaction()) {
        if (erreur)
            *erreur = db.lastError().text();
        return false;
    }
    if (!ecrire()) {
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        if (erreur)
            *erreur = db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

} // namespace

std::optional<qint32> creer(const QSqlDatabase& base, const Requetes::Reservation& r,
                            const QString& libelle, QString* erreur)
{
    qint32 numero = 0;
    const bool ok = enTransaction(base, erreur, [&] {
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
    return enTransaction(base, erreur, [&] {
        return Requetes::modifierReservation(base, r, erreur)
            && Module1::EnregistrerOperation(base, r.numero, 0, QString(), libelle, erreur);
    });
}

std::optional<int> supprimer(const QSqlDatabase& base, qint32 numero, QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("DELETE FROM RESERVATIONS WHERE NumeroReservation = :n"));
    q.bindValue(QStringLiteral(":n"), numero);
    if (!q.exec()) {
        if (erreur)
            *erreur = q.lastError().text();
        return std::nullopt;
    }
    return q.numRowsAffected();
}

} // namespace RequetesReservation
