#pragma once
// The publication run: one availability page per unit of OBJETS written into
// the program folder, each with the unit's iCalendar feed beside it (same
// name, ".ics"), then the upload script started. Shared by the window
// MiseAJourInternet and the command line (--publier); it shows nothing and
// reports through its signals and its progress log.
#include "nomsdepages.h"
#include "store/requetes.h"
#include "store/requetes_publication.h"

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>

namespace Publication {

// Days ahead whose month bounds the stays read.
constexpr int kJoursAvance = 570;
// Upload script of the program folder, started once every page is written.
inline constexpr const char* kScriptEnvoi = "lanceftp.sh";

// First day of the month that is 570 days after `maintenant`: stays starting
// on or after it are not read.
QDate DateFin(const QDateTime& maintenant);


// Reason given for a stay whose start or end cannot be read:
// "réservation n° 12 : date de fin illisible (« 31/02/2025 »)".
QString DateIllisible(const Requetes::SejourPublie& sejour);

// Writes the page of unit `NumeroObjet` into `dossier` under `fichierHTML`
// (made a valid file name first, see NomDePage). The page is written beside the old one and
// renamed over it, so a failed run leaves the old page whole. False with the
// reason in *erreur when the stays cannot be read, one of them has a date
// that cannot be read, or the file cannot be written.
bool procedureMiseAjourInternet(const QSqlDatabase& base, const QString& dossier, qint32 NumeroObjet,
                                const QDate& datefin, const QString& fichierHTML, const QString& NomObjet,
                                const QDateTime& maintenant, QString* erreur = nullptr);

// Starts `script` with /bin/sh in its folder, detached and not waited for.
// False when the script is missing or could not be started.
bool LancerScript(const QString& script);

// The progress log, newest line first. `tag` is the log as it stood before
// the current unit.
class JournalAvancement
{
public:
    void chargement();                                   // "Chargement des données..."
    void uniteEnCours(const QString& nom);               // "Nom ..." on top of the tag
    void uniteTerminee(const QString& nom);              // "Nom ... OK !", becomes the tag
    void uniteEnEchec(const QString& nom, const QString& raison);
    void ajouter(const QString& ligne);                  // a line on top of the text
    const QString& texte() const { return m_texte; }
    const QString& tag() const { return m_tag; }

private:
    QString m_texte;
    QString m_tag;
};

enum class Issue {
    Envoyee,      // every page written, upload script started
    SansScript,   // every page written, no upload script in the folder
    AucunObjet,   // OBJETS is empty: nothing written, nothing sent
    Echec,        // a page or a query failed: nothing sent
};

// What a run ends with, in lines for the user: the pages written and where,
// then whether the upload script was started; or why nothing is sent.
QStringList Bilan(Issue issue, int pages, const QString& dossier, const QString& erreur);

class MiseAJourPages : public QObject
{
    Q_OBJECT
public:
    MiseAJourPages(const QSqlDatabase& base, const QString& dossier, QObject* parent = nullptr);

    // How the upload script is started (tests replace it).
    using Lanceur = std::function<bool(const QString& script)>;
    void fixerLanceur(Lanceur lanceur) { m_lanceur = std::move(lanceur); }
    // Domain of the feeds' event UIDs; empty (the default): the one of the
    // program's configuration file (see ExportFlux::DomaineDesUid).
    void fixerDomaine(const QString& domaine) { m_domaine = domaine; }

    // The whole run, at the clock's current moment.
    Issue executer();

    const JournalAvancement& journal() const { return m_journal; }
    // The reason of the failure of the last run (empty otherwise).
    const QString& erreur() const { return m_erreur; }
    // Path of the upload script.
    QString script() const;
    const QString& dossier() const { return m_dossier; }
    // Pages written by the last run.
    int pages() const { return m_pages; }
    QStringList bilan(Issue issue) const { return Bilan(issue, m_pages, m_dossier, m_erreur); }

signals:
    // The log changed (a window shows it and lets pending events run).
    void avancement(const QString& texte);
    void pageEcrite(const QString& nom, const QString& fichier);
    void echec(const QString& message);

private:
    void noter();
    Issue echouer(const QString& message);

    QSqlDatabase m_base;
    QString m_dossier;
    Lanceur m_lanceur;
    QString m_domaine;
    JournalAvancement m_journal;
    QString m_erreur;
    int m_pages = 0;
};

} // namespace Publication
