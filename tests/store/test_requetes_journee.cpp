#include "store/base.h"
#include "store/dates.h"
#include "store/requetes.h"
#include "store/requetes_journee.h"
#include "testutil.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using RequetesJournee::Sejour;

qint32 stocker(const QSqlDatabase& base, qint32 objet, const QString& client, const QDate& debut, int nuits,
               const QString& telephone = QStringLiteral(" "), const QString& email = QStringLiteral(" "),
               const QString& remarque = QStringLiteral(" "))
{
    Requetes::Reservation r;
    r.objet = objet;
    r.nomclient = client;
    r.debut = Dates::naive(debut, QTime(14, 0));
    r.fin = Dates::naive(debut.addDays(nuits), QTime(12, 0));
    r.etat = 1;
    r.nbadultes = 2;
    r.telephone = telephone;
    r.email = email;
    r.remarque = remarque;
    TestUtil::Logements(base, {objet});
    QString erreur;
    const auto numero = Requetes::ajouterReservation(base, r, &erreur);
    EXPECT_TRUE(numero.has_value()) << erreur.toStdString();
    return numero.value_or(0);
}

QStringList clients(const std::optional<QList<Sejour>>& sejours)
{
    QStringList noms;
    for (const Sejour& s : sejours.value_or(QList<Sejour>()))
        noms << s.client;
    return noms;
}

class Recherche : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QSqlDatabase b = m_bd.base();
        // Numbers of two digits and more, as a search needs two characters.
        if (TestUtil::SurPostgres()) {
            m_bd.executer(QStringLiteral("ALTER TABLE RESERVATIONS ALTER COLUMN NumeroReservation RESTART WITH 41"));
        } else {
            m_bd.executer(QStringLiteral("INSERT INTO RESERVATIONS (NumeroReservation) VALUES (40)"));
            m_bd.executer(QStringLiteral("DELETE FROM RESERVATIONS"));
        }
        m_gerard = stocker(b, 1, QStringLiteral("Gérard Lefèvre"), QDate(2026, 7, 1), 7, QStringLiteral("06 12 34 56 78"),
                           QStringLiteral("g.lefevre@exemple.fr"));
        m_gerardAncien = stocker(b, 2, QStringLiteral("GÉRARD Lefèvre"), QDate(2025, 7, 1), 7);
        m_martin = stocker(b, 2, QStringLiteral("Martin"), QDate(2026, 8, 1), 3, QStringLiteral("+33 (0)4.75.00.11.22"),
                           QStringLiteral(" "), QStringLiteral("Vient avec un chien"));
        stocker(b, 3, QStringLiteral("100% \"bio\" l'Été"), QDate(2026, 9, 1), 2);
    }
    std::optional<QList<Sejour>> chercher(const QString& texte) const
    {
        QString erreur;
        const auto r = RequetesJournee::rechercher(m_bd.base(), texte, 50, &erreur);
        EXPECT_TRUE(r.has_value()) << texte.toStdString() << " : " << erreur.toStdString();
        return r;
    }

    TestUtil::BaseTemporaire m_bd;
    // Rows without a name, dates or a unit, as an older program wrote them.
    TestUtil::SansRegles m_anciennes{m_bd.base()};
    qint32 m_gerard = 0;
    qint32 m_gerardAncien = 0;
    qint32 m_martin = 0;
};

} // namespace

