// DessinerBarre: a text written into a rectangle, aligned and cut to it.
#include "ui/graphique.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

QFont police()
{
    QFont f;
    f.setPointSizeF(8);
    return f;
}

// Pixels of the image close to a colour (text edges are blended).
int pixelsProches(const QImage& image, const QRect& zone, const QColor& couleur, int tolerance = 60)
{
    int n = 0;
    const QRect r = zone.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - couleur.red()) <= tolerance && std::abs(c.green() - couleur.green()) <= tolerance
                && std::abs(c.blue() - couleur.blue()) <= tolerance)
                ++n;
        }
    return n;
}

QImage dessin(const QString& texte, QRect barre, int style, const QColor& fond = Qt::white)
{
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(fond);
    QPainter p(&image);
    p.setFont(police());
    p.setPen(Qt::black);
    Graphique::DessinerBarre(p, texte, barre.left(), barre.top(), barre.right(), barre.bottom(), style);
    return image;
}

} // namespace

TEST(Graphique, TextRectangleFollowsTheStyleDigits)
{
    const QFontMetrics fm(police());
    const QString court = QStringLiteral("Dupont");
    const int w = fm.horizontalAdvance(court);
    const int h = fm.height();
    const int milieu = int(std::nearbyint(10 + (20 / 2.0 - h / 2.0)));
    struct Cas { const char* nom; QString texte; double x1, y1, x2, y2; int style; QRect attendu; };
    const Cas cas[] = {
        {"left, middle", court, 10, 10, 110, 30, 10, QRect(10, milieu, w, 30 - milieu < h ? 30 - milieu : h)},
        {"left, top", court, 10, 10, 110, 30, 0, QRect(10, 10, w, std::min(h, 20))},
        {"raised, middle", court, 10, 10, 110, 30, 210, QRect(10, milieu, w, std::min(h, 30 - milieu))},
        {"other digits count as 0", court, 10, 10, 110, 30, 99, QRect(10, 10, w, std::min(h, 20))},
        {"cut at the right edge", court, 10, 10, 10 + w / 2.0, 30, 10,
         QRect(10, milieu, int(std::nearbyint(10 + w / 2.0)) - 10, std::min(h, 30 - milieu))},
        {"begun left of the surface", court, -500, 0, 5, 20, 0, QRect(-500, 0, std::min(w, 505), std::min(h, 20))},
        {"zero width", court, 10, 10, 10, 30, 10, QRect()},
        {"ends before it starts", court, 50, 10, 20, 30, 10, QRect()},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Graphique::RectangleTexte(fm, c.texte, c.x1, c.y1, c.x2, c.y2, c.style), c.attendu) << c.nom;

    // Centred and right-aligned: the text's far edge meets the rectangle's.
    const QRect centre = Graphique::RectangleTexte(fm, court, 0, 0, 200, 40, 11);
    EXPECT_LE(std::abs(centre.left() - (200 - w) / 2), 1);
    const QRect droite = Graphique::RectangleTexte(fm, court, 0, 0, 200, 40, 22);
    EXPECT_EQ(droite.left(), 200 - w);
    EXPECT_EQ(droite.top(), 40 - h);
}

TEST(Graphique, BackgroundsAndClipping)
{
    const QRect barre(QPoint(10, 10), QPoint(110, 30));
    // Style 210: raised face, black outline, white light inside left and top.
    const QImage releve = dessin(QString(), barre, 210, Qt::blue);
    EXPECT_EQ(releve.pixelColor(10, 10), QColor(0, 0, 0));
    EXPECT_EQ(releve.pixelColor(110, 30), QColor(0, 0, 0));
    EXPECT_EQ(releve.pixelColor(11, 20), QColor(255, 255, 255));
    EXPECT_EQ(releve.pixelColor(60, 11), QColor(255, 255, 255));
    EXPECT_EQ(releve.pixelColor(60, 20), QColor(212, 208, 200));
    EXPECT_EQ(releve.pixelColor(111, 20), QColor(Qt::blue));

    const QImage blanc = dessin(QString(), barre, 110, Qt::blue);
    EXPECT_EQ(blanc.pixelColor(10, 10), QColor(255, 255, 255));
    EXPECT_EQ(blanc.pixelColor(110, 30), QColor(255, 255, 255));
    const QImage sansFond = dessin(QString(), barre, 10, Qt::blue);
    EXPECT_EQ(sansFond.pixelColor(60, 20), QColor(Qt::blue));

    // A long name stops at the bar's right edge and inside its height.
    const QImage coupe = dessin(QStringLiteral("WWWWWWWWWWWWWWWWWWWW"), QRect(QPoint(0, 4), QPoint(30, 16)), 10);
    EXPECT_GT(pixelsProches(coupe, QRect(0, 4, 30, 12), Qt::black), 0);
    EXPECT_EQ(pixelsProches(coupe, QRect(30, 0, 170, 60), Qt::black, 200), 0);
    EXPECT_EQ(pixelsProches(coupe, QRect(0, 0, 200, 4), Qt::black, 200), 0);
    EXPECT_EQ(pixelsProches(coupe, QRect(0, 16, 200, 44), Qt::black, 200), 0);
    // A bar of width zero shows no text.
    EXPECT_EQ(pixelsProches(dessin(QStringLiteral("WWW"), QRect(QPoint(10, 4), QPoint(10, 20)), 10),
                            QRect(0, 0, 200, 60), Qt::black, 200), 0);
}

TEST(Graphique, AmpersandIsShownAsWritten)
{
    const QRect barre(QPoint(0, 0), QPoint(190, 20));
    const int un = pixelsProches(dessin(QStringLiteral("&"), barre, 10), barre, Qt::black);
    const int deux = pixelsProches(dessin(QStringLiteral("&&"), barre, 10), barre, Qt::black);
    EXPECT_GT(un, 0);
    EXPECT_GT(deux, un + un / 2);   // two marks, not one
}
