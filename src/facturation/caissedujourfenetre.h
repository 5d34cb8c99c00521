#pragma once
// The window "Caisse du jour": a day, the report of that day as the journal
// holds it, and its PDF. It only reads the journal; a day is shown again
// each time it is chosen, so rows written meanwhile are counted.
#include "store/contexte.h"

#include <QWidget>

class QDateEdit;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class CaisseDuJourFenetre : public QWidget
{
    Q_OBJECT
public:
    explicit CaisseDuJourFenetre(Contexte* contexte, QWidget* parent = nullptr);

    QDateEdit* jour = nullptr;           // the day shown, today at opening
    QPushButton* precedent = nullptr;    // "<": the day before
    QPushButton* suivant = nullptr;      // ">": the day after
    QPlainTextEdit* rapport = nullptr;   // the report as text
    QPushButton* Imprimer = nullptr;     // writes the PDF
    QLabel* message = nullptr;           // where the PDF went

    // Reads the day's rows again and shows the report.
    void rafraichir();
    // Writes Documents/caisse_<AAAA-MM-JJ>.pdf in the data folder and says
    // where; a failure is told in a message box. Returns the path, empty on
    // failure.
    QString Imprimer_Click();

private:
    Contexte* m_contexte;
    QString m_texte;   // the report shown, as printed
    bool m_lisible = false;
};
