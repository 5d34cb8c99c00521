// The backups of the database: names, the check, the snapshot under a
// killed writer and under a live one, two starts at once, the 0-byte file,
// and the restore without a window.
#include "app/demarrage.h"
#include "app/gardienbase.h"
#include "app/lanceur.h"
#include "app/sauvegardes.h"
#include "config/chemins.h"
#include "config/ini32.h"
#include "outils_sauvegardes.h"
#include "store/base.h"
#include "programme.h"
#include "store/journalisation.h"
#include "testutil.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <csignal>

using namespace OutilsSauvegardes;

TEST(NomsDesCreneaux, OnlyTheDatabasesOwnSlotsAreRecognised)
{
    struct Cas { const char* base; const char* fichier; int attendu; };   // -1: not a slot
    const Cas cas[] = {
        {"planning.db", "planning_7.db", 7}, {"planning.db", "planning_0.db", 0},
        {"planning.db", "planning_30.db", 30}, {"base.mdb", "base_12.mdb", 12}, {"base", "base_4", 4},
        {"hotel.2026.db", "hotel.2026_3.db", 3},
        {"planning.db", "planning_.db", -1}, {"planning.db", "planning_7", -1}, {"planning.db", "planning_x.db", -1},
        {"planning.db", "planning_-1.db", -1}, {"planning.db", "planning_+1.db", -1},
        {"planning.db", ".planning_7.db.tmp", -1}, {"planning.db", "autre_7.db", -1},
        {"planning.db", "avant_restauration_2026-12-09_10-04-39.db", -1}, {"planning.db", "planning_7.db.tmp", -1},
        {"planning.db", "planning", -1},
    };
    for (const Cas& c : cas) {
        const auto n = Sauvegardes::NumeroCreneau(QString::fromLatin1(c.base), QString::fromLatin1(c.fichier));
        EXPECT_EQ(n.value_or(-1), c.attendu) << c.base << " / " << c.fichier;
    }
}

TEST(NomsDesCreneaux, TheKeptDatabaseIsDatedAndKeepsItsExtension)
{
    const QDateTime moment(QDate(2026, 12, 9), QTime(10, 4, 39));
    struct Cas { const char* base; const char* attendu; };
    const Cas cas[] = {{"planning.db", "avant_restauration_2026-12-09_10-04-39.db"},
                       {"base.mdb", "avant_restauration_2026-12-09_10-04-39.mdb"},
                       {"base", "avant_restauration_2026-12-09_10-04-39"}};
    for (const Cas& c : cas)
        EXPECT_EQ(Sauvegardes::NomAvantRestauration(QString::fromLatin1(c.base), moment), QString::fromLatin1(c.attendu));
}

TEST(Controle, FirstLineOfTheCheck)
{
    struct Cas { const char* resultat; const char* attendu; };
    const Cas cas[] = {
        {"ok", "ok"},
        {"*** in database main ***\nPage 7: btreeInitPage() returns error code 11",
         "Page 7: btreeInitPage() returns error code 11"},
        {"*** in database main ***\nOn tree page 5 cell 0: invalid page number 99\nsecond", "On tree page 5 cell 0: invalid page number 99"},
        {"row 3 missing from index idx_x", "row 3 missing from index idx_x"},
        {"  \n", ""},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(CopieBase::premiereLigne(QString::fromLatin1(c.resultat)), QString::fromLatin1(c.attendu)) << c.resultat;
}

TEST(Controle, ADamagedFileFailsAndItsCopyIsNotTaken)
{
    TestUtil::BaseTemporaire temp;
    temp.executer(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) VALUES (1, '2026-12-09 10:00:00', 5, '', 'a')"));
    const QString chemin = temp.chemin();
    EXPECT_TRUE(CopieBase::controler(temp.base()).saine);
    QSqlDatabase::database(QStringLiteral("test")).close();
    abimer(chemin);

    Chemins::fixerDossierProgramme(temp.dossier());
    const Sauvegardes::Bilan bilan = Sauvegardes::ControlerEtCopier(chemin, 4);
    Chemins::fixerDossierProgramme(QString());
    EXPECT_EQ(bilan.issue, Sauvegardes::Bilan::Endommagee);
    EXPECT_FALSE(bilan.detail.isEmpty());
    EXPECT_FALSE(bilan.detail.startsWith(QLatin1String("***")));
    EXPECT_FALSE(QFileInfo::exists(temp.dossier() + QStringLiteral("/Sauvegardes/") + QFileInfo(chemin).completeBaseName()
                                   + QStringLiteral("_4.db")));
    EXPECT_FALSE(Sauvegardes::Verifier(chemin).saine);
}

namespace {

// A plain connection of another program on the file.
QSqlDatabase autreProgramme(const QString& chemin, const QString& nom)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nom);
    db.setDatabaseName(chemin);
    EXPECT_TRUE(db.open());
    return db;
}

