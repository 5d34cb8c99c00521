#pragma once
// From the boxes of the reservation window to a row of RESERVATIONS and
// back: the readings of dates, hours, counts and amounts, the stored form of
// the free texts, the client name given by the state, the nights count.
#include "reservation/verification.h"
#include "store/requetes.h"

#include <QDate>
#include <QStringList>
#include <QTime>
#include <optional>

namespace Saisie {

// A date box: "dd/mm/yyyy" (a two-digit year is accepted), nothing else.
std::optional<QDate> LireJour(const QString& texte);
// An hour box: "hh:nn", optionally with seconds.
std::optional<QTime> LireHeure(const QString& texte);
// A count box: empty reads 0; otherwise a whole number from 0 to 32767.
std::optional<qint32> LireEffectif(const QString& texte);
// The deposit box: empty reads 0; a decimal comma or point; kept to the cent.
std::optional<double> LireArrhes(const QString& texte);
// The leading number of a list entry ("12 : Chalet" -> 12, "2 - Option" -> 2).
qint32 NumeroEntree(const QString& entree);

// Departure minus arrival in days; nullopt when a box holds no date.
std::optional<qint64> NombreDeNuits(const QString& datedebut, const QString& datefin);

// The client name of a reservation typed without one: what follows the
// first "-" of the state's text and the character after it ("3 - Fermé"
// gives "Fermé"); without "-", the text less its first character.
QString NomParDefaut(const QString& texteEtat);

// Remark, telephone and e-mail are stored as the text and one space; the
// boxes show them without trailing spaces, so that saving again and again
// stores the same thing.
QString FormeStockee(const QString& texte);
QString FormeAffichee(const QString& stocke);

// The row written from checked boxes (Verification::Verifier returned no
// message). The number is left at 0.
Requetes::Reservation VersReservation(const Verification::Champs& s);

// Entries of the unit list ("12 : Chalet") and of the state list.
QStringList EntreesObjets(const QList<Requetes::Objet>& objets);
// Index of the last entry beginning with the unit number and one space, -1
// when none does ("1 " does not select "12 : Chalet").
int IndexObjet(const QStringList& entrees, qint32 numero);

} // namespace Saisie
