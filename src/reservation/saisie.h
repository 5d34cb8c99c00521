#pragma once
// From the boxes of the reservation window to a row of RESERVATIONS and
// back: the readings of dates, hours, counts and amounts, the stored form of
// the free texts, the client name given by the state, the nights count.
#include "facturation/tarification.h"
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
// The deposit box as an amount: empty reads 0; a decimal comma or point,
// "€" allowed; kept to the cent. A share of the price ("30 %") is no amount:
// nullopt, as for anything else (ArrhesDuSejour turns it into one).
std::optional<double> LireArrhes(const QString& texte);
// True when the deposit box holds a share of the stay's price ("30 %").
bool ArrhesEnPourcentage(const QString& texte);
// The deposit the box asks for: an amount as LireArrhes reads it, or a
// share of the stay's price (`prix`, its total as the account charges it)
// to the cent. "0 %" is 0 whatever the price. nullopt with the French
// reason in `*erreur` when the box is unreadable, or holds a share and the
// stay has no price (`prix` absent or not computable: its reason is named).
std::optional<double> ArrhesDuSejour(const QString& texte, const std::optional<Tarification::Calcul>& prix,
                                     QString* erreur = nullptr);
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
// message for the same `prix`). The number is left at 0.
Requetes::Reservation VersReservation(const Verification::Champs& s,
                                      const std::optional<Tarification::Calcul>& prix = std::nullopt);

// Entries of the unit list ("12 : Chalet") and of the state list.
QStringList EntreesObjets(const QList<Requetes::Objet>& objets);
// Index of the last entry beginning with the unit number and one space, -1
// when none does ("1 " does not select "12 : Chalet").
int IndexObjet(const QStringList& entrees, qint32 numero);

} // namespace Saisie
