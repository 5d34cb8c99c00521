#include "solde.h"

#include <QFontMetricsF>

namespace Solde {

namespace {

// Below this the amount no longer reads at a glance.
constexpr double kTailleMinimale = 5.0;
constexpr double kPas = 0.25;

} // namespace

QColor Couleur(double total)
{
    // Compared to the cent, as the amount is shown: -0,004 is settled.
    if (total < -0.005)
        return QColor(255, 48, 48);
    return QColor(0, 255, 0);
}

Ajustement PoliceAjustee(const QFont& police, const QString& texte, int largeur)
{
    Ajustement a;
    a.police = police;
    double taille = police.pointSizeF() > 0 ? police.pointSizeF() : 9.75;
    for (;;) {
        a.police.setPointSizeF(taille);
        if (QFontMetricsF(a.police).horizontalAdvance(texte) <= largeur)
            return a;
        if (taille - kPas < kTailleMinimale)
            break;
        taille -= kPas;
    }
    a.tient = false;
    return a;
}

} // namespace Solde
