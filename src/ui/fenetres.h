#pragma once
// Window placement shared by the secondary windows.
#include <QPoint>
#include <QSize>

class QWidget;

namespace Fenetres {

// Top-left corner that centres a window on a screen, never left of or above
// the screen's corner.
QPoint PositionCentree(const QSize& ecran, const QSize& fenetre);

// Centres the window on its screen.
void PlacerFenetre(QWidget* fenetre);

} // namespace Fenetres
