// The calendar window on a temporary database: drawing, navigation, held
// day buttons, blinking, mouse on the grid, and bad data.
#include "store/contexte.h"
#include "config/langues.h"
#include "planning/form1.h"
#include "planning/surface.h"
#include "reservation/reservations.h"
#include "reservation/zonetexte.h"
#include "store/base.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "testutil.h"
#include "ui/xpcmdbutton.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <QHelpEvent>
#include <gtest/gtest.h>

namespace {

const QColor kRouge(0xDC, 0x14, 0x3C);   // state 1, "Confirmé"

class Calendrier : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Horloge::fixer(Dates::naive(QDate(2007, 3, 15), QTime(10, 0)));
        contexte.BaseOuverte = base.base();
        contexte.NbClignotements = 10;
        contexte.CheminINI = dossier.filePath(QStringLiteral("planning.ini"));
        Langues::fixerFichier(contexte.CheminINI);
        executer("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chambre 1')");
        executer("INSERT INTO OBJETS (Numero, Nom) VALUES (2, 'Chambre 2')");
    }
    void TearDown() override { Horloge::liberer(); }

    // The calendar draws whatever the file holds, an older program's rows too.
    void executer(const char* sql) { base.executerHorsRegles(QString::fromUtf8(sql)); }

    // A stay on a unit, days counted from 15 March 2007.
    qint32 sejour(int objet, const char* client, int debut, int nuits, int etat = 1)
    {
        const QDate d(2007, 3, 15);
        QSqlQuery q(base.base());
        q.prepare(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat, nbadultes, "
                                 "nbenfants) VALUES (:o, :c, :d, :f, :e, 2, 1)"));
        q.bindValue(QStringLiteral(":o"), objet);
        q.bindValue(QStringLiteral(":c"), QString::fromUtf8(client));
        q.bindValue(QStringLiteral(":d"), Dates::versTexteBase(Dates::naive(d.addDays(debut), QTime(14, 0))));
        q.bindValue(QStringLiteral(":f"), Dates::versTexteBase(Dates::naive(d.addDays(debut + nuits), QTime(12, 0))));
        q.bindValue(QStringLiteral(":e"), etat);
        // The calendar draws whatever the file holds, an older program's rows too.
        const TestUtil::SansRegles anciennes(base.base());
        EXPECT_TRUE(q.exec());
        return q.lastInsertId().toInt();
    }

    std::unique_ptr<Form1> fenetre(int largeur = 633, int hauteur = 386)
    {
        return TestUtil::Calendrier(&contexte, 2007, largeur, hauteur);
    }

    TestUtil::BaseTemporaire base{QStringLiteral("form1")};
    QTemporaryDir dossier;
    Contexte contexte;
};

bool proche(const QColor& a, const QColor& b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

int pixels(const QImage& image, const Grille::Rectangle& r, const QColor& couleur, int tolerance)
{
    int n = 0;
    for (int y = std::max(0, r.y1); y <= std::min(image.height() - 1, r.y2); ++y)
        for (int x = std::max(0, r.x1); x <= std::min(image.width() - 1, r.x2); ++x)
            n += proche(image.pixelColor(x, y), couleur, tolerance);
    return n;
}

// The smallest rectangle holding every pixel where two pictures differ.
QRect ecart(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return a.rect().united(b.rect());
    QRect r;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                r |= QRect(x, y, 1, 1);
    return r;
}

} // namespace

TEST_F(Calendrier, DrawsColumnsRowsAndBars)
{
    sejour(1, "Dupont", 2, 3);
    sejour(2, "Martin", -2, 3);
    contexte.champsdansbarre = QStringLiteral("[nomclient] ([nbadultes]ad/[nbenfants]en)");
    auto f = fenetre();
    // 633-pixel window: 617-pixel container, 465-pixel grid.
    EXPECT_EQ(f->fondplanning->width(), 617);
    EXPECT_EQ(f->planning->width(), 465);
    EXPECT_EQ(f->choixannee->currentText(), QStringLiteral("2007"));
    EXPECT_EQ(f->choixmois->currentText(), QStringLiteral("Mars"));

    const QImage grille = f->planning->image().toImage();
    // 15 March 2007 is a Thursday: Saturday 17 and Sunday 18 are shaded, Monday is not.
    EXPECT_EQ(grille.pixelColor(50, 30), QColor(192, 192, 192));
    EXPECT_EQ(grille.pixelColor(70, 30), QColor(192, 192, 192));
    EXPECT_EQ(grille.pixelColor(90, 30), QColor(224, 224, 224));
    EXPECT_EQ(grille.pixelColor(20, 60), QColor(128, 128, 128));   // column line
    EXPECT_EQ(grille.pixelColor(5, 20), QColor(128, 128, 128));    // row line

    ASSERT_EQ(f->Barres().size(), 2);
    const Grille::Barre& dupont = f->Barres().at(0);
    EXPECT_EQ(dupont.r, (Grille::Rectangle{54, 2, 108, 18}));
    EXPECT_EQ(dupont.libelleEtat, QString::fromUtf8("1 - Confirmé"));
    const Grille::Barre& martin = f->Barres().at(1);
    EXPECT_EQ(martin.r.y1, 22);
    EXPECT_LT(martin.r.x1, 0);
    EXPECT_EQ(grille.pixelColor(106, 2), kRouge);
    EXPECT_EQ(grille.pixelColor(0, 22), kRouge);   // begun before the first day: cut at the edge
    // The label from the template is white inside the bar and stops at its end.
    EXPECT_GT(pixels(grille, dupont.r, Qt::white, 40), 0);
    EXPECT_EQ(grille.pixelColor(109, 4), QColor(224, 224, 224));

    // Unit names on their rows, month strip and day headers drawn.
    const QImage noms = f->Objets->image().toImage();
    EXPECT_GT(pixels(noms, {0, 1, 100, 19}, Qt::black, 80), 0);
    EXPECT_GT(pixels(f->lesmois->image().toImage(), {0, 0, 464, 24}, Qt::black, 80), 0);
    EXPECT_GT(pixels(f->TexteColonnes->image().toImage(), {1, 0, 19, 40}, Qt::black, 80), 0);

    if (qEnvironmentVariableIsSet("PLANNING_CAPTURE"))
        f->grab().save(qEnvironmentVariable("PLANNING_CAPTURE"));
}

