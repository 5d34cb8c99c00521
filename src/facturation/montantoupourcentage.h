#pragma once
// An amount or a share of a price, as the desk types it: "45", "45,50 €",
// "30 %", "12,5%". Used for a deposit and for a cancellation fee.
#include <QString>
#include <optional>

namespace MontantOuPourcentage {

struct Valeur {
    double valeur = 0;          // euros, or percent
    bool pourcentage = false;

    // The amount in euros for a price, to the cent.
    double montant(double prix) const;
    // "45,00 €" or "30 %", as a box shows it again.
    QString texte() const;
    bool operator==(const Valeur&) const = default;
};

// nullopt for anything else (a sign, letters, a percentage over 100).
std::optional<Valeur> Lire(const QString& texte);

} // namespace MontantOuPourcentage