bool enModeWal(const QString& chemin)
{
    return Journalisation::enteteWal(chemin);
}

} // namespace

TEST(Controle, AFileHeldByAnotherProgramIsNeitherCheckedNorCalledDamaged)
{
    // WAL: a program in exclusive locking mode shuts every reader out; in
    // rollback mode (a network share) any writer does.
    struct Cas { const char* mode; QStringList tenir; };
    const Cas cas[] = {
        {"wal", {QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"), QStringLiteral("BEGIN EXCLUSIVE"),
                 QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (7, 'x')"), QStringLiteral("COMMIT")}},
        {"delete", {QStringLiteral("BEGIN EXCLUSIVE"), QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (7, 'x')")}},
    };
    for (const Cas& c : cas) {
        QTemporaryDir dossier;
        Chemins::fixerDossierProgramme(dossier.path());
        const QString chemin = dossier.filePath(QStringLiteral("planning.db"));
        {
            const auto db = Base::ouvrir(chemin, Base::Ouverture::CreerSiAbsente, QStringLiteral("creer"));
            ASSERT_TRUE(db.has_value());
            QSqlQuery(*db).exec(QStringLiteral("PRAGMA journal_mode=") + QLatin1String(c.mode));
        }
        CopieBase::fermer(QStringLiteral("creer"));
        const QString slot = Sauvegardes::Dossier() + QStringLiteral("/planning_4.db");
        {
            QSqlDatabase autre = autreProgramme(chemin, QStringLiteral("tenir"));
            QSqlQuery q(autre);
            for (const QString& sql : c.tenir)
                ASSERT_TRUE(q.exec(sql)) << c.mode << qPrintable(q.lastError().text());
            const Sauvegardes::Bilan bilan = Sauvegardes::ControlerEtCopier(chemin, 4, 100);
            EXPECT_EQ(bilan.issue, Sauvegardes::Bilan::Occupee) << c.mode << qPrintable(bilan.detail);
            EXPECT_FALSE(QFileInfo::exists(slot)) << c.mode;
        }
        CopieBase::fermer(QStringLiteral("tenir"));
        // Once the other program lets go, the same file is sound and copied.
        const Sauvegardes::Bilan bilan = Sauvegardes::ControlerEtCopier(chemin, 4, 100);
        EXPECT_EQ(bilan.issue, Sauvegardes::Bilan::Copiee) << c.mode << qPrintable(bilan.detail);
        EXPECT_TRUE(integre(slot)) << c.mode;
    }
    Chemins::fixerDossierProgramme(QString());
}

TEST(Copie, TheSnapshotIsOneFileHoldingWhatIsStillOnlyInTheLog)
{
    QTemporaryDir dossier;
    Chemins::fixerDossierProgramme(dossier.path());
    const QString chemin = dossier.filePath(QStringLiteral("planning.db"));
    {
        const auto db = Base::ouvrir(chemin, Base::Ouverture::CreerSiAbsente, QStringLiteral("vivante"));
        ASSERT_TRUE(db.has_value());
        ASSERT_TRUE(enModeWal(chemin));
        QSqlQuery q(*db);
        // The commits stay in the log: nothing is written back into the file.
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0")));
        for (int i = 1; i <= 40; ++i)
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) "
                                              "VALUES (%1, '2026-12-09 10:00:00', 1, '', 'x')").arg(i)));
        ASSERT_GT(QFileInfo(Journalisation::nomWal(chemin)).size(), 0);

        const Sauvegardes::Bilan bilan = Sauvegardes::ControlerEtCopier(chemin, 2);
        ASSERT_EQ(bilan.issue, Sauvegardes::Bilan::Copiee) << qPrintable(bilan.detail);
        EXPECT_FALSE(enModeWal(bilan.copie));
        EXPECT_TRUE(Sauvegardes::Verifier(bilan.copie).saine);
        // Checked and read, the slot is still the only file of its name.
        EXPECT_EQ(comptes(bilan.copie).size(), 40);
        EXPECT_EQ(QDir(Sauvegardes::Dossier()).entryList({QStringLiteral("planning_2*")}, QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("planning_2.db")});
    }
    CopieBase::fermer(QStringLiteral("vivante"));
    Chemins::fixerDossierProgramme(QString());
}

