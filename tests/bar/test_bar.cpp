// The bar window driven as a user would, on a temporary database.
#include "store/contexte.h"
#include "bar/bar.h"
#include "bar/encaissement.h"
#include "bar/ticketdecaisse.h"
#include "config/ini32.h"
#include "store/requetes.h"
#include "outils.h"
#include "store/conversion.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "testutil.h"
#include "ui/boutoneclaire.h"
#include "ui/twips.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QList<ArticleTest> kArticles = {
    {QStringLiteral("Boissons"), QStringLiteral("Café"), 1.5},
    {QStringLiteral("Boissons"), QStringLiteral("Jus d'orange"), 2.5},
    {QStringLiteral("Petit déjeuner"), QStringLiteral("Petit déjeuner complet"), 9.5},
    {QStringLiteral("Boissons"), QStringLiteral("Bière pression"), 3.5},
    {QStringLiteral("Divers"), QStringLiteral("Pain & beurre"), 1.256},
};
// Query order: by family, then as entered.
enum { Cafe, Jus, Biere, Pain, PetitDej };

class BarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Horloge::fixer(Dates::naive(QDate(2024, 8, 2), QTime(10, 15)));
        contexte.BaseOuverte = db.base();
    }
    void TearDown() override
    {
        for (const QPointer<BAR>& b : fenetres)
            delete b.data();
        Horloge::liberer();
        EXPECT_EQ(messages.sansOK, 0);
    }

    BAR* ouvrir(const QString& numero = QStringLiteral("42"))
    {
        auto* bar = new BAR(&contexte);
        bar->totaldu = 0;
        bar->reservation->setText(numero);
        bar->show();
        QApplication::setActiveWindow(bar);
        QCoreApplication::processEvents();
        fenetres.append(bar);
        return bar;
    }

    static BoutonEclaire* article(BAR* bar, int i) { return bar->Consommation.at(i); }

    // Clicks into the display and types a quantity.
    static void taper(BAR* bar, const QString& texte)
    {
        QTest::mouseClick(bar->afficheur, Qt::LeftButton);
        QCoreApplication::processEvents();
        QTest::keyClicks(bar->afficheur, texte);
    }

    // What the windowing system sends for a double click: press, release,
    // double click, release.
    static void doubleClic(QWidget* w)
    {
        const QPoint p = w->rect().center();
        QTest::mousePress(w, Qt::LeftButton, {}, p);
        QTest::mouseRelease(w, Qt::LeftButton, {}, p);
        QMouseEvent double_(QEvent::MouseButtonDblClick, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                            Qt::NoModifier);
        QApplication::sendEvent(w, &double_);
        QTest::mouseRelease(w, Qt::LeftButton, {}, p);
    }

    TestUtil::BaseTemporaire db{QStringLiteral("bar")};
    Contexte contexte;
    // Answers any message box, so that a test never hangs on one.
    RepondeurMessages messages;
    QList<QPointer<BAR>> fenetres;
};

} // namespace

TEST_F(BarTest, ChargementOnzeArticles)
{
    QList<ArticleTest> onze;
    for (int i = 0; i < 11; ++i)
        onze.append({QStringLiteral("F"), QStringLiteral("Article %1").arg(i), 1 + i});
    remplirArticles(db.base(), onze);
    BAR* bar = ouvrir();

    ASSERT_EQ(bar->Consommation.size(), 11);
    const struct { int index; int gauche; int haut; } cas[] = {
        {0, 240, 720}, {1, 1155, 720}, {9, 8475, 720}, {10, 240, 720 + 735 + 60},
    };
    for (const auto& c : cas) {
        BoutonEclaire* b = article(bar, c.index);
        EXPECT_EQ(b->mapTo(bar->Fond, QPoint(0, 0)), QPoint(Twips::enPixels(c.gauche), Twips::enPixels(c.haut)))
            << c.index;
        EXPECT_EQ(b->size(), Twips::rect(0, 0, 855, 735).size());
        EXPECT_EQ(b->Index(), c.index);
        EXPECT_EQ(b->objectName(), QStringLiteral("Consommation"));
    }
    EXPECT_EQ(article(bar, 10)->Caption(), QStringLiteral("Article\n10"));
    EXPECT_EQ(article(bar, 10)->property("Tag").toString(), QStringLiteral("11"));

    // Loaded: empty receipt, "1" selected in the display, `R` empty.
    EXPECT_TRUE(bar->Ticket->Lignes().isEmpty());
    EXPECT_EQ(bar->afficheur->text(), QStringLiteral("1"));
    EXPECT_EQ(bar->afficheur->selectedText(), QStringLiteral("1"));
    EXPECT_TRUE(bar->R->text().isEmpty());
    EXPECT_EQ(bar->totaldu, 0);
    // The window covers the screen with its panel centred.
    EXPECT_EQ(bar->geometry(), bar->screen()->geometry());
}

