#include "restauration.h"

#include "ui/fenetres.h"

#include "root.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
enum Colonne { ColNumero, ColDate, ColTaille, ColEtat, ColSejours, ColDernier };
const char* const kFormatDate = "dd/MM/yyyy HH:mm:ss";
}

bool DemanderOuiNon(QWidget* parent, const QString& question, bool parDefaut)
{
    return Fenetres::DemanderOuiNon(parent, ROOT::Titre(), question, parDefaut);
}

RestaurationSauvegarde::RestaurationSauvegarde(const QString& cheminBase, QWidget* parent)
    : QDialog(parent), m_cheminBase(cheminBase)
{
    setObjectName(QStringLiteral("RestaurationSauvegarde"));
    setWindowTitle(QString::fromUtf8("Restaurer une sauvegarde"));

    explication = new QLabel(this);
    explication->setObjectName(QStringLiteral("explication"));
    explication->setWordWrap(true);
    liste = new QTreeWidget(this);
    liste->setObjectName(QStringLiteral("liste"));
    liste->setRootIsDecorated(false);
    liste->setSelectionMode(QAbstractItemView::SingleSelection);
    liste->setHeaderLabels({QString::fromUtf8("N°"), QStringLiteral("Date"), QStringLiteral("Taille"),
                            QString::fromUtf8("État"), QString::fromUtf8("Séjours"), QString::fromUtf8("Dernier séjour")});
    restaurer = new QPushButton(QStringLiteral("Restaurer"), this);
    restaurer->setObjectName(QStringLiteral("restaurer"));
    restaurer->setEnabled(false);
    fermer = new QPushButton(QStringLiteral("Fermer"), this);
    fermer->setObjectName(QStringLiteral("fermer"));
    // Enter never restores nor closes: the Enter that closes a message of
    // this window goes no further than the message.
    restaurer->setAutoDefault(false);
    fermer->setAutoDefault(false);

    auto* boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(restaurer);
    boutons->addWidget(fermer);
    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(explication);
    disposition->addWidget(liste);
    disposition->addLayout(boutons);
    resize(720, 380);

    connect(liste, &QTreeWidget::itemSelectionChanged, this, &RestaurationSauvegarde::selectionChangee);
    connect(restaurer, &QPushButton::clicked, this, &RestaurationSauvegarde::restaurer_Click);
    connect(fermer, &QPushButton::clicked, this, &QDialog::reject);
    remplir();
}

void RestaurationSauvegarde::arreterVerification()
{
    if (!m_verificateur)
        return;
    m_arret = true;
    m_verificateur->wait();
    delete m_verificateur;
    m_verificateur = nullptr;
    m_arret = false;
    // Answers of the stopped check still queued are for the rows it had.
    ++m_generation;
}

