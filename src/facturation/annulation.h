#pragma once
// Cancelling a stay: its row and its account stay, marked with the moment of
// the cancellation; its posted stay and tax charges are reversed, a fee may
// be charged, and when it was invoiced a credit note of the reversed charges
// is issued — all in one transaction. A credit note can also be made by
// hand for part of an invoice (a gesture), and money received can be given
// back (a refund: a payment row with a negative amount).
#include "facturation/montantoupourcentage.h"
#include "facturation/tarification.h"
#include "store/requetes_facturation.h"

#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace Annulation {

// What a cancellation writes, computed from what was posted (pure).
struct Plan {
    // The reversals, one per kind and VAT rate posted ("CORRECTION SEJOUR
    // … : annulation (TVA 10 %)", a positive amount), then the fee
    // ("FRAIS D'ANNULATION …", a negative amount, no VAT) when there is one.
    QList<Tarification::Ecriture> ecritures;
    double annule = 0;   // the charges reversed, a positive amount
    double frais = 0;
};
// `description`: the stay as the rows name it ("Emplacement 3 du 28/06/2027
// au 05/07/2027"); `postees`: the stay and tax charges posted, by kind and
// rate (positive amounts); `frais`: the fee, to the cent.
// `motif` ends the reversals' wording.
Plan Planifier(const QString& description, const QList<Tarification::Part>& postees, double frais,
               const QString& motif = QStringLiteral("annulation"));

// The price a fee's percentage applies to: the stay's own charges (without
// the tourist tax) as posted, or as priced now when nothing was posted.
double PrixDuSejour(const QList<Tarification::Part>& postees, const Tarification::Calcul& calcul);

// The number of the stay's last invoice ("" when it has none), from the
// database or from its documents already read.
std::optional<QString> DerniereFacture(const QSqlDatabase& base, qint32 numero, QString* erreur = nullptr);
QString DerniereFacture(const QList<RequetesFacturation::Facture>& documents);

// The journal's event row: "Annulation de la réservation (frais
// d'annulation 264,24 €, par marie sur accueil)".
QString LibelleEvenement(double frais, const QString& qui);
// The desk that does it: the session's user and the machine.
QString Qui();

// The reason a stay cannot be deleted: it has charges or payments other
// than its own stay postings, or an invoice; "" when it can (its postings
// are reversed with it).
QString RefusSuppression(const QSqlDatabase& base, qint32 numero, QString* erreur);
QString MessageUtiliserAnnulation();
// Inside the deletion's transaction: checks again that the stay may go and
// reverses its own stay postings ("… : suppression"). False with the reason.
bool RetirerPostes(const QSqlDatabase& base, qint32 numero, const QString& cheminINI, QString* erreur);

struct Resultat {
    bool fait = false;
    bool conflit = false;   // another desk wrote or deleted the stay since it was read
    QString message;        // the French text to show
    double frais = 0;
    std::optional<RequetesFacturation::Facture> avoir;
    double solde = 0;       // the account afterwards: positive when money is owed to the guest
};

// Cancels stay `numero` as read at `versionLue`, with that fee.
Resultat Annuler(const QSqlDatabase& base, qint32 numero, qint32 versionLue,
                 const MontantOuPourcentage::Valeur& frais, const QString& cheminINI, const QString& dossierFactures);

// A credit note by hand on invoice `origine` of the stay: `montant` (VAT
// included, positive) at `tauxTVA`, with its wording; its journal row (a
// positive correction) and the note in one transaction.
std::optional<RequetesFacturation::Facture> AvoirManuel(const QSqlDatabase& base, qint32 numero, const QString& origine,
    double montant, double tauxTVA, const QString& motif, const QString& cheminINI, const QString& dossierFactures,
    QString* erreur);

// Gives `montant` back to the guest by `code` ("CB", "ESP", …): one payment
// row of a negative amount, "Remboursement (CB)".
bool Rembourser(const QSqlDatabase& base, qint32 numero, double montant, const QString& code, QString* erreur);

} // namespace Annulation
