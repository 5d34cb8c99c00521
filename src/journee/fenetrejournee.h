#pragma once
// The "Journée" window: one day's arrivals, departures and guests on site,
// the check-in and check-out of a stay, and the day's page to print; in a
// second tab, the deposits still to receive.
#include "journee.h"

#include <QDate>
#include <QWidget>
#include <functional>

struct Contexte;
class QDateEdit;
class QLabel;
class OngletArrhes;
class QPushButton;
class QTabWidget;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

class FenetreJournee : public QWidget
{
    Q_OBJECT
public:
    explicit FenetreJournee(Contexte* contexte, QWidget* parent = nullptr);

    // Reads the shown day's lists and the deposits to receive again.
    void rafraichir();
    // A refresh a moment later, once the news that asked for it has settled
    // (the calendar redraws many times while a day button is held).
    void rafraichirBientot();
    void afficherJour(const QDate& jour);
    // Only the stays of that category's units are listed; every stay for
    // "Tous" (the calendar's selection).
    void choisirCategorie(const QString& categorie);
    QString categorie() const { return m_categorie; }
    // A reservation's account changed elsewhere (a payment, a sale): the
    // shown lists and balances follow at once.
    void compteModifie(qint32 numero);
    QDate jour() const { return m_jour; }
    const Journee::Listes& listes() const { return m_listes; }

    // "Arrivée": the chosen arrival takes the "arrived" state.
    void arrivee_Click();
    // "Départ": the chosen departure (or guest on site) takes the "departed"
    // state, after the question on a balance that is not zero.
    void depart_Click();
    // "Imprimer": the day's page, kept as a PDF in Documents, then printed.
    void imprimer_Click();

    // The settings' keys of the two states ([reservation] section).
    static QString cleEtatArrivee() { return QStringLiteral("etat arrivee"); }
    static QString cleEtatDepart() { return QStringLiteral("etat depart"); }

    // The ways out of the window, replaceable in the tests: printing an
    // HTML page (false when cancelled), and the payment dialog of a stay
    // (returns once the dialog has ended).
    std::function<bool(const QString& html, const QString& titre)> imprimerPage;
    std::function<void(qint32 numero)> encaisser;

    QDateEdit* datejour;
    QPushButton* jourprecedent;
    QPushButton* aujourdhui;
    QPushButton* joursuivant;
    QTreeWidget* arrivees;
    QTreeWidget* departs;
    QTreeWidget* presents;
    QPushButton* boutonarrivee;
    QPushButton* boutondepart;
    QPushButton* imprimer;
    QTimer* minuit;
    QTabWidget* onglets;          // "Jour", "Arrhes à recevoir"
    OngletArrhes* ongletarrhes;

Q_SIGNALS:
    // Double-click or Enter on a stay: open it as a click on its bar does.
    void ouvrirReservation(qint32 numero);

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    QTreeWidget* liste(const char* nom);
    void remplir(QTreeWidget* liste, const QList<Journee::Sejour>& sejours);
    void rafraichirArrhes();
    // The units of the chosen category; nothing for every unit.
    std::optional<QSet<qint32>> unitesMontrees() const;
    const Journee::Sejour* choisi(QTreeWidget* liste) const;
    // The state code of a settings key, or nullopt with the message shown.
    std::optional<qint32> etatRegle(const QString& cle, const QString& sens);
    // `fin` valid: the stay's departure is moved there with its state.
    bool changer(const Journee::Sejour& s, qint32 etat, const QString& libelle, const QDateTime& fin = QDateTime());
    void armerMinuit();
    void message(const QString& texte);

    Contexte* m_contexte;
    QDate m_jour;
    Journee::Listes m_listes;
    QTimer* m_differe;
    QTreeWidget* m_derniere = nullptr;   // the list last chosen in
    QString m_categorie;                 // empty or "Tous": every unit
};
