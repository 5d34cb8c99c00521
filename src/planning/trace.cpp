#include "trace.h"

#include "ui/graphique.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

namespace Trace {

namespace {

const QColor kSeparationMois(136, 136, 136);
const QColor kTrait(128, 128, 128);
const QColor kSamedi(192, 192, 192);

// Both corners included, in either order; kept near the surface so that a
// stay of long ago does not ask the painter for millions of pixels.
QRect rectanglePlein(const QPainter& p, int x1, int y1, int x2, int y2)
{
    const QRect r = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
    const QRect surface(-2, -2, p.device()->width() + 4, p.device()->height() + 4);
    return r.intersected(surface);
}

} // namespace

void ecrire(QPainter& p, int x, int y, const QString& texte)
{
    p.drawText(x, y + p.fontMetrics().ascent(), texte);
}

void peindreMois(QPainter& p, const Grille::Entete& e, int hauteur)
{
    const QFontMetrics fm = p.fontMetrics();
    for (const Grille::EtiquetteMois& m : e.mois) {
        p.setPen(Qt::black);
        const double x = m.centre() - fm.horizontalAdvance(m.texte) / 2.0;
        const double y = (hauteur - fm.height()) / 2.0;
        ecrire(p, int(std::nearbyint(x)), int(std::nearbyint(y)), m.texte);
    }
    p.setPen(kSeparationMois);
    for (int x : e.separations)
        p.drawLine(x, 0, x, hauteur);
}

void peindreJours(QPainter& p, const Grille::Entete& e, int hauteur)
{
    const int ligne = p.fontMetrics().height();
    for (const Grille::Colonne& c : e.colonnes) {
        p.setPen(kTrait);
        p.drawLine(c.x, 0, c.x, hauteur);
        p.setPen(Qt::black);
        ecrire(p, c.x, 0, c.nomJour);
        ecrire(p, c.x, ligne, c.numeroJour);
    }
}

void peindreColonnes(QPainter& p, const Grille::Entete& e, int largeurJour, int hauteur)
{
    p.setPen(kTrait);
    for (const Grille::Colonne& c : e.colonnes) {
        if (c.samedi)
            p.fillRect(QRect(QPoint(c.x, 0), QPoint(c.x + largeurJour, hauteur)), kSamedi);
        p.drawLine(c.x, 0, c.x, hauteur);
    }
}

void peindreLigne(QPainter& p, int y, int largeur)
{
    p.setPen(kTrait);
    p.drawLine(0, y, largeur, y);
}

void peindreBarre(QPainter& p, const Grille::Barre& b, const QString& libelle, const QColor& texte)
{
    const QRect plein = rectanglePlein(p, b.r.x1, b.r.y1, b.r.x2, b.r.y2);
    if (plein.isEmpty())
        return;   // wholly outside the surface, label included
    p.fillRect(plein, Grille::couleurDepuisBGR(b.couleur));
    p.setPen(texte);
    Graphique::DessinerBarre(p, libelle, b.r.x1, b.r.y1, b.r.x2, b.r.y2, 10);
}

} // namespace Trace
