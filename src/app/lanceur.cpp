#include "lanceur.h"

#include "accueil.h"
#include "bienvenue.h"
#include "demarrage.h"
#include "gardienbase.h"
#include "intro.h"
#include "config/langues.h"
#include "module3.h"
#include "root.h"
#include "config/saveposition.h"
#include "facturation/caissedujourfenetre.h"
#include "flux/synchronisationfenetre.h"
#include "journee/boiterecherche.h"
#include "journee/fenetrejournee.h"
#include "statistiques/statistiquesfenetre.h"
#include "planning/form1.h"
#include "reservation/reservations.h"
#include "publish/miseajourinternet.h"
#include "settings/parametres.h"
#include "store/base.h"
#include "store/dialecte.h"
#include "store/horloge.h"
#include "store/veilleurbase.h"
#include "ui/fenetres.h"
#include "ui/scrollbar.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QResizeEvent>
#include <QTimer>
#include <cstdio>

Lanceur::Lanceur(QObject* parent)
    : QObject(parent)
{
}

Lanceur::~Lanceur() = default;

Form1* Lanceur::calendrier() const
{
    return m_form1.data();
}

bool Lanceur::demarrer(const OptionsLancement& options)
{
    // The frame loads first.
    m_root = std::make_unique<ROOT>();

    // 1 to 7: configuration, the backup slot and the executable's copy (the
    // database is copied once it is open and checked, below).
    contexte.CheminINI = Demarrage::CheminIniParDefaut();
    Langues::fixerFichier(contexte.CheminINI);
    const QString cheminBase = Demarrage::LireCheminBase(contexte.CheminINI);
    const Demarrage::Sauvegarde sauvegarde = Demarrage::Sauvegarder(contexte.CheminINI, cheminBase);

    // 8: the splash and its progress.
    auto splash = std::make_unique<intro>();
    Fenetres::PlacerFenetre(splash.get());
    splash->show();
    QApplication::processEvents();
    for (int v : {10, 30, 50, 70, 90}) {
        splash->UserControl11->Value(v);
        QApplication::processEvents();
    }

    // 9: blink steps.
    contexte.NbClignotements = Demarrage::LireNbClignotements(contexte.CheminINI);

    // 10: the one connection; failing to open it ends the program.
    QString raison;
    const auto base = Demarrage::OuvrirBase(cheminBase, &raison);
    if (!base) {
        splash.reset();
        std::fprintf(stderr, "%s (%s)\n", qPrintable(Demarrage::MessageEchecOuverture(cheminBase)),
                     qPrintable(Dialecte::masquer(raison)));
        // The user sees why, not only the path.
        QMessageBox::critical(nullptr, ROOT::Titre(), Demarrage::MessageEchecOuverture(cheminBase, raison),
                              QMessageBox::Ok);
        return false;
    }
    contexte.BaseOuverte = *base;
    if (options.demo && Base::estVide(contexte.BaseOuverte)) {
        QString erreur;
        if (!Base::remplirDemo(contexte.BaseOuverte, Horloge::aujourdhui(), &erreur))
            std::fprintf(stderr, "Données de démonstration : %s\n", qPrintable(erreur));
    }

    // 11 and 12: states and the bar label template.
    contexte.TableEtats = Contexte::ChargerEtats(contexte.BaseOuverte);
    contexte.champsdansbarre = Demarrage::LireModeleBarre(contexte.CheminINI);

    // The calendar, a child of the frame.
    m_form1 = new Form1(&contexte);
    const QSize tailleCalendrier = m_form1->size();
    QMdiSubWindow* sousFenetre = m_root->zone->addSubWindow(m_form1);
    // Closing the calendar only hides it: "Fenêtres" → "Calendrier" brings it back.
    sousFenetre->setAttribute(Qt::WA_DeleteOnClose, false);
    m_sousFenetre = sousFenetre;
    m_root->show();

    // 13 to 15: cell size, today, visible.
    m_form1->fixerTailleCellules(20, 20);
    m_form1->mouvementaujourdhui_Click();
    sousFenetre->show();
    // The calendar keeps its designed client size inside the frame's border.
    sousFenetre->resize(tailleCalendrier + (sousFenetre->size() - m_form1->size()));
    m_form1->rafraichir();

    // 16 and 17: year and month boxes.
    m_form1->remplirAnnees(Horloge::aujourdhui().year());
    m_form1->remplirMois();
    Module3::DefinirHauteurListe(m_form1->choixmois, 12);

    // 18: the calendar remembers its place in the configuration file.
    auto* positions = new SavePosition(m_form1);
    positions->init(sousFenetre, contexte.CheminINI, QStringLiteral("Planning"));
    // A first start: the calendar fills the frame's area and follows it.
    if (!positions->positionsEnregistrees())
        sousFenetre->showMaximized();
    m_root->zone->viewport()->installEventFilter(this);

    // 19 and 20: the splash goes; the selection box offers "Tous" and the
    // units' categories.
    splash.reset();
    m_form1->remplirSelection();

    connect(m_root.get(), &ROOT::menuoutil_Click, this, &Lanceur::menuoutil_Click);
    connect(m_root.get(), &ROOT::menucalendrier_Click, this, &Lanceur::montrerCalendrier);
    connect(m_root.get(), &ROOT::menujournee_Click, this, &Lanceur::montrerJournee);
    connect(m_root.get(), &ROOT::afficherAnnulations, m_form1.data(), &Form1::afficherAnnulations);
    brancherRecherche();

    // After the first drawing: the database is checked and its snapshot
    // written into this start's slot, in the background.
    m_gardien = new GardienBase(&contexte, cheminBase, m_root.get(), this);
    connect(m_gardien, &GardienBase::baseRemplacee, this, &Lanceur::baseRemplacee);
    connect(m_gardien, &GardienBase::etatChange, m_form1.data(), [f = m_form1.data(), titre = m_form1->windowTitle()](bool endommagee) {
        f->setWindowTitle(endommagee ? titre + QString::fromUtf8(" — BASE ENDOMMAGÉE") : titre);
    });
    connect(m_root.get(), &ROOT::menufichier_Click, m_gardien, [g = m_gardien](int index) {
        if (index == 20)
            g->ouvrirFenetreRestauration();
    });
    QTimer::singleShot(0, m_gardien, [g = m_gardien, slot = sauvegarde.slot] { g->lancer(slot); });

    // Another desk's change shows within a second: the calendar (and the
    // day's lists after it) and the account of an open reservation.
    m_veilleur = new VeilleurBase(contexte.BaseOuverte, this);
    connect(m_veilleur, &VeilleurBase::baseChangee, this, &Lanceur::baseChangeeAilleurs);

    // A new installation: the welcome page says where to begin, beside the
    // empty calendar (not modal: the menus stay usable).
    if (Accueil::AMontrer(options.demo, Base::estVide(contexte.BaseOuverte), contexte.CheminINI))
        (new Bienvenue(contexte.CheminINI, m_root.get()))->show();
    return true;
}

