#include "store/base.h"
#include "store/copievers.h"
#include "store/requetes_journee.h"
#include "store/dialecte.h"
#include "testutil.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>
#include <gtest/gtest.h>

namespace {

// Closes and forgets the named connections at the end of a test.
struct Fermeture {
    QStringList noms;
    ~Fermeture()
    {
        for (const QString& nom : noms) {
            QSqlDatabase::database(nom, false).close();
            QSqlDatabase::removeDatabase(nom);
        }
    }
};

// The columns compared, as a desk reads them (rowid where it numbers the rows).
struct TableLue {
    const char* nom;
    const char* colonnes;
    const char* ordre;
};
const TableLue kTables[] = {
    {"ETATS", "Code, Nom, CouleurPrincipale, internet, surinternet, Vendu", "Code"},
    {"OBJETS", "Numero, Nom, NomInternet, FichierPlanningHTML, Categorie", "Numero"},
    {"RESERVATIONS", "NumeroReservation, objet, nomclient, DateDebut, DateFin, arrhes, datelimite, Etat, nbadultes, "
                     "nbenfants, remarque, telephone, email, UidExterne, version", "NumeroReservation"},
    {"OPERATIONS", "rowid, numeroreservation, date, prix, paiement, libelle, tauxtva", "rowid"},
    {"CONSOMMATIONS", "rowid, Famille, Libelle, prixTTC, tauxTVA", "rowid"},
    {"TARIFS", "Numero, Categorie, PremierJour, DernierJour, PrixNuit, PrixAdulte, PrixEnfant, TauxTVA", "Numero"},
    {"FACTURES", "rowid, Numero, Annee, Sequence, reservation, date, total, pdf", "rowid"},
    {"FLUX", "rowid, adresse, objet, derniereLecture, dernierResultat", "rowid"},
};

// A value written the same whatever engine gave it: numbers by their
// value, texts quoted, bytes in hexadecimal, NULL apart.
QString texte(const QVariant& v)
{
    if (v.isNull())
        return QStringLiteral("NULL");
    switch (v.typeId()) {
    case QMetaType::QByteArray:
        return QStringLiteral("x") + QString::fromLatin1(v.toByteArray().toHex());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 17);
    default:
        return QLatin1Char('\'') + v.toString() + QLatin1Char('\'');
    }
}

// Every row of every table, one item each.
QStringList lignes(const QSqlDatabase& base)
{
    QStringList toutes;
    for (const TableLue& t : kTables) {
        QSqlQuery q(base);
        EXPECT_TRUE(q.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                               .arg(QLatin1String(t.colonnes), QLatin1String(t.nom), QLatin1String(t.ordre))))
            << t.nom << q.lastError().text().toStdString();
        while (q.next()) {
            QStringList valeurs;
            for (int i = 0; i < q.record().count(); ++i)
                valeurs << texte(q.value(i));
            toutes << QLatin1String(t.nom) + QStringLiteral(": ") + valeurs.join(QStringLiteral(" | "));
        }
    }
    return toutes;
}

// The same as one text, which the test's output shows readably.
QString contenu(const QSqlDatabase& base)
{
    return lignes(base).join(QLatin1Char('\n'));
}

void executer(const QSqlDatabase& base, const QString& sql)
{
    QSqlQuery q(base);
    EXPECT_TRUE(q.exec(sql)) << sql.toStdString() << " : " << q.lastError().text().toStdString();
}

