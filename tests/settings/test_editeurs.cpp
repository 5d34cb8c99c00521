// The editors of the settings window on a temporary database, driven as a
// user would: units and bar articles in their tables, states on the
// "Couleurs" tab. Each adds, edits, meets a refusal, removes and meets a
// refused removal.
#include "store/contexte.h"
#include "app/demarrage.h"
#include "config/langues.h"
#include "settings/modelearticles.h"
#include "settings/modeleobjets.h"
#include "settings/parametres.h"
#include "pilotage.h"
#include "ui/tablefigee.h"
#include "testutil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class Editeurs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Langues::fixerFichier(base.dossier() + QStringLiteral("/planning.ini"));
        contexte.BaseOuverte = base.base();
        contexte.TableEtats = Contexte::ChargerEtats(base.base());
        base.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chambre 1')"));
        base.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (2, 'Chambre 2')"));
        // Two stays in unit 1, in state 2.
        for (int jour : {1, 5})
            base.executer(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) "
                                         "VALUES (1, 'Client', '2026-01-0%1 14:00:00', '2026-01-0%2 12:00:00', 2)")
                              .arg(jour).arg(jour + 2));
        base.executer(QStringLiteral("INSERT INTO CONSOMMATIONS (Famille, Libelle, prixTTC) VALUES ('Boissons', 'Café', 1.2)"));
        fenetre = std::make_unique<parametres>(&contexte);
        fenetre->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(fenetre.get()));
        fenetre->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(fenetre.get()));
    }

    static void saisir(QTableView* vue, int ligne, int colonne, const QString& texte)
    {
        Pilotage::saisir(vue, ligne, colonne, texte);
    }
    static void taper(QTableView* vue, const QString& texte) { Pilotage::taper(vue, texte); }
    static void remplacer(QLineEdit* champ, const QString& texte) { Pilotage::remplacer(champ, texte); }
    QString texte(const QString& sql) const { return base.valeur(sql).toString(); }
    int nombre(const QString& sql) const { return base.valeur(sql).toInt(); }

    TestUtil::BaseTemporaire base{QStringLiteral("editeurs")};
    Contexte contexte;
    std::unique_ptr<parametres> fenetre;
};

TEST_F(Editeurs, LesLogementsSeGerentDepuisLOngletObjets)
{
    parametres& p = *fenetre;
    QSignalSpy planning(&p, &parametres::couleurChangee);
    p.SSTab1->setCurrentIndex(1);
    Repondeur repondeur;
    ASSERT_EQ(p.tableobjets->model()->rowCount(), 2);
    EXPECT_EQ(p.tableobjets->model()->index(1, ModeleObjets::Nom).data().toString(), QStringLiteral("Chambre 2"));
    EXPECT_FALSE(p.supprimerobjet->isEnabled());   // nothing chosen yet

    // "Ajouter": a unit numbered 3 whose name is open for typing.
    QTest::mouseClick(p.ajouterobjet, Qt::LeftButton);
    EXPECT_EQ(texte(QStringLiteral("SELECT Nom FROM OBJETS WHERE Numero = 3")), QStringLiteral("Logement 3"));
    taper(p.tableobjets, QStringLiteral("Emplacement 3"));
    EXPECT_EQ(texte(QStringLiteral("SELECT Nom FROM OBJETS WHERE Numero = 3")), QStringLiteral("Emplacement 3"));
    EXPECT_EQ(p.tableobjets->model()->index(2, ModeleObjets::Nom).data().toString(), QStringLiteral("Emplacement 3"));
    EXPECT_EQ(planning.size(), 2);   // the planning follows each change

    saisir(p.tableobjets, 0, ModeleObjets::NomInternet, QStringLiteral("Chambre double"));
    EXPECT_EQ(texte(QStringLiteral("SELECT NomInternet FROM OBJETS WHERE Numero = 1")), QStringLiteral("Chambre double"));
    // Cleared, the published name is Null again: the unit's name is used.
    saisir(p.tableobjets, 0, ModeleObjets::NomInternet, QStringLiteral(" "));
    EXPECT_EQ(nombre(QStringLiteral("SELECT NomInternet IS NULL FROM OBJETS WHERE Numero = 1")), 1);
    // The number ties the reservations to the unit: it is not editable.
    EXPECT_FALSE(p.tableobjets->model()->flags(p.tableobjets->model()->index(0, ModeleObjets::Numero)) & Qt::ItemIsEditable);

    // An empty name: a message, and the name stays.
    saisir(p.tableobjets, 1, ModeleObjets::Nom, QString());
    ASSERT_EQ(repondeur.messages.size(), 1);
    EXPECT_TRUE(repondeur.messages[0].contains(QStringLiteral("ne peut pas être vide")));
    EXPECT_EQ(texte(QStringLiteral("SELECT Nom FROM OBJETS WHERE Numero = 2")), QStringLiteral("Chambre 2"));
    EXPECT_EQ(p.tableobjets->model()->index(1, ModeleObjets::Nom).data().toString(), QStringLiteral("Chambre 2"));
    EXPECT_EQ(planning.size(), 4);

    // A unit with reservations is not removed; the message says how many.
    p.tableobjets->setCurrentIndex(p.tableobjets->model()->index(0, ModeleObjets::Nom));
    ASSERT_TRUE(p.supprimerobjet->isEnabled());
    QTest::mouseClick(p.supprimerobjet, Qt::LeftButton);
    QCoreApplication::processEvents();
    ASSERT_EQ(repondeur.questions.size(), 1);
    EXPECT_EQ(repondeur.questions[0], QStringLiteral("Supprimer le logement « Chambre 1 » ?"));
    ASSERT_EQ(repondeur.messages.size(), 2);
    EXPECT_TRUE(repondeur.messages[1].contains(QStringLiteral("2 réservations")));
    EXPECT_EQ(nombre(QStringLiteral("SELECT count(*) FROM OBJETS")), 3);

    // "Non" keeps the unit, "Oui" removes it.
    p.tableobjets->setCurrentIndex(p.tableobjets->model()->index(2, ModeleObjets::Nom));
    repondeur.oui = false;
    QTest::mouseClick(p.supprimerobjet, Qt::LeftButton);
    EXPECT_EQ(nombre(QStringLiteral("SELECT count(*) FROM OBJETS WHERE Numero = 3")), 1);
    repondeur.oui = true;
    QTest::mouseClick(p.supprimerobjet, Qt::LeftButton);
    EXPECT_EQ(nombre(QStringLiteral("SELECT count(*) FROM OBJETS WHERE Numero = 3")), 0);
    EXPECT_EQ(p.tableobjets->model()->rowCount(), 2);
    EXPECT_EQ(repondeur.questions.size(), 3);
    EXPECT_EQ(repondeur.messages.size(), 2);
    EXPECT_EQ(planning.size(), 5);
}

