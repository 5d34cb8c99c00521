// Feeds fetched from a local HTTP server started by the test (127.0.0.1
// only) and from files, read into the reservations: new, changed and
// cancelled events, failures that change nothing, double bookings.
#include "outils.h"
#include "serveur.h"

#include "flux/telechargement.h"

#include <QNetworkAccessManager>
#include <QTemporaryDir>

using namespace OutilsFlux;

namespace {

class Synchronisation_ : public BaseFlux
{
protected:
    void SetUp() override
    {
        BaseFlux::SetUp();
        ASSERT_TRUE(serveur.pret());
    }
    ServeurTest serveur;
};

} // namespace

// A local port nobody listens on: one a server had and gave back.
quint16 portFerme()
{
    QTcpServer serveur;
    serveur.listen(QHostAddress::LocalHost, 0);
    return serveur.serverPort();
}

TEST_F(Synchronisation_, FetchingFollowsRedirectsAndRefusesErrorsAndHugeBodies)
{
    const QByteArray flux = calendrier(evenement("a", "Booking", "20260712", "20260719"));
    const QByteArray enorme(10 * 1024 * 1024, 'x');
    serveur.poser("/flux.ics", flux);
    serveur.rediriger("/ancien.ics", serveur.url(QStringLiteral("/flux.ics")).toUtf8());
    serveur.poserReponse("/enorme.ics", {"HTTP/1.1 200 OK\r\nContent-Type: text/calendar", enorme});
    serveur.poserReponse("/enorme-sans-longueur.ics", {"HTTP/1.1 200 OK\r\nContent-Type: text/calendar", enorme,
                                                       false, false});
    serveur.poserReponse("/muet.ics", {QByteArray(), QByteArray(), true});
    QTemporaryDir dossier;
    TestUtil::ecrireFichier(dossier.filePath(QStringLiteral("local.ics")), flux);
    TestUtil::ecrireFichier(dossier.filePath(QStringLiteral("gros.ics")), QByteArray(6 * 1024 * 1024, 'x'));

    struct Cas {
        QString adresse;
        int delaiMs;
        const char* erreur;   // "" when the feed is read
    };
    const Cas cas[] = {
        {serveur.url(QStringLiteral("/flux.ics")), 20000, ""},
        {serveur.url(QStringLiteral("/ancien.ics")), 20000, ""},
        {serveur.url(QStringLiteral("/absent.ics")), 20000, "le serveur répond 404"},
        {serveur.url(QStringLiteral("/enorme.ics")), 20000, "réponse de plus de 5 Mo, refusée"},
        {serveur.url(QStringLiteral("/enorme-sans-longueur.ics")), 20000, "réponse de plus de 5 Mo, refusée"},
        {serveur.url(QStringLiteral("/muet.ics")), 300, "pas de réponse en 0.3 s"},
        {dossier.filePath(QStringLiteral("local.ics")), 20000, ""},
        {QStringLiteral("file://") + dossier.filePath(QStringLiteral("local.ics")), 20000, ""},
        {dossier.filePath(QStringLiteral("absent.ics")), 20000, "fichier introuvable"},
        {dossier.filePath(QStringLiteral("gros.ics")), 20000, "fichier de plus de 5 Mo"},
        {dossier.path(), 20000, "ce n'est pas un fichier"},
        {QStringLiteral("http://127.0.0.1:%1/flux.ics").arg(portFerme()), 20000, "connexion refusée par le serveur"},
        {QStringLiteral("ftp://127.0.0.1/flux.ics"), 20000,
         "adresse non reconnue (http://, https://, file:// ou chemin d'un fichier)"},
    };
    QNetworkAccessManager reseau;
    for (const Cas& c : cas) {
        QString erreur;
        Telechargement::Options options;
        options.delaiMs = c.delaiMs;
        const auto lu = Telechargement::Lire(reseau, c.adresse, options, &erreur);
        EXPECT_EQ(erreur, QString::fromUtf8(c.erreur)) << c.adresse.toStdString();
        if (*c.erreur == '\0')
            EXPECT_EQ(lu.value_or(QByteArray()), flux) << c.adresse.toStdString();
        else
            EXPECT_FALSE(lu.has_value()) << c.adresse.toStdString();
    }
}

