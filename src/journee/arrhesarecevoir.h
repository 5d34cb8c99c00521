#pragma once
// The deposits still to receive, as plain data: which stays ask for more
// than their account received, how late each one is, in which order the
// desk sees them, and the texts of their columns.
#include "store/requetes_journee.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace ArrhesARecevoir {

using Demande = RequetesJournee::ArrhesDemandees;

struct Ligne {
    Demande sejour;
    double reste = 0;        // the deposit still due, to the cent
    int joursDeRetard = 0;   // days since the due date; 0 when not late
    bool enRetard() const { return joursDeRetard > 0; }
};

// The stays of `demandes` whose deposit is not wholly received on
// `aujourdhui` (a cent short is still due), leaving out those already
// ended (departure before that day) or without readable dates. Overdue
// ones come first, then by due date, the stays without one last; the same
// date by arrival, then number. A deposit due that very day is not late.
QList<Ligne> Lister(const QList<Demande>& demandes, const QDate& aujourdhui);

// "1 jour de retard", "3 jours de retard".
QString TexteRetard(int jours);

// The list's columns: unit, client, stay, deposit asked, received, still
// due, due date (with the delay when late). Dates as "dd/mm/yy".
enum Colonne { Unite, Client, Sejour, Demandees, Recues, Reste, Echeance, NombreColonnes };
QStringList TitresColonnes();
QStringList Textes(const Ligne& l);

// The sum still due, to the cent.
double Total(const QList<Ligne>& lignes);

} // namespace ArrhesARecevoir
