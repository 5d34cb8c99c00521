#include "facturation/comptesejour.h"
#include "config/ini32.h"
#include "store/base.h"
#include "store/dates.h"
#include "store/dialecte.h"
#include "store/horloge.h"
#include "testutil.h"

#include "pdftexte.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

class CompteSejour_ : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Horloge::fixer(Dates::naive(QDate(2027, 7, 10), QTime(9, 0)));
        m_ini = m_base.dossier() + QStringLiteral("/planning.ini");
        INI32::ProfilINI("facturation", "taxe de sejour", "0,80", m_ini, 0);
        INI32::ProfilINI("etablissement", "nom", QString::fromUtf8("Camping des Écureuils"), m_ini, 0);
        m_base.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom, Categorie) VALUES (1, 'Les Pins', 'Chalet'), "
                                       "(2, 'Les Chênes', 'Chalet'), (3, 'Emplacement A', 'Emplacement'), (4, 'Sans', '')"));
        m_base.executer(QStringLiteral("INSERT INTO TARIFS (Categorie, PremierJour, DernierJour, PrixNuit, PrixAdulte, PrixEnfant, TauxTVA) "
                                       "VALUES ('Chalet', '2027-04-01', '2027-06-30', 80, 0, 0, 10), "
                                       "('Chalet', '2027-07-01', '2027-08-31', 120, 0, 0, 10), "
                                       "('Emplacement', '2027-04-01', '2027-09-30', 15, 6, 3, 10)"));
    }
    void TearDown() override { Horloge::liberer(); }

    qint32 reserver(int objet, const char* debut, const char* fin, int adultes, int enfants)
    {
        QSqlQuery q(m_base.base());
        q.prepare(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat, nbadultes, nbenfants, arrhes) "
                                 "VALUES (?, 'Gérard', ?, ?, 1, ?, ?, 0)")
                  + Dialecte::retourNumero(m_base.base(), QStringLiteral("NumeroReservation")));
        q.addBindValue(objet);
        q.addBindValue(QString::fromLatin1(debut) + QStringLiteral(" 14:00:00"));
        q.addBindValue(QString::fromLatin1(fin) + QStringLiteral(" 12:00:00"));
        q.addBindValue(adultes);
        q.addBindValue(enfants);
        EXPECT_TRUE(q.exec());
        return qint32(Dialecte::numeroInsere(q).value_or(0));
    }
    void changer(qint32 numero, const QString& affectation)
    {
        m_base.executer(QStringLiteral("UPDATE RESERVATIONS SET ") + affectation + QStringLiteral(" WHERE NumeroReservation = ")
                        + QString::number(numero));
    }
    double solde(qint32 numero) { return *CompteSejour::Solde(m_base.base(), numero); }
    int lignes(qint32 numero)
    {
        return m_base.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE numeroreservation = ") + QString::number(numero)).toInt();
    }

    TestUtil::BaseTemporaire m_base;
    QString m_ini;
};

} // namespace

