#include "fenetrejournee.h"

#include "bar/encaissement.h"
#include "config/chemins.h"
#include "config/ini32.h"
#include "facturation/comptesejour.h"
#include "facturation/documents.h"
#include "journee/ongletarrhes.h"
#include "planning/selection.h"
#include "reservation/envoicontrat.h"
#include "store/contexte.h"
#include "store/conversion.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/requetes.h"
#include "ui/fenetres.h"

#include <QDateEdit>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// 0x00BBGGRR as stored, red in the low byte.
QColor couleurEtat(qint32 c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QPushButton* bouton(QWidget* parent, const char* nom, const QString& texte)
{
    auto* b = new QPushButton(texte, parent);
    b->setObjectName(QLatin1String(nom));
    b->setAutoDefault(false);
    return b;
}

// The payment dialog of the stay, waited for.
void encaisserParDefaut(Contexte* contexte, QWidget* parent, qint32 numero)
{
    QPointer<Encaissement> caisse = new Encaissement(contexte, parent);
    caisse->setWindowFlag(Qt::Window, true);
    caisse->setWindowModality(Qt::ApplicationModal);
    caisse->setAttribute(Qt::WA_DeleteOnClose, true);
    caisse->reservation->setText(QString::number(numero));
    QEventLoop attente;
    QObject::connect(caisse, &Encaissement::fermee, &attente, &QEventLoop::quit);
    QObject::connect(caisse, &QObject::destroyed, &attente, &QEventLoop::quit);
    caisse->show();
    if (caisse)
        attente.exec();
}

} // namespace

