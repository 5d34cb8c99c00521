#include "store/requetes_statistiques.h"
#include "testutil.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

using RequetesStatistiques::Filtre;

// The nights of the filter as "yyyy-MM=n" by month, in order.
QStringList nuitsLues(const QSqlDatabase& b, const Filtre& f)
{
    QString erreur;
    const auto lignes = RequetesStatistiques::nuitsParMois(b, f, &erreur);
    EXPECT_TRUE(lignes) << erreur.toStdString();
    QStringList l;
    for (const auto& n : lignes.value_or(QList<RequetesStatistiques::Nuits>()))
        l << QStringLiteral("%1=%2/%3").arg(n.mois).arg(n.nuits).arg(n.nuitsAdultes);
    return l;
}

} // namespace

// The stored dates are texts: the figures read them the same way on every
// engine, an unreadable one counting nowhere but among the unreadable.
TEST(StatistiquesDates, StoredDateTextsAreReadAlikeOnEveryEngine)
{
    TestUtil::BaseTemporaire bd;
    const QSqlDatabase b = bd.base();
    // Dates of every form an older program may have left.
    const TestUtil::SansRegles anciennes(b);
    bd.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom, Categorie) VALUES (1, 'Chalet', 'Chalet')"));
    const Filtre mars{QDate(2026, 3, 1), QDate(2026, 3, 31), std::nullopt};
    const Filtre hiver{QDate(2025, 12, 1), QDate(2026, 1, 31), QStringLiteral("Chalet")};
    struct Cas {
        const char* debut;
        const char* fin;
        Filtre filtre;
        QStringList nuits;        // month=nights/adult nights
        qint64 illisibles;
        qint64 arrivees;
        qint64 nuitsArrivees;
    };
    const Cas cas[] = {
        {"2026-03-10 14:00:00", "2026-03-13 12:00:00", mars, {QStringLiteral("2026-03=3/6")}, 0, 1, 3},
        {"2026-03-10", "2026-03-12", mars, {QStringLiteral("2026-03=2/4")}, 0, 1, 2},
        {"2026-03-10T14:00:00.000", "2026-03-11 12:00", mars, {QStringLiteral("2026-03=1/2")}, 0, 1, 1},
        // Cut at the period and at the first of the month, across a year.
        {"2026-02-25 14:00:00", "2026-03-04 12:00:00", mars, {QStringLiteral("2026-03=3/6")}, 0, 0, 0},
        {"2025-12-29 14:00:00", "2026-01-03 12:00:00", hiver,
         {QStringLiteral("2025-12=3/6"), QStringLiteral("2026-01=2/4")}, 0, 1, 5},
        {"2025-11-30 14:00:00", "2026-03-01 12:00:00", hiver,
         {QStringLiteral("2025-12=31/62"), QStringLiteral("2026-01=31/62")}, 0, 0, 0},
        // A day past the month's end runs into the next month.
        {"2026-02-31 14:00:00", "2026-03-05 12:00:00", mars, {QStringLiteral("2026-03=2/4")}, 0, 0, 0},
        // Unreadable texts give no night and are counted apart.
        {"", "2026-03-12 12:00:00", mars, {}, 1, 0, 0},
        {"3 mars", "2026-03-12 12:00:00", mars, {}, 1, 0, 0},
        {"12/03/2026", "2026-03-12 12:00:00", mars, {}, 1, 0, 0},
        {"2026-03-10 14:00:00", "14/03/2026", mars, {}, 1, 0, 0},
        {"2026-03-45 14:00:00", "2026-03-50 12:00:00", mars, {}, 1, 0, 0},
        {"2026-03-10 14:00:00", "2026-13-01", mars, {}, 1, 0, 0},
        {"2026-3-10", "2026-03-12 12:00:00", hiver, {}, 0, 0, 0},   // outside the period: not read
        {nullptr, "2026-03-12 12:00:00", mars, {}, 1, 0, 0},
    };
    for (const Cas& c : cas) {
        const std::string nom = std::string(c.debut ? c.debut : "NULL") + " -> " + c.fin;
        bd.executer(QStringLiteral("DELETE FROM RESERVATIONS"));
        QSqlQuery q(b);
        q.prepare(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat, nbadultes) "
                                 "VALUES (1, 'Client', ?, ?, 1, 2)"));
        q.addBindValue(c.debut ? QVariant(QString::fromUtf8(c.debut)) : QVariant(QMetaType(QMetaType::QString)));
        q.addBindValue(QString::fromUtf8(c.fin));
        ASSERT_TRUE(q.exec()) << nom;
        EXPECT_EQ(nuitsLues(b, c.filtre), c.nuits) << nom;
        QString erreur;
        const auto illisibles = RequetesStatistiques::datesIllisibles(b, c.filtre, &erreur);
        ASSERT_TRUE(illisibles) << nom << " : " << erreur.toStdString();
        EXPECT_EQ(*illisibles, c.illisibles) << nom;
        const auto arrivees = RequetesStatistiques::arrivees(b, c.filtre, &erreur);
        ASSERT_TRUE(arrivees) << nom << " : " << erreur.toStdString();
        EXPECT_EQ(arrivees->nombre, c.arrivees) << nom;
        EXPECT_EQ(arrivees->nuits, c.nuitsArrivees) << nom;
        const auto sejours = RequetesStatistiques::sejours(b, c.filtre, &erreur);
        ASSERT_TRUE(sejours) << nom << " : " << erreur.toStdString();
        EXPECT_EQ(sejours->size(), c.nuits.isEmpty() ? 0 : 1) << nom;
    }
}

