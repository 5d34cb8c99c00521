#include "form1.h"

#include "app/contexte.h"
#include "store/conversion.h"
#include "store/horloge.h"
#include "ui/twips.h"

#include <QComboBox>
#include <QPushButton>

namespace {

QWidget* surface(QWidget* parent, const char* nom, const QRect& geometrie, const QColor& fond)
{
    auto* w = new QWidget(parent);
    w->setObjectName(QLatin1String(nom));
    w->setGeometry(geometrie);
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, fond);
    w->setPalette(p);
    return w;
}

} // namespace

Form1::Form1(Contexte* contexte, QWidget* parent)
    : QWidget(parent), m_contexte(contexte)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Calendrier"));
    resize(Twips::enPixels(10035), Twips::enPixels(5790));

    fondplanning = surface(this, "fondplanning", Twips::rect(120, 120, 9255, 5415), palette().color(QPalette::Dark));
    colonnes = surface(fondplanning, "colonnes", Twips::rect(0, 0, 2295, 1020), QColor(192, 192, 192));
    Objets = surface(fondplanning, "Objets", Twips::rect(0, 960, 2295, 4095), QColor(128, 128, 255));
    lesmois = surface(fondplanning, "lesmois", Twips::rect(2280, 0, 4695, 375), QColor(255, 255, 192));
    TexteColonnes = surface(fondplanning, "TexteColonnes", Twips::rect(2280, 360, 4695, 615), palette().color(QPalette::Mid));
    planning = surface(fondplanning, "planning", Twips::rect(2280, 960, 3975, 2775), QColor(224, 224, 224));

    choixannee = new QComboBox(colonnes);
    choixannee->setObjectName(QStringLiteral("choixannee"));
    choixannee->setEditable(true);
    choixannee->setGeometry(Twips::rect(120, 0, 855, 315));
    choixmois = new QComboBox(colonnes);
    choixmois->setObjectName(QStringLiteral("choixmois"));
    choixmois->setEditable(true);
    choixmois->setGeometry(Twips::rect(960, 0, 1215, 315));
    ChoixSelection = new QComboBox(colonnes);
    ChoixSelection->setObjectName(QStringLiteral("ChoixSelection"));
    ChoixSelection->setEditable(true);
    ChoixSelection->setEditText(QStringLiteral("Tous"));
    ChoixSelection->setGeometry(Twips::rect(135, 540, 2055, 315));

    auto bouton = [this](const char* nom, const QString& texte, const QRect& g) {
        auto* b = new QPushButton(texte, colonnes);
        b->setObjectName(QLatin1String(nom));
        b->setGeometry(g);
        return b;
    };
    MvtJourPrecedent = bouton("MvtJourPrecedent", QStringLiteral("<"), Twips::rect(120, 315, 495, 255));
    mouvementaujourdhui = bouton("mouvementaujourdhui", QStringLiteral("Auj."), Twips::rect(600, 315, 615, 255));
    MvtJourSuivant = bouton("MvtJourSuivant", QStringLiteral(">"), Twips::rect(1200, 315, 495, 255));
    ajouter = bouton("ajouter", QStringLiteral("+"), Twips::rect(1680, 315, 495, 255));
    connect(mouvementaujourdhui, &QPushButton::clicked, this, &Form1::mouvementaujourdhui_Click);
}

void Form1::fixerTailleCellules(int largeurJour, int hauteurLigne)
{
    LargeurJour = largeurJour;
    HauteurLigne = hauteurLigne;
}

void Form1::remplirAnnees(int anneeCourante)
{
    for (int a = anneeCourante - 1; a <= anneeCourante + 5; ++a)
        choixannee->addItem(QString::number(a));
}

void Form1::remplirMois()
{
    for (int m = 1; m <= 12; ++m)
        choixmois->addItem(Conversion::NomDuMois(m));
}

void Form1::mouvementaujourdhui_Click()
{
    datedepart = Horloge::aujourdhui();
    rafraichir();
}

void Form1::rafraichir()
{
    // The grid is drawn here.
    update();
}
