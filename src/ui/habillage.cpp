#include "habillage.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace Habillage {

namespace {

QPointer<QWidget>& cadrePrincipal()
{
    static QPointer<QWidget> cadre;
    return cadre;
}

bool surEcran(const QWidget* fenetre)
{
    return fenetre && fenetre->isVisible() && !fenetre->isMinimized();
}

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

QWidget* FenetreCouverte(QWidget* fenetre)
{
    if (!fenetre)
        return nullptr;
    if (QWidget* parent = fenetre->parentWidget(); parent && parent->window() != fenetre->window()
                                                  && surEcran(parent->window()))
        return parent->window();
    QWidget* cadre = Cadre();
    if (cadre && cadre != fenetre->window() && surEcran(cadre))
        return cadre;
    return nullptr;
}

QRect ZoneHabillee(const QRect& cadre, const QSize& fond, const QRect& ecran)
{
    QRect zone = cadre;
    // Grown around the frame's centre where the panel would not fit.
    const QSize taille = cadre.size().expandedTo(fond);
    zone.setSize(taille);
    zone.moveCenter(cadre.center());
    if (taille != cadre.size() && !ecran.isEmpty()) {
        const int x = std::clamp(zone.x(), ecran.left(), std::max(ecran.left(), ecran.left() + ecran.width() - zone.width()));
        const int y = std::clamp(zone.y(), ecran.top(), std::max(ecran.top(), ecran.top() + ecran.height() - zone.height()));
        zone.moveTo(x, y);
    }
    return zone;
}

namespace {

// The covered frame's own picture, at its place in the dressed window's
// area; the grey backdrop fills what the frame does not cover.
QImage imageCadre(QWidget* couvert, const QRect& zone)
{
    QImage image(zone.size().isEmpty() ? QSize(1, 1) : zone.size(), QImage::Format_RGB32);
    image.fill(fondParDefaut());
    QImage copie = couvert->grab().toImage().convertToFormat(QImage::Format_RGB32);
    copie.setDevicePixelRatio(1.0);
    if (copie.size() != couvert->size())
        copie = copie.scaled(couvert->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter peintre(&image);
    peintre.drawImage(couvert->geometry().topLeft() - zone.topLeft(), copie);
    return image;
}

// The area the window takes: over the frame it covers, or its whole screen.
QRect zoneDe(QWidget* fenetre, QWidget* couvert, const QSize& fond)
{
    QScreen* ecran = ecranDe(couvert ? couvert : fenetre);
    if (couvert)
        return ZoneHabillee(couvert->geometry(), fond, ecran ? ecran->availableGeometry() : QRect());
    return ecran ? ecran->geometry() : QRect(0, 0, 800, 600);
}

void placer(QWidget* fenetre, QWidget* dessin, QWidget* Fond, QWidget* couvert, bool copier)
{
    const QRect zone = zoneDe(fenetre, couvert, Fond->size());
    fenetre->setGeometry(zone);
    if (copier) {
        CopierEcran(dessin, fenetre);
        // Dim the copy.
        QPalette palette = dessin->palette();
        const QImage image = palette.brush(QPalette::Window).textureImage();
        palette.setBrush(QPalette::Window, QBrush(QPixmap::fromImage(Assombrir(image))));
        dessin->setPalette(palette);
    }
    dessin->setGeometry(0, 0, zone.width(), zone.height());
    Fond->move((zone.width() - Fond->width()) / 2, (zone.height() - Fond->height()) / 2);
    dessin->lower();
    Fond->raise();
}

// Keeps a dressed window over the frame it covers: moved with it, and
// dressed again with a new picture when the frame changes size. One per
// dressed window, made anew at each dressing.
class Suivi : public QObject
{
public:
    Suivi(QWidget* fenetre, QWidget* dessin, QWidget* Fond, QWidget* couvert)
        : QObject(fenetre), m_fenetre(fenetre), m_dessin(dessin), m_Fond(Fond), m_couvert(couvert)
    {
        setObjectName(QStringLiteral("suiviHabillage"));
        if (couvert)
            couvert->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* objet, QEvent* event) override
    {
        const bool taille = event->type() == QEvent::Resize;
        if (objet == m_couvert && (taille || event->type() == QEvent::Move) && m_fenetre && m_dessin && m_Fond
            && m_fenetre->isVisible())
            placer(m_fenetre, m_dessin, m_Fond, m_couvert, taille);
        return QObject::eventFilter(objet, event);
    }

private:
    QPointer<QWidget> m_fenetre;
    QPointer<QWidget> m_dessin;
    QPointer<QWidget> m_Fond;
    QPointer<QWidget> m_couvert;
};

} // namespace

void DefinirCadre(QWidget* cadre)
{
    cadrePrincipal() = cadre;
}

QWidget* Cadre()
{
    return cadrePrincipal().data();
}

void CopierEcran(QWidget* dessin, QWidget* fenetre)
{
    if (!dessin)
        return;
    QWidget* couvert = FenetreCouverte(fenetre);
    QImage image;
    QSize taille;
    if (couvert) {
        const QRect zone = fenetre ? fenetre->geometry() : couvert->geometry();
        taille = zone.size();
        image = imageCadre(couvert, zone);
    } else {
        QScreen* ecran = ecranDe(fenetre);
        taille = ecran ? ecran->geometry().size() : QSize(800, 600);
        image = imageEcran(ecran, taille);
    }
    dessin->setGeometry(0, 0, taille.width(), taille.height());
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
    if (fenetre->isWindow() && !fenetre->isVisible())
        fenetre->setWindowFlag(Qt::FramelessWindowHint, true);
    QWidget* couvert = FenetreCouverte(fenetre);
    if (couvert && fenetre->isWindow()) {
        // Kept above the frame it covers by the window manager.
        fenetre->winId();
        if (QWindow* fenetreNative = fenetre->windowHandle())
            fenetreNative->setTransientParent(couvert->windowHandle());
    }
    delete fenetre->findChild<Suivi*>(QStringLiteral("suiviHabillage"), Qt::FindDirectChildrenOnly);
    new Suivi(fenetre, dessin, Fond, couvert);

    dessin->setVisible(true);
    // Let the screen show its current content before it is copied.
    QCoreApplication::processEvents();
    placer(fenetre, dessin, Fond, couvert, true);
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
