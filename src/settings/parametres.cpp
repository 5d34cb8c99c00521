#include "parametres.h"

#include "store/contexte.h"
#include "config/langues.h"
#include "editeurtable.h"
#include "etatssejour.h"
#include "lignesetats.h"
#include "modelearticles.h"
#include "modeleobjets.h"
#include "ongletetablissement.h"
#include "onglettarifs.h"
#include "store/requetes.h"
#include "store/requetes_editeurs.h"
#include "store/requetes_parametres.h"
#include "store/requetes_statistiques.h"
#include "ui/basededonnees.h"
#include "ui/fenetres.h"
#include "ui/habillage.h"
#include "ui/twips.h"
#include "ui/xpcmdbutton.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
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
    setWindowTitle(Langues::Traduire(QStringLiteral("Parametres"), QStringLiteral("Paramètres")));
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

    Label1 = new QLabel(QStringLiteral("Paramètres"), Fond);
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
    SSTab1->addTab(couleurs, QStringLiteral("Couleurs"));
    SSTab1->addTab(construireOngletObjets(), QStringLiteral("Objets"));
    SSTab1->addTab(construireOngletBar(), QStringLiteral("Bar"));
    onglettarifs = new OngletTarifs(m_contexte);
    onglettarifs->setObjectName(QStringLiteral("onglettarifs"));
    SSTab1->addTab(onglettarifs, QStringLiteral("Tarifs"));
    ongletetablissement = new OngletEtablissement(m_contexte);
    ongletetablissement->setObjectName(QStringLiteral("ongletetablissement"));
    SSTab1->addTab(ongletetablissement, QStringLiteral("Établissement"));
    // The message waits until the edit that caused it is over.
    connect(onglettarifs, &OngletTarifs::refus, this, &parametres::montrerRefus, Qt::QueuedConnection);
    connect(ongletetablissement, &OngletEtablissement::refus, this, &parametres::montrerRefus, Qt::QueuedConnection);
    construireOngletCouleurs(couleurs);

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
    const QPoint remontee(0, infos->y() - Twips::enPixels(480));

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

    ajouteretat = new QPushButton(QStringLiteral("Ajouter un état"), page);
    ajouteretat->setObjectName(QStringLiteral("ajouteretat"));
    ajouteretat->setGeometry(px(positionAjouterEtat()).translated(remontee));
    connect(ajouteretat, &QPushButton::clicked, this, &parametres::ajouteretat_Click);

    supprimeretat = new QPushButton(QStringLiteral("Supprimer"), page);
    supprimeretat->setObjectName(QStringLiteral("supprimeretat"));
    supprimeretat->setGeometry(px(positionSupprimerEtat()).translated(remontee));
    supprimeretat->setToolTip(QStringLiteral("Supprimer l'état dont le nom a été choisi"));
    supprimeretat->setEnabled(false);
    connect(supprimeretat, &QPushButton::clicked, this, &parametres::supprimeretat_Click);

    etatssejour = new EtatsSejour(m_contexte, page);
    etatssejour->setGeometry(px(QRect(7410, 1500, 1695, 1500)).translated(remontee));
    // A state added, renamed or removed shows in the two boxes.
    connect(this, &parametres::couleurChangee, etatssejour, &EtatsSejour::charger);
}

EditeurTable* parametres::construireOngletObjets()
{
    modeleobjets = new ModeleObjets(m_contexte->BaseOuverte, this);
    BaseDeDonnees1 = new BaseDeDonnees;
    BaseDeDonnees1->setObjectName(QStringLiteral("BaseDeDonnees1"));
    BaseDeDonnees1->setFixedSize(BaseDeDonnees1->size());

    auto* page = new EditeurTable(modeleobjets, ModeleObjets::Nom,
                                  QStringLiteral("Supprimer le logement « %1 » ?"), BaseDeDonnees1);
    page->ajout = [this] { return modeleobjets->ajouter(); };
    tableobjets = page->vue;
    tableobjets->setObjectName(QStringLiteral("tableobjets"));
    tableobjets->setColumnWidth(ModeleObjets::Numero, 55);
    tableobjets->setColumnWidth(ModeleObjets::Nom, 105);
    tableobjets->setColumnWidth(ModeleObjets::Categorie, 90);
    tableobjets->setColumnWidth(ModeleObjets::NomInternet, 110);
    tableobjets->setColumnWidth(ModeleObjets::CalendriersExternes, 240);
    // The unit's number and name stay in sight while the table scrolls
    // sideways to its feeds.
    page->figerColonnes(ModeleObjets::Nom + 1);
    ajouterobjet = page->ajouter;
    ajouterobjet->setObjectName(QStringLiteral("ajouterobjet"));
    supprimerobjet = page->supprimer;
    supprimerobjet->setObjectName(QStringLiteral("supprimerobjet"));

    // The message waits until the edit that caused it is over.
    connect(modeleobjets, &ModeleObjets::refus, this, &parametres::montrerRefus, Qt::QueuedConnection);
    connect(modeleobjets, &ModeleObjets::donneesChangees, this, &parametres::couleurChangee);
    return page;
}

