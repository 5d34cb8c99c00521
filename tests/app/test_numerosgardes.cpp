// A restored backup never gives again a reservation number that the
// replaced database had given: not from the command line, not from the
// "Fichier" menu's window; and a copy says up to which number it went.
#include "app/gardienbase.h"
#include "app/sauvegardes.h"
#include "app/sauvegardeserveur.h"
#include "config/chemins.h"
#include "store/base.h"
#include "store/copiebase.h"
#include "store/module1.h"
#include "store/requetes_reservation.h"
#include "programme.h"
#include "testutil.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

constexpr const char* kConnexion = "numeros_gardes";

qint32 creer(const QSqlDatabase& base, const QString& client)
{
    Requetes::Reservation r;
    r.objet = 1;
    r.nomclient = client;
    r.debut = QDateTime(QDate(2027, 5, 1), QTime(14, 0), Qt::UTC);
    r.fin = r.debut.addDays(1);
    r.etat = 1;
    TestUtil::Logements(base, {1});
    QString erreur;
    const auto n = RequetesReservation::creer(base, r, QStringLiteral("Création"), &erreur);
    EXPECT_TRUE(n) << erreur.toStdString();
    return n.value_or(0);
}

// Stays 1 to 5, then 6 and 7; 7 sells a beer and is deleted (its rows
// stay). The snapshot in slot 1 is taken after stay `sauveApres`.
void remplir(const QString& chemin, int sauveApres)
{
    {
        const auto base = Base::ouvrir(chemin, Base::Ouverture::CreerSiAbsente, QLatin1String(kConnexion));
        ASSERT_TRUE(base);
        const QString slot = QFileInfo(chemin).absolutePath() + QStringLiteral("/Sauvegardes/planning_1.db");
        ASSERT_TRUE(QDir().mkpath(QFileInfo(slot).absolutePath()));
        for (int i = 1; i <= 7; ++i) {
            ASSERT_EQ(creer(*base, QStringLiteral("Client %1").arg(i)), i);
            if (i == 7) {
                ASSERT_TRUE(Module1::EnregistrerOperation(*base, 7, -3.5, QString(), QString::fromUtf8("BAR Bière 25 cl")));
                ASSERT_TRUE(RequetesReservation::supprimer(*base, 7, QStringLiteral("Suppression de la réservation (ZORRO)")));
            }
            if (i == sauveApres) {
                ASSERT_TRUE(CopieBase::copier(*base, slot));
            }
        }
    }
    QSqlDatabase::removeDatabase(QLatin1String(kConnexion));
}

// The number the restored file gives its next stay, and the rows that
// stay shows besides its creation.
struct Suivant {
    qint32 numero = 0;
    QString autres;
};
Suivant suivant(const QString& chemin)
{
    Suivant s;
    {
        const auto base = Base::ouvrir(chemin, Base::Ouverture::Existante, QLatin1String(kConnexion));
        EXPECT_TRUE(base);
        if (base) {
            s.numero = creer(*base, QStringLiteral("Nouveau"));
            QSqlQuery q(*base);
            q.prepare(QStringLiteral("SELECT libelle FROM OPERATIONS WHERE numeroreservation = ? AND libelle <> 'Création'"));
            q.addBindValue(s.numero);
            q.exec();
            while (q.next())
                s.autres += q.value(0).toString() + QLatin1Char(';');
        }
    }
    QSqlDatabase::removeDatabase(QLatin1String(kConnexion));
    return s;
}

struct Cas {
    const char* nom;
    int sauveApres;       // the stay after which the slot was taken
    bool ditLesNumeros;   // the user is told the numbers stay given
};
const Cas kCas[] = {
    {"an older slot", 5, true},
    {"a slot without the deleted stay's rows", 6, true},
    {"a slot as new as the database", 7, false},
};

} // namespace

TEST(NumerosGardes, RestoringFromTheCommandLineNeverGivesANumberAgain)
{
    for (const Cas& c : kCas) {
        QTemporaryDir dossier;
        const QString base = dossier.filePath(QStringLiteral("planning.db"));
        remplir(base, c.sauveApres);
        const QString slot = dossier.filePath(QStringLiteral("Sauvegardes/planning_1.db"));
        const QByteArray slotAvant = TestUtil::lireFichier(slot);

        const Programme::Execution e = Programme::lancer(dossier.path(), {QStringLiteral("--restaurer"), QStringLiteral("1")});
        const QString& sortie = e.sortie;
        EXPECT_EQ(e.code, 0) << c.nom << e.erreurs.toStdString();
        EXPECT_EQ(sortie.contains(Sauvegardes::MessageNumerosGardes(7) + QLatin1Char('\n')), c.ditLesNumeros)
            << c.nom << sortie.toStdString();
        EXPECT_EQ(sortie.contains(QStringLiteral("ne seront pas redonnés")), c.ditLesNumeros) << c.nom;
        // The slot itself is not touched: it can be restored again.
        EXPECT_EQ(TestUtil::lireFichier(slot), slotAvant) << c.nom;
        EXPECT_TRUE(QDir(dossier.filePath(QStringLiteral("Sauvegardes"))).entryList(QDir::Hidden | QDir::Files)
                        .filter(QStringLiteral(".tmp")).isEmpty()) << c.nom;

        const Suivant s = suivant(base);
        EXPECT_EQ(s.numero, 8) << c.nom;
        EXPECT_EQ(s.autres, QString()) << c.nom;
    }
}

