#pragma once
// "Outils" → "Synchroniser les calendriers": reads every portal feed into
// the reservations at the click of "Synchroniser", logs each feed, then
// shows what changed, the feeds that failed and the double bookings to
// settle. Stays open until "Fermer".
#include "store/contexte.h"
#include "telechargement.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class SynchronisationFenetre : public QDialog
{
    Q_OBJECT
public:
    explicit SynchronisationFenetre(Contexte* contexte, QWidget* parent = nullptr);

    QPushButton* synchroniser = nullptr;
    QPlainTextEdit* avancement = nullptr;   // one line per feed, in order
    QPlainTextEdit* bilan = nullptr;        // the outcome: counts, failures, conflicts
    QPushButton* Fermer = nullptr;

    // Tests shorten the time limit.
    void fixerOptions(const Telechargement::Options& options) { m_options = options; }
    void synchroniser_Click();

signals:
    // Reservations were created, moved or deleted: the calendar redraws.
    void reservationsChangees();

private:
    Contexte* m_contexte;
    Telechargement::Options m_options;
};
