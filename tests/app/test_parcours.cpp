// A new installation, started in an empty folder without sample data: the
// user creates a unit, a state (chosen as the arrival's) and a bar article
// in the settings, then a reservation from the calendar's "+", finds it with
// the search box and checks the client in from "Journée", without leaving
// the program.
// With PARCOURS_CAPTURES=DIR the windows are saved as pictures there.
#include "config/chemins.h"
#include "app/lanceur.h"
#include "app/root.h"
#include "journee/boiterecherche.h"
#include "journee/fenetrejournee.h"
#include "planning/form1.h"
#include "reservation/reservations.h"
#include "reservation/zonetexte.h"
#include "settings/modelearticles.h"
#include "settings/modeleobjets.h"
#include "settings/parametres.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/requetes.h"
#include "ui/xpcmdbutton.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

void capturer(QWidget* fenetre, const char* nom)
{
    const QString dossier = qEnvironmentVariable("PARCOURS_CAPTURES");
    if (!dossier.isEmpty())
        fenetre->grab().save(dossier + QLatin1Char('/') + QLatin1String(nom) + QStringLiteral(".png"));
}

int compter(const QSqlDatabase& base, const char* table)
{
    QSqlQuery q(base);
    q.exec(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table)));
    return q.next() ? q.value(0).toInt() : -1;
}

} // namespace

