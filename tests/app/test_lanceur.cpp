#include "config/chemins.h"
#include "app/demarrage.h"
#include "config/ini32.h"
#include "app/lanceur.h"
#include "app/root.h"
#include "config/positionfenetre.h"
#include "planning/surface.h"
#include "planning/form1.h"
#include "reservation/reservations.h"
#include "store/base.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/requetes.h"
#include "store/veilleurbase.h"
#include "bar/ticketdecaisse.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QScreen>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QLabel>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

#include "dossierdujour.h"

#include "testutil.h"

namespace {

using Lanceur_ = DossierDuJour;

} // namespace

TEST_F(Lanceur_, DemoStartShowsTheFrameAndTheCalendar)
{
    Lanceur lanceur;
    OptionsLancement options;
    options.demo = true;
    ASSERT_TRUE(lanceur.demarrer(options));
    ROOT* root = lanceur.fenetrePrincipale();
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(root->windowTitle().startsWith(QStringLiteral("Orvane Planning ")));
    EXPECT_EQ(root->menufichier.value(30)->text(), QStringLiteral("&Quitter"));
    EXPECT_EQ(root->menuoutil.value(30)->text(), QString::fromUtf8("&Mise à jour Internet"));
    EXPECT_EQ(root->menuoutil.value(50)->text(), QString::fromUtf8("&Paramètres"));

    Form1* calendrier = lanceur.calendrier();
    ASSERT_NE(calendrier, nullptr);
    EXPECT_EQ(calendrier->windowTitle(), QStringLiteral("Calendrier"));
    EXPECT_EQ(root->zone->subWindowList().size(), 1);
    EXPECT_EQ(calendrier->datedepart, QDate(2026, 12, 9));
    EXPECT_EQ(calendrier->choixannee->count(), 7);
    EXPECT_EQ(calendrier->choixannee->itemText(0), QStringLiteral("2025"));
    EXPECT_EQ(calendrier->choixmois->count(), 12);
    EXPECT_EQ(calendrier->ChoixSelection->findText(QStringLiteral("Tous")) >= 0, true);

    // The demo filled the new database; the states were read.
    const auto objets = Requetes::objets(lanceur.contexte.BaseOuverte);
    ASSERT_TRUE(objets.has_value());
    EXPECT_GT(objets->size(), 3);
    EXPECT_GE(lanceur.contexte.TableEtats.size(), 3);
    EXPECT_EQ(lanceur.contexte.NbClignotements, 10);
    EXPECT_EQ(lanceur.contexte.champsdansbarre, QStringLiteral("[nomclient] ([nbadultes]ad/[nbenfants]en)"));
}

TEST_F(Lanceur_, AFirstStartFillsNinetyPercentOfTheScreenAndTheCalendarFollowsTheFrame)
{
    // Nothing stored for the frame nor the calendar.
    INI32::ProfilINI(QStringLiteral("root"), QStringLiteral("Positions"), QStringLiteral("0"),
                     QStringLiteral("daduvuvav.ini"), 0);
    Lanceur lanceur;
    ASSERT_TRUE(lanceur.demarrer(OptionsLancement{}));
    ROOT* root = lanceur.fenetrePrincipale();
    const QRect ecran = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(root->geometry(), PositionFenetre::PremierePlace(ecran, 90));
    QWidget* cadre = lanceur.calendrier()->parentWidget();
    ASSERT_NE(cadre, nullptr);
    EXPECT_TRUE(cadre->windowState() & Qt::WindowMaximized);
    QApplication::processEvents();
    EXPECT_EQ(cadre->size(), root->zone->viewport()->size());
    // A larger frame: the calendar and its grid grow with it.
    const int grille = lanceur.calendrier()->planning->width();
    root->resize(root->width() + 200, root->height() + 100);
    QApplication::processEvents();
    EXPECT_EQ(cadre->size(), root->zone->viewport()->size());
    EXPECT_EQ(lanceur.calendrier()->planning->width(), grille + 200);

    // Restored to a normal size wider than a shrunk frame: brought back inside.
    cadre->showNormal();
    cadre->resize(root->zone->viewport()->size());
    root->resize(root->width() - 300, root->height() - 150);
    QApplication::processEvents();
    EXPECT_LE(cadre->width(), root->zone->viewport()->width());
    EXPECT_LE(cadre->height(), root->zone->viewport()->height());
}

