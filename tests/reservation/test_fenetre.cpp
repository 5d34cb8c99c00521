// The reservation window driven by its controls on a temporary database.
#include "fenetretest.h"

#include "config/ini32.h"
#include "bar/ticketdecaisse.h"
#include "reservation/verification.h"
#include "reservation/zonetexte.h"
#include "store/conversion.h"
#include "store/horloge.h"
#include "store/module1.h"
#include "store/requetes.h"
#include "store/requetes_editeurs.h"
#include "ui/xpcmdbutton.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QDateTime le(int a, int m, int j, int h = 0, int n = 0)
{
    return QDateTime(QDate(a, m, j), QTime(h, n), Qt::UTC);
}

QString texte(const char* t)
{
    return QString::fromUtf8(t);
}

} // namespace

TEST(FenetreReservation, NouvelleReservationPreRemplie)
{
    FenetreTest t;
    Horloge::fixer(le(2026, 1, 30, 9, 0));
    t.ouvrirNouvelle();
    reservations& f = t.fenetre();
    EXPECT_EQ(f.numreservation->text(), QStringLiteral("nouveau"));
    EXPECT_EQ(f.datedebut->text(), QStringLiteral("30/01/2026"));
    EXPECT_EQ(f.datefin->text(), QStringLiteral("05/02/2026"));
    EXPECT_EQ(f.heuredebut->text(), QStringLiteral("14:00"));
    EXPECT_EQ(f.heurefin->text(), QStringLiteral("12:00"));
    EXPECT_EQ(f.Nbjour->text(), QStringLiteral("6"));
    // The defaults are written back into the configuration.
    EXPECT_EQ(INI32::ProfilINI(QStringLiteral("system"), QStringLiteral("heuredebut"), QStringLiteral("x"),
                               t.contexte().CheminINI, 1), QStringLiteral("14:00"));
    EXPECT_EQ(INI32::ProfilINI(QStringLiteral("system"), QStringLiteral("heurefin"), QStringLiteral("x"),
                               t.contexte().CheminINI, 1), QStringLiteral("12:00"));
    EXPECT_EQ(f.nbadultes->text(), QStringLiteral("1"));
    EXPECT_EQ(f.nbenfants->text(), QStringLiteral("0"));
    EXPECT_EQ(f.arrhes->text(), QStringLiteral("0"));
    EXPECT_EQ(f.Objets->currentText(), QStringLiteral("1 : Mobil-home"));
    EXPECT_EQ(f.etat->currentText(), texte("1 - Confirmé"));
    EXPECT_TRUE(f.ajouter->isVisible());
    EXPECT_TRUE(f.ajouter->isEnabled());
    EXPECT_FALSE(f.Modifier->isVisible());
    EXPECT_FALSE(f.supprimer->isEnabled());
    EXPECT_FALSE(f.BoutonBAR->isEnabled());
    EXPECT_FALSE(f.Encaisser->isEnabled());
    // Tabs 1 to 3 cannot be chosen.
    for (int onglet = 0; onglet < 8; ++onglet)
        EXPECT_EQ(f.infos->isTabEnabled(onglet), onglet == 0 || onglet > 3) << onglet;
    QTabBar* barre = f.infos->tabBar();
    QTest::mouseClick(barre, Qt::LeftButton, {}, barre->tabRect(2).center());
    EXPECT_EQ(f.infos->currentIndex(), 0);
    // Dressed over the whole screen, the panel centred.
    EXPECT_EQ(f.geometry(), f.screen()->geometry());
    EXPECT_EQ(f.Fond->geometry().center(), f.rect().center());
}

