#include "seme.h"
#include "config/chemins.h"
#include "statistiques/graphiques.h"
#include "statistiques/statistiquesfenetre.h"
#include "store/base.h"
#include "store/dates.h"
#include "store/horloge.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Fenetre : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Horloge::fixer(Dates::naive(QDate(2026, 3, 15), QTime(10, 0)));
        Chemins::fixerDossierProgramme(base.dossier());
        contexte.BaseOuverte = base.base();
        contexte.CheminINI = base.dossier() + QStringLiteral("/planning.ini");
        TestUtil::ecrireFichier(contexte.CheminINI, "[facturation]\r\ntaxe de sejour=0.8\r\n");
    }
    void TearDown() override { Horloge::liberer(); }

    static QString cellule(QTableWidget* t, const QString& nom)
    {
        for (int i = 0; i < t->rowCount(); ++i)
            if (t->item(i, 0) && t->item(i, 0)->text() == nom)
                return t->item(i, 1)->text();
        return QStringLiteral("<absent>");
    }

    TestUtil::BaseTemporaire base{QStringLiteral("fenetre")};
    Contexte contexte;
};

} // namespace

// The user chooses a month, a year, a category and two dates; the tables
// and charts follow; a start after the end is told and empties them.
TEST_F(Fenetre, PeriodsAndCategoryChosenByTheUser)
{
    Seme::semer(base);
    StatistiquesFenetre f(&contexte);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    auto* resume = f.findChild<QTableWidget*>(QStringLiteral("tableresume"));
    auto* mois = f.findChild<QTableWidget*>(QStringLiteral("tablemois"));
    auto* unites = f.findChild<QTableWidget*>(QStringLiteral("tableunites"));
    auto* genre = f.findChild<QComboBox*>(QStringLiteral("genre"));
    auto* categorie = f.findChild<QComboBox*>(QStringLiteral("categorie"));
    ASSERT_TRUE(resume && mois && unites && genre && categorie);

    // Opening: the current month.
    EXPECT_EQ(cellule(resume, QStringLiteral("Nuitées vendues")), QStringLiteral("12"));
    EXPECT_EQ(f.findChild<QLabel*>(QStringLiteral("ignores"))->text(), QStringLiteral("2 séjours ignorés : dates illisibles"));
    EXPECT_EQ(mois->rowCount(), 1);
    EXPECT_EQ(f.graphiqueoccupation->chart()->title(), QStringLiteral("Occupation par mois"));

    genre->setCurrentIndex(StatistiquesFenetre::Annee);
    EXPECT_EQ(mois->rowCount(), 12);
    EXPECT_EQ(cellule(resume, QStringLiteral("Nuitées vendues")), QStringLiteral("18"));   // 4 in Feb, 2 in Apr

    ASSERT_EQ(categorie->count(), 3);   // all, "Chalet", "Emplacement"
    categorie->setCurrentIndex(categorie->findText(QStringLiteral("Chalet")));
    EXPECT_EQ(unites->rowCount(), 2);
    EXPECT_EQ(cellule(resume, QStringLiteral("Logements")), QStringLiteral("2"));

    genre->setCurrentIndex(StatistiquesFenetre::Dates);
    EXPECT_TRUE(f.debut->isVisible());
    EXPECT_FALSE(f.mois->isVisible());
    f.debut->setDate(QDate(2026, 4, 2));
    f.fin->setDate(QDate(2026, 4, 1));
    auto* message = f.findChild<QLabel*>(QStringLiteral("message"));
    EXPECT_EQ(message->text(), QStringLiteral("Le début de la période (02/04/2026) est après sa fin (01/04/2026)."));
    EXPECT_EQ(cellule(resume, QStringLiteral("Nuitées vendues")), QStringLiteral("0"));
    EXPECT_EQ(f.graphiqueunites->chart()->title(), Graphiques::AucuneDonnee());
    EXPECT_FALSE(f.Exporter->isEnabled());
}

// The occupancy bars take their states' colours; a state not sold has none.
TEST_F(Fenetre, OccupancyBarsInTheColoursOfTheStates)
{
    Seme::semer(base);
    base.executer(QStringLiteral("UPDATE ETATS SET CouleurPrincipale = %1 WHERE Code = 1").arg(0x0000FF));   // red
    base.executer(QStringLiteral("UPDATE ETATS SET CouleurPrincipale = %1 WHERE Code = 2").arg(0xFF0000));   // blue
    StatistiquesFenetre f(&contexte);
    auto* series = qobject_cast<QStackedBarSeries*>(f.graphiqueoccupation->chart()->series().value(0));
    ASSERT_NE(series, nullptr);
    ASSERT_EQ(series->count(), 2);
    EXPECT_EQ(series->barSets()[0]->label(), QStringLiteral("Confirmé"));
    EXPECT_EQ(series->barSets()[0]->color(), QColor(255, 0, 0));
    EXPECT_EQ(series->barSets()[1]->color(), QColor(0, 0, 255));
    // March: 8 confirmed nights and 4 of the option out of 93.
    EXPECT_NEAR(series->barSets()[0]->at(0), 800.0 / 93, 1e-9);
    EXPECT_NEAR(series->barSets()[1]->at(0), 400.0 / 93, 1e-9);
}

