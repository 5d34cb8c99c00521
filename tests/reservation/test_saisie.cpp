// From the boxes of the reservation window to a stored row.
#include "reservation/saisie.h"

#include <gtest/gtest.h>

TEST(Saisie, NombreDeNuits)
{
    struct Cas {
        const char* debut;
        const char* fin;
        std::optional<qint64> nuits;
    } const cas[] = {
        {"03/08/2005", "10/08/2005", 7},
        {"03/08/2005", "03/08/2005", 0},
        {"10/08/2005", "03/08/2005", -7},
        {"30/01/2026", "05/02/2026", 6},
        {"28/02/2024", "01/03/2024", 2},        // leap day
        {"28/03/2026", "29/03/2026", 1},        // daylight-saving change
        {"abc", "10/08/2005", std::nullopt},
        {"03/08/2005", "", std::nullopt},
        {"31/02/2026", "01/03/2026", std::nullopt},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Saisie::NombreDeNuits(QString::fromUtf8(c.debut), QString::fromUtf8(c.fin)), c.nuits)
            << c.debut << " -> " << c.fin;
}

TEST(Saisie, NomParDefautSuitLeTiretDeLEtat)
{
    struct Cas {
        const char* etat;
        const char* nom;
    } const cas[] = {
        {"3 - Fermé", "Fermé"},
        {"2 - Option", "Option"},
        {"12 - Mi-saison", "Mi-saison"},
        {"Option", "ption"},
        {"", ""},
        {"4 -", ""},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Saisie::NomParDefaut(QString::fromUtf8(c.etat)), QString::fromUtf8(c.nom)) << c.etat;
}

TEST(Saisie, TexteLibreStockeAvecUnSeulEspace)
{
    struct Cas {
        const char* tape;
        const char* stocke;
        const char* affiche;
    } const cas[] = {
        {"", " ", ""},
        {"rien", "rien ", "rien"},
        {"rien ", "rien ", "rien"},
        {"rien    ", "rien ", "rien"},
        {"  devant", "  devant ", "  devant"},
        {"ligne\n", "ligne\n ", "ligne\n"},
    };
    for (const Cas& c : cas) {
        const QString stocke = Saisie::FormeStockee(QString::fromUtf8(c.tape));
        EXPECT_EQ(stocke, QString::fromUtf8(c.stocke)) << c.tape;
        EXPECT_EQ(Saisie::FormeAffichee(stocke), QString::fromUtf8(c.affiche)) << c.tape;
        // Saving what the box shows gives the same stored text again.
        EXPECT_EQ(Saisie::FormeStockee(Saisie::FormeAffichee(stocke)), stocke) << c.tape;
    }
}

TEST(Saisie, LecturesDesCases)
{
    EXPECT_EQ(Saisie::LireArrhes(QStringLiteral("12,50")), 12.5);
    EXPECT_EQ(Saisie::LireArrhes(QStringLiteral("12.50")), 12.5);
    EXPECT_EQ(Saisie::LireArrhes(QStringLiteral("1 234,567")), 1234.57);
    EXPECT_EQ(Saisie::LireArrhes(QString()), 0.0);
    EXPECT_EQ(Saisie::LireArrhes(QStringLiteral("abc")), std::nullopt);
    EXPECT_EQ(Saisie::LireEffectif(QStringLiteral(" 4 ")), 4);
    EXPECT_EQ(Saisie::LireEffectif(QStringLiteral("32768")), std::nullopt);
    EXPECT_EQ(Saisie::LireHeure(QStringLiteral("9:30")), QTime(9, 30));
    EXPECT_EQ(Saisie::LireHeure(QStringLiteral("24:00")), std::nullopt);
    EXPECT_EQ(Saisie::LireJour(QStringLiteral("1/1/26")), QDate(2026, 1, 1));
    EXPECT_EQ(Saisie::NumeroEntree(QStringLiteral("12 : Chalet")), 12);
    EXPECT_EQ(Saisie::NumeroEntree(QStringLiteral("2 - Option")), 2);
}

TEST(Saisie, VersReservationEcritChaqueChamp)
{
    Verification::Champs c;
    c.objet = QStringLiteral("12 : Chalet");
    c.etat = QStringLiteral("2 - Option");
    c.nomclient = QStringLiteral("Dupont & fils \"l'Étang\"\n🏕");
    c.datedebut = QStringLiteral("03/08/2005");
    c.heuredebut = QStringLiteral("14:00");
    c.datefin = QStringLiteral("10/08/2005");
    c.heurefin = QStringLiteral("12:00");
    c.arrhes = QStringLiteral("12,50");
    c.datelimite = QStringLiteral("20/07/2005");
    c.nbadultes = QStringLiteral("2");
    c.nbenfants = QStringLiteral("3");
    c.remarque = QString();
    c.telephone = QStringLiteral("01 02 03 04 05  ");
    c.email = QStringLiteral("a@b.fr");

    const Requetes::Reservation r = Saisie::VersReservation(c);
    EXPECT_EQ(r.objet, 12);
    EXPECT_EQ(r.etat, 2);
    EXPECT_EQ(r.nomclient, c.nomclient);
    EXPECT_EQ(r.debut, QDateTime(QDate(2005, 8, 3), QTime(14, 0), Qt::UTC));
    EXPECT_EQ(r.fin, QDateTime(QDate(2005, 8, 10), QTime(12, 0), Qt::UTC));
    EXPECT_DOUBLE_EQ(r.arrhes, 12.5);
    EXPECT_EQ(r.datelimite.date(), QDate(2005, 7, 20));
    EXPECT_EQ(r.nbadultes, 2);
    EXPECT_EQ(r.nbenfants, 3);
    EXPECT_EQ(r.remarque, QStringLiteral(" "));
    EXPECT_EQ(r.telephone, QStringLiteral("01 02 03 04 05 "));
    EXPECT_EQ(r.email, QStringLiteral("a@b.fr "));

    c.datelimite.clear();
    EXPECT_FALSE(Saisie::VersReservation(c).datelimite.isValid());
}

TEST(Saisie, IndexObjetExigeLeNumeroSuiviDUnEspace)
{
    const QStringList entrees = {QStringLiteral("10 : Tente"), QStringLiteral("12 : Chalet"),
                                 QStringLiteral("1 : Mobil-home"), QStringLiteral("2 : Yourte")};
    EXPECT_EQ(Saisie::IndexObjet(entrees, 1), 2);
    EXPECT_EQ(Saisie::IndexObjet(entrees, 12), 1);
    EXPECT_EQ(Saisie::IndexObjet(entrees, 10), 0);
    EXPECT_EQ(Saisie::IndexObjet(entrees, 3), -1);
    // Duplicates: the last match stays selected.
    EXPECT_EQ(Saisie::IndexObjet(entrees + QStringList{QStringLiteral("2 : Autre")}, 2), 4);
}
