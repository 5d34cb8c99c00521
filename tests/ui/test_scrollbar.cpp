#include "ui/scrollbar.h"

#include <gtest/gtest.h>

TEST(ScrollBar, CoverFollowsTheValue)
{
    ScrollBar barre;
    barre.resize(465, 20);
    struct Cas { int valeur; int gauche; };
    const Cas cas[] = {{0, 0}, {50, 233}, {100, 465}, {130, 605}, {-10, -47}};
    for (const Cas& c : cas) {
        barre.Value(c.valeur);
        EXPECT_EQ(barre.cache->x(), c.gauche) << c.valeur;
        EXPECT_EQ(barre.cache->width(), 465);
    }
}

TEST(ScrollBar, PictureHas31FramedBlocks)
{
    const QImage image = ScrollBar::ImageBlocs();
    ASSERT_EQ(image.size(), QSize(465, 20));
    EXPECT_EQ(image.pixelColor(5, 0), QColor(239, 238, 233));     // top row is background
    EXPECT_EQ(image.pixelColor(14, 10), QColor(239, 238, 233));    // the gap after block 0
    for (int bloc = 0; bloc < 31; ++bloc) {
        EXPECT_EQ(image.pixelColor(bloc * 15, 10), QColor(100, 160, 102)) << bloc;
        EXPECT_EQ(image.pixelColor(bloc * 15 + 5, 1), QColor(132, 188, 138)) << bloc;
        EXPECT_EQ(image.pixelColor(bloc * 15 + 5, 18), QColor(73, 126, 74)) << bloc;
    }
    EXPECT_GT(image.pixelColor(5, 3).green(), image.pixelColor(5, 16).green()); // pale to dark
}