TEST_F(Calendrier, FirstRowTodayDoubleBookingsAndCutLabelsAreReadable)
{
    sejour(1, "Avant", -5, 7);                          // begun before the first day
    sejour(2, "Premier", 2, 4);
    sejour(2, "Second", 4, 3);                          // double booking of unit 2
    auto f = fenetre();
    // The corner ends where the first row begins: its top line shows.
    EXPECT_LE(f->colonnes->geometry().bottom(), f->Objets->y() - 1);
    const QImage fond = f->fondplanning->grab().toImage();
    EXPECT_EQ(fond.pixelColor(5, f->Objets->y()), QColor(128, 128, 128));
    EXPECT_GT(pixels(fond, {0, f->Objets->y() + 1, 140, f->Objets->y() + 19}, Qt::black, 80), 0);

    const QImage grille = f->planning->image().toImage();
    // 10:00 today, the first column: the 2-pixel line at x = 8.
    for (int x : {8, 9})
        EXPECT_EQ(grille.pixelColor(x, 90), QColor(0, 84, 200)) << x;
    EXPECT_NE(grille.pixelColor(10, 90), QColor(0, 84, 200));
    const QImage jours = f->TexteColonnes->image().toImage();
    EXPECT_GT(pixels(jours, {1, 0, 19, 40}, QColor(204, 228, 255), 0), 0);
    EXPECT_EQ(pixels(jours, {21, 0, 39, 40}, QColor(204, 228, 255), 0), 0);

    // The stay begun before the first day writes its name from x = 0.
    ASSERT_EQ(f->Barres().size(), 3);
    EXPECT_LT(f->Barres().at(0).r.x1, 0);
    EXPECT_GT(pixels(grille, {0, 2, 12, 18}, Qt::white, 60), 0);
    // Both halves of the double booking show, framed in dark red.
    const Grille::Barre& premier = f->Barres().at(1);
    const Grille::Barre& second = f->Barres().at(2);
    EXPECT_EQ(premier.r.y2 + 1, second.r.y1);
    EXPECT_EQ(grille.pixelColor(premier.r.x2, (premier.r.y1 + premier.r.y2) / 2), QColor(139, 0, 0));
    EXPECT_EQ(grille.pixelColor(second.r.x1, (second.r.y1 + second.r.y2) / 2), QColor(139, 0, 0));
    EXPECT_GT(pixels(grille, premier.r, kRouge, 0), 40);
    EXPECT_GT(pixels(grille, second.r, kRouge, 0), 40);
    // Each band carries its client's name.
    EXPECT_GT(pixels(grille, premier.r, Qt::white, 60), 0);
    EXPECT_GT(pixels(grille, second.r, Qt::white, 60), 0);
}

TEST_F(Calendrier, YearAndMonthChoicesJumpToTheFirstOfTheMonth)
{
    auto f = fenetre();
    ASSERT_EQ(f->datedepart, QDate(2007, 3, 15));
    // Leaving the boxes without a choice keeps the day shown.
    for (QComboBox* boite : {f->choixannee, f->choixmois})
        emit boite->lineEdit()->editingFinished();
    EXPECT_EQ(f->datedepart, QDate(2007, 3, 15));
    struct Pas { QComboBox* boite; const char* texteAutre; int index; QDate attendu; };
    // Years 2006 .. 2012: 2009 is entry 3. Months: "Mai" is entry 4.
    const Pas pas[] = {
        {f->choixmois, nullptr, 4, QDate(2007, 5, 1)},
        {f->choixannee, nullptr, 3, QDate(2009, 5, 1)},
        {f->choixannee, nullptr, 3, QDate(2009, 5, 1)},    // the shown year again: still the first
        {f->choixmois, "abc", 0, QDate(2009, 5, 1)},       // year box holds no year: unchanged
        {f->choixannee, "Brumaire", 1, QDate(2009, 5, 1)}, // month box holds no month: unchanged
        {f->choixmois, "1999", 11, QDate(1999, 12, 1)},    // a typed year not in the list
    };
    for (const Pas& p : pas) {
        if (p.texteAutre) {
            QComboBox* autre = p.boite == f->choixmois ? f->choixannee : f->choixmois;
            autre->setEditText(QString::fromUtf8(p.texteAutre));
        }
        emit p.boite->activated(p.index);
        EXPECT_EQ(f->datedepart, p.attendu) << p.index;
    }
    EXPECT_EQ(f->choixannee->currentText(), QStringLiteral("1999"));
    EXPECT_EQ(f->choixmois->currentText(), QString::fromUtf8("Décembre"));

    // Scrolled into another year, the year box follows and a month choice uses it.
    f->datedepart = QDate(2013, 12, 31);
    f->rafraichir();
    EXPECT_EQ(f->choixannee->currentText(), QStringLiteral("2013"));
    emit f->choixmois->activated(1);
    EXPECT_EQ(f->datedepart, QDate(2013, 2, 1));

    // "Auj." comes back to today; a selection choice changes nothing.
    QTest::mouseClick(f->mouvementaujourdhui, Qt::LeftButton);
    EXPECT_EQ(f->datedepart, QDate(2007, 3, 15));
    emit f->ChoixSelection->activated(0);
    EXPECT_EQ(f->datedepart, QDate(2007, 3, 15));
}

