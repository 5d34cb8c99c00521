#include "registry/registre.h"
#include "registry/registrykey.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Registre_ : public ::testing::Test
{
protected:
    void SetUp() override { RegistryKey::fixerCheminStockage(m_dossier.filePath(QStringLiteral("registre.json"))); }
    void TearDown() override { RegistryKey::fixerCheminStockage(QString()); }
    QTemporaryDir m_dossier;
};

} // namespace

TEST_F(Registre_, RootNamesIgnoreCaseAndSubkeysKeepIt)
{
    struct Cas { const char* chemin; quint32 racine; const char* sousCle; };
    const Cas cas[] = {
        {"HKEY_CURRENT_USER\\Software\\Hotel", RegistryKey::HKEY_CURRENT_USER, "Software\\Hotel"},
        {"hkey_local_machine\\Soft", RegistryKey::HKEY_LOCAL_MACHINE, "Soft"},
        {"HKEY_USERS", RegistryKey::HKEY_USERS, ""},
        {"HKCU\\Software", 0, "Software"},
    };
    for (const Cas& c : cas) {
        const auto [racine, sousCle] = Registre::DecouperChemin(QString::fromLatin1(c.chemin));
        EXPECT_EQ(racine, c.racine) << c.chemin;
        EXPECT_EQ(sousCle, QString::fromLatin1(c.sousCle)) << c.chemin;
    }
}

TEST_F(Registre_, WritesCreateMissingLevelsAndReadBack)
{
    EXPECT_EQ(Registre::LireRegistre(QStringLiteral("HKEY_CURRENT_USER\\Software\\Hotel\\system"), QStringLiteral("heurefin")), QString());
    Registre::EcrireRegistre(QStringLiteral("HKEY_CURRENT_USER\\Software\\Hotel\\system"), QStringLiteral("heurefin"), QStringLiteral("12:00"));
    EXPECT_EQ(Registre::LireRegistre(QStringLiteral("hkey_current_user\\software\\HOTEL\\System"), QStringLiteral("HEUREFIN")),
              QStringLiteral("12:00"));
    // Replacing keeps one value.
    Registre::EcrireRegistre(QStringLiteral("HKEY_CURRENT_USER\\Software\\Hotel\\system"), QStringLiteral("HeureFin"), QString::fromUtf8("11:30 été"));
    RegistryKey cle;
    cle.OpenKey(RegistryKey::HKEY_CURRENT_USER, QStringLiteral("Software\\Hotel\\system"), RegistryKey::KEY_READ);
    ASSERT_NE(cle.handle(), 0u);
    EXPECT_EQ(cle.ValueNames(), QStringList{QStringLiteral("heurefin")});
    EXPECT_EQ(cle.Value(QStringLiteral("heurefin")), QString::fromUtf8("11:30 été"));
    // An empty value reads as "".
    Registre::EcrireRegistre(QStringLiteral("HKEY_CURRENT_USER\\Software\\Hotel\\system"), QStringLiteral("vide"), QString());
    EXPECT_EQ(Registre::LireRegistre(QStringLiteral("HKEY_CURRENT_USER\\Software\\Hotel\\system"), QStringLiteral("vide")), QString());
    // An unknown root neither reads nor writes.
    Registre::EcrireRegistre(QStringLiteral("HKCU\\Software"), QStringLiteral("x"), QStringLiteral("1"));
    EXPECT_EQ(Registre::LireRegistre(QStringLiteral("HKCU\\Software"), QStringLiteral("x")), QString());
}

