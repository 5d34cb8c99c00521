// Which text the calendar writes where room is short: bar labels, day
// headers and month labels, measured with a plain font where each letter is
// half the size wide and a line is two pixels taller than the size.
#include "planning/ajustement.h"
#include "planning/grille.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// The letters of a text take the size less one, two more with a descender.
const Ajustement::Mesure kMesure{
    [](const QString& texte, int taille) { return int(texte.size()) * taille / 2; },
    [](int taille) { return taille + 2; },
    [](const QString& texte, int taille) {
        return texte.contains(QRegularExpression(QStringLiteral("[gjpqy]"))) ? taille + 1 : taille - 1;
    }};

} // namespace

TEST(Ajustement, InitialsOfAName)
{
    struct Cas { const char* nom; const char* initiales; };
    const Cas cas[] = {
        {"Henri Leblanc", "H.L."},
        {"henri leblanc", "H.L."},             // no capital anywhere: every word counts
        {"Jean de la Fontaine", "J.F."},       // particles left out
        {"Jean-Pierre Martin", "J.-P.M."},
        {"Dupont", "D."},
        {"  Émile   Zola  ", "É.Z."},
        {"Anne Marie Claire Dubois", "A.M.C."}, // three at most
        {"M. & Mme Petit", "M.M.P."},          // a word of signs gives nothing
        {"Durand\n2 rue des Lilas", "D."},     // the name's first line only
        {"", ""},
        {"- -", ""},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Ajustement::initiales(QString::fromUtf8(c.nom)), QString::fromUtf8(c.initiales)) << c.nom;
}

TEST(Ajustement, BarLabelFallsBackToInitialsAndSmallerSizes)
{
    // Normal size 10 (5 pixels a letter, lines of 12), smallest 6.
    struct Cas {
        const char* libelle;
        const char* client;
        int personnes, largeur, hauteur;
        const char* texte;
        int taille;
    };
    const Cas cas[] = {
        {"Leblanc", "Henri Leblanc", 2, 35, 15, "Leblanc", 10},       // fits exactly (7 × 5)
        {"Leblanc", "Henri Leblanc", 2, 34, 15, "H.L. 2", 10},        // one pixel short: 6 × 5 = 30
        {"Leblanc", "Henri Leblanc", 2, 29, 15, "H.L. 2", 9},         // 6 × 9 / 2 = 27 at size 9
        {"Leblanc", "Henri Leblanc", 2, 18, 15, "H.L. 2", 6},         // 6 × 3 at the smallest size
        {"Leblanc", "Henri Leblanc", 2, 17, 15, "H.L.", 8},           // the count goes before the size
        {"Leblanc", "Henri Leblanc", 0, 20, 15, "H.L.", 10},          // nobody counted: no " 0"
        {"Leblanc", "Henri Leblanc", 2, 11, 15, "H.", 10},
        {"Leblanc", "Henri Leblanc", 2, 5, 15, "", 0},                // not even one letter: nothing
        {"[x] Leblanc", "Leblanc", 1, 36, 15, "Leblanc", 10},         // the template's label, then the name
        // A half band lower than a line: the size at which the letters fit.
        {"Leblanc", "Henri Leblanc", 2, 100, 8, "Leblanc", 9},
        {"Legrand", "Paul Legrand", 2, 100, 8, "Legrand", 7},         // a descender needs a smaller size
        {"Leblanc", "Henri Leblanc", 2, 31, 8, "Leblanc", 9},
        {"Leblanc", "Henri Leblanc", 2, 30, 8, "H.L. 2", 9},          // the name is not shrunk: initials
        {"Leblanc", "Henri Leblanc", 2, 100, 4, "", 0},               // not even the smallest letters: nothing
        {"Leblanc", "Henri Leblanc", 2, 0, 15, "", 0},
    };
    for (const Cas& c : cas) {
        const Ajustement::Choix choix = Ajustement::etiquetteBarre(
            QString::fromUtf8(c.libelle), QString::fromUtf8(c.client), c.personnes, c.largeur, c.hauteur, 10, 6, kMesure);
        EXPECT_EQ(choix.texte, QString::fromUtf8(c.texte)) << c.libelle << " " << c.largeur << "x" << c.hauteur;
        EXPECT_EQ(choix.taille, c.taille) << c.libelle << " " << c.largeur << "x" << c.hauteur;
        // Whatever is written fits whole.
        if (!choix.texte.isEmpty()) {
            EXPECT_LE(kMesure.largeur(choix.texte, choix.taille), c.largeur);
            EXPECT_LE(kMesure.encre(choix.texte, choix.taille), c.hauteur);
        }
    }
}

