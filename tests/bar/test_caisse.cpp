// Arithmetic and wording of the bar and the payment dialog.
#include "bar/caisse.h"

#include <gtest/gtest.h>

using namespace Caisse;

TEST(Caisse, DispositionArticles)
{
    const QList<QPoint> p = dispositionArticles(11);
    ASSERT_EQ(p.size(), 11);
    const int gauches[] = {240, 1155, 2070, 2985, 3900, 4815, 5730, 6645, 7560, 8475};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(p[i], QPoint(gauches[i], 720)) << i;
    EXPECT_EQ(p[10], QPoint(240, 720 + 735 + 60));

    const QList<QPoint> cent = dispositionArticles(150);
    EXPECT_EQ(cent[79], QPoint(8475, 720 + 7 * 795));
    EXPECT_EQ(cent[80], QPoint(240, 720 + 8 * 795));
    EXPECT_EQ(cent[149], QPoint(8475, 720 + 14 * 795));
    EXPECT_TRUE(dispositionArticles(0).isEmpty());
}

TEST(Caisse, LireArticle)
{
    const struct { QVariant prix; bool vendable; double attendu; } cas[] = {
        {2.5, true, 2.5}, {12, true, 12}, {0, true, 0}, {1.256, true, 1.26}, {1.254, true, 1.25},
        {QStringLiteral("3,5"), true, 3.5}, {QStringLiteral("4.20"), true, 4.2},
        {QVariant(), false, 0}, {QVariant(QMetaType(QMetaType::Double)), false, 0},
        {QString(), false, 0}, {QStringLiteral("abc"), false, 0}, {QStringLiteral("2,5 €"), false, 0},
        {1e300, false, 0},
    };
    for (const auto& c : cas) {
        const Article a = lireArticle(QStringLiteral("Café"), c.prix);
        EXPECT_EQ(a.prix.has_value(), c.vendable) << c.prix.toString().toStdString();
        if (a.prix) {
            EXPECT_DOUBLE_EQ(*a.prix, c.attendu) << c.prix.toString().toStdString();
        }
    }
}

TEST(Caisse, LegendesEtPrix)
{
    EXPECT_EQ(legendeArticle(QStringLiteral("Petit déjeuner complet")), QStringLiteral("Petit\ndéjeuner\ncomplet"));
    EXPECT_EQ(legendeArticle(QStringLiteral("Pain & beurre")), QStringLiteral("Pain\n&&\nbeurre"));
    EXPECT_EQ(legendeArticle(QStringLiteral("Café")), QStringLiteral("Café"));
    const struct { double prix; const char* texte; } cas[] = {
        {2.5, "2,5"}, {12, "12"}, {1.26, "1,26"}, {1234.5, "1234,5"}, {0, "0"}, {-3.1, "-3,1"}, {0.1 + 0.2, "0,3"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(textePrix(c.prix), QString::fromUtf8(c.texte));
}

TEST(Caisse, LireQuantite)
{
    const struct { const char* texte; std::optional<int> attendu; } cas[] = {
        {"3", 3}, {"1", 1}, {" 12 ", 12}, {"9999", 9999}, {"3,0", 3}, {"4.0", 4},
        {"", std::nullopt}, {"0", std::nullopt}, {"-2", std::nullopt}, {"1,5", std::nullopt},
        {"abc", std::nullopt}, {"100000", std::nullopt}, {"10000", std::nullopt}, {"7,50 €", std::nullopt},
        {"3x", std::nullopt},
    };
    for (const auto& c : cas)
        EXPECT_EQ(lireQuantite(QString::fromUtf8(c.texte)), c.attendu) << c.texte;
}

TEST(Caisse, Vendre)
{
    const struct { double prix; int q; double montant; const char* ligne; const char* libelle; } cas[] = {
        {2.5, 3, 7.5, "3 x 2,5 = 7,50 €", "BAR Jus d'orange\r\n3 x 2,5"},
        {3.5, 2, 7.0, "2 x 3,5 = 7,00 €", "BAR Jus d'orange\r\n2 x 3,5"},
        {0.1, 3, 0.3, "3 x 0,1 = 0,30 €", "BAR Jus d'orange\r\n3 x 0,1"},
        {1.26, 7, 8.82, "7 x 1,26 = 8,82 €", "BAR Jus d'orange\r\n7 x 1,26"},
        {999.99, 9999, 9998900.01, "9999 x 999,99 = 9 998 900,01 €", "BAR Jus d'orange\r\n9999 x 999,99"},
    };
    for (const auto& c : cas) {
        const Vente v = vendre(Article{QStringLiteral("Jus d'orange"), c.prix}, c.q);
        EXPECT_DOUBLE_EQ(v.montant, c.montant);
        EXPECT_EQ(v.ligneTicket, QString::fromUtf8(c.ligne));
        EXPECT_EQ(v.libelleOperation, QString::fromUtf8(c.libelle));
    }
}

TEST(Caisse, LireMontantPaiement)
{
    const struct { const char* texte; std::optional<double> attendu; const char* motif; } cas[] = {
        {"12,50", 12.5, ""}, {"12.6", 12.6, ""}, {"-20", -20, ""}, {"1000000", 1000000, ""},
        {" 0,016 ", 0.02, ""},
        {"", std::nullopt, "n'est pas un nombre"}, {"abc", std::nullopt, "n'est pas un nombre"},
        {"12 €", std::nullopt, "n'est pas un nombre"}, {"0", std::nullopt, "nul"}, {"0,001", std::nullopt, "nul"},
        {"1000000,01", std::nullopt, "1 000 000"}, {"-2000000", std::nullopt, "1 000 000"},
        {"1e400", std::nullopt, "n'est pas un nombre"},
    };
    for (const auto& c : cas) {
        QString motif;
        const auto m = lireMontantPaiement(QString::fromUtf8(c.texte), &motif);
        ASSERT_EQ(m.has_value(), c.attendu.has_value()) << c.texte;
        if (m)
            EXPECT_DOUBLE_EQ(*m, *c.attendu) << c.texte;
        else
            EXPECT_TRUE(motif.contains(QString::fromUtf8(c.motif))) << c.texte << " : " << motif.toStdString();
    }
}

TEST(Caisse, NumeroReservation)
{
    const struct { const char* texte; std::optional<qint32> attendu; } cas[] = {
        {"42", 42}, {"7 ", 7}, {"reservation", std::nullopt}, {"", std::nullopt}, {"0", std::nullopt},
        {"nouveau", std::nullopt}, {"-3", std::nullopt}, {"99999999999", std::nullopt},
    };
    for (const auto& c : cas)
        EXPECT_EQ(numeroReservation(QString::fromUtf8(c.texte)), c.attendu) << c.texte;
}
