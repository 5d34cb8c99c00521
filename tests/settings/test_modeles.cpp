// The table models of the units and bar articles, without any window: what
// they show, what they store, what they refuse.
#include "settings/modelearticles.h"
#include "settings/modeleobjets.h"
#include "store/dates.h"
#include "testutil.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <cmath>

namespace {

TEST(ModeleArticles, LirePrixAccepteLaVirguleEtRefuseCeQuiNEstPasUnNombre)
{
    const struct { const char* texte; std::optional<double> prix; } cas[] = {
        {"2,50", 2.5},
        {"2.50", 2.5},
        {" 3 ", 3.0},
        {"0,5", 0.5},
        {",75", 0.75},
        {"12,", 12.0},
        {"1 234,56", 1234.56},
        {"1\u00a0234,56", 1234.56},
        {"2,50 \u20ac", 2.5},
        {"-1,20", -1.2},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"abc", std::nullopt},
        {"2,50,1", std::nullopt},
        {"2.5,0", std::nullopt},
        {"1e3", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"12 euros", std::nullopt},
        {",", std::nullopt},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.texte);
        const auto lu = ModeleArticles::LirePrix(QString::fromUtf8(c.texte));
        ASSERT_EQ(lu.has_value(), c.prix.has_value());
        if (lu) {
            EXPECT_DOUBLE_EQ(*lu, *c.prix);
        }
    }
}

TEST(ModeleArticles, TextePrixADeuxDecimalesEtUneVirgule)
{
    const struct { double prix; const char* texte; } cas[] = {
        {2.5, "2,50"}, {0, "0,00"}, {-0.001, "0,00"}, {1234.567, "1234,57"}, {-3.1, "-3,10"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(ModeleArticles::TextePrix(c.prix), QString::fromUtf8(c.texte)) << c.prix;
}

class Modeles : public ::testing::Test
{
protected:
    void reserver(qint32 objet, int fois)
    {
        for (int i = 0; i < fois; ++i)
            base.executer(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) "
                                         "VALUES (%1, 'Client', '2026-01-0%2 14:00:00', '2026-01-0%3 12:00:00', 1)")
                              .arg(objet).arg(i + 1).arg(i + 2));
    }
    QVariant champ(const QString& sql) const { return base.valeur(sql); }

    TestUtil::BaseTemporaire base{QStringLiteral("modeles")};
};

TEST_F(Modeles, UnLogementRefuseGardeSaLigneEtSesDonnees)
{
    base.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chambre 1')"));
    base.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (2, 'Chambre 2')"));
    reserver(2, 3);
    ModeleObjets m(base.base());
    ASSERT_TRUE(m.charger());
    QSignalSpy refus(&m, &ModeleObjets::refus);
    QSignalSpy changees(&m, &ModeleObjets::donneesChangees);

    // An empty name is refused and the old one stays.
    EXPECT_FALSE(m.setData(m.index(0, ModeleObjets::Nom), QStringLiteral("   ")));
    ASSERT_EQ(refus.size(), 1);
    EXPECT_TRUE(refus[0][0].toString().contains(QStringLiteral("vide")));
    EXPECT_EQ(m.index(0, ModeleObjets::Nom).data().toString(), QStringLiteral("Chambre 1"));
    EXPECT_EQ(champ(QStringLiteral("SELECT Nom FROM OBJETS WHERE Numero = 1")).toString(), QStringLiteral("Chambre 1"));

    // A unit with reservations stays, and the message says how many.
    EXPECT_FALSE(m.removeRow(1));
    ASSERT_EQ(refus.size(), 2);
    EXPECT_TRUE(refus[1][0].toString().contains(QStringLiteral("3 réservations"))) << refus[1][0].toString().toStdString();
    EXPECT_TRUE(refus[1][0].toString().contains(QStringLiteral("Chambre 2")));
    EXPECT_EQ(m.rowCount(), 2);
    EXPECT_EQ(champ(QStringLiteral("SELECT count(*) FROM OBJETS")).toInt(), 2);

    // Removing both rows starts from the last one: its refusal stops the
    // removal before the free unit is touched.
    EXPECT_FALSE(m.removeRows(0, 2));
    EXPECT_EQ(m.rowCount(), 2);
    EXPECT_EQ(champ(QStringLiteral("SELECT count(*) FROM OBJETS")).toInt(), 2);
    EXPECT_EQ(changees.size(), 0);

    // A unit removed behind the window's back: the edit says so.
    base.executer(QStringLiteral("DELETE FROM RESERVATIONS"));
    base.executer(QStringLiteral("DELETE FROM OBJETS"));
    EXPECT_FALSE(m.setData(m.index(0, ModeleObjets::Nom), QStringLiteral("Autre")));
    EXPECT_EQ(m.index(0, ModeleObjets::Nom).data().toString(), QStringLiteral("Chambre 1"));
    EXPECT_TRUE(refus.last()[0].toString().contains(QStringLiteral("n'existe plus")));
    // Inserting anywhere but at the end is not offered.
    EXPECT_FALSE(m.insertRows(0, 1));
}