TEST(Copie, AFileReplacedNeverMeetsTheLogOfTheOlderOne)
{
    QTemporaryDir dossier;
    const QString cible = dossier.filePath(QStringLiteral("cible.db"));
    const QString nouvelle = dossier.filePath(QStringLiteral("nouvelle.db"));
    // The older file's log holds 30 account rows that its file has not.
    {
        const auto db = Base::ouvrir(cible, Base::Ouverture::CreerSiAbsente, QStringLiteral("ancienne"));
        ASSERT_TRUE(db.has_value());
        QSqlQuery q(*db);
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0")));
        for (int i = 1; i <= 30; ++i)
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) "
                                              "VALUES (%1, '2026-12-09 10:00:00', 1, '', 'x')").arg(i)));
        ASSERT_TRUE(CopieBase::copier(*db, nouvelle));
        ASSERT_TRUE(q.exec(QStringLiteral("DELETE FROM OPERATIONS WHERE numeroreservation > 3")));
        // The program dies: its log and its index stay beside the file.
        for (const QString& f : {Journalisation::nomWal(cible), Journalisation::nomShm(cible)})
            ASSERT_TRUE(QFile::copy(f, f + QStringLiteral(".garde")));
    }
    CopieBase::fermer(QStringLiteral("ancienne"));
    for (const QString& f : {Journalisation::nomWal(cible), Journalisation::nomShm(cible)}) {
        QFile::remove(f);
        ASSERT_TRUE(QFile::rename(f + QStringLiteral(".garde"), f));
    }
    ASSERT_EQ(comptes(cible).size(), 3);

    // The snapshot taken before the deletion goes in place.
    const QString provisoire = CopieBase::nomProvisoire(cible);
    ASSERT_TRUE(QFile::copy(nouvelle, provisoire));
    QString erreur;
    ASSERT_TRUE(CopieBase::mettreEnPlace(provisoire, cible, &erreur)) << qPrintable(erreur);
    EXPECT_FALSE(QFileInfo::exists(Journalisation::nomWal(cible)));
    EXPECT_FALSE(QFileInfo::exists(Journalisation::nomShm(cible)));
    EXPECT_TRUE(integre(cible));
    EXPECT_EQ(comptes(cible).size(), 30);
}

TEST(BaseVide, ZeroBytesIsMissingOnlyAtTheDefaultPath)
{
    QTemporaryDir dossier;
    Chemins::fixerDossierProgramme(dossier.path());
    struct Cas { bool parDefaut; bool ouverte; const char* raison; };
    const Cas cas[] = {{true, true, ""}, {false, false, "le fichier est vide"}};
    for (const Cas& c : cas) {
        const QString chemin = c.parDefaut ? Demarrage::CheminBaseParDefaut() : dossier.filePath(QStringLiteral("ailleurs.db"));
        TestUtil::ecrireFichier(chemin, QByteArray());
        QString raison;
        {
            const auto base = Demarrage::OuvrirBase(chemin, &raison);
            EXPECT_EQ(base.has_value(), c.ouverte) << qPrintable(chemin);
            if (base) {
                QSqlQuery q(*base);
                EXPECT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM ETATS")) && q.next() && q.value(0).toInt() >= 3);
            }
        }
        QSqlDatabase::removeDatabase(QLatin1String(Demarrage::kConnexion));
        EXPECT_EQ(raison, QString::fromUtf8(c.raison));
        EXPECT_EQ(QFileInfo(chemin).size() > 0, c.ouverte);
    }
    Chemins::fixerDossierProgramme(QString());
}

