#pragma once
// The state of a drag on the grid: a press on a bar that opens it or,
// once the pointer moved, moves or stretches its stay; a Shift+press on
// free days that draws a new stay. Fed with the pointer in pixels of the
// grid and the view the grid shows at that moment (it may scroll during
// the drag); no widget here, the window shows what it says.
#include "deplacement.h"
#include "store/requetes.h"

#include <QPoint>
#include <QSize>

class Manipulation
{
public:
    enum class Mode {
        Aucun,
        Appui,        // pressed on a bar, not moved far enough yet
        Deplacement,  // the stay follows the pointer
        Etirement,    // one of its ends follows the pointer
        Dessin,       // a new stay is drawn over free days
    };

    // What the grid shows when an event comes.
    struct Vue {
        QDate datedepart;
        int premiereLigne = 0;
        int largeurJour = 20;
        int hauteurLigne = 20;
        int nbLignes = 0;
        QSize taille;   // a release outside it puts everything back
    };

    // What the release asks of the window.
    struct Fin {
        enum class Action { Rien, Ouvrir, Enregistrer, Proposer };
        Action action = Action::Rien;
        int barre = 0;                       // Ouvrir: the bar (1 for the first)
        Requetes::Reservation reservation;   // Enregistrer: the stay as the grid showed it
        Deplacement::Sejour avant;           // Enregistrer: where it was,
        Deplacement::Sejour apres;           // and where it goes
        int ligne = 0;                       // Proposer: the row,
        Deplacement::Trace trace;            // and its nights
    };

    // A press on bar `barre` (1 for the first) of reservation r drawn on
    // unit row `ligne`, taken as `prise` says. A cancelled stay, or one
    // without both dates in order, only opens.
    void appuyerSurBarre(int barre, const Requetes::Reservation& r, int ligne, Deplacement::Prise prise, QPoint point,
                         const Vue& vue);
    // A Shift+press on row `ligne` where the row's stays take `occupees`.
    void appuyerPourDessiner(int ligne, const QList<Deplacement::Occupation>& occupees, QPoint point,
                             const Vue& vue);
    // The pointer moved (or the grid scrolled under it); true when the ghost
    // is to be shown again.
    bool deplacer(QPoint point, const Vue& vue);
    // The button was released there; the state goes back to rest.
    Fin relacher(QPoint point, const Vue& vue);
    // Escape: everything as it was.
    void abandonner();

    Mode mode() const { return m_mode; }
    bool actif() const { return m_mode != Mode::Aucun; }
    // A ghost follows the pointer.
    bool glisse() const { return m_mode == Mode::Deplacement || m_mode == Mode::Etirement || m_mode == Mode::Dessin; }
    // Where the ghost is: the stay moved or stretched, or the nights drawn
    // (from midnight to midnight).
    Deplacement::Sejour cible() const;
    // The nights drawn so far (Dessin).
    Deplacement::Trace trace() const { return m_trace; }
    Deplacement::Prise prise() const { return m_prise; }
    const Requetes::Reservation& reservation() const { return m_reservation; }
    QPoint dernierPoint() const { return m_dernier; }

private:
    void suivre(QPoint point, const Vue& vue);

    Mode m_mode = Mode::Aucun;
    Deplacement::Prise m_prise = Deplacement::Prise::Aucune;
    bool m_mobile = false;
    int m_barre = 0;
    Requetes::Reservation m_reservation;
    Deplacement::Sejour m_origine;
    Deplacement::Sejour m_cible;
    QList<Deplacement::Occupation> m_occupees;
    Deplacement::Trace m_trace;
    QPoint m_appui;
    QPoint m_dernier;
    QDate m_jourAppui;
    int m_ligneAppui = 0;
};
