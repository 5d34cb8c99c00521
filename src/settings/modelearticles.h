#pragma once
// The bar articles (table CONSOMMATIONS) as a table model for the settings
// window: columns Famille, Libelle, prixTTC and the VAT rate included in the
// price (10 % for a new article). Every change goes through the
// store at once; a refusal leaves the row as it was and is announced by
// `refus` with the French message to show.
#include "store/requetes_editeurs.h"

#include <QAbstractTableModel>
#include <QList>
#include <QSqlDatabase>
#include <optional>

class ModeleArticles : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Colonne { Famille, Libelle, prixTTC, tauxTVA, NbColonnes };

    explicit ModeleArticles(const QSqlDatabase& base, QObject* parent = nullptr);

    // A price as typed: a decimal comma or point, blanks between digit
    // groups and a trailing "€" are accepted; anything else is nullopt.
    static std::optional<double> LirePrix(const QString& texte);
    // The price as the editor offers it: two decimals and a comma ("2,50").
    static QString TextePrix(double prix);
    // A rate in percent as typed: read as a price, a trailing "%" allowed.
    static std::optional<double> LireTaux(const QString& texte);
    // The rate as shown: no useless decimals ("10", "5,5").
    static QString TexteTaux(double taux);

    bool charger(QString* erreur = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Appends articles only (row == rowCount()), named "Nouvel article" at
    // no price, in the family given to ajouter (none for insertRows).
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    std::optional<int> ajouter(const QString& famille = QString());
    RequetesEditeurs::LigneArticle ligne(int i) const { return m_lignes.value(i); }

signals:
    void refus(const QString& message);

private:
    bool ajouterUn(const QString& famille);

    QSqlDatabase m_base;
    QList<RequetesEditeurs::LigneArticle> m_lignes;
};
