// The splitter bar on two plain panes, and the database icon that holds one.
#include "config/ini32.h"
#include "testutil.h"
#include "ui/barreseparatrice.h"
#include "ui/basededonnees.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QColor kNoir(0, 0, 0);
const QColor kGris(128, 128, 128);

// A 400 x 200 container with a left pane, a right pane and the bar.
struct Montage {
    Montage()
    {
        conteneur.resize(400, 200);
        gauche->setGeometry(0, 0, 120, 200);
        droite->setGeometry(130, 0, 270, 200);
        barre->move(300, 0);
    }
    QWidget conteneur;
    QWidget* gauche = new QWidget(&conteneur);
    QWidget* droite = new QWidget(&conteneur);
    BarreSeparatrice* barre = new BarreSeparatrice(&conteneur);
};

void souris(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton bouton, Qt::MouseButtons boutons)
{
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), bouton, boutons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Presses the bar, drags it by dx pixels and lets it go.
void glisser(BarreSeparatrice* barre, int dx)
{
    souris(barre, QEvent::MouseButtonPress, QPoint(1, 50), Qt::LeftButton, Qt::LeftButton);
    if (dx != 0)
        souris(barre, QEvent::MouseMove, QPoint(1 + dx, 50), Qt::NoButton, Qt::LeftButton);
    souris(barre, QEvent::MouseButtonRelease, QPoint(1 + dx, 50), Qt::LeftButton, Qt::NoButton);
}

void survoler(BarreSeparatrice* barre)
{
    souris(barre, QEvent::MouseMove, QPoint(1, 10), Qt::NoButton, Qt::NoButton);
}

TEST(BarreSeparatrice, CreeeGriseEtroiteEtSansPanneaux)
{
    Montage m;
    QSignalSpy change(m.barre, &BarreSeparatrice::Changed);
    EXPECT_FALSE(m.barre->configuree());
    EXPECT_EQ(m.barre->couleur(), kGris);
    EXPECT_EQ(m.barre->width(), 3);   // 50 twips
    m.barre->resize(40, 100);
    EXPECT_EQ(m.barre->width(), 3);

    // Never given its panes: no layout, no drag, but it still blinks.
    m.barre->REFRESHING();
    glisser(m.barre, -100);
    EXPECT_EQ(m.barre->pos(), QPoint(300, 0));
    EXPECT_EQ(m.gauche->geometry(), QRect(0, 0, 120, 200));
    EXPECT_EQ(change.count(), 0);
    survoler(m.barre);
    EXPECT_EQ(m.barre->clignotementsRestants(), 5);
}

TEST(BarreSeparatrice, MiseEnPlaceDonneLaLargeurEtDisposeLesPanneaux)
{
    const struct { qint32 origine; int largeur; int barre; int droite; } cas[] = {
        {1500, 100, 101, 107},
        {0, 0, 1, 7},
        {-300, 0, 1, 7},
        {4500, 300, 301, 307},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.origine);
        Montage m;
        QSignalSpy change(m.barre, &BarreSeparatrice::Changed);
        m.barre->Controle_GAUCHEDROITE(m.gauche, m.droite, c.origine, &m.conteneur);

        EXPECT_TRUE(m.barre->configuree());
        EXPECT_EQ(m.barre->x(), c.barre);
        EXPECT_LT(m.barre->y(), 0);                         // reaches above
        EXPECT_GT(m.barre->y() + m.barre->height(), 200);   // and below the container
        EXPECT_EQ(m.gauche->geometry(), QRect(0, 0, c.largeur, 200));
        EXPECT_EQ(m.droite->geometry(), QRect(c.droite, 0, 400 - c.droite, 200));
        EXPECT_EQ(m.barre->PositionReelle, c.largeur * 15);
        EXPECT_FALSE(m.barre->appuye);
        EXPECT_EQ(change.count(), 1);
        // The bar stays above both panes.
        EXPECT_EQ(m.conteneur.children().last(), m.barre);
    }
}

