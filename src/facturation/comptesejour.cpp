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

namespace {

QList<Tarification::Part> partsPostees(const QList<RequetesFacturation::Poste>& postes)
{
    QList<Tarification::Part> parts;
    for (const auto& p : postes)
        if (std::llround(p.montant * 100) != 0)
            parts.append({p.taxe ? Tarification::Genre::Taxe : Tarification::Genre::Sejour, p.tauxTVA, p.montant});
    return parts;
}

} // namespace

std::optional<Sejour> Lire(const QSqlDatabase& base, qint32 numero, const QString& cheminINI, QString* erreur)
{
    const auto r = Requetes::reservation(base, numero, erreur);
    if (!r)
        return std::nullopt;
    const auto objets = Requetes::objets(base, erreur);
    const auto tarifs = RequetesFacturation::tarifs(base, erreur);
    if (!objets || !tarifs)
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
    return s;
}

QString TexteDesLignes(const Sejour& s)
{
    if (!s.calcul.valide())
        return s.calcul.erreur;
    if (s.calcul.lignes.isEmpty())
        return QStringLiteral("Séjour sans nuit : rien à facturer.");
    QString texte;
    for (const Tarification::Ligne& l : s.calcul.lignes)
        texte += l.libelle + QStringLiteral(" = ") + Conversion::Monnaie(l.montant) + QLatin1Char('\n');
    return texte + QStringLiteral("Total : ") + Conversion::Monnaie(s.calcul.total);
}

Porte PorterAuCompte(const QSqlDatabase& base, qint32 numero, const QString& cheminINI)
{
    Porte porte;
    QString erreur;
    const auto s = Lire(base, numero, cheminINI, &erreur);
    if (!s) {
        porte.message = QStringLiteral("La réservation n'a pas pu être lue : ") + erreur;
        return porte;
    }
    if (!s->calcul.valide()) {
        porte.message = s->calcul.erreur + QStringLiteral("\nRien n'a été porté au compte.");
        return porte;
    }
    // Read and written in one transaction, so that two presses never post twice.
    QList<Tarification::Ecriture> ecritures;
    const bool ok = Requetes::EnTransaction(base, &erreur, [&] {
        const auto postes = RequetesFacturation::postesSejour(base, numero, &erreur);
        if (!postes)
            return false;
        ecritures = Tarification::Ecritures(s->sejour, s->calcul, partsPostees(*postes));
        for (const Tarification::Ecriture& e : std::as_const(ecritures))
            if (!Module1::EnregistrerOperationTVA(base, numero, e.prix, QString(), e.libelle, e.tauxTVA, &erreur))
                return false;
        return true;
    });
    if (!ok) {
        porte.message = QStringLiteral("Le séjour n'a pas pu être porté au compte : ") + erreur;
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
            Documents::Facture f{Etablissement::Lire(cheminINI), numeroFacture, maintenant.date(), numero,
                                 s->reservation.nomclient.trimmed(), s->unite, s->reservation.debut, s->reservation.fin, *lignes};
            const QByteArray pdf = Documents::Pdf(Documents::HtmlFacture(f), QStringLiteral("Facture ") + numeroFacture);
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
