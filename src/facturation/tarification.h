#pragma once
// The price of a stay, night by night: a night is priced by the season of
// its date (the season of the unit's category holding that day), and the
// nights of one season make one line. The tourist tax is charged per adult
// and per night; children are exempt and the tax bears no VAT.
#include "store/requetes_facturation.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace Tarification {

// One season of a category: the nights from `premier` to `dernier` (both
// included) at these prices, VAT included (a row of the rates table).
using Saison = RequetesFacturation::Tarif;

struct Sejour {
    QString unite;       // the unit's name, for the wording
    QString categorie;
    QDate arrivee;
    QDate depart;        // the morning of departure: the last night is the day before
    int adultes = 0;
    int enfants = 0;
};

enum class Genre { Sejour, Taxe };

struct Ligne {
    Genre genre = Genre::Sejour;
    QString libelle;      // as shown in the account tab
    double montant = 0;   // positive, to the cent
    double tauxTVA = 0;
    // The nights it prices, from `du` to the morning of `au`: a season's
    // line and its supplements share them; the tax covers the whole stay.
    QDate du;
    QDate au;
};

struct Calcul {
    QList<Ligne> lignes;
    double total = 0;
    QString erreur;       // empty when the stay could be priced
    bool valide() const { return erreur.isEmpty(); }
};

// The lines of a stay. A unit without category or a night without season
// gives no line and the reason, naming the night.
Calcul Calculer(const Sejour& sejour, const QList<Saison>& saisons, double taxeParAdulteNuit);

// The first pair of seasons of one category that share a night, as a French
// sentence; empty when none does. A last day before the first is reported too.
QString VerifierSaisons(const QList<Saison>& saisons);

// Sums of the lines by kind and VAT rate, for comparing what was posted with
// what the stay costs now.
struct Part {
    Genre genre = Genre::Sejour;
    double tauxTVA = 0;
    double montant = 0;
};
QList<Part> Parts(const QList<Ligne>& lignes);

// What must be posted to bring `deja` (parts already posted) to `voulu`:
// one part per kind and rate whose amount differs by a cent or more.
QList<Part> Difference(const QList<Part>& deja, const QList<Part>& voulu);

// The stay's own price: its lines without the tourist tax (which is
// collected for the town, not the price a deposit or a fee is a share of).
double PrixSansTaxe(const Calcul& calcul);

// A journal row to write: its label, its amount (negative for a charge) and
// its VAT rate.
struct Ecriture {
    QString libelle;
    double prix = 0;
    double tauxTVA = 0;
};

// The rows that bring an account's stay charges to what the stay costs now.
// Nothing posted yet: one row per line, labelled "SEJOUR …" and "TAXE DE
// SEJOUR …". Already posted: only the differences, labelled "CORRECTION
// SEJOUR …" and "CORRECTION TAXE DE SEJOUR …". Empty when nothing changed.
QList<Ecriture> Ecritures(const Sejour& sejour, const Calcul& calcul, const QList<Part>& deja);

} // namespace Tarification