TEST(BarreSeparatrice, LaBarreCentPixelsPlusLoinDonneQuatreVingtDixNeufPixels)
{
    const struct { int ecart; int largeur; int droite; } cas[] = {
        {100, 99, 106},
        {1, 0, 7},
        {250, 249, 256},
    };
    QTemporaryDir dossier;
    const QString ini = dossier.filePath(QStringLiteral("position.ini"));
    for (const auto& c : cas) {
        SCOPED_TRACE(c.ecart);
        Montage m;
        m.barre->Controle_GAUCHEDROITE_avecMEMOIRE(m.gauche, m.droite, &m.conteneur,
                                                   QStringLiteral("Fenetre"), QStringLiteral("Separation"), ini);
        QSignalSpy change(m.barre, &BarreSeparatrice::Changed);
        m.barre->move(m.gauche->x() + c.ecart, m.barre->y());
        glisser(m.barre, 0);

        EXPECT_EQ(m.gauche->geometry(), QRect(0, 0, c.largeur, 200));
        EXPECT_EQ(m.droite->geometry(), QRect(c.droite, 0, 400 - c.droite, 200));
        EXPECT_EQ(m.barre->PositionReelle, c.largeur * 15);
        EXPECT_EQ(change.count(), 1);
        EXPECT_EQ(INI32::ProfilINI(QStringLiteral("Fenetre"), QStringLiteral("Separation"), QString(), ini, 1),
                  QString::number(c.largeur * 15));
    }
}

TEST(BarreSeparatrice, LaPositionRetenueEstLueAvecLaLargeurCouranteParDefaut)
{
    const struct {
        const char* cas;
        QByteArray fichier;     // empty: no file
        int largeur;            // of the left pane after set-up
        QString ecrite;         // the entry found in the file afterwards
    } cas[] = {
        {"absente", QByteArray(), 120, QStringLiteral("1800")},
        {"retenue", "[Fenetre]\nSeparation=3000\n", 200, QStringLiteral("3000")},
        {"texte", "[Fenetre]\nSeparation=abc\n", 0, QStringLiteral("0")},
        {"negative", "[Fenetre]\nSeparation=-450\n", 0, QStringLiteral("0")},
        {"trop grande", "[Fenetre]\nSeparation=999999\n", 393, QStringLiteral("5895")},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        QTemporaryDir dossier;
        const QString ini = dossier.filePath(QStringLiteral("position.ini"));
        if (!c.fichier.isEmpty())
            TestUtil::ecrireFichier(ini, c.fichier);
        Montage m;
        m.gauche->move(40, 0);
        m.barre->Controle_GAUCHEDROITE_avecMEMOIRE(m.gauche, m.droite, &m.conteneur,
                                                   QStringLiteral("Fenetre"), QStringLiteral("Separation"), ini);
        EXPECT_EQ(m.gauche->geometry(), QRect(0, 0, c.largeur, 200));
        EXPECT_EQ(m.barre->x(), c.largeur + 1);
        EXPECT_EQ(m.droite->x(), c.largeur + 7);
        EXPECT_EQ(INI32::ProfilINI(QStringLiteral("Fenetre"), QStringLiteral("Separation"), QString(), ini, 1),
                  c.ecrite);
    }
}

TEST(BarreSeparatrice, GlisserDeplaceLaBarreEtPartageLaLargeur)
{
    const struct { int dx; int barre; } cas[] = {
        {50, 151},      // from 101 to 151
        {-60, 41},
        {-500, 0},      // kept inside the container
        {1000, 397},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.dx);
        Montage m;
        m.barre->Controle_GAUCHEDROITE(m.gauche, m.droite, 1500, &m.conteneur);
        QSignalSpy change(m.barre, &BarreSeparatrice::Changed);

        souris(m.barre, QEvent::MouseButtonPress, QPoint(1, 50), Qt::LeftButton, Qt::LeftButton);
        EXPECT_TRUE(m.barre->appuye);
        souris(m.barre, QEvent::MouseMove, QPoint(1 + c.dx, 50), Qt::NoButton, Qt::LeftButton);
        EXPECT_EQ(m.barre->x(), c.barre);
        EXPECT_EQ(change.count(), 0);   // laid out when let go
        souris(m.barre, QEvent::MouseButtonRelease, QPoint(1, 50), Qt::LeftButton, Qt::NoButton);

        EXPECT_EQ(change.count(), 1);
        EXPECT_EQ(m.gauche->width(), std::max(0, c.barre - 1));
        EXPECT_EQ(m.droite->x(), c.barre + 6);
        EXPECT_FALSE(m.barre->appuye);
    }
}