TEST_F(BarTest, VentesSuccessives)
{
    remplirArticles(db.base(), kArticles);
    BAR* bar = ouvrir();
    QSignalSpy enregistrees(bar, &BAR::operationEnregistree);

    // (typed quantity, empty = none; article) -> receipt line, display, row
    const struct { const char* saisie; int article; const char* libelle; const char* ligne; const char* total;
                   double prix; const char* journal; } ventes[] = {
        {"3", Jus, "Jus d'orange", "3 x 2,5 = 7,50 €", "7,50 €", -7.5, "BAR Jus d'orange\r\n3 x 2,5"},
        {nullptr, Jus, "Jus d'orange", "1 x 2,5 = 2,50 €", "10,00 €", -2.5, "BAR Jus d'orange\r\n1 x 2,5"},
        {"2", PetitDej, "Petit déjeuner complet", "2 x 9,5 = 19,00 €", "29,00 €", -19, "BAR Petit déjeuner complet\r\n2 x 9,5"},
        {"7", Pain, "Pain & beurre", "7 x 1,26 = 8,82 €", "37,82 €", -8.82, "BAR Pain & beurre\r\n7 x 1,26"},
        {"01", Cafe, "Café", "1 x 1,5 = 1,50 €", "39,32 €", -1.5, "BAR Café\r\n1 x 1,5"},
    };
    QStringList recu;
    double somme = 0;
    for (const auto& v : ventes) {
        if (v.saisie) {
            taper(bar, QString::fromUtf8(v.saisie));
            EXPECT_TRUE(bar->R->text().isEmpty());
        }
        QTest::mouseClick(article(bar, v.article), Qt::LeftButton);
        recu << QString::fromUtf8(v.libelle) << QString::fromUtf8(v.ligne);
        somme += v.prix;
        EXPECT_EQ(bar->Ticket->Lignes(), recu);
        EXPECT_EQ(bar->afficheur->text(), QString::fromUtf8(v.total));
        EXPECT_EQ(bar->R->text(), QStringLiteral("Total"));
        EXPECT_NEAR(bar->totaldu, -somme, 1e-9);
        const QList<LigneJournal> journal = lireJournal(db.base());
        ASSERT_FALSE(journal.isEmpty());
        EXPECT_EQ(journal.last().numero, 42);
        EXPECT_DOUBLE_EQ(journal.last().prix, v.prix);
        EXPECT_EQ(journal.last().paiement, QStringLiteral("   "));
        EXPECT_EQ(journal.last().libelle, QString::fromUtf8(v.journal));
    }
    EXPECT_EQ(lireJournal(db.base()).size(), 5);
    ASSERT_EQ(enregistrees.size(), 5);
    EXPECT_EQ(enregistrees.last().at(0).toInt(), 42);
    EXPECT_EQ(db.valeur(QStringLiteral("SELECT date FROM OPERATIONS LIMIT 1")).toString(),
              QStringLiteral("2024-08-02 10:15:00"));
    EXPECT_EQ(messages.textes, QStringList());
}

TEST_F(BarTest, QuantitesRefusees)
{
    remplirArticles(db.base(), kArticles);
    const char* refusees[] = {"", "0", "1,5", "abc", "100000", "2 x", "1e3", "3,0", "1.0", "%1"};
    for (const char* saisie : refusees) {
        BAR* bar = ouvrir();
        QSignalSpy enregistrees(bar, &BAR::operationEnregistree);
        taper(bar, QString::fromUtf8(saisie));
        if (!*saisie)
            bar->afficheur->clear();
        messages.textes.clear();
        QTest::mouseClick(article(bar, Jus), Qt::LeftButton);
        ASSERT_EQ(messages.textes.size(), 1) << saisie;
        EXPECT_TRUE(messages.textes.first().contains(QStringLiteral("quantité"))) << saisie;
        EXPECT_TRUE(messages.textes.first().contains(QStringLiteral("« ") + QString::fromUtf8(saisie) + QStringLiteral(" »")))
            << messages.textes.first().toStdString();
        EXPECT_EQ(messages.sansOK, 0);
        EXPECT_TRUE(bar->Ticket->Lignes().isEmpty());
        EXPECT_EQ(bar->totaldu, 0);
        EXPECT_TRUE(bar->R->text().isEmpty());
        EXPECT_EQ(enregistrees.size(), 0);
        bar->close();
    }
    EXPECT_TRUE(lireJournal(db.base()).isEmpty());
}

