#pragma once
// The calendar window: one row per unit, one column per day from datedepart.
#include <QDate>
#include <QWidget>

struct Contexte;
class QComboBox;
class QPushButton;

class Form1 : public QWidget
{
    Q_OBJECT
public:
    explicit Form1(Contexte* contexte, QWidget* parent = nullptr);

    // State other windows use.
    QDate datedepart;
    qint32 reservation_courante = 0;
    qint32 reservation_encours = 0;

    void rafraichir();
    void fixerTailleCellules(int largeurJour, int hauteurLigne);
    void remplirAnnees(int anneeCourante);
    void remplirMois();

    // "Auj.": the grid starts today.
    void mouvementaujourdhui_Click();

    QWidget* fondplanning;
    QWidget* colonnes;
    QWidget* Objets;
    QWidget* lesmois;
    QWidget* TexteColonnes;
    QWidget* planning;
    QComboBox* choixannee;
    QComboBox* choixmois;
    QComboBox* ChoixSelection;
    QPushButton* MvtJourPrecedent;
    QPushButton* mouvementaujourdhui;
    QPushButton* MvtJourSuivant;
    QPushButton* ajouter;

private:
    Contexte* m_contexte;
    int LargeurJour = 20;
    int HauteurLigne = 20;
};
