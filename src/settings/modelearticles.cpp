#include "modelearticles.h"

#include "store/conversion.h"

#include <QRegularExpression>
#include <cmath>

ModeleArticles::ModeleArticles(const QSqlDatabase& base, QObject* parent)
    : QAbstractTableModel(parent)
    , m_base(base)
{
}

std::optional<double> ModeleArticles::LirePrix(const QString& texte)
{
    // The editor also takes the price as it shows it ("2,50 €", with
    // non-breaking blanks), but only a plain decimal number.
    QString t = texte.trimmed();
    if (t.endsWith(QChar(0x20AC)))   // €
        t.chop(1);
    static const QRegularExpression blancs(QStringLiteral("[\\s\\x{00A0}\\x{202F}]"));
    t.remove(blancs);
    static const QRegularExpression nombre(QStringLiteral("^[-+]?(\\d+([.,]\\d*)?|[.,]\\d+)$"));
    if (!nombre.match(t).hasMatch())
        return std::nullopt;
    return Conversion::LireMontant(t);
}

QString ModeleArticles::TextePrix(double prix)
{
    // -0,00 would puzzle the user.
    const double arrondi = std::round(prix * 100.0) / 100.0;
    return QString::number(arrondi == 0 ? 0.0 : arrondi, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

std::optional<double> ModeleArticles::LireTaux(const QString& texte)
{
    QString t = texte.trimmed();
    if (t.endsWith(QLatin1Char('%')))
        t.chop(1);
    return LirePrix(t);
}

QString ModeleArticles::TexteTaux(double taux)
{
    static const QRegularExpression zerosFinaux(QStringLiteral("\\.?0+$"));
    return QString::number(std::round(taux * 100.0) / 100.0, 'f', 2)
        .remove(zerosFinaux)
        .replace(QLatin1Char('.'), QLatin1Char(','));
}

bool ModeleArticles::charger(QString* erreur)
{
    const auto lus = RequetesEditeurs::articles(m_base, erreur);
    beginResetModel();
    m_lignes = lus.value_or(QList<RequetesEditeurs::LigneArticle>());
    endResetModel();
    return lus.has_value();
}

int ModeleArticles::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_lignes.size());
}

int ModeleArticles::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : NbColonnes;
}

QVariant ModeleArticles::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_lignes.size())
        return QVariant();
    const Requetes::Article& a = m_lignes[index.row()].article;
    if (role == Qt::TextAlignmentRole && (index.column() == prixTTC || index.column() == tauxTVA))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    switch (index.column()) {
    case Famille:
        return a.famille;
    case Libelle:
        return a.libelle;
    case prixTTC:
        return role == Qt::DisplayRole ? Conversion::Monnaie(a.prixTTC) : TextePrix(a.prixTTC);
    case tauxTVA:
        return TexteTaux(a.tauxTVA);
    default:
        return QVariant();
    }
}

QVariant ModeleArticles::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case Famille: return QStringLiteral("Famille");
    case Libelle: return QStringLiteral("Libellé");
    case prixTTC: return QStringLiteral("Prix TTC");
    case tauxTVA: return QStringLiteral("TVA %");
    default: return QVariant();
    }
}

Qt::ItemFlags ModeleArticles::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool ModeleArticles::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.row() >= m_lignes.size())
        return false;
    RequetesEditeurs::LigneArticle l = m_lignes[index.row()];
    switch (index.column()) {
    case Famille:
        l.article.famille = value.toString().trimmed();
        break;
    case Libelle:
        l.article.libelle = value.toString().trimmed();
        break;
    case prixTTC: {
        // A number handed over as such is taken as it is; text is read.
        const bool numerique = value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Int;
        const auto prix = numerique ? std::optional<double>(value.toDouble()) : LirePrix(value.toString());
        if (!prix || !std::isfinite(*prix)) {
            emit refus(QStringLiteral("Le prix « %1 » n'est pas un nombre (exemple : 2,50).").arg(value.toString()));
            return false;
        }
        l.article.prixTTC = std::round(*prix * 100.0) / 100.0;
        break;
    }
    case tauxTVA: {
        const bool numerique = value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Int;
        const auto taux = numerique ? std::optional<double>(value.toDouble()) : LireTaux(value.toString());
        if (!taux || !std::isfinite(*taux)) {
            emit refus(QStringLiteral("Le taux de TVA « %1 » n'est pas un nombre (exemple : 5,5).").arg(value.toString()));
            return false;
        }
        // Out of 0..100 the store refuses it with its own message.
        l.article.tauxTVA = std::round(*taux * 100.0) / 100.0;
        break;
    }
    default:
        return false;
    }
    const Requetes::Article& avant = m_lignes[index.row()].article;
    if (l.article.famille == avant.famille && l.article.libelle == avant.libelle && l.article.prixTTC == avant.prixTTC
        && l.article.tauxTVA == avant.tauxTVA)
        return true;
    QString erreur;
    if (!RequetesEditeurs::modifierArticle(m_base, l.id, l.article, &erreur)) {
        emit refus(erreur);
        return false;
    }
    m_lignes[index.row()] = l;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

bool ModeleArticles::ajouterUn(const QString& famille)
{
    const Requetes::Article a{famille.trimmed(), QStringLiteral("Nouvel article"), 0.0};
    QString erreur;
    const auto id = RequetesEditeurs::ajouterArticle(m_base, a, &erreur);
    if (!id) {
        emit refus(QStringLiteral("L'article n'a pas pu être ajouté :\n%1").arg(erreur));
        return false;
    }
    const int ligne = rowCount();
    beginInsertRows(QModelIndex(), ligne, ligne);
    m_lignes.append({*id, a});
    endInsertRows();
    return true;
}

bool ModeleArticles::insertRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row != rowCount() || count < 1)
        return false;
    for (int i = 0; i < count; ++i)
        if (!ajouterUn(QString()))
            return false;
    return true;
}

std::optional<int> ModeleArticles::ajouter(const QString& famille)
{
    if (!ajouterUn(famille))
        return std::nullopt;
    return rowCount() - 1;
}

bool ModeleArticles::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > rowCount())
        return false;
    for (int ligne = row + count - 1; ligne >= row; --ligne) {
        QString erreur;
        if (!RequetesEditeurs::supprimerArticle(m_base, m_lignes[ligne].id, &erreur)) {
            emit refus(QStringLiteral("L'article « %1 » n'est pas supprimé.\n%2")
                           .arg(m_lignes[ligne].article.libelle, erreur));
            return false;
        }
        beginRemoveRows(QModelIndex(), ligne, ligne);
        m_lignes.removeAt(ligne);
        endRemoveRows();
    }
    return true;
}
