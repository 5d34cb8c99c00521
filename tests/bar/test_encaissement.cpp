// The payment dialog driven as a user would, on a temporary database.
#include "store/contexte.h"
#include "bar/encaissement.h"
#include "outils.h"
#include "store/module1.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "testutil.h"
#include "ui/xpcmdbutton.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class EncaissementTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Horloge::fixer(Dates::naive(QDate(2024, 8, 3), QTime(9, 0)));
        contexte.BaseOuverte = db.base();
    }
    void TearDown() override
    {
        for (const QPointer<Encaissement>& e : fenetres)
            delete e.data();
        Horloge::liberer();
        EXPECT_EQ(messages.sansOK, 0);
    }

    Encaissement* ouvrir(const QString& numero = QStringLiteral("42"))
    {
        auto* e = new Encaissement(&contexte);
        e->show();
        e->reservation->setText(numero);
        QApplication::setActiveWindow(e);
        fenetres.append(e);
        return e;
    }

    // Picks a type, types the amount and the comment.
    static void remplir(Encaissement* e, int type, const QString& montant, const QString& commentaire = {})
    {
        QTest::mouseClick(e->typereglemement[type], Qt::LeftButton);
        // Typed over the selected "0" (insert: the texts are not all ASCII).
        e->montant->insert(montant);
        e->commentaire->insert(commentaire);
    }

    TestUtil::BaseTemporaire db{QStringLiteral("encaissement")};
    Contexte contexte;
    // Answers any message box, so that a test never hangs on one.
    RepondeurMessages messages;
    QList<QPointer<Encaissement>> fenetres;
};

} // namespace

TEST_F(EncaissementTest, Chargement)
{
    Encaissement* e = ouvrir();
    EXPECT_FALSE(e->OK->isEnabled());
    EXPECT_TRUE(e->typepaiement->text().isEmpty());
    EXPECT_EQ(e->montant->text(), QStringLiteral("0"));
    ASSERT_EQ(e->typereglemement.size(), 4);
    const char* legendes[] = {"Espèces", "Carte Bleue", "Chèque", "Virement"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(e->typereglemement[i]->Caption(), QString::fromUtf8(legendes[i]));
        EXPECT_EQ(e->typereglemement[i]->objectName(), QStringLiteral("typereglemement"));
    }
    EXPECT_EQ(e->geometry(), e->screen()->geometry());
    EXPECT_EQ(e->Fond->geometry().center(), e->rect().center());
}

TEST_F(EncaissementTest, ChoixDuType)
{
    Encaissement* e = ouvrir();
    const struct { int index; const char* legende; const char* code; } cas[] = {
        {2, "Chèque", "CHQ"}, {0, "Espèces", "ESP"}, {3, "Virement", "VIR"}, {1, "Carte Bleue", "CB"},
    };
    for (const auto& c : cas) {
        QTest::mouseClick(e->typereglemement[c.index], Qt::LeftButton);
        EXPECT_EQ(e->typepaiement->text(), QString::fromUtf8(c.legende));
        EXPECT_EQ(e->typepaiement->property("Tag").toString(), QString::fromUtf8(c.code));
        EXPECT_TRUE(e->OK->isEnabled());
        EXPECT_EQ(e->montant->selectedText(), e->montant->text());
    }
}

