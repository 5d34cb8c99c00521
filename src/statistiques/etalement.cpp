#include "etalement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace Etalement {

qint64 Part(qint64 centimes, qint64 nuits, qint64 premiere, qint64 derniere)
{
    if (nuits <= 0)
        return 0;
    premiere = std::clamp<qint64>(premiere, 0, nuits);
    derniere = std::clamp<qint64>(derniere, 0, nuits);
    if (derniere <= premiere)
        return 0;
    // Division toward zero: a correction that gives money back is spread
    // like a charge, its sign kept on every night.
    const qint64 parNuit = centimes / nuits;
    const qint64 reste = centimes - parNuit * nuits;
    const qint64 signe = reste < 0 ? -1 : 1;
    const qint64 enPlus = std::max<qint64>(0, std::min(derniere, std::abs(reste)) - premiere);
    return parNuit * (derniere - premiere) + signe * enPlus;
}

namespace {

qint64 centimes(double montant)
{
    return std::llround(montant * 100.0);
}

} // namespace

double PartDansPeriode(double montant, const QDate& arrivee, const QDate& depart, const QDate& debut, const QDate& fin)
{
    if (!arrivee.isValid() || !depart.isValid() || !debut.isValid() || !fin.isValid())
        return 0;
    const qint64 nuits = arrivee.daysTo(depart);
    return double(Part(centimes(montant), nuits, arrivee.daysTo(debut), arrivee.daysTo(fin) + 1)) / 100.0;
}

QMap<QDate, double> ParMois(double montant, const QDate& arrivee, const QDate& depart)
{
    QMap<QDate, double> mois;
    if (!arrivee.isValid() || !depart.isValid() || arrivee >= depart)
        return mois;
    const qint64 total = centimes(montant);
    const qint64 nuits = arrivee.daysTo(depart);
    for (QDate m(arrivee.year(), arrivee.month(), 1); m < depart; m = m.addMonths(1))
        mois[m] = double(Part(total, nuits, arrivee.daysTo(m), arrivee.daysTo(m.addMonths(1)))) / 100.0;
    return mois;
}

} // namespace Etalement
