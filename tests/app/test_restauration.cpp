// What the user sees of the backups: the question at the start of a damaged
// database, and the window "Restaurer une sauvegarde…".
#include "app/gardienbase.h"
#include "journee/boiterecherche.h"
#include "journee/fenetrejournee.h"
#include "app/lanceur.h"
#include "app/restauration.h"
#include "app/root.h"
#include "app/sauvegardes.h"
#include "config/chemins.h"
#include "outils_sauvegardes.h"
#include "planning/form1.h"
#include "store/base.h"
#include "store/dates.h"
#include "testutil.h"
#include "store/horloge.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

#include "dossierdujour.h"

using namespace OutilsSauvegardes;

namespace {

// Runs an action and answers every message box it shows: a question with
// `reponse`, any other box with its OK button. Returns their texts.
// The texts of each box's buttons go to `boutons` ("Oui/Non", "OK").
QStringList repondre(QMessageBox::StandardButton reponse, const std::function<void()>& action,
                     const std::function<void(RestaurationSauvegarde*)>& fenetre = {}, QStringList* boutons = nullptr)
{
    QStringList lus;
    QList<QPointer<QObject>> vues;   // boxes already answered (null once gone)
    QTimer guetteur;
    // The answers are posted, not given inside the timer: a box opened by
    // an answer runs its own loop, in which this timer must fire again.
    QObject::connect(&guetteur, &QTimer::timeout, [&] {
        QWidget* modale = QApplication::activeModalWidget();
        if (auto* boite = qobject_cast<QMessageBox*>(modale)) {
            if (vues.contains(boite))
                return;
            vues << boite;
            lus << boite->text();
            if (boutons) {
                QStringList textes;
                for (QAbstractButton* b : boite->buttons())
                    textes << b->text();
                textes.sort();
                *boutons << textes.join(QLatin1Char('/'));
            }
            QAbstractButton* b = boite->button(reponse);
            QMetaObject::invokeMethod(b ? b : boite->button(QMessageBox::Ok), &QAbstractButton::click, Qt::QueuedConnection);
        } else if (auto* r = qobject_cast<RestaurationSauvegarde*>(modale)) {
            if (fenetre)
                QMetaObject::invokeMethod(r, [r, &fenetre] { fenetre(r); }, Qt::QueuedConnection);
        }
    });
    guetteur.start(10);
    action();
    guetteur.stop();
    return lus;
}

int compter(const QSqlDatabase& base, const QString& sql)
{
    QSqlQuery q(base);
    return q.exec(sql) && q.next() ? q.value(0).toInt() : -1;
}

class Restauration_ : public DossierDuJour
{
protected:
    // A start of the program up to its background check, answered.
    QStringList demarrer(Lanceur& lanceur, QMessageBox::StandardButton reponse = QMessageBox::Yes,
                         QStringList* boutons = nullptr)
    {
        return repondre(reponse, [&] {
            OptionsLancement options;
            options.demo = true;
            EXPECT_TRUE(lanceur.demarrer(options));
            QApplication::processEvents();
            EXPECT_TRUE(lanceur.gardien()->attendre());
        }, {}, boutons);
    }
    QString slot(int n) const
    {
        return Sauvegardes::Dossier() + QLatin1Char('/')
             + QStringLiteral("%1_%2.db").arg(QFileInfo(base()).completeBaseName()).arg(n);
    }
    QString base() const { return m_dossier.filePath(Chemins::nomExecutable() + QStringLiteral(".db")); }
    QStringList gardees() const
    {
        return QDir(Sauvegardes::Dossier()).entryList({QStringLiteral("avant_restauration_*")});
    }
};

} // namespace