TEST(FenetreReservation, AjouterCreeLaReservationEtSonJournal)
{
    FenetreTest t;
    Horloge::fixer(le(2026, 1, 30, 9, 0));
    t.ouvrirNouvelle();
    reservations& f = t.fenetre();
    f.Objets->setCurrentIndex(f.Objets->findText(QStringLiteral("12 : Chalet")));
    f.etat->setCurrentIndex(1);      // 2 - Option
    const QString nom = QString(5000, QLatin1Char('e')) + texte("\"l'Étang\" & fils\n🏕");
    f.NomClient->setText(nom);
    f.arrhes->setText(QStringLiteral("12,50"));
    f.datelimite->setText(QStringLiteral("15/01/2026"));
    f.nbadultes->setText(QStringLiteral("4"));
    f.telephone->setText(QStringLiteral("0102030405   "));
    EXPECT_TRUE(t.messagesPendant([&] { t.cliquer(QStringLiteral("ajouter")); }).isEmpty());

    ASSERT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM RESERVATIONS")), 1);
    const qint32 numero = t.nombre(QStringLiteral("SELECT NumeroReservation FROM RESERVATIONS"));
    const auto r = Requetes::reservation(t.base(), numero);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->objet, 12);
    EXPECT_EQ(r->etat, 2);
    EXPECT_EQ(r->nomclient, nom);
    EXPECT_EQ(r->debut, le(2026, 1, 30, 14, 0));
    EXPECT_EQ(r->fin, le(2026, 2, 5, 12, 0));
    EXPECT_DOUBLE_EQ(r->arrhes, 12.5);
    EXPECT_EQ(r->datelimite.date(), QDate(2026, 1, 15));
    EXPECT_EQ(r->nbadultes, 4);
    EXPECT_EQ(r->remarque, QStringLiteral(" "));
    EXPECT_EQ(r->telephone, QStringLiteral("0102030405 "));
    EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS")), 1);
    EXPECT_EQ(t.temp().valeur(QStringLiteral("SELECT libelle FROM OPERATIONS WHERE numeroreservation = %1").arg(numero)),
              QStringLiteral("Création de la reservation"));

    EXPECT_FALSE(f.isVisible());
    ASSERT_EQ(t.depart.count(), 1);
    EXPECT_EQ(t.depart.at(0).at(0).toDate(), QDate(2026, 1, 30));
    EXPECT_EQ(t.encours.count(), 0);   // no calling window registered
    EXPECT_EQ(t.rafraichir.count(), 1);
    EXPECT_EQ(t.fermee.count(), 1);
    // The window is back in its loaded state for the next opening.
    EXPECT_EQ(f.NomClient->text(), QString());
    EXPECT_EQ(f.numreservation->text(), texte("Numéro de réservation"));
}

TEST(FenetreReservation, MessagesDesControles)
{
    struct Cas {
        const char* boite;
        const char* valeur;
        const char* message;
    } const cas[] = {
        {"datedebut", "", Verification::kDateDebutVide},
        {"heuredebut", "", Verification::kHeureDebutVide},
        {"datefin", "", Verification::kDateFinVide},
        {"heurefin", "", Verification::kHeureFinVide},
        {"datefin", "29/01/2026", Verification::kOrdreDates},
        {"datedebut", "abc", "La date d'arrivée n'est pas une date valide : abc"},
        {"datefin", "31/02/2026", "La date de départ n'est pas une date valide : 31/02/2026"},
        {"datedebut", "31/02/2027", "La date d'arrivée n'est pas une date valide : 31/02/2027"},
        {"heuredebut", "25:61", Verification::kHeureDebutInvalide},
        {"nbadultes", "999999", Verification::kAdultes},
        {"nbenfants", "-3", Verification::kEnfants},
        {"nbadultes", "x", Verification::kAdultes},
        {"arrhes", "abc", Verification::kArrhes},
        {"datelimite", "31/02/2026", Verification::kDateLimite},
    };
    for (const Cas& c : cas) {
        FenetreTest t;
        Horloge::fixer(le(2026, 1, 30, 9, 0));
        t.ouvrirNouvelle();
        t.boite(QString::fromUtf8(c.boite))->setText(QString::fromUtf8(c.valeur));
        const QStringList lus = t.messagesPendant([&] { t.cliquer(QStringLiteral("ajouter")); });
        EXPECT_EQ(lus, QStringList{QString::fromUtf8(c.message)}) << c.boite << " = " << c.valeur;
        EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM RESERVATIONS")), 0) << c.boite;
        EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS")), 0) << c.boite;
        EXPECT_TRUE(t.fenetre().isVisible());
        EXPECT_EQ(t.fermee.count(), 0);
    }
}

TEST(FenetreReservation, ObjetOuEtatTapesALaMainSontRefuses)
{
    FenetreTest t;
    t.ouvrirNouvelle();
    t.fenetre().Objets->setCurrentText(QStringLiteral("Chalet du bas"));
    EXPECT_EQ(t.messagesPendant([&] { t.cliquer(QStringLiteral("ajouter")); }),
              QStringList{texte(Verification::kObjetInconnu)});
    t.fenetre().Objets->setCurrentIndex(0);
    t.fenetre().etat->setCurrentText(QStringLiteral("Annulé"));
    EXPECT_EQ(t.messagesPendant([&] { t.cliquer(QStringLiteral("ajouter")); }),
              QStringList{texte(Verification::kEtatInconnu)});
    EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM RESERVATIONS")), 0);
}

