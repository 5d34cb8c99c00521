// The calendar of several desks: the refresh of the same history read from
// an SQLite file and from a PostgreSQL server (local socket), side by side
// in one run, and how long another desk's booking takes to reach a desk.
// Prints figures, asserts nothing; the goal is the server within twice
// the file's time.
//
//   bench_postes [repetitions [units years [address]]]
//   address: an empty database of the server (default postgresql:///planning_bench,
//   made when missing)
#include "generateur.h"
#include "planning/form1.h"
#include "store/base.h"
#include "store/contexte.h"
#include "store/dates.h"
#include "store/dialecte.h"
#include "store/horloge.h"
#include "store/requetes.h"
#include "store/requetes_planning.h"
#include "store/requetes_reservation.h"
#include "store/veilleurbase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <vector>

namespace {

using Generateur::mesurer;

const QDate kAujourdhui(2026, 6, 15);

// Makes the server's database when missing and empties it.
bool preparerServeur(const QString& adresse)
{
    QString nom = adresse.section(QLatin1Char('/'), -1).section(QLatin1Char('?'), 0, 0);
    {
        QSqlDatabase serveur = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("serveur"));
        serveur.setDatabaseName(QStringLiteral("postgres"));
        if (!serveur.open()) {
            std::printf("serveur injoignable : %s\n", qPrintable(serveur.lastError().text()));
            return false;
        }
        QSqlQuery q(serveur);
        q.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(nom));
        if (!q.exec(QStringLiteral("CREATE DATABASE %1").arg(nom))) {
            std::printf("base %s impossible : %s\n", qPrintable(nom), qPrintable(q.lastError().text()));
            return false;
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("serveur"));
    return true;
}

struct Mesures {
    double rafraichir = 0;   // a refresh of every row, today
    double passe = 0;        // the same in the middle of the history
    double fenetre = 0;      // a window of the usual size
    double lecture = 0;      // the shown period's statement alone, nothing kept (after a change)
    double annonce = 0;      // another desk's booking until this desk knows (median)
    int sejours = 0;
};

Mesures mesurerMoteur(const QString& chemin, int unites, int annees, int repetitions)
{
    Mesures m;
    {
        QString erreur;
        const auto base = Base::ouvrir(chemin, Base::Ouverture::CreerSiAbsente, QStringLiteral("ici"), &erreur);
        if (!base || !Generateur::remplir(*base, unites, annees, kAujourdhui)) {
            std::printf("base impossible : %s\n", qPrintable(erreur));
            return m;
        }
        if (Dialecte::estPostgres(*base))
            QSqlQuery(*base).exec(QStringLiteral("ANALYZE"));
        QSqlQuery n(*base);
        n.exec(QStringLiteral("SELECT count(*) FROM RESERVATIONS"));
        n.next();
        m.sejours = n.value(0).toInt();
        n.finish();   // a statement left open would hold the file against the other desk

        Contexte contexte;
        contexte.BaseOuverte = *base;
        contexte.champsdansbarre = QStringLiteral("[nomclient] ([nbadultes]ad/[nbenfants]en)");
        Form1 f(&contexte);
        f.resize(1000, 64 + 41 + 16 + unites * 20);
        f.fixerTailleCellules(20, 20);
        f.datedepart = kAujourdhui;
        f.show();
        f.rafraichir();
        m.rafraichir = mesurer(repetitions, [&](int i) {
            f.datedepart = kAujourdhui.addDays(i % 2);
            f.rafraichir();
        });
        m.passe = mesurer(repetitions, [&](int i) {
            f.datedepart = kAujourdhui.addDays(-annees * 365 / 2 + i % 2);
            f.rafraichir();
        });
        m.lecture = mesurer(repetitions, [&](int i) {
            RequetesPlanning::reservationsDuPlanning(*base, kAujourdhui.addDays(40 + i % 2),
                                                     Dates::naive(kAujourdhui.addDays(i % 2), QTime()));
        });
        f.resize(633, 386);
        f.datedepart = kAujourdhui;
        f.premiereLigne = unites / 2;
        f.rafraichir();
        m.fenetre = mesurer(repetitions, [&](int i) {
            f.datedepart = kAujourdhui.addDays(i % 2);
            f.rafraichir();
        });

        // Another desk books; this desk's watcher tells the calendar.
        {
            const auto ailleurs = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("ailleurs"));
            VeilleurBase veilleur(*base);
            QEventLoop attente;
            QObject::connect(&veilleur, &VeilleurBase::baseChangee, &attente, &QEventLoop::quit);
            m.annonce = mesurer(std::min(repetitions, 7), [&](int i) {
                Requetes::Reservation r;
                r.objet = 1;
                r.nomclient = QStringLiteral("Autre poste %1").arg(i);
                r.debut = Dates::naive(kAujourdhui.addDays(400 + 3 * i), QTime(14, 0));
                r.fin = r.debut.addDays(2);
                r.etat = 1;
                QString erreur;
                if (!RequetesReservation::creer(*ailleurs, r, QStringLiteral("Création"), &erreur))
                    std::printf("réservation de l'autre poste refusée : %s\n", qPrintable(erreur));
                QTimer::singleShot(5000, &attente, &QEventLoop::quit);
                attente.exec();
            });
        }
        QSqlDatabase::removeDatabase(QStringLiteral("ailleurs"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("ici"));
    return m;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Horloge::fixer(Dates::naive(kAujourdhui, QTime(10, 0)));
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 21;
    const int unites = argc > 3 ? std::max(1, atoi(argv[2])) : 100;
    const int annees = argc > 3 ? std::max(1, atoi(argv[3])) : 20;
    const QString adresse = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QStringLiteral("postgresql:///planning_bench");

    QTemporaryDir dossier;
    const Mesures fichier = mesurerMoteur(dossier.filePath(QStringLiteral("bench.db")), unites, annees, repetitions);
    if (!preparerServeur(adresse))
        return 1;
    const Mesures serveur = mesurerMoteur(adresse, unites, annees, repetitions);
    std::printf("%d unités x %d ans (%d séjours), médianes en ms, fichier SQLite / serveur PostgreSQL (rapport) :\n",
                unites, annees, fichier.sejours);
    auto ligne = [](const char* quoi, double a, double b) {
        std::printf("    %-40s %8.2f / %8.2f  (x %.2f)\n", quoi, a, b, a > 0 ? b / a : 0.0);
    };
    ligne("rafraîchir toutes les lignes, aujourd'hui", fichier.rafraichir, serveur.rafraichir);
    ligne("rafraîchir, milieu de l'historique", fichier.passe, serveur.passe);
    ligne("fenêtre ordinaire", fichier.fenetre, serveur.fenetre);
    ligne("lecture de la période, après un changement", fichier.lecture, serveur.lecture);
    ligne("réservation d'un autre poste connue", fichier.annonce, serveur.annonce);
    return 0;
}
