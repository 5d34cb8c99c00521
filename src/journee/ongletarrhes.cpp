#include "ongletarrhes.h"

#include "store/conversion.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QColor kRetard(200, 0, 0);

} // namespace

OngletArrhes::OngletArrhes(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ongletarrhes"));
    arrhesarecevoir = new QTreeWidget(this);
    arrhesarecevoir->setObjectName(QStringLiteral("arrhesarecevoir"));
    arrhesarecevoir->setColumnCount(ArrhesARecevoir::NombreColonnes);
    arrhesarecevoir->setHeaderLabels(ArrhesARecevoir::TitresColonnes());
    arrhesarecevoir->setRootIsDecorated(false);
    arrhesarecevoir->setUniformRowHeights(true);
    arrhesarecevoir->setAllColumnsShowFocus(true);
    arrhesarecevoir->setSelectionMode(QAbstractItemView::SingleSelection);
    arrhesarecevoir->header()->setStretchLastSection(false);
    arrhesarecevoir->header()->setSectionResizeMode(ArrhesARecevoir::Client, QHeaderView::Stretch);
    arrhesarecevoir->header()->setMinimumSectionSize(60);
    const std::pair<int, int> largeurs[] = {
        {ArrhesARecevoir::Unite, 95}, {ArrhesARecevoir::Sejour, 132}, {ArrhesARecevoir::Demandees, 72},
        {ArrhesARecevoir::Recues, 66}, {ArrhesARecevoir::Reste, 70}, {ArrhesARecevoir::Echeance, 75}};
    for (const auto& [colonne, largeur] : largeurs)
        arrhesarecevoir->setColumnWidth(colonne, largeur);
    // The due date grows with the delay written after it.
    arrhesarecevoir->header()->setSectionResizeMode(ArrhesARecevoir::Echeance, QHeaderView::ResizeToContents);
    arrhesarecevoir->installEventFilter(this);
    connect(arrhesarecevoir, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item)
            Q_EMIT ouvrirReservation(item->data(0, Qt::UserRole).toInt());
    });

    totalarrhes = new QLabel(this);
    totalarrhes->setObjectName(QStringLiteral("totalarrhes"));

    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(arrhesarecevoir, 1);
    disposition->addWidget(totalarrhes);
}

void OngletArrhes::afficher(const QList<ArrhesARecevoir::Ligne>& lignes, const QString& erreur)
{
    const qint32 avant = arrhesarecevoir->currentItem() ? arrhesarecevoir->currentItem()->data(0, Qt::UserRole).toInt() : 0;
    m_lignes = lignes;
    arrhesarecevoir->clear();
    for (const ArrhesARecevoir::Ligne& l : lignes) {
        auto* item = new QTreeWidgetItem(arrhesarecevoir, ArrhesARecevoir::Textes(l));
        item->setData(0, Qt::UserRole, l.sejour.numero);
        for (int c : {ArrhesARecevoir::Demandees, ArrhesARecevoir::Recues, ArrhesARecevoir::Reste})
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        if (l.enRetard())
            for (int c = 0; c < ArrhesARecevoir::NombreColonnes; ++c)
                item->setForeground(c, kRetard);
        if (l.sejour.numero == avant)
            arrhesarecevoir->setCurrentItem(item);
    }
    if (!erreur.isEmpty())
        totalarrhes->setText(QStringLiteral("Les arrhes n'ont pas pu être lues : ") + erreur);
    else if (lignes.isEmpty())
        totalarrhes->setText(QStringLiteral("Aucun séjour n'a d'arrhes à recevoir."));
    else
        totalarrhes->setText(QStringLiteral("%1 séjour%2, %3 à recevoir")
                                 .arg(lignes.size())
                                 .arg(lignes.size() > 1 ? QStringLiteral("s") : QString())
                                 .arg(Conversion::Monnaie(ArrhesARecevoir::Total(lignes))));
}

bool OngletArrhes::eventFilter(QObject* objet, QEvent* evenement)
{
    if (objet == arrhesarecevoir && evenement->type() == QEvent::KeyPress) {
        const int touche = static_cast<QKeyEvent*>(evenement)->key();
        if ((touche == Qt::Key_Return || touche == Qt::Key_Enter) && arrhesarecevoir->currentItem()) {
            Q_EMIT ouvrirReservation(arrhesarecevoir->currentItem()->data(0, Qt::UserRole).toInt());
            return true;
        }
    }
    return QWidget::eventFilter(objet, evenement);
}
