#pragma once
// The whole database copied into another one, from either engine to either
// engine (an SQLite file to a server and back): every table, the numbers
// kept, in one transaction on an empty target. Returns what it did; shows
// nothing.
#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace CopieVers {

// The tables copied, in the order they are written.
QStringList Tables();

// How many rows one table gave.
struct Compte {
    QString table;
    qint64 lignes = 0;
};

struct Bilan {
    enum Issue {
        Copiee,       // every table copied and committed
        CibleNonVide, // the target already holds data: nothing written
        EchecLecture, // the source could not be read: nothing written
        EchecEcriture,// the target refused a row or the commit: nothing written
    };
    Issue issue = EchecEcriture;
    QList<Compte> comptes;   // per table, in the order of Tables() (when copied)
    QString erreur;          // why not, in French
    qint64 dernierNumero = 0;// the highest reservation number ever given, which the target never gives again
};

// Copies `source` into `cible`, both opened with the program's schema.
// The target must hold no unit, reservation, journal row, article, rate,
// invoice or feed; its default states are replaced by the source's.
// Reservation numbers, unit numbers, state codes, rates, invoices and the
// order of the journal and the articles are kept, and the target's next
// numbers follow the highest copied ones; its next reservation number
// follows every number the source ever gave (Numeros::plusGrandUtilise).
Bilan Copier(const QSqlDatabase& source, const QSqlDatabase& cible);

} // namespace CopieVers
