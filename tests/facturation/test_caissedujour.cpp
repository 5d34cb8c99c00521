#include "facturation/caissedujour.h"
#include "store/dates.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace CaisseDuJour;

// Readable failure messages for lists of texts.
inline void PrintTo(const QStringList& textes, std::ostream* os)
{
    *os << '[' << textes.join(QStringLiteral(" | ")).toStdString() << ']';
}

namespace {

const QDate kJour(2026, 12, 9);

Operation op(const QTime& heure, double prix, const char* paiement, const QString& libelle, int decalage = 0)
{
    return {Dates::naive(kJour.addDays(decalage), heure), 7, prix, QString::fromUtf8(paiement), libelle};
}
Operation op(double prix, const char* paiement, const QString& libelle)
{
    return op(QTime(10, 0), prix, paiement, libelle);
}

QString montant(double v)
{
    return QString::number(v, 'f', 2);
}

// The non-empty parts of a report, one short line each, so that a case
// lists only what it expects to see.
QStringList resume(const Rapport& r)
{
    QStringList l;
    for (const Paiement& p : r.paiements)
        if (p.nombre)
            l << p.type + QLatin1Char(' ') + QString::number(p.nombre) + QLatin1Char(' ') + montant(p.total);
    const auto articles = [&](const char* genre, const QList<Article>& liste) {
        for (const Article& a : liste)
            l << QString::fromUtf8(genre) + QLatin1Char(' ') + a.libelle + QLatin1Char(' ')
                    + (a.quantiteSure ? QString::number(a.quantite) : QStringLiteral("?")) + QLatin1Char(' ')
                    + montant(a.montant);
    };
    articles("vente", r.ventesBar);
    articles("annulation", r.annulationsBar);
    const auto groupe = [&](const char* genre, const Groupe& g) {
        if (g.nombre)
            l << QString::fromUtf8(genre) + QLatin1Char(' ') + QString::number(g.nombre) + QLatin1Char(' ') + montant(g.montant);
    };
    groupe("séjour", r.sejours);
    groupe("correction séjour", r.correctionsSejour);
    groupe("taxe", r.taxes);
    groupe("correction taxe", r.correctionsTaxe);
    for (const Autre& a : r.autres)
        l << QStringLiteral("autre ") + a.libelle + QLatin1Char(' ') + montant(a.montant);
    l << QStringLiteral("facturé ") + montant(r.totalFacture) << QStringLiteral("encaissé ") + montant(r.totalEncaisse);
    return l;
}

} // namespace

