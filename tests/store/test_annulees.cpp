// A cancelled stay keeps its row, but its nights are free: no statement
// that decides what a unit holds reads it.
#include "store/base.h"
#include "store/dates.h"
#include "store/requetes.h"
#include "store/requetes_editeurs.h"
#include "store/requetes_flux.h"
#include "store/requetes_facturation.h"
#include "store/requetes_publication.h"
#include "testutil.h"

#include <QSqlDatabase>
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

TEST(SejoursAnnules, ABaseOfTheVersionBeforeKeepsItsInvoicesAndGainsTheCreditNotesSeries)
{
    TestUtil::BaseTemporaire t;
    TestUtil::Logements(t.base(), {1});
    // The tables as the version before made them.
    const bool serveur = TestUtil::SurPostgres();
    const QStringList avant = serveur
        ? QStringList{
              QStringLiteral("DROP VIEW RESERVATION_NOMINATIVE"),
              QStringLiteral("DROP INDEX idx_reservations_annulation"),
              QStringLiteral("ALTER TABLE RESERVATIONS DROP COLUMN Annulation"),
              QStringLiteral("ALTER TABLE FACTURES DROP CONSTRAINT factures_serie_annee_sequence_key"),
              QStringLiteral("ALTER TABLE FACTURES DROP COLUMN Serie"),
              QStringLiteral("ALTER TABLE FACTURES DROP COLUMN Origine"),
              QStringLiteral("ALTER TABLE FACTURES ADD CONSTRAINT factures_annee_sequence_key UNIQUE (Annee, Sequence)"),
              QStringLiteral("CREATE VIEW RESERVATION_NOMINATIVE AS SELECT RESERVATIONS.*, OBJETS.Nom AS NomObjet "
                             "FROM RESERVATIONS LEFT JOIN OBJETS ON RESERVATIONS.objet = OBJETS.Numero"),
              QStringLiteral("UPDATE schema_version SET version = 8")}
        : QStringList{
              QStringLiteral("DROP INDEX idx_reservations_annulation"),
              QStringLiteral("ALTER TABLE RESERVATIONS DROP COLUMN Annulation"),
              QStringLiteral("DROP TABLE FACTURES"),
              QStringLiteral("CREATE TABLE FACTURES (Numero TEXT PRIMARY KEY, Annee INTEGER NOT NULL, Sequence INTEGER "
                             "NOT NULL, reservation INTEGER, date TEXT, total REAL, pdf BLOB, UNIQUE (Annee, Sequence))"),
              QStringLiteral("PRAGMA user_version = 8")};
    for (const QString& sql : avant)
        t.executer(sql);
    t.executer(QStringLiteral("INSERT INTO RESERVATIONS (NumeroReservation, objet, nomclient, DateDebut, DateFin, Etat) "
                              "VALUES (1, 1, 'Dupont', '2026-07-01 14:00:00', '2026-07-05 12:00:00', 1)"));
    t.executer(QStringLiteral("INSERT INTO FACTURES (Numero, Annee, Sequence, reservation, date, total, pdf) "
                              "VALUES ('F-2026-00001', 2026, 1, 1, '2026-07-05 10:00:00', 400, NULL)"));
    QString erreur;
    {
        const auto base = Base::ouvrir(t.chemin(), Base::Ouverture::Existante, QStringLiteral("version8"), &erreur);
        ASSERT_TRUE(base.has_value()) << erreur.toStdString();
        const auto pdf = [](const QString& numero) { return std::optional(numero.toUtf8()); };
        const QDateTime date = Dates::naive(QDate(2026, 7, 6), QTime(9, 0));
        const auto avoir = RequetesFacturation::emettre(*base, RequetesFacturation::Serie::Avoir, 1, date, -400,
                                                        QStringLiteral("F-2026-00001"), pdf, &erreur);
        ASSERT_TRUE(avoir.has_value()) << erreur.toStdString();
        EXPECT_EQ(avoir->numero, QStringLiteral("A-2026-00001"));
        const auto facture = RequetesFacturation::emettreFacture(*base, 1, date, 10, pdf, &erreur);
        ASSERT_TRUE(facture.has_value()) << erreur.toStdString();
        EXPECT_EQ(facture->numero, QStringLiteral("F-2026-00002"));
        const auto documents = RequetesFacturation::facturesDeReservation(*base, 1);
        ASSERT_TRUE(documents.has_value());
        ASSERT_EQ(documents->size(), 3);
        EXPECT_EQ(documents->at(0).numero, QStringLiteral("F-2026-00001"));
        EXPECT_EQ(documents->at(0).serie, RequetesFacturation::Serie::Facture);
        const auto r = Requetes::reservationNominative(*base, 1);
        ASSERT_TRUE(r.has_value());
        bool vue = false;
        for (auto it = r->cbegin(); it != r->cend(); ++it)
            vue = vue || it.key().compare(QStringLiteral("Annulation"), Qt::CaseInsensitive) == 0;
        EXPECT_TRUE(vue) << "the view lists the new column";
    }
    QSqlDatabase::database(QStringLiteral("version8"), false).close();
    QSqlDatabase::removeDatabase(QStringLiteral("version8"));
}
