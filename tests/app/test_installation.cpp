// An installed program: where its data goes when no --dossier is given, and
// the welcome page of a new installation.
#include "app/accueil.h"
#include "app/bienvenue.h"
#include "app/demarrage.h"
#include "app/lanceur.h"
#include "app/root.h"
#include "config/chemins.h"
#include "config/ini32.h"
#include "store/dates.h"
#include "store/horloge.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "dossierdujour.h"

#include <sys/stat.h>
#include <unistd.h>

TEST(DossierParDefaut, BesideTheExecutableOnlyWhenItIsAWritableFolderOfTheUser)
{
    const QString moi = QStringLiteral("/home/anne/.local/share/orvane-planning");
    struct Cas {
        const char* executable;
        bool inscriptible;
        QString utilisateur;
        QString attendu;
    } cas[] = {
        {"/home/anne/planning", true, moi, QStringLiteral("/home/anne/planning")},
        {"/home/anne/planning/", true, moi, QStringLiteral("/home/anne/planning")},
        {"/opt/planning", true, moi, QStringLiteral("/opt/planning")},
        {"/usrx/bin", true, moi, QStringLiteral("/usrx/bin")},
        {"/media/cle", false, moi, moi},
        {"/home/anne/planning", false, moi, moi},
        // Root may write anywhere: a package's folder is still not the data's.
        {"/usr/bin", true, moi, moi},
        {"/usr/local/bin", true, moi, moi},
        {"/bin", true, moi, moi},
        {"/sbin/", true, moi, moi},
        {"/usr/lib/../bin", true, moi, moi},
        // No home folder: the executable's folder is the only place left.
        {"/usr/bin", true, QString(), QStringLiteral("/usr/bin")},
        {"/media/cle", false, QString(), QStringLiteral("/media/cle")},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Chemins::dossierParDefaut(QString::fromUtf8(c.executable), c.inscriptible, c.utilisateur), c.attendu)
            << c.executable << " inscriptible " << c.inscriptible;
}

TEST(DossierParDefaut, AMissingFolderIsNotWritable)
{
    QTemporaryDir xdg;
    EXPECT_TRUE(Chemins::dossierInscriptible(xdg.path()));
    EXPECT_FALSE(Chemins::dossierInscriptible(xdg.filePath(QStringLiteral("absent"))));
    EXPECT_FALSE(Chemins::dossierInscriptible(QString()));
}

namespace {

// Runs a copy of the program, without --dossier, from a folder that this
// user may or may not write. Root writes everywhere, so as root the copy
// runs as "nobody" (setpriv), for whom a folder of root's is not writable.
struct Installation {
    QTemporaryDir racine;
    QString bin() const { return racine.filePath(QStringLiteral("bin")); }
    QString xdg() const { return racine.filePath(QStringLiteral("xdg")); }
    QString utilisateur() const { return xdg() + QStringLiteral("/orvane-planning"); }

    bool preparer(bool inscriptible)
    {
        const QString home = racine.filePath(QStringLiteral("home"));
        if (!QDir().mkpath(bin()) || !QDir().mkpath(xdg()) || !QDir().mkpath(home))
            return false;
        if (!QFile::copy(QStringLiteral(PROGRAMME_PLANNING), bin() + QStringLiteral("/planning")))
            return false;
        ::chmod(QFile::encodeName(racine.path()).constData(), 0755);
        ::chmod(QFile::encodeName(xdg()).constData(), 0777);
        ::chmod(QFile::encodeName(home).constData(), 0777);
        ::chmod(QFile::encodeName(bin() + QStringLiteral("/planning")).constData(), 0755);
        if (::getuid() == 0 && inscriptible)
            return ::chown(QFile::encodeName(bin()).constData(), 65534, 65534) == 0;
        return ::chmod(QFile::encodeName(bin()).constData(), inscriptible ? 0755 : 0555) == 0;
    }

    int lancer(const QStringList& arguments, QString* erreurs)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const QString home = racine.filePath(QStringLiteral("home"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), xdg());
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home);
        QProcess p;
        p.setProcessEnvironment(env);
        const QString programme = bin() + QStringLiteral("/planning");
        if (::getuid() == 0)
            p.start(QStringLiteral("setpriv"), QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                                         QStringLiteral("--clear-groups"), programme} + arguments);
        else
            p.start(programme, arguments);
        if (!p.waitForFinished(60000))
            return -1;
        *erreurs = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
};

} // namespace

TEST(DossierParDefaut, AProgramInAFolderItCannotWriteKeepsItsDataInTheUsersFolder)
{
    struct Cas {
        bool inscriptible;
        bool chezUtilisateur;
    } cas[] = {{false, true}, {true, false}};
    for (const Cas& c : cas) {
        Installation inst;
        ASSERT_TRUE(inst.preparer(c.inscriptible)) << c.inscriptible;
        QString erreurs;
        // The day's report opens the configuration and the database, and
        // needs no display.
        EXPECT_EQ(inst.lancer({QStringLiteral("--caisse"), QStringLiteral("2026-12-09")}, &erreurs), 0)
            << qPrintable(erreurs);
        const QString donnees = c.chezUtilisateur ? inst.utilisateur() : inst.bin();
        const QString ailleurs = c.chezUtilisateur ? inst.bin() : inst.utilisateur();
        for (const char* nom : {"planning.ini", "planning.db"}) {
            EXPECT_TRUE(QFileInfo(donnees + QLatin1Char('/') + QLatin1String(nom)).isFile()) << nom << " " << c.inscriptible;
            EXPECT_FALSE(QFileInfo::exists(ailleurs + QLatin1Char('/') + QLatin1String(nom))) << nom << " " << c.inscriptible;
        }
    }
}

