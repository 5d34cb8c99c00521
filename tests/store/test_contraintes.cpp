// What the database refuses by itself, on either engine: each write below
// fails with its French reason and leaves the tables as they were.
#include "store/contraintes.h"
#include "store/requetes.h"
#include "store/requetes_editeurs.h"
#include "testutil.h"

#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

const char* const kSejour = "INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, datelimite, Etat, "
                            "nbadultes, nbenfants) VALUES (%1)";

struct Cas {
    const char* nom;
    QString sql;
    const char* raison;   // a part of the French text of the refusal
};

QString sejour(const char* valeurs)
{
    return QString::fromLatin1(kSejour).arg(QString::fromUtf8(valeurs));
}

} // namespace

TEST(Contraintes, EachWriteThatBreaksARuleIsRefusedWithItsReason)
{
    TestUtil::BaseTemporaire b(QStringLiteral("regles"));
    b.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chalet')"));
    b.executer(sejour("1, 'Bon', '2026-12-09 14:00:00', '2026-12-12 12:00:00', NULL, 1, 2, 0"));
    const Cas cas[] = {
        {"unit that does not exist", sejour("999, 'X', '2026-12-09', '2026-12-10', NULL, 1, 1, 0"), "logement"},
        {"state that does not exist", sejour("1, 'X', '2026-12-09', '2026-12-10', NULL, 42, 1, 0"), "état"},
        {"no unit", sejour("NULL, 'X', '2026-12-09', '2026-12-10', NULL, 1, 1, 0"), "pas de logement"},
        {"no state", sejour("1, 'X', '2026-12-09', '2026-12-10', NULL, NULL, 1, 0"), "pas d'état"},
        {"negative adults", sejour("1, 'X', '2026-12-09', '2026-12-10', NULL, 1, -3, 0"), "négatif"},
        {"negative children", sejour("1, 'X', '2026-12-09', '2026-12-10', NULL, 1, 2, -1"), "négatif"},
        {"arrival no date", sejour("1, 'X', 'pas une date', '2026-12-10', NULL, 1, 1, 0"), "pas une date"},
        {"no arrival", sejour("1, 'X', NULL, '2026-12-10', NULL, 1, 1, 0"), "pas une date"},
        {"no departure", sejour("1, 'X', '2026-12-09', NULL, NULL, 1, 1, 0"), "pas une date"},
        {"month 13", sejour("1, 'X', '2026-13-01', '2027-01-02', NULL, 1, 1, 0"), "pas une date"},
        {"French date", sejour("1, 'X', '09/12/2026', '2026-12-10', NULL, 1, 1, 0"), "pas une date"},
        {"time that is no time", sejour("1, 'X', '2026-12-09 midi', '2026-12-10', NULL, 1, 1, 0"), "pas une date"},
        {"deadline no date", sejour("1, 'X', '2026-12-09', '2026-12-10', 'demain', 1, 1, 0"), "pas une date"},
        {"departure before arrival", sejour("1, 'X', '2026-12-09 14:00:00', '2026-12-09 10:00:00', NULL, 1, 1, 0"),
         "départ est avant"},
        {"stay moved to a unit that does not exist",
         QStringLiteral("UPDATE RESERVATIONS SET objet = 999 WHERE nomclient = 'Bon'"), "logement"},
        {"stay's dates emptied", QStringLiteral("UPDATE RESERVATIONS SET DateFin = '' WHERE nomclient = 'Bon'"),
         "pas une date"},
        {"journal row without date",
         QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix) VALUES (1, NULL, 1)"), "opération"},
        {"journal row dated 'hier'",
         QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix) VALUES (1, 'hier', 1)"), "opération"},
        {"unit still in use", QStringLiteral("DELETE FROM OBJETS WHERE Numero = 1"), "réservation"},
        {"state still in use", QStringLiteral("DELETE FROM ETATS WHERE Code = 1"), "réservation"},
    };
    const QString avant = b.liste(QStringLiteral("SELECT count(*) FROM RESERVATIONS UNION ALL "
                                                 "SELECT count(*) FROM OPERATIONS UNION ALL SELECT count(*) FROM OBJETS "
                                                 "UNION ALL SELECT count(*) FROM ETATS"));
    for (const Cas& c : cas) {
        QSqlQuery q(b.base());
        EXPECT_FALSE(q.exec(c.sql)) << c.nom;
        const QString texte = Requetes::TexteErreur(q.lastError());
        EXPECT_TRUE(texte.startsWith(QStringLiteral("Refusé par la base : "))) << c.nom << " : " << texte.toStdString();
        EXPECT_TRUE(texte.contains(QString::fromUtf8(c.raison))) << c.nom << " : " << texte.toStdString();
    }
    EXPECT_EQ(b.liste(QStringLiteral("SELECT count(*) FROM RESERVATIONS UNION ALL SELECT count(*) FROM OPERATIONS "
                                     "UNION ALL SELECT count(*) FROM OBJETS UNION ALL SELECT count(*) FROM ETATS")),
              avant);
    EXPECT_EQ(b.liste(QStringLiteral("SELECT objet, DateFin FROM RESERVATIONS")), QStringLiteral("1 2026-12-12 12:00:00"));
    // The settings say which stays still use the unit or the state.
    QString erreur;
    EXPECT_FALSE(RequetesEditeurs::supprimerObjet(b.base(), 1, &erreur));
    EXPECT_TRUE(erreur.contains(QStringLiteral("(n° 1 (Bon))"))) << erreur.toStdString();
    EXPECT_FALSE(RequetesEditeurs::supprimerEtat(b.base(), 1, &erreur));
    EXPECT_TRUE(erreur.contains(QStringLiteral("(n° 1 (Bon))"))) << erreur.toStdString();
}