TEST_F(EncaissementTest, PaiementsEnregistres)
{
    // (type, amount, comment) -> stored amount, code and wording
    const struct { int type; const char* montant; const char* commentaire; double prix; const char* code;
                   const char* libelle; } cas[] = {
        {2, "12,50", "", 12.5, "CHQ", "Paiement CHQ"},
        {0, "12,6", "", 12.6, "ESP", "Paiement ESP"},
        {3, "12.6", "Acompte séjour", 12.6, "VIR", "Acompte séjour (VIR)"},
        {1, "-20", "Remboursement", -20, "CB ", "Remboursement (CB)"},
        {0, "5", "Réf %1 et %2", 5, "ESP", "Réf %1 et %2 (ESP)"},
        {1, "1000000", "", 1000000, "CB ", "Paiement CB"},
        {0, " 7,456 ", "", 7.46, "ESP", "Paiement ESP"},
    };
    int attendu = 0;
    for (const auto& c : cas) {
        Encaissement* e = ouvrir();
        QSignalSpy enregistrees(e, &Encaissement::operationEnregistree);
        QSignalSpy fermee(e, &Encaissement::fermee);
        remplir(e, c.type, QString::fromUtf8(c.montant), QString::fromUtf8(c.commentaire));
        QTest::mouseClick(e->OK, Qt::LeftButton);
        const QList<LigneJournal> journal = lireJournal(db.base());
        ASSERT_EQ(journal.size(), ++attendu) << c.montant;
        EXPECT_EQ(journal.last().numero, 42);
        EXPECT_DOUBLE_EQ(journal.last().prix, c.prix);
        EXPECT_EQ(journal.last().paiement, QString::fromUtf8(c.code));
        EXPECT_EQ(journal.last().libelle, QString::fromUtf8(c.libelle));
        ASSERT_EQ(enregistrees.size(), 1);
        EXPECT_EQ(enregistrees.first().at(0).toInt(), 42);
        EXPECT_EQ(fermee.size(), 1);
        EXPECT_FALSE(e->isVisible());
    }
    EXPECT_EQ(db.valeur(QStringLiteral("SELECT date FROM OPERATIONS LIMIT 1")).toString(),
              QStringLiteral("2024-08-03 09:00:00"));
    EXPECT_EQ(messages.textes, QStringList());
}

TEST_F(EncaissementTest, MontantsRefuses)
{
    const struct { const char* montant; const char* numero; const char* motif; } cas[] = {
        {"abc", "42", "n'est pas un nombre"}, {"", "42", "n'est pas un nombre"}, {"0", "42", "nul"},
        {"0,00", "42", "nul"}, {"1000000,01", "42", "1 000 000"}, {"-5000000", "42", "1 000 000"},
        {"12 €", "42", "n'est pas un nombre"}, {"1e6", "42", "n'est pas un nombre"},
        {"1E2", "42", "n'est pas un nombre"}, {"12,5,0", "42", "n'est pas un nombre"}, {"12,50", "reservation", "réservation"}, {"12,50", "", "réservation"},
    };
    for (const auto& c : cas) {
        Encaissement* e = ouvrir(QString::fromUtf8(c.numero));
        QSignalSpy enregistrees(e, &Encaissement::operationEnregistree);
        QSignalSpy fermee(e, &Encaissement::fermee);
        remplir(e, 1, QString::fromUtf8(c.montant));
        messages.textes.clear();
        QTest::mouseClick(e->OK, Qt::LeftButton);
        ASSERT_EQ(messages.textes.size(), 1) << c.montant;
        EXPECT_TRUE(messages.textes.first().contains(QString::fromUtf8(c.motif)))
            << messages.textes.first().toStdString();
        EXPECT_EQ(messages.sansOK, 0);
        EXPECT_TRUE(e->isVisible());
        EXPECT_TRUE(e->commentaire->text().isEmpty());
        EXPECT_EQ(enregistrees.size(), 0);
        EXPECT_EQ(fermee.size(), 0);
        e->close();
    }
    EXPECT_TRUE(lireJournal(db.base()).isEmpty());
}

TEST_F(EncaissementTest, DoubleConfirmationUneSeuleLigne)
{
    Encaissement* e = ouvrir();
    remplir(e, 0, QStringLiteral("30"));
    QSignalSpy enregistrees(e, &Encaissement::operationEnregistree);
    QTest::mouseClick(e->OK, Qt::LeftButton);
    QTest::mouseClick(e->OK, Qt::LeftButton);
    e->OK->click();
    QTest::keyClick(e->montant, Qt::Key_Return);
    EXPECT_EQ(lireJournal(db.base()).size(), 1);
    EXPECT_EQ(enregistrees.size(), 1);
}

TEST_F(EncaissementTest, AnnulerNEnregistreRien)
{
    Encaissement* e = ouvrir();
    remplir(e, 2, QStringLiteral("50"), QStringLiteral("Chèque 123"));
    QSignalSpy enregistrees(e, &Encaissement::operationEnregistree);
    QSignalSpy fermee(e, &Encaissement::fermee);
    QTest::keyClick(e->commentaire, Qt::Key_Escape);   // as "Annuler"
    EXPECT_TRUE(lireJournal(db.base()).isEmpty());
    EXPECT_EQ(enregistrees.size(), 0);
    EXPECT_EQ(fermee.size(), 1);
    EXPECT_FALSE(e->isVisible());
}