TEST(CaisseDuJour, EachRowIsCountedWhereItBelongs)
{
    struct Cas {
        const char* nom;
        QList<Operation> lignes;
        QStringList attendu;
    };
    const QString crlf = QStringLiteral("\r\n");
    const Cas cas[] = {
        {"every payment type",
         {op(20, "ESP", QStringLiteral("Paiement ESP")), op(30.5, "CB ", QStringLiteral("Acompte (CB)")),
          op(100, "CHQ", QStringLiteral("Paiement CHQ")), op(250, "VIR", QStringLiteral("Paiement VIR")),
          op(10, "ESP", QStringLiteral("Paiement ESP"))},
         {QStringLiteral("Espèces 2 30.00"), QStringLiteral("Carte Bleue 1 30.50"), QStringLiteral("Chèque 1 100.00"),
          QStringLiteral("Virement 1 250.00"), QStringLiteral("facturé 0.00"), QStringLiteral("encaissé 410.50")}},
        {"an unknown code and a refund",
         {op(15, "XYZ", QStringLiteral("Paiement XYZ")), op(-5, "ESP", QStringLiteral("Remboursement (ESP)"))},
         {QStringLiteral("Espèces 1 -5.00"), QStringLiteral("Autre 1 15.00"), QStringLiteral("facturé 0.00"),
          QStringLiteral("encaissé 10.00")}},
        {"two articles with quantities, sorted with accents",
         {op(-12.6, "   ", QStringLiteral("BAR Éclair") + crlf + QStringLiteral("3 x 4,2")),
          op(-3, "   ", QStringLiteral("BAR Café") + crlf + QStringLiteral("2 x 1,5")),
          op(-1.5, "   ", QStringLiteral("BAR Café") + crlf + QStringLiteral("1 x 1,5"))},
         {QStringLiteral("vente Café 3 4.50"), QStringLiteral("vente Éclair 3 12.60"), QStringLiteral("facturé 17.10"),
          QStringLiteral("encaissé 0.00")}},
        {"a bar correction",
         {op(-3, "   ", QStringLiteral("BAR Café") + crlf + QStringLiteral("2 x 1,5")),
          op(1.5, "   ", QStringLiteral("ANNULATION BAR Café") + crlf + QStringLiteral("1 x 1,5"))},
         {QStringLiteral("vente Café 2 3.00"), QStringLiteral("annulation Café -1 -1.50"), QStringLiteral("facturé 1.50"),
          QStringLiteral("encaissé 0.00")}},
        {"stay, tax and their corrections",
         {op(-240, "   ", QStringLiteral("SEJOUR Les Pins du 10/05 au 13/05 : 3 nuits x 80,00 €")),
          op(-4.8, "   ", QStringLiteral("TAXE DE SEJOUR : 2 adultes x 3 nuits x 0,80 €")),
          op(80, "   ", QStringLiteral("CORRECTION SEJOUR Les Pins")),
          op(-1.6, "   ", QStringLiteral("CORRECTION TAXE DE SEJOUR 2 adultes"))},
         {QStringLiteral("séjour 1 240.00"), QStringLiteral("correction séjour 1 -80.00"), QStringLiteral("taxe 1 4.80"),
          QStringLiteral("correction taxe 1 1.60"), QStringLiteral("facturé 166.40"), QStringLiteral("encaissé 0.00")}},
        {"only the day's rows, events left out",
         {op(QTime(23, 59, 59), 11, "ESP", QStringLiteral("Paiement ESP"), -1),
          op(QTime(0, 0), 13, "ESP", QStringLiteral("Paiement ESP"), 1),
          op(QTime(0, 0), 20, "CHQ", QStringLiteral("Paiement CHQ")),
          op(QTime(23, 59, 59), -2, "   ", QStringLiteral("BAR Thé") + crlf + QStringLiteral("1 x 2")),
          op(QTime(12, 0), 0, "   ", QStringLiteral("Modification de la réservation")),
          {QDateTime(), 7, 50, QStringLiteral("ESP"), QStringLiteral("Paiement ESP")}},
         {QStringLiteral("Chèque 1 20.00"), QStringLiteral("vente Thé 1 2.00"), QStringLiteral("facturé 2.00"),
          QStringLiteral("encaissé 20.00")}},
        {"labels holding %1 and ;",
         {op(-10, "   ", QStringLiteral("BAR Menu %1; 2") + crlf + QStringLiteral("2 x 5")),
          op(5, "   ", QStringLiteral("Remise %1;x") + crlf + QStringLiteral("fidélité")),
          op(-7.25, "   ", QStringLiteral("Location vélo %2"))},
         {QStringLiteral("vente Menu %1; 2 2 10.00"), QStringLiteral("autre Remise %1;x -5.00"),
          QStringLiteral("autre Location vélo %2 7.25"), QStringLiteral("facturé 12.25"), QStringLiteral("encaissé 0.00")}},
        {"a sale whose quantity cannot be read keeps its amount",
         {op(-3, "   ", QStringLiteral("BAR Glace")), op(-4, "   ", QStringLiteral("BAR Glace") + crlf + QStringLiteral("deux"))},
         {QStringLiteral("vente Glace ? 7.00"), QStringLiteral("facturé 7.00"), QStringLiteral("encaissé 0.00")}},
        {"amounts kept to the cent",
         {op(0.1, "ESP", QStringLiteral("Paiement ESP")), op(0.2, "ESP", QStringLiteral("Paiement ESP")),
          op(-0.1, "   ", QStringLiteral("BAR Bonbon") + crlf + QStringLiteral("1 x 0,1")),
          op(-0.2, "   ", QStringLiteral("BAR Bonbon") + crlf + QStringLiteral("2 x 0,1"))},
         {QStringLiteral("Espèces 2 0.30"), QStringLiteral("vente Bonbon 3 0.30"), QStringLiteral("facturé 0.30"),
          QStringLiteral("encaissé 0.30")}},
    };
    for (const Cas& c : cas) {
        const Rapport r = Calculer(kJour, c.lignes);
        EXPECT_EQ(resume(r), c.attendu) << c.nom;
        // The four types are always there, "Autre" only when needed.
        ASSERT_GE(r.paiements.size(), 4) << c.nom;
        EXPECT_EQ(r.paiements[1].type, QStringLiteral("Carte Bleue")) << c.nom;
        // Cents are exact: 0.1 + 0.2 is 0.30, not 0.30000000000000004.
        EXPECT_EQ(r.totalEncaisse * 100, std::round(r.totalEncaisse * 100)) << c.nom;
    }
}

