#include "restauration.h"

#include "ui/fenetres.h"

#include "root.h"

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
enum Colonne { ColNumero, ColDate, ColTaille, ColEtat };
const char* const kFormatDate = "dd/MM/yyyy HH:mm:ss";
}

bool DemanderOuiNon(QWidget* parent, const QString& question, bool parDefaut)
{
    return Fenetres::DemanderOuiNon(parent, ROOT::Titre(), question, parDefaut);
}

RestaurationSauvegarde::RestaurationSauvegarde(const QString& cheminBase, QWidget* parent)
    : QDialog(parent)
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
                            QString::fromUtf8("État")});
    restaurer = new QPushButton(QStringLiteral("Restaurer"), this);
    restaurer->setObjectName(QStringLiteral("restaurer"));
    restaurer->setEnabled(false);
    fermer = new QPushButton(QStringLiteral("Fermer"), this);
    fermer->setObjectName(QStringLiteral("fermer"));

    auto* boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(restaurer);
    boutons->addWidget(fermer);
    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(explication);
    disposition->addWidget(liste);
    disposition->addLayout(boutons);
    resize(520, 380);

    m_creneaux = Sauvegardes::Lister(cheminBase);
    m_etats.fill(std::nullopt, m_creneaux.size());
    m_restants = int(m_creneaux.size());
    for (const Sauvegardes::Creneau& c : std::as_const(m_creneaux)) {
        auto* ligne = new QTreeWidgetItem(liste);
        ligne->setText(ColNumero, QString::number(c.numero));
        ligne->setText(ColDate, QLocale().toString(c.date, QString::fromLatin1(kFormatDate)));
        ligne->setText(ColTaille, texteTaille(c.taille));
        ligne->setText(ColEtat, texteEtat(std::nullopt));
        ligne->setTextAlignment(ColTaille, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int c = ColNumero; c <= ColEtat; ++c)
        liste->resizeColumnToContents(c);
    liste->header()->setStretchLastSection(true);
    explication->setText(m_creneaux.isEmpty()
        ? QString::fromUtf8("Aucune sauvegarde de la base dans ") + Sauvegardes::Dossier() + QLatin1Char('.')
        : QString::fromUtf8("Sauvegardes de %1, la plus récente en premier. La base actuelle sera gardée "
                            "dans le dossier Sauvegardes avant d'être remplacée.").arg(cheminBase));

    connect(liste, &QTreeWidget::itemSelectionChanged, this, &RestaurationSauvegarde::selectionChangee);
    connect(restaurer, &QPushButton::clicked, this, &RestaurationSauvegarde::restaurer_Click);
    connect(fermer, &QPushButton::clicked, this, &QDialog::reject);

    // Each slot is checked in the background, newest first; the window
    // stays free meanwhile.
    QStringList chemins;
    for (const Sauvegardes::Creneau& c : std::as_const(m_creneaux))
        chemins << c.chemin;
    m_verificateur = QThread::create([this, chemins] {
        for (int i = 0; i < chemins.size() && !m_arret; ++i) {
            const CopieBase::Controle controle = Sauvegardes::Verifier(chemins.at(i));
            QMetaObject::invokeMethod(this, [this, i, controle] { verifie(i, controle.saine, controle.premiereLigne); },
                                      Qt::QueuedConnection);
        }
    });
    m_verificateur->start();
    if (m_creneaux.isEmpty())
        QMetaObject::invokeMethod(this, &RestaurationSauvegarde::verificationTerminee, Qt::QueuedConnection);
}

RestaurationSauvegarde::~RestaurationSauvegarde()
{
    // At most the slot being checked is waited for.
    m_arret = true;
    m_verificateur->wait();
    delete m_verificateur;
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

void RestaurationSauvegarde::verifie(int ligne, bool saine, const QString& detail)
{
    m_etats[ligne] = saine;
    QTreeWidgetItem* item = liste->topLevelItem(ligne);
    item->setText(ColEtat, texteEtat(saine));
    if (!saine) {
        item->setToolTip(ColEtat, detail);
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
    const QString question = QString::fromUtf8("Remplacer la base actuelle par la sauvegarde n° %1 du %2 ?\n"
                                               "La base actuelle est d'abord gardée dans le dossier Sauvegardes.")
                                 .arg(c.numero).arg(QLocale().toString(c.date, QString::fromLatin1(kFormatDate)));
    // Replacing the database is hard to undo: Enter does not do it.
    if (!DemanderOuiNon(this, question, false))
        return;
    Q_EMIT restaurationDemandee(c.chemin);
}

void RestaurationSauvegarde::termine(bool reussie, const QString& message)
{
    if (reussie) {
        QMessageBox::information(this, ROOT::Titre(), message, QMessageBox::Ok);
        accept();
    } else {
        QMessageBox::warning(this, ROOT::Titre(), message, QMessageBox::Ok);
    }
}
