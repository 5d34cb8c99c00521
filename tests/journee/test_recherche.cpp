#include "outils.h"

#include "journee/boiterecherche.h"
#include "planning/form1.h"
#include "planning/surface.h"
#include "reservation/reservations.h"
#include "reservation/zonetexte.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

class RechercheTest : public JourneeTest
{
protected:
    void SetUp() override
    {
        JourneeTest::SetUp();
        m_hote.resize(900, 500);
        m_boite = new BoiteRecherche(&m_contexte, &m_hote, &m_hote);
        m_boite->move(600, 0);
        m_hote.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_hote));
    }
    // Types as a user does; the search then runs at once instead of after
    // the box's short wait.
    QStringList taper(const QString& texte)
    {
        m_boite->champrecherche->clear();
        // The test keyboard knows ASCII only: other texts come as a paste.
        bool ascii = true;
        for (const QChar c : texte)
            ascii = ascii && c.unicode() < 128;
        if (ascii)
            QTest::keyClicks(m_boite->champrecherche, texte);
        else
            m_boite->champrecherche->insert(texte);
        EXPECT_TRUE(m_boite->minuterierecherche->isActive() || texte.isEmpty());
        m_boite->rechercher();
        QStringList clients;
        for (int i = 0; i < m_boite->resultatsrecherche->topLevelItemCount(); ++i)
            clients << m_boite->resultatsrecherche->topLevelItem(i)->text(0);
        return clients;
    }
    QWidget m_hote;
    BoiteRecherche* m_boite = nullptr;
};

} // namespace

TEST_F(RechercheTest, NamePhoneAndNumberAsTyped)
{
    struct Cas { QString texte; QStringList clients; };
    const Cas cas[] = {
        {QStringLiteral("gerard"), {QStringLiteral("Gérard Lefèvre")}},
        {QStringLiteral("LEFEV"), {QStringLiteral("Gérard Lefèvre")}},
        {QStringLiteral("04 75 00"), {QStringLiteral("Gérard Lefèvre")}},
        {QStringLiteral("0611"), {QStringLiteral("Dupont")}},
        {QStringLiteral("exemple"), {QStringLiteral("Dupont")}},
        {QString::number(m_martin).rightJustified(2, QLatin1Char('0')), {QStringLiteral("Martin")}},
        {QStringLiteral("zzz"), {QStringLiteral("Aucune réservation trouvée")}},
        {QStringLiteral("NEAR \"x\" OR -"), {QStringLiteral("Aucune réservation trouvée")}},
        {QStringLiteral("%_*"), {QStringLiteral("Aucune réservation trouvée")}},
        {QStringLiteral("\U0001F600\U0001F600"), {QStringLiteral("Aucune réservation trouvée")}},
    };
    for (const Cas& c : cas) {
        EXPECT_EQ(taper(c.texte), c.clients) << c.texte.toStdString();
        EXPECT_TRUE(m_boite->resultatsrecherche->isVisible()) << c.texte.toStdString();
    }
    // The row shows the unit, dates, state and number.
    taper(QStringLiteral("gérard"));
    QTreeWidgetItem* l = m_boite->resultatsrecherche->topLevelItem(0);
    EXPECT_EQ(l->text(1), QStringLiteral("Emplacement 1"));
    EXPECT_EQ(l->text(2), QStringLiteral("07/12/2026"));
    EXPECT_EQ(l->text(3), QStringLiteral("11/12/2026"));
    EXPECT_EQ(l->text(4), QStringLiteral("Confirmé"));
    EXPECT_EQ(l->text(5), QString::number(m_gerard));
    // One character, or none, closes the list.
    taper(QStringLiteral("g"));
    EXPECT_FALSE(m_boite->resultatsrecherche->isVisible());
    EXPECT_TRUE(m_boite->resultats().isEmpty());
    // A long paste searches without error.
    EXPECT_EQ(taper(QStringLiteral("ab").repeated(250)), QStringList{QStringLiteral("Aucune réservation trouvée")});
}

