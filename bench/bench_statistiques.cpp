// Time of the figures of a period on a long history: one year's figures
// (budget 60 ms of processor) and every figure of the whole history
// (budget 300 ms), the 20-year monthly chart, each statement apart, with
// the window's whole work (sums, tables and charts) beside them. Prints
// figures and their ratio to the budget, asserts nothing.
//
//   bench_statistiques [repetitions [units years]]
#include "generateur.h"
#include "statistiques/statistiques.h"
#include "statistiques/statistiquesfenetre.h"
#include "statistiques/taxesejour.h"
#include "store/base.h"
#include "store/contexte.h"
#include "store/cumuls.h"
#include "store/horloge.h"
#include "store/requetes_statistiques.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

using Generateur::mediane;

const QDate kAujourdhui(2026, 6, 15);

// Median elapsed time, and the median processor time of this thread: on a
// machine shared with other work the second one tells what the program
// itself costs.
struct Mesure {
    double ecoule = 0;
    double processeur = 0;
};

template <typename F>
Mesure mesurer(int repetitions, F&& f)
{
    Mesure m;
    m.ecoule = Generateur::mesurer(repetitions, std::forward<F>(f), &m.processeur);
    return m;
}

qint64 compter(const QSqlDatabase& base, const char* table)
{
    QSqlQuery q(base);
    return q.exec(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))) && q.next()
        ? q.value(0).toLongLong() : -1;
}

