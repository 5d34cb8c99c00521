#include "parametres.h"

#include "app/contexte.h"
#include "app/langues.h"
#include "lignesetats.h"
#include "store/requetes.h"
#include "store/requetes_parametres.h"
#include "ui/basededonnees.h"
#include "ui/fenetres.h"
#include "ui/habillage.h"
#include "ui/twips.h"
#include "ui/xpcmdbutton.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QWheelEvent>

namespace {

// Twips rectangle to pixels.
QRect px(const QRect& twips)
{
    return Twips::rect(twips.x(), twips.y(), twips.width(), twips.height());
}

void peindre(QWidget* w, const QColor& fond)
{
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, fond);
    w->setPalette(p);
}

QWidget* surface(QWidget* parent, const char* nom, const QRect& twips)
{
    auto* w = new QWidget(parent);
    w->setObjectName(QLatin1String(nom));
    w->setGeometry(px(twips));
    return w;
}

// The hourglass over the whole program while the rows are read.
struct Sablier {
    Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sablier() { QApplication::restoreOverrideCursor(); }
};

constexpr int kHauteurDessinFond = 1695;   // fondcouleurs before any row

} // namespace

parametres::parametres(Contexte* contexte, QWidget* parent)
    : QDialog(parent)
    , m_contexte(contexte)
{
    setObjectName(QStringLiteral("parametres"));
    setModal(true);
    construireFond();

    msg = new QColorDialog(this);
    msg->setObjectName(QStringLiteral("msg"));
    msg->setOption(QColorDialog::DontUseNativeDialog);
    msg->setWindowTitle(QStringLiteral("Couleur de l'état"));

    habiller();
    setWindowTitle(Langues::Traduire(QStringLiteral("Parametres")));
    charger();
}

parametres::~parametres() = default;

void parametres::habiller()
{
    // The panel floats over a dimmed copy of the screen.
    Habillage::HabillerFenetre(dessin, Fond);
    Fenetres::PlacerFenetre(this);
}

void parametres::construireFond()
{
    dessin = surface(this, "dessin", QRect(360, 360, 10095, 7095));
    Fond = surface(this, "Fond", QRect(480, 240, 9615, 6255));
    peindre(Fond, palette().color(QPalette::Window));
    Fond->raise();

    Label1 = new QLabel(QStringLiteral("Paramétres"), Fond);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(px(QRect(480, 120, 6855, 495)));
    QFont titre(QStringLiteral("DejaVu Sans"));
    titre.setPointSizeF(20.25);
    titre.setWeight(QFont::Black);
    Label1->setFont(titre);

    SSTab1 = new QTabWidget(Fond);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setGeometry(px(QRect(120, 1200, 9255, 4575)));
    auto* couleurs = new QWidget;
    auto* objets = new QWidget;
    SSTab1->addTab(couleurs, QStringLiteral("Couleurs"));
    SSTab1->addTab(objets, QStringLiteral("Objets"));
    SSTab1->addTab(new QWidget, QStringLiteral("Tab 2"));
    construireOngletCouleurs(couleurs);

    BaseDeDonnees1 = new BaseDeDonnees(objets);
    BaseDeDonnees1->setObjectName(QStringLiteral("BaseDeDonnees1"));
    BaseDeDonnees1->move(Twips::enPixels(240), Twips::enPixels(240));

    Quitter = new xpcmdbutton(QStringLiteral("Quitter"), Fond);
    Quitter->setObjectName(QStringLiteral("Quitter"));
    Quitter->setGeometry(px(QRect(4920, 5820, 975, 375)));
    connect(Quitter, &xpcmdbutton::Click, this, &QDialog::close);
}

