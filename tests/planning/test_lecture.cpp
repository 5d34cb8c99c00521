// The calendar reads only the stays of the shown period: every bar that
// shows a pixel is still read, in the same order as a read of the whole
// history.
#include "planning/grille.h"
#include "planning/lecture.h"
#include "store/dates.h"
#include "store/requetes.h"
#include "store/requetes_planning.h"
#include "testutil.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

using Grille::Rectangle;

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
    // The calendar reads whatever the file holds, an older program's rows too.
    const TestUtil::SansRegles anciennes(db);
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
    const TestUtil::SansRegles anciennes(db);   // a stay without unit, one in a state gone
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

TEST(LecturePlanning, KeptRowsGiveWhatTheStatementGivesUntilTheDatabaseChanges)
{
    TestUtil::BaseTemporaire t;
    const QSqlDatabase db = t.base();
    t.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Un')"));
    const QDate d(2026, 7, 10);
    const QVariant null(QMetaType(QMetaType::QString));
    struct Sejour { const char* client; QVariant debut, fin; };
    const Sejour sejours[] = {
        {"long", texte(d, -200, 14), texte(d, 10, 12)},
        {"fini à minuit", texte(d, -3, 14), texte(d, 0, 0)},
        {"normal", texte(d, 2, 14), texte(d, 5, 12)},
        {"à l'envers", texte(d, 3, 14), texte(d, -5, 12)},
        {"sans fin", texte(d, 1, 14), null},
        {"sans fin ancien", texte(d, -3, 14), null},
        {"fin illisible", texte(d, 2, 14), QStringLiteral("n'importe quoi")},
        {"sans début", null, texte(d, 3, 12)},
        {"plus tard", texte(d, 40, 14), texte(d, 45, 12)},
        {"bien plus tard", texte(d, 100, 14), texte(d, 120, 12)},
    };
    for (const Sejour& s : sejours)
        inserer(db, QString::fromUtf8(s.client), s.debut, s.fin);

    auto lignes = [](const std::optional<LecturePlanning::ParUnite>& lu) {
        return lu ? lu->value(1) : QList<Requetes::ReservationPlanning>();
    };
    auto numeros = [&](const std::optional<LecturePlanning::ParUnite>& lu) {
        QList<qint32> n;
        for (const auto& l : lignes(lu))
            n << l.reservation.numero;
        return n;
    };
    LecturePlanning lecture;
    // Day by day forward and back, then jumps: the kept rows serve while
    // the shown period stays inside them.
    struct Vue { int decalage; int lectures; };
    const Vue vues[] = {{0, 1}, {1, 1}, {2, 1}, {-1, 1}, {-4, 1}, {30, 1}, {60, 1}, {95, 2}, {-200, 3}};
    for (const Vue& v : vues) {
        const QDate depart = d.addDays(v.decalage);
        const QDate avant = depart.addDays(24);
        const QDateTime fin = Grille::finMinimaleVisible(depart, 20);
        const auto gardees = lecture.reservations(db, avant, fin);
        const QList<qint32> attendues = numeros(RequetesPlanning::reservationsDuPlanning(db, avant, fin));
        // Every row of the statement, in its order; any other row draws nothing.
        qsizetype suite = 0;
        for (const auto& l : lignes(gardees)) {
            const qsizetype i = attendues.indexOf(l.reservation.numero);
            if (i < 0) {
                EXPECT_FALSE(montreUnPixel(Grille::barreDepuis(l, depart, 20, 20, 0).r, 465))
                    << l.reservation.nomclient.toStdString() << " " << v.decalage;
                continue;
            }
            EXPECT_EQ(i, suite) << l.reservation.nomclient.toStdString() << " " << v.decalage;
            suite = i + 1;
        }
        EXPECT_EQ(suite, attendues.size()) << v.decalage;
        EXPECT_EQ(lecture.lecturesFaites(), v.lectures) << v.decalage;
    }
    // A stay stored, or a table changed, is read at the next refresh.
    const QDate avant = d.addDays(24);
    const QDateTime fin = Grille::finMinimaleVisible(d, 20);
    const int lectures = lecture.lecturesFaites();
    lecture.reservations(db, avant, fin);
    EXPECT_EQ(lecture.lecturesFaites(), lectures + 1);   // back from the far past
    inserer(db, QStringLiteral("nouveau"), texte(d, 4, 14), texte(d, 6, 12));
    const QList<qint32> apres = numeros(lecture.reservations(db, avant, fin));
    for (qint32 n : numeros(RequetesPlanning::reservationsDuPlanning(db, avant, fin)))
        EXPECT_TRUE(apres.contains(n)) << n;
    EXPECT_EQ(apres.size(), numeros(RequetesPlanning::reservationsDuPlanning(db, avant, fin)).size() + 1);   // "sans fin ancien"
    EXPECT_EQ(lecture.lecturesFaites(), lectures + 2);
    // The units: read once, then kept until a table changes.
    lecture.unites(db);
    lecture.unites(db);
    EXPECT_TRUE(lecture.depuisMemoire());
    t.executer(QStringLiteral("CREATE TABLE essai (x INTEGER)"));
    lecture.unites(db);
    EXPECT_FALSE(lecture.depuisMemoire());
}

TEST(LecturePlanning, LabelsThatMoveWithAStepOfTheDays)
{
    struct Cas { Rectangle barre; int dx; bool deplacee; };
    const Cas cas[] = {
        {{-30, 2, 50, 18}, -20, true},   // a step forward cuts it at the left
        {{10, 2, 50, 18}, 20, true},     // a step back uncut it (it was at -10)
        {{30, 2, 50, 18}, -20, false},   // whole before and after
        {{25, 2, 60, 18}, 20, false},
        {{-50, 2, -5, 18}, -20, true},   // left the grid, its label was at the edge
        {{-90, 2, -40, 18}, -20, false}, // out of sight before and after
        {{-90, 2, 10, 18}, 20, true},    // came back into sight, cut
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Grille::etiquetteDeplacee(c.barre, c.dx), c.deplacee) << c.barre.x1 << " " << c.dx;
}
