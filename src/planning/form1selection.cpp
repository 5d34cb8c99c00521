// The calendar's selection box: "Tous" or one category of units, kept in
// the configuration file.
#include "form1.h"

#include "selection.h"

#include "config/ini32.h"
#include "store/contexte.h"

#include <QComboBox>
#include <QSignalBlocker>

void Form1::lireSelection()
{
    // Read once at the start; a category no unit carries any more falls back
    // to "Tous" at the first refresh.
    m_selection = Selection::tous();
    if (m_contexte && !m_contexte->CheminINI.isEmpty())
        m_selection = INI32::ProfilINI(Selection::section(), Selection::cle(), Selection::tous(),
                                       m_contexte->CheminINI, 1).trimmed();
    if (m_selection.isEmpty())
        m_selection = Selection::tous();
    m_lecture.choisirCategorie(m_selection);
    ChoixSelection->setEditText(m_selection);
}

void Form1::choisirSelection(const QString& choix)
{
    const QString c = choix.trimmed().isEmpty() ? Selection::tous() : choix.trimmed();
    if (m_contexte && !m_contexte->CheminINI.isEmpty())
        INI32::ProfilINI(Selection::section(), Selection::cle(), c, m_contexte->CheminINI, 0);
    const bool autre = c != m_selection;
    m_selection = c;
    m_lecture.choisirCategorie(c);
    if (!autre) {
        remplirSelection();
        return;
    }
    // Other rows: the first one comes back to the top.
    premiereLigne = 0;
    ligneChoisie = 0;
    rafraichir();
    emit selectionChangee(m_selection);
}

std::optional<QList<Requetes::Objet>> Form1::unitesChoisies()
{
    auto unites = m_lecture.unites(m_contexte->BaseOuverte);
    if (!unites)
        return unites;
    const QString valable = Selection::valable(m_selection, m_lecture.categories());
    if (valable != m_selection) {
        // The file keeps the choice: the category may come back.
        m_selection = valable;
        m_lecture.choisirCategorie(valable);
        unites = m_lecture.unites(m_contexte->BaseOuverte);
        remplirSelection();
        emit selectionChangee(m_selection);
        return unites;
    }
    remplirSelection();
    return unites;
}

void Form1::remplirSelection()
{
    QStringList entrees{Selection::tous()};
    entrees += m_lecture.categories();
    const QSignalBlocker silence(ChoixSelection);
    QStringList avant;
    for (int i = 0; i < ChoixSelection->count(); ++i)
        avant.append(ChoixSelection->itemText(i));
    if (avant != entrees) {
        ChoixSelection->clear();
        ChoixSelection->addItems(entrees);
    }
    const int i = ChoixSelection->findText(m_selection, Qt::MatchFixedString);
    if (i >= 0 && i != ChoixSelection->currentIndex())
        ChoixSelection->setCurrentIndex(i);
    if (ChoixSelection->currentText() != m_selection)
        ChoixSelection->setEditText(m_selection);
}
