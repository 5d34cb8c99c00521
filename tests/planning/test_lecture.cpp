// The calendar reads only the stays of the shown period: every bar that
// shows a pixel is still read, in the same order as a read of the whole
// history.
#include "planning/grille.h"
#include "store/dates.h"
#include "store/requetes.h"
#include "store/requetes_planning.h"
#include "testutil.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

// A stored date relative to a day, in the database's text form.
QString texte(const QDate& d, int jours, int heure)
{
    return Dates::versTexteBase(Dates::naive(d.addDays(jours), QTime(heure, 0)));
}

void inserer(const QSqlDatabase& db, const QString& client, const QVariant& debut, const QVariant& fin)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) "
                             "VALUES (1, :c, :d, :f, 1)"));
    q.bindValue(QStringLiteral(":c"), client);
    q.bindValue(QStringLiteral(":d"), debut);
    q.bindValue(QStringLiteral(":f"), fin);
    ASSERT_TRUE(q.exec());
}

bool montreUnPixel(const Grille::Rectangle& r, int largeur)
{
    return std::max(r.x1, r.x2) >= 0 && std::min(r.x1, r.x2) <= largeur;
}

} // namespace

TEST(LecturePlanning, BoundedReadKeepsEveryVisibleBarInOrder)
{
    TestUtil::BaseTemporaire t;
    const QSqlDatabase db = t.base();
    const QDate d(2026, 7, 10);
    const QVariant null(QMetaType(QMetaType::QString));
    struct Sejour { const char* client; QVariant debut, fin; };
    const Sejour sejours[] = {
        {"ancien", texte(d, -700, 14), texte(d, -690, 12)},
        {"long", texte(d, -200, 14), texte(d, 10, 12)},
        {"fini à minuit", texte(d, -3, 14), texte(d, 0, 0)},
        {"fini à 3 h", texte(d, -3, 14), texte(d, 0, 3)},
        {"fini la veille", texte(d, -4, 14), texte(d, -1, 12)},
        {"normal", texte(d, 2, 14), texte(d, 5, 12)},
        {"à l'envers", texte(d, 3, 14), texte(d, -5, 12)},
        {"à l'envers juste avant", texte(d, -1, 23), texte(d, -10, 12)},
        {"à l'envers ancien", texte(d, -30, 14), texte(d, -40, 12)},
        {"sans fin", texte(d, 1, 14), null},
        {"sans fin ancien", texte(d, -3, 14), null},
        {"fin illisible", texte(d, 2, 14), QStringLiteral("n'importe quoi")},
        {"fin illisible ancienne", texte(d, -20, 14), QStringLiteral("01/02/2003")},
        {"début illisible", QStringLiteral("01/02/2003"), texte(d, 3, 12)},
        {"sans début", null, texte(d, 3, 12)},
        {"futur lointain", texte(d, 400, 14), texte(d, 410, 12)},
        {"dernier jour", texte(d, 23, 14), texte(d, 30, 12)},
    };
    for (const Sejour& s : sejours)
        inserer(db, QString::fromUtf8(s.client), s.debut, s.fin);
    // The schema indexes the end of stays for this read.
    QSqlQuery index(db);
    ASSERT_TRUE(index.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'idx_reservations_objet_fin'"))
                && index.next());
    ASSERT_EQ(index.value(0).toInt(), 1);

    struct Vue { int decalage; int largeurJour; int largeur; };
    const Vue vues[] = {{0, 20, 465}, {-2, 20, 465}, {3, 20, 300}, {0, 1, 40}, {-1, 7, 100}, {1, 2, 50}};
    for (const Vue& v : vues) {
        const QDate depart = d.addDays(v.decalage);
        const QDate avant = depart.addDays(Grille::nombreColonnes(v.largeur, v.largeurJour));
        const auto tout = Requetes::reservationsDeObjet(db, 1, avant);
        const auto borne = Requetes::reservationsDeObjet(db, 1, avant, Grille::finMinimaleVisible(depart, v.largeurJour));
        ASSERT_TRUE(tout.has_value());
        ASSERT_TRUE(borne.has_value());

        QStringList visibles, lus, ordreComplet;
        for (const auto& l : *tout) {
            ordreComplet << l.reservation.nomclient;
            const Grille::Barre b = Grille::barreDepuis(l, depart, v.largeurJour, 20, 0);
            if (montreUnPixel(b.r, v.largeur))
                visibles << l.reservation.nomclient;
        }
        for (const auto& l : *borne)
            lus << l.reservation.nomclient;
        // Every visible bar is read ...
        for (const QString& c : visibles)
            EXPECT_TRUE(lus.contains(c)) << c.toStdString() << " vue " << v.decalage << "/" << v.largeurJour;
        // ... the bounded read adds nothing the full one lacks, in the same order ...
        qsizetype suite = 0;
        for (const QString& c : lus) {
            const qsizetype i = ordreComplet.indexOf(c, suite);
            EXPECT_GE(i, 0) << c.toStdString() << " hors ordre";
            suite = i + 1;
        }
        // ... and history is left behind.
        EXPECT_FALSE(lus.contains(QStringLiteral("ancien")));
        EXPECT_FALSE(lus.contains(QString::fromUtf8("à l'envers ancien")));
    }
}

