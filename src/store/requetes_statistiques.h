#pragma once
// Statements of the figures of a period: every sum is made by the database
// (grouped by month, unit, state or kind), never by reading the rows one by
// one. A period runs from `debut` to `fin`, both days included; a night
// belongs to the day it starts. Errors come back in *erreur.
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace RequetesStatistiques {

struct Filtre {
    QDate debut;
    QDate fin;                          // included
    std::optional<QString> categorie;   // the units of one category (OBJETS.Categorie), or all
};

// Nights of the stays in a sold state, cut at the period's bounds and at
// the first of each month, summed by month ("2026-03") and state, and by
// unit too in the second form (objet 0 in the first).
struct Nuits {
    QString mois;
    qint32 objet = 0;
    qint32 etat = 0;
    qint64 nuits = 0;
    qint64 nuitsAdultes = 0;
    qint64 nuitsEnfants = 0;
};
std::optional<QList<Nuits>> nuitsParMois(const QSqlDatabase& base, const Filtre& filtre, QString* erreur = nullptr);
std::optional<QList<Nuits>> nuitsParMoisEtUnite(const QSqlDatabase& base, const Filtre& filtre,
                                                QString* erreur = nullptr);

// Stays in a sold state arriving in the period, and their whole length.
struct Arrivees {
    qint64 nombre = 0;
    qint64 nuits = 0;
};
std::optional<Arrivees> arrivees(const QSqlDatabase& base, const Filtre& filtre, QString* erreur = nullptr);

// Reservations of the filter's units, whatever their state, whose arrival
// or departure cannot be read as a date: they count nowhere. Those without
// a date or with a text far from any date (empty, "3 mars", "12/03/2026")
// are counted in every period; a text that sorts among the dates of 1900
// to 2199 without being one ("2026-13-45") in the periods it falls in.
std::optional<qint64> datesIllisibles(const QSqlDatabase& base, const Filtre& filtre, QString* erreur = nullptr);

// Rows of the journal written in the period, amount not 0, summed by
// month, by unit when asked (the reservation's; 0 when it is gone or not
// asked), by kind and by payment code. The kind is kNatureEncaissement for
// a payment (its code trimmed, upper case), otherwise the number given
// with the first prefix the label begins with, 0 without one. With a
// category, rows of a deleted reservation are left out.
constexpr int kNatureEncaissement = -1;
struct Journal {
    QString mois;
    qint32 objet = 0;
    int nature = 0;
    QString code;       // payments only
    qint64 nombre = 0;
    double total = 0;   // as stored: a charge is negative
};
using Prefixes = QList<QPair<QString, int>>;
std::optional<QList<Journal>> journal(const QSqlDatabase& base, const Filtre& filtre, const Prefixes& prefixes,
                                      bool parUnite, QString* erreur = nullptr);
// The charges only (no payment), by month and kind, as journal() gives
// them; with every unit the journal is walked month by month in the order
// of its index of months, without sorting (the monthly chart of years).
std::optional<QList<Journal>> chargesParMois(const QSqlDatabase& base, const Filtre& filtre, const Prefixes& prefixes,
                                             QString* erreur = nullptr);

// Stays in a sold state whose departure falls in the period: how many,
// how many still owe money, and what they owe (each account to the cent).
struct Soldes {
    qint64 sejours = 0;
    qint64 debiteurs = 0;
    double du = 0;
};
std::optional<Soldes> soldes(const QSqlDatabase& base, const Filtre& filtre, QString* erreur = nullptr);

// One stay in a sold state with nights in the period, for the tourist tax.
struct Sejour {
    qint32 numero = 0;
    QString client;
    QString unite;
    QDateTime arrivee;
    QDateTime depart;
    qint64 nuits = 0;    // inside the period
    int adultes = 0;
    int enfants = 0;
};
std::optional<QList<Sejour>> sejours(const QSqlDatabase& base, const Filtre& filtre, QString* erreur = nullptr);

struct Unite {
    qint32 numero = 0;
    QString nom;
};
// The units of the filter's category (all of them without one), by number.
std::optional<QList<Unite>> unites(const QSqlDatabase& base, const std::optional<QString>& categorie,
                                   QString* erreur = nullptr);
// The categories given to units, not blank, in alphabetical order.
std::optional<QStringList> categories(const QSqlDatabase& base, QString* erreur = nullptr);

struct Etat {
    qint32 code = 0;
    QString nom;
    QVariant couleur;   // CouleurPrincipale as stored
    bool vendu = true;
};
// Every state, in table order, with its "Vendu" box.
std::optional<QList<Etat>> etats(const QSqlDatabase& base, QString* erreur = nullptr);
// Stores whether a state's reservations count as sold. False when no state
// has that code.
bool changerVendu(const QSqlDatabase& base, qint32 code, bool vendu, QString* erreur = nullptr);

} // namespace RequetesStatistiques
