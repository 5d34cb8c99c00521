#pragma once
// Which text the calendar writes where room is short, and in which font
// size: a bar's label (the name, else initials and the number of guests),
// the day headers (a shorter day name or a smaller font), the month labels
// (a shorter form, never cut at the strip's left edge). No painting here:
// the sizes of texts come from a measure the caller gives, so that the
// choices are the same whatever the font and tested without one.
#include "grille.h"

#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace Ajustement {

// Sizes of texts in a font of a given pixel size.
struct Mesure {
    std::function<int(const QString& texte, int taille)> largeur;   // advance in pixels
    std::function<int(int taille)> hauteur;                         // height of a line
    // Height of the text's own letters, accents and descenders included
    // (less than a line, which leaves room for any letter).
    std::function<int(const QString& texte, int taille)> encre;
};

// A text and the pixel size to write it in; an empty text writes nothing.
struct Choix {
    QString texte;
    int taille = 0;
    bool operator==(const Choix&) const = default;
};

// "H.L." for "Henri Leblanc": the first letter of each word of the name's
// first line, upper case, three at most; a word in lower case after a
// capitalised one ("de", "la") is a particle and left out; a hyphenated
// first name keeps its hyphen ("J.-P.").
QString initiales(const QString& nom);

// A bar's label in a rectangle of `largeur` × `hauteur` pixels. Each text
// is written at most in the largest size up to `tailleNormale` at which a
// line, or else the text's own letters, fit the height (a shared band is
// lower than a whole bar). The label when it fits the width at that size,
// else the client's name, else the initials and the number of guests
// ("H.L. 2"), then the initials, then the first initial, each of these
// tried from that size down to `tailleMinimale`. Nothing when none fits
// whole.
Choix etiquetteBarre(const QString& libelle, const QString& client, int personnes, int largeur, int hauteur,
                     int tailleNormale, int tailleMinimale, const Mesure& mesure);

// The day name in a header: form 0 "mer.", 1 "mer", 2 "me", 3 "m".
QString nomJour(const QDate& jour, int forme);

// One form and one size for every day header of the grid, so that the
// names of all seven days and the days of the month fit a column of
// `largeurJour` pixels (one for its line) and their two lines the header's
// height: the largest size from `tailleNormale` down to `tailleMinimale` at
// which one of forms 0 to 2 fits, with the longest form that fits at it;
// else form 3 at the smallest size.
struct FormeEntete {
    int forme = 0;
    int taille = 0;
    bool operator==(const FormeEntete&) const = default;
};
FormeEntete formeJours(int largeurJour, int hauteurEntete, int tailleNormale, int tailleMinimale,
                       const Mesure& mesure);

// A month label placed in the strip.
struct PlaceMois {
    QString texte;
    int x = 0;
    bool operator==(const PlaceMois&) const = default;
};

// The month labels of a header on a strip `largeurStrip` pixels wide: each
// centred over the visible part of its span, in the longest of "novembre
// 2026", "nov. 2026", "novembre", "nov." that fits it with `marge` pixels
// on each side; a span too narrow for any of them gets no label, so that no
// label is ever cut or runs over its neighbour's.
QList<PlaceMois> placesMois(const Grille::Entete& e, int largeurStrip, int taille, const Mesure& mesure,
                            int marge = 2);

} // namespace Ajustement
