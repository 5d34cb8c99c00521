#include "deplacement.h"

#include "store/dates.h"

#include <algorithm>

namespace Deplacement {

int ligneSous(int y, int premiereLigne, int hauteurLigne)
{
    return premiereLigne + Grille::decalageGlisser(y, hauteurLigne);
}

QDate jourSous(int x, const QDate& datedepart, int largeurJour)
{
    return datedepart.addDays(Grille::decalageGlisser(x, largeurJour));
}

Prise priseSur(const Grille::Rectangle& r, int x, int y)
{
    if (r.x1 > r.x2 || x < r.x1 || x > r.x2 || y < r.y1 || y > r.y2)
        return Prise::Aucune;
    const int bord = std::min(kBord, (r.x2 - r.x1 + 1) / 3);
    if (x < r.x1 + bord)
        return Prise::Debut;
    if (x > r.x2 - bord)
        return Prise::Fin;
    return Prise::Corps;
}

bool seuilDepasse(QPoint appui, QPoint point)
{
    const QPoint d = point - appui;
    return d.x() * d.x() + d.y() * d.y() >= kSeuil * kSeuil;
}

Sejour appliquer(const Sejour& origine, Prise prise, qint64 jours, int lignes, int nbLignes)
{
    Sejour s = origine;
    switch (prise) {
    case Prise::Aucune:
        break;
    case Prise::Corps:
        s.debut = origine.debut.addDays(jours);
        s.fin = origine.fin.addDays(jours);
        s.ligne = std::clamp(origine.ligne + lignes, 0, std::max(0, nbLignes - 1));
        break;
    case Prise::Debut:
        if (jours != 0) {
            // The arrival stops one night before the departure.
            const QDate dernier = origine.fin.date().addDays(-1);
            const QDate jour = std::min(origine.debut.date().addDays(jours), dernier);
            s.debut = Dates::naive(jour, origine.debut.time());
        }
        break;
    case Prise::Fin:
        if (jours != 0) {
            const QDate premier = origine.debut.date().addDays(1);
            const QDate jour = std::max(origine.fin.date().addDays(jours), premier);
            s.fin = Dates::naive(jour, origine.fin.time());
        }
        break;
    }
    return s;
}

Grille::Rectangle fantome(const Sejour& s, const QDate& datedepart, int premiereLigne, int largeurJour,
                          int hauteurLigne)
{
    return Grille::rectangleBarre(s.debut, s.fin, datedepart, largeurJour, hauteurLigne,
                                  Grille::hautLigne(s.ligne, premiereLigne, hauteurLigne));
}

Pas defilementAuBord(QPoint point, QSize grille, int largeurJour, int hauteurLigne)
{
    auto sens = [](int v, int taille, int marge) {
        if (v < marge)
            return -1;
        if (v >= taille - marge)
            return 1;
        return 0;
    };
    Pas p;
    p.jours = sens(point.x(), grille.width(), std::max(1, largeurJour / 2));
    p.lignes = sens(point.y(), grille.height(), std::max(1, hauteurLigne / 2));
    return p;
}

Trace etendueLibre(const QList<Occupation>& occupees, const QDate& appui, const QDate& pointe)
{
    QDate debut = std::min(appui, pointe);
    QDate fin = std::max(appui, pointe);   // the last night drawn
    for (const Occupation& o : occupees) {
        if (!o.arrivee.isValid() || !o.depart.isValid() || o.depart <= o.arrivee)
            continue;   // no night taken
        if (o.arrivee <= appui && appui < o.depart)
            return {appui, 0};
        if (o.arrivee > appui)
            fin = std::min(fin, o.arrivee.addDays(-1));
        else
            debut = std::max(debut, o.depart);
    }
    return {debut, int(debut.daysTo(fin)) + 1};
}

QString texteCible(const QString& unite, const QDate& arrivee, const QDate& depart)
{
    const qint64 nuits = arrivee.daysTo(depart);
    return unite + QStringLiteral(" : du ") + Dates::jjmmaaaa(arrivee) + QStringLiteral(" au ")
        + Dates::jjmmaaaa(depart) + QStringLiteral(", ") + QString::number(nuits)
        + (nuits > 1 ? QStringLiteral(" nuits") : QStringLiteral(" nuit"));
}

QString libelleJournal(const QString& uniteAvant, const QDate& arriveeAvant, const QDate& departAvant,
                       const QString& uniteApres, const QDate& arriveeApres, const QDate& departApres, bool retour)
{
    auto sejour = [](const QString& unite, const QDate& a, const QDate& d) {
        return unite + QStringLiteral(" du ") + Dates::jjmmaaaa(a) + QStringLiteral(" au ") + Dates::jjmmaaaa(d);
    };
    return (retour ? QStringLiteral("Déplacement annulé : ") : QStringLiteral("Déplacement : "))
        + sejour(uniteAvant, arriveeAvant, departAvant) + QStringLiteral(" \u2192 ")
        + sejour(uniteApres, arriveeApres, departApres);
}

} // namespace Deplacement
