// The frame's windows come back as they were left: a second start finds the
// calendar and the day's lists at their place, size and state, the grid
// filling its window.
#include "config/ini32.h"
#include "config/saveposition.h"
#include "journee/fenetrejournee.h"
#include "planning/form1.h"
#include "planning/surface.h"

#include <QApplication>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "dossierdujour.h"

namespace {

using RetourDesFenetres = DossierDuJour;

QMdiSubWindow* cadreDe(QWidget* fenetre)
{
    return qobject_cast<QMdiSubWindow*>(fenetre->parentWidget());
}

// What each keeper writes a second later, as its timer does.
void laisserRegarder(Lanceur& lanceur)
{
    for (int tour = 0; tour < 2; ++tour) {
        QApplication::processEvents();
        for (QObject* fenetre : {static_cast<QObject*>(lanceur.calendrier()), static_cast<QObject*>(lanceur.journee())})
            if (fenetre)
                for (SavePosition* garde : fenetre->findChildren<SavePosition*>())
                    garde->Timer1_Timer();
    }
}

void placer(QMdiSubWindow* cadre, bool agrandie, const QRect& place)
{
    if (agrandie) {
        cadre->showMaximized();
    } else {
        cadre->showNormal();
        cadre->setGeometry(place);
    }
    QApplication::processEvents();
}

void demarrer(Lanceur& lanceur)
{
    ASSERT_TRUE(lanceur.demarrer(OptionsLancement{}));
    lanceur.fenetrePrincipale()->menujournee->trigger();
    QApplication::processEvents();
    ASSERT_NE(lanceur.journee(), nullptr);
}

// The calendar's grid reaches the window's right and bottom edges.
void grilleRemplit(Form1* f)
{
    const int marge = f->fondplanning->x();
    EXPECT_EQ(f->fondplanning->width(), f->width() - 2 * marge);
    EXPECT_EQ(f->fondplanning->y() + f->fondplanning->height() + marge, f->height());
    const int ascenseur = f->ascenseur->isVisible() ? f->ascenseur->width() : 0;
    EXPECT_EQ(f->planning->x() + f->planning->width() + ascenseur, f->fondplanning->width());
    EXPECT_GE(f->planning->y() + f->planning->height(), f->fondplanning->height());
}

void verifier(QMdiSubWindow* cadre, bool agrandie, const QRect& place)
{
    EXPECT_EQ(cadre->isMaximized(), agrandie);
    if (agrandie)
        EXPECT_EQ(cadre->geometry(), cadre->mdiArea()->viewport()->rect());
    else
        EXPECT_EQ(cadre->geometry(), place);
}

} // namespace

TEST_F(RetourDesFenetres, UnSecondDemarrageRetrouveLesFenetresCommeLaissees)
{
    struct Cas {
        const char* nom;
        const char* etatCadre;   // the main frame: "0" normal, "2" maximised
        bool calendrierAgrandi;
        QRect calendrier;
        bool journeeAgrandie;
        QRect journee;
    };
    const Cas cas[] = {
        {"côte à côte", "0", false, {10, 20, 430, 300}, false, {60, 90, 720, 420}},
        {"calendrier agrandi", "0", true, {}, false, {30, 40, 730, 400}},
        {"tous deux agrandis dans un cadre agrandi", "2", true, {}, true, {}},
        {"cadre agrandi, fenêtres normales", "2", false, {5, 5, 640, 350}, false, {40, 60, 700, 420}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        // The frame at the whole test screen, in the state of the case.
        INI32::ProfilINI(QStringLiteral("root"), QStringLiteral("Positions"), QStringLiteral("0|0|12000|9000"),
                         QStringLiteral("daduvuvav.ini"), 0);
        INI32::ProfilINI(QStringLiteral("root"), QStringLiteral("PositionsTaille"), QString::fromLatin1(c.etatCadre),
                         QStringLiteral("daduvuvav.ini"), 0);
        {
            Lanceur premier;
            demarrer(premier);
            if (HasFatalFailure())
                return;
            placer(cadreDe(premier.calendrier()), c.calendrierAgrandi, c.calendrier);
            placer(cadreDe(premier.journee()), c.journeeAgrandie, c.journee);
            laisserRegarder(premier);
        }

        Lanceur second;
        demarrer(second);
        if (HasFatalFailure())
            return;
        for (int regard = 0; regard < 2; ++regard) {
            SCOPED_TRACE(regard == 0 ? "au démarrage" : "après le premier regard des gardiens");
            verifier(cadreDe(second.calendrier()), c.calendrierAgrandi, c.calendrier);
            verifier(cadreDe(second.journee()), c.journeeAgrandie, c.journee);
            grilleRemplit(second.calendrier());
            laisserRegarder(second);
        }
    }
}

TEST_F(RetourDesFenetres, UneJourneeRangeeTropEtroiteRevientAvecToutesSesColonnes)
{
    INI32::ProfilINI(QStringLiteral("root"), QStringLiteral("Positions"), QStringLiteral("0|0|12000|9000"),
                     QStringLiteral("daduvuvav.ini"), 0);
    INI32::ProfilINI(QStringLiteral("root"), QStringLiteral("PositionsTaille"), QStringLiteral("0"),
                     QStringLiteral("daduvuvav.ini"), 0);
    Lanceur lanceur;
    ASSERT_TRUE(lanceur.demarrer(OptionsLancement{}));
    lanceur.calendrier()->parentWidget()->showNormal();
    // 310 x 200 pixels at (30, 15).
    INI32::ProfilINI(QStringLiteral("Journee"), QStringLiteral("Positions"), QStringLiteral("450|225|4650|3000"),
                     lanceur.contexte.CheminINI, 0);
    INI32::ProfilINI(QStringLiteral("Journee"), QStringLiteral("PositionsTaille"), QStringLiteral("0"),
                     lanceur.contexte.CheminINI, 0);
    lanceur.fenetrePrincipale()->menujournee->trigger();
    QApplication::processEvents();
    FenetreJournee* journee = lanceur.journee();
    ASSERT_NE(journee, nullptr);
    EXPECT_EQ(cadreDe(journee)->pos(), QPoint(30, 15));
    EXPECT_GT(cadreDe(journee)->width(), 310);
    // Every column ends inside its list and inside the window.
    QWidget* cadre = cadreDe(journee);
    for (QTreeWidget* liste : {journee->arrivees, journee->departs, journee->presents}) {
        QHeaderView* entete = liste->header();
        for (int colonne = 0; colonne < entete->count(); ++colonne) {
            const int fin = entete->sectionViewportPosition(colonne) + entete->sectionSize(colonne);
            EXPECT_LE(fin, liste->viewport()->width()) << liste->objectName().toStdString() << " " << colonne;
            EXPECT_LT(liste->viewport()->mapTo(cadre, QPoint(fin, 0)).x(), cadre->width())
                << liste->objectName().toStdString() << " " << colonne;
        }
    }
}
