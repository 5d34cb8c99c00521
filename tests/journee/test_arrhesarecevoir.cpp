// The deposits still to receive: which stays, in which order, how late; the
// statement on both engines; the tab of the "Journée" window as the desk
// uses it.
#include "outils.h"

#include "journee/arrhesarecevoir.h"
#include "journee/fenetrejournee.h"
#include "journee/ongletarrhes.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

namespace {

using ArrhesARecevoir::Demande;
using ArrhesARecevoir::Ligne;

Demande demande(qint32 numero, double arrhes, double recu, const QDate& limite, const QDate& debut, int nuits)
{
    Demande d;
    d.numero = numero;
    d.objet = numero;
    d.client = QStringLiteral("Client %1").arg(numero);
    d.debut = Dates::naive(debut, QTime(14, 0));
    d.fin = Dates::naive(debut.addDays(nuits), QTime(12, 0));
    d.arrhes = arrhes;
    d.recu = recu;
    d.datelimite = limite.isValid() ? Dates::naive(limite, QTime(0, 0)) : QDateTime();
    return d;
}

TEST(ArrhesARecevoir, WhichStaysInWhichOrderAndHowLate)
{
    const QDate auj(2026, 12, 9);
    QList<Demande> demandes = {
        demande(1, 100, 0, auj.addDays(5), auj.addDays(20), 7),     // due in 5 days
        demande(2, 150, 0, auj.addDays(-3), auj.addDays(10), 7),    // 3 days late
        demande(3, 200, 80, auj.addDays(2), auj.addDays(6), 7),     // partly paid
        demande(4, 100, 100, auj.addDays(-9), auj.addDays(3), 7),   // paid: out
        demande(5, 100, 130, auj.addDays(-9), auj.addDays(3), 7),   // paid more: out
        demande(6, 100, 99.99, auj.addDays(1), auj.addDays(4), 7),  // a cent short: still due
        demande(7, 90, 0, auj.addDays(-1), auj.addDays(-4), 4),     // leaves today, 1 day late
        demande(8, 90, 0, auj.addDays(-20), auj.addDays(-10), 9),   // left yesterday: out
        demande(9, 60, 0, auj, auj.addDays(1), 3),                  // due today: not late
        demande(10, 60, 0, QDate(), auj.addDays(30), 3),            // no due date: last
        demande(11, 60, 0, QDate(), auj.addDays(12), 3),            //   by arrival
        demande(12, 75, 0, auj.addDays(-3), auj.addDays(8), 2),     // same date as 2, arrives first
        demande(13, 100.004, 100, auj.addDays(1), auj.addDays(3), 2),   // less than half a cent: paid
        demande(14, 50, 0, auj.addDays(2), auj.addDays(6), 7),      // same date and arrival as 3
        demande(15, 50, -30, auj.addDays(3), auj.addDays(6), 7),    // refunded more than paid
    };
    demandes[13].debut = demandes[2].debut;
    Demande illisible = demande(16, 50, 0, auj, auj, 3);
    illisible.fin = QDateTime();
    demandes << illisible;

    struct Attendu { qint32 numero; double reste; int retard; };
    const QList<Attendu> attendus = {
        {12, 75, 3}, {2, 150, 3}, {7, 90, 1}, {9, 60, 0}, {6, 0.01, 0}, {3, 120, 0}, {14, 50, 0},
        {15, 80, 0}, {1, 100, 0}, {11, 60, 0}, {10, 60, 0},
    };
    const QList<Ligne> lignes = ArrhesARecevoir::Lister(demandes, auj);
    ASSERT_EQ(lignes.size(), attendus.size());
    for (qsizetype i = 0; i < attendus.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lignes[i].sejour.numero, attendus[i].numero);
        EXPECT_DOUBLE_EQ(lignes[i].reste, attendus[i].reste);
        EXPECT_EQ(lignes[i].joursDeRetard, attendus[i].retard);
        EXPECT_EQ(lignes[i].enRetard(), attendus[i].retard > 0);
    }
    EXPECT_DOUBLE_EQ(ArrhesARecevoir::Total(lignes), 845.01);
    EXPECT_TRUE(ArrhesARecevoir::Lister({}, auj).isEmpty());
}

