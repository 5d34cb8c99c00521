#pragma once
// The "Fact." tab of the reservation window: the computed lines of the stay
// and what the account holds of it, "Porter au compte" (the lines, or the
// difference to what was posted, as journal rows: the saves of the window
// post them by themselves unless "[facturation] porter automatiquement" says
// NON), "Facture" (issues an invoice), "Avoir" (a credit note by hand on the
// last invoice) and "Réimprimer" (the last invoice or credit note, as issued).
#include "reservation/dialoguesannulation.h"

#include <QString>
#include <QWidget>
#include <functional>

struct Contexte;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class OngletFacturation : public QWidget
{
    Q_OBJECT
public:
    OngletFacturation(Contexte* contexte, QWidget* parent = nullptr);

    // Shows the lines of that reservation (0: none).
    void afficher(qint32 numero);

    QPlainTextEdit* lignesfacture = nullptr;
    QPushButton* porteraucompte = nullptr;
    QPushButton* facture = nullptr;
    QPushButton* reimprimer = nullptr;
    QPushButton* avoir = nullptr;
    QLabel* derniereFacture = nullptr;

    // Asked before an invoice of an account whose balance is not zero; true
    // goes on. A question box with "Oui" and "Non" unless replaced.
    std::function<bool(const QString& question)> question;
    // Tells the user something (a message box with OK unless replaced).
    std::function<void(const QString& texte)> information;
    // Hands an issued document to the desktop (opens the PDF); false when
    // nothing could take it. Replaceable for the tests.
    std::function<bool(const QString& chemin)> ouvrir;
    // Asks the amount, rate and reason of a credit note on that invoice
    // (nullopt: none). The dialog unless replaced.
    std::function<std::optional<DialoguesAnnulation::AvoirDemande>(const QString& origine)> demanderAvoir;

Q_SIGNALS:
    // Rows were written to the account: the receipt and balance must follow.
    void compteModifie();

private:
    void porter();
    void emettre();
    void reimprimerDerniere();
    void emettreAvoir();
    // Hands an issued document to the desktop and says so: `annonce` ("Facture
    // F-… émise"), then where it is, and when nothing could open it.
    void remettre(const QString& numero, const QString& annonce);
    QString dossier(const char* nom) const;

    Contexte* m_contexte;
    qint32 m_numero = 0;
};
