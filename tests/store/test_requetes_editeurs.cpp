#include "store/dates.h"
#include "store/requetes_editeurs.h"
#include "testutil.h"

#include <gtest/gtest.h>

using namespace RequetesEditeurs;

namespace {

Requetes::Objet unite(qint32 numero, const char* nom)
{
    Requetes::Objet o;
    o.numero = numero;
    o.nom = QString::fromUtf8(nom);
    return o;
}

qint32 reserver(const QSqlDatabase& db, qint32 objet, QDate debut, QTime hDebut, QDate fin, QTime hFin, qint32 etat = 1)
{
    Requetes::Reservation r;
    r.objet = objet;
    r.nomclient = QStringLiteral("Client");
    r.debut = Dates::naive(debut, hDebut);
    r.fin = Dates::naive(fin, hFin);
    r.etat = etat;
    return Requetes::ajouterReservation(db, r).value_or(0);
}

} // namespace

TEST(Editeurs, UnitsAreAddedRenamedAndRemovedOnlyWhenFree)
{
    TestUtil::BaseTemporaire t;
    const QSqlDatabase db = t.base();
    EXPECT_EQ(prochainNumeroObjet(db), 1);
    EXPECT_TRUE(ajouterObjet(db, unite(1, "Chambre 1")));
    QString erreur;
    EXPECT_FALSE(ajouterObjet(db, unite(1, "Doublon"), &erreur));
    EXPECT_TRUE(erreur.contains(QStringLiteral("déjà")));
    EXPECT_FALSE(ajouterObjet(db, unite(2, "   "), &erreur));
    EXPECT_EQ(prochainNumeroObjet(db), 2);

    Requetes::Objet renomme = unite(1, "Suite 1");
    renomme.nomInternet = QStringLiteral("  ");   // blank means "use the name"
    EXPECT_TRUE(modifierObjet(db, renomme));
    const auto objets = Requetes::objets(db);
    ASSERT_TRUE(objets && objets->size() == 1);
    EXPECT_EQ(objets->at(0).nom.toString(), QStringLiteral("Suite 1"));
    EXPECT_TRUE(objets->at(0).nomInternet.isNull());
    EXPECT_FALSE(modifierObjet(db, unite(9, "Absent"), &erreur));

    reserver(db, 1, QDate(2026, 1, 1), QTime(14, 0), QDate(2026, 1, 3), QTime(12, 0));
    reserver(db, 1, QDate(2026, 2, 1), QTime(14, 0), QDate(2026, 2, 3), QTime(12, 0));
    EXPECT_FALSE(supprimerObjet(db, 1, &erreur));
    EXPECT_TRUE(erreur.contains(QStringLiteral("2 réservations"))) << erreur.toStdString();
    EXPECT_EQ(Requetes::objets(db)->size(), 1);
    t.executer(QStringLiteral("DELETE FROM RESERVATIONS"));
    EXPECT_TRUE(supprimerObjet(db, 1));
    EXPECT_TRUE(Requetes::objets(db)->isEmpty());
}

TEST(Editeurs, ArticlesKeepCentsAndRefuseBadInput)
{
    TestUtil::BaseTemporaire t;
    const QSqlDatabase db = t.base();
    const auto id = ajouterArticle(db, {QStringLiteral("Boissons"), QString::fromUtf8(" Café "), 1.555});
    ASSERT_TRUE(id.has_value());
    QString erreur;
    EXPECT_FALSE(ajouterArticle(db, {QStringLiteral("B"), QStringLiteral(" "), 1}, &erreur).has_value());
    EXPECT_FALSE(erreur.isEmpty());
    EXPECT_FALSE(ajouterArticle(db, {QStringLiteral("B"), QStringLiteral("x"), std::nan("")}, &erreur).has_value());
    EXPECT_TRUE(modifierArticle(db, *id, {QStringLiteral("Bar"), QStringLiteral("Espresso"), 2}));
    EXPECT_FALSE(modifierArticle(db, 999, {QStringLiteral("Bar"), QStringLiteral("x"), 2}, &erreur));
    auto lignes = articles(db);
    ASSERT_TRUE(lignes && lignes->size() == 1);
    EXPECT_EQ(lignes->at(0).article.libelle, QStringLiteral("Espresso"));
    EXPECT_DOUBLE_EQ(lignes->at(0).article.prixTTC, 2.0);
    EXPECT_TRUE(supprimerArticle(db, *id));
    EXPECT_TRUE(articles(db)->isEmpty());
    const auto id2 = ajouterArticle(db, {QString(), QStringLiteral("Glace"), 1.555});
    EXPECT_DOUBLE_EQ(articles(db)->at(0).article.prixTTC, 1.56);
    EXPECT_TRUE(id2.has_value());
}

