#pragma once
// The day at the desk: the stays around one day, the search of the
// reservations through their full-text index, and the check-in and
// check-out of a stay (its state and its journal row together).
#include "dialecte.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

namespace RequetesJournee {

// The full-text index of the reservations (client name, telephone digits,
// e-mail, remark), kept in step with RESERVATIONS by triggers. The
// statements that make it, for a new file and for the upgrade of an older
// one (which then indexes the reservations already there).
QStringList InstructionsIndexRecherche(Dialecte::Moteur moteur = Dialecte::Moteur::SQLite);
QString InstructionRemplirIndexRecherche();

// One stay as the day's lists and the search results show it.
struct Sejour {
    qint32 numero = 0;
    qint32 objet = 0;
    QString unite;             // the unit's name ("" when the unit is gone)
    QString client;
    QDateTime debut;           // invalid when unreadable
    QDateTime fin;
    qint32 nbadultes = 0;
    qint32 nbenfants = 0;
    qint32 etat = 0;           // RESERVATIONS.Etat
    bool etatTrouve = false;   // false when Etat matches no state
    QString nomEtat;
    qint32 couleur = 0;        // 0x00BBGGRR of the state, 0 when missing
    double solde = 0;          // the account: payments minus charges
    QString telephone;
    QString email;
    QDateTime annulation;      // when it was cancelled; invalid while it stands
    bool annulee() const { return annulation.isValid(); }
};

// Stays that touch `jour`: starting on or before it and ending on or after
// it. A reservation without a client name or without dates is left out, and
// so is a cancelled one.
std::optional<QList<Sejour>> sejoursAutourDe(const QSqlDatabase& base, const QDate& jour,
                                             QString* erreur = nullptr);

// What the engine is given for a text typed in the search box. Every term
// of the user is quoted (its quotes doubled) and searched as a prefix, so
// that no operator, column filter or wildcard of the user's text reaches
// the full-text engine. A text made of digits and telephone separators
// searches those digits together (a telephone typed with spaces) as the
// start of a word, anywhere inside a telephone when there are three digits
// or more, and, when it is a whole number, that reservation number too. The same search is
// given to PostgreSQL as a text-search query whose words are folded as its
// index folds them (letters and digits only, no accent, lower case), so
// that no user text is syntax there either.
struct Expression {
    QString fts;                      // empty: nothing to search
    QString tsquery;                  // the same, for PostgreSQL
    std::optional<qint32> numero;     // a reservation number to find as well
    QString telephone;                // digits to find anywhere in a telephone ("" when none)
    bool vide() const { return fts.isEmpty() && !numero && telephone.isEmpty(); }
};
Expression expressionRecherche(const QString& texte);

// A text as the search compares it on PostgreSQL (as SQLite's index does):
// letters and digits without their accents and in lower case, every other
// character a space between words.
QString plierRecherche(const QString& texte);

// The reservations the text finds, newest arrival first, at most `limite`.
// A text shorter than two characters, or with nothing searchable in it,
// finds nothing. Reservations without a name or dates are left out.
std::optional<QList<Sejour>> rechercher(const QSqlDatabase& base, const QString& texte, int limite = 50,
                                        QString* erreur = nullptr);

// A stay that asks for a deposit, with what was paid on its account so far.
struct ArrhesDemandees {
    qint32 numero = 0;
    qint32 objet = 0;
    QString unite;             // the unit's name ("" when the unit is gone)
    QString client;
    QDateTime debut;
    QDateTime fin;
    double arrhes = 0;         // the deposit asked
    double recu = 0;           // payments so far (rows with a payment code), refunds less
    QDateTime datelimite;      // the date the deposit is due; invalid when none
};

// The stays, not cancelled, ending on `jour` or after, that ask for a
// deposit. A reservation without a client name or without readable dates is
// left out. Unordered; whose deposit is still due is for the caller to say.
std::optional<QList<ArrhesDemandees>> arrhesDemandees(const QSqlDatabase& base, const QDate& jour,
                                                      QString* erreur = nullptr);

// Sets the reservation's state and writes the journal row `libelle`, both
// or neither. False when no reservation has that number.
bool changerEtat(const QSqlDatabase& base, qint32 numero, qint32 etat, const QString& libelle,
                 QString* erreur = nullptr);
// The same, the stay's departure moved to `fin` with them (a guest leaving
// before the planned day).
bool changerEtatEtDepart(const QSqlDatabase& base, qint32 numero, qint32 etat, const QString& libelle,
                         const QDateTime& fin, QString* erreur = nullptr);

} // namespace RequetesJournee
