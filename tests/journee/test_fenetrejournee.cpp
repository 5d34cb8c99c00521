#include "outils.h"

#include "../facturation/pdftexte.h"
#include "bar/encaissement.h"
#include "journee/fenetrejournee.h"
#include "store/requetes_caisse.h"
#include "ui/xpcmdbutton.h"

#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

namespace {

// Chooses the row of that client in the list, as a click does.
void choisir(QTreeWidget* l, const QString& client)
{
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        if (l->topLevelItem(i)->text(Journee::Client) == client) {
            QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->topLevelItem(i)).center());
            return;
        }
    ADD_FAILURE() << client.toStdString() << " absent de " << l->objectName().toStdString();
}

class FenetreJourneeTest : public JourneeTest
{
protected:
    void SetUp() override
    {
        JourneeTest::SetUp();
        m_fenetre = std::make_unique<FenetreJournee>(&m_contexte);
        m_fenetre->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_fenetre.get()));
    }
    QStringList journal(qint32 numero) const
    {
        QStringList l;
        for (const auto& o : Requetes::operationsHistorique(m_bd.base(), numero).value_or(QList<Requetes::Operation>()))
            l << o.libelle;
        return l;
    }
    std::unique_ptr<FenetreJournee> m_fenetre;
};

} // namespace

TEST_F(FenetreJourneeTest, TheThreeListsOfTheDayAndTheDaysAround)
{
    FenetreJournee& f = *m_fenetre;
    EXPECT_EQ(f.datejour->date(), jour());
    EXPECT_EQ(colonne(f.arrivees, Journee::Client), QStringList{QStringLiteral("Dupont")});
    EXPECT_EQ(colonne(f.departs, Journee::Client), QStringList{QStringLiteral("Martin")});
    EXPECT_EQ(colonne(f.presents, Journee::Client), (QStringList{QStringLiteral("Dupont"), QStringLiteral("Gérard Lefèvre")}));
    EXPECT_EQ(colonne(f.arrivees, Journee::Unite), QStringList{QStringLiteral("Chalet A")});
    EXPECT_EQ(colonne(f.arrivees, Journee::Nuits), QStringList{QStringLiteral("3")});
    EXPECT_EQ(colonne(f.arrivees, Journee::Personnes), QStringList{QStringLiteral("2/1")});
    EXPECT_EQ(colonne(f.arrivees, Journee::Etat), QStringList{QStringLiteral("Confirmé")});
    // Martin's balance is red, Gérard's is not; the state cell has its colour.
    QTreeWidgetItem* martin = f.departs->topLevelItem(0);
    EXPECT_TRUE(martin->text(Journee::Solde).contains(QStringLiteral("45")));
    EXPECT_EQ(martin->foreground(Journee::Solde).color(), QColor(200, 0, 0));
    EXPECT_NE(f.presents->topLevelItem(1)->foreground(Journee::Solde).color(), QColor(200, 0, 0));
    EXPECT_EQ(f.arrivees->topLevelItem(0)->background(Journee::Etat).color(), QColor(0xDC, 0x14, 0x3C));

    struct Cas { QPushButton* bouton; QDate jour; QStringList arrivees, departs, presents; };
    const Cas cas[] = {
        {f.joursuivant, jour().addDays(1), {}, {}, {QStringLiteral("Dupont"), QStringLiteral("Gérard Lefèvre")}},
        {f.joursuivant, jour().addDays(2), {}, {QStringLiteral("Gérard Lefèvre")}, {QStringLiteral("Dupont")}},
        {f.aujourdhui, jour(), {QStringLiteral("Dupont")}, {QStringLiteral("Martin")},
         {QStringLiteral("Dupont"), QStringLiteral("Gérard Lefèvre")}},
        {f.jourprecedent, jour().addDays(-1), {}, {}, {QStringLiteral("Martin"), QStringLiteral("Gérard Lefèvre")}},
    };
    for (const Cas& c : cas) {
        QTest::mouseClick(c.bouton, Qt::LeftButton);
        EXPECT_EQ(f.datejour->date(), c.jour);
        EXPECT_EQ(colonne(f.arrivees, Journee::Client), c.arrivees) << c.jour.toString().toStdString();
        EXPECT_EQ(colonne(f.departs, Journee::Client), c.departs) << c.jour.toString().toStdString();
        EXPECT_EQ(colonne(f.presents, Journee::Client), c.presents) << c.jour.toString().toStdString();
    }
    // The date box moves the lists as well.
    f.datejour->setDate(jour().addDays(-4));
    EXPECT_EQ(colonne(f.arrivees, Journee::Client), QStringList{QStringLiteral("Martin")});
}

