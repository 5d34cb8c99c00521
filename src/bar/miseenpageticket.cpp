#include "miseenpageticket.h"

namespace MiseEnPageTicket {

int nombreDeLignes(const QString& texte)
{
    int lignes = 1;
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const QChar c = texte.at(i);
        if (c == QLatin1Char('\r')) {
            ++lignes;
            if (i + 1 < texte.size() && texte.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            ++lignes;
        }
    }
    return lignes;
}

Ajout ajouter(int hauteurRuban, int h, int interligne)
{
    Ajout a;
    a.hauteurRuban = h + hauteurRuban + interligne;
    a.y = a.hauteurRuban - h - interligne;
    a.x = interligne;
    return a;
}

int hauteurRuban(std::initializer_list<int> hauteurs, int interligne)
{
    int hauteur = kHauteurVide;
    for (int h : hauteurs)
        hauteur = ajouter(hauteur, h, interligne).hauteurRuban;
    return hauteur;
}

Disposition disposer(const QSize& interieur, int marge, const QRect& ruban, int hauteurHaut, int hauteurBas)
{
    Disposition d;
    // A control narrower than both margins gets an empty ribbon, never a
    // negative width.
    d.ruban = QRect(marge, ruban.top(), qMax(0, interieur.width() - marge * 2), ruban.height());
    d.haut = QRect(0, 0, interieur.width(), hauteurHaut);
    d.bas = QRect(0, interieur.height() - hauteurBas, interieur.width(), hauteurBas);
    return d;
}

int hautAligne(int hauteurInterieure, int hauteurRuban, int hauteurBas)
{
    return hauteurInterieure - hauteurRuban - hauteurBas;
}

std::optional<int> realigner(int hautActuel, int hauteurInterieure, int hauteurRuban, int hauteurBas)
{
    const int cible = hautAligne(hauteurInterieure, hauteurRuban, hauteurBas);
    if (hautActuel == cible)
        return std::nullopt;
    return cible;
}

} // namespace MiseEnPageTicket
