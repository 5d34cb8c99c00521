#pragma once
// Statements of the stay prices and the invoices: the rates by category,
// the stay charges already posted to an account, and the numbering of the
// invoices (consecutive within a year, taken in the transaction that stores
// the invoice, so two desks never share a number).
#include "requetes.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <optional>

namespace RequetesFacturation {

// One season of a unit category (a row of TARIFS).
struct Tarif {
    qint32 numero = 0;
    QString categorie;
    QDate premier;
    QDate dernier;
    double prixNuit = 0;
    double prixAdulte = 0;
    double prixEnfant = 0;
    double tauxTVA = 10;

    bool operator==(const Tarif&) const = default;
};

std::optional<QList<Tarif>> tarifs(const QSqlDatabase& base, QString* erreur = nullptr);
// Replaces every rate by these, in one transaction.
bool remplacerTarifs(const QSqlDatabase& base, const QList<Tarif>& tarifs, QString* erreur = nullptr);

// The stay charges already on an account, by kind and VAT rate, as positive
// amounts: rows whose label begins "SEJOUR " or "CORRECTION SEJOUR " are the
// stay, "TAXE DE SEJOUR " or "CORRECTION TAXE DE SEJOUR " the tax.
struct Poste {
    bool taxe = false;
    double tauxTVA = 0;
    double montant = 0;
};
std::optional<QList<Poste>> postesSejour(const QSqlDatabase& base, qint32 numero, QString* erreur = nullptr);

// A row of the account with its VAT rate.
using LigneCompte = Requetes::Operation;

// An issued invoice.
struct Facture {
    QString numero;        // "F-2027-00012"
    qint32 reservation = 0;
    QDateTime date;
    double total = 0;
    QByteArray pdf;
};

// "F-<year>-<5 digits>".
QString NumeroFacture(int annee, int sequence);

// Issues the next invoice of the year: takes the number, has `document`
// make the PDF for it (and save it where it must), and stores the invoice,
// all in one write transaction. When `document` fails (nullopt), nothing is
// stored and the number is not consumed.
std::optional<Facture> emettreFacture(const QSqlDatabase& base, qint32 reservation, const QDateTime& date,
    double total, const std::function<std::optional<QByteArray>(const QString& numero)>& document,
    QString* erreur = nullptr);
std::optional<QList<Facture>> facturesDeReservation(const QSqlDatabase& base, qint32 reservation, QString* erreur = nullptr);

} // namespace RequetesFacturation
