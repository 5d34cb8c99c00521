// The settings window on a temporary database: its rows, the colour change,
// the publication box and the failures a user may meet.
#include "store/contexte.h"
#include "config/langues.h"
#include "settings/lignesetats.h"
#include "settings/parametres.h"
#include "testutil.h"
#include "ui/basededonnees.h"
#include "ui/xpcmdbutton.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

// Answers the modal dialogs the window opens: the colour dialog with a
// colour (or a cancel when none is given); message boxes are read and closed.
class Repondeur
{
public:
    explicit Repondeur(std::optional<QColor> couleur) : m_couleur(couleur)
    {
        m_minuteur.setInterval(5);
        QObject::connect(&m_minuteur, &QTimer::timeout, [this] { repondre(); });
        m_minuteur.start();
    }
    QStringList messages;
    int dialoguesCouleur = 0;

private:
    void repondre()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* d = qobject_cast<QColorDialog*>(w)) {
            ++dialoguesCouleur;
            if (m_couleur) {
                d->setCurrentColor(*m_couleur);
                d->accept();
            } else {
                d->reject();
            }
        } else if (auto* m = qobject_cast<QMessageBox*>(w)) {
            messages << m->text();
            m->button(QMessageBox::Ok)->click();
        }
    }
    std::optional<QColor> m_couleur;
    QTimer m_minuteur;
};

struct Etat {
    qint32 code;
    QString nom;
    QVariant couleur;    // invalid: NULL
    QVariant internet;   // invalid: NULL
};

class Parametres : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Langues::fixerFichier(base.dossier() + QStringLiteral("/planning.ini"));
        contexte.BaseOuverte = base.base();
    }

    void remplir(const QList<Etat>& etats)
    {
        QSqlDatabase db = base.base();
        ASSERT_TRUE(db.transaction());
        base.executer(QStringLiteral("DELETE FROM ETATS"));
        QSqlQuery q(db);
        q.prepare(QStringLiteral("INSERT INTO ETATS (Code, Nom, CouleurPrincipale, internet, surinternet) "
                                 "VALUES (?, ?, ?, ?, 0)"));
        for (const Etat& e : etats) {
            q.addBindValue(e.code);
            q.addBindValue(e.nom);
            q.addBindValue(e.couleur.isValid() ? e.couleur : QVariant(QMetaType(QMetaType::Int)));
            q.addBindValue(e.internet.isValid() ? e.internet : QVariant(QMetaType(QMetaType::Int)));
            ASSERT_TRUE(q.exec());
            contexte.TableEtats.append({e.code, QString(), e.couleur.toInt()});
        }
        ASSERT_TRUE(db.commit());
    }

    qint32 couleurStockee(qint32 code)
    {
        return base.valeur(QStringLiteral("SELECT CouleurPrincipale FROM ETATS WHERE Code = %1").arg(code)).toInt();
    }

    int lignesVisibles(const parametres& p)
    {
        int n = 0;
        for (QLineEdit* l : p.fondetats)
            n += l->isVisibleTo(p.fondcouleurs) ? 1 : 0;
        return n;
    }

    TestUtil::BaseTemporaire base{QStringLiteral("parametres")};
    Contexte contexte;
};

// In table order (the order of the codes); codes are not row numbers.
const QList<Etat> kCinqEtats = {
    {2, QStringLiteral("Confirmé"), 0x0000FF, 1},
    {3, QStringLiteral("Option"), 0x00A5FF, 0},
    {7, QStringLiteral("Arrhes versées"), QVariant(), 2},
    {10, QStringLiteral("Fermé"), -1, 7},
    {20, QString(), 0x808080, QVariant()},
};

TEST_F(Parametres, ChaqueEtatALaLigneQuiLuiRevient)
{
    remplir(kCinqEtats);
    parametres p(&contexte);

    ASSERT_EQ(lignesVisibles(p), 5);
    const struct { Qt::CheckState coche; QColor pastille; } attendu[] = {
        {Qt::Checked, QColor(255, 0, 0)},
        {Qt::Unchecked, QColor(255, 165, 0)},
        {Qt::PartiallyChecked, parametres::couleurDessin()},   // Null colour
        {Qt::Unchecked, parametres::couleurDessin()},          // negative colour, internet 7
        {Qt::Unchecked, QColor(128, 128, 128)},                // empty name, Null internet
    };
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        // Rows are 255 twips (17 pixels) apart, each control under its row 0.
        EXPECT_EQ(p.fondetats[i]->geometry(), QRect(8, 17 * i, 249, 17));
        EXPECT_EQ(p.internet[i]->geometry(), QRect(264, 17 * i, 17, 17));
        EXPECT_EQ(p.fondetatcouleurs[i]->geometry(), QRect(288, 17 * i, 25, 17));
        EXPECT_EQ(p.fondchangercouleurs[i]->geometry(), QRect(316, 17 * i, 128, 17));
        // The name is shown, the code kept in the label's tag.
        EXPECT_EQ(p.fondetats[i]->text(), kCinqEtats[i].nom);
        EXPECT_EQ(p.fondetats[i]->property("Tag").toInt(), kCinqEtats[i].code);
        EXPECT_EQ(p.codeLigne(i), kCinqEtats[i].code);
        EXPECT_EQ(p.internet[i]->checkState(), attendu[i].coche);
        EXPECT_EQ(p.couleurLigne(i).rgb(), attendu[i].pastille.rgb());
        EXPECT_EQ(p.fondchangercouleurs[i]->text(), QStringLiteral("Changer Couleur"));
    }
    EXPECT_EQ(p.fondcouleurs->height(), 5 * 17);
    EXPECT_FALSE(p.VScroll1->isEnabled());   // five rows fit
}

