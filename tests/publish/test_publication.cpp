#include "outils.h"
#include "publish/publication.h"
#include "store/horloge.h"
#include "testutil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>

using Publication::Issue;

namespace {

QVariant texteOuNull(const QString& texte)
{
    return texte.isNull() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(texte);
}

void ajouterObjet(const QSqlDatabase& base, int numero, const QString& nom, const QString& internet = {},
                  const QString& fichier = {})
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("INSERT INTO OBJETS (Numero, Nom, NomInternet, FichierPlanningHTML) VALUES (?, ?, ?, ?)"));
    q.addBindValue(numero);
    q.addBindValue(nom);
    q.addBindValue(texteOuNull(internet));
    q.addBindValue(texteOuNull(fichier));
    ASSERT_TRUE(q.exec());
}

// A reservation with its number; a Null QVariant stores a Null date.
void ajouterSejour(const QSqlDatabase& base, int numero, int objet, const QVariant& debut, const QVariant& fin,
                   int etat = 1)
{
    QSqlQuery q(base);
    q.prepare(QStringLiteral("INSERT INTO RESERVATIONS (NumeroReservation, objet, nomclient, DateDebut, DateFin, Etat) "
                             "VALUES (?, ?, 'Client', ?, ?, ?)"));
    q.addBindValue(numero);
    q.addBindValue(objet);
    q.addBindValue(debut);
    q.addBindValue(fin);
    q.addBindValue(etat);
    // The pages read whatever the file holds, an older program's rows too.
    const TestUtil::SansRegles anciennes(base);
    ASSERT_TRUE(q.exec());
}

// A temporary database with units and reservations, the clock fixed.
class PublicationTest : public ::testing::Test
{
protected:
    void SetUp() override { Horloge::fixer(QDateTime(QDate(2025, 1, 15), QTime(10, 30))); }
    void TearDown() override { Horloge::liberer(); }

    void objet(int numero, const QString& nom, const QString& internet = {}, const QString& fichier = {})
    {
        ajouterObjet(bd.base(), numero, nom, internet, fichier);
    }
    void reservation(int objet, const QString& debut, const QString& fin, int etat = 1)
    {
        QSqlQuery q(bd.base());
        q.prepare(QStringLiteral("INSERT INTO RESERVATIONS (objet, nomclient, DateDebut, DateFin, Etat) "
                                 "VALUES (?, 'Client', ?, ?, ?)"));
        q.addBindValue(objet);
        q.addBindValue(debut);
        q.addBindValue(fin);
        q.addBindValue(etat);
        const TestUtil::SansRegles anciennes(bd.base());
        ASSERT_TRUE(q.exec());
    }
    QByteArray page(const QString& fichier) const { return TestUtil::lireFichier(dossier() + '/' + fichier); }
    QString dossier() const { return bd.dossier(); }

    // Runs with a launcher that records its calls and checks the pages are
    // all on disk when it is called.
    Issue executer(Publication::MiseAJourPages& run)
    {
        run.fixerLanceur([this](const QString& script) {
            lancements.append(script);
            pagesAuLancement = QDir(dossier()).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
            return true;
        });
        return run.executer();
    }

    TestUtil::BaseTemporaire bd{QStringLiteral("publication")};
    QStringList lancements;
    QStringList pagesAuLancement;
};