TEST_F(Fenetre, EmptyDatabaseShowsZerosAndNoData)
{
    StatistiquesFenetre f(&contexte);
    f.findChild<QComboBox*>(QStringLiteral("genre"))->setCurrentIndex(StatistiquesFenetre::Annee);
    auto* resume = f.findChild<QTableWidget*>(QStringLiteral("tableresume"));
    EXPECT_EQ(cellule(resume, QStringLiteral("Taux d'occupation (%)")), QStringLiteral("0,0"));
    EXPECT_EQ(cellule(resume, QStringLiteral("Durée moyenne de séjour (nuits)")), QStringLiteral("0,0"));
    for (QChartView* v : {f.graphiqueoccupation, f.graphiquerecettes, f.graphiqueunites}) {
        EXPECT_EQ(v->chart()->title(), Graphiques::AucuneDonnee()) << v->objectName().toStdString();
        EXPECT_TRUE(v->chart()->series().isEmpty());
    }
    EXPECT_FALSE(f.findChild<QLabel*>(QStringLiteral("ignores"))->isVisible());
}

// "Exporter" on the tax tab writes the shown table as CSV and the page as
// PDF in Documents, and says where.
TEST_F(Fenetre, ExportOfTheShownTab)
{
    Seme::semer(base);
    StatistiquesFenetre f(&contexte);
    struct Cas { int onglet; const char* nom; QByteArray contient; };
    const Cas cas[] = {
        {StatistiquesFenetre::Taxe, "taxe", "11,20"},
        {StatistiquesFenetre::ParMois, "mois", "mars 2026"},
        {StatistiquesFenetre::ParLogement, "logements", "Emplacement C;5;16,1;0,00"},
    };
    for (const Cas& c : cas) {
        f.onglets->setCurrentIndex(c.onglet);
        QTest::mouseClick(f.Exporter, Qt::LeftButton);
        const QString debut = base.dossier() + QStringLiteral("/Documents/statistiques_%1_2026-03-01_2026-03-31")
                                                   .arg(QLatin1String(c.nom));
        const QByteArray csv = TestUtil::lireFichier(debut + QStringLiteral(".csv"));
        EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF")) << c.nom;
        EXPECT_TRUE(csv.contains(c.contient)) << c.nom;
        EXPECT_TRUE(TestUtil::lireFichier(debut + QStringLiteral(".pdf")).startsWith("%PDF")) << c.nom;
        EXPECT_TRUE(f.message->text().startsWith(QStringLiteral("Exporté dans "))) << c.nom;
    }
}

// The user looks at what is still owed for March: the stay that ended with
// a balance, the stay with nights and nothing charged (no rate to price
// it: the reason is shown); the summary counts it; the tax tab says why
// the tax charged is not the tax due; "Exporter" writes the tab.
TEST_F(Fenetre, WhatIsStillOwedAndWhyTheTaxDiffers)
{
    Seme::semer(base);
    StatistiquesFenetre f(&contexte);
    auto* reste = f.findChild<QTableWidget*>(QStringLiteral("tablerestedu"));
    auto* resume = f.findChild<QTableWidget*>(QStringLiteral("tableresume"));
    ASSERT_TRUE(reste && resume);
    f.onglets->setCurrentIndex(StatistiquesFenetre::Reste);
    EXPECT_EQ(f.onglets->tabText(StatistiquesFenetre::Reste), QStringLiteral("Reste dû"));
    ASSERT_GE(reste->rowCount(), 2);
    auto texte = [&](int ligne, int colonne) { return reste->item(ligne, colonne) ? reste->item(ligne, colonne)->text() : QString(); };
    EXPECT_EQ(texte(0, 0), QStringLiteral("Terminé avec un solde dû"));
    EXPECT_EQ(texte(0, 1), QStringLiteral("1"));
    EXPECT_EQ(texte(0, 7), QStringLiteral("33,30"));
    EXPECT_EQ(texte(1, 0), QStringLiteral("Pas encore facturé"));
    EXPECT_EQ(texte(1, 1), QStringLiteral("5"));
    EXPECT_EQ(texte(1, 10), QStringLiteral("Aucun tarif pour la nuit du 15/03/2026 (catégorie Emplacement)."));
    EXPECT_EQ(cellule(resume, QStringLiteral("Séjours pas encore facturés")), QStringLiteral("1"));
    EXPECT_EQ(cellule(resume, QStringLiteral("Non facturés sans tarif")), QStringLiteral("1"));

    QTest::mouseClick(f.Exporter, Qt::LeftButton);
    const QByteArray csv = TestUtil::lireFichier(base.dossier()
                                                 + QStringLiteral("/Documents/statistiques_restedu_2026-03-01_2026-03-31.csv"));
    EXPECT_TRUE(csv.contains("Terminé avec un solde dû;1;Client 1;Chalet A;25/02/2026;04/03/2026;;33,30")) << csv.constData();

    f.onglets->setCurrentIndex(StatistiquesFenetre::Taxe);
    EXPECT_EQ(f.taxeecart->text(),
              QStringLiteral("Taxe due : 11,20 € ; facturée pour ces nuitées : 2,04 €. Écart : séjourné, pas encore "
                             "facturé 6,40 € ; autres écarts (adultes ou tarif changés depuis la facturation) 2,76 €."));
}
