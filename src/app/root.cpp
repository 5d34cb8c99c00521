#include "root.h"

#include "config/positionfenetre.h"
#include "config/saveposition.h"
#include "ui/habillage.h"
#include "ui/twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

QString ROOT::Titre()
{
    return QStringLiteral("Orvane Planning ") + QStringLiteral(PLANNING_VERSION);
}

ROOT::ROOT(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("ROOT"));
    setWindowTitle(Titre());
    // The dialogs dressed with the dimmed backdrop cover this frame.
    Habillage::DefinirCadre(this);

    auto* centre = new QWidget(this);
    auto* disposition = new QVBoxLayout(centre);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->setSpacing(0);
    Picture1 = new QWidget(centre);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedHeight(Twips::enPixels(375));
    Picture1->setAutoFillBackground(true);
    QPalette p = Picture1->palette();
    p.setColor(QPalette::Window, palette().color(QPalette::Button));
    Picture1->setPalette(p);
    zone = new QMdiArea(centre);
    zone->setObjectName(QStringLiteral("zone"));
    // Bringing a window forward leaves the others in their state: a
    // maximised calendar stays so behind the day's lists.
    zone->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    disposition->addWidget(Picture1);
    disposition->addWidget(zone);
    setCentralWidget(centre);

    menufichiers = menuBar()->addMenu(QStringLiteral("&Fichier"));
    menufichiers->setObjectName(QStringLiteral("menufichiers"));
    QAction* restaurer = menufichiers->addAction(QString::fromUtf8("&Restaurer une sauvegarde…"));
    restaurer->setObjectName(QStringLiteral("menufichier"));
    menufichier.insert(20, restaurer);
    connect(restaurer, &QAction::triggered, this, [this] { Q_EMIT menufichier_Click(20); });
    menufichiers->addSeparator();
    QAction* quitter = menufichiers->addAction(QStringLiteral("&Quitter"));
    quitter->setObjectName(QStringLiteral("menufichier"));
    menufichier.insert(30, quitter);
    // Every change is already stored: quitting saves nothing.
    connect(quitter, &QAction::triggered, qApp, &QApplication::quit);

    menuoutils = menuBar()->addMenu(QStringLiteral("&Outils"));
    menuoutils->setObjectName(QStringLiteral("menuoutils"));
    const std::pair<int, QString> entrees[] = {{30, QStringLiteral("&Mise à jour Internet")},
                                               {50, QStringLiteral("&Paramètres")},
                                               {60, QStringLiteral("&Caisse du jour")},
                                               {70, QStringLiteral("&Synchroniser les calendriers")},
                                               {80, QStringLiteral("&Statistiques")}};
    for (const auto& [index, texte] : entrees) {
        QAction* action = menuoutils->addAction(texte);
        action->setObjectName(QStringLiteral("menuoutil"));
        menuoutil.insert(index, action);
        connect(action, &QAction::triggered, this, [this, index = index] { Q_EMIT menuoutil_Click(index); });
    }

    menufenetres = menuBar()->addMenu(QStringLiteral("Fenêtres"));
    menufenetres->setObjectName(QStringLiteral("menufenetres"));
    menucalendrier = menufenetres->addAction(QStringLiteral("Calendrier"));
    menucalendrier->setObjectName(QStringLiteral("menucalendrier"));
    connect(menucalendrier, &QAction::triggered, this, &ROOT::menucalendrier_Click);
    menujournee = menufenetres->addAction(QStringLiteral("Journée"));
    menujournee->setObjectName(QStringLiteral("menujournee"));
    menujournee->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
    connect(menujournee, &QAction::triggered, this, &ROOT::menujournee_Click);
    menufenetres->addSeparator();
    annulations = menufenetres->addAction(QStringLiteral("Afficher les annulations"));
    annulations->setObjectName(QStringLiteral("annulations"));
    annulations->setCheckable(true);
    connect(annulations, &QAction::toggled, this, &ROOT::afficherAnnulations);
    chercher = new QAction(QStringLiteral("Rechercher"), this);
    chercher->setObjectName(QStringLiteral("chercher"));
    chercher->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    addAction(chercher);
    connect(chercher, &QAction::triggered, this, &ROOT::chercher_Click);

    // Design client area 10005 x 7650 twips at (1440, 2040).
    setGeometry(QRect(QPoint(Twips::enPixels(1440), Twips::enPixels(2040)),
                      QSize(Twips::enPixels(10005), Twips::enPixels(7650))));

    // The frame opens where it was left last time.
    SavePosition1 = new SavePosition(this);
    SavePosition1->setFichierINI(QStringLiteral("daduvuvav.ini"));
    SavePosition1->setSection(QStringLiteral("root"));
    SavePosition1->init(this, SavePosition1->FichierINI(), SavePosition1->Section());
    // A first start: 90 % of the screen, centred.
    if (!SavePosition1->positionsEnregistrees()) {
        if (const QScreen* ecran = QGuiApplication::primaryScreen())
            setGeometry(PositionFenetre::PremierePlace(ecran->availableGeometry(), 90));
    }
}

void ROOT::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        QCoreApplication::quit();
}
