#pragma once
// One function per statement the program issues. Values are always bound,
// never spliced into the SQL text. Each returns its rows (or success) and,
// on failure, nullopt/false with the database's message in *erreur.
//
// Dates are naive values (see Dates); a Null or unreadable stored date comes
// back as an invalid QDateTime. Null numbers come back as 0, Null texts as "".
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

namespace Requetes {

struct Etat {
    qint32 code = 0;
    QString nom;
    qint32 couleur = 0;        // CouleurPrincipale, 0x00BBGGRR; Null reads 0
    QVariant internet;         // as stored (may be Null or any number)
    bool surinternet = false;
};

struct Objet {
    qint32 numero = 0;
    QVariant nom;                   // may be Null
    QVariant nomInternet;           // Null means Nom
    QVariant fichierPlanningHTML;   // Null means Nom + ".html"
    QString categorie;              // "" when the unit has none (its stays cannot be priced)
};

// The fields of a reservation as the reservation window writes them.
struct Reservation {
    qint32 numero = 0;         // NumeroReservation (ignored on insert)
    qint32 objet = 0;
    QString nomclient;
    QDateTime debut;           // DateDebut
    QDateTime fin;             // DateFin
    double arrhes = 0;
    QDateTime datelimite;      // invalid: Null
    qint32 etat = 0;
    qint32 nbadultes = 0;
    qint32 nbenfants = 0;
    QString remarque;
    QString telephone;
    QString email;
    qint32 version = 0;        // times it was written; a save checks it (ignored on insert)
    QDateTime annulation;      // when it was cancelled; invalid while it stands (never written by a save)
    bool annulee() const { return annulation.isValid(); }
};

// A reservation with its state, as the planning reads it (statement 3).
struct ReservationPlanning {
    Reservation reservation;
    bool etatTrouve = false;   // false when Etat matches no state (left join)
    qint32 code = 0;
    QString nom;               // the state's name
    qint32 couleur = 0;        // 0 (black) when the state is missing
};

struct Operation {
    QDateTime date;
    double prix = 0;
    QString paiement;
    QString libelle;
    std::optional<double> tauxTVA;   // a charge's VAT rate; none for events, payments and older rows
};

struct Article {
    QString famille;
    QString libelle;
    double prixTTC = 0;
    double tauxTVA = 10;    // percent, included in the price
};

// The text of a database error for the user. A file held by another desk
// (SQLite waited 5 s for it in vain) reads "La base est occupée par un autre
// poste, réessayez."; anything else is the database's own message.
QString TexteErreur(const QSqlError& erreur);

// Puts the statement's error into *erreur (when given); returns false.
bool Rapporter(const QSqlQuery& requete, QString* erreur);

// Runs a prepared statement that must change exactly one row: false with the
// database's message when it fails, with `absente` when no row matched.
bool ChangerUneLigne(QSqlQuery& requete, const QString& absente, QString* erreur);

// Runs `ecrire` inside one transaction: committed when it returns true,
// rolled back otherwise (its own error is then already in *erreur).
bool EnTransaction(const QSqlDatabase& base, QString* erreur, const std::function<bool()>& ecrire);
// The same, taking the write lock before `ecrire` reads anything: what it
// reads cannot change before it commits (another desk's write waits).
bool EnTransactionEcriture(const QSqlDatabase& base, QString* erreur, const std::function<bool()>& ecrire);

// Reads rows of RESERVATIONS (with the state's code, nom and couleur when
// the query joins them), looking the columns up once per query.
class LecteurPlanning
{
public:
    explicit LecteurPlanning(const QSqlQuery& requete);
    ReservationPlanning ligne() const;   // the current row

private:
    const QSqlQuery& m_requete;
    QList<int> m_colonnes;
};

// The statement of the stays of a shown period [finApres, avant[ with their
// state, in two index ranges filtered by filtre1 and filtre2 (the units), in
// the given order; LierPeriode binds the period's bounds.
QString SelectPeriode(const QSqlDatabase& base, const QString& filtre1, const QString& filtre2, const QString& ordre);
void LierPeriode(QSqlQuery& requete, const QDate& avant, const QDateTime& finApres);

// 1 and 14: every state, in table order.
std::optional<QList<Etat>> etats(const QSqlDatabase& base, QString* erreur = nullptr);
// 2, 4 and 12: every unit, in table order.
std::optional<QList<Objet>> objets(const QSqlDatabase& base, QString* erreur = nullptr);
// 3: reservations of a unit starting before `avant` (midnight), with their
// state (left join). When `finApres` is valid, a stay that starts before it
// is returned only when it ends on or after it (the planning's shown period;
// every stay starting from `finApres` on is returned, whatever its end);
// order is DateDebut, then number, so a bounded read keeps the relative
// order of a full one.
std::optional<QList<ReservationPlanning>> reservationsDeObjet(const QSqlDatabase& base, qint32 objet,
    const QDate& avant, const QDateTime& finApres = QDateTime(), QString* erreur = nullptr);
// 5: the row of RESERVATION_NOMINATIVE of that number, as column -> value.
std::optional<QVariantMap> reservationNominative(const QSqlDatabase& base, qint32 numero, QString* erreur = nullptr);
// 6: appends a reservation; returns the number the database gave it.
std::optional<qint32> ajouterReservation(const QSqlDatabase& base, const Reservation& r, QString* erreur = nullptr);
// 7: rewrites every field of reservation r.numero; false when no row has it.
bool modifierReservation(const QSqlDatabase& base, const Reservation& r, QString* erreur = nullptr);
// 7: reads one reservation.
std::optional<Reservation> reservation(const QSqlDatabase& base, qint32 numero, QString* erreur = nullptr);
// 7: deletes one reservation (its journal rows stay).
bool supprimerReservation(const QSqlDatabase& base, qint32 numero, QString* erreur = nullptr);
// 8: appends a journal row (use Module1::EnregistrerOperation).
// A charge's VAT rate goes with it (nullopt: none kept).
bool ajouterOperation(const QSqlDatabase& base, qint32 numero, const QDateTime& date, double prix,
                      const QString& paiement, const QString& libelle, QString* erreur = nullptr,
                      std::optional<double> tauxTVA = std::nullopt);
// 9: rows with an amount, by date.
std::optional<QList<Operation>> operationsMontant(const QSqlDatabase& base, qint32 numero, QString* erreur = nullptr);
// 10: rows without amount (events), by date.
std::optional<QList<Operation>> operationsHistorique(const QSqlDatabase& base, qint32 numero, QString* erreur = nullptr);
// 11: bar articles by family.
std::optional<QList<Article>> consommations(const QSqlDatabase& base, QString* erreur = nullptr);
// 13: published reservations of a unit (state with surinternet true) starting
// before `avant`.
std::optional<QList<Reservation>> reservationsPubliees(const QSqlDatabase& base, qint32 objet,
    const QDate& avant, QString* erreur = nullptr);
// 15: stores a state's colour; false when no state has that code.
bool changerCouleurEtat(const QSqlDatabase& base, qint32 code, qint32 couleur, QString* erreur = nullptr);
// 16: highest reservation number (0 when there is none).
std::optional<qint32> maxNumeroReservation(const QSqlDatabase& base, QString* erreur = nullptr);

} // namespace Requetes