TEST(Editeurs, UnitsKeepTheirCategoryAndArticlesTheirVatRate)
{
    TestUtil::BaseTemporaire t;
    const QSqlDatabase db = t.base();
    Requetes::Objet chalet = unite(1, "Chalet 1");
    chalet.categorie = QStringLiteral(" Chalet ");
    ASSERT_TRUE(ajouterObjet(db, chalet));
    EXPECT_EQ(Requetes::objets(db)->at(0).categorie, QStringLiteral("Chalet"));
    chalet.categorie = QStringLiteral("Chambre");
    ASSERT_TRUE(modifierObjet(db, chalet));
    EXPECT_EQ(t.valeur(QStringLiteral("SELECT Categorie FROM OBJETS WHERE Numero = 1")).toString(), QStringLiteral("Chambre"));

    const auto id = ajouterArticle(db, {QStringLiteral("Boissons"), QStringLiteral("Bière"), 4, 20});
    ASSERT_TRUE(id.has_value());
    EXPECT_DOUBLE_EQ(articles(db)->at(0).article.tauxTVA, 20.0);
    const struct { double taux; bool accepte; double lu; } cas[] = {
        {5.5, true, 5.5}, {0, true, 0}, {100, true, 100}, {-1, false, 100}, {100.01, false, 100}, {std::nan(""), false, 100},
    };
    for (const auto& c : cas) {
        QString erreur;
        EXPECT_EQ(modifierArticle(db, *id, {QStringLiteral("Boissons"), QStringLiteral("Bière"), 4, c.taux}, &erreur), c.accepte)
            << c.taux;
        EXPECT_EQ(erreur.contains(QStringLiteral("entre 0 et 100")), !c.accepte) << erreur.toStdString();
        EXPECT_DOUBLE_EQ(articles(db)->at(0).article.tauxTVA, c.lu) << c.taux;
    }
    // A rate left Null (a row written before rates were kept) is the usual 10 %.
    t.executer(QStringLiteral("UPDATE CONSOMMATIONS SET tauxTVA = NULL"));
    EXPECT_DOUBLE_EQ(articles(db)->at(0).article.tauxTVA, 10.0);
}

TEST(Editeurs, StatesTakeTheNextCodeAndStayWhileUsed)
{
    TestUtil::BaseTemporaire t;
    const QSqlDatabase db = t.base();
    const auto code = ajouterEtat(db, QStringLiteral("Arrivé"), 0x00FF00);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 4); // after the three default states
    EXPECT_TRUE(renommerEtat(db, *code, QStringLiteral("Sur place")));
    QString erreur;
    EXPECT_FALSE(renommerEtat(db, *code, QString(), &erreur));
    EXPECT_FALSE(ajouterEtat(db, QStringLiteral(" "), 0, &erreur).has_value());
    TestUtil::Logements(db, {1});
    reserver(db, 1, QDate(2026, 1, 1), QTime(14, 0), QDate(2026, 1, 3), QTime(12, 0), *code);
    EXPECT_FALSE(supprimerEtat(db, *code, &erreur));
    EXPECT_TRUE(erreur.contains(QStringLiteral("1 réservation "))) << erreur.toStdString();
    EXPECT_TRUE(supprimerEtat(db, 2));
    const auto etats = Requetes::etats(db);
    ASSERT_TRUE(etats.has_value());
    QStringList noms;
    for (const auto& e : *etats)
        noms << e.nom;
    EXPECT_EQ(noms, (QStringList{QString::fromUtf8("Confirmé"), QString::fromUtf8("Fermé"), QStringLiteral("Sur place")}));
}

TEST(Editeurs, OverlapsIncludeHoursAndSkipTheReservationItself)
{
    TestUtil::BaseTemporaire t;
    const QSqlDatabase db = t.base();
    const QDate j(2026, 7, 10);
    TestUtil::Logements(db, {1, 2});
    const qint32 existante = reserver(db, 1, j, QTime(14, 0), j.addDays(3), QTime(12, 0));
    reserver(db, 2, j, QTime(14, 0), j.addDays(3), QTime(12, 0)); // other unit
    struct Cas { const char* nom; QDate d; QTime hd; QDate f; QTime hf; int attendu; };
    const Cas cas[] = {
        {"same nights", j, QTime(14, 0), j.addDays(3), QTime(12, 0), 1},
        {"arrives the day it leaves", j.addDays(3), QTime(14, 0), j.addDays(5), QTime(12, 0), 0},
        {"leaves the day it arrives", j.addDays(-2), QTime(14, 0), j, QTime(12, 0), 0},
        {"arrives before it leaves", j.addDays(3), QTime(10, 0), j.addDays(5), QTime(12, 0), 1},
        {"inside", j.addDays(1), QTime(14, 0), j.addDays(2), QTime(12, 0), 1},
        {"covers", j.addDays(-5), QTime(14, 0), j.addDays(9), QTime(12, 0), 1},
        {"long before", j.addDays(-20), QTime(14, 0), j.addDays(-10), QTime(12, 0), 0},
    };
    for (const Cas& c : cas) {
        const auto lignes = chevauchements(db, 1, Dates::naive(c.d, c.hd), Dates::naive(c.f, c.hf), 0);
        ASSERT_TRUE(lignes.has_value());
        EXPECT_EQ(lignes->size(), c.attendu) << c.nom;
    }
    // Modifying a reservation does not clash with itself.
    EXPECT_TRUE(chevauchements(db, 1, Dates::naive(j, QTime(14, 0)), Dates::naive(j.addDays(3), QTime(12, 0)), existante)->isEmpty());
}
