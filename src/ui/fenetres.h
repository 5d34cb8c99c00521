#pragma once
// Window placement shared by the secondary windows.
#include <QPoint>
#include <QSize>
#include <QString>

class QWidget;

namespace Fenetres {

// Top-left corner that centres a window on a screen, never left of or above
// the screen's corner.
QPoint PositionCentree(const QSize& ecran, const QSize& fenetre);

// Centres the window on its screen.
void PlacerFenetre(QWidget* fenetre);

// Asks a question with the buttons "Oui" and "Non" (whatever Qt's own
// translation); Escape answers "Non". Questions about something hard to
// undo keep "Non" as the default, so that Enter does not do it.
bool DemanderOuiNon(QWidget* parent, const QString& titre, const QString& question, bool ouiParDefaut = false);

} // namespace Fenetres