TEST_F(FenetreJourneeTest, ACancelledStayLeavesTheDaysListsAndThePrintedPage)
{
    m_bd.executer(QStringLiteral("UPDATE RESERVATIONS SET Annulation = '2026-12-08 16:30:00' WHERE NumeroReservation = %1")
                      .arg(m_dupont));
    m_fenetre->rafraichir();
    EXPECT_EQ(colonne(m_fenetre->arrivees, Journee::Client), QStringList());
    EXPECT_EQ(colonne(m_fenetre->presents, Journee::Client), QStringList{QStringLiteral("Gérard Lefèvre")});
    EXPECT_EQ(colonne(m_fenetre->departs, Journee::Client), QStringList{QStringLiteral("Martin")});
    EXPECT_FALSE(Journee::Html(m_fenetre->jour(), m_fenetre->listes()).contains(QStringLiteral("Dupont")));
}

TEST_F(FenetreJourneeTest, DoubleClickAndEnterOpenTheStay)
{
    QSignalSpy ouvertures(m_fenetre.get(), &FenetreJournee::ouvrirReservation);
    QTreeWidget* l = m_fenetre->presents;
    const QRect r = l->visualItemRect(l->topLevelItem(1));
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, r.center());
    ASSERT_EQ(ouvertures.size(), 1);
    l->setFocus();
    QTest::keyClick(l, Qt::Key_Return);
    ASSERT_EQ(ouvertures.size(), 2);
    EXPECT_EQ(ouvertures[0][0].toInt(), m_gerard);
    EXPECT_EQ(ouvertures[1][0].toInt(), m_gerard);
}

TEST_F(FenetreJourneeTest, CheckInNeedsItsSettingThenWritesTheStateAndTheJournal)
{
    FenetreJournee& f = *m_fenetre;
    // Nothing chosen in the list.
    QStringList messages = dialoguesPendant([&] { QTest::mouseClick(f.boutonarrivee, Qt::LeftButton); });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("« Arrivées »"))) << messages[0].toStdString();

    choisir(f.arrivees, QStringLiteral("Dupont"));
    struct Cas { QString reglage; QString attendu; };
    for (const Cas& c : {Cas{QString(), QStringLiteral("« etat arrivee »")}, Cas{QStringLiteral("9"), QStringLiteral("« 9 »")},
                         Cas{QStringLiteral("abc"), QStringLiteral("« abc »")}}) {
        regler(FenetreJournee::cleEtatArrivee(), c.reglage);
        messages = dialoguesPendant([&] { QTest::mouseClick(f.boutonarrivee, Qt::LeftButton); });
        ASSERT_EQ(messages.size(), 1) << c.reglage.toStdString();
        EXPECT_TRUE(messages[0].contains(c.attendu)) << messages[0].toStdString();
        EXPECT_EQ(valeur(QStringLiteral("SELECT Etat FROM RESERVATIONS WHERE NumeroReservation = %1").arg(m_dupont)), 1);
    }
    EXPECT_EQ(journal(m_dupont), QStringList());

    regler(FenetreJournee::cleEtatArrivee(), QStringLiteral("4"));
    messages = dialoguesPendant([&] { QTest::mouseClick(f.boutonarrivee, Qt::LeftButton); });
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(valeur(QStringLiteral("SELECT Etat FROM RESERVATIONS WHERE NumeroReservation = %1").arg(m_dupont)), 4);
    EXPECT_EQ(journal(m_dupont), QStringList{QStringLiteral("Arrivée du client")});
    // The list shows the new state, the row still chosen; a second click says so.
    EXPECT_EQ(colonne(f.arrivees, Journee::Etat), QStringList{QStringLiteral("Arrivé")});
    messages = dialoguesPendant([&] { QTest::mouseClick(f.boutonarrivee, Qt::LeftButton); });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("déjà"))) << messages[0].toStdString();
    EXPECT_EQ(journal(m_dupont).size(), 1);
}

TEST_F(FenetreJourneeTest, CheckOutAsksAboutAnOwedBalance)
{
    FenetreJournee& f = *m_fenetre;
    regler(FenetreJournee::cleEtatDepart(), QStringLiteral("5"));
    choisir(f.departs, QStringLiteral("Martin"));
    const QString etatMartin = QStringLiteral("SELECT Etat FROM RESERVATIONS WHERE NumeroReservation = %1").arg(m_martin);

    // "Annuler" stops: nothing written.
    QStringList messages = dialoguesPendant([&] { QTest::mouseClick(f.boutondepart, Qt::LeftButton); },
                                            {QStringLiteral("Annuler")});
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Le solde de Martin est de -45"))) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].endsWith(QStringLiteral(". Encaisser maintenant ?"))) << messages[0].toStdString();
    EXPECT_EQ(valeur(etatMartin), 1);
    EXPECT_EQ(journal(m_martin), QStringList());

    // "Oui": the payment dialog, the amount owed proposed; once paid, the departure.
    bool caisseVue = false;
    messages = dialoguesPendant([&] { QTest::mouseClick(f.boutondepart, Qt::LeftButton); }, {QStringLiteral("Oui")},
                                [&](QWidget* w) {
                                    auto* e = qobject_cast<Encaissement*>(w);
                                    if (!e || caisseVue)
                                        return false;
                                    caisseVue = true;
                                    EXPECT_EQ(e->reservation->text(), QString::number(m_martin));
                                    QTest::mouseClick(e->typereglemement[0], Qt::LeftButton);
                                    e->montant->setText(QStringLiteral("45"));
                                    QTest::mouseClick(e->OK, Qt::LeftButton);
                                    return true;
                                });
    EXPECT_TRUE(caisseVue);
    EXPECT_EQ(valeur(etatMartin), 5);
    EXPECT_EQ(journal(m_martin), QStringList{QStringLiteral("Départ du client")});
    EXPECT_EQ(valeur(QStringLiteral("SELECT total(prix) FROM OPERATIONS WHERE numeroreservation = %1").arg(m_martin)), 0);
}

