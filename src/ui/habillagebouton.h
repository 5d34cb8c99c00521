#pragma once
// The skin of the program's push buttons: one picture of five cells of
// 18 x 21 pixels side by side (normal, pressed, disabled, pointer over,
// highlighted), drawn by code, and the nine-slice stretch that lays a cell
// over a button of any size with fixed 3-pixel corners and edges.
#include <QImage>
#include <QRect>
#include <QSize>
#include <array>

namespace HabillageBouton {

constexpr int kLargeurCellule = 18;
constexpr int kHauteurCellule = 21;
constexpr int kNbCellules = 5;
constexpr int kMarge = 3;   // width of the corners and edges

enum Cellule : int {
    Normale = 0,      // base look
    Enfoncee = 1,     // mouse button down
    Desactivee = 2,   // disabled
    Survolee = 3,     // pointer over the button
    Eclairee = 4,     // highlighted base look
};

// The 90 x 21 skin, 8 bits per pixel with a palette. The outermost corner
// pixels are transparent so that the button's rounded corners show the
// window behind it. Built once.
const QImage& Image();

// One piece of the nine-slice stretch: a rectangle of the cell and where it
// goes on the surface.
struct Morceau {
    QRect source;
    QRect destination;
};

// The nine pieces in drawing order (corners, then edges, then centre) for a
// surface of largeur x hauteur pixels. On a surface narrower or lower than
// two margins the edges and the centre get an empty extent, never a
// negative one.
std::array<Morceau, 9> Morceaux(int largeur, int hauteur);

// A cell (18 x 21) stretched over a surface of the given size. Stretched
// pieces are smoothed so that the face's shading stays even.
QImage Etirer(const QImage& cellule, const QSize& taille);

} // namespace HabillageBouton

// Holds a picture made of rows x columns equal cells and returns any cell.
class PictureClip
{
public:
    PictureClip(const QImage& image, int rows, int cols);

    int Rows() const { return m_rows; }
    int Cols() const { return m_cols; }
    const QImage& Picture() const { return m_image; }
    // Cell k, counted row by row from 0; a null image out of range.
    QImage GraphicCell(int k) const;

private:
    QImage m_image;
    int m_rows;
    int m_cols;
};
