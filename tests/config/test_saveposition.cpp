// Remembered window positions: the stored text, the corrections that keep a
// window usable, and the keeper restoring and recording a real window.
#include "config/ini32.h"
#include "config/positionfenetre.h"
#include "app/root.h"
#include "config/saveposition.h"
#include "registry/registre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QUuid>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

QRect zonePrincipale()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// A top-level window and its keeper on a file of a temporary folder.
struct Banc {
    QTemporaryDir dossier;
    QString fichier = dossier.filePath(QStringLiteral("positions.ini"));
    std::unique_ptr<QWidget> fenetre = std::make_unique<QWidget>();
    SavePosition* garde = new SavePosition(fenetre.get());

    Banc()
    {
        fenetre->setObjectName(QStringLiteral("Essai"));
        fenetre->setGeometry(50, 60, 300, 200);
    }
    QString lire(const QString& cle) const { return INI32::ProfilINI(QStringLiteral("Fenetre"), cle, QStringLiteral("?"), fichier, 1); }
    void ecrire(const QString& cle, const QString& valeur) const { INI32::ProfilINI(QStringLiteral("Fenetre"), cle, valeur, fichier, 0); }
    void init() { garde->init(fenetre.get(), fichier, QStringLiteral("Fenetre")); }
    QRect geometrie() const { return QRect(fenetre->pos(), fenetre->size()); }
};

} // namespace

TEST(PositionFenetre, TexteDesPositions)
{
    EXPECT_EQ(PositionFenetre::EcrirePositions(QRect(96, 136, 667, 510)), QStringLiteral("1440|2040|10005|7650"));
    EXPECT_EQ(PositionFenetre::EcrirePositions(QRect(-10, 0, 1, 2)), QStringLiteral("-150|0|15|30"));
    const std::pair<float, const char*> simples[] = {{1440.f, "1440"}, {7.5f, "7.5"}, {0.f, "0"}, {-0.f, "0"}, {-22.25f, "-22.25"}};
    for (const auto& [valeur, texte] : simples)
        EXPECT_EQ(PositionFenetre::TexteSimple(valeur), QString::fromLatin1(texte)) << valeur;
}

TEST(PositionFenetre, LectureDesPositions)
{
    struct Cas {
        const char* texte;
        std::optional<QRect> attendu;
    };
    const Cas cas[] = {
        {"0", std::nullopt},
        {"1440|2040|10005|7650", QRect(96, 136, 667, 510)},
        {"1440|2040|10005|7650|99", QRect(96, 136, 667, 510)},
        {"1440|2040", QRect(96, 136, 0, 0)},             // missing fields count as 0
        {"", QRect(0, 0, 0, 0)},
        {"abc|def", QRect(0, 0, 0, 0)},
        {"1500.7|30x|3000|-1500", QRect(100, 2, 200, -100)},
        {"99999999999999999999|0|0|0", QRect(10000000, 0, 0, 0)},   // kept within safe bounds
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.texte);
        EXPECT_EQ(PositionFenetre::LirePositions(QString::fromLatin1(c.texte)), c.attendu);
    }
}

TEST(PositionFenetre, LectureDeLEtat)
{
    const std::pair<const char*, std::optional<int>> cas[] = {
        {"0", 0}, {"1", 1}, {"2", 2}, {"", 0}, {"abc", 0}, {"3", std::nullopt}, {"-1", std::nullopt}, {"1.5", std::nullopt},
    };
    for (const auto& [texte, attendu] : cas)
        EXPECT_EQ(PositionFenetre::LireEtat(QString::fromLatin1(texte)), attendu) << texte;
}

