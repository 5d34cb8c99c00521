#pragma once
// The stay prices (table TARIFS) as a table model for the settings window:
// one row per season of a unit category, with its first and last day, the
// price per night, per adult and per child and per night, and the VAT rate
// included in them. Every accepted edit stores the whole table again in one
// transaction; an edit that would leave a wrong table (a price that is not a
// number, a season ending before it starts, two seasons of one category
// sharing a night) stores nothing, keeps the row and is announced by
// `refus` with the French message to show.
#include "store/requetes_facturation.h"

#include <QAbstractTableModel>
#include <QList>
#include <QSqlDatabase>
#include <optional>

class ModeleTarifs : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Colonne { Categorie, PremierJour, DernierJour, PrixNuit, PrixAdulte, PrixEnfant, TauxTVA, NbColonnes };

    explicit ModeleTarifs(const QSqlDatabase& base, QObject* parent = nullptr);

    // A day as typed, "jj/mm/aaaa" (a two-digit year is of this century or
    // the last, as everywhere in the program); nullopt for anything else.
    static std::optional<QDate> LireJour(const QString& texte);
    // What is wrong with a whole table, as a French sentence; empty when it
    // may be stored.
    static QString Verifier(const QList<RequetesFacturation::Tarif>& tarifs);

    bool charger(QString* erreur = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    // Appends a one-night season of `categorie` ("Nouvelle catégorie" when
    // empty) on the day after that category's last season, or today when it
    // has none; its row, or nullopt after a refusal.
    std::optional<int> ajouter(const QString& categorie = QString());
    RequetesFacturation::Tarif tarif(int ligne) const { return m_tarifs.value(ligne); }

signals:
    void refus(const QString& message);

private:
    // Checks and stores `tarifs` as the whole table; false after a refusal.
    bool enregistrer(const QList<RequetesFacturation::Tarif>& tarifs);
    // Reads the typed value of a money or rate column into *valeur, or
    // returns the refusal message.
    static QString lireNombre(int colonne, const QVariant& saisi, double* valeur);

    QSqlDatabase m_base;
    QList<RequetesFacturation::Tarif> m_tarifs;
};
