#pragma once
// The bar's reading of its articles. Unlike the plain article list, the
// price is handed back as stored, so that an empty or unreadable price can
// be told apart from a price of 0.
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <optional>

namespace RequetesBar {

struct ArticleBrut {
    QString famille;
    QString libelle;
    QVariant prixTTC;   // as stored: Null, a number, or a text
    double tauxTVA = 10;  // percent, included in the price (10 when not stored)
};

// Every article, grouped by family, in the order they were entered within a
// family. nullopt with the database's message when the table cannot be read.
std::optional<QList<ArticleBrut>> articles(const QSqlDatabase& base, QString* erreur = nullptr);

} // namespace RequetesBar
