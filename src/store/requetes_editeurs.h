#pragma once
// Statements of the editors of units, bar articles and states, and the
// overlap check of a stay. Each user action is one transaction; a refusal
// (a unit or state still used) changes nothing and says why in *erreur.
#include "requetes.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace RequetesEditeurs {

// Units. The number must be free and the name not empty.
bool ajouterObjet(const QSqlDatabase& base, const Requetes::Objet& objet, QString* erreur = nullptr);
// Rewrites name, published name, page file and category of unit objet.numero.
bool modifierObjet(const QSqlDatabase& base, const Requetes::Objet& objet, QString* erreur = nullptr);
// Refused while the unit has reservations (the message gives how many).
bool supprimerObjet(const QSqlDatabase& base, qint32 numero, QString* erreur = nullptr);
std::optional<qint32> prochainNumeroObjet(const QSqlDatabase& base, QString* erreur = nullptr);

// Bar articles, identified by their row id. The VAT rate lies within 0..100.
struct LigneArticle {
    qint64 id = 0;
    Requetes::Article article;
};
std::optional<QList<LigneArticle>> articles(const QSqlDatabase& base, QString* erreur = nullptr);
std::optional<qint64> ajouterArticle(const QSqlDatabase& base, const Requetes::Article& article, QString* erreur = nullptr);
bool modifierArticle(const QSqlDatabase& base, qint64 id, const Requetes::Article& article, QString* erreur = nullptr);
bool supprimerArticle(const QSqlDatabase& base, qint64 id, QString* erreur = nullptr);

// States. A new state takes the next free code.
std::optional<qint32> ajouterEtat(const QSqlDatabase& base, const QString& nom, qint32 couleur, QString* erreur = nullptr);
bool renommerEtat(const QSqlDatabase& base, qint32 code, const QString& nom, QString* erreur = nullptr);
// Refused while reservations are in that state.
bool supprimerEtat(const QSqlDatabase& base, qint32 code, QString* erreur = nullptr);

// Reservations of the unit whose stay overlaps [debut, fin[ (hours
// included: a departure at 12:00 and an arrival at 14:00 the same day do not
// clash), other than reservation `sauf`, by arrival.
std::optional<QList<Requetes::Reservation>> chevauchements(const QSqlDatabase& base, qint32 objet,
    const QDateTime& debut, const QDateTime& fin, qint32 sauf, QString* erreur = nullptr);

} // namespace RequetesEditeurs
