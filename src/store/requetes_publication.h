#pragma once
// Statement of the availability pages: the published stays of one unit.
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace Requetes {

struct SejourPublie {
    QDateTime debut;   // DateDebut (invalid when Null or unreadable)
    QDateTime fin;     // DateFin
};

// Stays of unit `objet` whose state is published (ETATS.surinternet true),
// that start before the day `avant` and touch the days from `depuis` on:
// ending on or after `depuis`, or starting on or after it. Stays that ended
// before `depuis` cannot colour a shown day and are not read. Ordered by
// start, then number.
std::optional<QList<SejourPublie>> sejoursPublies(const QSqlDatabase& base, qint32 objet, const QDate& depuis,
                                                  const QDate& avant, QString* erreur = nullptr);

} // namespace Requetes