TEST_F(Calendrier, HeldDayButtonsMoveOneDayThenRepeatUntilReleased)
{
    auto f = fenetre();
    // Days moved for a press held that long, the repeat's ticks coming every
    // 20 ms of the test's clock.
    struct Cas { xpcmdbutton* bouton; int sens; qint64 ms; int jours; };
    const Cas cas[] = {
        {f->MvtJourSuivant, 1, 0, 1}, {f->MvtJourSuivant, 1, 50, 1}, {f->MvtJourPrecedent, -1, 300, 1},
        {f->MvtJourSuivant, 1, 1000, 6}, {f->MvtJourPrecedent, -1, 2500, 29},
    };
    for (const Cas& c : cas) {
        QDateTime horloge = Dates::naive(QDate(2007, 3, 15), QTime(10, 0));
        Horloge::fixer(horloge);
        const QDate avant = f->datedepart;
        QTest::mousePress(c.bouton, Qt::LeftButton);
        EXPECT_EQ(avant.daysTo(f->datedepart), c.sens) << "at once, " << c.ms;
        EXPECT_TRUE(f->mouvements->isActive());
        for (qint64 t = 20; t <= c.ms; t += 20) {
            Horloge::fixer(horloge.addMSecs(t));
            f->mouvements_Timer();
        }
        QTest::mouseRelease(c.bouton, Qt::LeftButton);
        EXPECT_FALSE(f->mouvements->isActive());
        EXPECT_EQ(avant.daysTo(f->datedepart), c.sens * c.jours) << c.ms;
        // The boxes follow; a tick after the release moves nothing.
        EXPECT_EQ(f->choixannee->currentText(), QString::number(f->datedepart.year()));
        const QDate arret = f->datedepart;
        Horloge::fixer(horloge.addMSecs(c.ms + 5000));
        f->mouvements_Timer();
        EXPECT_EQ(f->datedepart, arret) << c.ms;
    }
    // A click on a day button alone moves nothing by itself.
    const QDate avant = f->datedepart;
    emit f->MvtJourSuivant->Click(-1);
    EXPECT_EQ(f->datedepart, avant);
}

TEST_F(Calendrier, AStepOfTheDaysPaintsWhatAWholeRefreshPaints)
{
    // Stays on both edges, long ones, a double booking, a stay on today.
    contexte.champsdansbarre = QStringLiteral("[nomclient] ([nbadultes]ad/[nbenfants]en)");
    sejour(1, "Avant", -6, 8);
    sejour(1, "Ensuite", 3, 2);
    sejour(1, "Loin", 20, 9);
    sejour(2, "Premier", -1, 5);
    sejour(2, "Second", 1, 4);
    sejour(2, "Tres long client", 10, 30);
    auto f = fenetre();
    struct Pas { xpcmdbutton* bouton; qint64 ms; };
    const Pas pas[] = {
        {f->MvtJourSuivant, 0}, {f->MvtJourSuivant, 0}, {f->MvtJourPrecedent, 0},
        {f->MvtJourSuivant, 1000}, {f->MvtJourPrecedent, 2500},   // steps of one and of many days
        {f->MvtJourPrecedent, 1000}, {f->MvtJourSuivant, 2500},
    };
    for (const Pas& p : pas) {
        QDateTime horloge = Dates::naive(QDate(2007, 3, 15), QTime(10, 0));
        Horloge::fixer(horloge);
        QTest::mousePress(p.bouton, Qt::LeftButton);
        for (qint64 t = 20; t <= p.ms; t += 20) {
            Horloge::fixer(horloge.addMSecs(t));
            f->mouvements_Timer();
            const QImage pasAPas = f->planning->image().toImage();
            const QList<Grille::Barre> barres = f->Barres();
            f->rafraichir();
            ASSERT_EQ(ecart(pasAPas, f->planning->image().toImage()), QRect())
                << p.ms << " ms, at " << t << ": " << f->datedepart.toString().toStdString();
            ASSERT_EQ(barres.size(), f->Barres().size());
        }
        QTest::mouseRelease(p.bouton, Qt::LeftButton);
        const QImage pasAPas = f->planning->image().toImage();
        f->rafraichir();
        EXPECT_EQ(ecart(pasAPas, f->planning->image().toImage()), QRect()) << f->datedepart.toString().toStdString();
    }
    // Hours later the present moment's line has moved: it shows once, in its
    // new place.
    Horloge::fixer(Dates::naive(QDate(2007, 3, 15), QTime(10, 0)));
    QTest::mouseClick(f->mouvementaujourdhui, Qt::LeftButton);
    Horloge::fixer(Dates::naive(QDate(2007, 3, 15), QTime(16, 0)));
    QTest::mousePress(f->MvtJourPrecedent, Qt::LeftButton);
    QTest::mouseRelease(f->MvtJourPrecedent, Qt::LeftButton);
    const QImage plusTard = f->planning->image().toImage();
    f->rafraichir();
    EXPECT_EQ(ecart(plusTard, f->planning->image().toImage()), QRect());

    // A stay stored meanwhile shows at the next step: the grid is drawn whole.
    const QDate jour = f->datedepart;
    base.executerHorsRegles(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) VALUES "
                                 "(1, 'Nouveau', '%1 14:00:00', '%2 12:00:00', 1)")
                      .arg(jour.addDays(3).toString(Qt::ISODate), jour.addDays(6).toString(Qt::ISODate)));
    QTest::mousePress(f->MvtJourSuivant, Qt::LeftButton);
    QTest::mouseRelease(f->MvtJourSuivant, Qt::LeftButton);
    const QImage pasAPas = f->planning->image().toImage();
    f->rafraichir();
    EXPECT_EQ(ecart(pasAPas, f->planning->image().toImage()), QRect());
    EXPECT_TRUE(std::any_of(f->Barres().cbegin(), f->Barres().cend(),
                            [](const Grille::Barre& b) { return b.reservation.nomclient == QStringLiteral("Nouveau"); }));
}

