#include "base.h"

#include "basepostgres.h"
#include "contraintes.h"
#include "cumuls.h"
#include "dates.h"
#include "dialecte.h"
#include "indextelephones.h"
#include "journalisation.h"
#include "module1.h"
#include "numeros.h"
#include "requetes_journee.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <iterator>

namespace Base {

namespace {

const char* const kTables[] = {"ETATS", "OBJETS", "RESERVATIONS", "OPERATIONS", "CONSOMMATIONS"};

bool aNosTables(const QSqlDatabase& base)
{
    const QStringList tables = base.tables(QSql::Tables);
    for (const char* t : kTables) {
        bool trouve = false;
        for (const QString& existante : tables)
            trouve = trouve || existante.compare(QLatin1String(t), Qt::CaseInsensitive) == 0;
        if (!trouve)
            return false;
    }
    return true;
}

int versionSchema(const QSqlDatabase& base)
{
    QSqlQuery q(base);
    if (q.exec(QStringLiteral("PRAGMA user_version")) && q.next())
        return q.value(0).toInt();
    return -1;
}

const char* const kIndexFins = "CREATE INDEX IF NOT EXISTS idx_reservations_objet_fin "
                               "ON RESERVATIONS(objet, DateFin, DateDebut)";

// Version 3: the rates by unit category, VAT rates of articles and journal
// rows, and the issued invoices (numbered per year without gaps; their
// documents kept as issued).
const char* const kTableTarifs = "CREATE TABLE IF NOT EXISTS TARIFS (Numero INTEGER PRIMARY KEY AUTOINCREMENT, "
    "Categorie TEXT, PremierJour TEXT, DernierJour TEXT, PrixNuit REAL DEFAULT 0, "
    "PrixAdulte REAL DEFAULT 0, PrixEnfant REAL DEFAULT 0, TauxTVA REAL DEFAULT 10)";
// Version 9 gives it a series ("F" invoices, "A" credit notes, each numbered
// on its own) and, on a credit note, the invoice it corrects.
// The columns, as one literal: the table is made with them, and made again
// with them by the upgrade to version 9.
#define COLONNES_FACTURES "(Numero TEXT PRIMARY KEY, " \
    "Annee INTEGER NOT NULL, Sequence INTEGER NOT NULL, reservation INTEGER, date TEXT, total REAL, pdf BLOB, " \
    "Serie TEXT NOT NULL DEFAULT 'F', Origine TEXT, UNIQUE (Serie, Annee, Sequence))"
const char* const kTableFactures = "CREATE TABLE IF NOT EXISTS FACTURES " COLONNES_FACTURES;

// Version 5: the states counted as sold, and the journal by date.
const char* const kColonneVendu = "ALTER TABLE ETATS ADD COLUMN Vendu INTEGER DEFAULT 1";
const char* const kIndexOperationsDate = "CREATE INDEX IF NOT EXISTS idx_operations_date ON OPERATIONS(date)";
// The months of the journal, in order: the monthly sums walk it without sorting.
const char* const kIndexOperationsMois = "CREATE INDEX IF NOT EXISTS idx_operations_mois ON OPERATIONS(substr(date, 1, 7))";

// Version 6: the portals' calendar feeds of each unit (FLUX: one row per
// address, with the outcome of its last reading), and on each reservation
// imported from one of them the feed's address and the event's UID.
const char* const kEtapeFlux[] = {
    "CREATE TABLE IF NOT EXISTS FLUX (adresse TEXT PRIMARY KEY, objet INTEGER NOT NULL, "
    "derniereLecture TEXT, dernierResultat TEXT)",
    "CREATE INDEX IF NOT EXISTS idx_flux_objet ON FLUX(objet)",
    "ALTER TABLE RESERVATIONS ADD COLUMN UidExterne TEXT",
    "CREATE INDEX IF NOT EXISTS idx_reservations_uidexterne ON RESERVATIONS(UidExterne)",
};

// Version 7: each reservation carries the number of times it was written.
// A desk that saves or deletes a reservation says which version it showed;
// when another desk wrote it meanwhile, nothing is written. Every update,
// whoever makes it (the window, a check-in, a portal's feed), counts.
const char* const kEtapeVersion[] = {
    "ALTER TABLE RESERVATIONS ADD COLUMN version INTEGER DEFAULT 0",
    "CREATE TRIGGER IF NOT EXISTS reservations_version AFTER UPDATE ON RESERVATIONS "
    "WHEN NEW.version IS OLD.version BEGIN "
    "UPDATE RESERVATIONS SET version = COALESCE(OLD.version, 0) + 1 WHERE NumeroReservation = NEW.NumeroReservation; "
    "END",
};

// Version 9: a cancelled stay keeps its row and its account, with the
// moment of its cancellation (NULL while it stands); the invoices' table
// gets its series, made again with the series in its unique numbers.
// The figures read a unit's cancellations of a period by this index.
const char* const kIndexAnnulations = "CREATE INDEX IF NOT EXISTS idx_reservations_annulation "
                                      "ON RESERVATIONS(objet, Annulation)";
const char* const kEtapeAnnulation[] = {
    "ALTER TABLE RESERVATIONS ADD COLUMN Annulation TEXT",
    kIndexAnnulations,
    "CREATE TABLE FACTURES_series " COLONNES_FACTURES,
    "INSERT INTO FACTURES_series (rowid, Numero, Annee, Sequence, reservation, date, total, pdf) "
    "SELECT rowid, Numero, Annee, Sequence, reservation, date, total, pdf FROM FACTURES",
    "DROP TABLE FACTURES",
    "ALTER TABLE FACTURES_series RENAME TO FACTURES",
};
#undef COLONNES_FACTURES

// The stays with the name of their unit.
const char* const kVue = "CREATE VIEW IF NOT EXISTS RESERVATION_NOMINATIVE AS "
                         "SELECT RESERVATIONS.*, OBJETS.Nom AS NomObjet FROM RESERVATIONS "
                         "LEFT JOIN OBJETS ON RESERVATIONS.objet = OBJETS.Numero";

bool executerEtapes(const QSqlDatabase& base, const char* const* debut, const char* const* fin, QString* erreur)
{
    for (const char* const* sql = debut; sql != fin; ++sql)
        if (!executer(base, QLatin1String(*sql), erreur))
            return false;
    return true;
}

bool executerEtapes(const QSqlDatabase& base, const QStringList& etapes, QString* erreur)
{
    for (const QString& sql : etapes)
        if (!executer(base, sql, erreur))
            return false;
    return true;
}

// Brings an older file to the current schema, one version after the other.
bool mettreAJour(const QSqlDatabase& base, int version, QString* erreur)
{
    QSqlDatabase db = base;
    // The write lock at once: another desk that commits meanwhile is waited
    // for, instead of failing the upgrade halfway through its reads.
    if (!executer(db, QStringLiteral("BEGIN IMMEDIATE"), erreur))
        return false;
    // 0 -> 1: a file made by hand with our tables: nothing to add.
    // 1 -> 2: the end of stays is indexed for the calendar's shown period.
    if (version < 2 && !executer(db, QLatin1String(kIndexFins), erreur)) {
        db.rollback();
        return false;
    }
    // 2 -> 3: categories, rates, VAT and invoices; existing units have no
    // category, existing articles the usual 10 %.
    if (version < 3) {
        const char* const etapes[] = {
            "ALTER TABLE OBJETS ADD COLUMN Categorie TEXT DEFAULT ''",
            "ALTER TABLE CONSOMMATIONS ADD COLUMN tauxTVA REAL DEFAULT 10",
            "ALTER TABLE OPERATIONS ADD COLUMN tauxtva REAL",
            kTableTarifs,
            kTableFactures,
        };
        for (const char* sql : etapes)
            if (!executer(db, QLatin1String(sql), erreur)) {
                db.rollback();
                return false;
            }
    }
    // 3 -> 4: the full-text index of the reservations, filled with those
    // already there, and the indexes of the day's lists.
    if (version < 4) {
        QStringList etapes = RequetesJournee::InstructionsIndexRecherche();
        etapes << RequetesJournee::InstructionRemplirIndexRecherche();
        for (const QString& sql : etapes)
            if (!executer(db, sql, erreur)) {
                db.rollback();
                return false;
            }
    }
    // 4 -> 5: which states count as sold in the figures (every existing
    // state does), and the journal indexed by date for the figures of a period.
    if (version < 5) {
        for (const char* sql : {kColonneVendu, kIndexOperationsDate, kIndexOperationsMois})
            if (!executer(db, QLatin1String(sql), erreur)) {
                db.rollback();
                return false;
            }
    }
    // 5 -> 6: the portals' feeds.
    if (version < 6 && !executerEtapes(db, std::begin(kEtapeFlux), std::end(kEtapeFlux), erreur)) {
        db.rollback();
        return false;
    }
    // 6 -> 7: the version of each reservation.
    if (version < 7 && !executerEtapes(db, std::begin(kEtapeVersion), std::end(kEtapeVersion), erreur)) {
        db.rollback();
        return false;
    }
    // 7 -> 8: the rules the tables themselves keep; the rows that break
    // them are kept, and listed once. A file made by hand may lack the view.
    if (version < 8) {
        // Every number used before the rebuild (the counter, a deleted
        // stay's journal rows or invoice) is never given to a new stay.
        const auto utilises = Numeros::plusGrandUtilise(db, erreur);
        if (!utilises || !Contraintes::appliquerSQLite(db, erreur) || !executer(db, QLatin1String(kVue), erreur)
            || !Numeros::suivantApres(db, *utilises, erreur)) {
            db.rollback();
            return false;
        }
        Contraintes::signalerHorsRegles(db);
    }
    // 8 -> 9: cancellations and credit notes.
    // A file made by hand may lack the invoices' table.
    if (version < 9 && (!executer(db, QLatin1String(kTableFactures), erreur)
                        || !executerEtapes(db, std::begin(kEtapeAnnulation), std::end(kEtapeAnnulation), erreur))) {
        db.rollback();
        return false;
    }
    // 9 -> 10: the figures' monthly sums, filled at their first reading.
    if (version < 10 && !executerEtapes(db, Cumuls::InstructionsSchema(Dialecte::Moteur::SQLite) + Cumuls::ToutARefaire(),
                                        erreur)) {
        db.rollback();
        return false;
    }
    // 10 -> 11: the telephones indexed by groups of three digits (where
    // this SQLite has the trigram tokenizer; else the search reads them all).
    if (version < 11 && !IndexTelephones::InstallerSinonSignaler(db, erreur)) {
        db.rollback();
        return false;
    }
    if (!executer(db, QStringLiteral("PRAGMA user_version = %1").arg(kVersionSchema), erreur)) {
        db.rollback();
        return false;
    }
    return db.commit();
}

void fermer(const QString& connexion)
{
    {
        QSqlDatabase db = QSqlDatabase::database(connexion, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connexion);
}

// Settings of every connection, then the schema: created for a new file,
// checked and upgraded otherwise. Empty when all went well.
QString preparer(const QSqlDatabase& db, bool neuve, bool creationPermise)
{
    // A file that is not SQLite fails on its first read: the journal mode's.
    const QString journal = Journalisation::regler(db);
    if (!journal.isEmpty())
        return journal;
    QSqlQuery q(db);
    // Every commit reaches the disk before it returns, in the log as in
    // the rollback journal: a stay saved survives a power cut.
    q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    // The calendar rereads the shown period at every step of a held day
    // button: keep the pages it reads in memory (about 20 MB at the most).
    q.exec(QStringLiteral("PRAGMA cache_size=-20000"));
    q.exec(QStringLiteral("PRAGMA foreign_keys=OFF"));

    // A creation cut short (the program killed during its first start)
    // can leave a file without any table: it is made again.
    if (!neuve && creationPermise && q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) && q.next())
        neuve = q.value(0).toInt() == 0;
    // A read left open would keep the upgrade from rebuilding a table.
    q.finish();
    if (neuve) {
        QString raison;
        if (!creerSchema(db, &raison))
            return raison;
    }
    if (!aNosTables(db))
        return QStringLiteral("les tables du planning sont absentes");
    const int version = versionSchema(db);
    if (version > kVersionSchema)
        return QStringLiteral("base d'une version plus récente du programme");
    if (version < kVersionSchema) {
        QString raison;
        if (!mettreAJour(db, version, &raison))
            return raison;
    }
    // A stay on a unit or in a state that does not exist is refused (the
    // schema is ready: nothing is rebuilt any more on this connection).
    q.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
    return QString();
}

} // namespace

bool executer(const QSqlDatabase& base, const QString& sql, QString* erreur)
{
    QSqlQuery q(base);
    if (q.exec(sql))
        return true;
    if (erreur)
        *erreur = q.lastError().text();
    return false;
}

std::optional<QSqlDatabase> ouvrir(const QString& chemin, Ouverture mode,
                                   const QString& connexion, QString* erreur)
{
    // A server's address: its database is created on the server beforehand
    // (createdb); the program makes its tables there when it is empty.
    if (Dialecte::estAdresse(chemin))
        return BasePostgres::ouvrir(chemin, connexion, erreur);
    const QFileInfo info(chemin);
    const bool existe = info.exists();
    const bool creationPermise = mode == Ouverture::CreerSiAbsente;
    auto echec = [&](const QString& raison) -> std::optional<QSqlDatabase> {
        if (erreur)
            *erreur = raison;
        if (QSqlDatabase::contains(connexion))
            fermer(connexion);
        return std::nullopt;
    };
    if (existe && !info.isFile())
        return echec(QStringLiteral("ce n'est pas un fichier"));
    if (!existe && !creationPermise)
        return echec(QStringLiteral("le fichier n'existe pas"));
    // Where creation is allowed, an empty file is a missing one.
    if (existe && info.size() == 0 && !creationPermise)
        return echec(QStringLiteral("le fichier est vide"));

    if (QSqlDatabase::contains(connexion))
        fermer(connexion);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connexion);
    db.setDatabaseName(chemin);
    // A write that finds the file held by another desk waits this long, then
    // fails with "La base est occupée…" (see Requetes::TexteErreur).
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(Dialecte::kAttenteMs));
    if (!db.open())
        return echec(db.lastError().text());
    const QString raison = preparer(db, !existe || info.size() == 0, creationPermise);
    if (!raison.isEmpty())
        return echec(raison);
    return db;
}

