#pragma once
// The database icon: a picture box holding a left and a right panel with a
// splitter bar between them. It has no behaviour of its own.
#include <QWidget>

class BarreSeparatrice;

class BaseDeDonnees : public QWidget
{
    Q_OBJECT
public:
    explicit BaseDeDonnees(QWidget* parent = nullptr);

    QWidget* Picture1;
    QWidget* fondgauche;
    QWidget* fonddroite;
    BarreSeparatrice* BarreSeparatrice1;

    // Design size, in twips.
    static constexpr int kLargeurTwips = 1935;
    static constexpr int kHauteurTwips = 1335;
};
