#pragma once
// How a stay's posted amount is spread over its nights, so that revenue and
// tourist tax count in the months of the nights they pay for.
//
// The net amount posted on a stay for one kind (and one VAT rate) is shared
// night by night in whole cents: every night gets the same share, and the
// cents left over go one each to the first nights. Any run of nights (a
// month, a period) therefore has a definite part, and the parts of the
// months add up exactly to the amount posted.
//
// A stay without a night (a day use, unreadable dates) or a reservation that
// was deleted has no night to carry the amount: it counts on the day it was
// posted. A cancelled stay counts no night: what stays posted on it counts
// on the day of its cancellation. The database computes the same rule in
// RequetesStatistiques::recettesEtalees.
#include <QDate>
#include <QMap>

namespace Etalement {

// The part, in cents, of `centimes` spread over `nuits` nights (numbered
// from 0) that falls on the nights from `premiere` to `derniere` excluded.
// Nights outside 0…nuits are cut off; 0 without a night.
qint64 Part(qint64 centimes, qint64 nuits, qint64 premiere, qint64 derniere);

// The part of `montant` (to the cent) of a stay from `arrivee` to `depart`
// (the morning of departure) that falls on the nights from `debut` to `fin`,
// both days included.
double PartDansPeriode(double montant, const QDate& arrivee, const QDate& depart, const QDate& debut, const QDate& fin);

// The amount of each month ("its first day") of the stay's nights.
QMap<QDate, double> ParMois(double montant, const QDate& arrivee, const QDate& depart);

} // namespace Etalement