TEST_F(Restauration_, ADamagedDatabaseAsksAndOuiRestoresTheNewestSoundBackupWhileNonGoesReadOnly)
{
    struct Cas { QMessageBox::StandardButton reponse; bool lectureSeule; };
    const Cas cas[] = {{QMessageBox::No, true}, {QMessageBox::Yes, false}};
    // Two sound starts; the second adds account rows before its backup.
    {
        Lanceur premier;
        demarrer(premier);
    }
    int comptesSains = 0;
    {
        Lanceur second;
        OptionsLancement options;
        ASSERT_TRUE(second.demarrer(options));
        QSqlQuery q(second.contexte.BaseOuverte);
        for (int i = 0; i < 25; ++i)
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) VALUES (1, '2026-12-09 10:%1:00', -2.5, '', 'Café')")
                                   .arg(i, 2, 10, QLatin1Char('0'))));
        comptesSains = compter(second.contexte.BaseOuverte, QStringLiteral("SELECT count(*) FROM OPERATIONS"));
        QApplication::processEvents();
        ASSERT_TRUE(second.gardien()->attendre());
        ASSERT_EQ(second.gardien()->bilan().issue, Sauvegardes::Bilan::Copiee);
    }
    ASSERT_EQ(comptes(slot(2)).value(1), comptes(base()).value(1));

    for (const Cas& c : cas) {
        abimer(base());
        const QByteArray avant1 = TestUtil::lireFichier(slot(1)), avant2 = TestUtil::lireFichier(slot(2));
        Lanceur lanceur;
        QStringList boutons;
        const QStringList vus = demarrer(lanceur, c.reponse, &boutons);
        ASSERT_FALSE(vus.isEmpty());
        EXPECT_EQ(boutons.value(0), QStringLiteral("Non/Oui"));
        EXPECT_TRUE(vus.first().startsWith(QString::fromUtf8("La base de données est endommagée : "))) << qPrintable(vus.first());
        EXPECT_TRUE(vus.first().endsWith(QString::fromUtf8(". Restaurer la dernière sauvegarde saine ?")));
        // No slot was written over by the damaged file.
        EXPECT_EQ(TestUtil::lireFichier(slot(1)), avant1);
        EXPECT_EQ(TestUtil::lireFichier(slot(2)), avant2);
        EXPECT_EQ(QFileInfo::exists(slot(3)), false);

        const QSqlDatabase& db = lanceur.contexte.BaseOuverte;
        EXPECT_EQ(lanceur.calendrier()->windowTitle().endsWith(QString::fromUtf8(" — BASE ENDOMMAGÉE")), c.lectureSeule);
        EXPECT_EQ(lanceur.gardien()->endommagee(), c.lectureSeule);
        EXPECT_EQ(QSqlQuery(db).exec(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) VALUES (2, '2026-12-09 11:00:00', 1, '', 'x')")),
                  !c.lectureSeule);
        if (!c.lectureSeule) {
            // The account rows of the newest sound backup are all there.
            EXPECT_EQ(compter(db, QStringLiteral("SELECT count(*) FROM OPERATIONS")), comptesSains + 1);
            EXPECT_TRUE(Sauvegardes::Verifier(base()).saine);
            EXPECT_EQ(gardees().size(), 1);
        }
    }
}