void RestaurationSauvegarde::remplir()
{
    arreterVerification();
    liste->clear();
    // The slots, then the databases kept before a restore (the way back
    // from a restore), each part newest first.
    m_creneaux = Sauvegardes::Lister(m_cheminBase) + Sauvegardes::ListerAvantRestauration(m_cheminBase);
    m_etats.clear();
    m_etats.fill(std::nullopt, m_creneaux.size());
    m_restants = int(m_creneaux.size());
    for (const Sauvegardes::Creneau& c : std::as_const(m_creneaux)) {
        auto* ligne = new QTreeWidgetItem(liste);
        ligne->setText(ColNumero, c.avantRestauration ? QStringLiteral("avant restauration") : QString::number(c.numero));
        if (c.avantRestauration)
            ligne->setToolTip(ColNumero, QString::fromUtf8("La base telle qu'elle était avant une restauration : ")
                                             + QFileInfo(c.chemin).fileName());
        ligne->setText(ColDate, QLocale().toString(c.date, QString::fromLatin1(kFormatDate)));
        ligne->setText(ColTaille, texteTaille(c.taille));
        ligne->setText(ColEtat, texteEtat(std::nullopt));
        ligne->setTextAlignment(ColTaille, Qt::AlignRight | Qt::AlignVCenter);
        ligne->setTextAlignment(ColSejours, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int c = ColNumero; c <= ColDernier; ++c)
        liste->resizeColumnToContents(c);
    liste->header()->setStretchLastSection(true);
    explication->setText(m_creneaux.isEmpty()
        ? QString::fromUtf8("Aucune sauvegarde de la base dans ") + Sauvegardes::Dossier() + QLatin1Char('.')
        : QString::fromUtf8("Sauvegardes de %1, la plus récente en premier, puis la base telle qu'elle était avant "
                            "chaque restauration. La base actuelle sera gardée dans le dossier Sauvegardes avant "
                            "d'être remplacée.").arg(m_cheminBase));
    selectionChangee();

    // Each slot is checked in the background, newest first; the window
    // stays free meanwhile.
    QStringList chemins;
    for (const Sauvegardes::Creneau& c : std::as_const(m_creneaux))
        chemins << c.chemin;
    const int generation = m_generation;
    m_verificateur = QThread::create([this, chemins, generation] {
        for (int i = 0; i < chemins.size() && !m_arret; ++i) {
            const Sauvegardes::Examen examen = Sauvegardes::Examiner(chemins.at(i));
            QMetaObject::invokeMethod(this, [this, i, examen, generation] {
                if (generation == m_generation)
                    verifie(i, examen);
            }, Qt::QueuedConnection);
        }
    });
    m_verificateur->start();
    if (m_creneaux.isEmpty())
        QMetaObject::invokeMethod(this, &RestaurationSauvegarde::verificationTerminee, Qt::QueuedConnection);
}

RestaurationSauvegarde::~RestaurationSauvegarde()
{
    // At most the slot being checked is waited for.
    arreterVerification();
}

QString RestaurationSauvegarde::texteEtat(std::optional<bool> saine)
{
    if (!saine)
        return QString::fromUtf8("vérification…");
    return *saine ? QStringLiteral("saine") : QString::fromUtf8("endommagée");
}

QString RestaurationSauvegarde::texteTaille(qint64 octets)
{
    const QLocale francais(QLocale::French, QLocale::France);
    if (octets < 1000)
        return francais.toString(octets) + QStringLiteral(" o");
    if (octets < 1000 * 1000)
        return francais.toString(octets / 1000.0, 'f', 0) + QStringLiteral(" ko");
    return francais.toString(octets / 1e6, 'f', 1) + QStringLiteral(" Mo");
}

QString RestaurationSauvegarde::texteSejours(const std::optional<Sauvegardes::Contenu>& contenu)
{
    if (!contenu)
        return QString::fromUtf8("—");
    return contenu->sejours == 0 ? QString::fromUtf8("aucun")
                                 : QLocale(QLocale::French, QLocale::France).toString(contenu->sejours);
}

QString RestaurationSauvegarde::texteDernier(const std::optional<Sauvegardes::Contenu>& contenu)
{
    if (!contenu || !contenu->dernierSejour.isValid())
        return QString::fromUtf8("—");
    return contenu->dernierSejour.toString(QStringLiteral("dd/MM/yyyy"));
}

void RestaurationSauvegarde::verifie(int ligne, const Sauvegardes::Examen& examen)
{
    const bool saine = examen.controle.saine;
    m_etats[ligne] = saine;
    QTreeWidgetItem* item = liste->topLevelItem(ligne);
    item->setText(ColEtat, texteEtat(saine));
    item->setText(ColSejours, texteSejours(examen.contenu));
    item->setText(ColDernier, texteDernier(examen.contenu));
    if (!saine) {
        item->setToolTip(ColEtat, examen.controle.premiereLigne);
        item->setForeground(ColEtat, QColor(Qt::red));
    }
    selectionChangee();
    if (--m_restants == 0)
        Q_EMIT verificationTerminee();
}

void RestaurationSauvegarde::selectionChangee()
{
    const int ligne = liste->indexOfTopLevelItem(liste->currentItem());
    restaurer->setEnabled(ligne >= 0 && liste->currentItem()->isSelected() && m_etats.value(ligne).value_or(false));
}

void RestaurationSauvegarde::restaurer_Click()
{
    const int ligne = liste->indexOfTopLevelItem(liste->currentItem());
    if (ligne < 0 || !m_etats.value(ligne).value_or(false))
        return;
    const Sauvegardes::Creneau& c = m_creneaux.at(ligne);
    const QString date = QLocale().toString(c.date, QString::fromLatin1(kFormatDate));
    const QString quoi = c.avantRestauration
        ? QString::fromUtf8("la base gardée avant la restauration du %1").arg(date)
        : QString::fromUtf8("la sauvegarde n° %1 du %2").arg(c.numero).arg(date);
    const QString question = QString::fromUtf8("Remplacer la base actuelle par %1 ?\n"
                                               "La base actuelle est d'abord gardée dans le dossier Sauvegardes.")
                                 .arg(quoi);
    // Replacing the database is hard to undo: Enter does not do it.
    if (!DemanderOuiNon(this, question, false))
        return;
    Q_EMIT restaurationDemandee(c.chemin);
}

void RestaurationSauvegarde::termine(bool reussie, const QString& message)
{
    if (reussie) {
        // The window stays, its list read again: the database just kept
        // is now in it, the way back if this was the wrong backup.
        remplir();
        QMessageBox::information(this, ROOT::Titre(), message, QMessageBox::Ok);
    } else {
        QMessageBox::warning(this, ROOT::Titre(), message, QMessageBox::Ok);
    }
}
