#include "editeurtable.h"

#include "ui/fenetres.h"
#include "ui/tablefigee.h"

#include <QAbstractItemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>

EditeurTable::EditeurTable(QAbstractItemModel* modele, int colonneNom, const QString& question,
                           QWidget* aGauche, QWidget* parent)
    : QWidget(parent)
    , m_modele(modele)
    , m_colonneNom(colonneNom)
    , m_question(question)
{
    vue = new TableFigee(this);
    vue->setModel(modele);
    vue->setSelectionBehavior(QAbstractItemView::SelectRows);
    vue->setSelectionMode(QAbstractItemView::SingleSelection);
    vue->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                         | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    vue->verticalHeader()->hide();
    vue->verticalHeader()->setDefaultSectionSize(vue->fontMetrics().height() + 6);
    vue->horizontalHeader()->setStretchLastSection(true);
    vue->setAlternatingRowColors(true);

    ajouter = new QPushButton(QStringLiteral("Ajouter"), this);
    supprimer = new QPushButton(QStringLiteral("Supprimer"), this);
    // A click on "Supprimer" leaves the focus in the table: a cell being
    // edited is not stored first (its value may be refused, and the message
    // would swallow the click); the removal drops what was typed.
    supprimer->setFocusPolicy(Qt::TabFocus);

    auto* grille = new QGridLayout(this);
    grille->setContentsMargins(8, 8, 8, 8);
    int ligne = 0;
    if (aGauche) {
        aGauche->setParent(this);
        grille->addWidget(aGauche, ligne++, 0);
    }
    grille->addWidget(ajouter, ligne++, 0);
    grille->addWidget(supprimer, ligne++, 0);
    grille->setRowStretch(ligne, 1);
    grille->addWidget(vue, 0, 1, ligne + 1, 1);
    grille->setColumnStretch(1, 1);

    connect(ajouter, &QPushButton::clicked, this, &EditeurTable::ajouter_Click);
    connect(supprimer, &QPushButton::clicked, this, &EditeurTable::supprimer_Click);
    connect(vue->selectionModel(), &QItemSelectionModel::currentChanged, this, &EditeurTable::suivreChoix);
    connect(modele, &QAbstractItemModel::modelReset, this, &EditeurTable::suivreChoix);
    connect(modele, &QAbstractItemModel::rowsRemoved, this, &EditeurTable::suivreChoix);
    suivreChoix();
}

void EditeurTable::figerColonnes(int colonnes)
{
    vue->figerColonnes(colonnes);
}

int EditeurTable::ligneChoisie() const
{
    const QModelIndex courant = vue->currentIndex();
    return courant.isValid() ? courant.row() : -1;
}

void EditeurTable::suivreChoix()
{
    supprimer->setEnabled(ligneChoisie() >= 0);
}

void EditeurTable::ajouter_Click()
{
    if (!ajout)
        return;
    const auto ligne = ajout();
    if (!ligne)
        return;
    // The new row's name is ready to be typed over.
    const QModelIndex nom = m_modele->index(*ligne, m_colonneNom);
    vue->setCurrentIndex(nom);
    vue->scrollTo(nom);
    vue->edit(nom);
}

void EditeurTable::supprimer_Click()
{
    const int ligne = ligneChoisie();
    if (ligne < 0)
        return;
    vue->abandonnerSaisie();
    const QString nom = m_modele->index(ligne, m_colonneNom).data().toString();
    if (!Fenetres::DemanderOuiNon(this, window()->windowTitle(), m_question.arg(nom)))
        return;
    m_modele->removeRow(ligne);
}