TEST(ArrhesARecevoir, ColumnsOfAStay)
{
    const QDate auj(2026, 12, 9);
    Ligne l = ArrhesARecevoir::Lister({demande(4, 150, 30, auj.addDays(-3), QDate(2026, 12, 20), 7)}, auj).value(0);
    l.sejour.unite = QStringLiteral("Chalet A");
    l.sejour.client = QStringLiteral("Dupont\r\nJean ");
    EXPECT_EQ(ArrhesARecevoir::Textes(l),
              (QStringList{QStringLiteral("Chalet A"), QStringLiteral("Dupont Jean"),
                           QStringLiteral("20/12/26 – 27/12/26"), QStringLiteral("150,00 €"),
                           QStringLiteral("30,00 €"), QStringLiteral("120,00 €"),
                           QStringLiteral("06/12/26 (3 jours de retard)")}));
    EXPECT_EQ(ArrhesARecevoir::TitresColonnes().size(), ArrhesARecevoir::NombreColonnes);
    // Not late: the date alone; no date: nothing; a unit gone: its number.
    l.joursDeRetard = 0;
    EXPECT_EQ(ArrhesARecevoir::Textes(l).at(ArrhesARecevoir::Echeance), QStringLiteral("06/12/26"));
    l.sejour.datelimite = QDateTime();
    l.sejour.unite.clear();
    EXPECT_EQ(ArrhesARecevoir::Textes(l).at(ArrhesARecevoir::Echeance), QString());
    EXPECT_EQ(ArrhesARecevoir::Textes(l).at(ArrhesARecevoir::Unite), QStringLiteral("4"));
    const struct { int jours; const char* texte; } retards[] = {
        {1, "1 jour de retard"}, {2, "2 jours de retard"}, {31, "31 jours de retard"}};
    for (const auto& r : retards)
        EXPECT_EQ(ArrhesARecevoir::TexteRetard(r.jours), QString::fromUtf8(r.texte));
}

// The stays of the seeded day (9 December 2026) asking for deposits, with
// what their accounts received.
class ArrhesBase : public JourneeTest
{
protected:
    void SetUp() override
    {
        JourneeTest::SetUp();
        TestUtil::Logements(m_bd.base(), {5, 6, 7, 8, 9, 10, 11, 12});
        m_retard = demander(stocker(5, QStringLiteral("Retard"), jour().addDays(11), 7), 150, jour().addDays(-3));
        m_partiel = demander(stocker(6, QStringLiteral("Partiel"), jour().addDays(6), 7), 200, jour().addDays(3));
        payer(m_partiel, 80, "ESP");
        m_rembourse = demander(stocker(7, QStringLiteral("Remboursé"), jour().addDays(9), 7), 100, jour().addDays(1));
        payer(m_rembourse, 100, "CB");
        payer(m_rembourse, -40, "CB");
        const qint32 annule = demander(stocker(8, QStringLiteral("Annulé"), jour().addDays(5), 7), 100, jour().addDays(-8));
        m_bd.executer(QStringLiteral("UPDATE RESERVATIONS SET Annulation = '2026-12-01 10:00:00' "
                                     "WHERE NumeroReservation = %1").arg(annule));
        const qint32 paye = demander(stocker(9, QStringLiteral("Payé"), jour().addDays(5), 7), 100, jour().addDays(-8));
        payer(paye, 60, "ESP");
        payer(paye, 40, "CHQ");
        demander(stocker(10, QStringLiteral("Fini"), jour().addDays(-6), 5), 100, jour().addDays(-20));
        m_charge = demander(stocker(11, QStringLiteral("Chargé"), jour().addDays(4), 3), 100, jour().addDays(2));
        Module1::EnregistrerOperation(m_bd.base(), m_charge, -300, QString(), QStringLiteral("SEJOUR"));
        payer(m_charge, 30, "ESP");
        m_sansDate = demander(stocker(12, QStringLiteral("Sans date"), jour().addDays(30), 3), 100, QDate());
        // Martin leaves today and has not paid his deposit, a day late.
        demander(m_martin, 90, jour().addDays(-1));
    }
    qint32 demander(qint32 numero, double arrhes, const QDate& limite)
    {
        m_bd.executer(QStringLiteral("UPDATE RESERVATIONS SET arrhes = %1, datelimite = %2 WHERE NumeroReservation = %3")
                          .arg(arrhes)
                          .arg(limite.isValid() ? QLatin1Char('\'') + Dates::versTexteBase(limite) + QLatin1Char('\'')
                                                : QStringLiteral("NULL"))
                          .arg(numero));
        return numero;
    }
    void payer(qint32 numero, double montant, const char* code)
    {
        ASSERT_TRUE(Module1::EnregistrerOperation(m_bd.base(), numero, montant, QLatin1String(code),
                                                  QStringLiteral("Paiement ") + QLatin1String(code)));
    }
    qint32 m_retard = 0, m_partiel = 0, m_rembourse = 0, m_charge = 0, m_sansDate = 0;
};

