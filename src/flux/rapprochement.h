#pragma once
// What a portal's feed changes among the reservations imported from it, and
// the double bookings it makes: plain computation, no database. Events and
// reservations are matched by the event's UID only, never by dates.
#include "calendrierics.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>

namespace Rapprochement {

// A reservation already imported from the feed.
struct Importee {
    qint32 numero = 0;
    QString uid;
    QDateTime debut;
    QDateTime fin;
};

struct Deplacement {
    qint32 numero = 0;
    CalendrierICS::Evenement evenement;
};

struct Plan {
    QList<CalendrierICS::Evenement> creations;
    QList<Deplacement> deplacements;   // the event's nights changed
    QList<qint32> suppressions;        // the event is no longer in the feed
};

// Compares the feed's events with the reservations imported from it, on
// `aujourdhui`. The past is history: an event whose departure day is before
// today creates nothing, and a reservation that ended before today is
// neither moved nor deleted (portals drop past events from their feeds).
// A reservation whose nights are those of its event stays as it is (its
// hours are the desk's). A second reservation of the same UID is deleted.
Plan Comparer(const QList<CalendrierICS::Evenement>& evenements, const QList<Importee>& importees,
              const QDate& aujourdhui);

// Arrival and departure of an imported stay: the event's days at the
// establishment's usual hours.
QDateTime Arrivee(const CalendrierICS::Evenement& e, const QTime& heureDebut);
QDateTime Depart(const CalendrierICS::Evenement& e, const QTime& heureFin);

// A stay of the unit, as the conflict list names it.
struct Sejour {
    qint32 numero = 0;
    QString client;
    QDateTime debut;
    QDateTime fin;
};

struct Conflit {
    qint32 portail = 0;   // the portal stay's reservation number
    qint32 autre = 0;     // the other stay's
    QString texte;        // "Chalet Les Pins : Booking 12/07–19/07 chevauche Dupont 14/07–16/07"
};
// Every pair of a portal stay and another stay of the unit whose times
// overlap (a departure at 12:00 and an arrival at 14:00 the same day do
// not), in the order of the portal stays then of the others.
QList<Conflit> Conflits(const QString& nomObjet, const QList<Sejour>& duPortail, const QList<Sejour>& autres);

// The addresses typed in the settings' cell, separated by spaces; empty
// entries dropped, repeats kept once.
QStringList Adresses(const QString& saisie);
// Why an address cannot be a feed (French), or nullopt when it can: an
// http:// or https:// address with a host, a file:// address, or an
// absolute path of a file.
std::optional<QString> AdresseRefusee(const QString& adresse);

} // namespace Rapprochement
