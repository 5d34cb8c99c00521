#pragma once
// The two states of a stay's day at the desk, chosen in the "Couleurs" tab:
// the one "Arrivée" gives and the one "Départ" gives. Stored at once in the
// configuration file, [reservation] "etat arrivee" and "etat depart" (the
// state's code; empty: none chosen).
#include <QWidget>

struct Contexte;
class QComboBox;

class EtatsSejour : public QWidget
{
    Q_OBJECT
public:
    explicit EtatsSejour(Contexte* contexte, QWidget* parent = nullptr);

    // Reads the states and the two settings again.
    void charger();

    QComboBox* etatarrivee;
    QComboBox* etatdepart;

private:
    void remplir(QComboBox* boite, const QString& cle);
    void choisi(QComboBox* boite, const QString& cle);

    Contexte* m_contexte;
};
