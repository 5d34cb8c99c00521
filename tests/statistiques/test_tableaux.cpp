#include "seme.h"
#include "statistiques/tableaux.h"

#include <QFile>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Reads a CSV file back as a spreadsheet would: cells split on ";" outside
// quotes, doubled quotes read as one, lines ended by CR LF.
QList<QStringList> relire(const QByteArray& octets, bool* bom)
{
    *bom = octets.startsWith("\xEF\xBB\xBF");
    const QString texte = QString::fromUtf8(octets.mid(*bom ? 3 : 0));
    QList<QStringList> lignes;
    QStringList ligne;
    QString cellule;
    bool guillemets = false;
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const QChar c = texte[i];
        if (guillemets) {
            if (c == QLatin1Char('"') && i + 1 < texte.size() && texte[i + 1] == QLatin1Char('"')) {
                cellule += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                guillemets = false;
            } else {
                cellule += c;
            }
        } else if (c == QLatin1Char('"')) {
            guillemets = true;
        } else if (c == QLatin1Char(';')) {
            ligne.append(cellule);
            cellule.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < texte.size() && texte[i + 1] == QLatin1Char('\n')) {
            ligne.append(cellule);
            lignes.append(ligne);
            ligne.clear();
            cellule.clear();
            ++i;
        } else {
            cellule += c;
        }
    }
    EXPECT_TRUE(cellule.isEmpty() && ligne.isEmpty()) << "the last line has no CR LF";
    return lignes;
}

} // namespace

TEST(Tableaux, NumbersAndDatesAsAFrenchSpreadsheetReadsThem)
{
    const std::tuple<double, int, QString> nombres[] = {
        {12.5, 2, QStringLiteral("12,50")}, {1234567.891, 2, QStringLiteral("1234567,89")},
        {-0.001, 2, QStringLiteral("0,00")}, {-3.5, 1, QStringLiteral("-3,5")}, {45.333, 1, QStringLiteral("45,3")},
        {0, 1, QStringLiteral("0,0")}};
    for (const auto& [v, d, texte] : nombres)
        EXPECT_EQ(Tableaux::Decimal(v, d), texte) << v;
    EXPECT_EQ(Tableaux::Date(QDate(2026, 3, 1)), QStringLiteral("01/03/2026"));
    EXPECT_EQ(Tableaux::Date(QDate()), QString());
    EXPECT_EQ(Tableaux::Mois(QDate(2026, 2, 1)), QStringLiteral("février 2026"));
}

// The tourist-tax table of the seeded March, written and read back cell by
// cell, with a client whose name holds a ";" and quotes.
TEST(Tableaux, TaxTableWrittenAsCsvReadsBackCellByCell)
{
    TestUtil::BaseTemporaire b(QStringLiteral("tab1"));
    Seme::semer(b);
    b.executer(QStringLiteral("UPDATE RESERVATIONS SET nomclient = 'Durand; \"Le Grand\" & fils' WHERE NumeroReservation = 2"));
    const auto d = TaxeSejour::Lire(b.base(), QDate(2026, 3, 1), QDate(2026, 3, 31), 0.8, std::nullopt);
    ASSERT_TRUE(d);
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("taxe.csv"));
    {
        QFile f(chemin);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Tableaux::Csv(Tableaux::Taxe(*d)));
    }
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray octets = f.readAll();
    EXPECT_TRUE(octets.contains("\"Durand; \"\"Le Grand\"\" & fils\""));
    bool bom = false;
    const QList<QStringList> lignes = relire(octets, &bom);
    EXPECT_TRUE(bom);
    const QList<QStringList> attendu = {
        {QStringLiteral("Taxe de séjour — Du 01/03/2026 au 31/03/2026 — 0,80 € par adulte et par nuit")},
        {QStringLiteral("N°"), QStringLiteral("Client"), QStringLiteral("Logement"), QStringLiteral("Arrivée"),
         QStringLiteral("Départ"), QStringLiteral("Nuitées dans la période"), QStringLiteral("Adultes"),
         QStringLiteral("Exonérés (enfants)"), QStringLiteral("Nuitées taxées"), QStringLiteral("Taxe due"),
         QStringLiteral("Taxe facturée")},
        // #1's 4,80 posted over 7 nights: 0,68 on each March night.
        {"1", "Client 1", "Chalet A", "25/02/2026", "04/03/2026", "3", "2", "1", "6", "4,80", "2,04"},
        {"5", "Client 5", QStringLiteral("Emplacement C"), "15/03/2026", "20/03/2026", "5", "0", "3", "0", "0,00",
         QStringLiteral("pas encore facturée")},
        {"2", QStringLiteral("Durand; \"Le Grand\" & fils"), "Chalet A", "28/03/2026", "03/04/2026", "4", "2", "0", "8",
         "6,40", QStringLiteral("pas encore facturée")},
        {"", "Total", "", "", "", "12", "4", "4", "14", "11,20", "2,04"},
        {"", QStringLiteral("Séjourné, pas encore facturé"), "", "", "", "", "", "", "", "", "6,40"},
        {"", QStringLiteral("Autres écarts"), "", "", "", "", "", "", "", "", "2,76"},
        {"", QStringLiteral("Facturé, pas encore séjourné"), "", "", "", "", "", "", "", "", "0,00"},
    };
    ASSERT_EQ(lignes.size(), attendu.size());
    for (int i = 0; i < attendu.size(); ++i)
        EXPECT_EQ(lignes[i], attendu[i]) << "line " << i << ": " << lignes[i].join(QLatin1Char('|')).toStdString();
}