EditeurTable* parametres::construireOngletBar()
{
    modelearticles = new ModeleArticles(m_contexte->BaseOuverte, this);
    auto* page = new EditeurTable(modelearticles, ModeleArticles::Libelle,
                                  QStringLiteral("Supprimer l'article « %1 » ?"));
    // A new article joins the family of the chosen one.
    page->ajout = [this, page] {
        return modelearticles->ajouter(modelearticles->ligne(page->ligneChoisie()).article.famille);
    };
    tablearticles = page->vue;
    tablearticles->setObjectName(QStringLiteral("tablearticles"));
    tablearticles->setColumnWidth(ModeleArticles::Famille, 130);
    // The label takes what the price and the rate leave.
    QHeaderView* entete = tablearticles->horizontalHeader();
    entete->setStretchLastSection(false);
    entete->setSectionResizeMode(ModeleArticles::Libelle, QHeaderView::Stretch);
    entete->setSectionResizeMode(ModeleArticles::prixTTC, QHeaderView::ResizeToContents);
    entete->setSectionResizeMode(ModeleArticles::tauxTVA, QHeaderView::ResizeToContents);
    ajouterarticle = page->ajouter;
    ajouterarticle->setObjectName(QStringLiteral("ajouterarticle"));
    supprimerarticle = page->supprimer;
    supprimerarticle->setObjectName(QStringLiteral("supprimerarticle"));

    connect(modelearticles, &ModeleArticles::refus, this, &parametres::montrerRefus, Qt::QueuedConnection);
    return page;
}

void parametres::montrerRefus(const QString& message)
{
    QMessageBox::warning(this, windowTitle(), message, QMessageBox::Ok);
}

void parametres::ajouterLigne()
{
    const int i = int(fondetats.size());

    // The name reads as a label and is edited in place.
    auto* nom = new QLineEdit(fondcouleurs);
    nom->setObjectName(QStringLiteral("fondetats"));
    nom->setProperty("Index", i);
    nom->setFrame(false);
    nom->setTextMargins(0, 0, 0, 0);
    nom->installEventFilter(this);
    connect(nom, &QLineEdit::editingFinished, this, [this, i] { fondetats_Change(i); });

    auto* caseInternet = new QCheckBox(fondcouleurs);
    caseInternet->setObjectName(QStringLiteral("internet"));
    caseInternet->setProperty("Index", i);
    caseInternet->setToolTip(QStringLiteral("Publier sur Internet"));
    connect(caseInternet, &QCheckBox::clicked, this, [this, i] { internet_Click(i); });

    auto* caseVendu = new QCheckBox(fondcouleurs);
    caseVendu->setObjectName(QStringLiteral("vendu"));
    caseVendu->setProperty("Index", i);
    caseVendu->setToolTip(QStringLiteral("Vendu : ses nuits comptent dans les statistiques"));
    connect(caseVendu, &QCheckBox::clicked, this, [this, i] { vendu_Click(i); });

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
    vendu.append(caseVendu);
    fondetatcouleurs.append(pastille);
    fondchangercouleurs.append(bouton);
    placerLigne(i);
    for (QWidget* w : ligne(i))
        w->hide();
}

QList<QWidget*> parametres::ligne(int i) const
{
    return {fondetats[i], internet[i], fondetatcouleurs[i], fondchangercouleurs[i], vendu[i]};
}

