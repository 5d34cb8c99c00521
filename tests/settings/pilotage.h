#pragma once
// Answers the modal dialogs of the settings window while a test drives it.
#include <QAbstractButton>
#include <QApplication>
#include <QColor>
#include <QColorDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

// Answers the modal dialogs the window opens, as the test decided: the
// name asked for a new state, its colour, the removal question. Warnings
// are read and closed with OK.
class Repondeur
{
public:
    Repondeur()
    {
        m_minuteur.setInterval(5);
        QObject::connect(&m_minuteur, &QTimer::timeout, [this] { repondre(); });
        m_minuteur.start();
    }
    std::optional<QString> nom;       // nullopt: "Annuler"
    std::optional<QColor> couleur;    // nullopt: cancelled
    bool oui = true;
    QStringList messages, questions;
    int demandesNom = 0, dialoguesCouleur = 0;

private:
    void repondre()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* d = qobject_cast<QInputDialog*>(w)) {
            ++demandesNom;
            if (nom) {
                d->setTextValue(*nom);
                d->accept();
            } else {
                d->reject();
            }
        } else if (auto* d = qobject_cast<QColorDialog*>(w)) {
            ++dialoguesCouleur;
            if (couleur) {
                d->setCurrentColor(*couleur);
                d->accept();
            } else {
                d->reject();
            }
        } else if (auto* m = qobject_cast<QMessageBox*>(w)) {
            if (m->icon() == QMessageBox::Question) {
                questions << m->text();
                for (QAbstractButton* b : m->buttons())
                    if (b->text() == (oui ? QStringLiteral("Oui") : QStringLiteral("Non")))
                        b->click();
            } else {
                messages << m->text();
                m->button(QMessageBox::Ok)->click();
            }
        }
    }
    QTimer m_minuteur;
};

// The user's typing in the settings window's tables and fields.
namespace Pilotage {

// Replaces the whole text of a field and presses Enter.
inline void remplacer(QLineEdit* champ, const QString& texte)
{
    champ->selectAll();
    QTest::keyClick(champ, Qt::Key_Delete);
    champ->insert(texte);
    QTest::keyClick(champ, Qt::Key_Return);
}

// Types over the text of the editor open in the view, then Enter. The
// refusal message, if any, is shown and answered before this returns.
inline void taper(QTableView* vue, const QString& texte)
{
    // In the view, or in the one over its fixed columns.
    QLineEdit* editeur = nullptr;
    for (QLineEdit* e : vue->findChildren<QLineEdit*>())
        if (e->isVisible())
            editeur = e;
    ASSERT_NE(editeur, nullptr);
    remplacer(editeur, texte);
    // Enter commits through a queued call, and the refusal it may cause
    // is shown through another.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// The user edits a cell: opens it, types over it and presses Enter.
inline void saisir(QTableView* vue, int ligne, int colonne, const QString& texte)
{
    const QModelIndex cellule = vue->model()->index(ligne, colonne);
    vue->setCurrentIndex(cellule);
    vue->edit(cellule);
    taper(vue, texte);
}

} // namespace Pilotage
