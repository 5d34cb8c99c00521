#pragma once
// The feed of each unit written beside its availability page: the published
// stays from 30 days ago on, as an iCalendar file the portals read.
#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

namespace ExportFlux {

// Days before today from which stays are published in the feed.
constexpr int kJoursPasses = 30;

// Domain of the events' UIDs: [etablissement] domaine of the configuration
// file, else the machine's host name, else "localhost".
QString DomaineDesUid(const QString& cheminINI);

// "Chalet__A_.html" → "Chalet__A_.ics"; a page name without ".html" or
// ".htm" gets ".ics" added.
QString FichierICS(const QString& pageHTML);

// Writes the feed of unit `objet` into `dossier` under `fichierICS`:
// X-WR-CALNAME `nomCalendrier`, one event per stay of a published state
// ending on or after today − 30 days. Written beside the old file and
// renamed over it. False with the reason (French) when the stays cannot be
// read, one has an unreadable date, or the file cannot be written.
bool Ecrire(const QSqlDatabase& base, const QString& dossier, qint32 objet, const QString& fichierICS,
            const QString& nomCalendrier, const QString& domaine, const QDateTime& maintenant,
            QString* erreur = nullptr);

} // namespace ExportFlux
