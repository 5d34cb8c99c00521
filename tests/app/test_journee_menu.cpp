#include "app/lanceur.h"
#include "app/root.h"
#include "config/chemins.h"
#include "journee/boiterecherche.h"
#include "journee/fenetrejournee.h"
#include "planning/form1.h"
#include "store/dates.h"
#include "store/horloge.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "dossierdujour.h"

using MenuJournee = DossierDuJour;

TEST_F(MenuJournee, OneWindowBroughtBackAndFollowingTheCalendar)
{
    Lanceur lanceur;
    OptionsLancement options;
    options.demo = true;
    ASSERT_TRUE(lanceur.demarrer(options));
    ROOT* root = lanceur.fenetrePrincipale();
    EXPECT_EQ(root->menujournee->text(), QStringLiteral("Journée"));
    EXPECT_TRUE(root->menufenetres->actions().contains(root->menujournee));
    EXPECT_EQ(lanceur.journee(), nullptr);   // made on first use

    root->menujournee->trigger();
    FenetreJournee* journee = lanceur.journee();
    ASSERT_NE(journee, nullptr);
    EXPECT_TRUE(journee->isVisible());
    EXPECT_EQ(root->zone->subWindowList().size(), 2);
    // The demo's day: Durand arrives, five guests on site.
    EXPECT_EQ(journee->arrivees->topLevelItemCount(), 1);
    EXPECT_EQ(journee->presents->topLevelItemCount(), 5);

    // Closing hides it; the menu brings the same window back.
    root->zone->activeSubWindow()->close();
    EXPECT_FALSE(journee->isVisible());
    root->menujournee->trigger();
    EXPECT_EQ(lanceur.journee(), journee);
    EXPECT_TRUE(journee->isVisible());
    EXPECT_EQ(root->zone->subWindowList().size(), 2);

    // A redrawn calendar asks the lists to follow, a moment later.
    lanceur.calendrier()->rafraichir();
    QTimer* differe = nullptr;
    for (QTimer* t : journee->findChildren<QTimer*>())
        if (t != journee->minuit)
            differe = t;
    ASSERT_NE(differe, nullptr);
    EXPECT_TRUE(differe->isActive());
    EXPECT_TRUE(journee->minuit->isActive());

    // The search box sits in the tool strip.
    EXPECT_TRUE(root->Picture1->isAncestorOf(lanceur.recherche()->champrecherche));
}