TEST(PositionFenetre, CorrectionsPourResterUtilisable)
{
    const QList<QRect> un = {QRect(0, 0, 800, 600)};
    const QList<QRect> deux = {QRect(0, 0, 800, 600), QRect(800, 0, 1024, 768)};
    struct Cas {
        const char* nom;
        QRect voulu;
        QList<QRect> zones;
        QRect attendu;
    };
    const Cas cas[] = {
        {"déjà bien", QRect(50, 60, 300, 200), un, QRect(50, 60, 300, 200)},
        {"taille nulle", QRect(50, 60, 0, 0), un, QRect(50, 60, 200, 120)},
        {"taille négative", QRect(50, 60, -100, -5), un, QRect(50, 60, 200, 120)},
        {"taille démesurée", QRect(0, 0, 90000, 70000), un, QRect(0, 0, 800, 600)},
        {"loin à droite", QRect(5000, 100, 300, 200), un, QRect(500, 100, 300, 200)},
        {"loin en bas", QRect(100, 9000, 300, 200), un, QRect(100, 400, 300, 200)},
        {"titre au-dessus de l'écran", QRect(100, -50, 300, 200), un, QRect(100, 0, 300, 200)},
        {"à moitié à gauche, titre saisissable", QRect(-200, 100, 300, 200), un, QRect(-200, 100, 300, 200)},
        {"seulement 10 pixels visibles", QRect(-290, 100, 300, 200), un, QRect(0, 100, 300, 200)},
        {"sur le second écran", QRect(900, 100, 300, 200), deux, QRect(900, 100, 300, 200)},
        {"trop grand pour le second écran", QRect(900, 100, 3000, 200), deux, QRect(900, 100, 1024, 200)},
        {"hors de tout écran", QRect(-3000, -3000, 300, 200), deux, QRect(0, 0, 300, 200)},
        {"sans zone connue", QRect(-3000, 5, 0, 0), {}, QRect(-3000, 5, 200, 120)},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(PositionFenetre::Corriger(c.voulu, c.zones), c.attendu);
    }
}

TEST(PositionFenetre, PremierePlaceCentreeSurLaZone)
{
    struct Cas { QRect zone; int pourcent; QRect attendu; };
    const Cas cas[] = {
        {{0, 0, 1366, 768}, 90, {68, 38, 1229, 691}},
        {{0, 30, 1920, 1050}, 90, {96, 82, 1728, 945}},   // below a panel
        {{1920, 0, 1280, 1024}, 100, {1920, 0, 1280, 1024}},
        {{0, 0, 1000, 800}, 0, {495, 396, 10, 8}},          // a nonsense share stays a visible window
    };
    for (const Cas& c : cas)
        EXPECT_EQ(PositionFenetre::PremierePlace(c.zone, c.pourcent), c.attendu) << c.pourcent;
}

TEST(SavePosition, RestaurationDepuisLeFichier)
{
    const QRect ecran = zonePrincipale();
    struct Cas {
        const char* nom;
        const char* positions;   // nullptr: nothing stored
        QRect attendu;
    };
    const Cas cas[] = {
        {"rien de stocké", nullptr, QRect(50, 60, 300, 200)},
        {"valeur 0", "0", QRect(50, 60, 300, 200)},
        {"quatre champs", "1500|1200|6000|4500", QRect(100, 80, 400, 300)},
        {"deux champs", "1500|1200", QRect(100, 80, 200, 120)},
        {"illisible", "n'importe quoi", QRect(0, 0, 200, 120)},
        {"hors écran", "150000|150000|6000|4500", QRect(ecran.right() + 1 - 400, ecran.bottom() + 1 - 300, 400, 300)},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        Banc banc;
        if (c.positions)
            banc.ecrire(QStringLiteral("Positions"), QString::fromLatin1(c.positions));
        banc.init();
        EXPECT_EQ(banc.geometrie(), c.attendu);
        EXPECT_TRUE(banc.garde->Timer1->isActive());
        EXPECT_EQ(banc.garde->Timer1->interval(), 1000);
        EXPECT_EQ(banc.fenetre->windowState(), Qt::WindowNoState);
    }
}

