#include "publish/nomsdepages.h"

#include <QStringList>
#include <gtest/gtest.h>

using Publication::NomDePage;
using Publication::NomsDePagesUniques;

namespace {

QString fois(const QString& motif, int n)
{
    return motif.repeated(n);
}

} // namespace

TEST(NomsDePages, NettoyesEtCoupes)
{
    const QString e = QString::fromUtf8("é");          // 2 bytes
    const QString euro = QString::fromUtf8("€");       // 3 bytes
    const QString sapin = QString::fromUtf8("🌲");     // 4 bytes, a surrogate pair in QString
    struct Cas {
        const char* nom;
        QString entree;
        QString attendu;
    };
    const Cas cas[] = {
        // Names that were already fine keep their page.
        {"parenthèses", QStringLiteral("Chalet (A).html"), QStringLiteral("Chalet__A_.html")},
        {"espace", QStringLiteral("Chalet 3.html"), QStringLiteral("Chalet_3.html")},
        {"dossier", QStringLiteral("../pages/dehors.html"), QStringLiteral(".._pages_dehors.html")},
        {"accent", QString::fromUtf8("Bruyère.html"), QString::fromUtf8("Bruyère.html")},
        {"tous les interdits", QStringLiteral("a'b%c-d+e,f=g@h*i/j\\k.html"),
         QStringLiteral("a_b_c_d_e_f_g_h_i_j_k.html")},
        // Control characters, NUL included, become '_' like the others.
        {"NUL", QStringLiteral("Cha") + QChar(u'\0') + QStringLiteral("let.html"), QStringLiteral("Cha_let.html")},
        {"tabulation et retour", QStringLiteral("A\tB\r\nC.html"), QStringLiteral("A_B__C.html")},
        {"DEL et C1", QStringLiteral("A") + QChar(0x7F) + QChar(0x85) + QStringLiteral("B.html"),
         QStringLiteral("A__B.html")},
        // Cut to 150 bytes before the extension.
        {"150 octets tout juste", fois(QStringLiteral("x"), 150) + QStringLiteral(".html"),
         fois(QStringLiteral("x"), 150) + QStringLiteral(".html")},
        {"3000 caractères", fois(QStringLiteral("x"), 3000) + QStringLiteral(".html"),
         fois(QStringLiteral("x"), 150) + QStringLiteral(".html")},
        {"3000 espaces", fois(QStringLiteral(" "), 3000) + QStringLiteral(".html"),
         fois(QStringLiteral("_"), 150) + QStringLiteral(".html")},
        {"accents, coupe juste", fois(e, 3000) + QStringLiteral(".html"), fois(e, 75) + QStringLiteral(".html")},
        {"accent à cheval sur la limite", QStringLiteral("x") + fois(e, 3000) + QStringLiteral(".html"),
         QStringLiteral("x") + fois(e, 74) + QStringLiteral(".html")},
        {"3 octets", fois(euro, 1000) + QStringLiteral(".htm"), fois(euro, 50) + QStringLiteral(".htm")},
        {"4 octets à cheval", QStringLiteral("x") + fois(sapin, 1000) + QStringLiteral(".html"),
         QStringLiteral("x") + fois(sapin, 37) + QStringLiteral(".html")},
        // No extension, or one too long to be one: the whole name is cut.
        {"sans extension", fois(QStringLiteral("y"), 400), fois(QStringLiteral("y"), 150)},
        {"extension démesurée", QStringLiteral("a.") + fois(QStringLiteral("z"), 400),
         QStringLiteral("a.") + fois(QStringLiteral("z"), 148)},
        {"point en tête", QStringLiteral(".") + fois(QStringLiteral("z"), 400),
         QStringLiteral(".") + fois(QStringLiteral("z"), 149)},
    };
    for (const Cas& c : cas) {
        const QString nom = NomDePage(c.entree);
        EXPECT_EQ(nom, c.attendu) << c.nom;
        // Never a broken character: the name goes to UTF-8 and back whole.
        EXPECT_EQ(QString::fromUtf8(nom.toUtf8()), nom) << c.nom;
        // Cleaning and cutting twice changes nothing.
        EXPECT_EQ(NomDePage(nom), nom) << c.nom;
    }
}

TEST(NomsDePages, UniquesParmiLesUnites)
{
    const QString long1 = fois(QStringLiteral("L"), 3000) + QStringLiteral("1.html");
    const QString long2 = fois(QStringLiteral("L"), 3000) + QStringLiteral("2.html");
    const QString coupe = fois(QStringLiteral("L"), 150);
    struct Cas {
        const char* nom;
        QStringList entree;
        QStringList attendu;
    };
    const Cas cas[] = {
        {"aucun doublon", {QStringLiteral("Chalet (A).html"), QStringLiteral("Chalet 3.html")},
         {QStringLiteral("Chalet__A_.html"), QStringLiteral("Chalet_3.html")}},
        {"trois fois le même", {QStringLiteral("Chalet.html"), QStringLiteral("Chalet.html"), QStringLiteral("Chalet.html")},
         {QStringLiteral("Chalet.html"), QStringLiteral("Chalet__2_.html"), QStringLiteral("Chalet__3_.html")}},
        {"égaux une fois nettoyés", {QStringLiteral("Vue mer.html"), QStringLiteral("Vue-mer.html")},
         {QStringLiteral("Vue_mer.html"), QStringLiteral("Vue_mer__2_.html")}},
        // A unit named like a numbered name keeps its own name.
        {"numéro déjà pris", {QStringLiteral("A.html"), QStringLiteral("A.html"), QStringLiteral("A (2).html")},
         {QStringLiteral("A.html"), QStringLiteral("A__3_.html"), QStringLiteral("A__2_.html")}},
        // The file system tells capitals apart: so do the pages.
        {"majuscules", {QStringLiteral("a.html"), QStringLiteral("A.html")},
         {QStringLiteral("a.html"), QStringLiteral("A.html")}},
        // Equal once cut: the number goes before the extension within the limit.
        {"longs égaux une fois coupés", {long1, long2},
         {coupe + QStringLiteral(".html"), fois(QStringLiteral("L"), 146) + QStringLiteral("__2_.html")}},
        {"sans extension", {QStringLiteral("Gîte"), QStringLiteral("Gîte")},
         {QStringLiteral("Gîte"), QStringLiteral("Gîte__2_")}},
    };
    for (const Cas& c : cas) {
        const QStringList noms = NomsDePagesUniques(c.entree);
        EXPECT_EQ(noms, c.attendu) << c.nom;
        for (const QString& nom : noms) {
            const qsizetype point = nom.lastIndexOf(QLatin1Char('.'));
            EXPECT_LE((point > 0 ? nom.left(point) : nom).toUtf8().size(), Publication::kOctetsNomMax) << c.nom;
        }
    }
}