TEST_F(Lanceur_, AnUnopenableDatabaseShowsTheMessageAndStops)
{
    const QString ini = Demarrage::CheminIniParDefaut();
    const QString mauvaise = m_dossier.filePath(QStringLiteral("absente.db"));
    INI32::ProfilINI("system", "database", mauvaise, ini, 0);
    QString messageVu;
    // Answer the message box as the user would.
    QTimer fermeur;
    QObject::connect(&fermeur, &QTimer::timeout, [&] {
        if (auto* boite = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            messageVu = boite->text();
            boite->accept();
        }
    });
    fermeur.start(20);
    Lanceur lanceur;
    EXPECT_FALSE(lanceur.demarrer(OptionsLancement{}));
    // The path, then why it did not open.
    EXPECT_EQ(messageVu, QString::fromUtf8("Problème d'ouverture de la Base de Données : ") + mauvaise
                             + QStringLiteral("\nle fichier n'existe pas"));
    // The backup slot of this start remains.
    EXPECT_EQ(INI32::ProfilINI("system", "sauvegardes numero", "?", ini, 1), QStringLiteral("1"));
}

TEST_F(Lanceur_, ToolsMenuOpensPublicationAndSettingsModally)
{
    Lanceur lanceur;
    OptionsLancement options;
    options.demo = true;
    ASSERT_TRUE(lanceur.demarrer(options));
    struct Cas { int index; const char* classe; };
    const Cas cas[] = {{30, "MiseAJourInternet"}, {50, "parametres"}};
    for (const Cas& c : cas) {
        QString ouverte;
        QTimer fermeur;
        QObject::connect(&fermeur, &QTimer::timeout, [&] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                ouverte = QString::fromLatin1(w->metaObject()->className());
                w->close();
            }
        });
        fermeur.start(20);
        lanceur.fenetrePrincipale()->menuoutil.value(c.index)->trigger();
        EXPECT_EQ(ouverte, QLatin1String(c.classe)) << c.index;
    }
}

TEST_F(Lanceur_, ClosingTheFrameEndsTheProgramEvenWithAReservationOpen)
{
    Lanceur lanceur;
    OptionsLancement options;
    options.demo = true;
    ASSERT_TRUE(lanceur.demarrer(options));
    lanceur.calendrier()->ouvrirBarre(1);
    QApplication::processEvents();
    ASSERT_TRUE(lanceur.calendrier()->fenetreReservation()->isVisible());
    bool fini = false;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&] { fini = true; });
    // The event loop the program runs in; quitting leaves it.
    QTimer::singleShot(0, [&] { lanceur.fenetrePrincipale()->close(); });
    QTimer::singleShot(2000, [] { QCoreApplication::exit(99); });
    const int code = QCoreApplication::exec();
    EXPECT_TRUE(fini);
    EXPECT_EQ(code, 0);
}