TEST_F(Synchronisation_, NewChangedAndCancelledEventsFollowTheFeed)
{
    donnerFlux(10, {serveur.url(QStringLiteral("/pins.ics"))});
    serveur.poser("/pins.ics", calendrier(evenement("a@booking", "Booking", "20260712", "20260719")
                                          + evenement("b@booking", "Martin (Booking)", "20260801", "20260805")));
    auto bilan = synchroniser();
    ASSERT_TRUE(bilan);
    EXPECT_EQ(bilan->creees, 2);
    EXPECT_EQ(reservations(), (QStringList{
        QStringLiteral("10 Booking 2026-07-12 14:00 → 2026-07-19 12:00 [Portail]"),
        QStringLiteral("10 Martin (Booking) 2026-08-01 14:00 → 2026-08-05 12:00 [Portail]")}));
    // The state is made once, with its colour, and is not published.
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT count(*) FROM ETATS WHERE Nom = 'Portail'")).toInt(), 1);
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT surinternet FROM ETATS WHERE Nom = 'Portail'")).toInt(), 0);
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT CouleurPrincipale FROM ETATS WHERE Nom = 'Portail'")).toInt(),
              RequetesFlux::kCouleurPortail);

    // The same feed again changes nothing.
    bilan = synchroniser();
    ASSERT_TRUE(bilan);
    EXPECT_EQ(bilan->creees + bilan->deplacees + bilan->annulees, 0);

    // a moves, b goes, c comes.
    serveur.poser("/pins.ics", calendrier(evenement("a@booking", "Booking", "20260713", "20260720")
                                          + evenement("c@booking", "Durand", "20260901", "20260903")));
    bilan = synchroniser();
    ASSERT_TRUE(bilan);
    EXPECT_EQ(bilan->creees, 1);
    EXPECT_EQ(bilan->deplacees, 1);
    EXPECT_EQ(bilan->annulees, 1);
    EXPECT_EQ(reservations(), (QStringList{
        QStringLiteral("10 Booking 2026-07-13 14:00 → 2026-07-20 12:00 [Portail]"),
        QStringLiteral("10 Durand 2026-09-01 14:00 → 2026-09-03 12:00 [Portail]")}));
    EXPECT_EQ(journal().join(QLatin1Char('|')).toStdString(),
              "1 Créée par le portail|2 Créée par le portail|3 Créée par le portail|1 Modifiée par le portail|"
              "2 Annulée par le portail");
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT count(*) FROM ETATS WHERE Nom = 'Portail'")).toInt(), 1);
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT dernierResultat FROM FLUX")).toString(), QStringLiteral("OK"));
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT derniereLecture FROM FLUX")).toString(),
              QStringLiteral("2026-07-01 10:00:00"));
}

TEST_F(Synchronisation_, AFeedThatFailsChangesNothingOfItsUnitAndTheOthersGoOn)
{
    // Both units have a reservation from their feed already.
    const QString pins = serveur.url(QStringLiteral("/pins.ics"));
    const QString bruyere = serveur.url(QStringLiteral("/bruyere.ics"));
    donnerFlux(10, {pins});
    donnerFlux(11, {bruyere});
    serveur.poser("/pins.ics", calendrier(evenement("a", "Booking", "20260712", "20260719")));
    serveur.poser("/bruyere.ics", calendrier(evenement("b", "Airbnb", "20260712", "20260719")));
    ASSERT_TRUE(synchroniser());
    const QStringList avant = reservations();
    ASSERT_EQ(avant.size(), 2);

    struct Cas {
        const char* nom;
        ServeurTest::Reponse reponse;
        const char* raison;
    };
    const Cas cas[] = {
        {"404", {"HTTP/1.1 404 Not Found", "<html>non</html>"}, "le serveur répond 404"},
        {"page web", {"HTTP/1.1 200 OK\r\nContent-Type: text/html", "<html><body>Maintenance</body></html>"},
         "ce n'est pas un calendrier iCalendar"},
        {"10 Mo", {"HTTP/1.1 200 OK\r\nContent-Type: text/calendar", QByteArray(10 * 1024 * 1024, 'B')},
         "réponse de plus de 5 Mo, refusée"},
    };
    for (const Cas& c : cas) {
        serveur.poserReponse("/pins.ics", c.reponse);
        // The other feed moves its stay meanwhile.
        serveur.poser("/bruyere.ics", calendrier(evenement("b", "Airbnb", "20260713", "20260719")));
        const auto bilan = synchroniser();
        ASSERT_TRUE(bilan) << c.nom;
        const QString attendu = QStringLiteral("flux illisible : %1 : %2").arg(pins, QString::fromUtf8(c.raison));
        EXPECT_EQ(bilan->echecs, QStringList{attendu}) << c.nom;
        EXPECT_EQ(base.valeur(QStringLiteral("SELECT dernierResultat FROM FLUX WHERE objet = 10")).toString(), attendu)
            << c.nom;
        // Unit 10 keeps its stay; unit 11 follows its feed.
        EXPECT_EQ(reservations(), (QStringList{avant[0],
            QStringLiteral("11 Airbnb 2026-07-13 14:00 → 2026-07-19 12:00 [Portail]")})) << c.nom;
        serveur.poser("/bruyere.ics", calendrier(evenement("b", "Airbnb", "20260712", "20260719")));
        ASSERT_TRUE(synchroniser());
    }
}