TEST_F(Calendrier, BlinkingAlternatesTheLabelAndStops)
{
    const qint32 numero = sejour(1, "HHHHHHHHHHHH", 1, 6);
    struct Cas { qint16 pas; const char* sequence; };
    const Cas cas[] = {{10, "WBWBWBWBWW"}, {3, "WBW"}, {1, "W"}, {0, "W"}};
    for (const Cas& c : cas) {
        contexte.NbClignotements = c.pas;
        auto f = fenetre();
        f->reservation_encours = numero;
        f->rafraichir();
        ASSERT_EQ(f->reservation_courante, 1);
        const Grille::Barre b = f->Barres().at(0);
        f->Clignotement->start();
        QString vu;
        for (int tick = 0; tick < int(strlen(c.sequence)); ++tick) {
            EXPECT_TRUE(f->Clignotement->isActive()) << c.pas << " tick " << tick;
            f->Clignotement_Timer();
            const QImage image = f->planning->image().toImage();
            const int blancs = pixels(image, b.r, Qt::white, 60);
            const int noirs = pixels(image, b.r, Qt::black, 60);
            vu += blancs > 0 && noirs == 0 ? QLatin1Char('W') : noirs > 0 && blancs == 0 ? QLatin1Char('B') : QLatin1Char('?');
        }
        EXPECT_EQ(vu, QString::fromLatin1(c.sequence)) << c.pas;
        EXPECT_FALSE(f->Clignotement->isActive()) << c.pas;
    }
}

TEST_F(Calendrier, BlinkingStopsAtOnceWithoutCurrentBar)
{
    const qint32 numero = sejour(1, "Loin", 300, 2);
    auto f = fenetre();
    f->reservation_encours = numero;   // edited, but outside the shown days
    f->rafraichir();
    EXPECT_EQ(f->reservation_courante, 0);
    f->Clignotement->start();
    f->Clignotement_Timer();
    EXPECT_FALSE(f->Clignotement->isActive());
}

