#include "contexte.h"

#include "requetes.h"

QList<EntreeEtat> Contexte::ChargerEtats(const QSqlDatabase& base)
{
    QList<EntreeEtat> table;
    const auto etats = Requetes::etats(base);
    if (!etats)
        return table;
    for (const Requetes::Etat& e : *etats)
        table.append({e.code, QString::number(e.code) + QStringLiteral(" - ") + e.nom, e.couleur});
    return table;
}
