// The calendar's selection of a category and the day's lists beside it, and
// the lists following a payment made in a reservation opened from the
// calendar, connected as the program connects them.
#include "outils.h"

#include "bar/bar.h"
#include "bar/encaissement.h"
#include "journee/fenetrejournee.h"
#include "planning/form1.h"
#include "reservation/reservations.h"
#include "store/conversion.h"
#include "ui/xpcmdbutton.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

namespace {

QSet<qint32> unitesDesBarres(const Form1& f)
{
    QSet<qint32> u;
    for (const Grille::Barre& b : f.Barres())
        u.insert(b.reservation.objet);
    return u;
}

class SelectionCalendrier : public JourneeTest
{
protected:
    void SetUp() override
    {
        JourneeTest::SetUp();
        m_bd.executer(QStringLiteral("UPDATE OBJETS SET Categorie = 'Chalet' WHERE Numero IN (1, 2)"));
        m_bd.executer(QStringLiteral("UPDATE OBJETS SET Categorie = 'Emplacement' WHERE Numero IN (3, 4)"));
    }

    std::unique_ptr<Form1> calendrier()
    {
        return TestUtil::Calendrier(&m_contexte, 2026, 633, 386);
    }

    // The day's lists, following the calendar as the program's frame makes them.
    std::unique_ptr<FenetreJournee> journee(Form1& f)
    {
        auto j = std::make_unique<FenetreJournee>(&m_contexte);
        j->choisirCategorie(f.categorieChoisie());
        QObject::connect(&f, &Form1::selectionChangee, j.get(), &FenetreJournee::choisirCategorie);
        QObject::connect(&f, &Form1::compteModifie, j.get(), &FenetreJournee::compteModifie);
        j->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(j.get()));
        return j;
    }

    // A choice in the calendar's selection box, as the list's click makes it.
    static void choisir(Form1& f, const QString& texte)
    {
        const int i = f.ChoixSelection->findText(texte);
        ASSERT_GE(i, 0) << texte.toStdString();
        f.ChoixSelection->setCurrentIndex(i);
        emit f.ChoixSelection->activated(i);
    }
};

} // namespace

TEST_F(SelectionCalendrier, ACategoryShowsOnlyItsUnitsAndIsKeptForTheNextStart)
{
    auto f = calendrier();
    auto j = journee(*f);
    QStringList entrees;
    for (int i = 0; i < f->ChoixSelection->count(); ++i)
        entrees << f->ChoixSelection->itemText(i);
    EXPECT_EQ(entrees, (QStringList{QStringLiteral("Tous"), QStringLiteral("Chalet"), QStringLiteral("Emplacement")}));
    EXPECT_EQ(f->ChoixSelection->currentText(), QStringLiteral("Tous"));
    // Unit 4 holds a stay without a client: a bar, in no list.
    EXPECT_EQ(unitesDesBarres(*f), (QSet<qint32>{1, 2, 3, 4}));
    EXPECT_EQ(colonne(j->arrivees, Journee::Client), QStringList{QStringLiteral("Dupont")});
    EXPECT_EQ(colonne(j->presents, Journee::Client).size(), 2);

    QSignalSpy annonces(f.get(), &Form1::selectionChangee);
    choisir(*f, QStringLiteral("Emplacement"));
    EXPECT_EQ(annonces.size(), 1);
    EXPECT_EQ(unitesDesBarres(*f), (QSet<qint32>{3, 4}));
    EXPECT_TRUE(colonne(j->arrivees, Journee::Client).isEmpty());
    EXPECT_EQ(colonne(j->presents, Journee::Client), QStringList{QString::fromUtf8("Gérard Lefèvre")});
    EXPECT_EQ(j->windowTitle(), QString::fromUtf8("Journée — Emplacement"));
    EXPECT_EQ(INI32::ProfilINI(QStringLiteral("Planning"), QStringLiteral("Selection"), QString(), m_contexte.CheminINI, 1),
              QStringLiteral("Emplacement"));

    // The next start: the calendar reads the choice back, from its first drawing.
    j.reset();
    f.reset();
    {
        Form1 premier(&m_contexte);
        premier.resize(633, 386);
        premier.fixerTailleCellules(20, 20);
        premier.rafraichir();
        EXPECT_EQ(unitesDesBarres(premier), (QSet<qint32>{3, 4}));
    }
    f = calendrier();
    j = journee(*f);
    EXPECT_EQ(f->categorieChoisie(), QStringLiteral("Emplacement"));
    EXPECT_EQ(f->ChoixSelection->currentText(), QStringLiteral("Emplacement"));
    EXPECT_EQ(unitesDesBarres(*f), (QSet<qint32>{3, 4}));
    EXPECT_EQ(colonne(j->presents, Journee::Client), QStringList{QString::fromUtf8("Gérard Lefèvre")});

    // "Tous" brings every unit back, in both windows.
    choisir(*f, QStringLiteral("Tous"));
    EXPECT_EQ(unitesDesBarres(*f), (QSet<qint32>{1, 2, 3, 4}));
    EXPECT_EQ(colonne(j->presents, Journee::Client).size(), 2);
    EXPECT_EQ(j->windowTitle(), QString::fromUtf8("Journée"));
}

