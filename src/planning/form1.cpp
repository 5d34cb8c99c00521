#include "form1.h"

#include "placement.h"
#include "selection.h"
#include "surface.h"
#include "trace.h"

#include "store/contexte.h"
#include "reservation/reservations.h"
#include "reservation/zonetexte.h"
#include "store/conversion.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/requetes.h"
#include "store/requetes_planning.h"
#include "ui/twips.h"
#include "ui/xpcmdbutton.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <QTimer>

namespace {

QWidget* conteneur(QWidget* parent, const char* nom, const QRect& geometrie, const QColor& fond)
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

Surface* surface(QWidget* parent, const char* nom, const QRect& geometrie, const QColor& fond, const QFont& police)
{
    auto* s = new Surface(QLatin1String(nom), fond, parent);
    s->setFont(police);
    s->setGeometry(geometrie);
    s->redimensionner(geometrie.width(), geometrie.height());
    return s;
}

QComboBox* liste(QWidget* parent, const char* nom, const QRect& geometrie)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(nom));
    c->setEditable(true);
    // Typing alone triggers nothing and never adds an entry.
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setGeometry(geometrie);
    return c;
}

QTimer* minuterie(QObject* parent, const char* nom, int intervalle)
{
    auto* t = new QTimer(parent);
    t->setObjectName(QLatin1String(nom));
    t->setInterval(intervalle);
    return t;
}

} // namespace

Form1::Form1(Contexte* contexte, QWidget* parent)
    : QWidget(parent), m_contexte(contexte)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Calendrier"));
    resize(Twips::enPixels(10035), Twips::enPixels(5790));
    datedepart = Horloge::aujourdhui();

    // The surfaces write in the default face at 8 points, a little narrowed
    // so that a short day name fits its 20-pixel column as it did in the
    // classic 8-point face.
    QFont police = font();
    police.setPointSizeF(8);
    police.setStretch(85);
    QFont policeListes = font();
    policeListes.setPointSizeF(8);

    fondplanning = conteneur(this, "fondplanning", Twips::rect(120, 120, 9255, 5415), palette().color(QPalette::Dark));
    // The corner ends where the unit names begin, so that the first row and
    // the grid's top line show whole.
    colonnes = conteneur(fondplanning, "colonnes", Twips::rect(0, 0, 2295, 960), QColor(192, 192, 192));
    Objets = surface(fondplanning, "Objets", Twips::rect(0, 960, 2295, 4095), QColor(128, 128, 255), police);
    lesmois = surface(fondplanning, "lesmois", Twips::rect(2280, 0, 4695, 375), QColor(255, 255, 192), police);
    TexteColonnes = surface(fondplanning, "TexteColonnes", Twips::rect(2280, 360, 4695, 615),
                            palette().color(QPalette::Mid), police);
    planning = surface(fondplanning, "planning", Twips::rect(2280, 960, 3975, 2775), QColor(224, 224, 224), police);
    // The corner stays above the strips it overlaps by one pixel.
    colonnes->raise();

    // Scrolls the unit rows one at a time, a page being the rows that fit.
    ascenseur = new QScrollBar(Qt::Vertical, fondplanning);
    ascenseur->setObjectName(QStringLiteral("ascenseur"));
    ascenseur->setSingleStep(1);
    ascenseur->hide();
    connect(ascenseur, &QScrollBar::valueChanged, this, [this](int ligne) {
        if (ligne == premiereLigne)
            return;
        premiereLigne = ligne;
        rafraichir();
    });
    // The wheel over the unit names or the grid moves the scroll bar.
    planning->installEventFilter(this);
    Objets->installEventFilter(this);
    // The grid takes the keyboard; the window hands it its focus.
    planning->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(planning);
    jourChoisi = datedepart;

    choixannee = liste(colonnes, "choixannee", Twips::rect(120, 0, 855, 315));
    choixmois = liste(colonnes, "choixmois", Twips::rect(960, 0, 1215, 315));
    ChoixSelection = liste(colonnes, "ChoixSelection", Twips::rect(135, 540, 2055, 315));
    ChoixSelection->setEditText(QStringLiteral("Tous"));
    lireSelection();
    for (QComboBox* c : {choixannee, choixmois, ChoixSelection})
        c->setFont(policeListes);

    QFont policeBoutons = font();
    policeBoutons.setPointSizeF(8.25);
    auto bouton = [&](const char* nom, const QString& texte, const QRect& g) {
        auto* b = new xpcmdbutton(texte, colonnes);
        b->setObjectName(QLatin1String(nom));
        b->setFont(policeBoutons);
        b->setGeometry(g);
        return b;
    };
    MvtJourPrecedent = bouton("MvtJourPrecedent", QStringLiteral("<"), Twips::rect(120, 315, 495, 255));
    mouvementaujourdhui = bouton("mouvementaujourdhui", QStringLiteral("Auj."), Twips::rect(600, 315, 615, 255));
    MvtJourSuivant = bouton("MvtJourSuivant", QStringLiteral(">"), Twips::rect(1200, 315, 495, 255));
    ajouter = bouton("ajouter", QStringLiteral("+"), Twips::rect(1680, 315, 495, 255));

    Clignotement = minuterie(this, "Clignotement", 500);
    Deplaceur = minuterie(this, "Deplaceur", 100);
    mouvements = minuterie(Objets, "mouvements", 10);

    connect(Clignotement, &QTimer::timeout, this, &Form1::Clignotement_Timer);
    connect(Deplaceur, &QTimer::timeout, this, &Form1::Deplaceur_Timer);
    connect(mouvements, &QTimer::timeout, this, &Form1::mouvements_Timer);

    connect(choixannee, &QComboBox::activated, this, &Form1::choixannee_Click);
    connect(choixmois, &QComboBox::activated, this, &Form1::choixmois_Click);
    connect(ChoixSelection, &QComboBox::activated, this,
            [this](int index) { choisirSelection(ChoixSelection->itemText(index)); });

    // "<" and ">" act while held; their click alone does nothing.
    connect(mouvementaujourdhui, &xpcmdbutton::Click, this, &Form1::mouvementaujourdhui_Click);
    connect(MvtJourPrecedent, &xpcmdbutton::MouseDown, this, [this] { jourMaintenu(-1); });
    connect(MvtJourSuivant, &xpcmdbutton::MouseDown, this, [this] { jourMaintenu(1); });
    connect(MvtJourPrecedent, &xpcmdbutton::MouseUp, this, &Form1::jourRelache);
    connect(MvtJourSuivant, &xpcmdbutton::MouseUp, this, &Form1::jourRelache);
    connect(ajouter, &xpcmdbutton::Click, this, &Form1::ajouter_Click);

    connect(planning, &Surface::sourisEnfoncee, this, &Form1::planningEnfonce);
    connect(planning, &Surface::sourisDeplacee, this, [this](QPoint p, QPoint ecran) {
        m_pointeur = ecran;
        manipulationDeplacee(p);
    });
    connect(planning, &Surface::sourisRelachee, this, [this](Qt::MouseButton b, QPoint p) {
        if (!manipulationRelachee(b, p))
            planningRelache();
    });
    preparerManipulation();
    connect(planning, &Surface::doubleClic, this, &Form1::planningDoubleClic);
}

