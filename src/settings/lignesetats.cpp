#include "lignesetats.h"

namespace LignesEtats {

std::optional<QColor> CouleurDepuisValeur(const QVariant& valeur)
{
    if (valeur.isNull() || !valeur.isValid())
        return std::nullopt;
    bool ok = false;
    const qlonglong v = valeur.toLongLong(&ok);
    if (!ok || v < 0 || v > 0xFFFFFF)
        return std::nullopt;
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

qint32 ValeurDepuisCouleur(const QColor& couleur)
{
    const QColor c = couleur.toRgb();
    return qint32(c.red()) | (qint32(c.green()) << 8) | (qint32(c.blue()) << 16);
}

Qt::CheckState CaseInternet(const QVariant& valeur)
{
    if (valeur.isNull() || !valeur.isValid())
        return Qt::Unchecked;
    bool ok = false;
    const qlonglong v = valeur.toLongLong(&ok);
    if (!ok)
        return Qt::Unchecked;
    switch (v) {
    case 1:
        return Qt::Checked;
    case 2:
        return Qt::PartiallyChecked;
    default:
        return Qt::Unchecked;
    }
}

QRect PositionLigne(const QRect& element0, int i)
{
    return element0.translated(0, i * element0.height());
}

int HauteurFond(const QRect& element0, int n, int hauteurDessin)
{
    if (n <= 0)
        return hauteurDessin;
    const QRect derniere = PositionLigne(element0, n - 1);
    return derniere.top() + derniere.height();
}

} // namespace LignesEtats