// The whole page of a unit on 15 January 2025 at 10:30, built from the
// calendar of 2025-2026 as printed, for a unit with a stay from 3 February
// 14:00 to 6 February 12:00 and one from 10 March to 12 March at midnight.
QByteArray pageDeReference()
{
    const char* const mois[20] = {"janvier 2025", "f\xE9vrier 2025", "mars 2025", "avril 2025", "mai 2025",
        "juin 2025", "juillet 2025", "ao\xFBt 2025", "septembre 2025", "octobre 2025", "novembre 2025",
        "d\xE9" "cembre 2025", "janvier 2026", "f\xE9vrier 2026", "mars 2026", "avril 2026", "mai 2026",
        "juin 2026", "juillet 2026", "ao\xFBt 2026"};
    const int colonneDuPremier[20] = {3, 6, 6, 2, 4, 7, 2, 5, 1, 3, 6, 1, 4, 7, 7, 3, 5, 1, 3, 6};
    const int jours[20] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31, 31, 28, 31, 30, 31, 30, 31, 31};
    // (month index, day) -> colour
    const QMap<QPair<int, int>, QByteArray> occupes = {
        {{1, 3}, "#FF6633"}, {{1, 4}, "#FF0000"}, {{1, 5}, "#FF0000"}, {{1, 6}, "#FF6633"},
        {{2, 10}, "#FF0000"}, {{2, 11}, "#FF0000"}, {{2, 12}, "#FF0000"}};
    const QByteArray police = "face=\"Verdana, Arial, Helvetica, sans-serif\"";
    const QByteArray crlf = "\r\n";

    QByteArray p;
    p += "<div align=\"center\"><strong>R\xE9servations Chalet 3</strong><font size=\"1\" " + police
        + "> (mis \xE0 jour le 15 janv. 25 \xE0 10:30)</font></div>" + crlf;
    p += "<table width=\"770px\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">" + crlf;
    for (int rangee = 0; rangee < 5; ++rangee) {
        p += "  <tr>" + crlf;
        for (int k = rangee * 4; k < rangee * 4 + 4; ++k) {
            p += "    <td><div align=\"center\"><strong><font size=\"2\" " + police + ">" + mois[k] + crlf;
            p += "<br>" + crlf;
            p += "        </font></strong>        <table width=\"186\" border = \"1\" cellspacing = \"0\" "
                 "cellpadding = \"0\" > " + crlf;
            p += "      <tr bgcolor=\"#EAEAEA\">" + crlf;
            for (const char* j : {"Lun", "Mar", "Mer", "Jeu", "Ven", "Sam", "Dim"})
                p += QByteArray("        <td><div align=\"center\"><font size=\"2\" ") + police + ">" + j
                    + "</font></div></td>" + crlf;
            p += "          </tr>" + crlf;
            for (int cellule = 1; cellule <= 42; ++cellule) {
                if (cellule % 7 == 1)
                    p += "<tr bgcolor=\"#EAEAEA\">" + crlf;
                const int jour = cellule - colonneDuPremier[k] + 1;
                if (jour < 1 || jour > jours[k])
                    p += "            <td bgcolor=\"#999999\"><div align=\"center\"><font " + police
                        + "><font size=\"2\"></font></font></div></td>" + crlf;
                else
                    p += "           <td bgcolor=\"" + occupes.value({k, jour}, "#FFD351")
                        + "\"><div align=\"center\"><font size=\"2\" " + police + ">" + QByteArray::number(jour)
                        + "</font></div></td>" + crlf;
                if (cellule % 7 == 0)
                    p += "</tr>" + crlf;
            }
            p += "</table></td>" + crlf;
        }
        p += "</tr>" + crlf;
    }
    p += "</table>" + crlf;
    return p;
}

} // namespace

TEST_F(PublicationTest, PageEntiereOctetPourOctet)
{
    objet(3, QStringLiteral("Chalet 3"));
    reservation(3, QStringLiteral("2025-02-03 14:00:00"), QStringLiteral("2025-02-06 12:00:00"));
    reservation(3, QStringLiteral("2025-03-10 00:00:00"), QStringLiteral("2025-03-12 00:00:00"));
    Publication::MiseAJourPages run(bd.base(), dossier());
    ASSERT_EQ(executer(run), Issue::Envoyee) << run.erreur().toStdString();

    const QByteArray obtenu = page(QStringLiteral("Chalet_3.html"));
    const QByteArray attendu = pageDeReference();
    ASSERT_EQ(OutilsPage::lignes(obtenu).size(), 1353);
    const QList<QByteArray> a = OutilsPage::lignes(attendu);
    const QList<QByteArray> o = OutilsPage::lignes(obtenu);
    for (qsizetype i = 0; i < a.size(); ++i)
        ASSERT_EQ(o[i], a[i]) << "ligne " << i + 1;
    EXPECT_EQ(obtenu, attendu);
}

TEST(Publication, DateFin)
{
    const struct {
        QDateTime maintenant;
        QDate datefin;
    } cas[] = {
        {QDateTime(QDate(2024, 5, 10), QTime(8, 0)), QDate(2025, 12, 1)},
        {QDateTime(QDate(2025, 1, 15), QTime(23, 59)), QDate(2026, 8, 1)},
        {QDateTime(QDate(2024, 1, 31), QTime(0, 0)), QDate(2025, 8, 1)},
        {QDateTime(QDate(2023, 6, 20), QTime(12, 0)), QDate(2025, 1, 1)},
    };
    for (const auto& c : cas)
        EXPECT_EQ(Publication::DateFin(c.maintenant), c.datefin) << c.maintenant.toString().toStdString();
}

