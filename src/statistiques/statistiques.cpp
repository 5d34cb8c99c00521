#include "statistiques.h"

#include "facturation/caissedujour.h"
#include "store/conversion.h"
#include "store/cumuls.h"

#include <algorithm>
#include <cstdio>

namespace Statistiques {

namespace {

using CaisseDuJour::Nature;

// The revenue kind of a row kind of the cash report.
int natureRecette(int nature)
{
    switch (Nature(nature)) {
    case Nature::Sejour:
    case Nature::CorrectionSejour:
        return Sejour;
    case Nature::Taxe:
    case Nature::CorrectionTaxe:
        return Taxe;
    case Nature::Bar:
    case Nature::AnnulationBar:
        return Bar;
    default:
        return Autre;
    }
}

double pourcent(qint64 part, qint64 tout)
{
    return tout > 0 ? 100.0 * double(part) / double(tout) : 0.0;
}

QDate moisDe(const QString& texte)
{
    return QDate::fromString(texte + QStringLiteral("-01"), QStringLiteral("yyyy-MM-dd"));
}

} // namespace

QString NomNature(int nature)
{
    switch (nature) {
    case Sejour:
        return QStringLiteral("Séjours");
    case Taxe:
        return QStringLiteral("Taxe de séjour");
    case Bar:
        return QStringLiteral("Bar");
    default:
        return QStringLiteral("Autres");
    }
}

double Total(const Recettes& recettes)
{
    double total = 0;
    for (double r : recettes)
        total = Conversion::ArrondiCentime(total + r);
    return total;
}

QString ErreurPeriode(const QDate& debut, const QDate& fin)
{
    if (!debut.isValid() || !fin.isValid())
        return QStringLiteral("La période n'a pas de date de début ou de fin.");
    if (debut > fin)
        return QStringLiteral("Le début de la période (%1) est après sa fin (%2).")
            .arg(debut.toString(QStringLiteral("dd/MM/yyyy")), fin.toString(QStringLiteral("dd/MM/yyyy")));
    if (debut.addYears(kAnneesMaximum) <= fin)
        return QStringLiteral("La période dépasse %1 ans : choisissez une période plus courte.").arg(kAnneesMaximum);
    return {};
}

RequetesStatistiques::Prefixes PrefixesDesNatures()
{
    RequetesStatistiques::Prefixes liste;
    for (const auto& [prefixe, nature] : CaisseDuJour::Prefixes())
        liste.append({prefixe, int(nature)});
    return liste;
}

Chiffres Assembler(const QDate& debut, const QDate& fin, const Sommes& s)
{
    Chiffres c;
    c.debut = debut;
    c.fin = fin;
    c.unites = s.unites.size();
    const qint64 jours = debut.daysTo(fin) + 1;
    c.nuitsDisponibles = c.unites * jours;

    // Every month touched by the period, in order, even without a stay.
    QMap<QDate, ParMois> mois;
    for (QDate m(debut.year(), debut.month(), 1); m <= fin; m = m.addMonths(1)) {
        const QDate premier = std::max(m, debut);
        const QDate dernier = std::min(m.addMonths(1).addDays(-1), fin);
        ParMois& pm = mois[m];
        pm.mois = m;
        pm.disponibles = c.unites * (premier.daysTo(dernier) + 1);
    }
    QMap<qint32, ParUnite> unites;
    for (const auto& u : s.unites) {
        ParUnite& pu = unites[u.numero];
        pu.numero = u.numero;
        pu.nom = u.nom;
    }
    for (const auto& n : s.nuits) {
        if (!n.mois.isEmpty()) {
            const auto it = mois.find(moisDe(n.mois));
            if (it == mois.end())
                continue;
            it->nuits += n.nuits;
            it->nuitsParEtat[n.etat] += n.nuits;
            c.nuitsVendues += n.nuits;
            c.nuitsAdultes += n.nuitsAdultes;
            c.nuitsEnfants += n.nuitsEnfants;
        }
        const auto u = unites.find(n.objet);
        if (u != unites.end()) {
            u->nuits += n.nuits;
            u->nuitsParEtat[n.etat] += n.nuits;
        }
    }

    for (const auto& code : {QStringLiteral("ESP"), QStringLiteral("CB"), QStringLiteral("CHQ"), QStringLiteral("VIR")})
        c.paiements.append({CaisseDuJour::TypeDePaiement(code), 0, 0});
    for (const auto& j : s.journal) {
        if (j.nature == RequetesStatistiques::kNatureEncaissement) {
            const QString type = CaisseDuJour::TypeDePaiement(j.code);
            auto it = std::find_if(c.paiements.begin(), c.paiements.end(), [&](const Paiement& p) { return p.type == type; });
            if (it == c.paiements.end()) {
                c.paiements.append({type, 0, 0});
                it = c.paiements.end() - 1;
            }
            it->nombre += j.nombre;
            it->total = Conversion::ArrondiCentime(it->total + j.total);
            c.totalEncaisse = Conversion::ArrondiCentime(c.totalEncaisse + j.total);
            continue;
        }
        const size_t nature = size_t(natureRecette(j.nature));
        const double montant = -j.total;   // a charge is what the client owes
        if (!j.mois.isEmpty()) {
            c.recettes[nature] = Conversion::ArrondiCentime(c.recettes[nature] + montant);
            const auto m = mois.find(moisDe(j.mois));
            if (m != mois.end())
                m->recettes[nature] = Conversion::ArrondiCentime(m->recettes[nature] + montant);
        }
        const auto u = unites.find(j.objet);
        if (u != unites.end())
            u->recettes = Conversion::ArrondiCentime(u->recettes + montant);
    }
    // Stay charges and tourist tax, on the nights they pay for.
    for (const auto& e : s.etalees) {
        const size_t nature = e.taxe ? Taxe : Sejour;
        if (!e.mois.isEmpty()) {
            c.recettes[nature] = Conversion::ArrondiCentime(c.recettes[nature] + e.montant);
            const auto m = mois.find(moisDe(e.mois));
            if (m != mois.end())
                m->recettes[nature] = Conversion::ArrondiCentime(m->recettes[nature] + e.montant);
        }
        const auto u = unites.find(e.objet);
        if (u != unites.end())
            u->recettes = Conversion::ArrondiCentime(u->recettes + e.montant);
    }
    for (ParMois& pm : mois) {
        pm.taux = pourcent(pm.nuits, pm.disponibles);
        c.parMois.append(pm);
    }
    c.taux = pourcent(c.nuitsVendues, c.nuitsDisponibles);
    c.totalRecettes = Total(c.recettes);
    for (const auto& u : s.unites) {
        ParUnite pu = unites.value(u.numero);
        pu.taux = pourcent(pu.nuits, jours);
        c.parUnite.append(pu);
    }

    c.arrivees = s.arrivees.nombre;
    c.dureeMoyenne = c.arrivees > 0 ? double(s.arrivees.nuits) / double(c.arrivees) : 0.0;

    c.sejoursTermines = s.soldes.sejours;
    c.sejoursDebiteurs = s.soldes.debiteurs;
    c.soldeDu = Conversion::ArrondiCentime(s.soldes.du);
    c.ignores = s.ignores;
    return c;
}

namespace {

namespace R = RequetesStatistiques;

// False with the reason when the period cannot be computed.
bool periodeAcceptee(const QDate& debut, const QDate& fin, QString* erreur)
{
    const QString refus = ErreurPeriode(debut, fin);
    if (!refus.isEmpty() && erreur)
        *erreur = refus;
    return refus.isEmpty();
}

template <typename T>
bool ajouter(const std::optional<T>& lu, T* somme)
{
    if (lu)
        *somme += *lu;
    return lu.has_value();
}

// Adds the sums of the days from filtre.debut to filtre.fin read from the
// stays and the journal themselves: everything, or what the monthly table
// and charts need.
bool ajouterLignes(const QSqlDatabase& base, const R::Filtre& filtre, bool complet, Sommes* s, QString* erreur)
{
    if (!complet)
        return ajouter(R::nuitsParMois(base, filtre, erreur), &s->nuits)
            && ajouter(R::chargesParMois(base, filtre, PrefixesDesNatures(), erreur), &s->journal)
            && ajouter(R::recettesEtalees(base, filtre, false, erreur), &s->etalees);
    return ajouter(R::arrivees(base, filtre, erreur), &s->arrivees) && ajouter(R::soldes(base, filtre, erreur), &s->soldes)
        && ajouter(R::nuitsParMoisEtUnite(base, filtre, erreur), &s->nuits)
        && ajouter(R::journal(base, filtre, PrefixesDesNatures(), true, erreur), &s->journal)
        && ajouter(R::recettesEtalees(base, filtre, true, erreur), &s->etalees);
}

// Adds the monthly sums kept for the whole months from `premier` to
// `dernier` (their first days).
bool ajouterCumuls(const QSqlDatabase& base, const QDate& premier, const QDate& dernier,
                   const std::optional<QString>& categorie, bool complet, Sommes* s, QString* erreur)
{
    const auto lu = Cumuls::Lire(base, premier, dernier, categorie, complet, erreur);
    if (!lu)
        return false;
    s->nuits += lu->nuits;
    s->etalees += lu->etalees;
    for (const R::Journal& j : lu->journal)
        if (complet || j.nature != R::kNatureEncaissement)
            s->journal.append(j);
    if (complet) {
        s->arrivees += lu->arrivees;
        s->soldes += lu->soldes;
    }
    return true;
}

// The sums of the period: its whole months from the monthly sums, the days
// before and after them from the rows. From the rows alone when asked,
// when no whole month is inside, or when the monthly sums cannot be
// brought up to date (a database opened read only).
bool lireSommes(const QSqlDatabase& base, const QDate& debut, const QDate& fin, const std::optional<QString>& categorie,
                bool complet, Source source, Sommes* s, QString* erreur)
{
    QDate premier(debut.year(), debut.month(), 1);
    if (premier < debut)
        premier = premier.addMonths(1);
    QDate dernier(fin.year(), fin.month(), 1);
    if (dernier.addMonths(1).addDays(-1) > fin)
        dernier = dernier.addMonths(-1);
    premier = std::max(premier, Cumuls::PremierMois());
    dernier = std::min(dernier, Cumuls::DernierMois());
    if (source == Source::Cumuls && premier <= dernier) {
        QString pourquoi;
        if (Cumuls::MettreAJour(base, PrefixesDesNatures(), &pourquoi)) {
            const QDate apres = dernier.addMonths(1);
            return (debut >= premier || ajouterLignes(base, {debut, premier.addDays(-1), categorie}, complet, s, erreur))
                && ajouterCumuls(base, premier, dernier, categorie, complet, s, erreur)
                && (fin < apres || ajouterLignes(base, {apres, fin, categorie}, complet, s, erreur));
        }
        std::fprintf(stderr, "Chiffres lus ligne à ligne : %s\n", qPrintable(pourquoi));
    }
    return ajouterLignes(base, {debut, fin, categorie}, complet, s, erreur);
}

} // namespace

std::optional<Chiffres> Calculer(const QSqlDatabase& base, const QDate& debut, const QDate& fin,
                                 const std::optional<QString>& categorie, QString* erreur, Source source)
{
    if (!periodeAcceptee(debut, fin, erreur))
        return std::nullopt;
    const auto unites = R::unites(base, categorie, erreur);
    const auto ignores = R::datesIllisibles(base, {debut, fin, categorie}, erreur);
    Sommes s;
    if (!unites || !ignores || !lireSommes(base, debut, fin, categorie, true, source, &s, erreur))
        return std::nullopt;
    s.unites = *unites;
    s.ignores = *ignores;
    return Assembler(debut, fin, s);
}

std::optional<Chiffres> CalculerParMois(const QSqlDatabase& base, const QDate& debut, const QDate& fin,
                                        const std::optional<QString>& categorie, QString* erreur, Source source)
{
    if (!periodeAcceptee(debut, fin, erreur))
        return std::nullopt;
    const auto unites = R::unites(base, categorie, erreur);
    Sommes s;
    if (!unites || !lireSommes(base, debut, fin, categorie, false, source, &s, erreur))
        return std::nullopt;
    s.unites = *unites;
    Chiffres c = Assembler(debut, fin, s);
    c.parUnite.clear();
    return c;
}

QString LigneIgnores(qint64 n)
{
    if (n <= 0)
        return {};
    return n == 1 ? QStringLiteral("1 séjour ignoré : dates illisibles")
                  : QStringLiteral("%1 séjours ignorés : dates illisibles").arg(n);
}

} // namespace Statistiques
