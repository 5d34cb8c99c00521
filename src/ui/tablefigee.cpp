#include "tablefigee.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

TableFigee::TableFigee(QWidget* parent) : QTableView(parent) {}

void TableFigee::figerColonnes(int colonnes)
{
    m_colonnes = std::max(0, colonnes);
    if (m_colonnes == 0 || !model()) {
        delete m_figee;
        m_figee = nullptr;
        return;
    }
    if (!m_figee) {
        m_figee = new TableFigee(this);
        m_figee->setObjectName(objectName() + QStringLiteral("_figee"));
        m_figee->setModel(model());
        m_figee->setSelectionModel(selectionModel());
        m_figee->setFocusPolicy(Qt::NoFocus);
        m_figee->setFrameShape(QFrame::NoFrame);
        m_figee->verticalHeader()->hide();
        m_figee->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        m_figee->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_figee->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_figee->setVerticalScrollMode(ScrollPerPixel);
        setHorizontalScrollMode(ScrollPerPixel);
        setVerticalScrollMode(ScrollPerPixel);
        viewport()->stackUnder(m_figee);
        // Rows, widths and the vertical position follow the main view.
        connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int colonne, int, int largeur) {
            if (m_figee && colonne < m_colonnes) {
                m_figee->setColumnWidth(colonne, largeur);
                placer();
            }
        });
        connect(verticalHeader(), &QHeaderView::sectionResized, this,
                [this](int ligne, int, int hauteur) { if (m_figee) m_figee->setRowHeight(ligne, hauteur); });
        // The main view leads: the fixed one takes its position, again once
        // its own range is known (it is laid out later) and whenever it
        // would move by itself; its wheel and its scrolling to a cell are
        // handed to the main view.
        m_figee->m_principale = this;
        QScrollBar* principale = verticalScrollBar();
        QScrollBar* figee = m_figee->verticalScrollBar();
        auto suivre = [this, principale, figee] {
            m_synchro = true;
            figee->setValue(principale->value());
            m_synchro = false;
        };
        connect(principale, &QAbstractSlider::valueChanged, this, suivre);
        connect(figee, &QAbstractSlider::rangeChanged, this, suivre);
        connect(figee, &QAbstractSlider::valueChanged, this, [this, principale, suivre](int valeur) {
            if (!m_synchro && valeur != principale->value())
                suivre();
        });
        // A model read again shows every column: the others are hidden again.
        connect(model(), &QAbstractItemModel::modelReset, this, [this] { figerColonnes(m_colonnes); });
        connect(model(), &QAbstractItemModel::columnsInserted, this, [this] { figerColonnes(m_colonnes); });
    }
    // The look of the main view, and its ways of editing.
    m_figee->setEditTriggers(editTriggers());
    m_figee->setSelectionBehavior(selectionBehavior());
    m_figee->setSelectionMode(selectionMode());
    m_figee->setAlternatingRowColors(alternatingRowColors());
    m_figee->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    for (int c = 0; c < model()->columnCount(); ++c) {
        m_figee->setColumnHidden(c, c >= m_colonnes);
        if (c < m_colonnes)
            m_figee->setColumnWidth(c, columnWidth(c));
    }
    m_figee->show();
    placer();
}

void TableFigee::abandonnerSaisie()
{
    const QModelIndex courant = currentIndex();
    for (TableFigee* vue : {this, m_figee})
        if (vue && vue->state() == EditingState)
            if (QWidget* editeur = vue->indexWidget(courant))
                vue->closeEditor(editeur, QAbstractItemDelegate::RevertModelCache);
}

int TableFigee::largeurFigee() const
{
    int largeur = 0;
    for (int c = 0; c < m_colonnes; ++c)
        largeur += columnWidth(c);
    return largeur;
}

void TableFigee::placer()
{
    if (!m_figee)
        return;
    m_figee->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), largeurFigee(),
                         viewport()->height() + horizontalHeader()->height());
}

bool TableFigee::edit(const QModelIndex& index, EditTrigger declencheur, QEvent* evenement)
{
    // The main view's editor of a fixed column would be hidden under it.
    if (m_figee && index.isValid() && index.column() < m_colonnes)
        return m_figee->edit(index, declencheur, evenement);
    return QTableView::edit(index, declencheur, evenement);
}

void TableFigee::resizeEvent(QResizeEvent* evenement)
{
    QTableView::resizeEvent(evenement);
    placer();
}

void TableFigee::updateGeometries()
{
    QTableView::updateGeometries();
    placer();
}

QModelIndex TableFigee::moveCursor(CursorAction action, Qt::KeyboardModifiers modificateurs)
{
    const QModelIndex courant = QTableView::moveCursor(action, modificateurs);
    // Moving left onto a column hidden under the fixed ones scrolls it out.
    if (m_figee && action == MoveLeft && courant.column() >= m_colonnes
        && visualRect(courant).topLeft().x() < largeurFigee()) {
        const int nouvelle = horizontalScrollBar()->value() + visualRect(courant).topLeft().x() - largeurFigee();
        horizontalScrollBar()->setValue(nouvelle);
    }
    return courant;
}

void TableFigee::wheelEvent(QWheelEvent* evenement)
{
    if (m_principale) {
        QCoreApplication::sendEvent(m_principale->viewport(), evenement);
        return;
    }
    QTableView::wheelEvent(evenement);
}

void TableFigee::scrollTo(const QModelIndex& index, ScrollHint indice)
{
    if (m_principale) {
        m_principale->scrollTo(index, indice);
        return;
    }
    // A fixed column is always in sight: only the rows move for it.
    if (m_figee && index.column() < m_colonnes) {
        const int x = horizontalScrollBar()->value();
        QTableView::scrollTo(index, indice);
        horizontalScrollBar()->setValue(x);
        return;
    }
    QTableView::scrollTo(index, indice);
}
