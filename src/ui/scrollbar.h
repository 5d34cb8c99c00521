#pragma once
// The progress bar of the splash window: a picture of 31 green blocks, with
// a white cover whose left edge is the progress front.
#include <QImage>
#include <QWidget>

class ScrollBar : public QWidget
{
    Q_OBJECT
public:
    explicit ScrollBar(QWidget* parent = nullptr);

    // Moves the cover's left edge to valeur / 100 x its width (no limits).
    void Value(int valeur);

    QWidget* cache;   // the white cover

    // The 465 x 20 picture of blocks, drawn by code.
    static QImage ImageBlocs();
    // Left edge of the cover, in pixels, for a value.
    static int PositionCache(int valeur, int largeurCache);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage m_image;
};
