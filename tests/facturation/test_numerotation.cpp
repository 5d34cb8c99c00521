// Invoice numbers taken by two desks at once, and what the accounts store:
// amounts to the cent, labels in any script, on either engine.
#include "store/base.h"
#include "store/dates.h"
#include "store/module1.h"
#include "store/requetes.h"
#include "store/requetes_facturation.h"
#include "testutil.h"

#include <QSqlDatabase>
#include <gtest/gtest.h>

namespace {

using RequetesFacturation::emettreFacture;

// A second desk: the same database opened under another connection.
class DeuxPostes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString erreur;
        const auto autre = Base::ouvrir(m_base.chemin(), Base::Ouverture::Existante, kAutre, &erreur);
        ASSERT_TRUE(autre.has_value()) << erreur.toStdString();
        m_poste[0] = m_base.base();
        m_poste[1] = *autre;
    }
    void TearDown() override
    {
        m_poste[1] = QSqlDatabase();
        QSqlDatabase::database(kAutre, false).close();
        QSqlDatabase::removeDatabase(kAutre);
    }

    static std::optional<QByteArray> pdf(const QString& numero) { return numero.toUtf8(); }

    static inline const QString kAutre = QStringLiteral("second_poste");
    TestUtil::BaseTemporaire m_base{QStringLiteral("premier_poste")};
    QSqlDatabase m_poste[2];
};

TEST_F(DeuxPostes, LesFacturesAlterneesNePartagentJamaisUnNumero)
{
    const struct {
        int poste;
        int annee;
        const char* attendu;
    } cas[] = {
        {0, 2027, "F-2027-00001"}, {1, 2027, "F-2027-00002"}, {1, 2027, "F-2027-00003"},
        {0, 2027, "F-2027-00004"}, {1, 2028, "F-2028-00001"}, {0, 2027, "F-2027-00005"},
        {0, 2028, "F-2028-00002"}, {1, 2027, "F-2027-00006"},
    };
    int reservation = 0;
    for (const auto& c : cas) {
        SCOPED_TRACE(c.attendu);
        QString erreur;
        ++reservation;
        const auto f = emettreFacture(m_poste[c.poste], reservation, Dates::naive(QDate(c.annee, 3, 1), QTime(10, 0)),
                                      10.0 * reservation, pdf, &erreur);
        ASSERT_TRUE(f.has_value()) << erreur.toStdString();
        EXPECT_EQ(f->numero, QLatin1String(c.attendu));
        // Both desks read back what either stored.
        for (const QSqlDatabase& poste : m_poste) {
            const auto lues = RequetesFacturation::facturesDeReservation(poste, reservation);
            ASSERT_TRUE(lues.has_value());
            ASSERT_EQ(lues->size(), 1);
            EXPECT_EQ(lues->first().numero, QLatin1String(c.attendu));
            EXPECT_EQ(lues->first().pdf, QByteArray(c.attendu));
            EXPECT_DOUBLE_EQ(lues->first().total, 10.0 * reservation);
        }
    }
    EXPECT_EQ(m_base.valeur(QStringLiteral("SELECT count(*) FROM FACTURES")).toInt(), int(std::size(cas)));
}

TEST_F(DeuxPostes, FacturesEtAvoirsAlternesOntChacunLeurSuiteSansTrou)
{
    using RequetesFacturation::Serie;
    const struct {
        int poste;
        Serie serie;
        const char* attendu;
    } cas[] = {
        {0, Serie::Facture, "F-2027-00001"}, {1, Serie::Avoir, "A-2027-00001"}, {1, Serie::Facture, "F-2027-00002"},
        {0, Serie::Avoir, "A-2027-00002"},   {0, Serie::Avoir, "A-2027-00003"}, {1, Serie::Facture, "F-2027-00003"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.attendu);
        QString erreur;
        const auto f = RequetesFacturation::emettre(m_poste[c.poste], c.serie, 1, Dates::naive(QDate(2027, 3, 1), QTime(10, 0)),
                                                    c.serie == Serie::Avoir ? -5.0 : 10.0,
                                                    c.serie == Serie::Avoir ? QStringLiteral("F-2027-00001") : QString(),
                                                    pdf, &erreur);
        ASSERT_TRUE(f.has_value()) << erreur.toStdString();
        EXPECT_EQ(f->numero, QLatin1String(c.attendu));
    }
    const auto lues = RequetesFacturation::facturesDeReservation(m_poste[1], 1);
    ASSERT_TRUE(lues.has_value());
    ASSERT_EQ(lues->size(), qsizetype(std::size(cas)));
    for (const auto& f : *lues) {
        EXPECT_EQ(f.serie == Serie::Avoir, f.numero.startsWith(QLatin1Char('A'))) << f.numero.toStdString();
        EXPECT_EQ(f.origine, f.serie == Serie::Avoir ? QStringLiteral("F-2027-00001") : QString()) << f.numero.toStdString();
    }
    // A document whose rows cannot be written takes no number.
    QString erreur;
    EXPECT_FALSE(RequetesFacturation::emettre(m_poste[0], Serie::Avoir, 1, Dates::naive(QDate(2027, 3, 2), QTime(10, 0)), -1,
                                              QStringLiteral("F-2027-00001"), pdf, &erreur,
                                              [](const QString&, double*) { return false; }));
    const auto avoir = RequetesFacturation::emettre(m_poste[1], Serie::Avoir, 1, Dates::naive(QDate(2027, 3, 2), QTime(10, 0)),
                                                    -1, QStringLiteral("F-2027-00001"), pdf, &erreur);
    ASSERT_TRUE(avoir.has_value()) << erreur.toStdString();
    EXPECT_EQ(avoir->numero, QStringLiteral("A-2027-00004"));
}

