// Saving a stay that overlaps another reservation of the same unit: the
// question's text, and the window asking it before anything is stored.
#include "fenetretest.h"

#include "reservation/chevauchement.h"
#include "reservation/zonetexte.h"
#include "store/requetes.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QDateTime le(int j, int m, int h, int n = 0)
{
    return QDateTime(QDate(2026, m, j), QTime(h, n), Qt::UTC);
}

Requetes::Reservation sejour(const char* client, const QDateTime& debut, const QDateTime& fin, qint32 objet = 12)
{
    Requetes::Reservation r = reservationExemple();
    r.nomclient = QString::fromUtf8(client);
    r.debut = debut;
    r.fin = fin;
    r.objet = objet;
    return r;
}

QString fr(const char* texte)
{
    return QString::fromUtf8(texte);
}

// Types a stay into the window as the user would.
void taper(reservations& f, const char* objet, const char* client, const char* debut, const char* hdebut,
           const char* fin, const char* hfin)
{
    f.Objets->setCurrentIndex(f.Objets->findText(fr(objet)));
    f.NomClient->setText(fr(client));
    f.datedebut->setText(fr(debut));
    f.heuredebut->setText(fr(hdebut));
    f.datefin->setText(fr(fin));
    f.heurefin->setText(fr(hfin));
}

} // namespace

TEST(Chevauchement, TexteDeLaQuestion)
{
    const auto a = sejour("Durand", le(3, 8, 14), le(10, 8, 12));
    const auto b = sejour("Martin", le(5, 8, 14), le(6, 8, 12));
    struct Cas {
        const char* quoi;
        QList<Requetes::Reservation> autres;
        const char* attendu;
    } const cas[] = {
        {"aucune", {}, ""},
        {"une", {a}, "Ce logement est déjà occupé du 03/08/2026 au 10/08/2026 (Durand). Enregistrer quand même ?"},
        {"deux", {a, b}, "Ce logement est déjà occupé du 03/08/2026 au 10/08/2026 (Durand) et par 1 autre réservation. "
                         "Enregistrer quand même ?"},
        {"trois", {b, a, a}, "Ce logement est déjà occupé du 05/08/2026 au 06/08/2026 (Martin) et par 2 autres "
                             "réservations. Enregistrer quand même ?"},
        {"sans nom", {sejour("  \n ", le(1, 12, 14), le(2, 1, 12))},
         "Ce logement est déjà occupé du 01/12/2026 au 02/01/2026. Enregistrer quand même ?"},
        {"plusieurs lignes", {sejour("Famille\nDupont ", le(3, 8, 14), le(4, 8, 12))},
         "Ce logement est déjà occupé du 03/08/2026 au 04/08/2026 (Famille Dupont). Enregistrer quand même ?"},
        {"nom trop long", {sejour("Société des amis du camping municipal de la vallée", le(3, 8, 14), le(4, 8, 12))},
         "Ce logement est déjà occupé du 03/08/2026 au 04/08/2026 (Société des amis du camping municipal d…). "
         "Enregistrer quand même ?"},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(Chevauchement::Question(c.autres), fr(c.attendu)) << c.quoi;
}

// A new reservation typed over Durand's stay of unit 12 (03/08 14:00 to
// 10/08 12:00): when the question comes, what it says, and what is stored.
TEST(Chevauchement, NouvelleReservation)
{
    struct Cas {
        const char* quoi;
        const char* objet;
        const char* debut;
        const char* hdebut;
        const char* fin;
        const char* hfin;
        bool reponse;
        bool question;
        bool enregistree;
    } const cas[] = {
        {"dedans, Non", "12 : Chalet", "05/08/2026", "14:00", "07/08/2026", "12:00", false, true, false},
        {"dedans, Oui", "12 : Chalet", "05/08/2026", "14:00", "07/08/2026", "12:00", true, true, true},
        {"englobe", "12 : Chalet", "01/08/2026", "14:00", "20/08/2026", "12:00", false, true, false},
        {"part le jour d'arrivée après 14:00", "12 : Chalet", "01/08/2026", "14:00", "03/08/2026", "15:00", false, true, false},
        {"arrive le jour du départ avant 12:00", "12 : Chalet", "10/08/2026", "11:00", "12/08/2026", "12:00", false, true, false},
        {"arrive à 14:00 le jour du départ", "12 : Chalet", "10/08/2026", "14:00", "12/08/2026", "12:00", false, false, true},
        {"part à 12:00 le jour d'arrivée", "12 : Chalet", "01/08/2026", "14:00", "03/08/2026", "12:00", false, false, true},
        {"autre logement", "10 : Tente", "05/08/2026", "14:00", "07/08/2026", "12:00", false, false, true},
    };
    for (const Cas& c : cas) {
        FenetreTest t;
        t.stocker(sejour("Durand", le(3, 8, 14), le(10, 8, 12)));
        t.ouvrirNouvelle();
        reservations& f = t.fenetre();
        QStringList posees;
        f.questionChevauchement = [&](const QString& q) {
            posees << q;
            return c.reponse;
        };
        taper(f, c.objet, "", c.debut, c.hdebut, c.fin, c.hfin);
        EXPECT_TRUE(t.messagesPendant([&] { t.cliquer(QStringLiteral("ajouter")); }).isEmpty()) << c.quoi;

        EXPECT_EQ(posees, c.question ? QStringList{fr("Ce logement est déjà occupé du 03/08/2026 au 10/08/2026 "
                                                       "(Durand). Enregistrer quand même ?")}
                                     : QStringList())
            << c.quoi;
        EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM RESERVATIONS")), c.enregistree ? 2 : 1) << c.quoi;
        EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS")), c.enregistree ? 1 : 0) << c.quoi;
        EXPECT_EQ(f.isVisible(), !c.enregistree) << c.quoi;
        EXPECT_EQ(t.fermee.count(), c.enregistree ? 1 : 0) << c.quoi;
        if (!c.enregistree) {
            // "Non": everything typed is still there, the client name too.
            EXPECT_EQ(f.NomClient->text(), QString()) << c.quoi;
            EXPECT_EQ(f.datedebut->text(), fr(c.debut)) << c.quoi;
            EXPECT_EQ(f.Objets->currentText(), fr(c.objet)) << c.quoi;
        }
    }
}

// Changing a stored reservation: its own old stay never counts; another's
// does, and "Non" leaves the stored row as it was.
TEST(Chevauchement, ModifierUneReservation)
{
    struct Cas {
        const char* quoi;
        const char* debut;
        const char* fin;
        bool reponse;
        bool question;
        bool enregistree;
    } const cas[] = {
        {"sur elle-même", "04/08/2026", "09/08/2026", false, false, true},
        {"sur Martin, Non", "04/08/2026", "13/08/2026", false, true, false},
        {"sur Martin, Oui", "04/08/2026", "13/08/2026", true, true, true},
    };
    for (const Cas& c : cas) {
        FenetreTest t;
        const qint32 numero = t.stocker(sejour("Durand", le(3, 8, 14), le(10, 8, 12)));
        t.stocker(sejour("Martin", le(12, 8, 14), le(15, 8, 12)));
        t.ouvrir(numero);
        reservations& f = t.fenetre();
        QStringList posees;
        f.questionChevauchement = [&](const QString& q) {
            posees << q;
            return c.reponse;
        };
        f.NomClient->setText(QStringLiteral("Durand-Leroy"));
        f.datedebut->setText(fr(c.debut));
        f.datefin->setText(fr(c.fin));
        t.cliquer(QStringLiteral("Modifier"));

        EXPECT_EQ(posees, c.question ? QStringList{fr("Ce logement est déjà occupé du 12/08/2026 au 15/08/2026 "
                                                       "(Martin). Enregistrer quand même ?")}
                                     : QStringList())
            << c.quoi;
        const auto r = Requetes::reservation(t.base(), numero);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->nomclient, c.enregistree ? QStringLiteral("Durand-Leroy") : QStringLiteral("Durand")) << c.quoi;
        EXPECT_EQ(r->fin, c.enregistree ? QDateTime(QDate::fromString(fr(c.fin), QStringLiteral("dd/MM/yyyy")),
                                                    QTime(12, 0), Qt::UTC)
                                        : le(10, 8, 12))
            << c.quoi;
        EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS")), c.enregistree ? 1 : 0) << c.quoi;
        EXPECT_EQ(f.isVisible(), !c.enregistree) << c.quoi;
        EXPECT_EQ(t.appelante().isEnabled(), c.enregistree) << c.quoi;
    }
}