TEST_F(Restauration_, TheFileMenuRestoresAChosenSlotAndKeepsTheCurrentFile)
{
    {
        Lanceur premier;
        demarrer(premier);
    }
    Lanceur lanceur;
    demarrer(lanceur);
    const QSqlDatabase& db = lanceur.contexte.BaseOuverte;
    const int avant = compter(db, QStringLiteral("SELECT count(*) FROM RESERVATIONS"));
    QSqlQuery(db).exec(QStringLiteral("DELETE FROM RESERVATIONS"));
    ASSERT_EQ(compter(db, QStringLiteral("SELECT count(*) FROM RESERVATIONS")), 0);

    QStringList lignes, etats, apres;
    bool restaurerActifAvant = true;
    const QStringList vus = repondre(QMessageBox::Yes, [&] { lanceur.fenetrePrincipale()->menufichier.value(20)->trigger(); },
        [&](RestaurationSauvegarde* f) {
            if (!f->verificationFinie() || !apres.isEmpty())
                return;
            // Restored, the window stays: its list now holds the database
            // kept before the restore.
            if (!lignes.isEmpty()) {
                for (int i = 0; i < f->liste->topLevelItemCount(); ++i)
                    apres << f->liste->topLevelItem(i)->text(0);
                f->fermer->click();
                return;
            }
            for (int i = 0; i < f->liste->topLevelItemCount(); ++i) {
                lignes << f->liste->topLevelItem(i)->text(0);
                etats << f->liste->topLevelItem(i)->text(3);
            }
            restaurerActifAvant = f->restaurer->isEnabled();
            // The newest slot (this start's, taken before the rows went).
            f->liste->setCurrentItem(f->liste->topLevelItem(0));
            f->restaurer->click();
        });
    EXPECT_EQ(lignes, (QStringList{QStringLiteral("2"), QStringLiteral("1")}));
    EXPECT_EQ(etats, (QStringList{QStringLiteral("saine"), QStringLiteral("saine")}));
    EXPECT_FALSE(restaurerActifAvant);
    ASSERT_EQ(vus.size(), 2);
    EXPECT_TRUE(vus.at(0).startsWith(QString::fromUtf8("Remplacer la base actuelle par la sauvegarde n° 2 du ")));
    EXPECT_TRUE(vus.at(1).startsWith(QString::fromUtf8("Sauvegarde restaurée : ")));
    EXPECT_EQ(apres, (QStringList{QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("avant restauration")}));

    // The connection is the same and reads the restored file.
    EXPECT_EQ(compter(db, QStringLiteral("SELECT count(*) FROM RESERVATIONS")), avant);
    ASSERT_EQ(gardees().size(), 1);
    EXPECT_TRUE(vus.at(1).contains(gardees().first()));
    const QString gardee = Sauvegardes::Dossier() + QLatin1Char('/') + gardees().first();
    EXPECT_TRUE(gardees().first().startsWith(QStringLiteral("avant_restauration_2026-12-09_09-00-00")));
    EXPECT_TRUE(integre(gardee));
    EXPECT_EQ(comptes(gardee), comptes(base()));   // the account stays; only the reservations went
    EXPECT_TRUE(QSqlQuery(db).exec(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) VALUES (3, '2026-12-09 12:00:00', 1, '', 'x')")));
}

// The names a window shows of the database, whatever the window.
QStringList nomsCalendrier(Form1* f)
{
    QStringList noms;
    for (const Grille::Barre& b : f->Barres())
        noms << b.reservation.nomclient;
    noms.sort();
    return noms;
}

QStringList nomsListes(FenetreJournee* j)
{
    QStringList noms;
    for (QTreeWidget* liste : {j->arrivees, j->departs, j->presents})
        for (int i = 0; i < liste->topLevelItemCount(); ++i)
            noms << liste->topLevelItem(i)->text(1);
    noms.sort();
    return noms;
}

QStringList nomsRecherche(BoiteRecherche* r)
{
    QStringList noms;
    for (const RequetesJournee::Sejour& s : r->resultats())
        noms << s.client;
    noms.sort();
    return noms;
}

// After a restore, the calendar, the day's lists and the search read the
// restored file: first one with other names than those just drawn, then
// one with no unit and no stay at all.
TEST_F(Restauration_, EveryWindowReadsTheRestoredFile)
{
    {
        Lanceur premier;
        demarrer(premier);
    }
    // Between two starts the names change (another program): the second
    // start's windows show them, and this desk writes nothing before the
    // restore, so that nothing of its own connection tells the files apart.
    {
        const auto autre = Base::ouvrir(base(), Base::Ouverture::Existante, QStringLiteral("autre"));
        ASSERT_TRUE(autre.has_value());
        ASSERT_TRUE(QSqlQuery(*autre).exec(QStringLiteral("UPDATE RESERVATIONS SET nomclient = 'Zzancien' || NumeroReservation")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("autre"));
    Lanceur lanceur;
    demarrer(lanceur);
    const QSqlDatabase& db = lanceur.contexte.BaseOuverte;
    Form1* calendrier = lanceur.calendrier();
    lanceur.montrerJournee();
    FenetreJournee* journee = lanceur.journee();
    ASSERT_NE(journee, nullptr);
    calendrier->rafraichir();
    lanceur.recherche()->champrecherche->setText(QStringLiteral("Zzancien"));
    lanceur.recherche()->rechercher();
    lanceur.recherche()->resultatsrecherche->show();
    ASSERT_FALSE(nomsCalendrier(calendrier).isEmpty());
    ASSERT_TRUE(nomsCalendrier(calendrier).first().startsWith(QStringLiteral("Zzancien")));
    ASSERT_FALSE(nomsRecherche(lanceur.recherche()).isEmpty());

    // The slot's schema counter made equal to the file's: what this desk's
    // connection can tell of the two files is then the same.
    {
        QSqlDatabase creneau = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("creneau"));
        creneau.setDatabaseName(slot(1));
        ASSERT_TRUE(creneau.open());
        const int version = compter(db, QStringLiteral("PRAGMA schema_version"));
        ASSERT_TRUE(QSqlQuery(creneau).exec(QStringLiteral("PRAGMA schema_version = %1").arg(version)));
        creneau.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("creneau"));
    QString message;
    ASSERT_TRUE(lanceur.gardien()->restaurer(slot(1), &message)) << message.toStdString();
    const QStringList calendrierRestaure = nomsCalendrier(calendrier);
    EXPECT_FALSE(calendrierRestaure.isEmpty());
    for (const QString& nom : calendrierRestaure + nomsListes(journee))
        EXPECT_FALSE(nom.startsWith(QStringLiteral("Zzancien"))) << nom.toStdString();
    EXPECT_TRUE(nomsListes(journee).contains(QStringLiteral("Dupont")));
    EXPECT_TRUE(nomsRecherche(lanceur.recherche()).isEmpty());
    // The same names as the calendar reads anew from the restored file.
    calendrier->baseRemplacee();
    EXPECT_EQ(nomsCalendrier(calendrier), calendrierRestaure);

    // A file with no unit and no stay.
    const QString vide = m_dossier.filePath(QStringLiteral("vide.db"));
    ASSERT_TRUE(Base::ouvrir(vide, Base::Ouverture::CreerSiAbsente, QStringLiteral("vide")).has_value());
    QSqlDatabase::removeDatabase(QStringLiteral("vide"));
    lanceur.recherche()->champrecherche->setText(QStringLiteral("Du"));
    lanceur.recherche()->rechercher();
    ASSERT_FALSE(nomsRecherche(lanceur.recherche()).isEmpty());
    ASSERT_TRUE(lanceur.gardien()->restaurer(vide, &message)) << message.toStdString();
    EXPECT_EQ(compter(db, QStringLiteral("SELECT count(*) FROM OBJETS")), 0);
    EXPECT_TRUE(nomsCalendrier(calendrier).isEmpty());
    EXPECT_TRUE(nomsListes(journee).isEmpty());
    EXPECT_TRUE(nomsRecherche(lanceur.recherche()).isEmpty());
}

TEST(FenetreRestauration, ADamagedSlotIsMarkedAndCannotBeRestored)
{
    QTemporaryDir dossier;
    Chemins::fixerDossierProgramme(dossier.path());
    const QString base = dossier.filePath(QStringLiteral("planning.db"));
    QDir().mkpath(Sauvegardes::Dossier());
    {
        const auto db = Base::ouvrir(base, Base::Ouverture::CreerSiAbsente, QStringLiteral("f"));
        ASSERT_TRUE(db.has_value());
        for (int n : {3, 4})
            ASSERT_TRUE(CopieBase::copier(*db, Sauvegardes::Dossier() + QStringLiteral("/planning_%1.db").arg(n)));
    }
    CopieBase::fermer(QStringLiteral("f"));
    abimer(Sauvegardes::Dossier() + QStringLiteral("/planning_4.db"));
    TestUtil::ecrireFichier(Sauvegardes::Dossier() + QStringLiteral("/autre_5.db"), "pas une sauvegarde");

    RestaurationSauvegarde f(base);
    QSignalSpy finie(&f, &RestaurationSauvegarde::verificationTerminee);
    QSignalSpy demandee(&f, &RestaurationSauvegarde::restaurationDemandee);
    ASSERT_EQ(f.liste->topLevelItemCount(), 2);
    ASSERT_TRUE(finie.wait(10000));
    struct Cas { int ligne; const char* etat; bool actif; };
    const Cas cas[] = {{0, "endommagée", false}, {1, "saine", true}};   // 4 is the newest
    for (const Cas& c : cas) {
        f.liste->setCurrentItem(f.liste->topLevelItem(c.ligne));
        EXPECT_EQ(f.liste->topLevelItem(c.ligne)->text(3), QString::fromUtf8(c.etat));
        EXPECT_EQ(f.restaurer->isEnabled(), c.actif) << c.ligne;
    }
    f.liste->setCurrentItem(f.liste->topLevelItem(0));
    f.restaurer->click();
    EXPECT_EQ(demandee.size(), 0);
    Chemins::fixerDossierProgramme(QString());
}

TEST(FenetreRestauration, SizesReadAsAUserWould)
{
    struct Cas { qint64 octets; const char* texte; };
    const Cas cas[] = {{0, "0 o"}, {999, "999 o"}, {1000, "1 ko"}, {640500, "641 ko"}, {12500000, "12,5 Mo"}};
    for (const Cas& c : cas)
        EXPECT_EQ(RestaurationSauvegarde::texteTaille(c.octets), QString::fromUtf8(c.texte)) << c.octets;
}

// Beside the slots, the window lists the databases kept before a restore,
// and says of each what it holds: its stays and the arrival of the last one.
TEST(FenetreRestauration, ListsTheDatabasesKeptBeforeARestoreAndWhatEachHolds)
{
    QTemporaryDir dossier;
    Chemins::fixerDossierProgramme(dossier.path());
    const QString base = dossier.filePath(QStringLiteral("planning.db"));
    QDir().mkpath(Sauvegardes::Dossier());
    const QString gardee = Sauvegardes::Dossier() + QStringLiteral("/avant_restauration_2026-12-09_10-04-39.db");
    {
        const auto db = Base::ouvrir(base, Base::Ouverture::CreerSiAbsente, QStringLiteral("f"));
        ASSERT_TRUE(db.has_value());
        QSqlQuery q(*db);
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (1, 'Chalet')")));
        ASSERT_TRUE(CopieBase::copier(*db, Sauvegardes::Dossier() + QStringLiteral("/planning_2.db")));
        for (const char* jour : {"2026-07-01", "2026-08-14", "2026-05-03"})
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) "
                                              "VALUES (1, 'Client', '%1 14:00:00', '%1 18:00:00', 1)").arg(QLatin1String(jour))));
        ASSERT_TRUE(CopieBase::copier(*db, gardee));
    }
    CopieBase::fermer(QStringLiteral("f"));
    // Files that are none of these: a log, another database, an odd name.
    for (const char* autre : {"avant_restauration_2026-12-09_10-04-39.db-wal", "autre_5.db", "avant_restauration_hier.db",
                              "avant_restauration_2026-12-09_10-04-39.mdb"})
        TestUtil::ecrireFichier(Sauvegardes::Dossier() + QLatin1Char('/') + QLatin1String(autre), "rien");

    RestaurationSauvegarde f(base);
    QSignalSpy finie(&f, &RestaurationSauvegarde::verificationTerminee);
    ASSERT_TRUE(finie.wait(10000));
    QStringList lignes;
    for (int i = 0; i < f.liste->topLevelItemCount(); ++i) {
        QStringList colonnes;
        for (int c : {0, 3, 4, 5})
            colonnes << f.liste->topLevelItem(i)->text(c);
        lignes << colonnes.join(QStringLiteral(" | "));
    }
    EXPECT_EQ(lignes, (QStringList{QString::fromUtf8("2 | saine | aucun | —"),
                                   QString::fromUtf8("avant restauration | saine | 3 | 14/08/2026")}));
    EXPECT_EQ(f.liste->headerItem()->text(4), QString::fromUtf8("Séjours"));
    EXPECT_EQ(f.liste->headerItem()->text(5), QString::fromUtf8("Dernier séjour"));
    // The kept database can be restored: the question names it.
    f.liste->setCurrentItem(f.liste->topLevelItem(1));
    EXPECT_TRUE(f.restaurer->isEnabled());
    QSignalSpy demandee(&f, &RestaurationSauvegarde::restaurationDemandee);
    const QStringList questions = repondre(QMessageBox::No, [&] { f.restaurer->click(); });
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(QString::fromUtf8("la base gardée avant la restauration du "))) << questions[0].toStdString();
    EXPECT_EQ(demandee.size(), 0);

    // Enter on the success message closes the message only; the list is
    // read again beneath it. Enter in the list closes nothing either.
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QFile::copy(gardee, Sauvegardes::Dossier() + QStringLiteral("/avant_restauration_2026-12-10_08-00-00.db"));
    QTimer entree;
    QObject::connect(&entree, &QTimer::timeout, [] {
        if (auto* boite = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            QTest::keyClick(boite, Qt::Key_Return);
    });
    entree.start(10);
    f.termine(true, QString::fromUtf8("Sauvegarde restaurée : planning_2.db"));
    entree.stop();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.result(), 0);
    EXPECT_EQ(f.liste->topLevelItemCount(), 3);
    QTest::keyClick(f.liste, Qt::Key_Return);
    EXPECT_TRUE(f.isVisible());
    Chemins::fixerDossierProgramme(QString());
}

TEST(FenetreRestauration, WhatABackupHoldsReadsAsAUserWould)
{
    struct Cas { std::optional<Sauvegardes::Contenu> contenu; const char* sejours; const char* dernier; };
    const Cas cas[] = {
        {std::nullopt, "—", "—"},
        {Sauvegardes::Contenu{0, QDate()}, "aucun", "—"},
        {Sauvegardes::Contenu{1234, QDate(2026, 8, 14)}, "1 234", "14/08/2026"},
    };
    for (const Cas& c : cas) {
        EXPECT_EQ(RestaurationSauvegarde::texteSejours(c.contenu).replace(QChar(0x202F), QLatin1Char(' '))
                      .replace(QChar(0xA0), QLatin1Char(' ')), QString::fromUtf8(c.sejours));
        EXPECT_EQ(RestaurationSauvegarde::texteDernier(c.contenu), QString::fromUtf8(c.dernier));
    }
}
