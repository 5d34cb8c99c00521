// The calendar's direct manipulation: a bar dragged to other days or
// another unit, its ends stretched, a new stay drawn with Shift over free
// days, the same moves from the keyboard, and Ctrl+Z for the last one.
// A move is saved as the reservation window's "Modifier" saves a change of
// dates or unit.
#include "form1.h"

#include "surface.h"

#include "reservation/enregistrementsejour.h"
#include "store/contexte.h"
#include "store/dates.h"
#include "store/requetes.h"
#include "store/requetes_reservation.h"
#include "ui/fenetres.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <QToolTip>
#include <algorithm>

namespace {

void avertir(QWidget* parent, const QString& texte)
{
    QMessageBox boite(QMessageBox::Warning, parent->windowTitle(), texte, QMessageBox::Ok, parent);
    boite.exec();
}

// Whether the grid may move or stretch the stay: standing, with both dates
// in order.
bool mobile(const Requetes::Reservation& r)
{
    return !r.annulee() && r.debut.isValid() && r.fin.isValid() && r.debut < r.fin;
}

QRect rectangle(const Grille::Rectangle& r)
{
    return QRect(QPoint(r.x1, r.y1), QPoint(r.x2, r.y2)).normalized();
}

} // namespace

void Form1::preparerManipulation()
{
    Defileur = new QTimer(this);
    Defileur->setObjectName(QStringLiteral("Defileur"));
    Defileur->setInterval(100);
    connect(Defileur, &QTimer::timeout, this, &Form1::Defileur_Timer);
    // The pointer's shape tells the ends of a bar that stretch it.
    planning->setMouseTracking(true);
}

Manipulation::Vue Form1::vue() const
{
    // The grid reaches below its container: only what shows counts.
    const QSize visible(planning->width(), std::clamp(fondplanning->height() - planning->y(), 0, planning->height()));
    return {datedepart, premiereLigne, LargeurJour, HauteurLigne, m_nbUnites, visible};
}

bool Form1::manipulationEnfoncee(Qt::KeyboardModifiers touches, QPoint position)
{
    const int i = Grille::barreTouchee(m_barres, position.x(), position.y());
    if (i == 0 && !(touches & Qt::ShiftModifier))
        return false;
    // The units as the drag will name them and drop on them.
    m_unitesManipulation.clear();
    if (m_contexte && m_contexte->BaseOuverte.isOpen())
        m_unitesManipulation = Requetes::objets(m_contexte->BaseOuverte).value_or(QList<Requetes::Objet>());
    if (i > 0) {
        const Grille::Barre& b = m_barres.at(i - 1);
        m_couleurFantome = Grille::couleurDepuisBGR(b.couleur);
        const int ligne = premiereLigne + b.hautLigne / HauteurLigne;
        m_manipulation.appuyerSurBarre(i, b.reservation, ligne, Deplacement::priseSur(b.r, position.x(), position.y()),
                                       position, vue());
        Defileur->start();
        return true;
    }
    if (!m_contexte || !m_contexte->BaseOuverte.isOpen())
        return false;
    const int ligne = Deplacement::ligneSous(position.y(), premiereLigne, HauteurLigne);
    if (ligne < 0 || ligne >= m_unitesManipulation.size())
        return false;
    // The row's stays a year around the press: the new one stops before them.
    const QDate jour = Deplacement::jourSous(position.x(), datedepart, LargeurJour);
    QList<Deplacement::Occupation> occupees;
    if (const auto lignes = Requetes::reservationsDeObjet(m_contexte->BaseOuverte, m_unitesManipulation.at(ligne).numero,
                                                          jour.addDays(400), Dates::naive(jour.addDays(-400))))
        for (const Requetes::ReservationPlanning& l : *lignes)
            if (!l.reservation.annulee())
                occupees.append({l.reservation.debut.date(), l.reservation.fin.date()});
    choisirCellule(position);
    m_couleurFantome = QColor(120, 200, 120);
    m_manipulation.appuyerPourDessiner(ligne, occupees, position, vue());
    montrerFantome();
    Defileur->start();
    return true;
}

void Form1::manipulationDeplacee(QPoint position)
{
    if (m_manipulation.actif()) {
        if (m_manipulation.deplacer(position, vue()))
            montrerFantome();
        return;
    }
    // At rest: the ends of a bar that may be stretched show the sideways arrows.
    const int i = Grille::barreTouchee(m_barres, position.x(), position.y());
    const Deplacement::Prise prise =
        i > 0 && mobile(m_barres.at(i - 1).reservation)
            ? Deplacement::priseSur(m_barres.at(i - 1).r, position.x(), position.y())
            : Deplacement::Prise::Aucune;
    if (prise == Deplacement::Prise::Debut || prise == Deplacement::Prise::Fin)
        planning->setCursor(Qt::SizeHorCursor);
    else
        planning->unsetCursor();
}

