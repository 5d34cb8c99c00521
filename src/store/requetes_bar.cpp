#include "requetes_bar.h"

#include "requetes.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace RequetesBar {

std::optional<QList<ArticleBrut>> articles(const QSqlDatabase& base, QString* erreur)
{
    QSqlQuery q(base);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT Famille, Libelle, prixTTC, tauxTVA FROM CONSOMMATIONS ORDER BY Famille, rowid"))) {
        Requetes::Rapporter(q, erreur);
        return std::nullopt;
    }
    QList<ArticleBrut> lignes;
    while (q.next()) {
        ArticleBrut a;
        a.famille = q.value(0).toString();
        a.libelle = q.value(1).toString();
        a.prixTTC = q.value(2);
        if (!q.value(3).isNull())
            a.tauxTVA = q.value(3).toDouble();
        lignes.append(a);
    }
    return lignes;
}

} // namespace RequetesBar
