#include "module1.h"

#include "conversion.h"
#include "horloge.h"
#include "requetes.h"

#include <cmath>

namespace Module1 {

QString CodePaiement(const QString& paiement)
{
    return (paiement + QStringLiteral("   ")).left(3);
}

namespace {

bool enregistrer(const QSqlDatabase& base, double numero, double prix, const QString& paiement,
                 const QString& libelle, std::optional<double> tauxTVA, QString* erreur)
{
    if (!std::isfinite(numero) || !std::isfinite(prix) || (tauxTVA && !std::isfinite(*tauxTVA))) {
        if (erreur)
            *erreur = QStringLiteral("Montant ou numéro invalide");
        return false;
    }
    return Requetes::ajouterOperation(base, qint32(std::llround(numero)), Horloge::maintenant(),
                                      Conversion::ArrondiCentime(prix), CodePaiement(paiement), libelle, erreur,
                                      tauxTVA);
}

} // namespace

bool EnregistrerOperation(const QSqlDatabase& base, double numero, double prix,
                          const QString& paiement, const QString& libelle, QString* erreur)
{
    return enregistrer(base, numero, prix, paiement, libelle, std::nullopt, erreur);
}

bool EnregistrerOperationTVA(const QSqlDatabase& base, double numero, double prix, const QString& paiement,
                             const QString& libelle, double tauxTVA, QString* erreur)
{
    return enregistrer(base, numero, prix, paiement, libelle, tauxTVA, erreur);
}

std::optional<Compte> LireCompte(const QSqlDatabase& base, qint32 numero, QString* erreur)
{
    const auto lignes = Requetes::operationsMontant(base, numero, erreur);
    if (!lignes)
        return std::nullopt;
    Compte compte;
    for (const Requetes::Operation& o : *lignes) {
        compte.prix.append(o.prix);
        compte.libelles.append(o.libelle);
        compte.paiements.append(o.paiement);
    }
    return compte;
}

} // namespace Module1
