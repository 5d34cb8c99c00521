#pragma once
// A reservation's stay price and documents as the database and the settings
// give them: the lines of the "Fact." tab, their posting to the account, the
// contract, and the invoices (issued once, kept as issued).
#include "facturation/documents.h"
#include "facturation/tarification.h"
#include "store/requetes.h"
#include "store/requetes_reservation.h"

#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace CompteSejour {

struct Sejour {
    Requetes::Reservation reservation;
    QString unite;                    // the unit's name
    Tarification::Sejour sejour;
    Tarification::Calcul calcul;      // its reason when it cannot be priced
    // The stay charges on the account now, by kind and rate (their sums,
    // corrections included; sums of zero left out), and whether a stay row
    // was ever written to it.
    QList<Tarification::Part> poste;
    bool dejaPorte = false;
    bool sansTarifs = false;          // no rate at all: the stays are not priced here
};
// The stay and tax charges posted, as parts of a price (a part netted to
// less than a cent is left out).
QList<Tarification::Part> PartsPostees(const QList<RequetesFacturation::Poste>& postes);

// Reads the stored reservation, its unit, the rates and the tax, prices
// the stay and reads what the account holds of it. nullopt with the reason
// when the reservation cannot be read.
std::optional<Sejour> Lire(const QSqlDatabase& base, qint32 numero, const QString& cheminINI, QString* erreur);

// The text of the "Fact." tab: the lines and the total (or the reason the
// stay cannot be priced), then what the account holds of it and what
// "Porter au compte" would still write.
QString TexteDesLignes(const Sejour& s);

enum class Resultat { Ecrit, RienDeChange, Refuse };
struct Porte {
    Resultat resultat = Resultat::Refuse;
    int lignes = 0;
    QString message;   // the French text to show
};
// Writes the stay's lines, or the difference to what was posted before, in
// one write transaction. A cancelled stay is refused.
Porte PorterAuCompte(const QSqlDatabase& base, qint32 numero, const QString& cheminINI);

// What saving a stay did to its account.
struct Suivi {
    int lignes = 0;           // journal rows written
    QString avertissement;    // French, for the user; empty when none
};
// Brings the account of a stay just written to what the stay costs now,
// inside the transaction of its save. A new stay (`creation`) is posted
// whole; a changed one gets the differences, and only when its stay was
// posted before (a portal's booking, a stay older than the automatic
// posting, or one that could not be priced when it was saved is posted by
// "Porter au compte"). A cancelled stay is never posted. A stay that cannot
// be priced is saved all the same: nothing is posted and *suivi carries the
// warning, unless no rate exists at all (an establishment that does not
// price its stays is not warned at every save). False with the reason only
// when a row cannot be written.
bool Suivre(const QSqlDatabase& base, qint32 numero, const QString& cheminINI, bool creation, Suivi* suivi,
            QString* erreur);
// What a save passes to RequetesReservation::creer or modifier: Suivre when
// "[facturation] porter automatiquement" says OUI, nothing when NON. *suivi
// is filled again at each run (a save may be tried again).
RequetesReservation::Ensuite SuivreEnEnregistrant(const QSqlDatabase& base, const QString& cheminINI, bool creation,
                                                   Suivi* suivi);

// The contract of a reservation.
std::optional<Documents::Contrat> Contrat(const QSqlDatabase& base, qint32 numero, const QString& cheminINI,
                                           QString* erreur);

// The balance of the account (payments minus charges).
std::optional<double> Solde(const QSqlDatabase& base, qint32 numero, QString* erreur = nullptr);

// Issues the next invoice of the reservation: its PDF is written to
// `dossierFactures`/<number>.pdf and kept in the database. A folder that
// cannot be written: nothing stored, no number consumed, the reason.
std::optional<RequetesFacturation::Facture> EmettreFacture(const QSqlDatabase& base, qint32 numero,
    const QString& cheminINI, const QString& dossierFactures, QString* erreur);

// Writes bytes to a file whole (beside it, then renamed); false with the reason.
bool EcrireFichier(const QString& chemin, const QByteArray& octets, QString* erreur);

} // namespace CompteSejour
