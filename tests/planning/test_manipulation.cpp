// The grid's direct manipulation as the desk does it with the mouse and the
// keyboard: a bar dragged to other days and another unit, its ends
// stretched, a new stay drawn with Shift, Escape, Ctrl+Z, the overlap
// question and another desk's change on a drop. Run on both engines.
#include "store/contexte.h"
#include "config/langues.h"
#include "facturation/comptesejour.h"
#include "planning/form1.h"
#include "planning/surface.h"
#include "reservation/reservations.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/requetes.h"
#include "store/requetes_reservation.h"
#include "testutil.h"
#include "ui/xpcmdbutton.h"

#include <QApplication>
#include <QComboBox>
#include <QScrollBar>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

class ManipulationGrille : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Horloge::fixer(Dates::naive(QDate(2007, 3, 15), QTime(10, 0)));
        contexte.BaseOuverte = base.base();
        contexte.NbClignotements = 10;
        contexte.CheminINI = dossier.filePath(QStringLiteral("planning.ini"));
        Langues::fixerFichier(contexte.CheminINI);
        TestUtil::Logements(base.base(), {1, 2, 3});
        base.executer(QStringLiteral("UPDATE OBJETS SET Nom = 'Chambre ' || Numero"));
    }
    void TearDown() override { Horloge::liberer(); }

    // A stay on a unit, days counted from 15 March 2007, 14:00 to 12:00.
    qint32 sejour(int objet, const char* client, int debut, int nuits)
    {
        const QDate d(2007, 3, 15);
        Requetes::Reservation r;
        r.objet = objet;
        r.nomclient = QString::fromUtf8(client);
        r.debut = Dates::naive(d.addDays(debut), QTime(14, 0));
        r.fin = Dates::naive(d.addDays(debut + nuits), QTime(12, 0));
        r.etat = 1;
        r.nbadultes = 2;
        QString erreur;
        const auto numero = Requetes::ajouterReservation(base.base(), r, &erreur);
        EXPECT_TRUE(numero.has_value()) << erreur.toStdString();
        return numero.value_or(0);
    }

    std::unique_ptr<Form1> fenetre()
    {
        return TestUtil::Calendrier(&contexte, 2007, 633, 386);
    }

    // The stored stay: "<unit> <arrival> <departure>".
    QString stocke(qint32 numero)
    {
        const auto r = Requetes::reservation(base.base(), numero);
        if (!r)
            return QStringLiteral("absente");
        return QStringLiteral("%1 %2 %3").arg(r->objet).arg(r->debut.toString(QStringLiteral("dd/MM hh:mm")),
                                                            r->fin.toString(QStringLiteral("dd/MM hh:mm")));
    }

    QString journal(qint32 numero)
    {
        return base.liste(QStringLiteral("SELECT libelle FROM OPERATIONS WHERE numeroreservation = %1 "
                                         "AND libelle LIKE '%placement%' ORDER BY date, libelle").arg(numero),
                          QStringLiteral("|"));
    }

    // Press, move through `points`, release at the last one; the messages shown.
    QStringList glisser(Form1* f, QPoint appui, const QList<QPoint>& points, Qt::KeyboardModifiers touches = {})
    {
        QTest::mousePress(f->planning, Qt::LeftButton, touches, appui);
        for (const QPoint& p : points)
            QTest::mouseMove(f->planning, p);
        return TestUtil::messagesPendant(
            [&] { QTest::mouseRelease(f->planning, Qt::LeftButton, touches, points.isEmpty() ? appui : points.last()); });
    }

    TestUtil::BaseTemporaire base{QStringLiteral("manipulation")};
    QTemporaryDir dossier;
    Contexte contexte;
};

} // namespace