// A database with a row of everything a desk writes: gaps in the numbers,
// accents, a NULL deadline, a PDF's bytes, VAT rates, a reservation written
// three times, journal rows whose first ones were deleted.
void remplir(const QSqlDatabase& base)
{
    const char* const lignes[] = {
        "UPDATE ETATS SET Nom = 'Confirmé ✓', Vendu = 1 WHERE Code = 1",
        "DELETE FROM ETATS WHERE Code = 3",
        "INSERT INTO ETATS (Code, Nom, CouleurPrincipale, internet, surinternet, Vendu) VALUES (7, 'Portail', 16777215, 1, 0, 0)",
        "INSERT INTO OBJETS (Numero, Nom, NomInternet, FichierPlanningHTML, Categorie) VALUES (3, 'Chalet Bruyère', 'Bruyère', 'bruyere.html', 'Chalet')",
        "INSERT INTO OBJETS (Numero, Nom, NomInternet, FichierPlanningHTML, Categorie) VALUES (10, 'Émplacement « A »', NULL, NULL, '')",
        "INSERT INTO RESERVATIONS (NumeroReservation, objet, nomclient, DateDebut, DateFin, arrhes, datelimite, Etat, nbadultes, nbenfants, remarque, telephone, email, UidExterne, version) "
        "VALUES (5, 3, 'Lefèvre', '2026-12-09 14:00:00', '2026-12-12 12:00:00', 45.5, NULL, 1, 2, 1, 'Lit bébé; «calme»', '06 12 34 56 78', 'a@b.fr', NULL, 3)",
        "INSERT INTO RESERVATIONS (NumeroReservation, objet, nomclient, DateDebut, DateFin, arrhes, datelimite, Etat, nbadultes, nbenfants, remarque, telephone, email, UidExterne, version) "
        "VALUES (42, 10, 'Portail', '2027-01-02 14:00:00', '2027-01-05 12:00:00', 0, '2026-12-20 00:00:00', 7, 0, 0, '', '', '', 'uid-42@portail', 0)",
        "INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle, tauxtva) VALUES (5, '2026-12-09 10:00:00', -1, '', 'à effacer', NULL)",
        "INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle, tauxtva) VALUES (5, '2026-12-09 10:01:00', -120.35, '', 'Séjour', 10)",
        "INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle, tauxtva) VALUES (5, '2026-12-09 10:02:00', 0.1, 'ESP', 'Paiement ESP', 5.5)",
        "INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle, tauxtva) VALUES (4, '2026-12-10 20:00:00', 7, 'CB', 'BAR Gaufre;\r\n2 x 3,5', 20)",
        "DELETE FROM OPERATIONS WHERE libelle = 'à effacer'",
        "INSERT INTO CONSOMMATIONS (Famille, Libelle, prixTTC, tauxTVA) VALUES ('Boissons', 'Café crème', 2.2, 10)",
        "INSERT INTO CONSOMMATIONS (Famille, Libelle, prixTTC, tauxTVA) VALUES ('Épicerie', 'Pain', 1.15, 5.5)",
        "INSERT INTO TARIFS (Numero, Categorie, PremierJour, DernierJour, PrixNuit, PrixAdulte, PrixEnfant, TauxTVA) VALUES (2, 'Chalet', '2026-07-01', '2026-08-31', 95, 0, 0, 10)",
        "INSERT INTO TARIFS (Numero, Categorie, PremierJour, DernierJour, PrixNuit, PrixAdulte, PrixEnfant, TauxTVA) VALUES (9, '', NULL, NULL, 12.5, 6.3, 3.15, 5.5)",
        "INSERT INTO FLUX (adresse, objet, derniereLecture, dernierResultat) VALUES ('https://portail.example/ical/3.ics', 3, NULL, NULL)",
    };
    for (const char* sql : lignes)
        executer(base, QString::fromUtf8(sql));
    QSqlQuery q(base);
    ASSERT_TRUE(q.prepare(QStringLiteral("INSERT INTO FACTURES (Numero, Annee, Sequence, reservation, date, total, pdf) "
                                         "VALUES (?, ?, ?, ?, ?, ?, ?)")));
    const QByteArray pdf = QByteArray("%PDF-1.4\n", 9) + QByteArray("\0\xff\x80\n\r", 5) + QByteArray(3000, 'z');
    const QVariantList valeurs = {QStringLiteral("2026-0001"), 2026, 1, 5, QStringLiteral("2026-12-12 11:00:00"),
                                  120.35, pdf};
    for (const QVariant& v : valeurs)
        q.addBindValue(v);
    ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
}

