// Child process of the backup tests.
//
//   aide_sauvegardes ecrire BASE DEBUT   writes account rows in transactions
//       numbered from DEBUT until it is killed; prints "AVANT k" just before
//       the commit of transaction k and "APRES k" once the commit returned.
//       Transaction k holds 1 + k % 7 rows of OPERATIONS numbered k; 2 ms
//       pass between two transactions.
//   aide_sauvegardes marteler BASE DEBUT as ecrire, but every transaction
//       holds 21 rows (short labels) and the next one starts at once (a
//       desk importing).
//   aide_sauvegardes creneau INI TOP     waits until the file TOP exists, then
//       takes the start's backup slot as the program does and prints it.
//   aide_sauvegardes reserver BASE N TOP waits until the file TOP exists, then
//       books N stays of unit 1 (stay k: two nights from day 3k) as the
//       reservation window does, the unit seen free; prints "OK k" when
//       stored, "AUTRE k" when another desk had booked it, "ERREUR k <why>".
//   aide_sauvegardes verrouiller BASE    starts a write (the file's lock),
//       prints "VERROU" and waits to be killed without committing.
#include "app/demarrage.h"
#include "config/chemins.h"
#include "store/base.h"
#include "store/requetes_reservation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <cstdio>

namespace {

// The rows of transaction k, and the pause after each commit (µs).
// The rows of transaction k, the length of their labels, and the pause
// after each commit (µs).
struct Rythme {
    int (*lignes)(qint64 k);
    int longueur;
    unsigned long pauseUs;
};
// Long labels make each commit write several pages.
const Rythme kPoste = {[](qint64 k) { return int(1 + k % 7); }, 600, 2000};
// Short ones keep the file small enough for a few seconds of writing.
const Rythme kImport = {[](qint64) { return 21; }, 40, 0};

int ecrire(const QString& chemin, qint64 debut, const Rythme& rythme)
{
    QString erreur;
    const auto base = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("aide"), &erreur);
    if (!base) {
        std::fprintf(stderr, "%s\n", qPrintable(erreur));
        return 1;
    }
    QSqlDatabase db = *base;
    const QString libelle = QString(rythme.longueur, QLatin1Char('x'));
    for (qint64 k = debut;; ++k) {
        if (!db.transaction())
            return 2;
        QSqlQuery q(db);
        q.prepare(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) "
                                 "VALUES (?, '2026-12-09 10:00:00', ?, '', ?)"));
        for (int i = 0; i < rythme.lignes(k); ++i) {
            q.addBindValue(k);
            q.addBindValue(double(i));
            q.addBindValue(libelle);
            if (!q.exec()) {
                std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
                return 3;
            }
        }
        std::printf("AVANT %lld\n", k);
        std::fflush(stdout);
        if (!db.commit()) {
            std::fprintf(stderr, "commit %lld refusé\n", k);
            db.rollback();
            continue;
        }
        std::printf("APRES %lld\n", k);
        std::fflush(stdout);
        // A desk's pace, quick as it is: between two transactions the file
        // is free for a moment, as it is between two sales.
        if (rythme.pauseUs)
            QThread::usleep(rythme.pauseUs);
    }
}

int creneau(const QString& ini, const QString& top)
{
    Chemins::fixerDossierProgramme(QFileInfo(ini).absolutePath());
    for (int i = 0; i < 20000 && !QFileInfo::exists(top); ++i)
        QThread::usleep(500);
    const Demarrage::Sauvegarde s = Demarrage::Sauvegarder(ini, QString());
    std::printf("%d\n", s.slot);
    return 0;
}

int reserver(const QString& chemin, int n, const QString& top)
{
    QString erreur;
    const auto base = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("aide"), &erreur);
    if (!base) {
        std::fprintf(stderr, "%s\n", qPrintable(erreur));
        return 1;
    }
    for (int i = 0; i < 20000 && !QFileInfo::exists(top); ++i)
        QThread::usleep(500);
    for (int k = 0; k < n; ++k) {
        Requetes::Reservation r;
        r.objet = 1;
        r.nomclient = QStringLiteral("Poste %1").arg(QCoreApplication::applicationPid());
        r.debut = QDateTime(QDate(2027, 1, 1).addDays(3 * k), QTime(14, 0), Qt::UTC);
        r.fin = r.debut.addDays(2);
        r.etat = 1;
        const QList<qint32> acceptes;
        bool nouveau = false;
        if (RequetesReservation::creer(*base, r, QStringLiteral("Création"), &erreur, &acceptes, &nouveau))
            std::printf("OK %d\n", k);
        else if (nouveau)
            std::printf("AUTRE %d\n", k);
        else
            std::printf("ERREUR %d %s\n", k, qPrintable(erreur));
        std::fflush(stdout);
    }
    return 0;
}

int verrouiller(const QString& chemin)
{
    const auto base = Base::ouvrir(chemin, Base::Ouverture::Existante, QStringLiteral("aide"));
    QSqlQuery q(base ? *base : QSqlDatabase());
    if (!base || !q.exec(QStringLiteral("BEGIN IMMEDIATE"))
        || !q.exec(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (99, 'jamais validé')")))
        return 1;
    std::printf("VERROU\n");
    std::fflush(stdout);
    for (;;)
        QThread::sleep(1);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("ecrire"))
        return ecrire(args.at(2), args.at(3).toLongLong(), kPoste);
    if (args.size() == 4 && args.at(1) == QLatin1String("marteler"))
        return ecrire(args.at(2), args.at(3).toLongLong(), kImport);
    if (args.size() == 4 && args.at(1) == QLatin1String("creneau"))
        return creneau(args.at(2), args.at(3));
    if (args.size() == 5 && args.at(1) == QLatin1String("reserver"))
        return reserver(args.at(2), args.at(3).toInt(), args.at(4));
    if (args.size() == 3 && args.at(1) == QLatin1String("verrouiller"))
        return verrouiller(args.at(2));
    std::fprintf(stderr, "usage: aide_sauvegardes ecrire BASE DEBUT | marteler BASE DEBUT | creneau INI TOP | reserver BASE N TOP | verrouiller BASE\n");
    return 64;
}
