#pragma once
// The hotel's own details (letterhead of the contracts and invoices) and the
// tourist tax, kept in the program's INI file: section [etablissement] with
// the keys "nom", "adresse", "code postal", "ville", "telephone", "email",
// "siret", "numero tva", "conditions" (the contract's conditions, several
// lines), and "taxe de sejour" of section [facturation] (per adult and per
// night, no VAT; "0" when missing). Plain functions, no window.
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

} // namespace Etablissement
