#pragma once
// The hotel's own details (letterhead of the contracts and invoices) and the
// tourist tax, kept in the program's INI file: section [etablissement] with
// the keys "nom", "adresse", "code postal", "ville", "telephone", "email",
// "siret", "numero tva", "conditions" (the contract's conditions, several
// lines), and "taxe de sejour" of section [facturation] (per adult and per
// night, no VAT; "0" when missing). Section [facturation] also holds how
// money follows a stay: "frais d'annulation" (amount or percentage of the
// stay's price, "0 %" when missing), "porter automatiquement" (OUI/NON,
// OUI when missing), "arrhes" ("30 %" when missing) and "delai des arrhes"
// (days from the booking to the deposit's date, 7 when missing). Plain
// functions, no window.
#include "facturation/montantoupourcentage.h"

#include <QList>
#include <QString>

namespace Etablissement {

struct Coordonnees {
    QString nom;
    QString adresse;
    QString codePostal;
    QString ville;
    QString telephone;
    QString email;
    QString siret;
    QString numeroTVA;
    QString conditions;   // lines separated by "\n"
};

// One detail: its INI key and its member.
struct Champ {
    QString cle;
    QString Coordonnees::* membre;
};
// The details in the order of the settings tab.
const QList<Champ>& Champs();

// Every detail as stored ("" when missing). A long text is read whole, not
// cut as ProfilINI cuts a value. `cheminINI` is the context's CheminINI.
Coordonnees Lire(const QString& cheminINI);
// Writes one detail (`cle` of Champs()); false when the file cannot be written.
bool Ecrire(const QString& cheminINI, const QString& cle, const QString& valeur);

// The tourist tax per adult and per night; 0 when missing or unreadable.
double TaxeDeSejour(const QString& cheminINI);
// Stored to the cent, with a decimal point ("0.6").
bool EcrireTaxeDeSejour(const QString& cheminINI, double montant);

// The settings of [facturation] on how money follows a stay; an unreadable
// value is its default.
MontantOuPourcentage::Valeur FraisAnnulation(const QString& cheminINI);
bool PorterAutomatiquement(const QString& cheminINI);
MontantOuPourcentage::Valeur Arrhes(const QString& cheminINI);
int DelaiArrhes(const QString& cheminINI);   // 0 to 365
// Each written as read back ("30 %", "45,00 €", "OUI", "7"); false when the
// file cannot be written.
bool EcrireFraisAnnulation(const QString& cheminINI, const MontantOuPourcentage::Valeur& v);
bool EcrirePorterAutomatiquement(const QString& cheminINI, bool oui);
bool EcrireArrhes(const QString& cheminINI, const MontantOuPourcentage::Valeur& v);
bool EcrireDelaiArrhes(const QString& cheminINI, int jours);

} // namespace Etablissement
