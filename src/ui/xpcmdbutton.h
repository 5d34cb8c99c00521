#pragma once
// The program's push button: a skinned surface (see habillagebouton.h) with
// a centred caption on top. It lights up while the pointer is over it, darkens
// while pressed and turns flat grey when disabled. Buttons of a control array
// carry their Index in every signal.
//
// Events follow the order of a real press: MouseDown, MouseUp, then Click when
// the left button was pressed and released over the button. Keys are only
// passed on (KeyDown, KeyPress, KeyUp), never turned into a click; the access
// key of a caption such as "&Ajouter" clicks the button.
#include "habillagebouton.h"

#include <QImage>
#include <QWidget>

class QLabel;
class QTimer;

class xpcmdbutton : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(qint32 State READ State WRITE setState)
    Q_PROPERTY(int Index READ Index WRITE setIndex)
public:
    // The events a host can receive, for their identifiers.
    enum class Evenement { Click, KeyDown, KeyPress, KeyUp, MouseOut, MouseDown, MouseMove, MouseUp };

    explicit xpcmdbutton(QWidget* parent = nullptr);
    explicit xpcmdbutton(const QString& caption, QWidget* parent = nullptr);

    QString Caption() const;
    void setCaption(const QString& vNewCaption);
    QString text() const { return Caption(); }
    void setText(const QString& texte) { setCaption(texte); }

    // 1: the base look is the highlighted one; 0: the normal one; any other
    // value keeps the base look already chosen.
    qint32 State() const { return m_state; }
    void setState(qint32 vNewValue);

    // Position in a control array; -1 for a button on its own.
    int Index() const { return m_index; }
    void setIndex(int index) { m_index = index; }

    bool Enabled() const { return isEnabled(); }

    // The skin cell the surface shows now (HabillageBouton::Cellule).
    int CelluleAffichee() const { return m_cellule; }
    // The caption colour for an enabled or disabled button.
    static QColor CouleurLegende(bool actif);

    // Identifier of an event as the host knows it.
    virtual int IdentifiantEvenement(Evenement evenement) const;

    // Draws the base look, or the disabled look.
    void Redessiner();
    // Draws one skin cell (0 to 4) over the whole surface.
    void DessinerEtat(int cellule);
    // One tick of the hover timer: when the pointer has left, the timer
    // stops, MouseOut is raised and the base look comes back.
    void Timer1_Timer();

    // Inclusive bounds: a pointer on the right or bottom edge coordinate
    // still counts as over the button.
    static bool PointDedans(const QPoint& p, const QSize& taille);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    QLabel* lbl;      // the caption
    QTimer* Timer1;   // hover tracking, 10 ms, runs only while the pointer is near
    PictureClip pc;   // the skin, 1 row of 5 cells

Q_SIGNALS:
    void Click(int index);
    void KeyDown(int index, int KeyCode, Qt::KeyboardModifiers Shift);
    void KeyPress(int index, int KeyAscii);
    void KeyUp(int index, int KeyCode, Qt::KeyboardModifiers Shift);
    void MouseOut(int index);
    void MouseDown(int index, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void MouseMove(int index, Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void MouseUp(int index, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    void construire(const QString& caption);
    // The shared handling of mouse events on the surface or on the caption:
    // "signale" is the position given to the host (relative to the widget
    // that received the event), "local" the same point on the button.
    void appui(QMouseEvent* event, const QPoint& signale);
    void deplacement(QMouseEvent* event, const QPoint& signale, const QPoint& local);
    void relachement(QMouseEvent* event, const QPoint& signale, const QPoint& local);
    void centrerLegende();
    void appliquerCouleurLegende();

    qint32 m_state = 0;
    int m_base = HabillageBouton::Normale;
    int m_cellule = HabillageBouton::Normale;
    int m_index = -1;
    bool m_appuiGauche = false;   // a left press began on this button
    QImage m_surface;             // the stretched cell, rebuilt on change
    QSize m_tailleSurface;
    int m_celluleSurface = -1;
};
