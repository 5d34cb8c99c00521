#pragma once
// Shared by the feed tests: a temporary database with two chalets, a fixed
// clock, feed texts, and the reservations read back as text.
#include "flux/synchronisation.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/requetes_flux.h"
#include "testutil.h"

#include <QSqlQuery>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace OutilsFlux {

inline QByteArray calendrier(const QByteArray& evenements)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Portail//Test//FR\r\n" + evenements + "END:VCALENDAR\r\n";
}

// One event of nights from `arrivee` to `depart` (AAAAMMJJ).
inline QByteArray evenement(const QByteArray& uid, const QByteArray& resume, const QByteArray& arrivee,
                            const QByteArray& depart)
{
    return "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20260601T000000Z\r\nSUMMARY:" + resume
         + "\r\nDTSTART;VALUE=DATE:" + arrivee + "\r\nDTEND;VALUE=DATE:" + depart + "\r\nEND:VEVENT\r\n";
}

class BaseFlux : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Horloge::fixer(Dates::naive(QDate(2026, 7, 1), QTime(10, 0)));
        base.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (10, 'Chalet Les Pins')"));
        base.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (11, 'Chalet Bruyère')"));
    }
    void TearDown() override { Horloge::liberer(); }

    void donnerFlux(qint32 objet, const QStringList& adresses)
    {
        QString erreur;
        ASSERT_TRUE(RequetesFlux::remplacerAdresses(base.base(), objet, adresses, &erreur)) << erreur.toStdString();
    }

    std::optional<Synchronisation::Bilan> synchroniser(const Telechargement::Options& options = {})
    {
        Synchronisation::Synchroniseur run(base.base(), QTime(14, 0), QTime(12, 0));
        run.fixerOptions(options);
        QString erreur;
        auto bilan = run.executer(&erreur);
        EXPECT_TRUE(bilan.has_value()) << erreur.toStdString();
        return bilan;
    }

    // "10 Booking 2026-07-12 14:00 → 2026-07-19 12:00 [Portail]" by unit then arrival.
    QStringList reservations() const
    {
        QSqlQuery q(base.base());
        q.exec(QStringLiteral("SELECT objet, nomclient, DateDebut, DateFin, ETATS.Nom FROM RESERVATIONS "
                              "LEFT JOIN ETATS ON Etat = Code ORDER BY objet, DateDebut, NumeroReservation"));
        QStringList lignes;
        while (q.next())
            lignes << QStringLiteral("%1 %2 %3 → %4 [%5]").arg(q.value(0).toString(), q.value(1).toString(),
                                                              q.value(2).toString().left(16),
                                                              q.value(3).toString().left(16), q.value(4).toString());
        return lignes;
    }
    QStringList journal() const
    {
        QSqlQuery q(base.base());
        q.exec(QStringLiteral("SELECT numeroreservation, libelle FROM OPERATIONS ORDER BY rowid"));
        QStringList lignes;
        while (q.next())
            lignes << q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString();
        return lignes;
    }

    TestUtil::BaseTemporaire base{QStringLiteral("flux")};
};

} // namespace OutilsFlux
