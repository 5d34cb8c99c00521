#pragma once
// The account of a reservation as its receipts show it: the money lines with
// their balance, the same lines dated, and the dated history of events.
#include "store/requetes.h"

#include <QStringList>
#include <optional>

namespace Compte {

// The reservation number shown in a caption; nullopt for "nouveau" or any
// caption that is not a whole number (such a reservation has no account).
std::optional<qint32> NumeroAffiche(const QString& caption);

// A journal wording as the account shows it: the creation row that older
// versions wrote "Création de la reservation" (and this one still writes,
// for the files' readers) reads "Création de la réservation".
QString LibelleAffiche(const QString& libelle);

struct Ticket {
    QStringList lignes;   // wording, then amount, for each money line
    double total = 0;     // charges are negative, payments positive
};

// Main receipt: each row gives its wording and its amount on the next line.
Ticket LignesTicket(const QList<Requetes::Operation>& operations);
// Tab "Conso": "dd/mm/yy hh:nn : wording", then the amount.
QStringList LignesConso(const QList<Requetes::Operation>& operations);
// Tab "Histo.": "dd/mm/yy hh:nn : wording" only.
QStringList LignesHisto(const QList<Requetes::Operation>& operations);

} // namespace Compte