TEST(FenetreReservation, SansClientLeNomEstCeluiDeLEtat)
{
    FenetreTest t;
    t.ouvrirNouvelle();
    t.fenetre().etat->setCurrentIndex(1);   // 2 - Option
    t.cliquer(QStringLiteral("ajouter"));
    EXPECT_EQ(t.temp().valeur(QStringLiteral("SELECT nomclient FROM RESERVATIONS")), QStringLiteral("Option"));
}

TEST(FenetreReservation, ModifierEnregistreEtRendLaMain)
{
    FenetreTest t;
    const qint32 numero = t.stocker(reservationExemple());
    t.ouvrir(numero);
    reservations& f = t.fenetre();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Réservation %1").arg(numero));
    EXPECT_EQ(f.Objets->currentText(), QStringLiteral("12 : Chalet"));
    EXPECT_EQ(f.Nbjour->text(), QStringLiteral("7"));
    EXPECT_EQ(f.remarque->text(), QStringLiteral("Vue sur le lac"));
    EXPECT_TRUE(f.Modifier->isVisible());
    EXPECT_FALSE(f.ajouter->isVisible());
    EXPECT_TRUE(f.supprimer->isEnabled());

    f.NomClient->setText(QStringLiteral("Martin"));
    f.datedebut->setText(QStringLiteral("04/08/2026"));
    t.cliquer(QStringLiteral("Modifier"));

    const auto r = Requetes::reservation(t.base(), numero);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->nomclient, QStringLiteral("Martin"));
    EXPECT_EQ(r->debut, le(2026, 8, 4, 14, 0));
    EXPECT_DOUBLE_EQ(r->arrhes, 12.5);
    // The stored free texts keep exactly one trailing space.
    EXPECT_EQ(r->remarque, QStringLiteral("Vue sur le lac "));
    EXPECT_EQ(r->email, QStringLiteral("durand@exemple.fr "));
    EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE numeroreservation = %1 "
                                      "AND libelle = 'Modification d''informations'").arg(numero)), 1);
    EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS")), 1);
    ASSERT_EQ(t.encours.count(), 1);
    EXPECT_EQ(t.encours.at(0).at(0).toInt(), numero);
    EXPECT_EQ(t.depart.at(0).at(0).toDate(), QDate(2026, 8, 4));
    EXPECT_TRUE(t.appelante().isEnabled());
    EXPECT_EQ(t.rafraichir.count(), 0);
    EXPECT_EQ(t.fermee.count(), 1);

    // A second opening saved unchanged stores the same texts again.
    t.ouvrir(numero);
    t.cliquer(QStringLiteral("Modifier"));
    EXPECT_EQ(Requetes::reservation(t.base(), numero)->remarque, QStringLiteral("Vue sur le lac "));
    EXPECT_DOUBLE_EQ(Requetes::reservation(t.base(), numero)->arrhes, 12.5);
    EXPECT_EQ(t.fermee.count(), 2);
}

TEST(FenetreReservation, EchecDeLaBaseSignaleEtFenetreGardee)
{
    FenetreTest t;
    const qint32 numero = t.stocker(reservationExemple());
    t.ouvrir(numero);
    t.fenetre().NomClient->setText(QStringLiteral("Martin"));
    t.temp().supprimerTable(QStringLiteral("OPERATIONS"));
    const QStringList lus = t.messagesPendant([&] { t.cliquer(QStringLiteral("Modifier")); });
    ASSERT_EQ(lus.size(), 1);
    EXPECT_TRUE(lus.at(0).startsWith(QStringLiteral("Les modifications n'ont pas pu être enregistrées"))) << lus.at(0).toStdString();
    // Nothing half-written, nothing typed lost.
    EXPECT_EQ(Requetes::reservation(t.base(), numero)->nomclient, QStringLiteral("Durand"));
    EXPECT_TRUE(t.fenetre().isVisible());
    EXPECT_EQ(t.fenetre().NomClient->text(), QStringLiteral("Martin"));
    EXPECT_FALSE(t.appelante().isEnabled());
    EXPECT_EQ(t.fermee.count(), 0);
}

