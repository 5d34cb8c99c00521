// A reservation number is never given twice, on either engine: not after
// the newest stay was deleted (its journal rows stay), not after a copy to
// the other engine and back, not after the counter was put back.
#include "store/base.h"
#include "store/copievers.h"
#include "store/dialecte.h"
#include "store/module1.h"
#include "store/numeros.h"
#include "store/requetes.h"
#include "store/requetes_reservation.h"
#include "testutil.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

Requetes::Reservation sejour(const QString& client, int nuit)
{
    Requetes::Reservation r;
    r.objet = 1;
    r.nomclient = client;
    r.debut = QDateTime(QDate(2027, 3, 1).addDays(3 * nuit), QTime(14, 0), Qt::UTC);
    r.fin = r.debut.addDays(2);
    r.etat = 1;
    r.nbadultes = 2;
    return r;
}

qint32 creer(const QSqlDatabase& base, const QString& client, int nuit)
{
    TestUtil::Logements(base, {1});
    QString erreur;
    const auto n = RequetesReservation::creer(base, sejour(client, nuit), QStringLiteral("Création"), &erreur);
    EXPECT_TRUE(n) << erreur.toStdString();
    return n.value_or(0);
}

// n stays, the last one with a sale, then that last one deleted: its
// journal rows stay, as they must.
void sejoursPuisSuppressionDuDernier(const QSqlDatabase& base, int n)
{
    qint32 dernier = 0;
    for (int i = 1; i <= n; ++i)
        dernier = creer(base, QStringLiteral("Client %1").arg(i), i);
    ASSERT_TRUE(Module1::EnregistrerOperation(base, dernier, -3.5, QString(), QString::fromUtf8("BAR Bière 25 cl")));
    QString erreur;
    ASSERT_TRUE(RequetesReservation::supprimer(base, dernier, QStringLiteral("Suppression de la réservation (ZORRO)"),
                                               &erreur))
        << erreur.toStdString();
}

// What a copy used to do: the counter put back to the highest existing
// reservation (the deleted ones forgotten).
void ramenerLeCompteur(const QSqlDatabase& base)
{
    QSqlQuery q(base);
    const QString sql = Dialecte::estPostgres(base)
        ? Dialecte::numeroterApres(base, QStringLiteral("RESERVATIONS"), QStringLiteral("NumeroReservation"))
        : QStringLiteral("UPDATE sqlite_sequence SET seq = (SELECT coalesce(max(NumeroReservation), 0) "
                         "FROM RESERVATIONS) WHERE name = 'RESERVATIONS'");
    ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
}

// The counter moved on as the numbering of stays since deleted with all
// their rows would have left it.
void avancerLeCompteur(const QSqlDatabase& base, qint64 n)
{
    QSqlQuery q(base);
    const QString sql = Dialecte::estPostgres(base)
        ? QStringLiteral("SELECT setval(pg_get_serial_sequence('reservations', 'numeroreservation'), %1)").arg(n)
        : QStringLiteral("UPDATE sqlite_sequence SET seq = %1 WHERE name = 'RESERVATIONS'").arg(n);
    ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
}

// The journal rows a new stay shows besides its own creation row.
QString lignesEtrangeres(const QSqlDatabase& base, qint32 numero)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("SELECT libelle FROM OPERATIONS WHERE numeroreservation = ? AND libelle <> 'Création' "
                             "ORDER BY rowid"));
    q.addBindValue(numero);
    QStringList libelles;
    if (q.exec())
        while (q.next())
            libelles << q.value(0).toString();
    return libelles.join(QStringLiteral(" | "));
}

} // namespace

// Where the highest number used is kept, and what the next stay gets once
// the counter was put back and then raised again.
TEST(Numeros, TheNextStayFollowsEveryNumberEverUsed)
{
    struct Cas {
        const char* nom;
        int sejours;               // stays made, the last one deleted after a sale (0: none)
        QStringList lignes;        // then these rows
        bool ramener;              // the counter put back to the highest existing stay
        qint64 utilise;            // plusGrandUtilise
        bool sqliteSeulement;      // texts in a number's column: SQLite keeps them
        qint64 compteur = 0;       // the counter moved on to this number (0: left)
    };
    const Cas cas[] = {
        {"nothing ever numbered", 0, {}, false, 0, false},
        {"the newest stay deleted after a sale, counter untouched", 3, {}, false, 3, false},
        {"the newest stay deleted after a sale, counter put back", 3, {}, true, 3, false},
        {"a journal row of a stay deleted long ago", 2,
         {QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, libelle, prix) VALUES (40, 'Ancien', -1)")}, true,
         40, false},
        {"an invoice of a deleted stay", 2,
         {QStringLiteral("INSERT INTO FACTURES (Numero, Annee, Sequence, reservation) VALUES ('2026-0001', 2026, 1, 57)")},
         true, 57, false},
        {"a counter ahead of every row (a stay deleted with its rows)", 2, {}, false, 90, false, 90},
        {"numbers that number no stay", 2,
         {QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, libelle) VALUES (NULL, 'a')"),
          QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, libelle) VALUES (0, 'b')"),
          QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, libelle) VALUES (-8, 'c')"),
          QStringLiteral("INSERT INTO FACTURES (Numero, Annee, Sequence, reservation) VALUES ('2026-0002', 2026, 2, NULL)")},
         true, 2, false},
        {"texts and huge numbers in the journal", 2,
         {QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, libelle) VALUES ('abc', 'a')"),
          QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, libelle) VALUES (99999999999, 'b')"),
          QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, libelle) VALUES (7.0, 'c')")},
         true, 7, true},
    };
    for (const Cas& c : cas) {
        if (c.sqliteSeulement && TestUtil::SurPostgres())
            continue;
        TestUtil::BaseTemporaire t;
        if (c.sejours > 0)
            sejoursPuisSuppressionDuDernier(t.base(), c.sejours);
        for (const QString& sql : c.lignes)
            t.executerHorsRegles(sql);   // rows as an older program may have left them
        if (c.ramener)
            ramenerLeCompteur(t.base());
        if (c.compteur > 0)
            avancerLeCompteur(t.base(), c.compteur);
        QString erreur;
        EXPECT_EQ(Numeros::plusGrandUtilise(t.base(), &erreur).value_or(-1), c.utilise) << c.nom << erreur.toStdString();
        ASSERT_TRUE(Numeros::garderUtilises(t.base(), &erreur)) << c.nom << erreur.toStdString();
        const qint32 suivant = creer(t.base(), QStringLiteral("Nouveau"), 30);
        EXPECT_EQ(suivant, c.utilise + 1) << c.nom;
        EXPECT_EQ(lignesEtrangeres(t.base(), suivant), QString()) << c.nom;
    }
}

