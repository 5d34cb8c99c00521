// Time of a calendar refresh (queries and painting into the offscreen
// surfaces) against the size of the reservation history, and of one step of
// a held day button. Prints figures, asserts nothing; the budget is under
// 8 ms with 100 rows shown, the 20-year history no more than 1.2 times the
// 1-year one.
//
//   bench_planning [repetitions [units years]]
#include "generateur.h"
#include "store/contexte.h"
#include "planning/form1.h"
#include "planning/grille.h"
#include "planning/surface.h"
#include "store/base.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/requetes.h"
#include "ui/xpcmdbutton.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

using Generateur::mediane;
using Generateur::mesurer;

const QDate kAujourdhui(2026, 6, 15);

bool remplir(const QSqlDatabase& base, int unites, int annees)
{
    return Generateur::remplir(base, unites, annees, kAujourdhui);
}

// One step of the held ">" button in its fast phase: the clock moves by a
// thirtieth of a second, the repeat's tick moves the grid one day.
double pasMaintenu(Form1& f, int repetitions, double* processeur)
{
    QDateTime horloge = Dates::naive(kAujourdhui, QTime(10, 0));
    Horloge::fixer(horloge);
    emit f.MvtJourSuivant->MouseDown(-1, Qt::LeftButton, {}, 1, 1);
    // Past the slow phase, before measuring.
    horloge = horloge.addMSecs(2500);
    Horloge::fixer(horloge);
    f.mouvements_Timer();
    const double t = mesurer(repetitions, [&](int) {
        horloge = horloge.addMSecs(34);
        Horloge::fixer(horloge);
        f.mouvements_Timer();
    }, processeur);
    emit f.MvtJourSuivant->MouseUp(-1, Qt::LeftButton, {}, 1, 1);
    Horloge::fixer(Dates::naive(kAujourdhui, QTime(10, 0)));
    return t;
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

        double cpuAujourdhui = 0, cpuPasse = 0, cpuPas = 0;
        const double aujourdhui = mesurer(repetitions, [&](int i) {
            f.datedepart = kAujourdhui.addDays(i % 2);
            f.rafraichir();
        }, &cpuAujourdhui);
        const double passe = mesurer(repetitions, [&](int i) {
            f.datedepart = kAujourdhui.addDays(-annees * 365 / 2 + i % 2);
            f.rafraichir();
        }, &cpuPasse);
        f.datedepart = kAujourdhui;
        f.rafraichir();
        const double pas = pasMaintenu(f, repetitions, &cpuPas);
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
        std::printf("%3d unités x %2d an(s) (%6d séjours, %d barres), médianes en ms (horloge / processeur) :\n"
                    "    rafraichir %7.2f / %7.2f (aujourd'hui), %7.2f / %7.2f (milieu de l'historique)\n"
                    "    pas du bouton maintenu %7.2f / %7.2f ; requêtes sans borne %7.2f ;"
                    " fenêtre ordinaire défilée à la ligne %d : %7.2f\n",
                    unites, annees, n.value(0).toInt(), barres, aujourdhui, cpuAujourdhui, passe, cpuPasse,
                    pas, cpuPas, toutLire, f.premiereLigne, defile);
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
