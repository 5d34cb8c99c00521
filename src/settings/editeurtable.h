#pragma once
// A tab page of the settings window that edits one table: the rows in a
// table view, edited in place, with "Ajouter" and "Supprimer" under an
// optional picture at the left. A new row is selected and its name opened
// for typing; a removal is asked first (Oui / Non).
#include "ui/tablefigee.h"

#include <QWidget>
#include <functional>
#include <optional>

class QAbstractItemModel;
class QPushButton;

class EditeurTable : public QWidget
{
    Q_OBJECT
public:
    // `colonneNom` is the column opened after an addition and named in the
    // removal question; `question` holds "%1" for that name.
    EditeurTable(QAbstractItemModel* modele, int colonneNom, const QString& question,
                 QWidget* aGauche = nullptr, QWidget* parent = nullptr);

    // Adds a row to the model, its row or nullopt when refused.
    std::function<std::optional<int>()> ajout;

    // Keeps the first columns in sight while the others scroll sideways.
    void figerColonnes(int colonnes);

    // Row of the current cell, -1 when none.
    int ligneChoisie() const;

    TableFigee* vue;
    QPushButton* ajouter;
    QPushButton* supprimer;

public slots:
    void ajouter_Click();
    void supprimer_Click();

private:
    void suivreChoix();

    QAbstractItemModel* m_modele;
    int m_colonneNom;
    QString m_question;
};
