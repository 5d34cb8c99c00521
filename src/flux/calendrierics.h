#pragma once
// iCalendar feeds (RFC 5545) of the units, built and read with libical, no
// window and no database. A feed says which nights a unit is taken: each
// event runs from its arrival day to its departure day (DTSTART and DTEND
// as dates, the departure day itself free), which is what the booking
// portals publish and read.
#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace CalendrierICS {

// A published stay: the nights from `arrivee` to the day before `depart`.
struct SejourExporte {
    qint32 numero = 0;   // the reservation number, which makes the event's UID
    QDate arrivee;
    QDate depart;
};

// What every published event is called: never the client's name, the feed
// is public.
inline constexpr const char* kResumePublie = "Réservé";

// The feed of one unit: X-WR-CALNAME `nomCalendrier`, one VEVENT per stay
// with UID "<numero>@<domaine>", DTSTAMP `horodatage` (UTC), SUMMARY
// "Réservé". Folded, escaped and ended by CR LF as RFC 5545 asks. A stay
// without a valid arrival, or whose departure is not after it, gets one night.
QByteArray Ecrire(const QString& nomCalendrier, const QList<SejourExporte>& sejours, const QString& domaine,
                  const QDateTime& horodatage);

// An event of a portal's feed, as nights.
struct Evenement {
    QString uid;      // the event's UID; "<UID>/<AAAAMMJJ>" for one occurrence of a repeated event
    QString resume;   // SUMMARY, control characters removed, at most kLongueurResume characters
    QDate arrivee;
    QDate depart;     // always after arrivee
};

// A repeated event (RRULE, RDATE) gives one stay per occurrence that ends
// after the day before the reading and starts within the next two years;
// EXDATE removes an occurrence and an event with RECURRENCE-ID replaces it.
constexpr int kAnneesRepetition = 2;
// At most this many occurrences are read from one repeated event.
constexpr int kOccurrencesMax = 1000;
constexpr int kLongueurResume = 100;

struct Lecture {
    QList<Evenement> evenements;   // one per UID (the last one in the file wins), in file order
    QStringList avertissements;    // events left out, and why (French)
};

// Reads a feed. Date-times are turned into days: one in UTC ("…Z") takes
// the local day of that moment, one with a TZID or floating is read as
// written (the portal's own day). An event without DTEND lasts its DURATION,
// or one night; STATUS:CANCELLED means the event is not there. nullopt with
// the reason in *erreur when the text is not an iCalendar VCALENDAR.
std::optional<Lecture> Lire(const QByteArray& texte, const QDate& aujourdhui, QString* erreur = nullptr);

} // namespace CalendrierICS
