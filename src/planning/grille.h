#pragma once
// Plain geometry of the calendar grid: day columns, month labels, the bars'
// rectangles, the hit test and the drag offset. No widget here: the window
// paints what these functions compute.
#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

#include "store/requetes.h"

namespace Grille {

// One day column of the grid.
struct Colonne {
    int x = 0;              // left edge, in pixels of the grid
    QDate jour;
    bool ombre = false;     // a Saturday or a Sunday: shaded
    bool aujourdhui = false; // its header is marked
    QString nomJour;        // "lun."
    QString numeroJour;     // "07"
};

// A month name over the span of its columns.
struct EtiquetteMois {
    QString texte;          // "mars 2007"
    int debut = 0;          // x where the span starts
    int fin = 0;            // x where it ends (next month's first column)
    // The label's centre; the text is placed at centre - width / 2.
    double centre() const { return debut + (fin - debut) / 2.0; }
};

// Everything above the grid for a given first day and width.
struct Entete {
    QList<Colonne> colonnes;
    QList<EtiquetteMois> mois;
    QList<int> separations;  // x of the lines where a new month begins
    int xFin = 0;            // the x that ended the columns
};

// Columns at x = 0, L, 2L, ... while x <= width (the last one may be cut).
int nombreColonnes(int largeurPlanning, int largeurJour);
// "mars 2007": the label of a month in the strip.
QString libelleMois(const QDate& jour);
Entete entete(const QDate& datedepart, int largeurPlanning, int largeurJour,
              const QDate& aujourdhui = QDate());

// Left x of the 2-pixel line that marks the present moment in today's
// column, kept wholly inside that column; nothing when today is not shown.
std::optional<int> marqueAujourdhui(const QDateTime& maintenant, const QDate& datedepart, int largeurJour,
                                    int largeurPlanning);

// Top of a text line of the given height centred in the row whose top is yLigne.
int hautTexteCentre(int yLigne, int hauteurLigne, int hauteurTexte);

// A rectangle with both corners included, as the bars are filled.
struct Rectangle {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const Rectangle&) const = default;
};

// The day count of a moment with its hour as a fraction; an empty or
// unreadable moment counts as day zero of the old date origin (30/12/1899).
double jourDe(const QDateTime& moment);

// The bar of a stay on the row whose top is yLigne. Each side is rounded
// to the nearest pixel, halves to even; the ends sit 2 pixels inside
// their day columns in proportion to the hour.
Rectangle rectangleBarre(const QDateTime& debut, const QDateTime& fin, const QDate& datedepart,
                         int largeurJour, int hauteurLigne, int yLigne);

// One drawn reservation, as the refresh keeps it for the mouse and the blink.
struct Barre {
    Requetes::Reservation reservation;   // the row, handed as it is to the reservation window
    QString libelleEtat;     // "1 - Confirmé", " - " when the state is missing
    Rectangle r;
    qint16 nbadultes = 0;    // the counts as 16-bit numbers (0 when out of range)
    qint16 nbenfants = 0;
    qint32 couleur = 0;      // 0x00BBGGRR
    int hautLigne = 0;
    bool chevauche = false;  // shares days with another stay of its row: framed
};

Barre barreDepuis(const Requetes::ReservationPlanning& ligne, const QDate& datedepart,
                  int largeurJour, int hauteurLigne, int yLigne);

// Where the bar's label goes: from the bar's first visible pixel (a stay
// begun before the first shown day keeps its name readable), the bar itself
// unchanged.
Rectangle rectangleEtiquette(const Rectangle& barre);

// Whether a bar's label is placed differently once the grid's picture has
// moved dx pixels (the bar's rectangle given after the move): its label
// starts at the left edge before or after.
bool etiquetteDeplacee(const Rectangle& barre, int dx);

// The bars of one row whose stays share days are drawn in bands of the
// row's height, one band per stay at a time (half the height for two), the
// earlier stay on top, so that a double booking always shows. Bars that
// share nothing keep the whole height.
void partagerChevauchements(QList<Barre>& barresDeLaLigne, int hauteurLigne);

