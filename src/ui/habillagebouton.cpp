#include "habillagebouton.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QPainter>
#include <algorithm>

namespace HabillageBouton {

namespace {

constexpr int W = kLargeurCellule;
constexpr int H = kHauteurCellule;

const QColor kCadre(0, 60, 116);
const QColor kArrondi(122, 149, 168);   // blue-grey between frame and face
const QColor kCadreGris(201, 199, 186);
const QColor kFaceGrise(245, 244, 234);

QColor melange(const QColor& a, const QColor& b, double t)
{
    return QColor(int(a.red() + (b.red() - a.red()) * t + 0.5),
                  int(a.green() + (b.green() - a.green()) * t + 0.5),
                  int(a.blue() + (b.blue() - a.blue()) * t + 0.5));
}

// Face colour of row y (1..19) of the normal look: white under the top frame,
// greying to the middle, nearly flat below, and three darker rows at the foot.
QColor faceNormale(int y)
{
    const QColor haut(255, 255, 255), milieu(243, 243, 239), bas(240, 240, 234);
    switch (y) {
    case 17: return QColor(236, 235, 230);
    case 18: return QColor(226, 223, 214);
    case 19: return QColor(214, 208, 197);
    default: break;
    }
    if (y <= 10)
        return melange(haut, milieu, double(y - 1) / 9.0);
    return melange(milieu, bas, double(y - 10) / 6.0);
}

QColor faceEnfoncee(int y)
{
    switch (y) {
    case 1: return QColor(209, 204, 193);
    case 2: return QColor(220, 216, 207);
    case 18: return QColor(234, 233, 227);
    case 19: return QColor(242, 241, 238);
    default: return QColor(226, 225, 218);
    }
}

// A cell with a 1-pixel frame rounded at the corners, filled row by row.
template <typename Face>
QImage cellule(const QColor& cadre, const QColor& arrondi, Face face)
{
    QImage c(W, H, QImage::Format_ARGB32);
    c.fill(Qt::transparent);
    for (int y = 1; y < H - 1; ++y)
        for (int x = 1; x < W - 1; ++x)
            c.setPixelColor(x, y, face(y));
    for (int x = 2; x < W - 2; ++x) {
        c.setPixelColor(x, 0, cadre);
        c.setPixelColor(x, H - 1, cadre);
    }
    for (int y = 2; y < H - 2; ++y) {
        c.setPixelColor(0, y, cadre);
        c.setPixelColor(W - 1, y, cadre);
    }
    // Each corner: the outermost pixel stays transparent, its two
    // neighbours soften the curve and the diagonal pixel closes the frame.
    const QPoint coins[] = {{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}};
    for (const QPoint& p : coins) {
        const int dx = p.x() == 0 ? 1 : -1;
        const int dy = p.y() == 0 ? 1 : -1;
        c.setPixelColor(p.x() + dx, p.y(), arrondi);
        c.setPixelColor(p.x(), p.y() + dy, arrondi);
        c.setPixelColor(p.x() + dx, p.y() + dy, cadre);
    }
    return c;
}

// Adds a 2-pixel inner frame (top rows, sides, bottom rows) to a cell.
void cadreInterieur(QImage& c, const QColor& haut1, const QColor& haut2, const QColor& cote,
                    const QColor& bas1, const QColor& bas2)
{
    for (int x = 2; x < W - 2; ++x) {
        c.setPixelColor(x, 1, haut1);
        c.setPixelColor(x, 2, haut2);
        c.setPixelColor(x, H - 3, bas1);
        c.setPixelColor(x, H - 2, bas2);
    }
    for (int y = 2; y < H - 2; ++y) {
        if (y == 2 || y == H - 3) {
            c.setPixelColor(1, y, cote);
            c.setPixelColor(W - 2, y, cote);
            continue;
        }
        for (int x : {1, 2, W - 3, W - 2})
            c.setPixelColor(x, y, cote);
    }
}

// Keeps the picture as 8 bits with a palette, as every skin of the program.
QImage enPalette(const QImage& argb)
{
    QList<QRgb> palette;
    QHash<QRgb, int> index;
    QList<int> indices;
    indices.reserve(qsizetype(argb.width()) * argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = argb.pixel(x, y);
            auto it = index.constFind(p);
            if (it == index.constEnd()) {
                it = index.insert(p, int(palette.size()));
                palette.append(p);
            }
            indices.append(*it);
        }
    }
    QImage resultat(argb.size(), QImage::Format_Indexed8);
    resultat.setColorTable(palette);
    qsizetype n = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            resultat.setPixel(x, y, uint(indices.at(n++)));
    return resultat;
}

QImage construireImage()
{
    QImage normale = cellule(kCadre, kArrondi, faceNormale);
    QImage enfoncee = cellule(kCadre, kArrondi, faceEnfoncee);
    QImage desactivee = cellule(kCadreGris, QColor(255, 255, 255), [](int) { return kFaceGrise; });
    QImage survolee = normale;
    cadreInterieur(survolee, QColor(255, 240, 207), QColor(253, 216, 137), QColor(252, 202, 105),
                   QColor(248, 179, 48), QColor(229, 151, 0));
    QImage eclairee = normale;
    cadreInterieur(eclairee, QColor(206, 231, 255), QColor(188, 212, 246), QColor(160, 190, 236),
                   QColor(137, 173, 228), QColor(105, 130, 238));

    QImage tout(W * kNbCellules, H, QImage::Format_ARGB32);
    tout.fill(Qt::transparent);
    QPainter p(&tout);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    const QImage* cellules[kNbCellules] = {&normale, &enfoncee, &desactivee, &survolee, &eclairee};
    for (int k = 0; k < kNbCellules; ++k)
        p.drawImage(k * W, 0, *cellules[k]);
    p.end();
    return enPalette(tout);
}

} // namespace

