#include "store/requetes_caisse.h"
#include "testutil.h"

#include <algorithm>
#include <gtest/gtest.h>

// The day is [00:00, next day 00:00[, whatever the form the date was
// stored in.
TEST(RequetesCaisse, SelectsTheRowsOfTheDayOnly)
{
    TestUtil::BaseTemporaire bd;
    const char* dates[] = {"2026-12-08 23:59:59", "2026-12-09 00:00:00", "2026-12-09 12:30:00",
                           "2026-12-09T18:00:00.000", "2026-12-09 23:59:59", "2026-12-10 00:00:00",
                           "2025-12-09 10:00:00"};
    int n = 0;
    for (const char* d : dates)
        bd.executer(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) "
                                   "VALUES (%1, '%2', %1, 'ESP', 'L%1')").arg(++n).arg(QLatin1String(d)));
    QString erreur;
    const auto lignes = RequetesCaisse::operationsDuJour(bd.base(), QDate(2026, 12, 9), &erreur);
    ASSERT_TRUE(lignes) << erreur.toStdString();
    QList<int> numeros;
    for (const auto& l : *lignes) {
        numeros << l.reservation;
        EXPECT_EQ(l.date.date(), QDate(2026, 12, 9));
        EXPECT_EQ(l.libelle, QStringLiteral("L") + QString::number(l.reservation));
        EXPECT_EQ(l.paiement, QStringLiteral("ESP"));
    }
    std::sort(numeros.begin(), numeros.end());
    EXPECT_EQ(numeros, (QList<int>{2, 3, 4, 5}));

    bd.supprimerTable(QStringLiteral("OPERATIONS"));
    EXPECT_FALSE(RequetesCaisse::operationsDuJour(bd.base(), QDate(2026, 12, 9), &erreur));
    EXPECT_FALSE(erreur.isEmpty());
}
