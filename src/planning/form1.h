#pragma once
// The calendar window: one row per unit, one column per day from datedepart,
// each reservation a bar in its state's colour.
#include "grille.h"
#include "lecture.h"
#include "manipulation.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <optional>
#include <tuple>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QPointer>
#include <QWidget>
#include <functional>

struct Contexte;
namespace Requetes {
struct Objet;
}
class QComboBox;
class QHelpEvent;
class QKeyEvent;
class QScrollBar;
class QTimer;
class Surface;
class reservations;
class xpcmdbutton;

class Form1 : public QWidget
{
    Q_OBJECT
public:
    explicit Form1(Contexte* contexte, QWidget* parent = nullptr);
    ~Form1() override;

    // State other windows use.
    QDate datedepart;
    qint32 reservation_courante = 0;   // index in Barres() + 1 of the current reservation
    qint32 reservation_encours = 0;    // number of the reservation last edited
    // The unit row shown at the top of the grid (0 for the first unit); kept
    // by every refresh, brought back within the units when they are fewer.
    int premiereLigne = 0;
    // The chosen cell of the keyboard: a unit row (0 for the first unit) and
    // a day; Enter opens the bar drawn there.
    int ligneChoisie = 0;
    QDate jourChoisi;

    // Rebuilds the whole drawing and the table of bars from the database.
    void rafraichir();
    // The database file was replaced (a restored backup): the rows kept
    // between refreshes belong to the old file, whatever its data version
    // says; everything is read and drawn again.
    void baseRemplacee();
    // Cancelled stays are left out of the grid (their nights are free);
    // shown, they are hatched and never framed as sharing days.
    void afficherAnnulations(bool oui);
    bool annulationsAffichees() const { return m_annulations; }
    void fixerTailleCellules(int largeurJour, int hauteurLigne);
    void remplirAnnees(int anneeCourante);
    void remplirMois();

    // "Auj.": the grid starts today.
    void mouvementaujourdhui_Click();
    // Choices in the year and month boxes.
    void choixannee_Click(int index);
    void choixmois_Click(int index);

    // Opens the reservation of bar `index` (1 for the first) in the
    // reservation window; the calendar is disabled until the window ends,
    // then the bar blinks.
    void ouvrirBarre(int index);
    // "+": a new reservation in the reservation window, shown modally; with
    // no unit yet, a message says where units are made.
    void ajouter_Click();
    // "+" for that row's unit from that day, for that many nights.
    void ajouterPour(int ligne, const QDate& arrivee, int nuits);

    // Moves the grid to reservation `numero` (its unit row in view, its
    // arrival in the first third of the days) and blinks its bar as after
    // an edit. False when the reservation cannot be read or has no dates.
    bool montrerReservation(qint32 numero);
    // Opens reservation `numero` as a click on its bar does, the grid moved
    // to it first. False when it cannot be shown.
    bool ouvrirReservation(qint32 numero);
    // A reservation opened from the calendar is still being edited.
    bool reservationOuverte() const;
    // "+" with the client's name, telephone and e-mail filled in.
    void nouvelleReservationPour(const QString& nom, const QString& telephone, const QString& email);
    // The reservation window, made on first use.
    reservations* fenetreReservation();

    // The selection box: "Tous" or a category of units, whose units alone
    // the grid shows (form1selection.cpp). The choice is kept in the
    // configuration file and read back by the next calendar.
    QString categorieChoisie() const { return m_selection; }
    void choisirSelection(const QString& choix);
    // Its entries: "Tous" and the categories of the units as last read.
    void remplirSelection();

    // Timer ticks: blinking of the current bar, drag scrolling, held day buttons.
    void Clignotement_Timer();
    void Deplaceur_Timer();
    void mouvements_Timer();

    // The bars drawn by the last refresh; bar i of the window is Barres()[i - 1].
    const QList<Grille::Barre>& Barres() const { return m_barres; }
    // The text shown while the pointer rests on bar `index` (1 for the first).
    QString texteInfoBulle(int index) const;
    int largeurJour() const { return LargeurJour; }
    int hauteurLigne() const { return HauteurLigne; }

    QWidget* fondplanning;
    QWidget* colonnes;
    Surface* Objets;
    Surface* lesmois;
    Surface* TexteColonnes;
    Surface* planning;
    // The grid's vertical scroll bar, at its right, shown only when the
    // units do not all fit.
    QScrollBar* ascenseur;
    QComboBox* choixannee;
    QComboBox* choixmois;
    QComboBox* ChoixSelection;
    xpcmdbutton* MvtJourPrecedent;
    xpcmdbutton* mouvementaujourdhui;
    xpcmdbutton* MvtJourSuivant;
    xpcmdbutton* ajouter;
    QTimer* Clignotement;
    QTimer* Deplaceur;
    QTimer* mouvements;