FenetreJournee::FenetreJournee(Contexte* contexte, QWidget* parent)
    : QWidget(parent), m_contexte(contexte)
{
    setObjectName(QStringLiteral("Journee"));
    setWindowTitle(QStringLiteral("Journée"));
    resize(780, 420);

    jourprecedent = bouton(this, "jourprecedent", QStringLiteral("<"));
    aujourdhui = bouton(this, "aujourdhui", QStringLiteral("Auj."));
    joursuivant = bouton(this, "joursuivant", QStringLiteral(">"));
    for (QPushButton* b : {jourprecedent, joursuivant})
        b->setFixedWidth(32);
    aujourdhui->setFixedWidth(48);
    datejour = new QDateEdit(this);
    datejour->setObjectName(QStringLiteral("datejour"));
    datejour->setDisplayFormat(QStringLiteral("dddd dd/MM/yyyy"));
    datejour->setCalendarPopup(true);
    datejour->setLocale(QLocale(QLocale::French, QLocale::France));

    auto* haut = new QHBoxLayout;
    haut->addWidget(jourprecedent);
    haut->addWidget(aujourdhui);
    haut->addWidget(joursuivant);
    haut->addWidget(datejour);
    haut->addStretch();

    arrivees = liste("arrivees");
    departs = liste("departs");
    presents = liste("presents");

    boutonarrivee = bouton(this, "boutonarrivee", QStringLiteral("Arrivée"));
    boutondepart = bouton(this, "boutondepart", QStringLiteral("Départ"));
    imprimer = bouton(this, "imprimer", QStringLiteral("Imprimer"));
    boutonarrivee->setToolTip(QStringLiteral("Noter l'arrivée du client choisi dans « Arrivées »"));
    boutondepart->setToolTip(QStringLiteral("Noter le départ du client choisi dans « Départs » ou « Présents »"));
    auto* bas = new QHBoxLayout;
    bas->addWidget(boutonarrivee);
    bas->addWidget(boutondepart);
    bas->addStretch();
    bas->addWidget(imprimer);

    // The day's lists and their commands make the first tab.
    onglets = new QTabWidget(this);
    onglets->setObjectName(QStringLiteral("onglets"));
    auto* pageJour = new QWidget(onglets);
    pageJour->setObjectName(QStringLiteral("pagejour"));
    for (QWidget* w : std::initializer_list<QWidget*>{jourprecedent, aujourdhui, joursuivant, datejour, arrivees, departs,
                                                      presents, boutonarrivee, boutondepart, imprimer})
        w->setParent(pageJour);
    auto* disposition = new QVBoxLayout(pageJour);
    disposition->addLayout(haut);
    const std::pair<QTreeWidget*, QString> titres[] = {{arrivees, QStringLiteral("Arrivées")},
                                                       {departs, QStringLiteral("Départs")},
                                                       {presents, QStringLiteral("Présents")}};
    for (const auto& [l, titre] : titres) {
        auto* etiquette = new QLabel(QStringLiteral("<b>%1</b>").arg(titre), pageJour);
        etiquette->setObjectName(QStringLiteral("titre_") + l->objectName());
        disposition->addWidget(etiquette);
        disposition->addWidget(l, 1);
    }
    disposition->addLayout(bas);
    onglets->addTab(pageJour, QStringLiteral("Jour"));
    ongletarrhes = new OngletArrhes(onglets);
    onglets->addTab(ongletarrhes, QStringLiteral("Arrhes à recevoir"));
    connect(ongletarrhes, &OngletArrhes::ouvrirReservation, this, &FenetreJournee::ouvrirReservation);
    auto* fenetre = new QVBoxLayout(this);
    fenetre->setContentsMargins(0, 0, 0, 0);
    fenetre->addWidget(onglets);

    m_differe = new QTimer(this);
    m_differe->setSingleShot(true);
    m_differe->setInterval(200);
    connect(m_differe, &QTimer::timeout, this, &FenetreJournee::rafraichir);
    minuit = new QTimer(this);
    minuit->setObjectName(QStringLiteral("minuit"));
    minuit->setSingleShot(true);
    connect(minuit, &QTimer::timeout, this, [this] {
        // The day that was "today" follows the clock; another day stays.
        if (m_jour == Horloge::aujourdhui().addDays(-1))
            afficherJour(Horloge::aujourdhui());
        else
            rafraichir();
        armerMinuit();
    });

    connect(jourprecedent, &QPushButton::clicked, this, [this] { afficherJour(m_jour.addDays(-1)); });
    connect(joursuivant, &QPushButton::clicked, this, [this] { afficherJour(m_jour.addDays(1)); });
    connect(aujourdhui, &QPushButton::clicked, this, [this] { afficherJour(Horloge::aujourdhui()); });
    connect(datejour, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        if (d != m_jour)
            afficherJour(d);
    });
    connect(boutonarrivee, &QPushButton::clicked, this, &FenetreJournee::arrivee_Click);
    connect(boutondepart, &QPushButton::clicked, this, &FenetreJournee::depart_Click);
    connect(imprimer, &QPushButton::clicked, this, &FenetreJournee::imprimer_Click);

    imprimerPage = EnvoiContrat::SortiesParDefaut(this).imprimer;
    encaisser = [this](qint32 numero) { encaisserParDefaut(m_contexte, this, numero); };

    afficherJour(Horloge::aujourdhui());
    armerMinuit();
}

QTreeWidget* FenetreJournee::liste(const char* nom)
{
    auto* l = new QTreeWidget(this);
    l->setObjectName(QLatin1String(nom));
    l->setColumnCount(Journee::NombreColonnes);
    l->setHeaderLabels(Journee::titresColonnes());
    l->setRootIsDecorated(false);
    l->setUniformRowHeights(true);
    l->setAllColumnsShowFocus(true);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->header()->setStretchLastSection(false);
    l->header()->setSectionResizeMode(Journee::Client, QHeaderView::Stretch);
    l->header()->setMinimumSectionSize(36);
    const std::pair<int, int> largeurs[] = {{Journee::Unite, 120}, {Journee::Arrivee, 82}, {Journee::Depart, 82},
                                            {Journee::Nuits, 40}, {Journee::Personnes, 58}, {Journee::Etat, 75},
                                            {Journee::Solde, 72}};
    // The list is never narrower than its columns: all of them show whole,
    // the client's name as wide as the unit's at least.
    int largeurUtile = largeurs[0].second;
    for (const auto& [colonne, largeur] : largeurs) {
        l->setColumnWidth(colonne, largeur);
        largeurUtile += largeur;
    }
    l->setMinimumWidth(largeurUtile + 2 * l->frameWidth()
                       + l->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, l));
    // Its header and two rows at least: the tabs' strip takes some height,
    // and a window kept low still shows its three lists.
    l->setMinimumHeight(56);
    l->installEventFilter(this);
    connect(l, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item)
            Q_EMIT ouvrirReservation(item->data(0, Qt::UserRole).toInt());
    });
    connect(l, &QTreeWidget::currentItemChanged, this, [this, l](QTreeWidgetItem* item) {
        if (item)
            m_derniere = l;
    });
    return l;
}