bool rouvrir(const QSqlDatabase& base, QString* erreur)
{
    QSqlDatabase db = base;
    db.close();
    QString raison;
    if (!db.open())
        raison = db.lastError().text();
    else if (Dialecte::estPostgres(db))
        raison = BasePostgres::regler(db);
    else
        raison = preparer(db, false, false);
    if (raison.isEmpty())
        return true;
    if (erreur)
        *erreur = raison;
    return false;
}

bool lectureSeule(const QSqlDatabase& base, bool oui)
{
    QSqlQuery q(base);
    if (Dialecte::estPostgres(base))
        return q.exec(oui ? QStringLiteral("SET default_transaction_read_only = on")
                          : QStringLiteral("SET default_transaction_read_only = off"));
    return q.exec(oui ? QStringLiteral("PRAGMA query_only = ON") : QStringLiteral("PRAGMA query_only = OFF"));
}

bool creerSchema(const QSqlDatabase& base, QString* erreur)
{
    const QString etat = QStringLiteral("INSERT INTO ETATS (Code, Nom, CouleurPrincipale, internet, surinternet) VALUES ");
    QStringList instructions = {
        QStringLiteral("CREATE TABLE IF NOT EXISTS ETATS (Code INTEGER PRIMARY KEY, Nom TEXT, "
                       "CouleurPrincipale INTEGER, internet INTEGER DEFAULT 0, surinternet INTEGER DEFAULT 0, "
                       "Vendu INTEGER DEFAULT 1)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS OBJETS (Numero INTEGER PRIMARY KEY, Nom TEXT, "
                       "NomInternet TEXT, FichierPlanningHTML TEXT, Categorie TEXT DEFAULT '')"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS RESERVATIONS ("
                       "NumeroReservation INTEGER PRIMARY KEY AUTOINCREMENT, objet INTEGER, nomclient TEXT, "
                       "DateDebut TEXT, DateFin TEXT, arrhes REAL, datelimite TEXT, Etat INTEGER, "
                       "nbadultes INTEGER, nbenfants INTEGER, remarque TEXT, telephone TEXT, email TEXT, Annulation TEXT)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS OPERATIONS (numeroreservation INTEGER, date TEXT, "
                       "prix REAL, paiement TEXT, libelle TEXT, tauxtva REAL)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS CONSOMMATIONS (Famille TEXT, Libelle TEXT, prixTTC REAL, "
                       "tauxTVA REAL DEFAULT 10)"),
        QLatin1String(kTableTarifs),
        QLatin1String(kTableFactures),
        QLatin1String(kVue),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_reservations_objet_debut ON RESERVATIONS(objet, DateDebut)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS idx_operations_reservation_date ON OPERATIONS(numeroreservation, date)"),
        QLatin1String(kIndexFins),
        QLatin1String(kIndexOperationsDate),
        QLatin1String(kIndexOperationsMois),
        QLatin1String(kIndexAnnulations),
        // Colours are 0x00BBGGRR.
        etat + QStringLiteral("(1, 'Confirmé', %1, 1, 1) ON CONFLICT DO NOTHING").arg(0x3C14DC),  // red-ish
        etat + QStringLiteral("(2, 'Option', %1, 0, 0) ON CONFLICT DO NOTHING").arg(0x00A5FF),     // orange
        etat + QStringLiteral("(3, 'Fermé', %1, 1, 1) ON CONFLICT DO NOTHING").arg(0x808080),      // grey
    };
    instructions << RequetesJournee::InstructionsIndexRecherche();
    instructions << QStringLiteral("PRAGMA user_version = %1").arg(kVersionSchema);
    QSqlDatabase db = base;
    if (!executer(db, QStringLiteral("BEGIN IMMEDIATE"), erreur))
        return false;
    if (!executerEtapes(db, instructions, erreur)) {
        db.rollback();
        return false;
    }
    if (!executerEtapes(db, std::begin(kEtapeFlux), std::end(kEtapeFlux), erreur)) {
        db.rollback();
        return false;
    }
    if (!executerEtapes(db, std::begin(kEtapeVersion), std::end(kEtapeVersion), erreur)
        || !Contraintes::appliquerSQLite(db, erreur) || !IndexTelephones::InstallerSinonSignaler(db, erreur)) {
        db.rollback();
        return false;
    }
    // After the tables were rebuilt with their rules: a trigger on the
    // units names the reservations' table, which the rebuild renames.
    if (!executerEtapes(db, Cumuls::InstructionsSchema(Dialecte::Moteur::SQLite), erreur)) {
        db.rollback();
        return false;
    }
    return db.commit();
}

bool estVide(const QSqlDatabase& base)
{
    QSqlQuery q(base);
    if (!q.exec(QStringLiteral("SELECT (SELECT count(*) FROM OBJETS) + (SELECT count(*) FROM RESERVATIONS)"
                               " + (SELECT count(*) FROM CONSOMMATIONS)")) || !q.next())
        return false;
    return q.value(0).toInt() == 0;
}

bool remplirDemo(const QSqlDatabase& base, const QDate& aujourdhui, QString* erreur)
{
    QSqlDatabase db = base;
    db.transaction();
    QSqlQuery q(db);
    auto echec = [&]() {
        if (erreur)
            *erreur = q.lastError().text();
        db.rollback();
        return false;
    };
    struct Unite { int numero; const char* nom; };
    const Unite unites[] = {{1, "Chambre 1"}, {2, "Chambre 2"}, {3, "Chambre 3"}, {10, "Chalet Les Pins"},
                            {11, "Chalet Bruyère"}, {20, "Emplacement A"}, {21, "Emplacement B"}};
    q.prepare(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (:n, :nom)"));
    for (const Unite& u : unites) {
        q.bindValue(QStringLiteral(":n"), u.numero);
        q.bindValue(QStringLiteral(":nom"), QString::fromUtf8(u.nom));
        if (!q.exec())
            return echec();
    }
    struct Article { const char* famille; const char* libelle; double prix; };
    const Article articles[] = {{"Boissons", "Café", 1.5}, {"Boissons", "Bière pression", 3.5},
        {"Boissons", "Jus d'orange", 2.5}, {"Boissons", "Eau minérale", 1.8},
        {"Petit déjeuner", "Petit déjeuner complet", 9.5}, {"Petit déjeuner", "Croissant", 1.2},
        {"Divers", "Location vélo", 12}, {"Divers", "Taxe de séjour", 0.8}};
    q.prepare(QStringLiteral("INSERT INTO CONSOMMATIONS (Famille, Libelle, prixTTC) VALUES (:f, :l, :p)"));
    for (const Article& a : articles) {
        q.bindValue(QStringLiteral(":f"), QString::fromUtf8(a.famille));
        q.bindValue(QStringLiteral(":l"), QString::fromUtf8(a.libelle));
        q.bindValue(QStringLiteral(":p"), a.prix);
        if (!q.exec())
            return echec();
    }
    struct Sejour { int objet; const char* client; int debut; int nuits; int etat; int adultes; int enfants; };
    const Sejour sejours[] = {{1, "Dupont", -3, 5, 1, 2, 1}, {1, "Martin", 3, 4, 2, 2, 0},
        {2, "Bernard", -1, 3, 1, 1, 0}, {2, "Petit", 6, 7, 1, 2, 2}, {3, "Durand", 0, 2, 2, 2, 0},
        {10, "Leroy", -6, 14, 1, 4, 2}, {11, "Moreau", 2, 7, 1, 2, 3}, {11, "Travaux", 12, 5, 3, 0, 0},
        {20, "Fournier", -2, 10, 1, 2, 2}, {21, "Girard", 4, 3, 2, 3, 0}, {21, "Lambert", 9, 6, 1, 2, 1}};
    q.prepare(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, arrhes, datelimite, "
                             "Etat, nbadultes, nbenfants, remarque, telephone, email) VALUES "
                             "(:o, :c, :d, :f, :a, :l, :e, :ad, :en, ' ', ' ', ' ')")
              + Dialecte::retourNumero(db, QStringLiteral("NumeroReservation")));
    for (const Sejour& s : sejours) {
        const QDate debut = aujourdhui.addDays(s.debut);
        q.bindValue(QStringLiteral(":o"), s.objet);
        q.bindValue(QStringLiteral(":c"), QString::fromUtf8(s.client));
        q.bindValue(QStringLiteral(":d"), Dates::versTexteBase(Dates::naive(debut, QTime(14, 0))));
        q.bindValue(QStringLiteral(":f"), Dates::versTexteBase(Dates::naive(debut.addDays(s.nuits), QTime(12, 0))));
        q.bindValue(QStringLiteral(":a"), s.nuits * 20.0);
        q.bindValue(QStringLiteral(":l"), Dates::versTexteBase(debut.addDays(-30)));
        q.bindValue(QStringLiteral(":e"), s.etat);
        q.bindValue(QStringLiteral(":ad"), s.adultes);
        q.bindValue(QStringLiteral(":en"), s.enfants);
        if (!q.exec())
            return echec();
        const double numero = double(Dialecte::numeroInsere(q).value_or(0));
        if (!Module1::EnregistrerOperation(db, numero, 0, QString(),
                                           QStringLiteral("Création de la reservation"), erreur)) {
            db.rollback();
            return false;
        }
    }
    // The works state closes a unit: its days are not sold.
    if (!q.exec(QStringLiteral("UPDATE ETATS SET Vendu = 0 WHERE Code = 3")))
        return echec();
    return db.commit();
}

} // namespace Base
