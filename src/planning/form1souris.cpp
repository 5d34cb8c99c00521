// The calendar's mouse on the grid: a press on a bar opens, moves or
// stretches it (form1manipulation.cpp), a press on empty days frames the
// cell and drags the days, a double click on an empty cell proposes a
// night there.
#include "form1.h"
#include "deplacement.h"
#include "surface.h"

#include <QApplication>
#include <QTimer>

void Form1::planningEnfonce(Qt::MouseButton bouton, Qt::MouseButtons boutons, Qt::KeyboardModifiers touches,
                            QPoint position, QPoint ecran)
{
    if (bouton != Qt::LeftButton || boutons != Qt::LeftButton)
        return;
    // A bar is opened, moved or stretched; Shift draws a new stay.
    if (manipulationEnfoncee(touches, position))
        return;
    choisirCellule(position);
    m_departGlisser = ecran;
    m_pointeur = ecran;
    m_jourGlisser = datedepart;
    Deplaceur->start();
    if (!m_curseurPose) {
        QApplication::setOverrideCursor(Qt::CrossCursor);
        m_curseurPose = true;
    }
}

void Form1::planningDoubleClic(QPoint position)
{
    // The first press framed the cell and began a drag: it ends here.
    planningRelache();
    if (Grille::barreTouchee(m_barres, position.x(), position.y()) > 0)
        return;
    const int ligne = Deplacement::ligneSous(position.y(), premiereLigne, hauteurLigne());
    if (ligne < 0 || ligne >= m_nbUnites)
        return;
    ajouterPour(ligne, Deplacement::jourSous(position.x(), datedepart, largeurJour()), 1);
}

void Form1::planningRelache()
{
    if (!Deplaceur->isActive())
        return;
    Deplaceur->stop();
    if (m_curseurPose) {
        QApplication::restoreOverrideCursor();
        m_curseurPose = false;
    }
}

void Form1::Deplaceur_Timer()
{
    // Always from the drag's start, so that coming back to it shows its
    // first day again.
    const int d = Grille::decalageGlisser(m_pointeur.x() - m_departGlisser.x(), LargeurJour);
    const QDate jour = m_jourGlisser.addDays(-d);
    if (jour == datedepart)
        return;   // the grid already shows that day first
    decalerJours(datedepart.daysTo(jour));
}
