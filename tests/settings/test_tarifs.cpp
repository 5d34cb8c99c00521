// The money settings of the settings window on a temporary database, driven
// as a user would: the seasons of the "Tarifs" tab and the tourist tax, the
// category of a unit on the "Objets" tab and the VAT rate of a bar article.
// Each accepted edit is stored at once; each refused one says why and
// stores nothing.
#include "app/demarrage.h"
#include "config/ini32.h"
#include "config/langues.h"
#include "pilotage.h"
#include "settings/modelearticles.h"
#include "settings/modeleobjets.h"
#include "settings/modeletarifs.h"
#include "settings/onglettarifs.h"
#include "settings/parametres.h"
#include "store/contexte.h"
#include "store/horloge.h"
#include "store/requetes.h"
#include "testutil.h"

#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

using RequetesFacturation::Tarif;

TEST(ModeleTarifs, LireJourNePrendQueDesJoursEntiers)
{
    const struct { const char* texte; QDate jour; } cas[] = {
        {"01/07/2027", QDate(2027, 7, 1)},
        {" 1/7/2027 ", QDate(2027, 7, 1)},
        {"29/02/2028", QDate(2028, 2, 29)},
        {"31/12/27", QDate(2027, 12, 31)},
        {"29/02/2027", QDate()},
        {"32/01/2027", QDate()},
        {"01/13/2027", QDate()},
        {"2027-07-01", QDate()},
        {"01/07/2027 14:00", QDate()},
        {"abc", QDate()},
        {"", QDate()},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.texte);
        const auto lu = ModeleTarifs::LireJour(QString::fromUtf8(c.texte));
        EXPECT_EQ(lu.value_or(QDate()), c.jour);
    }
}

TEST(ModeleTarifs, VerifierRefuseUneTableFausse)
{
    const auto saison = [](const char* categorie, QDate premier, QDate dernier, double prix = 40, double taux = 10) {
        Tarif t;
        t.categorie = QString::fromUtf8(categorie);
        t.premier = premier;
        t.dernier = dernier;
        t.prixNuit = prix;
        t.tauxTVA = taux;
        return t;
    };
    const QDate juillet(2027, 7, 1), aout(2027, 8, 31), septembre(2027, 9, 1), decembre(2027, 12, 31);
    const struct { const char* cas; QList<Tarif> tarifs; const char* message; } cas[] = {
        {"vide", {}, ""},
        {"deux saisons qui se suivent", {saison("Chalet", juillet, aout), saison("Chalet", septembre, decembre)}, ""},
        {"mêmes dates, autres catégories", {saison("Chalet", juillet, aout), saison("Emplacement", juillet, aout)}, ""},
        {"une seule nuit", {saison("Chalet", juillet, juillet)}, ""},
        {"chevauchement d'un jour", {saison("Chalet", juillet, aout), saison("Chalet", aout, decembre)}, "se chevauchent"},
        {"catégorie en majuscules", {saison("Chalet", juillet, aout), saison("CHALET", juillet, juillet)}, "se chevauchent"},
        {"dernier jour avant le premier", {saison("Chalet", aout, juillet)}, "avant son premier jour"},
        {"date illisible", {saison("Chalet", QDate(), aout)}, "dates lisibles"},
        {"catégorie vide", {saison("  ", juillet, aout)}, "ne peut pas être vide"},
        {"prix négatif", {saison("Chalet", juillet, aout, -3)}, "négatif"},
        {"taux au-delà de 100", {saison("Chalet", juillet, aout, 40, 120)}, "entre 0 et 100"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        const QString message = ModeleTarifs::Verifier(c.tarifs);
        if (*c.message == '\0')
            EXPECT_TRUE(message.isEmpty()) << message.toStdString();
        else
            EXPECT_TRUE(message.contains(QString::fromUtf8(c.message))) << message.toStdString();
    }
}

class Tarifs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Horloge::fixer(QDateTime(QDate(2027, 1, 10), QTime(9, 0), Qt::UTC));
        contexte.CheminINI = base.dossier() + QStringLiteral("/planning.ini");
        Langues::fixerFichier(contexte.CheminINI);
        contexte.BaseOuverte = base.base();
        contexte.TableEtats = Contexte::ChargerEtats(base.base());
        base.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chalet 1')"));
        base.executer(QStringLiteral("INSERT INTO CONSOMMATIONS (Famille, Libelle, prixTTC) VALUES ('Boissons', 'Café', 1.2)"));
        ouvrir();
    }
    void TearDown() override { Horloge::liberer(); }

    void ouvrir()
    {
        fenetre = std::make_unique<parametres>(&contexte);
        fenetre->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(fenetre.get()));
        fenetre->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(fenetre.get()));
    }
    QTableView* vueTarifs() const { return fenetre->findChild<QTableView*>(QStringLiteral("tarifs")); }
    QLineEdit* taxe() const { return fenetre->findChild<QLineEdit*>(QStringLiteral("taxesejour")); }
    QString tableTarifs() const
    {
        return base.liste(QStringLiteral("SELECT Categorie, substr(PremierJour, 1, 10), substr(DernierJour, 1, 10), "
                                         "PrixNuit, PrixAdulte, PrixEnfant, TauxTVA FROM TARIFS "
                                         "ORDER BY Categorie, PremierJour"),
                          QStringLiteral(" | "));
    }
    QString taxeStockee() const
    {
        return INI32::ProfilINI(QStringLiteral("facturation"), QStringLiteral("taxe de sejour"), QStringLiteral("absente"),
                                contexte.CheminINI, 1);
    }

    TestUtil::BaseTemporaire base{QStringLiteral("tarifs")};
    Contexte contexte;
    std::unique_ptr<parametres> fenetre;
};

