#pragma once
// The start-up's tests run in a data folder of their own, on a fixed day
// (9 December 2026, 9:00), both given back at the end.
#include "app/lanceur.h"
#include "app/root.h"
#include "config/chemins.h"
#include "store/dates.h"
#include "store/horloge.h"

#include <QAction>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class DossierDuJour : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Chemins::fixerDossierProgramme(m_dossier.path());
        Horloge::fixer(Dates::naive(QDate(2026, 12, 9), QTime(9, 0)));
    }
    void TearDown() override
    {
        Horloge::liberer();
        Chemins::fixerDossierProgramme(QString());
    }
    QTemporaryDir m_dossier;
};

// Chooses the entry of the "Outils" menu at `position` twice, checking its
// caption: the windows of that kind the program then holds (one is wanted).
template <class Fenetre>
QList<Fenetre*> ChoisirDeuxFois(Lanceur& lanceur, int position, const QString& libelle)
{
    QAction* entree = lanceur.fenetrePrincipale()->menuoutil.value(position);
    EXPECT_NE(entree, nullptr);
    if (!entree)
        return {};
    EXPECT_EQ(entree->text(), libelle);
    entree->trigger();
    entree->trigger();
    return lanceur.fenetrePrincipale()->findChildren<Fenetre*>();
}
