// A cancelled stay keeps its row, but its nights are free: no statement
// that decides what a unit holds reads it.
#include "store/dates.h"
#include "store/requetes.h"
#include "store/requetes_editeurs.h"
#include "store/requetes_flux.h"
#include "store/requetes_publication.h"
#include "testutil.h"

#include <gtest/gtest.h>

TEST(SejoursAnnules, NoStatementOfWhatAUnitHoldsReadsACancelledStay)
{
    TestUtil::BaseTemporaire t;
    TestUtil::Logements(t.base(), {1});
    t.executer(QStringLiteral("INSERT INTO RESERVATIONS (NumeroReservation, objet, nomclient, DateDebut, DateFin, Etat) VALUES "
                              "(1, 1, 'Dupont', '2027-07-01 14:00:00', '2027-07-05 12:00:00', 1), "
                              "(2, 1, 'Martin', '2027-07-03 14:00:00', '2027-07-08 12:00:00', 1)"));
    const QDate depuis(2027, 6, 1);
    const QDate avant(2027, 9, 1);
    const QDateTime debut = Dates::naive(QDate(2027, 7, 2), QTime(14, 0));
    const QDateTime fin = Dates::naive(QDate(2027, 7, 4), QTime(12, 0));
    // The stay numbers each statement returns.
    const auto numeros = [](const auto& lignes) {
        QList<qint32> l;
        for (const auto& r : lignes.value())
            l << r.numero;
        return l;
    };
    const auto lire = [&]() {
        return QList<QList<qint32>>{
            numeros(Requetes::reservationsPubliees(t.base(), 1, avant)),
            numeros(Requetes::sejoursPublies(t.base(), 1, depuis, avant)),
            numeros(RequetesEditeurs::chevauchements(t.base(), 1, debut, fin, 0)),
            numeros(RequetesFlux::sejoursDeObjet(t.base(), 1, Dates::naive(depuis, QTime(0, 0)))),
        };
    };
    const QList<qint32> deux{1, 2};
    EXPECT_EQ(lire(), (QList<QList<qint32>>{deux, deux, deux, deux}));
    t.executer(QStringLiteral("UPDATE RESERVATIONS SET Annulation = '2027-06-02 10:00:00' WHERE NumeroReservation = 2"));
    const QList<qint32> un{1};
    EXPECT_EQ(lire(), (QList<QList<qint32>>{un, un, un, un}));
    // Still there to be found and opened.
    ASSERT_TRUE(Requetes::reservation(t.base(), 2).has_value());
    EXPECT_TRUE(Requetes::reservation(t.base(), 2)->annulee());
    EXPECT_EQ(Requetes::reservation(t.base(), 2)->annulation, Dates::naive(QDate(2027, 6, 2), QTime(10, 0)));
}
