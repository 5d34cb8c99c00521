#pragma once
// Control positions are designed in twips; the screen works in pixels at
// 15 twips per pixel (96 dots per inch).
#include <QRect>

namespace Twips {

constexpr int kParPixel = 15;

constexpr int enPixels(int twips)
{
    return twips / kParPixel;
}

constexpr QRect rect(int gauche, int haut, int largeur, int hauteur)
{
    return QRect(enPixels(gauche), enPixels(haut), enPixels(largeur), enPixels(hauteur));
}

} // namespace Twips
