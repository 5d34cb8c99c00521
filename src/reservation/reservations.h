#pragma once
// The reservation window: one reservation for reading and editing, with its
// account. News goes back to the window that opened it through signals.
#include <QDate>
#include <QWidget>

struct Contexte;
class QComboBox;
class QLabel;
class QLineEdit;
class QTextEdit;

class reservations : public QWidget
{
    Q_OBJECT
public:
    explicit reservations(Contexte* contexte, QWidget* parent = nullptr);

    void Fonction_Ajouter();
    void Fonction_Modifier();
    void FormAppelante(QWidget* fenetre);
    void AfficherLeTicket();

    // Boxes the planning fills from a bar.
    QLineEdit* NomClient = nullptr;   // (several lines in the finished window)
    QLineEdit* datedebut = nullptr;
    QLineEdit* datefin = nullptr;
    QLineEdit* heuredebut = nullptr;
    QLineEdit* heurefin = nullptr;
    QLineEdit* arrhes = nullptr;
    QLineEdit* datelimite = nullptr;
    QLineEdit* nbadultes = nullptr;
    QLineEdit* nbenfants = nullptr;
    QLineEdit* remarque = nullptr;
    QLineEdit* telephone = nullptr;
    QLineEdit* Email = nullptr;
    QComboBox* etat = nullptr;
    QComboBox* Objets = nullptr;
    QLabel* numreservation = nullptr;
    QLabel* Nbjour = nullptr;

Q_SIGNALS:
    // The calling window's reservation_encours and datedepart change.
    void reservationEncours(qint32 numero);
    void dateDepart(const QDate& jour);
    // The calling window should redraw (a reservation was added or deleted).
    void rafraichirDemande();
    // The window has ended (any command, or closed by the window manager);
    // always the last signal of an opening.
    void fermee();
};