TEST_F(Synchronisation_, TheSameUidTwiceInAFeedIsOneReservation)
{
    donnerFlux(10, {serveur.url(QStringLiteral("/pins.ics"))});
    serveur.poser("/pins.ics", calendrier(evenement("a", "Booking", "20260712", "20260719")
                                          + evenement("a", "Booking", "20260712", "20260719")
                                          + evenement("a", "Booking bis", "20260714", "20260719")));
    ASSERT_TRUE(synchroniser());
    ASSERT_TRUE(synchroniser());
    EXPECT_EQ(reservations(), QStringList{QStringLiteral("10 Booking bis 2026-07-14 14:00 → 2026-07-19 12:00 [Portail]")});
}

TEST_F(Synchronisation_, AnEventOverlappingALocalStayIsImportedAndListed)
{
    base.executer(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) VALUES "
                                 "(10, 'Dupont', '2026-07-14 14:00:00', '2026-07-16 12:00:00', 1), "
                                 "(10, 'Voisin', '2026-07-19 14:00:00', '2026-07-22 12:00:00', 1)"));
    donnerFlux(10, {serveur.url(QStringLiteral("/booking.ics")), serveur.url(QStringLiteral("/airbnb.ics"))});
    serveur.poser("/booking.ics", calendrier(evenement("a", "Booking", "20260712", "20260719")));
    // Two portals sold the same nights: listed once.
    serveur.poser("/airbnb.ics", calendrier(evenement("z", "Airbnb", "20260801", "20260803")
                                            + evenement("y", "Airbnb", "20260718", "20260719")));
    const auto bilan = synchroniser();
    ASSERT_TRUE(bilan);
    EXPECT_EQ(bilan->creees, 3);
    // The feeds are read in address order: Airbnb's stays are in when Booking's come.
    EXPECT_EQ(bilan->conflits.join(QLatin1Char('\n')).toStdString(),
              "Chalet Les Pins : Booking 12/07–19/07 chevauche Dupont 14/07–16/07\n"
              "Chalet Les Pins : Booking 12/07–19/07 chevauche Airbnb 18/07–19/07");
    EXPECT_TRUE(Synchronisation::Texte(*bilan).contains(
        QStringLiteral("Chalet Les Pins : Booking 12/07–19/07 chevauche Dupont 14/07–16/07")));
    EXPECT_EQ(reservations().size(), 5);
}

TEST_F(Synchronisation_, AHostileSummaryIsStoredAsTextOnly)
{
    const QString hostile = QStringLiteral("<script>alert('x')</script>'); DROP TABLE RESERVATIONS;--");
    donnerFlux(10, {serveur.url(QStringLiteral("/pins.ics"))});
    serveur.poser("/pins.ics", calendrier(evenement("a", hostile.toUtf8(), "20260712", "20260719")
                                          + evenement("b'); DELETE FROM OBJETS;--", "Autre", "20260801", "20260802")));
    const auto bilan = synchroniser();
    ASSERT_TRUE(bilan);
    EXPECT_EQ(bilan->creees, 2);
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT nomclient FROM RESERVATIONS WHERE NumeroReservation = 1")).toString(),
              hostile);
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT count(*) FROM OBJETS")).toInt(), 2);
    // Read again: the UID with quotes still matches its reservation.
    ASSERT_TRUE(synchroniser());
    EXPECT_EQ(base.valeur(QStringLiteral("SELECT count(*) FROM RESERVATIONS")).toInt(), 2);
}
