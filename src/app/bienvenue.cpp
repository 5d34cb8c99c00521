#include "bienvenue.h"

#include "accueil.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The guillemets hold to their words with no-break spaces, so that a line
// never ends on "«".
QLabel* etape(QGridLayout* grille, int rang, const QString& texte, const char* nom)
{
    auto* numero = new QLabel(QString::number(rang + 1));
    numero->setAlignment(Qt::AlignCenter);
    numero->setFixedSize(28, 28);
    numero->setStyleSheet(QStringLiteral("background: rgb(38, 84, 124); color: white;"
                                         " border-radius: 14px; font-weight: bold;"));
    auto* libelle = new QLabel(texte);
    libelle->setObjectName(QLatin1String(nom));
    libelle->setWordWrap(true);
    grille->addWidget(numero, rang, 0, Qt::AlignTop);
    grille->addWidget(libelle, rang, 1);
    return libelle;
}

} // namespace

Bienvenue::Bienvenue(const QString& cheminINI, QWidget* parent)
    : QDialog(parent), m_cheminINI(cheminINI)
{
    setObjectName(QStringLiteral("Bienvenue"));
    setWindowTitle(QStringLiteral("Bienvenue dans Orvane Planning"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* titre = new QLabel(QStringLiteral("Bienvenue dans Orvane Planning"));
    QFont grand = titre->font();
    grand.setPointSizeF(grand.pointSizeF() * 1.4);
    grand.setBold(true);
    titre->setFont(grand);
    auto* intro = new QLabel(QStringLiteral("Le planning est vide. Trois étapes suffisent pour commencer :"));
    intro->setWordWrap(true);

    auto* grille = new QGridLayout;
    grille->setHorizontalSpacing(12);
    grille->setVerticalSpacing(10);
    grille->setColumnStretch(1, 1);
    etape1 = etape(grille, 0, QString::fromUtf8(
        "Créez vos logements : « Outils » → « Paramètres », onglet « Objets » "
        "(chambres, emplacements, chalets), chacun avec sa catégorie."), "etape1");
    etape2 = etape(grille, 1, QString::fromUtf8(
        "Dans la même fenêtre : les prix par catégorie et par saison (onglet « Tarifs »), "
        "vos coordonnées et la taxe de séjour (onglet « Établissement »), les articles du bar "
        "(onglet « Bar »). Trois états sont déjà prêts (Confirmé, Option, Fermé) : "
        "l'onglet « Couleurs » en ajoute d'autres."), "etape2");
    etape3 = etape(grille, 2, QString::fromUtf8(
        "De retour au calendrier, le bouton « + » ouvre votre première réservation."), "etape3");

    nePlusAfficher = new QCheckBox(QStringLiteral("Ne plus afficher"));
    nePlusAfficher->setObjectName(QStringLiteral("nePlusAfficher"));
    commencer = new QPushButton(QStringLiteral("Commencer"));
    commencer->setObjectName(QStringLiteral("commencer"));
    commencer->setDefault(true);
    connect(commencer, &QPushButton::clicked, this, &QDialog::accept);

    auto* bas = new QHBoxLayout;
    bas->addWidget(nePlusAfficher);
    bas->addStretch();
    bas->addWidget(commencer);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(20, 18, 20, 14);
    page->setSpacing(12);
    page->addWidget(titre);
    page->addWidget(intro);
    page->addLayout(grille);
    page->addSpacing(6);
    page->addLayout(bas);
    setMinimumWidth(520);
}

void Bienvenue::done(int resultat)
{
    // Closed by "Commencer", Escape or the title bar alike: the box counts.
    Accueil::NePlusAfficher(m_cheminINI, nePlusAfficher->isChecked());
    QDialog::done(resultat);
}
