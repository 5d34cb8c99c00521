#include "config/chemins.h"
#include "config/fichierini.h"
#include "config/ini32.h"
#include "config/langues.h"
#include "registry/registrykey.h"
#include "testutil.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using INI32::ProfilINI;
using TestUtil::ecrireFichier;
using TestUtil::lireFichier;

namespace {

class Ini : public ::testing::Test
{
protected:
    QString chemin() const { return m_dossier.filePath(QStringLiteral("test.ini")); }
    QTemporaryDir m_dossier;
};

} // namespace

TEST_F(Ini, ModesOfAMissingOrEmptyKey)
{
    // Mode 1 on a missing key: the default, and no file is made.
    EXPECT_EQ(ProfilINI("system", "heurefin", "12:00", chemin(), 1), QStringLiteral("12:00"));
    EXPECT_FALSE(QFile::exists(chemin()));
    // Mode 2 writes the default back.
    EXPECT_EQ(ProfilINI("system", "heurefin", "12:00", chemin(), 2), QStringLiteral("12:00"));
    EXPECT_EQ(lireFichier(chemin()), QByteArray("[system]\r\nheurefin=12:00\r\n"));
    // A present value wins over the default.
    EXPECT_EQ(ProfilINI("system", "heurefin", "10:00", chemin(), 2), QStringLiteral("12:00"));
    // An empty value reads as missing; mode 2 replaces it.
    ecrireFichier(chemin(), "[system]\r\nheurefin=\r\n");
    EXPECT_EQ(ProfilINI("system", "heurefin", "11:00", chemin(), 1), QStringLiteral("11:00"));
    EXPECT_EQ(lireFichier(chemin()), QByteArray("[system]\r\nheurefin=\r\n"));
    EXPECT_EQ(ProfilINI("system", "heurefin", "11:00", chemin(), 2), QStringLiteral("11:00"));
    EXPECT_EQ(lireFichier(chemin()), QByteArray("[system]\r\nheurefin=11:00\r\n"));
    // Mode 0 returns the value written.
    EXPECT_EQ(ProfilINI("system", "heurefin", "09:30", chemin(), 0), QStringLiteral("09:30"));
    EXPECT_EQ(ProfilINI("SYSTEM", "HeureFin", "x", chemin(), 1), QStringLiteral("09:30"));
}

TEST_F(Ini, WritesInPlaceAndKeepEveryOtherLine)
{
    ecrireFichier(chemin(), "; réglages\n[System]\nDatabase = /srv/a.db\n\nautre=1\n[planning]\nchampsdansbarre=x\n");
    ProfilINI("system", "database", "/srv/b.db", chemin(), 0);
    ProfilINI("system", "nouvelle", "v", chemin(), 0);
    ProfilINI("Francais", "Client", "Client", chemin(), 0);
    EXPECT_EQ(lireFichier(chemin()),
              QByteArray("; réglages\n[System]\nDatabase=/srv/b.db\n\nautre=1\nnouvelle=v\n[planning]\nchampsdansbarre=x\n"
                         "[Francais]\nClient=Client\n"));
}

TEST_F(Ini, ReadsWhatTheFileHoldsWhateverItsShape)
{
    struct Cas { const char* nom; QByteArray contenu; const char* section; const char* cle; const char* attendu; };
    const Cas cas[] = {
        {"CR LF", "[a]\r\nk=v\r\n", "a", "k", "v"},
        {"LF and blanks trimmed", "[a]\n  k  =  v w  \n", "a", "k", "v w"},
        {"no final line end", "[a]\nk=v", "a", "k", "v"},
        {"line without equals ignored", "[a]\njunk\nk=v\n", "a", "k", "v"},
        {"duplicate sections: first wins", "[a]\nk=1\n[a]\nk=2\n", "a", "k", "1"},
        {"key only in the second copy", "[a]\nx=1\n[A]\nk=2\n", "a", "k", "def"},
        {"other section", "[b]\nk=v\n", "a", "k", "def"},
        {"windows-1252", "[a]\nk=\xe9t\xe9 \x80\n", "a", "k", "été €"},
        {"quoted blanks kept", "[a]\nk=\"Donn\xe9" "es : \"\n", "a", "k", "Données : "},
        {"binary garbage around", QByteArray("\x00\xff\x01\n[a]\n\x02\x03\nk=v\n\xfe", 16), "a", "k", "v"},
        {"section header without bracket", "[a\nk=v\n", "a", "k", "v"},
    };
    for (const Cas& c : cas) {
        ecrireFichier(chemin(), c.contenu);
        EXPECT_EQ(ProfilINI(QString::fromUtf8(c.section), QString::fromUtf8(c.cle), "def", chemin(), 1), QString::fromUtf8(c.attendu))
            << c.nom;
    }
}