TEST_F(RechercheTest, EnterShowsCtrlEnterOpensAndTheMenuStartsANewReservation)
{
    QSignalSpy montrer(m_boite, &BoiteRecherche::montrerReservation);
    QSignalSpy ouvrir(m_boite, &BoiteRecherche::ouvrirReservation);
    QSignalSpy nouvelle(m_boite, &BoiteRecherche::nouvelleReservation);
    // Enter before the wait is over searches first.
    QTest::keyClicks(m_boite->champrecherche, QStringLiteral("dupont"));
    QTest::keyClick(m_boite->champrecherche, Qt::Key_Return);
    ASSERT_EQ(montrer.size(), 1);
    EXPECT_EQ(montrer[0][0].toInt(), m_dupont);
    QTest::keyClick(m_boite->champrecherche, Qt::Key_Return, Qt::ControlModifier);
    ASSERT_EQ(ouvrir.size(), 1);
    EXPECT_EQ(ouvrir[0][0].toInt(), m_dupont);
    EXPECT_FALSE(m_boite->resultatsrecherche->isVisible());

    // In the list: Down, then Enter; a double-click too.
    stocker(4, QStringLiteral("Lefèvre Anne"), jour().addDays(30), 2);
    EXPECT_EQ(taper(QStringLiteral("lefevre")),
              (QStringList{QStringLiteral("Lefèvre Anne"), QStringLiteral("Gérard Lefèvre")}));   // newest first
    QTest::keyClick(m_boite->champrecherche, Qt::Key_Down);
    QTest::keyClick(m_boite->resultatsrecherche, Qt::Key_Return);
    ASSERT_EQ(montrer.size(), 2);
    EXPECT_EQ(montrer[1][0].toInt(), m_boite->resultats().at(1).numero);
    QTreeWidget* liste = m_boite->resultatsrecherche;
    const QRect r = liste->visualItemRect(liste->topLevelItem(0));
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(liste->viewport(), Qt::LeftButton, {}, r.center());
    ASSERT_EQ(montrer.size(), 3);
    EXPECT_EQ(montrer[2][0].toInt(), m_boite->resultats().at(0).numero);

    // Escape closes the list; the context menu's entry gives the client.
    QTest::keyClick(liste, Qt::Key_Escape);
    EXPECT_FALSE(liste->isVisible());
    taper(QStringLiteral("dupont"));
    liste->setCurrentItem(liste->topLevelItem(0));
    EXPECT_EQ(m_boite->nouvellepourclient->text(), QStringLiteral("Nouvelle réservation pour ce client"));
    m_boite->nouvellepourclient->trigger();
    ASSERT_EQ(nouvelle.size(), 1);
    EXPECT_EQ(nouvelle[0][0].toString(), QStringLiteral("Dupont"));
    EXPECT_EQ(nouvelle[0][1].toString(), QStringLiteral("06 11 22 33 44"));
    EXPECT_EQ(nouvelle[0][2].toString(), QStringLiteral("dupont@exemple.fr"));
    // On the "nothing found" row, nothing happens.
    taper(QStringLiteral("zzz"));
    QTest::keyClick(m_boite->champrecherche, Qt::Key_Return, Qt::ControlModifier);
    m_boite->nouvellepourclient->trigger();
    EXPECT_EQ(ouvrir.size(), 1);
    EXPECT_EQ(nouvelle.size(), 1);
}

TEST_F(RechercheTest, TheCalendarMovesToAFoundStayAndBlinksIt)
{
    // Many units so that the found one is below the rows in view.
    for (int u = 10; u < 40; ++u)
        m_bd.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (%1, 'Unité %1')").arg(u));
    const qint32 loin = stocker(39, QStringLiteral("Bérénice Loin"), QDate(2027, 8, 3), 5);
    m_contexte.TableEtats = Contexte::ChargerEtats(m_bd.base());
    Form1 calendrier(&m_contexte);
    calendrier.resize(640, 300);
    calendrier.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&calendrier));
    calendrier.rafraichir();
    QObject::connect(m_boite, &BoiteRecherche::montrerReservation, &calendrier, &Form1::montrerReservation);

    taper(QStringLiteral("berenice"));
    QTest::keyClick(m_boite->champrecherche, Qt::Key_Return);
    const int colonnes = calendrier.planning->width() / calendrier.largeurJour();
    const qint64 avant = calendrier.datedepart.daysTo(QDate(2027, 8, 3));
    EXPECT_GE(avant, 0);
    EXPECT_LT(avant, std::max(1, colonnes / 3));
    // The unit's row (the 34th) is in view, so is its bar, which blinks.
    ASSERT_GT(calendrier.reservation_courante, 0);
    const Grille::Barre& b = calendrier.Barres().at(calendrier.reservation_courante - 1);
    EXPECT_EQ(b.reservation.numero, loin);
    EXPECT_GT(calendrier.premiereLigne, 0);
    EXPECT_GE(b.r.y1, 0);
    EXPECT_LE(b.r.y2, calendrier.planning->height());
    EXPECT_TRUE(calendrier.Clignotement->isActive());
    // A stay whose dates cannot be read cannot be shown.
    const int illisible = valeur(QStringLiteral("SELECT NumeroReservation FROM RESERVATIONS WHERE nomclient = 'Illisible'"));
    EXPECT_FALSE(calendrier.montrerReservation(illisible));

    // Opening: the reservation window on that stay, the calendar waiting.
    ASSERT_TRUE(calendrier.ouvrirReservation(m_gerard));
    reservations* r = calendrier.fenetreReservation();
    EXPECT_TRUE(r->isVisible());
    EXPECT_EQ(r->numreservation->text(), QString::number(m_gerard));
    EXPECT_EQ(r->NomClient->toPlainText(), QStringLiteral("Gérard Lefèvre"));
    EXPECT_TRUE(calendrier.reservationOuverte());
    EXPECT_FALSE(calendrier.isEnabled());
    r->close();
    EXPECT_FALSE(calendrier.reservationOuverte());
}