// Raising the counter to n never lowers it, even once the stays holding
// the higher numbers are gone with all their rows; n = 0 changes nothing.
TEST(Numeros, TheCounterIsRaisedNeverLowered)
{
    TestUtil::BaseTemporaire t;
    struct Etape {
        bool supprimer;   // the last stay deleted first (no row holds its number then)
        qint64 n;
        qint32 suivant;   // the number of the stay made afterwards
    };
    const Etape etapes[] = {{false, 0, 1}, {false, 10, 11}, {true, 5, 12}, {true, 12, 13}, {false, 20, 21}};
    int nuit = 0;
    qint32 dernier = 0;
    for (const Etape& e : etapes) {
        QString erreur;
        if (e.supprimer) {
            ASSERT_TRUE(RequetesReservation::supprimer(t.base(), dernier, QStringLiteral("Suppression"), &erreur))
                << erreur.toStdString();
            t.executer(QStringLiteral("DELETE FROM OPERATIONS WHERE numeroreservation = %1").arg(dernier));
        }
        ASSERT_TRUE(Numeros::suivantApres(t.base(), e.n, &erreur)) << e.n << erreur.toStdString();
        dernier = creer(t.base(), QStringLiteral("Client"), ++nuit);
        EXPECT_EQ(dernier, e.suivant) << "après " << e.n;
    }
}

// The newest stay deleted after a sale, then the database copied to the
// other engine and back (or to another file): on every copy the next stay
// gets a new number and shows no row of the deleted one.
TEST(Numeros, ACopyNeverGivesADeletedStaysNumberAgain)
{
    TestUtil::BaseTemporaire source(QStringLiteral("numeros_source"));
    sejoursPuisSuppressionDuDernier(source.base(), 7);
    ASSERT_EQ(source.valeur(QStringLiteral("SELECT max(NumeroReservation) FROM RESERVATIONS")).toInt(), 6);

    QTemporaryDir dossier;
    QStringList cibles = {dossier.filePath(QStringLiteral("copie.db")), dossier.filePath(QStringLiteral("retour.db"))};
    std::optional<TestUtil::BasePostgresVide> serveur;
    // Through a server when one answers: a file, the server, a file again.
    if (TestUtil::ServeurPostgresAbsent().isEmpty()) {
        serveur.emplace();
        cibles.insert(1, serveur->adresse());
    }
    QSqlDatabase precedente = source.base();
    QStringList connexions;
    for (int i = 0; i < cibles.size(); ++i) {
        const QString connexion = QStringLiteral("numeros_cible_%1").arg(i);
        connexions << connexion;
        QString erreur;
        const auto cible = Base::ouvrir(cibles[i], Base::Ouverture::CreerSiAbsente, connexion, &erreur);
        ASSERT_TRUE(cible) << erreur.toStdString();
        const CopieVers::Bilan bilan = CopieVers::Copier(precedente, *cible);
        ASSERT_EQ(bilan.issue, CopieVers::Bilan::Copiee) << Dialecte::masquer(cibles[i]).toStdString() << ": "
                                                         << bilan.erreur.toStdString();
        EXPECT_EQ(bilan.dernierNumero, 7) << cibles[i].toStdString();
        precedente = *cible;
    }
    // Each copy, in its turn, gives 8 to its next stay, and 8 holds only
    // its own creation row.
    for (int i = 0; i < cibles.size(); ++i) {
        const QSqlDatabase base = QSqlDatabase::database(connexions[i]);
        const qint32 suivant = creer(base, QStringLiteral("Nouveau"), 20);
        EXPECT_EQ(suivant, 8) << cibles[i].toStdString();
        EXPECT_EQ(lignesEtrangeres(base, suivant), QString()) << cibles[i].toStdString();
    }
    precedente = QSqlDatabase();
    for (const QString& c : connexions) {
        QSqlDatabase::database(c, false).close();
        QSqlDatabase::removeDatabase(c);
    }
}