TEST(ExpressionRecherche, EveryTermIsQuotedAndSearchedAsAPrefix)
{
    // SQLite's full-text expression, and PostgreSQL's query of folded words.
    struct Cas { const char* texte; const char* fts; const char* tsquery; int numero; };
    const Cas cas[] = {
        {"gerard", "\"gerard\"*", "('gerard':*)", 0},
        {"  Gérard   lef ", "\"Gérard\"* \"lef\"*", "('gerard':*) & ('lef':*)", 0},
        {"a", "", "", 0},                                   // one character: nothing yet
        {"NEAR OR", "\"NEAR\"* \"OR\"*", "('near':*) & ('or':*)", 0},   // operators are words
        {"say \"hi\"", "\"say\"* \"\"\"hi\"\"\"*", "('say':*) & ('hi':*)", 0},   // quotes doubled
        {"col:val", "\"col:val\"*", "('col' <-> 'val':*)", 0},   // no column filter
        {"a* -b", "\"a*\"* \"-b\"*", "('a':*) & ('b':*)", 0},
        {"l'Été o'brien", "\"l'Été\"* \"o'brien\"*", "('l' <-> 'ete':*) & ('o' <-> 'brien':*)", 0},
        {"x & !y | (z)", "\"x\"* \"!y\"* \"(z)\"*", "('x':*) & ('y':*) & ('z':*)", 0},   // no operator either
        {"- %_ ''", "", "", 0},                             // no letter, no digit: nothing
        {"\xF0\x9F\x98\x80\xF0\x9F\x98\x80", "", "", 0},       // emoji only
        {"06 12 34", "\"061234\"*", "('061234':*)", 0},     // a telephone typed with spaces
        {"+33 (0)4.75", "\"330475\"*", "('330475':*)", 0},
        {"1234", "\"1234\"*", "('1234':*)", 1234},         // a number: also that reservation
        {"0", "", "", 0},
    };
    for (const Cas& c : cas) {
        const auto e = RequetesJournee::expressionRecherche(QString::fromUtf8(c.texte));
        EXPECT_EQ(e.fts, QString::fromUtf8(c.fts)) << c.texte;
        EXPECT_EQ(e.tsquery, QString::fromUtf8(c.tsquery)) << c.texte;
        EXPECT_EQ(e.numero.value_or(0), c.numero) << c.texte;
    }
    // A pasted page keeps a bounded number of terms.
    const auto long_ = RequetesJournee::expressionRecherche(QStringLiteral("mot ").repeated(200));
    EXPECT_EQ(long_.fts.count(QLatin1Char('*')), 12);
}

