#include "store/base.h"
#include "store/requetes.h"
#include "testutil.h"

#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Builds one kind of bad database path inside the folder and returns it.
QString preparer(const QTemporaryDir& dossier, const std::string& genre)
{
    const QString chemin = dossier.filePath(QStringLiteral("base.db"));
    if (genre == "dossier")
        QDir().mkpath(chemin);
    else if (genre == "vide")
        TestUtil::ecrireFichier(chemin, QByteArray());
    else if (genre == "texte")
        TestUtil::ecrireFichier(chemin, "ceci n'est pas une base\n");
    else if (genre == "sqlite sans nos tables" || genre == "version plus récente") {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("prep"));
            db.setDatabaseName(chemin);
            db.open();
            QSqlQuery q(db);
            if (genre == "sqlite sans nos tables") {
                q.exec(QStringLiteral("CREATE TABLE autre (x)"));
            } else {
                Base::creerSchema(db);
                q.exec(QStringLiteral("PRAGMA user_version = 99"));
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("prep"));
    }
    return chemin;
}

} // namespace

TEST(Base, RefusesEveryPathThatIsNotOurDatabase)
{
    for (const std::string genre : {"absent", "dossier", "vide", "texte", "sqlite sans nos tables", "version plus récente"}) {
        QTemporaryDir dossier;
        const QString chemin = preparer(dossier, genre);
        QString erreur;
        const auto base = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("c"), &erreur);
        EXPECT_FALSE(base.has_value()) << genre;
        EXPECT_FALSE(erreur.isEmpty()) << genre;
        EXPECT_FALSE(QSqlDatabase::contains(QStringLiteral("c"))) << genre;
    }
}

TEST(Base, CreatesAMissingFileWithSchemaAndDefaultStates)
{
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("neuve.db"));
    {
        const auto base = Base::ouvrir(chemin, Base::Ouverture::CreerSiAbsente, QStringLiteral("n"));
        ASSERT_TRUE(base.has_value());
        QSqlQuery q(*base);
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM ETATS")) && q.next());
        EXPECT_GE(q.value(0).toInt(), 3);
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA synchronous")) && q.next());
        EXPECT_EQ(q.value(0).toInt(), 2); // FULL
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM RESERVATION_NOMINATIVE")) && q.next());
        EXPECT_TRUE(Base::estVide(*base));
        EXPECT_TRUE(Base::remplirDemo(*base, QDate(2026, 12, 9)));
        EXPECT_FALSE(Base::estVide(*base));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("n"));
    // Reopened as an existing database.
    {
        const auto base = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("n2"));
        EXPECT_TRUE(base.has_value());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("n2"));
}

namespace {

// A file as version 2 of the program left it, with a unit, an article and a
// journal row; `version` is the number it claims.
void creerBaseVersion2(const QString& chemin, int version, bool avecIndexFins)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("prep2"));
        db.setDatabaseName(chemin);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        const char* const instructions[] = {
            "CREATE TABLE ETATS (Code INTEGER PRIMARY KEY, Nom TEXT, CouleurPrincipale INTEGER, internet INTEGER DEFAULT 0, surinternet INTEGER DEFAULT 0)",
            "CREATE TABLE OBJETS (Numero INTEGER PRIMARY KEY, Nom TEXT, NomInternet TEXT, FichierPlanningHTML TEXT)",
            "CREATE TABLE RESERVATIONS (NumeroReservation INTEGER PRIMARY KEY AUTOINCREMENT, objet INTEGER, nomclient TEXT, "
            "DateDebut TEXT, DateFin TEXT, arrhes REAL, datelimite TEXT, Etat INTEGER, nbadultes INTEGER, nbenfants INTEGER, "
            "remarque TEXT, telephone TEXT, email TEXT)",
            "CREATE TABLE OPERATIONS (numeroreservation INTEGER, date TEXT, prix REAL, paiement TEXT, libelle TEXT)",
            "CREATE TABLE CONSOMMATIONS (Famille TEXT, Libelle TEXT, prixTTC REAL)",
            "INSERT INTO OBJETS VALUES (1, 'Chalet', NULL, NULL)",
            "INSERT INTO CONSOMMATIONS VALUES ('Boissons', 'Café', 1.5)",
            "INSERT INTO OPERATIONS VALUES (1, '2026-12-01 10:00:00', -1.5, '   ', 'BAR Café')",
        };
        for (const char* sql : instructions)
            ASSERT_TRUE(q.exec(QString::fromUtf8(sql))) << sql;
        if (avecIndexFins)
            ASSERT_TRUE(q.exec(QStringLiteral("CREATE INDEX idx_reservations_objet_fin ON RESERVATIONS(objet, DateFin, DateDebut)")));
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA user_version = %1").arg(version)));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("prep2"));
}