namespace {

// A data folder whose database is written by a child process.
class SousEcriture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Chemins::fixerDossierProgramme(m_dossier.path());
        ini = Demarrage::CheminIniParDefaut();
        base = Demarrage::CheminBaseParDefaut();
        const auto db = Demarrage::OuvrirBase(base);
        ASSERT_TRUE(db.has_value());
        // The writers' kills below are those of a file in WAL mode.
        ASSERT_TRUE(enModeWal(base));
    }
    void TearDown() override
    {
        QSqlDatabase::removeDatabase(QLatin1String(Demarrage::kConnexion));
        Chemins::fixerDossierProgramme(QString());
    }

    // Starts the writer and waits for its first line.
    void lancerEcrivain(QProcess& p, qint64 debut, const QString& maniere = QStringLiteral("ecrire"))
    {
        p.start(QStringLiteral(AIDE_SAUVEGARDES), {maniere, base, QString::number(debut)});
        ASSERT_TRUE(p.waitForStarted());
        ASSERT_TRUE(p.waitForReadyRead(10000)) << p.readAllStandardError().constData();
    }
    void lireLignes(QProcess& p)
    {
        const QList<QByteArray> lignes = p.readAllStandardOutput().split('\n');
        for (const QByteArray& l : lignes) {
            if (l.startsWith("AVANT "))
                avant.insert(l.mid(6).toLongLong());
            else if (l.startsWith("APRES "))
                apres.insert(l.mid(6).toLongLong());
        }
    }
    // The start-up's database steps: slot, opening, check and snapshot.
    Sauvegardes::Bilan demarrer()
    {
        const Demarrage::Sauvegarde s = Demarrage::Sauvegarder(ini, base);
        QString raison;
        const auto db = Demarrage::OuvrirBase(base, &raison);
        EXPECT_TRUE(db.has_value()) << qPrintable(raison);
        return Sauvegardes::ControlerEtCopier(base, s.slot);
    }
    // Every row of the copy comes from a transaction whose commit had
    // started; every transaction whose commit returned is there, whole.
    void verifierCopie(const QString& copie, const QMap<qint64, int>* vivante)
    {
        EXPECT_TRUE(integre(copie)) << qPrintable(copie);
        const QMap<qint64, int> lignes = comptes(copie);
        for (auto it = lignes.cbegin(); it != lignes.cend(); ++it) {
            EXPECT_TRUE(avant.contains(it.key())) << "rolled-back transaction " << it.key() << " in " << qPrintable(copie);
            EXPECT_EQ(it.value(), lignesDe(it.key())) << "transaction " << it.key() << " cut in " << qPrintable(copie);
        }
        for (qint64 k : std::as_const(apres)) {
            EXPECT_TRUE(lignes.contains(k)) << "committed transaction " << k << " missing from " << qPrintable(copie);
        }
        if (vivante) {
            EXPECT_EQ(lignes, *vivante) << qPrintable(copie);
        }
    }

    QTemporaryDir m_dossier;
    QString ini, base;
    QSet<qint64> avant, apres;
    // The rows of transaction k, as the writer makes them.
    int (*lignesDe)(qint64 k) = [](qint64 k) { return int(1 + k % 7); };
};

} // namespace

