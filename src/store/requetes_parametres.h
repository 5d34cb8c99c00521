#pragma once
// Statements of the settings window: the states as stored (raw fields, so
// that a Null or odd value can be told apart), one state's stored colour,
// and the publication flag of a state. Errors come back in *erreur.
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <optional>

namespace RequetesParametres {

struct LigneEtat {
    qint32 code = 0;
    QString nom;          // Null reads ""
    QVariant internet;    // as stored (may be Null or any number)
    QVariant couleur;     // CouleurPrincipale as stored (may be Null)
    bool vendu = true;    // counted as sold in the figures (Null counts)
};

// Every state, in table order.
std::optional<QList<LigneEtat>> etats(const QSqlDatabase& base, QString* erreur = nullptr);

// The stored CouleurPrincipale of a state (possibly Null); nullopt when no
// state has that code or the read fails.
std::optional<QVariant> couleurEtat(const QSqlDatabase& base, qint32 code, QString* erreur = nullptr);

// The stored internet value of a state; nullopt as above.
std::optional<QVariant> internetEtat(const QSqlDatabase& base, qint32 code, QString* erreur = nullptr);

// Stores whether a state's reservations are published: internet (0 or 1)
// and surinternet together. False when no state has that code.
bool changerPublicationEtat(const QSqlDatabase& base, qint32 code, bool publie, QString* erreur = nullptr);

} // namespace RequetesParametres
