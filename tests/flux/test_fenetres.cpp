// What the desk does: gives a unit its portals' addresses in the settings'
// "Objets" tab, then reads them from "Synchroniser les calendriers".
#include "outils.h"
#include "../settings/pilotage.h"

#include "config/langues.h"
#include "flux/synchronisationfenetre.h"
#include "settings/modeleobjets.h"
#include "settings/parametres.h"

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>

using namespace OutilsFlux;

namespace {

class Fenetres : public BaseFlux
{
protected:
    void SetUp() override
    {
        BaseFlux::SetUp();
        Langues::fixerFichier(base.dossier() + QStringLiteral("/planning.ini"));
        contexte.CheminINI = base.dossier() + QStringLiteral("/planning.ini");
        contexte.BaseOuverte = base.base();
        contexte.TableEtats = Contexte::ChargerEtats(base.base());
    }
    QString adresses(qint32 objet) const
    {
        QSqlQuery q(base.base());
        q.exec(QStringLiteral("SELECT adresse FROM FLUX WHERE objet = %1 ORDER BY adresse").arg(objet));
        QStringList liste;
        while (q.next())
            liste << q.value(0).toString();
        return liste.join(QLatin1Char(' '));
    }
    Contexte contexte;
};

} // namespace

TEST_F(Fenetres, TheAddressesAreTypedInTheObjetsTabAndCheckedFirst)
{
    parametres p(&contexte);
    p.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p));
    auto* onglets = p.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    ASSERT_NE(onglets, nullptr);
    for (int i = 0; i < onglets->count(); ++i)
        if (onglets->tabText(i) == QStringLiteral("Objets"))
            onglets->setCurrentIndex(i);
    auto* table = p.findChild<QTableView*>(QStringLiteral("tableobjets"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->model()->headerData(ModeleObjets::CalendriersExternes, Qt::Horizontal).toString(),
              QStringLiteral("Calendriers externes"));
    Repondeur repondeur;

    struct Cas {
        const char* nom;
        int ligne;
        const char* saisie;
        const char* pins;      // the addresses of unit 10 afterwards
        const char* bruyere;   // of unit 11
        const char* message;   // part of the refusal shown, "" when none
    };
    const Cas cas[] = {
        {"deux adresses", 0, "https://booking.example/p.ics   /srv/airbnb.ics",
         "/srv/airbnb.ics https://booking.example/p.ics", "", ""},
        {"adresse non reconnue", 0, "https://booking.example/p.ics flux.ics",
         "/srv/airbnb.ics https://booking.example/p.ics", "", "Adresse de calendrier non reconnue : « flux.ics »"},
        {"adresse d'un autre logement", 1, "/srv/airbnb.ics",
         "/srv/airbnb.ics https://booking.example/p.ics", "", "déjà celle du logement « Chalet Les Pins »"},
        {"une adresse enlevée", 0, "https://booking.example/p.ics", "https://booking.example/p.ics", "", ""},
        {"l'adresse libérée va à l'autre", 1, "/srv/airbnb.ics", "https://booking.example/p.ics",
         "/srv/airbnb.ics", ""},
        {"vidé", 0, "", "", "/srv/airbnb.ics", ""},
    };
    for (const Cas& c : cas) {
        repondeur.messages.clear();
        Pilotage::saisir(table, c.ligne, ModeleObjets::CalendriersExternes, QString::fromUtf8(c.saisie));
        // The refusal is shown and answered before the typing returns.
        EXPECT_EQ(repondeur.messages.size(), *c.message ? 1 : 0) << c.nom;
        if (*c.message) {
            EXPECT_TRUE(repondeur.messages.value(0).contains(QString::fromUtf8(c.message)))
                << c.nom << " : " << repondeur.messages.value(0).toStdString();
        }
        EXPECT_EQ(adresses(10).toStdString(), c.pins) << c.nom;
        EXPECT_EQ(adresses(11).toStdString(), c.bruyere) << c.nom;
        EXPECT_EQ(table->model()->index(0, ModeleObjets::CalendriersExternes).data().toString().toStdString(), c.pins)
            << c.nom;
    }
}

TEST_F(Fenetres, SynchronisingShowsEachFeedAndTheConflicts)
{
    base.executer(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) VALUES "
                                 "(10, 'Dupont', '2026-07-14 14:00:00', '2026-07-16 12:00:00', 1)"));
    const QString chemin = base.dossier() + QStringLiteral("/booking.ics");
    TestUtil::ecrireFichier(chemin, calendrier(evenement("a", "Booking", "20260712", "20260719")));
    const QString absent = base.dossier() + QStringLiteral("/absent.ics");
    donnerFlux(10, {chemin});
    donnerFlux(11, {absent});

    SynchronisationFenetre fenetre(&contexte);
    fenetre.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenetre));
    QSignalSpy changees(&fenetre, &SynchronisationFenetre::reservationsChangees);
    auto* bouton = fenetre.findChild<QPushButton*>(QStringLiteral("synchroniser"));
    auto* avancement = fenetre.findChild<QPlainTextEdit*>(QStringLiteral("avancement"));
    auto* bilan = fenetre.findChild<QPlainTextEdit*>(QStringLiteral("bilan"));
    ASSERT_TRUE(bouton && avancement && bilan);

    for (int fois : {1, 2}) {
        QTest::mouseClick(bouton, Qt::LeftButton);
        EXPECT_TRUE(avancement->toPlainText().contains(QStringLiteral("Chalet Les Pins : %1 ... OK").arg(chemin)))
            << fois;
        const QString texte = bilan->toPlainText();
        EXPECT_TRUE(texte.contains(QStringLiteral("flux illisible : %1 : fichier introuvable").arg(absent))) << fois;
        EXPECT_TRUE(texte.contains(QStringLiteral("Chalet Les Pins : Booking 12/07–19/07 chevauche Dupont 14/07–16/07")))
            << fois;
        // The calendar redraws after the first reading only: the second changed nothing.
        EXPECT_EQ(changees.size(), 1) << fois;
        EXPECT_TRUE(bouton->isEnabled());
    }
    EXPECT_EQ(reservations().size(), 2);
    // The reservation window can show the new state.
    QStringList etats;
    for (const EntreeEtat& e : contexte.TableEtats)
        etats << e.libelle;
    EXPECT_TRUE(etats.contains(QStringLiteral("4 - Portail"))) << etats.join(QLatin1Char(',')).toStdString();
}
