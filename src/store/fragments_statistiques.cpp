#include "fragments_statistiques.h"

#include "dialecte.h"

namespace FragmentsStatistiques {

QString posteSejour(const QSqlDatabase& b)
{
    return QStringLiteral("((substr(x.libelle, 1, 7) = 'SEJOUR ' OR substr(x.libelle, 1, 18) = 'CORRECTION SEJOUR '"
                          " OR %1) AND NOT coalesce(%2, %3))")
        .arg(QLatin1String(kPosteTaxe), QLatin1String(kEstEncaissement), Dialecte::faux(b));
}

QString etaleOuAnnule()
{
    return QStringLiteral("(CASE WHEN r.Annulation IS NULL"
                          " THEN julianday(substr(r.DateFin, 1, 10)) > julianday(substr(r.DateDebut, 1, 10))"
                          " ELSE julianday(substr(r.Annulation, 1, 10)) IS NOT NULL END)");
}

QString casNature(const Prefixes& prefixes, int encaissement, QVariantList* valeurs)
{
    // A prefix is tested as a range of texts (from the prefix to the prefix
    // with its last letter raised), which the database compares without a
    // function call.
    QString cas = QStringLiteral("CASE WHEN %1 THEN %2").arg(QLatin1String(kEstEncaissement)).arg(encaissement);
    for (const auto& [prefixe, nature] : prefixes) {
        if (prefixe.isEmpty())
            continue;
        QString apres = prefixe;
        apres.back() = QChar(apres.back().unicode() + 1);
        cas += QStringLiteral(" WHEN x.libelle >= ? AND x.libelle < ? THEN %1").arg(nature);
        valeurs->append(prefixe);
        valeurs->append(apres);
    }
    return cas + QStringLiteral(" ELSE 0 END");
}

} // namespace FragmentsStatistiques