TEST(NumerosGardes, RestoringFromTheWindowSaysTheNumbersStayGiven)
{
    for (const Cas& c : kCas) {
        QTemporaryDir dossier;
        Chemins::fixerDossierProgramme(dossier.path());
        const QString base = dossier.filePath(QStringLiteral("planning.db"));
        remplir(base, c.sauveApres);
        QString message;
        {
            Contexte contexte;
            const auto ouverte = Base::ouvrir(base, Base::Ouverture::Existante, QStringLiteral("numeros_fenetre"));
            ASSERT_TRUE(ouverte);
            contexte.BaseOuverte = *ouverte;
            QWidget fenetre;
            GardienBase gardien(&contexte, base, &fenetre);
            ASSERT_TRUE(gardien.restaurer(dossier.filePath(QStringLiteral("Sauvegardes/planning_1.db")), &message))
                << c.nom << message.toStdString();
            // The reopened connection gives 8 to the next stay.
            EXPECT_EQ(creer(contexte.BaseOuverte, QStringLiteral("Nouveau")), 8) << c.nom;
            contexte.BaseOuverte.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("numeros_fenetre"));
        EXPECT_TRUE(message.startsWith(QString::fromUtf8("Sauvegarde restaurée : planning_1.db."))) << message.toStdString();
        EXPECT_EQ(message.contains(Sauvegardes::MessageNumerosGardes(7)), c.ditLesNumeros) << c.nom << message.toStdString();
        Chemins::fixerDossierProgramme(QString());
    }
}

// A server's database is restored by the owner with the lines the program
// gives: pg_restore, then psql to keep the numbers given since the backup.
TEST(NumerosGardes, TheServersRestoreLinesKeepTheNumbersGiven)
{
    if (const QString absent = TestUtil::ServeurPostgresAbsent(); !absent.isEmpty())
        GTEST_SKIP() << "pas de serveur PostgreSQL : " << absent.toStdString();
    if (SauvegardeServeur::CheminPgDump().isEmpty() || QStandardPaths::findExecutable(QStringLiteral("psql")).isEmpty())
        GTEST_SKIP() << "pg_dump, pg_restore ou psql n'est pas installé";
    QTemporaryDir dossier;
    Chemins::fixerDossierProgramme(dossier.path());
    TestUtil::BasePostgresVide serveur;
    {
        const auto base = Base::ouvrir(serveur.adresse(), Base::Ouverture::CreerSiAbsente, QLatin1String(kConnexion));
        ASSERT_TRUE(base);
        for (int i = 1; i <= 7; ++i) {
            ASSERT_EQ(creer(*base, QStringLiteral("Client %1").arg(i)), i);
            if (i == 5) {
                ASSERT_EQ(Sauvegardes::ControlerEtCopier(serveur.adresse(), 1).issue, Sauvegardes::Bilan::Copiee);
            }
        }
        ASSERT_TRUE(Module1::EnregistrerOperation(*base, 7, -3.5, QString(), QString::fromUtf8("BAR Bière 25 cl")));
        ASSERT_TRUE(RequetesReservation::supprimer(*base, 7, QStringLiteral("Suppression de la réservation (ZORRO)")));
        QSqlDatabase(*base).close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(kConnexion));
    TestUtil::ecrireFichier(dossier.filePath(QStringLiteral("planning.ini")),
                            "[system]\r\ndatabase=" + serveur.adresse().toUtf8() + "\r\n");

    const QString erreurs = Programme::lancer(dossier.path(), {QStringLiteral("--restaurer"), QStringLiteral("1")}).erreurs;
    EXPECT_TRUE(erreurs.contains(QString::fromUtf8("déjà donnés (jusqu'au n° 7)"))) << erreurs.toStdString();
    // The owner runs the two lines as printed.
    QStringList lignes;
    for (const QString& l : erreurs.split(QLatin1Char('\n')))
        if (l.startsWith(QStringLiteral("pg_restore ")) || l.startsWith(QStringLiteral("psql ")))
            lignes << l;
    ASSERT_EQ(lignes.size(), 2) << erreurs.toStdString();
    for (const QString& l : lignes) {
        QProcess shell;
        shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), l});
        ASSERT_TRUE(shell.waitForFinished(60000));
        EXPECT_EQ(shell.exitCode(), 0) << l.toStdString() << shell.readAllStandardError().toStdString();
    }
    {
        const auto base = Base::ouvrir(serveur.adresse(), Base::Ouverture::Existante, QLatin1String(kConnexion));
        ASSERT_TRUE(base);
        // The backup's five stays, and the next one is 8.
        QSqlQuery q(*base);
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT count(*) FROM RESERVATIONS")) && q.next());
        EXPECT_EQ(q.value(0).toInt(), 5);
        EXPECT_EQ(creer(*base, QStringLiteral("Nouveau")), 8);
        QSqlDatabase(*base).close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(kConnexion));
    Chemins::fixerDossierProgramme(QString());
}
