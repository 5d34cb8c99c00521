// Time of the start's backup step on 100 units x 20 years: the check of the
// database (quick_check, and integrity_check beside it), the snapshot
// through SQLite into a slot, the check of one slot by the restore window,
// and the launch to the calendar with the check running behind it. The old
// raw file copy is printed as the baseline. Prints figures; asserts nothing.
//
//   bench_sauvegarde [repetitions]
#include "generateur.h"
#include "app/gardienbase.h"
#include "app/lanceur.h"
#include "app/sauvegardes.h"
#include "config/chemins.h"
#include "app/demarrage.h"
#include "store/base.h"
#include "store/copiebase.h"
#include "store/dates.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Generateur::mediane;

const QDate kAujourdhui(2026, 6, 15);

double mesurer(int repetitions, const std::function<void()>& f)
{
    std::vector<double> temps;
    QElapsedTimer chrono;
    for (int i = 0; i < repetitions; ++i) {
        chrono.start();
        f();
        temps.push_back(chrono.nsecsElapsed() / 1e6);
    }
    return mediane(temps);
}

double compter(const QSqlDatabase& db, const char* table)
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))) && q.next() ? q.value(0).toDouble() : -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    QTemporaryDir dossier;
    Chemins::fixerDossierProgramme(dossier.path());
    const QString chemin = Demarrage::CheminBaseParDefaut();
    const QString connexion = QStringLiteral("bench");
    {
        QString erreur;
        const auto base = Base::ouvrir(chemin, Base::Ouverture::CreerSiAbsente, connexion, &erreur);
        if (!base || !Generateur::remplir(*base, 100, 20, kAujourdhui, true)) {
            std::printf("base impossible : %s\n", qPrintable(erreur));
            return 1;
        }
        std::printf("base 100 unites x 20 ans : %.0f reservations, %.0f lignes de compte, %.1f Mo\n",
                    compter(*base, "RESERVATIONS"), compter(*base, "OPERATIONS"), QFileInfo(chemin).size() / 1e6);

        const QString brute = dossier.filePath(QStringLiteral("brute.db"));
        const double copieBrute = mesurer(repetitions, [&] { QFile::remove(brute); QFile::copy(chemin, brute); });
        const double quick = mesurer(repetitions, [&] { CopieBase::controler(*base); });
        const double integrity = mesurer(repetitions, [&] { CopieBase::controler(*base, true); });
        const QString cible = dossier.filePath(QStringLiteral("instantane.db"));
        const double instantane = mesurer(repetitions, [&] { CopieBase::copier(*base, cible); });
        const double creneau = mesurer(repetitions, [&] { Sauvegardes::Verifier(cible); });

        std::printf("copie brute du fichier (ancienne sauvegarde, reference) : %7.1f ms\n", copieBrute);
        std::printf("quick_check sur la base ouverte                        : %7.1f ms (seuil 300 ms)\n", quick);
        std::printf("integrity_check sur la base ouverte                    : %7.1f ms\n", integrity);
        std::printf("instantane VACUUM INTO + fsync + renommage             : %7.1f ms\n", instantane);
        std::printf("verification d'un creneau (fenetre de restauration)    : %7.1f ms (seuil 100 ms par creneau)\n", creneau);
    }
    CopieBase::fermer(connexion);

    const double etape = mesurer(repetitions, [&] { Sauvegardes::ControlerEtCopier(chemin, 1); });
    std::printf("etape complete du demarrage (controle + instantane)    : %7.1f ms, en arriere-plan\n", etape);

    // Launch to the calendar: the check and the snapshot run behind it.
    std::vector<double> lancements, totaux;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer chrono;
        chrono.start();
        {
            Lanceur lanceur;
            if (!lanceur.demarrer(OptionsLancement{}))
                return 1;
            QApplication::processEvents();
            lancements.push_back(chrono.nsecsElapsed() / 1e6);
            lanceur.gardien()->attendre();
            totaux.push_back(chrono.nsecsElapsed() / 1e6);
        }
        QSqlDatabase::removeDatabase(QLatin1String(Demarrage::kConnexion));
    }
    std::printf("lancement jusqu'au calendrier affiche                  : %7.1f ms (seuil 300 ms)\n", mediane(lancements));
    std::printf("lancement jusqu'a la sauvegarde ecrite                 : %7.1f ms\n", mediane(totaux));
    return 0;
}