TEST_F(Lanceur_, ClosingTheCalendarHidesItAndTheWindowsMenuBringsItBack)
{
    Lanceur lanceur;
    OptionsLancement options;
    options.demo = true;
    ASSERT_TRUE(lanceur.demarrer(options));
    ROOT* root = lanceur.fenetrePrincipale();
    QMdiSubWindow* sousFenetre = root->zone->subWindowList().value(0);
    ASSERT_NE(sousFenetre, nullptr);
    ASSERT_TRUE(sousFenetre->close());
    QApplication::processEvents();
    ASSERT_NE(lanceur.calendrier(), nullptr);
    EXPECT_FALSE(sousFenetre->isVisible());

    // The settings refresh the calendar when a colour changes: it must still be there.
    QString ouverte;
    QTimer fermeur;
    QObject::connect(&fermeur, &QTimer::timeout, [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            ouverte = QString::fromLatin1(w->metaObject()->className());
            w->close();
        }
    });
    fermeur.start(20);
    root->menuoutil.value(50)->trigger();
    EXPECT_EQ(ouverte, QStringLiteral("parametres"));
    fermeur.stop();

    auto* entree = root->findChild<QAction*>(QStringLiteral("menucalendrier"));
    ASSERT_NE(entree, nullptr);
    EXPECT_EQ(entree->text(), QStringLiteral("Calendrier"));
    EXPECT_EQ(root->findChild<QMenu*>(QStringLiteral("menufenetres"))->title(), QString::fromUtf8("Fenêtres"));
    entree->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(sousFenetre->isVisible());
    EXPECT_EQ(root->zone->activeSubWindow(), sousFenetre);
    EXPECT_TRUE(lanceur.calendrier()->isVisible());
    lanceur.calendrier()->rafraichir();

    bool fini = false;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&] { fini = true; });
    QTimer::singleShot(0, [&] { root->menufichier.value(30)->trigger(); });
    QTimer::singleShot(2000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_TRUE(fini);
}

TEST_F(Lanceur_, AnotherDesksChangeShowsOnTheCalendarAndTheOpenAccount)
{
    // On a server, the folder's database is a database of its own there.
    std::optional<TestUtil::BaseTemporaire> serveur;
    if (TestUtil::SurPostgres()) {
        serveur.emplace(QStringLiteral("preparation"), TestUtil::BaseTemporaire::Isolement::BaseAPart);
        INI32::ProfilINI("system", "database", serveur->chemin(), Demarrage::CheminIniParDefaut(), 0);
    }
    Lanceur lanceur;
    OptionsLancement options;
    options.demo = true;
    ASSERT_TRUE(lanceur.demarrer(options));
    Form1* calendrier = lanceur.calendrier();
    const qsizetype barres = calendrier->Barres().size();
    ASSERT_GT(barres, 0);
    calendrier->ouvrirBarre(1);
    QApplication::processEvents();
    reservations* fenetre = calendrier->fenetreReservation();
    ASSERT_TRUE(fenetre->isVisible());
    const qint32 numero = fenetre->numreservation->text().toInt();
    const QStringList ticket = fenetre->Ticket->Lignes();

    // The second desk: another program on the same database.
    const QString chemin = Demarrage::LireCheminBase(Demarrage::CheminIniParDefaut());
    {
        const auto autre = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("autreposte"));
        ASSERT_TRUE(autre);
        QSqlQuery q(*autre);
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat, nbadultes, "
                                          "nbenfants) VALUES (3, 'Venu d''ailleurs', '2026-12-12 14:00:00', "
                                          "'2026-12-14 12:00:00', 1, 2, 0)")));
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) "
                                          "VALUES (%1, '2026-12-09 09:30:00', 40, 'ESP', 'Paiement ESP')").arg(numero)));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("autreposte"));

    // The watcher's next look (the file's once a second, the server's
    // announces as they come) finds the change.
    ASSERT_NE(lanceur.veilleur(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        lanceur.veilleur()->verifier();
        return calendrier->Barres().size() == barres + 1;
    }, 5000));
    EXPECT_EQ(fenetre->Ticket->Lignes().size(), ticket.size() + 2);
    EXPECT_TRUE(fenetre->Ticket->Lignes().contains(QStringLiteral("Paiement ESP")));
    // This desk's own writes are no news.
    QTest::qWait(TestUtil::SurPostgres() ? 400 : 0);
    EXPECT_FALSE(lanceur.veilleur()->verifier());
}
