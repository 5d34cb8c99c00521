#pragma once
// The operations journal: the only writer of a reservation's account.
#include <QSqlDatabase>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace Module1 {

// Appends one row: the reservation's number, the current date and time, the
// amount kept to the cent (negative for a charge, positive for a payment, 0
// for an event), the payment code cut or padded to three characters, and the
// wording. Returns false with the database's message when nothing was
// written; a row is never half written.
bool EnregistrerOperation(const QSqlDatabase& base, double numero, double prix,
                          const QString& paiement, const QString& libelle, QString* erreur = nullptr);

// The same for a charge that bears VAT at that rate (percent), kept with
// the row for the invoices.
bool EnregistrerOperationTVA(const QSqlDatabase& base, double numero, double prix, const QString& paiement,
                             const QString& libelle, double tauxTVA, QString* erreur = nullptr);

// The amounts of a reservation's rows that carry one, in date order, and
// their wordings: what the payment dialog and the bar's corrections read
// back. nullopt with the database's message when the account cannot be read.
struct Compte {
    QList<double> prix;
    QStringList libelles;
    QStringList paiements;   // the payment code of each row, blank for a charge
};
std::optional<Compte> LireCompte(const QSqlDatabase& base, qint32 numero, QString* erreur = nullptr);

// The stored form of a payment code: exactly three characters.
QString CodePaiement(const QString& paiement);

} // namespace Module1