TEST_F(Editeurs, LesArticlesSeGerentDepuisLOngletBar)
{
    parametres& p = *fenetre;
    p.SSTab1->setCurrentIndex(2);
    Repondeur repondeur;
    QAbstractItemModel* m = p.tablearticles->model();
    ASSERT_EQ(m->rowCount(), 1);

    // Added in the family of the chosen article, its label typed at once.
    p.tablearticles->setCurrentIndex(m->index(0, ModeleArticles::Libelle));
    QTest::mouseClick(p.ajouterarticle, Qt::LeftButton);
    taper(p.tablearticles, QStringLiteral("Chocolat"));
    ASSERT_EQ(m->rowCount(), 2);
    EXPECT_EQ(texte(QStringLiteral("SELECT Famille || '/' || Libelle FROM CONSOMMATIONS WHERE rowid = 2")),
              QStringLiteral("Boissons/Chocolat"));

    // A decimal comma is accepted and shown with two decimals.
    saisir(p.tablearticles, 1, ModeleArticles::prixTTC, QStringLiteral("2,5"));
    EXPECT_DOUBLE_EQ(base.valeur(QStringLiteral("SELECT prixTTC FROM CONSOMMATIONS WHERE rowid = 2")).toDouble(), 2.5);
    EXPECT_TRUE(m->index(1, ModeleArticles::prixTTC).data().toString().startsWith(QStringLiteral("2,50")));

    // A price that is not a number and an empty label are refused.
    saisir(p.tablearticles, 1, ModeleArticles::prixTTC, QStringLiteral("2 euros"));
    saisir(p.tablearticles, 1, ModeleArticles::Libelle, QStringLiteral(" "));
    ASSERT_EQ(repondeur.messages.size(), 2) << repondeur.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(repondeur.messages[0].contains(QStringLiteral("n'est pas un nombre"))) << repondeur.messages.join(QStringLiteral("|")).toStdString();
    EXPECT_TRUE(repondeur.messages[1].contains(QStringLiteral("libellé"))) << repondeur.messages[1].toStdString();
    EXPECT_EQ(texte(QStringLiteral("SELECT Libelle || ' ' || prixTTC FROM CONSOMMATIONS WHERE rowid = 2")),
              QStringLiteral("Chocolat 2.5"));

    // Removed after "Oui"; nothing else goes.
    p.tablearticles->setCurrentIndex(m->index(0, ModeleArticles::Famille));
    QTest::mouseClick(p.supprimerarticle, Qt::LeftButton);
    ASSERT_EQ(repondeur.questions.size(), 1);
    EXPECT_EQ(repondeur.questions[0], QStringLiteral("Supprimer l'article « Café » ?"));
    EXPECT_EQ(base.liste(QStringLiteral("SELECT Libelle FROM CONSOMMATIONS ORDER BY rowid")), QStringLiteral("Chocolat"));
    EXPECT_EQ(m->rowCount(), 1);
}