Form1::~Form1()
{
    // Children still send news while they go (a combo box losing its focus):
    // none of it may reach the half-destroyed calendar.
    for (QObject* enfant : findChildren<QObject*>())
        enfant->disconnect(this);
    if (m_curseurPose)
        QApplication::restoreOverrideCursor();
    delete m_reservation;
}

void Form1::fixerTailleCellules(int largeurJour, int hauteurLigne)
{
    LargeurJour = std::max(1, largeurJour);
    HauteurLigne = std::max(1, hauteurLigne);
}

void Form1::remplirAnnees(int anneeCourante)
{
    for (int a = anneeCourante - 1; a <= anneeCourante + 5; ++a)
        choixannee->addItem(QString::number(a));
    afficherMoisAnnee();
}

void Form1::remplirMois()
{
    for (int m = 1; m <= 12; ++m)
        choixmois->addItem(Conversion::NomDuMois(m));
    afficherMoisAnnee();
}

// ---- Layout and refresh ----------------------------------------------------

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A new size that comes while the grid is being drawn is laid out once
    // that drawing ends: the grid always ends at the window's last size.
    if (m_dansRedimension) {
        m_redimensionEnAttente = true;
        return;
    }
    m_dansRedimension = true;
    for (int tour = 0; tour < 3; ++tour) {
        m_redimensionEnAttente = false;
        const int marge = fondplanning->x();
        fondplanning->resize(std::max(0, width() - 2 * marge), std::max(0, height() - fondplanning->y() - marge));
        rafraichir();
        if (!m_redimensionEnAttente)
            break;
    }
    m_dansRedimension = false;
}

void Form1::afficherMoisAnnee()
{
    // The entry itself becomes current when the list has it: a box whose text
    // differs from its current entry would take the text as a choice when it
    // loses the focus.
    auto montrer = [](QComboBox* boite, const QString& texte) {
        const int i = boite->findText(texte, Qt::MatchFixedString);
        if (i >= 0)
            boite->setCurrentIndex(i);
        boite->setEditText(texte);
    };
    montrer(choixannee, QString::number(datedepart.year()));
    montrer(choixmois, Conversion::NomDuMois(datedepart.month()));
}