TEST_F(Tarifs, UneSaisonSeSaisitCelluleParCellule)
{
    fenetre->SSTab1->setCurrentIndex(3);
    Repondeur repondeur;
    QTableView* vue = vueTarifs();
    ASSERT_NE(vue, nullptr);
    ASSERT_EQ(vue->model()->rowCount(), 0);

    // "Ajouter": one night from today, its category open for typing.
    QTest::mouseClick(fenetre->findChild<QPushButton*>(QStringLiteral("ajoutertarif")), Qt::LeftButton);
    EXPECT_EQ(tableTarifs(), QStringLiteral("Nouvelle catégorie 2027-01-10 2027-01-10 0.0 0.0 0.0 10.0"));
    Pilotage::taper(vue, QStringLiteral("Chalet"));
    Pilotage::saisir(vue, 0, ModeleTarifs::DernierJour, QStringLiteral("31/08/2027"));
    Pilotage::saisir(vue, 0, ModeleTarifs::PremierJour, QStringLiteral("01/07/2027"));
    Pilotage::saisir(vue, 0, ModeleTarifs::PrixNuit, QStringLiteral("45,5"));
    Pilotage::saisir(vue, 0, ModeleTarifs::PrixAdulte, QStringLiteral("6"));
    Pilotage::saisir(vue, 0, ModeleTarifs::PrixEnfant, QStringLiteral("3.25"));
    Pilotage::saisir(vue, 0, ModeleTarifs::TauxTVA, QStringLiteral("5,5"));
    EXPECT_TRUE(repondeur.messages.isEmpty()) << repondeur.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(tableTarifs(), QStringLiteral("Chalet 2027-07-01 2027-08-31 45.5 6.0 3.25 5.5"));
    EXPECT_EQ(vue->model()->index(0, ModeleTarifs::PremierJour).data().toString(), QStringLiteral("01/07/2027"));
    EXPECT_EQ(vue->model()->index(0, ModeleTarifs::TauxTVA).data().toString(), QStringLiteral("5,5"));

    // A second season of the chosen category starts the day after the first.
    vue->setCurrentIndex(vue->model()->index(0, ModeleTarifs::Categorie));
    QTest::mouseClick(fenetre->findChild<QPushButton*>(QStringLiteral("ajoutertarif")), Qt::LeftButton);
    Pilotage::taper(vue, QStringLiteral("Chalet"));
    EXPECT_EQ(tableTarifs(), QStringLiteral("Chalet 2027-07-01 2027-08-31 45.5 6.0 3.25 5.5 | "
                                            "Chalet 2027-09-01 2027-09-01 0.0 0.0 0.0 10.0"));

    // A category no unit has is taken without a word.
    Pilotage::saisir(vue, 1, ModeleTarifs::Categorie, QStringLiteral("Bungalow"));
    EXPECT_TRUE(repondeur.messages.isEmpty());
    EXPECT_TRUE(tableTarifs().contains(QStringLiteral("Bungalow 2027-09-01")));

    // The seasons come back in a new window.
    fenetre.reset();
    ouvrir();
    ASSERT_EQ(vueTarifs()->model()->rowCount(), 2);
    EXPECT_EQ(vueTarifs()->model()->index(1, ModeleTarifs::Categorie).data().toString(), QStringLiteral("Chalet"));
}

