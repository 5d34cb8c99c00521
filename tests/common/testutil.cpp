#include "testutil.h"

#include "planning/form1.h"
#include "store/base.h"
#include "store/contraintes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QSqlRecord>
#include <gtest/gtest.h>

namespace TestUtil {

QStringList messagesPendant(const std::function<void()>& action)
{
    QStringList lus;
    QTimer guetteur;
    QObject::connect(&guetteur, &QTimer::timeout, [&lus] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* boite = qobject_cast<QMessageBox*>(w);
            if (!boite || !boite->isVisible())
                continue;
            EXPECT_EQ(boite->standardButtons(), QMessageBox::Ok);
            lus << boite->text();
            if (QAbstractButton* ok = boite->button(QMessageBox::Ok))
                ok->click();
            else
                boite->reject();
        }
    });
    guetteur.start(5);
    action();
    guetteur.stop();
    return lus;
}

QByteArray lireFichier(const QString& chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void ecrireFichier(const QString& chemin, const QByteArray& contenu)
{
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << chemin.toStdString();
    f.write(contenu);
}

namespace {

// The tests' database on the server (created when missing) and a
// connection to it for making and dropping the schemas of the tests.
QString nomBaseTests()
{
    const QString nom = qEnvironmentVariable("PLANNING_TEST_PG_BASE");
    return nom.isEmpty() ? QStringLiteral("planning_tests") : nom;
}

QSqlDatabase maintenance(QString* erreur)
{
    const QString connexion = QStringLiteral("maintenance_tests");
    if (QSqlDatabase::contains(connexion)) {
        QSqlDatabase db = QSqlDatabase::database(connexion, false);
        if (db.isOpen())
            return db;
    }
    QSqlDatabase serveur = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connexion);
    serveur.setConnectOptions(QStringLiteral("connect_timeout=5;options=-cclient_min_messages=warning"));
    // First the tests' database itself, through the server's default one.
    serveur.setDatabaseName(QStringLiteral("postgres"));
    if (!serveur.open()) {
        if (erreur)
            *erreur = serveur.lastError().text().trimmed();
        return serveur;
    }
    QSqlQuery q(serveur);
    q.exec(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = '%1'").arg(nomBaseTests()));
    if (!q.next())
        QSqlQuery(serveur).exec(QStringLiteral("CREATE DATABASE %1").arg(nomBaseTests()));   // a race is harmless
    q.finish();
    serveur.close();
    serveur.setDatabaseName(nomBaseTests());
    if (!serveur.open() && erreur)
        *erreur = serveur.lastError().text().trimmed();
    // The trigram extension once for the whole database, as its
    // administrator would install it: made by the first test's schema, it
    // would go with that schema, and the other tests' indexes with it.
    // Two test programs starting together: the one that loses the race
    // finds the extension on its next try.
    for (int essai = 0; serveur.isOpen() && essai < 5; ++essai) {
        if (QSqlQuery(serveur).exec(QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm SCHEMA public")))
            break;
        QThread::msleep(50);
    }
    return serveur;
}

} // namespace

bool SurPostgres()
{
    return qEnvironmentVariable("PLANNING_TEST_MOTEUR").compare(QLatin1String("postgresql"), Qt::CaseInsensitive) == 0;
}

QString ServeurPostgresAbsent()
{
    static const QString raison = [] {
        QString erreur;
        const QSqlDatabase db = maintenance(&erreur);
        return db.isOpen() ? QString() : (erreur.isEmpty() ? QStringLiteral("serveur injoignable") : erreur);
    }();
    return raison;
}

BaseTemporaire::BaseTemporaire(const QString& connexion) : BaseTemporaire(connexion, Isolement::Schema) {}

BaseTemporaire::BaseTemporaire(const QString& connexion, Isolement isolement)
    : m_chemin(m_dossier.filePath(QStringLiteral("test.db"))), m_connexion(connexion)
{
    if (SurPostgres()) {
        static int compteur = 0;
        const QString nom = QStringLiteral("t%1_%2").arg(QCoreApplication::applicationPid()).arg(++compteur);
        QString erreur;
        QSqlDatabase serveur = maintenance(&erreur);
        EXPECT_TRUE(serveur.isOpen()) << erreur.toStdString();
        QSqlQuery q(serveur);
        if (isolement == Isolement::BaseAPart) {
            m_baseAPart.emplace();
            m_chemin = m_baseAPart->adresse();
        } else {
            m_schema = nom;
            EXPECT_TRUE(q.exec(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(m_schema)));
            EXPECT_TRUE(q.exec(QStringLiteral("CREATE SCHEMA %1").arg(m_schema))) << q.lastError().text().toStdString();
            m_chemin = QStringLiteral("postgresql:///%1?options=-csearch_path%3D%2").arg(nomBaseTests(), m_schema);
        }
    }
    QString erreur;
    auto base = Base::ouvrir(m_chemin, Base::Ouverture::CreerSiAbsente, connexion, &erreur);
    EXPECT_TRUE(base.has_value()) << erreur.toStdString();
}

BaseTemporaire::~BaseTemporaire()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connexion, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connexion);
    if (!m_schema.isEmpty()) {
        QSqlQuery q(maintenance(nullptr));
        q.exec(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(m_schema));
    }
}

QSqlDatabase BaseTemporaire::base() const
{
    return QSqlDatabase::database(m_connexion, false);
}

namespace {

// Runs one statement, failing the test when it does not succeed.
void executerSur(const QSqlDatabase& base, const QString& sql)
{
    QSqlQuery q(base);
    EXPECT_TRUE(q.exec(sql)) << sql.toStdString() << " : " << q.lastError().text().toStdString();
}

} // namespace

void BaseTemporaire::executer(const QString& sql) const
{
    executerSur(base(), sql);
}

void BaseTemporaire::executerHorsRegles(const QString& sql) const
{
    const SansRegles sansRegles(base());
    executer(sql);
}

QVariant BaseTemporaire::valeur(const QString& sql) const
{
    QSqlQuery q(base());
    if (!q.exec(sql) || !q.next())
        return {};
    return q.value(0);
}

QString BaseTemporaire::liste(const QString& sql, const QString& separateur) const
{
    QSqlQuery q(base());
    EXPECT_TRUE(q.exec(sql)) << sql.toStdString() << " : " << q.lastError().text().toStdString();
    QStringList lignes;
    while (q.next()) {
        QStringList colonnes;
        for (int i = 0; i < q.record().count(); ++i) {
            const QVariant v = q.value(i);
            QString t = v.isNull() ? QString() : v.toString();
            if (!v.isNull() && v.typeId() == QMetaType::Double) {
                t = QString::number(v.toDouble(), 'g', 15);
                if (!t.contains(QLatin1Char('.')) && !t.contains(QLatin1Char('e')))
                    t += QStringLiteral(".0");
            }
            colonnes << t;
        }
        if (colonnes.size() > 1 || !q.isNull(0))
            lignes << colonnes.join(QLatin1Char(' '));
    }
    return lignes.join(separateur);
}

void BaseTemporaire::refuser(const QString& evenement, const QString& table, const QString& message) const
{
    static int compteur = 0;
    const QString nom = QStringLiteral("refus_%1").arg(++compteur);
    m_refus.append({nom, table});
    QString texte = message;
    texte.replace(QLatin1Char('\''), QStringLiteral("''"));
    if (!SurPostgres()) {
        executer(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 BEGIN SELECT RAISE(ABORT, '%4'); END")
                     .arg(nom, evenement, table, texte));
        return;
    }
    executer(QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                            "RAISE EXCEPTION '%2'; END $$").arg(nom, texte));
    executer(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW EXECUTE FUNCTION %1()")
                 .arg(nom, evenement, table));
}

