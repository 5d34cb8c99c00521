#include "positionfenetre.h"

#include "store/conversion.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace PositionFenetre {

namespace {

constexpr int kTwipsParPixel = 15;
// Far beyond any screen, yet safe to turn into pixels.
constexpr double kLimite = 1.0e7;
constexpr int kLargeurSaisie = 40;   // a strip of the title bar the pointer can grab
constexpr int kHauteurSaisie = 20;

int enPixels(double twips)
{
    const double pixels = std::clamp(twips / kTwipsParPixel, -kLimite, kLimite);
    return int(std::lround(pixels));
}

bool saisissable(const QRect& r, const QRect& zone)
{
    const QRect bandeau(r.left(), r.top(), r.width(), std::min(kHauteurSaisie, r.height()));
    const QRect visible = bandeau.intersected(zone);
    return !visible.isEmpty() && visible.height() == bandeau.height() &&
           visible.width() >= std::min(kLargeurSaisie, r.width());
}

qint64 aire(const QRect& r)
{
    return r.isEmpty() ? 0 : qint64(r.width()) * r.height();
}

} // namespace

QString TexteSimple(float valeur)
{
    if (!std::isfinite(valeur))
        return QStringLiteral("0");
    QString texte = QString::number(double(valeur), 'f', 3);
    while (texte.endsWith(QLatin1Char('0')))
        texte.chop(1);
    if (texte.endsWith(QLatin1Char('.')))
        texte.chop(1);
    return texte == QLatin1String("-0") ? QStringLiteral("0") : texte;
}

QString EcrirePositions(const QRect& pixels)
{
    const float valeurs[] = {float(pixels.x()) * kTwipsParPixel, float(pixels.y()) * kTwipsParPixel,
                             float(pixels.width()) * kTwipsParPixel, float(pixels.height()) * kTwipsParPixel};
    QStringList champs;
    for (float v : valeurs)
        champs << TexteSimple(v);
    return champs.join(QLatin1Char('|'));
}

std::optional<QRect> LirePositions(const QString& texte)
{
    if (texte == QLatin1String("0"))
        return std::nullopt;
    int valeurs[4];
    for (int n = 0; n < 4; ++n)
        valeurs[n] = enPixels(Conversion::LireNombre(Conversion::ExtraireChamp(texte, QStringLiteral("|"), n + 1)));
    return QRect(valeurs[0], valeurs[1], valeurs[2], valeurs[3]);
}

std::optional<int> LireEtat(const QString& texte)
{
    const double valeur = Conversion::LireNombre(texte);
    const int etat = int(valeur);
    if (double(etat) != valeur || etat < 0 || etat > 2)
        return std::nullopt;
    return etat;
}

QRect Corriger(const QRect& voulu, const QList<QRect>& zones, const QSize& minimum)
{
    QRect r(voulu.topLeft(), voulu.size().expandedTo(minimum));
    if (zones.isEmpty())
        return r;

    // The area the window mostly lies on, or the first (main) one.
    QRect zone = zones.first();
    qint64 meilleure = 0;
    for (const QRect& z : zones) {
        const qint64 a = aire(r.intersected(z));
        if (a > meilleure) {
            meilleure = a;
            zone = z;
        }
    }
    r.setSize(r.size().boundedTo(zone.size()));

    for (const QRect& z : zones)
        if (saisissable(r, z))
            return r;
    const int x = std::clamp(r.x(), zone.left(), std::max(zone.left(), zone.left() + zone.width() - r.width()));
    const int y = std::clamp(r.y(), zone.top(), std::max(zone.top(), zone.top() + zone.height() - r.height()));
    r.moveTo(x, y);
    return r;
}

QRect PremierePlace(const QRect& zone, int pourcent)
{
    const int p = std::clamp(pourcent, 1, 100);
    const QSize taille(zone.width() * p / 100, zone.height() * p / 100);
    return QRect(zone.topLeft() + QPoint((zone.width() - taille.width()) / 2, (zone.height() - taille.height()) / 2),
                 taille);
}

} // namespace PositionFenetre