TEST(ExpressionRecherche, TextsAreFoldedToPlainLowerCaseWords)
{
    struct Cas { const char* texte; const char* plie; };
    const Cas cas[] = {
        {"Gérard LEFÈVRE", "gerard lefevre"},
        {"ÉLOÏSE Château-Œuvre", "eloise chateau œuvre"},   // a ligature is a letter of its own
        {"e\xCC\x81" "cole", "ecole"},                          // an accent written apart
        {"ÀÁÂÃÄÅ àáâãäå Çç Ññ Ýý", "aaaaaa aaaaaa cc nn yy"},
        {"Łódź Škoda", "łodz skoda"},
        {"Ἀθῆναι ΑΘΉΝΑ Москва́", "αθηναι αθηνα москва"},
        {"jean.dupont@exemple.fr", "jean dupont exemple fr"},
        {"100% \"bio\"\t«ici»—là", "100   bio   ici  la"},
        {"Nguyễn Thị", "nguyen thi"},
        {"", ""},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(RequetesJournee::plierRecherche(QString::fromUtf8(c.texte)), QString::fromUtf8(c.plie)) << c.texte;
}

TEST_F(Recherche, NameAccentsAndCaseAreIgnoredNewestFirst)
{
    struct Cas { const char* texte; QList<qint32> numeros; };
    const Cas cas[] = {
        {"gerard", {m_gerard, m_gerardAncien}},
        {"GER lefev", {m_gerard, m_gerardAncien}},
        {"lefèvre gérard", {m_gerard, m_gerardAncien}},
        {"mart", {m_martin}},
        {"chien", {m_martin}},                      // the remark
        {"exemple.fr", {m_gerard}},                 // the e-mail
        {"06 12 34", {m_gerard}},                   // telephone with spaces
        {"0612345678", {m_gerard}},
        {"04 75 00", {m_martin}},                   // digits after the country code
        {"33 04 75", {m_martin}},
        {"dupont", {}},
    };
    for (const Cas& c : cas) {
        QList<qint32> trouves;
        for (const Sejour& s : chercher(QString::fromUtf8(c.texte)).value_or(QList<Sejour>()))
            trouves << s.numero;
        EXPECT_EQ(trouves, c.numeros) << c.texte;
    }
    // The number of a reservation finds it; its unit and dates come along.
    const auto parNumero = chercher(QString::number(m_martin));
    ASSERT_EQ(parNumero->size(), 1);
    EXPECT_EQ(parNumero->at(0).objet, 2);
    EXPECT_EQ(parNumero->at(0).debut, Dates::naive(QDate(2026, 8, 1), QTime(14, 0)));
    EXPECT_EQ(parNumero->at(0).nomEtat, QStringLiteral("Confirmé"));
}

// Texts where the engines' own rules could part: the words are folded the
// same way on both, whatever the accents, the case or the punctuation.
TEST_F(Recherche, AccentsCaseAndPunctuationFindTheSameOnEveryEngine)
{
    const QSqlDatabase b = m_bd.base();
    const qint32 eloise = stocker(b, 4, QStringLiteral("ÉLOÏSE Château-Œuvre"), QDate(2026, 5, 1), 2,
                                  QStringLiteral("07-00-00\t00-01"), QStringLiteral("eloise.chateau@exemple.fr"),
                                  QStringLiteral("Arrivée tardive (23h) ; «vélo»"));
    const qint32 nguyen = stocker(b, 4, QStringLiteral("Nguyễn Thị Ánh"), QDate(2026, 4, 1), 2,
                                  QStringLiteral("01/23/45/67/89"), QStringLiteral(" "), QStringLiteral("Łódź"));
    const qint32 obrien = stocker(b, 4, QStringLiteral("O'Brien"), QDate(2026, 3, 1), 2);
    struct Cas { const char* texte; QList<qint32> numeros; };
    const Cas cas[] = {
        {"eloise", {eloise}},
        {"ÉLO", {eloise}},
        {"e\xCC\x81loi\xCC\x88se", {eloise}},           // accents written apart
        {"chateau-oeuvre", {}},                        // a ligature is not two letters
        {"chateau-œuvre", {eloise}},
        {"CHÂTEAU œuv", {eloise}},
        {"eloise.chateau", {eloise}},                  // the e-mail, its words in order
        {"chateau.eloise", {}},
        {"velo", {eloise}},                            // the remark, between quotes
        {"tardive 23h", {eloise}},
        {"0700", {eloise}},                            // a tabulation in the telephone
        {"07 00 00 00 01", {eloise}},
        {"07.00.00.00.02", {}},
        {"01 23 45", {nguyen}},                        // slashes in the telephone
        {"nguyen anh", {nguyen}},
        {"NGUYÊN", {nguyen}},
        {"ŁÓDŹ", {nguyen}},
        {"lodz", {}},                                  // Ł is a letter of its own
        {"o'brien", {obrien}},
        {"brien", {obrien}},
        {"o brien", {obrien}},
        {"obrien", {}},
        {"ge", {m_gerard, m_gerardAncien}},
    };
    for (const Cas& c : cas) {
        QList<qint32> trouves;
        for (const Sejour& s : chercher(QString::fromUtf8(c.texte)).value_or(QList<Sejour>()))
            trouves << s.numero;
        EXPECT_EQ(trouves, c.numeros) << c.texte;
    }
}

// Three digits or more are looked for anywhere in a telephone, through its
// trigram index or, where there is none, by reading every telephone: both
// ways give the same stays.
TEST_F(Recherche, AnyPartOfATelephoneFindsItWithOrWithoutItsIndex)
{
    const QSqlDatabase b = m_bd.base();
    const qint32 durand = stocker(b, 5, QStringLiteral("Durand"), QDate(2026, 6, 1), 2, QStringLiteral("01 90 12 44 55"));
    const qint32 remarque = stocker(b, 5, QStringLiteral("Petit"), QDate(2026, 5, 1), 2, QStringLiteral(" "),
                                    QStringLiteral(" "), QStringLiteral("Code portail 1234"));
    struct Cas { const char* texte; QList<qint32> numeros; };
    const Cas cas[] = {
        {"1234", {m_gerard, remarque}},        // inside Gérard's number; a word of a remark
        {"90.12", {durand}},                   // typed with a dot
        {"9012", {durand}},
        {"34 56", {m_gerard}},
        {"5678", {m_gerard}},                  // the end of the number
        {"0612345678", {m_gerard}},            // the whole number
        {"(0)4.75", {m_martin}},
        {"001122", {m_martin}},
        {"475", {m_martin}},
        {"135", {}},                           // digits of a number, not in its order
        {"4321", {}},
        {"06123456789", {}},                   // longer than the number
        {"78 33", {}},                         // across two telephones
        {"12", {remarque}},                    // two digits: the start of a word only, not inside a number
        {"33", {m_martin}},
        {"06", {m_gerard}},
    };
    auto verifier = [&](const char* maniere) {
        for (const Cas& c : cas) {
            QList<qint32> trouves;
            for (const Sejour& s : chercher(QString::fromUtf8(c.texte)).value_or(QList<Sejour>()))
                trouves << s.numero;
            EXPECT_EQ(trouves, c.numeros) << c.texte << " " << maniere;
        }
    };
    // A new database has the index on either engine (the test server has pg_trgm).
    EXPECT_EQ(m_bd.valeur(TestUtil::SurPostgres()
                              ? QStringLiteral("SELECT count(*) FROM pg_indexes WHERE indexname = 'idx_reservations_telephone_trgm' "
                                               "AND schemaname = current_schema()")
                              : QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'RECHERCHE_TELEPHONES'")).toInt(), 1);
    verifier("par l'index");
    // The index follows a changed telephone, and a deleted stay.
    auto r = Requetes::reservation(b, durand);
    ASSERT_TRUE(r);
    r->telephone = QStringLiteral("02 77 88 99 00");
    ASSERT_TRUE(Requetes::modifierReservation(b, *r));
    EXPECT_TRUE(chercher(QStringLiteral("9012"))->isEmpty());
    EXPECT_EQ(clients(chercher(QStringLiteral("889"))), QStringList{QStringLiteral("Durand")});
    r = Requetes::reservation(b, durand);
    r->telephone = QStringLiteral("01 90 12 44 55");
    ASSERT_TRUE(Requetes::modifierReservation(b, *r));
    const qint32 parti = stocker(b, 5, QStringLiteral("Parti"), QDate(2026, 4, 1), 2, QStringLiteral("09 87 65 43 21"));
    EXPECT_EQ(clients(chercher(QStringLiteral("8765"))), QStringList{QStringLiteral("Parti")});
    ASSERT_TRUE(Requetes::supprimerReservation(b, parti));
    EXPECT_TRUE(chercher(QStringLiteral("8765"))->isEmpty());
    // Without the index (an engine that could not make it), every telephone is read.
    if (TestUtil::SurPostgres()) {
        m_bd.executer(QStringLiteral("DROP INDEX IF EXISTS idx_reservations_telephone_trgm"));
    } else {
        for (const char* declencheur : {"recherche_telephone_ajout", "recherche_telephone_suppression",
                                        "recherche_telephone_modification"})
            m_bd.executer(QStringLiteral("DROP TRIGGER %1").arg(QLatin1String(declencheur)));
        m_bd.executer(QStringLiteral("DROP TABLE RECHERCHE_TELEPHONES"));
    }
    verifier("sans index");
}

TEST_F(Recherche, NoUserTextReachesTheEngineAsSyntax)
{
    const char* const textes[] = {"%", "%%", "_a", "'", "''; DROP TABLE RESERVATIONS; --", "\"", "\"\"", "*", "a*",
        "NEAR(a b)", "OR", "a OR b", "AND", "NOT x", "-", "- -", "nomclient:x", "^x", "(", ")", "{a b}:c", "x + y",
        "\xF0\x9F\x98\x80", "bio\xF0\x9F\x8C\xB1", "100%", "l'Été", "\\", "\t\n"};
    for (const char* t : textes) {
        QString erreur;
        EXPECT_TRUE(RequetesJournee::rechercher(m_bd.base(), QString::fromUtf8(t), 50, &erreur).has_value())
            << t << " : " << erreur.toStdString();
    }
    const QString long_ = QStringLiteral("é").repeated(500);
    EXPECT_TRUE(chercher(long_)->isEmpty());
    EXPECT_TRUE(chercher(QStringLiteral("a").repeated(250) + QStringLiteral(" ") + QStringLiteral("b").repeated(250))->isEmpty());
    // Punctuation around a word searches the word.
    EXPECT_EQ(clients(chercher(QStringLiteral("\"bio\""))), QStringList{QStringLiteral("100% \"bio\" l'Été")});
    EXPECT_EQ(clients(chercher(QStringLiteral("l'ete"))), QStringList{QStringLiteral("100% \"bio\" l'Été")});
    EXPECT_EQ(m_bd.valeur(QStringLiteral("SELECT count(*) FROM RESERVATIONS")).toInt(), 4);
}

TEST_F(Recherche, TheIndexFollowsEveryChangeOfTheReservations)
{
    const QSqlDatabase b = m_bd.base();
    auto r = Requetes::reservation(b, m_martin);
    ASSERT_TRUE(r);
    r->nomclient = QStringLiteral("Éloïse Château");
    ASSERT_TRUE(Requetes::modifierReservation(b, *r));
    EXPECT_TRUE(chercher(QStringLiteral("martin"))->isEmpty());
    EXPECT_EQ(clients(chercher(QStringLiteral("eloise chateau"))), QStringList{QStringLiteral("Éloïse Château")});
    ASSERT_TRUE(Requetes::supprimerReservation(b, m_martin));
    EXPECT_TRUE(chercher(QStringLiteral("eloise"))->isEmpty());
    EXPECT_TRUE(chercher(QString::number(m_martin))->isEmpty());
}

TEST_F(Recherche, ReservationsWithoutNameOrDatesAreNeverListed)
{
    m_bd.executer(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, remarque) VALUES "
                                 "(1, NULL, '2026-07-02 14:00:00', '2026-07-04 12:00:00', 'gerard sans nom')"));
    m_bd.executer(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin) VALUES "
                                 "(1, 'Gérard sans dates', NULL, NULL)"));
    m_bd.executer(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin) VALUES "
                                 "(1, 'Gérard illisible', 'demain', 'plus tard')"));
    EXPECT_EQ(chercher(QStringLiteral("gerard"))->size(), 2);
    const auto jour = RequetesJournee::sejoursAutourDe(m_bd.base(), QDate(2026, 7, 3));
    ASSERT_TRUE(jour);
    EXPECT_EQ(clients(jour), QStringList{QStringLiteral("Gérard Lefèvre")});
}