TEST_F(BarTest, SansReservationRienNEstVendu)
{
    remplirArticles(db.base(), kArticles);
    for (const char* numero : {"reservation", "nouveau", ""}) {
        BAR* bar = ouvrir(QString::fromUtf8(numero));
        messages.textes.clear();
        QTest::mouseClick(article(bar, Cafe), Qt::LeftButton);
        ASSERT_EQ(messages.textes.size(), 1);
        EXPECT_TRUE(messages.textes.first().contains(QStringLiteral("réservation")));
        EXPECT_TRUE(bar->Ticket->Lignes().isEmpty());
        EXPECT_EQ(bar->totaldu, 0);
        bar->close();
    }
    EXPECT_TRUE(lireJournal(db.base()).isEmpty());
}

TEST_F(BarTest, JournalIllisibleLaVenteNEstPasImprimee)
{
    remplirArticles(db.base(), kArticles);
    BAR* bar = ouvrir();
    taper(bar, QStringLiteral("2"));
    QTest::mouseClick(article(bar, Cafe), Qt::LeftButton);
    const QStringList avant = bar->Ticket->Lignes();
    db.refuser(QStringLiteral("INSERT"), QStringLiteral("OPERATIONS"), QStringLiteral("journal en lecture seule"));
    QSignalSpy enregistrees(bar, &BAR::operationEnregistree);
    messages.textes.clear();
    QTest::mouseClick(article(bar, Biere), Qt::LeftButton);
    ASSERT_EQ(messages.textes.size(), 1);
    EXPECT_TRUE(messages.textes.first().contains(QStringLiteral("journal en lecture seule")));
    EXPECT_EQ(bar->Ticket->Lignes(), avant);
    EXPECT_DOUBLE_EQ(bar->totaldu, 3.0);
    EXPECT_EQ(bar->afficheur->text(), QStringLiteral("3,00 €"));
    EXPECT_EQ(enregistrees.size(), 0);
    EXPECT_EQ(lireJournal(db.base()).size(), 1);
}

TEST_F(BarTest, ArticlesMalFormes)
{
    const QString long200 = QString(QStringLiteral("Très long libellé ")).repeated(12).left(200);
    // A price that is no number: missing on either engine; a text only
    // where the column takes one (an SQLite file edited by hand).
    QList<ArticleTest> articles = {{QStringLiteral("A"), QStringLiteral("Sans prix"), QVariant()}};
    if (!TestUtil::SurPostgres())
        articles += {{QStringLiteral("A"), QStringLiteral("Prix vide"), QString()},
                     {QStringLiteral("A"), QStringLiteral("Prix texte"), QStringLiteral("gratuit")}};
    const int malFormes = int(articles.size());
    articles += {{QStringLiteral("A"), long200, 4}, {QStringLiteral("A"), QStringLiteral("Thé <b>vert</b> & menthe"), 2}};
    remplirArticles(db.base(), articles);
    BAR* bar = ouvrir();
    ASSERT_EQ(bar->Consommation.size(), articles.size());
    for (int i = 0; i < malFormes; ++i) {
        EXPECT_FALSE(article(bar, i)->isEnabled()) << i;
        EXPECT_FALSE(article(bar, i)->Caption().isEmpty());
        QTest::mouseClick(article(bar, i), Qt::LeftButton);
    }
    EXPECT_TRUE(lireJournal(db.base()).isEmpty());
    EXPECT_TRUE(bar->Ticket->Lignes().isEmpty());

    EXPECT_EQ(article(bar, malFormes + 1)->Caption(), QStringLiteral("Thé\n<b>vert</b>\n&&\nmenthe"));
    EXPECT_EQ(article(bar, malFormes + 1)->lbl->textFormat(), Qt::PlainText);
    QTest::mouseClick(article(bar, malFormes), Qt::LeftButton);
    QTest::mouseClick(article(bar, malFormes + 1), Qt::LeftButton);
    const QList<LigneJournal> journal = lireJournal(db.base());
    ASSERT_EQ(journal.size(), 2);
    EXPECT_EQ(journal[0].libelle, QStringLiteral("BAR ") + long200 + QStringLiteral("\r\n1 x 4"));
    EXPECT_EQ(journal[1].libelle, QStringLiteral("BAR Thé <b>vert</b> & menthe\r\n1 x 2"));
    EXPECT_EQ(bar->Ticket->Lignes().at(0), long200);
}