TEST(Accueil, ShownOnAnEmptyDatabaseUntilItHoldsSomethingOrTheBoxIsTicked)
{
    QTemporaryDir dossier;
    const QString ini = dossier.filePath(QStringLiteral("planning.ini"));
    struct Cas {
        bool demo;
        bool vide;
        const char* cle;   // [accueil] ne plus afficher; nullptr: absent
        bool montre;
    } cas[] = {
        {false, true, nullptr, true},
        {false, true, "0", true},
        {false, true, "", true},
        {false, true, "oui", true},
        {false, true, "1", false},
        {false, true, " 1 ", false},
        {false, false, nullptr, false},
        {true, true, nullptr, false},
        {true, false, "0", false},
    };
    for (const Cas& c : cas) {
        QFile::remove(ini);
        if (c.cle)
            INI32::ProfilINI(QStringLiteral("accueil"), QStringLiteral("ne plus afficher"), QLatin1String(c.cle), ini, 0);
        EXPECT_EQ(Accueil::AMontrer(c.demo, c.vide, ini), c.montre)
            << "demo " << c.demo << " vide " << c.vide << " cle " << (c.cle ? c.cle : "absente");
    }
}

namespace {

class Bienvenue_ : public DossierDuJour
{
protected:
    // Starts the program and returns whether the welcome page is shown;
    // when it is, it is closed with the box ticked or not.
    bool demarrer(bool demo, bool cocher)
    {
        Lanceur lanceur;
        OptionsLancement options;
        options.demo = demo;
        if (!lanceur.demarrer(options)) {
            ADD_FAILURE() << "start";
            return false;
        }
        auto* page = lanceur.fenetrePrincipale()->findChild<Bienvenue*>(QStringLiteral("Bienvenue"));
        if (!page)
            return false;
        EXPECT_TRUE(page->isVisible());
        EXPECT_FALSE(page->isModal());
        auto* boite = page->findChild<QCheckBox*>(QStringLiteral("nePlusAfficher"));
        EXPECT_EQ(boite->text(), QStringLiteral("Ne plus afficher"));
        EXPECT_FALSE(boite->isChecked());
        if (cocher)
            QTest::mouseClick(boite, Qt::LeftButton);
        QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("commencer")), Qt::LeftButton);
        EXPECT_FALSE(page->isVisible());
        return true;
    }
    QString cle() const
    {
        return INI32::ProfilINI(QStringLiteral("accueil"), QStringLiteral("ne plus afficher"), QStringLiteral("absente"),
                                Demarrage::CheminIniParDefaut(), 1);
    }
};

} // namespace

TEST_F(Bienvenue_, AFirstStartShowsTheThreeStepsUntilNePlusAfficherIsTicked)
{
    {
        Lanceur lanceur;
        ASSERT_TRUE(lanceur.demarrer(OptionsLancement{}));
        auto* page = lanceur.fenetrePrincipale()->findChild<Bienvenue*>(QStringLiteral("Bienvenue"));
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(page->findChild<QLabel*>(QStringLiteral("etape1"))->text().contains(QString::fromUtf8("« Paramètres »")));
        EXPECT_TRUE(page->findChild<QLabel*>(QStringLiteral("etape3"))->text().contains(QString::fromUtf8("« + »")));
        // What a new base already holds, and where the prices and the letterhead go.
        const QString etape2 = page->findChild<QLabel*>(QStringLiteral("etape2"))->text();
        for (const char* mot : {"Tarifs", "Établissement", "Confirmé, Option, Fermé"})
            EXPECT_TRUE(etape2.contains(QString::fromUtf8(mot))) << mot;
        // Escape closes it like "Commencer"; the unticked box is stored.
        QTest::keyClick(page, Qt::Key_Escape);
        EXPECT_FALSE(page->isVisible());
        EXPECT_EQ(cle(), QStringLiteral("0"));
    }
    EXPECT_TRUE(demarrer(false, false));
    EXPECT_EQ(cle(), QStringLiteral("0"));
    EXPECT_TRUE(demarrer(false, true));
    EXPECT_EQ(cle(), QStringLiteral("1"));
    EXPECT_FALSE(demarrer(false, false));
}

TEST_F(Bienvenue_, ADemoStartShowsNoWelcome)
{
    EXPECT_FALSE(demarrer(true, false));
    // The sample data is there now: a later plain start has no welcome either.
    EXPECT_FALSE(demarrer(false, false));
    EXPECT_EQ(cle(), QStringLiteral("absente"));
}