const QImage& Image()
{
    static const QImage image = construireImage();
    return image;
}

std::array<Morceau, 9> Morceaux(int largeur, int hauteur)
{
    const int m = kMarge;
    const int l = std::max(0, largeur - 2 * m);   // stretched width
    const int h = std::max(0, hauteur - 2 * m);   // stretched height
    const int droite = largeur - m;
    const int bas = hauteur - m;
    const int cx = W - m;   // 15: right margin of the cell
    const int cy = H - m;   // 18: bottom margin of the cell
    const int cl = W - 2 * m;
    const int ch = H - 2 * m;
    return {{
        {QRect(0, 0, m, m), QRect(0, 0, m, m)},
        {QRect(cx, 0, m, m), QRect(droite, 0, m, m)},
        {QRect(cx, cy, m, m), QRect(droite, bas, m, m)},
        {QRect(0, cy, m, m), QRect(0, bas, m, m)},
        {QRect(m, 0, cl, m), QRect(m, 0, l, m)},
        {QRect(cx, m, m, ch), QRect(droite, m, m, h)},
        {QRect(0, m, m, ch), QRect(0, m, m, h)},
        {QRect(m, cy, cl, m), QRect(m, bas, l, m)},
        {QRect(m, m, cl, ch), QRect(m, m, l, h)},
    }};
}

QImage Etirer(const QImage& cellule, const QSize& taille)
{
    QImage surface(taille.expandedTo(QSize(0, 0)), QImage::Format_ARGB32_Premultiplied);
    if (surface.isNull())
        return surface;
    surface.fill(Qt::transparent);
    const QImage source = cellule.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&surface);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (const Morceau& m : Morceaux(taille.width(), taille.height())) {
        if (m.destination.isEmpty())
            continue;
        // Each piece is cut out before scaling so that smoothing never
        // borrows pixels from the neighbouring piece.
        QImage piece = source.copy(m.source);
        if (piece.size() != m.destination.size())
            piece = piece.scaled(m.destination.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        p.drawImage(m.destination.topLeft(), piece);
    }
    return surface;
}

} // namespace HabillageBouton

PictureClip::PictureClip(const QImage& image, int rows, int cols)
    : m_image(image), m_rows(std::max(1, rows)), m_cols(std::max(1, cols))
{
}

QImage PictureClip::GraphicCell(int k) const
{
    if (k < 0 || k >= m_rows * m_cols || m_image.isNull())
        return QImage();
    const int l = m_image.width() / m_cols;
    const int h = m_image.height() / m_rows;
    return m_image.copy((k % m_cols) * l, (k / m_cols) * h, l, h);
}