// Runs statements on a file as a program without our schema code would
// (a file made by hand, or by an older version).
void ecrireAlaMain(const QString& chemin, std::initializer_list<const char*> instructions)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("alamain"));
        db.setDatabaseName(chemin);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const char* sql : instructions)
            ASSERT_TRUE(q.exec(QString::fromUtf8(sql))) << sql;
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("alamain"));
}

} // namespace

TEST(Base, AnOlderFileIsBroughtToTheCurrentSchema)
{
    struct Cas { int version; bool indexFins; };
    for (const Cas& c : {Cas{1, false}, Cas{2, true}}) {
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath(QStringLiteral("ancienne.db"));
        creerBaseVersion2(chemin, c.version, c.indexFins);
        {
            const auto base = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("v"));
            ASSERT_TRUE(base.has_value()) << c.version;
            auto valeur = [&](const char* sql) {
                QSqlQuery q(*base);
                return q.exec(QString::fromUtf8(sql)) && q.next() ? q.value(0) : QVariant(QStringLiteral("<échec>"));
            };
            EXPECT_EQ(valeur("PRAGMA user_version").toInt(), Base::kVersionSchema) << c.version;
            EXPECT_EQ(valeur("SELECT count(*) FROM sqlite_master WHERE name = 'idx_reservations_objet_fin'").toInt(), 1);
            // Rows are kept; units get no category, articles 10 % VAT.
            EXPECT_EQ(valeur("SELECT Categorie FROM OBJETS WHERE Numero = 1").toString(), QString()) << c.version;
            EXPECT_EQ(valeur("SELECT tauxTVA FROM CONSOMMATIONS").toDouble(), 10.0) << c.version;
            EXPECT_TRUE(valeur("SELECT tauxtva FROM OPERATIONS").isNull()) << c.version;
            EXPECT_EQ(valeur("SELECT count(*) FROM TARIFS").toInt(), 0) << c.version;
            EXPECT_EQ(valeur("SELECT count(*) FROM FACTURES").toInt(), 0) << c.version;
            // The portals' feeds: no address yet, no reservation imported.
            EXPECT_EQ(valeur("SELECT count(*) FROM FLUX").toInt(), 0) << c.version;
            EXPECT_EQ(valeur("SELECT count(UidExterne) FROM RESERVATIONS").toInt(), 0) << c.version;
        }
        QSqlDatabase::removeDatabase(QStringLiteral("v"));
    }
}