TEST(FenetreReservation, SupprimerUneReservationDejaSupprimee)
{
    FenetreTest t;
    const qint32 numero = t.stocker(reservationExemple());
    ASSERT_TRUE(Module1::EnregistrerOperation(t.base(), numero, -3, QString(), QStringLiteral("BAR Café")));
    t.ouvrir(numero);
    // Another desk deleted it meanwhile: nothing to ask, nothing to record.
    t.temp().executer(QStringLiteral("DELETE FROM RESERVATIONS"));
    const QStringList lus = t.questionsPendant([&] { t.cliquer(QStringLiteral("supprimer")); }, {});
    ASSERT_EQ(lus.size(), 1);
    EXPECT_TRUE(lus.at(0).startsWith(QStringLiteral("La réservation %1 n'a pas pu être lue").arg(numero)))
        << lus.at(0).toStdString();
    EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS")), 1);
    EXPECT_TRUE(t.fenetre().isVisible());
    EXPECT_EQ(t.fermee.count(), 0);
    // "Revenir" still leaves, and the planning redraws then.
    t.questionsPendant([&] { t.cliquer(QStringLiteral("Annuler")); }, {});
    EXPECT_EQ(t.fermee.count(), 1);
    EXPECT_TRUE(t.appelante().isEnabled());
}

TEST(FenetreReservation, RevenirCroixEtFermetureDuGestionnaire)
{
    enum Sortie { Revenir, Croix, Gestionnaire };
    for (Sortie sortie : {Revenir, Croix, Gestionnaire}) {
        FenetreTest t;
        const qint32 numero = t.stocker(reservationExemple());
        t.ouvrir(numero);
        t.fenetre().NomClient->setText(QStringLiteral("jamais enregistré"));
        const QStringList lus = t.questionsPendant([&] {
            if (sortie == Revenir)
                t.cliquer(QStringLiteral("Annuler"));
            else if (sortie == Croix)
                t.cliquer(QStringLiteral("xpcmdbutton1"));
            else
                t.fenetre().close();
        }, {true});
        EXPECT_EQ(lus, QStringList{QStringLiteral("Abandonner les modifications de cette réservation ?")});
        EXPECT_EQ(Requetes::reservation(t.base(), numero)->nomclient, QStringLiteral("Durand")) << sortie;
        EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS")), 0);
        ASSERT_EQ(t.encours.count(), 1) << sortie;
        EXPECT_EQ(t.encours.at(0).at(0).toInt(), numero);
        EXPECT_TRUE(t.appelante().isEnabled());
        EXPECT_FALSE(t.fenetre().isVisible());
        EXPECT_EQ(t.fermee.count(), 1) << sortie;
        // A window already closed does not end a second time.
        t.fenetre().close();
        EXPECT_EQ(t.fermee.count(), 1);
    }
}

TEST(FenetreReservation, RevenirSurUneNouvelleNeChangePasLaReservationCourante)
{
    FenetreTest t;
    t.fenetre().FormAppelante(&t.appelante());
    t.ouvrirNouvelle();
    t.cliquer(QStringLiteral("Annuler"));
    EXPECT_EQ(t.encours.count(), 0);
    EXPECT_EQ(t.fermee.count(), 1);
    EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM RESERVATIONS")), 0);
}

TEST(FenetreReservation, BoutonsDuContratNotentLEnvoi)
{
    FenetreTest t;
    const qint32 numero = t.stocker(reservationExemple());
    t.ouvrir(numero);
    const QList<xpcmdbutton*> boutons = t.fenetre().findChildren<xpcmdbutton*>(QStringLiteral("ImprimerContrat"));
    ASSERT_EQ(boutons.size(), 4);
    for (xpcmdbutton* b : t.fenetre().ImprimerContrat) {
        t.fenetre().infos->setCurrentIndex(0);
        t.cliquer(b);
    }
    EXPECT_TRUE(t.fenetre().isVisible());
    EXPECT_EQ(t.fermee.count(), 0);
    const auto histo = Requetes::operationsHistorique(t.base(), numero);
    ASSERT_TRUE(histo.has_value());
    QStringList libelles;
    for (const Requetes::Operation& o : *histo) {
        libelles << o.libelle;
        EXPECT_EQ(o.paiement, QStringLiteral("   "));
    }
    EXPECT_EQ(libelles, (QStringList{QStringLiteral("Envoi contrat par Imprimer le Contrat"),
                                     QStringLiteral("Envoi contrat par Email Contrat"),
                                     QStringLiteral("Envoi contrat par Poste"),
                                     QStringLiteral("Envoi contrat par Fax")}));
    // The history tab lists them when it is chosen.
    t.fenetre().infos->setCurrentIndex(7);
    EXPECT_EQ(t.fenetre().tickethisto->Lignes().size(), 4);
    EXPECT_TRUE(t.fenetre().tickethisto->Lignes().at(3).endsWith(QStringLiteral(" : Envoi contrat par Fax")));

}

