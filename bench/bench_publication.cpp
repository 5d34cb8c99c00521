// Publication run on 100 units with 20 years of history each: prints the
// time of each run and their median.
#include "publish/publication.h"
#include "store/base.h"
#include "store/dates.h"
#include "store/horloge.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <vector>

namespace {

constexpr int kUnites = 100;
constexpr int kAnnees = 20;
constexpr int kRuns = 7;

// Back-to-back stays of 2 to 9 nights with a free day now and then, from
// 20 years ago to a year ahead; about one in ten in an unpublished state.
bool remplir(const QSqlDatabase& base, const QDate& aujourdhui, qint64* reservations)
{
    QSqlDatabase db = base;
    db.transaction();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (?, ?)"));
    for (int u = 1; u <= kUnites; ++u) {
        q.addBindValue(u);
        q.addBindValue(QStringLiteral("Emplacement %1").arg(u));
        if (!q.exec())
            return false;
    }
    q.prepare(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) "
                             "VALUES (?, 'Client', ?, ?, ?)"));
    quint32 alea = 12345;
    auto suivant = [&alea](int n) {
        alea = alea * 1103515245u + 12345u;
        return int((alea >> 16) % quint32(n));
    };
    *reservations = 0;
    for (int u = 1; u <= kUnites; ++u) {
        QDate jour = aujourdhui.addYears(-kAnnees);
        const QDate fin = aujourdhui.addYears(1);
        while (jour < fin) {
            const int nuits = 2 + suivant(8);
            q.addBindValue(u);
            q.addBindValue(Dates::versTexteBase(Dates::naive(jour, QTime(15, 0))));
            q.addBindValue(Dates::versTexteBase(Dates::naive(jour.addDays(nuits), QTime(11, 0))));
            q.addBindValue(suivant(10) == 0 ? 2 : 1);
            if (!q.exec())
                return false;
            ++*reservations;
            jour = jour.addDays(nuits + suivant(3));
        }
    }
    return db.commit();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dossier;
    QString erreur;
    const auto base = Base::ouvrir(dossier.filePath(QStringLiteral("bench.db")), Base::Ouverture::CreerSiAbsente,
                                   QStringLiteral("bench"), &erreur);
    if (!base) {
        std::fprintf(stderr, "base : %s\n", qPrintable(erreur));
        return 1;
    }
    Horloge::fixer(QDateTime(QDate(2025, 6, 15), QTime(9, 0)));
    qint64 reservations = 0;
    QElapsedTimer chrono;
    chrono.start();
    if (!remplir(*base, Horloge::aujourdhui(), &reservations)) {
        std::fprintf(stderr, "remplissage impossible\n");
        return 1;
    }
    std::printf("base : %d objets, %lld réservations (%lld ms)\n", kUnites, static_cast<long long>(reservations),
                static_cast<long long>(chrono.elapsed()));

    // Wall time and the process's processor time: the machine may be shared.
    std::vector<double> durees;
    std::vector<double> processeur;
    for (int i = 0; i < kRuns; ++i) {
        Publication::MiseAJourPages run(*base, dossier.path());
        run.fixerLanceur([](const QString&) { return false; });
        chrono.restart();
        const std::clock_t debut = std::clock();
        const Publication::Issue issue = run.executer();
        durees.push_back(chrono.nsecsElapsed() / 1e6);
        processeur.push_back(double(std::clock() - debut) * 1000.0 / CLOCKS_PER_SEC);
        if (issue != Publication::Issue::SansScript) {
            std::fprintf(stderr, "publication : %s\n", qPrintable(run.erreur()));
            return 1;
        }
        std::printf("publication %d : %.1f ms (processeur %.1f ms)\n", i + 1, durees.back(), processeur.back());
    }
    std::sort(durees.begin(), durees.end());
    std::sort(processeur.begin(), processeur.end());
    std::printf("médiane de %d publications de %d pages : %.1f ms (processeur %.1f ms)\n", kRuns, kUnites,
                durees[durees.size() / 2], processeur[processeur.size() / 2]);
    return 0;
}