TEST_F(SousEcriture, EveryBackupAfterAKilledWriterHoldsOnlyCommittedRows)
{
    QRandomGenerator alea(20261209);
    for (int tour = 0; tour < 50; ++tour) {
        QSqlDatabase::removeDatabase(QLatin1String(Demarrage::kConnexion));
        QProcess ecrivain;
        lancerEcrivain(ecrivain, tour * 100000LL);
        // Killed at a random moment of its writing.
        QThread::usleep(alea.bounded(200, 50000));
        ::kill(pid_t(ecrivain.processId()), SIGKILL);
        ASSERT_TRUE(ecrivain.waitForFinished(10000));
        lireLignes(ecrivain);

        const Sauvegardes::Bilan bilan = demarrer();
        ASSERT_EQ(bilan.issue, Sauvegardes::Bilan::Copiee) << tour << ": " << qPrintable(bilan.detail);
        const QMap<qint64, int> vivante = comptes(base);
        verifierCopie(bilan.copie, &vivante);
        if (HasFailure())
            FAIL() << "after kill " << tour;
    }
    // The writer did commit between the kills (else nothing was tested).
    EXPECT_GE(apres.size(), 20);
}

TEST_F(SousEcriture, BackupsTakenWhileAnotherConnectionWritesAreSound)
{
    QProcess ecrivain;
    lancerEcrivain(ecrivain, 1);
    QStringList copies;
    for (int i = 0; i < 20; ++i) {
        const Sauvegardes::Bilan bilan = demarrer();
        EXPECT_EQ(bilan.issue, Sauvegardes::Bilan::Copiee) << i << ": " << qPrintable(bilan.detail);
        copies << bilan.copie;
        // The writer goes on between the starts.
        ecrivain.waitForReadyRead(2000);
        lireLignes(ecrivain);
        const qsizetype ecrites = apres.size();
        while (apres.size() == ecrites && ecrivain.waitForReadyRead(2000))
            lireLignes(ecrivain);
    }
    ::kill(pid_t(ecrivain.processId()), SIGKILL);
    ecrivain.waitForFinished(10000);
    lireLignes(ecrivain);
    // Each copy is sound and holds whole transactions that had started to commit.
    apres.clear();
    for (const QString& copie : std::as_const(copies))
        verifierCopie(copie, nullptr);
    EXPECT_EQ(QSet<QString>(copies.cbegin(), copies.cend()).size(), 20);
}

TEST_F(SousEcriture, TenStartsBesideADeskImportingWithoutPauseTakeTenSoundBackupsAndAskNothing)
{
    lignesDe = [](qint64) { return 21; };
    QSqlDatabase::removeDatabase(QLatin1String(Demarrage::kConnexion));
    QProcess ecrivain;
    lancerEcrivain(ecrivain, 1, QStringLiteral("marteler"));
    lireLignes(ecrivain);
    const qsizetype ecritesAvant = apres.size();
    QStringList copies;
    for (int i = 0; i < 10; ++i) {
        Lanceur lanceur;
        const QStringList messages = TestUtil::messagesPendant([&] {
            ASSERT_TRUE(lanceur.demarrer(OptionsLancement()));
            QApplication::processEvents();
            ASSERT_TRUE(lanceur.gardien()->attendre());
        });
        EXPECT_EQ(messages, QStringList()) << "start " << i;
        EXPECT_FALSE(lanceur.gardien()->endommagee()) << "start " << i;
        const Sauvegardes::Bilan& bilan = lanceur.gardien()->bilan();
        EXPECT_EQ(bilan.issue, Sauvegardes::Bilan::Copiee) << "start " << i << ": " << qPrintable(bilan.detail);
        copies << bilan.copie;
        lireLignes(ecrivain);
    }
    ::kill(pid_t(ecrivain.processId()), SIGKILL);
    ecrivain.waitForFinished(10000);
    lireLignes(ecrivain);
    // The desk wrote all along.
    EXPECT_GT(apres.size(), ecritesAvant);
    apres.clear();
    for (const QString& copie : std::as_const(copies))
        verifierCopie(copie, nullptr);
    EXPECT_EQ(QSet<QString>(copies.cbegin(), copies.cend()).size(), 10);
}

