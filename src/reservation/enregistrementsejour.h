#pragma once
// Saving a change of an existing reservation, whichever window makes it:
// the reservation window's "Modifier" and the calendar's moves and
// stretches go through the same steps (the overlap question, the version
// check against another desk, the journal row and the correction of the
// stay's charges, in one transaction).
#include "store/requetes.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <functional>

namespace EnregistrementSejour {

// Puts a question to the user (yes: true).
using Question = std::function<bool(const QString& question)>;

// The other reservations the stay of `r` overlaps on its unit (all but
// `sauf`), once the user was asked about them.
struct Accord {
    bool accepte = false;        // no overlap, or the user said yes
    QList<qint32> numeros;       // the overlapping reservations agreed to
    QString erreur;              // the database's message when they could not be read
};
Accord Chevauchements(const QSqlDatabase& base, const Requetes::Reservation& r, qint32 sauf, const Question& question);

enum class Issue {
    Enregistre,
    Abandonne,   // a new overlap came meanwhile and the user said no
    AutrePoste,  // another desk wrote or deleted it since r.version was read
    Echec,       // the database refused; erreur says why
};
struct Resultat {
    Issue issue = Issue::Echec;
    QString erreur;
    QString avertissement;    // the account could not be corrected (French, for the user)
    qint32 version = 0;       // the stored version once written
};
// Rewrites reservation r.numero as read at r.version, with its journal row
// `libelle`; the stay's charges follow its new dates and unit when the
// settings post them automatically. `acceptes` are the overlaps the user
// agreed to (Chevauchements); one another desk made since is asked about
// again, and the save tried again.
Resultat Modifier(const QSqlDatabase& base, const QString& cheminINI, const Requetes::Reservation& r,
                  const QString& libelle, const QList<qint32>& acceptes, const Question& question);

} // namespace EnregistrementSejour
