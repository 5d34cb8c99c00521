// The dialog skin: dimming of the copied screen, and the dressed window.
#include "ui/habillage.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

TEST(Habillage, AssombrirPixel)
{
    const struct { QRgb avant; QRgb apres; } cas[] = {
        {qRgb(255, 255, 255), qRgb(119, 119, 119)},
        {qRgb(128, 128, 128), qRgb(0, 0, 0)},
        {qRgb(200, 100, 50), qRgb(64, 100, 50)},
        {qRgb(0, 0, 0), qRgb(0, 0, 0)},
        {qRgb(136, 8, 247), qRgb(0, 0, 119)},
        {qRgba(255, 255, 255, 40), qRgba(119, 119, 119, 40)},
    };
    for (const auto& c : cas)
        EXPECT_EQ(Habillage::AssombrirPixel(c.avant), c.apres) << std::hex << c.avant;
}

TEST(Habillage, AssombrirImage)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(1, 1, qRgb(200, 100, 50));
    const QImage sombre = Habillage::Assombrir(image);
    ASSERT_EQ(sombre.size(), image.size());
    EXPECT_EQ(sombre.pixel(0, 0), qRgb(119, 119, 119));
    EXPECT_EQ(sombre.pixel(2, 1), qRgb(119, 119, 119));
    EXPECT_EQ(sombre.pixel(1, 1), qRgb(64, 100, 50));
    // Other formats come out dimmed too.
    const QImage indexee = Habillage::Assombrir(image.convertToFormat(QImage::Format_RGB888));
    EXPECT_EQ(indexee.pixel(0, 0), qRgb(119, 119, 119));
}

TEST(Habillage, FenetreHabillee)
{
    const QRect ecran = QGuiApplication::primaryScreen()->geometry();
    const struct { QPoint positionFond; QSize tailleFond; } cas[] = {
        {{24, 24}, {800 * ecran.width() / 1000, 513 * ecran.height() / 1000}},
        {{-300, 900}, {100, 50}},
        {{0, 0}, {ecran.width(), ecran.height()}},
    };
    for (const auto& c : cas) {
        QWidget fenetre;
        fenetre.resize(300, 200);
        auto* dessin = new QLabel(&fenetre);
        dessin->setGeometry(8, 8, 200, 100);
        auto* Fond = new QWidget(&fenetre);
        Fond->setGeometry(QRect(c.positionFond, c.tailleFond));
        Habillage::HabillerFenetre(dessin, Fond);

        EXPECT_EQ(fenetre.geometry(), ecran);
        EXPECT_EQ(dessin->geometry(), QRect(QPoint(0, 0), ecran.size()));
        EXPECT_EQ(Fond->size(), c.tailleFond);
        EXPECT_EQ(Fond->pos(), QPoint((ecran.width() - c.tailleFond.width()) / 2,
                                      (ecran.height() - c.tailleFond.height()) / 2));

        // The backdrop shows the screen dimmed: every channel has bits 7
        // and 3 cleared.
        const QImage fond = dessin->grab().toImage();
        for (const QPoint p : {QPoint(0, 0), QPoint(ecran.width() - 1, ecran.height() - 1)}) {
            const QRgb px = fond.pixel(p);
            EXPECT_EQ(qRed(px) & ~Habillage::kMasque, 0);
            EXPECT_EQ(qGreen(px) & ~Habillage::kMasque, 0);
            EXPECT_EQ(qBlue(px) & ~Habillage::kMasque, 0);
        }
    }
}

TEST(Habillage, SansEcranUnFondGrisAssombri)
{
    // The display-less test platform gives no picture: the backdrop is the
    // plain grey, dimmed.
    QWidget fenetre;
    auto* dessin = new QWidget(&fenetre);
    auto* Fond = new QWidget(&fenetre);
    Fond->resize(10, 10);
    Habillage::HabillerFenetre(dessin, Fond);
    const QImage fond = dessin->grab().toImage();
    EXPECT_EQ(fond.pixel(3, 3), Habillage::AssombrirPixel(Habillage::fondParDefaut().rgb()));
}