TEST_F(Parametres, FenetreEtOngletsPortentLeursNomsEtTextes)
{
    parametres p(&contexte);
    EXPECT_EQ(p.windowTitle(), QStringLiteral("Paramètres"));
    EXPECT_EQ(p.Label1->text(), QStringLiteral("Paramètres"));
    ASSERT_EQ(p.SSTab1->count(), 5);
    const char* const onglets[] = {"Couleurs", "Objets", "Bar", "Tarifs", "Établissement"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(p.SSTab1->tabText(i), QString::fromUtf8(onglets[i]));
    EXPECT_TRUE(p.SSTab1->widget(1)->isAncestorOf(p.BaseDeDonnees1));
    for (const char* nom : {"dessin", "Fond", "Label1", "SSTab1", "infos", "Picture1", "VScroll1",
                            "fondcouleurs", "Quitter", "msg", "BaseDeDonnees1"})
        EXPECT_NE(p.findChild<QObject*>(QLatin1String(nom)), nullptr) << nom;
    // The default database has three states: three named rows.
    EXPECT_EQ(p.findChildren<QLineEdit*>(QStringLiteral("fondetats")).size(), 3);
    EXPECT_EQ(p.fondetats[2]->text(), QStringLiteral("Fermé"));
}

TEST_F(Parametres, SansEtatAucuneLigneNApparait)
{
    base.executer(QStringLiteral("DELETE FROM ETATS"));
    parametres p(&contexte);
    EXPECT_EQ(lignesVisibles(p), 0);
    QSignalSpy change(&p, &parametres::couleurChangee);
    Repondeur repondeur(QColor(1, 2, 3));
    p.fondchangercouleurs_Click(0);   // the design row has no state behind it
    EXPECT_EQ(repondeur.dialoguesCouleur, 0);
    EXPECT_EQ(change.count(), 0);
}

TEST_F(Parametres, UneCouleurChoisieEstStockeePourLeSeulEtatDeLaLigne)
{
    remplir(kCinqEtats);
    parametres p(&contexte);
    QSignalSpy change(&p, &parametres::couleurChangee);
    Repondeur repondeur(QColor(10, 20, 30));

    QTest::mouseClick(p.fondchangercouleurs[2], Qt::LeftButton);

    EXPECT_EQ(repondeur.dialoguesCouleur, 1);
    EXPECT_EQ(change.count(), 1);
    EXPECT_EQ(couleurStockee(7), 0x1E140A);
    EXPECT_EQ(p.couleurLigne(2).rgb(), QColor(10, 20, 30).rgb());
    for (int i : {0, 1, 3, 4}) {
        SCOPED_TRACE(i);
        const QVariant stockee = base.valeur(
            QStringLiteral("SELECT CouleurPrincipale FROM ETATS WHERE Code = %1").arg(kCinqEtats[i].code));
        EXPECT_EQ(stockee.isNull(), !kCinqEtats[i].couleur.isValid());
        EXPECT_EQ(stockee.toInt(), kCinqEtats[i].couleur.toInt());
        EXPECT_EQ(contexte.TableEtats[i].couleur, kCinqEtats[i].couleur.toInt());
    }
    EXPECT_EQ(contexte.TableEtats[2].couleur, 0x1E140A);
    EXPECT_TRUE(repondeur.messages.isEmpty());
}

TEST_F(Parametres, UnDialogueAnnuleNeChangeRien)
{
    remplir(kCinqEtats);
    parametres p(&contexte);
    QSignalSpy change(&p, &parametres::couleurChangee);
    Repondeur repondeur(std::nullopt);

    p.fondchangercouleurs_Click(1);

    EXPECT_EQ(repondeur.dialoguesCouleur, 1);
    EXPECT_EQ(change.count(), 0);
    EXPECT_EQ(couleurStockee(3), 0x00A5FF);
    EXPECT_EQ(p.couleurLigne(1).rgb(), QColor(255, 165, 0).rgb());
    EXPECT_EQ(contexte.TableEtats[1].couleur, 0x00A5FF);
}

TEST_F(Parametres, UnEnregistrementImpossibleEstSignaleEtLaPastilleRevient)
{
    const struct {
        const char* cas;
        QString sql;           // run after the window was filled
        QString refus;         // then the database refuses to update ETATS with it
        QString message;       // part of the message shown
        QColor pastille;       // swatch once the message is closed
    } cas[] = {
        {"etat supprime", QStringLiteral("DELETE FROM ETATS WHERE Code = 3"), QString(), QStringLiteral("introuvable"),
         QColor(255, 165, 0)},
        {"base qui refuse", QString(), QStringLiteral("écriture refusée"), QStringLiteral("écriture refusée"),
         QColor(255, 165, 0)},
        {"couleur changee entre-temps", QStringLiteral("UPDATE ETATS SET CouleurPrincipale = 65280 WHERE Code = 3"),
         QStringLiteral("verrou"), QStringLiteral("verrou"), QColor(0, 255, 0)},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        remplir(kCinqEtats);
        parametres p(&contexte);
        if (!c.sql.isEmpty())
            base.executer(c.sql);
        if (!c.refus.isEmpty())
            base.refuser(QStringLiteral("UPDATE"), QStringLiteral("ETATS"), c.refus);
        QSignalSpy change(&p, &parametres::couleurChangee);
        Repondeur repondeur(QColor(10, 20, 30));

        p.fondchangercouleurs_Click(1);

        ASSERT_EQ(repondeur.messages.size(), 1);
        EXPECT_TRUE(repondeur.messages[0].contains(QStringLiteral("Option")));
        EXPECT_TRUE(repondeur.messages[0].contains(c.message))
            << repondeur.messages[0].toStdString();
        EXPECT_EQ(p.couleurLigne(1).rgb(), c.pastille.rgb());
        EXPECT_EQ(change.count(), 0);
        EXPECT_EQ(contexte.TableEtats[1].couleur, 0x00A5FF);
        base.accepter(QStringLiteral("ETATS"));
        contexte.TableEtats.clear();
    }
}

TEST_F(Parametres, LaCaseDePublicationEstStockeeDansLesDeuxChamps)
{
    const struct { QVariant internet; Qt::CheckState apres; int stocke; } cas[] = {
        {0, Qt::Checked, 1},
        {1, Qt::Unchecked, 0},
        {2, Qt::Checked, 1},          // greyed: the first click ticks it
        {7, Qt::Checked, 1},
        {QVariant(), Qt::Checked, 1},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.internet.toString().toStdString());
        remplir({{5, QStringLiteral("Option"), 0x00A5FF, c.internet}, {6, QStringLiteral("Autre"), 0, 0}});
        parametres p(&contexte);
        p.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&p));

        QTest::mouseClick(p.internet[0], Qt::LeftButton, {}, QPoint(8, 8));

        EXPECT_EQ(p.internet[0]->checkState(), c.apres);
        EXPECT_EQ(base.valeur(QStringLiteral("SELECT internet FROM ETATS WHERE Code = 5")).toInt(), c.stocke);
        EXPECT_EQ(base.valeur(QStringLiteral("SELECT surinternet FROM ETATS WHERE Code = 5")).toInt(), c.stocke);
        EXPECT_EQ(base.liste(QStringLiteral("SELECT internet, surinternet FROM ETATS WHERE Code = 6")),
                  QStringLiteral("0 0"));

        // A second click turns it the other way.
        QTest::mouseClick(p.internet[0], Qt::LeftButton, {}, QPoint(8, 8));
        EXPECT_EQ(base.valeur(QStringLiteral("SELECT surinternet FROM ETATS WHERE Code = 5")).toInt(), 1 - c.stocke);
        p.close();
        contexte.TableEtats.clear();
    }
}

