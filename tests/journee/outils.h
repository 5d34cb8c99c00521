#pragma once
// A seeded database around 9 December 2026 for the day's windows, and the
// answering of the dialogs they open.
#include "config/chemins.h"
#include "config/ini32.h"
#include "store/contexte.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/module1.h"
#include "store/requetes.h"
#include "testutil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

// The texts of one column of a list, top to bottom.
inline QStringList colonne(QTreeWidget* l, int c)
{
    QStringList t;
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        t << l->topLevelItem(i)->text(c);
    return t;
}

class JourneeTest : public ::testing::Test
{
protected:
    static QDate jour() { return QDate(2026, 12, 9); }

    void SetUp() override
    {
        Chemins::fixerDossierProgramme(m_bd.dossier());
        m_contexte.BaseOuverte = m_bd.base();
        m_contexte.CheminINI = m_bd.dossier() + QStringLiteral("/planning.ini");
        Horloge::fixer(Dates::naive(jour(), QTime(10, 0)));
        m_bd.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chalet A'), (2, 'Chalet B'), "
                                     "(3, 'Emplacement 1'), (4, 'Emplacement 2')"));
        m_bd.executer(QStringLiteral("INSERT INTO ETATS (Code, Nom, CouleurPrincipale, internet, surinternet) VALUES (4, 'Arrivé', 65280, 0, 0), (5, 'Parti', 16711680, 0, 0)"));
        m_dupont = stocker(1, QStringLiteral("Dupont"), jour(), 3, QStringLiteral("06 11 22 33 44"),
                           QStringLiteral("dupont@exemple.fr"));
        m_martin = stocker(2, QStringLiteral("Martin"), jour().addDays(-4), 4);
        m_gerard = stocker(3, QStringLiteral("Gérard Lefèvre"), jour().addDays(-2), 4, QStringLiteral("04 75 00 11 22"));
        // Martin owes 45 euros; Gérard's account is settled.
        Module1::EnregistrerOperation(m_bd.base(), m_martin, -45, QString(), QStringLiteral("BAR Dîner"));
        Module1::EnregistrerOperation(m_bd.base(), m_gerard, -30, QString(), QStringLiteral("BAR Vin"));
        Module1::EnregistrerOperation(m_bd.base(), m_gerard, 30, QStringLiteral("ESP"), QStringLiteral("Paiement ESP"));
        // Rows no list may show, nor trip on.
        m_bd.executerHorsRegles(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin) VALUES "
                                     "(4, NULL, '2026-12-09 14:00:00', '2026-12-10 12:00:00'), "
                                     "(4, 'Sans dates', NULL, NULL), (4, 'Illisible', '09/12/2026', 'bientôt')"));
    }
    void TearDown() override
    {
        Horloge::liberer();
        Chemins::fixerDossierProgramme(QString());
    }

    qint32 stocker(qint32 objet, const QString& client, const QDate& debut, int nuits,
                   const QString& telephone = QStringLiteral(" "), const QString& email = QStringLiteral(" "))
    {
        Requetes::Reservation r;
        r.objet = objet;
        r.nomclient = client;
        r.debut = Dates::naive(debut, QTime(14, 0));
        r.fin = Dates::naive(debut.addDays(nuits), QTime(12, 0));
        r.etat = 1;
        r.nbadultes = 2;
        r.nbenfants = 1;
        r.telephone = telephone;
        r.email = email;
        r.remarque = QStringLiteral(" ");
        return Requetes::ajouterReservation(m_bd.base(), r).value_or(0);
    }

    void regler(const QString& cle, const QString& valeur)
    {
        INI32::ProfilINI(QStringLiteral("reservation"), cle, valeur, m_contexte.CheminINI, 0);
    }

    int valeur(const QString& sql) const { return m_bd.valeur(sql).toInt(); }

    // Runs `action`; each message box it shows is answered by the next of
    // `reponses` (a button's text), or with its only button. Other windows
    // it opens (the payment dialog) are handed to `autre`. Returns the texts.
    static QStringList dialoguesPendant(const std::function<void()>& action, QStringList reponses = {},
                                        const std::function<bool(QWidget*)>& autre = {})
    {
        QStringList lus;
        QTimer guetteur;
        QObject::connect(&guetteur, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (!w->isVisible())
                    continue;
                if (auto* boite = qobject_cast<QMessageBox*>(w)) {
                    lus << boite->text();
                    const QList<QAbstractButton*> boutons = boite->buttons();
                    QAbstractButton* choix = boutons.size() == 1 ? boutons.first() : nullptr;
                    const QString voulu = reponses.isEmpty() ? QString() : reponses.takeFirst();
                    for (QAbstractButton* b : boutons)
                        if (b->text() == voulu)
                            choix = b;
                    if (!choix) {
                        ADD_FAILURE() << "pas de réponse « " << voulu.toStdString() << " » à : " << boite->text().toStdString();
                        boite->reject();
                    } else {
                        choix->click();
                    }
                } else if (autre && autre(w)) {
                    break;
                }
            }
        });
        guetteur.start(5);
        action();
        guetteur.stop();
        EXPECT_TRUE(reponses.isEmpty()) << reponses.join(QLatin1Char('|')).toStdString();
        return lus;
    }

    TestUtil::BaseTemporaire m_bd;
    Contexte m_contexte;
    qint32 m_dupont = 0;
    qint32 m_martin = 0;
    qint32 m_gerard = 0;
};
