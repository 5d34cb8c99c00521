#pragma once
// The question put to the user when a stay being saved overlaps other
// reservations of the same unit.
#include "store/requetes.h"

#include <QList>
#include <QString>

namespace Chevauchement {

// How much of a client's name the question shows: the name on one line,
// shortened with "…" beyond this many characters.
inline constexpr int kLongueurNom = 40;

// "Ce logement est déjà occupé du 03/08/2026 au 10/08/2026 (Durand).
// Enregistrer quand même ?", naming the first of `autres` (they come by
// arrival); when there are more, the others are counted after the name.
// Empty when `autres` is empty.
QString Question(const QList<Requetes::Reservation>& autres);

// The client's name as the question shows it.
QString NomAffiche(const QString& nomclient);

} // namespace Chevauchement
