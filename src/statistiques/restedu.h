#pragma once
// What is still owed at the end of a period: the stays that ended in it
// with a balance owed, the stays with nights in it that have not been
// charged yet (what they will owe, priced at today's rates), and the stays
// cancelled in it with their fees and credit notes. Plain computation over
// the accounts the database returns; no window.
#include "facturation/tarification.h"
#include "store/requetes_statistiques.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <optional>

namespace ResteDu {

using Compte = RequetesStatistiques::Compte;

struct Ligne {
    Compte compte;
    double montant = 0;     // owed (debtor, cancelled) or to be owed once charged (not charged yet)
    QString remarque;       // why a stay not charged yet cannot be priced, "" otherwise
};

struct Etat {
    QDate debut;
    QDate fin;
    QList<Ligne> lignes;    // debtors, then not charged yet, then cancelled
    qint64 debiteurs = 0;
    double du = 0;
    qint64 nonFactures = 0;
    double prevu = 0;       // what the stays not charged yet will owe, those that could be priced
    qint64 sansTarif = 0;   // stays not charged yet that could not be priced
    qint64 annulations = 0;
    double frais = 0;
    double avoirs = 0;      // credit notes, negative
    double duAnnulations = 0;
};

// The lines and totals from the accounts (pure). A stay not charged yet
// will owe its price (Tarification, with the tax per adult and night) less
// the balance already on its account (payments received, bar…).
Etat Calculer(const QDate& debut, const QDate& fin, const QList<Compte>& comptes,
              const QList<Tarification::Saison>& saisons, double taxeParAdulteNuit);

// Reads the accounts and the rates and computes; nullopt with the reason.
std::optional<Etat> Lire(const QSqlDatabase& base, const QDate& debut, const QDate& fin,
                         const std::optional<QString>& categorie, double taxeParAdulteNuit,
                         QString* erreur = nullptr);

} // namespace ResteDu
