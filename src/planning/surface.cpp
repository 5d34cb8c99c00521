#include "surface.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

Surface::Surface(const QString& nom, const QColor& fond, QWidget* parent)
    : QWidget(parent), m_fond(fond)
{
    setObjectName(nom);
    // The picture covers the whole widget: no background to paint first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Surface::redimensionner(int largeur, int hauteur)
{
    const QSize taille(std::max(0, largeur), std::max(0, hauteur));
    resize(taille);
    if (m_image.size() != taille) {
        m_image = QPixmap(taille);
        m_image.fill(m_fond);
    }
}

void Surface::effacer()
{
    if (!m_image.isNull())
        m_image.fill(m_fond);
    update();
}

void Surface::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), m_fond);
    if (!m_image.isNull())
        p.drawPixmap(event->rect(), m_image, event->rect());
}

void Surface::mousePressEvent(QMouseEvent* event)
{
    emit sourisEnfoncee(event->button(), event->buttons(), event->modifiers(),
                        event->position().toPoint(), event->globalPosition().toPoint());
}

void Surface::mouseMoveEvent(QMouseEvent* event)
{
    emit sourisDeplacee(event->position().toPoint(), event->globalPosition().toPoint());
}

void Surface::mouseReleaseEvent(QMouseEvent* event)
{
    emit sourisRelachee(event->button(), event->position().toPoint());
}
