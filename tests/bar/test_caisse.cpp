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
        {"3", 3}, {"1", 1}, {" 12 ", 12}, {"9999", 9999}, {"3,0", std::nullopt}, {"4.0", std::nullopt},
        {"1e3", std::nullopt}, {"1E2", std::nullopt}, {"+2", std::nullopt}, {"-1", std::nullopt},
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
        EXPECT_EQ(v.lignesRecu, QStringList({QStringLiteral("Jus d'orange"), QString::fromUtf8(c.ligne)}));
        EXPECT_EQ(v.ligneTicket, QString::fromUtf8(c.ligne));
        EXPECT_EQ(v.libelleOperation, QString::fromUtf8(c.libelle));
    }
}

// Labels holding what looks like a placeholder are kept as typed.
TEST(Caisse, LibellesAvecPourcent)
{
    const struct { const char* libelle; int q; const char* vente; const char* annulation; const char* ticket; } cas[] = {
        {"Menu %1 du jour %2", 3, "BAR Menu %1 du jour %2\r\n3 x 2,5", "ANNULATION BAR Menu %1 du jour %2\r\n3 x 2,5",
         "3 x 2,5 = 7,50 €"},
        {"%3 %2 %1", 1, "BAR %3 %2 %1\r\n1 x 2,5", "ANNULATION BAR %3 %2 %1\r\n1 x 2,5", "1 x 2,5 = 2,50 €"},
        {"100% pur jus", 2, "BAR 100% pur jus\r\n2 x 2,5", "ANNULATION BAR 100% pur jus\r\n2 x 2,5", "2 x 2,5 = 5,00 €"},
    };
    for (const auto& c : cas) {
        const Article a{QString::fromUtf8(c.libelle), 2.5};
        EXPECT_EQ(vendre(a, c.q).libelleOperation, QString::fromUtf8(c.vente));
        EXPECT_EQ(vendre(a, c.q).ligneTicket, QString::fromUtf8(c.ticket));
        EXPECT_EQ(annuler(a, c.q).libelleOperation, QString::fromUtf8(c.annulation));
        EXPECT_EQ(annuler(a, c.q).lignesRecu.mid(0, 2),
                  QStringList({QStringLiteral("ANNULATION"), QString::fromUtf8(c.libelle)}));
    }
}

TEST(Caisse, Annuler)
{
    const struct { double prix; int q; double montant; const char* ligne; } cas[] = {
        {2.5, 3, 7.5, "-3 x 2,5 = -7,50 €"}, {1.26, 7, 8.82, "-7 x 1,26 = -8,82 €"}, {0, 2, 0, "-2 x 0 = 0,00 €"},
    };
    for (const auto& c : cas) {
        const Vente v = annuler(Article{QStringLiteral("Café"), c.prix}, c.q);
        EXPECT_DOUBLE_EQ(v.montant, c.montant) << c.ligne;
        EXPECT_EQ(v.quantite, c.q);
        EXPECT_EQ(v.lignesRecu, QStringList({QStringLiteral("ANNULATION"), QStringLiteral("Café"),
                                             QString::fromUtf8(c.ligne)}));
    }
}

TEST(Caisse, QuantiteAnnulable)
{
    const QString vente3 = QStringLiteral("BAR Café\r\n3 x 1,5");
    const QString vente2 = QStringLiteral("BAR Café\r\n2 x 1,8");   // sold at an older price
    const QString annul1 = QStringLiteral("ANNULATION BAR Café\r\n1 x 1,5");
    const QString jus = QStringLiteral("BAR Jus d'orange\r\n4 x 2,5");
    const struct { QStringList compte; const char* libelle; int attendu; } cas[] = {
        {{}, "Café", 0},
        {{vente3}, "Café", 3},
        {{vente3, vente2}, "Café", 5},
        {{vente3, annul1}, "Café", 2},
        {{vente3, annul1, annul1, annul1}, "Café", 0},
        {{annul1}, "Café", 0},   // never below nothing
        {{vente3, jus}, "Jus d'orange", 4},
        {{vente3, jus}, "Jus", 0},
        {{vente3}, "café", 0},
        {{QStringLiteral("Paiement ESP"), QStringLiteral("Acompte (CB)"), QStringLiteral("BAR Café"),
          QStringLiteral("BAR Café\r\nx 1,5"), QStringLiteral("BAR Café\r\n1e3 x 1,5"), vente3}, "Café", 3},
        {{QStringLiteral("BAR Menu %1 du jour\r\n2 x 8")}, "Menu %1 du jour", 2},
        {{QStringLiteral("BAR Menu\r\ndu jour\r\n2 x 8")}, "Menu\r\ndu jour", 2},
    };
    for (const auto& c : cas)
        EXPECT_EQ(quantiteAnnulable(c.compte, QString::fromUtf8(c.libelle)), c.attendu)
            << c.libelle << " " << c.compte.join(QLatin1Char('|')).toStdString();
}

