#pragma once
// Small conversions shared by every window: text replacement, paths and
// separated fields, money format, French month names, file names, and the
// three shared ways of reading numbers, dates and 16-bit whole numbers.
// Every function is pure; none reads the configuration, the database or a
// window.
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>

namespace Conversion {

QString Remplacer(const QString& texte, const QString& cherche, const QString& remplace);
// Folder part of a path, up to and including the last ':', '\' or '/'.
QString ExtraireDossier(const QString& chemin);
QVariant SiAlorsSinon(const QVariant& condition, const QVariant& siVrai, const QVariant& siFaux);
bool PointDansRectangle(float x, float y, float gauche, float haut, float droite, float bas);
double Maximum(double a, double b);
double Minimum(double a, double b);
// Genre 5: money, "1 234,50 €". Any other genre returns the value (Null: "").
QVariant FormaterValeur(int genre, const QVariant& valeur);
QString NomDuMois(int n);
// 1..12 for an exact month name, nullopt (Empty) otherwise.
std::optional<int> NumeroDuMois(const QString& nom);
QVariant SansNull(const QVariant& valeur);
QString ExtraireChamp(const QString& texte, const QString& separateur, int n);
QString NomDeFichierValide(const QString& texte);

// Money format of every amount shown: FormaterValeur(5, montant) as text.
QString Monnaie(double montant);

// Shared conversion 1: the leading number of a text ("12 : Chalet" -> 12,
// "12,50" -> 12, "abc" -> 0). Blanks anywhere are ignored; "&H"/"&O" prefixes.
double LireNombre(const QString& texte);
// Shared conversion 2: "dd/mm/yyyy" optionally followed by " hh:nn".
std::optional<QDateTime> LireDate(const QString& texte);
// Shared conversion 3: nearest whole number, halves to even, within 16 bits.
std::optional<qint16> EntierSeize(double valeur);

// Amounts are kept to the cent.
double ArrondiCentime(double montant);
// Reads an amount typed by the user: digits with one optional decimal comma
// or point, an optional sign, blanks allowed ("1 200,50", "-20", ",5").
// nullopt for anything else, exponents ("1e6") included.
std::optional<double> LireMontant(const QString& texte);
// Reads a count typed by the user: plain digits only, blanks around them
// allowed. nullopt for anything else ("1e3", "3,0", "+2", "-1").
std::optional<qint64> LireEntier(const QString& texte);

} // namespace Conversion
