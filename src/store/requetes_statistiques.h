#pragma once
// Statements of the figures of a period: every sum is made by the database
// (grouped by month, unit, state or kind), never by reading the rows one by
// one. A period runs from `debut` to `fin`, both days included; a night
// belongs to the day it starts. Errors come back in *erreur.
#include "fragments_statistiques.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <limits>
#include <optional>

namespace RequetesStatistiques {

// The unit of a sum that is not a unit's (a whole month of all units).
constexpr qint32 kSansUnite = std::numeric_limits<qint32>::min();

struct Filtre {
    QDate debut;
    QDate fin;                          // included
    std::optional<QString> categorie;   // the units of one category (OBJETS.Categorie), or all
};

// Nights of the stays in a sold state, not cancelled, cut at the period's bounds and at
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

// Stays in a sold state, not cancelled, arriving in the period, and their whole length.
struct Arrivees {
    qint64 nombre = 0;
    qint64 nuits = 0;
    Arrivees& operator+=(const Arrivees& a)
    {
        nombre += a.nombre;
        nuits += a.nuits;
        return *this;
    }
};
std::optional<Arrivees> arrivees(const QSqlDatabase& base, const Filtre& filtre, QString* erreur = nullptr);

// Reservations of the filter's units, whatever their state, whose arrival
// or departure cannot be read as a date: they count nowhere. Those without
// a date or with a text far from any date (empty, "3 mars", "12/03/2026")
// are counted in every period; a text that sorts among the dates of 1900
// to 2199 without being one ("2026-13-45") in the periods it falls in.
std::optional<qint64> datesIllisibles(const QSqlDatabase& base, const Filtre& filtre, QString* erreur = nullptr);
// The index that finds them without reading every stay.
QString InstructionIndexIllisibles();

// Rows of the journal written in the period, amount not 0, summed by
// month, by unit when asked (the reservation's; 0 when it is gone or not
// asked), by kind and by payment code. The kind is kNatureEncaissement for
// a payment (its code trimmed, upper case), otherwise the number given
// with the first prefix the label begins with, 0 without one. With a
// category, rows of a deleted reservation are left out. The stay charges
// ("SEJOUR ", "TAXE DE SEJOUR " and their corrections) of a stay with
// nights, or of a cancelled stay, are not there: recettesEtalees() counts
// them on their nights or on the day of the cancellation; those of a stay
// without a night or of a deleted reservation stay on their own date.
constexpr int kNatureEncaissement = -1;
struct Journal {
    QString mois;
    qint32 objet = 0;
    int nature = 0;
    QString code;       // payments only
    qint64 nombre = 0;
    double total = 0;   // as stored: a charge is negative
};
using Prefixes = FragmentsStatistiques::Prefixes;
std::optional<QList<Journal>> journal(const QSqlDatabase& base, const Filtre& filtre, const Prefixes& prefixes,
                                      bool parUnite, QString* erreur = nullptr);
// The charges only (no payment), by month and kind, as journal() gives them.
std::optional<QList<Journal>> chargesParMois(const QSqlDatabase& base, const Filtre& filtre, const Prefixes& prefixes,
                                             QString* erreur = nullptr);

// The stay charges counted on the nights they pay for, whenever they were
// posted: for each stay of the filter's units not cancelled, the net
// amount posted by kind and VAT rate spread over its nights in whole cents
// as Etalement does (equal shares, the cents left over one each on the
// first nights), the nights of the period summed by month; and what stays
// posted on a stay cancelled in the period, on the month of its
// cancellation. By unit when asked (objet 0 otherwise).
struct Etalee {
    QString mois;
    qint32 objet = 0;
    bool taxe = false;    // tourist tax, or the stay itself
    double montant = 0;   // as the client owes it: a charge is positive
};
std::optional<QList<Etalee>> recettesEtalees(const QSqlDatabase& base, const Filtre& filtre, bool parUnite,
                                             QString* erreur = nullptr);

// Stays in a sold state, not cancelled, whose departure falls in the period: how many,
// how many still owe money, and what they owe (each account to the cent).
struct Soldes {
    qint64 sejours = 0;
    qint64 debiteurs = 0;
    double du = 0;
    Soldes& operator+=(const Soldes& s)
    {
        sejours += s.sejours;
        debiteurs += s.debiteurs;
        du += s.du;
        return *this;
    }
};
std::optional<Soldes> soldes(const QSqlDatabase& base, const Filtre& filtre, QString* erreur = nullptr);

// One stay in a sold state, not cancelled, with nights in the period, for
// the tourist tax; with the tax posted on it, for comparing.
struct Sejour {
    qint32 numero = 0;
    QString client;
    QString unite;
    QDateTime arrivee;
    QDateTime depart;
    qint64 nuits = 0;    // inside the period
    int adultes = 0;
    int enfants = 0;
    qint64 taxePostees = 0;   // rows of tourist tax (or its corrections) posted on it
    double taxe = 0;          // their net amount, as the client owes it
};
std::optional<QList<Sejour>> sejours(const QSqlDatabase& base, const Filtre& filtre, QString* erreur = nullptr);

// The tourist tax posted up to the period's end on stays (not cancelled)
// that have nights after it: each stay's net amount with its dates, for
// the part "charged but not yet stayed".
struct TaxeAvance {
    QDate arrivee;
    QDate depart;
    double taxe = 0;     // as the client owes it
};
std::optional<QList<TaxeAvance>> taxeAvance(const QSqlDatabase& base, const Filtre& filtre, QString* erreur = nullptr);

// The accounts still open at the period's end. A stay in a sold state, not
// cancelled, that ended in the period with a balance owed, or that has
// nights up to the period's end and no stay charge posted yet (its
// payments received beside); and each stay cancelled in the period with
// its cancellation fees, the credit notes made for it and its balance.
struct Compte {
    enum Genre { Debiteur = 0, NonFacture = 1, Annule = 2 };
    Genre genre = Debiteur;
    qint32 numero = 0;
    qint32 objet = 0;
    QString client;
    QString unite;
    QString categorie;
    QDateTime arrivee;
    QDateTime depart;
    QDateTime annulation;
    int adultes = 0;
    int enfants = 0;
    double solde = 0;      // as stored: below 0 the guest owes
    double recu = 0;       // payments received, net of refunds
    double frais = 0;      // cancellation fees, as the client owes them
    double avoirs = 0;     // credit notes, as stored (negative)
};
std::optional<QList<Compte>> comptes(const QSqlDatabase& base, const Filtre& filtre, QString* erreur = nullptr);

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