TEST_F(Editeurs, UnEtatSAjouteAvecUnNomEtUneCouleur)
{
    parametres& p = *fenetre;
    QSignalSpy planning(&p, &parametres::couleurChangee);
    Repondeur repondeur;
    const struct {
        const char* cas;
        std::optional<QString> nom;
        std::optional<QColor> couleur;
        int dialoguesCouleur;   // in total so far
        int messages;
    } refuses[] = {
        {"nom annulé", std::nullopt, QColor(1, 2, 3), 0, 0},
        {"couleur annulée", QStringLiteral("Travaux"), std::nullopt, 1, 0},
        {"nom vide", QStringLiteral("   "), QColor(1, 2, 3), 1, 1},
    };
    for (const auto& c : refuses) {
        SCOPED_TRACE(c.cas);
        repondeur.nom = c.nom;
        repondeur.couleur = c.couleur;
        QTest::mouseClick(p.ajouteretat, Qt::LeftButton);
        EXPECT_EQ(repondeur.dialoguesCouleur, c.dialoguesCouleur);
        EXPECT_EQ(repondeur.messages.size(), c.messages);
        EXPECT_EQ(nombre(QStringLiteral("SELECT count(*) FROM ETATS")), 3);
    }
    EXPECT_EQ(planning.size(), 0);

    repondeur.nom = QStringLiteral(" Travaux ");
    repondeur.couleur = QColor(10, 20, 30);
    QTest::mouseClick(p.ajouteretat, Qt::LeftButton);
    EXPECT_EQ(texte(QStringLiteral("SELECT Nom || ' ' || CouleurPrincipale FROM ETATS WHERE Code = 4")),
              QStringLiteral("Travaux %1").arg(0x1E140A));
    ASSERT_TRUE(p.fondetats[3]->isVisible());
    EXPECT_EQ(p.fondetats[3]->text(), QStringLiteral("Travaux"));
    EXPECT_EQ(p.codeLigne(3), 4);
    EXPECT_EQ(p.couleurLigne(3).rgb(), QColor(10, 20, 30).rgb());
    EXPECT_EQ(p.etatChoisi(), 3);
    ASSERT_EQ(contexte.TableEtats.size(), 4);
    EXPECT_EQ(contexte.TableEtats[3].libelle, QStringLiteral("4 - Travaux"));
    EXPECT_EQ(contexte.TableEtats[3].couleur, 0x1E140A);
    EXPECT_EQ(planning.size(), 1);
}

TEST_F(Editeurs, LeNomDUnEtatSeModifieSurPlace)
{
    parametres& p = *fenetre;
    QSignalSpy planning(&p, &parametres::couleurChangee);
    Repondeur repondeur;
    QLineEdit* nom = p.fondetats[1];
    QTest::mouseClick(nom, Qt::LeftButton);
    EXPECT_EQ(p.etatChoisi(), 1);

    const struct { const char* saisi; const char* stocke; int messages; int signaux; } cas[] = {
        {"Option posée ", "Option posée", 0, 1},
        {"", "Option posée", 1, 1},          // refused, the name comes back
        {"Option posée", "Option posée", 1, 1},  // unchanged: nothing stored
        {"Acompte", "Acompte", 1, 2},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.saisi);
        remplacer(nom, QString::fromUtf8(c.saisi));
        QCoreApplication::processEvents();
        EXPECT_EQ(texte(QStringLiteral("SELECT Nom FROM ETATS WHERE Code = 2")), QString::fromUtf8(c.stocke));
        EXPECT_EQ(nom->text(), QString::fromUtf8(c.stocke));
        EXPECT_EQ(repondeur.messages.size(), c.messages);
        EXPECT_EQ(planning.size(), c.signaux);
        EXPECT_EQ(contexte.TableEtats[1].libelle, QStringLiteral("2 - ") + QString::fromUtf8(c.stocke));
    }
    EXPECT_TRUE(repondeur.messages[0].contains(QStringLiteral("ne peut pas être vide")));
    // The other states kept their names.
    EXPECT_EQ(base.liste(QStringLiteral("SELECT Nom FROM ETATS WHERE Code <> 2 ORDER BY rowid")), QStringLiteral("Confirmé,Fermé"));
}