TEST_F(Calendrier, LeftButtonOpensABarOrDragsTheDays)
{
    sejour(1, "Dupont", 2, 3);   // x 54 .. 108 on row 0
    sejour(1, "Recouvre", 4, 3); // overlaps Dupont: Dupont above, Recouvre below
    auto f = fenetre();
    QSignalSpy ouverture(f.get(), &Form1::barreCliquee);
    struct Clic { QPoint p; Qt::MouseButton bouton; int barre; };
    const Clic clics[] = {
        {{54, 2}, Qt::LeftButton, 1}, {{108, 9}, Qt::LeftButton, 1},
        {{100, 5}, Qt::LeftButton, 1}, {{100, 14}, Qt::LeftButton, 2},   // overlap: each in its half
        {{108, 18}, Qt::LeftButton, 2},
        {{100, 10}, Qt::RightButton, 0}, {{100, 10}, Qt::MiddleButton, 0},
    };
    for (const Clic& c : clics) {
        ouverture.clear();
        QTest::mousePress(f->planning, c.bouton, {}, c.p);
        QTest::mouseRelease(f->planning, c.bouton, {}, c.p);
        if (c.barre) {
            ASSERT_EQ(ouverture.size(), 1);
            EXPECT_EQ(ouverture.at(0).at(0).toInt(), c.barre);
            EXPECT_FALSE(f->isEnabled());
            f->fenetreReservation()->close();   // as "Revenir"
            EXPECT_TRUE(f->isEnabled());
        } else {
            EXPECT_TRUE(ouverture.isEmpty());
            EXPECT_TRUE(f->isEnabled());
        }
        EXPECT_FALSE(f->Deplaceur->isActive());
    }

    // Drag on an empty cell: cross-hair, 45 pixels right = 2 days back,
    // 5 pixels left of the start = 1 day forward; vertical moves do nothing.
    const QDate depart = f->datedepart;
    const QPoint debut(200, 30);
    QTest::mousePress(f->planning, Qt::LeftButton, {}, debut);
    EXPECT_TRUE(f->Deplaceur->isActive());
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    struct Glisse { QPoint vers; int jours; };
    const Glisse glisses[] = {
        {{245, 30}, -2}, {{200, 30}, 0},   // back on the start: its first day again
        {{245, 30}, -2}, {{195, 30}, 1},
        {{200, 90}, 1}, {{219, 30}, 1},   // no whole day to the right: the grid stays
        {{221, 30}, -1}, {{180, 30}, 1},
    };
    for (const Glisse& g : glisses) {
        QTest::mouseMove(f->planning, g.vers);
        EXPECT_TRUE(QTest::qWaitFor([&] { return f->datedepart == depart.addDays(g.jours); }, 5000))
            << g.vers.x() << " -> " << f->datedepart.toString().toStdString();
    }
    QTest::mouseRelease(f->planning, Qt::LeftButton, {}, QPoint(180, 30));
    EXPECT_FALSE(f->Deplaceur->isActive());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Press and release without moving: nothing changes.
    const QDate arret = f->datedepart;
    QTest::mousePress(f->planning, Qt::LeftButton, {}, debut);
    f->Deplaceur_Timer();
    QTest::mouseRelease(f->planning, Qt::LeftButton, {}, debut);
    EXPECT_EQ(f->datedepart, arret);
}

TEST_F(Calendrier, BadDataIsDrawnWithoutFailing)
{
    executer("INSERT INTO OBJETS (Numero, Nom) VALUES (3, NULL)");
    sejour(1, "Sans état", 1, 2, 77);   // no row in ETATS: black bar
    executer("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) "
             "VALUES (2, 'A l''envers', '2007-03-20 14:00:00', '2007-03-17 12:00:00', 1)");
    executer("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) "
             "VALUES (3, 'Sans fin', '2007-03-25 14:00:00', NULL, 1)");
    executer("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) "
             "VALUES (3, 'Sans début', NULL, '2007-03-18 12:00:00', 1)");
    auto f = fenetre();
    ASSERT_EQ(f->Barres().size(), 3);
    const QImage grille = f->planning->image().toImage();
    const Grille::Barre& noire = f->Barres().at(0);
    EXPECT_EQ(noire.libelleEtat, QStringLiteral(" - "));
    EXPECT_EQ(grille.pixelColor(noire.r.x2, noire.r.y1), QColor(0, 0, 0));
    // Ending before it starts: filled between its ends, never hit.
    const Grille::Barre& envers = f->Barres().at(1);
    EXPECT_GT(envers.r.x1, envers.r.x2);
    EXPECT_EQ(grille.pixelColor((envers.r.x1 + envers.r.x2) / 2, envers.r.y1 + 1), kRouge);
    QSignalSpy ouverture(f.get(), &Form1::barreCliquee);
    QTest::mousePress(f->planning, Qt::LeftButton, {}, QPoint((envers.r.x1 + envers.r.x2) / 2, 30));
    QTest::mouseRelease(f->planning, Qt::LeftButton, {}, QPoint((envers.r.x1 + envers.r.x2) / 2, 30));
    EXPECT_TRUE(ouverture.isEmpty());
    // No end: from the far left up to its start.
    EXPECT_EQ(grille.pixelColor(0, 45), kRouge);

    // Shrunk to a few pixels, then the units table gone: no rows, no failure.
    f->resize(3, 3);
    QApplication::processEvents();
    f->rafraichir();
    EXPECT_EQ(f->planning->width(), 0);
    f->resize(633, 386);
    QApplication::processEvents();
    executer("DROP TABLE OBJETS");
    f->rafraichir();
    EXPECT_TRUE(f->Barres().isEmpty());
    EXPECT_EQ(f->reservation_courante, 0);
}

TEST_F(Calendrier, ResizingLaysOutTheGrid)
{
    auto f = fenetre();
    struct Cas { int largeur, hauteur, grille, hauteurGrille; };
    const Cas cas[] = {{633, 386, 465, 329}, {900, 500, 732, 443}, {160, 100, 0, 43}};
    for (const Cas& c : cas) {
        f->resize(c.largeur, c.hauteur);
        QApplication::processEvents();
        EXPECT_EQ(f->planning->width(), c.grille) << c.largeur;
        EXPECT_EQ(f->planning->height(), c.hauteurGrille) << c.largeur;
        EXPECT_EQ(f->lesmois->width(), c.grille);
        EXPECT_EQ(f->Objets->height(), c.hauteurGrille);
    }
}

TEST_F(Calendrier, ASizeGivenWhileTheGridIsDrawnIsLaidOutToo)
{
    // Something answering the end of a drawing (a window that follows the
    // calendar) gives the calendar its final size: the grid follows it.
    auto f = fenetre();
    bool fait = false;
    QObject::connect(f.get(), &Form1::rafraichi, f.get(), [&] {
        if (!fait) {
            fait = true;
            f->resize(900, 500);
        }
    });
    f->resize(700, 420);
    QApplication::processEvents();
    ASSERT_TRUE(fait);
    EXPECT_EQ(f->size(), QSize(900, 500));
    EXPECT_EQ(f->planning->width(), 732);
    EXPECT_EQ(f->planning->height(), 443);
}