bool FenetreJournee::eventFilter(QObject* objet, QEvent* evenement)
{
    if (evenement->type() == QEvent::KeyPress) {
        auto* l = qobject_cast<QTreeWidget*>(objet);
        const int touche = static_cast<QKeyEvent*>(evenement)->key();
        if (l && (touche == Qt::Key_Return || touche == Qt::Key_Enter) && l->currentItem()) {
            Q_EMIT ouvrirReservation(l->currentItem()->data(0, Qt::UserRole).toInt());
            return true;
        }
    }
    return QWidget::eventFilter(objet, evenement);
}

void FenetreJournee::afficherJour(const QDate& jour)
{
    if (!jour.isValid())
        return;
    m_jour = jour;
    {
        const QSignalBlocker silence(datejour);
        datejour->setDate(jour);
    }
    rafraichir();
}

void FenetreJournee::rafraichirBientot()
{
    if (isVisible())
        m_differe->start();
}

void FenetreJournee::choisirCategorie(const QString& categorie)
{
    const QString c = categorie.trimmed() == Selection::tous() ? QString() : categorie.trimmed();
    if (c == m_categorie)
        return;
    m_categorie = c;
    setWindowTitle(c.isEmpty() ? QStringLiteral("Journée") : QStringLiteral("Journée — ") + c);
    rafraichir();
}

void FenetreJournee::compteModifie(qint32)
{
    // A hidden window reads everything again when it is shown.
    if (isVisible())
        rafraichir();
}

std::optional<QSet<qint32>> FenetreJournee::unitesMontrees() const
{
    if (m_categorie.isEmpty() || !m_contexte || !m_contexte->BaseOuverte.isOpen())
        return std::nullopt;
    // Units that cannot be read: every stay rather than none.
    const auto unites = Requetes::objets(m_contexte->BaseOuverte);
    return unites ? Selection::numeros(*unites, m_categorie) : std::nullopt;
}

void FenetreJournee::rafraichir()
{
    m_differe->stop();
    std::optional<QList<Journee::Sejour>> sejours;
    QString erreur;
    if (m_contexte && m_contexte->BaseOuverte.isOpen())
        sejours = RequetesJournee::sejoursAutourDe(m_contexte->BaseOuverte, m_jour, &erreur);
    m_listes = Journee::repartir(Journee::dansUnites(sejours.value_or(QList<Journee::Sejour>()), unitesMontrees()),
                                 m_jour);
    remplir(arrivees, m_listes.arrivees);
    remplir(departs, m_listes.departs);
    remplir(presents, m_listes.presents);
    setToolTip(sejours ? QString() : QStringLiteral("Les séjours n'ont pas pu être lus : ") + erreur);
    rafraichirArrhes();
}

void FenetreJournee::rafraichirArrhes()
{
    // Due or late as of today, whatever day the first tab shows.
    const QDate maintenant = Horloge::aujourdhui();
    std::optional<QList<RequetesJournee::ArrhesDemandees>> demandes;
    QString erreur;
    if (m_contexte && m_contexte->BaseOuverte.isOpen())
        demandes = RequetesJournee::arrhesDemandees(m_contexte->BaseOuverte, maintenant, &erreur);
    const QList<ArrhesARecevoir::Ligne> lignes = ArrhesARecevoir::Lister(
        Journee::dansUnites(demandes.value_or(QList<RequetesJournee::ArrhesDemandees>()), unitesMontrees()), maintenant);
    ongletarrhes->afficher(lignes, erreur);
    onglets->setTabText(onglets->indexOf(ongletarrhes), lignes.isEmpty()
                            ? QStringLiteral("Arrhes à recevoir")
                            : QStringLiteral("Arrhes à recevoir (%1)").arg(lignes.size()));
}

