#include "trace.h"

#include "ui/graphique.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QStaticText>
#include <algorithm>
#include <cmath>

namespace Trace {

namespace {

const QColor kSeparationMois(136, 136, 136);
const QColor kTrait(128, 128, 128);
const QColor kOmbre(192, 192, 192);       // Saturdays and Sundays
const QColor kAujourdhui(204, 228, 255);   // today's day header
const QColor kMarque(0, 84, 200);          // the present moment in the grid
const QColor kChevauchement(139, 0, 0);    // frame of a double booking

// Both corners included, in either order; kept near the surface so that a
// stay of long ago does not ask the painter for millions of pixels.
QRect rectanglePlein(const QPainter& p, int x1, int y1, int x2, int y2)
{
    const QRect r = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
    const QRect surface(-2, -2, p.device()->width() + 4, p.device()->height() + 4);
    return r.intersected(surface);
}

// The calendar writes the same few hundred texts at every refresh (names,
// day headers, labels): each is laid out once per font and kept.
const QStaticText& texteFige(const QPainter& p, const QString& texte)
{
    struct Police {
        QFont police;
        QHash<QString, QStaticText> textes;
    };
    static QList<Police> polices;
    const QFont& police = p.font();
    auto it = std::find_if(polices.begin(), polices.end(), [&](const Police& x) { return x.police == police; });
    if (it == polices.end()) {
        if (polices.size() >= 8)
            polices.clear();
        polices.append({police, {}});
        it = polices.end() - 1;
    }
    auto t = it->textes.constFind(texte);
    if (t == it->textes.cend()) {
        if (it->textes.size() >= 5000)
            it->textes.clear();
        QStaticText fige(texte);
        fige.setTextFormat(Qt::PlainText);
        fige.setPerformanceHint(QStaticText::AggressiveCaching);
        fige.prepare(QTransform(), police);
        t = it->textes.insert(texte, fige);
    }
    return *t;
}

} // namespace

void ecrire(QPainter& p, int x, int y, const QString& texte)
{
    if (!texte.isEmpty())
        p.drawStaticText(x, y, texteFige(p, texte));
}

void peindreMois(QPainter& p, const Grille::Entete& e, int hauteur)
{
    // The lines first: a label wider than its span stays readable.
    for (int x : e.separations)
        p.fillRect(x, 0, 1, hauteur + 1, kSeparationMois);
    const QFontMetrics fm = p.fontMetrics();
    p.setPen(Qt::black);
    for (const Grille::EtiquetteMois& m : e.mois) {
        const double x = m.centre() - fm.horizontalAdvance(m.texte) / 2.0;
        const double y = (hauteur - fm.height()) / 2.0;
        ecrire(p, int(std::nearbyint(x)), int(std::nearbyint(y)), m.texte);
    }
}

void peindreJours(QPainter& p, const Grille::Entete& e, int largeurJour, int hauteur)
{
    const int ligne = p.fontMetrics().height();
    const QFont normale = p.font();
    for (const Grille::Colonne& c : e.colonnes) {
        if (c.aujourdhui) {
            p.fillRect(c.x, 0, largeurJour, hauteur + 1, kAujourdhui);
            QFont grasse = normale;
            grasse.setBold(true);
            p.setFont(grasse);
        }
        p.fillRect(c.x, 0, 1, hauteur + 1, kTrait);
        p.setPen(Qt::black);
        ecrire(p, c.x, 0, c.nomJour);
        ecrire(p, c.x, ligne, c.numeroJour);
        if (c.aujourdhui)
            p.setFont(normale);
    }
}

void peindreColonnes(QPainter& p, const Grille::Entete& e, int largeurJour, int hauteur)
{
    // Lines as one-pixel fills: the painter's quickest way.
    for (const Grille::Colonne& c : e.colonnes) {
        if (c.ombre)
            p.fillRect(c.x, 0, largeurJour + 1, hauteur + 1, kOmbre);
        p.fillRect(c.x, 0, 1, hauteur + 1, kTrait);
    }
}

void peindreMarque(QPainter& p, int x, int hauteur)
{
    p.fillRect(x, 0, 2, hauteur + 1, kMarque);
}

void peindreLigne(QPainter& p, int y, int largeur)
{
    p.fillRect(0, y, largeur + 1, 1, kTrait);
}

void ecrireDans(QPainter& p, const Grille::Rectangle& r, const QString& texte)
{
    if (texte.isEmpty())
        return;
    // Placed as the graphics module places a bar's text: left, centred
    // vertically, cut at the rectangle's edges.
    const QStaticText& fige = texteFige(p, texte);
    const QRect place = Graphique::RectangleTexte(fige.size().width(), p.fontMetrics().height(),
                                                  r.x1, r.y1, r.x2, r.y2, 10);
    if (place.isEmpty())
        return;
    const QFontMetrics fm = p.fontMetrics();
    QPoint coin = place.topLeft();
    // A band lower than the text (a double booking) keeps the letters above
    // the line whole and drops what hangs below it.
    if (place.height() < fm.height())
        coin.setY(r.y2 - fm.ascent());
    const bool coupe = place.width() < fige.size().width() || place.height() < fm.height();
    if (coupe) {
        p.save();
        p.setClipRect(place, Qt::IntersectClip);
    }
    p.drawStaticText(coin, fige);
    if (coupe)
        p.restore();
}

void peindreBarre(QPainter& p, const Grille::Barre& b, const QString& libelle, const QColor& texte)
{
    const QRect plein = rectanglePlein(p, b.r.x1, b.r.y1, b.r.x2, b.r.y2);
    if (plein.isEmpty())
        return;   // wholly outside the surface, label included
    p.fillRect(plein, Grille::couleurDepuisBGR(b.couleur));
    // A cancelled stay: hatched over its colour.
    if (b.reservation.annulee())
        p.fillRect(plein, QBrush(Qt::white, Qt::BDiagPattern));
    p.setPen(texte);
    ecrireDans(p, Grille::rectangleEtiquette(b.r), libelle);
    // The frame last, whole over the label.
    if (b.chevauche) {
        p.setPen(kChevauchement);
        p.drawRect(plein.adjusted(0, 0, -1, -1));
    }
}

} // namespace Trace
