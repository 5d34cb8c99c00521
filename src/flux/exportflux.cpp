#include "exportflux.h"

#include "config/fichiers.h"
#include "calendrierics.h"
#include "config/ini32.h"
#include "store/requetes_publication.h"

#include <QSysInfo>

namespace ExportFlux {

QString DomaineDesUid(const QString& cheminINI)
{
    const QString domaine =
        INI32::ProfilINI(QStringLiteral("etablissement"), QStringLiteral("domaine"), QString(), cheminINI, 1).trimmed();
    if (!domaine.isEmpty())
        return domaine;
    const QString hote = QSysInfo::machineHostName().trimmed();
    return hote.isEmpty() ? QStringLiteral("localhost") : hote;
}

QString FichierICS(const QString& pageHTML)
{
    for (const QString& extension : {QStringLiteral(".html"), QStringLiteral(".htm")})
        if (pageHTML.endsWith(extension, Qt::CaseInsensitive) && pageHTML.size() > extension.size())
            return pageHTML.left(pageHTML.size() - extension.size()) + QStringLiteral(".ics");
    return pageHTML + QStringLiteral(".ics");
}

bool Ecrire(const QSqlDatabase& base, const QString& dossier, qint32 objet, const QString& fichierICS,
            const QString& nomCalendrier, const QString& domaine, const QDateTime& maintenant, QString* erreur)
{
    auto echec = [&](const QString& raison) {
        if (erreur)
            *erreur = raison;
        return false;
    };
    QString raison;
    // Every stay from 30 days ago on, however far ahead.
    const auto sejours = Requetes::sejoursPublies(base, objet, maintenant.date().addDays(-kJoursPasses),
                                                  QDate(9999, 12, 31), &raison);
    if (!sejours)
        return echec(QStringLiteral("lecture des réservations impossible (%1)").arg(raison));
    QList<CalendrierICS::SejourExporte> lignes;
    for (const Requetes::SejourPublie& s : *sejours) {
        if (!s.debut.isValid() || !s.fin.isValid())
            return echec(QStringLiteral("réservation n° %1 : date illisible (« %2 », « %3 »)")
                             .arg(s.numero).arg(s.texteDebut, s.texteFin));
        lignes.append({s.numero, s.debut.date(), s.fin.date()});
    }
    // The clock gives the desk's local time; DTSTAMP is in UTC.
    const QDateTime local(maintenant.date(), maintenant.time(), Qt::LocalTime);
    const QByteArray texte = CalendrierICS::Ecrire(nomCalendrier, lignes, domaine, local.toUTC());

    const QString chemin = dossier + QLatin1Char('/') + fichierICS;
    if (const QString message = Fichiers::Ecrire(chemin, texte); !message.isEmpty())
        return echec(QStringLiteral("impossible d'écrire %1 (%2)").arg(chemin, message));
    return true;
}

} // namespace ExportFlux