TEST(LecturePlanning, BoundedReadWorksWithoutTheEndIndex)
{
    // A file that cannot take the index is read the same, only slower.
    TestUtil::BaseTemporaire t;
    const QSqlDatabase db = t.base();
    const QDate d(2026, 7, 10);
    inserer(db, QStringLiteral("long"), texte(d, -50, 14), texte(d, 2, 12));
    inserer(db, QStringLiteral("ancien"), texte(d, -50, 14), texte(d, -40, 12));
    inserer(db, QStringLiteral("court"), texte(d, 1, 14), texte(d, 2, 12));
    const auto borne = Requetes::reservationsDeObjet(db, 1, d.addDays(24), Grille::finMinimaleVisible(d, 20));
    ASSERT_TRUE(borne.has_value());
    ASSERT_EQ(borne->size(), 2);
    EXPECT_EQ(borne->at(0).reservation.nomclient, QStringLiteral("long"));
    EXPECT_EQ(borne->at(1).reservation.nomclient, QStringLiteral("court"));
}

TEST(LecturePlanning, OneStatementForAllUnitsGivesEachUnitsRows)
{
    TestUtil::BaseTemporaire t;
    const QSqlDatabase db = t.base();
    const QDate d(2026, 7, 10);
    t.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Un'), (12, 'Douze'), (5, NULL)"));
    struct Sejour { int objet; const char* client; int debut, fin; int etat; };
    const Sejour sejours[] = {
        {12, "b", 3, 6, 1}, {1, "a2", 4, 8, 2}, {1, "a1", -30, 2, 77}, {12, "ancien", -60, -50, 1},
        {1, "a0", 4, 5, 1}, {9, "sans unité", 1, 3, 1}, {5, "c", 20, 22, 3}, {5, "loin", 90, 95, 1},
    };
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) "
                             "VALUES (:o, :c, :d, :f, :e)"));
    for (const Sejour& s : sejours) {
        q.bindValue(QStringLiteral(":o"), s.objet);
        q.bindValue(QStringLiteral(":c"), QString::fromUtf8(s.client));
        q.bindValue(QStringLiteral(":d"), texte(d, s.debut, 14));
        q.bindValue(QStringLiteral(":f"), texte(d, s.fin, 12));
        q.bindValue(QStringLiteral(":e"), s.etat);
        ASSERT_TRUE(q.exec());
    }
    const QDate avant = d.addDays(24);
    const QDateTime fin = Grille::finMinimaleVisible(d, 20);
    const auto toutes = RequetesPlanning::reservationsDuPlanning(db, avant, fin);
    ASSERT_TRUE(toutes.has_value());
    EXPECT_FALSE(toutes->contains(9));   // no unit 9: not read
    for (int unite : {1, 12, 5}) {
        const auto seule = Requetes::reservationsDeObjet(db, unite, avant, fin);
        ASSERT_TRUE(seule.has_value());
        const auto lignes = toutes->value(unite);
        ASSERT_EQ(lignes.size(), seule->size()) << unite;
        for (qsizetype i = 0; i < lignes.size(); ++i) {
            EXPECT_EQ(lignes.at(i).reservation.numero, seule->at(i).reservation.numero);
            EXPECT_EQ(lignes.at(i).reservation.debut, seule->at(i).reservation.debut);
            EXPECT_EQ(lignes.at(i).etatTrouve, seule->at(i).etatTrouve);
            EXPECT_EQ(lignes.at(i).couleur, seule->at(i).couleur);
            EXPECT_EQ(lignes.at(i).nom, seule->at(i).nom);
        }
    }
    QStringList un;
    for (const auto& l : toutes->value(1))
        un << l.reservation.nomclient;
    // By arrival, then by number for the same arrival.
    EXPECT_EQ(un, (QStringList{QStringLiteral("a1"), QStringLiteral("a2"), QStringLiteral("a0")}));
}