QVariant valeur(const QSqlDatabase& base, const QString& sql)
{
    QSqlQuery q(base);
    if (!q.exec(sql) || !q.next())
        return QVariant(QStringLiteral("échec : ") + q.lastError().text());
    return q.value(0);
}

} // namespace

// SQLite -> PostgreSQL -> SQLite keeps every row of every table, and each
// target numbers its next rows after the highest copied ones.
TEST(CopieVers, RoundTripThroughTheServerKeepsEveryRow)
{
    if (const QString absent = TestUtil::ServeurPostgresAbsent(); !absent.isEmpty())
        GTEST_SKIP() << "pas de serveur PostgreSQL : " << absent.toStdString();
    QTemporaryDir dossier;
    const auto source = Base::ouvrir(dossier.filePath(QStringLiteral("source.db")), Base::Ouverture::CreerSiAbsente,
                                     QStringLiteral("copie_source"));
    ASSERT_TRUE(source);
    remplir(*source);
    const QString attendu = contenu(*source);
    ASSERT_EQ(lignes(*source).size(), 3 + 2 + 2 + 3 + 2 + 2 + 1 + 1);

    TestUtil::BasePostgresVide serveur;
    // Closed before the server's database is dropped: a connection left
    // behind would keep listening on a socket a later test gets again.
    const Fermeture fermeture{{QStringLiteral("copie_serveur"), QStringLiteral("copie_retour"),
                               QStringLiteral("copie_ecoute")}};
    QString erreur;
    const auto intermediaire = Base::ouvrir(serveur.adresse(), Base::Ouverture::CreerSiAbsente,
                                            QStringLiteral("copie_serveur"), &erreur);
    ASSERT_TRUE(intermediaire) << erreur.toStdString();
    const auto retour = Base::ouvrir(dossier.filePath(QStringLiteral("retour.db")), Base::Ouverture::CreerSiAbsente,
                                     QStringLiteral("copie_retour"));
    ASSERT_TRUE(retour);
    // Another desk listens to the server's announcements.
    const auto ecoute = Base::ouvrir(serveur.adresse(), Base::Ouverture::Existante, QStringLiteral("copie_ecoute"));
    ASSERT_TRUE(ecoute);
    QStringList annonces;
    QObject::connect(ecoute->driver(), &QSqlDriver::notification,
                     [&annonces](const QString&, QSqlDriver::NotificationSource, const QVariant& texte) {
                         annonces << texte.toString();
                     });
    ASSERT_TRUE(ecoute->driver()->subscribeToNotification(QStringLiteral("planning")));

    struct Etape {
        const char* nom;
        QSqlDatabase de;
        QSqlDatabase vers;
    };
    const Etape etapes[] = {{"SQLite -> PostgreSQL", *source, *intermediaire},
                            {"PostgreSQL -> SQLite", *intermediaire, *retour}};
    for (const Etape& e : etapes) {
        const CopieVers::Bilan bilan = CopieVers::Copier(e.de, e.vers);
        ASSERT_EQ(bilan.issue, CopieVers::Bilan::Copiee) << e.nom << ": " << bilan.erreur.toStdString();
        EXPECT_EQ(contenu(e.vers), attendu) << e.nom;
        QStringList comptes;
        for (const CopieVers::Compte& c : bilan.comptes)
            comptes << QStringLiteral("%1=%2").arg(c.table).arg(c.lignes);
        EXPECT_EQ(comptes.join(QLatin1Char(' ')),
                  QStringLiteral("ETATS=3 OBJETS=2 RESERVATIONS=2 OPERATIONS=3 CONSOMMATIONS=2 TARIFS=2 FACTURES=1 FLUX=1"))
            << e.nom;
    }

    // The copy announced nothing: the first announcement the other desk
    // hears is the one made after it.
    executer(*intermediaire, QStringLiteral("SELECT pg_notify('planning', 'APRES:0')"));
    EXPECT_TRUE(QTest::qWaitFor([&annonces] { return !annonces.isEmpty(); }, 10000));
    EXPECT_EQ(annonces.join(QLatin1Char(' ')), QStringLiteral("APRES:0"));

    // The next numbers follow the copied ones on both targets.
    for (const QSqlDatabase& base : {*intermediaire, *retour}) {
        QSqlQuery q(base);
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) "
                                          "VALUES (3, 'Suivant', '2027-02-01', '2027-02-02', 1)")
                           + Dialecte::retourNumero(base, QStringLiteral("NumeroReservation"))))
            << q.lastError().text().toStdString();
        EXPECT_EQ(Dialecte::numeroInsere(q).value_or(0), 43) << base.driverName().toStdString();
        executer(base, QStringLiteral("INSERT INTO TARIFS (Categorie) VALUES ('Suivant')"));
        EXPECT_EQ(valeur(base, QStringLiteral("SELECT Numero FROM TARIFS WHERE Categorie = 'Suivant'")).toInt(), 10);
        executer(base, QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, libelle) VALUES (43, '2027-02-01 10:00:00', 'Suivante')"));
        EXPECT_GT(valeur(base, QStringLiteral("SELECT rowid FROM OPERATIONS WHERE libelle = 'Suivante'")).toLongLong(),
                  valeur(base, QStringLiteral("SELECT max(rowid) FROM OPERATIONS WHERE libelle <> 'Suivante'")).toLongLong());
        // The copy counted as no update: the version of the reservation
        // written three times is 3, and the next update makes it 4.
        executer(base, QStringLiteral("UPDATE RESERVATIONS SET nbadultes = 3 WHERE NumeroReservation = 5"));
        EXPECT_EQ(valeur(base, QStringLiteral("SELECT version FROM RESERVATIONS WHERE NumeroReservation = 5")).toInt(), 4);
    }
    // The copied reservations are found by the search index of the file.
    EXPECT_EQ(valeur(*retour, QStringLiteral("SELECT rowid FROM RECHERCHE_RESERVATIONS WHERE RECHERCHE_RESERVATIONS "
                                             "MATCH 'lefevre'")).toInt(), 5);
    // And so are their telephones, by any part of the number, on both
    // targets (the server's database is a new one: the program made pg_trgm there).
    for (const QSqlDatabase& base : {*intermediaire, *retour}) {
        QString erreur;
        const auto trouves = RequetesJournee::rechercher(base, QStringLiteral("34 56"), 50, &erreur);
        ASSERT_TRUE(trouves) << erreur.toStdString();
        ASSERT_EQ(trouves->size(), 1) << base.driverName().toStdString();
        EXPECT_EQ(trouves->at(0).numero, 5);
    }
    EXPECT_EQ(valeur(*intermediaire, QStringLiteral("SELECT count(*) FROM pg_indexes "
                                                    "WHERE indexname = 'idx_reservations_telephone_trgm'")).toInt(), 1);
}