void BaseTemporaire::accepter(const QString& table) const
{
    for (qsizetype i = m_refus.size() - 1; i >= 0; --i) {
        if (m_refus[i].second.compare(table, Qt::CaseInsensitive) != 0)
            continue;
        executer(SurPostgres() ? QStringLiteral("DROP TRIGGER %1 ON %2").arg(m_refus[i].first, table)
                               : QStringLiteral("DROP TRIGGER %1").arg(m_refus[i].first));
        m_refus.removeAt(i);
    }
}

void BaseTemporaire::supprimerTable(const QString& table) const
{
    executer(QStringLiteral("DROP TABLE %1%2").arg(table, SurPostgres() ? QStringLiteral(" CASCADE") : QString()));
}

BasePostgresVide::BasePostgresVide()
{
    static int compteur = 0;
    m_nom = QStringLiteral("planning_v%1_%2").arg(QCoreApplication::applicationPid()).arg(++compteur);
    QSqlQuery q(maintenance(nullptr));
    q.exec(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(m_nom));
    EXPECT_TRUE(q.exec(QStringLiteral("CREATE DATABASE %1").arg(m_nom))) << q.lastError().text().toStdString();
}

BasePostgresVide::~BasePostgresVide()
{
    QSqlQuery q(maintenance(nullptr));
    q.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_nom));
}

AutrePoste::AutrePoste(const QString& chemin, const QString& connexion) : m_connexion(connexion)
{
    QString erreur;
    const auto base = Base::ouvrir(chemin, Base::Ouverture::Existante, connexion, &erreur);
    EXPECT_TRUE(base.has_value()) << erreur.toStdString();
    if (base)
        m_base = *base;
}

AutrePoste::~AutrePoste()
{
    m_base.close();
    m_base = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connexion);
}

// How many SansRegles live on each connection: only the outermost acts.
QHash<QString, int>& niveaux()
{
    static QHash<QString, int> n;
    return n;
}

SansRegles::SansRegles(const QSqlDatabase& base) : m_base(base)
{
    if (niveaux()[base.connectionName()]++ > 0)
        return;
    if (!Dialecte::estPostgres(base)) {
        executerSur(base, QStringLiteral("PRAGMA foreign_keys = OFF"));
        executerSur(base, QStringLiteral("PRAGMA ignore_check_constraints = ON"));
        return;
    }
    // The statements that set the rules again begin by lifting them.
    for (const QString& r : Contraintes::instructionsPostgres(true))
        if (r.contains(QLatin1String(" DROP CONSTRAINT ")))
            executerSur(base, r);
}

SansRegles::~SansRegles()
{
    if (--niveaux()[m_base.connectionName()] > 0)
        return;
    if (!Dialecte::estPostgres(m_base)) {
        executerSur(m_base, QStringLiteral("PRAGMA ignore_check_constraints = OFF"));
        executerSur(m_base, QStringLiteral("PRAGMA foreign_keys = ON"));
        return;
    }
    // Set again for the rows to come only.
    for (const QString& r : Contraintes::instructionsPostgres(true))
        executerSur(m_base, r);
}

void Logements(const QSqlDatabase& base, std::initializer_list<int> numeros)
{
    for (int n : numeros)
        executerSur(base, QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (%1, 'Logement %1') "
                                         "ON CONFLICT DO NOTHING").arg(n));
}

std::unique_ptr<Form1> Calendrier(Contexte* contexte, int annee, int largeur, int hauteur)
{
    auto f = std::make_unique<Form1>(contexte);
    f->resize(largeur, hauteur);
    f->fixerTailleCellules(20, 20);
    f->remplirAnnees(annee);
    f->remplirMois();
    f->mouvementaujourdhui_Click();
    f->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    f->rafraichir();
    return f;
}

} // namespace TestUtil