void Lanceur::baseChangeeAilleurs()
{
    if (!m_form1)
        return;
    m_form1->rafraichir();
    if (m_form1->reservationOuverte())
        m_form1->fenetreReservation()->AfficherLeTicket();
}

void Lanceur::baseRemplacee()
{
    if (m_form1)
        m_form1->baseRemplacee();
    if (m_journee)
        m_journee->rafraichir();
    if (m_recherche)
        m_recherche->baseRemplacee();
    // The figures and the day's cash report are hidden, not destroyed, when
    // closed: shown again later, they must show the restored file.
    if (auto* statistiques = m_root->findChild<StatistiquesFenetre*>()) {
        statistiques->rafraichir();
        statistiques->rafraichirTaxe();
    }
    if (auto* caisse = m_root->findChild<CaisseDuJourFenetre*>())
        caisse->rafraichir();
}

namespace {

// Shows a child window of the frame again (closing it only hid it, and the
// window inside it too) and puts it in front.
void ramener(QMdiArea* zone, QMdiSubWindow* sousFenetre, QWidget* fenetre)
{
    if (sousFenetre->isMinimized())
        sousFenetre->showNormal();
    sousFenetre->show();
    if (fenetre)
        fenetre->show();
    zone->setActiveSubWindow(sousFenetre);
    sousFenetre->raise();
}

// The one window of its kind of the frame: asking again brings it forward.
template <typename Fenetre>
void montrerUnique(ROOT* root, Contexte* contexte)
{
    auto* fenetre = root->findChild<Fenetre*>();
    if (!fenetre)
        fenetre = new Fenetre(contexte, root);
    fenetre->show();
    fenetre->raise();
    fenetre->activateWindow();
}

} // namespace

void Lanceur::montrerCalendrier()
{
    if (m_sousFenetre)
        ramener(m_root->zone, m_sousFenetre, m_form1);
}

bool Lanceur::eventFilter(QObject* objet, QEvent* evenement)
{
    // A smaller frame never leaves the calendar wider or taller than its area.
    if (m_root && objet == m_root->zone->viewport() && evenement->type() == QEvent::Resize && m_form1) {
        QWidget* cadre = m_form1->parentWidget();
        const QSize zone = static_cast<QResizeEvent*>(evenement)->size();
        if (cadre && !(cadre->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))
            && (cadre->width() > zone.width() || cadre->height() > zone.height()))
            cadre->resize(cadre->size().boundedTo(zone));
    }
    return QObject::eventFilter(objet, evenement);
}