// Several tables in one file (the command line's CSV): one byte-order mark,
// an empty line between two tables, the same cells as each table alone.
TEST(Tableaux, SeveralTablesInOneFile)
{
    TestUtil::BaseTemporaire b(QStringLiteral("tab2"));
    Seme::semer(b);
    const auto c = Statistiques::Calculer(b.base(), QDate(2026, 3, 1), QDate(2026, 3, 31), std::nullopt);
    ASSERT_TRUE(c);
    const QByteArray octets = Tableaux::Csv({Tableaux::Resume(*c), Tableaux::ParUnite(*c)});
    EXPECT_EQ(octets.count("\xEF\xBB\xBF"), 1);
    bool bom = false;
    const QList<QStringList> lignes = relire(octets, &bom);
    const Tableaux::Tableau resume = Tableaux::Resume(*c);
    const Tableaux::Tableau unites = Tableaux::ParUnite(*c);
    ASSERT_EQ(lignes.size(), 2 + resume.lignes.size() + 1 + 2 + unites.lignes.size());
    EXPECT_EQ(lignes[2], (QStringList{QStringLiteral("Logements"), QStringLiteral("3")}));
    EXPECT_EQ(lignes[4], (QStringList{QStringLiteral("Nuitées vendues"), QStringLiteral("12")}));
    EXPECT_EQ(lignes[5], (QStringList{QStringLiteral("Taux d'occupation (%)"), QStringLiteral("12,9")}));
    EXPECT_EQ(lignes[2 + resume.lignes.size()], QStringList{QString()});
    EXPECT_EQ(lignes.last(), (QStringList{"3", QStringLiteral("Emplacement C"), "5", "16,1", "0,00"}));
    EXPECT_TRUE(lignes.contains(QStringList{QStringLiteral("2 séjours ignorés : dates illisibles"), QStringLiteral("2")}));
    EXPECT_TRUE(lignes.contains(QStringList{QStringLiteral("Solde restant dû"), QStringLiteral("33,30")}));
}

TEST(Tableaux, MonthsOfAYearInTheTable)
{
    TestUtil::BaseTemporaire b(QStringLiteral("tab3"));
    Seme::semer(b);
    const auto c = Statistiques::Calculer(b.base(), QDate(2026, 1, 1), QDate(2026, 12, 31), std::nullopt);
    ASSERT_TRUE(c);
    const Tableaux::Tableau t = Tableaux::ParMois(*c);
    ASSERT_EQ(t.lignes.size(), 12);
    // February: 4 nights of #1 out of 3 × 28; April: 2 nights of #2 and
    // their part of its stay charged 200 on departure (2 × 33,33).
    EXPECT_EQ(t.lignes[1].mid(0, 4), (QStringList{QStringLiteral("février 2026"), "84", "4", "4,8"}));
    EXPECT_EQ(t.lignes[3].mid(0, 5), (QStringList{QStringLiteral("avril 2026"), "90", "2", "2,2", "66,66"}));
    EXPECT_EQ(t.lignes[3].last(), QStringLiteral("66,66"));
}

// A unit or client name that a spreadsheet would run as a formula is
// written behind a "'" in the units' table and in the tax table (the two
// tables that carry typed names), whatever its first character; the
// program's own numbers, negative ones too, stay numbers.
TEST(Tableaux, NamesThatLookLikeFormulasAreWrittenAsText)
{
    const QString noms[] = {QStringLiteral("=1+1"), QStringLiteral("+33 6 12"), QStringLiteral("-2+3"),
                            QStringLiteral("@SOMME(A1)"), QStringLiteral("\tChalet"), QStringLiteral("\r=1")};
    for (const QString& nom : noms) {
        TestUtil::BaseTemporaire b(QStringLiteral("tab_formule"));
        Seme::semer(b);
        QSqlQuery q(b.base());
        q.prepare(QStringLiteral("UPDATE OBJETS SET Nom = :n WHERE Numero = 3"));
        q.bindValue(QStringLiteral(":n"), nom);
        ASSERT_TRUE(q.exec());
        q.prepare(QStringLiteral("UPDATE RESERVATIONS SET nomclient = :n WHERE NumeroReservation = 1"));
        q.bindValue(QStringLiteral(":n"), nom);
        ASSERT_TRUE(q.exec());
        const auto c = Statistiques::Calculer(b.base(), QDate(2026, 3, 1), QDate(2026, 3, 31), std::nullopt);
        const auto d = TaxeSejour::Lire(b.base(), QDate(2026, 3, 1), QDate(2026, 3, 31), 0.8, std::nullopt);
        ASSERT_TRUE(c && d);
        bool bom = false;
        const QList<QStringList> unites = relire(Tableaux::Csv(Tableaux::ParUnite(*c)), &bom);
        const QList<QStringList> taxe = relire(Tableaux::Csv(Tableaux::Taxe(*d)), &bom);
        const QString attendu = QLatin1Char('\'') + nom;
        EXPECT_EQ(unites.last().value(1), attendu) << nom.toStdString();
        // A client's name is read without its surrounding blanks.
        if (nom.trimmed() == nom)
            EXPECT_EQ(taxe[2].value(1), attendu) << nom.toStdString();
        EXPECT_EQ(taxe[3].value(2), attendu) << nom.toStdString();
    }
    // A negative amount the program wrote is not touched.
    const Tableaux::Tableau t{QStringLiteral("t"), {QStringLiteral("a")}, {{Tableaux::Decimal(-3.5, 2)}}};
    EXPECT_TRUE(Tableaux::Csv(t).endsWith("\r\n-3,50\r\n"));
}