    // ---- Moving, stretching and drawing stays on the grid (form1manipulation.cpp)
    // The question asked when a stay dropped on the grid overlaps others
    // (yes: saved all the same); a Yes/No box unless replaced.
    std::function<bool(const QString& question)> questionChevauchement;
    // Ctrl+Z: the last move or stretch this desk made on the grid goes back,
    // once, while nobody changed that stay since; a message says otherwise.
    void annulerDeplacement();
    // Alt+arrows: the stay in the chosen cell moves `jours` days and
    // `lignes` units, or (`depart`) its departure moves `jours` days.
    void deplacerChoisi(int jours, int lignes, bool depart);
    const Manipulation& manipulation() const { return m_manipulation; }
    // Tick of the scrolling while a drag is over the grid's edge.
    void Defileur_Timer();
    QTimer* Defileur = nullptr;

Q_SIGNALS:
    // The left button went down and up on bar `index` (1 for the first
    // bar) without moving it, which is being opened.
    void barreCliquee(int index);
    // The grid was drawn again from the database.
    void rafraichi();
    // The units shown changed: "Tous" or the category chosen.
    void selectionChangee(const QString& categorie);
    // The account of a reservation was written to from the reservation
    // window or a window it opened (a payment, a sale, an invoice).
    void compteModifie(qint32 numero);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* objet, QEvent* evenement) override;
    // Arrows, pages, Home, Enter and Ctrl+N while the calendar has the focus.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void planningEnfonce(Qt::MouseButton bouton, Qt::MouseButtons boutons, Qt::KeyboardModifiers touches,
                         QPoint position, QPoint ecran);
    // A double click on an empty cell: a new stay of one night there.
    void planningDoubleClic(QPoint position);
    void planningRelache();
    void jourMaintenu(int pas);
    void jourRelache();
    void afficherMoisAnnee();
    // A step of the days that keeps the grid's picture: it moves by dx
    // pixels and only the uncovered strip is painted (with the bars whose
    // label starts at the left edge before or after the step).
    struct Decalage {
        QRect bande;
        int dx = 0;
        // Band of each reservation's bar before the step (top, bottom,
        // framed): a bar whose band changed with the stays read (its double
        // booking entering or leaving the period) needs the whole grid.
        QHash<qint32, std::tuple<int, int, bool>> bandes;
        bool autreBande = false;
    };
    // Moves the first shown day, painting only what the move uncovers when
    // the last drawing still holds, the whole grid otherwise.
    void decalerJours(qint64 jours);
    void dessinerEntete(int largeurPlanning, int hauteurPlanning, int* colonnesDessinees,
                        const Decalage* decalage = nullptr);
    void placerAscenseur(const Grille::Defilement& d, int hauteurVisible);
    void dessinerLignes(const std::optional<QList<Requetes::Objet>>& unites, int largeurPlanning, int nbColonnes,
                        Decalage* decalage = nullptr);
    QString etiquette(const Grille::Barre& b) const;
    // The units of the chosen category, the choice brought back to "Tous"
    // when no unit carries its category any more.
    std::optional<QList<Requetes::Objet>> unitesChoisies();
    void lireSelection();
    void reservationFermee();
    // Moves the chosen cell and scrolls just enough to keep it in sight.
    void deplacerChoix(int lignes, qint64 jours);
    // Shows the chosen cell's frame on the grid.
    void montrerChoix();
    void choisirCellule(QPoint position);
    bool montrerInfoBulle(QHelpEvent* evenement);
    int joursVisibles() const;
    qint16 nbClignotements() const;

    Contexte* m_contexte;
    int LargeurJour = 20;
    int HauteurLigne = 20;
    QList<Grille::Barre> m_barres;
    LecturePlanning m_lecture;
    // What the grid's picture shows, as the last drawing left it.
    struct Dessin {
        QDate datedepart;
        int premiereLigne = -1;
        QSize taille;
        QDateTime moment;   // when the present moment's line was drawn
    };
    Dessin m_dessin;   // the rows of the last reads, while the database is unchanged
    QHash<qint32, QString> m_nomsUnites;   // unit number -> name, as the last refresh read them
    int m_nbUnites = 0;
    QString m_selection;   // "Tous" or a category
    int m_lignesVisibles = 1;
    QDate m_arriveeEnregistree;   // arrival of the stay just saved, until the window ends

    qint16 m_compteurClignotement = 0;
    int m_pasMouvement = 0;       // -1 or 1 while a day button is held, 0 otherwise
    qint64 m_debutMaintien = 0;   // Horloge::millisecondes() at the press
    int m_joursMaintenus = 0;     // days moved since the press
    bool m_annulations = false;
    bool m_dansMouvement = false;
    bool m_dansRedimension = false;
    bool m_redimensionEnAttente = false;

    QPoint m_departGlisser;    // pointer on the screen when the drag began
    QPoint m_pointeur;         // pointer on the screen now
    QDate m_jourGlisser;       // datedepart when the drag began
    bool m_curseurPose = false;

    // The grid's direct manipulation (form1manipulation.cpp).
    void preparerManipulation();
    bool manipulationEnfoncee(Qt::KeyboardModifiers touches, QPoint position);
    void manipulationDeplacee(QPoint position);
    bool manipulationRelachee(Qt::MouseButton bouton, QPoint position);
    bool manipulationClavier(QKeyEvent* event);
    void finirManipulation();
    void montrerFantome();
    Manipulation::Vue vue() const;
    bool enregistrerDeplacement(const Requetes::Reservation& montree, qint32 objet, const QDateTime& debut,
                                const QDateTime& fin, bool retour);
    Manipulation m_manipulation;
    QList<Requetes::Objet> m_unitesManipulation;   // the units, in rows, when the drag began
    QColor m_couleurFantome;
    // The last move or stretch made on the grid, until it is undone.
    struct DernierDeplacement {
        qint32 numero = 0;
        qint32 version = 0;     // the stored version it left
        qint32 objet = 0;       // where the stay was before
        QDateTime debut;
        QDateTime fin;
    };
    std::optional<DernierDeplacement> m_dernierDeplacement;

    enum class Ouverture { Aucune, Edition, Ajout };
    QPointer<reservations> m_reservation;
    Ouverture m_ouverture = Ouverture::Aucune;
};