bool Form1::eventFilter(QObject* objet, QEvent* evenement)
{
    if (evenement->type() == QEvent::ToolTip && objet == planning)
        return montrerInfoBulle(static_cast<QHelpEvent*>(evenement));
    if (evenement->type() == QEvent::Wheel && (objet == planning || objet == Objets)) {
        // The scroll bar turns the notches into rows (the system's lines per
        // notch, at most a page) and keeps the remainder of fine wheels.
        if (ascenseur->isVisible())
            QCoreApplication::sendEvent(ascenseur, evenement);
        return true;
    }
    return QWidget::eventFilter(objet, evenement);
}

void Form1::baseRemplacee()
{
    m_lecture.oublier();
    m_dessin = {};
    // The bar last handled may not exist in the restored file.
    reservation_courante = 0;
    reservation_encours = 0;
    rafraichir();
}

void Form1::afficherAnnulations(bool oui)
{
    if (m_annulations == oui)
        return;
    m_annulations = oui;
    m_dessin = {};
    rafraichir();
}

void Form1::rafraichir()
{
    // The units first: whether they all fit decides the grid's width.
    std::optional<QList<Requetes::Objet>> unites;
    if (m_contexte && m_contexte->BaseOuverte.isOpen())
        unites = unitesChoisies();
    const int hauteurVisible = std::max(0, fondplanning->height() - planning->y());
    const Grille::Defilement defilement =
        Grille::defilement(unites ? int(unites->size()) : 0, hauteurVisible, HauteurLigne, premiereLigne);
    premiereLigne = defilement.premiereLigne;
    m_lignesVisibles = std::max(1, defilement.lignesVisibles);
    m_nbUnites = unites ? int(unites->size()) : 0;
    placerAscenseur(defilement, hauteurVisible);

    // The grid reaches below the container by the gap above the day headers,
    // and stops short of the scroll bar when it shows.
    const int largeurAscenseur = defilement.necessaire() ? ascenseur->width() : 0;
    const int largeur = std::max(0, fondplanning->width() - planning->x() - largeurAscenseur);
    const int hauteur = std::max(0, fondplanning->height() - TexteColonnes->height());
    planning->redimensionner(largeur, hauteur);
    Objets->redimensionner(Objets->width(), hauteur);
    TexteColonnes->redimensionner(largeur, TexteColonnes->height());
    lesmois->redimensionner(largeur, lesmois->height());
    for (Surface* s : {planning, TexteColonnes, Objets, lesmois})
        s->effacer();

    afficherMoisAnnee();
    int nbColonnes = 0;
    dessinerEntete(largeur, hauteur, &nbColonnes);
    dessinerLignes(unites, largeur, nbColonnes);
    for (Surface* s : {planning, TexteColonnes, Objets, lesmois})
        s->update();
    m_dessin = {datedepart, premiereLigne, planning->size(), Horloge::maintenant()};
    montrerChoix();
    emit rafraichi();
}

void Form1::placerAscenseur(const Grille::Defilement& d, int hauteurVisible)
{
    // Setting the range and value here must not start another refresh.
    const QSignalBlocker silence(ascenseur);
    const int largeur = ascenseur->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ascenseur);
    ascenseur->setGeometry(fondplanning->width() - largeur, planning->y(), largeur, hauteurVisible);
    ascenseur->setRange(0, d.premiereMaximale);
    ascenseur->setPageStep(std::max(1, d.lignesVisibles));
    ascenseur->setValue(d.premiereLigne);
    ascenseur->setVisible(d.necessaire());
}

QString Form1::etiquette(const Grille::Barre& b) const
{
    return Grille::etiquetteBarre(m_contexte ? m_contexte->champsdansbarre : QString(), b);
}

// ---- Navigation --------------------------------------------------------------

void Form1::mouvementaujourdhui_Click()
{
    datedepart = Horloge::aujourdhui();
    rafraichir();
}

void Form1::choixannee_Click(int index)
{
    const auto mois = Conversion::NumeroDuMois(choixmois->currentText().trimmed());
    bool ok = false;
    const int annee = choixannee->itemText(index).trimmed().toInt(&ok);
    // A month box holding no month name cannot form a date: the grid stays.
    if (!mois || !ok || annee < 100 || annee > 9999) {
        afficherMoisAnnee();
        return;
    }
    datedepart = QDate(annee, *mois, 1);
    rafraichir();
}