TEST_F(ManipulationGrille, ABarDraggedGoesToAnotherUnitAndDaysInOneSave)
{
    const qint32 dupont = sejour(1, "Dupont", 2, 3);   // 17 to 20 March, x 54 .. 108 on row 0
    auto f = fenetre();
    QSignalSpy ouverture(f.get(), &Form1::barreCliquee);

    // Held and moved: a ghost on the target, its unit and dates beside the pointer.
    QTest::mousePress(f->planning, Qt::LeftButton, {}, QPoint(80, 10));
    QTest::mouseMove(f->planning, QPoint(82, 11));   // under 4 pixels: still a click
    EXPECT_TRUE(f->planning->fantome().isEmpty());
    QTest::mouseMove(f->planning, QPoint(120, 30));
    EXPECT_EQ(f->manipulation().mode(), Manipulation::Mode::Deplacement);
    const Grille::Rectangle g = Deplacement::fantome({1, Dates::naive(QDate(2007, 3, 19), QTime(14, 0)),
                                                     Dates::naive(QDate(2007, 3, 22), QTime(12, 0))},
                                                    f->datedepart, 0, 20, 20);
    EXPECT_EQ(f->planning->fantome(), QRect(QPoint(g.x1, g.y1), QPoint(g.x2, g.y2)));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Chambre 2 : du 19/03/2007 au 22/03/2007, 3 nuits"));
    EXPECT_EQ(stocke(dupont), QStringLiteral("1 17/03 14:00 20/03 12:00"));   // nothing written while held

    const QStringList messages = TestUtil::messagesPendant(
        [&] { QTest::mouseRelease(f->planning, Qt::LeftButton, {}, QPoint(120, 30)); });
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(ouverture.isEmpty());
    EXPECT_TRUE(f->planning->fantome().isEmpty());
    EXPECT_EQ(stocke(dupont), QStringLiteral("2 19/03 14:00 22/03 12:00"));
    EXPECT_EQ(journal(dupont),
              QStringLiteral("Déplacement : Chambre 1 du 17/03/2007 au 20/03/2007 → Chambre 2 du 19/03/2007 au 22/03/2007"));
    // The grid shows it there at once.
    ASSERT_EQ(f->Barres().size(), 1);
    EXPECT_EQ(f->Barres().at(0).reservation.objet, 2);
    EXPECT_EQ(f->Barres().at(0).r.x1, g.x1);

    // A press and release without moving still opens it.
    QTest::mousePress(f->planning, Qt::LeftButton, {}, QPoint(g.x1 + 20, 30));
    QTest::mouseRelease(f->planning, Qt::LeftButton, {}, QPoint(g.x1 + 22, 31));
    ASSERT_EQ(ouverture.size(), 1);
    EXPECT_TRUE(f->fenetreReservation()->isVisible());
    f->fenetreReservation()->close();
}