TEST(SejoursAutourDe, BothWaysOfReadingGiveTheSameStays)
{
    TestUtil::BaseTemporaire bd;
    const QSqlDatabase b = bd.base();
    // Ten years of weekly stays on three units, one long stay across many.
    QSqlDatabase(b).transaction();
    for (int u = 1; u <= 3; ++u)
        for (QDate d(2016, 1, 1); d < QDate(2026, 1, 1); d = d.addDays(7 + u))
            stocker(b, u, QStringLiteral("C%1 %2").arg(u).arg(d.toString(Qt::ISODate)), d, 5 + u);
    stocker(b, 4, QStringLiteral("Saisonnier"), QDate(2016, 3, 1), 4000);
    ASSERT_TRUE(QSqlDatabase(b).commit());
    // Days early in the history (read by arrivals) and late (read by ends).
    for (const QDate& jour : {QDate(2016, 4, 2), QDate(2017, 1, 10), QDate(2024, 2, 29), QDate(2025, 12, 31)}) {
        const auto lus = RequetesJournee::sejoursAutourDe(b, jour);
        ASSERT_TRUE(lus) << jour.toString().toStdString();
        QSqlQuery attendu(b);
        attendu.prepare(QStringLiteral("SELECT nomclient FROM RESERVATIONS WHERE substr(DateDebut, 1, 10) <= :j "
                                       "AND substr(DateFin, 1, 10) >= :j ORDER BY nomclient"));
        attendu.bindValue(QStringLiteral(":j"), jour.toString(Qt::ISODate));
        ASSERT_TRUE(attendu.exec());
        QStringList noms;
        while (attendu.next())
            noms << attendu.value(0).toString();
        QStringList obtenus = clients(lus);
        obtenus.sort();
        EXPECT_EQ(obtenus, noms) << jour.toString().toStdString();
        EXPECT_TRUE(obtenus.contains(QStringLiteral("Saisonnier"))) << jour.toString().toStdString();
    }
}

