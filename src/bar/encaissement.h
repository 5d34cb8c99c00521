#pragma once
// The payment dialog: records one payment on a reservation's account. The
// user picks a payment type, types the amount and a comment, and confirms.
#include <QList>
#include <QString>
#include <QWidget>

struct Contexte;
class QLabel;
class QLineEdit;
class QPushButton;
class xpcmdbutton;

class Encaissement : public QWidget
{
    Q_OBJECT
public:
    explicit Encaissement(Contexte* contexte, QWidget* parent = nullptr);

    // The payment types: caption and code, in button order.
    static const QList<QPair<QString, QString>>& TypesDeReglement();

    QLabel* dessin = nullptr;
    QWidget* Fond = nullptr;
    QList<xpcmdbutton*> typereglemement;
    QLabel* Label2 = nullptr;
    QLabel* reservation = nullptr;
    QLabel* typepaiement = nullptr;   // caption: the type; property "Tag": its code
    QLabel* Label1 = nullptr;
    QLineEdit* montant = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* commentaire = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Annuler = nullptr;

    // Puts what the reservation of `reservation` still owes in `montant`,
    // selected, unless the user has changed the amount. Done by itself once
    // the window is first shown.
    void proposerMontantDu();

Q_SIGNALS:
    // A payment was stored on this reservation's account.
    void operationEnregistree(qint32 numero);
    // The window has ended (confirmed, cancelled or closed); always its last
    // signal.
    void fermee();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void typereglemement_Click(int index);
    void OK_Click();
    void avertir(const QString& texte);

    Contexte* m_contexte;
    bool m_enregistre = false;   // a payment was stored: further "OK" do nothing
    bool m_fermee = false;
    bool m_premierAffichage = true;
    QString m_montantPropose = QStringLiteral("0");   // the amount last put in `montant`
};