TEST(CaisseDuJour, TextShowsEverySectionWithAlignedAmounts)
{
    const QString crlf = QStringLiteral("\r\n");
    struct Cas {
        const char* nom;
        QList<Operation> lignes;
        QStringList contient;
        QStringList absent;
    };
    const Cas cas[] = {
        {"an empty day",
         {},
         {QStringLiteral("Caisse du mercredi 9 décembre 2026\n"), QStringLiteral("\n  Aucune vente\n"),
          QStringLiteral("\n  Aucune annulation\n"), QStringLiteral("Autres opérations\n  Aucune\n")},
         {QStringLiteral("Autre ")}},
        {"a full day",
         {op(1234.5, "VIR", QStringLiteral("Paiement VIR")), op(2, "ZZZ", QStringLiteral("Paiement ZZZ")),
          op(-10, "   ", QStringLiteral("BAR Menu %1; 2") + crlf + QStringLiteral("2 x 5")),
          op(5, "   ", QStringLiteral("ANNULATION BAR Menu %1; 2") + crlf + QStringLiteral("1 x 5")),
          op(-240, "   ", QStringLiteral("SEJOUR Les Pins")), op(-3.5, "   ", QStringLiteral("Ménage"))},
         {QStringLiteral("Encaissements\n"), QStringLiteral("Virement"), QStringLiteral("1 234,50 €"),
          QStringLiteral("Autre"), QStringLiteral("Menu %1; 2"), QStringLiteral("-5,00 €"), QStringLiteral("Ménage"),
          QStringLiteral("Total facturé"), QStringLiteral("248,50 €"), QStringLiteral("1 236,50 €")},
         {QStringLiteral("Aucune vente"), QStringLiteral("Aucune annulation")}},
    };
    for (const Cas& c : cas) {
        const QString texte = Texte(Calculer(kJour, c.lignes));
        for (const QString& t : c.contient)
            EXPECT_TRUE(texte.contains(t)) << c.nom << ": " << t.toStdString() << "\n" << texte.toStdString();
        for (const QString& t : c.absent)
            EXPECT_FALSE(texte.contains(t)) << c.nom << ": " << t.toStdString();
        // Every amount ends in the same column, headings included.
        qsizetype colonne = -1;
        for (const QString& ligne : texte.split(QLatin1Char('\n'))) {
            if (!ligne.endsWith(QStringLiteral(" €")) && !ligne.endsWith(QStringLiteral("Montant")))
                continue;
            if (colonne < 0)
                colonne = ligne.size();
            EXPECT_EQ(ligne.size(), colonne) << c.nom << ": " << ligne.toStdString();
        }
        EXPECT_GT(colonne, 0) << c.nom;
    }
}

TEST(CaisseDuJour, PaymentCodesAndFileNames)
{
    const std::pair<const char*, const char*> codes[] = {
        {"ESP", "Espèces"}, {"CB ", "Carte Bleue"}, {"CB", "Carte Bleue"}, {"CHQ", "Chèque"},
        {"VIR", "Virement"}, {"vir", "Virement"}, {"CBX", "Autre"}, {"E", "Autre"}};
    for (const auto& [code, type] : codes)
        EXPECT_EQ(TypeDePaiement(QString::fromUtf8(code)), QString::fromUtf8(type)) << code;
    EXPECT_EQ(NomDuPdf(QDate(2027, 1, 5)), QStringLiteral("Documents/caisse_2027-01-05.pdf"));
}