TEST_F(SousEcriture, ARestoreAfterAKilledWriterKeepsEveryCommittedRowAndLeavesNoLogOfTheOlderFile)
{
    const Sauvegardes::Bilan vide = Sauvegardes::ControlerEtCopier(base, 1);
    ASSERT_EQ(vide.issue, Sauvegardes::Bilan::Copiee);
    QSqlDatabase::removeDatabase(QLatin1String(Demarrage::kConnexion));
    QProcess ecrivain;
    lancerEcrivain(ecrivain, 1);
    while (apres.size() < 30 && ecrivain.waitForReadyRead(5000))
        lireLignes(ecrivain);
    ::kill(pid_t(ecrivain.processId()), SIGKILL);
    ASSERT_TRUE(ecrivain.waitForFinished(10000));
    lireLignes(ecrivain);
    ASSERT_TRUE(QFileInfo::exists(Journalisation::nomWal(base)));

    const Sauvegardes::Restauration r = Sauvegardes::Restaurer(base, vide.copie);
    ASSERT_TRUE(r.reussie) << qPrintable(r.erreur);
    EXPECT_FALSE(QFileInfo::exists(Journalisation::nomWal(base)));
    EXPECT_FALSE(QFileInfo::exists(Journalisation::nomShm(base)));
    EXPECT_TRUE(integre(base));
    EXPECT_TRUE(comptes(base).isEmpty());
    // The kept file is whole: every transaction whose commit returned.
    EXPECT_FALSE(QFileInfo::exists(Journalisation::nomWal(r.gardee)));
    verifierCopie(r.gardee, nullptr);
    // The restored file opens as the program's database, in WAL mode again.
    QString raison;
    EXPECT_TRUE(Demarrage::OuvrirBase(base, &raison).has_value()) << qPrintable(raison);
    EXPECT_TRUE(enModeWal(base));
}

TEST(Restaurer, NothingChangesWhileAnotherProgramHasTheDatabaseOpen)
{
    QTemporaryDir dossier;
    Chemins::fixerDossierProgramme(dossier.path());
    const QString chemin = dossier.filePath(QStringLiteral("planning.db"));
    const QString slot = dossier.filePath(QStringLiteral("Sauvegardes/planning_1.db"));
    QDir().mkpath(Sauvegardes::Dossier());
    {
        const auto db = Base::ouvrir(chemin, Base::Ouverture::CreerSiAbsente, QStringLiteral("creer"));
        ASSERT_TRUE(db.has_value());
        ASSERT_TRUE(CopieBase::copier(*db, slot));
        QSqlQuery(*db).exec(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) "
                                           "VALUES (5, '2026-12-09 10:00:00', 1, '', 'x')"));
    }
    CopieBase::fermer(QStringLiteral("creer"));
    {
        QSqlDatabase autre = autreProgramme(chemin, QStringLiteral("autre"));
        QSqlQuery q(autre);
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM OPERATIONS")) && q.next());
        const Sauvegardes::Restauration r = Sauvegardes::Restaurer(chemin, slot, 100);
        EXPECT_FALSE(r.reussie);
        EXPECT_TRUE(r.erreur.contains(QStringLiteral("ouverte par un autre programme"))) << qPrintable(r.erreur);
        EXPECT_TRUE(r.gardee.isEmpty());
        EXPECT_EQ(comptes(chemin).value(5), 1);
        EXPECT_TRUE(QDir(Sauvegardes::Dossier()).entryList({QStringLiteral("avant_restauration_*")}).isEmpty());
    }
    CopieBase::fermer(QStringLiteral("autre"));
    // Once it is closed, the restore goes through.
    EXPECT_TRUE(Sauvegardes::Restaurer(chemin, slot, 100).reussie);
    EXPECT_TRUE(comptes(chemin).isEmpty());
    Chemins::fixerDossierProgramme(QString());
}

