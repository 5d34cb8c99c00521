#include "modeletarifs.h"

#include "facturation/tarification.h"
#include "modelearticles.h"
#include "store/conversion.h"
#include "store/dates.h"
#include "store/horloge.h"

#include <cmath>

using RequetesFacturation::Tarif;

ModeleTarifs::ModeleTarifs(const QSqlDatabase& base, QObject* parent)
    : QAbstractTableModel(parent)
    , m_base(base)
{
}

std::optional<QDate> ModeleTarifs::LireJour(const QString& texte)
{
    // A season is made of whole days: a time of day is not a day.
    if (texte.trimmed().contains(QLatin1Char(' ')))
        return std::nullopt;
    const auto lu = Conversion::LireDate(texte);
    if (!lu)
        return std::nullopt;
    return lu->date();
}

QString ModeleTarifs::Verifier(const QList<Tarif>& tarifs)
{
    QList<Tarification::Saison> saisons;
    for (const Tarif& t : tarifs) {
        if (t.categorie.trimmed().isEmpty())
            return QStringLiteral("La catégorie d'un tarif ne peut pas être vide.");
        for (double prix : {t.prixNuit, t.prixAdulte, t.prixEnfant})
            if (!(prix >= 0) || !std::isfinite(prix))
                return QStringLiteral("Un prix de la catégorie %1 est négatif.").arg(t.categorie);
        if (!(t.tauxTVA >= 0 && t.tauxTVA <= 100))
            return QStringLiteral("Le taux de TVA doit être compris entre 0 et 100 %.");
        saisons.append({t.numero, t.categorie.trimmed(), t.premier, t.dernier,
                        t.prixNuit, t.prixAdulte, t.prixEnfant, t.tauxTVA});
    }
    return Tarification::VerifierSaisons(saisons);
}

bool ModeleTarifs::charger(QString* erreur)
{
    const auto lus = RequetesFacturation::tarifs(m_base, erreur);
    beginResetModel();
    m_tarifs = lus.value_or(QList<Tarif>());
    endResetModel();
    return lus.has_value();
}

int ModeleTarifs::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_tarifs.size());
}

int ModeleTarifs::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : NbColonnes;
}

QVariant ModeleTarifs::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_tarifs.size())
        return QVariant();
    const Tarif& t = m_tarifs[index.row()];
    if (role == Qt::TextAlignmentRole && index.column() >= PrixNuit)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    const auto prix = [role](double p) {
        return role == Qt::DisplayRole ? Conversion::Monnaie(p) : ModeleArticles::TextePrix(p);
    };
    switch (index.column()) {
    case Categorie: return t.categorie;
    case PremierJour: return Dates::jjmmaaaa(t.premier);
    case DernierJour: return Dates::jjmmaaaa(t.dernier);
    case PrixNuit: return prix(t.prixNuit);
    case PrixAdulte: return prix(t.prixAdulte);
    case PrixEnfant: return prix(t.prixEnfant);
    case TauxTVA: return ModeleArticles::TexteTaux(t.tauxTVA);
    default: return QVariant();
    }
}

QVariant ModeleTarifs::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QVariant();
    if (role == Qt::DisplayRole) {
        switch (section) {
        case Categorie: return QStringLiteral("Catégorie");
        case PremierJour: return QStringLiteral("Du");
        case DernierJour: return QStringLiteral("Au");
        case PrixNuit: return QStringLiteral("Nuit");
        case PrixAdulte: return QStringLiteral("Adulte");
        case PrixEnfant: return QStringLiteral("Enfant");
        case TauxTVA: return QStringLiteral("TVA %");
        default: return QVariant();
        }
    }
    if (role == Qt::ToolTipRole) {
        switch (section) {
        case Categorie: return QStringLiteral("Catégorie des logements (colonne « Catégorie » de l'onglet Objets)");
        case PremierJour: return QStringLiteral("Première nuit de la saison (jj/mm/aaaa)");
        case DernierJour: return QStringLiteral("Dernière nuit de la saison, comprise (jj/mm/aaaa)");
        case PrixNuit: return QStringLiteral("Prix de la nuit du logement, TTC");
        case PrixAdulte: return QStringLiteral("Supplément par adulte et par nuit, TTC");
        case PrixEnfant: return QStringLiteral("Supplément par enfant et par nuit, TTC");
        case TauxTVA: return QStringLiteral("Taux de TVA compris dans les prix");
        default: return QVariant();
        }
    }
    return QVariant();
}