// Which reservations colour the page: published states only, this unit
// only, starting before the datefin (1 August 2026 on 15 January 2025).
TEST_F(PublicationTest, ReservationsLues)
{
    struct Cas {
        const char* nom;
        int objet;
        int etat;
        QString debut;
        QString fin;
        QDate jour;
        int etatAttendu;
    };
    const Cas cas[] = {
        {"état publié", 1, 1, "2025-04-10 14:00:00", "2025-04-13 10:00:00", QDate(2025, 4, 11), 2},
        {"état non publié", 1, 2, "2025-04-10 14:00:00", "2025-04-13 10:00:00", QDate(2025, 4, 11), 0},
        {"autre objet", 2, 1, "2025-04-10 14:00:00", "2025-04-13 10:00:00", QDate(2025, 4, 11), 0},
        {"état inconnu", 1, 99, "2025-04-10 14:00:00", "2025-04-13 10:00:00", QDate(2025, 4, 11), 0},
        {"commence le jour de datefin", 1, 1, "2026-08-01 00:00:00", "2026-08-05 00:00:00", QDate(2026, 8, 2), 0},
        {"commence la veille de datefin", 1, 1, "2026-07-31 14:00:00", "2026-08-05 10:00:00", QDate(2026, 8, 2), 2},
        {"a commencé avant le mois courant", 1, 1, "2024-12-20 14:00:00", "2025-01-03 10:00:00",
         QDate(2025, 1, 2), 2},
        {"finit le premier du mois courant", 1, 1, "2024-12-20 14:00:00", "2025-01-01 10:00:00",
         QDate(2025, 1, 1), 1},
        {"dates au format T", 1, 1, "2025-05-02T14:00:00", "2025-05-04T10:00:00", QDate(2025, 5, 2), 1},
        {"dates sans heure", 1, 1, "2025-05-02", "2025-05-04", QDate(2025, 5, 3), 2},
        {"début T le jour de datefin", 1, 1, "2026-08-01T00:00:00", "2026-08-05T00:00:00", QDate(2026, 8, 2), 0},
        {"début sans heure le jour de datefin", 1, 1, "2026-08-01", "2026-08-05", QDate(2026, 8, 2), 0},
    };
    for (const Cas& c : cas) {
        bd.executer(QStringLiteral("DELETE FROM RESERVATIONS"));
        bd.executer(QStringLiteral("DELETE FROM OBJETS"));
        objet(1, QStringLiteral("Un"));
        objet(2, QStringLiteral("Deux"));
        reservation(c.objet, c.debut, c.fin, c.etat);
        Publication::MiseAJourPages run(bd.base(), dossier());
        ASSERT_EQ(executer(run), Issue::Envoyee) << c.nom;
        EXPECT_EQ(OutilsPage::etatDuJour(page(QStringLiteral("Un.html")), c.jour), c.etatAttendu) << c.nom;
        // The other unit never shows the reservation of the first one.
        if (c.objet == 1) {
            EXPECT_EQ(OutilsPage::etatDuJour(page(QStringLiteral("Deux.html")), c.jour), 0) << c.nom;
        }
    }
}

