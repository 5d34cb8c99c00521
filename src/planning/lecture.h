#pragma once
// What the calendar reads for a refresh: the units and the stays of the
// shown period. The rows of a wider period are kept between refreshes and
// filtered again while the database has not changed, so that a held day
// button or a drag does not read the same rows at every step.
#include "store/requetes.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QStringList>
#include <optional>

class LecturePlanning
{
public:
    using ParUnite = QHash<qint32, QList<Requetes::ReservationPlanning>>;

    // Days read beyond the shown period on each side.
    static constexpr int kMarge = 62;

    // The units shown: those of the chosen category, every one for "Tous".
    std::optional<QList<Requetes::Objet>> unites(const QSqlDatabase& base);
    void choisirCategorie(const QString& choix) { m_categorie = choix; }
    // The categories of every unit, as the last read found them.
    const QStringList& categories() const { return m_categories; }
    // The stays starting before `avant` and ending on or after `finApres`, by
    // unit, in the order of RequetesPlanning::reservationsDuPlanning (see
    // filtrer for the stays without a readable end).
    std::optional<ParUnite> reservations(const QSqlDatabase& base, const QDate& avant, const QDateTime& finApres);
    // The next reads go to the database.
    void oublier();

    // Whether the last units came from the kept rows: nothing changed in the
    // database since the read before.
    bool depuisMemoire() const { return m_depuisMemoire; }

    // Reads made from the database since the start (for tests).
    int lecturesFaites() const { return m_lectures; }

    // The rows of `lu` that the period query would give for the narrower
    // period (avant, finApres), and the stays without a readable end that
    // started before it (drawn wholly left of the grid).
    static ParUnite filtrer(const ParUnite& lu, const QDate& avant, const QDateTime& finApres);

private:
    // Whether the kept rows still hold; forgets them otherwise.
    bool valable(const QSqlDatabase& base);

    std::optional<QString> m_version;
    QString m_connexion;
    std::optional<QList<Requetes::Objet>> m_unites;
    QString m_categorie;
    QStringList m_categories;
    std::optional<ParUnite> m_lu;
    QDate m_avant;
    QDateTime m_finApres;
    int m_lectures = 0;
    bool m_depuisMemoire = false;
};
