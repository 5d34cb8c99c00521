#pragma once
// How the balance under the receipt is shown: its colour, and a font small
// enough for the whole amount, sign first, to fit the label.
#include <QColor>
#include <QFont>
#include <QString>

namespace Solde {

// Red while the guest owes money (a balance below 0), green when the
// account is settled or in credit.
QColor Couleur(double total);

struct Ajustement {
    QFont police;
    bool tient = true;   // false: even the smallest size is too wide
};

// The largest size, from the size of `police` down to a readable minimum,
// at which `texte` fits in `largeur` pixels.
Ajustement PoliceAjustee(const QFont& police, const QString& texte, int largeur);

} // namespace Solde
