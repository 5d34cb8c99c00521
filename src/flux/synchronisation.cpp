#include "synchronisation.h"

#include "calendrierics.h"
#include "rapprochement.h"
#include "config/ini32.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/module1.h"
#include "store/requetes.h"
#include "store/requetes_flux.h"

namespace Synchronisation {

namespace {

QTime lireHeure(const QString& cheminINI, const char* cle, const QTime& parDefaut)
{
    const QString texte = INI32::ProfilINI(QStringLiteral("system"), QLatin1String(cle), QString(), cheminINI, 1)
                              .trimmed();
    for (const char* forme : {"H:mm", "H:m", "HH:mm:ss"}) {
        const QTime heure = QTime::fromString(texte, QLatin1String(forme));
        if (heure.isValid())
            return heure;
    }
    return parDefaut;
}

} // namespace

QTime HeureDebut(const QString& cheminINI)
{
    return lireHeure(cheminINI, "heuredebut", QTime(14, 0));
}

QTime HeureFin(const QString& cheminINI)
{
    return lireHeure(cheminINI, "heurefin", QTime(12, 0));
}

QStringList Texte(const Bilan& bilan)
{
    QStringList lignes;
    lignes.append(QStringLiteral("Calendriers lus : %1 sur %2. Réservations créées : %3, modifiées : %4, "
                                 "annulées : %5.")
                      .arg(bilan.flux - bilan.echecs.size()).arg(bilan.flux).arg(bilan.creees)
                      .arg(bilan.deplacees).arg(bilan.annulees));
    lignes += bilan.echecs;
    if (bilan.conflits.isEmpty()) {
        lignes.append(QStringLiteral("Aucun chevauchement."));
    } else {
        lignes.append(QStringLiteral("Chevauchements à régler :"));
        lignes += bilan.conflits;
    }
    lignes += bilan.avertissements;
    return lignes;
}

Synchroniseur::Synchroniseur(const QSqlDatabase& base, const QTime& heureDebut, const QTime& heureFin,
                             QObject* parent)
    : QObject(parent), m_base(base), m_heureDebut(heureDebut), m_heureFin(heureFin)
{
}

std::optional<Bilan> Synchroniseur::executer(QString* erreur)
{
    const auto tous = RequetesFlux::flux(m_base, erreur);
    if (!tous)
        return std::nullopt;
    Bilan bilan;
    m_paires.clear();
    for (const RequetesFlux::Flux& f : *tous) {
        ++bilan.flux;
        emit avancement(QStringLiteral("%1 : %2 ...").arg(f.nomObjet, f.adresse));
        QString raison;
        const bool lu = lireFlux(f.objet, f.nomObjet, f.adresse, bilan, &raison);
        if (!lu)
            bilan.echecs.append(raison);
        RequetesFlux::noterLecture(m_base, f.adresse, Horloge::maintenant(), lu ? QStringLiteral("OK") : raison);
        emit avancement(lu ? QStringLiteral("%1 : %2 ... OK").arg(f.nomObjet, f.adresse) : raison);
        noterConflits(f.objet, f.nomObjet, f.adresse, bilan);
    }
    return bilan;
}

bool Synchroniseur::lireFlux(qint32 objet, const QString& nomObjet, const QString& adresse, Bilan& bilan,
                             QString* raison)
{
    QString pourquoi;
    const auto contenu = Telechargement::Lire(m_reseau, adresse, m_options, &pourquoi);
    const QDate aujourdhui = Horloge::aujourdhui();
    const auto lecture = contenu ? CalendrierICS::Lire(*contenu, aujourdhui, &pourquoi) : std::nullopt;
    if (!lecture) {
        *raison = QStringLiteral("flux illisible : %1 : %2").arg(adresse, pourquoi);
        return false;
    }
    for (const QString& a : lecture->avertissements)
        bilan.avertissements.append(QStringLiteral("%1 : %2 : %3").arg(nomObjet, adresse, a));

    int creees = 0, deplacees = 0, annulees = 0;
    // Under the write lock: the portal's state, the stays read and those
    // written stay as they were read, whatever another desk does meanwhile.
    const bool ecrit = Requetes::EnTransactionEcriture(m_base, &pourquoi, [&] {
        const auto etat = RequetesFlux::etatPortail(m_base, &pourquoi);
        const auto lues = RequetesFlux::reservationsDuFlux(m_base, adresse, &pourquoi);
        if (!etat || !lues)
            return false;
        QList<Rapprochement::Importee> importees;
        for (const RequetesFlux::ReservationImportee& r : *lues)
            importees.append({r.numero, r.uid, r.debut, r.fin});
        const Rapprochement::Plan plan = Rapprochement::Comparer(lecture->evenements, importees, aujourdhui);

        for (const CalendrierICS::Evenement& e : plan.creations) {
            Requetes::Reservation r;
            r.objet = objet;
            // A reservation without a client bears its state's name.
            r.nomclient = e.resume.isEmpty() ? QLatin1String(RequetesFlux::kEtatPortail) : e.resume;
            r.debut = Rapprochement::Arrivee(e, m_heureDebut);
            r.fin = Rapprochement::Depart(e, m_heureFin);
            r.etat = *etat;
            r.remarque = r.telephone = r.email = QStringLiteral(" ");
            const auto numero = RequetesFlux::ajouterReservationImportee(
                m_base, r, RequetesFlux::UidExterne(adresse, e.uid), &pourquoi);
            if (!numero || !Module1::EnregistrerOperation(m_base, *numero, 0, QString(),
                                                          QString::fromUtf8(kLibelleCreation), &pourquoi))
                return false;
            ++creees;
        }
        for (const Rapprochement::Deplacement& d : plan.deplacements) {
            if (!RequetesFlux::deplacerReservation(m_base, d.numero, Rapprochement::Arrivee(d.evenement, m_heureDebut),
                                                   Rapprochement::Depart(d.evenement, m_heureFin), &pourquoi)
                || !Module1::EnregistrerOperation(m_base, d.numero, 0, QString(),
                                                  QString::fromUtf8(kLibelleModification), &pourquoi))
                return false;
            ++deplacees;
        }
        for (qint32 numero : plan.suppressions) {
            if (!Requetes::supprimerReservation(m_base, numero, &pourquoi)
                || !Module1::EnregistrerOperation(m_base, numero, 0, QString(),
                                                  QString::fromUtf8(kLibelleAnnulation), &pourquoi))
                return false;
            ++annulees;
        }
        return true;
    });
    if (!ecrit) {
        *raison = QStringLiteral("flux non enregistré : %1 : %2").arg(adresse, pourquoi);
        return false;
    }
    bilan.creees += creees;
    bilan.deplacees += deplacees;
    bilan.annulees += annulees;
    return true;
}

void Synchroniseur::noterConflits(qint32 objet, const QString& nomObjet, const QString& adresse, Bilan& bilan)
{
    // From today on: a double booking in the past is history.
    const auto sejours = RequetesFlux::sejoursDeObjet(m_base, objet, Dates::naive(Horloge::aujourdhui()));
    if (!sejours)
        return;
    const QString prefixe = RequetesFlux::UidExterne(adresse, QString());
    QList<Rapprochement::Sejour> duPortail, autres;
    for (const RequetesFlux::SejourObjet& s : *sejours)
        (s.uidExterne.startsWith(prefixe) ? duPortail : autres).append({s.numero, s.nomclient, s.debut, s.fin});
    for (const Rapprochement::Conflit& c : Rapprochement::Conflits(nomObjet, duPortail, autres)) {
        const QPair<qint32, qint32> paire(qMin(c.portail, c.autre), qMax(c.portail, c.autre));
        if (m_paires.contains(paire))
            continue;
        m_paires.insert(paire);
        bilan.conflits.append(c.texte);
    }
}

} // namespace Synchronisation
