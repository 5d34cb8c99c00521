#pragma once
// The tourist-tax declaration of a month or a quarter: one line per stay in
// a sold state, not cancelled, with nights in the period, and the totals the
// town hall asks for. Children are exempt; the tax is per adult and per night.
//
// Beside what is due, what was charged for the same nights: the tax posted
// on each stay, spread over its nights as the revenue figures spread it.
// When the two differ the difference is named: nights stayed but not yet
// charged (a stay with no tax posted), other differences (adults or rate
// changed since the tax was posted); and, apart, the tax already charged
// for nights after the period (charged but not yet stayed).
#include "store/requetes_statistiques.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <optional>

namespace TaxeSejour {

struct Ligne {
    RequetesStatistiques::Sejour sejour;
    qint64 nuitsTaxees = 0;     // nights in the period × adults
    double montant = 0;         // to the cent
    double facturee = 0;        // the tax posted on the stay that falls on the period's nights
    bool nonFacturee = false;   // no tax posted on the stay yet
};

struct Declaration {
    QDate debut;
    QDate fin;
    double taux = 0;            // per adult and per night
    QList<Ligne> lignes;
    qint64 nuits = 0;
    qint64 adultes = 0;
    qint64 exoneres = 0;
    qint64 nuitsTaxees = 0;
    double montant = 0;         // the sum of the lines
    double facturee = 0;        // the sum of the lines' tax charged
    double nonFacturee = 0;     // due on the lines not charged yet
    double autresEcarts = 0;    // montant - facturee - nonFacturee
    double avance = 0;          // charged up to the period's end for nights after it
};

// The month `mois` (1-12) or the quarter `trimestre` (1-4) of a year.
QDate DebutMois(int annee, int mois);
QDate FinMois(int annee, int mois);
QDate DebutTrimestre(int annee, int trimestre);
QDate FinTrimestre(int annee, int trimestre);

// The declaration from the stays (pure).
Declaration Calculer(const QDate& debut, const QDate& fin, double taux,
                     const QList<RequetesStatistiques::Sejour>& sejours,
                     const QList<RequetesStatistiques::TaxeAvance>& avance = {});

// Reads the stays and computes; nullopt with the reason on failure.
std::optional<Declaration> Lire(const QSqlDatabase& base, const QDate& debut, const QDate& fin, double taux,
                                const std::optional<QString>& categorie, QString* erreur = nullptr);

} // namespace TaxeSejour