void Lanceur::menuoutil_Click(int index)
{
    if (index == 30) {
        MiseAJourInternet fenetre(&contexte, m_root.get());
        fenetre.exec();
    } else if (index == 50) {
        parametres fenetre(&contexte, m_root.get());
        if (m_form1)
            connect(&fenetre, &parametres::couleurChangee, m_form1, &Form1::rafraichir);
        fenetre.exec();
    } else if (index == 60) {
        montrerUnique<CaisseDuJourFenetre>(m_root.get(), &contexte);
    } else if (index == 70) {
        SynchronisationFenetre fenetre(&contexte, m_root.get());
        if (m_form1)
            connect(&fenetre, &SynchronisationFenetre::reservationsChangees, m_form1, &Form1::rafraichir);
        fenetre.exec();
    } else if (index == 80) {
        montrerUnique<StatistiquesFenetre>(m_root.get(), &contexte);
    }
}

// ---- The day at the desk and the search -------------------------------------------

FenetreJournee* Lanceur::journee() const
{
    return m_journee.data();
}

void Lanceur::montrerJournee()
{
    if (!m_journee) {
        m_journee = new FenetreJournee(&contexte);
        const QSize taille = m_journee->size();
        QMdiSubWindow* sousFenetre = m_root->zone->addSubWindow(m_journee);
        // Closing it only hides it: the menu brings the same window back.
        sousFenetre->setAttribute(Qt::WA_DeleteOnClose, false);
        m_sousFenetreJournee = sousFenetre;
        sousFenetre->show();
        // Beside a maximized calendar it first opens maximized too;
        // otherwise at its designed size, wholly inside the frame's area.
        // Where it was left last time comes first (below).
        if (m_sousFenetre && m_sousFenetre->isVisible() && m_sousFenetre->isMaximized()) {
            sousFenetre->showMaximized();
        } else {
            sousFenetre->resize(taille + (sousFenetre->size() - m_journee->size()));
            const QSize zone = m_root->zone->viewport()->size();
            sousFenetre->move(std::max(0, std::min(sousFenetre->x(), zone.width() - sousFenetre->width())),
                              std::max(0, std::min(sousFenetre->y(), zone.height() - sousFenetre->height())));
        }
        // It opens where it was left last time.
        auto* positions = new SavePosition(m_journee);
        positions->init(sousFenetre, contexte.CheminINI, QStringLiteral("Journee"));
        connect(m_journee, &FenetreJournee::ouvrirReservation, this, &Lanceur::ouvrirReservation);
        if (m_form1) {
            connect(m_form1, &Form1::rafraichi, m_journee, &FenetreJournee::rafraichirBientot);
            // The calendar's selection, and the payments and sales made in
            // the windows it opened.
            m_journee->choisirCategorie(m_form1->categorieChoisie());
            connect(m_form1, &Form1::selectionChangee, m_journee, &FenetreJournee::choisirCategorie);
            connect(m_form1, &Form1::compteModifie, m_journee, &FenetreJournee::compteModifie);
        }
    }
    ramener(m_root->zone, m_sousFenetreJournee, m_journee);
    m_journee->rafraichir();
}

void Lanceur::ouvrirReservation(qint32 numero)
{
    if (!m_form1)
        return;
    QString refus;
    if (m_form1->reservationOuverte())
        refus = QStringLiteral("Une réservation est déjà ouverte : terminez-la d'abord.");
    else if (!m_form1->ouvrirReservation(numero))
        refus = QStringLiteral("La réservation n° %1 ne peut pas être montrée sur le calendrier "
                               "(dates illisibles ou logement supprimé).").arg(numero);
    if (!refus.isEmpty())
        QMessageBox::information(m_root.get(), ROOT::Titre(), refus, QMessageBox::Ok);
}

void Lanceur::brancherRecherche()
{
    m_recherche = new BoiteRecherche(&contexte, m_root->centralWidget(), m_root->Picture1);
    auto* disposition = new QHBoxLayout(m_root->Picture1);
    disposition->setContentsMargins(4, 2, 4, 2);
    disposition->addStretch();
    disposition->addWidget(m_recherche);
    connect(m_root.get(), &ROOT::chercher_Click, m_recherche, [r = m_recherche] {
        r->champrecherche->setFocus(Qt::ShortcutFocusReason);
        r->champrecherche->selectAll();
    });
    connect(m_recherche, &BoiteRecherche::montrerReservation, this, [this](qint32 numero) {
        montrerCalendrier();
        if (m_form1 && !m_form1->montrerReservation(numero))
            QMessageBox::information(m_root.get(), ROOT::Titre(),
                                     QStringLiteral("La réservation n° %1 ne peut pas être montrée sur le calendrier.")
                                         .arg(numero), QMessageBox::Ok);
    });
    connect(m_recherche, &BoiteRecherche::ouvrirReservation, this, &Lanceur::ouvrirReservation);
    connect(m_recherche, &BoiteRecherche::nouvelleReservation, this,
            [this](const QString& nom, const QString& telephone, const QString& email) {
                if (m_form1 && !m_form1->reservationOuverte())
                    m_form1->nouvelleReservationPour(nom, telephone, email);
            });
}