void Form1::choixmois_Click(int index)
{
    bool ok = false;
    const int annee = choixannee->currentText().trimmed().toInt(&ok);
    // A year box holding no year cannot form a date: the grid stays.
    if (!ok || annee < 100 || annee > 9999 || index < 0 || index > 11) {
        afficherMoisAnnee();
        return;
    }
    datedepart = QDate(annee, index + 1, 1);
    rafraichir();
}

void Form1::jourMaintenu(int pas)
{
    // The press moves one day at once; the ticks then follow the time the
    // button has been held, whatever a refresh costs.
    m_pasMouvement = pas;
    m_debutMaintien = Horloge::millisecondes();
    m_joursMaintenus = 1;
    decalerJours(pas);
    mouvements->start();
}

void Form1::jourRelache()
{
    mouvements->stop();
    m_pasMouvement = 0;
}

void Form1::mouvements_Timer()
{
    // A refresh that lets events through must not run a second step inside
    // itself; a tick left over after the release moves nothing.
    if (m_dansMouvement || m_pasMouvement == 0)
        return;
    const int dus = Grille::joursMaintenus(Horloge::millisecondes() - m_debutMaintien);
    if (dus <= m_joursMaintenus)
        return;
    m_dansMouvement = true;
    const qint64 jours = qint64(m_pasMouvement) * (dus - m_joursMaintenus);
    m_joursMaintenus = dus;
    decalerJours(jours);
    m_dansMouvement = false;
}

// ---- Blinking --------------------------------------------------------------------

qint16 Form1::nbClignotements() const
{
    return m_contexte ? m_contexte->NbClignotements : qint16(10);
}

void Form1::Clignotement_Timer()
{
    if (reservation_courante <= 0 || reservation_courante > m_barres.size()) {
        m_compteurClignotement = 0;
        Clignotement->stop();
        return;
    }
    const Grille::Barre& b = m_barres.at(reservation_courante - 1);
    // The label blinks between its own colour and the other one.
    const QColor repos = Grille::couleurTexte(b.couleur);
    const QColor autre = repos == QColor(255, 255, 255) ? QColor(0, 0, 0) : QColor(255, 255, 255);
    QColor texte = (m_compteurClignotement % 2 == 1) ? autre : repos;
    ++m_compteurClignotement;
    if (m_compteurClignotement >= nbClignotements()) {
        m_compteurClignotement = 0;
        Clignotement->stop();
        texte = repos;
    }
    {
        Pinceau p(planning);
        Trace::peindreBarre(p, b, etiquette(b), texte);
    }
    // Only the bar is shown again.
    planning->update(QRect(QPoint(b.r.x1, b.r.y1), QPoint(b.r.x2, b.r.y2)).normalized().intersected(planning->rect()));
}

// ---- The reservation window ---------------------------------------------------

reservations* Form1::fenetreReservation()
{
    if (!m_reservation) {
        // A window of its own, not a child: disabling the calendar while it is
        // open must not disable it too.
        m_reservation = new reservations(m_contexte);
        connect(m_reservation, &reservations::reservationEncours, this,
                [this](qint32 numero) { reservation_encours = numero; });
        // The arrival of a saved stay is kept until the window ends: the grid
        // only moves there when the stay would not be in sight.
        connect(m_reservation, &reservations::dateDepart, this, [this](const QDate& jour) {
            if (jour.isValid())
                m_arriveeEnregistree = jour;
        });
        connect(m_reservation, &reservations::rafraichirDemande, this, &Form1::rafraichir);
        connect(m_reservation, &reservations::fermee, this, &Form1::reservationFermee);
        connect(m_reservation, &reservations::compteModifie, this, &Form1::compteModifie);
    }
    return m_reservation;
}

void Form1::ouvrirBarre(int index)
{
    if (index < 1 || index > m_barres.size())
        return;
    const Grille::Barre b = m_barres.at(index - 1);
    reservations* r = fenetreReservation();
    r->Fonction_Modifier();
    // The counts as the table of bars keeps them (16-bit numbers).
    Requetes::Reservation res = b.reservation;
    res.nbadultes = b.nbadultes;
    res.nbenfants = b.nbenfants;
    // The boxes, the unit entry "<number> ..." and the number of nights.
    r->RemplirDepuis(res, b.libelleEtat);
    r->show();
    r->raise();
    r->activateWindow();
    r->AfficherLeTicket();
    r->FormAppelante(this);
    // The calendar waits, disabled, until the window reports its end.
    m_ouverture = Ouverture::Edition;
    setEnabled(false);
}