void parametres::construireOngletCouleurs(QWidget* page)
{
    // The tab's own header sits above the page: the rows' box keeps its
    // place measured from the top of the tab control.
    const int entete = SSTab1->tabBar()->sizeHint().height();
    infos = surface(page, "infos", QRect(240, 480, 7050, 3375));
    infos->move(infos->x(), std::max(0, infos->y() - entete));

    Picture1 = surface(infos, "Picture1", QRect(0, 0, 7035, 2895));
    peindre(Picture1, QColor(192, 192, 192));
    Picture1->installEventFilter(this);

    VScroll1 = new QScrollBar(Qt::Vertical, infos);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setGeometry(px(QRect(6720, 0, 255, 2895)));
    VScroll1->raise();

    fondcouleurs = surface(Picture1, "fondcouleurs", QRect(0, 0, 6735, kHauteurDessinFond));
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int v) { fondcouleurs->move(0, -v); });

    // Row 0 is the design row; it shows once a state fills it.
    ajouterLigne();
    fondetats[0]->setText(QStringLiteral("Etats"));
}

void parametres::ajouterLigne()
{
    const int i = int(fondetats.size());

    auto* nom = new QLabel(fondcouleurs);
    nom->setObjectName(QStringLiteral("fondetats"));
    nom->setProperty("Index", i);

    auto* caseInternet = new QCheckBox(fondcouleurs);
    caseInternet->setObjectName(QStringLiteral("internet"));
    caseInternet->setProperty("Index", i);
    caseInternet->setToolTip(QStringLiteral("Publier sur Internet"));
    connect(caseInternet, &QCheckBox::clicked, this, [this, i] { internet_Click(i); });

    auto* pastille = new QWidget(fondcouleurs);
    pastille->setObjectName(QStringLiteral("fondetatcouleurs"));
    pastille->setProperty("Index", i);
    peindre(pastille, couleurDessin());

    auto* bouton = new QPushButton(QStringLiteral("Changer Couleur"), fondcouleurs);
    bouton->setObjectName(QStringLiteral("fondchangercouleurs"));
    bouton->setProperty("Index", i);
    connect(bouton, &QPushButton::clicked, this, [this, i] { fondchangercouleurs_Click(i); });

    fondetats.append(nom);
    internet.append(caseInternet);
    fondetatcouleurs.append(pastille);
    fondchangercouleurs.append(bouton);
    placerLigne(i);
    for (QWidget* w : {static_cast<QWidget*>(nom), static_cast<QWidget*>(caseInternet), pastille,
                       static_cast<QWidget*>(bouton)})
        w->hide();
}

void parametres::placerLigne(int i)
{
    fondetats[i]->setGeometry(px(LignesEtats::PositionLigne(positionEtat0(), i)));
    internet[i]->setGeometry(px(LignesEtats::PositionLigne(positionInternet0(), i)));
    fondetatcouleurs[i]->setGeometry(px(LignesEtats::PositionLigne(positionCouleur0(), i)));
    fondchangercouleurs[i]->setGeometry(px(LignesEtats::PositionLigne(positionBouton0(), i)));
}

void parametres::charger()
{
    Sablier sablier;
    const auto etats = RequetesParametres::etats(m_contexte->BaseOuverte);
    const QList<RequetesParametres::LigneEtat> lignes = etats.value_or(QList<RequetesParametres::LigneEtat>());
    for (int i = 0; i < lignes.size(); ++i) {
        const RequetesParametres::LigneEtat& e = lignes[i];
        if (i >= fondetats.size())
            ajouterLigne();
        fondetats[i]->setText(e.nom);
        fondetats[i]->setToolTip(e.nom);   // a long name is cut in the row
        fondetats[i]->setProperty("Tag", e.code);
        internet[i]->setCheckState(LignesEtats::CaseInternet(e.internet));
        // An unreadable colour leaves the swatch as designed.
        if (const auto c = LignesEtats::CouleurDepuisValeur(e.couleur))
            fixerCouleur(i, *c);
        fondetats[i]->show();
        internet[i]->show();
        fondetatcouleurs[i]->show();
        fondchangercouleurs[i]->show();
    }
    const QRect hauteur = px(QRect(0, 0, 0,
        LignesEtats::HauteurFond(positionEtat0(), int(lignes.size()), kHauteurDessinFond)));
    fondcouleurs->resize(fondcouleurs->width(), hauteur.height());
    ajusterDefilement();
}