void cas(int unites, int annees, int repetitions)
{
    QTemporaryDir dossier;
    // BENCH_GARDER=1 keeps the generated database for reading its plans.
    dossier.setAutoRemove(qEnvironmentVariableIsEmpty("BENCH_GARDER"));
    if (!dossier.autoRemove())
        std::printf("base gardée : %s\n", qPrintable(dossier.filePath(QStringLiteral("bench.db"))));
    const QString connexion = QStringLiteral("bench_stats_%1_%2").arg(unites).arg(annees);
    {
        QString erreur;
        const auto base = Base::ouvrir(dossier.filePath(QStringLiteral("bench.db")),
                                       Base::Ouverture::CreerSiAbsente, connexion, &erreur);
        if (!base || !Generateur::remplir(*base, unites, annees, kAujourdhui, true)) {
            std::printf("base impossible : %s\n", qPrintable(erreur));
            return;
        }
        const QDate debutAnnee(kAujourdhui.year() - 1, 1, 1);
        const QDate finAnnee(kAujourdhui.year() - 1, 12, 31);
        const QDate debutTout = kAujourdhui.addYears(-annees);
        // The first reading sums the whole history once (every row was
        // just written).
        const Mesure premiere = mesurer(1, [&](int) { Statistiques::Calculer(*base, debutAnnee, finAnnee, std::nullopt); });

        const Mesure annee = mesurer(repetitions, [&](int) {
            Statistiques::Calculer(*base, debutAnnee, finAnnee, std::nullopt);
        });
        const Mesure graphique = mesurer(std::max(3, repetitions / 4), [&](int) {
            Statistiques::CalculerParMois(*base, debutTout, kAujourdhui, std::nullopt);
        });
        const Mesure tout = mesurer(std::max(3, repetitions / 4), [&](int) {
            Statistiques::Calculer(*base, debutTout, kAujourdhui, std::nullopt);
        });
        const Mesure taxe = mesurer(repetitions, [&](int) {
            TaxeSejour::Lire(*base, TaxeSejour::DebutTrimestre(2025, 3), TaxeSejour::FinTrimestre(2025, 3), 0.8,
                             std::nullopt);
        });

        // Each statement of the figures, for the year and for everything.
        namespace R = RequetesStatistiques;
        struct Requete {
            const char* nom;
            std::function<void(const R::Filtre&)> f;
        };
        const R::Prefixes prefixes = Statistiques::PrefixesDesNatures();
        const Requete requetes[] = {
            {"nuits par mois et logement", [&](const R::Filtre& f) { R::nuitsParMoisEtUnite(*base, f); }},
            {"arrivées", [&](const R::Filtre& f) { R::arrivees(*base, f); }},
            {"journal par logement", [&](const R::Filtre& f) { R::journal(*base, f, prefixes, true); }},
            {"séjours sur leurs nuits, par logement", [&](const R::Filtre& f) { R::recettesEtalees(*base, f, true); }},
            {"soldes", [&](const R::Filtre& f) { R::soldes(*base, f); }},
            {"dates illisibles", [&](const R::Filtre& f) { R::datesIllisibles(*base, f); }},
            {"comptes ouverts", [&](const R::Filtre& f) { R::comptes(*base, f); }},
            {"sommes des mois entiers, par logement", [&](const R::Filtre& f) {
                 Cumuls::Lire(*base, QDate(f.debut.year(), f.debut.month(), 1), QDate(f.fin.year(), f.fin.month(), 1),
                              f.categorie, true);
             }},
            {"sommes des mois entiers", [&](const R::Filtre& f) {
                 Cumuls::Lire(*base, QDate(f.debut.year(), f.debut.month(), 1), QDate(f.fin.year(), f.fin.month(), 1),
                              f.categorie, false);
             }},
        };
        std::vector<std::pair<const char*, std::pair<Mesure, Mesure>>> detail;
        for (const Requete& r : requetes)
            detail.push_back({r.nom, {mesurer(std::max(3, repetitions / 4), [&](int) { r.f({debutAnnee, finAnnee, {}}); }),
                                      mesurer(3, [&](int) { r.f({debutTout, kAujourdhui, {}}); })}});

        // The window: its tables and charts redrawn for the year, then
        // for the whole history month by month.
        Contexte contexte;
        contexte.BaseOuverte = *base;
        StatistiquesFenetre f(&contexte);
        f.resize(1000, 700);
        f.genre->setCurrentIndex(StatistiquesFenetre::Annee);
        f.annee->setValue(debutAnnee.year());
        const Mesure fenetreAnnee = mesurer(std::max(3, repetitions / 4), [&](int) { f.rafraichir(); });
        f.genre->setCurrentIndex(StatistiquesFenetre::Dates);
        f.debut->setDate(debutTout);
        f.fin->setDate(kAujourdhui);
        const Mesure fenetreTout = mesurer(3, [&](int) { f.rafraichir(); });

        std::printf("%3d unités x %2d ans (%lld séjours, %lld lignes du journal), médianes écoulé (processeur) :\n",
                    unites, annees, compter(*base, "RESERVATIONS"), compter(*base, "OPERATIONS"));
        const auto ligne = [](const char* nom, const Mesure& m, double budget) {
            std::printf("  %-36s %8.1f ms (%7.1f ms)", nom, m.ecoule, m.processeur);
            if (budget > 0)
                std::printf("  budget %4.0f ms, processeur/budget %.2f", budget, m.processeur / budget);
            std::printf("\n");
        };
        ligne("première lecture, tout à sommer", premiere, 0);
        ligne("chiffres d'une année", annee, 60);
        ligne("graphique mois par mois, tout", graphique, 0);
        ligne("tous les chiffres, tout", tout, 300);
        ligne("déclaration d'un trimestre", taxe, 0);
        ligne("fenêtre, une année", fenetreAnnee, 0);
        ligne("fenêtre, tout mois par mois", fenetreTout, 0);
        std::printf("  par requête, processeur : une année / tout\n");
        for (const auto& [nom, m] : detail)
            std::printf("    %-38s %8.1f ms / %8.1f ms\n", nom, m.first.processeur, m.second.processeur);
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
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 21;
    if (argc > 3) {
        cas(std::max(1, atoi(argv[2])), std::max(1, atoi(argv[3])), repetitions);
        return 0;
    }
    cas(100, 20, repetitions);
    return 0;
}