// The deposit still to receive comes first; payments are the rows with a
// payment code (a bar correction is positive too, but no payment).
TEST(Caisse, MontantProposeArrhesPuisSolde)
{
    const QString esp = QStringLiteral("ESP"), aucun = QStringLiteral("   ");
    const struct { const char* cas; QList<double> prix; QStringList paiements; double arrhes; double propose; } cas[] = {
        {"sans arrhes : le solde", {-100}, {aucun}, 0, 100},
        {"arrhes avant tout compte", {}, {}, 30, 30},
        {"arrhes avant paiement", {-100}, {aucun}, 30, 30},
        {"arrhes en partie reçues", {-100, 10}, {aucun, esp}, 30, 20},
        {"arrhes reçues : le solde", {-100, 30}, {aucun, esp}, 30, 70},
        {"plus que les arrhes reçu", {-100, 50}, {aucun, esp}, 30, 50},
        {"une correction n'est pas un paiement", {-100, 4}, {aucun, aucun}, 30, 30},
        {"au centime", {-1, 0.1, 0.2}, {aucun, esp, esp}, 0.3, 0.7},
        {"tout réglé", {-100, 100}, {aucun, esp}, 30, 0},
    };
    for (const auto& c : cas)
        EXPECT_DOUBLE_EQ(montantPropose(c.prix, c.paiements, c.arrhes), c.propose) << c.cas;
}

TEST(Caisse, MontantDu)
{
    const struct { QList<double> prix; double du; const char* texte; } cas[] = {
        {{}, 0, "0"}, {{-7.5}, 7.5, "7,50"}, {{-7.5, -2.5, 4}, 6, "6,00"}, {{-7.5, 10}, 0, "0"},
        {{-0.1, -0.2}, 0.3, "0,30"}, {{-1234.56}, 1234.56, "1234,56"}, {{-5, 5}, 0, "0"},
    };
    for (const auto& c : cas) {
        EXPECT_DOUBLE_EQ(montantDu(c.prix), c.du) << c.texte;
        EXPECT_EQ(texteMontant(montantDu(c.prix)), QString::fromUtf8(c.texte));
        // What is proposed reads back as the same amount.
        if (c.du > 0) {
            EXPECT_EQ(lireMontantPaiement(texteMontant(c.du)), c.du) << c.texte;
        }
    }
}

TEST(Caisse, LibellePaiement)
{
    const struct { const char* commentaire; const char* code; const char* libelle; } cas[] = {
        {"", "ESP", "Paiement ESP"}, {"   ", "CHQ", "Paiement CHQ"}, {"Acompte", "ESP", "Acompte (ESP)"},
        {"Solde du séjour", "CB", "Solde du séjour (CB)"}, {"Chèque n° 12", "CHQ", "Chèque n° 12 (CHQ)"},
        {"Réf %1 et %2", "VIR", "Réf %1 et %2 (VIR)"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(libellePaiement(QString::fromUtf8(c.commentaire), QString::fromUtf8(c.code)),
                  QString::fromUtf8(c.libelle));
}

TEST(Caisse, LireMontantPaiement)
{
    const struct { const char* texte; std::optional<double> attendu; const char* motif; } cas[] = {
        {"12,50", 12.5, ""}, {"12.6", 12.6, ""}, {"-20", -20, ""}, {"1000000", 1000000, ""},
        {" 0,016 ", 0.02, ""},
        {"", std::nullopt, "n'est pas un nombre"}, {"abc", std::nullopt, "n'est pas un nombre"},
        {"12 €", std::nullopt, "n'est pas un nombre"}, {"0", std::nullopt, "nul"}, {"0,001", std::nullopt, "nul"},
        {"1000000,01", std::nullopt, "1 000 000"}, {"-2000000", std::nullopt, "1 000 000"},
        {"1e400", std::nullopt, "n'est pas un nombre"}, {"1e6", std::nullopt, "n'est pas un nombre"},
        {"1E2", std::nullopt, "n'est pas un nombre"}, {"12,5,0", std::nullopt, "n'est pas un nombre"},
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

TEST(Caisse, ClientParti)
{
    const QDate aujourdhui(2024, 8, 2);
    const auto fin = [](int jour) { return QDateTime(QDate(2024, 8, jour), QTime(12, 0)); };
    const struct { const char* cas; qint32 etat; QDateTime fin; std::optional<qint32> etatDepart; bool parti; } cas[] = {
        {"parti hier", 1, fin(1), 3, true},
        {"part aujourd'hui", 1, fin(2), 3, false},
        {"part demain", 1, fin(3), 3, false},
        {"état du départ", 3, fin(9), 3, true},
        {"aucun état de départ choisi", 3, fin(9), std::nullopt, false},
        {"date illisible", 1, QDateTime(), 3, false},
        {"date illisible, état du départ", 3, QDateTime(), 3, true},
    };
    for (const auto& c : cas)
        EXPECT_EQ(clientParti(c.etat, c.fin, c.etatDepart, aujourdhui), c.parti) << c.cas;
}