TEST_F(DeuxPostes, UneFactureEnCoursFaitAttendreLAutrePoste)
{
    // While the first desk makes its PDF, the second cannot take a number:
    // it waits for the lock, then gives up as "occupée", and the first
    // keeps the number it read.
    const QDateTime date = Dates::naive(QDate(2027, 5, 2), QTime(11, 0));
    QString erreurAutre;
    std::optional<RequetesFacturation::Facture> autre;
    QString erreur;
    const auto premiere = emettreFacture(m_poste[0], 1, date, 50, [&](const QString& numero) {
        autre = emettreFacture(m_poste[1], 2, date, 60, pdf, &erreurAutre);
        return pdf(numero);
    }, &erreur);
    ASSERT_TRUE(premiere.has_value()) << erreur.toStdString();
    EXPECT_EQ(premiere->numero, QStringLiteral("F-2027-00001"));
    EXPECT_FALSE(autre.has_value());
    EXPECT_EQ(erreurAutre, QStringLiteral("La base est occupée par un autre poste, réessayez."));
    // Once the first committed, the second desk goes on with the next number.
    const auto ensuite = emettreFacture(m_poste[1], 2, date, 60, pdf, &erreur);
    ASSERT_TRUE(ensuite.has_value()) << erreur.toStdString();
    EXPECT_EQ(ensuite->numero, QStringLiteral("F-2027-00002"));
}

TEST_F(DeuxPostes, LesComptesGardentLesCentimesEtLesTextes)
{
    const struct {
        double prix;
        const char* libelle;
    } cas[] = {
        {0.1, "Café"},
        {0.2, "Thé à l'orange « maison »"},
        {-1234567.89, "SEJOUR du 12/07 — chambre \"Œillet\""},
        {19.99, "Glace 🍦 et crêpe"},
        {-0.01, "Écart d'arrondi ; \\ % _"},
        {100.005, "Arrondi au centime supérieur"},
    };
    const double attendus[] = {0.1, 0.2, -1234567.89, 19.99, -0.01, 100.01};
    for (const auto& c : cas)
        ASSERT_TRUE(Module1::EnregistrerOperation(m_poste[0], 7, c.prix, QStringLiteral("CB"),
                                                  QString::fromUtf8(c.libelle)));
    // Read by the other desk: every row, in order, exact to the cent.
    const auto compte = Module1::LireCompte(m_poste[1], 7);
    ASSERT_TRUE(compte.has_value());
    ASSERT_EQ(compte->prix.size(), qsizetype(std::size(cas)));
    double somme = 0;
    for (size_t i = 0; i < std::size(cas); ++i) {
        SCOPED_TRACE(cas[i].libelle);
        EXPECT_EQ(compte->libelles.at(qsizetype(i)), QString::fromUtf8(cas[i].libelle));
        EXPECT_EQ(qRound64(compte->prix.at(qsizetype(i)) * 100), qRound64(attendus[i] * 100));
        EXPECT_NEAR(compte->prix.at(qsizetype(i)), attendus[i], 1e-9);
        somme += attendus[i];
    }
    const QVariant total = m_base.valeur(QStringLiteral("SELECT SUM(prix) FROM OPERATIONS WHERE numeroreservation = 7"));
    EXPECT_EQ(qRound64(total.toDouble() * 100), qRound64(somme * 100));
}

} // namespace