void parametres::ajusterDefilement()
{
    const int maxi = std::max(0, fondcouleurs->height() - Picture1->height());
    VScroll1->setRange(0, maxi);
    VScroll1->setPageStep(Picture1->height());
    VScroll1->setSingleStep(Twips::enPixels(positionEtat0().height()));
    VScroll1->setEnabled(maxi > 0);
}

bool parametres::eventFilter(QObject* objet, QEvent* evenement)
{
    // The wheel over the rows scrolls them.
    if (objet == Picture1 && evenement->type() == QEvent::Wheel) {
        QCoreApplication::sendEvent(VScroll1, evenement);
        return true;
    }
    return QDialog::eventFilter(objet, evenement);
}

qint32 parametres::codeLigne(int index) const
{
    return fondetats.value(index) ? fondetats[index]->property("Tag").toInt() : 0;
}

QColor parametres::couleurLigne(int index) const
{
    return fondetatcouleurs.value(index) ? fondetatcouleurs[index]->palette().color(QPalette::Window) : QColor();
}

QString parametres::nomLigne(int index) const
{
    return fondetats.value(index) ? fondetats[index]->text() : QString();
}

void parametres::fixerCouleur(int index, const QColor& couleur)
{
    peindre(fondetatcouleurs[index], couleur);
    fondetatcouleurs[index]->update();
}

void parametres::fondchangercouleurs_Click(int index)
{
    if (index < 0 || index >= fondetats.size() || !fondetats[index]->property("Tag").isValid())
        return;
    const QColor avant = couleurLigne(index);
    msg->setCurrentColor(avant);
    // A cancelled dialog changes nothing.
    if (msg->exec() != QDialog::Accepted || !msg->selectedColor().isValid())
        return;
    const QColor choisie = msg->selectedColor();
    fixerCouleur(index, choisie);

    const qint32 code = codeLigne(index);
    const qint32 valeur = LignesEtats::ValeurDepuisCouleur(choisie);
    QString erreur;
    if (!Requetes::changerCouleurEtat(m_contexte->BaseOuverte, code, valeur, &erreur)) {
        QMessageBox::warning(this, windowTitle(),
            QStringLiteral("La couleur de l'état « %1 » n'a pas pu être enregistrée :\n%2").arg(nomLigne(index), erreur),
            QMessageBox::Ok);
        revenirCouleurStockee(index, avant);
        return;
    }
    mettreAJourTableEtats(code, valeur);
    emit couleurChangee();
}

void parametres::revenirCouleurStockee(int index, const QColor& avant)
{
    const auto stockee = RequetesParametres::couleurEtat(m_contexte->BaseOuverte, codeLigne(index));
    const auto couleur = stockee ? LignesEtats::CouleurDepuisValeur(*stockee) : std::nullopt;
    fixerCouleur(index, couleur.value_or(avant));
}

void parametres::mettreAJourTableEtats(qint32 code, qint32 valeur)
{
    for (EntreeEtat& e : m_contexte->TableEtats) {
        if (e.code == code)
            e.couleur = valeur;
    }
}

void parametres::internet_Click(int index)
{
    if (index < 0 || index >= internet.size() || !fondetats[index]->property("Tag").isValid())
        return;
    QCheckBox* caseInternet = internet[index];
    // A greyed box becomes ticked on its first click, then toggles.
    caseInternet->setTristate(false);
    const bool publie = caseInternet->checkState() == Qt::Checked;
    QString erreur;
    if (!RequetesParametres::changerPublicationEtat(m_contexte->BaseOuverte, codeLigne(index), publie, &erreur)) {
        QMessageBox::warning(this, windowTitle(),
            QStringLiteral("La publication de l'état « %1 » n'a pas pu être enregistrée :\n%2").arg(nomLigne(index), erreur),
            QMessageBox::Ok);
        revenirPublicationStockee(index, publie);
    }
}

void parametres::revenirPublicationStockee(int index, bool publieDemande)
{
    const QSignalBlocker bloque(internet[index]);
    const auto stockee = RequetesParametres::internetEtat(m_contexte->BaseOuverte, codeLigne(index));
    internet[index]->setCheckState(stockee ? LignesEtats::CaseInternet(*stockee)
                                           : (publieDemande ? Qt::Unchecked : Qt::Checked));
}