TEST(ChangerEtat, TheStateAndItsJournalRowGoTogether)
{
    TestUtil::BaseTemporaire bd;
    const qint32 n = stocker(bd.base(), 1, QStringLiteral("Durand"), QDate(2026, 12, 9), 2);
    QString erreur;
    ASSERT_TRUE(RequetesJournee::changerEtat(bd.base(), n, 2, QStringLiteral("Arrivée du client"), &erreur))
        << erreur.toStdString();
    EXPECT_EQ(bd.valeur(QStringLiteral("SELECT Etat FROM RESERVATIONS")).toInt(), 2);
    EXPECT_EQ(bd.valeur(QStringLiteral("SELECT libelle FROM OPERATIONS WHERE numeroreservation = %1").arg(n)).toString(),
              QStringLiteral("Arrivée du client"));
    // No such reservation: nothing at all is written.
    EXPECT_FALSE(RequetesJournee::changerEtat(bd.base(), n + 10, 2, QStringLiteral("Départ du client"), &erreur));
    EXPECT_FALSE(erreur.isEmpty());
    // A journal that refuses the row leaves the state as it was.
    bd.refuser(QStringLiteral("INSERT"), QStringLiteral("OPERATIONS"), QStringLiteral("plein"));
    EXPECT_FALSE(RequetesJournee::changerEtat(bd.base(), n, 3, QStringLiteral("Départ du client"), &erreur));
    EXPECT_EQ(bd.valeur(QStringLiteral("SELECT Etat FROM RESERVATIONS")).toInt(), 2);
    EXPECT_EQ(bd.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS")).toInt(), 1);
}

TEST(IndexRecherche, AnOlderFileHasItsReservationsIndexedOnOpening)
{
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("v3.db"));
    {
        // A file of an older version: the tables as they were, no index.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("v3"));
        db.setDatabaseName(chemin);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        const char* const instructions[] = {
            "CREATE TABLE ETATS (Code INTEGER PRIMARY KEY, Nom TEXT, CouleurPrincipale INTEGER, internet INTEGER DEFAULT 0, "
            "surinternet INTEGER DEFAULT 0)",
            "CREATE TABLE OBJETS (Numero INTEGER PRIMARY KEY, Nom TEXT, NomInternet TEXT, FichierPlanningHTML TEXT)",
            "CREATE TABLE RESERVATIONS (NumeroReservation INTEGER PRIMARY KEY AUTOINCREMENT, objet INTEGER, nomclient TEXT, "
            "DateDebut TEXT, DateFin TEXT, arrhes REAL, datelimite TEXT, Etat INTEGER, nbadultes INTEGER, nbenfants INTEGER, "
            "remarque TEXT, telephone TEXT, email TEXT)",
            "CREATE TABLE OPERATIONS (numeroreservation INTEGER, date TEXT, prix REAL, paiement TEXT, libelle TEXT)",
            "CREATE TABLE CONSOMMATIONS (Famille TEXT, Libelle TEXT, prixTTC REAL)",
            "INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, telephone) VALUES "
            "(1, 'Hélène Noël', '2026-05-01 14:00:00', '2026-05-04 12:00:00', '07.00.00.00.01')",
            "PRAGMA user_version = 2",
        };
        for (const char* sql : instructions)
            ASSERT_TRUE(q.exec(QString::fromUtf8(sql))) << sql;
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("v3"));
    {
        QString erreur;
        const auto base = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("v4"), &erreur);
        ASSERT_TRUE(base) << erreur.toStdString();
        QSqlQuery q(*base);
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA user_version")) && q.next());
        EXPECT_EQ(q.value(0).toInt(), Base::kVersionSchema);
        EXPECT_EQ(clients(RequetesJournee::rechercher(*base, QStringLiteral("helene noel"))), QStringList{QStringLiteral("Hélène Noël")});
        EXPECT_EQ(RequetesJournee::rechercher(*base, QStringLiteral("0700"))->size(), 1);
        // The telephones too, by groups of three digits.
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM RECHERCHE_TELEPHONES WHERE RECHERCHE_TELEPHONES MATCH '\"0001\"'")));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), 1);
        q.finish();
        // And the triggers keep it in step from now on (the file made by hand
        // has no state).
        ASSERT_TRUE(QSqlQuery(*base).exec(QStringLiteral("INSERT INTO ETATS (Code, Nom) VALUES (1, 'Confirmé')")));
        stocker(*base, 1, QStringLiteral("Noëlle"), QDate(2026, 6, 1), 3);
        EXPECT_EQ(RequetesJournee::rechercher(*base, QStringLiteral("noel"))->size(), 2);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("v4"));
}

