#pragma once
// Where the receipt's ribbon and lines go: pure arithmetic, no widget, so
// that the receipt control only paints what is computed here.
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

namespace MiseEnPageTicket {

// Height of an empty ribbon: the blank margin above the first line.
constexpr int kHauteurVide = 10;

// Number of lines of a text: every CR LF, LF or lone CR starts a new line;
// an empty text is still one (empty) line.
int nombreDeLignes(const QString& texte);

// Where a line of height h goes on a ribbon of the given height, and the
// ribbon's height once the line is added (the line plus the gap below it).
struct Ajout {
    int hauteurRuban = 0;
    int x = 0;
    int y = 0;
};
Ajout ajouter(int hauteurRuban, int h, int interligne);

// Height of a ribbon holding lines of these heights.
int hauteurRuban(std::initializer_list<int> hauteurs, int interligne);

// Placement on a resize: the ribbon keeps its top and height, spans the inner
// width less a margin on each side; the strips span the whole inner width,
// one on the top edge and one on the bottom edge.
struct Disposition {
    QRect ruban;
    QRect haut;
    QRect bas;
};
Disposition disposer(const QSize& interieur, int marge, const QRect& ruban, int hauteurHaut, int hauteurBas);

// Top of the ribbon when its last line sits just above the bottom strip.
int hautAligne(int hauteurInterieure, int hauteurRuban, int hauteurBas);

// One tick of the re-alignment: the new top of the ribbon, or nullopt when it
// is already in place (the timer can then slow down).
std::optional<int> realigner(int hautActuel, int hauteurInterieure, int hauteurRuban, int hauteurBas);

// One tick of the scroll: the ribbon moves up by the step (down when negative).
constexpr int defiler(int hautActuel, int pas) { return hautActuel - pas; }

} // namespace MiseEnPageTicket