TEST(Ajustement, DayHeadersShortenThenShrinkButNeverCut)
{
    // 3 January 2007 is a Wednesday.
    EXPECT_EQ(Ajustement::nomJour(QDate(2007, 1, 3), 0), QStringLiteral("mer."));
    EXPECT_EQ(Ajustement::nomJour(QDate(2007, 1, 3), 1), QStringLiteral("mer"));
    EXPECT_EQ(Ajustement::nomJour(QDate(2007, 1, 6), 2), QStringLiteral("sa"));
    EXPECT_EQ(Ajustement::nomJour(QDate(2007, 1, 6), 3), QStringLiteral("s"));

    // Size 10: "lun." is 20 pixels wide, "lun" 15, "lu" and "07" 10.
    struct Cas { int largeurJour, hauteur; Ajustement::FormeEntete attendue; };
    const Cas cas[] = {
        {21, 41, {0, 10}},   // 20 pixels inside a column of 21 (its line takes one)
        {20, 41, {1, 10}},
        {16, 41, {1, 10}},
        {15, 41, {2, 10}},
        {11, 41, {2, 10}},
        {10, 41, {2, 9}},    // smaller font: "lu" in 9 pixels
        {7, 41, {2, 6}},
        {6, 41, {3, 6}},     // one letter at the smallest size
        {21, 23, {0, 9}},    // two lines of 12 do not fit 23 pixels: a size smaller first
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Ajustement::formeJours(c.largeurJour, c.hauteur, 10, 6, kMesure), c.attendue)
            << c.largeurJour << "x" << c.hauteur;
}

TEST(Ajustement, MonthLabelsFitTheirVisibleSpan)
{
    // Size 10: 5 pixels a letter.
    struct Cas {
        QDate depart;
        int largeurJour, largeurStrip;
        QList<Ajustement::PlaceMois> attendues;
    };
    const Cas cas[] = {
        // 30 November: two days of November (40 pixels) hold "nov." (20)
        // centred, never "novembre 2026" starting left of the strip.
        {QDate(2026, 11, 29), 20, 400,
         {{QStringLiteral("nov."), 10}, {QString::fromUtf8("décembre 2026"), 40 + (360 - 65) / 2}}},
        // One day of November: no room for any form.
        {QDate(2026, 11, 30), 20, 400, {{QString::fromUtf8("décembre 2026"), 20 + (380 - 65) / 2}}},
        // Three days: "nov. 2026" (45) fits 60 - 4; nothing of December shows.
        {QDate(2026, 11, 28), 20, 60, {{QStringLiteral("nov. 2026"), 7}}},
        {QDate(2026, 11, 27), 10, 40, {{QStringLiteral("nov."), 10}}},
        // The last month is centred over what the strip shows of it.
        {QDate(2026, 11, 1), 20, 660,
         {{QStringLiteral("novembre 2026"), (600 - 65) / 2}, {QString::fromUtf8("déc. 2026"), 600 + (60 - 45) / 2}}},
    };
    for (const Cas& c : cas) {
        const Grille::Entete e = Grille::entete(c.depart, c.largeurStrip, c.largeurJour);
        const QList<Ajustement::PlaceMois> places = Ajustement::placesMois(e, c.largeurStrip, 10, kMesure);
        EXPECT_EQ(places, c.attendues) << c.depart.toString(Qt::ISODate).toStdString();
        for (const Ajustement::PlaceMois& p : places) {
            EXPECT_GE(p.x, 0);
            EXPECT_LE(p.x + kMesure.largeur(p.texte, 10), c.largeurStrip);
        }
    }
}