bool Form1::manipulationRelachee(Qt::MouseButton bouton, QPoint position)
{
    if (!m_manipulation.actif())
        return false;
    if (bouton != Qt::LeftButton)
        return true;
    const Manipulation::Fin fin = m_manipulation.relacher(position, vue());
    finirManipulation();
    switch (fin.action) {
    case Manipulation::Fin::Action::Rien:
        break;
    case Manipulation::Fin::Action::Ouvrir: {
        // The bar pressed, found again should the grid have been drawn anew meanwhile.
        int index = fin.barre;
        if (index < 1 || index > m_barres.size()
            || m_barres.at(index - 1).reservation.numero != m_manipulation.reservation().numero) {
            index = 0;
            for (int k = 0; k < m_barres.size() && index == 0; ++k)
                if (m_barres.at(k).reservation.numero == m_manipulation.reservation().numero)
                    index = k + 1;
        }
        if (index > 0) {
            emit barreCliquee(index);
            ouvrirBarre(index);
        }
        break;
    }
    case Manipulation::Fin::Action::Enregistrer: {
        if (fin.apres.ligne < 0 || fin.apres.ligne >= m_unitesManipulation.size()) {
            avertir(this, QStringLiteral("Les logements n'ont pas pu être lus : la réservation n'est pas déplacée."));
            break;
        }
        enregistrerDeplacement(fin.reservation, m_unitesManipulation.at(fin.apres.ligne).numero, fin.apres.debut,
                               fin.apres.fin, false);
        break;
    }
    case Manipulation::Fin::Action::Proposer:
        ajouterPour(fin.ligne, fin.trace.arrivee, fin.trace.nuits);
        break;
    }
    return true;
}

void Form1::finirManipulation()
{
    m_manipulation.abandonner();
    Defileur->stop();
    planning->fixerFantome(QRect(), QColor());
    planning->unsetCursor();
    QToolTip::hideText();
}

void Form1::montrerFantome()
{
    if (!m_manipulation.glisse()) {
        planning->fixerFantome(QRect(), QColor());
        return;
    }
    const bool dessin = m_manipulation.mode() == Manipulation::Mode::Dessin;
    if (dessin && m_manipulation.trace().nuits == 0) {
        planning->fixerFantome(QRect(), QColor());
        QToolTip::hideText();
        return;
    }
    const Deplacement::Sejour s = m_manipulation.cible();
    planning->fixerFantome(rectangle(Deplacement::fantome(s, datedepart, premiereLigne, LargeurJour, HauteurLigne)),
                           m_couleurFantome);
    planning->setCursor(m_manipulation.mode() == Manipulation::Mode::Etirement ? Qt::SizeHorCursor
                                                                                : Qt::ClosedHandCursor);
    const QString unite = s.ligne >= 0 && s.ligne < m_unitesManipulation.size()
        ? m_unitesManipulation.at(s.ligne).nom.toString()
        : QString();
    QToolTip::showText(planning->mapToGlobal(m_manipulation.dernierPoint() + QPoint(12, 18)),
                       Deplacement::texteCible(unite, s.debut.date(), s.fin.date()), planning);
}

void Form1::Defileur_Timer()
{
    if (!m_manipulation.glisse())
        return;
    Deplacement::Pas pas = Deplacement::defilementAuBord(m_manipulation.dernierPoint(), vue().taille, LargeurJour,
                                                         HauteurLigne);
    // A new stay is drawn on its row: only the days scroll.
    if (m_manipulation.mode() == Manipulation::Mode::Dessin)
        pas.lignes = 0;
    const int premiere = std::clamp(premiereLigne + pas.lignes, 0, std::max(0, m_nbUnites - m_lignesVisibles));
    if (pas.jours == 0 && premiere == premiereLigne)
        return;
    if (premiere != premiereLigne) {
        premiereLigne = premiere;
        datedepart = datedepart.addDays(pas.jours);
        rafraichir();
    } else {
        decalerJours(pas.jours);
    }
    m_manipulation.deplacer(m_manipulation.dernierPoint(), vue());
    montrerFantome();
}

bool Form1::manipulationClavier(QKeyEvent* event)
{
    const Qt::KeyboardModifiers touches = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Escape && m_manipulation.actif()) {
        finirManipulation();
        return true;
    }
    if (event->key() == Qt::Key_Z && touches == Qt::ControlModifier) {
        annulerDeplacement();
        return true;
    }
    if (touches == Qt::AltModifier || touches == (Qt::AltModifier | Qt::ShiftModifier)) {
        const bool depart = touches & Qt::ShiftModifier;
        switch (event->key()) {
        case Qt::Key_Left: deplacerChoisi(-1, 0, depart); return true;
        case Qt::Key_Right: deplacerChoisi(1, 0, depart); return true;
        case Qt::Key_Up:
            if (depart)
                return false;
            deplacerChoisi(0, -1, false);
            return true;
        case Qt::Key_Down:
            if (depart)
                return false;
            deplacerChoisi(0, 1, false);
            return true;
        default:
            return false;
        }
    }
    return false;
}

