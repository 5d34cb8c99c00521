#pragma once
// What one row of the settings window shows for a state, and where the row
// goes: plain conversions, no widget.
#include <QColor>
#include <QRect>
#include <QVariant>
#include <optional>

namespace LignesEtats {

// A stored colour laid out 0x00BBGGRR. Null, text that is not a number,
// negative values and values above 0xFFFFFF are no colour (nullopt): the
// swatch then keeps its design colour.
std::optional<QColor> CouleurDepuisValeur(const QVariant& valeur);

// The 0x00BBGGRR value of a colour (its alpha is dropped).
qint32 ValeurDepuisCouleur(const QColor& couleur);

// The publication box of a stored internet value: 0 unticked, 1 ticked,
// 2 greyed; anything else (Null, 7, text) unticked.
Qt::CheckState CaseInternet(const QVariant& valeur);

// Row i of an array whose element 0 sits at `element0` (twips): same left
// and size, i heights lower.
QRect PositionLigne(const QRect& element0, int i);

// Height of the rows' container once n rows are in place (twips): the
// bottom of the last row; with no row it keeps its design height.
int HauteurFond(const QRect& element0, int n, int hauteurDessin);

} // namespace LignesEtats
