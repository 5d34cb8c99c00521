#pragma once
// The figures of a period, computed from the reservations and the journal
// (never typed): nights available and sold, occupancy, arrivals, average
// stay, adult and child nights, revenue by kind, payments by type, the
// balance still owed on stays that ended in the period; per unit and per
// month. Plain computation over the sums the database returns; no window.
//
// Revenue is counted when it is earned: a stay's charges and its tourist
// tax on the nights they pay for (see Etalement), bar and other sales on
// their date. Payments are counted when received, apart. A cancelled stay
// counts no night and no arrival; its fee counts on the day it is posted.
// A stay in a state not ticked "Vendu" counts no night either, but what was
// charged on it is still revenue, on its nights.
//
// A night counts when its stay is in a state ticked "Vendu" and it falls
// inside the period (a stay is cut at the bounds). Every unit of the filter
// is available on every day of the period, whenever it was added: the
// database keeps no date of creation.
#include "store/requetes_statistiques.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <array>
#include <optional>

namespace Statistiques {

// Kinds of revenue, in the order of the charts' stacks.
enum Nature { Sejour = 0, Taxe = 1, Bar = 2, Autre = 3, NombreDeNatures = 4 };
QString NomNature(int nature);   // "Séjours", "Taxe de séjour", "Bar", "Autres"

using Recettes = std::array<double, NombreDeNatures>;
double Total(const Recettes& recettes);

struct ParUnite {
    qint32 numero = 0;
    QString nom;
    qint64 nuits = 0;
    double taux = 0;             // percent of the period's days
    double recettes = 0;
    QMap<qint32, qint64> nuitsParEtat;
};

struct ParMois {
    QDate mois;                  // its first day
    qint64 disponibles = 0;      // units × days of the month inside the period
    qint64 nuits = 0;
    double taux = 0;
    Recettes recettes{};
    QMap<qint32, qint64> nuitsParEtat;
};

struct Paiement {
    QString type;                // as the day's cash report names it
    qint64 nombre = 0;
    double total = 0;
};

struct Chiffres {
    QDate debut;
    QDate fin;
    qint64 unites = 0;
    qint64 nuitsDisponibles = 0;
    qint64 nuitsVendues = 0;
    double taux = 0;             // percent, 0 without an available night
    qint64 arrivees = 0;
    double dureeMoyenne = 0;     // nights per arrival, 0 without one
    qint64 nuitsAdultes = 0;
    qint64 nuitsEnfants = 0;
    Recettes recettes{};
    double totalRecettes = 0;
    QList<Paiement> paiements;   // the four types always, then "Autre" when used
    double totalEncaisse = 0;
    qint64 sejoursTermines = 0;
    qint64 sejoursDebiteurs = 0;
    double soldeDu = 0;
    qint64 ignores = 0;          // reservations whose dates cannot be read
    QList<ParUnite> parUnite;
    QList<ParMois> parMois;
};

// What the database returned for a period. A row without a month counts
// for its unit only (the monthly sums give the months and the units apart).
struct Sommes {
    QList<RequetesStatistiques::Unite> unites;
    QList<RequetesStatistiques::Nuits> nuits;       // by month, state, and unit when known
    RequetesStatistiques::Arrivees arrivees;
    QList<RequetesStatistiques::Journal> journal;   // by month, kind, code, and unit when known
    QList<RequetesStatistiques::Etalee> etalees;    // stay charges on their nights, by month and unit
    RequetesStatistiques::Soldes soldes;
    qint64 ignores = 0;
};

// The longest period shown: longer ones are refused with a message.
constexpr int kAnneesMaximum = 30;

// Why a period cannot be shown ("" when it can): a date missing, the start
// after the end, or more than kAnneesMaximum years.
QString ErreurPeriode(const QDate& debut, const QDate& fin);

// The prefixes of the journal's labels with their kind, for the database.
RequetesStatistiques::Prefixes PrefixesDesNatures();

// The figures from the sums (pure).
Chiffres Assembler(const QDate& debut, const QDate& fin, const Sommes& sommes);

// Where the sums come from: the monthly sums kept in the database for the
// whole months (and the rows for the days around them), or the rows alone.
enum class Source { Cumuls, Lignes };

// Reads the sums of the period and assembles them. nullopt with the
// reason when the period is refused or a statement fails.
std::optional<Chiffres> Calculer(const QSqlDatabase& base, const QDate& debut, const QDate& fin,
                                 const std::optional<QString>& categorie, QString* erreur = nullptr,
                                 Source source = Source::Cumuls);

// Only what the monthly table and charts need (units, nights and revenue
// by month; the other figures stay 0): for long periods.
std::optional<Chiffres> CalculerParMois(const QSqlDatabase& base, const QDate& debut, const QDate& fin,
                                        const std::optional<QString>& categorie, QString* erreur = nullptr,
                                 Source source = Source::Cumuls);

// "n séjours ignorés : dates illisibles" ("1 séjour ignoré : …"), or "".
QString LigneIgnores(qint64 n);

} // namespace Statistiques