// An older file whose rows break the rules the tables now keep: it opens,
// every row stays as it was (the journal in its order, the next number past
// a deleted stay), the rows are listed once on standard error, and new
// writes are checked; the search, the version count and the view work on
// the rebuilt tables.
TEST(Base, AnOlderFileWithRowsOutsideTheRulesOpensAndKeepsThem)
{
    SQLITE_SEULEMENT();
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("horsregles.db"));
    creerBaseVersion2(chemin, 2, true);
    ecrireAlaMain(chemin, {
                 "INSERT INTO ETATS (Code, Nom) VALUES (1, 'Confirmé')",
                 "INSERT INTO RESERVATIONS VALUES (1, 1, 'Dupont', '2026-12-01 14:00:00', '2026-12-05 12:00:00', 0, NULL, 1, 2, 0, '', '', '')",
                 "INSERT INTO RESERVATIONS VALUES (2, 999, 'Zorro', 'pas une date', NULL, 0, NULL, 42, -3, 0, '', '', '')",
                 "INSERT INTO RESERVATIONS VALUES (3, 1, 'Effacé', '2026-12-01', '2026-12-02', 0, NULL, 1, 1, 0, '', '', '')",
                 "DELETE FROM RESERVATIONS WHERE NumeroReservation = 3",
                 "INSERT INTO OPERATIONS VALUES (3, '2026-12-01 11:00:00', -3.5, '   ', 'BAR Bière')",
                 "INSERT INTO OPERATIONS VALUES (2, NULL, 5, 'ESP', 'Paiement')",
                 // A stay whose number only its journal still knows.
                 "INSERT INTO OPERATIONS VALUES (9, '2026-11-02 10:00:00', -1, '   ', 'Ancien')",
             });

    QString erreurs;
    {
        testing::internal::CaptureStderr();
        const auto base = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("v8"));
        erreurs = QString::fromStdString(testing::internal::GetCapturedStderr());
        ASSERT_TRUE(base.has_value());
        auto liste = [&](const char* sql) {
            QSqlQuery q(*base);
            QStringList l;
            if (q.exec(QString::fromUtf8(sql)))
                while (q.next())
                    l << q.value(0).toString();
            return l.join(QLatin1Char('|'));
        };
        EXPECT_EQ(liste("PRAGMA user_version"), QString::number(Base::kVersionSchema));
        EXPECT_EQ(liste("SELECT nomclient || ' ' || objet || ' ' || DateDebut FROM RESERVATIONS ORDER BY 1"),
                  QStringLiteral("Dupont 1 2026-12-01 14:00:00|Zorro 999 pas une date"));
        EXPECT_EQ(liste("SELECT libelle FROM OPERATIONS ORDER BY rowid"),
                  QStringLiteral("BAR Café|BAR Bière|Paiement|Ancien"));
        EXPECT_EQ(liste("SELECT NomObjet FROM RESERVATION_NOMINATIVE WHERE NumeroReservation = 1"), QStringLiteral("Chalet"));
        // The rules hold for what is written now.
        QSqlQuery q(*base);
        EXPECT_FALSE(q.exec(QStringLiteral("INSERT INTO RESERVATIONS (objet, DateDebut, DateFin, Etat) "
                                           "VALUES (999, '2026-12-01', '2026-12-02', 1)")));
        EXPECT_FALSE(q.exec(QStringLiteral("INSERT INTO RESERVATIONS (objet, DateDebut, DateFin, Etat) "
                                           "VALUES (1, 'demain', '2026-12-02', 1)")));
        // The deleted stays' numbers are not given again: their journal rows stay their own.
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) "
                                          "VALUES (1, 'Nouveau', '2026-12-10', '2026-12-12', 1)")));
        EXPECT_EQ(liste("SELECT NumeroReservation FROM RESERVATIONS WHERE nomclient = 'Nouveau'"), QStringLiteral("10"));
        EXPECT_EQ(liste("SELECT version FROM RESERVATIONS WHERE NumeroReservation = 1"), QStringLiteral("0"));
        ASSERT_TRUE(q.exec(QStringLiteral("UPDATE RESERVATIONS SET nomclient = 'Dupond' WHERE NumeroReservation = 1")));
        EXPECT_EQ(liste("SELECT version FROM RESERVATIONS WHERE NumeroReservation = 1"), QStringLiteral("1"));
        EXPECT_EQ(liste("SELECT count(*) FROM RECHERCHE_RESERVATIONS WHERE RECHERCHE_RESERVATIONS MATCH 'Nouveau'"), QStringLiteral("1"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("v8"));
    EXPECT_TRUE(erreurs.contains(QString::fromUtf8("réservation n° 2 : le logement 999 n'existe pas"))) << erreurs.toStdString();
    EXPECT_TRUE(erreurs.contains(QString::fromUtf8("réservation n° 2 : l'état 42 n'existe pas"))) << erreurs.toStdString();
    EXPECT_TRUE(erreurs.contains(QString::fromUtf8("ligne 3 du journal (réservation n° 2)"))) << erreurs.toStdString();
    EXPECT_FALSE(erreurs.contains(QString::fromUtf8("réservation n° 1 "))) << erreurs.toStdString();

    // Listed once: the next opening says nothing.
    {
        testing::internal::CaptureStderr();
        const bool ouverte = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("v8")).has_value();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string());
        EXPECT_TRUE(ouverte);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("v8"));
}

