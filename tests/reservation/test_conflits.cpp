// Two desks on one reservation: a save or a deletion made on what another
// desk changed since is refused, never silently applied.
#include "fenetretest.h"

#include "reservation/zonetexte.h"
#include "store/base.h"
#include "store/requetes_reservation.h"
#include "ui/xpcmdbutton.h"

#include <QLineEdit>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

using TestUtil::AutrePoste;

QString nomStocke(FenetreTest& t, qint32 numero)
{
    return t.temp().valeur(QStringLiteral("SELECT nomclient FROM RESERVATIONS WHERE NumeroReservation = ")
                           + QString::number(numero)).toString();
}

} // namespace

TEST(ConflitsEntrePostes, EveryWriteCountsAndAStaleSaveIsRefused)
{
    FenetreTest t;
    const qint32 numero = t.stocker(reservationExemple());
    AutrePoste autre(t.temp().chemin());
    struct Cas { const char* nom; QString ecritureAilleurs; bool conflit; };
    const Cas cas[] = {
        {"nothing meanwhile", QString(), false},
        {"the other desk renamed it", QStringLiteral("UPDATE RESERVATIONS SET nomclient = 'Autre' WHERE NumeroReservation = %1"), true},
        {"a check-in changed its state", QStringLiteral("UPDATE RESERVATIONS SET Etat = 1 WHERE NumeroReservation = %1"), true},
    };
    for (const Cas& c : cas) {
        const auto lue = Requetes::reservation(t.base(), numero);
        ASSERT_TRUE(lue.has_value());
        if (!c.ecritureAilleurs.isEmpty())
            ASSERT_TRUE(QSqlQuery(autre.base()).exec(c.ecritureAilleurs.arg(numero))) << c.nom;
        Requetes::Reservation r = *lue;
        r.nomclient = QStringLiteral("Ce poste");
        QString erreur;
        bool conflit = false;
        const bool ecrit = RequetesReservation::modifier(t.base(), r, QStringLiteral("Modification d'informations"),
                                                         &erreur, &conflit);
        EXPECT_EQ(ecrit, !c.conflit) << c.nom;
        EXPECT_EQ(conflit, c.conflit) << c.nom;
        if (c.conflit) {
            EXPECT_EQ(erreur, RequetesReservation::MessageModifieeAilleurs()) << c.nom;
            EXPECT_NE(nomStocke(t, numero), QStringLiteral("Ce poste")) << c.nom;
        } else {
            EXPECT_EQ(nomStocke(t, numero), QStringLiteral("Ce poste")) << c.nom;
        }
    }
}

TEST(ConflitsEntrePostes, TheWindowSaysSoAndReloadsOnDemand)
{
    FenetreTest t;
    const qint32 numero = t.stocker(reservationExemple());
    AutrePoste autre(t.temp().chemin());
    t.ouvrir(numero);
    reservations& f = t.fenetre();
    QStringList vus;
    bool recharger = false;
    f.questionConflit = [&](const QString& texte) { vus << texte; return recharger; };

    f.NomClient->setText(QStringLiteral("Typé ici"));
    ASSERT_TRUE(QSqlQuery(autre.base()).exec(
        QStringLiteral("UPDATE RESERVATIONS SET nomclient = 'Venu d''ailleurs' WHERE NumeroReservation = %1").arg(numero)));

    // "Annuler": nothing written, the window and what was typed stay.
    t.cliquer(QStringLiteral("Modifier"));
    ASSERT_EQ(vus, QStringList{RequetesReservation::MessageModifieeAilleurs()});
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.NomClient->text(), QStringLiteral("Typé ici"));
    EXPECT_EQ(nomStocke(t, numero), QStringLiteral("Venu d'ailleurs"));
    // Deleting what the other desk just changed is refused the same way.
    FenetreTest::questionsPendant([&] { t.cliquer(QStringLiteral("supprimer")); }, {true});
    EXPECT_EQ(vus.size(), 2);
    EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM RESERVATIONS")), 1);

    // "Recharger": the boxes show the stored reservation; a save then goes through.
    recharger = true;
    t.cliquer(QStringLiteral("Modifier"));
    EXPECT_EQ(vus.size(), 3);
    EXPECT_EQ(f.NomClient->text(), QStringLiteral("Venu d'ailleurs"));
    f.NomClient->setText(QStringLiteral("Accordé"));
    t.cliquer(QStringLiteral("Modifier"));
    EXPECT_EQ(vus.size(), 3);
    EXPECT_EQ(nomStocke(t, numero), QStringLiteral("Accordé"));
    EXPECT_FALSE(f.isVisible());
}

TEST(ConflitsEntrePostes, AStayBookedElsewhereSinceTheQuestionIsAskedAboutBeforeAnythingIsStored)
{
    FenetreTest t;
    AutrePoste autre(t.temp().chemin());
    Requetes::Reservation voulue = reservationExemple();   // unit 12, 3 to 10 August
    const qint32 dejaLa = t.stocker(voulue);                // the overlap this desk asked about
    const QList<qint32> acceptes{dejaLa};
    // Meanwhile the other desk books the same unit on the same nights.
    Requetes::Reservation ailleurs = voulue;
    ailleurs.nomclient = QStringLiteral("Autre poste");
    const auto numeroAilleurs = Requetes::ajouterReservation(autre.base(), ailleurs);
    ASSERT_TRUE(numeroAilleurs.has_value());

    struct Cas { const char* nom; QList<qint32> acceptes; bool stocke; };
    const Cas cas[] = {
        {"only the first overlap was accepted", acceptes, false},
        {"both were accepted after the second question", {dejaLa, *numeroAilleurs}, true},
    };
    for (const Cas& c : cas) {
        const int avant = t.nombre(QStringLiteral("SELECT count(*) FROM RESERVATIONS"));
        QString erreur;
        bool nouveau = false;
        const auto numero = RequetesReservation::creer(t.base(), voulue, QStringLiteral("Création de la reservation"),
                                                       &erreur, &c.acceptes, &nouveau);
        EXPECT_EQ(numero.has_value(), c.stocke) << c.nom;
        EXPECT_EQ(nouveau, !c.stocke) << c.nom;
        EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM RESERVATIONS")) - avant, c.stocke ? 1 : 0) << c.nom;
    }

    // A change of dates onto the other desk's stay is held back the same way.
    Requetes::Reservation deplacee = *Requetes::reservation(t.base(), dejaLa);
    deplacee.nomclient = QStringLiteral("Déplacée");
    bool nouveau = false;
    bool conflit = false;
    const QList<qint32> aucune;
    EXPECT_FALSE(RequetesReservation::modifier(t.base(), deplacee, QStringLiteral("Modification d'informations"), nullptr,
                                               &conflit, &aucune, &nouveau));
    EXPECT_TRUE(nouveau);
    EXPECT_FALSE(conflit);
    EXPECT_EQ(nomStocke(t, dejaLa), QStringLiteral("Durand"));
}