// The first bar (index 1 upwards, as the table of bars counts) whose
// rectangle holds the point, all four bounds included; 0 when none.
// A bar that ends before it starts can never be hit.
int barreTouchee(const QList<Barre>& barres, int x, int y);

// The cell of unit row `ligne` and day `jour`, both corners included, in
// pixels of the grid.
Rectangle cellule(int ligne, int premiereLigne, const QDate& jour, const QDate& datedepart, int largeurJour,
                  int hauteurLigne);

// The first bar (index 1 upwards) drawn in the cell, 0 when none; a bar that
// ends before it starts is never found, as it is never hit.
int barreDansCellule(const QList<Barre>& barres, const Rectangle& cellule);

// The first shown item (day or row) that keeps `choisi` in sight among
// `nbVisibles` whole items: unchanged when it is already shown, else moved
// just enough.
qint64 garderVisible(qint64 premier, qint64 choisi, qint64 nbVisibles);

// After a stay was saved: the first shown day stays when a day of the stay
// (arrival to departure) is among the `joursVisibles` days shown; otherwise
// the grid moves to the arrival.
QDate jourApresEnregistrement(const QDate& datedepart, int joursVisibles, const QDateTime& debut,
                              const QDateTime& fin);

// The text shown while the pointer rests on a bar: client, unit, arrival and
// departure with their hours, nights, adults and children, state, balance
// of the account (nothing when it could not be read).
QString infoBulle(const Barre& barre, const QString& unite, std::optional<double> solde);

// What the empty unit strip and "+" say when there is no unit yet.
QString texteAucunLogement();

// Vertical scrolling: the grid shows its rows from `premiereLigne` on, and
// every row top, bar rectangle and hit test counts from that row.
struct Defilement {
    int premiereLigne = 0;    // first row shown, 0 for the first unit
    int premiereMaximale = 0; // the first row that brings the last unit to the bottom
    int lignesVisibles = 0;   // rows wholly inside the visible height
    // The units do not all fit: the scroll bar shows.
    bool necessaire() const { return premiereMaximale > 0; }
};

// The scrolling for nbLignes units in a visible height, keeping the wanted
// first row when it can and clamping it otherwise (units removed, window
// enlarged).
Defilement defilement(int nbLignes, int hauteurVisible, int hauteurLigne, int premiereVoulue);

// The top, in pixels of the grid, of row `ligne` (0 for the first unit) when
// the grid shows `premiereLigne` first; rows above it have negative tops.
int hautLigne(int ligne, int premiereLigne, int hauteurLigne);

// Whether a row whose top is yLigne shows anything below the grid's top
// line on a grid of the given height: its name, bars or lower line.
bool ligneVisible(int yLigne, int hauteurLigne, int hauteurGrille);

// Days the grid moves back when the pointer went dx pixels to the right
// since the drag began, rounded towards minus infinity.
int decalageGlisser(int dx, int largeurJour);

// Held day buttons: the days moved in all after the button has been held
// `ms` milliseconds. One at once; from 400 ms on, about 8 more a second;
// from 2 s on, about 30 more a second.
int joursMaintenus(qint64 ms);

// The earliest end a stay may have and still show a pixel of its bar when
// the grid starts on datedepart (with a safe margin for the bar's ends).
QDateTime finMinimaleVisible(const QDate& datedepart, int largeurJour);

// 0x00BBGGRR as the database keeps colours.
QColor couleurDepuisBGR(qint32 bgr);

// The WCAG contrast ratio of two colours (1 to 21).
double contraste(const QColor& a, const QColor& b);
// The label's colour on a bar of that colour: white or black, whichever
// reads better (white while its contrast reaches 4.5, as on the usual reds).
QColor couleurTexte(qint32 bgr);

// The bar's label: each [field] of the template naming a reservation field
// (any case) becomes the bar's value; an unknown name stays as written. An
// empty template gives the client's name.
QString etiquetteBarre(const QString& modele, const Barre& barre);

} // namespace Grille
