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
    resize(std::max(0, largeur), std::max(0, hauteur));
    // The picture keeps at least one pixel, so that painting on a surface
    // shrunk to nothing is a plain no-op.
    const QSize image(std::max(1, largeur), std::max(1, hauteur));
    if (m_image.size() != image) {
        m_image = QPixmap(image);
        m_image.fill(m_fond);
    }
}

void Surface::effacer()
{
    m_image.fill(m_fond);
    update();
}

void Surface::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), m_fond);
    p.drawPixmap(event->rect(), m_image, event->rect());
    if (!m_cadre.isEmpty() && hasFocus()) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(m_cadre.adjusted(0, 0, -1, -1));
    }
    if (!m_fantome.isEmpty()) {
        QColor fond = m_couleurFantome;
        fond.setAlpha(140);
        p.fillRect(m_fantome, fond);
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(m_fantome.adjusted(0, 0, -1, -1));
    }
}

void Surface::fixerFantome(const QRect& fantome, const QColor& couleur)
{
    if (fantome == m_fantome && couleur == m_couleurFantome)
        return;
    update(m_fantome);
    m_fantome = fantome;
    m_couleurFantome = couleur;
    update(m_fantome);
}

void Surface::fixerCadre(const QRect& cadre)
{
    if (cadre == m_cadre)
        return;
    update(m_cadre);
    m_cadre = cadre;
    update(m_cadre);
}

void Surface::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClic(event->position().toPoint());
    else
        QWidget::mouseDoubleClickEvent(event);
}

void Surface::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update(m_cadre);
}

void Surface::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update(m_cadre);
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
