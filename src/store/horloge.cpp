#include "horloge.h"

#include "dates.h"

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

void fixer(const QDateTime& moment)
{
    g_fixe = Dates::naive(moment.date(), moment.time());
}

void liberer()
{
    g_fixe = QDateTime();
}

} // namespace Horloge
