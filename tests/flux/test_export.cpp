// The feeds written by the publication run, read back into another
// database; and the command-line run's output and exit statuses.
#include "outils.h"

#include "app/demarrage.h"
#include "app/synchronisationconsole.h"
#include "config/chemins.h"
#include "config/ini32.h"
#include "flux/calendrierics.h"
#include "flux/exportflux.h"
#include "publish/publication.h"

#include <QDir>
#include <QTemporaryDir>

using namespace OutilsFlux;

namespace {

class Export : public BaseFlux
{
protected:
    // Runs the publication into the database's folder; the feed of unit 10.
    QByteArray publier()
    {
        Publication::MiseAJourPages run(base.base(), base.dossier());
        run.fixerLanceur([](const QString&) { return false; });
        run.fixerDomaine(QStringLiteral("hotel.example.org"));
        EXPECT_EQ(run.executer(), Publication::Issue::SansScript) << run.erreur().toStdString();
        return TestUtil::lireFichier(base.dossier() + QStringLiteral("/Chalet_Les_Pins.ics"));
    }
    void sejour(qint32 objet, const char* client, const char* debut, const char* fin, int etat)
    {
        base.executer(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) "
                                     "VALUES (%1, '%2', '%3', '%4', %5)")
                          .arg(objet).arg(QString::fromUtf8(client), QString::fromUtf8(debut),
                                          QString::fromUtf8(fin)).arg(etat));
    }
};

} // namespace

TEST_F(Export, EachUnitGetsItsFeedBesideItsPageWithThePublishedStaysFrom30DaysAgo)
{
    // Today is 2026-07-01: 30 days ago is 2026-06-01. States 1 and 3 are published, 2 is not.
    sejour(10, "Parti", "2026-05-20 14:00:00", "2026-05-31 12:00:00", 1);     // 1: ended before: out
    sejour(10, "Récent", "2026-05-25 14:00:00", "2026-06-02 12:00:00", 1);    // 2: in
    sejour(10, "Option", "2026-07-05 14:00:00", "2026-07-08 12:00:00", 2);    // 3: not published
    sejour(10, "Dupont", "2026-07-12 14:00:00", "2026-07-19 12:00:00", 1);    // 4: in
    sejour(10, "Loin", "2029-01-02 14:00:00", "2029-01-09 12:00:00", 3);      // 5: in, however far
    sejour(11, "Autre", "2026-07-12 14:00:00", "2026-07-19 12:00:00", 1);     // 6: the other unit's
    const QByteArray flux = publier();
    ASSERT_FALSE(flux.isEmpty());
    EXPECT_TRUE(QFile::exists(base.dossier() + QStringLiteral("/Chalet_Les_Pins.html")));
    EXPECT_TRUE(QFile::exists(base.dossier() + QString::fromUtf8("/Chalet_Bruyère.ics")));
    EXPECT_TRUE(flux.contains("X-WR-CALNAME:Chalet Les Pins\r\n"));
    EXPECT_FALSE(flux.contains("Dupont"));   // the feed is public
    const auto lu = CalendrierICS::Lire(flux, QDate(2026, 7, 1));
    ASSERT_TRUE(lu.has_value());
    QStringList vus;
    for (const CalendrierICS::Evenement& e : lu->evenements)
        vus << QStringLiteral("%1 %2 %3 %4").arg(e.uid, e.resume, e.arrivee.toString(Qt::ISODate),
                                                e.depart.toString(Qt::ISODate));
    EXPECT_EQ(vus.join(QLatin1Char('|')).toStdString(),
              "2@hotel.example.org Réservé 2026-05-25 2026-06-02|4@hotel.example.org Réservé 2026-07-12 2026-07-19|"
              "5@hotel.example.org Réservé 2029-01-02 2029-01-09");
    // A second run gives the same events (the same UIDs: the portals update, not duplicate).
    const QByteArray encore = publier();
    EXPECT_EQ(encore.count("UID:"), 3);
    EXPECT_EQ(QDir(base.dossier()).entryList({QStringLiteral("*.ics")}).size(), 2);
}

TEST_F(Export, AFeedReadIntoAnotherDatabaseGivesTheSameNights)
{
    sejour(10, "Dupont", "2026-07-12 14:00:00", "2026-07-19 12:00:00", 1);
    sejour(10, "Martin", "2026-07-19 15:00:00", "2026-07-21 10:00:00", 1);
    sejour(10, "Travaux", "2026-08-30 08:00:00", "2026-09-02 18:00:00", 3);
    ASSERT_FALSE(publier().isEmpty());

    TestUtil::BaseTemporaire autre(QStringLiteral("portail"));
    autre.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chalet')"));
    ASSERT_TRUE(RequetesFlux::remplacerAdresses(autre.base(), 1, {base.dossier() + QStringLiteral("/Chalet_Les_Pins.ics")}));
    Synchronisation::Synchroniseur run(autre.base(), QTime(16, 0), QTime(11, 0));
    const auto bilan = run.executer();
    ASSERT_TRUE(bilan);
    EXPECT_TRUE(bilan->echecs.isEmpty());
    QSqlQuery q(autre.base());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT nomclient, DateDebut, DateFin FROM RESERVATIONS ORDER BY DateDebut")));
    QStringList nuits;
    while (q.next())
        nuits << q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString() + QStringLiteral(" → ")
                     + q.value(2).toString();
    EXPECT_EQ(nuits.join(QLatin1Char('|')).toStdString(),
              "Réservé 2026-07-12 16:00:00 → 2026-07-19 11:00:00|Réservé 2026-07-19 16:00:00 → 2026-07-21 11:00:00|"
              "Réservé 2026-08-30 16:00:00 → 2026-09-02 11:00:00");
    // Back-to-back stays are no conflict.
    EXPECT_TRUE(bilan->conflits.isEmpty());
}

