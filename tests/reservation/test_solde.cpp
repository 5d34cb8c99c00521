// The texts of a deletion and the look of the balance, computed without a
// window.
#include "reservation/solde.h"
#include "reservation/suppression.h"

#include <QFontMetricsF>
#include <gtest/gtest.h>

namespace {

Requetes::Reservation sejour(const QString& client, QDate debut, QDate fin)
{
    Requetes::Reservation r;
    r.numero = 42;
    r.objet = 12;
    r.nomclient = client;
    r.debut = QDateTime(debut, QTime(14, 0), Qt::UTC);
    r.fin = QDateTime(fin, QTime(12, 0), Qt::UTC);
    return r;
}

} // namespace

TEST(Suppression, QuestionEtLibelle)
{
    struct Cas {
        const char* client;
        const char* question;
        const char* libelle;
    } const cas[] = {
        {"Durand",
         "Supprimer la réservation 42 de Durand du 03/08/2026 au 10/08/2026 ? Les opérations du compte sont conservées.",
         "Suppression de la réservation (Durand, Chalet, 03/08/2026 - 10/08/2026)"},
        {"Durand\r\net fils",
         "Supprimer la réservation 42 de Durand et fils du 03/08/2026 au 10/08/2026 ? Les opérations du compte sont conservées.",
         "Suppression de la réservation (Durand et fils, Chalet, 03/08/2026 - 10/08/2026)"},
        {"100 % %1 %2",
         "Supprimer la réservation 42 de 100 % %1 %2 du 03/08/2026 au 10/08/2026 ? Les opérations du compte sont conservées.",
         "Suppression de la réservation (100 % %1 %2, Chalet, 03/08/2026 - 10/08/2026)"},
    };
    for (const Cas& c : cas) {
        const auto r = sejour(QString::fromUtf8(c.client), QDate(2026, 8, 3), QDate(2026, 8, 10));
        EXPECT_EQ(Suppression::Question(r).toStdString(), std::string(c.question));
        EXPECT_EQ(Suppression::Libelle(r, QStringLiteral("Chalet")).toStdString(), std::string(c.libelle));
    }
}

TEST(Suppression, NomDeLUnite)
{
    QList<Requetes::Objet> objets;
    for (auto [numero, nom] : {std::pair{12, QVariant(QStringLiteral("Chalet"))}, std::pair{3, QVariant()},
                               std::pair{1, QVariant(QStringLiteral("Tente"))}}) {
        Requetes::Objet o;
        o.numero = numero;
        o.nom = nom;
        objets << o;
    }
    const struct {
        qint32 numero;
        const char* nom;
    } cas[] = {{12, "Chalet"}, {1, "Tente"}, {3, "3"}, {99, "99"}};
    for (const auto& c : cas)
        EXPECT_EQ(Suppression::NomUnite(objets, c.numero), QString::fromUtf8(c.nom)) << c.numero;
}

TEST(Solde, PoliceReduiteJusquaCeQueToutLeMontantTienne)
{
    QFont police(QStringLiteral("DejaVu Sans"));
    police.setPointSizeF(9.75);
    police.setBold(true);
    const struct {
        const char* texte;
        int largeur;
        bool reduite;
        bool tient;
    } cas[] = {
        {"2,00 €", 81, false, true},
        {"-12 345,67 €", 81, true, true},
        {"-1 234 567,89 €", 81, true, true},
        {"-1 234 567,89 €", 10, true, false},
        {"", 0, false, true},
    };
    for (const auto& c : cas) {
        const QString texte = QString::fromUtf8(c.texte);
        const Solde::Ajustement a = Solde::PoliceAjustee(police, texte, c.largeur);
        EXPECT_EQ(a.tient, c.tient) << c.texte;
        EXPECT_EQ(a.police.pointSizeF() < police.pointSizeF(), c.reduite) << c.texte;
        EXPECT_EQ(a.police.bold(), true);
        EXPECT_EQ(a.police.family(), police.family());
        const double largeur = QFontMetricsF(a.police).horizontalAdvance(texte);
        if (c.tient) {
            EXPECT_LE(largeur, c.largeur) << c.texte;
            // The largest size that fits: a step up would not.
            if (c.reduite) {
                QFont plus = a.police;
                plus.setPointSizeF(a.police.pointSizeF() + 0.25);
                EXPECT_GT(QFontMetricsF(plus).horizontalAdvance(texte), c.largeur) << c.texte;
            }
        }
    }
}
