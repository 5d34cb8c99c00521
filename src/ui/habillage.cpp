#include "habillage.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace Habillage {

namespace {

QScreen* ecranDe(QWidget* fenetre)
{
    QScreen* ecran = fenetre ? fenetre->screen() : nullptr;
    return ecran ? ecran : QGuiApplication::primaryScreen();
}

// The window `dessin` belongs to: its parent form (which may itself sit in
// another window), or its own top-level window.
QWidget* fenetreDe(QWidget* dessin)
{
    return dessin->parentWidget() ? dessin->parentWidget() : dessin->window();
}

// The picture of the screen, or a plain one when the platform gives none
// (or only an empty, all-black one, as a display-less platform does).
QImage imageEcran(QScreen* ecran, const QSize& taille)
{
    QImage image;
    // The offscreen platform has no screen picture: what it hands back is
    // whatever its buffer held, so it gets the plain backdrop.
    const bool sansEcran = QGuiApplication::platformName() == QLatin1String("offscreen")
        || QGuiApplication::platformName() == QLatin1String("minimal");
    if (ecran && !sansEcran) {
        const QPixmap copie = ecran->grabWindow(0);
        if (!copie.isNull()) {
            image = copie.toImage().convertToFormat(QImage::Format_RGB32);
            image.setDevicePixelRatio(1.0);
            if (image.size() != taille)
                image = image.scaled(taille, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
    }
    bool vide = image.isNull();
    if (!vide) {
        // A platform without a display hands back a black frame: treat it
        // as no picture, so the user still sees the grey backdrop.
        vide = true;
        for (int y = 0; y < image.height() && vide; y += 7) {
            const QRgb* ligne = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); x += 7) {
                if ((ligne[x] & 0x00FFFFFF) != 0) {
                    vide = false;
                    break;
                }
            }
        }
    }
    if (vide) {
        image = QImage(taille.isEmpty() ? QSize(1, 1) : taille, QImage::Format_RGB32);
        image.fill(fondParDefaut());
    }
    return image;
}

} // namespace

QRgb AssombrirPixel(QRgb pixel)
{
    return qRgba(qRed(pixel) & kMasque, qGreen(pixel) & kMasque, qBlue(pixel) & kMasque, qAlpha(pixel));
}

QImage Assombrir(const QImage& image)
{
    QImage resultat = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                    : QImage::Format_RGB32);
    for (int y = 0; y < resultat.height(); ++y) {
        QRgb* ligne = reinterpret_cast<QRgb*>(resultat.scanLine(y));
        for (int x = 0; x < resultat.width(); ++x)
            ligne[x] = AssombrirPixel(ligne[x]);
    }
    return resultat;
}

void CopierEcran(QWidget* dessin, QWidget* fenetre)
{
    if (!dessin)
        return;
    QScreen* ecran = ecranDe(fenetre);
    const QSize taille = ecran ? ecran->geometry().size() : QSize(800, 600);
    dessin->setGeometry(0, 0, taille.width(), taille.height());
    const QImage image = imageEcran(ecran, taille);
    QPalette palette = dessin->palette();
    palette.setBrush(QPalette::Window, QBrush(QPixmap::fromImage(image)));
    dessin->setPalette(palette);
    dessin->setAutoFillBackground(true);
    dessin->update();
}

void HabillerFenetre(QWidget* dessin, QWidget* Fond)
{
    if (!dessin || !Fond)
        return;
    QWidget* fenetre = fenetreDe(dessin);
    QScreen* ecran = ecranDe(fenetre);
    const QRect zone = ecran ? ecran->geometry() : QRect(0, 0, 800, 600);

    if (fenetre->isWindow() && !fenetre->isVisible())
        fenetre->setWindowFlag(Qt::FramelessWindowHint, true);
    fenetre->setGeometry(zone);
    dessin->setVisible(true);
    // Let the screen show its current content before it is copied.
    QCoreApplication::processEvents();
    CopierEcran(dessin, fenetre);
    dessin->setGeometry(0, 0, zone.width(), zone.height());
    Fond->move((zone.width() - Fond->width()) / 2, (zone.height() - Fond->height()) / 2);

    // Dim the copied screen.
    QPalette palette = dessin->palette();
    const QImage image = palette.brush(QPalette::Window).textureImage();
    palette.setBrush(QPalette::Window, QBrush(QPixmap::fromImage(Assombrir(image))));
    dessin->setPalette(palette);
    dessin->lower();
    Fond->raise();
}

QWidget* CreerFond(QWidget* fenetre, const QRect& geometrie)
{
    auto* fond = new QWidget(fenetre);
    fond->setObjectName(QStringLiteral("Fond"));
    fond->setGeometry(geometrie);
    fond->setAutoFillBackground(true);
    // The dialogs are designed for a small 8-point font.
    QFont police = fond->font();
    police.setPointSizeF(7.5);
    fond->setFont(police);
    return fond;
}

} // namespace Habillage
