#pragma once
// The bar: sells articles onto the account of one reservation. One button
// per article, a receipt on which each sale is printed, and a cash-register
// display holding first the quantity of the next sale, then the total.
#include "caisse.h"

#include <QList>
#include <QPointer>
#include <QSet>
#include <QWidget>

struct Contexte;
class BoutonEclaire;
class Encaissement;
class QLabel;
class QLineEdit;
class QScrollArea;
class TicketDeCaisse;
class xpcmdbutton;

class BAR : public QWidget
{
    Q_OBJECT
public:
    explicit BAR(Contexte* contexte, QWidget* parent = nullptr);

    // Running total of the articles sold since the window opened (or since
    // the host last set it to 0).
    double totaldu = 0;

    QLabel* dessin = nullptr;
    QWidget* Fond = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* reservation = nullptr;
    // The article buttons lie in a scrolling area, so that every row stays
    // reachable however many articles there are.
    QScrollArea* zoneArticles = nullptr;
    QList<BoutonEclaire*> Consommation;
    TicketDeCaisse* Ticket = nullptr;
    QLabel* R = nullptr;
    QLineEdit* afficheur = nullptr;
    QList<xpcmdbutton*> calc;
    xpcmdbutton* encaissemnt = nullptr;
    xpcmdbutton* Quitter = nullptr;
    QLabel* infos = nullptr;

    // A correction is armed: the next article clicked is taken back.
    bool annulationArmee() const { return m_annulation; }

    // The payment window opened by "€", while it is open.
    Encaissement* paiement() const { return m_paiement; }

Q_SIGNALS:
    // An operation was stored on this reservation's account (a sale here, or
    // a payment in the payment window opened from here).
    void operationEnregistree(qint32 numero);
    // The window has ended; always its last signal.
    void fermee();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    void construireClavier();
    void chargerArticles();
    void nouvelleQuantite();
    void afficherQuantite(const QString& chiffres, bool neuve);
    QString chiffresAffiches() const;
    void selectionnerQuantite();
    void afficheurModifie();
    void armerAnnulation(bool armer);
    bool venteConfirmee(qint32 numero);
    void vendre(qint32 numero, const Caisse::Article& article, int quantite);
    void annulerVente(qint32 numero, const Caisse::Article& article, int quantite);
    void afficherVente(const Caisse::Vente& vente, double ajout);
    void Consommation_Click(int index);
    void Consommation_KeyPress(int index, int KeyAscii);
    void Consommation_MouseMove(int index);
    void calc_Click(int index);
    void encaissemnt_Click();
    void avertir(const QString& texte);

    Contexte* m_contexte;
    QWidget* m_articles = nullptr;            // the scrolled surface
    QList<Caisse::Article> m_catalogue;       // one per article button
    QPointer<Encaissement> m_paiement;
    bool m_quantiteNeuve = false;             // the next key starts a new quantity
    bool m_annulation = false;                // "-" armed: the next article is taken back
    bool m_premierAffichage = true;
    bool m_fermee = false;
    QSet<qint32> m_partisConfirmes;           // stays of departed guests the desk said to sell on
};
