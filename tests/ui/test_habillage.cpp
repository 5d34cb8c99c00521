// The dialog skin: dimming of the copied screen, and the dressed window.
#include "ui/habillage.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A main frame on screen, in one plain colour, that dressed windows cover.
struct CadreEssai {
    QWidget cadre;
    explicit CadreEssai(const QRect& geometrie, const QColor& couleur = QColor(200, 100, 50))
    {
        cadre.setAutoFillBackground(true);
        QPalette p = cadre.palette();
        p.setColor(QPalette::Window, couleur);
        cadre.setPalette(p);
        cadre.setGeometry(geometrie);
        cadre.show();
        QApplication::processEvents();
        Habillage::DefinirCadre(&cadre);
    }
    ~CadreEssai() { Habillage::DefinirCadre(nullptr); }
};

// A dialog window with its backdrop and its panel, as the dressed windows have.
struct Dialogue {
    std::unique_ptr<QWidget> fenetre;
    QWidget* dessin;
    QWidget* Fond;
    explicit Dialogue(const QSize& tailleFond, QWidget* parent = nullptr)
        : fenetre(std::make_unique<QWidget>(parent, Qt::Window))
    {
        fenetre->resize(300, 200);
        dessin = new QWidget(fenetre.get());
        Fond = new QWidget(fenetre.get());
        Fond->setGeometry(QRect(QPoint(10, 10), tailleFond));
    }
    void habiller() { Habillage::HabillerFenetre(dessin, Fond); }
    QPoint fondAttendu() const
    {
        return QPoint((fenetre->width() - Fond->width()) / 2, (fenetre->height() - Fond->height()) / 2);
    }
    QRgb pixelDuFond(const QPoint& p) const { return dessin->grab().toImage().pixel(p); }
};

} // namespace

TEST(Habillage, AssombrirPixel)
{
    const struct { QRgb avant; QRgb apres; } cas[] = {
        {qRgb(255, 255, 255), qRgb(119, 119, 119)},
        {qRgb(128, 128, 128), qRgb(0, 0, 0)},
        {qRgb(200, 100, 50), qRgb(64, 100, 50)},
        {qRgb(0, 0, 0), qRgb(0, 0, 0)},
        {qRgb(136, 8, 247), qRgb(0, 0, 119)},
        {qRgba(255, 255, 255, 40), qRgba(119, 119, 119, 40)},
    };
    for (const auto& c : cas)
        EXPECT_EQ(Habillage::AssombrirPixel(c.avant), c.apres) << std::hex << c.avant;
}

TEST(Habillage, AssombrirImage)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(1, 1, qRgb(200, 100, 50));
    const QImage sombre = Habillage::Assombrir(image);
    ASSERT_EQ(sombre.size(), image.size());
    EXPECT_EQ(sombre.pixel(0, 0), qRgb(119, 119, 119));
    EXPECT_EQ(sombre.pixel(2, 1), qRgb(119, 119, 119));
    EXPECT_EQ(sombre.pixel(1, 1), qRgb(64, 100, 50));
    // Other formats come out dimmed too.
    const QImage indexee = Habillage::Assombrir(image.convertToFormat(QImage::Format_RGB888));
    EXPECT_EQ(indexee.pixel(0, 0), qRgb(119, 119, 119));
}

TEST(Habillage, FenetreHabillee)
{
    const QRect ecran = QGuiApplication::primaryScreen()->geometry();
    const struct { QPoint positionFond; QSize tailleFond; } cas[] = {
        {{24, 24}, {800 * ecran.width() / 1000, 513 * ecran.height() / 1000}},
        {{-300, 900}, {100, 50}},
        {{0, 0}, {ecran.width(), ecran.height()}},
    };
    for (const auto& c : cas) {
        QWidget fenetre;
        fenetre.resize(300, 200);
        auto* dessin = new QLabel(&fenetre);
        dessin->setGeometry(8, 8, 200, 100);
        auto* Fond = new QWidget(&fenetre);
        Fond->setGeometry(QRect(c.positionFond, c.tailleFond));
        Habillage::HabillerFenetre(dessin, Fond);

        EXPECT_EQ(fenetre.geometry(), ecran);
        EXPECT_EQ(dessin->geometry(), QRect(QPoint(0, 0), ecran.size()));
        EXPECT_EQ(Fond->size(), c.tailleFond);
        EXPECT_EQ(Fond->pos(), QPoint((ecran.width() - c.tailleFond.width()) / 2,
                                      (ecran.height() - c.tailleFond.height()) / 2));

        // The backdrop shows the screen dimmed: every channel has bits 7
        // and 3 cleared.
        const QImage fond = dessin->grab().toImage();
        for (const QPoint p : {QPoint(0, 0), QPoint(ecran.width() - 1, ecran.height() - 1)}) {
            const QRgb px = fond.pixel(p);
            EXPECT_EQ(qRed(px) & ~Habillage::kMasque, 0);
            EXPECT_EQ(qGreen(px) & ~Habillage::kMasque, 0);
            EXPECT_EQ(qBlue(px) & ~Habillage::kMasque, 0);
        }
    }
}