TEST_F(Editeurs, UnEtatUtiliseNeSeSupprimePas)
{
    parametres& p = *fenetre;
    QSignalSpy planning(&p, &parametres::couleurChangee);
    Repondeur repondeur;
    EXPECT_FALSE(p.supprimeretat->isEnabled());

    // State 2 holds both stays.
    QTest::mouseClick(p.fondetats[1], Qt::LeftButton);
    ASSERT_TRUE(p.supprimeretat->isEnabled());
    QTest::mouseClick(p.supprimeretat, Qt::LeftButton);
    ASSERT_EQ(repondeur.questions.size(), 1);
    EXPECT_EQ(repondeur.questions[0], QStringLiteral("Supprimer l'état « Option » ?"));
    ASSERT_EQ(repondeur.messages.size(), 1);
    EXPECT_TRUE(repondeur.messages[0].contains(QStringLiteral("2 réservations")));
    EXPECT_EQ(nombre(QStringLiteral("SELECT count(*) FROM ETATS")), 3);

    // State 1 is free: "Non" keeps it, "Oui" removes it and its row.
    QTest::mouseClick(p.fondetats[0], Qt::LeftButton);
    EXPECT_EQ(p.etatChoisi(), 0);
    repondeur.oui = false;
    QTest::mouseClick(p.supprimeretat, Qt::LeftButton);
    EXPECT_EQ(nombre(QStringLiteral("SELECT count(*) FROM ETATS")), 3);
    repondeur.oui = true;
    QTest::mouseClick(p.supprimeretat, Qt::LeftButton);
    EXPECT_EQ(base.liste(QStringLiteral("SELECT Code FROM ETATS ORDER BY rowid")), QStringLiteral("2,3"))
        << repondeur.questions.join(QLatin1Char('|')).toStdString() << repondeur.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(p.fondetats[0]->text(), QStringLiteral("Option"));
    EXPECT_EQ(p.codeLigne(1), 3);
    EXPECT_FALSE(p.fondetats[2]->isVisible());
    EXPECT_FALSE(p.fondchangercouleurs[2]->isVisible());
    ASSERT_EQ(contexte.TableEtats.size(), 2);
    EXPECT_EQ(contexte.TableEtats[0].code, 2);
    EXPECT_EQ(p.etatChoisi(), -1);
    EXPECT_FALSE(p.supprimeretat->isEnabled());
    EXPECT_EQ(planning.size(), 1);
    EXPECT_EQ(repondeur.messages.size(), 1);
}

// Pictures of the five tabs for a look, when EDITEURS_CAPTURE names a folder.
TEST_F(Editeurs, LesCinqOngletsSeDessinent)
{
    parametres& p = *fenetre;
    const QString dossier = qEnvironmentVariable("EDITEURS_CAPTURE");
    QTest::mouseClick(p.fondetats[1], Qt::LeftButton);
    const QList<QWidget*> controles = {
        p.ajouteretat, p.ajouterobjet, p.ajouterarticle,
        p.findChild<QWidget*>(QStringLiteral("taxesejour")),
        p.findChild<QWidget*>(QStringLiteral("etablissement_conditions")),
    };
    ASSERT_EQ(p.SSTab1->count(), int(controles.size()));
    for (int onglet = 0; onglet < p.SSTab1->count(); ++onglet) {
        p.SSTab1->setCurrentIndex(onglet);
        const QImage image = p.grab().toImage();
        if (!dossier.isEmpty())
            image.save(QStringLiteral("%1/onglet%2.png").arg(dossier).arg(onglet));
        // Each tab's own controls are on screen inside the panel.
        QWidget* controle = controles[onglet];
        ASSERT_NE(controle, nullptr) << onglet;
        ASSERT_TRUE(controle->isVisible()) << onglet;
        const QRect r(controle->mapTo(p.SSTab1, QPoint(0, 0)), controle->size());
        EXPECT_TRUE(p.SSTab1->rect().contains(r)) << onglet;
    }
}

} // namespace

