#pragma once
// The publication run: one availability page per unit of OBJETS written into
// the program folder, then the upload script started. Shared by the window
// MiseAJourInternet and the command line (--publier); it shows nothing and
// reports through its signals and its progress log.
#include "store/requetes.h"

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <functional>

namespace Publication {

// Days ahead whose month bounds the stays read.
constexpr int kJoursAvance = 570;
// Upload script of the program folder, started once every page is written.
inline constexpr const char* kScriptEnvoi = "lanceftp.sh";

// First day of the month that is 570 days after `maintenant`: stays starting
// on or after it are not read.
QDate DateFin(const QDateTime& maintenant);

// Page file of a unit: FichierPlanningHTML, or Nom + ".html" when empty,
// made a valid file name.
QString FichierHTML(const Requetes::Objet& objet);
// Name in the page heading: NomInternet, or Nom when empty.
QString NomInternet(const Requetes::Objet& objet);

// Writes the page of unit `NumeroObjet` into `dossier` under `fichierHTML`
// (made a valid file name first). The page is written beside the old one and
// renamed over it, so a failed run leaves the old page whole. False with the
// reason in *erreur when the stays cannot be read or the file not written.
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

class MiseAJourPages : public QObject
{
    Q_OBJECT
public:
    MiseAJourPages(const QSqlDatabase& base, const QString& dossier, QObject* parent = nullptr);

    // How the upload script is started (tests replace it).
    using Lanceur = std::function<bool(const QString& script)>;
    void fixerLanceur(Lanceur lanceur) { m_lanceur = std::move(lanceur); }

    // The whole run, at the clock's current moment.
    Issue executer();

    const JournalAvancement& journal() const { return m_journal; }
    // The reason of the failure of the last run (empty otherwise).
    const QString& erreur() const { return m_erreur; }
    // Path of the upload script.
    QString script() const;

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
    JournalAvancement m_journal;
    QString m_erreur;
};

} // namespace Publication