TEST_F(ArrhesBase, TheStatementGivesWhatWasAskedAndReceived)
{
    QString erreur;
    const auto demandes = RequetesJournee::arrhesDemandees(m_bd.base(), jour(), &erreur);
    ASSERT_TRUE(demandes.has_value()) << erreur.toStdString();
    const QList<Ligne> lignes = ArrhesARecevoir::Lister(*demandes, jour());
    struct Attendu { qint32 numero; const char* client; double arrhes, recu, reste; int retard; };
    const QList<Attendu> attendus = {
        {m_retard, "Retard", 150, 0, 150, 3},
        {m_martin, "Martin", 90, 0, 90, 1},
        {m_rembourse, "Remboursé", 100, 60, 40, 0},
        {m_charge, "Chargé", 100, 30, 70, 0},
        {m_partiel, "Partiel", 200, 80, 120, 0},
        {m_sansDate, "Sans date", 100, 0, 100, 0},
    };
    ASSERT_EQ(lignes.size(), attendus.size());
    for (qsizetype i = 0; i < attendus.size(); ++i) {
        SCOPED_TRACE(attendus[i].client);
        const Ligne& l = lignes[i];
        EXPECT_EQ(l.sejour.numero, attendus[i].numero);
        EXPECT_EQ(l.sejour.client, QString::fromUtf8(attendus[i].client));
        EXPECT_DOUBLE_EQ(l.sejour.arrhes, attendus[i].arrhes);
        EXPECT_DOUBLE_EQ(l.sejour.recu, attendus[i].recu);
        EXPECT_DOUBLE_EQ(l.reste, attendus[i].reste);
        EXPECT_EQ(l.joursDeRetard, attendus[i].retard);
    }
    EXPECT_EQ(lignes[0].sejour.unite, QStringLiteral("Logement 5"));
    EXPECT_EQ(lignes[0].sejour.datelimite.date(), jour().addDays(-3));
    EXPECT_EQ(lignes[0].sejour.debut, Dates::naive(jour().addDays(11), QTime(14, 0)));
    // Martin's stay ended yesterday seen from tomorrow.
    const auto demain = RequetesJournee::arrhesDemandees(m_bd.base(), jour().addDays(1));
    ASSERT_TRUE(demain.has_value());
    for (const Ligne& l : ArrhesARecevoir::Lister(*demain, jour().addDays(1)))
        EXPECT_NE(l.sejour.numero, m_martin);
}

TEST_F(ArrhesBase, CancelledStaysLeaveTheDayListsButTheSearchStillFindsThem)
{
    ASSERT_TRUE(RequetesJournee::sejoursAutourDe(m_bd.base(), jour()).value_or(QList<Journee::Sejour>()).size() >= 3);
    m_bd.executer(QStringLiteral("UPDATE RESERVATIONS SET Annulation = '2026-12-08 16:30:00' WHERE NumeroReservation = %1")
                      .arg(m_dupont));
    QList<qint32> autour;
    for (const Journee::Sejour& s : RequetesJournee::sejoursAutourDe(m_bd.base(), jour()).value_or(QList<Journee::Sejour>()))
        autour << s.numero;
    EXPECT_FALSE(autour.contains(m_dupont));
    EXPECT_TRUE(autour.contains(m_martin));
    EXPECT_TRUE(autour.contains(m_gerard));

    const auto trouves = RequetesJournee::rechercher(m_bd.base(), QStringLiteral("dupont"));
    ASSERT_TRUE(trouves && trouves->size() == 1);
    EXPECT_EQ(trouves->at(0).numero, m_dupont);
    EXPECT_TRUE(trouves->at(0).annulee());
    EXPECT_EQ(trouves->at(0).annulation, Dates::naive(QDate(2026, 12, 8), QTime(16, 30)));
    const auto martin = RequetesJournee::rechercher(m_bd.base(), QStringLiteral("martin"));
    ASSERT_TRUE(martin && martin->size() == 1);
    EXPECT_FALSE(martin->at(0).annulee());
}

