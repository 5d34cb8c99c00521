#include "publication.h"

#include "config/fichiers.h"
#include "calendrierhtml.h"
#include "flux/exportflux.h"
#include "store/horloge.h"
#include "store/requetes_publication.h"

#include <QFileInfo>
#include <QProcess>

namespace Publication {

QDate DateFin(const QDateTime& maintenant)
{
    const QDate loin = maintenant.date().addDays(kJoursAvance);
    return QDate(loin.year(), loin.month(), 1);
}

QString DateIllisible(const Requetes::SejourPublie& sejour)
{
    const bool debut = !sejour.debut.isValid();
    const QString& texte = debut ? sejour.texteDebut : sejour.texteFin;
    const QString quoi = debut ? QStringLiteral("date de début") : QStringLiteral("date de fin");
    const QString valeur = texte.trimmed().isEmpty() ? QStringLiteral("vide")
                                                     : QStringLiteral("illisible (« %1 »)").arg(texte);
    return QStringLiteral("réservation n° %1 : %2 %3").arg(sejour.numero).arg(quoi, valeur);
}

bool procedureMiseAjourInternet(const QSqlDatabase& base, const QString& dossier, qint32 NumeroObjet,
                                const QDate& datefin, const QString& fichierHTML, const QString& NomObjet,
                                const QDateTime& maintenant, QString* erreur)
{
    const QDate premierMois(maintenant.date().year(), maintenant.date().month(), 1);
    QString raison;
    const auto sejours = Requetes::sejoursPublies(base, NumeroObjet, premierMois, datefin, &raison);
    if (!sejours) {
        if (erreur)
            *erreur = QStringLiteral("lecture des réservations impossible (%1)").arg(raison);
        return false;
    }
    QList<CalendrierHTML::LigneSejour> lignes;
    lignes.reserve(sejours->size());
    for (const Requetes::SejourPublie& s : *sejours) {
        // A stay that cannot be placed would leave its days shown free:
        // the page is not written rather than wrong.
        if (!s.debut.isValid() || !s.fin.isValid()) {
            if (erreur)
                *erreur = DateIllisible(s);
            return false;
        }
        lignes.append({s.debut, s.fin});
    }
    const QByteArray page = CalendrierHTML::Page(NomObjet, lignes, maintenant);

    const QString chemin = dossier + QLatin1Char('/') + NomDePage(fichierHTML);
    if (const QString raison = Fichiers::Ecrire(chemin, page); !raison.isEmpty()) {
        if (erreur)
            *erreur = QStringLiteral("impossible d'écrire %1 (%2)").arg(chemin, raison);
        return false;
    }
    return true;
}

bool LancerScript(const QString& script)
{
    const QFileInfo info(script);
    if (!info.isFile())
        return false;
    return QProcess::startDetached(QStringLiteral("/bin/sh"), {info.absoluteFilePath()}, info.absolutePath());
}

void JournalAvancement::chargement()
{
    m_texte = QStringLiteral("Chargement des données...");
    m_tag = m_texte;
}

void JournalAvancement::uniteEnCours(const QString& nom)
{
    m_texte = nom + QStringLiteral(" ...\n") + m_tag;
}

void JournalAvancement::uniteTerminee(const QString& nom)
{
    m_texte = nom + QStringLiteral(" ... OK !\n") + m_tag;
    m_tag = m_texte;
}

void JournalAvancement::uniteEnEchec(const QString& nom, const QString& raison)
{
    m_texte = nom + QStringLiteral(" ... ÉCHEC : ") + raison + QLatin1Char('\n') + m_tag;
}

void JournalAvancement::ajouter(const QString& ligne)
{
    m_texte = ligne + QLatin1Char('\n') + m_texte;
}

QStringList Bilan(Issue issue, int pages, const QString& dossier, const QString& erreur)
{
    const QString ecrites = (pages == 1 ? QStringLiteral("1 page écrite dans ")
                                        : QStringLiteral("%1 pages écrites dans ").arg(pages)) + dossier;
    switch (issue) {
    case Issue::Envoyee:
        return {ecrites, QStringLiteral("Envoi lancé : %1").arg(QLatin1String(kScriptEnvoi))};
    case Issue::SansScript:
        return {ecrites, QStringLiteral("Aucun script d'envoi (%1) : les pages n'ont pas été envoyées.")
                             .arg(QLatin1String(kScriptEnvoi))};
    case Issue::AucunObjet:
        return {erreur};
    case Issue::Echec:
        break;
    }
    return {erreur, QStringLiteral("Publication arrêtée : rien n'est envoyé.")};
}

MiseAJourPages::MiseAJourPages(const QSqlDatabase& base, const QString& dossier, QObject* parent)
    : QObject(parent), m_base(base), m_dossier(dossier), m_lanceur(&LancerScript)
{
}

QString MiseAJourPages::script() const
{
    return m_dossier + QLatin1Char('/') + QLatin1String(kScriptEnvoi);
}

void MiseAJourPages::noter()
{
    emit avancement(m_journal.texte());
}

Issue MiseAJourPages::echouer(const QString& message)
{
    m_erreur = message;
    m_journal.ajouter(QStringLiteral("Publication arrêtée : rien n'est envoyé."));
    noter();
    emit echec(message);
    return Issue::Echec;
}

Issue MiseAJourPages::executer()
{
    m_erreur.clear();
    m_pages = 0;
    const QDateTime maintenant = Horloge::maintenant();
    m_journal.chargement();
    noter();

    QString raison;
    const auto objets = Requetes::objets(m_base, &raison);
    if (!objets) {
        const QString message = QStringLiteral("Lecture des objets impossible (%1)").arg(raison);
        m_journal.ajouter(message);
        return echouer(message);
    }
    if (objets->isEmpty()) {
        m_erreur = QStringLiteral("Aucun objet à publier : aucune page n'est écrite, rien n'est envoyé.");
        m_journal.ajouter(m_erreur);
        noter();
        return Issue::AucunObjet;
    }

    const QDate datefin = DateFin(maintenant);
    const QString domaine = m_domaine.isEmpty() ? ExportFlux::DomaineDesUid(QString()) : m_domaine;
    const QStringList fichiers = FichiersHTML(*objets);
    for (qsizetype i = 0; i < objets->size(); ++i) {
        const Requetes::Objet& objet = objets->at(i);
        const QString nom = objet.nom.toString();
        m_journal.uniteEnCours(nom);
        noter();
        const QString& fichier = fichiers.at(i);
        if (!procedureMiseAjourInternet(m_base, m_dossier, objet.numero, datefin, fichier, NomInternet(objet),
                                        maintenant, &raison)) {
            m_journal.uniteEnEchec(nom, raison);
            return echouer(QStringLiteral("Page de « %1 » : %2").arg(nom, raison));
        }
        // The portals read the unit's nights from its feed, beside the page.
        if (!ExportFlux::Ecrire(m_base, m_dossier, objet.numero, ExportFlux::FichierICS(NomDePage(fichier)),
                                NomInternet(objet), domaine, maintenant, &raison)) {
            m_journal.uniteEnEchec(nom, raison);
            return echouer(QStringLiteral("Calendrier de « %1 » : %2").arg(nom, raison));
        }
        ++m_pages;
        m_journal.uniteTerminee(nom);
        noter();
        emit pageEcrite(nom, fichier);
    }

    m_journal.ajouter(QStringLiteral("Bascule en FTP ... "));
    noter();
    // The transfer is the script's business: it is not waited for, and a
    // missing script only means that nothing is sent.
    return m_lanceur(script()) ? Issue::Envoyee : Issue::SansScript;
}

} // namespace Publication