// A target that already holds any of a desk's rows is refused, and a copy
// that fails half-way leaves the target as it was.
TEST(CopieVers, RefusesANonEmptyTargetAndWritesNothingOnFailure)
{
    QTemporaryDir dossier;
    const auto source = Base::ouvrir(dossier.filePath(QStringLiteral("source.db")), Base::Ouverture::CreerSiAbsente,
                                     QStringLiteral("copie_source"));
    ASSERT_TRUE(source);
    remplir(*source);

    struct Cas {
        const char* nom;
        const char* ligne;              // what the target holds already (nullptr: nothing)
        const char* refus;              // a table that refuses its rows (nullptr: none)
        CopieVers::Bilan::Issue issue;
        const char* erreur;
    };
    const Cas cas[] = {
        {"a unit", "INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chambre')", nullptr, CopieVers::Bilan::CibleNonVide,
         "la base cible n'est pas vide (1 lignes"},
        {"a reservation", "INSERT INTO RESERVATIONS (nomclient) VALUES ('Déjà là')", nullptr,
         CopieVers::Bilan::CibleNonVide, "rien n'est copié"},
        {"a journal row", "INSERT INTO OPERATIONS (numeroreservation, libelle) VALUES (1, 'x')", nullptr,
         CopieVers::Bilan::CibleNonVide, "n'est pas vide"},
        {"an article", "INSERT INTO CONSOMMATIONS (Famille, Libelle) VALUES ('B', 'Thé')", nullptr,
         CopieVers::Bilan::CibleNonVide, "n'est pas vide"},
        {"a rate", "INSERT INTO TARIFS (Categorie) VALUES ('Chalet')", nullptr, CopieVers::Bilan::CibleNonVide,
         "n'est pas vide"},
        {"an invoice", "INSERT INTO FACTURES (Numero, Annee, Sequence) VALUES ('2026-0009', 2026, 9)", nullptr,
         CopieVers::Bilan::CibleNonVide, "n'est pas vide"},
        {"a feed", "INSERT INTO FLUX (adresse, objet) VALUES ('https://x/1.ics', 1)", nullptr,
         CopieVers::Bilan::CibleNonVide, "n'est pas vide"},
        {"invoices refused", nullptr, "FACTURES", CopieVers::Bilan::EchecEcriture, "disque plein"},
    };
    for (const Cas& c : cas) {
        TestUtil::BaseTemporaire cible(QStringLiteral("copie_cible"));
        if (c.ligne)
            cible.executerHorsRegles(QString::fromUtf8(c.ligne));
        if (c.refus)
            cible.refuser(QStringLiteral("INSERT"), QLatin1String(c.refus), QStringLiteral("disque plein"));
        const QString avant = contenu(cible.base());
        const CopieVers::Bilan bilan = CopieVers::Copier(*source, cible.base());
        EXPECT_EQ(bilan.issue, c.issue) << c.nom << ": " << bilan.erreur.toStdString();
        EXPECT_TRUE(bilan.erreur.contains(QString::fromUtf8(c.erreur))) << c.nom << ": " << bilan.erreur.toStdString();
        EXPECT_TRUE(bilan.comptes.isEmpty()) << c.nom;
        EXPECT_EQ(contenu(cible.base()), avant) << c.nom;
        // The target is usable afterwards (no transaction left open).
        cible.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (99, 'Après')"));
    }
}