TEST_F(BarTest, AucunArticle)
{
    BAR* bar = ouvrir();
    EXPECT_EQ(bar->infos->text(), QStringLiteral("Aucun article"));
    EXPECT_FALSE(bar->Consommation.first()->isVisible());
}

TEST_F(BarTest, CentCinquanteArticlesRestentAccessibles)
{
    QList<ArticleTest> articles;
    for (int i = 0; i < 150; ++i)
        articles.append({QStringLiteral("F"), QStringLiteral("A%1").arg(i, 3, 10, QLatin1Char('0')), 1});
    remplirArticles(db.base(), articles);
    BAR* bar = ouvrir();
    ASSERT_EQ(bar->Consommation.size(), 150);
    QScrollArea* zone = bar->zoneArticles;
    EXPECT_GT(zone->verticalScrollBar()->maximum(), 0);
    // The area stays above `infos` and left of the receipt.
    EXPECT_LE(zone->geometry().bottom(), bar->infos->geometry().top());
    EXPECT_LE(zone->geometry().right(), bar->Ticket->geometry().left());
    // The last column is not hidden by the scroll bar.
    EXPECT_LE(article(bar, 9)->mapTo(zone, QPoint(article(bar, 9)->width(), 0)).x(),
              zone->viewport()->width());

    BoutonEclaire* dernier = article(bar, 149);
    zone->ensureWidgetVisible(dernier);
    const QRect visible = QRect(dernier->mapTo(zone->viewport(), QPoint(0, 0)), dernier->size());
    EXPECT_TRUE(zone->viewport()->rect().contains(visible));
    QTest::mouseClick(dernier, Qt::LeftButton);
    ASSERT_EQ(lireJournal(db.base()).size(), 1);
    EXPECT_EQ(lireJournal(db.base()).first().libelle, QStringLiteral("BAR A149\r\n1 x 1"));
}

TEST_F(BarTest, ClavierEtTouchesTapentLaQuantite)
{
    remplirArticles(db.base(), kArticles);
    BAR* bar = ouvrir();
    auto touche = [bar](const QString& legende) {
        for (xpcmdbutton* b : bar->calc)
            if (b->Caption() == legende)
                return b;
        return static_cast<xpcmdbutton*>(nullptr);
    };
    ASSERT_EQ(bar->calc.size(), 13);
    // (keys, expected display)
    const struct { QStringList touches; const char* affiche; } cas[] = {
        {{"1", "2"}, "12"}, {{"+", "4"}, "4"}, {{"4", "-"}, "-4"}, {{"5"}, "-5"}, {{"+"}, "1"},
        {{"0", ",", "5"}, "0,5"},
    };
    for (const auto& c : cas) {
        bar->Quitter->setFocus();
        QTest::mouseClick(bar->afficheur, Qt::LeftButton);
        QCoreApplication::processEvents();
        for (const QString& t : c.touches)
            QTest::mouseClick(touche(t), Qt::LeftButton);
        EXPECT_EQ(bar->afficheur->text(), QString::fromUtf8(c.affiche));
        EXPECT_TRUE(bar->R->text().isEmpty());
    }

    bar->Quitter->setFocus();
    QTest::mouseClick(bar->afficheur, Qt::LeftButton);
    QCoreApplication::processEvents();
    QTest::mouseClick(touche(QStringLiteral("1")), Qt::LeftButton);
    QTest::mouseClick(touche(QStringLiteral("2")), Qt::LeftButton);
    QTest::mouseClick(article(bar, Cafe), Qt::LeftButton);
    EXPECT_EQ(bar->Ticket->Lignes().last(), QStringLiteral("12 x 1,5 = 18,00 €"));
    // After a sale the keypad starts a new quantity.
    QTest::mouseClick(touche(QStringLiteral("3")), Qt::LeftButton);
    EXPECT_EQ(bar->afficheur->text(), QStringLiteral("3"));
    EXPECT_TRUE(bar->R->text().isEmpty());

    // A key typed on an article button goes to the display as a new quantity.
    article(bar, Biere)->setFocus();
    QTest::keyClick(article(bar, Biere), '4');
    EXPECT_EQ(bar->afficheur->text(), QStringLiteral("4"));
    EXPECT_TRUE(bar->afficheur->hasFocus());
    QTest::keyClick(bar->afficheur, '2');
    QTest::mouseClick(article(bar, Biere), Qt::LeftButton);
    EXPECT_EQ(bar->Ticket->Lignes().last(), QStringLiteral("42 x 3,5 = 147,00 €"));
    EXPECT_EQ(bar->afficheur->text(), QStringLiteral("165,00 €"));
    EXPECT_EQ(messages.textes, QStringList());
}

