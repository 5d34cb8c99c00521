#include "horloge.h"

#include "dates.h"

#include <QElapsedTimer>

namespace Horloge {

namespace {
QDateTime g_fixe;
}

QDateTime maintenant()
{
    if (g_fixe.isValid())
        return g_fixe;
    const QDateTime local = QDateTime::currentDateTime();
    return Dates::naive(local.date(), local.time());
}

QDate aujourdhui()
{
    return maintenant().date();
}

qint64 millisecondes()
{
    if (g_fixe.isValid())
        return g_fixe.toMSecsSinceEpoch();
    // Steady: a change of the system's time does not stretch a press.
    static QElapsedTimer compteur = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return compteur.elapsed();
}

void fixer(const QDateTime& moment)
{
    g_fixe = Dates::naive(moment.date(), moment.time());
}

void liberer()
{
    g_fixe = QDateTime();
}

} // namespace Horloge
