#include "annulation.h"

#include "facturation/comptesejour.h"
#include "facturation/documents.h"
#include "facturation/etablissement.h"
#include "store/conversion.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/module1.h"
#include "store/requetes.h"
#include "store/requetes_reservation.h"

#include <QLocale>
#include <QSqlQuery>
#include <QSysInfo>
#include <cmath>

namespace Annulation {

namespace {

QString texteTaux(double taux)
{
    return QLocale(QLocale::French).toString(taux) + QStringLiteral(" %");
}

QString description(const CompteSejour::Sejour& s)
{
    return s.unite + QStringLiteral(" du ") + Dates::jjmmaaaa(s.sejour.arrivee) + QStringLiteral(" au ")
        + Dates::jjmmaaaa(s.sejour.depart);
}

QList<RequetesFacturation::LigneCompte> lignesDe(const QList<Tarification::Ecriture>& ecritures, const QDateTime& date)
{
    QList<RequetesFacturation::LigneCompte> l;
    for (const auto& e : ecritures)
        l.append({date, e.prix, QString(), e.libelle, e.tauxTVA});
    return l;
}

// The credit note's PDF, written to the invoices' folder.
std::optional<QByteArray> documentAvoir(const Documents::Avoir& a, const QString& dossierFactures, QString* raison)
{
    const QByteArray pdf = Documents::PdfMarque(Documents::HtmlAvoir(a), QStringLiteral("Avoir ") + a.numero,
                                                QStringLiteral("Avoir ") + a.numero);
    if (pdf.isEmpty()) {
        *raison = QStringLiteral("le document n'a pas pu être fait");
        return std::nullopt;
    }
    if (!CompteSejour::EcrireFichier(dossierFactures + QLatin1Char('/') + a.numero + QStringLiteral(".pdf"), pdf, raison))
        return std::nullopt;
    return pdf;
}

Documents::Avoir avoirDe(const CompteSejour::Sejour& s, const QString& cheminINI, const QDateTime& date,
                         const QString& origine)
{
    Documents::Avoir a;
    a.etablissement = Etablissement::Lire(cheminINI);
    a.date = date.date();
    a.origine = origine;
    a.reservation = s.reservation.numero;
    a.client = s.reservation.nomclient.trimmed();
    a.unite = s.unite;
    a.arrivee = s.reservation.debut;
    a.depart = s.reservation.fin;
    return a;
}

} // namespace

std::optional<QString> DerniereFacture(const QSqlDatabase& base, qint32 numero, QString* erreur)
{
    const auto documents = RequetesFacturation::facturesDeReservation(base, numero, erreur);
    if (!documents)
        return std::nullopt;
    return DerniereFacture(*documents);
}

QString DerniereFacture(const QList<RequetesFacturation::Facture>& documents)
{
    QString origine;
    for (const auto& d : documents)
        if (d.serie == RequetesFacturation::Serie::Facture)
            origine = d.numero;
    return origine;
}

Plan Planifier(const QString& description, const QList<Tarification::Part>& postees, double frais, const QString& motif)
{
    Plan plan;
    for (const Tarification::Part& p : postees) {
        const double montant = Conversion::ArrondiCentime(p.montant);
        if (std::llround(montant * 100) == 0)
            continue;
        const bool taxe = p.genre == Tarification::Genre::Taxe;
        plan.ecritures.append({(taxe ? QStringLiteral("CORRECTION TAXE DE SEJOUR ") : QStringLiteral("CORRECTION SEJOUR "))
                                   + description + QStringLiteral(" : ") + motif
                                   + (taxe ? QString() : QStringLiteral(" (TVA ") + texteTaux(p.tauxTVA) + QLatin1Char(')')),
                               montant, p.tauxTVA});
        plan.annule += montant;
    }
    plan.annule = Conversion::ArrondiCentime(plan.annule);
    plan.frais = Conversion::ArrondiCentime(std::max(0.0, frais));
    if (std::llround(plan.frais * 100) != 0)
        plan.ecritures.append({QStringLiteral("FRAIS D'ANNULATION ") + description, -plan.frais, 0});
    return plan;
}

double PrixDuSejour(const QList<Tarification::Part>& postees, const Tarification::Calcul& calcul)
{
    double poste = 0;
    bool quelqueChose = false;
    for (const Tarification::Part& p : postees)
        if (p.genre == Tarification::Genre::Sejour) {
            poste += p.montant;
            quelqueChose = quelqueChose || std::llround(p.montant * 100) != 0;
        }
    if (quelqueChose)
        return Conversion::ArrondiCentime(std::max(0.0, poste));
    return calcul.valide() ? Tarification::PrixSansTaxe(calcul) : 0;
}

QString LibelleEvenement(double frais, const QString& qui)
{
    const QString montant = std::llround(frais * 100) == 0 ? QStringLiteral("sans frais")
                                                          : QStringLiteral("frais d'annulation ") + Conversion::Monnaie(frais);
    return QStringLiteral("Annulation de la réservation (") + montant + QStringLiteral(", par ") + qui + QLatin1Char(')');
}

QString Qui()
{
    QString utilisateur = qEnvironmentVariable("USER").trimmed();
    if (utilisateur.isEmpty())
        utilisateur = qEnvironmentVariable("LOGNAME").trimmed();
    const QString machine = QSysInfo::machineHostName().trimmed();
    if (utilisateur.isEmpty())
        return machine.isEmpty() ? QStringLiteral("?") : machine;
    return machine.isEmpty() ? utilisateur : utilisateur + QStringLiteral(" sur ") + machine;
}

QString MessageUtiliserAnnulation()
{
    return QStringLiteral("Cette réservation a des opérations ou une facture : utilisez « Annuler la réservation ».");
}

QString RefusSuppression(const QSqlDatabase& base, qint32 numero, QString* erreur)
{
    // Its own stay postings go with it (reversed); anything else stays a
    // reason to keep the stay and cancel it instead.
    QSqlQuery q(base);
    q.prepare(QStringLiteral(
        "SELECT (SELECT count(*) FROM FACTURES WHERE reservation = :n1) + (SELECT count(*) FROM OPERATIONS "
        "WHERE numeroreservation = :n2 AND (TRIM(COALESCE(paiement, '')) <> '' OR (prix <> 0 "
        "AND libelle NOT LIKE 'SEJOUR %' AND libelle NOT LIKE 'CORRECTION SEJOUR %' "
        "AND libelle NOT LIKE 'TAXE DE SEJOUR %' AND libelle NOT LIKE 'CORRECTION TAXE DE SEJOUR %')))"));
    q.bindValue(QStringLiteral(":n1"), numero);
    q.bindValue(QStringLiteral(":n2"), numero);
    if (!q.exec() || !q.next()) {
        Requetes::Rapporter(q, erreur);
        return QStringLiteral("Les opérations de la réservation n'ont pas pu être lues : ") + (erreur ? *erreur : QString());
    }
    return q.value(0).toLongLong() == 0 ? QString() : MessageUtiliserAnnulation();
}

bool RetirerPostes(const QSqlDatabase& base, qint32 numero, const QString& cheminINI, QString* erreur)
{
    const QString refus = RefusSuppression(base, numero, erreur);
    if (!refus.isEmpty()) {
        if (erreur)
            *erreur = refus;
        return false;
    }
    const auto s = CompteSejour::Lire(base, numero, cheminINI, erreur);
    if (!s)
        return false;
    const Plan plan = Planifier(description(*s), s->poste, 0, QStringLiteral("suppression"));
    for (const Tarification::Ecriture& e : plan.ecritures)
        if (!Module1::EnregistrerOperationTVA(base, numero, e.prix, QString(), e.libelle, e.tauxTVA, erreur))
            return false;
    return true;
}

Resultat Annuler(const QSqlDatabase& base, qint32 numero, qint32 versionLue,
                 const MontantOuPourcentage::Valeur& fraisDemandes, const QString& cheminINI,
                 const QString& dossierFactures)
{
    Resultat r;
    QString erreur;
    const auto s = CompteSejour::Lire(base, numero, cheminINI, &erreur);
    if (!s) {
        r.message = QStringLiteral("La réservation n'a pas pu être lue : ") + erreur;
        return r;
    }
    if (s->reservation.annulee()) {
        r.message = QStringLiteral("Cette réservation est déjà annulée (le ")
            + Dates::jjmmaahhnn(s->reservation.annulation) + QStringLiteral(").");
        return r;
    }
    const auto origine = DerniereFacture(base, numero, &erreur);
    if (!origine) {
        r.message = QStringLiteral("Le compte de la réservation n'a pas pu être lu : ") + erreur;
        return r;
    }
    const QDateTime maintenant = Horloge::maintenant();
    const QString desc = description(*s);
    Plan plan;
    // Everything under the write lock: the stay as it was read, what was
    // posted, the rows, the mark.
    auto ecrire = [&](const QString&, double* total) -> bool {
        QSqlQuery q(base);
        q.prepare(QStringLiteral("UPDATE RESERVATIONS SET Annulation = :a WHERE NumeroReservation = :n "
                                 "AND Annulation IS NULL AND COALESCE(version, 0) = :v"));
        q.bindValue(QStringLiteral(":a"), Dates::versTexteBase(maintenant));
        q.bindValue(QStringLiteral(":n"), numero);
        q.bindValue(QStringLiteral(":v"), versionLue);
        if (!q.exec())
            return Requetes::Rapporter(q, &erreur);
        if (q.numRowsAffected() != 1) {
            r.conflit = true;
            erreur = RequetesReservation::MessageModifieeAilleurs();
            return false;
        }
        const auto postes = RequetesFacturation::postesSejour(base, numero, &erreur);
        if (!postes)
            return false;
        const QList<Tarification::Part> postees = CompteSejour::PartsPostees(*postes);
        plan = Planifier(desc, postees, fraisDemandes.montant(PrixDuSejour(postees, s->calcul)));
        if (total)
            *total = -plan.annule;
        for (const Tarification::Ecriture& e : std::as_const(plan.ecritures))
            if (!Module1::EnregistrerOperationTVA(base, numero, e.prix, QString(), e.libelle, e.tauxTVA, &erreur))
                return false;
        return Module1::EnregistrerOperation(base, numero, 0, QString(), LibelleEvenement(plan.frais, Qui()), &erreur);
    };
    bool ok = false;
    if (!origine->isEmpty() && !s->poste.isEmpty()) {
        // Invoiced: the credit note of the reversed charges goes with them.
        QString raison;
        Documents::Avoir a = avoirDe(*s, cheminINI, maintenant, *origine);
        a.annulation = true;
        r.avoir = RequetesFacturation::emettre(base, RequetesFacturation::Serie::Avoir, numero, maintenant, 0, *origine,
            [&](const QString& numeroAvoir) -> std::optional<QByteArray> {
                a.numero = numeroAvoir;
                // The guest reads what is given back, not the journal's wording.
                QList<Tarification::Ecriture> annulations = plan.ecritures;
                annulations.removeIf([](const Tarification::Ecriture& e) { return e.prix < 0; });
                for (Tarification::Ecriture& e : annulations)
                    e.libelle = (e.libelle.startsWith(QStringLiteral("CORRECTION TAXE DE SEJOUR "))
                                     ? QStringLiteral("Taxe de séjour, ") : QStringLiteral("Séjour "))
                        + desc;
                a.lignes = lignesDe(annulations, maintenant);
                return documentAvoir(a, dossierFactures, &raison);
            },
            &erreur, ecrire);
        if (!r.avoir && !raison.isEmpty())
            erreur = raison;
        ok = r.avoir.has_value();
    } else {
        ok = Requetes::EnTransactionEcriture(base, &erreur, [&] { return ecrire(QString(), nullptr); });
    }
    if (!ok) {
        r.message = r.conflit ? erreur : QStringLiteral("La réservation n'a pas pu être annulée : ") + erreur;
        return r;
    }
    r.fait = true;
    r.frais = plan.frais;
    r.solde = CompteSejour::Solde(base, numero).value_or(0);
    r.message = QStringLiteral("La réservation %1 est annulée").arg(numero);
    if (std::llround(plan.frais * 100) != 0)
        r.message += QStringLiteral(", avec ") + Conversion::Monnaie(plan.frais) + QStringLiteral(" de frais d'annulation");
    r.message += QLatin1Char('.');
    if (r.avoir)
        r.message += QStringLiteral("\nL'avoir ") + r.avoir->numero + QStringLiteral(" annule la facture ") + *origine
            + QStringLiteral(" (") + Conversion::Monnaie(r.avoir->total) + QStringLiteral(").");
    return r;
}

std::optional<RequetesFacturation::Facture> AvoirManuel(const QSqlDatabase& base, qint32 numero, const QString& origine,
    double montant, double tauxTVA, const QString& motif, const QString& cheminINI, const QString& dossierFactures,
    QString* erreur)
{
    montant = Conversion::ArrondiCentime(montant);
    if (montant <= 0 || tauxTVA < 0 || tauxTVA >= 100) {
        if (erreur)
            *erreur = QStringLiteral("le montant doit être positif et le taux de TVA compris entre 0 et 100 %");
        return std::nullopt;
    }
    const auto s = CompteSejour::Lire(base, numero, cheminINI, erreur);
    if (!s)
        return std::nullopt;
    const QDateTime maintenant = Horloge::maintenant();
    Documents::Avoir a = avoirDe(*s, cheminINI, maintenant, origine);
    a.motif = motif.trimmed();
    QString raison;
    QString libelle;
    const auto avoir = RequetesFacturation::emettre(base, RequetesFacturation::Serie::Avoir, numero, maintenant, -montant,
        origine,
        [&](const QString& numeroAvoir) -> std::optional<QByteArray> {
            a.numero = numeroAvoir;
            a.lignes = {{maintenant, montant, QString(), libelle, tauxTVA}};
            return documentAvoir(a, dossierFactures, &raison);
        },
        erreur,
        [&](const QString& numeroAvoir, double*) {
            libelle = QStringLiteral("AVOIR ") + numeroAvoir + QStringLiteral(" sur ") + origine
                + (a.motif.isEmpty() ? QString() : QStringLiteral(" : ") + a.motif);
            return Module1::EnregistrerOperationTVA(base, numero, montant, QString(), libelle, tauxTVA, erreur);
        });
    if (!avoir && erreur && !raison.isEmpty())
        *erreur = raison;
    return avoir;
}

bool Rembourser(const QSqlDatabase& base, qint32 numero, double montant, const QString& code, QString* erreur)
{
    montant = Conversion::ArrondiCentime(montant);
    if (montant <= 0) {
        if (erreur)
            *erreur = QStringLiteral("le montant à rembourser doit être positif");
        return false;
    }
    return Module1::EnregistrerOperation(base, numero, -montant, code,
                                         QStringLiteral("Remboursement (") + code + QLatin1Char(')'), erreur);
}

} // namespace Annulation
