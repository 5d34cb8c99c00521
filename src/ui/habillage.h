#pragma once
// The dialog skin: a window is stretched over the whole screen, a dimmed copy
// of what the screen showed is laid behind it, and its panel is centred on
// top, so the dialog floats over a darkened desktop.
#include <QColor>
#include <QImage>
#include <QRgb>

class QRect;
class QWidget;

namespace Habillage {

// The mask every channel of the dimmed picture is ANDed with: drawing in
// RGB(136,136,136) with "destination AND NOT pen" keeps 119 = 0x77.
constexpr int kMasque = 0x77;

// The backdrop used when the platform gives no picture of the screen.
inline QColor fondParDefaut() { return QColor(240, 240, 240); }

// One pixel dimmed: each channel ANDed with 119 (white -> 119,119,119;
// 128,128,128 -> black). Alpha is kept.
QRgb AssombrirPixel(QRgb pixel);
// A whole picture dimmed pixel by pixel.
QImage Assombrir(const QImage& image);

// Copies the screen that shows the window into the backdrop `dessin`, which
// is placed at the window's corner and made to cover the screen. A plain grey
// picture stands in when the platform gives none.
void CopierEcran(QWidget* dessin, QWidget* fenetre);

// The panel `Fond` of a dressed window: at its designed place, filled with
// the window colour, in the small 7.5-point font the dialogs are drawn for.
QWidget* CreerFond(QWidget* fenetre, const QRect& geometrie);

// Dresses the window holding `dessin`: it covers the screen, the backdrop
// receives a dimmed copy of the screen, and `Fond` is centred, same size.
void HabillerFenetre(QWidget* dessin, QWidget* Fond);

} // namespace Habillage
