// What the reservation window asks before it deletes or throws edits away,
// the contract buttons of a new reservation, and the balance under the
// receipt.
#include "fenetretest.h"

#include "bar/ticketdecaisse.h"
#include "reservation/zonetexte.h"
#include "store/conversion.h"
#include "store/horloge.h"
#include "store/module1.h"
#include "store/requetes.h"
#include "ui/xpcmdbutton.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kAbandon = QStringLiteral("Abandonner les modifications de cette réservation ?");

QString libelleJournal(const FenetreTest& t, qint32 numero, const QString& colonne)
{
    return t.temp().valeur(QStringLiteral("SELECT %1 FROM OPERATIONS WHERE numeroreservation = %2 AND prix = 0 AND libelle NOT LIKE 'Envoi %'")
                               .arg(colonne).arg(numero)).toString();
}

} // namespace

TEST(QuestionsReservation, SupprimerDemandeAvantEtLaisseUneTraceAuJournal)
{
    enum Geste { Bouton, AltSDansLeNom, AltSDansUneDate };
    struct Cas {
        Geste geste;
        bool oui;
    } const cas[] = {
        {Bouton, false}, {Bouton, true}, {AltSDansLeNom, false}, {AltSDansLeNom, true}, {AltSDansUneDate, true},
    };
    for (const Cas& c : cas) {
        FenetreTest t;
        const qint32 numero = t.stocker(reservationExemple());
        // An event of its account (no money), the day before: the stay may still be deleted.
        Horloge::fixer(QDateTime(QDate(2026, 6, 30), QTime(9, 0), Qt::UTC));
        ASSERT_TRUE(Module1::EnregistrerOperation(t.base(), numero, 0, QString(), QStringLiteral("Envoi contrat par Poste")));
        Horloge::fixer(QDateTime(QDate(2026, 7, 1), QTime(9, 0), Qt::UTC));
        t.ouvrir(numero);
        reservations& f = t.fenetre();
        // Typed but not saved: the question names the stored reservation.
        f.NomClient->setText(QStringLiteral("Durand-Martin"));
        const QStringList lus = t.questionsPendant([&] {
            if (c.geste == Bouton) {
                t.cliquer(QStringLiteral("supprimer"));
                return;
            }
            f.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
            QWidget* boite = c.geste == AltSDansLeNom ? static_cast<QWidget*>(f.NomClient) : f.datedebut;
            boite->setFocus();
            QTest::keyClick(boite, Qt::Key_S, Qt::AltModifier);
        }, {c.oui});
        const int geste = c.geste;
        EXPECT_EQ(lus, QStringList{QStringLiteral("Supprimer la réservation %1 de Durand du 03/08/2026 au 10/08/2026 ? "
                                                  "Les opérations du compte sont conservées.").arg(numero)})
            << geste;
        EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM RESERVATIONS")), c.oui ? 0 : 1) << geste;
        // The account stays; a deletion adds its own row.
        EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE numeroreservation = %1").arg(numero)),
                  c.oui ? 2 : 1) << geste;
        EXPECT_EQ(t.fermee.count(), c.oui ? 1 : 0) << geste;
        EXPECT_EQ(t.rafraichir.count(), c.oui ? 1 : 0) << geste;
        EXPECT_EQ(f.isVisible(), !c.oui) << geste;
        EXPECT_EQ(t.appelante().isEnabled(), c.oui) << geste;
        if (c.oui) {
            EXPECT_EQ(libelleJournal(t, numero, QStringLiteral("libelle")),
                      QStringLiteral("Suppression de la réservation (Durand, Chalet, 03/08/2026 - 10/08/2026)"));
            EXPECT_EQ(libelleJournal(t, numero, QStringLiteral("paiement")), QStringLiteral("   "));
        } else {
            EXPECT_EQ(f.NomClient->text(), QStringLiteral("Durand-Martin")) << geste;
        }
    }
}

TEST(QuestionsReservation, BoutonsDuContratSeulementPourUneReservationEnregistree)
{
    FenetreTest t;
    const qint32 numero = t.stocker(reservationExemple());
    // A new one, then an existing one in the same window, then a new one again.
    for (bool existante : {false, true, false}) {
        if (existante)
            t.ouvrir(numero);
        else
            t.ouvrirNouvelle();
        reservations& f = t.fenetre();
        ASSERT_EQ(f.ImprimerContrat.size(), 4);
        for (xpcmdbutton* b : f.ImprimerContrat) {
            EXPECT_EQ(b->isEnabled(), existante) << b->Caption().toStdString();
            t.cliquer(b);
        }
        EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE numeroreservation = 0")), 0);
        EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE numeroreservation = %1").arg(numero)),
                  existante ? 4 : 0);
        t.questionsPendant([&] { t.cliquer(QStringLiteral("Annuler")); }, {});
        t.temp().executer(QStringLiteral("DELETE FROM OPERATIONS"));
    }
}

