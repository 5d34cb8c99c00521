#include "graphique.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace Graphique {

namespace {

int arrondi(double v)
{
    return int(std::nearbyint(v));
}

// 0, 1 or 2 for a digit of the style; anything else counts as 0.
int chiffre(int style, int rang)
{
    const int c = (style / rang) % 10;
    return (c >= 0 && c <= 2) ? c : 0;
}

double decalage(int place, double etendue, double taille)
{
    switch (place) {
    case 1: return etendue / 2 - taille / 2;
    case 2: return etendue - taille;
    default: return 0;
    }
}

void peindreFond(QPainter& p, int fond, double x1, double y1, double x2, double y2)
{
    const QRect r(QPoint(arrondi(x1), arrondi(y1)), QPoint(arrondi(x2), arrondi(y2)));
    if (fond == 1) {
        p.fillRect(r, QColor(255, 255, 255));
    } else if (fond == 2) {
        // A raised panel: face, black outline, white light on the left and top.
        p.fillRect(r, QColor(212, 208, 200));
        p.setPen(QColor(0, 0, 0));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(QColor(255, 255, 255));
        p.drawLine(r.left() + 1, r.bottom() - 1, r.left() + 1, r.top() + 1);
        p.drawLine(r.left() + 1, r.top() + 1, r.right() - 1, r.top() + 1);
        p.setPen(QColor(0, 0, 0));
    }
}

} // namespace

QRect RectangleTexte(const QFontMetrics& mesure, const QString& texte,
                     double x1, double y1, double x2, double y2, int style)
{
    return RectangleTexte(mesure.horizontalAdvance(texte), mesure.height(), x1, y1, x2, y2, style);
}

QRect RectangleTexte(double largeur, double hauteur, double x1, double y1, double x2, double y2, int style)
{
    const double h = decalage(chiffre(style, 1), x2 - x1, largeur);
    const double v = decalage(chiffre(style, 10), y2 - y1, hauteur);
    const int gauche = arrondi(std::max(x1 + h, x1));
    const int droite = arrondi(std::min(double(gauche) + largeur, x2));
    const int haut = arrondi(std::max(y1 + v, y1));
    const int bas = arrondi(std::min(double(haut) + hauteur, y2));
    if (droite <= gauche || bas <= haut)
        return QRect();
    return QRect(gauche, haut, droite - gauche, bas - haut);
}

void DessinerBarre(QPainter& surface, const QString& texte,
                   double x1, double y1, double x2, double y2, int style)
{
    peindreFond(surface, chiffre(style, 100), x1, y1, x2, y2);
    const QRect r = RectangleTexte(surface.fontMetrics(), texte, x1, y1, x2, y2, style);
    if (r.isEmpty() || texte.isEmpty())
        return;
    surface.save();
    surface.setClipRect(r, Qt::IntersectClip);
    surface.setBackgroundMode(Qt::TransparentMode);
    // No mnemonic handling: "&" is drawn as written.
    surface.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, texte);
    surface.restore();
}

} // namespace Graphique
