#pragma once
// Helpers of the backup tests: damaging a database file and reading back
// the account rows of a copy.
#include "store/copiebase.h"

#include <QFile>
#include <QMap>
#include <QSqlQuery>
#include <QVariant>
#include <gtest/gtest.h>

namespace OutilsSauvegardes {

// Overwrites the first page of an index with garbage, as a bad disk would:
// the file still opens and the calendar still reads, but the check fails.
// A database in WAL mode first has its log written into the file, so that
// the page damaged is the one SQLite reads.
inline void abimer(const QString& chemin, const char* index = "idx_operations_reservation_date")
{
    qint64 page = 0, taille = 0;
    {
        const QString connexion = QStringLiteral("abimer");
        {
            const auto base = CopieBase::ouvrir(chemin, connexion, false);
            ASSERT_TRUE(base.has_value());
            QSqlQuery q(*base);
            ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")) && q.next());
            ASSERT_EQ(q.value(0).toInt(), 0);   // not blocked by another connection
            ASSERT_TRUE(q.exec(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = '%1'")
                                   .arg(QLatin1String(index))) && q.next());
            page = q.value(0).toLongLong();
            ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA page_size")) && q.next());
            taille = q.value(0).toLongLong();
        }
        CopieBase::fermer(connexion);
    }
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek((page - 1) * taille));
    QByteArray dechets(int(taille), '\0');
    for (int i = 0; i < dechets.size(); ++i)
        dechets[i] = char((i * 37 + 11) & 0xFF);
    ASSERT_EQ(f.write(dechets), taille);
}

// Account rows of a database file per reservation number (opened read-only).
inline QMap<qint64, int> comptes(const QString& chemin)
{
    QMap<qint64, int> lignes;
    const QString connexion = QStringLiteral("comptes");
    {
        const auto base = CopieBase::ouvrir(chemin, connexion, true);
        if (base) {
            QSqlQuery q(*base);
            q.exec(QStringLiteral("SELECT numeroreservation, count(*) FROM OPERATIONS GROUP BY numeroreservation"));
            while (q.next())
                lignes.insert(q.value(0).toLongLong(), q.value(1).toInt());
        }
    }
    CopieBase::fermer(connexion);
    return lignes;
}

inline bool integre(const QString& chemin)
{
    const QString connexion = QStringLiteral("integre");
    bool ok = false;
    {
        const auto base = CopieBase::ouvrir(chemin, connexion, true);
        ok = base && CopieBase::controler(*base, true).saine;
    }
    CopieBase::fermer(connexion);
    return ok;
}

} // namespace OutilsSauvegardes
