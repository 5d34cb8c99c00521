#include "trace.h"

#include "ajustement.h"
#include "ui/graphique.h"

#include <QFontInfo>

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QStaticText>
#include <algorithm>
#include <optional>
#include <unordered_map>
#include <cmath>

namespace Trace {

namespace {

const QColor kSeparationMois(136, 136, 136);
const QColor kTrait(128, 128, 128);
const QColor kOmbre(192, 192, 192);       // Saturdays and Sundays
const QColor kAujourdhui(204, 228, 255);   // today's day header
const QColor kMarque(0, 84, 200);          // the present moment in the grid
const QColor kChevauchement(139, 0, 0);    // frame of a double booking
// The smallest text the calendar writes, in pixels: below it nothing is written.
constexpr int kTailleMinimale = 6;

// Both corners included, in either order; kept near the surface so that a
// stay of long ago does not ask the painter for millions of pixels.
QRect rectanglePlein(const QPainter& p, int x1, int y1, int x2, int y2)
{
    const QRect r = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
    const QRect surface(-2, -2, p.device()->width() + 4, p.device()->height() + 4);
    return r.intersected(surface);
}

// The calendar writes the same few hundred texts at every refresh (names,
// day headers, labels): each is laid out once per font and kept.
const QStaticText& texteFige(const QPainter& p, const QString& texte)
{
    struct Police {
        QFont police;
        QHash<QString, QStaticText> textes;
    };
    static QList<Police> polices;
    const QFont& police = p.font();
    auto it = std::find_if(polices.begin(), polices.end(), [&](const Police& x) { return x.police == police; });
    if (it == polices.end()) {
        if (polices.size() >= 8)
            polices.clear();
        polices.append({police, {}});
        it = polices.end() - 1;
    }
    auto t = it->textes.constFind(texte);
    if (t == it->textes.cend()) {
        if (it->textes.size() >= 5000)
            it->textes.clear();
        QStaticText fige(texte);
        fige.setTextFormat(Qt::PlainText);
        fige.setPerformanceHint(QStaticText::AggressiveCaching);
        fige.prepare(QTransform(), police);
        t = it->textes.insert(texte, fige);
    }
    return *t;
}

int tailleDe(const QFont& police)
{
    return QFontInfo(police).pixelSize();
}

// The face at that many pixels; the face itself at its own size (a size in
// points may fall between two pixel sizes).
QFont enTaille(QFont police, int taille)
{
    if (tailleDe(police) != taille)
        police.setPixelSize(taille);
    return police;
}

// The sizes of texts in the painter's face at any pixel size; the metrics
// of each size are made once.
Ajustement::Mesure mesureDe(const QFont& police)
{
    struct Metriques {
        QFont police;
        QFontMetrics fm;
    };
    static QList<Metriques> connues;
    const auto metriques = [police](int taille) -> const QFontMetrics& {
        const QFont f = enTaille(police, taille);
        for (const Metriques& m : std::as_const(connues))
            if (m.police == f)
                return m.fm;
        if (connues.size() >= 32)
            connues.clear();
        connues.append({f, QFontMetrics(f)});
        return connues.constLast().fm;
    };
    return {[metriques](const QString& texte, int taille) { return metriques(taille).horizontalAdvance(texte); },
            [metriques](int taille) { return metriques(taille).height(); },
            [metriques](const QString& texte, int taille) { return metriques(taille).tightBoundingRect(texte).height(); }};
}

// A label in a band lower than a line: its letters centred on the band's
// height, as they fit it whole.
void ecrireDansBande(QPainter& p, const Grille::Rectangle& r, const QString& texte)
{
    const QFontMetrics fm = p.fontMetrics();
    const QRect encre = fm.tightBoundingRect(texte);
    const int hauteur = r.y2 - r.y1 + 1;
    const int ligneDeBase = r.y1 + (hauteur - encre.height()) / 2 - encre.top();
    p.save();
    p.setClipRect(QRect(QPoint(r.x1, r.y1), QPoint(r.x2, r.y2)), Qt::IntersectClip);
    p.drawText(QPoint(std::max(r.x1, 0), ligneDeBase), texte);
    p.restore();
}

// What a bar writes, chosen once per label, room and face (the calendar
// draws the same bars at every refresh): the text, the pixel size when it is
// not the face's own (0 otherwise), and whether its line is higher than the
// room (a band: its letters alone fit).
struct Etiquette {
    QString texte;
    int taille = 0;
    bool bande = false;
};

const Etiquette& etiquetteChoisie(const QPainter& p, const QString& libelle, const Grille::Barre& b, int largeur,
                                  int hauteur)
{
    struct Cle {
        QString libelle;
        QString client;
        int personnes, largeur, hauteur;
        bool operator==(const Cle&) const = default;
    };
    struct Hachage {
        size_t operator()(const Cle& c) const { return qHashMulti(0, c.libelle, c.client, c.personnes, c.largeur, c.hauteur); }
    };
    static QFont police;
    static int tailleNormale = 0;
    static std::unordered_map<Cle, Etiquette, Hachage> choisies;
    if (police != p.font() || choisies.size() >= 5000) {
        police = p.font();
        tailleNormale = tailleDe(police);
        choisies.clear();
    }
    const int personnes = b.nbadultes + b.nbenfants;
    Cle cle{libelle, b.reservation.nomclient, personnes, largeur, hauteur};
    auto it = choisies.find(cle);
    if (it == choisies.end()) {
        const Ajustement::Choix c = Ajustement::etiquetteBarre(libelle, b.reservation.nomclient, personnes, largeur,
                                                               hauteur, tailleNormale, kTailleMinimale, mesureDe(police));
        Etiquette e{c.texte, c.taille == tailleNormale ? 0 : c.taille, false};
        if (!e.texte.isEmpty())
            e.bande = QFontMetrics(enTaille(police, c.taille)).height() > hauteur - 1;
        it = choisies.emplace(std::move(cle), e).first;
    }
    return it->second;
}

// The painter's font at `taille` pixels until the object goes.
class PoliceTemporaire
{
public:
    PoliceTemporaire(QPainter& p, int taille) : m_p(p), m_avant(p.font())
    {
        if (tailleDe(m_avant) != taille)
            p.setFont(enTaille(m_avant, taille));
    }
    ~PoliceTemporaire() { m_p.setFont(m_avant); }

private:
    QPainter& m_p;
    QFont m_avant;
};

} // namespace

void ecrire(QPainter& p, int x, int y, const QString& texte)
{
    if (!texte.isEmpty())
        p.drawStaticText(x, y, texteFige(p, texte));
}

void peindreMois(QPainter& p, const Grille::Entete& e, int hauteur)
{
    // The lines first: a label wider than its span stays readable.
    for (int x : e.separations)
        p.fillRect(x, 0, 1, hauteur + 1, kSeparationMois);
    const QFontMetrics fm = p.fontMetrics();
    p.setPen(Qt::black);
    const int y = int(std::nearbyint((hauteur - fm.height()) / 2.0));
    for (const Ajustement::PlaceMois& m :
         Ajustement::placesMois(e, p.device()->width(), tailleDe(p.font()), mesureDe(p.font())))
        ecrire(p, m.x, y, m.texte);
}

void peindreJours(QPainter& p, const Grille::Entete& e, int largeurJour, int hauteur)
{
    // One form and size for the whole header, chosen again only when the
    // column width or the face changes.
    static struct {
        QFont police;
        int largeurJour = -1;
        int hauteur = -1;
        Ajustement::FormeEntete forme;
    } choix;
    if (choix.police != p.font() || choix.largeurJour != largeurJour || choix.hauteur != hauteur) {
        choix.police = p.font();
        choix.largeurJour = largeurJour;
        choix.hauteur = hauteur;
        // The bold face of today's header is a little wider: it decides.
        QFont grasse = p.font();
        grasse.setBold(true);
        choix.forme = Ajustement::formeJours(largeurJour, hauteur, tailleDe(p.font()), kTailleMinimale, mesureDe(grasse));
    }
    const PoliceTemporaire taille(p, choix.forme.taille);
    const int ligne = p.fontMetrics().height();
    const QFont normale = p.font();
    for (const Grille::Colonne& c : e.colonnes) {
        if (c.aujourdhui) {
            p.fillRect(c.x, 0, largeurJour, hauteur + 1, kAujourdhui);
            QFont grasse = normale;
            grasse.setBold(true);
            p.setFont(grasse);
        }
        p.fillRect(c.x, 0, 1, hauteur + 1, kTrait);
        p.setPen(Qt::black);
        ecrire(p, c.x + 1, 0, Ajustement::nomJour(c.jour, choix.forme.forme));
        ecrire(p, c.x + 1, ligne, c.numeroJour);
        if (c.aujourdhui)
            p.setFont(normale);
    }
}

void peindreColonnes(QPainter& p, const Grille::Entete& e, int largeurJour, int hauteur)
{
    // Lines as one-pixel fills: the painter's quickest way.
    for (const Grille::Colonne& c : e.colonnes) {
        if (c.ombre)
            p.fillRect(c.x, 0, largeurJour + 1, hauteur + 1, kOmbre);
        p.fillRect(c.x, 0, 1, hauteur + 1, kTrait);
    }
}

void peindreMarque(QPainter& p, int x, int hauteur)
{
    p.fillRect(x, 0, 2, hauteur + 1, kMarque);
}

void peindreLigne(QPainter& p, int y, int largeur)
{
    p.fillRect(0, y, largeur + 1, 1, kTrait);
}

void ecrireDans(QPainter& p, const Grille::Rectangle& r, const QString& texte)
{
    if (texte.isEmpty())
        return;
    // Placed as the graphics module places a bar's text: left, centred
    // vertically, cut at the rectangle's edges.
    const QStaticText& fige = texteFige(p, texte);
    const QRect place = Graphique::RectangleTexte(fige.size().width(), p.fontMetrics().height(),
                                                  r.x1, r.y1, r.x2, r.y2, 10);
    if (place.isEmpty())
        return;
    const QFontMetrics fm = p.fontMetrics();
    QPoint coin = place.topLeft();
    // A band lower than the text (a double booking) keeps the letters above
    // the line whole and drops what hangs below it.
    if (place.height() < fm.height())
        coin.setY(r.y2 - fm.ascent());
    const bool coupe = place.width() < fige.size().width() || place.height() < fm.height();
    if (coupe) {
        p.save();
        p.setClipRect(place, Qt::IntersectClip);
    }
    p.drawStaticText(coin, fige);
    if (coupe)
        p.restore();
}

void peindreBarre(QPainter& p, const Grille::Barre& b, const QString& libelle, const QColor& texte)
{
    const QRect plein = rectanglePlein(p, b.r.x1, b.r.y1, b.r.x2, b.r.y2);
    if (plein.isEmpty())
        return;   // wholly outside the surface, label included
    p.fillRect(plein, Grille::couleurDepuisBGR(b.couleur));
    // A cancelled stay: hatched over its colour.
    if (b.reservation.annulee())
        p.fillRect(plein, QBrush(Qt::white, Qt::BDiagPattern));
    p.setPen(texte);
    // The label, or a shorter form of it, in a size that fits the bar or its
    // band whole.
    Grille::Rectangle place = Grille::rectangleEtiquette(b.r);
    // A framed bar keeps its letters off the frame.
    if (b.chevauche)
        place = {place.x1 + 2, place.y1 + 1, place.x2 - 1, place.y2 - 1};
    const Etiquette& e = etiquetteChoisie(p, libelle, b, place.x2 - place.x1, place.y2 - place.y1 + 1);
    if (!e.texte.isEmpty()) {
        std::optional<PoliceTemporaire> taille;
        if (e.taille != 0)
            taille.emplace(p, e.taille);
        if (e.bande)
            ecrireDansBande(p, place, e.texte);
        else
            ecrireDans(p, place, e.texte);
    }
    // The frame last, whole over the label.
    if (b.chevauche) {
        p.setPen(kChevauchement);
        p.drawRect(plein.adjusted(0, 0, -1, -1));
    }
}

} // namespace Trace