// A row of an older program that the target's rules refuse stops the copy:
// the row and the rule are named in French, and the target stays empty.
TEST(CopieVers, ARowOutsideTheRulesIsNamedAndNothingIsCopied)
{
    TestUtil::BaseTemporaire source(QStringLiteral("copie_ancienne"));
    source.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chalet')"));
    source.executerHorsRegles(QStringLiteral("INSERT INTO RESERVATIONS (NumeroReservation, objet, nomclient, DateDebut, "
                                             "DateFin, Etat) VALUES (12, 1, 'Ancien', '3 mars', '2026-03-09', 1)"));
    QTemporaryDir dossier;
    const auto cible = Base::ouvrir(dossier.filePath(QStringLiteral("cible.db")), Base::Ouverture::CreerSiAbsente,
                                    QStringLiteral("copie_cible_regles"));
    ASSERT_TRUE(cible);
    const QString avant = contenu(*cible);
    const CopieVers::Bilan bilan = CopieVers::Copier(source.base(), *cible);
    EXPECT_EQ(bilan.issue, CopieVers::Bilan::EchecEcriture);
    EXPECT_TRUE(bilan.erreur.contains(QStringLiteral("NumeroReservation = 12")) && bilan.erreur.contains(
                    QStringLiteral("Refusé par la base : l'arrivée, le départ ou la date limite n'est pas une date")))
        << bilan.erreur.toStdString();
    EXPECT_EQ(contenu(*cible), avant);
}