TEST_F(RechercheTest, ANewReservationForTheClientIsPrefilled)
{
    m_contexte.TableEtats = Contexte::ChargerEtats(m_bd.base());
    Form1 calendrier(&m_contexte);
    calendrier.show();
    QObject::connect(m_boite, &BoiteRecherche::nouvelleReservation, &calendrier, &Form1::nouvelleReservationPour);
    taper(QStringLiteral("0611"));
    m_boite->resultatsrecherche->setCurrentItem(m_boite->resultatsrecherche->topLevelItem(0));
    m_boite->nouvellepourclient->trigger();
    reservations* r = calendrier.fenetreReservation();
    ASSERT_TRUE(r->isVisible());
    EXPECT_EQ(r->NomClient->toPlainText(), QStringLiteral("Dupont"));
    EXPECT_EQ(r->telephone->text(), QStringLiteral("06 11 22 33 44"));
    EXPECT_EQ(r->Email->text(), QStringLiteral("dupont@exemple.fr"));
    // A new one: no number yet, today's dates.
    EXPECT_NE(r->numreservation->text(), QString::number(m_dupont));
    EXPECT_EQ(r->datedebut->text(), QStringLiteral("09/12/2026"));
    r->setWindowModality(Qt::NonModal);
    dialoguesPendant([&] { r->close(); }, {QStringLiteral("Oui")});
}

TEST_F(RechercheTest, ACancelledStayIsFoundAndSaysSo)
{
    m_bd.executer(QStringLiteral("UPDATE RESERVATIONS SET Annulation = '2026-12-08 16:30:00' WHERE NumeroReservation = %1")
                      .arg(m_dupont));
    ASSERT_EQ(taper(QStringLiteral("dupont")), QStringList{QStringLiteral("Dupont")});
    QTreeWidgetItem* annulee = m_boite->resultatsrecherche->topLevelItem(0);
    EXPECT_EQ(annulee->text(4), QString::fromUtf8("Annulée"));
    EXPECT_EQ(annulee->toolTip(4), QString::fromUtf8("Annulée le 08/12/2026"));
    EXPECT_EQ(annulee->foreground(0).color(), QColor(128, 128, 128));
    // A stay that stands shows its state.
    taper(QStringLiteral("martin"));
    EXPECT_EQ(m_boite->resultatsrecherche->topLevelItem(0)->text(4), QString::fromUtf8("Confirmé"));
}

// The list closes on a click anywhere but in the box, the list or its menu,
// on Escape typed anywhere (the calendar's grid), and stays closed when a
// window closing gives the focus back to the box.
TEST_F(RechercheTest, TheListClosesOnAClickElsewhereEscapeFromTheGridAndAfterCtrlEnter)
{
    m_contexte.TableEtats = Contexte::ChargerEtats(m_bd.base());
    auto* calendrier = new Form1(&m_contexte, &m_hote);
    calendrier->setGeometry(0, 40, 580, 400);
    calendrier->show();
    calendrier->rafraichir();
    calendrier->lower();
    QTreeWidget* liste = m_boite->resultatsrecherche;
    auto montrer = [&] {
        taper(QStringLiteral("lefevre"));
        EXPECT_TRUE(liste->isVisible());
    };
    // In the box and in the list, a click keeps it.
    montrer();
    QTest::mouseClick(m_boite->champrecherche, Qt::LeftButton);
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, liste->visualItemRect(liste->topLevelItem(0)).center());
    EXPECT_TRUE(liste->isVisible());
    // A click on the calendar closes it.
    QTest::mouseClick(calendrier->planning, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(liste->isVisible());
    // Escape typed in the grid closes it, and still reaches the grid.
    montrer();
    calendrier->planning->setFocus();
    QTest::keyClick(calendrier->planning, Qt::Key_Escape);
    EXPECT_FALSE(liste->isVisible());
    // Other keys in the grid leave it.
    montrer();
    QTest::keyClick(calendrier->planning, Qt::Key_Right);
    EXPECT_TRUE(liste->isVisible());
    // Ctrl+Enter opens and closes; the focus given back by the window that
    // closed does not bring the list again, while a click in the box does.
    QSignalSpy ouvrir(m_boite, &BoiteRecherche::ouvrirReservation);
    QTest::keyClick(m_boite->champrecherche, Qt::Key_Return, Qt::ControlModifier);
    ASSERT_EQ(ouvrir.size(), 1);
    EXPECT_FALSE(liste->isVisible());
    calendrier->planning->setFocus(Qt::OtherFocusReason);
    m_boite->champrecherche->setFocus(Qt::ActiveWindowFocusReason);
    QCoreApplication::processEvents();
    EXPECT_FALSE(liste->isVisible());
    calendrier->planning->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(m_boite->champrecherche, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(liste->isVisible());
}
