#pragma once
// A thin vertical bar between a left and a right pane; dragging it shares
// the width between them. While the pointer rests on it, it blinks briefly
// to show that it can be grabbed. Positions handed in and remembered are in
// twips (15 per pixel).
#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

class QTimer;

class BarreSeparatrice : public QWidget
{
    Q_OBJECT
public:
    explicit BarreSeparatrice(QWidget* parent = nullptr);

    // Hands the bar its panes: the left pane gets `positionorigine` twips of
    // width, and both panes take `control_parent`'s inner height.
    void Controle_GAUCHEDROITE(QWidget* gauche, QWidget* droite, qint32 positionorigine,
                               QWidget* control_parent);
    // Same, the left pane's width being remembered under
    // [IO_rubrique] IO_variable= of IO_fichier (read now, written after
    // every drag).
    void Controle_GAUCHEDROITE_avecMEMOIRE(QWidget* gauche, QWidget* droite, QWidget* control_parent,
                                           const QString& IO_rubrique, const QString& IO_variable,
                                           const QString& IO_fichier);
    // Puts the bar against the left pane's right edge and lays out both
    // panes; the host calls it again when the panes' container is resized.
    void REFRESHING();

    // One tick of the blink (the timer `Clignotement` calls it every 100 ms).
    void Clignotement_Timer();

    bool configuree() const { return !m_nonConfiguree; }
    QColor couleur() const { return m_couleur; }
    int clignotementsRestants() const { return m_compteur; }

    // Pressed flag: set when a drag starts, cleared by the layout.
    bool appuye = false;
    // The left pane's right edge after the last layout, in twips.
    qint32 PositionReelle = 0;
    QString IO_rubrique;
    QString IO_variable;
    QString IO_fichier;   // empty: the position is not remembered
    QTimer* Clignotement;

    static constexpr int kLargeurTwips = 50;
    static QColor couleurRepos() { return QColor(128, 128, 128); }

signals:
    // After every layout of the panes.
    void Changed();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    void deplacementSouris(Qt::MouseButtons boutons);
    void disposerPanneaux();
    void envoyerPanneauxDerriere();

    QPointer<QWidget> m_gauche;
    QPointer<QWidget> m_droite;
    QPointer<QWidget> m_parent;
    bool m_nonConfiguree = true;
    bool m_glisse = false;
    int m_prise = 0;          // where the bar was grabbed, from its left edge
    qint16 m_compteur = 0;
    QColor m_couleur;
};
