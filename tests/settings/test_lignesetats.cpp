// The plain rules of the settings rows, and the statements behind them.
#include "settings/lignesetats.h"
#include "store/requetes.h"
#include "store/requetes_parametres.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {

struct CasCouleur {
    const char* nom;
    QVariant valeur;
    std::optional<QColor> attendue;
};

TEST(LignesEtats, CouleurDepuisValeurLitRougeDansLOctetBas)
{
    const CasCouleur cas[] = {
        {"rouge", QVariant(0x0000FF), QColor(255, 0, 0)},
        {"vert", QVariant(0x00FF00), QColor(0, 255, 0)},
        {"bleu", QVariant(0xFF0000), QColor(0, 0, 255)},
        {"melange", QVariant(0x3C14DC), QColor(220, 20, 60)},
        {"noir", QVariant(0), QColor(0, 0, 0)},
        {"blanc", QVariant(0xFFFFFF), QColor(255, 255, 255)},
        {"texte numerique", QVariant(QStringLiteral("255")), QColor(255, 0, 0)},
        {"null", QVariant(QMetaType(QMetaType::Int)), std::nullopt},
        {"absent", QVariant(), std::nullopt},
        {"negatif", QVariant(-1), std::nullopt},
        {"couleur systeme", QVariant(qint64(-2147483643)), std::nullopt},
        {"au-dela de 24 bits", QVariant(0x1000000), std::nullopt},
        {"texte", QVariant(QStringLiteral("rouge")), std::nullopt},
    };
    for (const CasCouleur& c : cas) {
        SCOPED_TRACE(c.nom);
        const auto lue = LignesEtats::CouleurDepuisValeur(c.valeur);
        ASSERT_EQ(lue.has_value(), c.attendue.has_value());
        if (lue) {
            EXPECT_EQ(lue->rgb(), c.attendue->rgb());
        }
    }
}

TEST(LignesEtats, ValeurDepuisCouleurEstLInverse)
{
    const struct { QColor couleur; qint32 valeur; } cas[] = {
        {QColor(255, 0, 0), 0x0000FF},
        {QColor(0, 0, 255), 0xFF0000},
        {QColor(10, 20, 30), 0x1E140A},
        {QColor(255, 255, 255, 0), 0xFFFFFF},   // alpha is not stored
        {QColor::fromHsv(120, 255, 255), 0x00FF00},
    };
    for (const auto& c : cas) {
        EXPECT_EQ(LignesEtats::ValeurDepuisCouleur(c.couleur), c.valeur);
        EXPECT_EQ(LignesEtats::CouleurDepuisValeur(c.valeur)->rgb(), c.couleur.toRgb().rgb() | 0xFF000000u);
    }
}

TEST(LignesEtats, CaseInternetNeRetientQueZeroUnDeux)
{
    const struct { QVariant valeur; Qt::CheckState attendu; } cas[] = {
        {QVariant(0), Qt::Unchecked},
        {QVariant(1), Qt::Checked},
        {QVariant(2), Qt::PartiallyChecked},
        {QVariant(7), Qt::Unchecked},
        {QVariant(-1), Qt::Unchecked},
        {QVariant(QMetaType(QMetaType::Int)), Qt::Unchecked},
        {QVariant(), Qt::Unchecked},
        {QVariant(QStringLiteral("oui")), Qt::Unchecked},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.valeur.toString().toStdString());
        EXPECT_EQ(LignesEtats::CaseInternet(c.valeur), c.attendu);
    }
}

TEST(LignesEtats, LesLignesSEmpilentDUneHauteurChacune)
{
    const QRect element0(120, 0, 3735, 255);
    const struct { int i; int haut; int hauteurFond; } cas[] = {
        {0, 0, 255}, {1, 255, 510}, {2, 510, 765}, {4, 1020, 1275}, {39, 9945, 10200},
    };
    for (const auto& c : cas) {
        const QRect r = LignesEtats::PositionLigne(element0, c.i);
        EXPECT_EQ(r, QRect(120, c.haut, 3735, 255)) << c.i;
        EXPECT_EQ(LignesEtats::HauteurFond(element0, c.i + 1, 1695), c.hauteurFond) << c.i;
    }
    // No row: the container keeps its design height.
    EXPECT_EQ(LignesEtats::HauteurFond(element0, 0, 1695), 1695);
}

TEST(RequetesParametres, PublicationEcritLesDeuxChampsDuSeulEtatVise)
{
    TestUtil::BaseTemporaire base(QStringLiteral("param_publication"));
    const struct { qint32 code; bool publie; } cas[] = {{2, true}, {1, false}, {2, false}, {3, true}};
    for (const auto& c : cas) {
        const QString autres = QStringLiteral("SELECT internet, surinternet FROM ETATS WHERE Code <> %1 ORDER BY Code")
                                   .arg(c.code);
        const QString avantAutres = base.liste(autres);
        QString erreur;
        ASSERT_TRUE(RequetesParametres::changerPublicationEtat(base.base(), c.code, c.publie, &erreur))
            << erreur.toStdString();
        const int attendu = c.publie ? 1 : 0;
        EXPECT_EQ(base.valeur(QStringLiteral("SELECT internet FROM ETATS WHERE Code = %1").arg(c.code)).toInt(), attendu);
        EXPECT_EQ(base.valeur(QStringLiteral("SELECT surinternet FROM ETATS WHERE Code = %1").arg(c.code)).toInt(), attendu);
        EXPECT_EQ(base.liste(autres), avantAutres);
        EXPECT_EQ(*RequetesParametres::internetEtat(base.base(), c.code), QVariant(attendu));
    }
}

TEST(RequetesParametres, UnEtatAbsentEstUneErreur)
{
    TestUtil::BaseTemporaire base(QStringLiteral("param_absent"));
    QString erreur;
    EXPECT_FALSE(RequetesParametres::changerPublicationEtat(base.base(), 99, true, &erreur));
    EXPECT_TRUE(erreur.contains(QStringLiteral("introuvable"))) << erreur.toStdString();
    erreur.clear();
    EXPECT_FALSE(RequetesParametres::couleurEtat(base.base(), 99, &erreur).has_value());
    EXPECT_TRUE(erreur.contains(QStringLiteral("introuvable")));
    erreur.clear();
    EXPECT_FALSE(Requetes::changerCouleurEtat(base.base(), 99, 0x123456, &erreur));
    EXPECT_FALSE(erreur.isEmpty());
    // A stored Null colour is read as Null, not as black.
    base.executer(QStringLiteral("UPDATE ETATS SET CouleurPrincipale = NULL WHERE Code = 2"));
    const auto nulle = RequetesParametres::couleurEtat(base.base(), 2);
    ASSERT_TRUE(nulle.has_value());
    EXPECT_TRUE(nulle->isNull());
}

} // namespace
