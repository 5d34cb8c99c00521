#include "comptesejour.h"

#include "config/fichiers.h"

#include "store/conversion.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/module1.h"
#include "store/requetes.h"
#include "store/requetes_facturation.h"

#include <QDir>
#include <QFileInfo>

namespace CompteSejour {

QList<Tarification::Part> PartsPostees(const QList<RequetesFacturation::Poste>& postes)
{
    QList<Tarification::Part> parts;
    for (const auto& p : postes)
        if (std::llround(p.montant * 100) != 0)
            parts.append({p.taxe ? Tarification::Genre::Taxe : Tarification::Genre::Sejour, p.tauxTVA, p.montant});
    return parts;
}

std::optional<Sejour> Lire(const QSqlDatabase& base, qint32 numero, const QString& cheminINI, QString* erreur)
{
    const auto r = Requetes::reservation(base, numero, erreur);
    if (!r)
        return std::nullopt;
    const auto objets = Requetes::objets(base, erreur);
    const auto tarifs = RequetesFacturation::tarifs(base, erreur);
    const auto postes = RequetesFacturation::postesSejour(base, numero, erreur);
    if (!objets || !tarifs || !postes)
        return std::nullopt;
    Sejour s;
    s.reservation = *r;
    s.unite = QString::number(r->objet);
    for (const Requetes::Objet& o : *objets)
        if (o.numero == r->objet) {
            if (!o.nom.toString().trimmed().isEmpty())
                s.unite = o.nom.toString().trimmed();
            s.sejour.categorie = o.categorie;
        }
    s.sejour.unite = s.unite;
    s.sejour.arrivee = r->debut.date();
    s.sejour.depart = r->fin.date();
    s.sejour.adultes = std::max(0, r->nbadultes);
    s.sejour.enfants = std::max(0, r->nbenfants);
    s.calcul = Tarification::Calculer(s.sejour, *tarifs, Etablissement::TaxeDeSejour(cheminINI));
    s.poste = PartsPostees(*postes);
    s.dejaPorte = !postes->isEmpty();
    s.sansTarifs = tarifs->isEmpty();
    return s;
}

QString TexteDesLignes(const Sejour& s)
{
    QString texte;
    if (!s.calcul.valide()) {
        texte = s.calcul.erreur;
    } else if (s.calcul.lignes.isEmpty()) {
        texte = QStringLiteral("Séjour sans nuit : rien à facturer.");
    } else {
        for (const Tarification::Ligne& l : s.calcul.lignes)
            texte += l.libelle + QStringLiteral(" = ") + Conversion::Monnaie(l.montant) + QLatin1Char('\n');
        texte += QStringLiteral("Total : ") + Conversion::Monnaie(s.calcul.total);
    }
    double porte = 0;
    for (const Tarification::Part& p : s.poste)
        porte += p.montant;
    porte = Conversion::ArrondiCentime(porte);
    const QString dejaAuCompte = QStringLiteral("Porté au compte : ") + Conversion::Monnaie(porte) + QLatin1Char('.');
    texte += QStringLiteral("\n\n");
    if (s.reservation.annulee())
        return texte + QStringLiteral("Réservation annulée le ") + Dates::jjmmaaaa(s.reservation.annulation.date())
            + QStringLiteral(" : son séjour n'est plus porté au compte.")
            + (s.poste.isEmpty() ? QString() : QLatin1Char('\n') + dejaAuCompte);
    if (!s.dejaPorte)
        return texte + QStringLiteral("Rien n'est encore porté au compte pour ce séjour.");
    texte += dejaAuCompte;
    if (!s.calcul.valide())
        return texte;
    if (Tarification::Difference(s.poste, Tarification::Parts(s.calcul.lignes)).isEmpty())
        return texte + QStringLiteral(" Le compte est à jour.");
    const double ecart = Conversion::ArrondiCentime(s.calcul.total - porte);
    texte += QStringLiteral("\nÀ porter au compte : ");
    if (std::llround(ecart * 100) > 0)
        return texte + Conversion::Monnaie(ecart) + QStringLiteral(" de plus.");
    if (std::llround(ecart * 100) < 0)
        return texte + Conversion::Monnaie(-ecart) + QStringLiteral(" de moins.");
    return texte + QStringLiteral("le même montant, réparti autrement entre les taux de TVA.");
}

namespace {

bool ecrire(const QSqlDatabase& base, qint32 numero, const QList<Tarification::Ecriture>& ecritures, QString* erreur)
{
    for (const Tarification::Ecriture& e : ecritures)
        if (!Module1::EnregistrerOperationTVA(base, numero, e.prix, QString(), e.libelle, e.tauxTVA, erreur))
            return false;
    return true;
}

QString MessageAnnulee()
{
    return QStringLiteral("Cette réservation est annulée : son séjour n'est plus porté au compte.");
}

} // namespace

Porte PorterAuCompte(const QSqlDatabase& base, qint32 numero, const QString& cheminINI)
{
    Porte porte;
    QString erreur;
    QString refus;
    std::optional<Sejour> s;
    QList<Tarification::Ecriture> ecritures;
    // Read and written under the write lock, so that two presses, on one desk
    // or on two, never post twice.
    const bool ok = Requetes::EnTransactionEcriture(base, &erreur, [&] {
        s = Lire(base, numero, cheminINI, &erreur);
        if (!s) {
            refus = QStringLiteral("La réservation n'a pas pu être lue : ") + erreur;
            return false;
        }
        if (s->reservation.annulee()) {
            refus = MessageAnnulee();
            return false;
        }
        if (!s->calcul.valide()) {
            refus = s->calcul.erreur + QStringLiteral("\nRien n'a été porté au compte.");
            return false;
        }
        ecritures = Tarification::Ecritures(s->sejour, s->calcul, s->poste);
        return ecrire(base, numero, ecritures, &erreur);
    });
    if (!ok) {
        porte.message = refus.isEmpty() ? QStringLiteral("Le séjour n'a pas pu être porté au compte : ") + erreur : refus;
        return porte;
    }
    porte.lignes = int(ecritures.size());
    if (ecritures.isEmpty()) {
        porte.resultat = Resultat::RienDeChange;
        porte.message = s->calcul.lignes.isEmpty()
            ? QStringLiteral("Séjour sans nuit : rien à porter au compte.")
            : QStringLiteral("Le séjour est déjà porté au compte et n'a pas changé : rien n'a été écrit.");
        return porte;
    }
    porte.resultat = Resultat::Ecrit;
    porte.message = QString::number(ecritures.size())
        + (ecritures.size() > 1 ? QStringLiteral(" lignes portées au compte.") : QStringLiteral(" ligne portée au compte."));
    return porte;
}

bool Suivre(const QSqlDatabase& base, qint32 numero, const QString& cheminINI, bool creation, Suivi* suivi,
            QString* erreur)
{
    Suivi vide;
    Suivi& resultat = suivi ? *suivi : vide;
    resultat = Suivi();
    QString raison;
    const auto s = Lire(base, numero, cheminINI, &raison);
    if (!s) {
        if (erreur)
            *erreur = QStringLiteral("le compte du séjour n'a pas pu être lu : ") + raison;
        return false;
    }
    if (s->reservation.annulee() || (!creation && !s->dejaPorte))
        return true;
    if (!s->calcul.valide()) {
        if (s->sansTarifs)
            return true;
        resultat.avertissement = creation
            ? QStringLiteral("La réservation est enregistrée, mais son séjour n'est pas porté au compte :\n") + s->calcul.erreur
                + QStringLiteral("\nUne fois le tarif corrigé, « Porter au compte » (onglet Fact.) le portera.")
            : QStringLiteral("Les modifications sont enregistrées, mais le compte du séjour n'est pas corrigé :\n")
                + s->calcul.erreur
                + QStringLiteral("\nUne fois le tarif corrigé, « Porter au compte » (onglet Fact.) le corrigera.");
        return true;
    }
    const auto ecritures = Tarification::Ecritures(s->sejour, s->calcul, s->poste);
    if (!ecrire(base, numero, ecritures, &raison)) {
        if (erreur)
            *erreur = QStringLiteral("le séjour n'a pas pu être porté au compte : ") + raison;
        return false;
    }
    resultat.lignes = int(ecritures.size());
    return true;
}

RequetesReservation::Ensuite SuivreEnEnregistrant(const QSqlDatabase& base, const QString& cheminINI, bool creation,
                                                   Suivi* suivi)
{
    if (suivi)
        *suivi = Suivi();
    if (!Etablissement::PorterAutomatiquement(cheminINI))
        return {};
    return [=](qint32 numero, QString* erreur) { return Suivre(base, numero, cheminINI, creation, suivi, erreur); };
}

std::optional<Documents::Contrat> Contrat(const QSqlDatabase& base, qint32 numero, const QString& cheminINI,
                                           QString* erreur)
{
    const auto s = Lire(base, numero, cheminINI, erreur);
    if (!s)
        return std::nullopt;
    Documents::Contrat c;
    c.etablissement = Etablissement::Lire(cheminINI);
    c.reservation = numero;
    c.client = s->reservation.nomclient.trimmed();
    c.telephone = s->reservation.telephone;
    c.email = s->reservation.email;
    c.unite = s->unite;
    c.arrivee = s->reservation.debut;
    c.depart = s->reservation.fin;
    c.adultes = s->sejour.adultes;
    c.enfants = s->sejour.enfants;
    c.prix = s->calcul;
    c.arrhes = s->reservation.arrhes;
    c.dateAttendue = s->reservation.datelimite.date();
    c.remarque = s->reservation.remarque;
    c.date = Horloge::aujourdhui();
    return c;
}

std::optional<double> Solde(const QSqlDatabase& base, qint32 numero, QString* erreur)
{
    const auto lignes = Requetes::operationsMontant(base, numero, erreur);
    if (!lignes)
        return std::nullopt;
    double solde = 0;
    for (const auto& l : *lignes)
        solde += l.prix;
    return Conversion::ArrondiCentime(solde);
}

bool EcrireFichier(const QString& chemin, const QByteArray& octets, QString* erreur)
{
    if (!QDir().mkpath(QFileInfo(chemin).absolutePath())) {
        if (erreur)
            *erreur = QStringLiteral("le dossier ") + QFileInfo(chemin).absolutePath() + QStringLiteral(" ne peut pas être créé");
        return false;
    }
    if (const QString raison = Fichiers::Ecrire(chemin, octets); !raison.isEmpty()) {
        if (erreur)
            *erreur = Fichiers::MessageNonEcrit(chemin, raison);
        return false;
    }
    return true;
}

std::optional<RequetesFacturation::Facture> EmettreFacture(const QSqlDatabase& base, qint32 numero,
    const QString& cheminINI, const QString& dossierFactures, QString* erreur)
{
    const auto s = Lire(base, numero, cheminINI, erreur);
    if (!s)
        return std::nullopt;
    const auto lignes = Requetes::operationsMontant(base, numero, erreur);
    if (!lignes)
        return std::nullopt;
    double total = 0;
    for (const auto& l : *lignes)
        if (l.paiement.trimmed().isEmpty())
            total -= l.prix;
    const QDateTime maintenant = Horloge::maintenant();
    QString raison;
    const auto facture = RequetesFacturation::emettreFacture(base, numero, maintenant, Conversion::ArrondiCentime(total),
        [&](const QString& numeroFacture) -> std::optional<QByteArray> {
            Documents::Facture f{{Etablissement::Lire(cheminINI), numeroFacture, maintenant.date(), numero,
                                  s->reservation.nomclient.trimmed(), s->unite, s->reservation.debut, s->reservation.fin,
                                  *lignes},
                                 s->calcul, s->reservation.annulee()};
            const QByteArray pdf = Documents::PdfFacture(f);
            if (pdf.isEmpty()) {
                raison = QStringLiteral("le document n'a pas pu être fait");
                return std::nullopt;
            }
            if (!EcrireFichier(dossierFactures + QLatin1Char('/') + numeroFacture + QStringLiteral(".pdf"), pdf, &raison))
                return std::nullopt;
            return pdf;
        },
        erreur);
    if (!facture && erreur && !raison.isEmpty())
        *erreur = raison;
    return facture;
}

} // namespace CompteSejour