void Form1::deplacerChoisi(int jours, int lignes, bool depart)
{
    if (!m_contexte || !m_contexte->BaseOuverte.isOpen())
        return;
    const Grille::Rectangle c =
        Grille::cellule(ligneChoisie, premiereLigne, jourChoisi, datedepart, LargeurJour, HauteurLigne);
    const int i = Grille::barreDansCellule(m_barres, c);
    // No stay there, or a cancelled one: nothing moves.
    if (i == 0 || !mobile(m_barres.at(i - 1).reservation))
        return;
    const Grille::Barre b = m_barres.at(i - 1);
    const Deplacement::Sejour origine{premiereLigne + b.hautLigne / HauteurLigne, b.reservation.debut,
                                      b.reservation.fin};
    const Deplacement::Sejour apres = Deplacement::appliquer(
        origine, depart ? Deplacement::Prise::Fin : Deplacement::Prise::Corps, jours, lignes, m_nbUnites);
    const auto unites = Requetes::objets(m_contexte->BaseOuverte);
    if (apres == origine || !unites || apres.ligne >= unites->size())
        return;
    if (!enregistrerDeplacement(b.reservation, unites->at(apres.ligne).numero, apres.debut, apres.fin, false))
        return;
    // The frame follows the stay it moved.
    if (!depart)
        deplacerChoix(apres.ligne - origine.ligne, origine.debut.date().daysTo(apres.debut.date()));
}

bool Form1::enregistrerDeplacement(const Requetes::Reservation& montree, qint32 objet, const QDateTime& debut,
                                   const QDateTime& fin, bool retour)
{
    if (!m_contexte || !m_contexte->BaseOuverte.isOpen())
        return false;
    const QSqlDatabase& base = m_contexte->BaseOuverte;
    Requetes::Reservation r = montree;
    r.objet = objet;
    r.debut = debut;
    r.fin = fin;
    const auto question = [this](const QString& q) {
        return questionChevauchement ? questionChevauchement(q) : Fenetres::DemanderOuiNon(this, windowTitle(), q);
    };
    const EnregistrementSejour::Accord accord = EnregistrementSejour::Chevauchements(base, r, r.numero, question);
    if (!accord.erreur.isEmpty())
        avertir(this, QStringLiteral("Les autres réservations de ce logement n'ont pas pu être lues :\n") + accord.erreur);
    if (!accord.accepte) {
        rafraichir();   // the bar shows where it was
        return false;
    }
    auto nom = [this](qint32 numero) { return m_nomsUnites.value(numero, QString::number(numero)); };
    const QString libelle = Deplacement::libelleJournal(nom(montree.objet), montree.debut.date(), montree.fin.date(),
                                                        nom(r.objet), r.debut.date(), r.fin.date(), retour);
    const EnregistrementSejour::Resultat resultat =
        EnregistrementSejour::Modifier(base, m_contexte->CheminINI, r, libelle, accord.numeros, question);
    switch (resultat.issue) {
    case EnregistrementSejour::Issue::Enregistre:
        if (retour)
            m_dernierDeplacement.reset();
        else
            m_dernierDeplacement = DernierDeplacement{r.numero, resultat.version, montree.objet, montree.debut,
                                                      montree.fin};
        reservation_encours = r.numero;
        break;
    case EnregistrementSejour::Issue::Abandonne:
        break;
    case EnregistrementSejour::Issue::AutrePoste:
        avertir(this, RequetesReservation::MessageModifieeAilleurs()
                          + QStringLiteral("\nLe calendrier montre maintenant ce qui est enregistré."));
        break;
    case EnregistrementSejour::Issue::Echec:
        avertir(this, QStringLiteral("Le déplacement n'a pas pu être enregistré :\n") + resultat.erreur);
        break;
    }
    rafraichir();
    if (resultat.issue != EnregistrementSejour::Issue::Enregistre)
        return false;
    if (!resultat.avertissement.isEmpty())
        avertir(this, resultat.avertissement);
    // The moved bar blinks, as after an edit.
    m_compteurClignotement = 0;
    Clignotement->start();
    return true;
}

void Form1::annulerDeplacement()
{
    if (!m_contexte || !m_contexte->BaseOuverte.isOpen())
        return;
    if (!m_dernierDeplacement) {
        avertir(this, QStringLiteral("Aucun déplacement fait sur le calendrier n'est à annuler."));
        return;
    }
    const DernierDeplacement dernier = *m_dernierDeplacement;
    QString erreur;
    const auto stockee = Requetes::reservation(m_contexte->BaseOuverte, dernier.numero, &erreur);
    if (!stockee) {
        m_dernierDeplacement.reset();
        avertir(this, QStringLiteral("La réservation %1 n'a pas pu être relue : le déplacement n'est pas annulé.\n%2")
                          .arg(dernier.numero)
                          .arg(erreur));
        return;
    }
    if (stockee->version != dernier.version) {
        m_dernierDeplacement.reset();
        avertir(this, QStringLiteral("La réservation %1 a été modifiée depuis son déplacement (sur ce poste ou un "
                                     "autre) : le déplacement ne peut plus être annulé.")
                          .arg(dernier.numero));
        return;
    }
    enregistrerDeplacement(*stockee, dernier.objet, dernier.debut, dernier.fin, true);
}