TEST(FenetreReservation, TicketSoldeEtOngletConso)
{
    FenetreTest t;
    const qint32 numero = t.stocker(reservationExemple());
    Horloge::fixer(le(2005, 8, 2, 10, 15));
    ASSERT_TRUE(Module1::EnregistrerOperation(t.base(), numero, -3, QString(), QStringLiteral("BAR Café\r\n1 x 3")));
    Horloge::fixer(le(2005, 8, 3, 9, 0));
    ASSERT_TRUE(Module1::EnregistrerOperation(t.base(), numero, 5, QStringLiteral("ESP"), QStringLiteral("Paiement ESP")));
    ASSERT_TRUE(Module1::EnregistrerOperation(t.base(), numero, 0, QString(), QStringLiteral("Création de la reservation")));
    t.ouvrir(numero);
    reservations& f = t.fenetre();
    EXPECT_EQ(f.Ticket->Lignes(), (QStringList{QStringLiteral("BAR Café\r\n1 x 3"), Conversion::Monnaie(-3),
                                               QStringLiteral("Paiement ESP"), Conversion::Monnaie(5)}));
    EXPECT_EQ(f.du->text(), Conversion::Monnaie(2));
    EXPECT_EQ(f.du->text(), texte("2,00 €"));

    f.infos->setCurrentIndex(5);
    ASSERT_EQ(f.ticketconso->Lignes().size(), 4);
    EXPECT_EQ(f.ticketconso->Lignes().at(0), QStringLiteral("02/08/05 10:15 : BAR Café\r\n1 x 3"));
    f.infos->setCurrentIndex(7);
    EXPECT_EQ(f.tickethisto->Lignes(), QStringList{QStringLiteral("03/08/05 09:00 : Création de la réservation")});

    // A new reservation has no account.
    FenetreTest n;
    n.ouvrirNouvelle();
    n.fenetre().AfficherLeTicket();
    EXPECT_TRUE(n.fenetre().Ticket->Lignes().isEmpty());
    EXPECT_EQ(n.fenetre().du->text(), Conversion::Monnaie(0));
}

TEST(FenetreReservation, ChoixDeLObjetEtNuits)
{
    FenetreTest t;
    reservations& f = t.fenetre();
    EXPECT_TRUE(f.SelectionnerObjet(1, 42));
    EXPECT_EQ(f.Objets->currentText(), QStringLiteral("1 : Mobil-home"));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Réservation 42"));
    EXPECT_TRUE(f.SelectionnerObjet(12, 43));
    EXPECT_EQ(f.Objets->currentText(), QStringLiteral("12 : Chalet"));
    EXPECT_FALSE(f.SelectionnerObjet(3, 44));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Réservation 43"));

    t.ouvrirNouvelle();
    struct Cas {
        const char* debut;
        const char* fin;
        const char* nuits;
    } const cas[] = {
        {"03/08/2005", "10/08/2005", "7"},
        {"abc", "10/08/2005", "7"},          // unchanged
        {"10/08/2005", "03/08/2005", "-7"},
    };
    for (const Cas& c : cas) {
        f.datedebut->setText(QString::fromUtf8(c.debut));
        f.datefin->setText(QString::fromUtf8(c.fin));
        // Leaving the box counts the nights.
        QFocusEvent sortie(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(f.datefin, &sortie);
        EXPECT_EQ(f.Nbjour->text(), QString::fromUtf8(c.nuits)) << c.debut << " " << c.fin;
    }
}

TEST(FenetreReservation, ChaqueOuvertureRelitLesLogementsEtLesEtats)
{
    FenetreTest t;
    t.ouvrirNouvelle();
    t.cliquer(QStringLiteral("Annuler"));
    const int avant = t.fenetre().Objets->count();
    Requetes::Objet o;
    o.numero = 99;
    o.nom = QStringLiteral("Yourte");
    ASSERT_TRUE(RequetesEditeurs::ajouterObjet(t.base(), o));
    t.contexte().TableEtats.append({9, QStringLiteral("9 - Arrivé"), 0});
    t.ouvrirNouvelle();
    EXPECT_EQ(t.fenetre().Objets->count(), avant + 1);
    EXPECT_GE(t.fenetre().Objets->findText(QStringLiteral("99 : Yourte")), 0);
    EXPECT_GE(t.fenetre().etat->findText(QStringLiteral("9 - Arrivé")), 0);
}