class OngletArrhesTest : public ArrhesBase
{
protected:
    void SetUp() override
    {
        ArrhesBase::SetUp();
        m_fenetre = std::make_unique<FenetreJournee>(&m_contexte);
        m_fenetre->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_fenetre.get()));
    }
    QTreeWidget* liste() const { return m_fenetre->findChild<QTreeWidget*>(QStringLiteral("arrhesarecevoir")); }
    QStringList clients() const
    {
        QStringList c;
        for (int i = 0; i < liste()->topLevelItemCount(); ++i)
            c << liste()->topLevelItem(i)->text(ArrhesARecevoir::Client);
        return c;
    }
    std::unique_ptr<FenetreJournee> m_fenetre;
};

TEST_F(OngletArrhesTest, TheDeskOpensTheTabSeesTheLateOnesInRedAndOpensAStay)
{
    QTabWidget* onglets = m_fenetre->onglets;
    ASSERT_EQ(onglets->count(), 2);
    EXPECT_EQ(onglets->tabText(1), QString::fromUtf8("Arrhes à recevoir (6)"));
    QTest::mouseClick(onglets->tabBar(), Qt::LeftButton, {}, onglets->tabBar()->tabRect(1).center());
    ASSERT_EQ(onglets->currentIndex(), 1);
    ASSERT_TRUE(liste()->isVisible());
    EXPECT_EQ(clients(), (QStringList{QStringLiteral("Retard"), QStringLiteral("Martin"), QString::fromUtf8("Remboursé"),
                                      QString::fromUtf8("Chargé"), QStringLiteral("Partiel"), QStringLiteral("Sans date")}));
    QTreeWidgetItem* retard = liste()->topLevelItem(0);
    EXPECT_EQ(retard->text(ArrhesARecevoir::Echeance), QStringLiteral("06/12/26 (3 jours de retard)"));
    EXPECT_EQ(retard->foreground(ArrhesARecevoir::Client).color(), QColor(200, 0, 0));
    EXPECT_NE(liste()->topLevelItem(2)->foreground(ArrhesARecevoir::Client).color(), QColor(200, 0, 0));
    EXPECT_EQ(m_fenetre->findChild<QLabel*>(QStringLiteral("totalarrhes"))->text(),
              QString::fromUtf8("6 séjours, 570,00 € à recevoir"));
    if (const QString dossier = qEnvironmentVariable("PARCOURS_CAPTURES"); !dossier.isEmpty())
        m_fenetre->grab().save(dossier + QStringLiteral("/journee_arrhes.png"));

    // A double-click, or Enter, opens the stay as the day's lists do.
    QSignalSpy ouvertures(m_fenetre.get(), &FenetreJournee::ouvrirReservation);
    const QRect r = liste()->visualItemRect(liste()->topLevelItem(4));
    QTest::mouseClick(liste()->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(liste()->viewport(), Qt::LeftButton, {}, r.center());
    ASSERT_EQ(ouvertures.size(), 1);
    EXPECT_EQ(ouvertures[0][0].toInt(), m_partiel);
    liste()->setFocus();
    QTest::keyClick(liste(), Qt::Key_Return);
    ASSERT_EQ(ouvertures.size(), 2);
    EXPECT_EQ(ouvertures[1][0].toInt(), m_partiel);

    // The rest paid, the stay leaves the list at the next refresh; the row
    // chosen stays chosen.
    payer(m_retard, 150, "CB");
    m_fenetre->rafraichir();
    EXPECT_EQ(clients().size(), 5);
    EXPECT_FALSE(clients().contains(QStringLiteral("Retard")));
    EXPECT_EQ(onglets->tabText(1), QString::fromUtf8("Arrhes à recevoir (5)"));
    ASSERT_NE(liste()->currentItem(), nullptr);
    EXPECT_EQ(liste()->currentItem()->text(ArrhesARecevoir::Client), QStringLiteral("Partiel"));
}

} // namespace
