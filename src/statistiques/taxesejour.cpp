#include "taxesejour.h"

#include "statistiques/etalement.h"
#include "store/conversion.h"

namespace TaxeSejour {

QDate DebutMois(int annee, int mois)
{
    return QDate(annee, mois, 1);
}

QDate FinMois(int annee, int mois)
{
    return DebutMois(annee, mois).addMonths(1).addDays(-1);
}

QDate DebutTrimestre(int annee, int trimestre)
{
    return QDate(annee, 3 * (trimestre - 1) + 1, 1);
}

QDate FinTrimestre(int annee, int trimestre)
{
    return DebutTrimestre(annee, trimestre).addMonths(3).addDays(-1);
}

Declaration Calculer(const QDate& debut, const QDate& fin, double taux,
                     const QList<RequetesStatistiques::Sejour>& sejours,
                     const QList<RequetesStatistiques::TaxeAvance>& avance)
{
    Declaration d;
    d.debut = debut;
    d.fin = fin;
    d.taux = taux;
    for (const auto& s : sejours) {
        Ligne l;
        l.sejour = s;
        l.nuitsTaxees = s.nuits * std::max(0, s.adultes);
        l.montant = Conversion::ArrondiCentime(double(l.nuitsTaxees) * taux);
        l.nonFacturee = s.taxePostees == 0;
        l.facturee = Etalement::PartDansPeriode(s.taxe, s.arrivee.date(), s.depart.date(), debut, fin);
        d.lignes.append(l);
        d.facturee = Conversion::ArrondiCentime(d.facturee + l.facturee);
        if (l.nonFacturee)
            d.nonFacturee = Conversion::ArrondiCentime(d.nonFacturee + l.montant);
        d.nuits += s.nuits;
        d.adultes += std::max(0, s.adultes);
        d.exoneres += std::max(0, s.enfants);
        d.nuitsTaxees += l.nuitsTaxees;
        d.montant = Conversion::ArrondiCentime(d.montant + l.montant);
    }
    d.autresEcarts = Conversion::ArrondiCentime(d.montant - d.facturee - d.nonFacturee);
    // The nights after the period, up to the last one of any stay.
    for (const auto& a : avance) {
        const QDate apres = fin.addDays(1);
        if (a.depart > apres)
            d.avance = Conversion::ArrondiCentime(
                d.avance + Etalement::PartDansPeriode(a.taxe, a.arrivee, a.depart, apres, a.depart));
    }
    return d;
}

std::optional<Declaration> Lire(const QSqlDatabase& base, const QDate& debut, const QDate& fin, double taux,
                                const std::optional<QString>& categorie, QString* erreur)
{
    const auto sejours = RequetesStatistiques::sejours(base, {debut, fin, categorie}, erreur);
    const auto avance = RequetesStatistiques::taxeAvance(base, {debut, fin, categorie}, erreur);
    if (!sejours || !avance)
        return std::nullopt;
    return Calculer(debut, fin, taux, *sejours, *avance);
}

} // namespace TaxeSejour
