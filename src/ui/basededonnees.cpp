#include "basededonnees.h"

#include "barreseparatrice.h"
#include "twips.h"

namespace {

QWidget* panneau(QWidget* parent, const char* nom, const QRect& position, const QColor& fond)
{
    auto* w = new QWidget(parent);
    w->setObjectName(QLatin1String(nom));
    w->setGeometry(position);
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, fond);
    w->setPalette(p);
    return w;
}

} // namespace

BaseDeDonnees::BaseDeDonnees(QWidget* parent)
    : QWidget(parent)
{
    resize(Twips::enPixels(kLargeurTwips), Twips::enPixels(kHauteurTwips));
    Picture1 = panneau(this, "Picture1", rect(), QColor(255, 255, 255));
    fondgauche = panneau(Picture1, "fondgauche", Twips::rect(0, 0, 915, kHauteurTwips), QColor(255, 255, 225));
    fonddroite = panneau(Picture1, "fonddroite", Twips::rect(1005, 0, 930, kHauteurTwips), QColor(225, 235, 255));
    // Nothing hands the bar its panels: it shows and blinks, and is not dragged.
    BarreSeparatrice1 = new BarreSeparatrice(Picture1);
    BarreSeparatrice1->setObjectName(QStringLiteral("BarreSeparatrice1"));
    BarreSeparatrice1->move(Twips::enPixels(930), 0);
    BarreSeparatrice1->resize(BarreSeparatrice1->width(), Picture1->height());
}