TEST_F(Parametres, UnePublicationImpossibleRemetLaCase)
{
    remplir(kCinqEtats);
    parametres p(&contexte);
    base.executer(QStringLiteral("DELETE FROM ETATS WHERE Code = 3"));
    Repondeur repondeur(std::nullopt);

    p.internet[1]->click();

    ASSERT_EQ(repondeur.messages.size(), 1);
    EXPECT_TRUE(repondeur.messages[0].contains(QStringLiteral("introuvable")));
    EXPECT_EQ(p.internet[1]->checkState(), Qt::Unchecked);
}

TEST_F(Parametres, QuaranteEtatsDefilentEtLesNomsExtremesTiennent)
{
    QList<Etat> etats;
    for (int i = 0; i < 40; ++i)
        etats.append({i + 1, QStringLiteral("État %1").arg(i + 1), i * 1000, i % 3});
    etats[5].nom = QString(300, QLatin1Char('x'));
    etats[6].nom = QString();
    remplir(etats);
    parametres p(&contexte);

    ASSERT_EQ(lignesVisibles(p), 40);
    EXPECT_EQ(p.fondcouleurs->height(), 40 * 17);
    EXPECT_EQ(p.fondetats[5]->text().size(), 300);
    EXPECT_EQ(p.fondetats[5]->width(), p.fondetats[0]->width());   // cut, not widened
    EXPECT_EQ(p.fondetats[6]->text(), QString());
    EXPECT_EQ(p.fondetats[39]->property("Tag").toInt(), 40);

    // The last row is out of sight until the bar is moved to its end.
    const auto basDerniereLigne = [&] {
        return p.fondchangercouleurs[39]->mapTo(p.Picture1, QPoint(0, p.fondchangercouleurs[39]->height())).y();
    };
    EXPECT_GT(basDerniereLigne(), p.Picture1->height());
    ASSERT_TRUE(p.VScroll1->isEnabled());
    p.VScroll1->setValue(p.VScroll1->maximum());
    EXPECT_EQ(basDerniereLigne(), p.Picture1->height());
    p.VScroll1->setValue(0);
    EXPECT_EQ(p.fondcouleurs->y(), 0);

    // The wheel over the rows scrolls too.
    QWheelEvent roulette(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
    QApplication::sendEvent(p.Picture1, &roulette);
    EXPECT_GT(p.VScroll1->value(), 0);
    EXPECT_EQ(p.fondcouleurs->y(), -p.VScroll1->value());
}

TEST_F(Parametres, QuitterFermeLaFenetre)
{
    parametres p(&contexte);
    p.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p));
    QTest::mouseClick(p.Quitter, Qt::LeftButton);
    EXPECT_FALSE(p.isVisible());
}

