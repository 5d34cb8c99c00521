#include "config/ini32.h"
#include "config/langues.h"
#include "settings/etatssejour.h"
#include "settings/parametres.h"
#include "store/contexte.h"
#include "testutil.h"

#include <QComboBox>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class EtatsSejourTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        contexte.CheminINI = base.dossier() + QStringLiteral("/planning.ini");
        Langues::fixerFichier(contexte.CheminINI);
        contexte.BaseOuverte = base.base();
        base.executer(QStringLiteral("INSERT INTO ETATS (Code, Nom, CouleurPrincipale, internet, surinternet) VALUES (4, 'Arrivé', 0, 0, 0), (5, 'Parti', 0, 0, 0)"));
    }
    QString lire(const QString& cle) const
    {
        return INI32::ProfilINI(QStringLiteral("reservation"), cle, QString(), contexte.CheminINI, 1);
    }
    static QStringList textes(QComboBox* b)
    {
        QStringList t;
        for (int i = 0; i < b->count(); ++i)
            t << b->itemText(i);
        return t;
    }
    TestUtil::BaseTemporaire base{QStringLiteral("etatssejour")};
    Contexte contexte;
};

} // namespace

TEST_F(EtatsSejourTest, TheChoiceIsStoredAtOnceAndReadBack)
{
    {
        EtatsSejour e(&contexte);
        e.charger();
        const QStringList attendu = {QStringLiteral("(aucun)"), QStringLiteral("1 - Confirmé"), QStringLiteral("2 - Option"),
                                     QStringLiteral("3 - Fermé"), QStringLiteral("4 - Arrivé"), QStringLiteral("5 - Parti")};
        EXPECT_EQ(textes(e.etatarrivee), attendu);
        EXPECT_EQ(textes(e.etatdepart), attendu);
        EXPECT_EQ(e.etatarrivee->currentIndex(), 0);
        struct Cas { QComboBox* boite; int index; QString cle; QString valeur; };
        for (const Cas& c : {Cas{e.etatarrivee, 4, QStringLiteral("etat arrivee"), QStringLiteral("4")},
                             Cas{e.etatdepart, 5, QStringLiteral("etat depart"), QStringLiteral("5")},
                             Cas{e.etatdepart, 0, QStringLiteral("etat depart"), QString()}}) {
            c.boite->setCurrentIndex(c.index);
            emit c.boite->activated(c.index);
            EXPECT_EQ(lire(c.cle), c.valeur) << c.cle.toStdString();
        }
    }
    // A state removed since it was chosen shows as missing, not as none.
    INI32::ProfilINI(QStringLiteral("reservation"), QStringLiteral("etat depart"), QStringLiteral("9"), contexte.CheminINI, 0);
    EtatsSejour e(&contexte);
    e.charger();
    EXPECT_EQ(e.etatarrivee->currentText(), QStringLiteral("4 - Arrivé"));
    EXPECT_EQ(e.etatdepart->currentText(), QStringLiteral("9 - (état absent)"));
}

TEST_F(EtatsSejourTest, TheBoxesAreInTheColoursTabAndFollowItsStates)
{
    parametres p(&contexte);
    auto* arrivee = p.findChild<QComboBox*>(QStringLiteral("etatarrivee"));
    ASSERT_NE(arrivee, nullptr);
    EXPECT_TRUE(p.SSTab1->widget(0)->isAncestorOf(arrivee));
    EXPECT_EQ(arrivee->count(), 6);
    // A state added in the tab appears in the boxes.
    base.executer(QStringLiteral("INSERT INTO ETATS (Code, Nom, CouleurPrincipale, internet, surinternet) VALUES (6, 'Nettoyage', 0, 0, 0)"));
    emit p.couleurChangee();
    EXPECT_EQ(arrivee->count(), 7);
    EXPECT_EQ(arrivee->itemText(6), QStringLiteral("6 - Nettoyage"));
}
