#include "requetes_reservation.h"

#include "module1.h"
#include "requetes_editeurs.h"

#include <QSqlError>
#include <QSqlQuery>

namespace RequetesReservation {

using Requetes::EnTransaction;
using Requetes::EnTransactionEcriture;

namespace {

// False when the stay of `r` overlaps a reservation the user did not accept
// (then *nouveau is set), or when the overlaps cannot be read.
bool seulementAcceptes(const QSqlDatabase& base, const Requetes::Reservation& r, qint32 sauf,
                       const QList<qint32>* acceptes, bool* nouveau, QString* erreur)
{
    if (!acceptes)
        return true;
    const auto autres = RequetesEditeurs::chevauchements(base, r.objet, r.debut, r.fin, sauf, erreur);
    if (!autres)
        return false;
    for (const Requetes::Reservation& a : *autres)
        if (!acceptes->contains(a.numero)) {
            if (nouveau)
                *nouveau = true;
            if (erreur)
                *erreur = QStringLiteral("Un autre poste vient de réserver ce logement sur ces dates.");
            return false;
        }
    return true;
}

} // namespace

std::optional<qint32> creer(const QSqlDatabase& base, const Requetes::Reservation& r,
                            const QString& libelle, QString* erreur, const QList<qint32>* acceptes, bool* nouveau,
                            const Ensuite& ensuite)
{
    if (nouveau)
        *nouveau = false;
    qint32 numero = 0;
    const bool ok = EnTransactionEcriture(base, erreur, [&] {
        if (!seulementAcceptes(base, r, 0, acceptes, nouveau, erreur))
            return false;
        const auto nouveau = Requetes::ajouterReservation(base, r, erreur);
        if (!nouveau)
            return false;
        numero = *nouveau;
        return Module1::EnregistrerOperation(base, numero, 0, QString(), libelle, erreur)
            && (!ensuite || ensuite(numero, erreur));
    });
    if (!ok)
        return std::nullopt;
    return numero;
}

QString MessageModifieeAilleurs()
{
    return QStringLiteral("Cette réservation a été modifiée (ou supprimée) sur un autre poste depuis son ouverture.");
}

namespace {

// True when the stored version of the reservation is still `version`
// (read inside the write's transaction).
std::optional<bool> versionInchangee(const QSqlDatabase& base, qint32 numero, qint32 version, QString* erreur)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("SELECT COALESCE(version, 0) FROM RESERVATIONS WHERE NumeroReservation = :n"));
    q.bindValue(QStringLiteral(":n"), numero);
    if (!q.exec()) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    return q.next() && q.value(0).toInt() == version;
}

} // namespace

bool modifier(const QSqlDatabase& base, const Requetes::Reservation& r,
              const QString& libelle, QString* erreur, bool* conflit, const QList<qint32>* acceptes, bool* nouveau,
              const Ensuite& ensuite)
{
    if (conflit)
        *conflit = false;
    if (nouveau)
        *nouveau = false;
    return EnTransactionEcriture(base, erreur, [&] {
        if (!seulementAcceptes(base, r, r.numero, acceptes, nouveau, erreur))
            return false;
        if (conflit) {
            const auto inchangee = versionInchangee(base, r.numero, r.version, erreur);
            if (!inchangee)
                return false;
            if (!*inchangee) {
                *conflit = true;
                if (erreur)
                    *erreur = MessageModifieeAilleurs();
                return false;
            }
        }
        return Requetes::modifierReservation(base, r, erreur)
            && Module1::EnregistrerOperation(base, r.numero, 0, QString(), libelle, erreur)
            && (!ensuite || ensuite(r.numero, erreur));
    });
}

std::optional<int> supprimer(const QSqlDatabase& base, qint32 numero, const QString& libelle, QString* erreur,
                             std::optional<qint32> versionLue, bool* conflit, const std::function<bool()>& avant)
{
    if (conflit)
        *conflit = false;
    int supprimees = 0;
    const bool ok = EnTransactionEcriture(base, erreur, [&] {
        if (versionLue) {
            const auto inchangee = versionInchangee(base, numero, *versionLue, erreur);
            if (!inchangee)
                return false;
            // A row that is gone is reported below as already deleted.
            if (!*inchangee && Requetes::reservation(base, numero)) {
                if (conflit)
                    *conflit = true;
                if (erreur)
                    *erreur = MessageModifieeAilleurs();
                return false;
            }
        }
        if (avant && Requetes::reservation(base, numero) && !avant())
            return false;
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