TEST_F(Tarifs, UneSaisieFausseEstRefuseeEtRienNEstStocke)
{
    base.executer(QStringLiteral(
        "INSERT INTO TARIFS (Categorie, PremierJour, DernierJour, PrixNuit, PrixAdulte, PrixEnfant, TauxTVA) VALUES "
        "('Chalet', '2027-07-01 00:00:00', '2027-08-31 00:00:00', 45.5, 6, 3, 10), "
        "('Chalet', '2027-09-01 00:00:00', '2027-12-31 00:00:00', 30, 5, 2, 10)"));
    fenetre.reset();
    ouvrir();
    fenetre->SSTab1->setCurrentIndex(3);
    Repondeur repondeur;
    QTableView* vue = vueTarifs();
    ASSERT_EQ(vue->model()->rowCount(), 2);
    const QString avant = tableTarifs();

    const struct { int ligne; int colonne; const char* saisi; const char* message; } cas[] = {
        {0, ModeleTarifs::PrixNuit, "abc", "« abc » n'est pas un nombre"},
        {0, ModeleTarifs::PrixAdulte, "-3", "ne peut pas être négatif"},
        {0, ModeleTarifs::PrixEnfant, "2 euros", "n'est pas un nombre"},
        {0, ModeleTarifs::TauxTVA, "abc", "Le taux de TVA « abc » n'est pas un nombre"},
        {0, ModeleTarifs::TauxTVA, "-3", "ne peut pas être négatif"},
        {0, ModeleTarifs::TauxTVA, "120", "ne peut pas dépasser 100"},
        {0, ModeleTarifs::PremierJour, "abc", "« abc » n'est pas une date"},
        {0, ModeleTarifs::DernierJour, "31/02/2027", "n'est pas une date"},
        {0, ModeleTarifs::DernierJour, "30/06/2027", "avant son premier jour"},
        {1, ModeleTarifs::PremierJour, "15/08/2027", "se chevauchent"},
        {0, ModeleTarifs::DernierJour, "01/09/2027", "se chevauchent"},
        {1, ModeleTarifs::Categorie, "chalet", ""},   // same category, other case: no change of meaning
        {0, ModeleTarifs::Categorie, " ", "ne peut pas être vide"},
    };
    int messages = 0;
    for (const auto& c : cas) {
        SCOPED_TRACE(c.saisi);
        const QString cellule = vue->model()->index(c.ligne, c.colonne).data().toString();
        Pilotage::saisir(vue, c.ligne, c.colonne, QString::fromUtf8(c.saisi));
        if (*c.message == '\0')
            continue;
        ASSERT_EQ(repondeur.messages.size(), ++messages);
        EXPECT_TRUE(repondeur.messages.last().contains(QString::fromUtf8(c.message)))
            << repondeur.messages.last().toStdString();
        EXPECT_EQ(vue->model()->index(c.ligne, c.colonne).data().toString(), cellule);
        EXPECT_TRUE(tableTarifs().compare(avant, Qt::CaseInsensitive) == 0) << tableTarifs().toStdString();
    }

    // The same dates in another category are no overlap.
    Pilotage::saisir(vue, 1, ModeleTarifs::Categorie, QStringLiteral("Emplacement"));
    Pilotage::saisir(vue, 1, ModeleTarifs::PremierJour, QStringLiteral("15/08/2027"));
    EXPECT_EQ(repondeur.messages.size(), messages);
    EXPECT_TRUE(tableTarifs().contains(QStringLiteral("Emplacement 2027-08-15 2027-12-31")));

    // "Supprimer" asks, then removes the chosen season only.
    vue->setCurrentIndex(vue->model()->index(0, ModeleTarifs::Categorie));
    QTest::mouseClick(fenetre->findChild<QPushButton*>(QStringLiteral("supprimertarif")), Qt::LeftButton);
    ASSERT_EQ(repondeur.questions.size(), 1);
    EXPECT_EQ(repondeur.questions[0], QStringLiteral("Supprimer ce tarif de la catégorie « Chalet » ?"));
    EXPECT_EQ(tableTarifs(), QStringLiteral("Emplacement 2027-08-15 2027-12-31 30.0 5.0 2.0 10.0"));
}

