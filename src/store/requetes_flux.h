#pragma once
// Statements of the portals' calendar feeds: the addresses of each unit
// (table FLUX), the reservations imported from a feed (RESERVATIONS.UidExterne
// holds the feed's address, one space, and the event's UID), and the state
// "Portail" those reservations are in. Values are always bound.
#include "requetes.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

namespace RequetesFlux {

// Name of the state of imported reservations; it is never published, so a
// portal never reads back what it sold.
inline constexpr const char* kEtatPortail = "Portail";
// Its colour (0x00BBGGRR): a violet no default state uses.
constexpr qint32 kCouleurPortail = 0x8B3D8B;

struct Flux {
    QString adresse;
    qint32 objet = 0;
    QString nomObjet;             // the unit's name ("" when Null)
    QDateTime derniereLecture;    // invalid before the first reading
    QString dernierResultat;
};

// Every feed of an existing unit, by unit then address.
std::optional<QList<Flux>> flux(const QSqlDatabase& base, QString* erreur = nullptr);
// The addresses of every unit that has some, each list in address order.
std::optional<QMap<qint32, QStringList>> adressesParObjet(const QSqlDatabase& base, QString* erreur = nullptr);
// Replaces the addresses of unit `objet` by `adresses`, in one transaction.
// An address already given to another unit is refused (the message names
// it), and nothing changes. Reservations already imported stay.
bool remplacerAdresses(const QSqlDatabase& base, qint32 objet, const QStringList& adresses,
                       QString* erreur = nullptr);
// Notes the moment and outcome of a feed's last reading.
bool noterLecture(const QSqlDatabase& base, const QString& adresse, const QDateTime& moment,
                  const QString& resultat, QString* erreur = nullptr);

// The value of UidExterne for an event of a feed.
QString UidExterne(const QString& adresse, const QString& uid);

// A reservation imported from a feed.
struct ReservationImportee {
    qint32 numero = 0;
    QString uid;          // the event's UID (UidExterne without the address)
    QDateTime debut;
    QDateTime fin;
};
// The reservations imported from the feed at `adresse`, by number.
std::optional<QList<ReservationImportee>> reservationsDuFlux(const QSqlDatabase& base, const QString& adresse,
                                                           QString* erreur = nullptr);

// A stay of a unit, with where it comes from ("" when made at the desk).
struct SejourObjet {
    qint32 numero = 0;
    QString nomclient;
    QDateTime debut;
    QDateTime fin;
    QString uidExterne;
};
// The stays of unit `objet` that end after `depuis`, by arrival.
std::optional<QList<SejourObjet>> sejoursDeObjet(const QSqlDatabase& base, qint32 objet, const QDateTime& depuis,
                                                 QString* erreur = nullptr);

// The code of the state "Portail", created (not published) when missing.
std::optional<qint32> etatPortail(const QSqlDatabase& base, QString* erreur = nullptr);

// Appends reservation r with its UidExterne; its number.
std::optional<qint32> ajouterReservationImportee(const QSqlDatabase& base, const Requetes::Reservation& r,
                                                 const QString& uidExterne, QString* erreur = nullptr);
// Moves reservation `numero` to new arrival and departure.
bool deplacerReservation(const QSqlDatabase& base, qint32 numero, const QDateTime& debut, const QDateTime& fin,
                         QString* erreur = nullptr);

} // namespace RequetesFlux
