#pragma once
// A reservation's stay price and documents as the database and the settings
// give them: the lines of the "Fact." tab, their posting to the account, the
// contract, and the invoices (issued once, kept as issued).
#include "facturation/documents.h"
#include "facturation/tarification.h"
#include "store/requetes.h"

#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace CompteSejour {

struct Sejour {
    Requetes::Reservation reservation;
    QString unite;                    // the unit's name
    Tarification::Sejour sejour;
    Tarification::Calcul calcul;      // its reason when it cannot be priced
};
// Reads the stored reservation, its unit, the rates and the tax, and prices
// the stay. nullopt with the reason when the reservation cannot be read.
std::optional<Sejour> Lire(const QSqlDatabase& base, qint32 numero, const QString& cheminINI, QString* erreur);

// The text of the "Fact." tab: the lines, the total, or the reason.
QString TexteDesLignes(const Sejour& s);

enum class Resultat { Ecrit, RienDeChange, Refuse };
struct Porte {
    Resultat resultat = Resultat::Refuse;
    int lignes = 0;
    QString message;   // the French text to show
};
// Writes the stay's lines, or the difference to what was posted before, in
// one transaction.
Porte PorterAuCompte(const QSqlDatabase& base, qint32 numero, const QString& cheminINI);

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
