#include "lignesfacture.h"

#include "store/conversion.h"
#include "store/dates.h"

#include <algorithm>
#include <cmath>

namespace LignesFacture {

namespace {

using Tarification::Genre;
using Tarification::Part;

bool memeTaux(double a, double b)
{
    return std::llround(a * 100) == std::llround(b * 100);
}

bool commencePar(const QString& libelle, const char* debut)
{
    return libelle.startsWith(QLatin1String(debut));
}

bool estTaxe(const QString& libelle)
{
    return commencePar(libelle, "TAXE DE SEJOUR ") || commencePar(libelle, "CORRECTION TAXE DE SEJOUR ");
}

bool estCharge(const RequetesFacturation::LigneCompte& l)
{
    return std::llround(l.prix * 100) != 0 && l.paiement.trimmed().isEmpty();
}

// The stay rows of the account netted by kind and rate, as charges.
QList<Part> nets(const QList<RequetesFacturation::LigneCompte>& compte)
{
    QList<Part> parts;
    for (const auto& l : compte) {
        if (!estCharge(l) || !EstLigneDeSejour(l.libelle))
            continue;
        const Genre genre = estTaxe(l.libelle) ? Genre::Taxe : Genre::Sejour;
        const double taux = l.tauxTVA.value_or(0);
        auto it = std::find_if(parts.begin(), parts.end(),
                               [&](const Part& p) { return p.genre == genre && memeTaux(p.tauxTVA, taux); });
        if (it == parts.end())
            parts.append({genre, taux, -l.prix});
        else
            it->montant -= l.prix;
    }
    for (Part& p : parts)
        p.montant = Conversion::ArrondiCentime(p.montant);
    std::sort(parts.begin(), parts.end(), [](const Part& a, const Part& b) {
        return a.genre != b.genre ? a.genre == Genre::Sejour : a.tauxTVA < b.tauxTVA;
    });
    return parts;
}

std::optional<double> tauxOuRien(double taux)
{
    return taux > 0 ? std::optional<double>(taux) : std::nullopt;
}

// The lines of the stay's price: one per season and rate, its supplements
// joined to it, and the tax.
QList<Ligne> lignesDuPrix(const Tarification::Calcul& prix)
{
    struct Groupe { QDate du; QDate au; Ligne ligne; };
    QList<Groupe> groupes;
    QList<Ligne> taxes;
    for (const Tarification::Ligne& l : prix.lignes) {
        if (l.genre == Genre::Taxe) {
            taxes.append({l.libelle, std::nullopt, l.montant});
            continue;
        }
        auto it = std::find_if(groupes.begin(), groupes.end(), [&](const Groupe& g) {
            return g.du == l.du && g.au == l.au && memeTaux(g.ligne.tauxTVA.value_or(0), l.tauxTVA);
        });
        if (it == groupes.end()) {
            groupes.append({l.du, l.au, {l.libelle, tauxOuRien(l.tauxTVA), l.montant}});
            continue;
        }
        QString supplement = l.libelle;
        if (supplement.startsWith(QStringLiteral("Supplément ")))
            supplement[0] = supplement.at(0).toLower();
        it->ligne.libelle += QStringLiteral(", ") + supplement;
        it->ligne.montant = Conversion::ArrondiCentime(it->ligne.montant + l.montant);
    }
    QList<Ligne> lignes;
    for (const Groupe& g : std::as_const(groupes))
        lignes.append(g.ligne);
    return lignes + taxes;
}

} // namespace

bool EstLigneDeSejour(const QString& libelle)
{
    return commencePar(libelle, "SEJOUR ") || commencePar(libelle, "CORRECTION SEJOUR ") || estTaxe(libelle);
}

QList<Ligne> Charges(const QList<RequetesFacturation::LigneCompte>& compte, const Sejour& sejour)
{
    QList<Ligne> lignes;
    const QList<Part> poste = nets(compte);
    const bool rienAuCompte = std::all_of(poste.begin(), poste.end(),
                                          [](const Part& p) { return std::llround(p.montant * 100) == 0; });
    if (!rienAuCompte) {
        const bool commeMaintenant = !sejour.annule && sejour.prix && sejour.prix->valide()
            && Tarification::Difference(poste, Tarification::Parts(sejour.prix->lignes)).isEmpty();
        if (commeMaintenant) {
            lignes = lignesDuPrix(*sejour.prix);
        } else {
            const QString periode = QStringLiteral(" du ")
                + (sejour.arrivee.isValid() ? Dates::jjmmaaaa(sejour.arrivee) : QStringLiteral("?")) + QStringLiteral(" au ")
                + (sejour.depart.isValid() ? Dates::jjmmaaaa(sejour.depart) : QStringLiteral("?"));
            for (const Part& p : poste)
                if (std::llround(p.montant * 100) != 0)
                    lignes.append({p.genre == Genre::Taxe ? QStringLiteral("Taxe de séjour") + periode
                                                          : QStringLiteral("Séjour ") + sejour.unite + periode,
                                   p.genre == Genre::Taxe ? std::nullopt : tauxOuRien(p.tauxTVA), p.montant});
        }
    }
    for (const auto& l : compte)
        if (estCharge(l) && !EstLigneDeSejour(l.libelle))
            lignes.append({Dates::jjmmaaaa(l.date.date()) + QLatin1Char(' ') + l.libelle,
                           l.tauxTVA ? tauxOuRien(*l.tauxTVA) : std::nullopt, -l.prix});
    return lignes;
}

QString Solde(double solde)
{
    const qint64 centimes = std::llround(solde * 100);
    if (centimes > 0)
        return QStringLiteral("Trop-perçu : ") + Conversion::Monnaie(centimes / 100.0);
    return QStringLiteral("Reste à payer : ") + Conversion::Monnaie(double(centimes < 0 ? -centimes : 0) / 100.0);
}

} // namespace LignesFacture