TEST(RechercheCourante, ACommonTextGivesTheNewestFiftyWhateverTheWayTaken)
{
    TestUtil::BaseTemporaire bd;
    const QSqlDatabase b = bd.base();
    const TestUtil::SansRegles sansEtat(b);
    // 21 000 stays, one a day: the Martins one day in two, the Marchands one
    // day in twenty, a single Marceau.
    QSqlDatabase(b).transaction();
    QSqlQuery q(b);
    q.prepare(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, email) "
                             "VALUES (1, :c, :d, :f, 'accueil@exemple.fr')"));
    for (int i = 0; i < 21000; ++i) {
        const QDate d = QDate(1970, 1, 1).addDays((i * 7919) % 21000);
        q.bindValue(QStringLiteral(":c"), i == 777 ? QStringLiteral("Marceau") : i % 20 == 1 ? QStringLiteral("Marchand")
                                          : i % 2 ? QStringLiteral("Lenoir") : QStringLiteral("Martin"));
        q.bindValue(QStringLiteral(":d"), Dates::versTexteBase(Dates::naive(d, QTime(14, 0))));
        q.bindValue(QStringLiteral(":f"), Dates::versTexteBase(Dates::naive(d.addDays(2), QTime(12, 0))));
        ASSERT_TRUE(q.exec());
    }
    ASSERT_TRUE(QSqlDatabase(b).commit());
    // mar: 10 500 + 1 050 + 1 matches; lenoir: 9 450 - 1 050; "marceau": one;
    // the e-mail: every one.
    struct Cas { const char* texte; const char* nom; };
    for (const Cas& c : {Cas{"mar", "mar%"}, Cas{"martin", "martin"}, Cas{"marchand", "marchand"},
                         Cas{"lenoir", "lenoir"}, Cas{"marceau", "marceau"}, Cas{"m", ""}, Cas{"exemple.fr", "%"},
                         Cas{"accueil lenoir", "lenoir"}}) {
        const char* texte = c.texte;
        QSqlQuery attendu(b);
        attendu.prepare(QStringLiteral("SELECT NumeroReservation FROM RESERVATIONS WHERE lower(nomclient) LIKE :p "
                                       "ORDER BY DateDebut DESC LIMIT 50"));
        attendu.bindValue(QStringLiteral(":p"), QString::fromUtf8(c.nom));
        ASSERT_TRUE(attendu.exec());
        QList<qint32> numeros;
        while (attendu.next())
            numeros << attendu.value(0).toInt();
        if (QByteArray(texte).size() < 2)
            numeros.clear();
        QList<qint32> trouves;
        QString erreur;
        const auto resultat = RequetesJournee::rechercher(b, QString::fromUtf8(texte), 50, &erreur);
        ASSERT_TRUE(resultat) << texte << " : " << erreur.toStdString();
        for (const Sejour& s : *resultat)
            trouves << s.numero;
        EXPECT_EQ(trouves, numeros) << texte;
    }
}
