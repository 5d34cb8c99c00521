#pragma once
// The reservation window: one reservation for reading and editing, with its
// account. News goes back to the window that opened it through signals.
//
// An opening begins with Fonction_Ajouter (a new reservation, shown modally
// by the caller) or Fonction_Modifier followed by the filling of the boxes
// (an existing one). Every command that ends the editing hides the window,
// puts it back in its freshly loaded state and emits fermee() last; closing
// the window by the window manager and Escape do what "Revenir" does, which
// asks first when a box was changed.
#include "reservation/dialoguesannulation.h"
#include "reservation/envoicontrat.h"
#include "reservation/verification.h"
#include "store/requetes.h"

#include <QDate>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

struct Contexte;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QTabWidget;
class OngletFacturation;
class TicketDeCaisse;
class ZoneTexte;
class xpcmdbutton;

class reservations : public QWidget
{
    Q_OBJECT
public:
    explicit reservations(Contexte* contexte, QWidget* parent = nullptr);

    void Fonction_Ajouter();
    void Fonction_Modifier();
    void FormAppelante(QWidget* fenetre);
    void AfficherLeTicket();
    // Reads the row of RESERVATION_NOMINATIVE of that number and lets it go
    // at once.
    void TrouverReservation(qint32 reserv);
    // The row the boxes describe (the boxes are assumed checked).
    Requetes::Reservation miseajourtousleschamps() const;

    // Fills the boxes from a stored reservation and its state's text, selects
    // its unit and sets the title (the planning's way of opening a bar).
    void RemplirDepuis(const Requetes::Reservation& r, const QString& libelleEtat);
    // Selects the last unit entry beginning with the unit number and one
    // space; when there is one, the title becomes "Réservation <numero>".
    bool SelectionnerObjet(qint32 objet, qint32 numero);
    // Nbjour shows departure minus arrival; unchanged when a box holds no date.
    void CompterNuits();
    // After Fonction_Ajouter: proposes that unit from that day for that many
    // nights (the calendar's chosen cell), as the opening's own values.
    void ProposerSejour(qint32 objet, const QDate& arrivee, int nuits);
    // True when a box differs from what the opening put in it (for a new
    // reservation, the prefilled defaults).
    bool Modifiee() const;

    // Boxes the planning fills from a bar.
    ZoneTexte* NomClient = nullptr;   // several lines
    QLineEdit* datedebut = nullptr;
    QLineEdit* datefin = nullptr;
    QLineEdit* heuredebut = nullptr;
    QLineEdit* heurefin = nullptr;
    QLineEdit* arrhes = nullptr;
    QLineEdit* datelimite = nullptr;
    QLineEdit* nbadultes = nullptr;
    QLineEdit* nbenfants = nullptr;
    ZoneTexte* remarque = nullptr;    // several lines
    QLineEdit* telephone = nullptr;
    QLineEdit* Email = nullptr;
    QComboBox* etat = nullptr;
    QComboBox* Objets = nullptr;
    QLabel* numreservation = nullptr;
    QLabel* Nbjour = nullptr;

    // The skin and the rest of the window.
    QWidget* dessin = nullptr;
    QWidget* Fond = nullptr;
    QLabel* titrelibelle = nullptr;
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QTabWidget* infos = nullptr;
    TicketDeCaisse* Ticket = nullptr;
    TicketDeCaisse* ticketconso = nullptr;
    TicketDeCaisse* tickethisto = nullptr;
    xpcmdbutton* BoutonBAR = nullptr;
    QLabel* du = nullptr;
    xpcmdbutton* Encaisser = nullptr;
    QWidget* Picture1 = nullptr;
    xpcmdbutton* Annuler = nullptr;
    xpcmdbutton* supprimer = nullptr;
    xpcmdbutton* Modifier = nullptr;
    xpcmdbutton* ajouter = nullptr;
    xpcmdbutton* xpcmdbutton1 = nullptr;
    QList<xpcmdbutton*> ImprimerContrat;   // 0 print, 1 e-mail, 2 post, 3 fax
    xpcmdbutton* Confirmation = nullptr;
    // "Annuler la réservation"; on a cancelled stay, "Rembourser" while the
    // guest paid more than what remains due.
    xpcmdbutton* AnnulerReservation = nullptr;
    OngletFacturation* ongletfacturation = nullptr;   // the "Fact." tab

