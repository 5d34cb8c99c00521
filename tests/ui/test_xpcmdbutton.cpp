// The skinned push button driven as a user would: clicks, moves, keys,
// access keys, the disabled look and the hover timer.
#include "ui/boutoneclaire.h"
#include "ui/xpcmdbutton.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace HabillageBouton;

namespace {

// A window holding one 57 x 25 button of a control array (index 7).
struct Fenetre {
    std::unique_ptr<QWidget> fenetre = std::make_unique<QWidget>();
    xpcmdbutton* bouton = new xpcmdbutton(QStringLiteral("&Ajouter"), fenetre.get());
    QStringList journal;

    Fenetre()
    {
        fenetre->resize(200, 100);
        bouton->setObjectName(QStringLiteral("Ajouter"));
        bouton->setGeometry(20, 20, 57, 25);
        bouton->setIndex(7);
        auto noter = [this](const QString& nom) { return [this, nom](int index) { journal << nom + QString::number(index); }; };
        QObject::connect(bouton, &xpcmdbutton::Click, noter(QStringLiteral("Click")));
        QObject::connect(bouton, &xpcmdbutton::MouseOut, noter(QStringLiteral("MouseOut")));
        QObject::connect(bouton, &xpcmdbutton::MouseDown, [this](int i, Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
            journal << QStringLiteral("MouseDown%1 b%2 %3,%4").arg(i).arg(int(b)).arg(x).arg(y);
        });
        QObject::connect(bouton, &xpcmdbutton::MouseUp, [this](int i, Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
            journal << QStringLiteral("MouseUp%1 b%2 %3,%4").arg(i).arg(int(b)).arg(x).arg(y);
        });
        QObject::connect(bouton, &xpcmdbutton::MouseMove, [this](int i, Qt::MouseButtons b, Qt::KeyboardModifiers, int x, int y) {
            journal << QStringLiteral("MouseMove%1 b%2 %3,%4").arg(i).arg(int(b)).arg(x).arg(y);
        });
        fenetre->show();
    }
};

void envoyerMouvement(QWidget* cible, QPoint pos, Qt::MouseButtons boutons)
{
    QMouseEvent ev(QEvent::MouseMove, QPointF(pos), QPointF(cible->mapToGlobal(pos)), Qt::NoButton, boutons,
                   Qt::NoModifier);
    QApplication::sendEvent(cible, &ev);
}

void envoyerSouris(QWidget* cible, QEvent::Type type, QPoint pos, Qt::MouseButton bouton)
{
    const Qt::MouseButtons enfonces = type == QEvent::MouseButtonPress ? Qt::MouseButtons(bouton) : Qt::NoButton;
    QMouseEvent ev(type, QPointF(pos), QPointF(cible->mapToGlobal(pos)), bouton, enfonces, Qt::NoModifier);
    QApplication::sendEvent(cible, &ev);
}

} // namespace

TEST(xpcmdbutton, ClicComplet)
{
    Fenetre f;
    QTest::mouseClick(f.bouton, Qt::LeftButton, {}, QPoint(4, 5));
    EXPECT_EQ(f.journal, QStringList({"MouseDown7 b1 4,5", "MouseUp7 b1 4,5", "Click7"}));
    EXPECT_EQ(f.bouton->CelluleAffichee(), Normale);
}