TEST_F(Ini, LongValuesAndKeys)
{
    const QString longue(700, QLatin1Char('x'));
    ProfilINI("a", "k", longue, chemin(), 0);
    EXPECT_EQ(ProfilINI("a", "k", "d", chemin(), 1), longue.left(589));
    const QString cleLongue(700, QLatin1Char('k'));
    ProfilINI("a", cleLongue, "v", chemin(), 0);
    EXPECT_EQ(ProfilINI("a", cleLongue, "d", chemin(), 1), QStringLiteral("v"));
}

TEST_F(Ini, TextKeepsItsAccentsAndBlanksThroughAWrite)
{
    const QString texte = QString::fromUtf8("Problème d'ouverture de la Base de Données : ");
    EXPECT_EQ(ProfilINI("Francais", texte, texte, chemin(), 2), texte);
    EXPECT_TRUE(lireFichier(chemin()).contains("Donn\xe9" "es"));
    EXPECT_EQ(ProfilINI("Francais", texte, texte, chemin(), 2), texte);
    // A character outside the code page turns the whole file to UTF-8 behind
    // a byte-order mark: nothing is lost, the accents already there included.
    ProfilINI("a", "k", QString::fromUtf8("tente ⛺"), chemin(), 0);
    EXPECT_EQ(ProfilINI("a", "k", "d", chemin(), 1), QString::fromUtf8("tente ⛺"));
    EXPECT_EQ(ProfilINI("Francais", texte, "d", chemin(), 1), texte);
    EXPECT_TRUE(lireFichier(chemin()).startsWith("\xEF\xBB\xBF[Francais]\r\n"));
    EXPECT_TRUE(lireFichier(chemin()).contains("Donn\xc3\xa9" "es"));
    // It stays UTF-8 even when that character goes.
    ProfilINI("a", "k", QStringLiteral("tente"), chemin(), 0);
    EXPECT_TRUE(lireFichier(chemin()).startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(ProfilINI("Francais", texte, "d", chemin(), 1), texte);
}

TEST_F(Ini, ByteOrderMarkAndEveryLineEndAreRead)
{
    struct Cas { const char* nom; QByteArray fichier; const char* section; const char* cle; QString attendu; };
    const Cas cas[] = {
        {"UTF-8 mark before the first section", QByteArray("\xEF\xBB\xBF[system]\r\ndatabase=/srv/\xC5\x81\xC3\xB3" "d\xC5\xBA/p.db\r\n"),
         "system", "database", QString::fromUtf8("/srv/Łódź/p.db")},
        {"Windows-1252 without mark", QByteArray("[system]\ndatabase=/srv/Donn\xe9" "es/p.db\n"),
         "system", "database", QString::fromUtf8("/srv/Données/p.db")},
        {"CR only", QByteArray("[a]\rx=1\r[b]\ry=2\r"), "b", "y", QStringLiteral("2")},
        {"CR only, first section", QByteArray("[a]\rx=1\r[b]\ry=2"), "a", "x", QStringLiteral("1")},
        {"mixed ends", QByteArray("[a]\r\nx=1\ry=2\nz=3"), "a", "z", QStringLiteral("3")},
        {"CR LF LF keeps the blank line apart", QByteArray("[a]\r\n\nx=1\r\n"), "a", "x", QStringLiteral("1")},
    };
    for (const Cas& c : cas) {
        ecrireFichier(chemin(), c.fichier);
        EXPECT_EQ(ProfilINI(c.section, c.cle, "absent", chemin(), 1), c.attendu) << c.nom;
    }
}

TEST_F(Ini, ARewriteKeepsTheLineEndsAndTheMark)
{
    struct Cas { QByteArray avant; QByteArray apres; };
    const Cas cas[] = {
        {"[a]\rx=1\r", "[a]\rx=2\r"},
        {"[a]\nx=1\n", "[a]\nx=2\n"},
        {"\xEF\xBB\xBF[a]\r\nx=1\r\n", "\xEF\xBB\xBF[a]\r\nx=2\r\n"},
    };
    for (const Cas& c : cas) {
        ecrireFichier(chemin(), c.avant);
        ProfilINI("a", "x", "2", chemin(), 0);
        EXPECT_EQ(lireFichier(chemin()), c.apres) << c.avant.toStdString();
    }
}

TEST_F(Ini, AnyValueReadsBackAsItWasWritten)
{
    // Values chosen at random from characters that trouble an INI file:
    // quotes, blanks, line ends, backslashes, '=', ';', brackets, letters
    // outside Windows-1252.
    const QString alphabet = QString::fromUtf8("ab \"\r\n\t\\=;[]érŁ€\x01");
    QRandomGenerator hasard(20261209);
    for (int n = 0; n < 150; ++n) {
        QString valeur;
        const int longueur = int(hasard.bounded(12));
        for (int i = 0; i < longueur; ++i)
            valeur += alphabet.at(int(hasard.bounded(alphabet.size())));
        if (valeur.trimmed().isEmpty())
            continue; // reads as missing, by design
        const QString cle = QStringLiteral("k%1").arg(n % 7);
        ProfilINI("s", cle, valeur, chemin(), 0);
        ASSERT_EQ(ProfilINI("s", cle, "absent", chemin(), 1), valeur) << n;
    }
    // No value broke the file apart: its lines are the section and the keys.
    const QStringList lignes = QString::fromUtf8(lireFichier(chemin()).mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(lignes.size(), 8);
    for (const QString& ligne : lignes)
        EXPECT_TRUE(ligne == QStringLiteral("[s]") || ligne.startsWith(QLatin1Char('k'))) << ligne.toStdString();
}

TEST_F(Ini, QuotedAndPlainValuesOfOlderFilesStillRead)
{
    struct Cas { QByteArray ligne; QString attendu; };
    const Cas cas[] = {
        {"k=C:\\nouveau\\rep", QStringLiteral("C:\\nouveau\\rep")},
        {"k=\"  marge \"", QStringLiteral("  marge ")},
        {"k=\"", QStringLiteral("\"")},
        {"k=  simple  ", QStringLiteral("simple")},
    };
    for (const Cas& c : cas) {
        ecrireFichier(chemin(), "[s]\n" + c.ligne + "\n");
        EXPECT_EQ(ProfilINI("s", "k", "absent", chemin(), 1), c.attendu) << c.ligne.toStdString();
    }
}

TEST_F(Ini, AFileThatCannotBeWrittenStaysAsItWas)
{
    ecrireFichier(chemin(), "[a]\nk=v\n");
    QFile::setPermissions(chemin(), QFile::ReadOwner);
    EXPECT_EQ(ProfilINI("a", "k", "w", chemin(), 0), QStringLiteral("w"));
    EXPECT_EQ(ProfilINI("a", "neuve", "d", chemin(), 2), QStringLiteral("d"));
    if (!QFileInfo(chemin()).isWritable()) // root may write anyway
        EXPECT_EQ(lireFichier(chemin()), QByteArray("[a]\nk=v\n"));
    QFile::setPermissions(chemin(), QFile::ReadOwner | QFile::WriteOwner);
    // A folder where the file should be.
    const QString dossier = m_dossier.filePath(QStringLiteral("rep"));
    QDir().mkpath(dossier);
    EXPECT_EQ(ProfilINI("a", "k", "d", dossier, 2), QStringLiteral("d"));
    EXPECT_EQ(ProfilINI("a", "k", "e", m_dossier.filePath(QStringLiteral("absent/x.ini")), 0), QStringLiteral("e"));
}

TEST_F(Ini, DollarPathsGoToTheRegistryStore)
{
    RegistryKey::fixerCheminStockage(m_dossier.filePath(QStringLiteral("registre.json")));
    const QString fichier = QStringLiteral("$HKEY_CURRENT_USER\\Software\\Hotel");
    EXPECT_EQ(ProfilINI("system", "heurefin", "12:00", fichier, 1), QStringLiteral("12:00"));
    EXPECT_EQ(ProfilINI("system", "heurefin", "12:00", fichier, 2), QStringLiteral("12:00"));
    EXPECT_EQ(ProfilINI("system", "heurefin", "13:00", fichier, 1), QStringLiteral("12:00"));
    ProfilINI("system", "heurefin", "10:00", fichier, 0);
    EXPECT_EQ(ProfilINI("System", "HEUREFIN", "x", fichier, 1), QStringLiteral("10:00"));
    RegistryKey cle;
    cle.OpenKey(RegistryKey::HKEY_CURRENT_USER, QStringLiteral("Software\\Hotel\\system"), RegistryKey::KEY_READ);
    EXPECT_EQ(cle.Value(QStringLiteral("heurefin")), QStringLiteral("10:00"));
    // No INI file appeared anywhere in the folder.
    EXPECT_EQ(QDir(m_dossier.path()).entryList(QStringList{QStringLiteral("*.ini")}, QDir::Files).size(), 0);
    RegistryKey::fixerCheminStockage(QString());
}

TEST_F(Ini, TranslationTableFillsItself)
{
    Langues::fixerFichier(chemin());
    EXPECT_EQ(Langues::Traduire(QStringLiteral("Client")), QStringLiteral("Client"));
    EXPECT_EQ(Langues::langueCourante(), QStringLiteral("Francais"));
    EXPECT_EQ(lireFichier(chemin()), QByteArray("[Francais]\r\nClient=Client\r\n"));
    ecrireFichier(chemin(), "[Francais]\r\nClient=Guest\r\n");
    EXPECT_EQ(Langues::Traduire(QStringLiteral("Client")), QStringLiteral("Guest"));
    Langues::fixerFichier(QString());
}

// A caption mended since keeps its key: an older file that holds the key
// as its own translation shows the mended text, a real translation stays.
TEST_F(Ini, AMendedCaptionKeepsItsKey)
{
    Langues::fixerFichier(chemin());
    struct Cas {
        const char* fichier;
        const char* attendu;
    } const cas[] = {
        {"", "Paramètres"},
        {"[Francais]\r\nParametres=Parametres\r\n", "Paramètres"},
        {"[Francais]\r\nParametres=Options\r\n", "Options"},
    };
    for (const Cas& c : cas) {
        ecrireFichier(chemin(), c.fichier);
        EXPECT_EQ(Langues::Traduire(QStringLiteral("Parametres"), QStringLiteral("Paramètres")), QString::fromUtf8(c.attendu))
            << c.fichier;
    }
    Langues::fixerFichier(QString());
}

TEST(Cp1252, EveryByteRoundTrips)
{
    QByteArray tous;
    for (int i = 0; i < 256; ++i)
        tous.append(char(i));
    EXPECT_EQ(FichierIni::versCp1252(FichierIni::depuisCp1252(tous)), tous);
    EXPECT_EQ(FichierIni::depuisCp1252("\x80\x9c"), QString::fromUtf8("€œ"));
}
