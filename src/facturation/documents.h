#pragma once
// The documents of a reservation: the contract and the invoice, built as
// HTML from plain data (every text of the user escaped) and printed to PDF
// with Qt's own writer.
#include "facturation/etablissement.h"
#include "facturation/lignesfacture.h"
#include "facturation/tarification.h"
#include "store/requetes_facturation.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

class QTextDocument;

namespace Documents {

// The letterhead: the establishment's own details.
using Entete = Etablissement::Coordonnees;

struct Contrat {
    Entete etablissement;
    qint32 reservation = 0;
    QString client;
    QString telephone;
    QString email;
    QString unite;
    QDateTime arrivee;
    QDateTime depart;
    int adultes = 0;
    int enfants = 0;
    Tarification::Calcul prix;   // its reason when the stay cannot be priced
    double arrhes = 0;
    QDate dateAttendue;          // invalid: none
    QString remarque;
    QDate date;                  // the day the contract is made
};

// One VAT rate of an invoice: amounts excluding VAT, VAT, including VAT.
// Charges kept without a rate (older rows) and the tourist tax are on the
// line whose `soumis` is false.
struct TVA {
    bool soumis = true;
    double taux = 0;
    double ht = 0;
    double tva = 0;
    double ttc = 0;
};

// The charges of an account split by VAT rate, rates in increasing order,
// the line of charges without VAT last. A row is a payment when it has a
// payment code; a correction (a positive row without code) lowers its rate's
// charges.
QList<TVA> VentilerTVA(const QList<RequetesFacturation::LigneCompte>& lignes);

// What an invoice and a credit note both say: who issues it, its number and
// date, the stay it is about, and its rows.
struct Piece {
    Entete etablissement;
    QString numero;
    QDate date;
    qint32 reservation = 0;
    QString client;
    QString unite;
    QDateTime arrivee;
    QDateTime depart;
    QList<RequetesFacturation::LigneCompte> lignes;   // an invoice: the whole account
};

struct Facture : Piece {
    // What the stay costs now (none: unknown) and whether it was cancelled:
    // how its rows read on the invoice (see LignesFacture::Charges).
    std::optional<Tarification::Calcul> prix;
    bool annulee = false;
};

// A credit note: the charges it gives back as stored (positive
// corrections), shown with minus signs.
struct Avoir : Piece {
    QString origine;          // the invoice it corrects
    bool annulation = false;  // it cancels the stay (otherwise a part of the invoice)
    QString motif;
};

QString HtmlContrat(const Contrat& c);
QString HtmlAvoir(const Avoir& a);
QString HtmlFacture(const Facture& f);

// The PDF of a document on A4 pages; empty when it cannot be made.
QByteArray PdfDuDocument(const QTextDocument& document, const QString& titre, double margesMm = 15);
// The same for an HTML text.
QByteArray Pdf(const QString& html, const QString& titre);
// The same, each page marked at its foot with `marque` and "page N/M"
// (an invoice's number on every page).
QByteArray PdfMarque(const QString& html, const QString& titre, const QString& marque);
// The PDF of an invoice.
QByteArray PdfFacture(const Facture& f);

} // namespace Documents
