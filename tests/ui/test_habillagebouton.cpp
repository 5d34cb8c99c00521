// The button skin: the colours of each cell, and the nine-slice stretch.
#include "ui/habillagebouton.h"

#include <QColor>
#include <gtest/gtest.h>

using namespace HabillageBouton;

namespace {

QColor pixelCellule(int cellule, int x, int y)
{
    return Image().pixelColor(cellule * kLargeurCellule + x, y);
}

} // namespace

TEST(HabillageBouton, ImageEstUnePaletteDeCinqCellules)
{
    const QImage& image = Image();
    EXPECT_EQ(image.size(), QSize(90, 21));
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_LE(image.colorCount(), 256);
}

TEST(HabillageBouton, CouleursDesCellules)
{
    struct Cas {
        int cellule, x, y;
        QColor attendue;
    };
    const Cas cas[] = {
        // normal: frame, white under the top frame, dark rows at the foot
        {Normale, 9, 0, QColor(0, 60, 116)},
        {Normale, 0, 10, QColor(0, 60, 116)},
        {Normale, 17, 10, QColor(0, 60, 116)},
        {Normale, 9, 20, QColor(0, 60, 116)},
        {Normale, 9, 1, QColor(255, 255, 255)},
        {Normale, 9, 10, QColor(243, 243, 239)},
        {Normale, 9, 16, QColor(240, 240, 234)},
        {Normale, 9, 17, QColor(236, 235, 230)},
        {Normale, 9, 18, QColor(226, 223, 214)},
        {Normale, 9, 19, QColor(214, 208, 197)},
        // pressed: darker at the top, lighter at the bottom
        {Enfoncee, 9, 0, QColor(0, 60, 116)},
        {Enfoncee, 9, 1, QColor(209, 204, 193)},
        {Enfoncee, 9, 2, QColor(220, 216, 207)},
        {Enfoncee, 9, 10, QColor(226, 225, 218)},
        {Enfoncee, 9, 18, QColor(234, 233, 227)},
        {Enfoncee, 9, 19, QColor(242, 241, 238)},
        // disabled: grey frame, flat face, white rounding
        {Desactivee, 9, 0, QColor(201, 199, 186)},
        {Desactivee, 0, 10, QColor(201, 199, 186)},
        {Desactivee, 9, 1, QColor(245, 244, 234)},
        {Desactivee, 9, 19, QColor(245, 244, 234)},
        {Desactivee, 1, 0, QColor(255, 255, 255)},
        // pointer over: warm inner frame on the normal face
        {Survolee, 9, 0, QColor(0, 60, 116)},
        {Survolee, 9, 1, QColor(255, 240, 207)},
        {Survolee, 9, 2, QColor(253, 216, 137)},
        {Survolee, 1, 10, QColor(252, 202, 105)},
        {Survolee, 16, 10, QColor(252, 202, 105)},
        {Survolee, 9, 18, QColor(248, 179, 48)},
        {Survolee, 9, 19, QColor(229, 151, 0)},
        {Survolee, 9, 10, QColor(243, 243, 239)},
        // highlighted: blue inner frame
        {Eclairee, 9, 1, QColor(206, 231, 255)},
        {Eclairee, 9, 2, QColor(188, 212, 246)},
        {Eclairee, 2, 10, QColor(160, 190, 236)},
        {Eclairee, 9, 18, QColor(137, 173, 228)},
        {Eclairee, 9, 19, QColor(105, 130, 238)},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(testing::Message() << "cellule " << c.cellule << " (" << c.x << ", " << c.y << ")");
        EXPECT_EQ(pixelCellule(c.cellule, c.x, c.y).rgba(), c.attendue.rgba());
    }
}

TEST(HabillageBouton, CoinsExterieursTransparents)
{
    for (int k = 0; k < kNbCellules; ++k) {
        for (const QPoint& p : {QPoint(0, 0), QPoint(17, 0), QPoint(0, 20), QPoint(17, 20)}) {
            SCOPED_TRACE(testing::Message() << "cellule " << k << " (" << p.x() << ", " << p.y() << ")");
            EXPECT_EQ(pixelCellule(k, p.x(), p.y()).alpha(), 0);
        }
        EXPECT_EQ(pixelCellule(k, 9, 10).alpha(), 255);
    }
}

