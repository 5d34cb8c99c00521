#include "scrollbar.h"

#include "twips.h"

#include <QPainter>
#include <cmath>

ScrollBar::ScrollBar(QWidget* parent)
    : QWidget(parent), m_image(ImageBlocs())
{
    setObjectName(QStringLiteral("ScrollBar"));
    resize(Twips::enPixels(6990), Twips::enPixels(330));
    cache = new QWidget(this);
    cache->setObjectName(QStringLiteral("cache"));
    cache->setAutoFillBackground(true);
    QPalette p = cache->palette();
    p.setColor(QPalette::Window, Qt::white);
    cache->setPalette(p);
    // As designed, the cover starts 240 twips left of the control.
    cache->setGeometry(Twips::enPixels(-240), 0, Twips::enPixels(6975), Twips::enPixels(330));
}

int ScrollBar::PositionCache(int valeur, int largeurCache)
{
    return int(std::lround(double(valeur) / 100.0 * double(largeurCache)));
}

void ScrollBar::Value(int valeur)
{
    cache->move(PositionCache(valeur, cache->width()), cache->y());
}

QImage ScrollBar::ImageBlocs()
{
    QImage image(465, 20, QImage::Format_RGB32);
    image.fill(QColor(239, 238, 233));
    for (int bloc = 0; bloc < 31; ++bloc) {
        const int x0 = bloc * 15;
        for (int y = 1; y <= 18; ++y) {
            // Gradient inside: pale green at the top, mid green, dark green.
            const double t = double(y - 2) / 15.0;
            QColor interieur;
            if (t < 0.5) {
                const double u = std::max(0.0, t) * 2.0;
                interieur = QColor(int(227 + (131 - 227) * u), int(254 + (218 - 254) * u), int(194 + (130 - 194) * u));
            } else {
                const double u = std::min(1.0, (t - 0.5) * 2.0);
                interieur = QColor(int(131 + (45 - 131) * u), int(218 + (149 - 218) * u), int(130 + (48 - 130) * u));
            }
            for (int x = x0; x < x0 + 14; ++x) {
                QColor c = interieur;
                if (y == 1)
                    c = QColor(132, 188, 138);
                else if (y == 18)
                    c = QColor(73, 126, 74);
                else if (x == x0 || x == x0 + 13)
                    c = QColor(100, 160, 102);
                image.setPixelColor(x, y, c);
            }
        }
    }
    return image;
}

void ScrollBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(239, 238, 233));
    p.drawImage(0, 0, m_image);
}
