// The calendar with more units than rows fit: the scroll bar at the right of
// the grid, the wheel over the grid and the unit names, rows and names kept
// together, clicks on scrolled bars, and the first shown row across refreshes.
#include "store/contexte.h"
#include "config/langues.h"
#include "planning/form1.h"
#include "planning/surface.h"
#include "reservation/reservations.h"
#include "reservation/zonetexte.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "testutil.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QDate kJour(2007, 3, 15);

class Defilement : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Horloge::fixer(Dates::naive(kJour, QTime(10, 0)));
        contexte.BaseOuverte = base.base();
        contexte.CheminINI = base.dossier() + QStringLiteral("/planning.ini");
        Langues::fixerFichier(contexte.CheminINI);
    }
    void TearDown() override { Horloge::liberer(); }

    // Units numbered premier to dernier, named after their number.
    void unites(int premier, int dernier)
    {
        QSqlQuery q(base.base());
        q.prepare(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (:n, :nom)"));
        for (int u = premier; u <= dernier; ++u) {
            q.bindValue(QStringLiteral(":n"), u);
            q.bindValue(QStringLiteral(":nom"), QStringLiteral("Emplacement %1").arg(u));
            ASSERT_TRUE(q.exec());
        }
    }

    // A stay on a unit from day `debut` (counted from kJour) at 14:00.
    void sejour(int objet, const QString& client, int debut, int nuits)
    {
        QSqlQuery q(base.base());
        q.prepare(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) "
                                 "VALUES (:o, :c, :d, :f, 1)"));
        q.bindValue(QStringLiteral(":o"), objet);
        q.bindValue(QStringLiteral(":c"), client);
        q.bindValue(QStringLiteral(":d"), Dates::versTexteBase(Dates::naive(kJour.addDays(debut), QTime(14, 0))));
        q.bindValue(QStringLiteral(":f"),
                    Dates::versTexteBase(Dates::naive(kJour.addDays(debut + nuits), QTime(12, 0))));
        ASSERT_TRUE(q.exec());
    }

    // The usual 633 x 386 window: 15 whole rows of 20 pixels fit.
    std::unique_ptr<Form1> fenetre()
    {
        auto f = std::make_unique<Form1>(&contexte);
        f->resize(633, 386);
        f->fixerTailleCellules(20, 20);
        f->mouvementaujourdhui_Click();
        f->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(f.get()));
        f->rafraichir();
        return f;
    }

    TestUtil::BaseTemporaire base{QStringLiteral("defilement")};
    Contexte contexte;
};

