// A new installation, started in an empty folder without sample data: the
// user creates a unit, a state and a bar article in the settings, then a
// reservation from the calendar's "+", without leaving the program.
// With PARCOURS_CAPTURES=DIR the windows are saved as pictures there.
#include "config/chemins.h"
#include "app/lanceur.h"
#include "app/root.h"
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
            case 2:
                capturer(p, "parcours_2_etat");
                p->SSTab1->setCurrentIndex(2);
                p->ajouterarticle->click();
                break;
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
    const int arrive = fenetre->etat->findText(QString::fromUtf8("4 - Arrivé"));
    ASSERT_GE(arrive, 0);
    fenetre->etat->setCurrentIndex(arrive);
    fenetre->NomClient->setText(QStringLiteral("Dupont"));
    capturer(fenetre, "parcours_4_reservation");
    QTimer::singleShot(50, [&] {
        if (auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            messages << m->text();
            m->close();
        }
    });
    QTest::mouseClick(fenetre->ajouter, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(fenetre->isVisible());

    EXPECT_EQ(compter(base, "RESERVATIONS"), 1);
    EXPECT_EQ(compter(base, "OPERATIONS"), 1);
    ASSERT_EQ(calendrier->Barres().size(), 1);
    EXPECT_EQ(calendrier->Barres().at(0).reservation.nomclient, QStringLiteral("Dupont"));
    capturer(lanceur.fenetrePrincipale(), "parcours_5_calendrier");
    Horloge::liberer();
    Chemins::fixerDossierProgramme(QString());
}