TEST(xpcmdbutton, SuitesDAppuiEtDeRelachement)
{
    struct Cas {
        const char* nom;
        Qt::MouseButton bouton;
        QPoint appui, relache;
        QStringList attendu;
    };
    const Cas cas[] = {
        {"relâché dehors", Qt::LeftButton, QPoint(4, 5), QPoint(90, 5), {"MouseDown7 b1 4,5", "MouseUp7 b1 90,5"}},
        {"bouton droit", Qt::RightButton, QPoint(4, 5), QPoint(4, 5), {"MouseDown7 b2 4,5", "MouseUp7 b2 4,5"}},
        {"bord droit et bas", Qt::LeftButton, QPoint(4, 5), QPoint(57, 25),
         {"MouseDown7 b1 4,5", "MouseUp7 b1 57,25", "Click7"}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        Fenetre f;
        envoyerSouris(f.bouton, QEvent::MouseButtonPress, c.appui, c.bouton);
        EXPECT_EQ(f.bouton->CelluleAffichee(), Enfoncee);
        envoyerSouris(f.bouton, QEvent::MouseButtonRelease, c.relache, c.bouton);
        EXPECT_EQ(f.journal, c.attendu);
        EXPECT_EQ(f.bouton->CelluleAffichee(), Normale);
    }
}

TEST(xpcmdbutton, ClicSurLaLegendeAvecSesCoordonnees)
{
    Fenetre f;
    QLabel* lbl = f.bouton->findChild<QLabel*>(QStringLiteral("lbl"));
    ASSERT_NE(lbl, nullptr);
    EXPECT_EQ(lbl->text(), QStringLiteral("&Ajouter"));
    QTest::mouseClick(lbl, Qt::LeftButton, {}, QPoint(2, 3));
    EXPECT_EQ(f.journal, QStringList({"MouseDown7 b1 2,3", "MouseUp7 b1 2,3", "Click7"}));
}

TEST(xpcmdbutton, AspectSelonLeMouvement)
{
    struct Cas {
        const char* nom;
        QPoint pos;
        Qt::MouseButtons boutons;
        int cellule;
        bool mouseMove;
    };
    const Cas cas[] = {
        {"survol", QPoint(10, 10), Qt::NoButton, Survolee, true},
        {"bouton gauche tenu", QPoint(10, 10), Qt::LeftButton, Enfoncee, true},
        {"gauche et droit tenus", QPoint(10, 10), Qt::LeftButton | Qt::RightButton, Survolee, true},
        {"bouton droit tenu", QPoint(10, 10), Qt::RightButton, Survolee, true},
        {"sur le bord droit et bas", QPoint(57, 25), Qt::NoButton, Survolee, true},
        {"dehors pendant un appui", QPoint(80, 10), Qt::LeftButton, Normale, false},
        {"dehors au-dessus", QPoint(10, -1), Qt::LeftButton, Normale, false},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        Fenetre f;
        envoyerMouvement(f.bouton, c.pos, c.boutons);
        EXPECT_EQ(f.bouton->CelluleAffichee(), c.cellule);
        EXPECT_EQ(f.journal.size(), c.mouseMove ? 1 : 0);
        EXPECT_TRUE(f.bouton->Timer1->isActive());
    }
}

TEST(xpcmdbutton, MinuterieDeSortie)
{
    struct Cas {
        const char* nom;
        QPoint pointeur;   // in the button's coordinates
        bool sorti;
    };
    const Cas cas[] = {
        {"au milieu", QPoint(20, 10), false},
        {"sur le bord droit et bas", QPoint(57, 25), false},
        {"à droite", QPoint(58, 10), true},
        {"au-dessous", QPoint(10, 26), true},
        {"à gauche", QPoint(-1, 10), true},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        Fenetre f;
        f.bouton->setState(1);
        envoyerMouvement(f.bouton, QPoint(10, 10), Qt::NoButton);
        f.journal.clear();
        QCursor::setPos(f.bouton->mapToGlobal(c.pointeur));
        f.bouton->Timer1_Timer();
        EXPECT_EQ(f.journal, c.sorti ? QStringList{"MouseOut7"} : QStringList{});
        EXPECT_EQ(f.bouton->Timer1->isActive(), !c.sorti);
        EXPECT_EQ(f.bouton->CelluleAffichee(), c.sorti ? Eclairee : Survolee);
    }
}

TEST(xpcmdbutton, EtatDeBase)
{
    Fenetre f;
    EXPECT_EQ(f.bouton->CelluleAffichee(), Normale);
    f.bouton->setState(1);
    EXPECT_EQ(f.bouton->CelluleAffichee(), Eclairee);
    f.bouton->setState(2);   // keeps the base look already chosen
    EXPECT_EQ(f.bouton->CelluleAffichee(), Eclairee);
    f.bouton->setState(0);
    EXPECT_EQ(f.bouton->CelluleAffichee(), Normale);
    f.bouton->setState(2);
    EXPECT_EQ(f.bouton->CelluleAffichee(), Normale);
    EXPECT_EQ(f.bouton->State(), 2);
}

TEST(xpcmdbutton, DesactiveNeRecoitRien)
{
    Fenetre f;
    f.bouton->setEnabled(false);
    EXPECT_EQ(f.bouton->CelluleAffichee(), Desactivee);
    EXPECT_EQ(f.bouton->lbl->palette().color(QPalette::Disabled, QPalette::WindowText), QColor(161, 161, 146));
    // The painted face is the flat grey one.
    const QImage vue = f.bouton->grab().toImage();
    EXPECT_EQ(vue.pixelColor(28, 1), QColor(245, 244, 234));
    EXPECT_EQ(vue.pixelColor(28, 0), QColor(201, 199, 186));

    QTest::mouseClick(f.bouton, Qt::LeftButton, {}, QPoint(4, 5));
    QTest::mouseClick(f.bouton->lbl, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(f.journal.isEmpty());
    EXPECT_EQ(f.bouton->CelluleAffichee(), Desactivee);

    f.bouton->setEnabled(true);
    EXPECT_EQ(f.bouton->CelluleAffichee(), Normale);
    EXPECT_EQ(f.bouton->lbl->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 0));
    QTest::mouseClick(f.bouton, Qt::LeftButton, {}, QPoint(4, 5));
    EXPECT_TRUE(f.journal.contains(QStringLiteral("Click7")));
}

TEST(xpcmdbutton, DesactiveParSaFenetre)
{
    Fenetre f;
    f.fenetre->setEnabled(false);
    EXPECT_EQ(f.bouton->CelluleAffichee(), Desactivee);
    f.fenetre->setEnabled(true);
    EXPECT_EQ(f.bouton->CelluleAffichee(), Normale);
}

TEST(xpcmdbutton, SurvolPeint)
{
    Fenetre f;
    envoyerMouvement(f.bouton, QPoint(10, 10), Qt::NoButton);
    const QImage vue = f.bouton->grab().toImage();
    EXPECT_EQ(vue.pixelColor(28, 1), QColor(255, 240, 207));
    EXPECT_EQ(vue.pixelColor(28, 23), QColor(229, 151, 0));
}

TEST(xpcmdbutton, ToucheDAcces)
{
    struct Cas {
        const char* nom;
        bool actif;
        bool doublon;   // a second button with the same access key
        bool clic;
    };
    const Cas cas[] = {
        {"seul", true, false, true},
        {"désactivé", false, false, false},
        {"partagée", true, true, false},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        Fenetre f;
        xpcmdbutton* autre = nullptr;
        if (c.doublon) {
            autre = new xpcmdbutton(QStringLiteral("&Annuler"), f.fenetre.get());
            autre->setGeometry(100, 20, 57, 25);
            autre->show();
        }
        f.bouton->setEnabled(c.actif);
        QApplication::setActiveWindow(f.fenetre.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(f.fenetre.get()));
        QTest::keyClick(f.fenetre.get(), Qt::Key_A, Qt::AltModifier);
        EXPECT_EQ(f.journal.contains(QStringLiteral("Click7")), c.clic);
        if (c.doublon) {
            EXPECT_TRUE(f.bouton->hasFocus() || autre->hasFocus());
        }
    }
}

TEST(xpcmdbutton, TouchesTransmisesSansClic)
{
    Fenetre f;
    QList<int> bas, caracteres, haut;
    QObject::connect(f.bouton, &xpcmdbutton::KeyDown, [&](int, int code, Qt::KeyboardModifiers) { bas << code; });
    QObject::connect(f.bouton, &xpcmdbutton::KeyPress, [&](int, int ascii) { caracteres << ascii; });
    QObject::connect(f.bouton, &xpcmdbutton::KeyUp, [&](int, int code, Qt::KeyboardModifiers) { haut << code; });
    QTest::keyClick(f.bouton, Qt::Key_Space);
    QTest::keyClick(f.bouton, Qt::Key_Return);
    QTest::keyClick(f.bouton, Qt::Key_X);
    EXPECT_EQ(bas, QList<int>({Qt::Key_Space, Qt::Key_Return, Qt::Key_X}));
    EXPECT_EQ(caracteres, QList<int>({' ', 'x'}));
    EXPECT_EQ(haut, QList<int>({Qt::Key_Space, Qt::Key_Return, Qt::Key_X}));
    EXPECT_FALSE(f.journal.contains(QStringLiteral("Click7")));
    EXPECT_EQ(f.bouton->CelluleAffichee(), Normale);
}

TEST(xpcmdbutton, LegendeCentree)
{
    Fenetre f;
    auto centree = [&] {
        const QRect r = f.bouton->lbl->geometry();
        return std::abs((r.left() + r.right()) - (f.bouton->width() - 1)) <= 1 &&
               std::abs((r.top() + r.bottom()) - (f.bouton->height() - 1)) <= 1;
    };
    EXPECT_TRUE(centree());
    const int largeur = f.bouton->lbl->width();
    f.bouton->setCaption(QStringLiteral("Ok"));
    EXPECT_LT(f.bouton->lbl->width(), largeur);
    EXPECT_TRUE(centree());
    QFont police = f.bouton->font();
    police.setPointSize(police.pointSize() + 6);
    f.bouton->setFont(police);
    EXPECT_TRUE(centree());
    EXPECT_EQ(f.bouton->lbl->font().pointSize(), police.pointSize());
    f.bouton->resize(33, 17);
    EXPECT_TRUE(centree());
    f.bouton->setText(QStringLiteral("<<"));
    EXPECT_EQ(f.bouton->Caption(), QStringLiteral("<<"));
    EXPECT_EQ(f.bouton->text(), QStringLiteral("<<"));
}

TEST(xpcmdbutton, IdentifiantsDesEvenements)
{
    using E = xpcmdbutton::Evenement;
    struct Cas {
        E evenement;
        int standard, eclaire;
    };
    const Cas cas[] = {
        {E::Click, -600, 1},    {E::KeyDown, -602, 2},   {E::KeyPress, -603, 3}, {E::KeyUp, -604, 4},
        {E::MouseOut, 1, 5},    {E::MouseDown, -605, 6}, {E::MouseMove, -606, 7}, {E::MouseUp, -607, 8},
    };
    xpcmdbutton bouton;
    BoutonEclaire eclaire;
    for (const Cas& c : cas) {
        EXPECT_EQ(bouton.IdentifiantEvenement(c.evenement), c.standard);
        EXPECT_EQ(eclaire.IdentifiantEvenement(c.evenement), c.eclaire);
    }
}

TEST(xpcmdbutton, BoutonEclaireSeComporteCommeLeBouton)
{
    QWidget fenetre;
    auto* bouton = new BoutonEclaire(QStringLiteral("Café"), &fenetre);
    bouton->setGeometry(0, 0, 80, 40);
    bouton->setIndex(3);
    fenetre.show();
    QSignalSpy clics(bouton, &xpcmdbutton::Click);
    QTest::mouseClick(bouton, Qt::LeftButton, {}, QPoint(40, 20));
    ASSERT_EQ(clics.size(), 1);
    EXPECT_EQ(clics.at(0).at(0).toInt(), 3);
    bouton->setEnabled(false);
    EXPECT_EQ(bouton->CelluleAffichee(), Desactivee);
}