TEST(DeuxDemarrages, TwoStartsAtOnceTakeTwoSlots)
{
    QTemporaryDir dossier;
    const QString ini = dossier.filePath(QStringLiteral("planning.ini"));
    QSet<int> pris;
    auto lancer = [&](QProcess& p, const QString& top) {
        p.start(QStringLiteral(AIDE_SAUVEGARDES), {QStringLiteral("creneau"), ini, top});
    };
    // A first start writes the configuration's defaults.
    {
        const QString top = dossier.filePath(QStringLiteral("top"));
        TestUtil::ecrireFichier(top, "go");
        QProcess premier;
        lancer(premier, top);
        ASSERT_TRUE(premier.waitForFinished(10000));
        pris.insert(premier.readAllStandardOutput().trimmed().toInt());
    }
    for (int tour = 0; tour < 10; ++tour) {
        const QString top = dossier.filePath(QStringLiteral("top_%1").arg(tour));
        QProcess a, b;
        lancer(a, top);
        lancer(b, top);
        ASSERT_TRUE(a.waitForStarted() && b.waitForStarted());
        TestUtil::ecrireFichier(top, "go");
        ASSERT_TRUE(a.waitForFinished(20000) && b.waitForFinished(20000));
        const int slotA = a.readAllStandardOutput().trimmed().toInt();
        const int slotB = b.readAllStandardOutput().trimmed().toInt();
        EXPECT_NE(slotA, slotB) << "round " << tour;
        EXPECT_FALSE(pris.contains(slotA) || pris.contains(slotB)) << "round " << tour;
        pris.insert(slotA);
        pris.insert(slotB);
    }
    EXPECT_EQ(pris.size(), 21);
    // Every start released the lock.
    EXPECT_FALSE(QFileInfo::exists(dossier.filePath(QStringLiteral("Sauvegardes/.verrou"))));
}

namespace {

// Runs the program itself with --restaurer in a folder.
Programme::Execution restaurer(const QString& dossier, const QString& numero)
{
    return Programme::lancer(dossier, {QStringLiteral("--restaurer"), numero});
}

} // namespace

TEST(RestaurerSansFenetre, ExitStatusesAndTheKeptDatabase)
{
    QTemporaryDir dossier;
    const QString base = dossier.filePath(QStringLiteral("planning.db"));
    const QString sauvegardes = dossier.filePath(QStringLiteral("Sauvegardes"));
    QDir().mkpath(sauvegardes);
    // Slot 1 holds one account row, slot 2 two (then damaged); the database three.
    {
        const auto db = Base::ouvrir(base, Base::Ouverture::CreerSiAbsente, QStringLiteral("r"));
        ASSERT_TRUE(db.has_value());
        QSqlQuery q(*db);
        for (int i = 1; i <= 3; ++i) {
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) VALUES (%1, '2026-12-09 10:00:00', 1, '', 'x')").arg(i)));
            if (i < 3) {
                ASSERT_TRUE(CopieBase::copier(*db, sauvegardes + QStringLiteral("/planning_%1.db").arg(i)));
            }
        }
    }
    CopieBase::fermer(QStringLiteral("r"));
    abimer(sauvegardes + QStringLiteral("/planning_2.db"));

    struct Cas { const char* numero; int code; int lignes; const char* dit; };
    const Cas cas[] = {
        {"9", 2, 3, "Pas de sauvegarde n° 9"},
        {"abc", 2, 3, "Pas de sauvegarde n° abc"},
        {"2", 3, 3, "est endommagée"},
        {"1", 0, 1, "restaurée dans"},
    };
    for (const Cas& c : cas) {
        const Programme::Execution e = restaurer(dossier.path(), QString::fromLatin1(c.numero));
        EXPECT_EQ(e.code, c.code) << c.numero << qPrintable(e.erreurs);
        EXPECT_TRUE((e.sortie + e.erreurs).contains(QString::fromUtf8(c.dit))) << qPrintable(e.sortie + e.erreurs);
        EXPECT_EQ(comptes(base).size(), c.lignes) << c.numero;
    }
    // The database as it was before the restore is kept, whole.
    const QStringList gardees = QDir(sauvegardes).entryList({QStringLiteral("avant_restauration_*.db")});
    ASSERT_EQ(gardees.size(), 1);
    EXPECT_EQ(comptes(sauvegardes + QLatin1Char('/') + gardees.first()).size(), 3);
    EXPECT_TRUE(integre(base));
}