TEST_F(Calendrier, OpeningABarFillsTheReservationWindowThenBlinksIt)
{
    executer("INSERT INTO OBJETS (Numero, Nom) VALUES (10, 'Dix'), (12, 'Douze')");
    sejour(10, "Autre", 1, 2);
    const qint32 numero = sejour(1, "Dupont", 2, 3);
    auto f = fenetre();
    ASSERT_EQ(f->Barres().size(), 2);
    const Grille::Barre b = f->Barres().at(0);
    ASSERT_EQ(b.reservation.numero, numero);
    QTest::mousePress(f->planning, Qt::LeftButton, {}, QPoint(b.r.x1 + 1, b.r.y1 + 1));
    QTest::mouseRelease(f->planning, Qt::LeftButton, {}, QPoint(b.r.x1 + 1, b.r.y1 + 1));

    reservations* r = f->fenetreReservation();
    ASSERT_TRUE(r->isVisible());
    EXPECT_FALSE(f->isEnabled());
    struct Boite { QString texte; QString attendu; };
    const Boite boites[] = {
        {r->NomClient->text(), QStringLiteral("Dupont")},
        {r->datedebut->text(), QStringLiteral("17/03/2007")}, {r->datefin->text(), QStringLiteral("20/03/2007")},
        {r->heuredebut->text(), QStringLiteral("14:00")}, {r->heurefin->text(), QStringLiteral("12:00")},
        {r->nbadultes->text(), QStringLiteral("2")}, {r->nbenfants->text(), QStringLiteral("1")},
        {r->etat->currentText(), QString::fromUtf8("1 - Confirmé")},
        {r->numreservation->text(), QString::number(numero)},
        {r->Nbjour->text(), QStringLiteral("3")},
        {r->windowTitle(), QString::fromUtf8("Réservation ") + QString::number(numero)},
    };
    for (const Boite& x : boites)
        EXPECT_EQ(x.texte, x.attendu);
    // Unit 1 is the entry beginning with "1 ", not those of 10 or 12.
    EXPECT_TRUE(r->Objets->currentText().startsWith(QStringLiteral("1 "))) << r->Objets->currentText().toStdString();

    // The window ends: the calendar comes back, refreshed, and the bar blinks.
    f->reservation_encours = 0;
    r->close();
    EXPECT_FALSE(r->isVisible());
    EXPECT_TRUE(f->isEnabled());
    EXPECT_EQ(f->reservation_encours, numero);
    EXPECT_EQ(f->reservation_courante, 1);
    EXPECT_TRUE(f->Clignotement->isActive());
}

