// The receipt: where its ribbon and lines go, how it re-aligns and scrolls.
#include "bar/miseenpageticket.h"
#include "bar/ticketdecaisse.h"

#include <QFontMetrics>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace MiseEnPageTicket;

TEST(MiseEnPageTicket, NombreDeLignes)
{
    const struct { const char* texte; int lignes; } cas[] = {
        {"", 1}, {"Café", 1}, {"a\r\nb", 2}, {"a\nb\nc", 3}, {"a\rb", 2},
        {"a\r\n", 2}, {"\r\n\r\n", 3}, {"BAR Café\r\n2 x 1,5", 2},
    };
    for (const auto& c : cas)
        EXPECT_EQ(nombreDeLignes(QString::fromUtf8(c.texte)), c.lignes) << c.texte;
}

TEST(MiseEnPageTicket, LignesSuccessives)
{
    // Three lines of height h on an empty ribbon: 10 + 3 (h + 4), lines at
    // 10, 14 + h and 18 + 2h, each indented by 4.
    for (int h : {13, 16, 0, 40}) {
        int hauteur = kHauteurVide;
        const int attendus[] = {10, 14 + h, 18 + 2 * h};
        for (int i = 0; i < 3; ++i) {
            const Ajout a = ajouter(hauteur, h, 4);
            EXPECT_EQ(a.y, attendus[i]) << "h=" << h << " ligne " << i;
            EXPECT_EQ(a.x, 4);
            hauteur = a.hauteurRuban;
        }
        EXPECT_EQ(hauteur, 10 + 3 * (h + 4));
        EXPECT_EQ(hauteurRuban({h, h, h}, 4), hauteur);
    }
    EXPECT_EQ(hauteurRuban({}, 4), 10);
    EXPECT_EQ(hauteurRuban({13, 26}, 4), 10 + 17 + 30);
}

TEST(MiseEnPageTicket, Disposition)
{
    const struct { QSize interieur; QRect ruban; QRect attenduRuban; QRect attenduBas; } cas[] = {
        {{161, 297}, {3, -50, 0, 80}, {10, -50, 141, 80}, {0, 288, 161, 9}},
        {{320, 240}, {0, 0, 300, 10}, {10, 0, 300, 10}, {0, 231, 320, 9}},
        {{15, 20}, {0, 5, 1, 10}, {10, 5, 0, 10}, {0, 11, 15, 9}},   // narrower than the margins
    };
    for (const auto& c : cas) {
        const Disposition d = disposer(c.interieur, 10, c.ruban, 9, 9);
        EXPECT_EQ(d.ruban, c.attenduRuban);
        EXPECT_EQ(d.haut, QRect(0, 0, c.interieur.width(), 9));
        EXPECT_EQ(d.bas, c.attenduBas);
    }
}

TEST(MiseEnPageTicket, Realignement)
{
    const struct { int haut; int interieur; int ruban; int attendu; bool bouge; } cas[] = {
        {0, 297, 10, 278, true},       // after init: bottom on top of the bottom strip
        {278, 297, 10, 278, false},    // already in place
        {-400, 297, 500, -212, true},  // taller than the control: only its end shows
        {100, 297, 31, 257, true},
    };
    for (const auto& c : cas) {
        const auto r = realigner(c.haut, c.interieur, c.ruban, 9);
        EXPECT_EQ(r.has_value(), c.bouge);
        EXPECT_EQ(r.value_or(c.haut), c.attendu);
    }
    EXPECT_EQ(defiler(100, 15), 85);
    EXPECT_EQ(defiler(100, -15), 115);
}

namespace {

int hauteurLigne(const TicketDeCaisse& t)
{
    return QFontMetrics(t.font()).height();
}

bool aDesPixelsSombres(const QImage& image, const QRect& zone)
{
    for (int y = qMax(0, zone.top()); y <= qMin(image.height() - 1, zone.bottom()); ++y)
        for (int x = qMax(0, zone.left()); x <= qMin(image.width() - 1, zone.right()); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                return true;
    return false;
}

} // namespace

TEST(TicketDeCaisse, InitEtAjouts)
{
    TicketDeCaisse t;
    t.resize(161, 297);
    const int h = hauteurLigne(t);
    t.init();
    EXPECT_EQ(t.Ruban->height(), 10);
    EXPECT_EQ(t.Ruban->geometry().bottom() + 1, t.bas->y());
    EXPECT_TRUE(t.repositionnement->isActive());

    t.AjoutTexte(QStringLiteral("Café"));
    t.AjoutTexte(QString());
    t.AjoutTexte(QStringLiteral("BAR Bière\r\n2 x 3,5"));
    EXPECT_EQ(t.Ruban->height(), 10 + (h + 4) + (h + 4) + (2 * h + 4));
    EXPECT_EQ(t.Ruban->geometry().bottom() + 1, t.bas->y());
    EXPECT_EQ(t.Ruban->x(), 10);
    EXPECT_EQ(t.Ruban->width(), 141);
    EXPECT_EQ(t.Lignes(), QStringList({QStringLiteral("Café"), QString(), QStringLiteral("BAR Bière\r\n2 x 3,5")}));

    // The lines are painted on the paper: ink in the first line, none in the
    // empty one.
    const QImage image = t.Ruban->grab().toImage();
    EXPECT_TRUE(aDesPixelsSombres(image, QRect(4, 10, 60, h)));
    EXPECT_FALSE(aDesPixelsSombres(image, QRect(4, 14 + h, 130, h)));
    EXPECT_TRUE(aDesPixelsSombres(image, QRect(4, 18 + 2 * h + h, 60, h)));   // second line of the third text

    t.init();
    EXPECT_EQ(t.Ruban->height(), 10);
    EXPECT_TRUE(t.Lignes().isEmpty());
}

TEST(TicketDeCaisse, DefilementParLesBandes)
{
    TicketDeCaisse t;
    t.resize(161, 297);
    t.show();
    t.init();
    for (int i = 0; i < 40; ++i)
        t.AjoutTexte(QStringLiteral("ligne %1").arg(i));
    const int aligne = t.Ruban->y();
    EXPECT_LT(aligne, 0);

    const struct { QWidget* bande; int pas; } cas[] = {{t.bas, 15}, {t.haut, -15}};
    for (const auto& c : cas) {
        QTest::mousePress(c.bande, Qt::RightButton, {}, QPoint(5, 4));
        EXPECT_EQ(t.pasdefilement, c.pas);
        EXPECT_TRUE(t.Scrolleur->isActive());
        EXPECT_FALSE(t.repositionnement->isActive());
        const int avant = t.Ruban->y();
        t.Scrolleur_Timer();
        t.Scrolleur_Timer();
        EXPECT_EQ(t.Ruban->y(), avant - 2 * c.pas);
        QTest::mouseRelease(c.bande, Qt::RightButton, {}, QPoint(5, 4));
        EXPECT_FALSE(t.Scrolleur->isActive());
        EXPECT_FALSE(t.repositionnement->isActive());
        EXPECT_EQ(t.Ruban->y(), avant - 2 * c.pas);   // stays where the user left it
    }

    // Scrolling is not bounded; a new line brings the ribbon back in place.
    for (int i = 0; i < 100; ++i)
        t.Scrolleur_Timer();
    EXPECT_GT(t.Ruban->y(), 297);
    t.AjoutTexte(QStringLiteral("fin"));
    EXPECT_EQ(t.Ruban->geometry().bottom() + 1, t.bas->y());
    EXPECT_TRUE(t.repositionnement->isActive());
}
