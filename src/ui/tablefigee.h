#pragma once
// A table view whose first columns can stay in place while the others
// scroll sideways: a second view of the same model and selection lies over
// the left edge, showing only those columns, its rows following the main
// view's. A cell of a fixed column is edited in the view over it, so that
// its editor is seen whatever opened it (a double click, a key, a program).
#include <QTableView>

class TableFigee : public QTableView
{
    Q_OBJECT
public:
    explicit TableFigee(QWidget* parent = nullptr);

    // Keeps the first `colonnes` columns in sight (0: none).
    void figerColonnes(int colonnes);
    int colonnesFigees() const { return m_colonnes; }
    // The view over the fixed columns (null while none is fixed).
    QTableView* vueFigee() const { return m_figee; }

    // Closes the editor open on the current cell, in either view, without
    // storing what was typed in it.
    void abandonnerSaisie();

    using QTableView::edit;
    void scrollTo(const QModelIndex& index, ScrollHint indice = EnsureVisible) override;

protected:
    bool edit(const QModelIndex& index, EditTrigger declencheur, QEvent* evenement) override;
    void resizeEvent(QResizeEvent* evenement) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modificateurs) override;
    void updateGeometries() override;
    void wheelEvent(QWheelEvent* evenement) override;

private:
    int largeurFigee() const;
    void placer();

    TableFigee* m_figee = nullptr;
    TableFigee* m_principale = nullptr;   // for the view over the fixed columns: the main view
    int m_colonnes = 0;
    bool m_synchro = false;   // the fixed view is being moved to the main one's position
};
