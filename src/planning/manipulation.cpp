#include "manipulation.h"

#include "store/dates.h"

#include <QRect>

void Manipulation::appuyerSurBarre(int barre, const Requetes::Reservation& r, int ligne, Deplacement::Prise prise,
                                   QPoint point, const Vue& vue)
{
    m_mode = Mode::Appui;
    m_barre = barre;
    m_reservation = r;
    m_prise = prise;
    m_mobile = !r.annulee() && r.debut.isValid() && r.fin.isValid() && r.debut < r.fin
        && prise != Deplacement::Prise::Aucune;
    m_origine = {ligne, r.debut, r.fin};
    m_cible = m_origine;
    m_appui = point;
    m_dernier = point;
    m_jourAppui = Deplacement::jourSous(point.x(), vue.datedepart, vue.largeurJour);
    m_ligneAppui = Deplacement::ligneSous(point.y(), vue.premiereLigne, vue.hauteurLigne);
}

void Manipulation::appuyerPourDessiner(int ligne, const QList<Deplacement::Occupation>& occupees, QPoint point,
                                       const Vue& vue)
{
    m_mode = Mode::Dessin;
    m_barre = 0;
    m_reservation = {};
    m_prise = Deplacement::Prise::Aucune;
    m_occupees = occupees;
    m_appui = point;
    m_dernier = point;
    m_jourAppui = Deplacement::jourSous(point.x(), vue.datedepart, vue.largeurJour);
    m_ligneAppui = ligne;
    m_trace = Deplacement::etendueLibre(m_occupees, m_jourAppui, m_jourAppui);
}

void Manipulation::suivre(QPoint point, const Vue& vue)
{
    m_dernier = point;
    const QDate jour = Deplacement::jourSous(point.x(), vue.datedepart, vue.largeurJour);
    if (m_mode == Mode::Dessin) {
        m_trace = Deplacement::etendueLibre(m_occupees, m_jourAppui, jour);
        return;
    }
    const int lignes = Deplacement::ligneSous(point.y(), vue.premiereLigne, vue.hauteurLigne) - m_ligneAppui;
    m_cible = Deplacement::appliquer(m_origine, m_prise, m_jourAppui.daysTo(jour), lignes, vue.nbLignes);
}

bool Manipulation::deplacer(QPoint point, const Vue& vue)
{
    switch (m_mode) {
    case Mode::Aucun:
        return false;
    case Mode::Appui:
        if (!m_mobile || !Deplacement::seuilDepasse(m_appui, point))
            return false;
        m_mode = m_prise == Deplacement::Prise::Corps ? Mode::Deplacement : Mode::Etirement;
        break;
    default:
        break;
    }
    const Deplacement::Sejour avant = cible();
    suivre(point, vue);
    return cible() != avant || m_mode != Mode::Dessin;
}

Manipulation::Fin Manipulation::relacher(QPoint point, const Vue& vue)
{
    Fin fin;
    const Mode mode = m_mode;
    const bool dedans = QRect(QPoint(0, 0), vue.taille).contains(point);
    if (mode == Mode::Appui && !Deplacement::seuilDepasse(m_appui, point)) {
        fin.action = Fin::Action::Ouvrir;
        fin.barre = m_barre;
    } else if ((mode == Mode::Deplacement || mode == Mode::Etirement) && dedans) {
        suivre(point, vue);
        if (m_cible != m_origine) {
            fin.action = Fin::Action::Enregistrer;
            fin.reservation = m_reservation;
            fin.avant = m_origine;
            fin.apres = m_cible;
        }
    } else if (mode == Mode::Dessin && dedans) {
        suivre(point, vue);
        if (m_trace.nuits > 0) {
            fin.action = Fin::Action::Proposer;
            fin.ligne = m_ligneAppui;
            fin.trace = m_trace;
        }
    }
    abandonner();
    return fin;
}

void Manipulation::abandonner()
{
    m_mode = Mode::Aucun;
    m_prise = Deplacement::Prise::Aucune;
    m_occupees.clear();
    m_trace = {};
}

Deplacement::Sejour Manipulation::cible() const
{
    if (m_mode != Mode::Dessin)
        return m_cible;
    const QDateTime debut = Dates::naive(m_trace.arrivee);
    return {m_ligneAppui, debut, debut.addDays(m_trace.nuits)};
}
