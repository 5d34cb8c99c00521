// The calendar's keyboard, its chosen cell and the text shown over a bar.
#include "form1.h"
#include "deplacement.h"

#include "surface.h"

#include "reservation/compte.h"
#include "store/contexte.h"
#include "store/horloge.h"
#include "store/requetes.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <algorithm>

void Form1::keyPressEvent(QKeyEvent* event)
{
    // Escape during a drag, Ctrl+Z, Alt+arrows.
    if (manipulationClavier(event)) {
        event->accept();
        return;
    }
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    auto mois = [this](int n) { return jourChoisi.daysTo(jourChoisi.addMonths(n)); };
    switch (event->key()) {
    case Qt::Key_Left: deplacerChoix(0, -1); break;
    case Qt::Key_Right: deplacerChoix(0, 1); break;
    case Qt::Key_PageUp: deplacerChoix(0, ctrl ? mois(-1) : -7); break;
    case Qt::Key_PageDown: deplacerChoix(0, ctrl ? mois(1) : 7); break;
    case Qt::Key_Up: deplacerChoix(-1, 0); break;
    case Qt::Key_Down: deplacerChoix(1, 0); break;
    case Qt::Key_Home:
        jourChoisi = Horloge::aujourdhui();
        mouvementaujourdhui_Click();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const Grille::Rectangle c =
            Grille::cellule(ligneChoisie, premiereLigne, jourChoisi, datedepart, largeurJour(), hauteurLigne());
        if (const int i = Grille::barreDansCellule(Barres(), c))
            ouvrirBarre(i);
        break;
    }
    case Qt::Key_N:
        if (!ctrl) {
            QWidget::keyPressEvent(event);
            return;
        }
        ajouter_Click();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

int Form1::joursVisibles() const
{
    return std::max(1, planning->width() / largeurJour());
}

void Form1::deplacerChoix(int lignes, qint64 jours)
{
    if (!jourChoisi.isValid())
        jourChoisi = datedepart;
    ligneChoisie = std::clamp(ligneChoisie + lignes, 0, std::max(0, m_nbUnites - 1));
    jourChoisi = jourChoisi.addDays(jours);
    const QDate premier = datedepart.addDays(Grille::garderVisible(0, datedepart.daysTo(jourChoisi), joursVisibles()));
    const int premiere = int(Grille::garderVisible(premiereLigne, ligneChoisie, m_lignesVisibles));
    if (premier == datedepart && premiere == premiereLigne) {
        montrerChoix();
        return;
    }
    datedepart = premier;
    premiereLigne = premiere;
    rafraichir();
}

void Form1::montrerChoix()
{
    ligneChoisie = std::clamp(ligneChoisie, 0, std::max(0, m_nbUnites - 1));
    if (m_nbUnites == 0 || !jourChoisi.isValid()) {
        planning->fixerCadre(QRect());
        return;
    }
    const Grille::Rectangle c =
        Grille::cellule(ligneChoisie, premiereLigne, jourChoisi, datedepart, largeurJour(), hauteurLigne());
    planning->fixerCadre(QRect(QPoint(c.x1, c.y1), QPoint(c.x2, c.y2)));
}

void Form1::choisirCellule(QPoint position)
{
    const int ligne = Deplacement::ligneSous(position.y(), premiereLigne, hauteurLigne());
    if (ligne < 0 || ligne >= m_nbUnites)
        return;
    ligneChoisie = ligne;
    jourChoisi = Deplacement::jourSous(position.x(), datedepart, largeurJour());
    montrerChoix();
}

QString Form1::texteInfoBulle(int index) const
{
    if (index < 1 || index > Barres().size())
        return QString();
    const Grille::Barre& b = Barres().at(index - 1);
    std::optional<double> solde;
    if (m_contexte && m_contexte->BaseOuverte.isOpen()) {
        if (const auto operations = Requetes::operationsMontant(m_contexte->BaseOuverte, b.reservation.numero))
            solde = Compte::LignesTicket(*operations).total;
    }
    const QString unite = m_nomsUnites.value(b.reservation.objet, QString::number(b.reservation.objet));
    return Grille::infoBulle(b, unite, solde);
}

bool Form1::montrerInfoBulle(QHelpEvent* evenement)
{
    if (m_manipulation.glisse())
        return true;   // the drag's own text is shown
    const int i = Grille::barreTouchee(Barres(), evenement->pos().x(), evenement->pos().y());
    if (i == 0) {
        QToolTip::hideText();
        evenement->ignore();
        return true;
    }
    const Grille::Rectangle& r = Barres().at(i - 1).r;
    // The text goes when the pointer leaves the bar.
    QToolTip::showText(evenement->globalPos(), texteInfoBulle(i), planning,
                       QRect(QPoint(r.x1, r.y1), QPoint(r.x2, r.y2)).normalized());
    return true;
}
