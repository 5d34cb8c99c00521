#include "lecture.h"
#include "selection.h"

#include "store/dates.h"
#include "store/requetes_planning.h"

bool LecturePlanning::valable(const QSqlDatabase& base)
{
    const auto version = RequetesPlanning::versionDonnees(base);
    if (!version || version != m_version || base.connectionName() != m_connexion) {
        oublier();
        m_version = version;
        m_connexion = base.connectionName();
        return false;
    }
    return true;
}

void LecturePlanning::oublier()
{
    m_version.reset();
    m_unites.reset();
    m_lu.reset();
}

std::optional<QList<Requetes::Objet>> LecturePlanning::unites(const QSqlDatabase& base)
{
    m_depuisMemoire = valable(base) && m_unites;
    if (m_depuisMemoire)
        return Selection::filtrer(*m_unites, m_categorie);
    ++m_lectures;
    auto lues = Requetes::objets(base);
    if (!lues)
        return lues;
    m_categories = Selection::categories(*lues);
    // Only kept when the database gives a version to check them against.
    if (m_version)
        m_unites = lues;
    return Selection::filtrer(*lues, m_categorie);
}

std::optional<LecturePlanning::ParUnite> LecturePlanning::reservations(const QSqlDatabase& base, const QDate& avant,
                                                                       const QDateTime& finApres)
{
    if (valable(base) && m_lu && avant <= m_avant && finApres >= m_finApres)
        return filtrer(*m_lu, avant, finApres);
    ++m_lectures;
    if (!m_version)
        return RequetesPlanning::reservationsDuPlanning(base, avant, finApres);
    const QDate avantLu = avant.addDays(kMarge);
    const QDateTime finLue = finApres.addDays(-kMarge);
    m_lu = RequetesPlanning::reservationsDuPlanning(base, avantLu, finLue);
    if (!m_lu)
        return std::nullopt;
    m_avant = avantLu;
    m_finApres = finLue;
    return filtrer(*m_lu, avant, finApres);
}

LecturePlanning::ParUnite LecturePlanning::filtrer(const ParUnite& lu, const QDate& avant, const QDateTime& finApres)
{
    // As the statement chooses: started before the bound, and either started
    // within the period or ending in or after it. A stay without a start is
    // never read. The statement compares an end that is no date as text; here
    // such a stay is kept whenever it started before the bound: its bar runs
    // from the far left to its start, so one that started before the period
    // shows no pixel either way.
    const QDateTime borne = Dates::naive(avant);
    ParUnite resultat;
    for (auto it = lu.cbegin(); it != lu.cend(); ++it) {
        QList<Requetes::ReservationPlanning> gardees;
        for (const Requetes::ReservationPlanning& l : it.value()) {
            const QDateTime& debut = l.reservation.debut;
            const QDateTime& fin = l.reservation.fin;
            if (debut.isValid() && debut < borne && (debut >= finApres || !fin.isValid() || fin >= finApres))
                gardees.append(l);
        }
        if (!gardees.isEmpty())
            resultat.insert(it.key(), gardees);
    }
    return resultat;
}