void Form1::ajouter_Click()
{
    // The framed cell (chosen by a click or the arrows) gives the unit and
    // the day; the stay keeps the usual length.
    if (!planning->cadre().isEmpty() && jourChoisi.isValid()) {
        ajouterPour(ligneChoisie, jourChoisi, 6);
        return;
    }
    ajouterPour(-1, QDate(), 0);
}

void Form1::ajouterPour(int ligne, const QDate& arrivee, int nuits)
{
    std::optional<QList<Requetes::Objet>> unites;
    if (m_contexte && m_contexte->BaseOuverte.isOpen()) {
        unites = Requetes::objets(m_contexte->BaseOuverte);
        if (unites && unites->isEmpty()) {
            QMessageBox boite(QMessageBox::Information, windowTitle(), Grille::texteAucunLogement(),
                              QMessageBox::Ok, this);
            boite.exec();
            return;
        }
    }
    reservations* r = fenetreReservation();
    r->Fonction_Ajouter();
    // The row counts among the units shown (the chosen category's).
    const auto lignes = unites ? m_lecture.unites(m_contexte->BaseOuverte) : unites;
    if (lignes && ligne >= 0 && ligne < lignes->size() && arrivee.isValid())
        r->ProposerSejour(lignes->at(ligne).numero, arrivee, nuits);
    m_ouverture = Ouverture::Ajout;
    r->setWindowModality(Qt::ApplicationModal);
    r->show();
}

void Form1::reservationFermee()
{
    const Ouverture ouverture = m_ouverture;
    m_ouverture = Ouverture::Aucune;
    if (m_reservation)
        m_reservation->setWindowModality(Qt::NonModal);
    setEnabled(true);
    if (m_arriveeEnregistree.isValid()) {
        QDateTime debut = Dates::naive(m_arriveeEnregistree);
        QDateTime fin = debut;
        if (m_contexte && reservation_encours != 0) {
            if (const auto r = Requetes::reservation(m_contexte->BaseOuverte, reservation_encours)) {
                debut = r->debut;
                fin = r->fin;
            }
        }
        datedepart = Grille::jourApresEnregistrement(datedepart, joursVisibles(), debut, fin);
        m_arriveeEnregistree = QDate();
    }
    if (ouverture == Ouverture::Edition)
        Clignotement->start();   // on the edited bar, found again by the refresh
    if (ouverture != Ouverture::Aucune)
        rafraichir();
}

// ---- Going to a reservation found elsewhere ----------------------------------------

bool Form1::montrerReservation(qint32 numero)
{
    if (!m_contexte || !m_contexte->BaseOuverte.isOpen())
        return false;
    const auto r = Requetes::reservation(m_contexte->BaseOuverte, numero);
    if (!r || !r->debut.isValid() || !r->fin.isValid())
        return false;
    int ligne = -1;
    int nbUnites = 0;
    // A stay of a unit the selection hides: every unit is shown again.
    if (const auto toutes = Requetes::objets(m_contexte->BaseOuverte)) {
        const auto montrees = Selection::numeros(*toutes, m_selection);
        if (montrees && !montrees->contains(r->objet))
            choisirSelection(Selection::tous());
    }
    if (const auto unites = m_lecture.unites(m_contexte->BaseOuverte)) {
        nbUnites = int(unites->size());
        for (int i = 0; i < unites->size() && ligne < 0; ++i)
            if (unites->at(i).numero == r->objet)
                ligne = i;
    }
    const int hauteurVisible = std::max(0, fondplanning->height() - planning->y());
    const int visibles = Grille::defilement(nbUnites, hauteurVisible, HauteurLigne, premiereLigne).lignesVisibles;
    const Placement::Position p = Placement::versSejour(
        r->debut.date(), Grille::nombreColonnes(planning->width(), LargeurJour), ligne, visibles, premiereLigne);
    datedepart = p.datedepart;
    premiereLigne = p.premiereLigne;
    reservation_encours = numero;
    rafraichir();
    m_compteurClignotement = 0;
    Clignotement->start();
    return true;
}

bool Form1::reservationOuverte() const
{
    return m_ouverture != Ouverture::Aucune;
}

bool Form1::ouvrirReservation(qint32 numero)
{
    if (!montrerReservation(numero) || reservation_courante <= 0)
        return false;
    ouvrirBarre(reservation_courante);
    return true;
}

void Form1::nouvelleReservationPour(const QString& nom, const QString& telephone, const QString& email)
{
    ajouter_Click();
    m_reservation->NomClient->setText(nom);
    m_reservation->telephone->setText(telephone);
    m_reservation->Email->setText(email);
}
