#pragma once
// The tables shown by the window, written to CSV and printed by the
// command line: built from the figures as text cells (numbers with a
// decimal comma, dates jj/mm/aaaa). Plain functions, no window.
#include "statistiques/restedu.h"
#include "statistiques/statistiques.h"
#include "statistiques/taxesejour.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace Tableaux {

struct Tableau {
    QString titre;
    QStringList entetes;
    QList<QStringList> lignes;
};

// "12,50" (money), "45,3" (a rate), always with a decimal comma and no
// thousands separator, so that a spreadsheet reads a number.
QString Decimal(double valeur, int decimales);
// "01/03/2026".
QString Date(const QDate& jour);
// "mars 2026".
QString Mois(const QDate& mois);
// "Du 01/03/2026 au 31/03/2026".
QString Periode(const QDate& debut, const QDate& fin);

// With what is still owed when it is given: the stays not charged yet
// and the cancellations of the period, after the balances.
Tableau Resume(const Statistiques::Chiffres& c, const ResteDu::Etat* reste = nullptr);
Tableau ParUnite(const Statistiques::Chiffres& c);
Tableau ParMois(const Statistiques::Chiffres& c);
Tableau Taxe(const TaxeSejour::Declaration& d);
Tableau ResteDu(const ResteDu::Etat& e);

// The table as CSV: UTF-8 with a byte-order mark, ";" between cells, CR LF
// after each line, a title line, the headings, the lines; a cell holding
// ";", a quote or a line break is quoted, its quotes doubled; a text that a
// spreadsheet would run as a formula ("=", "+", "-", "@", tab, CR first)
// is written quoted behind a "'" (the program's own numbers excepted).
QByteArray Csv(const Tableau& tableau);
// Several tables in one file, an empty line between two.
QByteArray Csv(const QList<Tableau>& tableaux);

// The main figures as text, one per line, for the command line.
QString Texte(const Statistiques::Chiffres& c, const ResteDu::Etat* reste = nullptr);

// What the tax charged for the period's nights lacks or has beyond the
// tax due, as one French sentence for the window.
QString EcartTaxe(const TaxeSejour::Declaration& d);

} // namespace Tableaux