TEST_F(Tarifs, LaTaxeDeSejourVaDansLeFichierIni)
{
    fenetre->SSTab1->setCurrentIndex(3);
    Repondeur repondeur;
    QLineEdit* champ = taxe();
    ASSERT_NE(champ, nullptr);
    EXPECT_EQ(champ->text(), QStringLiteral("0,00"));   // none set yet

    const struct { const char* saisi; const char* stocke; const char* affiche; const char* message; } cas[] = {
        {"0,60", "0.6", "0,60", ""},
        {"abc", "0.6", "0,60", "« abc » n'est pas un montant"},
        {"-3", "0.6", "0,60", "ne peut pas être négative"},
        {"1.5", "1.5", "1,50", ""},
        {"", "1.5", "1,50", "n'est pas un montant"},
        {"0", "0", "0,00", ""},
    };
    int messages = 0;
    for (const auto& c : cas) {
        SCOPED_TRACE(c.saisi);
        Pilotage::remplacer(champ, QString::fromUtf8(c.saisi));
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        if (*c.message != '\0') {
            ASSERT_EQ(repondeur.messages.size(), ++messages);
            EXPECT_TRUE(repondeur.messages.last().contains(QString::fromUtf8(c.message))) << repondeur.messages.last().toStdString();
        }
        EXPECT_EQ(repondeur.messages.size(), messages);
        EXPECT_EQ(taxeStockee(), QString::fromUtf8(c.stocke));
        EXPECT_EQ(champ->text(), QString::fromUtf8(c.affiche));
    }

    Pilotage::remplacer(champ, QStringLiteral("0,8"));
    fenetre.reset();
    ouvrir();
    EXPECT_EQ(taxe()->text(), QStringLiteral("0,80"));
}