TEST_F(ManipulationGrille, TheEndsOfABarStretchItsDatesAndTheChargesFollow)
{
    // Rooms at 50 a night, the stay's charges posted.
    base.executer(QStringLiteral("UPDATE OBJETS SET Categorie = 'Chambre'"));
    base.executer(QStringLiteral("INSERT INTO TARIFS (Categorie, PremierJour, DernierJour, PrixNuit, TauxTVA) "
                                 "VALUES ('Chambre', '2007-01-01', '2007-12-31', 50, 10)"));
    const qint32 dupont = sejour(1, "Dupont", 2, 3);
    ASSERT_EQ(CompteSejour::PorterAuCompte(base.base(), dupont, contexte.CheminINI).resultat,
              CompteSejour::Resultat::Ecrit);
    const QString charges = QStringLiteral("SELECT sum(prix) FROM OPERATIONS WHERE numeroreservation = %1").arg(dupont);
    ASSERT_DOUBLE_EQ(base.valeur(charges).toDouble(), -150.0);
    auto f = fenetre();
    const Grille::Rectangle r = f->Barres().at(0).r;

    // At rest, the pointer over an end shows the sideways arrows.
    QTest::mouseMove(f->planning, QPoint(r.x2 - 1, 10));
    EXPECT_EQ(f->planning->cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(f->planning, QPoint((r.x1 + r.x2) / 2, 10));
    EXPECT_NE(f->planning->cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(f->planning, QPoint(r.x1 + 1, 10));
    EXPECT_EQ(f->planning->cursor().shape(), Qt::SizeHorCursor);

    // The departure one night later; moved down a row, it stays on its unit.
    EXPECT_TRUE(glisser(f.get(), QPoint(r.x2 - 1, 10), {QPoint(r.x2 + 5, 10), QPoint(r.x2 + 19, 30)}).isEmpty());
    EXPECT_EQ(stocke(dupont), QStringLiteral("1 17/03 14:00 21/03 12:00"));
    EXPECT_DOUBLE_EQ(base.valeur(charges).toDouble(), -200.0);
    // The arrival two nights earlier.
    EXPECT_TRUE(glisser(f.get(), QPoint(r.x1 + 1, 10), {QPoint(r.x1 - 10, 10), QPoint(r.x1 - 39, 10)}).isEmpty());
    EXPECT_EQ(stocke(dupont), QStringLiteral("1 15/03 14:00 21/03 12:00"));
    EXPECT_DOUBLE_EQ(base.valeur(charges).toDouble(), -300.0);
    // Past the other end: one night stays.
    EXPECT_TRUE(glisser(f.get(), QPoint(f->Barres().at(0).r.x1 + 1, 10), {QPoint(400, 10)}).isEmpty());
    EXPECT_EQ(stocke(dupont), QStringLiteral("1 20/03 14:00 21/03 12:00"));
    EXPECT_EQ(journal(dupont).count(QStringLiteral("Déplacement : ")), 3);
}

TEST_F(ManipulationGrille, ShiftDrawsANewStayOverFreeDaysWhileAPlainDragScrolls)
{
    sejour(2, "Martin", 10, 2);   // 25 to 27 March on row 1
    auto f = fenetre();
    // Shift from 23 March on row 1 to the 28th: stopped before Martin's nights.
    QTest::mousePress(f->planning, Qt::LeftButton, Qt::ShiftModifier, QPoint(8 * 20 + 10, 30));
    QTest::mouseMove(f->planning, QPoint(9 * 20 + 10, 35));
    EXPECT_FALSE(f->planning->fantome().isEmpty());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Chambre 2 : du 23/03/2007 au 25/03/2007, 2 nuits"));
    QTest::mouseMove(f->planning, QPoint(13 * 20 + 10, 30));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Chambre 2 : du 23/03/2007 au 25/03/2007, 2 nuits"));
    QTest::mouseMove(f->planning, QPoint(5 * 20 + 10, 30));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Chambre 2 : du 20/03/2007 au 24/03/2007, 4 nuits"));
    QTest::mouseRelease(f->planning, Qt::LeftButton, Qt::ShiftModifier, QPoint(5 * 20 + 10, 30));
    reservations* r = f->fenetreReservation();
    ASSERT_TRUE(r->isVisible());
    EXPECT_EQ(r->Objets->currentText(), QStringLiteral("2 : Chambre 2"));
    EXPECT_EQ(r->datedebut->text(), QStringLiteral("20/03/2007"));
    EXPECT_EQ(r->datefin->text(), QStringLiteral("24/03/2007"));
    EXPECT_EQ(r->Nbjour->text(), QStringLiteral("4"));
    QTest::mouseClick(r->Annuler, Qt::LeftButton);
    ASSERT_FALSE(r->isVisible());
    EXPECT_TRUE(f->planning->fantome().isEmpty());

    // Without Shift the same drag shows other days and proposes nothing.
    const QDate depart = f->datedepart;
    QTest::mousePress(f->planning, Qt::LeftButton, {}, QPoint(8 * 20 + 10, 30));
    QTest::mouseMove(f->planning, QPoint(5 * 20 + 10, 30));
    EXPECT_TRUE(QTest::qWaitFor([&] { return f->datedepart == depart.addDays(3); }, 5000));
    QTest::mouseRelease(f->planning, Qt::LeftButton, {}, QPoint(5 * 20 + 10, 30));
    EXPECT_TRUE(f->planning->fantome().isEmpty());
    EXPECT_FALSE(r->isVisible());
}

TEST_F(ManipulationGrille, EscapeOrAReleaseOutsideTheGridPutsItBack)
{
    const qint32 dupont = sejour(1, "Dupont", 2, 3);
    auto f = fenetre();
    QSignalSpy ouverture(f.get(), &Form1::barreCliquee);
    QTest::mousePress(f->planning, Qt::LeftButton, {}, QPoint(80, 10));
    QTest::mouseMove(f->planning, QPoint(120, 30));
    ASSERT_FALSE(f->planning->fantome().isEmpty());
    QTest::keyClick(f->planning, Qt::Key_Escape);
    EXPECT_TRUE(f->planning->fantome().isEmpty());
    EXPECT_FALSE(f->manipulation().actif());
    QTest::mouseRelease(f->planning, Qt::LeftButton, {}, QPoint(120, 30));
    EXPECT_EQ(stocke(dupont), QStringLiteral("1 17/03 14:00 20/03 12:00"));

    for (const QPoint dehors : {QPoint(-20, 30), QPoint(120, -5), QPoint(f->planning->width() + 3, 30)}) {
        EXPECT_TRUE(glisser(f.get(), QPoint(80, 10), {QPoint(120, 30), dehors}).isEmpty());
        EXPECT_EQ(stocke(dupont), QStringLiteral("1 17/03 14:00 20/03 12:00")) << dehors.x() << "," << dehors.y();
        EXPECT_TRUE(f->planning->fantome().isEmpty());
    }
    EXPECT_TRUE(ouverture.isEmpty());
    EXPECT_TRUE(journal(dupont).isEmpty());
}

TEST_F(ManipulationGrille, CtrlZUndoesTheLastMoveOnceWhileNobodyChangedTheStay)
{
    const qint32 dupont = sejour(1, "Dupont", 2, 3);
    auto f = fenetre();
    ASSERT_TRUE(glisser(f.get(), QPoint(80, 10), {QPoint(120, 30)}).isEmpty());
    ASSERT_EQ(stocke(dupont), QStringLiteral("2 19/03 14:00 22/03 12:00"));

    QStringList messages = TestUtil::messagesPendant([&] { QTest::keyClick(f->planning, Qt::Key_Z, Qt::ControlModifier); });
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(stocke(dupont), QStringLiteral("1 17/03 14:00 20/03 12:00"));
    EXPECT_TRUE(journal(dupont).endsWith(
        QStringLiteral("|Déplacement annulé : Chambre 2 du 19/03/2007 au 22/03/2007 → Chambre 1 du 17/03/2007 au 20/03/2007")))
        << journal(dupont).toStdString();
    // Once only.
    messages = TestUtil::messagesPendant([&] { QTest::keyClick(f->planning, Qt::Key_Z, Qt::ControlModifier); });
    EXPECT_EQ(messages, QStringList{QStringLiteral("Aucun déplacement fait sur le calendrier n'est à annuler.")});
    EXPECT_EQ(stocke(dupont), QStringLiteral("1 17/03 14:00 20/03 12:00"));

    // Moved again, then changed by another desk: the move stays, and the desk is told.
    ASSERT_TRUE(glisser(f.get(), QPoint(80, 10), {QPoint(120, 30)}).isEmpty());
    TestUtil::AutrePoste autre(base.chemin());
    ASSERT_TRUE(QSqlQuery(autre.base()).exec(
        QStringLiteral("UPDATE RESERVATIONS SET nomclient = 'Autre' WHERE NumeroReservation = %1").arg(dupont)));
    messages = TestUtil::messagesPendant([&] { QTest::keyClick(f->planning, Qt::Key_Z, Qt::ControlModifier); });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.at(0).contains(QStringLiteral("modifiée depuis son déplacement"))) << messages.at(0).toStdString();
    EXPECT_EQ(stocke(dupont), QStringLiteral("2 19/03 14:00 22/03 12:00"));
}

TEST_F(ManipulationGrille, ADropOverAnotherStayAsksFirst)
{
    const qint32 dupont = sejour(1, "Dupont", 2, 3);
    sejour(2, "Martin", 3, 3);
    auto f = fenetre();
    QStringList questions;
    bool reponse = false;
    f->questionChevauchement = [&](const QString& q) {
        questions << q;
        return reponse;
    };
    // "Non": the stay stays where it was, nothing written.
    EXPECT_TRUE(glisser(f.get(), QPoint(80, 10), {QPoint(80, 30)}).isEmpty());
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions.at(0).contains(QStringLiteral("Martin"))) << questions.at(0).toStdString();
    EXPECT_EQ(stocke(dupont), QStringLiteral("1 17/03 14:00 20/03 12:00"));
    EXPECT_TRUE(journal(dupont).isEmpty());
    EXPECT_EQ(f->Barres().at(0).reservation.objet, 1);
    // "Oui": saved over it, both shown sharing the row.
    reponse = true;
    EXPECT_TRUE(glisser(f.get(), QPoint(80, 10), {QPoint(80, 30)}).isEmpty());
    EXPECT_EQ(questions.size(), 2);
    EXPECT_EQ(stocke(dupont), QStringLiteral("2 17/03 14:00 20/03 12:00"));
    ASSERT_EQ(f->Barres().size(), 2);
    EXPECT_TRUE(f->Barres().at(0).chevauche);
}

