#pragma once
// The texts of a deletion: the question asked before it and the journal row
// that keeps, after it, who was deleted.
#include "store/requetes.h"

#include <QList>
#include <QString>

namespace Suppression {

// "Supprimer la réservation 42 de Durand du 03/08/2026 au 10/08/2026 ?
// Les opérations du compte sont conservées."
QString Question(const Requetes::Reservation& r);

// "Suppression de la réservation (Durand, Chalet, 03/08/2026 - 10/08/2026)"
QString Libelle(const Requetes::Reservation& r, const QString& unite);

// The name of unit `numero` in `objets`; its number as text when the unit
// is no longer in the list or has no name.
QString NomUnite(const QList<Requetes::Objet>& objets, qint32 numero);

} // namespace Suppression