TEST_F(Parametres, LaPastilleDessineeALaCouleurDeLEtat)
{
    remplir(kCinqEtats);
    parametres p(&contexte);
    Repondeur repondeur(QColor(0, 128, 255));
    p.fondchangercouleurs[0]->click();

    const QImage image = p.grab().toImage();
    const QString capture = qEnvironmentVariable("PARAMETRES_CAPTURE");
    if (!capture.isEmpty())
        image.save(capture);
    for (int i : {0, 1, 4}) {
        QWidget* pastille = p.fondetatcouleurs[i];
        const QPoint centre = pastille->mapTo(&p, pastille->rect().center());
        EXPECT_EQ(image.pixelColor(centre).rgb(), p.couleurLigne(i).rgb()) << i;
    }
    EXPECT_EQ(p.couleurLigne(0).rgb(), QColor(0, 128, 255).rgb());
}

} // namespace

// The "Vendu" box shows and stores whether a state's nights are sold; a
// Null value reads as ticked, a state gone meanwhile is told and the box
// comes back.
TEST_F(Parametres, LaCaseVenduEstStockeeEtRevientSiLEtatADisparu)
{
    remplir({{5, QStringLiteral("Option"), 0x00A5FF, 0}, {6, QStringLiteral("Travaux"), 0, 0},
             {7, QStringLiteral("Ancien"), 0, 0}});
    base.executer(QStringLiteral("UPDATE ETATS SET Vendu = 0 WHERE Code = 6"));
    base.executer(QStringLiteral("UPDATE ETATS SET Vendu = NULL WHERE Code = 7"));
    parametres p(&contexte);
    p.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p));
    ASSERT_GE(p.vendu.size(), 3);
    EXPECT_TRUE(p.vendu[0]->isChecked());
    EXPECT_FALSE(p.vendu[1]->isChecked());
    EXPECT_TRUE(p.vendu[2]->isChecked());
    EXPECT_EQ(p.vendu[0]->objectName(), QStringLiteral("vendu"));

    QTest::mouseClick(p.vendu[0], Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseClick(p.vendu[1], Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(base.liste(QStringLiteral("SELECT Vendu FROM ETATS ORDER BY Code"), QString()), QStringLiteral("01"));

    base.executer(QStringLiteral("DELETE FROM ETATS WHERE Code = 7"));
    Repondeur repondeur(std::nullopt);
    p.vendu[2]->click();
    ASSERT_EQ(repondeur.messages.size(), 1);
    EXPECT_TRUE(repondeur.messages[0].contains(QStringLiteral("« Vendu »")));
    EXPECT_TRUE(p.vendu[2]->isChecked());
}