TEST_F(Calendrier, PlusOpensANewReservationModallyThenRefreshes)
{
    auto f = fenetre();
    EXPECT_TRUE(f->Barres().isEmpty());
    QTest::mouseClick(f->ajouter, Qt::LeftButton, {}, f->ajouter->rect().center());
    reservations* r = f->fenetreReservation();
    ASSERT_TRUE(r->isVisible());
    EXPECT_EQ(r->windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(f->isEnabled());
    // Stored meanwhile (as the window would): the refresh after it shows it.
    sejour(2, "Nouveau", 1, 2);
    r->close();
    EXPECT_FALSE(r->isVisible());
    ASSERT_EQ(f->Barres().size(), 1);
    EXPECT_EQ(f->Barres().at(0).reservation.nomclient, QStringLiteral("Nouveau"));
    EXPECT_FALSE(f->Clignotement->isActive());   // no blinking on this path
}

TEST_F(Calendrier, KeyboardMovesTheChosenCellAndScrollsOnlyWhenNeeded)
{
    for (int n = 3; n <= 40; ++n)
        base.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (%1, 'Unité %1')").arg(n));
    sejour(2, "Dupont", 2, 3);
    auto f = fenetre();   // beside the scroll bar: 22 whole days, 15 whole rows
    f->planning->setFocus();
    ASSERT_EQ(f->jourChoisi, QDate(2007, 3, 15));
    const QDate depart = f->datedepart;
    struct Touche { Qt::Key cle; Qt::KeyboardModifiers mod; int ligne; QDate jour; QDate premier; int premiere; };
    const Touche touches[] = {
        {Qt::Key_Right, {}, 0, depart.addDays(1), depart, 0},
        {Qt::Key_PageDown, {}, 0, depart.addDays(8), depart, 0},
        {Qt::Key_PageDown, Qt::ControlModifier, 0, QDate(2007, 4, 23), QDate(2007, 4, 2), 0},   // the 22nd whole day
        {Qt::Key_PageUp, Qt::ControlModifier, 0, QDate(2007, 3, 23), QDate(2007, 3, 23), 0},
        {Qt::Key_PageUp, {}, 0, QDate(2007, 3, 16), QDate(2007, 3, 16), 0},
        {Qt::Key_Left, {}, 0, depart, depart, 0},
        {Qt::Key_Down, {}, 1, depart, depart, 0},
        {Qt::Key_Up, {}, 0, depart, depart, 0},
        {Qt::Key_Up, {}, 0, depart, depart, 0},   // no row above the first
        {Qt::Key_Home, {}, 0, depart, depart, 0},
    };
    for (const Touche& t : touches) {
        QTest::keyClick(f->planning, t.cle, t.mod);
        EXPECT_EQ(f->ligneChoisie, t.ligne) << t.cle;
        EXPECT_EQ(f->jourChoisi, t.jour) << t.cle;
        EXPECT_EQ(f->datedepart, t.premier) << t.cle;
        EXPECT_EQ(f->premiereLigne, t.premiere) << t.cle;
        // The frame is on the chosen cell.
        const Grille::Rectangle c = Grille::cellule(f->ligneChoisie, f->premiereLigne, f->jourChoisi,
                                                    f->datedepart, 20, 20);
        EXPECT_EQ(f->planning->cadre(), QRect(QPoint(c.x1, c.y1), QPoint(c.x2, c.y2))) << t.cle;
    }
    // Down past the 15 whole rows scrolls one row at a time.
    for (int i = 0; i < 17; ++i)
        QTest::keyClick(f->planning, Qt::Key_Down);
    EXPECT_EQ(f->ligneChoisie, 17);
    EXPECT_EQ(f->premiereLigne, 17 - 15 + 1);
    for (int i = 0; i < 17; ++i)
        QTest::keyClick(f->planning, Qt::Key_Up);
    EXPECT_EQ(f->premiereLigne, 0);

    // Enter on an empty cell opens nothing; on Dupont's row and day it opens him.
    QSignalSpy ouverture(f.get(), &Form1::barreCliquee);
    QTest::keyClick(f->planning, Qt::Key_Return);
    EXPECT_FALSE(f->fenetreReservation()->isVisible());
    QTest::keyClick(f->planning, Qt::Key_Down);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(f->planning, Qt::Key_Right);
    QTest::keyClick(f->planning, Qt::Key_Return);
    reservations* r = f->fenetreReservation();
    ASSERT_TRUE(r->isVisible());
    EXPECT_EQ(r->NomClient->text(), QStringLiteral("Dupont"));
    r->close();
    // Ctrl+N is "+".
    f->planning->setFocus();
    QTest::keyClick(f->planning, Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(r->isVisible());
    EXPECT_EQ(r->windowModality(), Qt::ApplicationModal);
    r->close();
}

TEST_F(Calendrier, SavingAStayInSightKeepsTheFirstDay)
{
    const qint32 numero = sejour(1, "Dupont", 2, 3);
    auto f = fenetre();
    // Days counted from the first shown day (15 March): a move inside the
    // view keeps it, a move out of sight goes to the new arrival.
    struct Cas { const char* debut; const char* fin; QDate premier; };
    const Cas cas[] = {
        {"18/03/2007", "21/03/2007", QDate(2007, 3, 15)},
        {"05/04/2007", "09/04/2007", QDate(2007, 3, 15)},   // 22nd day: still in sight
        {"20/05/2007", "22/05/2007", QDate(2007, 5, 20)},
    };
    for (const Cas& c : cas) {
        f->datedepart = QDate(2007, 3, 15);
        f->premiereLigne = 0;
        f->rafraichir();
        ASSERT_EQ(f->Barres().size(), 1) << c.debut;
        f->ouvrirBarre(1);
        reservations* r = f->fenetreReservation();
        ASSERT_TRUE(r->isVisible());
        r->datedebut->setText(QString::fromUtf8(c.debut));
        r->datefin->setText(QString::fromUtf8(c.fin));
        const QStringList messages = TestUtil::messagesPendant([&] {
            QTest::mouseClick(r->Modifier, Qt::LeftButton, {}, r->Modifier->rect().center());
        });
        EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
        EXPECT_FALSE(r->isVisible()) << c.debut;
        EXPECT_EQ(f->datedepart, c.premier) << c.debut;
        EXPECT_EQ(f->reservation_encours, numero);
        // Back where it was for the next case.
        executer("UPDATE RESERVATIONS SET DateDebut = '2007-03-17 14:00:00', DateFin = '2007-03-20 12:00:00'");
    }
}

TEST_F(Calendrier, RestingOnABarTellsTheStay)
{
    const qint32 numero = sejour(2, "Dupont", 2, 3);
    base.executer(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) "
                                 "VALUES (%1, '2007-03-10 10:00:00', -150, '', 'Séjour')").arg(numero));
    base.executer(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) "
                                 "VALUES (%1, '2007-03-11 10:00:00', 50, 'Espèces', 'Arrhes')").arg(numero));
    auto f = fenetre();
    ASSERT_EQ(f->Barres().size(), 1);
    const Grille::Barre& b = f->Barres().at(0);
    const QPoint sur((b.r.x1 + b.r.x2) / 2, (b.r.y1 + b.r.y2) / 2);
    QHelpEvent aide(QEvent::ToolTip, sur, f->planning->mapToGlobal(sur));
    QApplication::sendEvent(f->planning, &aide);
    const QString texte = QToolTip::text();
    for (const char* morceau : {"Dupont", "Logement : Chambre 2", "Arrivée : 17/03/2007 14:00",
                                "Départ : 20/03/2007 12:00", "3 nuits", "2 adultes, 1 enfant",
                                "État : 1 - Confirmé", "Solde : -100"})
        EXPECT_TRUE(texte.contains(QString::fromUtf8(morceau))) << morceau << " in " << texte.toStdString();
    // Off the bars, nothing is shown.
    QHelpEvent ailleurs(QEvent::ToolTip, QPoint(300, 100), f->planning->mapToGlobal(QPoint(300, 100)));
    QApplication::sendEvent(f->planning, &ailleurs);
    EXPECT_FALSE(ailleurs.isAccepted());
}

