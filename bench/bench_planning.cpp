// Time of a calendar refresh (queries and painting into the offscreen
// surfaces) against the size of the reservation history. Prints figures,
// asserts nothing.
//
//   bench_planning [repetitions [units years]]
#include "store/contexte.h"
#include "planning/form1.h"
#include "planning/grille.h"
#include "planning/surface.h"
#include "store/base.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/requetes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QDate kAujourdhui(2026, 6, 15);

// N units, each with about 40 stays a year over the Y years before today
// and a few months of bookings ahead.
bool remplir(const QSqlDatabase& base, int unites, int annees)
{
    QSqlDatabase db = base;
    db.transaction();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (:n, :nom)"));
    for (int u = 1; u <= unites; ++u) {
        q.bindValue(QStringLiteral(":n"), u);
        q.bindValue(QStringLiteral(":nom"), QStringLiteral("Unité %1").arg(u));
        if (!q.exec())
            return false;
    }
    q.prepare(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, arrhes, Etat, "
                             "nbadultes, nbenfants, remarque, telephone, email) VALUES "
                             "(:o, :c, :d, :f, 50, :e, 2, 1, ' ', ' ', ' ')"));
    QRandomGenerator alea(1234);
    const QDate fin = kAujourdhui.addDays(120);
    for (int u = 1; u <= unites; ++u) {
        QDate jour = kAujourdhui.addYears(-annees).addDays(alea.bounded(5));
        while (jour < fin) {
            const int nuits = 2 + alea.bounded(8);
            q.bindValue(QStringLiteral(":o"), u);
            q.bindValue(QStringLiteral(":c"), QStringLiteral("Client %1").arg(alea.bounded(100000)));
            q.bindValue(QStringLiteral(":d"), Dates::versTexteBase(Dates::naive(jour, QTime(14, 0))));
            q.bindValue(QStringLiteral(":f"), Dates::versTexteBase(Dates::naive(jour.addDays(nuits), QTime(12, 0))));
            q.bindValue(QStringLiteral(":e"), 1 + alea.bounded(3));
            if (!q.exec())
                return false;
            // About 9 days from one arrival to the next: 40 stays a year.
            jour = jour.addDays(nuits + 1 + alea.bounded(6));
        }
    }
    return db.commit();
}

double mediane(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

template <typename F>
double mesurer(int repetitions, F&& f)
{
    std::vector<double> temps;
    QElapsedTimer chrono;
    for (int i = 0; i < repetitions; ++i) {
        chrono.start();
        f(i);
        temps.push_back(chrono.nsecsElapsed() / 1e6);
    }
    return mediane(temps);
}

void cas(int unites, int annees, int repetitions)
{
    QTemporaryDir dossier;
    const QString connexion = QStringLiteral("bench_%1_%2").arg(unites).arg(annees);
    {
        QString erreur;
        const auto base = Base::ouvrir(dossier.filePath(QStringLiteral("bench.db")),
                                       Base::Ouverture::CreerSiAbsente, connexion, &erreur);
        if (!base || !remplir(*base, unites, annees)) {
            std::printf("base impossible : %s\n", qPrintable(erreur));
            return;
        }
        QSqlQuery n(*base);
        n.exec(QStringLiteral("SELECT count(*) FROM RESERVATIONS"));
        n.next();

        Contexte contexte;
        contexte.BaseOuverte = *base;
        contexte.champsdansbarre = QStringLiteral("[nomclient] ([nbadultes]ad/[nbenfants]en)");
        Form1 f(&contexte);
        // Every row on the grid: the whole cost of a refresh is counted. The
        // window is shown (offscreen) so that its size reaches the grid.
        f.resize(1000, 64 + 41 + 16 + unites * 20);
        f.fixerTailleCellules(20, 20);
        f.datedepart = kAujourdhui;
        f.show();
        f.rafraichir();   // warm-up; also prepares the index on the ends

        const double aujourdhui = mesurer(repetitions, [&](int i) {
            f.datedepart = kAujourdhui.addDays(i % 2);   // as a held day button does
            f.rafraichir();
        });
        const double passe = mesurer(repetitions, [&](int i) {
            f.datedepart = kAujourdhui.addDays(-annees * 365 / 2 + i % 2);
            f.rafraichir();
        });
        // The same period read from the whole history, for comparison.
        const int colonnes = Grille::nombreColonnes(f.planning->width(), 20);
        const double toutLire = mesurer(std::max(3, repetitions / 5), [&](int) {
            for (int u = 1; u <= unites; ++u)
                Requetes::reservationsDeObjet(*base, u, kAujourdhui.addDays(colonnes));
        });
        const int barres = int(f.Barres().size());
        // A window of the usual size, its rows scrolled halfway down.
        f.resize(633, 386);
        f.datedepart = kAujourdhui;
        f.premiereLigne = unites / 2;
        f.rafraichir();
        const double defile = mesurer(repetitions, [&](int i) {
            f.datedepart = kAujourdhui.addDays(i % 2);
            f.rafraichir();
        });
        std::printf("%3d unités x %2d an(s) (%6d séjours, %d barres) : rafraichir médiane %7.2f ms "
                    "(aujourd'hui), %7.2f ms (milieu de l'historique) ; requêtes sans borne %7.2f ms ; "
                    "fenêtre ordinaire défilée à la ligne %d : %7.2f ms\n",
                    unites, annees, n.value(0).toInt(), barres, aujourdhui, passe, toutLire,
                    f.premiereLigne, defile);
        std::fflush(stdout);
    }
    QSqlDatabase::removeDatabase(connexion);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Horloge::fixer(Dates::naive(kAujourdhui, QTime(10, 0)));
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 41;
    if (argc > 3) {
        cas(std::max(1, atoi(argv[2])), std::max(1, atoi(argv[3])), repetitions);
        return 0;
    }
    cas(30, 1, repetitions);
    cas(100, 1, repetitions);
    cas(100, 20, repetitions);
    return 0;
}
