#include "fenetretest.h"

#include "config/chemins.h"
#include "config/langues.h"
#include "facturation/etablissement.h"
#include "store/horloge.h"
#include "store/requetes.h"
#include "ui/xpcmdbutton.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

Requetes::Reservation reservationExemple()
{
    Requetes::Reservation r;
    r.objet = 12;
    r.nomclient = QStringLiteral("Durand");
    r.debut = QDateTime(QDate(2026, 8, 3), QTime(14, 0), Qt::UTC);
    r.fin = QDateTime(QDate(2026, 8, 10), QTime(12, 0), Qt::UTC);
    r.arrhes = 12.5;
    r.etat = 2;
    r.nbadultes = 2;
    r.nbenfants = 1;
    r.remarque = QStringLiteral("Vue sur le lac ");
    r.telephone = QStringLiteral("0102030405 ");
    r.email = QStringLiteral("durand@exemple.fr ");
    return r;
}

namespace {

// Each window under test has its own connection, so two may live at once.
QString nouvelleConnexion()
{
    static int n = 0;
    return QStringLiteral("fenetre%1").arg(++n);
}

} // namespace

FenetreTest::FenetreTest()
    : m_base(nouvelleConnexion())
    , m_fenetre([this] {
        m_contexte.BaseOuverte = m_base.base();
        m_contexte.CheminINI = m_dossier.filePath(QStringLiteral("planning.ini"));
        Langues::fixerFichier(m_contexte.CheminINI);
        // A desk that asks no deposit by default, as before the setting
        // existed: a new reservation saves without a price for its stay
        // (the tests of the deposit set it back to a share).
        Etablissement::EcrireArrhes(m_contexte.CheminINI, MontantOuPourcentage::Valeur{0, false});
        for (const Requetes::Etat& e : Requetes::etats(m_base.base()).value_or(QList<Requetes::Etat>()))
            m_contexte.TableEtats << EntreeEtat{e.code, QString::number(e.code) + QStringLiteral(" - ") + e.nom, e.couleur};
        m_base.executer(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (10, 'Tente'), (12, 'Chalet'), "
                                       "(1, 'Mobil-home'), (2, 'Yourte')"));
        return std::make_unique<reservations>(&m_contexte);
    }())
    , encours(m_fenetre.get(), &reservations::reservationEncours)
    , depart(m_fenetre.get(), &reservations::dateDepart)
    , rafraichir(m_fenetre.get(), &reservations::rafraichirDemande)
    , fermee(m_fenetre.get(), &reservations::fermee)
{
    m_appelante.setObjectName(QStringLiteral("planning"));
    Chemins::fixerDossierProgramme(m_dossier.path());
    m_fenetre->sortiesContrat.imprimer = [this](const QString&, const QString& titre) {
        impressions << titre;
        return imprimerAccepte;
    };
    const QString script = m_outils.filePath(QStringLiteral("xdg-email"));
    TestUtil::ecrireFichier(script, "#!/bin/sh\nd=$(dirname \"$0\")\nfor a in \"$@\"; do echo \"$a\"; done > \"$d/arguments\"\n"
                                    "exit $(cat \"$d/code\" 2>/dev/null || echo 0)\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_path = qgetenv("PATH");
    qputenv("PATH", m_outils.path().toUtf8() + ':' + m_path);
}

FenetreTest::~FenetreTest()
{
    m_fenetre.reset();
    Horloge::liberer();
    qputenv("PATH", m_path);
    Chemins::fixerDossierProgramme(QString());
}

QStringList FenetreTest::argumentsEmail() const
{
    const QString texte = QString::fromUtf8(TestUtil::lireFichier(m_outils.filePath(QStringLiteral("arguments"))));
    return texte.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void FenetreTest::codeEmail(int code)
{
    TestUtil::ecrireFichier(m_outils.filePath(QStringLiteral("code")), QByteArray::number(code));
}

qint32 FenetreTest::stocker(const Requetes::Reservation& r)
{
    QString erreur;
    const auto numero = Requetes::ajouterReservation(base(), r, &erreur);
    EXPECT_TRUE(numero.has_value()) << erreur.toStdString();
    return numero.value_or(0);
}

void FenetreTest::ouvrir(qint32 numero)
{
    const auto r = Requetes::reservation(base(), numero);
    ASSERT_TRUE(r.has_value());
    QString libelle;
    for (const EntreeEtat& e : m_contexte.TableEtats)
        if (e.code == r->etat)
            libelle = e.libelle;
    reservations& f = *m_fenetre;
    f.Fonction_Modifier();
    f.RemplirDepuis(*r, libelle);
    f.show();
    f.AfficherLeTicket();
    f.FormAppelante(&m_appelante);
    m_appelante.setEnabled(false);
}

void FenetreTest::ouvrirNouvelle()
{
    m_fenetre->Fonction_Ajouter();
    m_fenetre->setWindowModality(Qt::ApplicationModal);
    m_fenetre->show();
}

void FenetreTest::cliquer(xpcmdbutton* bouton)
{
    ASSERT_NE(bouton, nullptr);
    ASSERT_TRUE(bouton->isVisible()) << bouton->objectName().toStdString();
    QTest::mouseClick(bouton, Qt::LeftButton, {}, bouton->rect().center());
}

void FenetreTest::cliquer(const QString& nom)
{
    cliquer(m_fenetre->findChild<xpcmdbutton*>(nom));
}

QLineEdit* FenetreTest::boite(const QString& nom)
{
    QLineEdit* e = m_fenetre->findChild<QLineEdit*>(nom);
    EXPECT_NE(e, nullptr) << nom.toStdString();
    return e;
}

QStringList FenetreTest::messagesPendant(const std::function<void()>& action)
{
    // Every message of the window is closed by its OK button.
    return TestUtil::messagesPendant(action);
}

QStringList FenetreTest::questionsPendant(const std::function<void()>& action, QList<bool> reponses)
{
    QStringList lus;
    QTimer guetteur;
    QObject::connect(&guetteur, &QTimer::timeout, [&lus, &reponses] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* boite = qobject_cast<QMessageBox*>(w);
            if (!boite || !boite->isVisible())
                continue;
            lus << boite->text();
            if (boite->standardButtons() == QMessageBox::Ok) {
                boite->button(QMessageBox::Ok)->click();
                continue;
            }
            EXPECT_EQ(boite->standardButtons(), QMessageBox::Yes | QMessageBox::No) << boite->text().toStdString();
            QAbstractButton* oui = boite->button(QMessageBox::Yes);
            QAbstractButton* non = boite->button(QMessageBox::No);
            if (!oui || !non) {
                boite->reject();
                continue;
            }
            EXPECT_EQ(oui->text(), QStringLiteral("Oui"));
            EXPECT_EQ(non->text(), QStringLiteral("Non"));
            EXPECT_EQ(boite->defaultButton(), non) << boite->text().toStdString();
            if (reponses.isEmpty()) {
                ADD_FAILURE() << "question sans réponse prévue : " << boite->text().toStdString();
                non->click();
                continue;
            }
            (reponses.takeFirst() ? oui : non)->click();
        }
    });
    guetteur.start(5);
    action();
    guetteur.stop();
    EXPECT_TRUE(reponses.isEmpty()) << reponses.size() << " réponse(s) non utilisée(s)";
    return lus;
}