// What the program writes passes: a day's use (arrival and departure the
// same day), a date alone, an older "T" form, no deadline, no count.
TEST(Contraintes, WhatTheProgramWritesIsAccepted)
{
    TestUtil::BaseTemporaire b(QStringLiteral("regles_ok"));
    b.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chalet')"));
    for (const char* valeurs : {"1, 'A', '2026-12-09 09:00:00', '2026-12-09 18:00:00', NULL, 1, 1, 0",
                                "1, 'B', '2026-12-09', '2026-12-10', '2026-11-30', 2, 0, 0",
                                "1, 'C', '2026-12-09T14:00:00.000', '2026-12-10 12:00:00', NULL, 3, NULL, NULL",
                                "1, 'D', '2026-12-31 14:00', '2027-01-01 12:00', NULL, 1, 2, 3"})
        b.executer(sejour(valeurs));
    b.executer(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix) VALUES (1, '2026-12-09 10:00:00', 1)"));
    EXPECT_EQ(b.valeur(QStringLiteral("SELECT count(*) FROM RESERVATIONS")).toInt(), 4);
    EXPECT_TRUE(Contraintes::lignesHorsRegles(b.base()).isEmpty());
    // A unit no longer used goes, as before.
    b.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (2, 'Vide')"));
    QString erreur;
    EXPECT_TRUE(RequetesEditeurs::supprimerObjet(b.base(), 2, &erreur)) << erreur.toStdString();
}

// Rows of an older program that break the rules stay readable and are
// listed, one line each; the other rows are not.
TEST(Contraintes, RowsOfAnOlderProgramAreListed)
{
    TestUtil::BaseTemporaire b(QStringLiteral("regles_anciennes"));
    b.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chalet')"));
    b.executer(sejour("1, 'Bon', '2026-12-09', '2026-12-10', NULL, 1, 1, 0"));
    b.executerHorsRegles(QStringLiteral("INSERT INTO RESERVATIONS (NumeroReservation, objet, nomclient, DateDebut, "
                                        "DateFin, Etat, nbadultes) VALUES (7, 999, 'Zorro', 'pas une date', "
                                        "'2026-12-10', 1, -3)"));
    b.executerHorsRegles(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix) VALUES (7, 'hier', -2)"));
    const QStringList lignes = Contraintes::lignesHorsRegles(b.base());
    EXPECT_EQ(lignes.size(), 5) << lignes.join(QLatin1Char('\n')).toStdString();
    for (const char* attendu : {"réservation n° 7 : un nombre de personnes est négatif",
                                "réservation n° 7 : l'arrivée, le départ ou la date limite n'est pas une date (AAAA-MM-JJ)",
                                "réservation n° 7 : le départ est avant l'arrivée",
                                "réservation n° 7 : le logement 999 n'existe pas"})
        EXPECT_TRUE(lignes.contains(QString::fromUtf8(attendu))) << attendu;
    EXPECT_EQ(b.valeur(QStringLiteral("SELECT nomclient FROM RESERVATIONS WHERE NumeroReservation = 7")).toString(),
              QStringLiteral("Zorro"));
}