TEST_F(ManipulationGrille, ADropOnAStayAnotherDeskChangedIsRefused)
{
    const qint32 dupont = sejour(1, "Dupont", 2, 3);
    auto f = fenetre();
    TestUtil::AutrePoste autre(base.chemin());
    ASSERT_TRUE(autre.ouverte());
    QTest::mousePress(f->planning, Qt::LeftButton, {}, QPoint(80, 10));
    QTest::mouseMove(f->planning, QPoint(120, 30));
    ASSERT_TRUE(QSqlQuery(autre.base()).exec(
        QStringLiteral("UPDATE RESERVATIONS SET DateFin = '2007-03-24 12:00:00' WHERE NumeroReservation = %1").arg(dupont)));
    const QStringList messages = TestUtil::messagesPendant(
        [&] { QTest::mouseRelease(f->planning, Qt::LeftButton, {}, QPoint(120, 30)); });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.at(0).startsWith(RequetesReservation::MessageModifieeAilleurs())) << messages.at(0).toStdString();
    EXPECT_EQ(stocke(dupont), QStringLiteral("1 17/03 14:00 24/03 12:00"));
    EXPECT_TRUE(journal(dupont).isEmpty());
    // The grid shows what the other desk stored.
    ASSERT_EQ(f->Barres().size(), 1);
    EXPECT_EQ(f->Barres().at(0).reservation.fin, Dates::naive(QDate(2007, 3, 24), QTime(12, 0)));
}