TEST_F(CompteSejour_, PostingTwiceWritesOnceAndChangesPostOnlyTheDifference)
{
    const qint32 n = reserver(1, "2027-06-29", "2027-07-02", 2, 1);
    using CompteSejour::Resultat;
    struct Etape { const char* nom; QString changement; Resultat resultat; int lignesEcrites; double solde; };
    const Etape etapes[] = {
        // 2 x 80 + 1 x 120 + tax 2 x 3 x 0.80
        {"first posting", QString(), Resultat::Ecrit, 3, -(160 + 120 + 4.8)},
        {"pressed again", QString(), Resultat::RienDeChange, 0, -(160 + 120 + 4.8)},
        {"two more nights", QStringLiteral("DateFin = '2027-07-04 12:00:00'"), Resultat::Ecrit, 2, -(160 + 360 + 8)},
        {"one adult less", QStringLiteral("nbadultes = 1"), Resultat::Ecrit, 1, -(160 + 360 + 4)},
        {"other unit, same price", QStringLiteral("objet = 2"), Resultat::RienDeChange, 0, -(160 + 360 + 4)},
        {"a pitch", QStringLiteral("objet = 3"), Resultat::Ecrit, 1, -(5 * 15 + 5 * 6 + 5 * 3 + 4)},
    };
    for (const Etape& e : etapes) {
        if (!e.changement.isEmpty())
            changer(n, e.changement);
        const int avant = lignes(n);
        const auto porte = CompteSejour::PorterAuCompte(m_base.base(), n, m_ini);
        EXPECT_EQ(porte.resultat, e.resultat) << e.nom << ": " << porte.message.toStdString();
        EXPECT_EQ(lignes(n) - avant, e.lignesEcrites) << e.nom;
        EXPECT_NEAR(solde(n), e.solde, 0.001) << e.nom;
    }
    EXPECT_EQ(m_base.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE libelle LIKE 'CORRECTION SEJOUR %'")).toInt(), 2);
    EXPECT_EQ(m_base.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE libelle LIKE 'CORRECTION TAXE DE SEJOUR %'")).toInt(), 2);
}

TEST_F(CompteSejour_, AStayThatCannotBePricedWritesNothing)
{
    struct Cas { const char* nom; int objet; const char* debut; const char* fin; const char* message; };
    const Cas cas[] = {
        {"night without season", 1, "2027-08-30", "2027-09-02", "Aucun tarif pour la nuit du 01/09/2027 (catégorie Chalet)."},
        {"unit without category", 4, "2027-08-01", "2027-08-02", "Le logement Sans n'a pas de catégorie"},
    };
    for (const Cas& c : cas) {
        const qint32 n = reserver(c.objet, c.debut, c.fin, 2, 0);
        const auto porte = CompteSejour::PorterAuCompte(m_base.base(), n, m_ini);
        EXPECT_EQ(porte.resultat, CompteSejour::Resultat::Refuse) << c.nom;
        EXPECT_TRUE(porte.message.startsWith(QString::fromUtf8(c.message))) << porte.message.toStdString();
        EXPECT_EQ(lignes(n), 0) << c.nom;
    }
}

TEST_F(CompteSejour_, InvoicesAreNumberedWithoutGapsAcrossDesksAndKeptAsIssued)
{
    const qint32 n = reserver(1, "2027-07-01", "2027-07-03", 2, 0);
    ASSERT_EQ(CompteSejour::PorterAuCompte(m_base.base(), n, m_ini).resultat, CompteSejour::Resultat::Ecrit);
    const QString factures = m_base.dossier() + QStringLiteral("/Factures");

    // A second desk: another connection on the same file.
    QString erreur;
    auto autre = Base::ouvrir(m_base.chemin(), Base::Ouverture::Existante, QStringLiteral("poste2"), &erreur);
    ASSERT_TRUE(autre.has_value()) << erreur.toStdString();
    QStringList numeros;
    for (int i = 0; i < 6; ++i) {
        const QSqlDatabase base = i % 2 ? *autre : m_base.base();
        const auto f = CompteSejour::EmettreFacture(base, n, m_ini, factures, &erreur);
        ASSERT_TRUE(f.has_value()) << erreur.toStdString();
        numeros << f->numero;
        EXPECT_EQ(TestUtil::lireFichier(factures + QLatin1Char('/') + f->numero + QStringLiteral(".pdf")), f->pdf);
    }
    EXPECT_EQ(numeros, (QStringList{"F-2027-00001", "F-2027-00002", "F-2027-00003", "F-2027-00004", "F-2027-00005", "F-2027-00006"}));
    autre.reset();
    QSqlDatabase::removeDatabase(QStringLiteral("poste2"));

    // The next year starts again at 1.
    Horloge::fixer(Dates::naive(QDate(2028, 1, 2), QTime(9, 0)));
    EXPECT_EQ(CompteSejour::EmettreFacture(m_base.base(), n, m_ini, factures, &erreur)->numero, QStringLiteral("F-2028-00001"));

    // An invoice once issued never changes: the stored bytes are those written.
    const auto gardees = RequetesFacturation::facturesDeReservation(m_base.base(), n);
    ASSERT_TRUE(gardees.has_value());
    ASSERT_EQ(gardees->size(), 7);
    EXPECT_EQ(gardees->first().pdf, TestUtil::lireFichier(factures + QStringLiteral("/F-2027-00001.pdf")));
    const auto texte = texteDuPdf(gardees->first().pdf);
    if (texte) {
        EXPECT_TRUE(texte->contains(QStringLiteral("F-2027-00001")));
        EXPECT_TRUE(texte->contains(QString::fromUtf8("Camping des Écureuils")));
        EXPECT_TRUE(texte->contains(QString::fromUtf8("243,20 €"))) << texte->toStdString();
    }
}

TEST_F(CompteSejour_, AnUnwritableFolderConsumesNoNumber)
{
    const qint32 n = reserver(1, "2027-07-01", "2027-07-03", 2, 0);
    const QString factures = m_base.dossier() + QStringLiteral("/Factures");
    // A file where the folder should be: nothing can be written into it,
    // even by root.
    TestUtil::ecrireFichier(factures, "pas un dossier");
    QString erreur;
    EXPECT_FALSE(CompteSejour::EmettreFacture(m_base.base(), n, m_ini, factures, &erreur).has_value());
    EXPECT_FALSE(erreur.isEmpty());
    EXPECT_EQ(m_base.valeur(QStringLiteral("SELECT count(*) FROM FACTURES")).toInt(), 0);
    QFile::remove(factures);
    const auto f = CompteSejour::EmettreFacture(m_base.base(), n, m_ini, factures, &erreur);
    ASSERT_TRUE(f.has_value()) << erreur.toStdString();
    EXPECT_EQ(f->numero, QStringLiteral("F-2027-00001"));
}