    // How a contract is printed or handed to the mail program.
    EnvoiContrat::Sorties sortiesContrat;

    void setVisible(bool visible) override;

    // Asked before a stay that overlaps other reservations of its unit is
    // stored; true stores it anyway. It starts as a question box whose
    // buttons read "Oui" and "Non"; another answerer may take its place.
    std::function<bool(const QString& question)> questionChevauchement;

    // Asked when another desk wrote or deleted the reservation since the
    // window was filled: true reloads the boxes ("Recharger"), false keeps
    // them as typed ("Annuler"). Nothing was written either way.
    std::function<bool(const QString& message)> questionConflit;

    // Asked before a cancellation: the fee to keep (nullopt goes back), and
    // after it, when money is owed to the guest, the refund (nullopt: later).
    std::function<std::optional<MontantOuPourcentage::Valeur>(double prix)> demanderFrais;
    std::function<std::optional<DialoguesAnnulation::Remboursement>(double du)> demanderRemboursement;

Q_SIGNALS:
    // The calling window's reservation_encours and datedepart change.
    void reservationEncours(qint32 numero);
    void dateDepart(const QDate& jour);
    // The calling window should redraw (a reservation was added or deleted).
    void rafraichirDemande();
    // Rows were written to reservation `numero`'s account here or in a
    // window opened from here (a payment, a sale, an invoice posted).
    void compteModifie(qint32 numero);
    // The window has ended (any command, or closed by the window manager);
    // always the last signal of an opening.
    void fermee();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* objet, QEvent* event) override;

private:
    // Window layout (reservations.cpp).
    void construire();
    void construireOnglets();
    // Back to the freshly loaded state: lists, initial texts, empty receipts.
    void rechargerSiFermee();
    void Charger();

    // Commands (commandesreservation.cpp).
    void ajouter_Click();
    void Modifier_Click();
    void supprimer_Click();
    void Annuler_Click();
    // Cancellation (commandesannulation.cpp).
    void AnnulerReservation_Click();
    void Rembourser_Click();
    // A cancelled stay is read only, but for its payments and refunds.
    void montrerAnnulation(const Requetes::Reservation& r);
    // The boxes that describe the stay (all of them but the account's).
    void modifiable(bool oui);
    void ImprimerContrat_Click(int index);
    void Confirmation_Click();
    void BoutonBAR_Click();
    void Encaisser_Click();
    void infos_Click(int onglet);
    void remplirTicketDate(TicketDeCaisse* ticket, bool avecMontant);

    Verification::Champs champs() const;
    // The boxes as they are saved: a share of the price left as the opening
    // proposed it asks no deposit of a stay that has no price (the desk never
    // asked for one), instead of refusing every save where no rate is set.
    Verification::Champs champsAEnregistrer() const;
    // Runs the checks; shows the message and returns false when one fails.
    bool verifier();
    // A reservation without a client is named after its state.
    void completerNom();
    // True when the stay of `r` clashes with no other reservation of its
    // unit (`sauf` is the one being changed) or the user saves it anyway.
    // `acceptes` receives the numbers of the overlapping reservations asked about.
    bool accepterChevauchements(const Requetes::Reservation& r, qint32 sauf, QList<qint32>* acceptes);
    // The overlap question, put through questionChevauchement.
    bool poserChevauchement(const QString& question);
    bool demanderOuiNon(const QString& question);
    void message(const QString& texte);
    // Ends the opening: hides, reloads, then the signals.
    void Terminer(bool rafraichir);
    void liberer(qint32 numeroEncours);
    // Remembers the boxes as the opening filled them.
    void memoriserChargement();
    // The balance in its colour, in a font that shows the whole amount.
    void afficherSolde(double total, const QString& texte);

    Contexte* m_contexte;
    QPointer<QWidget> m_appelante;
    QPointer<QWidget> m_bar;
    QPointer<QWidget> m_encaissement;
    bool m_fin = false;
    qint32 m_version = 0;   // the stored version the boxes were filled from
    bool m_annulee = false; // the boxes show a cancelled stay
    // Another desk wrote the reservation: says so, and reloads it on demand.
    void conflit(qint32 numero);
    std::optional<Verification::Champs> m_charge;   // the boxes as loaded; none before an opening
};
