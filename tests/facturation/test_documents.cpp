#include "facturation/documents.h"
#include "store/dates.h"

#include "pdftexte.h"

#include <gtest/gtest.h>

using Documents::TVA;
using RequetesFacturation::LigneCompte;

namespace {

LigneCompte ligne(double prix, const char* paiement, const char* libelle, std::optional<double> taux)
{
    return {Dates::naive(QDate(2027, 7, 3), QTime(10, 0)), prix, QString::fromLatin1(paiement), QString::fromUtf8(libelle), taux};
}

const QList<LigneCompte> kCompte = {
    ligne(0, "   ", "Création de la reservation", std::nullopt),
    ligne(-240, "   ", "SEJOUR Les Pins du 01/07 au 04/07 : 3 nuits x 80,00 €", 10),
    ligne(-4.8, "   ", "TAXE DE SEJOUR 2 adultes x 3 nuits x 0,80 €", 0),
    ligne(-7, "   ", "BAR Bière pression\r\n2 x 3,5", 20),
    ligne(3.5, "   ", "ANNULATION BAR Bière pression\r\n1 x 3,5", 20),
    ligne(-9.5, "   ", "BAR Petit déjeuner\r\n1 x 9,5", 5.5),
    ligne(-2, "   ", "BAR Café (ancienne vente)", std::nullopt),
    ligne(100, "ESP", "Paiement ESP", std::nullopt),
    ligne(50, "CB ", "Acompte (CB)", std::nullopt),
};

} // namespace

TEST(Documents, ChargesAreSplitByVatRate)
{
    const QList<TVA> tva = Documents::VentilerTVA(kCompte);
    struct Attendu { bool soumis; double taux; double ht; double tva; double ttc; };
    const Attendu attendu[] = {
        {true, 5.5, 9.0, 0.5, 9.5},
        {true, 10, 218.18, 21.82, 240},
        {true, 20, 2.92, 0.58, 3.5},
        {false, 0, 6.8, 0, 6.8},
    };
    ASSERT_EQ(tva.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tva.at(i).soumis, attendu[i].soumis) << i;
        EXPECT_DOUBLE_EQ(tva.at(i).taux, attendu[i].taux) << i;
        EXPECT_NEAR(tva.at(i).ht, attendu[i].ht, 0.001) << i;
        EXPECT_NEAR(tva.at(i).tva, attendu[i].tva, 0.001) << i;
        EXPECT_NEAR(tva.at(i).ttc, attendu[i].ttc, 0.001) << i;
        EXPECT_NEAR(tva.at(i).ht + tva.at(i).tva, tva.at(i).ttc, 0.001) << i;
    }
    EXPECT_TRUE(Documents::VentilerTVA({}).isEmpty());
}

