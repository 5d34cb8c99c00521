// The calendar's drawing: the day headers and columns, the unit rows and
// their bars, and the step of the days that moves the grid's picture
// instead of painting it all again (held day buttons, drag).
#include "form1.h"

#include "surface.h"
#include "trace.h"

#include "store/contexte.h"
#include "store/horloge.h"
#include "store/requetes.h"

#include <QFontMetrics>


void Form1::decalerJours(qint64 jours)
{
    const QDate avant = datedepart;
    datedepart = datedepart.addDays(jours);
    const qint64 dx = -jours * LargeurJour;
    // The picture must still be the one of the day before, at the same
    // size and rows, with the present moment's line in its place, and the
    // database unchanged since.
    const bool memeDessin = m_dessin.datedepart == avant && m_dessin.premiereLigne == premiereLigne
        && m_dessin.taille == planning->size()
        && Grille::marqueAujourdhui(m_dessin.moment, avant, LargeurJour, planning->width())
            == Grille::marqueAujourdhui(Horloge::maintenant(), avant, LargeurJour, planning->width());
    if (!memeDessin || jours == 0 || std::abs(dx) >= planning->width() || !m_contexte
        || !m_contexte->BaseOuverte.isOpen()) {
        rafraichir();
        return;
    }
    const auto unites = m_lecture.unites(m_contexte->BaseOuverte);
    if (!m_lecture.depuisMemoire() || !unites || unites->isEmpty() || unites->size() != m_nbUnites) {
        rafraichir();
        return;
    }
    Decalage d;
    for (const Grille::Barre& b : std::as_const(m_barres))
        d.bandes.insert(b.reservation.numero, {b.r.y1, b.r.y2, b.chevauche});
    const int largeur = planning->width();
    const int hauteur = planning->height();
    planning->image().scroll(int(dx), 0, planning->image().rect());
    d.dx = int(dx);
    d.bande = dx < 0 ? QRect(largeur + int(dx), 0, int(-dx), hauteur + 1) : QRect(0, 0, int(dx), hauteur + 1);

    for (Surface* s : {TexteColonnes, lesmois})
        s->effacer();
    afficherMoisAnnee();
    int nbColonnes = 0;
    dessinerEntete(largeur, hauteur, &nbColonnes, &d);
    dessinerLignes(unites, largeur, nbColonnes, &d);
    if (d.autreBande) {
        rafraichir();
        return;
    }
    for (Surface* s : {planning, TexteColonnes, lesmois})
        s->update();
    m_dessin = {datedepart, premiereLigne, planning->size(), Horloge::maintenant()};
    montrerChoix();
}

void Form1::dessinerEntete(int largeurPlanning, int hauteurPlanning, int* colonnesDessinees,
                           const Decalage* decalage)
{
    const Grille::Entete e = Grille::entete(datedepart, largeurPlanning, LargeurJour, Horloge::aujourdhui());
    {
        Pinceau p(lesmois);
        Trace::peindreMois(p, e, lesmois->height());
    }
    {
        Pinceau p(TexteColonnes);
        Trace::peindreJours(p, e, LargeurJour, TexteColonnes->height());
    }
    {
        Pinceau p(planning);
        if (decalage) {
            p.setClipRect(decalage->bande);
            p.fillRect(decalage->bande, planning->fond());
        }
        Trace::peindreColonnes(p, e, LargeurJour, hauteurPlanning);
    }
    *colonnesDessinees = int(e.colonnes.size());
}

