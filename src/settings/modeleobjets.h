#pragma once
// The units (table OBJETS) as a table model for the settings window: one row
// per unit, columns Numero, Nom, Categorie, NomInternet, FichierPlanningHTML,
// and the addresses of the portals' calendars of the unit (table FLUX,
// separated by spaces in the cell).
// The category (free text) picks the unit's rates. Every
// change goes through the store at once; a refusal leaves the row as it was
// and is announced by `refus` with the French message to show.
#include "store/requetes.h"

#include <QAbstractTableModel>
#include <QList>
#include <QMap>
#include <QStringList>
#include <QSqlDatabase>
#include <optional>

class ModeleObjets : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Colonne { Numero, Nom, Categorie, NomInternet, FichierPlanningHTML, CalendriersExternes, NbColonnes };

    explicit ModeleObjets(const QSqlDatabase& base, QObject* parent = nullptr);

    // Reads every unit again; false (with the reason in *erreur) when the
    // table cannot be read, the rows are then empty.
    bool charger(QString* erreur = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Appends units only (row == rowCount()): each takes the next free
    // number and the name "Logement <number>".
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    // Removes units from the last to the first; the first refusal stops.
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    // Appends one unit; its row, or nullopt after a refusal.
    std::optional<int> ajouter();
    Requetes::Objet objet(int ligne) const { return m_objets.value(ligne); }

signals:
    // A change was refused; nothing was stored.
    void refus(const QString& message);
    // A unit was added, changed or removed.
    void donneesChangees();

private:
    // Stores the changed unit of row index.row(); a refusal keeps the row.
    bool enregistrer(const QModelIndex& index, const Requetes::Objet& objet);
    // Stores the feeds typed in the cell; a refused address stores nothing.
    bool enregistrerAdresses(const QModelIndex& index, const QString& saisie);

    QSqlDatabase m_base;
    QList<Requetes::Objet> m_objets;
    QMap<qint32, QStringList> m_adresses;   // the feeds of each unit
};
