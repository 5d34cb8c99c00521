#include "reservations.h"

#include "store/contexte.h"
#include "config/ini32.h"
#include "config/langues.h"
#include "facturation/etablissement.h"
#include "bar/ticketdecaisse.h"
#include "facturation/etablissement.h"
#include "reservation/compte.h"
#include "reservation/ongletfacturation.h"
#include "reservation/saisie.h"
#include "reservation/solde.h"
#include "reservation/zonetexte.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "ui/habillage.h"
#include "ui/twips.h"
#include "ui/xpcmdbutton.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Design size of the window's client area, in twips.
constexpr int kLargeur = 10215;
constexpr int kHauteur = 7335;

// Height of the tab strip of `infos`: the controls of a tab are designed from
// the top of the whole tabbed box.
constexpr int kBandeauOnglets = 360;

// The balance's font size, as designed; a long amount is shown smaller.
constexpr double kTailleSolde = 9.75;

constexpr int kOngletFacturation = 3;

template <typename T>
T* creer(QWidget* parent, const char* nom, const QRect& place)
{
    T* w = new T(parent);
    w->setObjectName(QLatin1String(nom));
    w->setGeometry(place);
    return w;
}

QLabel* etiquette(QWidget* parent, const char* nom, const QString& texte, const QRect& place)
{
    QLabel* l = creer<QLabel>(parent, nom, place);
    l->setText(texte);
    return l;
}

QLineEdit* caseTexte(QWidget* parent, const char* nom, const QRect& place, bool aDroite = false)
{
    QLineEdit* e = creer<QLineEdit>(parent, nom, place);
    if (aDroite)
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return e;
}

xpcmdbutton* bouton(QWidget* parent, const char* nom, const QString& legende, const QRect& place)
{
    xpcmdbutton* b = creer<xpcmdbutton>(parent, nom, place);
    b->setCaption(legende);
    return b;
}

QFrame* ligne(QWidget* parent, const char* nom, int x1, int y, int x2)
{
    QFrame* f = creer<QFrame>(parent, nom, Twips::rect(x1, y, x2 - x1, 15));
    f->setFrameShape(QFrame::HLine);
    f->setFrameShadow(QFrame::Plain);
    f->setFixedHeight(1);
    return f;
}

QString fr(const char* texte)
{
    return QString::fromUtf8(texte);
}

} // namespace

reservations::reservations(Contexte* contexte, QWidget* parent)
    : QWidget(parent, Qt::Window), m_contexte(contexte)
{
    questionChevauchement = [this](const QString& question) { return demanderOuiNon(question); };
    sortiesContrat = EnvoiContrat::SortiesParDefaut(this);
    questionConflit = [this](const QString& texte) {
        QMessageBox boite(QMessageBox::Warning, windowTitle(), texte, QMessageBox::NoButton, this);
        QPushButton* recharger = boite.addButton(QStringLiteral("Recharger"), QMessageBox::AcceptRole);
        QPushButton* annuler = boite.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
        boite.setDefaultButton(recharger);
        boite.setEscapeButton(annuler);
        boite.exec();
        return boite.clickedButton() == recharger;
    };
    demanderFrais = [this](double prix) {
        return DialoguesAnnulation::DemanderFrais(
            this, windowTitle(),
            Etablissement::FraisAnnulation(m_contexte ? m_contexte->CheminINI : QString()), prix);
    };
    demanderRemboursement = [this](double du) {
        return DialoguesAnnulation::DemanderRemboursement(this, windowTitle(), du);
    };
    construire();
    Charger();
}

