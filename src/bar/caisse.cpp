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
    const auto valeur = Conversion::LireMontant(texte);
    if (!valeur || *valeur != std::floor(*valeur) || *valeur < kQuantiteMin || *valeur > kQuantiteMax)
        return std::nullopt;
    return int(*valeur);
}

Vente vendre(const Article& article, int quantite)
{
    Vente v;
    v.quantite = quantite;
    const double prix = article.prix.value_or(0);
    v.montant = Conversion::ArrondiCentime(prix * quantite);
    const QString tag = textePrix(prix);
    v.ligneTicket = QStringLiteral("%1 x %2 = %3").arg(quantite).arg(tag, Conversion::Monnaie(v.montant));
    v.libelleOperation = QStringLiteral("BAR %1\r\n%2 x %3").arg(article.libelle).arg(quantite).arg(tag);
    return v;
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
        return refuser(QStringLiteral("Le montant « %1 » n'est pas un nombre.").arg(texte.trimmed()));
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

} // namespace Caisse
