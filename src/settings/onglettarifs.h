#pragma once
// The "Tarifs" tab of the settings window: the seasons of each unit category
// in a table edited in place ("Ajouter", "Supprimer"), each accepted edit
// stored at once, and under it the tourist tax per adult and per night,
// stored in the INI file when the field is left.
#include <QWidget>

struct Contexte;
class EditeurTable;
class ModeleTarifs;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

class OngletTarifs : public QWidget
{
    Q_OBJECT
public:
    explicit OngletTarifs(Contexte* contexte, QWidget* parent = nullptr);

    // Reads the seasons and the tax again.
    void charger();
    // The tax was typed (Enter or leaving the field).
    void taxesejour_Change();

    ModeleTarifs* modeletarifs;
    EditeurTable* editeur;
    QTableView* tarifs;
    QPushButton* ajoutertarif;
    QPushButton* supprimertarif;
    QLabel* libelletaxe;
    QLineEdit* taxesejour;

signals:
    // A change was refused or could not be stored; nothing was stored.
    void refus(const QString& message);

private:
    Contexte* m_contexte;
    double m_taxe = 0;   // as stored
};
