#pragma once
// The telephones of the reservations indexed by groups of three digits, so
// that any part of a number finds it ("1234", "90.12"). On SQLite a
// full-text table with the trigram tokenizer holds each reservation's
// telephone digits, kept in step with RESERVATIONS by triggers; on
// PostgreSQL a pg_trgm index covers the same digits of RESERVATIONS itself.
// Where the engine has neither, the search reads every telephone instead:
// slower on a long history, same results.
#include "dialecte.h"

#include <QSqlDatabase>
#include <QString>

namespace IndexTelephones {

// The digits of a telephone column as the index keeps them (spaces, dots,
// dashes, slashes, brackets, "+" and tabulations removed).
QString Chiffres(const QString& colonne, Dialecte::Moteur moteur = Dialecte::Moteur::SQLite);

// A part of a number shorter than this is not looked for inside the
// telephones (two digits would find nearly every one of them).
inline constexpr int kChiffresMin = 3;

enum class Issue {
    Installe,       // the index is there and holds every reservation
    Indisponible,   // the engine cannot make it: nothing changed, the search reads every telephone
    Echec,          // a statement failed: the caller's transaction must not be committed
};

// Makes the index and fills it with the reservations already there, inside
// the caller's transaction (a failed attempt is undone to a savepoint, so
// that the transaction goes on). *raison says why when not Installe.
Issue Installer(const QSqlDatabase& base, QString* raison = nullptr);

// Installer() for the schema's creation and upgrade: an engine that cannot
// make the index is said on standard error, with its reason, and the
// database opens all the same. False (with the reason) only for Echec.
bool InstallerSinonSignaler(const QSqlDatabase& base, QString* erreur = nullptr);

// True when this SQLite file has the trigram table (always true on
// PostgreSQL, where the same statement runs with or without its index).
bool Present(const QSqlDatabase& base);

// The numbers of the reservations whose telephone holds the value bound to
// :tel, as a sub-select; and the same test on the row `ligne` of
// RESERVATIONS (for a walk through many rows).
QString Selection(const QSqlDatabase& base, bool present);
QString Condition(const QSqlDatabase& base, bool present, const QString& ligne);
// What :tel is bound to for the digits searched.
QString Valeur(const QString& chiffres, const QSqlDatabase& base, bool present);

} // namespace IndexTelephones
