#include "modeleobjets.h"

#include "flux/rapprochement.h"
#include "store/requetes_editeurs.h"
#include "store/requetes_flux.h"

namespace {

// A stored Null shows as an empty cell.
QString texte(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}

} // namespace

ModeleObjets::ModeleObjets(const QSqlDatabase& base, QObject* parent)
    : QAbstractTableModel(parent)
    , m_base(base)
{
}

bool ModeleObjets::charger(QString* erreur)
{
    const auto lus = Requetes::objets(m_base, erreur);
    const auto adresses = lus ? RequetesFlux::adressesParObjet(m_base, erreur) : std::nullopt;
    beginResetModel();
    m_objets = adresses ? lus.value_or(QList<Requetes::Objet>()) : QList<Requetes::Objet>();
    m_adresses = adresses.value_or(QMap<qint32, QStringList>());
    endResetModel();
    return adresses.has_value();
}

int ModeleObjets::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_objets.size());
}

int ModeleObjets::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : NbColonnes;
}

QVariant ModeleObjets::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_objets.size())
        return QVariant();
    const Requetes::Objet& o = m_objets[index.row()];
    if (role == Qt::TextAlignmentRole && index.column() == Numero)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    switch (index.column()) {
    case Numero:
        return o.numero;
    case Nom:
        return texte(o.nom);
    case Categorie:
        return o.categorie;
    case NomInternet:
        return texte(o.nomInternet);
    case FichierPlanningHTML:
        return texte(o.fichierPlanningHTML);
    case CalendriersExternes:
        return m_adresses.value(o.numero).join(QLatin1Char(' '));
    default:
        return QVariant();
    }
}

QVariant ModeleObjets::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QVariant();
    if (role == Qt::DisplayRole) {
        switch (section) {
        case Numero: return QStringLiteral("Numéro");
        case Nom: return QStringLiteral("Nom");
        case Categorie: return QStringLiteral("Catégorie");
        case NomInternet: return QStringLiteral("Nom sur Internet");
        case FichierPlanningHTML: return QStringLiteral("Page du planning");
        case CalendriersExternes: return QStringLiteral("Calendriers externes");
        default: return QVariant();
        }
    }
    if (role == Qt::ToolTipRole) {
        switch (section) {
        case Numero: return QStringLiteral("Numéro du logement, fixé à sa création");
        case Categorie: return QStringLiteral("Catégorie des tarifs du logement (Emplacement, Chalet, Chambre…)");
        case NomInternet: return QStringLiteral("Vide : le nom du logement");
        case FichierPlanningHTML: return QStringLiteral("Vide : le nom du logement suivi de « .html »");
        case CalendriersExternes:
            return QStringLiteral("Adresses des calendriers (.ics) des portails pour ce logement, séparées par "
                                  "des espaces : https://…, http://… ou chemin d'un fichier");
        default: return QVariant();
        }
    }
    return QVariant();
}

Qt::ItemFlags ModeleObjets::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // The number ties the reservations to the unit: it never changes.
    const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == Numero ? base : base | Qt::ItemIsEditable;
}

bool ModeleObjets::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.row() >= m_objets.size() || index.column() == Numero)
        return false;
    if (index.column() == CalendriersExternes)
        return enregistrerAdresses(index, value.toString());
    Requetes::Objet o = m_objets[index.row()];
    const QString saisi = value.toString().trimmed();
    if (index.column() == Categorie) {
        if (o.categorie == saisi)
            return true;
        o.categorie = saisi;
        return enregistrer(index, o);
    }
    const QVariant nouveau = saisi.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(saisi);
    QVariant* champ = index.column() == Nom ? &o.nom
                    : index.column() == NomInternet ? &o.nomInternet : &o.fichierPlanningHTML;
    if (texte(*champ) == saisi)
        return true;   // nothing changed, nothing to store
    *champ = nouveau;
    return enregistrer(index, o);
}

bool ModeleObjets::enregistrer(const QModelIndex& index, const Requetes::Objet& o)
{
    QString erreur;
    if (!RequetesEditeurs::modifierObjet(m_base, o, &erreur)) {
        emit refus(erreur);
        return false;
    }
    m_objets[index.row()] = o;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    emit donneesChangees();
    return true;
}

bool ModeleObjets::enregistrerAdresses(const QModelIndex& index, const QString& saisie)
{
    const qint32 numero = m_objets[index.row()].numero;
    // In the order the table keeps them, as the next reading shows them.
    QStringList adresses = Rapprochement::Adresses(saisie);
    adresses.sort();
    if (adresses == m_adresses.value(numero))
        return true;
    for (const QString& adresse : adresses)
        if (const auto refus = Rapprochement::AdresseRefusee(adresse)) {
            emit this->refus(*refus);
            return false;
        }
    QString erreur;
    if (!RequetesFlux::remplacerAdresses(m_base, numero, adresses, &erreur)) {
        emit refus(erreur);
        return false;
    }
    if (adresses.isEmpty())
        m_adresses.remove(numero);
    else
        m_adresses.insert(numero, adresses);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    emit donneesChangees();
    return true;
}

bool ModeleObjets::insertRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row != rowCount() || count < 1)
        return false;
    for (int i = 0; i < count; ++i) {
        QString erreur;
        const auto numero = RequetesEditeurs::prochainNumeroObjet(m_base, &erreur);
        Requetes::Objet o;
        if (numero) {
            o.numero = *numero;
            o.nom = QStringLiteral("Logement %1").arg(*numero);
        }
        if (!numero || !RequetesEditeurs::ajouterObjet(m_base, o, &erreur)) {
            emit refus(QStringLiteral("Le logement n'a pas pu être ajouté :\n%1").arg(erreur));
            return false;
        }
        const int ligne = rowCount();
        beginInsertRows(QModelIndex(), ligne, ligne);
        m_objets.append(o);
        endInsertRows();
        emit donneesChangees();
    }
    return true;
}

std::optional<int> ModeleObjets::ajouter()
{
    if (!insertRows(rowCount(), 1))
        return std::nullopt;
    return rowCount() - 1;
}

bool ModeleObjets::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > rowCount())
        return false;
    for (int ligne = row + count - 1; ligne >= row; --ligne) {
        QString erreur;
        if (!RequetesEditeurs::supprimerObjet(m_base, m_objets[ligne].numero, &erreur)) {
            emit refus(QStringLiteral("Le logement « %1 » n'est pas supprimé.\n%2")
                           .arg(texte(m_objets[ligne].nom), erreur));
            return false;
        }
        beginRemoveRows(QModelIndex(), ligne, ligne);
        m_objets.removeAt(ligne);
        endRemoveRows();
        emit donneesChangees();
    }
    return true;
}