TEST(HabillageBouton, NeufMorceaux)
{
    struct Cas {
        int largeur, hauteur;
        int indice;
        QRect source, destination;
    };
    const Cas cas[] = {
        // the planning's small buttons
        {33, 17, 0, QRect(0, 0, 3, 3), QRect(0, 0, 3, 3)},
        {33, 17, 1, QRect(15, 0, 3, 3), QRect(30, 0, 3, 3)},
        {33, 17, 2, QRect(15, 18, 3, 3), QRect(30, 14, 3, 3)},
        {33, 17, 3, QRect(0, 18, 3, 3), QRect(0, 14, 3, 3)},
        {33, 17, 4, QRect(3, 0, 12, 3), QRect(3, 0, 27, 3)},
        {33, 17, 5, QRect(15, 3, 3, 15), QRect(30, 3, 3, 11)},
        {33, 17, 6, QRect(0, 3, 3, 15), QRect(0, 3, 3, 11)},
        {33, 17, 7, QRect(3, 18, 12, 3), QRect(3, 14, 27, 3)},
        {33, 17, 8, QRect(3, 3, 12, 15), QRect(3, 3, 27, 11)},
        // the reservation window's buttons
        {57, 25, 8, QRect(3, 3, 12, 15), QRect(3, 3, 51, 19)},
        {57, 25, 2, QRect(15, 18, 3, 3), QRect(54, 22, 3, 3)},
        // too small for the stretched parts: empty, never negative
        {4, 5, 4, QRect(3, 0, 12, 3), QRect(3, 0, 0, 3)},
        {4, 5, 8, QRect(3, 3, 12, 15), QRect(3, 3, 0, 0)},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(testing::Message() << c.largeur << "x" << c.hauteur << " morceau " << c.indice);
        const auto morceaux = Morceaux(c.largeur, c.hauteur);
        EXPECT_EQ(morceaux[size_t(c.indice)].source, c.source);
        EXPECT_EQ(morceaux[size_t(c.indice)].destination, c.destination);
    }
}

TEST(HabillageBouton, EtirerALaTailleDeLaCelluleLaRecopie)
{
    const PictureClip pc(Image(), 1, kNbCellules);
    for (int k = 0; k < kNbCellules; ++k) {
        const QImage cellule = pc.GraphicCell(k).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(Etirer(cellule, cellule.size()), cellule) << "cellule " << k;
    }
}

TEST(HabillageBouton, EtirerGardeLesBordsEtLesCoins)
{
    const PictureClip pc(Image(), 1, kNbCellules);
    const QImage surface = Etirer(pc.GraphicCell(Survolee), QSize(57, 25));
    ASSERT_EQ(surface.size(), QSize(57, 25));
    struct Cas {
        int x, y;
        QColor attendue;
    };
    const Cas cas[] = {
        {28, 0, QColor(0, 60, 116)},       // top frame stretched
        {28, 24, QColor(0, 60, 116)},      // bottom frame moved down
        {0, 12, QColor(0, 60, 116)},       // left frame stretched
        {56, 12, QColor(0, 60, 116)},      // right frame moved right
        {28, 1, QColor(255, 240, 207)},    // warm top row
        {28, 23, QColor(229, 151, 0)},     // warm bottom row
        {55, 12, QColor(252, 202, 105)},   // warm right side
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
        EXPECT_EQ(surface.pixelColor(c.x, c.y).rgba(), c.attendue.rgba());
    }
    EXPECT_EQ(surface.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(surface.pixelColor(56, 24).alpha(), 0);
    EXPECT_TRUE(Etirer(pc.GraphicCell(Normale), QSize(0, 0)).isNull());
}

TEST(HabillageBouton, PictureClipDonneChaqueCellule)
{
    const PictureClip pc(Image(), 1, kNbCellules);
    EXPECT_EQ(pc.Rows(), 1);
    EXPECT_EQ(pc.Cols(), 5);
    for (int k = 0; k < kNbCellules; ++k)
        EXPECT_EQ(pc.GraphicCell(k), Image().copy(k * 18, 0, 18, 21)) << "cellule " << k;
    EXPECT_TRUE(pc.GraphicCell(-1).isNull());
    EXPECT_TRUE(pc.GraphicCell(5).isNull());
}