Qt::ItemFlags ModeleTarifs::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QString ModeleTarifs::lireNombre(int colonne, const QVariant& saisi, double* valeur)
{
    // A number handed over as such is taken as it is; text is read.
    const bool numerique = saisi.typeId() == QMetaType::Double || saisi.typeId() == QMetaType::Int;
    const bool taux = colonne == TauxTVA;
    const std::optional<double> lu = numerique ? std::optional<double>(saisi.toDouble())
                                   : taux ? ModeleArticles::LireTaux(saisi.toString())
                                          : ModeleArticles::LirePrix(saisi.toString());
    if (!lu || !std::isfinite(*lu))
        return taux ? QStringLiteral("Le taux de TVA « %1 » n'est pas un nombre (exemple : 5,5).").arg(saisi.toString())
                    : QStringLiteral("Le prix « %1 » n'est pas un nombre (exemple : 12,50).").arg(saisi.toString());
    if (*lu < 0)
        return taux ? QStringLiteral("Le taux de TVA ne peut pas être négatif (« %1 »).").arg(saisi.toString())
                    : QStringLiteral("Le prix ne peut pas être négatif (« %1 »).").arg(saisi.toString());
    if (taux && *lu > 100)
        return QStringLiteral("Le taux de TVA ne peut pas dépasser 100 % (« %1 »).").arg(saisi.toString());
    *valeur = std::round(*lu * 100.0) / 100.0;
    return QString();
}

bool ModeleTarifs::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.row() >= m_tarifs.size())
        return false;
    Tarif t = m_tarifs[index.row()];
    switch (index.column()) {
    case Categorie:
        t.categorie = value.toString().trimmed();
        break;
    case PremierJour:
    case DernierJour: {
        const auto jour = LireJour(value.toString());
        if (!jour) {
            emit refus(QStringLiteral("« %1 » n'est pas une date (jj/mm/aaaa).").arg(value.toString()));
            return false;
        }
        (index.column() == PremierJour ? t.premier : t.dernier) = *jour;
        break;
    }
    case PrixNuit:
    case PrixAdulte:
    case PrixEnfant:
    case TauxTVA: {
        double* champ = index.column() == PrixNuit ? &t.prixNuit
                      : index.column() == PrixAdulte ? &t.prixAdulte
                      : index.column() == PrixEnfant ? &t.prixEnfant : &t.tauxTVA;
        const QString message = lireNombre(index.column(), value, champ);
        if (!message.isEmpty()) {
            emit refus(message);
            return false;
        }
        break;
    }
    default:
        return false;
    }
    if (t == m_tarifs[index.row()])
        return true;   // nothing changed, nothing to store
    QList<Tarif> tous = m_tarifs;
    tous[index.row()] = t;
    if (!enregistrer(tous))
        return false;
    m_tarifs = tous;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

bool ModeleTarifs::enregistrer(const QList<Tarif>& tarifs)
{
    const QString faux = Verifier(tarifs);
    if (!faux.isEmpty()) {
        emit refus(QStringLiteral("Le tarif n'est pas enregistré.\n%1").arg(faux));
        return false;
    }
    QString erreur;
    if (!RequetesFacturation::remplacerTarifs(m_base, tarifs, &erreur)) {
        emit refus(QStringLiteral("Les tarifs n'ont pas pu être enregistrés :\n%1").arg(erreur));
        return false;
    }
    return true;
}

std::optional<int> ModeleTarifs::ajouter(const QString& categorie)
{
    Tarif t;
    t.categorie = categorie.trimmed().isEmpty() ? QStringLiteral("Nouvelle catégorie") : categorie.trimmed();
    QDate dernierConnu;
    for (const Tarif& autre : m_tarifs)
        if (autre.categorie.compare(t.categorie, Qt::CaseInsensitive) == 0 && autre.dernier > dernierConnu)
            dernierConnu = autre.dernier;
    t.premier = dernierConnu.isValid() ? dernierConnu.addDays(1) : Horloge::aujourdhui();
    t.dernier = t.premier;
    QList<Tarif> tous = m_tarifs;
    tous.append(t);
    if (!enregistrer(tous))
        return std::nullopt;
    const int ligne = rowCount();
    beginInsertRows(QModelIndex(), ligne, ligne);
    m_tarifs = tous;
    endInsertRows();
    return ligne;
}

bool ModeleTarifs::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > rowCount())
        return false;
    QList<Tarif> restants = m_tarifs;
    restants.remove(row, count);
    QString erreur;
    if (!RequetesFacturation::remplacerTarifs(m_base, restants, &erreur)) {
        emit refus(QStringLiteral("Le tarif n'est pas supprimé.\n%1").arg(erreur));
        return false;
    }
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    m_tarifs = restants;
    endRemoveRows();
    return true;
}
