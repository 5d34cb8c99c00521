#include "outils.h"
#include "publish/calendrierhtml.h"
#include "store/dates.h"

#include <gtest/gtest.h>

using CalendrierHTML::LigneSejour;

namespace {

QDateTime moment(int a, int m, int j, int h = 0, int n = 0)
{
    return Dates::naive(QDate(a, m, j), QTime(h, n));
}

LigneSejour sejour(int jourDebut, int heureDebut, int jourFin, int heureFin)
{
    return {moment(2025, 3, jourDebut, heureDebut), moment(2025, 3, jourFin, heureFin)};
}

} // namespace

TEST(CalendrierHTML, EtatDesJours)
{
    struct Cas {
        const char* nom;
        QList<LigneSejour> sejours;
        QList<int> etats;   // days 2 to 7 of March 2025
    };
    const LigneSejour finInvalide{moment(2025, 3, 3, 14), QDateTime()};
    const QList<Cas> cas = {
        {"aucun séjour", {}, {0, 0, 0, 0, 0, 0}},
        {"du 3 à 14:00 au 6 à 12:00", {sejour(3, 14, 6, 12)}, {0, 1, 2, 2, 1, 0}},
        {"du 3 à minuit au 6 à minuit", {sejour(3, 0, 6, 0)}, {0, 2, 2, 2, 2, 0}},
        {"départ le 6 à 12:00, arrivée le 6 à 14:00", {sejour(3, 14, 6, 12), sejour(6, 14, 7, 10)},
         {0, 1, 2, 2, 2, 1}},
        {"arrivée à minuit, départ à une heure", {sejour(3, 0, 5, 10)}, {0, 1, 2, 1, 0, 0}},
        {"séjour d'une journée", {sejour(4, 9, 4, 18)}, {0, 0, 1, 0, 0, 0}},
        // Overlapping stays: a day taken by one stay stays taken whatever
        // the order in which the stays come.
        {"intérieur puis demi-journée", {sejour(2, 0, 6, 0), sejour(4, 15, 7, 10)}, {2, 2, 2, 2, 2, 1}},
        {"demi-journée puis intérieur", {sejour(4, 15, 7, 10), sejour(2, 0, 6, 0)}, {2, 2, 2, 2, 2, 1}},
        {"trois demi-journées le même jour", {sejour(1, 14, 4, 10), sejour(4, 11, 4, 13), sejour(4, 15, 6, 9)},
         {2, 2, 2, 2, 1, 0}},
        {"date de fin illisible", {finInvalide}, {0, 0, 0, 0, 0, 0}},
    };
    for (const Cas& c : cas) {
        QList<int> obtenus;
        for (int jour = 2; jour <= 7; ++jour)
            obtenus.append(CalendrierHTML::etatjour(QDate(2025, 3, jour), c.sejours));
        EXPECT_EQ(obtenus, c.etats) << c.nom;
    }
}

// The cells of the first month of a page: 42 of them, its days in order
// from the column of the 1st.
TEST(CalendrierHTML, CellulesDuPremierMois)
{
    struct Cas {
        QDate jour;
        int colonneDuPremier;   // 1 Monday .. 7 Sunday
        int jours;
    };
    const Cas cas[] = {
        {QDate(2025, 9, 17), 1, 30},   // starts on a Monday
        {QDate(2025, 6, 1), 7, 30},    // starts on a Sunday
        {QDate(2026, 3, 31), 7, 31},   // Sunday with 31 days: the sixth week is used
        {QDate(2024, 2, 29), 4, 29},
        {QDate(2025, 1, 1), 3, 31},
    };
    for (const Cas& c : cas) {
        const QList<QByteArray> l = OutilsPage::lignes(CalendrierHTML::Page(QStringLiteral("X"), {}, Dates::naive(c.jour)));
        ASSERT_EQ(l.size(), CalendrierHTML::kLignesParPage) << c.jour.toString().toStdString();
        // The first month's cells follow its weekday headings.
        int cellule = 0;
        int jourAttendu = 1;
        int premiereColonne = 0;
        int derniereCellule = 0;
        for (qsizetype i = 3; i < 3 + 67; ++i) {
            const QByteArray& ligne = l[i];
            if (!ligne.contains("<td bgcolor="))
                continue;
            ++cellule;
            if (ligne.contains("#999999"))
                continue;
            const qsizetype fin = ligne.indexOf("</font></div></td>");
            const qsizetype debut = ligne.lastIndexOf('>', fin) + 1;
            EXPECT_EQ(ligne.mid(debut, fin - debut).toInt(), jourAttendu);
            if (jourAttendu == 1)
                premiereColonne = cellule;
            derniereCellule = cellule;
            ++jourAttendu;
        }
        EXPECT_EQ(cellule, 42) << c.jour.toString().toStdString();
        EXPECT_EQ(premiereColonne, c.colonneDuPremier) << c.jour.toString().toStdString();
        EXPECT_EQ(jourAttendu - 1, c.jours);
        EXPECT_EQ(derniereCellule, c.colonneDuPremier + c.jours - 1);
    }
}