TEST_F(Export, APortalsWordsNeverReachThePagesOrTheFeeds)
{
    const QString hostile = QStringLiteral("<script>alert(1)</script>'); DROP TABLE RESERVATIONS;--");
    const QString chemin = base.dossier() + QStringLiteral("/portail.ics");
    TestUtil::ecrireFichier(chemin, calendrier(evenement("a", hostile.toUtf8(), "20260712", "20260719")));
    donnerFlux(10, {chemin});
    ASSERT_TRUE(synchroniser());
    ASSERT_EQ(base.valeur(QStringLiteral("SELECT nomclient FROM RESERVATIONS")).toString(), hostile);
    // Even if the desk publishes the portals' state, only the nights go out.
    base.executer(QStringLiteral("UPDATE ETATS SET surinternet = 1 WHERE Nom = 'Portail'"));
    const QByteArray flux = publier();
    EXPECT_TRUE(flux.contains("DTSTART;VALUE=DATE:20260712"));
    const QByteArray page = TestUtil::lireFichier(base.dossier() + QStringLiteral("/Chalet_Les_Pins.html"));
    ASSERT_FALSE(page.isEmpty());
    for (const QByteArray& texte : {flux, page}) {
        EXPECT_FALSE(texte.contains("<script>"));
        EXPECT_FALSE(texte.contains("DROP TABLE"));
    }
}

TEST_F(Export, TheCommandLineRunPrintsTheConflictsAndSaysWhatWentWrongByItsStatus)
{
    const QString avant = Chemins::dossierProgramme();
    QTemporaryDir dossier;
    Chemins::fixerDossierProgramme(dossier.path());
    INI32::ProfilINI(QStringLiteral("system"), QStringLiteral("database"), base.chemin(),
                     Demarrage::CheminIniParDefaut(), 0);
    const QString portail = dossier.filePath(QStringLiteral("portail.ics"));
    donnerFlux(10, {portail});
    sejour(10, "Dupont", "2026-07-14 14:00:00", "2026-07-16 12:00:00", 1);

    struct Cas {
        const char* nom;
        QByteArray flux;    // empty: no file
        int statut;
        const char* sortie;
        const char* erreurs;
    };
    const Cas cas[] = {
        {"sans chevauchement", calendrier(evenement("a", "Booking", "20260801", "20260805")),
         SynchronisationConsole::SortieOK,
         "Chalet Les Pins : %1 ... OK\nCalendriers lus : 1 sur 1. Réservations créées : 1, modifiées : 0, "
         "annulées : 0.\nAucun chevauchement.\n", ""},
        {"chevauchement", calendrier(evenement("a", "Booking", "20260712", "20260719")),
         SynchronisationConsole::SortieConflits,
         "Chalet Les Pins : %1 ... OK\nCalendriers lus : 1 sur 1. Réservations créées : 0, modifiées : 1, "
         "annulées : 0.\nChevauchements à régler :\nChalet Les Pins : Booking 12/07–19/07 chevauche Dupont "
         "14/07–16/07\n", ""},
        {"flux absent", QByteArray(), SynchronisationConsole::SortieEchec,
         "Calendriers lus : 0 sur 1. Réservations créées : 0, "
         "modifiées : 0, annulées : 0.\nflux illisible : %1 : fichier introuvable\nChevauchements à régler :\n"
         "Chalet Les Pins : Booking 12/07–19/07 chevauche Dupont 14/07–16/07\n",
         "flux illisible : %1 : fichier introuvable\n"},
    };
    for (const Cas& c : cas) {
        QFile::remove(portail);
        if (!c.flux.isEmpty())
            TestUtil::ecrireFichier(portail, c.flux);
        QString sortie, erreurs;
        QTextStream flotSortie(&sortie), flotErreurs(&erreurs);
        EXPECT_EQ(SynchronisationConsole::Synchroniser(flotSortie, flotErreurs), c.statut) << c.nom;
        EXPECT_EQ(sortie.toStdString(), QString::fromUtf8(c.sortie).replace(QStringLiteral("%1"), portail).toStdString()) << c.nom;
        EXPECT_EQ(erreurs.toStdString(), QString::fromUtf8(c.erreurs).replace(QStringLiteral("%1"), portail).toStdString()) << c.nom;
    }

    // A database that cannot be opened.
    INI32::ProfilINI(QStringLiteral("system"), QStringLiteral("database"), dossier.filePath(QStringLiteral("absente.db")),
                     Demarrage::CheminIniParDefaut(), 0);
    QString sortie, erreurs;
    QTextStream flotSortie(&sortie), flotErreurs(&erreurs);
    EXPECT_EQ(SynchronisationConsole::Synchroniser(flotSortie, flotErreurs), SynchronisationConsole::SortieBase);
    EXPECT_FALSE(erreurs.isEmpty());
    Chemins::fixerDossierProgramme(avant);
}
