#pragma once
// Small helpers shared by the test folders.
#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>

#include <QList>
#include <QPair>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class Contexte;
class Form1;

namespace TestUtil {

// Runs the action, closing every message box it shows by its OK button
// (failing the test when the box has other buttons); gives their texts.
QStringList messagesPendant(const std::function<void()>& action);

QByteArray lireFichier(const QString& chemin);
void ecrireFichier(const QString& chemin, const QByteArray& contenu);

// The engine the tests' databases are made on: PostgreSQL when the
// environment says PLANNING_TEST_MOTEUR=postgresql (the server found
// through libpq's PGHOST, PGPORT, PGUSER, PGPASSWORD), SQLite otherwise.
bool SurPostgres();
// When the tests run on PostgreSQL: "" when its server answers, else why
// not (the tests are then skipped with that line).
QString ServeurPostgresAbsent();

// A test about the SQLite file itself (its pragmas, its locks, its copies)
// has no meaning on a server: skipped there, saying so.
#define SQLITE_SEULEMENT()                                                                          \
    if (TestUtil::SurPostgres())                                                                    \
    GTEST_SKIP() << "propre au fichier SQLite"

// An empty database of its own on the server, whatever engine the other
// tests use (for the tests that need both engines at once; skip them when
// ServeurPostgresAbsent() says why). A database rather than a schema: the
// announces and pg_dump see a whole database, which the other tests running
// beside must not share. adresse() is what `[system] database=` would hold;
// nothing is opened on it. Dropped at the end.
class BasePostgresVide
{
public:
    BasePostgresVide();
    ~BasePostgresVide();
    QString adresse() const { return QStringLiteral("postgresql:///") + m_nom; }
    QString nom() const { return m_nom; }

private:
    QString m_nom;
};

// A fresh database with the program's schema, opened under the given
// connection name, the default states present: a file in a temporary
// folder, or on PostgreSQL a schema of its own in the tests' database
// (chemin() is then its address, which other connections open too).
class BaseTemporaire
{
public:
    explicit BaseTemporaire(const QString& connexion = QStringLiteral("test"));
    // On PostgreSQL, a database of its own rather than a schema: the
    // server's announces go to every connection of one database, and a test
    // that counts them must not hear the other tests running beside it.
    enum class Isolement { Schema, BaseAPart };
    BaseTemporaire(const QString& connexion, Isolement isolement);
    ~BaseTemporaire();
    QSqlDatabase base() const;
    // The file, or the server's address: what `[system] database=` would hold.
    QString chemin() const { return m_chemin; }
    QString dossier() const { return m_dossier.path(); }
    // Runs one statement, failing the test when it does not succeed.
    void executer(const QString& sql) const;
    // Runs one statement as an older program did, before the tables kept
    // their rules: a stay with unreadable dates, on a unit that is gone…
    void executerHorsRegles(const QString& sql) const;
    // Scalar result of a query, invalid QVariant on failure.
    QVariant valeur(const QString& sql) const;
    // Every row of a query, its columns joined by a space (a real number
    // always with its decimal point, "6.0"; NULL as nothing), the rows by
    // `separateur`; a row of one NULL is left out, as group_concat does.
    QString liste(const QString& sql, const QString& separateur = QStringLiteral(",")) const;
    // Makes each `evenement` ("INSERT", "UPDATE", "DELETE"…) on the table
    // fail with the message, on either engine (a full disk, a lock…).
    void refuser(const QString& evenement, const QString& table, const QString& message) const;
    // Lifts every refusal refuser() set on the table.
    void accepter(const QString& table) const;
    // Drops a table (and what depends on it), on either engine.
    void supprimerTable(const QString& table) const;

private:
    QTemporaryDir m_dossier;
    QString m_chemin;
    QString m_connexion;
    QString m_schema;     // PostgreSQL: the schema made for this base, dropped at the end
    std::optional<BasePostgresVide> m_baseAPart;  // PostgreSQL: or the database made for it
    mutable QList<QPair<QString, QString>> m_refus;   // (trigger, table) made by refuser()
};

// While it lives, the database takes rows as an older program wrote them,
// before the tables kept their rules (a stay with unreadable dates, on a
// unit that is gone…); the rules hold again for what is written after.
class SansRegles
{
public:
    explicit SansRegles(const QSqlDatabase& base);
    ~SansRegles();
    SansRegles(const SansRegles&) = delete;
    SansRegles& operator=(const SansRegles&) = delete;

private:
    QSqlDatabase m_base;
};

// Units 1…n named "Logement <n>" where missing, for the stays a test puts on them.
void Logements(const QSqlDatabase& base, std::initializer_list<int> numeros);

// Another desk: its own connection to the same database (file or server),
// closed and forgotten at the end.
class AutrePoste
{
public:
    explicit AutrePoste(const QString& chemin, const QString& connexion = QStringLiteral("autreposte"));
    ~AutrePoste();
    bool ouverte() const { return m_base.isOpen(); }
    QSqlDatabase base() const { return m_base; }

private:
    QString m_connexion;
    QSqlDatabase m_base;
};

// The calendar as a test drives it: that size, cells of 20 px, showing
// today's month of the given year, shown and drawn.
std::unique_ptr<Form1> Calendrier(Contexte* contexte, int annee, int largeur = 633, int hauteur = 386);

} // namespace TestUtil