TEST(CalendrierHTML, LignesEtCodage)
{
    const QByteArray page = CalendrierHTML::Page(QStringLiteral("Chalet"), {}, moment(2026, 8, 5, 9, 7));
    // Heading: the abbreviated French month, two-digit day and year, Windows-1252.
    EXPECT_TRUE(page.startsWith("<div align=\"center\"><strong>R\xE9servations Chalet</strong><font size=\"1\" "
                                "face=\"Verdana, Arial, Helvetica, sans-serif\"> (mis \xE0 jour le 05 ao\xFBt 26 "
                                "\xE0 09:07)</font></div>\r\n"));
    // The twenty months go from the current one to the nineteenth after it.
    EXPECT_TRUE(page.contains("sans-serif\">ao\xFBt 2026\r\n"));
    EXPECT_TRUE(page.contains("sans-serif\">mars 2028\r\n"));
    EXPECT_FALSE(page.contains("sans-serif\">avril 2028\r\n"));
    EXPECT_FALSE(page.contains("sans-serif\">juillet 2026\r\n"));
}

TEST(CalendrierHTML, NomEchappe)
{
    const struct {
        QString nom;
        QString attendu;
    } cas[] = {
        {QStringLiteral("Chalet 3"), QStringLiteral("Chalet 3")},
        {QStringLiteral("Chalet <b>"), QStringLiteral("Chalet &lt;b&gt;")},
        {QStringLiteral("Pins & Bruyère"), QStringLiteral("Pins &amp; Bruyère")},
        {QStringLiteral("Le \"Grand\""), QStringLiteral("Le &quot;Grand&quot;")},
        {QStringLiteral("<script>alert(1)</script>"), QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt;")},
        {QStringLiteral("deux\r\nlignes"), QStringLiteral("deux  lignes")},
    };
    for (const auto& c : cas)
        EXPECT_EQ(CalendrierHTML::NomPourPage(c.nom), c.attendu) << c.nom.toStdString();
    // A line break in a name does not break the page's lines.
    EXPECT_EQ(CalendrierHTML::Page(QStringLiteral("deux\nlignes"), {}, moment(2025, 1, 1)).count('\n'), 1353);
}

TEST(CalendrierHTML, CodageWindows1252)
{
    const struct {
        QString texte;
        QByteArray octets;
    } cas[] = {
        {QStringLiteral("abc"), "abc"},
        {QStringLiteral("é à û ç"), "\xE9 \xE0 \xFB \xE7"},
        {QStringLiteral("€ œ Œ ’ …"), "\x80 \x9C \x8C \x92 \x85"},
        {QStringLiteral("Łódź"), "&#321;\xF3" "d&#378;"},
        {QString::fromUtf8("\xF0\x9F\x8F\x95 tente"), "&#127957; tente"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(CalendrierHTML::EnWindows1252(c.texte), c.octets) << c.texte.toStdString();
}