TEST_F(Tarifs, LaCategorieDUnLogementEtLaTVADUnArticleSontStockees)
{
    Repondeur repondeur;
    fenetre->SSTab1->setCurrentIndex(1);
    const struct { const char* saisi; const char* stocke; } categories[] = {
        {" Chalet ", "Chalet"}, {"Emplacement", "Emplacement"}, {"", ""},
    };
    for (const auto& c : categories) {
        SCOPED_TRACE(c.saisi);
        Pilotage::saisir(fenetre->tableobjets, 0, ModeleObjets::Categorie, QString::fromUtf8(c.saisi));
        EXPECT_EQ(base.valeur(QStringLiteral("SELECT Categorie FROM OBJETS WHERE Numero = 1")).toString(),
                  QString::fromUtf8(c.stocke));
        EXPECT_EQ(Requetes::objets(base.base())->at(0).categorie, QString::fromUtf8(c.stocke));
    }
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT Nom FROM OBJETS WHERE Numero = 1")).toString(), QStringLiteral("Chalet 1"));

    fenetre->SSTab1->setCurrentIndex(2);
    QTableView* vue = fenetre->tablearticles;
    const QString taux = QStringLiteral("SELECT tauxTVA FROM CONSOMMATIONS WHERE rowid = 1");
    EXPECT_EQ(vue->model()->index(0, ModeleArticles::tauxTVA).data().toString(), QStringLiteral("10"));
    const struct { const char* saisi; double stocke; const char* message; } cas[] = {
        {"5,5", 5.5, ""},
        {"20 %", 20, ""},
        {"5.5", 5.5, ""},
        {"abc", 5.5, "« abc » n'est pas un nombre"},
        {"-3", 5.5, "entre 0 et 100"},
        {"100,5", 5.5, "entre 0 et 100"},
        {"0", 0, ""},
    };
    int messages = 0;
    for (const auto& c : cas) {
        SCOPED_TRACE(c.saisi);
        Pilotage::saisir(vue, 0, ModeleArticles::tauxTVA, QString::fromUtf8(c.saisi));
        if (*c.message != '\0') {
            ASSERT_EQ(repondeur.messages.size(), ++messages);
            EXPECT_TRUE(repondeur.messages.last().contains(QString::fromUtf8(c.message))) << repondeur.messages.last().toStdString();
        }
        EXPECT_EQ(repondeur.messages.size(), messages);
        EXPECT_DOUBLE_EQ(base.valeur(taux).toDouble(), c.stocke);
        EXPECT_EQ(vue->model()->index(0, ModeleArticles::tauxTVA).data().toString(), ModeleArticles::TexteTaux(c.stocke));
    }
    // A new article sells at 10 %.
    QTest::mouseClick(fenetre->ajouterarticle, Qt::LeftButton);
    Pilotage::taper(vue, QStringLiteral("Thé"));
    EXPECT_DOUBLE_EQ(base.valeur(QStringLiteral("SELECT tauxTVA FROM CONSOMMATIONS WHERE Libelle = 'Thé'")).toDouble(), 10.0);
}

} // namespace

// A season added shows its dates whole at once, and "Supprimer" clicked
// while a price is being typed removes the chosen season at the first click,
// what was typed dropped.
TEST_F(Tarifs, LesDatesSeLisentDesLAjoutEtSupprimerMarchePendantUneSaisie)
{
    fenetre->SSTab1->setCurrentIndex(3);
    Repondeur repondeur;
    QTableView* vue = vueTarifs();
    ASSERT_NE(vue, nullptr);
    QTest::mouseClick(fenetre->findChild<QPushButton*>(QStringLiteral("ajoutertarif")), Qt::LeftButton);
    QCoreApplication::processEvents();
    for (int colonne : {ModeleTarifs::PremierJour, ModeleTarifs::DernierJour}) {
        EXPECT_EQ(vue->model()->index(0, colonne).data().toString(), QStringLiteral("10/01/2027"));
        EXPECT_GE(vue->columnWidth(colonne), static_cast<QAbstractItemView*>(vue)->sizeHintForColumn(colonne)) << colonne;
    }
    Pilotage::taper(vue, QStringLiteral("Chalet"));

    const QModelIndex prix = vue->model()->index(0, ModeleTarifs::PrixNuit);
    vue->setCurrentIndex(prix);
    vue->edit(prix);
    QLineEdit* editeur = nullptr;
    for (QLineEdit* e : vue->findChildren<QLineEdit*>())
        if (e->isVisible())
            editeur = e;
    ASSERT_NE(editeur, nullptr);
    // A price half typed, which would be refused were it stored.
    editeur->setFocus();
    editeur->selectAll();
    editeur->insert(QStringLiteral("4x5"));
    QTest::mouseClick(fenetre->findChild<QPushButton*>(QStringLiteral("supprimertarif")), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(repondeur.messages, QStringList());
    ASSERT_EQ(repondeur.questions.size(), 1);
    EXPECT_EQ(repondeur.questions[0], QStringLiteral("Supprimer ce tarif de la catégorie « Chalet » ?"));
    EXPECT_EQ(tableTarifs(), QString());
    EXPECT_EQ(vue->model()->rowCount(), 0);
}
