#pragma once
// The text form of a remembered window position, and the checks that keep
// a restored window usable. Positions are kept in twips (15 per pixel):
// "left|top|width|height", each the decimal text of a single-precision value.
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

namespace PositionFenetre {

// Decimal text of a single-precision value, without exponent nor trailing
// zeros: 1440 -> "1440", 7.5 -> "7.5".
QString TexteSimple(float valeur);

// "left|top|width|height" in twips for a rectangle in pixels.
QString EcrirePositions(const QRect& pixels);

// The rectangle in pixels that a stored text designates; nullopt for "0",
// which means nothing is stored. Each field is read by its leading number,
// so a missing or unreadable field counts as 0.
std::optional<QRect> LirePositions(const QString& texte);

// The window state a stored text designates (0 normal, 1 minimised,
// 2 maximised); nullopt for any other value, which leaves the state alone.
std::optional<int> LireEtat(const QString& texte);

// Smallest size given to a restored window.
constexpr QSize kTailleMinimale(200, 120);

// A restored rectangle made usable: at least the minimum size, at most the
// size of the area it ends up on, and moved back onto that area when no
// area shows a grabbable strip of its top (at least 40 pixels wide). The
// areas are the screens' available rectangles for a top-level window, or
// the parent's rectangle for a window inside another one. With no area the
// size alone is corrected.
QRect Corriger(const QRect& voulu, const QList<QRect>& zones, const QSize& minimum = kTailleMinimale);

// The place of a window that has none stored yet: `pourcent` of the area's
// width and height, centred on it.
QRect PremierePlace(const QRect& zone, int pourcent);

} // namespace PositionFenetre