TEST_F(BarTest, FocusDeLAfficheurEtSurvol)
{
    remplirArticles(db.base(), kArticles);
    BAR* bar = ouvrir();
    QTest::mouseClick(article(bar, Cafe), Qt::LeftButton);
    EXPECT_EQ(bar->R->text(), QStringLiteral("Total"));
    bar->Quitter->setFocus();
    QTest::mouseClick(bar->afficheur, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->afficheur->text(), QStringLiteral("1"));
    EXPECT_EQ(bar->afficheur->selectedText(), QStringLiteral("1"));
    EXPECT_TRUE(bar->R->text().isEmpty());

    const struct { int article; const char* infos; } survols[] = {
        {Jus, "Jus d'orange : 2,50 €"}, {PetitDej, "Petit déjeuner complet : 9,50 €"}, {Pain, "Pain & beurre : 1,26 €"},
    };
    for (const auto& s : survols) {
        QTest::mouseMove(article(bar, s.article), QPoint(10, 10));
        EXPECT_EQ(bar->infos->text(), QString::fromUtf8(s.infos));
    }
}

TEST_F(BarTest, DoubleClicCoherent)
{
    remplirArticles(db.base(), kArticles);
    BAR* bar = ouvrir();
    taper(bar, QStringLiteral("2"));
    doubleClic(article(bar, Jus));
    doubleClic(article(bar, Cafe));
    const QList<LigneJournal> journal = lireJournal(db.base());
    ASSERT_FALSE(journal.isEmpty());
    double somme = 0;
    for (const LigneJournal& l : journal)
        somme += l.prix;
    // Every stored sale is printed, and the total is their sum.
    EXPECT_EQ(bar->Ticket->Lignes().size(), 2 * journal.size());
    EXPECT_NEAR(bar->totaldu, -somme, 1e-9);
    EXPECT_EQ(bar->afficheur->text(), Conversion::Monnaie(-somme));
}

TEST_F(BarTest, DeuxBarsDeuxReservations)
{
    remplirArticles(db.base(), kArticles);
    BAR* premier = ouvrir(QStringLiteral("7"));
    QTest::mouseClick(article(premier, Cafe), Qt::LeftButton);
    premier->close();
    BAR* second = ouvrir(QStringLiteral("8"));
    EXPECT_TRUE(second->Ticket->Lignes().isEmpty());
    QTest::mouseClick(article(second, Jus), Qt::LeftButton);
    const QList<LigneJournal> journal = lireJournal(db.base());
    ASSERT_EQ(journal.size(), 2);
    EXPECT_EQ(journal[0].numero, 7);
    EXPECT_EQ(journal[1].numero, 8);
    EXPECT_DOUBLE_EQ(second->totaldu, 2.5);
}

