#pragma once
// The graphics module: a text written inside a rectangle of any drawing
// surface, aligned and cut to the rectangle, optionally over a background.
#include <QFontMetrics>
#include <QRect>
#include <QString>

class QPainter;

namespace Graphique {

// Where the text of DessinerBarre goes for a style: the rectangle it is
// clipped to (right and bottom exclusive). Empty when nothing can show.
QRect RectangleTexte(const QFontMetrics& mesure, const QString& texte,
                     double x1, double y1, double x2, double y2, int style);
// The same for a text already measured.
QRect RectangleTexte(double largeur, double hauteur, double x1, double y1, double x2, double y2, int style);

// Writes the text inside (x1, y1)-(x2, y2) of the surface, in the painter's
// pen colour over a transparent background. The style has three digits:
// hundreds the background (0 none, 1 white, 2 raised), tens the vertical
// place (0 top, 1 middle, 2 bottom), units the horizontal place (0 left,
// 1 centre, 2 right); any other digit means 0. The text is one line,
// clipped to the rectangle; an ampersand is shown as itself.
void DessinerBarre(QPainter& surface, const QString& texte,
                   double x1, double y1, double x2, double y2, int style);

} // namespace Graphique
