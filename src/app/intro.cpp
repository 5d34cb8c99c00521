#include "intro.h"

#include "ui/scrollbar.h"
#include "ui/twips.h"

#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>

intro::intro(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_fond(ImageFond())
{
    setObjectName(QStringLiteral("intro"));
    setFixedSize(Twips::enPixels(8940), Twips::enPixels(4410));

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setGeometry(0, 0, width(), height());

    UserControl11 = new ScrollBar(this);
    UserControl11->setObjectName(QStringLiteral("UserControl11"));
    UserControl11->setGeometry(Twips::rect(960, 3600, 6975, 300));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(Twips::rect(240, 4080, 8415, 255));
    Label1->setText(QStringLiteral("Chargement du planning et copie de sauvegarde de la base…"));
}

QImage intro::ImageFond()
{
    QImage image(598, 295, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient degrade(0, 0, 0, 295);
    degrade.setColorAt(0, QColor(38, 84, 124));
    degrade.setColorAt(1, QColor(120, 170, 200));
    p.fillRect(image.rect(), degrade);
    // A row of small coloured bars, as on the planning.
    const QColor couleurs[] = {QColor(220, 20, 60), QColor(255, 165, 0), QColor(60, 160, 90)};
    for (int i = 0; i < 9; ++i)
        p.fillRect(60 + i * 54, 150 + (i % 3) * 14, 44, 10, couleurs[i % 3]);
    p.setPen(Qt::white);
    QFont titre(QStringLiteral("DejaVu Sans"), 30, QFont::Bold);
    p.setFont(titre);
    p.drawText(QRect(0, 40, 598, 60), Qt::AlignCenter, QStringLiteral("Orvane Planning"));
    QFont sousTitre(QStringLiteral("DejaVu Sans"), 11);
    p.setFont(sousTitre);
    p.drawText(QRect(0, 100, 598, 30), Qt::AlignCenter, QStringLiteral("Planning et accueil de l'hôtel ou du camping"));
    return image;
}

void intro::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_fond);
}