TEST(QuestionsReservation, QuitterAvecDesModificationsDemande)
{
    enum Sortie { Revenir, Croix, Gestionnaire, EchapDansUneBoite };
    enum Changement { Aucun, Nom, Date, Logement };
    struct Cas {
        bool nouvelle;
        Changement changement;
        Sortie sortie;
        bool oui;   // the answer, when a question is asked
    } const cas[] = {
        {false, Aucun, Revenir, false},
        {false, Aucun, EchapDansUneBoite, false},
        {false, Nom, Revenir, false},
        {false, Nom, Croix, false},
        {false, Date, Gestionnaire, false},
        {false, Logement, EchapDansUneBoite, false},
        {false, Nom, EchapDansUneBoite, true},
        {false, Date, Croix, true},
        {true, Aucun, Gestionnaire, false},
        {true, Aucun, Croix, false},
        {true, Nom, Revenir, false},
        {true, Date, EchapDansUneBoite, true},
    };
    for (const Cas& c : cas) {
        FenetreTest t;
        const qint32 numero = t.stocker(reservationExemple());
        Horloge::fixer(QDateTime(QDate(2026, 7, 1), QTime(9, 0), Qt::UTC));
        t.fenetre().FormAppelante(&t.appelante());
        t.appelante().setEnabled(false);
        if (c.nouvelle)
            t.ouvrirNouvelle();
        else
            t.ouvrir(numero);
        reservations& f = t.fenetre();
        // Typing a change and typing it back is no change.
        f.telephone->setText(QStringLiteral("0600000000"));
        f.telephone->setText(c.nouvelle ? QString() : QStringLiteral("0102030405"));
        if (c.changement == Nom)
            f.NomClient->setText(QStringLiteral("Martin"));
        else if (c.changement == Date)
            f.datefin->setText(QStringLiteral("11/08/2026"));
        else if (c.changement == Logement)
            f.Objets->setCurrentIndex(f.Objets->findText(QStringLiteral("10 : Tente")));
        const QString tape = f.datefin->text();
        const bool question = c.changement != Aucun;
        const QStringList lus = t.questionsPendant([&] {
            switch (c.sortie) {
            case Revenir:
                t.cliquer(QStringLiteral("Annuler"));
                break;
            case Croix:
                t.cliquer(QStringLiteral("xpcmdbutton1"));
                break;
            case Gestionnaire:
                f.close();
                break;
            case EchapDansUneBoite:
                f.activateWindow();
                ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
                f.heurefin->setFocus();
                QTest::keyClick(f.heurefin, Qt::Key_Escape);
                break;
            }
        }, question ? QList<bool>{c.oui} : QList<bool>{});
        const int ligne = int(&c - cas);
        EXPECT_EQ(lus, question ? QStringList{kAbandon} : QStringList()) << ligne;
        const bool parti = !question || c.oui;
        EXPECT_EQ(f.isVisible(), !parti) << ligne;
        EXPECT_EQ(t.fermee.count(), parti ? 1 : 0) << ligne;
        EXPECT_EQ(t.appelante().isEnabled(), parti) << ligne;
        if (!parti) {
            EXPECT_EQ(f.datefin->text(), tape) << ligne;   // the edits are kept
        }
        // Nothing is ever written by leaving.
        EXPECT_EQ(Requetes::reservation(t.base(), numero)->nomclient, QStringLiteral("Durand")) << ligne;
        EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM RESERVATIONS")), 1) << ligne;
        EXPECT_EQ(t.nombre(QStringLiteral("SELECT count(*) FROM OPERATIONS")), 0) << ligne;
    }
}

TEST(QuestionsReservation, SoldeEntierEtEnCouleur)
{
    struct Cas {
        QList<double> montants;
        const char* affiche;
        bool rouge;
    } const cas[] = {
        {{-12345.67}, "-12 345,67 €", true},
        {{-1234567.89}, "-1 234 567,89 €", true},
        {{-3, 5}, "2,00 €", false},
        {{-5, 5}, "0,00 €", false},
        {{-0.01}, "-0,01 €", true},
        {{-0.004}, "0,00 €", false},
        {{99999.99}, "99 999,99 €", false},
    };
    for (const Cas& c : cas) {
        FenetreTest t;
        const qint32 numero = t.stocker(reservationExemple());
        for (double m : c.montants)
            ASSERT_TRUE(Module1::EnregistrerOperation(t.base(), numero, m, QString(), QStringLiteral("ligne")));
        t.ouvrir(numero);
        QLabel* du = t.fenetre().findChild<QLabel*>(QStringLiteral("du"));
        ASSERT_NE(du, nullptr);
        const QString attendu = QString::fromUtf8(c.affiche);
        EXPECT_EQ(du->text(), attendu);
        // The whole amount fits the label, sign included.
        EXPECT_LE(QFontMetricsF(du->font()).horizontalAdvance(du->text()), du->contentsRect().width()) << c.affiche;
        const QColor couleur = du->palette().color(QPalette::WindowText);
        EXPECT_EQ(couleur.red() > couleur.green(), c.rouge) << c.affiche;

        // On screen: the leftmost pixel column of the label is background,
        // so nothing was cut off on that side.
        const QImage image = du->grab().toImage();
        bool colonneVide = true;
        for (int y = 0; y < image.height(); ++y)
            colonneVide = colonneVide && image.pixelColor(0, y) == du->palette().color(QPalette::Window);
        EXPECT_TRUE(colonneVide) << c.affiche;
        t.questionsPendant([&] { t.cliquer(QStringLiteral("Annuler")); }, {});
    }
}
