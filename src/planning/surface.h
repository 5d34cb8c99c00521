#pragma once
// A drawing surface that keeps what is drawn on it: the calendar paints
// into its picture, and the widget shows the picture whenever it is
// uncovered. Mouse presses, moves and releases go out as signals.
#include <QColor>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

class Surface : public QWidget
{
    Q_OBJECT
public:
    Surface(const QString& nom, const QColor& fond, QWidget* parent);

    QColor fond() const { return m_fond; }
    // Gives the surface (and its picture) a new size, never below zero.
    void redimensionner(int largeur, int hauteur);
    // Fills the whole picture with the background colour.
    void effacer();
    QPixmap& image() { return m_image; }
    // A thin dotted frame shown over the picture while the surface has the
    // focus (the chosen cell); an empty rectangle shows none.
    void fixerCadre(const QRect& cadre);
    QRect cadre() const { return m_cadre; }
    // A see-through bar over the picture, where a stay being dragged would
    // go; an empty rectangle shows none.
    void fixerFantome(const QRect& fantome, const QColor& couleur);
    QRect fantome() const { return m_fantome; }
    const QPixmap& image() const { return m_image; }

Q_SIGNALS:
    void sourisEnfoncee(Qt::MouseButton bouton, Qt::MouseButtons boutons, Qt::KeyboardModifiers touches,
                        QPoint position, QPoint positionEcran);
    void sourisDeplacee(QPoint position, QPoint positionEcran);
    void sourisRelachee(Qt::MouseButton bouton, QPoint position);
    // A double click of the left button (after its first press went out as
    // sourisEnfoncee).
    void doubleClic(QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QColor m_fond;
    QRect m_cadre;
    QRect m_fantome;
    QColor m_couleurFantome;
    QPixmap m_image;
};

// A painter on a surface's picture, in the surface's font.
class Pinceau : public QPainter
{
public:
    explicit Pinceau(Surface* s) : QPainter(&s->image()) { setFont(s->font()); }
};