TEST_F(PublicationTest, NomsDeFichierEtTitres)
{
    struct Cas {
        QString nom;
        QString internet;
        QString fichier;
        QString fichierAttendu;
        QByteArray titre;
    };
    const Cas cas[] = {
        {QStringLiteral("Chalet 3"), {}, {}, QStringLiteral("Chalet_3.html"), "Chalet 3"},
        {QStringLiteral("Chalet 4"), QStringLiteral("Le chalet des pins"), {}, QStringLiteral("Chalet_4.html"),
         "Le chalet des pins"},
        {QStringLiteral("Chalet A"), {}, QStringLiteral("Chalet (A).html"), QStringLiteral("Chalet__A_.html"),
         "Chalet A"},
        {QStringLiteral("Vue mer"), QStringLiteral(""), QStringLiteral(""), QStringLiteral("Vue_mer.html"),
         "Vue mer"},
        {QStringLiteral("Dehors"), {}, QStringLiteral("../pages/dehors.html"),
         QStringLiteral(".._pages_dehors.html"), "Dehors"},
        {QStringLiteral("Chalet <b>"), {}, QStringLiteral("chalet-b.html"), QStringLiteral("chalet_b.html"),
         "Chalet &lt;b&gt;"},
        {QStringLiteral("Bruyère"), QStringLiteral("Pins & Bruyère"), {}, QStringLiteral("Bruyère.html"),
         "Pins &amp; Bruy\xE8re"},
    };
    int numero = 1;
    for (const Cas& c : cas)
        objet(numero++, c.nom, c.internet, c.fichier);
    Publication::MiseAJourPages run(bd.base(), dossier());
    ASSERT_EQ(executer(run), Issue::Envoyee) << run.erreur().toStdString();
    for (const Cas& c : cas) {
        const QByteArray p = page(c.fichierAttendu);
        ASSERT_FALSE(p.isEmpty()) << c.fichierAttendu.toStdString();
        EXPECT_TRUE(p.startsWith("<div align=\"center\"><strong>R\xE9servations " + c.titre + "</strong>"))
            << c.nom.toStdString();
    }
    // Nothing left beside the pages: no temporary file, nothing outside the folder.
    QStringList attendus;
    for (const Cas& c : cas)
        attendus.append(c.fichierAttendu);
    attendus.sort();
    EXPECT_EQ(QDir(dossier()).entryList({QStringLiteral("*.html*")}, QDir::Files | QDir::Hidden, QDir::Name),
              attendus);
    EXPECT_FALSE(QFile::exists(dossier() + QStringLiteral("/../pages/dehors.html")));
}

TEST_F(PublicationTest, JournalEtEnvoiApresToutesLesPages)
{
    objet(1, QStringLiteral("Chambre 1"));
    objet(2, QStringLiteral("Chambre 2"));
    objet(3, QStringLiteral("Chalet 3"));
    Publication::MiseAJourPages run(bd.base(), dossier());
    QStringList textes;
    QObject::connect(&run, &Publication::MiseAJourPages::avancement, [&](const QString& t) { textes.append(t); });
    ASSERT_EQ(executer(run), Issue::Envoyee);

    // During the third unit.
    EXPECT_TRUE(textes.contains(QStringLiteral(
        "Chalet 3 ...\nChambre 2 ... OK !\nChambre 1 ... OK !\nChargement des données...")));
    EXPECT_EQ(run.journal().texte(), QStringLiteral("Bascule en FTP ... \nChalet 3 ... OK !\nChambre 2 ... OK !\n"
                                                    "Chambre 1 ... OK !\nChargement des données..."));
    EXPECT_EQ(lancements, QStringList{dossier() + QStringLiteral("/lanceftp.sh")});
    EXPECT_EQ(pagesAuLancement, (QStringList{QStringLiteral("Chalet_3.html"), QStringLiteral("Chambre_1.html"),
                                             QStringLiteral("Chambre_2.html")}));
}