TEST_F(ManipulationGrille, AltAndTheArrowsMoveTheChosenStay)
{
    const qint32 dupont = sejour(1, "Dupont", 2, 3);
    auto f = fenetre();
    f->ligneChoisie = 0;
    f->jourChoisi = QDate(2007, 3, 18);
    f->planning->setFocus();
    struct Cas { Qt::Key touche; Qt::KeyboardModifiers touches; const char* attendu; };
    const Cas cas[] = {
        {Qt::Key_Right, Qt::AltModifier, "1 18/03 14:00 21/03 12:00"},
        {Qt::Key_Down, Qt::AltModifier, "2 18/03 14:00 21/03 12:00"},
        {Qt::Key_Right, Qt::AltModifier | Qt::ShiftModifier, "2 18/03 14:00 22/03 12:00"},
        {Qt::Key_Left, Qt::AltModifier, "2 17/03 14:00 21/03 12:00"},
        {Qt::Key_Up, Qt::AltModifier, "1 17/03 14:00 21/03 12:00"},
        {Qt::Key_Up, Qt::AltModifier, "1 17/03 14:00 21/03 12:00"},   // no unit above the first
        {Qt::Key_Left, Qt::AltModifier | Qt::ShiftModifier, "1 17/03 14:00 20/03 12:00"},
    };
    for (const Cas& c : cas) {
        const QStringList messages = TestUtil::messagesPendant([&] { QTest::keyClick(f->planning, c.touche, c.touches); });
        EXPECT_TRUE(messages.isEmpty()) << c.attendu;
        EXPECT_EQ(stocke(dupont), QString::fromLatin1(c.attendu)) << c.attendu;
    }
    EXPECT_EQ(journal(dupont).count(QStringLiteral("Déplacement : ")), 6);
    // The frame followed the stay.
    EXPECT_EQ(f->ligneChoisie, 0);
    EXPECT_EQ(f->jourChoisi, QDate(2007, 3, 18));
}

