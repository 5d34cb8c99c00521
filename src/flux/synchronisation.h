#pragma once
// The reading of every portal feed of the units (table FLUX) into the
// reservations: shared by the window and the command line (--synchroniser).
// Shows nothing; reports through its signal and its outcome.
#include "telechargement.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTime>

namespace Synchronisation {

// What the journal says of each change made by a feed.
inline constexpr const char* kLibelleCreation = "Créée par le portail";
inline constexpr const char* kLibelleModification = "Modifiée par le portail";
inline constexpr const char* kLibelleAnnulation = "Annulée par le portail";

struct Bilan {
    int flux = 0;             // feeds read
    int creees = 0;
    int deplacees = 0;
    int annulees = 0;
    QStringList echecs;       // "flux illisible : <address> : <reason>", one per feed that changed nothing
    QStringList conflits;     // one line per double booking, each pair once
    QStringList avertissements;
};

// Lines for the user: one summary line, then the failures, the conflicts
// (or that there is none), the events left out.
QStringList Texte(const Bilan& bilan);

// Arrival and departure hours of imported stays: [system] heuredebut and
// heurefin of the configuration file (14:00 and 12:00 when missing or not
// an hour "HH:MM").
QTime HeureDebut(const QString& cheminINI);
QTime HeureFin(const QString& cheminINI);

class Synchroniseur : public QObject
{
    Q_OBJECT
public:
    Synchroniseur(const QSqlDatabase& base, const QTime& heureDebut, const QTime& heureFin,
                  QObject* parent = nullptr);

    void fixerOptions(const Telechargement::Options& options) { m_options = options; }

    // Reads every feed, one transaction per feed: a feed that cannot be
    // fetched, read or stored changes nothing of its unit; the others go on.
    // nullopt (reason in *erreur) when the list of feeds cannot be read.
    std::optional<Bilan> executer(QString* erreur = nullptr);

signals:
    // A line of progress ("Chalet Les Pins : https://… ... OK").
    void avancement(const QString& ligne);

private:
    // One feed; false with the reason when it changed nothing.
    bool lireFlux(qint32 objet, const QString& nomObjet, const QString& adresse, Bilan& bilan, QString* raison);
    void noterConflits(qint32 objet, const QString& nomObjet, const QString& adresse, Bilan& bilan);

    QSqlDatabase m_base;
    QTime m_heureDebut;
    QTime m_heureFin;
    Telechargement::Options m_options;
    QNetworkAccessManager m_reseau;
    QSet<QPair<qint32, qint32>> m_paires;   // conflicts already listed in this run
};

} // namespace Synchronisation
