#pragma once
// The figures' monthly sums, kept in the database so that a year or twenty
// are read from a few hundred thousand small rows instead of being computed
// again from every stay and journal row.
//
// Two tables hold what each reservation gives each month:
//  - CUMULS_SEJOURS: its nights (with adult and child nights), its arrival
//    and its length, its departure with the balance then owed, and its stay
//    charges and tourist tax on the nights they pay for (or on the month of
//    its cancellation);
//  - CUMULS_JOURNAL: the other journal rows, by kind and payment code (the
//    rows without a reservation under number 0).
// They hold the same sums as the statements of RequetesStatistiques over
// whole months from 1900 to 2199, whatever the state and the category
// (those are chosen when reading: a state may stop counting as sold, a
// unit change its category).
//
// Whoever writes a reservation, a journal row or a unit (this program,
// another desk, a copy), triggers note which reservation (or which month of
// the rows without one) is to be summed again, in CUMULS_A_REFAIRE. The
// sums are brought up to date when the figures are read (MettreAJour),
// under the write lock, in one transaction.
#include "dialecte.h"
#include "requetes_statistiques.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

namespace Cumuls {

// The tables, their indexes and the triggers, for the engine (created when
// missing); and the marks that have every reservation and journal month
// summed at the next reading of the figures (for a database that had rows
// before the tables).
QStringList InstructionsSchema(Dialecte::Moteur moteur);
QStringList ToutARefaire();

// The first and the last month the sums cover.
QDate PremierMois();
QDate DernierMois();

// Sums again what the triggers noted. True when the sums are up to date
// (nothing to do, or done); false with the reason (a database opened read
// only, another desk holding the write lock too long…): the figures are
// then computed from the rows.
// The journal rows' kinds are those of `prefixes` (see
// RequetesStatistiques::journal), always the same ones.
bool MettreAJour(const QSqlDatabase& base, const RequetesStatistiques::Prefixes& prefixes,
                 QString* erreur = nullptr);

// The sums of the months from `premier` to `dernier` (their first days,
// both included, inside PremierMois…DernierMois), as the statements of
// RequetesStatistiques give them over the same days, except that they
// come twice: by month (objet kSansUnite), and by unit (mois empty).
struct Sommes {
    QList<RequetesStatistiques::Nuits> nuits;
    RequetesStatistiques::Arrivees arrivees;
    QList<RequetesStatistiques::Journal> journal;
    QList<RequetesStatistiques::Etalee> etalees;
    RequetesStatistiques::Soldes soldes;
};
// Without `parUnite`, only the monthly rows.
std::optional<Sommes> Lire(const QSqlDatabase& base, const QDate& premier, const QDate& dernier,
                           const std::optional<QString>& categorie, bool parUnite, QString* erreur = nullptr);

} // namespace Cumuls
