#pragma once
// What the benchmarks share: the median of their measures, their timing, and their
// history: N units, each with about 40 stays a year
// over the Y years before `aujourdhui` and a few months of bookings ahead;
// with the journal, each stay also gets its stay charge, its tourist tax,
// a bar sale and a payment (about 4 rows a stay).
#include "store/dates.h"

#include <QDate>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <ctime>
#include <vector>

namespace Generateur {

// The middle of the measures (0 when there is none).
inline double mediane(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Processor time of this thread, in ms: unlike the wall clock it does not
// count the time other programs of a busy machine take.
inline double processeurMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Median wall time of the repetitions (ms); f receives the repetition's
// number. The median processor time goes to *processeur when asked.
template <typename F>
double mesurer(int repetitions, F&& f, double* processeur = nullptr)
{
    std::vector<double> temps;
    std::vector<double> cpu;
    QElapsedTimer chrono;
    for (int i = 0; i < repetitions; ++i) {
        const double c0 = processeurMs();
        chrono.start();
        f(i);
        temps.push_back(chrono.nsecsElapsed() / 1e6);
        cpu.push_back(processeurMs() - c0);
    }
    if (processeur)
        *processeur = mediane(cpu);
    return mediane(temps);
}

inline bool remplir(const QSqlDatabase& base, int unites, int annees, const QDate& aujourdhui, bool journal = false)
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
    QSqlQuery op(db);
    op.prepare(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) "
                              "VALUES (?, ?, ?, ?, ?)"));
    const char* const codes[] = {"ESP", "CB ", "CHQ", "VIR"};
    QRandomGenerator alea(1234);
    QRandomGenerator aleaJournal(5678);   // apart, so that the stays are the same with or without it
    const QDate fin = aujourdhui.addDays(120);
    for (int u = 1; u <= unites; ++u) {
        QDate jour = aujourdhui.addYears(-annees).addDays(alea.bounded(5));
        while (jour < fin) {
            const int nuits = 2 + alea.bounded(8);
            q.bindValue(QStringLiteral(":o"), u);
            q.bindValue(QStringLiteral(":c"), QStringLiteral("Client %1").arg(alea.bounded(100000)));
            q.bindValue(QStringLiteral(":d"), Dates::versTexteBase(Dates::naive(jour, QTime(14, 0))));
            q.bindValue(QStringLiteral(":f"), Dates::versTexteBase(Dates::naive(jour.addDays(nuits), QTime(12, 0))));
            q.bindValue(QStringLiteral(":e"), 1 + alea.bounded(3));
            if (!q.exec())
                return false;
            if (journal) {
                const qint64 numero = q.lastInsertId().toLongLong();
                const QString depart = Dates::versTexteBase(Dates::naive(jour.addDays(nuits), QTime(10, 0)));
                const double sejour = 40.0 * nuits;
                const double taxe = 1.6 * nuits;
                const double bar = 2.5 * (1 + aleaJournal.bounded(6));
                const struct { double prix; const char* paiement; QString libelle; } lignes[] = {
                    {-sejour, "   ", QStringLiteral("SEJOUR %1 nuits").arg(nuits)},
                    {-taxe, "   ", QStringLiteral("TAXE DE SEJOUR %1 nuits").arg(nuits)},
                    {-bar, "   ", QStringLiteral("BAR Café\r\n1 x %1").arg(bar)},
                    {sejour + taxe + bar, codes[aleaJournal.bounded(4)], QStringLiteral("Paiement")},
                };
                for (const auto& l : lignes) {
                    op.addBindValue(numero);
                    op.addBindValue(depart);
                    op.addBindValue(l.prix);
                    op.addBindValue(QString::fromLatin1(l.paiement));
                    op.addBindValue(l.libelle);
                    if (!op.exec())
                        return false;
                }
            }
            // About 9 days from one arrival to the next: 40 stays a year.
            jour = jour.addDays(nuits + 1 + alea.bounded(6));
        }
    }
    return db.commit();
}

} // namespace Generateur
