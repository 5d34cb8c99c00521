#pragma once
// The start-up's tests run in a data folder of their own, on a fixed day
// (9 December 2026, 9:00), both given back at the end.
#include "config/chemins.h"
#include "store/dates.h"
#include "store/horloge.h"

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
