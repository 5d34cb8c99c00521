#include "facturation/comptesejour.h"
#include "config/ini32.h"
#include "store/base.h"
#include "store/dates.h"
#include "store/dialecte.h"
#include "store/horloge.h"
#include "store/module1.h"
#include "store/requetes_reservation.h"
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

    // A stay saved as the reservation window saves it, its posting with it.
    Requetes::Reservation sejour(int objet, const char* debut, const char* fin, int adultes, int enfants)
    {
        Requetes::Reservation r;
        r.objet = objet;
        r.nomclient = QStringLiteral("Gérard");
        r.debut = Dates::naive(QDate::fromString(QString::fromLatin1(debut), Qt::ISODate), QTime(14, 0));
        r.fin = Dates::naive(QDate::fromString(QString::fromLatin1(fin), Qt::ISODate), QTime(12, 0));
        r.etat = 1;
        r.nbadultes = adultes;
        r.nbenfants = enfants;
        return r;
    }
    std::optional<qint32> creer(const Requetes::Reservation& r, CompteSejour::Suivi* suivi, QString* erreur)
    {
        return RequetesReservation::creer(m_base.base(), r, QStringLiteral("Création de la reservation"), erreur, nullptr,
                                          nullptr, CompteSejour::SuivreEnEnregistrant(m_base.base(), m_ini, true, suivi));
    }
    bool modifier(const Requetes::Reservation& r, CompteSejour::Suivi* suivi, QString* erreur)
    {
        return RequetesReservation::modifier(m_base.base(), r, QStringLiteral("Modification d'informations"), erreur,
                                             nullptr, nullptr, nullptr,
                                             CompteSejour::SuivreEnEnregistrant(m_base.base(), m_ini, false, suivi));
    }
    int charges(qint32 numero)
    {
        return m_base.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE prix <> 0 AND numeroreservation = ")
                             + QString::number(numero)).toInt();
    }
    // Rows whose wording begins with `debut` fail to be written, as on a
    // full disk, on either engine.
    void refuserLignes(const char* debut)
    {
        const QString condition = QStringLiteral("NEW.libelle LIKE '%1%'").arg(QLatin1String(debut));
        const QString nom = QStringLiteral("refus_") + QString::fromLatin1(debut).toLower();
        if (TestUtil::SurPostgres()) {
            m_base.executer(QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                                           "RAISE EXCEPTION 'disque plein'; END $$").arg(nom));
            m_base.executer(QStringLiteral("CREATE TRIGGER %1 BEFORE INSERT ON OPERATIONS FOR EACH ROW WHEN (%2) "
                                           "EXECUTE FUNCTION %1()").arg(nom, condition));
        } else {
            m_base.executer(QStringLiteral("CREATE TRIGGER %1 BEFORE INSERT ON OPERATIONS WHEN %2 "
                                           "BEGIN SELECT RAISE(ABORT, 'disque plein'); END").arg(nom, condition));
        }
    }

    TestUtil::BaseTemporaire m_base;
    QString m_ini;
};

} // namespace