void FenetreJournee::remplir(QTreeWidget* l, const QList<Journee::Sejour>& sejours)
{
    const qint32 avant = l->currentItem() ? l->currentItem()->data(0, Qt::UserRole).toInt() : 0;
    l->clear();
    for (const Journee::Sejour& s : sejours) {
        auto* item = new QTreeWidgetItem(l, Journee::textes(s));
        item->setData(0, Qt::UserRole, s.numero);
        item->setTextAlignment(Journee::Solde, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(Journee::Nuits, Qt::AlignCenter);
        item->setTextAlignment(Journee::Personnes, Qt::AlignCenter);
        if (s.etatTrouve) {
            const QColor fond = couleurEtat(s.couleur);
            item->setBackground(Journee::Etat, fond);
            item->setForeground(Journee::Etat, fond.lightness() < 128 ? Qt::white : Qt::black);
        }
        if (Journee::doit(s))
            item->setForeground(Journee::Solde, QColor(200, 0, 0));
        if (s.numero == avant)
            l->setCurrentItem(item);
    }
}

const Journee::Sejour* FenetreJournee::choisi(QTreeWidget* l) const
{
    const QTreeWidgetItem* item = l->currentItem();
    if (!item || !item->isSelected())
        return nullptr;
    const qint32 numero = item->data(0, Qt::UserRole).toInt();
    const QList<Journee::Sejour>& sejours = l == arrivees ? m_listes.arrivees
                                           : l == departs ? m_listes.departs : m_listes.presents;
    for (const Journee::Sejour& s : sejours)
        if (s.numero == numero)
            return &s;
    return nullptr;
}

std::optional<qint32> FenetreJournee::etatRegle(const QString& cle, const QString& sens)
{
    const QString chemin = m_contexte ? m_contexte->CheminINI : QString();
    const QString valeur = INI32::ProfilINI(QStringLiteral("reservation"), cle, QString(), chemin, 1).trimmed();
    if (valeur.isEmpty()) {
        message(QStringLiteral("Aucun état n'est choisi pour %1 : choisissez-le dans Paramètres, onglet « Couleurs » "
                               "(réglage « %2 » de la section [reservation]).").arg(sens, cle));
        return std::nullopt;
    }
    bool ok = false;
    const qint32 code = valeur.toInt(&ok);
    bool existe = false;
    if (ok)
        if (const auto etats = Requetes::etats(m_contexte->BaseOuverte))
            for (const Requetes::Etat& e : *etats)
                existe = existe || e.code == code;
    if (!existe) {
        message(QStringLiteral("L'état « %1 » choisi pour %2 n'existe pas : choisissez-en un autre dans Paramètres, "
                               "onglet « Couleurs ».").arg(valeur, sens));
        return std::nullopt;
    }
    return code;
}

bool FenetreJournee::changer(const Journee::Sejour& s, qint32 etat, const QString& libelle, const QDateTime& fin)
{
    QString erreur;
    const bool fait = fin.isValid()
        ? RequetesJournee::changerEtatEtDepart(m_contexte->BaseOuverte, s.numero, etat, libelle, fin, &erreur)
        : RequetesJournee::changerEtat(m_contexte->BaseOuverte, s.numero, etat, libelle, &erreur);
    if (!fait)
        message(QStringLiteral("Rien n'a été enregistré pour %1 : %2").arg(s.client, erreur));
    rafraichir();
    return fait;
}

void FenetreJournee::arrivee_Click()
{
    const Journee::Sejour* choix = choisi(arrivees);
    if (!choix) {
        message(QStringLiteral("Choisissez d'abord un client dans la liste « Arrivées »."));
        return;
    }
    const Journee::Sejour s = *choix;
    const auto etat = etatRegle(cleEtatArrivee(), QStringLiteral("l'arrivée"));
    if (!etat)
        return;
    if (s.etat == *etat) {
        message(QStringLiteral("L'arrivée de %1 est déjà notée.").arg(s.client));
        return;
    }
    changer(s, *etat, QStringLiteral("Arrivée du client"));
}

void FenetreJournee::depart_Click()
{
    const Journee::Sejour* choix = nullptr;
    if (m_derniere == presents)
        choix = choisi(presents);
    if (!choix)
        choix = choisi(departs);
    if (!choix) {
        message(QStringLiteral("Choisissez d'abord un client dans la liste « Départs » ou « Présents »."));
        return;
    }
    const Journee::Sejour s = *choix;
    const auto etat = etatRegle(cleEtatDepart(), QStringLiteral("le départ"));
    if (!etat)
        return;
    if (s.etat == *etat) {
        message(QStringLiteral("Le départ de %1 est déjà noté.").arg(s.client));
        return;
    }
    // A departure on the arrival day, before the planned one, is asked
    // about: either a slip (the wrong stay) or a guest leaving early, whose
    // stay then ends today.
    QDateTime finAvancee;
    if (Journee::departLeJourDeLArrivee(s.debut, s.fin, Horloge::aujourdhui())) {
        if (!Fenetres::DemanderOuiNon(this, windowTitle(),
                                      QStringLiteral("Le client part le jour de son arrivée ?\n"
                                                     "Son départ, prévu le %1, sera avancé à aujourd'hui.")
                                          .arg(Dates::jjmmaaaa(s.fin.date())), false))
            return;
        finAvancee = Journee::finLeJourMeme(s.debut, s.fin, Horloge::maintenant());
    }
    // The balance as stored now, not as the list read it.
    const double solde = CompteSejour::Solde(m_contexte->BaseOuverte, s.numero).value_or(s.solde);
    if (Conversion::ArrondiCentime(solde) != 0) {
        QMessageBox question(QMessageBox::Question, windowTitle(),
                             QStringLiteral("Le solde de %1 est de %2. Encaisser maintenant ?")
                                 .arg(s.client, Conversion::Monnaie(solde)),
                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
        question.button(QMessageBox::Yes)->setText(QStringLiteral("Oui"));
        question.button(QMessageBox::No)->setText(QStringLiteral("Non"));
        question.button(QMessageBox::Cancel)->setText(QStringLiteral("Annuler"));
        question.setDefaultButton(QMessageBox::Yes);
        const int reponse = question.exec();
        if (reponse == QMessageBox::Cancel)
            return;
        if (reponse == QMessageBox::Yes && encaisser)
            encaisser(s.numero);
    }
    changer(s, *etat, QStringLiteral("Départ du client"), finAvancee);
}

void FenetreJournee::imprimer_Click()
{
    rafraichir();
    const QString html = Journee::Html(m_jour, m_listes);
    const QString titre = QStringLiteral("Journée du ") + m_jour.toString(QStringLiteral("dd/MM/yyyy"));
    const QString chemin = Chemins::dansDossier(QStringLiteral("Documents/journee_")
                                                + m_jour.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".pdf"));
    const QByteArray pdf = Documents::Pdf(html, titre);
    QString erreur;
    if (pdf.isEmpty() || !CompteSejour::EcrireFichier(chemin, pdf, &erreur)) {
        message(QStringLiteral("La page du jour n'a pas pu être enregistrée : ") + (erreur.isEmpty() ? chemin : erreur));
        return;
    }
    if (imprimerPage)
        imprimerPage(html, titre);
}

void FenetreJournee::armerMinuit()
{
    minuit->start(int(std::min<qint64>(Journee::jusquaMinuit(Horloge::maintenant()), 24LL * 3600 * 1000)));
}

void FenetreJournee::message(const QString& texte)
{
    QMessageBox::information(this, windowTitle(), texte, QMessageBox::Ok);
}
