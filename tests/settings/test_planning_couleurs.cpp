// A colour chosen in the settings reaches the calendar's bars at once, even
// while the calendar blinks the bar last edited.
#include "store/contexte.h"
#include "config/langues.h"
#include "planning/form1.h"
#include "planning/surface.h"
#include "settings/parametres.h"
#include "store/dates.h"
#include "store/dialecte.h"
#include "store/horloge.h"
#include "testutil.h"

#include <QApplication>
#include <QColorDialog>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class CouleursDuPlanning : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Horloge::fixer(Dates::naive(QDate(2007, 3, 15), QTime(10, 0)));
        Langues::fixerFichier(base.dossier() + QStringLiteral("/planning.ini"));
        contexte.BaseOuverte = base.base();
        base.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chambre 1')"));
        base.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (2, 'Chambre 2')"));
    }
    void TearDown() override { Horloge::liberer(); }

    // A stay of three nights from the second shown day, in a given state.
    qint32 sejour(int objet, int etat)
    {
        QSqlQuery q(base.base());
        q.prepare(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) "
                                 "VALUES (:o, 'Client', :d, :f, :e)")
                  + Dialecte::retourNumero(base.base(), QStringLiteral("NumeroReservation")));
        q.bindValue(QStringLiteral(":o"), objet);
        q.bindValue(QStringLiteral(":d"), Dates::versTexteBase(Dates::naive(QDate(2007, 3, 17), QTime(14, 0))));
        q.bindValue(QStringLiteral(":f"), Dates::versTexteBase(Dates::naive(QDate(2007, 3, 20), QTime(12, 0))));
        q.bindValue(QStringLiteral(":e"), etat);
        EXPECT_TRUE(q.exec());
        return qint32(Dialecte::numeroInsere(q).value_or(0));
    }

    // A pixel of a bar's fill, clear of its label.
    QColor fondDeBarre(const Form1& f, int i)
    {
        const Grille::Barre& b = f.Barres().at(i);
        return f.planning->image().toImage().pixelColor(b.r.x2 - 2, b.r.y1 + 1);
    }

    TestUtil::BaseTemporaire base{QStringLiteral("planning_couleurs")};
    Contexte contexte;
};

TEST_F(CouleursDuPlanning, LesBarresPrennentLaNouvelleCouleurAuRafraichissement)
{
    const struct { int ligne; qint32 etat; QColor choisie; } cas[] = {
        {2, 3, QColor(10, 200, 30)},    // "Fermé"
        {0, 1, QColor(40, 60, 250)},    // "Confirmé", the blinking bar's state
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.etat);
        base.executer(QStringLiteral("DELETE FROM RESERVATIONS"));
        const qint32 clignotante = sejour(1, 1);
        sejour(2, 3);
        Form1 f(&contexte);
        f.resize(633, 386);
        f.fixerTailleCellules(20, 20);
        f.mouvementaujourdhui_Click();
        f.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        f.reservation_encours = clignotante;
        f.rafraichir();
        ASSERT_EQ(f.Barres().size(), 2);
        f.Clignotement->start();
        f.Clignotement_Timer();
        const QColor autreAvant = fondDeBarre(f, c.etat == 1 ? 1 : 0);

        parametres p(&contexte);
        // As the start-up wires them.
        QObject::connect(&p, &parametres::couleurChangee, &f, &Form1::rafraichir);
        QTimer reponse;
        QObject::connect(&reponse, &QTimer::timeout, [&] {
            if (auto* d = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) {
                d->setCurrentColor(c.choisie);
                d->accept();
            }
        });
        reponse.start(5);
        ASSERT_EQ(p.codeLigne(c.ligne), c.etat);
        p.fondchangercouleurs_Click(c.ligne);
        reponse.stop();

        const int barre = c.etat == 1 ? 0 : 1;
        EXPECT_EQ(fondDeBarre(f, barre).rgb(), c.choisie.rgb());
        EXPECT_EQ(fondDeBarre(f, 1 - barre).rgb(), autreAvant.rgb());   // the other state is untouched
        // The blink goes on over the new colour.
        f.Clignotement->start();
        f.Clignotement_Timer();
        EXPECT_EQ(fondDeBarre(f, barre).rgb(), c.choisie.rgb());
    }
}

} // namespace