TEST(Documents, InvoiceAndContractReadBackFromTheirPdf)
{
    Documents::Entete et{QStringLiteral("Camping des Écureuils"), QStringLiteral("12 route du Lac"), QStringLiteral("74000"),
                         QStringLiteral("Annecy"), QStringLiteral("04 50 00 00 00"), QStringLiteral("accueil@ecureuils.fr"),
                         QStringLiteral("123 456 789 00012"), QStringLiteral("FR12345678901"),
                         QStringLiteral("Arrhes non remboursables.\nAnimaux acceptés.")};
    const QString client = QString::fromUtf8("Gérard <Dupont> & fils 🏕");

    Documents::Facture f{{et, QStringLiteral("F-2027-00042"), QDate(2027, 7, 4), 17, client, QStringLiteral("Les Pins"),
                          Dates::naive(QDate(2027, 7, 1), QTime(14, 0)), Dates::naive(QDate(2027, 7, 4), QTime(12, 0)), kCompte},
                         std::nullopt, false};
    const auto facture = texteDuPdf(Documents::PdfFacture(f));
    if (!facture)
        GTEST_SKIP() << "pdftotext absent : le texte des PDF n'est pas relu";
    const char* attendusFacture[] = {"Facture F-2027-00042", "Camping des Écureuils", "Gérard <Dupont> & fils",
        "04/07/2027", "Les Pins, du 01/07/2027 au 04/07/2027", "259,80 €", "218,18 €", "21,82 €", "5,5 %",
        "Non soumis", "150,00 €", "Reste à payer : 109,80 €", "Petit déjeuner", "Facture F-2027-00042 — page 1/1"};
    for (const char* a : attendusFacture)
        EXPECT_TRUE(facture->contains(QString::fromUtf8(a))) << a << "\n" << facture->toStdString();

    Documents::Contrat c;
    c.etablissement = et;
    c.reservation = 17;
    c.client = client;
    c.unite = QStringLiteral("Les Pins");
    c.arrivee = f.arrivee;
    c.depart = f.depart;
    c.adultes = 2;
    c.enfants = 1;
    c.prix = Tarification::Calculer({QStringLiteral("Les Pins"), QStringLiteral("Chalet"), QDate(2027, 7, 1), QDate(2027, 7, 4), 2, 1},
                                    {{1, QStringLiteral("Chalet"), QDate(2027, 1, 1), QDate(2027, 12, 31), 80, 0, 0, 10}}, 0.8);
    c.arrhes = 72;
    c.dateAttendue = QDate(2027, 6, 1);
    c.remarque = QStringLiteral("Arrivée tardive");
    c.date = QDate(2027, 3, 2);
    const auto contrat = texteDuPdf(Documents::Pdf(Documents::HtmlContrat(c), QStringLiteral("Contrat 17")));
    ASSERT_TRUE(contrat.has_value());
    const char* attendusContrat[] = {"Contrat de réservation n° 17", "Gérard <Dupont> & fils", "01/07/2027 à 14:00",
        "04/07/2027 à 12:00", "2 adulte(s), 1 enfant(s)", "3 nuits x 80,00 €", "244,80 €", "72,00 €", "01/06/2027",
        "Arrivée tardive", "Animaux acceptés.", "SIRET 123 456 789 00012"};
    for (const char* a : attendusContrat)
        EXPECT_TRUE(contrat->contains(QString::fromUtf8(a))) << a << "\n" << contrat->toStdString();
}

TEST(Documents, EveryPageOfALongInvoiceCarriesItsNumber)
{
    QList<LigneCompte> compte = kCompte;
    for (int i = 0; i < 90; ++i)
        compte << ligne(-3.5, "   ", "BAR Bière pression", 20);
    Documents::Facture f{{{QStringLiteral("Camping des Écureuils")}, QStringLiteral("F-2027-00043"), QDate(2027, 7, 4), 17,
                          QStringLiteral("Martin"), QStringLiteral("Les Pins"), Dates::naive(QDate(2027, 7, 1), QTime(14, 0)),
                          Dates::naive(QDate(2027, 7, 4), QTime(12, 0)), compte},
                         std::nullopt, false};
    const auto texte = texteDuPdf(Documents::PdfFacture(f));
    if (!texte)
        GTEST_SKIP() << "pdftotext absent : le texte des PDF n'est pas relu";
    // pdftotext ends every page with a form feed.
    QStringList pages = texte->split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty())
        pages.removeLast();
    ASSERT_GE(pages.size(), 2) << texte->toStdString();
    for (qsizetype i = 0; i < pages.size(); ++i)
        EXPECT_TRUE(pages.at(i).contains(QStringLiteral("Facture F-2027-00043 — page %1/%2").arg(i + 1).arg(pages.size())))
            << "page " << i + 1 << ":\n" << pages.at(i).toStdString();
    // 259,80 + 90 x 3,50 = 574,80 charged, 150,00 paid.
    EXPECT_TRUE(pages.constLast().contains(QString::fromUtf8("Reste à payer : 424,80 €"))) << pages.constLast().toStdString();
    EXPECT_EQ(texte->count(QStringLiteral("Bière pression")), 92);   // with the two of kCompte
}
