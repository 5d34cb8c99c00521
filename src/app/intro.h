#pragma once
// The splash window shown while the program starts.
#include <QImage>
#include <QWidget>

class QLabel;
class QFrame;
class ScrollBar;

class intro : public QWidget
{
    Q_OBJECT
public:
    explicit intro(QWidget* parent = nullptr);

    QFrame* Shape1;
    ScrollBar* UserControl11;
    QLabel* Label1;

    // The 598 x 295 background picture, drawn by code.
    static QImage ImageFond();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage m_fond;
};