TEST_F(FenetreJourneeTest, CheckOutWithoutPaymentAndWithASettledAccount)
{
    FenetreJournee& f = *m_fenetre;
    // No departed state chosen yet.
    choisir(f.departs, QStringLiteral("Martin"));
    QStringList messages = dialoguesPendant([&] { QTest::mouseClick(f.boutondepart, Qt::LeftButton); });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("« etat depart »"))) << messages[0].toStdString();

    regler(FenetreJournee::cleEtatDepart(), QStringLiteral("5"));
    // "Non" goes on without a payment.
    messages = dialoguesPendant([&] { QTest::mouseClick(f.boutondepart, Qt::LeftButton); }, {QStringLiteral("Non")});
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(journal(m_martin), QStringList{QStringLiteral("Départ du client")});
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE numeroreservation = %1 AND prix > 0").arg(m_martin)), 0);

    // A guest on site leaving early, whose account is settled: no question.
    choisir(f.presents, QStringLiteral("Gérard Lefèvre"));
    messages = dialoguesPendant([&] { QTest::mouseClick(f.boutondepart, Qt::LeftButton); });
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(valeur(QStringLiteral("SELECT Etat FROM RESERVATIONS WHERE NumeroReservation = %1").arg(m_gerard)), 5);
    EXPECT_EQ(journal(m_gerard), QStringList{QStringLiteral("Départ du client")});
}

TEST_F(FenetreJourneeTest, ThePrintedDayHoldsTheThreeLists)
{
    QStringList imprimes;
    m_fenetre->imprimerPage = [&](const QString& html, const QString& titre) {
        imprimes << titre;
        return !html.isEmpty();
    };
    const QStringList messages = dialoguesPendant([&] { QTest::mouseClick(m_fenetre->imprimer, Qt::LeftButton); });
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(imprimes, QStringList{QStringLiteral("Journée du 09/12/2026")});
    QFile pdf(Chemins::dansDossier(QStringLiteral("Documents/journee_2026-12-09.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray octets = pdf.readAll();
    // One page: the page tree counts one.
    EXPECT_TRUE(octets.contains("/Count 1")) << octets.left(2000).toStdString();
    const auto texte = texteDuPdf(octets);
    if (!texte)
        GTEST_SKIP() << "pdftotext absent";
    for (const char* attendu : {"Arrivées (1)", "Départs (1)", "Présents (2)", "Dupont", "Martin", "Gérard Lefèvre", "Chalet A"})
        EXPECT_TRUE(texte->contains(QString::fromUtf8(attendu))) << attendu;
    EXPECT_FALSE(texte->contains(QStringLiteral("Illisible")));
}

// "Départ" on a stay that arrived today and was to leave later: the desk is
// asked; "Non" changes nothing, "Oui" ends the stay today and notes the departure.
TEST_F(FenetreJourneeTest, CheckOutOnTheArrivalDayAsksAndEndsTheStayToday)
{
    FenetreJournee& f = *m_fenetre;
    regler(FenetreJournee::cleEtatDepart(), QStringLiteral("5"));
    choisir(f.presents, QStringLiteral("Dupont"));
    const QString sejour = QStringLiteral("SELECT Etat || ' ' || DateFin FROM RESERVATIONS WHERE NumeroReservation = %1")
                               .arg(m_dupont);
    QStringList messages = dialoguesPendant([&] { QTest::mouseClick(f.boutondepart, Qt::LeftButton); },
                                            {QStringLiteral("Non")});
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Le client part le jour de son arrivée ?"))) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("12/12/2026"))) << messages[0].toStdString();
    EXPECT_EQ(m_bd.valeur(sejour).toString(), QStringLiteral("1 2026-12-12 12:00:00"));
    EXPECT_EQ(journal(m_dupont), QStringList());

    // The clock at 10:00, the arrival at 14:00: the stay ends at its arrival.
    messages = dialoguesPendant([&] { QTest::mouseClick(f.boutondepart, Qt::LeftButton); }, {QStringLiteral("Oui")});
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(m_bd.valeur(sejour).toString(), QStringLiteral("5 2026-12-09 14:00:00"));
    EXPECT_EQ(journal(m_dupont), QStringList{QStringLiteral("Départ du client")});
    // A stay that arrived earlier leaves without the question.
    choisir(f.presents, QStringLiteral("Gérard Lefèvre"));
    messages = dialoguesPendant([&] { QTest::mouseClick(f.boutondepart, Qt::LeftButton); });
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
}