TEST_F(BarTest, EncaissementDepuisLeBarEtFermeture)
{
    remplirArticles(db.base(), kArticles);
    BAR* bar = ouvrir(QStringLiteral("42"));
    QSignalSpy enregistrees(bar, &BAR::operationEnregistree);
    QSignalSpy fermee(bar, &BAR::fermee);
    taper(bar, QStringLiteral("4"));
    QTest::mouseClick(article(bar, Biere), Qt::LeftButton);

    QTest::mouseClick(bar->encaissemnt, Qt::LeftButton);
    Encaissement* paiement = bar->paiement();
    ASSERT_NE(paiement, nullptr);
    EXPECT_TRUE(paiement->isVisible());
    EXPECT_EQ(paiement->reservation->text(), QStringLiteral("42"));
    // What the account owes is proposed, selected: Enter takes it whole.
    EXPECT_EQ(paiement->montant->text(), QStringLiteral("14,00"));
    EXPECT_EQ(paiement->montant->selectedText(), QStringLiteral("14,00"));
    QTest::mouseClick(paiement->typereglemement[0], Qt::LeftButton);
    QTest::keyClick(paiement->montant, Qt::Key_Return);

    ASSERT_EQ(enregistrees.size(), 2);
    EXPECT_EQ(enregistrees.last().at(0).toInt(), 42);
    const QList<LigneJournal> journal = lireJournal(db.base());
    ASSERT_EQ(journal.size(), 2);
    EXPECT_DOUBLE_EQ(journal[0].prix + journal[1].prix, 0.0);   // 4 x 3,5 paid in cash
    EXPECT_EQ(journal[1].paiement, QStringLiteral("ESP"));

    EXPECT_EQ(fermee.size(), 0);
    QTest::mouseClick(bar->Quitter, Qt::LeftButton);
    EXPECT_EQ(fermee.size(), 1);
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(BarTest, AnnulationDUneVente)
{
    remplirArticles(db.base(), kArticles);
    BAR* bar = ouvrir(QStringLiteral("42"));
    QSignalSpy enregistrees(bar, &BAR::operationEnregistree);
    auto touche = [bar](const char* legende) {
        for (xpcmdbutton* b : bar->calc)
            if (b->Caption() == QLatin1String(legende))
                return b;
        return static_cast<xpcmdbutton*>(nullptr);
    };
    taper(bar, QStringLiteral("3"));
    QTest::mouseClick(article(bar, Jus), Qt::LeftButton);
    ASSERT_EQ(bar->afficheur->text(), QStringLiteral("7,50 €"));

    // "-" arms: the display shows "-" before a new quantity.
    QTest::mouseClick(touche("-"), Qt::LeftButton);
    EXPECT_TRUE(bar->annulationArmee());
    EXPECT_EQ(bar->afficheur->text(), QStringLiteral("-1"));
    EXPECT_EQ(bar->afficheur->selectedText(), QStringLiteral("1"));
    EXPECT_TRUE(bar->R->text().isEmpty());
    QTest::mouseClick(touche("2"), Qt::LeftButton);
    EXPECT_EQ(bar->afficheur->text(), QStringLiteral("-2"));
    QTest::mouseClick(article(bar, Jus), Qt::LeftButton);

    QList<LigneJournal> journal = lireJournal(db.base());
    ASSERT_EQ(journal.size(), 2);
    EXPECT_EQ(journal[1].numero, 42);
    EXPECT_DOUBLE_EQ(journal[1].prix, 5.0);
    EXPECT_EQ(journal[1].paiement, QStringLiteral("   "));
    EXPECT_EQ(journal[1].libelle, QStringLiteral("ANNULATION BAR Jus d'orange\r\n2 x 2,5"));
    EXPECT_EQ(bar->Ticket->Lignes().mid(2), QStringList({QStringLiteral("ANNULATION"), QStringLiteral("Jus d'orange"),
                                                         QStringLiteral("-2 x 2,5 = -5,00 €")}));
    EXPECT_EQ(bar->afficheur->text(), QStringLiteral("2,50 €"));
    EXPECT_EQ(bar->R->text(), QStringLiteral("Total"));
    EXPECT_DOUBLE_EQ(bar->totaldu, 2.5);
    EXPECT_FALSE(bar->annulationArmee());
    EXPECT_EQ(enregistrees.size(), 2);

    // One correction per "-": the next click sells again (1 + 3 - 2 = 2 left).
    QTest::mouseClick(article(bar, Jus), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(lireJournal(db.base()).last().prix, -2.5);

    // "-" typed in the display arms too; more than what is left is refused,
    // and the correction stays armed with the quantity selected.
    messages.textes.clear();
    taper(bar, QStringLiteral("-3"));
    EXPECT_EQ(bar->afficheur->text(), QStringLiteral("-3"));
    QTest::mouseClick(article(bar, Jus), Qt::LeftButton);
    EXPECT_EQ(messages.textes, QStringList(QStringLiteral(
                                   "Impossible d'annuler plus que ce qui a été vendu : 2 x Jus d'orange sur ce compte.")));
    EXPECT_TRUE(bar->annulationArmee());
    EXPECT_EQ(bar->afficheur->selectedText(), QStringLiteral("3"));
    // An article never sold on this account cannot be taken back.
    QTest::mouseClick(touche("1"), Qt::LeftButton);
    QTest::mouseClick(article(bar, Cafe), Qt::LeftButton);
    ASSERT_EQ(messages.textes.size(), 2);
    EXPECT_TRUE(messages.textes[1].contains(QStringLiteral("aucun « Café »"))) << messages.textes[1].toStdString();
    EXPECT_EQ(lireJournal(db.base()).size(), 3);
    EXPECT_DOUBLE_EQ(bar->totaldu, 5.0);

    // "+" disarms and keeps the quantity: the click sells.
    QTest::mouseClick(touche("+"), Qt::LeftButton);
    EXPECT_FALSE(bar->annulationArmee());
    EXPECT_EQ(bar->afficheur->text(), QStringLiteral("1"));
    QTest::mouseClick(article(bar, Cafe), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(lireJournal(db.base()).last().prix, -1.5);

    // What is left can be taken back in full, then nothing more.
    for (const char* saisie : {"2", "1"}) {
        QTest::mouseClick(touche("-"), Qt::LeftButton);
        QTest::mouseClick(touche(saisie), Qt::LeftButton);
        QTest::mouseClick(article(bar, Jus), Qt::LeftButton);
    }
    journal = lireJournal(db.base());
    ASSERT_EQ(journal.size(), 5);
    EXPECT_EQ(journal.last().libelle, QStringLiteral("ANNULATION BAR Jus d'orange\r\n2 x 2,5"));
    ASSERT_EQ(messages.textes.size(), 3);
    EXPECT_TRUE(messages.textes[2].contains(QStringLiteral("aucun « Jus d'orange »"))) << messages.textes[2].toStdString();

    // Another account holds none of these sales.
    BAR* autre = ouvrir(QStringLiteral("43"));
    taper(autre, QStringLiteral("-1"));
    QTest::mouseClick(article(autre, Cafe), Qt::LeftButton);
    ASSERT_EQ(messages.textes.size(), 4);
    EXPECT_TRUE(messages.textes[3].contains(QStringLiteral("aucun « Café »")));
    EXPECT_EQ(lireJournal(db.base()).size(), 5);
}

// A label holding "%1" is stored, printed and shown as it stands.
TEST_F(BarTest, LibelleAvecPourcent)
{
    remplirArticles(db.base(), {{QStringLiteral("Plats"), QStringLiteral("Menu %1 du jour %2"), 2.5}});
    BAR* bar = ouvrir();
    taper(bar, QStringLiteral("3"));
    QTest::mouseClick(article(bar, 0), Qt::LeftButton);
    EXPECT_EQ(lireJournal(db.base()).last().libelle, QStringLiteral("BAR Menu %1 du jour %2\r\n3 x 2,5"));
    EXPECT_EQ(bar->Ticket->Lignes(),
              QStringList({QStringLiteral("Menu %1 du jour %2"), QStringLiteral("3 x 2,5 = 7,50 €")}));
    QTest::mouseMove(article(bar, 0));
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->infos->text(), QStringLiteral("Menu %1 du jour %2 : 2,50 €"));
    // It can be taken back, found by that same label.
    taper(bar, QStringLiteral("-3"));
    QTest::mouseClick(article(bar, 0), Qt::LeftButton);
    EXPECT_EQ(lireJournal(db.base()).last().libelle, QStringLiteral("ANNULATION BAR Menu %1 du jour %2\r\n3 x 2,5"));
    EXPECT_EQ(messages.textes, QStringList());
}

TEST_F(BarTest, LaTVADeLArticleSuitSaVenteEtSonAnnulation)
{
    db.executer(QStringLiteral("INSERT INTO CONSOMMATIONS (Famille, Libelle, prixTTC, tauxTVA) VALUES "
                               "('Boissons', 'Bière', 3.5, 20), ('Repas', 'Menu', 15, 5.5), ('Divers', 'Glace', 2, NULL)"));
    BAR* bar = ouvrir(QStringLiteral("42"));
    QTest::mouseClick(article(bar, 0), Qt::LeftButton);
    QTest::mouseClick(article(bar, 1), Qt::LeftButton);
    QTest::mouseClick(article(bar, 2), Qt::LeftButton);
    taper(bar, QStringLiteral("-1"));
    QTest::mouseClick(article(bar, 0), Qt::LeftButton);
    QSqlQuery q(db.base());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT libelle, prix, tauxtva FROM OPERATIONS ORDER BY rowid")));
    QStringList lignes;
    while (q.next())
        lignes << q.value(0).toString().section(QLatin1Char('\r'), 0, 0) + QLatin1Char(' ') + q.value(1).toString()
                      + QLatin1Char(' ') + (q.value(2).isNull() ? QStringLiteral("NULL") : q.value(2).toString());
    // Articles come by family: Boissons, Divers, Repas.
    EXPECT_EQ(lignes, (QStringList{QStringLiteral("BAR Bière -3.5 20"), QStringLiteral("BAR Glace -2 10"),
                                   QStringLiteral("BAR Menu -15 5.5"), QStringLiteral("ANNULATION BAR Bière 3.5 20")}));
}

// A sale on the account of a guest who has left (departure day past, or the
// departure state) is asked first: "Non" sells nothing, "Oui" sells, and the
// same stay is not asked about again while the window is open.
TEST_F(BarTest, UneVenteAUnClientPartiEstDemandeeDAbord)
{
    remplirArticles(db.base(), kArticles);
    contexte.CheminINI = db.dossier() + QStringLiteral("/planning.ini");
    INI32::ProfilINI(QStringLiteral("reservation"), QStringLiteral("etat depart"), QStringLiteral("3"), contexte.CheminINI, 0);
    TestUtil::Logements(db.base(), {1});
    const auto sejour = [&](const char* client, qint32 etat, const QDate& fin) {
        Requetes::Reservation r;
        r.objet = 1;
        r.nomclient = QString::fromUtf8(client);
        r.debut = Dates::naive(QDate(2024, 7, 20), QTime(14, 0));
        r.fin = Dates::naive(fin, QTime(12, 0));
        r.etat = etat;
        QString erreur;
        const auto numero = Requetes::ajouterReservation(db.base(), r, &erreur);
        EXPECT_TRUE(numero) << erreur.toStdString();
        return numero.value_or(0);
    };
    const struct { const char* client; qint32 etat; QDate fin; const char* question; } cas[] = {
        {"Parti Hier", 1, QDate(2024, 8, 1), "Le client Parti Hier est parti (départ le 01/08/2024)."},
        {"Noté Parti", 3, QDate(2024, 8, 9), "Le client Noté Parti est parti (départ noté, prévu le 09/08/2024)."},
        {"Part Aujourdhui", 1, QDate(2024, 8, 2), nullptr},
        {"Reste Encore", 1, QDate(2024, 8, 9), nullptr},
    };
    for (const auto& c : cas) {
        const qint32 numero = sejour(c.client, c.etat, c.fin);
        BAR* bar = ouvrir(QString::number(numero));
        const auto ventes = [&] {
            int n = 0;
            for (const LigneJournal& l : lireJournal(db.base()))
                n += l.numero == numero;
            return n;
        };
        messages.textes.clear();
        messages.reponses = {QStringLiteral("Non")};
        QTest::mouseClick(article(bar, Cafe), Qt::LeftButton);
        if (!c.question) {
            // Sold at once, nothing asked.
            EXPECT_EQ(messages.textes, QStringList()) << c.client;
            EXPECT_EQ(ventes(), 1) << c.client;
            messages.reponses.clear();
            continue;
        }
        ASSERT_EQ(messages.textes.size(), 1) << c.client;
        EXPECT_TRUE(messages.textes[0].startsWith(QString::fromUtf8(c.question))) << messages.textes[0].toStdString();
        EXPECT_TRUE(messages.textes[0].contains(QStringLiteral("Enregistrer quand même la vente")));
        // "Non": nothing sold, nothing printed.
        EXPECT_EQ(ventes(), 0) << c.client;
        EXPECT_TRUE(bar->Ticket->Lignes().isEmpty());
        EXPECT_EQ(bar->totaldu, 0);
        // "Oui": sold; the next sale is not asked about.
        messages.reponses = {QStringLiteral("Oui")};
        QTest::mouseClick(article(bar, Cafe), Qt::LeftButton);
        EXPECT_EQ(ventes(), 1) << c.client;
        EXPECT_EQ(bar->Ticket->Lignes().size(), 2);
        QTest::mouseClick(article(bar, Jus), Qt::LeftButton);
        EXPECT_EQ(ventes(), 2) << c.client;
        EXPECT_EQ(messages.textes.size(), 2) << c.client;
        EXPECT_TRUE(messages.reponses.isEmpty());
    }
}