TEST_F(CompteSejour_, EachChangeOfAStayPostsItsCorrectionWithTheSave)
{
    Requetes::Reservation r = sejour(1, "2027-07-01", "2027-07-03", 2, 0);
    CompteSejour::Suivi suivi;
    QString erreur;
    const auto n = creer(r, &suivi, &erreur);
    ASSERT_TRUE(n.has_value()) << erreur.toStdString();
    r.numero = *n;
    // 2 x 120 + tax 2 x 2 x 0.80, posted with the creation.
    EXPECT_EQ(suivi.lignes, 2);
    EXPECT_TRUE(suivi.avertissement.isEmpty());
    EXPECT_NEAR(solde(*n), -243.2, 0.001);
    EXPECT_EQ(m_base.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE libelle LIKE 'SEJOUR %'")).toInt(), 1);

    struct Etape {
        const char* nom;
        std::function<void(Requetes::Reservation&)> changer;
        int lignes;      // charge rows written, all "CORRECTION …"
        double solde;
    };
    const Etape etapes[] = {
        {"two more nights", [](auto& r) { r.fin = r.fin.addDays(2); }, 2, -(480 + 6.4)},
        {"nothing that costs", [](auto& r) { r.remarque = QStringLiteral("Arrivée tardive"); }, 0, -(480 + 6.4)},
        {"across the season boundary", [](auto& r) { r.debut = r.debut.addDays(-2); r.fin = r.fin.addDays(-2); },
         1, -(160 + 240 + 6.4)},
        {"a unit of another category", [](auto& r) { r.objet = 3; }, 1, -(4 * (15 + 2 * 6) + 6.4)},
        {"one adult less, one child more", [](auto& r) { r.nbadultes = 1; r.nbenfants = 1; }, 2, -(4 * (15 + 6 + 3) + 3.2)},
        {"back to a chalet of the same price", [](auto& r) { r.objet = 2; }, 1, -(160 + 240 + 3.2)},
        {"same price, another chalet", [](auto& r) { r.objet = 1; }, 0, -(160 + 240 + 3.2)},
    };
    for (const Etape& e : etapes) {
        e.changer(r);
        const int avant = charges(*n);
        const int corrections = m_base.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE libelle LIKE 'CORRECTION %'")).toInt();
        ASSERT_TRUE(modifier(r, &suivi, &erreur)) << e.nom << ": " << erreur.toStdString();
        EXPECT_EQ(suivi.lignes, e.lignes) << e.nom;
        EXPECT_TRUE(suivi.avertissement.isEmpty()) << e.nom << ": " << suivi.avertissement.toStdString();
        EXPECT_EQ(charges(*n) - avant, e.lignes) << e.nom;
        EXPECT_EQ(m_base.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE libelle LIKE 'CORRECTION %'")).toInt()
                      - corrections, e.lignes) << e.nom;
        EXPECT_NEAR(solde(*n), e.solde, 0.001) << e.nom;
        // What was posted is what the stay costs: pressing the button finds nothing to do.
        EXPECT_EQ(CompteSejour::PorterAuCompte(m_base.base(), *n, m_ini).resultat, CompteSejour::Resultat::RienDeChange) << e.nom;
    }
}

TEST_F(CompteSejour_, APostingThatFailsUndoesTheWholeSave)
{
    QString erreur;
    CompteSejour::Suivi suivi;
    Requetes::Reservation r = sejour(1, "2027-07-01", "2027-07-03", 2, 0);
    r.numero = *creer(r, &suivi, &erreur);
    const int journal = lignes(r.numero);

    refuserLignes("CORRECTION");
    Requetes::Reservation change = r;
    change.fin = change.fin.addDays(3);
    change.remarque = QStringLiteral("3 nuits de plus");
    EXPECT_FALSE(modifier(change, &suivi, &erreur));
    EXPECT_TRUE(erreur.contains(QStringLiteral("le séjour n'a pas pu être porté au compte"))) << erreur.toStdString();
    EXPECT_TRUE(erreur.contains(QStringLiteral("disque plein"))) << erreur.toStdString();
    // Neither the stay's change nor its journal row is stored.
    const auto lue = Requetes::reservation(m_base.base(), r.numero);
    ASSERT_TRUE(lue.has_value());
    EXPECT_EQ(lue->fin, r.fin);
    EXPECT_NE(lue->remarque.trimmed(), QStringLiteral("3 nuits de plus"));
    EXPECT_EQ(lignes(r.numero), journal);
    // A change that costs nothing writes no correction and goes through.
    change = r;
    change.remarque = QStringLiteral("Arrivée tardive");
    EXPECT_TRUE(modifier(change, &suivi, &erreur)) << erreur.toStdString();

    // A new stay whose price cannot be written is not stored either.
    refuserLignes("SEJOUR");
    const int reservations = m_base.valeur(QStringLiteral("SELECT count(*) FROM RESERVATIONS")).toInt();
    EXPECT_FALSE(creer(sejour(2, "2027-07-10", "2027-07-12", 2, 0), &suivi, &erreur).has_value());
    EXPECT_TRUE(erreur.contains(QStringLiteral("disque plein"))) << erreur.toStdString();
    EXPECT_EQ(m_base.valeur(QStringLiteral("SELECT count(*) FROM RESERVATIONS")).toInt(), reservations);
}

TEST_F(CompteSejour_, StaysTheAutomaticPostingLeavesAlone)
{
    enum Avant { Rien, Poster, Annuler, PorteAilleurs };
    struct Cas {
        const char* nom;
        bool automatique;
        int objet;
        const char* fin;
        Avant avant;          // what happened between creation and change
        const char* finApres;
        int lignesCreation;
        int lignesChangement;
        const char* avertissement;   // the warning of the creation or of the change
    };
    const Cas cas[] = {
        {"porter automatiquement = NON", false, 1, "2027-07-03", Rien, "2027-07-05", 0, 0, nullptr},
        {"unit without category", true, 4, "2027-07-03", Rien, "2027-07-05", 0, 0,
         "La réservation est enregistrée, mais son séjour n'est pas porté au compte :\nLe logement Sans n'a pas de catégorie"},
        {"moved onto a night without rate", true, 1, "2027-07-03", Rien, "2027-09-02", 2, 0,
         "Les modifications sont enregistrées, mais le compte du séjour n'est pas corrigé :\nAucun tarif pour la nuit du 01/09/2027"},
        {"cancelled", true, 1, "2027-07-03", Annuler, "2027-07-05", 2, 0, nullptr},
        {"a booking nothing was ever posted for (portal, older program)", true, 1, "2027-07-03", PorteAilleurs, "2027-07-05",
         0, 0, nullptr},
        {"NON, then posted by the button: the change is left to it too", false, 1, "2027-07-03", Poster, "2027-07-05", 0, 0, nullptr},
    };
    for (const Cas& c : cas) {
        INI32::ProfilINI("facturation", "porter automatiquement", c.automatique ? "OUI" : "NON", m_ini, 0);
        QString erreur;
        CompteSejour::Suivi suivi;
        Requetes::Reservation r = sejour(c.objet, "2027-07-01", c.fin, 2, 0);
        if (c.avant == PorteAilleurs) {
            r.numero = reserver(c.objet, "2027-07-01", c.fin, 2, 0);
        } else {
            const auto n = creer(r, &suivi, &erreur);
            ASSERT_TRUE(n.has_value()) << c.nom << ": " << erreur.toStdString();
            r.numero = *n;
        }
        EXPECT_EQ(charges(r.numero), c.lignesCreation) << c.nom;
        if (c.avertissement && c.lignesCreation == 0)
            EXPECT_TRUE(suivi.avertissement.startsWith(QString::fromUtf8(c.avertissement))) << c.nom << ": " << suivi.avertissement.toStdString();
        if (c.avant == Annuler) {
            changer(r.numero, QStringLiteral("Annulation = '2027-06-01 10:00:00'"));
            // Nor by the button.
            const auto porte = CompteSejour::PorterAuCompte(m_base.base(), r.numero, m_ini);
            EXPECT_EQ(porte.resultat, CompteSejour::Resultat::Refuse);
            EXPECT_EQ(porte.message, QString::fromUtf8("Cette réservation est annulée : son séjour n'est plus porté au compte."));
        }
        if (c.avant == Poster)
            EXPECT_EQ(CompteSejour::PorterAuCompte(m_base.base(), r.numero, m_ini).resultat, CompteSejour::Resultat::Ecrit) << c.nom;
        const int avant = charges(r.numero);
        r.fin = Dates::naive(QDate::fromString(QString::fromLatin1(c.finApres), Qt::ISODate), QTime(12, 0));
        r.version = m_base.valeur(QStringLiteral("SELECT version FROM RESERVATIONS WHERE NumeroReservation = ")
                                  + QString::number(r.numero)).toInt();
        ASSERT_TRUE(modifier(r, &suivi, &erreur)) << c.nom << ": " << erreur.toStdString();
        // Saved whatever the account.
        EXPECT_EQ(Requetes::reservation(m_base.base(), r.numero)->fin, r.fin) << c.nom;
        EXPECT_EQ(charges(r.numero) - avant, c.lignesChangement) << c.nom;
        if (c.avertissement && c.lignesCreation > 0)
            EXPECT_TRUE(suivi.avertissement.startsWith(QString::fromUtf8(c.avertissement))) << c.nom << ": " << suivi.avertissement.toStdString();
        if (!c.avertissement)
            EXPECT_TRUE(suivi.avertissement.isEmpty()) << c.nom << ": " << suivi.avertissement.toStdString();
    }
}

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

TEST_F(CompteSejour_, TheInvoiceOfAMovedStayShowsItAsItIsNow)
{
    QString erreur;
    CompteSejour::Suivi suivi;
    Requetes::Reservation r = sejour(1, "2027-07-01", "2027-07-03", 2, 0);
    r.numero = *creer(r, &suivi, &erreur);
    // Two nights earlier: into the low season, corrections posted with the save.
    r.debut = r.debut.addDays(-2);
    ASSERT_TRUE(modifier(r, &suivi, &erreur)) << erreur.toStdString();
    ASSERT_EQ(suivi.lignes, 2);
    ASSERT_TRUE(Module1::EnregistrerOperationTVA(m_base.base(), r.numero, -7, QString(),
                                                 QStringLiteral("BAR Bière pression\r\n2 x 3,5"), 20, &erreur));
    ASSERT_TRUE(Module1::EnregistrerOperation(m_base.base(), r.numero, 150, QStringLiteral("ESP"), QStringLiteral("Paiement ESP"), &erreur));

    const QString factures = m_base.dossier() + QStringLiteral("/Factures");
    const auto f = CompteSejour::EmettreFacture(m_base.base(), r.numero, m_ini, factures, &erreur);
    ASSERT_TRUE(f.has_value()) << erreur.toStdString();
    const auto texte = texteDuPdf(f->pdf);
    if (!texte)
        GTEST_SKIP() << "pdftotext absent : le texte des PDF n'est pas relu";
    // One line per season, the tax for the whole stay, the bar as sold;
    // 160 + 240 + 6,40 + 7 charged, 150 paid.
    const char* attendus[] = {"Les Pins, du 29/06/2027 au 03/07/2027", "Séjour Les Pins du 29/06 au 01/07 : 2 nuits x 80,00 €",
        "160,00 €", "Séjour Les Pins du 01/07 au 03/07 : 2 nuits x 120,00 €", "240,00 €",
        "Taxe de séjour : 2 adultes x 4 nuits x 0,80 €", "6,40 €", "Bière pression", "413,40 €",
        "Reste à payer : 263,40 €", "Facture F-2027-00001 — page 1/1"};
    for (const char* a : attendus)
        EXPECT_TRUE(texte->contains(QString::fromUtf8(a))) << a << "\n" << texte->toStdString();
    EXPECT_EQ(texte->count(QStringLiteral("Séjour Les Pins du")), 2) << texte->toStdString();
    EXPECT_FALSE(texte->contains(QStringLiteral("CORRECTION"))) << texte->toStdString();
    EXPECT_FALSE(texte->contains(QStringLiteral("-263"))) << texte->toStdString();

    ASSERT_TRUE(Module1::EnregistrerOperation(m_base.base(), r.numero, 300, QStringLiteral("CB"), QStringLiteral("Paiement CB"), &erreur));
    const auto deuxieme = CompteSejour::EmettreFacture(m_base.base(), r.numero, m_ini, factures, &erreur);
    ASSERT_TRUE(deuxieme.has_value()) << erreur.toStdString();
    const auto texte2 = texteDuPdf(deuxieme->pdf);
    ASSERT_TRUE(texte2.has_value());
    EXPECT_TRUE(texte2->contains(QString::fromUtf8("Trop-perçu : 36,60 €"))) << texte2->toStdString();
    EXPECT_TRUE(texte2->contains(QString::fromUtf8("Facture F-2027-00002 — page 1/1"))) << texte2->toStdString();
}

TEST(CompteSejour, TheBillingTabSaysWhatTheAccountHoldsOfTheStay)
{
    const Tarification::Calcul prix{{{Tarification::Genre::Sejour, QStringLiteral("Séjour Les Pins"), 240, 10},
                                     {Tarification::Genre::Taxe, QStringLiteral("Taxe"), 4.8, 0}}, 244.8, QString()};
    Tarification::Calcul sansTarif;
    sansTarif.erreur = QStringLiteral("Aucun tarif pour la nuit du 01/09/2027 (catégorie Chalet).");
    using P = QList<Tarification::Part>;
    const P commeMaintenant = {{Tarification::Genre::Sejour, 10, 240}, {Tarification::Genre::Taxe, 0, 4.8}};
    struct Cas { const char* nom; Tarification::Calcul calcul; P poste; bool deja; bool annulee; const char* fin; };
    const Cas cas[] = {
        {"nothing posted", prix, {}, false, false, "Total : 244,80 €\n\nRien n'est encore porté au compte pour ce séjour."},
        {"up to date", prix, commeMaintenant, true, false, "\n\nPorté au compte : 244,80 €. Le compte est à jour."},
        {"longer since", prix, {{Tarification::Genre::Sejour, 10, 160}, {Tarification::Genre::Taxe, 0, 3.2}}, true, false,
         "Porté au compte : 163,20 €.\nÀ porter au compte : 81,60 € de plus."},
        {"shorter since", prix, {{Tarification::Genre::Sejour, 10, 320}, {Tarification::Genre::Taxe, 0, 4.8}}, true, false,
         "Porté au compte : 324,80 €.\nÀ porter au compte : 80,00 € de moins."},
        {"another rate since", prix, {{Tarification::Genre::Sejour, 5.5, 240}, {Tarification::Genre::Taxe, 0, 4.8}}, true, false,
         "À porter au compte : le même montant, réparti autrement entre les taux de TVA."},
        {"posted, then brought to nothing", prix, {}, true, false,
         "\n\nPorté au compte : 0,00 €.\nÀ porter au compte : 244,80 € de plus."},
        {"cannot be priced now", sansTarif, commeMaintenant, true, false,
         "(catégorie Chalet).\n\nPorté au compte : 244,80 €."},
        {"cancelled, reversed", prix, {}, true, true,
         "\n\nRéservation annulée le 01/06/2027 : son séjour n'est plus porté au compte."},
    };
    for (const Cas& c : cas) {
        CompteSejour::Sejour s;
        s.calcul = c.calcul;
        s.poste = c.poste;
        s.dejaPorte = c.deja;
        if (c.annulee)
            s.reservation.annulation = Dates::naive(QDate(2027, 6, 1), QTime(10, 0));
        const QString texte = CompteSejour::TexteDesLignes(s);
        EXPECT_TRUE(texte.endsWith(QString::fromUtf8(c.fin))) << c.nom << ":\n" << texte.toStdString();
    }
}
