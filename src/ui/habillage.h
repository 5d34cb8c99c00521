#pragma once
// The dialog skin: a window is laid over the program's main frame, a dimmed
// picture of what the frame showed is laid behind it, and its panel is
// centred on top, so the dialog floats over the darkened frame while the
// other programs on the screen stay visible and usable. A window opened
// with no frame on screen covers its screen instead.
#include <QColor>
#include <QImage>
#include <QRgb>

class QRect;
class QSize;
class QWidget;

namespace Habillage {

// The mask every channel of the dimmed picture is ANDed with: drawing in
// RGB(136,136,136) with "destination AND NOT pen" keeps 119 = 0x77.
constexpr int kMasque = 0x77;

// The backdrop used when the platform gives no picture of the screen, and
// around a frame too small for the panel.
inline QColor fondParDefaut() { return QColor(240, 240, 240); }

// One pixel dimmed: each channel ANDed with 119 (white -> 119,119,119;
// 128,128,128 -> black). Alpha is kept.
QRgb AssombrirPixel(QRgb pixel);
// A whole picture dimmed pixel by pixel.
QImage Assombrir(const QImage& image);

// The program's main frame, which dressed windows cover (none: the screen).
// The frame is forgotten when it is destroyed.
void DefinirCadre(QWidget* cadre);
QWidget* Cadre();

// The window a dressed window covers: the window of its parent when that one
// is on screen (a dialog opened from another dressed one lies over it), else
// the main frame when it is on screen, else none (the screen).
QWidget* FenetreCouverte(QWidget* fenetre);

// The area, in screen coordinates, of a dressed window covering `cadre`: the
// frame itself, grown around its centre wherever the panel `fond` would not
// fit, and then moved back inside `ecran` as far as it fits there.
QRect ZoneHabillee(const QRect& cadre, const QSize& fond, const QRect& ecran);

// Copies what the window covers (the frame, or the screen) into the
// backdrop `dessin`, which is placed at the window's corner and made to
// cover the window. A plain grey picture stands in for a screen the platform
// gives no picture of.
void CopierEcran(QWidget* dessin, QWidget* fenetre);

// The panel `Fond` of a dressed window: at its designed place, filled with
// the window colour, in the small 7.5-point font the dialogs are drawn for.
QWidget* CreerFond(QWidget* fenetre, const QRect& geometrie);

// Dresses the window holding `dessin`: it covers the main frame (or the
// screen), the backdrop receives a dimmed copy of it, and `Fond` is centred,
// same size. While the window is open it follows the frame when the frame is
// moved or resized.
void HabillerFenetre(QWidget* dessin, QWidget* Fond);

} // namespace Habillage
