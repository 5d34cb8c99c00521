#include "config/chemins.h"
#include "facturation/caissedujour.h"
#include "facturation/caissedujourfenetre.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/module1.h"
#include "testutil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class CaisseFenetre : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Chemins::fixerDossierProgramme(m_bd.dossier());
        m_contexte.BaseOuverte = m_bd.base();
        // Yesterday: a coffee and a cash payment; today: two articles, a card.
        ecrire(QDate(2026, 12, 8), -1.5, QString(), QStringLiteral("BAR Café\r\n1 x 1,5"));
        ecrire(QDate(2026, 12, 8), 1.5, QStringLiteral("ESP"), QStringLiteral("Paiement ESP"));
        ecrire(QDate(2026, 12, 9), -12.6, QString(), QStringLiteral("BAR Crème brûlée\r\n3 x 4,2"));
        ecrire(QDate(2026, 12, 9), -4, QString(), QStringLiteral("BAR Thé\r\n2 x 2"));
        ecrire(QDate(2026, 12, 9), 16.6, QStringLiteral("CB"), QStringLiteral("Paiement CB"));
        Horloge::fixer(Dates::naive(QDate(2026, 12, 9), QTime(22, 0)));
    }
    void TearDown() override
    {
        Horloge::liberer();
        Chemins::fixerDossierProgramme(QString());
    }
    void ecrire(const QDate& jour, double prix, const QString& code, const QString& libelle)
    {
        Horloge::fixer(Dates::naive(jour, QTime(15, 0)));
        QString erreur;
        ASSERT_TRUE(Module1::EnregistrerOperation(m_bd.base(), 3, prix, code, libelle, &erreur)) << erreur.toStdString();
    }
    // Closes the message boxes shown during `action` with OK; their texts.
    static QStringList messagesPendant(const std::function<void()>& action)
    {
        QStringList lus;
        QTimer guetteur;
        QObject::connect(&guetteur, &QTimer::timeout, [&lus] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* boite = qobject_cast<QMessageBox*>(w); boite && boite->isVisible()) {
                    lus << boite->text();
                    boite->button(QMessageBox::Ok)->click();
                }
        });
        guetteur.start(5);
        action();
        return lus;
    }

    TestUtil::BaseTemporaire m_bd;
    Contexte m_contexte;
};

} // namespace

TEST_F(CaisseFenetre, ChangingTheDayShowsThatDaysReport)
{
    CaisseDuJourFenetre f(&m_contexte);
    f.show();
    auto* jour = f.findChild<QDateEdit*>(QStringLiteral("jour"));
    auto* rapport = f.findChild<QPlainTextEdit*>(QStringLiteral("rapport"));
    ASSERT_TRUE(jour && rapport);
    EXPECT_EQ(jour->date(), QDate(2026, 12, 9));

    struct Cas {
        const char* nom;
        std::function<void()> faire;
        QDate jour;
        QStringList contient;
        QStringList absent;
    };
    const Cas cas[] = {
        {"opening: today", [] {}, QDate(2026, 12, 9),
         {QStringLiteral("Caisse du mercredi 9 décembre 2026"), QStringLiteral("Crème brûlée"), QStringLiteral("16,60 €")},
         {QStringLiteral("Café")}},
        {"the \"<\" button", [&] { QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("precedent")), Qt::LeftButton); },
         QDate(2026, 12, 8), {QStringLiteral("Caisse du mardi 8 décembre 2026"), QStringLiteral("Café"), QStringLiteral("1,50 €")},
         {QStringLiteral("Crème brûlée")}},
        {"the \">\" button twice",
         [&] {
             QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("suivant")), Qt::LeftButton);
             QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("suivant")), Qt::LeftButton);
         },
         QDate(2026, 12, 10), {QStringLiteral("Caisse du jeudi 10 décembre 2026"), QStringLiteral("Aucune vente")},
         {QStringLiteral("Café"), QStringLiteral("Crème brûlée")}},
        {"a date typed in", [&] { jour->setDate(QDate(2026, 12, 9)); }, QDate(2026, 12, 9),
         {QStringLiteral("Crème brûlée"), QStringLiteral("Thé")}, {QStringLiteral("Aucune vente")}},
    };
    for (const Cas& c : cas) {
        c.faire();
        EXPECT_EQ(jour->date(), c.jour) << c.nom;
        const QString texte = rapport->toPlainText();
        for (const QString& t : c.contient)
            EXPECT_TRUE(texte.contains(t)) << c.nom << ": " << t.toStdString();
        for (const QString& t : c.absent)
            EXPECT_FALSE(texte.contains(t)) << c.nom << ": " << t.toStdString();
    }

    // A row written while the window is open is counted when the day is shown again.
    ecrire(QDate(2026, 12, 9), 20, QStringLiteral("CHQ"), QStringLiteral("Paiement CHQ"));
    jour->setDate(QDate(2026, 12, 8));
    jour->setDate(QDate(2026, 12, 9));
    EXPECT_TRUE(rapport->toPlainText().contains(QStringLiteral("36,60 €")));
}

TEST_F(CaisseFenetre, PrintWritesThePdfOfTheDayShown)
{
    CaisseDuJourFenetre f(&m_contexte);
    f.show();
    QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("Imprimer")), Qt::LeftButton);
    const QString chemin = m_bd.dossier() + QStringLiteral("/Documents/caisse_2026-12-09.pdf");
    ASSERT_TRUE(QFile::exists(chemin));
    EXPECT_TRUE(TestUtil::lireFichier(chemin).startsWith("%PDF"));
    EXPECT_TRUE(f.findChild<QLabel*>(QStringLiteral("message"))->text().contains(QStringLiteral("caisse_2026-12-09.pdf")));

    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) est absent : le texte du PDF n'est pas relu.";
    QProcess p;
    p.start(pdftotext, {QStringLiteral("-layout"), chemin, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_EQ(p.exitCode(), 0);
    const QString texte = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString& attendu : {QStringLiteral("Caisse du mercredi 9 décembre 2026"), QStringLiteral("Crème brûlée"),
                                   QStringLiteral("Total facturé"), QStringLiteral("16,60 €"),
                                   QStringLiteral("Carte Bleue")})
        EXPECT_TRUE(texte.contains(attendu)) << attendu.toStdString() << "\n" << texte.toStdString();
}

TEST_F(CaisseFenetre, AFolderThatCannotBeWrittenIsToldAndNothingIsSaved)
{
    // A file where the Documents folder should be.
    TestUtil::ecrireFichier(m_bd.dossier() + QStringLiteral("/Documents"), "x");
    CaisseDuJourFenetre f(&m_contexte);
    f.show();
    QString chemin = QStringLiteral("?");
    const QStringList messages = messagesPendant([&] { chemin = f.Imprimer_Click(); });
    EXPECT_TRUE(chemin.isEmpty());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("La caisse n'a pas été enregistrée en PDF."))) << messages[0].toStdString();
    EXPECT_TRUE(f.findChild<QLabel*>(QStringLiteral("message"))->text().isEmpty());
}