TEST(SavePosition, EtatRestaure)
{
    const std::pair<const char*, Qt::WindowStates> cas[] = {
        {"0", Qt::WindowNoState}, {"1", Qt::WindowMinimized}, {"2", Qt::WindowMaximized}, {"7", Qt::WindowNoState},
    };
    for (const auto& [texte, attendu] : cas) {
        SCOPED_TRACE(texte);
        Banc banc;
        banc.ecrire(QStringLiteral("PositionsTaille"), QString::fromLatin1(texte));
        banc.init();
        EXPECT_EQ(banc.fenetre->windowState(), attendu);
    }
}

TEST(SavePosition, SansPositionStockeeLaPremiereVueEcrit)
{
    Banc banc;
    banc.init();
    EXPECT_FALSE(banc.garde->positionsEnregistrees());
    banc.garde->Timer1_Timer();   // first look: restores again, writes nothing
    EXPECT_EQ(banc.lire(QStringLiteral("Positions")), QStringLiteral("?"));
    banc.garde->Timer1_Timer();
    EXPECT_EQ(banc.lire(QStringLiteral("Positions")), QStringLiteral("750|900|4500|3000"));
    EXPECT_TRUE(banc.garde->positionsEnregistrees());
    EXPECT_EQ(banc.lire(QStringLiteral("PositionsTaille")), QStringLiteral("0"));
    EXPECT_EQ(banc.lire(QStringLiteral("Visible")), QStringLiteral("?"));   // never shown yet

    banc.fenetre->move(70, 90);
    banc.fenetre->resize(320, 240);
    banc.garde->Timer1_Timer();
    EXPECT_EQ(banc.lire(QStringLiteral("Positions")), QStringLiteral("1050|1350|4800|3600"));
}

TEST(SavePosition, CorrectionReecriteALaVueSuivante)
{
    Banc banc;
    banc.ecrire(QStringLiteral("Positions"), QStringLiteral("1500|1200"));
    banc.init();
    banc.garde->Timer1_Timer();
    EXPECT_EQ(banc.lire(QStringLiteral("Positions")), QStringLiteral("1500|1200"));
    banc.garde->Timer1_Timer();
    EXPECT_EQ(banc.lire(QStringLiteral("Positions")), QStringLiteral("1500|1200|3000|1800"));
}

TEST(SavePosition, ReduireOuAgrandirGardeLaPositionNormale)
{
    const std::pair<Qt::WindowState, const char*> cas[] = {{Qt::WindowMinimized, "1"}, {Qt::WindowMaximized, "2"}};
    for (const auto& [etat, texte] : cas) {
        SCOPED_TRACE(texte);
        Banc banc;
        banc.ecrire(QStringLiteral("Positions"), QStringLiteral("1500|1200|6000|4500"));
        banc.init();
        banc.fenetre->show();   // the first showing takes the first look
        banc.garde->Timer1_Timer();
        ASSERT_EQ(banc.lire(QStringLiteral("PositionsTaille")), QStringLiteral("?"));
        banc.fenetre->setWindowState(etat);
        banc.garde->Timer1_Timer();
        EXPECT_EQ(banc.lire(QStringLiteral("PositionsTaille")), QString::fromLatin1(texte));
        EXPECT_EQ(banc.lire(QStringLiteral("Positions")), QStringLiteral("1500|1200|6000|4500"));

        banc.fenetre->setWindowState(Qt::WindowNoState);
        banc.garde->Timer1_Timer();
        EXPECT_EQ(banc.lire(QStringLiteral("PositionsTaille")), QStringLiteral("0"));
    }
}