void reservations::construire()
{
    setObjectName(QStringLiteral("reservations"));
    resize(Twips::rect(0, 0, kLargeur, kHauteur).size());

    dessin = creer<QWidget>(this, "dessin", Twips::rect(0, 0, kLargeur, kHauteur));
    Fond = Habillage::CreerFond(this, Twips::rect(120, 360, 9615, 6735));
    QWidget* f = Fond;

    titrelibelle = etiquette(f, "titrelibelle", fr("Réservation"), Twips::rect(120, 0, 3135, 615));
    QFont titre;
    titre.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("DejaVu Sans")});
    titre.setPointSizeF(21.75);
    titre.setWeight(QFont::Black);
    titrelibelle->setFont(titre);
    numreservation = etiquette(f, "numreservation", fr("Numéro de réservation"), Twips::rect(120, 480, 855, 255));

    Objets = creer<QComboBox>(f, "Objets", Twips::rect(3240, 240, 2895, 315));
    etat = creer<QComboBox>(f, "etat", Twips::rect(4080, 600, 2055, 315));
    for (QComboBox* liste : {Objets, etat}) {
        liste->setEditable(true);
        liste->setInsertPolicy(QComboBox::NoInsert);
    }

    Line2 = ligne(f, "Line2", 120, 720, 2520);
    Label4 = etiquette(f, "Label4", fr("Heure de début :"), Twips::rect(2520, 720, 1455, 255));
    Label3 = etiquette(f, "Label3", fr("Date de début :"), Twips::rect(120, 960, 1215, 255));
    datedebut = caseTexte(f, "datedebut", Twips::rect(1440, 960, 1575, 285));
    heuredebut = caseTexte(f, "heuredebut", Twips::rect(3120, 960, 855, 285));
    Label5 = etiquette(f, "Label5", fr("Date de fin :"), Twips::rect(120, 1320, 1215, 255));
    datefin = caseTexte(f, "datefin", Twips::rect(1440, 1320, 1575, 285));
    heurefin = caseTexte(f, "heurefin", Twips::rect(3120, 1320, 855, 285));
    Label9 = etiquette(f, "Label9", fr("Nb nuits : "), Twips::rect(4080, 960, 735, 255));
    Nbjour = etiquette(f, "Nbjour", QStringLiteral("0"), Twips::rect(4800, 960, 615, 255));
    Label6 = etiquette(f, "Label6", fr("Nb adultes : "), Twips::rect(4080, 1200, 975, 255));
    nbadultes = caseTexte(f, "nbadultes", Twips::rect(5160, 1200, 855, 285), true);
    Label8 = etiquette(f, "Label8", fr("Nb enfants :"), Twips::rect(4080, 1560, 975, 255));
    nbenfants = caseTexte(f, "nbenfants", Twips::rect(5160, 1560, 855, 285), true);
    Line1 = ligne(f, "Line1", 360, 1680, 3960);

    Label2 = etiquette(f, "Label2", fr("Client"), Twips::rect(120, 1800, 495, 255));
    NomClient = creer<ZoneTexte>(f, "NomClient", Twips::rect(720, 1800, 3255, 765));
    Label11 = etiquette(f, "Label11", fr("Tél."), Twips::rect(3960, 1950, 345, 255));
    telephone = caseTexte(f, "telephone", Twips::rect(4320, 1920, 1815, 285));
    Label12 = etiquette(f, "Label12", fr("Mail"), Twips::rect(3960, 2310, 345, 255));
    Email = caseTexte(f, "Email", Twips::rect(4320, 2280, 1815, 285));

    infos = creer<QTabWidget>(f, "infos", Twips::rect(120, 2640, 5895, 2775));
    construireOnglets();

    Label10 = etiquette(f, "Label10", fr("Remarque"), Twips::rect(120, 5400, 1095, 255));
    AnnulerReservation = bouton(f, "AnnulerReservation", fr("Annuler la réservation"), Twips::rect(3960, 5415, 2175, 225));
    remarque = creer<ZoneTexte>(f, "remarque", Twips::rect(120, 5640, 6015, 975));

    Ticket = creer<TicketDeCaisse>(f, "Ticket", Twips::rect(6240, 240, 3135, 5415));
    BoutonBAR = bouton(f, "BoutonBAR", fr("Conso"), Twips::rect(6240, 5640, 855, 375));
    du = etiquette(f, "du", QStringLiteral("0.00"), Twips::rect(7200, 5760, 1215, 255));
    du->setAutoFillBackground(true);
    du->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette couleursDu = du->palette();
    couleursDu.setColor(QPalette::Window, Qt::black);
    couleursDu.setColor(QPalette::WindowText, QColor(0, 255, 0));
    du->setPalette(couleursDu);
    QFont policeDu;
    policeDu.setFamilies({QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    policeDu.setPointSizeF(kTailleSolde);
    policeDu.setBold(true);
    du->setFont(policeDu);
    Encaisser = bouton(f, "Encaisser", fr("Encaisser"), Twips::rect(8520, 5640, 855, 375));

    Picture1 = creer<QWidget>(f, "Picture1", Twips::rect(6240, 6120, 3135, 495));
    Picture1->setAutoFillBackground(true);
    QPalette gris = Picture1->palette();
    gris.setColor(QPalette::Window, QColor(192, 192, 192));
    Picture1->setPalette(gris);
    Annuler = bouton(Picture1, "Annuler", fr("Revenir"), Twips::rect(120, 60, 855, 375));
    supprimer = bouton(Picture1, "supprimer", fr("&Supprimer"), Twips::rect(1200, 60, 855, 375));
    ajouter = bouton(Picture1, "ajouter", fr("&Ajouter"), Twips::rect(2160, 60, 855, 375));
    Modifier = bouton(Picture1, "Modifier", fr("Modifier"), Twips::rect(2160, 60, 855, 375));
    xpcmdbutton1 = bouton(f, "xpcmdbutton1", QStringLiteral("X"), Twips::rect(9180, 0, 375, 255));

    connect(ajouter, &xpcmdbutton::Click, this, [this] { ajouter_Click(); });
    connect(Modifier, &xpcmdbutton::Click, this, [this] { Modifier_Click(); });
    connect(supprimer, &xpcmdbutton::Click, this, [this] { supprimer_Click(); });
    connect(Annuler, &xpcmdbutton::Click, this, [this] { Annuler_Click(); });
    connect(xpcmdbutton1, &xpcmdbutton::Click, this, [this] { Annuler_Click(); });
    connect(BoutonBAR, &xpcmdbutton::Click, this, [this] { BoutonBAR_Click(); });
    connect(Encaisser, &xpcmdbutton::Click, this, [this] { Encaisser_Click(); });
    connect(AnnulerReservation, &xpcmdbutton::Click, this, [this] {
        if (m_annulee)
            Rembourser_Click();
        else
            AnnulerReservation_Click();
    });
    connect(infos, &QTabWidget::currentChanged, this, [this](int onglet) { infos_Click(onglet); });
    // Escape leaves as "Revenir" does, from any box of the window.
    auto* echap = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    echap->setContext(Qt::WindowShortcut);
    connect(echap, &QShortcut::activated, this, [this] { Annuler_Click(); });

    // The nights count follows the dates when the user leaves a date box.
    datedebut->installEventFilter(this);
    datefin->installEventFilter(this);
}

void reservations::construireOnglets()
{
    static const char* const kLegendes[] = {"Réservation", "Confirm", "Arrivée", "Fact.",
                                            "Client", "Conso", "Prest.", "Histo."};
    // Eight tabs share the width of the box, as on a one-row tab strip.
    infos->setUsesScrollButtons(false);
    infos->tabBar()->setExpanding(true);
    infos->setStyleSheet(QStringLiteral(
        "QTabWidget::pane { border: 1px solid #a0a0a0; top: -1px; }"
        "QTabBar::tab { padding: 3px 2px; border: 1px solid #a0a0a0; border-bottom: none;"
        " background: #e4e4e4; margin-right: -1px; }"
        "QTabBar::tab:selected { background: palette(window); font-weight: bold; }"
        "QTabBar::tab:disabled { color: #a0a0a0; }"));
    QList<QWidget*> pages;
    for (const char* legende : kLegendes) {
        QWidget* page = new QWidget;
        pages << page;
        infos->addTab(page, fr(legende));
    }
    // Positions inside a tab are designed from the top of the tabbed box.
    auto dans = [](int x, int y, int l, int h) { return Twips::rect(x, y - kBandeauOnglets, l, h); };

    QWidget* p = pages.at(0);
    Label7 = etiquette(p, "Label7", fr("arrhes : "), dans(120, 600, 735, 255));
    arrhes = caseTexte(p, "arrhes", dans(960, 600, 1095, 285), true);
    arrhes->setToolTip(fr("Un montant (45,00) ou une part du prix du séjour (30 %), calculée à l'enregistrement"));
    Label1 = etiquette(p, "Label1", fr("Date Attendue : "), dans(2280, 600, 1455, 255));
    datelimite = caseTexte(p, "datelimite", dans(3840, 600, 1335, 285), true);
    const struct {
        const char* legende;
        QRect place;
    } contrats[] = {
        {"Imprimer le Contrat", dans(240, 1200, 1815, 375)},
        {"Email Contrat", dans(240, 1680, 1815, 375)},
        {"Poste", dans(240, 2160, 735, 375)},
        {"Fax", dans(1320, 2160, 735, 375)},
    };
    for (int i = 0; i < 4; ++i) {
        xpcmdbutton* b = bouton(p, "ImprimerContrat", fr(contrats[i].legende), contrats[i].place);
        b->setIndex(i);
        connect(b, &xpcmdbutton::Click, this, [this](int index) { ImprimerContrat_Click(index); });
        ImprimerContrat << b;
    }
    Confirmation = bouton(p, "Confirmation", fr("Confirmation Réservation"), dans(3000, 2280, 2655, 375));
    connect(Confirmation, &xpcmdbutton::Click, this, [this] { Confirmation_Click(); });

    ongletfacturation = new OngletFacturation(m_contexte, pages.at(3));
    auto* disposition = new QVBoxLayout(pages.at(3));
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->addWidget(ongletfacturation);
    connect(ongletfacturation, &OngletFacturation::compteModifie, this, [this] {
        AfficherLeTicket();
        if (const auto numero = Compte::NumeroAffiche(numreservation->text()))
            Q_EMIT compteModifie(*numero);
    });

    ticketconso = creer<TicketDeCaisse>(pages.at(5), "ticketconso", dans(0, 480, 5415, 2055));
    tickethisto = creer<TicketDeCaisse>(pages.at(7), "tickethisto", dans(0, 480, 5415, 2055));
}

void reservations::Charger()
{
    Ticket->init();
    ticketconso->init();
    tickethisto->init();

    const QString titre = Langues::Traduire(fr("Réservation"));
    setWindowTitle(titre);
    titrelibelle->setText(titre);
    titrelibelle->setPalette(QPalette());
    titrelibelle->setToolTip(QString());
    Label2->setText(Langues::Traduire(fr("Client")));
    Label7->setText(Langues::Traduire(fr("arrhes")));
    Label3->setText(Langues::Traduire(fr("Date Arrivée")));
    Label4->setText(Langues::Traduire(fr("heure")));
    Label5->setText(Langues::Traduire(fr("Date Départ")));

    infos->setCurrentIndex(0);
    for (int onglet = 0; onglet < infos->count(); ++onglet)
        infos->setTabEnabled(onglet, onglet < 1 || onglet > 3);
    ongletfacturation->afficher(0);

    Objets->clear();
    if (m_contexte) {
        if (const auto objets = Requetes::objets(m_contexte->BaseOuverte))
            Objets->addItems(Saisie::EntreesObjets(*objets));
    }
    Objets->setCurrentIndex(Objets->count() > 0 ? 0 : -1);
    etat->clear();
    if (m_contexte) {
        for (const EntreeEtat& e : m_contexte->TableEtats)
            etat->addItem(e.libelle, e.code);
    }
    etat->setCurrentIndex(etat->count() > 0 ? 0 : -1);

    // The initial texts of every box.
    numreservation->setText(fr("Numéro de réservation"));
    for (QLineEdit* e : {datedebut, heuredebut, datefin, heurefin, datelimite, telephone, Email})
        e->clear();
    NomClient->clear();
    remarque->clear();
    nbadultes->setText(QStringLiteral("1"));
    nbenfants->setText(QStringLiteral("0"));
    arrhes->setText(QStringLiteral("0"));
    Nbjour->setText(QStringLiteral("0"));
    afficherSolde(0, QStringLiteral("0.00"));
    m_charge.reset();

    // Commands: the opening decides which may run.
    for (xpcmdbutton* b : {supprimer, Modifier, ajouter, Encaisser, Confirmation, AnnulerReservation})
        b->setEnabled(false);
    m_annulee = false;
    AnnulerReservation->setCaption(fr("Annuler la réservation"));
    modifiable(true);
    Modifier->show();
    ajouter->hide();
    Confirmation->show();
    BoutonBAR->setEnabled(true);
    for (xpcmdbutton* b : ImprimerContrat)
        b->setEnabled(true);
    setWindowModality(Qt::NonModal);
}

void reservations::Fonction_Ajouter()
{
    rechargerSiFermee();
    numreservation->setText(fr("nouveau"));
    ajouter->setEnabled(true);
    ajouter->show();
    ajouter->raise();
    Modifier->hide();
    NomClient->clear();
    // There is no account to charge or pay into, and no contract to send,
    // before the first save.
    BoutonBAR->setEnabled(false);
    Encaisser->setEnabled(false);
    for (xpcmdbutton* b : ImprimerContrat)
        b->setEnabled(false);
    const QString fichier = m_contexte ? m_contexte->CheminINI : QString();
    const QDate aujourdhui = Horloge::aujourdhui();
    datedebut->setText(Dates::jjmmaaaa(aujourdhui));
    heuredebut->setText(INI32::ProfilINI(QStringLiteral("system"), QStringLiteral("heuredebut"),
                                         QStringLiteral("14:00"), fichier, 2));
    datefin->setText(Dates::jjmmaaaa(aujourdhui.addDays(6)));
    heurefin->setText(INI32::ProfilINI(QStringLiteral("system"), QStringLiteral("heurefin"),
                                       QStringLiteral("12:00"), fichier, 2));
    // The deposit of the settings (a share stays a share until the stay is
    // saved, so that it follows the dates and unit chosen meanwhile), due a
    // few days from now; no date when no deposit is asked.
    const MontantOuPourcentage::Valeur parDefaut = Etablissement::Arrhes(fichier);
    arrhes->setText(parDefaut.valeur == 0 ? QStringLiteral("0") : parDefaut.texte());
    if (parDefaut.valeur != 0)
        datelimite->setText(Dates::jjmmaaaa(aujourdhui.addDays(Etablissement::DelaiArrhes(fichier))));
    // The nights of the proposed stay show at once, not only after a date box is left.
    CompterNuits();
    memoriserChargement();
}

void reservations::Fonction_Modifier()
{
    rechargerSiFermee();
    Modifier->setEnabled(true);
    supprimer->setEnabled(true);
    AnnulerReservation->setEnabled(true);
    Modifier->show();
    Modifier->raise();
    ajouter->hide();
    BoutonBAR->setEnabled(true);
    Encaisser->setEnabled(true);
    for (xpcmdbutton* b : ImprimerContrat)
        b->setEnabled(true);
    // The stay's price and invoices belong to a stored reservation.
    infos->setTabEnabled(kOngletFacturation, true);
}

void reservations::rechargerSiFermee()
{
    // Units and states may have changed in the settings since the window
    // was last loaded: each opening starts from a fresh load.
    if (!isVisible())
        Charger();
}

void reservations::FormAppelante(QWidget* fenetre)
{
    m_appelante = fenetre;
}

void reservations::RemplirDepuis(const Requetes::Reservation& r, const QString& libelleEtat)
{
    m_version = r.version;
    NomClient->setText(r.nomclient);
    datedebut->setText(r.debut.isValid() ? Dates::jjmmaaaa(r.debut.date()) : QString());
    datefin->setText(r.fin.isValid() ? Dates::jjmmaaaa(r.fin.date()) : QString());
    heuredebut->setText(r.debut.isValid() ? Dates::hhnn(r.debut.time()) : QString());
    heurefin->setText(r.fin.isValid() ? Dates::hhnn(r.fin.time()) : QString());
    // Shown with a decimal comma; the box reads either separator.
    arrhes->setText(QString::number(r.arrhes, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(',')));
    datelimite->setText(r.datelimite.isValid() ? Dates::jjmmaaaa(r.datelimite.date()) : QString());
    nbadultes->setText(QString::number(r.nbadultes));
    nbenfants->setText(QString::number(r.nbenfants));
    const int indexEtat = etat->findText(libelleEtat);
    if (indexEtat >= 0)
        etat->setCurrentIndex(indexEtat);
    else
        etat->setCurrentText(libelleEtat);
    numreservation->setText(QString::number(r.numero));
    remarque->setText(Saisie::FormeAffichee(r.remarque));
    telephone->setText(Saisie::FormeAffichee(r.telephone));
    Email->setText(Saisie::FormeAffichee(r.email));
    SelectionnerObjet(r.objet, r.numero);
    CompterNuits();
    memoriserChargement();
    montrerAnnulation(r);
}

bool reservations::SelectionnerObjet(qint32 objet, qint32 numero)
{
    QStringList entrees;
    for (int k = 0; k < Objets->count(); ++k)
        entrees << Objets->itemText(k);
    const int k = Saisie::IndexObjet(entrees, objet);
    if (k < 0)
        return false;
    Objets->setCurrentIndex(k);
    setWindowTitle(fr("Réservation ") + QString::number(numero));
    return true;
}

void reservations::CompterNuits()
{
    if (const auto nuits = Saisie::NombreDeNuits(datedebut->text(), datefin->text()))
        Nbjour->setText(QString::number(*nuits));
}

void reservations::setVisible(bool visible)
{
    if (visible && !isVisible() && isWindow()) {
        // The free texts show without the space they are stored with.
        remarque->setText(Saisie::FormeAffichee(remarque->text()));
        telephone->setText(Saisie::FormeAffichee(telephone->text()));
        Email->setText(Saisie::FormeAffichee(Email->text()));
        Habillage::HabillerFenetre(dessin, Fond);
        memoriserChargement();
    }
    QWidget::setVisible(visible);
}

void reservations::ProposerSejour(qint32 objet, const QDate& arrivee, int nuits)
{
    QStringList entrees;
    for (int k = 0; k < Objets->count(); ++k)
        entrees << Objets->itemText(k);
    const int k = Saisie::IndexObjet(entrees, objet);
    if (k >= 0)
        Objets->setCurrentIndex(k);
    datedebut->setText(Dates::jjmmaaaa(arrivee));
    datefin->setText(Dates::jjmmaaaa(arrivee.addDays(std::max(1, nuits))));
    CompterNuits();
    memoriserChargement();
}

void reservations::memoriserChargement()
{
    m_charge = champs();
}

bool reservations::Modifiee() const
{
    return m_charge && !(*m_charge == champs());
}

void reservations::afficherSolde(double total, const QString& texte)
{
    du->setText(texte);
    // Sign first: a long amount gets a smaller font, never a cut-off left.
    QFont police = du->font();
    police.setPointSizeF(kTailleSolde);
    const Solde::Ajustement a = Solde::PoliceAjustee(police, texte, du->contentsRect().width() - 4);
    du->setFont(a.police);
    du->setAlignment((a.tient ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    du->setToolTip(texte);
    QPalette couleurs = du->palette();
    couleurs.setColor(QPalette::WindowText, Solde::Couleur(total));
    du->setPalette(couleurs);
}

void reservations::closeEvent(QCloseEvent* event)
{
    // Closed by the window manager (or Alt+F4) while open: leave as "Revenir"
    // does, so the waiting window is released.
    if (!m_fin && isVisible()) {
        // Answering "Non" to the question about the edits keeps it open.
        event->ignore();
        Annuler_Click();
        return;
    }
    QWidget::closeEvent(event);
}

bool reservations::eventFilter(QObject* objet, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && (objet == datedebut || objet == datefin))
        CompterNuits();
    return QWidget::eventFilter(objet, event);
}