void parametres::placerLigne(int i)
{
    fondetats[i]->setGeometry(px(LignesEtats::PositionLigne(positionEtat0(), i)));
    internet[i]->setGeometry(px(LignesEtats::PositionLigne(positionInternet0(), i)));
    // Over the end of the name, which a long name's tooltip shows whole.
    vendu[i]->setGeometry(px(LignesEtats::PositionLigne(positionVendu0(), i)));
    vendu[i]->raise();
    fondetatcouleurs[i]->setGeometry(px(LignesEtats::PositionLigne(positionCouleur0(), i)));
    fondchangercouleurs[i]->setGeometry(px(LignesEtats::PositionLigne(positionBouton0(), i)));
}

void parametres::charger()
{
    Sablier sablier;
    chargerEtats();
    etatssejour->charger();
    // Unreadable tables leave their editor empty, as unreadable states do.
    modeleobjets->charger();
    modelearticles->charger();
    onglettarifs->charger();
    ongletetablissement->charger();
}

void parametres::chargerEtats()
{
    const auto etats = RequetesParametres::etats(m_contexte->BaseOuverte);
    const QList<RequetesParametres::LigneEtat> lignes = etats.value_or(QList<RequetesParametres::LigneEtat>());
    for (int i = 0; i < lignes.size(); ++i) {
        const RequetesParametres::LigneEtat& e = lignes[i];
        if (i >= fondetats.size())
            ajouterLigne();
        fondetats[i]->setText(e.nom);
        fondetats[i]->setCursorPosition(0);
        fondetats[i]->setToolTip(e.nom);   // a long name is cut in the row
        fondetats[i]->setProperty("Tag", e.code);
        fondetats[i]->setProperty("Nom", e.nom);
        internet[i]->setTristate(false);
        internet[i]->setCheckState(LignesEtats::CaseInternet(e.internet));
        vendu[i]->setChecked(e.vendu);
        // An unreadable colour leaves the swatch as designed.
        fixerCouleur(i, LignesEtats::CouleurDepuisValeur(e.couleur).value_or(couleurDessin()));
        for (QWidget* w : ligne(i))
            w->show();
    }
    // Rows left over from a removed state are emptied and hidden.
    for (int i = int(lignes.size()); i < fondetats.size(); ++i) {
        fondetats[i]->setProperty("Tag", QVariant());
        for (QWidget* w : ligne(i))
            w->hide();
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
    // Entering a state's name, by the keyboard or the mouse, chooses that state.
    const bool entree = evenement->type() == QEvent::FocusIn || evenement->type() == QEvent::MouseButtonPress;
    if (entree && objet->objectName() == QLatin1String("fondetats"))
        choisirEtat(objet->property("Index").toInt());
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

void parametres::choisirEtat(int index)
{
    m_etatChoisi = (index >= 0 && index < fondetats.size() && fondetats[index]->property("Tag").isValid()) ? index : -1;
    // The chosen name shows its field; the others read as labels.
    for (int i = 0; i < fondetats.size(); ++i) {
        QPalette p = fondetats[i]->palette();
        p.setColor(QPalette::Base, i == m_etatChoisi ? QColor(Qt::white) : QColor(Qt::transparent));
        fondetats[i]->setPalette(p);
    }
    supprimeretat->setEnabled(m_etatChoisi >= 0);
}

void parametres::recharger(std::optional<qint32> codeAChoisir)
{
    chargerEtats();
    m_contexte->TableEtats = Contexte::ChargerEtats(m_contexte->BaseOuverte);
    int ligneAChoisir = -1;
    for (int i = 0; codeAChoisir && i < fondetats.size(); ++i)
        if (fondetats[i]->property("Tag").isValid() && codeLigne(i) == *codeAChoisir)
            ligneAChoisir = i;
    choisirEtat(ligneAChoisir);
    if (m_etatChoisi >= 0) {
        // Bring the chosen row into sight.
        const QRect r = fondetats[m_etatChoisi]->geometry();
        if (r.bottom() >= VScroll1->value() + Picture1->height())
            VScroll1->setValue(r.bottom() + 1 - Picture1->height());
        else if (r.top() < VScroll1->value())
            VScroll1->setValue(r.top());
    }
    emit couleurChangee();
}

void parametres::fondetats_Change(int index)
{
    if (index < 0 || index >= fondetats.size() || !fondetats[index]->property("Tag").isValid())
        return;
    QLineEdit* nom = fondetats[index];
    const QString avant = nom->property("Nom").toString();
    if (nom->text() == avant)
        return;
    QString erreur;
    if (!RequetesEditeurs::renommerEtat(m_contexte->BaseOuverte, codeLigne(index), nom->text(), &erreur)) {
        // The stored name comes back before the message, so that leaving the
        // field for the message box stores nothing more.
        nom->setText(avant);
        QMetaObject::invokeMethod(this, [this, erreur] {
            montrerRefus(QStringLiteral("Le nom de l'état n'est pas changé.\n%1").arg(erreur));
        }, Qt::QueuedConnection);
        return;
    }
    const QString nouveau = nom->text().trimmed();
    nom->setText(nouveau);
    nom->setProperty("Nom", nouveau);
    nom->setToolTip(nouveau);
    m_contexte->TableEtats = Contexte::ChargerEtats(m_contexte->BaseOuverte);
    emit couleurChangee();
}

void parametres::ajouteretat_Click()
{
    QInputDialog demande(this);
    demande.setObjectName(QStringLiteral("nometat"));
    demande.setWindowTitle(windowTitle());
    demande.setLabelText(QStringLiteral("Nom du nouvel état :"));
    demande.setOkButtonText(QStringLiteral("OK"));
    demande.setCancelButtonText(QStringLiteral("Annuler"));
    if (demande.exec() != QDialog::Accepted)
        return;
    const QString nom = demande.textValue().trimmed();
    if (nom.isEmpty()) {
        montrerRefus(QStringLiteral("Le nom de l'état ne peut pas être vide."));
        return;
    }
    msg->setCurrentColor(couleurDessin());
    if (msg->exec() != QDialog::Accepted || !msg->selectedColor().isValid())
        return;
    QString erreur;
    const auto code = RequetesEditeurs::ajouterEtat(m_contexte->BaseOuverte, nom,
        LignesEtats::ValeurDepuisCouleur(msg->selectedColor()), &erreur);
    if (!code) {
        montrerRefus(QStringLiteral("L'état « %1 » n'a pas pu être ajouté.\n%2").arg(nom, erreur));
        return;
    }
    recharger(*code);
}

void parametres::supprimeretat_Click()
{
    const int index = m_etatChoisi;
    if (index < 0)
        return;
    const QString nom = nomLigne(index);
    if (!Fenetres::DemanderOuiNon(this, windowTitle(), QStringLiteral("Supprimer l'état « ") + nom + QStringLiteral(" » ?")))
        return;
    QString erreur;
    if (!RequetesEditeurs::supprimerEtat(m_contexte->BaseOuverte, codeLigne(index), &erreur)) {
        montrerRefus(QStringLiteral("L'état « %1 » n'est pas supprimé.\n%2").arg(nom, erreur));
        return;
    }
    recharger(std::nullopt);
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

void parametres::vendu_Click(int index)
{
    if (index < 0 || index >= vendu.size() || !fondetats[index]->property("Tag").isValid())
        return;
    const bool oui = vendu[index]->isChecked();
    QString erreur;
    if (!RequetesStatistiques::changerVendu(m_contexte->BaseOuverte, codeLigne(index), oui, &erreur)) {
        QMessageBox::warning(this, windowTitle(),
            QStringLiteral("Le choix « Vendu » de l'état « %1 » n'a pas pu être enregistré :\n%2").arg(nomLigne(index), erreur),
            QMessageBox::Ok);
        const QSignalBlocker bloque(vendu[index]);
        vendu[index]->setChecked(!oui);
    }
}

void parametres::revenirPublicationStockee(int index, bool publieDemande)
{
    const QSignalBlocker bloque(internet[index]);
    const auto stockee = RequetesParametres::internetEtat(m_contexte->BaseOuverte, codeLigne(index));
    internet[index]->setCheckState(stockee ? LignesEtats::CaseInternet(*stockee)
                                           : (publieDemande ? Qt::Unchecked : Qt::Checked));
}