TEST_F(EncaissementTest, JournalIllisible)
{
    db.refuser(QStringLiteral("INSERT"), QStringLiteral("OPERATIONS"), QStringLiteral("disque plein"));
    Encaissement* e = ouvrir();
    remplir(e, 0, QStringLiteral("30"));
    QSignalSpy enregistrees(e, &Encaissement::operationEnregistree);
    messages.textes.clear();
    QTest::mouseClick(e->OK, Qt::LeftButton);
    ASSERT_EQ(messages.textes.size(), 1);
    EXPECT_TRUE(messages.textes.first().contains(QStringLiteral("disque plein")));
    EXPECT_EQ(enregistrees.size(), 0);
    EXPECT_TRUE(e->isVisible());
    EXPECT_TRUE(e->OK->isEnabled());   // the user may try again
}

TEST_F(EncaissementTest, MontantDuPropose)
{
    // (rows already on the account) -> amount proposed
    const struct { const char* numero; QList<double> prix; const char* propose; } cas[] = {
        {"42", {-7.5, -2.5, 4}, "6,00"}, {"43", {}, "0"}, {"44", {-10, 15}, "0"},
        {"45", {-0.1, -0.2}, "0,30"}, {"reservation", {}, "0"},
    };
    for (const auto& c : cas) {
        for (double prix : c.prix)
            ASSERT_TRUE(Module1::EnregistrerOperation(db.base(), QString::fromUtf8(c.numero).toInt(), prix, QString(),
                                                      QStringLiteral("BAR Café\r\n1 x 1")));
        Encaissement* e = ouvrir(QString::fromUtf8(c.numero));
        QCoreApplication::processEvents();
        EXPECT_EQ(e->montant->text(), QString::fromUtf8(c.propose)) << c.numero;
        EXPECT_EQ(e->montant->selectedText(), e->montant->text()) << c.numero;
        e->close();
    }

    // Enter after the payment type takes the whole amount owed.
    Encaissement* e = ouvrir(QStringLiteral("42"));
    QCoreApplication::processEvents();
    QTest::mouseClick(e->typereglemement[0], Qt::LeftButton);
    QTest::keyClick(e->montant, Qt::Key_Return);
    const QList<LigneJournal> journal = lireJournal(db.base());
    EXPECT_DOUBLE_EQ(journal.last().prix, 6.0);
    EXPECT_EQ(journal.last().libelle, QStringLiteral("Paiement ESP"));
    EXPECT_FALSE(e->isVisible());

    // A stay whose deposit is not received yet: the deposit is proposed;
    // once paid, the balance.
    TestUtil::Logements(db.base(), {1});
    db.executer(QStringLiteral("INSERT INTO RESERVATIONS (NumeroReservation, objet, nomclient, DateDebut, DateFin, "
                               "arrhes, Etat) VALUES (46, 1, 'Durand', '2026-12-09', '2026-12-12', 45, 1)"));
    ASSERT_TRUE(Module1::EnregistrerOperation(db.base(), 46, -150, QString(), QStringLiteral("SEJOUR")));
    e = ouvrir(QStringLiteral("46"));
    QCoreApplication::processEvents();
    EXPECT_EQ(e->montant->text(), QStringLiteral("45,00"));
    EXPECT_EQ(e->montant->selectedText(), e->montant->text());
    QTest::mouseClick(e->typereglemement[1], Qt::LeftButton);
    QTest::keyClick(e->montant, Qt::Key_Return);
    e = ouvrir(QStringLiteral("46"));
    QCoreApplication::processEvents();
    EXPECT_EQ(e->montant->text(), QStringLiteral("105,00"));
    e->close();

    // An amount already typed is never replaced.
    e = ouvrir(QStringLiteral("45"));
    e->montant->setText(QStringLiteral("50"));
    QCoreApplication::processEvents();
    e->proposerMontantDu();
    EXPECT_EQ(e->montant->text(), QStringLiteral("50"));
    EXPECT_EQ(messages.textes, QStringList());
}