TEST(Publication, EchecsSansEnvoi)
{
    Horloge::fixer(QDateTime(QDate(2025, 1, 15), QTime(10, 30)));
    struct Cas {
        const char* nom;
        std::function<void(const TestUtil::BaseTemporaire&)> preparer;
        Issue issue;
        QString erreur;
        QString journal;
        QStringList pages;
    };
    const QString arrete = QStringLiteral("Publication arrêtée : rien n'est envoyé.\n");
    const Cas cas[] = {
        {"aucun objet", [](const TestUtil::BaseTemporaire&) {}, Issue::AucunObjet,
         QStringLiteral("Aucun objet à publier : aucune page n'est écrite, rien n'est envoyé."),
         QStringLiteral("Aucun objet à publier : aucune page n'est écrite, rien n'est envoyé.\n"
                        "Chargement des données..."), {}},
        {"page impossible à écrire",
         [](const TestUtil::BaseTemporaire& b) {
             ajouterObjet(b.base(), 1, QStringLiteral("Chambre 1"));
             ajouterObjet(b.base(), 2, QStringLiteral("Chambre 2"));
             ajouterObjet(b.base(), 3, QStringLiteral("Chambre 3"));
             // A folder holds the place of the second page.
             QDir(b.dossier()).mkdir(QStringLiteral("Chambre_2.html"));
         },
         Issue::Echec, QStringLiteral("Page de « Chambre 2 » : impossible d'écrire %1/Chambre_2.html"),
         arrete + QStringLiteral("Chambre 2 ... ÉCHEC : impossible d'écrire %1/Chambre_2.html"),
         {QStringLiteral("Chambre_1.html")}},
        {"réservations illisibles",
         [](const TestUtil::BaseTemporaire& b) {
             ajouterObjet(b.base(), 1, QStringLiteral("Chambre 1"));
             b.executer(QStringLiteral("DROP VIEW RESERVATION_NOMINATIVE"));
             b.supprimerTable(QStringLiteral("RESERVATIONS"));
         },
         Issue::Echec, QStringLiteral("Page de « Chambre 1 » : lecture des réservations impossible"),
         arrete + QStringLiteral("Chambre 1 ... ÉCHEC : lecture des réservations impossible"), {}},
        // A stay that cannot be placed stops the run, named by its number
        // under its unit, rather than leaving its days shown free.
        {"date de fin illisible",
         [](const TestUtil::BaseTemporaire& b) {
             ajouterObjet(b.base(), 1, QStringLiteral("Chambre 1"));
             ajouterObjet(b.base(), 2, QStringLiteral("Chambre 2"));
             ajouterSejour(b.base(), 7, 2, QStringLiteral("2025-02-03 14:00:00"), QStringLiteral("31/02/2025"));
         },
         Issue::Echec,
         QStringLiteral("Page de « Chambre 2 » : réservation n° 7 : date de fin illisible (« 31/02/2025 »)"),
         arrete + QStringLiteral("Chambre 2 ... ÉCHEC : réservation n° 7 : date de fin illisible (« 31/02/2025 »)"),
         {QStringLiteral("Chambre_1.html")}},
        {"date de début impossible",
         [](const TestUtil::BaseTemporaire& b) {
             ajouterObjet(b.base(), 1, QStringLiteral("Chambre 1"));
             ajouterSejour(b.base(), 8, 1, QStringLiteral("2025-02-30 14:00:00"), QStringLiteral("2025-03-02 10:00:00"));
         },
         Issue::Echec,
         QStringLiteral("Page de « Chambre 1 » : réservation n° 8 : date de début illisible (« 2025-02-30 14:00:00 »)"),
         arrete + QStringLiteral("Chambre 1 ... ÉCHEC : réservation n° 8"), {}},
        // Not a date at all: it would compare as text outside the shown months.
        {"date de début en lettres",
         [](const TestUtil::BaseTemporaire& b) {
             ajouterObjet(b.base(), 1, QStringLiteral("Chambre 1"));
             ajouterSejour(b.base(), 9, 1, QStringLiteral("demain"), QStringLiteral("2025-03-02 10:00:00"));
         },
         Issue::Echec, QStringLiteral("Page de « Chambre 1 » : réservation n° 9 : date de début illisible (« demain »)"),
         arrete + QStringLiteral("Chambre 1 ... ÉCHEC : réservation n° 9"), {}},
        {"date de fin vide",
         [](const TestUtil::BaseTemporaire& b) {
             ajouterObjet(b.base(), 1, QStringLiteral("Chambre 1"));
             ajouterSejour(b.base(), 10, 1, QStringLiteral("2025-03-01 00:00:00"), QVariant(QMetaType(QMetaType::QString)));
         },
         Issue::Echec, QStringLiteral("Page de « Chambre 1 » : réservation n° 10 : date de fin vide"),
         arrete + QStringLiteral("Chambre 1 ... ÉCHEC : réservation n° 10 : date de fin vide"), {}},
        {"objets illisibles",
         [](const TestUtil::BaseTemporaire& b) {
             b.executer(QStringLiteral("DROP VIEW RESERVATION_NOMINATIVE"));
             b.supprimerTable(QStringLiteral("OBJETS"));
         },
         Issue::Echec, QStringLiteral("Lecture des objets impossible"),
         arrete + QStringLiteral("Lecture des objets impossible"), {}},
    };
    for (const Cas& c : cas) {
        TestUtil::BaseTemporaire b(QStringLiteral("echec"));
        c.preparer(b);
        Publication::MiseAJourPages run(b.base(), b.dossier());
        int lancements = 0;
        QStringList echecs;
        run.fixerLanceur([&](const QString&) { return ++lancements > 0; });
        QObject::connect(&run, &Publication::MiseAJourPages::echec, [&](const QString& m) { echecs.append(m); });
        EXPECT_EQ(run.executer(), c.issue) << c.nom;
        EXPECT_EQ(lancements, 0) << c.nom;
        EXPECT_TRUE(run.erreur().startsWith(QString(c.erreur).replace(QStringLiteral("%1"), b.dossier()))) << c.nom << ": " << run.erreur().toStdString();
        EXPECT_TRUE(run.journal().texte().startsWith(QString(c.journal).replace(QStringLiteral("%1"), b.dossier())))
            << c.nom << ": " << run.journal().texte().toStdString();
        EXPECT_EQ(echecs.size(), c.issue == Issue::Echec ? 1 : 0) << c.nom;
        EXPECT_EQ(QDir(b.dossier()).entryList({QStringLiteral("*.html*")}, QDir::Files | QDir::Hidden, QDir::Name), c.pages)
            << c.nom;
    }
    Horloge::liberer();
}