// A file of version 3 gains the "Vendu" box ticked for each of its states
// and the journal's date index; a new file and the demonstration's states.
TEST(Base, StatesCountAsSoldAfterTheUpgradeAndInANewFile)
{
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("v3.db"));
    creerBaseVersion2(chemin, 2, true);
    ecrireAlaMain(chemin, {"ALTER TABLE OBJETS ADD COLUMN Categorie TEXT DEFAULT ''",
                                "ALTER TABLE CONSOMMATIONS ADD COLUMN tauxTVA REAL DEFAULT 10",
                                "ALTER TABLE OPERATIONS ADD COLUMN tauxtva REAL",
                                "INSERT INTO ETATS (Code, Nom) VALUES (41, 'Arrhes'), (42, 'Travaux')",
                                "PRAGMA user_version = 3"});

    struct Cas { const char* nom; QString chemin; bool demo; QString vendus; };
    const Cas cas[] = {
        {"version 3", chemin, false, QStringLiteral("11")},
        {"new file", dossier.filePath(QStringLiteral("neuve.db")), false, QStringLiteral("111")},
        {"demonstration", dossier.filePath(QStringLiteral("demo.db")), true, QStringLiteral("110")},
    };
    for (const Cas& c : cas) {
        {
            QString erreurOuverture;
            const auto base = Base::ouvrir(c.chemin, Base::Ouverture::CreerSiAbsente, QStringLiteral("v5"), &erreurOuverture);
            ASSERT_TRUE(base.has_value()) << c.nom << erreurOuverture.toStdString();
            if (c.demo)
                ASSERT_TRUE(Base::remplirDemo(*base, QDate(2026, 12, 9)));
            auto valeur = [&](const char* sql) {
                QSqlQuery q(*base);
                return q.exec(QString::fromUtf8(sql)) && q.next() ? q.value(0) : QVariant(QStringLiteral("<échec>"));
            };
            EXPECT_EQ(valeur("PRAGMA user_version").toInt(), Base::kVersionSchema) << c.nom;
            EXPECT_EQ(valeur("SELECT group_concat(Vendu, '') FROM (SELECT Vendu FROM ETATS ORDER BY Code)").toString(),
                      c.vendus) << c.nom;
            EXPECT_EQ(valeur("SELECT count(*) FROM sqlite_master WHERE name = 'idx_operations_date'").toInt(), 1) << c.nom;
            // A state added later is sold too.
            QSqlQuery q(*base);
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO ETATS (Code, Nom) VALUES (99, 'Nouvel état')")));
            EXPECT_EQ(valeur("SELECT Vendu FROM ETATS WHERE Code = 99").toInt(), 1) << c.nom;
        }
        QSqlDatabase::removeDatabase(QStringLiteral("v5"));
    }
}

TEST(Base, AWriteOnAFileHeldByAnotherDeskSaysSoAndWritesNothing)
{
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("partagee.db"));
    ASSERT_TRUE(Base::ouvrir(chemin, Base::Ouverture::CreerSiAbsente, QStringLiteral("poste1")).has_value());
    {
        // The second desk, waiting a fifth of a second instead of five.
        QSqlDatabase poste2 = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("poste2"));
        poste2.setDatabaseName(chemin);
        poste2.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=200"));
        ASSERT_TRUE(poste2.open());
        QSqlDatabase poste1 = QSqlDatabase::database(QStringLiteral("poste1"));
        QSqlQuery verrou(poste1);
        ASSERT_TRUE(verrou.exec(QStringLiteral("BEGIN IMMEDIATE")));
        ASSERT_TRUE(verrou.exec(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chalet')")));

        QString erreur;
        EXPECT_FALSE(Requetes::ajouterOperation(poste2, 1, QDateTime(QDate(2026, 12, 9), QTime(10, 0), Qt::UTC), -3,
                                                QStringLiteral("   "), QStringLiteral("BAR Café"), &erreur));
        EXPECT_EQ(erreur, QString::fromUtf8("La base est occupée par un autre poste, réessayez."));
        EXPECT_FALSE(Requetes::EnTransaction(poste2, &erreur, [&] {
            return Requetes::ajouterOperation(poste2, 1, QDateTime(QDate(2026, 12, 9), QTime(10, 0), Qt::UTC), -3,
                                              QStringLiteral("   "), QStringLiteral("BAR Café"), &erreur);
        }));
        EXPECT_EQ(erreur, QString::fromUtf8("La base est occupée par un autre poste, réessayez."));

        // Once the first desk is done, the second one writes.
        ASSERT_TRUE(verrou.exec(QStringLiteral("COMMIT")));
        EXPECT_TRUE(Requetes::ajouterOperation(poste2, 1, QDateTime(QDate(2026, 12, 9), QTime(10, 0), Qt::UTC), -3,
                                               QStringLiteral("   "), QStringLiteral("BAR Café"), &erreur))
            << erreur.toStdString();
        QSqlQuery compte(poste1);
        ASSERT_TRUE(compte.exec(QStringLiteral("SELECT count(*) FROM OPERATIONS")) && compte.next());
        EXPECT_EQ(compte.value(0).toInt(), 1);
        poste2.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("poste2"));
    QSqlDatabase::database(QStringLiteral("poste1")).close();
    QSqlDatabase::removeDatabase(QStringLiteral("poste1"));
}
