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
    qint32 numero = 0;      // NumeroReservation
    QDateTime debut;        // DateDebut (invalid when Null or unreadable)
    QDateTime fin;          // DateFin
    QString texteDebut;     // the stored values, to name an unreadable one
    QString texteFin;
};

// Stays of unit `objet` whose state is published (ETATS.surinternet true),
// that start before the day `avant` and touch the days from `depuis` on:
// ending on or after `depuis`, or starting on or after it. Stays that ended
// before `depuis` cannot colour a shown day and are not read. A stay whose
// start or end is Null or not stored as a date ("YYYY-MM-DD…") is read
// whatever its dates, so that the caller sees it instead of losing it.
// Ordered by start, then number.
std::optional<QList<SejourPublie>> sejoursPublies(const QSqlDatabase& base, qint32 objet, const QDate& depuis,
                                                  const QDate& avant, QString* erreur = nullptr);

} // namespace Requetes