// Accounts to the cent, the debtors counted, and the units of a category.
TEST(StatistiquesDates, BalancesAndUnitsOfACategory)
{
    TestUtil::BaseTemporaire bd;
    const QSqlDatabase b = bd.base();
    // Dates of every form an older program may have left.
    const TestUtil::SansRegles anciennes(b);
    bd.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom, Categorie) VALUES (1, 'Chalet', 'Chalet'), "
                               "(2, 'Pré', 'Emplacement'), (3, 'Sans', NULL)"));
    bd.executer(QStringLiteral("INSERT INTO RESERVATIONS (NumeroReservation, objet, nomclient, DateDebut, DateFin, Etat) "
                               "VALUES (1, 1, 'A', '2026-03-01 14:00:00', '2026-03-05 12:00:00', 1), "
                               "(2, 2, 'B', '2026-03-02 14:00:00', '2026-03-06 12:00:00', 1), "
                               "(3, 1, 'C', '2026-03-02 14:00:00', 'plus tard', 1)"));
    bd.executer(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) VALUES "
                               "(1, '2026-03-05 10:00:00', -100.004, '   ', 'SEJOUR'), (1, '2026-03-05 10:00:00', 60, 'CB', 'Paiement'), "
                               "(2, '2026-03-06 10:00:00', -10, '   ', 'SEJOUR'), (2, '2026-03-06 10:00:00', 10.001, 'CB', 'Paiement'), "
                               "(3, '2026-03-06 10:00:00', -500, '   ', 'SEJOUR')"));
    struct Cas {
        std::optional<QString> categorie;
        qint64 sejours, debiteurs;
        double du;
        QList<qint32> unites;
    };
    const Cas cas[] = {
        {std::nullopt, 2, 1, 40.0, {1, 2, 3}},
        {QStringLiteral("Chalet"), 1, 1, 40.0, {1}},
        {QStringLiteral("Emplacement"), 1, 0, 0.0, {2}},
        {QStringLiteral("chalet"), 0, 0, 0.0, {}},   // compared byte for byte, as SQLite does
    };
    for (const Cas& c : cas) {
        const std::string nom = c.categorie.value_or(QStringLiteral("toutes")).toStdString();
        QString erreur;
        const auto s = RequetesStatistiques::soldes(b, {QDate(2026, 3, 1), QDate(2026, 3, 31), c.categorie}, &erreur);
        ASSERT_TRUE(s) << nom << " : " << erreur.toStdString();
        EXPECT_EQ(s->sejours, c.sejours) << nom;
        EXPECT_EQ(s->debiteurs, c.debiteurs) << nom;
        EXPECT_DOUBLE_EQ(s->du, c.du) << nom;
        const auto unites = RequetesStatistiques::unites(b, c.categorie, &erreur);
        ASSERT_TRUE(unites) << nom << " : " << erreur.toStdString();
        QList<qint32> numeros;
        for (const auto& u : *unites)
            numeros << u.numero;
        EXPECT_EQ(numeros, c.unites) << nom;
    }
}
