#pragma once
// The day at the desk as plain data: who arrives, who leaves and who is on
// site on one day, the columns each stay shows, and the page printed for
// the morning round.
#include "store/requetes_journee.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSet>
#include <optional>
#include <QString>
#include <QStringList>

namespace Journee {

using Sejour = RequetesJournee::Sejour;

struct Listes {
    QList<Sejour> arrivees;   // stays starting that day
    QList<Sejour> departs;    // stays ending that day
    QList<Sejour> presents;   // stays on site that night (arrived on or before, leaving after)
};

// Sorts the stays read around `jour` into its three lists, each by unit
// name, then arrival, then number. A stay without readable dates, or that
// ends before it starts, is in none.
Listes repartir(const QList<Sejour>& sejours, const QDate& jour);

// The rows whose unit is among `unites` (the calendar's chosen category);
// every row when there is no set ("Tous").
template <typename Ligne>
QList<Ligne> dansUnites(const QList<Ligne>& lignes, const std::optional<QSet<qint32>>& unites)
{
    if (!unites)
        return lignes;
    QList<Ligne> gardees;
    for (const Ligne& l : lignes)
        if (unites->contains(l.objet))
            gardees.append(l);
    return gardees;
}

// Nights from the arrival's day to the departure's day.
int nuits(const Sejour& s);

// The texts of a stay's columns, in the lists' order: unit, client,
// arrival, departure, nights, adults/children, state, balance.
enum Colonne { Unite, Client, Arrivee, Depart, Nuits, Personnes, Etat, Solde, NombreColonnes };
QStringList titresColonnes();
QStringList textes(const Sejour& s);

// True when the client still owes money on the account.
bool doit(const Sejour& s);

// The day's page: the three lists, every text of the user escaped.
QString Html(const QDate& jour, const Listes& listes);

// "Départ" on a stay that arrived today and was to leave on a later day:
// the desk is asked whether the guest really leaves on the arrival day.
bool departLeJourDeLArrivee(const QDateTime& debut, const QDateTime& fin, const QDate& aujourdhui);

// The departure such a stay is given: today at its own departure hour, or
// when that falls before its arrival, the later of its arrival and now.
QDateTime finLeJourMeme(const QDateTime& debut, const QDateTime& fin, const QDateTime& maintenant);

// Milliseconds from `maintenant` to the next midnight (at least 1).
qint64 jusquaMinuit(const QDateTime& maintenant);

} // namespace Journee