TEST_F(ManipulationGrille, TheGridScrollsWhileADragIsOverItsEdge)
{
    const qint32 dupont = sejour(1, "Dupont", 2, 3);
    auto f = fenetre();
    const QDate premier = f->datedepart;
    const int bord = f->planning->width() - 3;
    QTest::mousePress(f->planning, Qt::LeftButton, {}, QPoint(80, 10));
    QTest::mouseMove(f->planning, QPoint(bord, 10));
    f->Defileur->stop();   // its ticks are counted here
    f->Defileur_Timer();
    f->Defileur_Timer();
    EXPECT_EQ(f->datedepart, premier.addDays(2));
    const int jours = bord / 20 + 2 - 4;
    const QDate arrivee = QDate(2007, 3, 17).addDays(jours);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Chambre 1 : du %1 au %2, 3 nuits")
                                    .arg(arrivee.toString(QStringLiteral("dd/MM/yyyy")),
                                         arrivee.addDays(3).toString(QStringLiteral("dd/MM/yyyy"))));
    // Back inside the grid: the scrolling stops.
    QTest::mouseMove(f->planning, QPoint(bord - 40, 10));
    f->Defileur_Timer();
    EXPECT_EQ(f->datedepart, premier.addDays(2));
    EXPECT_TRUE(TestUtil::messagesPendant(
        [&] { QTest::mouseRelease(f->planning, Qt::LeftButton, {}, QPoint(bord - 40, 10)); }).isEmpty());
    EXPECT_EQ(stocke(dupont), QStringLiteral("1 %1 14:00 %2 12:00")
                                  .arg(arrivee.addDays(-2).toString(QStringLiteral("dd/MM")),
                                       arrivee.addDays(1).toString(QStringLiteral("dd/MM"))));
}

TEST_F(ManipulationGrille, TheRowsScrollWhileADragIsOverTheGridsBottom)
{
    const qint32 dupont = sejour(1, "Dupont", 2, 3);
    auto f = fenetre();
    f->resize(633, 120);   // two rows in sight of three
    QApplication::processEvents();
    ASSERT_TRUE(f->ascenseur->isVisible());
    const int bas = f->fondplanning->height() - f->planning->y() - 3;
    QTest::mousePress(f->planning, Qt::LeftButton, {}, QPoint(80, 10));
    QTest::mouseMove(f->planning, QPoint(80, bas));
    f->Defileur->stop();
    f->Defileur_Timer();
    EXPECT_EQ(f->premiereLigne, 1);
    f->Defileur_Timer();   // the last unit is in sight: no further
    EXPECT_EQ(f->premiereLigne, 1);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Chambre 3 : du 17/03/2007 au 20/03/2007, 3 nuits"));
    EXPECT_TRUE(TestUtil::messagesPendant(
        [&] { QTest::mouseRelease(f->planning, Qt::LeftButton, {}, QPoint(80, bas)); }).isEmpty());
    EXPECT_EQ(stocke(dupont), QStringLiteral("3 17/03 14:00 20/03 12:00"));
}

TEST_F(ManipulationGrille, ACancelledStayIsNeverDragged)
{
    const qint32 martin = sejour(1, "Martin", 2, 3);
    base.executer(QStringLiteral("UPDATE RESERVATIONS SET Annulation = '2007-03-10 10:00:00'"));
    auto f = fenetre();
    f->afficherAnnulations(true);
    ASSERT_EQ(f->Barres().size(), 1);
    const Grille::Rectangle r = f->Barres().at(0).r;
    QTest::mouseMove(f->planning, QPoint(r.x2 - 1, 10));
    EXPECT_NE(f->planning->cursor().shape(), Qt::SizeHorCursor);
    QTest::mousePress(f->planning, Qt::LeftButton, {}, QPoint(80, 10));
    QTest::mouseMove(f->planning, QPoint(120, 30));
    EXPECT_TRUE(f->planning->fantome().isEmpty());
    QTest::mouseRelease(f->planning, Qt::LeftButton, {}, QPoint(120, 30));
    f->ligneChoisie = 0;
    f->jourChoisi = QDate(2007, 3, 18);
    QTest::keyClick(f->planning, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(stocke(martin), QStringLiteral("1 17/03 14:00 20/03 12:00"));
    EXPECT_TRUE(journal(martin).isEmpty());
}