TEST_F(Registre_, KeyOperations)
{
    RegistryKey cle;
    cle.OpenKey(RegistryKey::HKEY_CURRENT_USER, QStringLiteral("Absente"), RegistryKey::KEY_READ);
    EXPECT_EQ(cle.handle(), 0u);
    EXPECT_EQ(cle.Value(QStringLiteral("x")), QString());

    EXPECT_TRUE(cle.CreateKey(RegistryKey::HKEY_CURRENT_USER, QStringLiteral("A\\B"), QString(), 0, RegistryKey::KEY_ALL_ACCESS));
    EXPECT_FALSE(cle.CreateKey(RegistryKey::HKEY_CURRENT_USER, QStringLiteral("A\\B"), QString(), 0, RegistryKey::KEY_ALL_ACCESS));
    cle.setValue(QStringLiteral("n"), 42);
    EXPECT_EQ(cle.GetRegistryValueLen(QStringLiteral("n")), 3);
    EXPECT_EQ(cle.GetRegistryValueLen(QStringLiteral("absente")), 0);
    EXPECT_EQ(cle.derniereErreur().source, QStringLiteral("RegistryKey.GetRegistryValueLen"));

    RegistryKey a;
    a.OpenKey(RegistryKey::HKEY_CURRENT_USER, QStringLiteral("A"), RegistryKey::KEY_READ);
    EXPECT_EQ(a.SubKeyNames(), QStringList{QStringLiteral("B")});
    // A key with subkeys cannot be deleted; a leaf can.
    EXPECT_FALSE(a.DeleteKey(RegistryKey::HKEY_CURRENT_USER, QStringLiteral("A")));
    EXPECT_EQ(a.derniereErreur().description, QStringLiteral("Unable to delete registry key 'A'"));
    EXPECT_TRUE(cle.DeleteValue(QStringLiteral("N")));
    EXPECT_FALSE(cle.DeleteValue(QStringLiteral("N")));
    EXPECT_TRUE(a.DeleteSubKey(QStringLiteral("b")));
    EXPECT_TRUE(a.SubKeyNames().isEmpty());
    EXPECT_TRUE(cle.CloseKey());
    EXPECT_EQ(cle.handle(), 0u);

    // A read-only key refuses writes silently.
    a.setValue(QStringLiteral("interdit"), QStringLiteral("1"));
    EXPECT_EQ(a.Value(QStringLiteral("interdit")), QString());
}

TEST_F(Registre_, AStoreFileThatIsGarbageReadsAsEmpty)
{
    QFile f(RegistryKey::cheminStockage());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x01\x02 pas du json {{{");
    f.close();
    EXPECT_EQ(Registre::LireRegistre(QStringLiteral("HKEY_CURRENT_USER\\X"), QStringLiteral("y")), QString());
    Registre::EcrireRegistre(QStringLiteral("HKEY_CURRENT_USER\\X"), QStringLiteral("y"), QStringLiteral("z"));
    EXPECT_EQ(Registre::LireRegistre(QStringLiteral("HKEY_CURRENT_USER\\X"), QStringLiteral("y")), QStringLiteral("z"));
}

TEST_F(Registre_, AnUnreadableStoreIsPutAsideNeverOverwritten)
{
    const QString chemin = m_dossier.filePath(QStringLiteral("registre.json"));
    struct Cas { const char* nom; QByteArray contenu; };
    const Cas cas[] = {
        {"truncated JSON", QByteArray("{\"HKEY_CURRENT_USER\": {\"cles\": {\"Soft")},
        {"not an object", QByteArray("[1, 2, 3]")},
        {"garbage", QByteArray("\x00\x01\xff garbage", 12)},
    };
    for (const Cas& c : cas) {
        QDir(m_dossier.path()).removeRecursively();
        QDir().mkpath(m_dossier.path());
        {
            QFile f(chemin);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.contenu);
        }
        Registre::EcrireRegistre(QStringLiteral("HKEY_CURRENT_USER\\Software\\Hotel"), QStringLiteral("k"), QStringLiteral("v"));
        const QStringList misDeCote = QDir(m_dossier.path()).entryList({QStringLiteral("registre.json.illisible-*")});
        ASSERT_EQ(misDeCote.size(), 1) << c.nom;
        QFile f(m_dossier.filePath(misDeCote.first()));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), c.contenu) << c.nom;
        // The write went to a fresh store.
        EXPECT_EQ(Registre::LireRegistre(QStringLiteral("HKEY_CURRENT_USER\\Software\\Hotel"), QStringLiteral("k")),
                  QStringLiteral("v")) << c.nom;
    }
}
