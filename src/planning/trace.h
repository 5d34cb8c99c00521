#pragma once
// Painting of the calendar's surfaces from the grid's geometry. Each
// function draws on a painter already opened on the surface's picture.
#include "grille.h"

#include <QColor>
#include <QString>

class QPainter;

namespace Trace {

// The month strip: each label centred over its span, a line where a new
// month begins.
void peindreMois(QPainter& p, const Grille::Entete& e, int hauteur);
// The day headers: a line left of each column, the short day name and,
// below it, the day of the month.
// Today's header is bold on a light blue ground.
void peindreJours(QPainter& p, const Grille::Entete& e, int largeurJour, int hauteur);
// The grid's columns: Saturdays and Sundays shaded, a line left of each column.
void peindreColonnes(QPainter& p, const Grille::Entete& e, int largeurJour, int hauteur);
// The 2-pixel line of the present moment, its left edge at x.
void peindreMarque(QPainter& p, int x, int hauteur);
// A horizontal grid line across the surface at y.
void peindreLigne(QPainter& p, int y, int largeur);
// Text with its top-left corner at (x, y), in the painter's pen.
void ecrire(QPainter& p, int x, int y, const QString& texte);
// One line of text at the left of the rectangle (both corners included),
// centred vertically and cut at its edges, as bars write their labels.
void ecrireDans(QPainter& p, const Grille::Rectangle& r, const QString& texte);
// A bar: the rectangle in its state's colour (framed in dark red when it
// shares days with another stay of its row), then its label in `texte`
// from the bar's first visible pixel.
void peindreBarre(QPainter& p, const Grille::Barre& b, const QString& libelle, const QColor& texte);

} // namespace Trace