TEST(BarreSeparatrice, LeSurvolFaitClignoterCinqTopsEtFinitGris)
{
    // Ticks after a pointer pass; "survol" marks a new pass before a tick.
    const struct { const char* cas; std::vector<const char*> suite; std::vector<QColor> couleurs; } cas[] = {
        {"un passage", {"top", "top", "top", "top", "top", "top"},
         {kNoir, kGris, kNoir, kGris, kGris, kGris}},
        {"repasse en route", {"top", "top", "survol", "top", "top", "top", "top", "top", "top"},
         {kNoir, kGris, kGris, kNoir, kGris, kNoir, kGris, kGris, kGris}},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        Montage m;
        m.barre->Controle_GAUCHEDROITE(m.gauche, m.droite, 1500, &m.conteneur);
        survoler(m.barre);
        EXPECT_TRUE(m.barre->Clignotement->isActive());
        EXPECT_EQ(m.barre->Clignotement->interval(), 100);
        for (size_t i = 0; i < c.suite.size(); ++i) {
            if (QByteArray(c.suite[i]) == "survol")
                survoler(m.barre);
            else
                m.barre->Clignotement_Timer();
            EXPECT_EQ(m.barre->couleur(), c.couleurs[i]) << i;
        }
        EXPECT_EQ(m.barre->clignotementsRestants(), 0);
        EXPECT_FALSE(m.barre->Clignotement->isActive());
    }
}

TEST(BarreSeparatrice, LaBarreSePeintDeSaCouleur)
{
    Montage m;
    m.barre->Controle_GAUCHEDROITE(m.gauche, m.droite, 1500, &m.conteneur);
    survoler(m.barre);
    m.barre->Clignotement_Timer();
    const QImage noire = m.conteneur.grab().toImage();
    EXPECT_EQ(noire.pixelColor(102, 100), kNoir);
    for (int i = 0; i < 4; ++i)
        m.barre->Clignotement_Timer();
    const QImage grise = m.conteneur.grab().toImage();
    EXPECT_EQ(grise.pixelColor(102, 100), kGris);
}

TEST(BaseDeDonnees, DeuxPanneauxEtUneBarreQuiNeSontPasReliees)
{
    BaseDeDonnees icone;
    EXPECT_EQ(icone.size(), QSize(129, 89));
    EXPECT_EQ(icone.findChild<QWidget*>(QStringLiteral("Picture1")), icone.Picture1);
    EXPECT_EQ(icone.findChild<QWidget*>(QStringLiteral("fondgauche")), icone.fondgauche);
    EXPECT_EQ(icone.findChild<QWidget*>(QStringLiteral("fonddroite")), icone.fonddroite);
    EXPECT_EQ(icone.findChild<BarreSeparatrice*>(QStringLiteral("BarreSeparatrice1")), icone.BarreSeparatrice1);
    EXPECT_EQ(icone.BarreSeparatrice1->parentWidget(), icone.Picture1);
    EXPECT_LE(icone.fondgauche->geometry().right(), icone.BarreSeparatrice1->x());
    EXPECT_GT(icone.fonddroite->x(), icone.BarreSeparatrice1->geometry().right());
    EXPECT_FALSE(icone.BarreSeparatrice1->configuree());

    // Pressing its bar changes nothing.
    const QRect avant = icone.fondgauche->geometry();
    glisser(icone.BarreSeparatrice1, 30);
    EXPECT_EQ(icone.fondgauche->geometry(), avant);
}

} // namespace