// The real question box, answered through a timer: its buttons, "Non" then
// "Oui".
TEST(Chevauchement, BoiteOuiNon)
{
    FenetreTest t;
    t.stocker(sejour("Durand", le(3, 8, 14), le(10, 8, 12)));
    t.ouvrirNouvelle();
    reservations& f = t.fenetre();
    taper(f, "12 : Chalet", "Martin", "05/08/2026", "14:00", "07/08/2026", "12:00");

    for (bool oui : {false, true}) {
        QStringList textes;
        QStringList boutons;
        QTimer repondeur;
        QObject::connect(&repondeur, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* boite = qobject_cast<QMessageBox*>(w);
                if (!boite || !boite->isVisible())
                    continue;
                textes << boite->text();
                for (QAbstractButton* b : boite->buttons())
                    boutons << b->text();
                EXPECT_EQ(boite->defaultButton(), boite->button(QMessageBox::No));
                boite->button(oui ? QMessageBox::Yes : QMessageBox::No)->click();
            }
        });
        repondeur.start(5);
        t.cliquer(QStringLiteral("ajouter"));
        repondeur.stop();

        EXPECT_EQ(textes, QStringList{fr("Ce logement est déjà occupé du 03/08/2026 au 10/08/2026 (Durand). "
                                         "Enregistrer quand même ?")});
        boutons.sort();
        EXPECT_EQ(boutons, (QStringList{QStringLiteral("Non"), QStringLiteral("Oui")}));
        EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM RESERVATIONS WHERE nomclient = 'Martin'")), oui ? 1 : 0);
        EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS")), oui ? 1 : 0);
        EXPECT_EQ(f.isVisible(), !oui);
    }
}

TEST(Chevauchement, LectureImpossibleRienNEstEnregistre)
{
    FenetreTest t;
    t.ouvrirNouvelle();
    t.temp().executer(QStringLiteral("ALTER TABLE RESERVATIONS RENAME TO ANCIENNES"));
    bool posee = false;
    t.fenetre().questionChevauchement = [&](const QString&) { return posee = true; };
    const QStringList lus = t.messagesPendant([&] { t.cliquer(QStringLiteral("ajouter")); });
    ASSERT_EQ(lus.size(), 1);
    EXPECT_TRUE(lus.at(0).startsWith(fr("Les autres réservations de ce logement n'ont pas pu être lues")));
    EXPECT_FALSE(posee);
    EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS")), 0);
    EXPECT_TRUE(t.fenetre().isVisible());
}
