// The calendar's category beside "Tous", as the whole program shows it: the
// calendar and the day's lists follow it, the next start brings it back, and
// a payment made in a reservation opened from the calendar reaches the
// day's lists at once.
#include "app/lanceur.h"
#include "app/root.h"
#include "bar/encaissement.h"
#include "journee/fenetrejournee.h"
#include "planning/form1.h"
#include "reservation/reservations.h"
#include "store/conversion.h"
#include "ui/xpcmdbutton.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSqlQuery>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "dossierdujour.h"

namespace {

using SelectionProgramme = DossierDuJour;

QStringList clients(QTreeWidget* l)
{
    QStringList t;
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        t << l->topLevelItem(i)->text(Journee::Client);
    return t;
}

QSet<qint32> unitesDesBarres(const Form1* f)
{
    QSet<qint32> u;
    for (const Grille::Barre& b : f->Barres())
        u.insert(b.reservation.objet);
    return u;
}

void choisir(Form1* f, const QString& texte)
{
    const int i = f->ChoixSelection->findText(texte);
    ASSERT_GE(i, 0) << texte.toStdString();
    f->ChoixSelection->setCurrentIndex(i);
    emit f->ChoixSelection->activated(i);
}

} // namespace

TEST_F(SelectionProgramme, TheChosenCategoryFiltersBothWindowsAndComesBackAtTheNextStart)
{
    {
        Lanceur lanceur;
        OptionsLancement options;
        options.demo = true;
        ASSERT_TRUE(lanceur.demarrer(options));
        QSqlQuery q(lanceur.contexte.BaseOuverte);
        ASSERT_TRUE(q.exec(QStringLiteral("UPDATE OBJETS SET Categorie = 'Chambre' WHERE Numero < 10")));
        ASSERT_TRUE(q.exec(QStringLiteral("UPDATE OBJETS SET Categorie = 'Chalet' WHERE Numero IN (10, 11)")));
        ASSERT_TRUE(q.exec(QStringLiteral("UPDATE OBJETS SET Categorie = 'Emplacement' WHERE Numero >= 20")));
        Form1* f = lanceur.calendrier();
        f->rafraichir();
        EXPECT_EQ(f->ChoixSelection->count(), 4);   // "Tous" and the three categories

        lanceur.fenetrePrincipale()->menujournee->trigger();
        FenetreJournee* j = lanceur.journee();
        ASSERT_NE(j, nullptr);
        EXPECT_EQ(clients(j->presents).size(), 5);

        choisir(f, QStringLiteral("Emplacement"));
        EXPECT_EQ(unitesDesBarres(f), (QSet<qint32>{20, 21}));
        EXPECT_EQ(clients(j->presents), QStringList{QStringLiteral("Fournier")});
        EXPECT_TRUE(clients(j->arrivees).isEmpty());
    }
    Lanceur lanceur;
    ASSERT_TRUE(lanceur.demarrer(OptionsLancement{}));
    Form1* f = lanceur.calendrier();
    EXPECT_EQ(f->ChoixSelection->currentText(), QStringLiteral("Emplacement"));
    EXPECT_EQ(unitesDesBarres(f), (QSet<qint32>{20, 21}));
    // The day's lists, made after the start, take the calendar's choice.
    lanceur.fenetrePrincipale()->menujournee->trigger();
    EXPECT_EQ(clients(lanceur.journee()->presents), QStringList{QStringLiteral("Fournier")});
}

TEST_F(SelectionProgramme, APaymentInAReservationOpenedFromTheCalendarShowsAtOnceInTheDaysLists)
{
    Lanceur lanceur;
    OptionsLancement options;
    options.demo = true;
    ASSERT_TRUE(lanceur.demarrer(options));
    lanceur.fenetrePrincipale()->menujournee->trigger();
    FenetreJournee* j = lanceur.journee();
    ASSERT_NE(j, nullptr);
    QSqlQuery q(lanceur.contexte.BaseOuverte);
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT NumeroReservation FROM RESERVATIONS WHERE nomclient = 'Fournier'")));
    ASSERT_TRUE(q.next());
    const qint32 fournier = q.value(0).toInt();
    const auto solde = [&] {
        for (int i = 0; i < j->presents->topLevelItemCount(); ++i)
            if (j->presents->topLevelItem(i)->text(Journee::Client) == QStringLiteral("Fournier"))
                return j->presents->topLevelItem(i)->text(Journee::Solde);
        return QString();
    };
    EXPECT_EQ(solde(), Conversion::Monnaie(0));

    ASSERT_TRUE(lanceur.calendrier()->ouvrirReservation(fournier));
    reservations* r = lanceur.calendrier()->fenetreReservation();
    QTest::mouseClick(r->Encaisser, Qt::LeftButton, {}, r->Encaisser->rect().center());
    Encaissement* caisse = r->findChild<Encaissement*>();
    ASSERT_NE(caisse, nullptr);
    QTest::mouseClick(caisse->typereglemement.at(0), Qt::LeftButton, {}, caisse->typereglemement.at(0)->rect().center());
    caisse->montant->setText(QStringLiteral("60"));
    QTest::mouseClick(caisse->OK, Qt::LeftButton);
    EXPECT_EQ(solde(), Conversion::Monnaie(60));
    r->close();
}
