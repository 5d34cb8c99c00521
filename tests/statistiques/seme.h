#pragma once
// A database seeded with stays whose figures are worked out by hand: three
// units (two chalets, one pitch), the three default states with "Fermé" not
// sold, stays across the bounds of March 2026, a day-use stay, a children-
// only stay, two stays with unreadable dates, and journal rows of every kind.
#include "testutil.h"

#include <QString>

namespace Seme {

inline void reservation(const TestUtil::BaseTemporaire& b, int numero, int objet, const QString& debut,
                        const QString& fin, int etat, int adultes, int enfants, const QString& client = QString())
{
    // Some stays are as an older program left them (unreadable dates…).
    b.executerHorsRegles(QStringLiteral("INSERT INTO RESERVATIONS (NumeroReservation, objet, nomclient, DateDebut, DateFin, "
                              "Etat, nbadultes, nbenfants) VALUES (%1, %2, '%3', %4, %5, %6, %7, %8)")
                   .arg(numero).arg(objet)
                   .arg(client.isEmpty() ? QStringLiteral("Client %1").arg(numero) : client)
                   .arg(debut.isNull() ? QStringLiteral("NULL") : QLatin1Char('\'') + debut + QLatin1Char('\''))
                   .arg(fin.isNull() ? QStringLiteral("NULL") : QLatin1Char('\'') + fin + QLatin1Char('\''))
                   .arg(etat).arg(adultes).arg(enfants));
}

inline void operation(const TestUtil::BaseTemporaire& b, int numero, const QString& date, double prix,
                      const QString& paiement, const QString& libelle)
{
    b.executer(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) "
                              "VALUES (%1, '%2', %3, '%4', '%5')")
                   .arg(numero).arg(date).arg(prix).arg(paiement, libelle));
}

inline void semer(const TestUtil::BaseTemporaire& b)
{
    // Some rows are as an older program left them (unreadable dates).
    const TestUtil::SansRegles anciennes(b.base());
    b.executer(QStringLiteral("UPDATE ETATS SET Vendu = 0 WHERE Code = 3"));
    b.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom, Categorie) VALUES (1, 'Chalet A', 'Chalet'), "
                              "(2, 'Chalet B', 'Chalet'), (3, 'Emplacement C', 'Emplacement')"));
    reservation(b, 1, 1, QStringLiteral("2026-02-25 14:00:00"), QStringLiteral("2026-03-04 12:00:00"), 1, 2, 1);
    reservation(b, 2, 1, QStringLiteral("2026-03-28 14:00:00"), QStringLiteral("2026-04-03 12:00:00"), 2, 2, 0);
    reservation(b, 3, 2, QStringLiteral("2026-03-10 09:00:00"), QStringLiteral("2026-03-10 18:00:00"), 1, 1, 0);
    reservation(b, 4, 2, QStringLiteral("2026-03-05 14:00:00"), QStringLiteral("2026-03-08 12:00:00"), 3, 0, 0);
    reservation(b, 5, 3, QStringLiteral("2026-03-15T14:00:00.000"), QStringLiteral("2026-03-20 12:00:00"), 1, 0, 3);
    reservation(b, 6, 2, QString(), QString(), 1, 2, 0);
    reservation(b, 7, 2, QStringLiteral("3 mars"), QStringLiteral("2026-03-09 12:00:00"), 1, 2, 0);

    operation(b, 1, QStringLiteral("2026-03-04 10:00:00"), -100, QStringLiteral("   "), QStringLiteral("SEJOUR du 25/02/2026"));
    operation(b, 1, QStringLiteral("2026-03-04 10:00:01"), -4.8, QStringLiteral("   "), QStringLiteral("TAXE DE SEJOUR 6 nuits"));
    operation(b, 1, QStringLiteral("2026-03-02 20:00:00"), -3, QStringLiteral("   "), QStringLiteral("BAR Café\r\n2 x 1,50"));
    operation(b, 1, QStringLiteral("2026-03-02 20:05:00"), 1.5, QStringLiteral("   "), QStringLiteral("ANNULATION BAR Café\r\n1 x 1,50"));
    operation(b, 1, QStringLiteral("2026-03-04 10:02:00"), 10, QStringLiteral("   "), QStringLiteral("CORRECTION SEJOUR geste"));
    operation(b, 1, QStringLiteral("2026-03-03 09:00:00"), -12, QStringLiteral("   "), QStringLiteral("Location vélo"));
    operation(b, 1, QStringLiteral("2026-03-04 10:05:00"), 50, QStringLiteral("CB "), QStringLiteral("Paiement"));
    operation(b, 1, QStringLiteral("2026-03-04 10:06:00"), 20, QStringLiteral("ESP"), QStringLiteral("Acompte"));
    operation(b, 1, QStringLiteral("2026-03-04 10:07:00"), 5, QStringLiteral("XYZ"), QStringLiteral("Bon"));
    operation(b, 1, QStringLiteral("2026-03-04 10:08:00"), 0, QStringLiteral("   "), QStringLiteral("Création de la reservation"));
    // Outside March, and a reservation that was deleted since.
    operation(b, 2, QStringLiteral("2026-04-03 10:00:00"), -200, QStringLiteral("   "), QStringLiteral("SEJOUR du 28/03/2026"));
    operation(b, 999, QStringLiteral("2026-03-20 10:00:00"), -30, QStringLiteral("   "), QStringLiteral("SEJOUR supprimé"));
}

} // namespace Seme
