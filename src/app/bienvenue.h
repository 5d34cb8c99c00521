#pragma once
// The welcome page of a new installation: three steps from the empty grid
// to a first reservation, and a box to not show it again.
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

class Bienvenue : public QDialog
{
    Q_OBJECT
public:
    explicit Bienvenue(const QString& cheminINI, QWidget* parent = nullptr);

    QLabel* etape1;
    QLabel* etape2;
    QLabel* etape3;
    QCheckBox* nePlusAfficher;   // "Ne plus afficher", stored when the page closes
    QPushButton* commencer;      // "Commencer": closes the page

protected:
    void done(int resultat) override;

private:
    QString m_cheminINI;
};