// The unit's number and name stay in sight while the table scrolls sideways
// to its feeds; a name is edited where it is seen.
TEST_F(Editeurs, LeNomDuLogementResteEnVueJusquAuxCalendriersExternes)
{
    parametres& p = *fenetre;
    p.SSTab1->setCurrentIndex(1);
    auto* vue = qobject_cast<TableFigee*>(p.tableobjets);
    ASSERT_NE(vue, nullptr);
    QTableView* figee = vue->vueFigee();
    ASSERT_NE(figee, nullptr);
    // Feeds long enough to need the scroll bar.
    vue->setColumnWidth(ModeleObjets::CalendriersExternes, 1500);
    QCoreApplication::processEvents();
    ASSERT_GT(vue->horizontalScrollBar()->maximum(), 0);
    vue->horizontalScrollBar()->setValue(vue->horizontalScrollBar()->maximum());
    vue->scrollTo(vue->model()->index(0, ModeleObjets::CalendriersExternes));
    QCoreApplication::processEvents();
    // The main view has scrolled its name column out of sight…
    EXPECT_LT(vue->columnViewportPosition(ModeleObjets::Nom), 0);
    // …the view over the left edge still shows it, as wide as there.
    EXPECT_TRUE(figee->isVisible());
    EXPECT_FALSE(figee->isColumnHidden(ModeleObjets::Nom));
    EXPECT_TRUE(figee->isColumnHidden(ModeleObjets::Categorie));
    EXPECT_EQ(figee->width(), vue->columnWidth(ModeleObjets::Numero) + vue->columnWidth(ModeleObjets::Nom));
    const QRect nom = figee->visualRect(figee->model()->index(1, ModeleObjets::Nom));
    EXPECT_TRUE(figee->viewport()->rect().contains(nom)) << nom.x() << "," << nom.y();
    EXPECT_EQ(figee->model()->index(1, ModeleObjets::Nom).data().toString(), QStringLiteral("Chambre 2"));
    // A name is edited in that view (its editor is seen), and stored.
    vue->setCurrentIndex(vue->model()->index(1, ModeleObjets::Nom));
    vue->edit(vue->model()->index(1, ModeleObjets::Nom));
    QLineEdit* editeur = nullptr;
    for (QLineEdit* e : figee->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible())
            editeur = e;
    ASSERT_NE(editeur, nullptr);
    remplacer(editeur, QStringLiteral("Chambre deux"));
    QCoreApplication::processEvents();
    EXPECT_EQ(texte(QStringLiteral("SELECT Nom FROM OBJETS WHERE Numero = 2")), QStringLiteral("Chambre deux"));
    // The rows of both views move together, whichever is scrolled.
    for (int i = 3; i < 40; ++i)
        base.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (%1, 'Emplacement %1')").arg(i));
    p.modeleobjets->charger();
    QCoreApplication::processEvents();
    vue->verticalScrollBar()->setValue(vue->verticalScrollBar()->maximum());

    QCoreApplication::processEvents();
    EXPECT_GT(vue->verticalScrollBar()->value(), 0);
    EXPECT_EQ(figee->verticalScrollBar()->value(), vue->verticalScrollBar()->value());
    figee->scrollTo(figee->model()->index(0, ModeleObjets::Nom));
    QCoreApplication::processEvents();
    EXPECT_EQ(vue->verticalScrollBar()->value(), 0);
    EXPECT_EQ(figee->verticalScrollBar()->value(), 0);
}

// "Supprimer" clicked while a cell is still being edited: the removal is
// asked at once, what was typed dropped (not refused first).
TEST_F(Editeurs, SupprimerPendantUneSaisieSupprimeDuPremierCoup)
{
    parametres& p = *fenetre;
    p.SSTab1->setCurrentIndex(1);
    Repondeur repondeur;
    // The name emptied, which would be refused were it stored.
    const QModelIndex cellule = p.tableobjets->model()->index(1, ModeleObjets::Nom);
    p.tableobjets->setCurrentIndex(cellule);
    p.tableobjets->edit(cellule);
    QLineEdit* editeur = nullptr;
    for (QLineEdit* e : p.tableobjets->findChildren<QLineEdit*>())
        if (e->isVisible())
            editeur = e;
    ASSERT_NE(editeur, nullptr);
    editeur->setFocus();
    editeur->clear();
    QTest::mouseClick(p.supprimerobjet, Qt::LeftButton);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(repondeur.messages, QStringList());
    ASSERT_EQ(repondeur.questions.size(), 1);
    EXPECT_EQ(repondeur.questions[0], QStringLiteral("Supprimer le logement « Chambre 2 » ?"));
    EXPECT_EQ(nombre(QStringLiteral("SELECT count(*) FROM OBJETS WHERE Numero = 2")), 0);
    EXPECT_EQ(p.tableobjets->model()->rowCount(), 1);
}
