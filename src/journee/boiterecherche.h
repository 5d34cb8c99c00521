#pragma once
// The search box of the main frame's tool bar: typing two characters or
// more lists the matching reservations under the box, newest stays first.
// Enter or a double-click shows the stay on the calendar, Ctrl+Enter opens
// it, and a result's menu starts a new reservation for that client. The
// list closes on Escape, on a click anywhere else, and once a result was
// shown or opened.
#include "store/requetes_journee.h"

#include <QList>
#include <QWidget>

struct Contexte;
class QAction;
class QLineEdit;
class QMenu;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

class BoiteRecherche : public QWidget
{
    Q_OBJECT
public:
    // The results float over `hote` (the frame's central area).
    BoiteRecherche(Contexte* contexte, QWidget* hote, QWidget* parent = nullptr);

    // Runs the search of the box's text at once (the box waits a moment
    // after each key, so that fast typing searches once).
    void rechercher();
    // Hides the results.
    void fermerResultats();
    // The database file was replaced: shown results are searched again in
    // it, hidden ones forgotten.
    void baseRemplacee();
    const QList<RequetesJournee::Sejour>& resultats() const { return m_resultats; }

    // Acts on a result row (0 for the first).
    void montrer(int rang);
    void ouvrir(int rang);
    void nouvellePour(int rang);

    QLineEdit* champrecherche;
    QTreeWidget* resultatsrecherche;
    QTimer* minuterierecherche;
    QMenu* menuresultat;
    QAction* nouvellepourclient;   // "Nouvelle réservation pour ce client"

Q_SIGNALS:
    void montrerReservation(qint32 numero);
    void ouvrirReservation(qint32 numero);
    void nouvelleReservation(const QString& nom, const QString& telephone, const QString& email);

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void placerResultats();
    int rangCourant() const;
    const RequetesJournee::Sejour* resultat(int rang) const;

    Contexte* m_contexte;
    QWidget* m_hote;
    QObject* m_gardien = nullptr;   // closes the list on a click or Escape elsewhere
    QList<RequetesJournee::Sejour> m_resultats;
};
