#pragma once
// The two questions of a cancellation: the fee to keep (an amount or a share
// of the stay's price) and, when the guest paid more than what remains due,
// the refund (an amount and its payment type). Each answers nullopt when
// the user goes back.
#include "facturation/montantoupourcentage.h"

#include <QString>
#include <QWidget>
#include <optional>

namespace DialoguesAnnulation {

// Asks the fee, starting from `proposition`; `prix` is the stay's price, for
// the text that shows what a percentage comes to.
std::optional<MontantOuPourcentage::Valeur> DemanderFrais(QWidget* parent, const QString& titre,
    const MontantOuPourcentage::Valeur& proposition, double prix);

struct Remboursement {
    double montant = 0;
    QString code;   // "ESP", "CB", "CHQ", "VIR"
};
// Asks how much of `du` (what is owed to the guest) goes back, and how.
std::optional<Remboursement> DemanderRemboursement(QWidget* parent, const QString& titre, double du);

// A credit note by hand on invoice `origine`: its amount (VAT included),
// its rate and its reason.
struct AvoirDemande {
    double montant = 0;
    double tauxTVA = 10;
    QString motif;
};
std::optional<AvoirDemande> DemanderAvoir(QWidget* parent, const QString& titre, const QString& origine);
// Why a credit note typed as these texts cannot be made ("" when it can).
QString RefusAvoir(const QString& montant, const QString& taux, AvoirDemande* lu);

// Why a refund typed as `texte` cannot be made of `du` ("" when it can).
QString RefusRemboursement(const QString& texte, double du, double* montant);

} // namespace DialoguesAnnulation