TEST_F(Calendrier, WithoutUnitsTheStripAndPlusTellWhereToMakeThem)
{
    executer("DELETE FROM OBJETS");
    auto f = fenetre();
    EXPECT_GT(pixels(f->Objets->image().toImage(), {0, 1, 150, 19}, Qt::black, 80), 0);
    const QStringList messages = TestUtil::messagesPendant([&] {
        QTest::mouseClick(f->ajouter, Qt::LeftButton, {}, f->ajouter->rect().center());
    });
    EXPECT_EQ(messages, QStringList{Grille::texteAucunLogement()});
    EXPECT_FALSE(f->fenetreReservation()->isVisible());
    // With a unit, the strip shows its name and "+" opens the window.
    executer("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chambre 1')");
    f->rafraichir();
    QTest::mouseClick(f->ajouter, Qt::LeftButton, {}, f->ajouter->rect().center());
    EXPECT_TRUE(f->fenetreReservation()->isVisible());
    f->fenetreReservation()->close();
}

TEST_F(Calendrier, ACancelledStayFreesItsNightsAndIsHatchedOnlyWhenAsked)
{
    sejour(1, "Dupont", 2, 3);
    const qint32 annule = sejour(1, "Martin", 3, 3);
    base.executer(QStringLiteral("UPDATE RESERVATIONS SET Annulation = '2007-03-10 09:00:00' WHERE NumeroReservation = %1")
                      .arg(annule));
    auto f = fenetre();
    // Hidden: one bar, and the stay it shared days with is not framed.
    ASSERT_EQ(f->Barres().size(), 1);
    EXPECT_EQ(f->Barres().at(0).reservation.nomclient, QStringLiteral("Dupont"));
    EXPECT_FALSE(f->Barres().at(0).chevauche);
    EXPECT_EQ(f->Barres().at(0).r.y2 - f->Barres().at(0).r.y1, 16);   // the whole row, not half of it
    // Shown: hatched over its colour, and still no double booking.
    f->afficherAnnulations(true);
    ASSERT_EQ(f->Barres().size(), 2);
    const Grille::Barre& martin = f->Barres().at(1);
    EXPECT_TRUE(martin.reservation.annulee());
    EXPECT_FALSE(f->Barres().at(0).chevauche);
    const QImage grille = f->planning->image().toImage();
    const Grille::Rectangle fond{martin.r.x2 - 12, martin.r.y1 + 1, martin.r.x2 - 1, martin.r.y2 - 1};
    EXPECT_GT(pixels(grille, fond, Qt::white, 10), 0);
    EXPECT_GT(pixels(grille, fond, kRouge, 10), 0);
    f->afficherAnnulations(false);
    EXPECT_EQ(f->Barres().size(), 1);
}

TEST_F(Calendrier, PlusAndADoubleClickOnAnEmptyCellProposeThatUnitAndDay)
{
    sejour(1, "Dupont", 2, 3);
    auto f = fenetre();
    // A click on row 2, day 15 + 4 frames that cell; "+" proposes it, 6 nights.
    const QPoint cellule(4 * 20 + 10, 20 + 10);
    QTest::mousePress(f->planning, Qt::LeftButton, {}, cellule);
    QTest::mouseRelease(f->planning, Qt::LeftButton, {}, cellule);
    ASSERT_FALSE(f->planning->cadre().isEmpty());
    QTest::mouseClick(f->ajouter, Qt::LeftButton);
    reservations* r = f->fenetreReservation();
    ASSERT_TRUE(r->isVisible());
    EXPECT_EQ(r->Objets->currentText(), QStringLiteral("2 : Chambre 2"));
    EXPECT_EQ(r->datedebut->text(), QStringLiteral("19/03/2007"));
    EXPECT_EQ(r->datefin->text(), QStringLiteral("25/03/2007"));
    EXPECT_FALSE(r->Modifiee());   // proposed, not typed: leaving asks nothing
    QTest::mouseClick(r->Annuler, Qt::LeftButton);
    ASSERT_FALSE(r->isVisible());
    ASSERT_TRUE(f->isEnabled());

    // A double click on an empty cell: one night there.
    const QPoint vide(6 * 20 + 10, 10);
    QTest::mouseDClick(f->planning, Qt::LeftButton, {}, vide);
    ASSERT_TRUE(r->isVisible());
    EXPECT_EQ(r->Objets->currentText(), QStringLiteral("1 : Chambre 1"));
    EXPECT_EQ(r->datedebut->text(), QStringLiteral("21/03/2007"));
    EXPECT_EQ(r->datefin->text(), QStringLiteral("22/03/2007"));
    EXPECT_EQ(r->Nbjour->text(), QStringLiteral("1"));
    QTest::mouseClick(r->Annuler, Qt::LeftButton);
    ASSERT_FALSE(r->isVisible());
}
