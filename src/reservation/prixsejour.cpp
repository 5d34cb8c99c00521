#include "prixsejour.h"

#include "facturation/etablissement.h"
#include "reservation/saisie.h"
#include "store/requetes.h"
#include "store/requetes_facturation.h"

#include <algorithm>

namespace PrixSejour {

Tarification::Sejour SejourDesCases(const Verification::Champs& s, const QList<Requetes::Objet>& objets)
{
    Tarification::Sejour sejour;
    const qint32 numero = Saisie::NumeroEntree(s.objet);
    sejour.unite = QString::number(numero);
    for (const Requetes::Objet& o : objets)
        if (o.numero == numero) {
            if (!o.nom.toString().trimmed().isEmpty())
                sejour.unite = o.nom.toString().trimmed();
            sejour.categorie = o.categorie;
        }
    sejour.arrivee = Saisie::LireJour(s.datedebut).value_or(QDate());
    sejour.depart = Saisie::LireJour(s.datefin).value_or(QDate());
    sejour.adultes = std::max(0, Saisie::LireEffectif(s.nbadultes).value_or(0));
    sejour.enfants = std::max(0, Saisie::LireEffectif(s.nbenfants).value_or(0));
    return sejour;
}

Tarification::Calcul Calculer(const QSqlDatabase& base, const QString& cheminINI, const Verification::Champs& s)
{
    QString erreur;
    const auto objets = Requetes::objets(base, &erreur);
    const auto tarifs = objets ? RequetesFacturation::tarifs(base, &erreur) : std::nullopt;
    if (!objets || !tarifs) {
        Tarification::Calcul c;
        c.erreur = QStringLiteral("Les tarifs n'ont pas pu être lus : ") + erreur;
        return c;
    }
    const qint32 numero = Saisie::NumeroEntree(s.objet);
    if (std::none_of(objets->begin(), objets->end(), [numero](const Requetes::Objet& o) { return o.numero == numero; })) {
        Tarification::Calcul c;
        c.erreur = QStringLiteral("Aucune unité de location de la liste n'est choisie.");
        return c;
    }
    return Tarification::Calculer(SejourDesCases(s, *objets), *tarifs, Etablissement::TaxeDeSejour(cheminINI));
}

std::optional<Tarification::Calcul> PourLesArrhes(const QSqlDatabase& base, const QString& cheminINI,
                                                  const Verification::Champs& s)
{
    if (!Saisie::ArrhesEnPourcentage(s.arrhes))
        return std::nullopt;
    return Calculer(base, cheminINI, s);
}

} // namespace PrixSejour
