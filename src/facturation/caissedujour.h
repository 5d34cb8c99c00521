#pragma once
// The day's cash report: from the journal rows of one day, the payments by
// type, the bar sales by article, the stay charges and the tourist tax
// posted, their corrections, the other charges and the totals; and the
// report as text, the same for the window, the PDF and the command line.
//
// Amounts charged are shown as the client owes them (a sale of 7,50 € is
// 7,50), so a correction that gives money back is negative; payments are
// shown as received (a refund is negative).
#include "store/requetes_caisse.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>

namespace CaisseDuJour {

using Operation = RequetesCaisse::Operation;

// The payments of one type: "Espèces", "Carte Bleue", "Chèque", "Virement",
// or "Autre" for any other code.
struct Paiement {
    QString type;
    int nombre = 0;
    double total = 0;
};

// The sales (or the corrections) of one bar article. `quantiteSure` is false
// when a row's quantity could not be read: its amount still counts.
struct Article {
    QString libelle;
    int quantite = 0;
    bool quantiteSure = true;
    double montant = 0;
};

// Rows of one kind: how many, and the amount charged.
struct Groupe {
    int nombre = 0;
    double montant = 0;
};

// A charge of no known kind, shown by its label's first line.
struct Autre {
    QString libelle;
    double montant = 0;
};

struct Rapport {
    QDate jour;
    QList<Paiement> paiements;       // the four types always, then "Autre" when there is one
    QList<Article> ventesBar;        // by article label
    QList<Article> annulationsBar;   // amounts negative
    Groupe sejours;
    Groupe correctionsSejour;
    Groupe taxes;
    Groupe correctionsTaxe;
    QList<Autre> autres;
    double totalBar = 0;        // sales less corrections
    double totalSejour = 0;     // stays and tax with their corrections
    double totalAutres = 0;
    double totalFacture = 0;    // everything charged on the day
    double totalEncaisse = 0;   // every payment received on the day
};

// What a journal row is, from its payment code and its label's prefix.
enum class Nature {
    Paiement,           // a payment code is set
    Bar,                // "BAR "
    AnnulationBar,      // "ANNULATION BAR "
    Sejour,             // "SEJOUR "
    CorrectionSejour,   // "CORRECTION SEJOUR "
    Taxe,               // "TAXE DE SEJOUR "
    CorrectionTaxe,     // "CORRECTION TAXE DE SEJOUR "
    Autre,              // any other charge
};

// The label prefixes of the charges, each with its kind; a label takes the
// kind of the first prefix it begins with (case counts), Autre without one.
const QList<QPair<QString, Nature>>& Prefixes();

// The kind of a row.
Nature NatureDe(const QString& paiement, const QString& libelle);

// The report of `jour` from journal rows. Rows of another day, and events
// (amount 0), are left out.
Rapport Calculer(const QDate& jour, const QList<Operation>& operations);

// The type shown for a stored payment code ("CB " -> "Carte Bleue").
QString TypeDePaiement(const QString& code);

// The report as French text, one section per part, aligned columns.
QString Texte(const Rapport& rapport);

// The report's title: "Caisse du mercredi 9 décembre 2026".
QString Titre(const QDate& jour);

// Writes the text as a one-column PDF (A4, fixed-width letters). False with
// the French reason when the file cannot be written.
bool EcrirePdf(const QString& texte, const QString& chemin, QString* erreur = nullptr);

// "Documents/caisse_<AAAA-MM-JJ>.pdf": where the window saves a day's PDF,
// relative to the data folder.
QString NomDuPdf(const QDate& jour);

} // namespace CaisseDuJour
