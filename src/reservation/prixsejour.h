#pragma once
// The price of the stay the reservation window's boxes describe (its unit,
// dates and persons), priced as the account prices a stored stay: the
// unit's category, the rates of its seasons and the tourist tax. Used to
// turn a deposit typed as a share of the price into its amount.
#include "facturation/tarification.h"
#include "reservation/verification.h"

#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace PrixSejour {

// The stay of the boxes as the pricing reads it, given the units known.
Tarification::Sejour SejourDesCases(const Verification::Champs& s, const QList<Requetes::Objet>& objets);

// The stay priced; a Calcul with its French reason when it cannot be (a
// unit without category, a night without rate, rates that cannot be read).
Tarification::Calcul Calculer(const QSqlDatabase& base, const QString& cheminINI, const Verification::Champs& s);

// The price the checks need: only when the deposit box holds a share of
// the price, nullopt otherwise (nothing is read then).
std::optional<Tarification::Calcul> PourLesArrhes(const QSqlDatabase& base, const QString& cheminINI,
                                                  const Verification::Champs& s);

} // namespace PrixSejour