TEST(SavePosition, VisibiliteEcriteQuandElleChange)
{
    Banc banc;
    banc.init();
    banc.garde->Timer1_Timer();
    banc.garde->Timer1_Timer();
    EXPECT_EQ(banc.lire(QStringLiteral("Visible")), QStringLiteral("?"));
    const std::pair<bool, const char*> etapes[] = {{true, "OUI"}, {false, "NON"}, {true, "OUI"}};
    for (const auto& [visible, texte] : etapes) {
        banc.fenetre->setVisible(visible);
        banc.garde->Timer1_Timer();
        EXPECT_EQ(banc.lire(QStringLiteral("Visible")), QString::fromLatin1(texte));
    }
}

TEST(SavePosition, PremierAffichageRestaureDeNouveau)
{
    Banc banc;
    banc.ecrire(QStringLiteral("Positions"), QStringLiteral("1500|1200|6000|4500"));
    banc.init();
    banc.fenetre->move(10, 10);   // moved before it was ever shown
    banc.fenetre->show();
    EXPECT_EQ(banc.geometrie(), QRect(100, 80, 400, 300));
}

TEST(SavePosition, SansInitLaFenetrePorteuseEstSuivie)
{
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(QStringLiteral("positions.ini"));
    QWidget fenetre;
    fenetre.setObjectName(QStringLiteral("Essai"));
    fenetre.setGeometry(50, 60, 300, 200);
    SavePosition garde(&fenetre);
    // Without a section of its own, the keeper files under its window's name.
    EXPECT_EQ(garde.Section(), QStringLiteral("Essai"));
    garde.setFichierINI(fichier);
    INI32::ProfilINI(QStringLiteral("Essai"), QStringLiteral("Positions"), QStringLiteral("1500|1200|6000|4500"), fichier, 0);
    EXPECT_EQ(garde.fenetre(), nullptr);
    garde.Timer1_Timer();
    EXPECT_EQ(garde.fenetre(), &fenetre);
    EXPECT_EQ(QRect(fenetre.pos(), fenetre.size()), QRect(100, 80, 400, 300));
    EXPECT_TRUE(garde.Timer1->isActive());
}

TEST(SavePosition, CheminDollarVaAuRegistre)
{
    const QString cle = QStringLiteral("HKEY_CURRENT_USER\\Software\\EssaiPositions") +
                        QUuid::createUuid().toString(QUuid::Id128);
    QWidget fenetre;
    fenetre.setGeometry(50, 60, 300, 200);
    SavePosition garde(&fenetre);
    Registre::EcrireRegistre(cle + QStringLiteral("\\Fenetre"), QStringLiteral("Positions"),
                             QStringLiteral("1500|1200|6000|4500"));
    garde.init(&fenetre, QStringLiteral("$") + cle, QStringLiteral("Fenetre"));
    EXPECT_EQ(QRect(fenetre.pos(), fenetre.size()), QRect(100, 80, 400, 300));
    garde.Timer1_Timer();
    fenetre.show();
    fenetre.move(70, 90);
    garde.Timer1_Timer();
    const QString chemin = cle + QStringLiteral("\\Fenetre");
    EXPECT_EQ(Registre::LireRegistre(chemin, QStringLiteral("Positions")), QStringLiteral("1050|1350|6000|4500"));
    EXPECT_EQ(Registre::LireRegistre(chemin, QStringLiteral("PositionsTaille")), QStringLiteral("0"));
    EXPECT_EQ(Registre::LireRegistre(chemin, QStringLiteral("Visible")), QStringLiteral("OUI"));
}

TEST(SavePosition, LeCadrePrincipalGardeSaPlace)
{
    ROOT root;
    SavePosition* garde = root.findChild<SavePosition*>(QStringLiteral("SavePosition1"));
    ASSERT_NE(garde, nullptr);
    EXPECT_EQ(garde, root.SavePosition1);
    EXPECT_EQ(garde->FichierINI(), QStringLiteral("daduvuvav.ini"));
    EXPECT_EQ(garde->Section(), QStringLiteral("root"));
    EXPECT_EQ(garde->fenetre(), &root);
    EXPECT_TRUE(garde->Timer1->isActive());
}
