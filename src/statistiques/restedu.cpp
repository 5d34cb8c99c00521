#include "restedu.h"

#include "store/conversion.h"
#include "store/requetes_facturation.h"

namespace ResteDu {

namespace {

double plus(double a, double b)
{
    return Conversion::ArrondiCentime(a + b);
}

} // namespace

Etat Calculer(const QDate& debut, const QDate& fin, const QList<Compte>& comptes,
              const QList<Tarification::Saison>& saisons, double taxeParAdulteNuit)
{
    Etat e;
    e.debut = debut;
    e.fin = fin;
    for (const Compte& c : comptes) {
        Ligne l;
        l.compte = c;
        switch (c.genre) {
        case Compte::Debiteur:
            l.montant = Conversion::ArrondiCentime(-c.solde);
            ++e.debiteurs;
            e.du = plus(e.du, l.montant);
            break;
        case Compte::NonFacture: {
            ++e.nonFactures;
            const Tarification::Sejour sejour{c.unite, c.categorie, c.arrivee.date(), c.depart.date(),
                                              c.adultes, c.enfants};
            const Tarification::Calcul calcul = Tarification::Calculer(sejour, saisons, taxeParAdulteNuit);
            if (calcul.valide()) {
                l.montant = Conversion::ArrondiCentime(calcul.total - c.solde);
                e.prevu = plus(e.prevu, l.montant);
            } else {
                l.remarque = calcul.erreur;
                ++e.sansTarif;
            }
            break;
        }
        case Compte::Annule:
            l.montant = Conversion::ArrondiCentime(-c.solde);
            ++e.annulations;
            e.frais = plus(e.frais, c.frais);
            e.avoirs = plus(e.avoirs, c.avoirs);
            e.duAnnulations = plus(e.duAnnulations, l.montant);
            break;
        }
        e.lignes.append(l);
    }
    return e;
}

std::optional<Etat> Lire(const QSqlDatabase& base, const QDate& debut, const QDate& fin,
                         const std::optional<QString>& categorie, double taxeParAdulteNuit, QString* erreur)
{
    const auto comptes = RequetesStatistiques::comptes(base, {debut, fin, categorie}, erreur);
    const auto saisons = RequetesFacturation::tarifs(base, erreur);
    if (!comptes || !saisons)
        return std::nullopt;
    return Calculer(debut, fin, *comptes, *saisons, taxeParAdulteNuit);
}

} // namespace ResteDu