TEST_F(Modeles, LesArticlesSeModifientAuCentimeEtRefusentLesSaisiesFausses)
{
    base.executer(QStringLiteral("INSERT INTO CONSOMMATIONS (Famille, Libelle, prixTTC) VALUES ('Boissons', 'Café', 1.2)"));
    ModeleArticles m(base.base());
    ASSERT_TRUE(m.charger());
    QSignalSpy refus(&m, &ModeleArticles::refus);
    ASSERT_EQ(m.rowCount(), 1);
    EXPECT_EQ(m.index(0, ModeleArticles::prixTTC).data(Qt::EditRole).toString(), QStringLiteral("1,20"));
    EXPECT_TRUE(m.index(0, ModeleArticles::prixTTC).data().toString().startsWith(QStringLiteral("1,20")));

    // A new article joins the family it is given.
    ASSERT_EQ(m.ajouter(QStringLiteral("Boissons")), 1);
    EXPECT_EQ(m.ligne(1).article.libelle, QStringLiteral("Nouvel article"));
    const qint64 id = m.ligne(1).id;
    const QString ou = QStringLiteral(" FROM CONSOMMATIONS WHERE rowid = %1").arg(id);
    EXPECT_EQ(champ(QStringLiteral("SELECT Famille") + ou).toString(), QStringLiteral("Boissons"));

    const struct { int colonne; QVariant saisi; bool accepte; const char* champ; QVariant stocke; } cas[] = {
        {ModeleArticles::Libelle, QStringLiteral(" Thé "), true, "Libelle", QStringLiteral("Thé")},
        {ModeleArticles::prixTTC, QStringLiteral("2,505"), true, "prixTTC", 2.51},
        {ModeleArticles::prixTTC, QStringLiteral("3.4"), true, "prixTTC", 3.4},
        {ModeleArticles::prixTTC, 1.5, true, "prixTTC", 1.5},
        {ModeleArticles::Famille, QStringLiteral("Chaud"), true, "Famille", QStringLiteral("Chaud")},
        {ModeleArticles::Libelle, QStringLiteral("  "), false, "Libelle", QStringLiteral("Thé")},
        {ModeleArticles::prixTTC, QStringLiteral("deux"), false, "prixTTC", 1.5},
        {ModeleArticles::prixTTC, QString(), false, "prixTTC", 1.5},
        {ModeleArticles::prixTTC, std::nan(""), false, "prixTTC", 1.5},
    };
    int refusAttendus = 0;
    for (const auto& c : cas) {
        SCOPED_TRACE(c.saisi.toString().toStdString());
        EXPECT_EQ(m.setData(m.index(1, c.colonne), c.saisi), c.accepte);
        refusAttendus += c.accepte ? 0 : 1;
        EXPECT_EQ(refus.size(), refusAttendus);
        const QVariant stocke = champ(QStringLiteral("SELECT %1").arg(QLatin1String(c.champ)) + ou);
        if (c.stocke.typeId() == QMetaType::Double)
            EXPECT_DOUBLE_EQ(stocke.toDouble(), c.stocke.toDouble());
        else
            EXPECT_EQ(stocke.toString(), c.stocke.toString());
        EXPECT_EQ(m.index(1, c.colonne).data(Qt::EditRole).toString(),
                  c.colonne == ModeleArticles::prixTTC ? ModeleArticles::TextePrix(c.stocke.toDouble()) : c.stocke.toString());
    }
    EXPECT_TRUE(refus[1][0].toString().contains(QStringLiteral("« deux »")));
    // The first article was never touched.
    EXPECT_EQ(champ(QStringLiteral("SELECT Libelle || prixTTC FROM CONSOMMATIONS WHERE Libelle = 'Café'")).toString(),
              QStringLiteral("Café1.2"));

    ASSERT_TRUE(m.removeRow(0));
    EXPECT_EQ(m.rowCount(), 1);
    EXPECT_EQ(m.ligne(0).id, id);
    EXPECT_EQ(champ(QStringLiteral("SELECT count(*) FROM CONSOMMATIONS")).toInt(), 1);
}

} // namespace