// Turns the wheel over a widget, one event per notch (negative: towards the user).
void molette(QWidget* cible, int crans)
{
    const QPointF ici(10, 10);
    for (int i = 0; i < std::abs(crans); ++i) {
        QWheelEvent e(ici, cible->mapToGlobal(ici), QPoint(), QPoint(0, crans < 0 ? -120 : 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(cible, &e);
    }
}

QImage bande(Surface* s, int y)
{
    return s->image().toImage().copy(0, y, s->width(), 20);
}

} // namespace

TEST_F(Defilement, ScrollBarShowsOnlyWhenTheUnitsDoNotFit)
{
    struct Cas { int nombre; bool visible; int maximum; };
    // 370-pixel container: a grid 306 pixels high from its top, 15 rows.
    const Cas cas[] = {{2, false, 0}, {15, false, 0}, {16, true, 1}, {40, true, 25}};
    int deja = 0;
    for (const Cas& c : cas) {
        unites(deja + 1, c.nombre);
        deja = c.nombre;
        auto f = fenetre();
        QScrollBar* ascenseur = f->findChild<QScrollBar*>(QStringLiteral("ascenseur"));
        ASSERT_EQ(ascenseur, f->ascenseur);
        EXPECT_EQ(ascenseur->isVisible(), c.visible) << c.nombre;
        EXPECT_EQ(ascenseur->maximum(), c.maximum) << c.nombre;
        const int droite = f->planning->x() + f->planning->width();
        if (c.visible) {
            // At the container's right edge, beside the grid, from the grid's top down.
            EXPECT_EQ(ascenseur->parentWidget(), f->fondplanning);
            EXPECT_EQ(ascenseur->geometry().right(), f->fondplanning->width() - 1);
            EXPECT_EQ(ascenseur->y(), f->planning->y());
            EXPECT_EQ(ascenseur->geometry().bottom(), f->fondplanning->height() - 1);
            EXPECT_EQ(droite, ascenseur->x());
            EXPECT_EQ(ascenseur->pageStep(), 15);
        } else {
            EXPECT_EQ(droite, f->fondplanning->width());
        }
        EXPECT_EQ(f->lesmois->width(), f->planning->width());
        EXPECT_EQ(f->TexteColonnes->width(), f->planning->width());
    }
}

TEST_F(Defilement, WheelOverTheGridOrTheNamesScrollsByRows)
{
    unites(1, 40);
    auto f = fenetre();
    const int parCran = std::min(QApplication::wheelScrollLines(), f->ascenseur->pageStep());
    ASSERT_GT(parCran, 0);
    struct Pas { Surface* cible; int crans; int premiere; };
    const Pas pas[] = {
        {f->planning, -1, parCran},      // towards the user: later units
        {f->Objets, -2, 3 * parCran},
        {f->planning, 1, 2 * parCran},
        {f->Objets, 20, 0},              // stops at the first unit
        {f->planning, -40, 25},          // and at the last one at the bottom
        {f->lesmois, 1, 25},             // the month strip does not scroll the rows
    };
    for (const Pas& p : pas) {
        molette(p.cible, p.crans);
        EXPECT_EQ(f->premiereLigne, p.premiere) << p.cible->objectName().toStdString() << " " << p.crans;
        EXPECT_EQ(f->ascenseur->value(), f->premiereLigne);
    }
    // The last unit's row ends inside the visible part of the grid.
    EXPECT_LE(Grille::hautLigne(39, f->premiereLigne, 20) + 20, f->fondplanning->height() - f->planning->y());

    // All units fitting, the wheel leaves the grid alone.
    base.executer(QStringLiteral("DELETE FROM OBJETS WHERE Numero > 5"));
    f->rafraichir();
    EXPECT_EQ(f->premiereLigne, 0);
    molette(f->planning, -1);
    EXPECT_EQ(f->premiereLigne, 0);
}

TEST_F(Defilement, NamesAndBarsMoveTogetherWithTheirRows)
{
    unites(1, 40);
    sejour(6, QStringLiteral("Sixième"), 1, 4);
    sejour(7, QStringLiteral("Septième"), 3, 2);
    auto f = fenetre();
    // Rows 5 and 6 at y = 100 and 120, then scrolled to the top.
    const QImage nomsAvant = bande(f->Objets, 100).copy();
    const QImage grilleAvant = bande(f->planning, 100);
    const QImage suivanteAvant = bande(f->planning, 120);
    f->ascenseur->setValue(5);
    EXPECT_EQ(f->premiereLigne, 5);
    EXPECT_EQ(bande(f->Objets, 0), nomsAvant);
    EXPECT_EQ(bande(f->planning, 0), grilleAvant);
    EXPECT_EQ(bande(f->planning, 20), suivanteAvant);
    EXPECT_NE(bande(f->Objets, 0), bande(f->Objets, 20));   // another name below

    // The table of bars follows: both on their new row tops.
    ASSERT_EQ(f->Barres().size(), 2);
    EXPECT_EQ(f->Barres().at(0).hautLigne, 0);
    EXPECT_EQ(f->Barres().at(1).hautLigne, 20);
    EXPECT_EQ(f->Barres().at(0).r.y1, 2);
}

TEST_F(Defilement, ClickOnAScrolledBarOpensItsReservation)
{
    unites(1, 40);
    // The same days on units 5 and 30, rows 4 and 29.
    sejour(5, QStringLiteral("Haut"), 2, 3);
    sejour(30, QStringLiteral("Bas"), 2, 3);
    auto f = fenetre();
    struct Cas { int premiere; QPoint clic; const char* client; };
    const Cas cas[] = {
        {0, {80, 90}, "Haut"},    // row 4 at y = 80
        {25, {80, 90}, "Bas"},    // row 29 at y = 80 now
        {25, {80, 70}, nullptr},  // the row above it is empty
        {4, {80, 10}, "Haut"},
        {24, {80, 110}, "Bas"},
    };
    for (const Cas& c : cas) {
        f->ascenseur->setValue(c.premiere);
        ASSERT_EQ(f->premiereLigne, c.premiere);
        QSignalSpy ouverture(f.get(), &Form1::barreCliquee);
        QTest::mousePress(f->planning, Qt::LeftButton, {}, c.clic);
        QTest::mouseRelease(f->planning, Qt::LeftButton, {}, c.clic);
        if (!c.client) {
            EXPECT_TRUE(ouverture.isEmpty()) << c.premiere;
            continue;
        }
        ASSERT_EQ(ouverture.size(), 1) << c.premiere;
        reservations* r = f->fenetreReservation();
        EXPECT_EQ(r->NomClient->text(), QString::fromUtf8(c.client)) << c.premiere;
        r->close();
        // The refresh after the window keeps the rows where they were.
        EXPECT_TRUE(f->isEnabled());
        EXPECT_EQ(f->premiereLigne, c.premiere);
        f->Clignotement->stop();
    }
}

TEST_F(Defilement, FirstShownRowIsKeptAcrossRefreshesAndClamped)
{
    unites(1, 40);
    auto f = fenetre();
    f->ascenseur->setValue(20);
    struct Pas { const char* quoi; std::function<void()> action; int premiere; bool barre; };
    const Pas pas[] = {
        {"next day", [&] { f->datedepart = f->datedepart.addDays(1); f->rafraichir(); }, 20, true},
        {"today", [&] { f->mouvementaujourdhui_Click(); }, 20, true},
        {"taller window", [&] { f->resize(633, 486); QApplication::processEvents(); }, 20, true},
        {"units removed", [&] {
             base.executer(QStringLiteral("DELETE FROM OBJETS WHERE Numero > 30"));
             f->rafraichir();
         }, 10, true},   // 30 units, 20 rows: the last one at the bottom
        {"shorter window", [&] { f->resize(633, 386); QApplication::processEvents(); }, 10, true},
        {"few units left", [&] {
             base.executer(QStringLiteral("DELETE FROM OBJETS WHERE Numero > 3"));
             f->rafraichir();
         }, 0, false},
        {"units back", [&] { unites(4, 40); f->rafraichir(); }, 0, true},   // from the top, scroll bar again
    };
    for (const Pas& p : pas) {
        p.action();
        EXPECT_EQ(f->premiereLigne, p.premiere) << p.quoi;
        EXPECT_EQ(f->ascenseur->value(), p.premiere) << p.quoi;
        EXPECT_EQ(f->ascenseur->isVisible(), p.barre) << p.quoi;
    }

    // 40 units scrolled halfway, for a look at the window.
    if (qEnvironmentVariableIsSet("DEFILEMENT_CAPTURE")) {
        for (int u = 1; u <= 40; ++u)
            sejour(u, QStringLiteral("Client %1").arg(u), (u * 7) % 12 - 2, 2 + u % 5);
        f->resize(633, 386);
        QApplication::processEvents();
        f->ascenseur->setValue(f->ascenseur->maximum() / 2);
        f->grab().save(qEnvironmentVariable("DEFILEMENT_CAPTURE"));
    }
}
