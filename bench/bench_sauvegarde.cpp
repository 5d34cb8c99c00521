// Time of the start's backup step on 100 units x 20 years: the check of the
// database (quick_check, and integrity_check beside it), the snapshot
// through SQLite into a slot, the check of one slot by the restore window,
// and the launch to the calendar with the check running behind it. The old
// raw file copy is printed as the baseline. Prints figures; asserts nothing.
//
//   bench_sauvegarde [repetitions]
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
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QDate kAujourdhui(2026, 6, 15);

// N units with about 40 stays a year over Y years and a few months ahead,
// each stay with its creation line, a deposit and a few bar sales.
bool remplir(const QSqlDatabase& base, int unites, int annees)
{
    QSqlDatabase db = base;
    db.transaction();
    QSqlQuery q(db), op(db);
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
    op.prepare(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) "
                              "VALUES (?, ?, ?, ?, ?)"));
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
            const qint64 numero = q.lastInsertId().toLongLong();
            const QString date = Dates::versTexteBase(Dates::naive(jour, QTime(15, 0)));
            const int lignes = 2 + alea.bounded(4);
            for (int i = 0; i < lignes; ++i) {
                op.addBindValue(numero);
                op.addBindValue(date);
                op.addBindValue(i == 0 ? 0.0 : (i == 1 ? 50.0 : -3.5));
                op.addBindValue(i == 1 ? QStringLiteral("CB") : QString());
                op.addBindValue(i == 0 ? QStringLiteral("Création de la reservation")
                                       : (i == 1 ? QStringLiteral("Arrhes") : QStringLiteral("Bière pression")));
                if (!op.exec())
                    return false;
            }
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
        if (!base || !remplir(*base, 100, 20)) {
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