// Page names the file system refuses or shares: cut and numbered, and the
// run goes on to the upload. Stays the page does not show never stop it.
TEST_F(PublicationTest, NomsLongsOuPartages)
{
    const QString tresLong = QStringLiteral("Emplacement ") + QString(3000, QLatin1Char('x'));
    objet(1, tresLong);
    objet(2, QStringLiteral("Chalet"), {}, QStringLiteral("chalet.html"));
    objet(3, QStringLiteral("Autre chalet"), {}, QStringLiteral("chalet.html"));
    objet(4, QString::fromUtf8("Été ") + QString(3000, QChar(0xE9)));
    ajouterSejour(bd.base(), 20, 1, QStringLiteral("2025-02-03 14:00:00"), QStringLiteral("2025-02-06 12:00:00"));
    // Unpublished, or ended before the shown months: not read, not a failure.
    ajouterSejour(bd.base(), 21, 1, QStringLiteral("2025-02-10 14:00:00"), QStringLiteral("n'importe quoi"), 2);
    ajouterSejour(bd.base(), 22, 1, QStringLiteral("2019-02-30 14:00:00"), QStringLiteral("2019-03-02 10:00:00"));

    Publication::MiseAJourPages run(bd.base(), dossier());
    ASSERT_EQ(executer(run), Issue::Envoyee) << run.erreur().toStdString();
    EXPECT_EQ(run.pages(), 4);
    const QString accents = QString::fromUtf8("Été_") + QString(72, QChar(0xE9)) + QStringLiteral(".html");
    const QStringList attendus = {QStringLiteral("Emplacement_") + QString(138, QLatin1Char('x')) + QStringLiteral(".html"),
                                  QStringLiteral("chalet.html"), QStringLiteral("chalet__2_.html"), accents};
    QStringList tries = attendus;
    tries.sort();
    EXPECT_EQ(pagesAuLancement, tries);
    EXPECT_EQ(lancements.size(), 1);
    EXPECT_EQ(OutilsPage::etatDuJour(page(attendus[0]), QDate(2025, 2, 4)), 2);
    EXPECT_TRUE(page(attendus[2]).startsWith("<div align=\"center\"><strong>R\xE9servations Autre chalet</strong>"));
}

TEST(Publication, LancementDuScript)
{
    QTemporaryDir dossier;
    const QString script = dossier.filePath(QStringLiteral("lanceftp.sh"));
    // Missing: nothing is started, nothing is reported.
    EXPECT_FALSE(Publication::LancerScript(script));
    // Present: run with /bin/sh in the program folder, without waiting.
    TestUtil::ecrireFichier(script, "pwd > lance.txt.tmp && mv lance.txt.tmp lance.txt\n");
    EXPECT_TRUE(Publication::LancerScript(script));
    const QString trace = dossier.filePath(QStringLiteral("lance.txt"));
    (void)QTest::qWaitFor([&] { return QFile::exists(trace); }, 20000);
    EXPECT_EQ(TestUtil::lireFichier(trace).trimmed(), QFileInfo(dossier.path()).canonicalFilePath().toUtf8());
}
