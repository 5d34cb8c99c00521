#pragma once
// A cash-desk receipt: a strip of paper (the ribbon) on which lines are
// appended at the bottom. The ribbon keeps its last line just above the
// bottom strip; holding the mouse on the top or bottom strip scrolls it.
#include <QList>
#include <QStringList>
#include <QWidget>

class QTimer;

class TicketDeCaisse : public QWidget
{
    Q_OBJECT
public:
    explicit TicketDeCaisse(QWidget* parent = nullptr);

    // Clears the receipt.
    void init();
    // Appends a text (it may hold line breaks) as the next line.
    void AjoutTexte(const QString& Texte);

    // The texts appended since the last init, in order.
    QStringList Lignes() const;

    QWidget* Ruban = nullptr;
    QWidget* haut = nullptr;
    QWidget* bas = nullptr;
    QTimer* Scrolleur = nullptr;
    QTimer* repositionnement = nullptr;

    qint32 marge = 10;
    qint32 interligne = 4;
    qint16 pasdefilement = 0;

public Q_SLOTS:
    // One tick of each timer (the timers call them; so may a host or a test).
    void repositionnement_Timer();
    void Scrolleur_Timer();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    void disposer();
    void aligner();
};
