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

// The two series of the table, each numbered on its own within a year.
enum class Serie { Facture, Avoir };
QString LettreSerie(Serie serie);   // "F", "A"

// An issued invoice or credit note.
struct Facture {
    QString numero;        // "F-2027-00012", "A-2027-00003"
    qint32 reservation = 0;
    QDateTime date;
    double total = 0;      // a credit note's is negative
    QByteArray pdf;
    Serie serie = Serie::Facture;
    QString origine;       // a credit note: the invoice it corrects
};

// "F-<year>-<5 digits>".
QString NumeroFacture(int annee, int sequence);
// "<letter>-<year>-<5 digits>".
QString NumeroDocument(Serie serie, int annee, int sequence);

// Issues the next document of its series and year: takes the number, has
// `document` make the PDF for it (and save it where it must), and stores
// it, all in one write transaction. `avant`, when given, writes what goes
// with it (the journal rows of a cancellation) in the same transaction, and
// may set the document's total from what it wrote.
// When `document` or `avant` fails, nothing is stored and the number is
// not consumed.
std::optional<Facture> emettre(const QSqlDatabase& base, Serie serie, qint32 reservation, const QDateTime& date,
    double total, const QString& origine,
    const std::function<std::optional<QByteArray>(const QString& numero)>& document,
    QString* erreur = nullptr, const std::function<bool(const QString& numero, double* total)>& avant = {});
std::optional<Facture> emettreFacture(const QSqlDatabase& base, qint32 reservation, const QDateTime& date,
    double total, const std::function<std::optional<QByteArray>(const QString& numero)>& document,
    QString* erreur = nullptr);
// The invoices and credit notes of a reservation, in the order they were issued.
std::optional<QList<Facture>> facturesDeReservation(const QSqlDatabase& base, qint32 reservation, QString* erreur = nullptr);

} // namespace RequetesFacturation
