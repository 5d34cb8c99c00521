#pragma once
// The checks run before a reservation is saved. An arrival or departure
// date that is not a date is reported first and alone. Otherwise every
// check is applied in turn and each one that fails replaces the message,
// so the last failing check decides what the user reads.
#include "facturation/tarification.h"

#include <QList>
#include <QString>
#include <optional>

namespace Verification {

// The texts of the reservation window's boxes, as typed.
struct Champs {
    QString objet;        // "12 : Chalet"
    QString etat;         // "2 - Option"
    QString nomclient;
    QString datedebut;    // "dd/mm/yyyy"
    QString heuredebut;   // "hh:nn"
    QString datefin;
    QString heurefin;
    QString arrhes;       // "12,50", "12.50", "45 €" or a share of the stay's price, "30 %"
    QString datelimite;   // "dd/mm/yyyy" or empty
    QString nbadultes;
    QString nbenfants;
    QString remarque;
    QString telephone;
    QString email;

    friend bool operator==(const Champs&, const Champs&) = default;
};

// The messages shown to the user.
// A date box that holds something other than a date: the message is followed
// by the text typed, and wins over every other check.
inline constexpr const char* kDateDebutInvalide = "La date d'arrivée n'est pas une date valide : ";
inline constexpr const char* kDateFinInvalide = "La date de départ n'est pas une date valide : ";
inline constexpr const char* kDateDebutVide = "Veuillez indiquer une date de début de séjour";
inline constexpr const char* kHeureDebutVide = "Veuillez indiquer une heure de début de séjour";
inline constexpr const char* kDateFinVide = "Veuillez indiquer une date de fin de séjour";
inline constexpr const char* kHeureFinVide = "Veuillez indiquer une heure de fin de séjour";
inline constexpr const char* kOrdreDates = "La date de fin DOIT être postérieure à la date de début";
inline constexpr const char* kObjetInconnu = "Veuillez choisir une unité de location dans la liste";
inline constexpr const char* kEtatInconnu = "Veuillez choisir un état dans la liste";
inline constexpr const char* kAdultes = "Le nombre d'adultes doit être un nombre entier de 0 à 32767";
inline constexpr const char* kEnfants = "Le nombre d'enfants doit être un nombre entier de 0 à 32767";
inline constexpr const char* kArrhes = "Veuillez indiquer des arrhes valides : un montant positif, par exemple 12,50, "
                                       "ou une part du prix du séjour, par exemple 30 %";
// A share of a stay that cannot be priced: %1 the share ("30 %"), %2 why.
inline constexpr const char* kArrhesSansPrix = "Les arrhes de %1 ne peuvent pas être calculées : le séjour n'a pas de prix.\n"
                                               "%2\nIndiquez-les en montant, par exemple 45,00.";
inline constexpr const char* kDateLimite = "Veuillez indiquer une date attendue valide (jj/mm/aaaa) ou laisser la case vide";
inline constexpr const char* kHeureDebutInvalide = "Veuillez indiquer une heure de début de séjour valide (hh:mm)";
inline constexpr const char* kHeureFinInvalide = "Veuillez indiquer une heure de fin de séjour valide (hh:mm)";

// The message of the last failing check, empty when the reservation can be
// saved. `objets` and `etats` are the numbers of the entries of the two
// lists; a state is only required when the list of states has entries.
// `prix` is the price of the stay the boxes describe, needed only when the
// deposit is typed as a share of it (Saisie::ArrhesDuSejour).
QString Verifier(const Champs& s, const QList<qint32>& objets, const QList<qint32>& etats,
                 const std::optional<Tarification::Calcul>& prix = std::nullopt);

} // namespace Verification
