#pragma once
// A generated history of two and a half years on four units: stays across
// months and years, day uses, states not sold, stay charges at two VAT
// rates posted before, during and after the stay with their corrections,
// tax posted or not, cancelled stays with their reversals and fees, rows
// of deleted reservations, bar sales and payments.
#include "store/dates.h"
#include "testutil.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace Historiques {

struct Unite {
    int numero;
    QString categorie;
};

struct Resa {
    int numero, objet, etat, adultes, enfants;
    QDate debut, fin;
    QDate annulation;   // invalid while the stay stands
};

struct Op {
    int reservation;
    QDateTime date;
    qint64 centimes;    // as stored: a charge is negative
    QString paiement, libelle;
    double tva;
};

struct Historique {
    QList<Unite> unites;
    QList<Resa> resas;
    QList<Op> ops;
};

inline QString texte(const QDateTime& d)
{
    return Dates::versTexteBase(d);
}

inline Historique generer()
{
    Historique h;
    h.unites = {{1, QStringLiteral("Chalet")}, {2, QStringLiteral("Chalet")}, {3, QStringLiteral("Emplacement")}, {4, {}}};
    QRandomGenerator a(20261209);
    int numero = 1;
    const char* const codes[] = {"ESP", "CB ", "CHQ", "VIR"};
    for (const Unite& u : h.unites) {
        QDate jour(2025, 1, 1 + a.bounded(20));
        while (jour < QDate(2027, 6, 1)) {
            const int nuits = a.bounded(20) == 0 ? 0 : 1 + a.bounded(20);
            Resa r{numero++, u.numero, 1 + a.bounded(3), a.bounded(4), a.bounded(3), jour, jour.addDays(nuits), {}};
            if (a.bounded(10) == 0)
                r.annulation = jour.addDays(-1 - a.bounded(60));
            h.resas.append(r);
            auto poster = [&](QDate d, qint64 c, const QString& l, double tva, const QString& p = QStringLiteral("   ")) {
                h.ops.append({r.numero, Dates::naive(d, QTime(10, a.bounded(60))), c, p, l, tva});
            };
            auto quand = [&] { return jour.addDays(a.bounded(nuits + 60) - 40); };
            const qint64 sejour = -(2000 + a.bounded(7000)) * std::max(1, nuits) - a.bounded(100);
            poster(quand(), sejour, QStringLiteral("SEJOUR %1 nuits").arg(nuits), 10);
            if (a.bounded(5) == 0)
                poster(quand(), -(500 + a.bounded(3000)), QStringLiteral("SEJOUR ménage"), 20);
            const qint64 taxe = -80 * r.adultes * nuits;
            if (a.bounded(10) < 7 && taxe != 0)
                poster(quand(), taxe, QStringLiteral("TAXE DE SEJOUR %1 adultes").arg(r.adultes), 0);
            if (a.bounded(7) == 0)
                poster(quand(), a.bounded(4001) - 2000, QStringLiteral("CORRECTION SEJOUR dates changées (TVA 10 %)"), 10);
            if (a.bounded(9) == 0)
                poster(quand(), 80 * (a.bounded(3) - 1), QStringLiteral("CORRECTION TAXE DE SEJOUR adultes"), 0);
            poster(jour.addDays(a.bounded(std::max(1, nuits))), -(150 + a.bounded(900)), QStringLiteral("BAR Café\r\n1 x 1,50"), 20);
            if (a.bounded(4) == 0)
                poster(quand(), -(1000 + a.bounded(2000)), QStringLiteral("Location vélo"), 20);
            poster(quand(), 5000 + a.bounded(50000), QStringLiteral("Paiement"), 0, QString::fromLatin1(codes[a.bounded(4)]));
            if (r.annulation.isValid()) {
                // The reversal of the stay (not always), and the fee.
                if (a.bounded(5) != 0)
                    poster(r.annulation, -sejour, QStringLiteral("CORRECTION SEJOUR annulation (TVA 10 %)"), 10);
                poster(r.annulation, -3000, QStringLiteral("FRAIS D'ANNULATION 30,00"), 0);
            }
            jour = jour.addDays(nuits + a.bounded(6) - (nuits > 3 ? 2 : 0));
        }
    }
    // Rows of reservations deleted since.
    for (int i = 0; i < 25; ++i)
        h.ops.append({90000 + i, Dates::naive(QDate(2025, 1, 1).addDays(a.bounded(900)), QTime(9, 0)),
                      -(100 + a.bounded(20000)), QStringLiteral("   "),
                      i % 2 ? QStringLiteral("SEJOUR supprimé") : QStringLiteral("TAXE DE SEJOUR supprimée"), 10});
    return h;
}

inline void enregistrer(const TestUtil::BaseTemporaire& b, const Historique& h)
{
    const TestUtil::SansRegles anciennes(b.base());
    b.executer(QStringLiteral("UPDATE ETATS SET Vendu = 0 WHERE Code = 3"));
    QSqlDatabase db = b.base();
    ASSERT_TRUE(db.transaction());
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO OBJETS (Numero, Nom, Categorie) VALUES (?, ?, ?)"));
    for (const Unite& u : h.unites) {
        q.addBindValue(u.numero);
        q.addBindValue(QStringLiteral("Logement %1").arg(u.numero));
        q.addBindValue(u.categorie.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(u.categorie));
        ASSERT_TRUE(q.exec());
    }
    q.prepare(QStringLiteral("INSERT INTO RESERVATIONS (NumeroReservation, objet, nomclient, DateDebut, DateFin, Etat, "
                             "nbadultes, nbenfants, Annulation) VALUES (?, ?, 'Client', ?, ?, ?, ?, ?, ?)"));
    for (const Resa& r : h.resas) {
        q.addBindValue(r.numero);
        q.addBindValue(r.objet);
        q.addBindValue(texte(Dates::naive(r.debut, QTime(14, 0))));
        q.addBindValue(texte(Dates::naive(r.fin, QTime(11, 0))));
        q.addBindValue(r.etat);
        q.addBindValue(r.adultes);
        q.addBindValue(r.enfants);
        q.addBindValue(r.annulation.isValid() ? QVariant(texte(Dates::naive(r.annulation, QTime(11, 0))))
                                              : QVariant(QMetaType(QMetaType::QString)));
        ASSERT_TRUE(q.exec());
    }
    q.prepare(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle, tauxtva) "
                             "VALUES (?, ?, ?, ?, ?, ?)"));
    for (const Op& o : h.ops) {
        q.addBindValue(o.reservation);
        q.addBindValue(texte(o.date));
        q.addBindValue(double(o.centimes) / 100.0);
        q.addBindValue(o.paiement);
        q.addBindValue(o.libelle);
        q.addBindValue(o.tva);
        ASSERT_TRUE(q.exec());
    }
    ASSERT_TRUE(db.commit());
}

} // namespace Historiques
