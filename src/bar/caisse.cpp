#include "caisse.h"

#include "store/conversion.h"

#include <QLocale>
#include <cmath>

namespace Caisse {

QList<QPoint> dispositionArticles(int nombre, QPoint origine, QSize taille, int ecart, int limite)
{
    QList<QPoint> positions;
    int x = origine.x();
    int y = origine.y();
    for (int i = 0; i < nombre; ++i) {
        if (x > limite) {
            x = origine.x();
            y += taille.height() + ecart;
        }
        positions.append(QPoint(x, y));
        x += taille.width() + ecart;
    }
    return positions;
}

Article lireArticle(const QString& libelle, const QVariant& prixTTC)
{
    Article a;
    a.libelle = libelle;
    if (prixTTC.isNull() || !prixTTC.isValid())
        return a;
    std::optional<double> prix;
    if (prixTTC.typeId() == QMetaType::QString || prixTTC.typeId() == QMetaType::QByteArray) {
        prix = Conversion::LireMontant(prixTTC.toString());
    } else {
        bool ok = false;
        const double valeur = prixTTC.toDouble(&ok);
        if (ok)
            prix = valeur;
    }
    if (prix && std::isfinite(*prix) && std::fabs(*prix) <= kMontantMax)
        a.prix = Conversion::ArrondiCentime(*prix);
    return a;
}

QString legendeArticle(const QString& libelle)
{
    QString legende = Conversion::Remplacer(libelle, QStringLiteral(" "), QStringLiteral("\n"));
    return legende.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString textePrix(double prix)
{
    QLocale francais(QLocale::French, QLocale::France);
    francais.setNumberOptions(QLocale::OmitGroupSeparator);
    return francais.toString(Conversion::ArrondiCentime(prix), 'f', QLocale::FloatingPointShortest);
}

std::optional<int> lireQuantite(const QString& texte)
{
    const auto valeur = Conversion::LireEntier(texte);
    if (!valeur || *valeur < kQuantiteMin || *valeur > kQuantiteMax)
        return std::nullopt;
    return int(*valeur);
}

// The receipt line and the journal wording are put together piece by piece:
// an article label may hold "%1" and must be kept as it is.
Vente vendre(const Article& article, int quantite)
{
    Vente v;
    v.quantite = quantite;
    const double prix = article.prix.value_or(0);
    v.montant = Conversion::ArrondiCentime(prix * quantite);
    const QString quantiteEtPrix = QString::number(quantite) + QStringLiteral(" x ") + textePrix(prix);
    v.ligneTicket = quantiteEtPrix + QStringLiteral(" = ") + Conversion::Monnaie(v.montant);
    v.lignesRecu = QStringList{article.libelle, v.ligneTicket};
    v.libelleOperation = QStringLiteral("BAR ") + article.libelle + QStringLiteral("\r\n") + quantiteEtPrix;
    return v;
}

Vente annuler(const Article& article, int quantite)
{
    Vente v = vendre(article, quantite);
    v.ligneTicket = QStringLiteral("-") + QString::number(quantite) + QStringLiteral(" x ") + textePrix(article.prix.value_or(0))
        + QStringLiteral(" = ") + Conversion::Monnaie(-v.montant);
    v.lignesRecu = QStringList{QStringLiteral("ANNULATION"), article.libelle, v.ligneTicket};
    v.libelleOperation = QStringLiteral("ANNULATION ") + v.libelleOperation;
    return v;
}

namespace {

// The article label and the quantity of a journal row written by a sale
// ("BAR <label>\r\n<q> x <price>"), or nullopt for any other row.
std::optional<QPair<QString, int>> lireLigneVente(const QString& libelle)
{
    const QString prefixe = QStringLiteral("BAR ");
    const qsizetype fin = libelle.lastIndexOf(QStringLiteral("\r\n"));
    if (!libelle.startsWith(prefixe) || fin < prefixe.size())
        return std::nullopt;
    const QString quantiteEtPrix = libelle.mid(fin + 2);
    const qsizetype x = quantiteEtPrix.indexOf(QStringLiteral(" x "));
    if (x < 0)
        return std::nullopt;
    const auto quantite = Conversion::LireEntier(quantiteEtPrix.left(x));
    if (!quantite || *quantite > kQuantiteMax)
        return std::nullopt;
    return qMakePair(libelle.mid(prefixe.size(), fin - prefixe.size()), int(*quantite));
}

} // namespace

int quantiteAnnulable(const QStringList& libellesCompte, const QString& libelle)
{
    const QString annulation = QStringLiteral("ANNULATION ");
    int reste = 0;
    for (const QString& ligne : libellesCompte) {
        const bool annule = ligne.startsWith(annulation);
        const auto vente = lireLigneVente(annule ? ligne.mid(annulation.size()) : ligne);
        if (vente && vente->first == libelle)
            reste += annule ? -vente->second : vente->second;
    }
    return qMax(0, reste);
}

double montantDu(const QList<double>& prix)
{
    double solde = 0;
    for (double p : prix)
        solde += p;
    solde = Conversion::ArrondiCentime(solde);
    return solde < 0 ? -solde : 0.0;
}

double montantPropose(const QList<double>& prix, const QStringList& paiements, double arrhes)
{
    double recu = 0;
    for (qsizetype i = 0; i < prix.size(); ++i)
        if (prix[i] > 0 && !paiements.value(i).trimmed().isEmpty())
            recu += prix[i];
    const double reste = Conversion::ArrondiCentime(arrhes - recu);
    return reste > 0 ? reste : montantDu(prix);
}

QString texteMontant(double montant)
{
    if (Conversion::ArrondiCentime(montant) == 0)
        return QStringLiteral("0");
    return QString::number(Conversion::ArrondiCentime(montant), 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString libellePaiement(const QString& commentaire, const QString& code)
{
    if (commentaire.trimmed().isEmpty())
        return QStringLiteral("Paiement ") + code;
    return commentaire + QStringLiteral(" (") + code + QStringLiteral(")");
}

std::optional<double> lireMontantPaiement(const QString& texte, QString* motif)
{
    auto refuser = [&](const QString& raison) -> std::optional<double> {
        if (motif)
            *motif = raison;
        return std::nullopt;
    };
    const auto valeur = Conversion::LireMontant(texte);
    if (!valeur)
        return refuser(QStringLiteral("Le montant « %1 » n'est pas un nombre : tapez des chiffres avec au plus "
                                      "une virgule, par exemple 12,50.").arg(texte.trimmed()));
    const double montant = Conversion::ArrondiCentime(*valeur);
    if (montant == 0)
        return refuser(QStringLiteral("Le montant ne peut pas être nul."));
    if (std::fabs(montant) > kMontantMax)
        return refuser(QStringLiteral("Le montant ne peut pas dépasser 1 000 000 €."));
    return montant;
}

std::optional<qint32> numeroReservation(const QString& texte)
{
    const double valeur = Conversion::LireNombre(texte);
    if (!std::isfinite(valeur) || valeur < 1 || valeur > 2147483647.0 || valeur != std::floor(valeur))
        return std::nullopt;
    return qint32(valeur);
}

bool clientParti(qint32 etat, const QDateTime& fin, std::optional<qint32> etatDepart, const QDate& aujourdhui)
{
    if (etatDepart && etat == *etatDepart)
        return true;
    return fin.isValid() && fin.date() < aujourdhui;
}

} // namespace Caisse
