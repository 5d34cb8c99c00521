#pragma once
// The charges an invoice lists and the words of its balance. The stay is
// shown as it is when the invoice is made, not as the history of its
// corrections: the stay rows of the account ("SEJOUR …", "TAXE DE SEJOUR …"
// and their "CORRECTION …") are netted by kind and VAT rate; when the nets
// are what the stay costs now, they read as its lines, one per season and
// rate (supplements included) and one for the tax; otherwise (the rates
// changed since, the stay was changed and not posted again, it was
// cancelled) as one line per kind and rate with the stay's unit and dates.
// Every other charge (bar, fees…) is listed as written, dated.
#include "facturation/tarification.h"
#include "store/requetes_facturation.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace LignesFacture {

struct Ligne {
    QString libelle;
    std::optional<double> tauxTVA;   // none: no VAT (the tourist tax, older rows)
    double montant = 0;              // a charge, including VAT
};

// The stay as it is now.
struct Sejour {
    QString unite;
    QDate arrivee;
    QDate depart;
    std::optional<Tarification::Calcul> prix;   // what it costs now; none when unknown
    bool annule = false;
};

// True for the rows that post the stay or its tax (and their corrections).
bool EstLigneDeSejour(const QString& libelle);

// The charges of the account, the stay first. Payments, events and rows
// of zero are left out.
QList<Ligne> Charges(const QList<RequetesFacturation::LigneCompte>& compte, const Sejour& sejour);

// The balance (payments minus charges) in words: "Reste à payer : 266,80 €",
// "Trop-perçu : 12,00 €", "Reste à payer : 0,00 €"; never a bare sign.
QString Solde(double solde);

} // namespace LignesFacture