TEST(Habillage, SansEcranUnFondGrisAssombri)
{
    // The display-less test platform gives no picture: the backdrop is the
    // plain grey, dimmed.
    QWidget fenetre;
    auto* dessin = new QWidget(&fenetre);
    auto* Fond = new QWidget(&fenetre);
    Fond->resize(10, 10);
    Habillage::HabillerFenetre(dessin, Fond);
    const QImage fond = dessin->grab().toImage();
    EXPECT_EQ(fond.pixel(3, 3), Habillage::AssombrirPixel(Habillage::fondParDefaut().rgb()));
}

TEST(Habillage, ZoneSurLeCadre)
{
    const QRect ecran(0, 0, 1366, 768);
    struct Cas { const char* nom; QRect cadre; QSize fond; QRect attendu; };
    const Cas cas[] = {
        {"le panneau tient dans le cadre", {100, 50, 900, 600}, {641, 449}, {100, 50, 900, 600}},
        {"panneau de la taille du cadre", {100, 50, 641, 449}, {641, 449}, {100, 50, 641, 449}},
        {"cadre trop étroit : élargi autour de son centre", {300, 100, 400, 600}, {800, 513}, {100, 100, 800, 600}},
        {"cadre trop bas", {300, 100, 900, 300}, {800, 513}, {300, 0, 900, 513}},
        {"élargi contre le bord gauche", {0, 100, 400, 600}, {800, 513}, {0, 100, 800, 600}},
        {"élargi contre le bord droit", {1166, 100, 200, 600}, {800, 513}, {566, 100, 800, 600}},
        {"plus grand que l'écran", {100, 100, 200, 200}, {1500, 900}, {0, 0, 1500, 900}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(Habillage::ZoneHabillee(c.cadre, c.fond, ecran), c.attendu);
    }
    // On the second screen the area is kept inside that screen.
    EXPECT_EQ(Habillage::ZoneHabillee({1500, 0, 400, 300}, {641, 449}, {1366, 0, 1280, 1024}),
              QRect(1379, 0, 641, 449));
}

TEST(Habillage, LeDialogueCouvreLeCadreEtNonLEcran)
{
    const QRect place(120, 90, 700, 500);
    CadreEssai cadre(place);
    Dialogue d(QSize(300, 200));
    d.habiller();

    EXPECT_EQ(d.fenetre->geometry(), cadre.cadre.geometry());
    EXPECT_NE(d.fenetre->geometry(), d.fenetre->screen()->geometry());
    EXPECT_EQ(d.dessin->geometry(), QRect(QPoint(0, 0), place.size()));
    EXPECT_EQ(d.Fond->pos(), QPoint(200, 150));
    EXPECT_EQ(d.Fond->size(), QSize(300, 200));
    // The backdrop is the frame's picture, dimmed.
    for (const QPoint p : {QPoint(0, 0), QPoint(699, 499), QPoint(350, 20)})
        EXPECT_EQ(d.pixelDuFond(p), qRgb(64, 100, 50)) << p.x() << "," << p.y();
    // The window manager keeps it above the frame.
    ASSERT_NE(d.fenetre->windowHandle(), nullptr);
    EXPECT_EQ(d.fenetre->windowHandle()->transientParent(), cadre.cadre.windowHandle());
}

TEST(Habillage, LeDialogueSuitLeCadreDeplaceOuRedimensionne)
{
    CadreEssai cadre(QRect(120, 90, 700, 500));
    Dialogue d(QSize(300, 200));
    d.habiller();
    d.fenetre->show();
    QApplication::processEvents();

    const QRect places[] = {{200, 150, 700, 500}, {200, 150, 900, 600}, {10, 20, 640, 480}};
    for (const QRect& place : places) {
        cadre.cadre.setGeometry(place);
        QApplication::processEvents();
        EXPECT_EQ(d.fenetre->geometry(), cadre.cadre.geometry());
        EXPECT_EQ(d.dessin->geometry(), QRect(QPoint(0, 0), cadre.cadre.size()));
        EXPECT_EQ(d.Fond->pos(), d.fondAttendu());
        EXPECT_EQ(d.pixelDuFond(QPoint(cadre.cadre.width() - 1, cadre.cadre.height() - 1)), qRgb(64, 100, 50));
    }

    // Closed, it no longer follows.
    d.fenetre->hide();
    const QRect avant = d.fenetre->geometry();
    cadre.cadre.setGeometry(300, 200, 500, 400);
    QApplication::processEvents();
    EXPECT_EQ(d.fenetre->geometry(), avant);
}

TEST(Habillage, UnCadreTropPetitPourLePanneauEstEntoureDeGris)
{
    CadreEssai cadre(QRect(300, 200, 400, 300));
    Dialogue d(QSize(600, 250));
    d.habiller();
    const QRect zone = Habillage::ZoneHabillee(cadre.cadre.geometry(), QSize(600, 250),
                                               d.fenetre->screen()->availableGeometry());
    EXPECT_EQ(d.fenetre->geometry(), zone);
    EXPECT_EQ(zone.size(), QSize(600, 300));
    EXPECT_EQ(d.Fond->geometry(), QRect(0, 25, 600, 250));
    // Beside the frame the grey backdrop, dimmed; over it the frame.
    const QPoint dansLeCadre = cadre.cadre.geometry().center() - zone.topLeft();
    EXPECT_EQ(d.pixelDuFond(QPoint(2, 2)), Habillage::AssombrirPixel(Habillage::fondParDefaut().rgb()));
    EXPECT_EQ(d.pixelDuFond(dansLeCadre), qRgb(64, 100, 50));
}

TEST(Habillage, UnDialogueOuvertDepuisUnAutreLeCouvre)
{
    // A payment opened from the bar lies over the bar, which lies over the frame.
    CadreEssai cadre(QRect(100, 100, 800, 600));
    auto ouvrant = std::make_unique<QWidget>();
    ouvrant->setGeometry(150, 120, 700, 550);
    ouvrant->show();
    QApplication::processEvents();
    Dialogue d(QSize(200, 100), ouvrant.get());
    EXPECT_EQ(Habillage::FenetreCouverte(d.fenetre.get()), ouvrant.get());
    d.habiller();
    EXPECT_EQ(d.fenetre->geometry(), ouvrant->geometry());

    // Without its opener on screen, the frame.
    ouvrant->hide();
    EXPECT_EQ(Habillage::FenetreCouverte(d.fenetre.get()), &cadre.cadre);
}

TEST(Habillage, SansCadreALEcranLeDialogueCouvreLEcran)
{
    struct Cas { const char* nom; bool cadre; bool montre; bool reduit; };
    const Cas cas[] = {
        {"aucun cadre", false, false, false},
        {"cadre caché", true, false, false},
        {"cadre réduit", true, true, true},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        QWidget cadre;
        cadre.setGeometry(100, 100, 500, 400);
        if (c.montre)
            cadre.show();
        if (c.reduit)
            cadre.showMinimized();
        QApplication::processEvents();
        Habillage::DefinirCadre(c.cadre ? &cadre : nullptr);
        Dialogue d(QSize(100, 50));
        d.habiller();
        EXPECT_EQ(d.fenetre->geometry(), d.fenetre->screen()->geometry());
        Habillage::DefinirCadre(nullptr);
    }
    // A frame that is gone is forgotten.
    {
        auto cadre = std::make_unique<QWidget>();
        Habillage::DefinirCadre(cadre.get());
    }
    EXPECT_EQ(Habillage::Cadre(), nullptr);
}