TEST_F(SelectionCalendrier, ACategoryNoUnitCarriesAnyMoreShowsEveryUnit)
{
    INI32::ProfilINI(QStringLiteral("Planning"), QStringLiteral("Selection"), QStringLiteral("Chalet"),
                     m_contexte.CheminINI, 0);
    auto f = calendrier();
    auto j = journee(*f);
    EXPECT_EQ(unitesDesBarres(*f), (QSet<qint32>{1, 2}));
    EXPECT_EQ(colonne(j->arrivees, Journee::Client), QStringList{QStringLiteral("Dupont")});

    // The settings take the category away: the next refresh shows every
    // unit and the box loses the entry.
    m_bd.executer(QStringLiteral("UPDATE OBJETS SET Categorie = '' WHERE Numero IN (1, 2)"));
    f->rafraichir();
    EXPECT_EQ(f->categorieChoisie(), QStringLiteral("Tous"));
    EXPECT_EQ(f->ChoixSelection->currentText(), QStringLiteral("Tous"));
    EXPECT_EQ(f->ChoixSelection->findText(QStringLiteral("Chalet")), -1);
    EXPECT_EQ(unitesDesBarres(*f), (QSet<qint32>{1, 2, 3, 4}));
    EXPECT_EQ(colonne(j->presents, Journee::Client).size(), 2);
}

TEST_F(SelectionCalendrier, AStayOfAHiddenUnitFoundElsewhereShowsEveryUnit)
{
    auto f = calendrier();
    choisir(*f, QStringLiteral("Emplacement"));
    // Martin's chalet is hidden: going to his stay brings every unit back.
    ASSERT_TRUE(f->montrerReservation(m_martin));
    EXPECT_EQ(f->categorieChoisie(), QStringLiteral("Tous"));
    ASSERT_GT(f->reservation_courante, 0);
    EXPECT_EQ(f->Barres().at(f->reservation_courante - 1).reservation.numero, m_martin);
}

TEST_F(SelectionCalendrier, APaymentInTheReservationWindowShowsAtOnceInTheDaysLists)
{
    auto f = calendrier();
    auto j = journee(*f);
    const auto soldeMartin = [&] {
        for (int i = 0; i < j->presents->topLevelItemCount(); ++i)
            if (j->presents->topLevelItem(i)->text(Journee::Client) == QStringLiteral("Martin"))
                return j->presents->topLevelItem(i)->text(Journee::Solde);
        for (int i = 0; i < j->departs->topLevelItemCount(); ++i)
            if (j->departs->topLevelItem(i)->text(Journee::Client) == QStringLiteral("Martin"))
                return j->departs->topLevelItem(i)->text(Journee::Solde);
        return QString();
    };
    EXPECT_EQ(soldeMartin(), Conversion::Monnaie(-45));

    ASSERT_TRUE(f->ouvrirReservation(m_martin));
    reservations* r = f->fenetreReservation();
    ASSERT_TRUE(r->Encaisser->isEnabled());
    QTest::mouseClick(r->Encaisser, Qt::LeftButton, {}, r->Encaisser->rect().center());
    Encaissement* caisse = r->findChild<Encaissement*>();
    ASSERT_NE(caisse, nullptr);
    QTest::mouseClick(caisse->typereglemement.at(0), Qt::LeftButton, {}, caisse->typereglemement.at(0)->rect().center());
    caisse->montant->setText(QStringLiteral("45"));
    QTest::mouseClick(caisse->OK, Qt::LeftButton);
    ASSERT_EQ(valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE prix = 45")), 1);

    // No refresh asked, no event loop turned: the lists already follow.
    EXPECT_EQ(soldeMartin(), Conversion::Monnaie(0));

    // A sale in the bar opened from the same reservation, as the bar announces it.
    QTest::mouseClick(r->BoutonBAR, Qt::LeftButton, {}, r->BoutonBAR->rect().center());
    BAR* bar = r->findChild<BAR*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(Module1::EnregistrerOperation(m_bd.base(), m_martin, -4, QString(), QStringLiteral("BAR Café")));
    emit bar->operationEnregistree(m_martin);
    EXPECT_EQ(soldeMartin(), Conversion::Monnaie(-4));
    r->close();
}
