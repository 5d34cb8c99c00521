#pragma once
// The journal rows of one day, for the day's cash report.
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace RequetesCaisse {

struct Operation {
    QDateTime date;
    qint32 reservation = 0;
    double prix = 0;
    QString paiement;   // three characters, blanks for a charge or an event
    QString libelle;
};

// Every row written from `jour` 00:00 (included) to the next day 00:00
// (excluded), ordered by their stored date. nullopt with the database's
// message when the journal cannot be read.
std::optional<QList<Operation>> operationsDuJour(const QSqlDatabase& base, const QDate& jour,
                                                 QString* erreur = nullptr);

} // namespace RequetesCaisse