void Form1::dessinerLignes(const std::optional<QList<Requetes::Objet>>& unites, int largeurPlanning,
                           int nbColonnes, Decalage* decalage)
{
    m_barres.clear();
    reservation_courante = 0;
    if (!m_contexte || !m_contexte->BaseOuverte.isOpen())
        return;
    const QSqlDatabase& base = m_contexte->BaseOuverte;

    // A step of the days leaves the unit names as they are.
    std::optional<Pinceau> objets;
    if (!decalage)
        objets.emplace(Objets);
    Pinceau grille(planning);
    if (decalage)
        grille.setClipRect(decalage->bande);
    // The grid's top line, unless a scrolled row's lower line takes its place.
    if (objets)
        Trace::peindreLigne(*objets, 0, Objets->width());
    Trace::peindreLigne(grille, 0, largeurPlanning);

    if (!unites)
        return;   // no units table: no rows, nothing else to read
    if (unites->isEmpty()) {
        if (!objets)
            return;
        // A first start: the strip tells where units are made.
        objets->setPen(Qt::black);
        objets->drawText(QRect(2, 2, Objets->width() - 4, Objets->height() - 4),
                        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, Grille::texteAucunLogement());
        return;
    }
    m_nomsUnites.clear();
    for (const Requetes::Objet& unite : *unites)
        m_nomsUnites.insert(unite.numero, unite.nom.toString());
    const QDate avant = datedepart.addDays(nbColonnes);
    const QDateTime finMinimale = Grille::finMinimaleVisible(datedepart, LargeurJour);
    // One statement for every row; should it fail, each unit is read alone.
    const auto toutes = m_lecture.reservations(base, avant, finMinimale);
    const int hauteur = planning->height();
    const int hauteurTexte = QFontMetrics(Objets->font()).height();
    for (int ligne = 0; ligne < unites->size(); ++ligne) {
        const Requetes::Objet& unite = unites->at(ligne);
        const int y = Grille::hautLigne(ligne, premiereLigne, HauteurLigne);
        // Rows scrolled out of sight keep their bars (for the blinking and
        // the table of bars) but cost no painting.
        const bool visible = Grille::ligneVisible(y, HauteurLigne, hauteur);
        if (visible && objets) {
            objets->setPen(Qt::black);
            Trace::ecrire(*objets, 0, Grille::hautTexteCentre(y, HauteurLigne, hauteurTexte), unite.nom.toString());
            Trace::peindreLigne(*objets, y + HauteurLigne, Objets->width());
        }
        if (visible)
            Trace::peindreLigne(grille, y + HauteurLigne, largeurPlanning);
        // A unit whose reservations cannot be read keeps an empty row.
        const auto lignes = toutes ? std::optional(toutes->value(unite.numero))
                                   : Requetes::reservationsDeObjet(base, unite.numero, avant, finMinimale);
        if (!lignes)
            continue;
        QList<Grille::Barre> rangee;
        rangee.reserve(lignes->size());
        for (const Requetes::ReservationPlanning& r : *lignes)
            if (!r.reservation.annulee())
                rangee.append(Grille::barreDepuis(r, datedepart, LargeurJour, HauteurLigne, y));
        Grille::partagerChevauchements(rangee, HauteurLigne);
        // Shown cancellations lie over the row as they are, after the stays.
        if (m_annulations)
            for (const Requetes::ReservationPlanning& r : *lignes)
                if (r.reservation.annulee())
                    rangee.append(Grille::barreDepuis(r, datedepart, LargeurJour, HauteurLigne, y));
        for (const Grille::Barre& b : std::as_const(rangee)) {
            m_barres.append(b);
            if (b.reservation.numero == reservation_encours)
                reservation_courante = qint32(m_barres.size());
            if (!visible)
                continue;
            if (decalage) {
                const auto avant = decalage->bandes.constFind(b.reservation.numero);
                if (avant != decalage->bandes.cend() && *avant != std::tuple(b.r.y1, b.r.y2, b.chevauche))
                    decalage->autreBande = true;
            }
            if (!decalage) {
                Trace::peindreBarre(grille, b, etiquette(b), Grille::couleurTexte(b.couleur));
            } else if (Grille::etiquetteDeplacee(b.r, decalage->dx)) {
                // Its label starts at the left edge before or after the step.
                grille.setClipping(false);
                Trace::peindreBarre(grille, b, etiquette(b), Grille::couleurTexte(b.couleur));
                grille.setClipRect(decalage->bande);
            } else if (b.r.x1 <= decalage->bande.right() && decalage->bande.left() <= b.r.x2 + 1) {
                Trace::peindreBarre(grille, b, etiquette(b), Grille::couleurTexte(b.couleur));
            }
        }
    }
    grille.setClipping(false);
    // The present moment over the bars: today's column shows on every row.
    if (const auto x = Grille::marqueAujourdhui(Horloge::maintenant(), datedepart, LargeurJour, largeurPlanning))
        Trace::peindreMarque(grille, *x, hauteur);
}