TEST(Parcours, FromAnEmptyFolderToAFirstReservation)
{
    QTemporaryDir dossier;
    Chemins::fixerDossierProgramme(dossier.path());
    Horloge::fixer(Dates::naive(QDate(2026, 12, 9), QTime(10, 0)));
    Lanceur lanceur;
    ASSERT_TRUE(lanceur.demarrer(OptionsLancement{}));
    const QSqlDatabase base = lanceur.contexte.BaseOuverte;
    Form1* calendrier = lanceur.calendrier();
    EXPECT_EQ(compter(base, "OBJETS"), 0);
    EXPECT_TRUE(calendrier->Barres().isEmpty());

    // The settings, opened from the menu, are driven from inside their own
    // modal loop, and so are the dialogs they open in turn.
    int etape = 0;
    bool enCours = false;   // a step is queued or still running
    QStringList messages;
    QTimer pilote;
    QObject::connect(&pilote, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* m = qobject_cast<QMessageBox*>(w)) {
            messages << m->text();
            m->close();
        } else if (auto* d = qobject_cast<QInputDialog*>(w)) {
            d->setTextValue(QString::fromUtf8("Arrivé"));
            d->accept();
        } else if (auto* c = qobject_cast<QColorDialog*>(w)) {
            c->setCurrentColor(QColor(0, 128, 255));
            c->accept();
        } else if (auto* p = qobject_cast<parametres*>(w); p && !enCours) {
            enCours = true;
            // Queued, so that the dialogs a step opens run outside this
            // timer's own call (a timer does not fire again inside itself).
            QTimer::singleShot(0, p, [&, p, e = etape++] {
            switch (e) {
            case 0:
                p->SSTab1->setCurrentIndex(1);
                p->ajouterobjet->click();
                break;
            case 1:
                p->modeleobjets->setData(p->modeleobjets->index(0, 1), QStringLiteral("Chalet des Pins"));
                capturer(p, "parcours_1_logement");
                p->SSTab1->setCurrentIndex(0);
                p->ajouteretat->click();
                break;
            case 2: {
                // The new state is the one "Arrivée" gives.
                auto* arrivee = p->findChild<QComboBox*>(QStringLiteral("etatarrivee"));
                const int i = arrivee ? arrivee->findText(QString::fromUtf8("4 - Arrivé")) : -1;
                EXPECT_GE(i, 0);
                if (i >= 0) {
                    arrivee->setCurrentIndex(i);
                    emit arrivee->activated(i);
                }
                capturer(p, "parcours_2_etat");
                p->SSTab1->setCurrentIndex(2);
                p->ajouterarticle->click();
                break;
            }
            case 3:
                p->modelearticles->setData(p->modelearticles->index(0, 1), QStringLiteral("Café"));
                p->modelearticles->setData(p->modelearticles->index(0, 2), QStringLiteral("1,50"));
                capturer(p, "parcours_3_article");
                QTest::mouseClick(p->Quitter, Qt::LeftButton);
                break;
            default:
                p->close();
            }
            enCours = false;
            });
        }
    });
    pilote.start(10);
    lanceur.fenetrePrincipale()->menuoutil.value(50)->trigger();
    pilote.stop();
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(compter(base, "OBJETS"), 1);
    EXPECT_EQ(compter(base, "ETATS"), 4);
    EXPECT_EQ(compter(base, "CONSOMMATIONS"), 1);
    const auto articles = Requetes::consommations(base);
    ASSERT_TRUE(articles && articles->size() == 1);
    EXPECT_DOUBLE_EQ(articles->at(0).prixTTC, 1.5);

    // "+" on the calendar: the new unit and state are offered.
    QTest::mouseClick(calendrier->ajouter, Qt::LeftButton);
    QApplication::processEvents();
    reservations* fenetre = calendrier->fenetreReservation();
    ASSERT_TRUE(fenetre->isVisible());
    ASSERT_EQ(fenetre->Objets->count(), 1);
    EXPECT_EQ(fenetre->Objets->currentText(), QStringLiteral("1 : Chalet des Pins"));
    ASSERT_GE(fenetre->etat->findText(QString::fromUtf8("4 - Arrivé")), 0);
    fenetre->etat->setCurrentIndex(fenetre->etat->findText(QString::fromUtf8("1 - Confirmé")));
    fenetre->NomClient->setText(QStringLiteral("Dupont"));
    capturer(fenetre, "parcours_4_reservation");
    auto lireMessage = [&] {
        QTimer::singleShot(50, [&] {
            if (auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages << m->text();
                m->close();
            }
        });
    };
    // The deposit proposed is a share of the price, and the new unit has no
    // rates yet: left as proposed, it asks nothing and the stay is saved.
    EXPECT_EQ(fenetre->arrhes->text(), QStringLiteral("30 %"));
    lireMessage();
    QTest::mouseClick(fenetre->ajouter, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(fenetre->isVisible());

    EXPECT_EQ(compter(base, "RESERVATIONS"), 1);
    EXPECT_EQ(compter(base, "OPERATIONS"), 1);
    EXPECT_EQ(Requetes::reservation(base, calendrier->Barres().value(0).reservation.numero)
                  .value_or(Requetes::Reservation{}).arrhes, 0.0);
    ASSERT_EQ(calendrier->Barres().size(), 1);
    EXPECT_EQ(calendrier->Barres().at(0).reservation.nomclient, QStringLiteral("Dupont"));
    capturer(lanceur.fenetrePrincipale(), "parcours_5_calendrier");
    const qint32 numero = calendrier->Barres().at(0).reservation.numero;

    // Ctrl+F, "dupont": the reservation is found; Enter shows it on the calendar.
    ROOT* root = lanceur.fenetrePrincipale();
    BoiteRecherche* recherche = lanceur.recherche();
    ASSERT_NE(recherche, nullptr);
    root->activateWindow();
    root->chercher->trigger();
    EXPECT_EQ(root->chercher->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
    QTest::keyClicks(recherche->champrecherche, QStringLiteral("dupont"));
    recherche->rechercher();
    ASSERT_EQ(recherche->resultats().size(), 1);
    EXPECT_EQ(recherche->resultats().at(0).numero, numero);
    capturer(root, "parcours_6_recherche");
    calendrier->datedepart = QDate(2027, 3, 1);
    calendrier->rafraichir();
    QTest::keyClick(recherche->champrecherche, Qt::Key_Return);
    EXPECT_EQ(calendrier->reservation_encours, numero);
    ASSERT_GT(calendrier->reservation_courante, 0);
    EXPECT_TRUE(calendrier->Clignotement->isActive());

    // Ctrl+J: the day's lists; the client arrives.
    EXPECT_EQ(root->menujournee->shortcut(), QKeySequence(QStringLiteral("Ctrl+J")));
    root->menujournee->trigger();
    FenetreJournee* journee = lanceur.journee();
    ASSERT_NE(journee, nullptr);
    EXPECT_TRUE(journee->isVisible());
    ASSERT_EQ(journee->arrivees->topLevelItemCount(), 1);
    EXPECT_EQ(journee->arrivees->topLevelItem(0)->text(Journee::Client), QStringLiteral("Dupont"));
    journee->arrivees->setCurrentItem(journee->arrivees->topLevelItem(0));
    QTimer::singleShot(50, [&] {
        if (auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            messages << m->text();
            m->close();
        }
    });
    QTest::mouseClick(journee->boutonarrivee, Qt::LeftButton);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
    QSqlQuery etat(base);
    ASSERT_TRUE(etat.exec(QStringLiteral("SELECT Etat FROM RESERVATIONS")) && etat.next());
    EXPECT_EQ(etat.value(0).toInt(), 4);
    EXPECT_EQ(compter(base, "OPERATIONS"), 2);
    EXPECT_EQ(journee->arrivees->topLevelItem(0)->text(Journee::Etat), QString::fromUtf8("Arrivé"));
    capturer(root, "parcours_7_journee");
    Horloge::liberer();
    Chemins::fixerDossierProgramme(QString());
}
