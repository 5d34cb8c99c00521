#include "onglettarifs.h"

#include "editeurtable.h"
#include "facturation/etablissement.h"
#include "modelearticles.h"
#include "modeletarifs.h"
#include "store/contexte.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

OngletTarifs::OngletTarifs(Contexte* contexte, QWidget* parent)
    : QWidget(parent)
    , m_contexte(contexte)
{
    modeletarifs = new ModeleTarifs(m_contexte->BaseOuverte, this);
    editeur = new EditeurTable(modeletarifs, ModeleTarifs::Categorie,
                               QStringLiteral("Supprimer ce tarif de la catégorie « %1 » ?"));
    // A new season follows the last one of the chosen row's category.
    editeur->ajout = [this] {
        return modeletarifs->ajouter(modeletarifs->tarif(editeur->ligneChoisie()).categorie);
    };
    tarifs = editeur->vue;
    tarifs->setObjectName(QStringLiteral("tarifs"));
    // Every column in sight: dates and amounts as wide as they need, the
    // category taking what is left.
    QHeaderView* entete = tarifs->horizontalHeader();
    entete->setStretchLastSection(false);
    entete->setSectionResizeMode(QHeaderView::ResizeToContents);
    entete->setSectionResizeMode(ModeleTarifs::Categorie, QHeaderView::Stretch);
    // The header sizes its columns by their contents when it is laid out,
    // not when a row comes: the dates of a new season would show as
    // "10/01/…" until then.
    const auto ajuster = [entete] { QMetaObject::invokeMethod(entete, "resizeSections", Qt::QueuedConnection); };
    connect(modeletarifs, &QAbstractItemModel::rowsInserted, entete, ajuster);
    connect(modeletarifs, &QAbstractItemModel::dataChanged, entete, ajuster);
    connect(modeletarifs, &QAbstractItemModel::modelReset, entete, ajuster);
    ajoutertarif = editeur->ajouter;
    ajoutertarif->setObjectName(QStringLiteral("ajoutertarif"));
    supprimertarif = editeur->supprimer;
    supprimertarif->setObjectName(QStringLiteral("supprimertarif"));
    connect(modeletarifs, &ModeleTarifs::refus, this, &OngletTarifs::refus);

    libelletaxe = new QLabel(QStringLiteral("Taxe de séjour par adulte et par nuit"), this);
    libelletaxe->setObjectName(QStringLiteral("libelletaxe"));
    taxesejour = new QLineEdit(this);
    taxesejour->setObjectName(QStringLiteral("taxesejour"));
    taxesejour->setAlignment(Qt::AlignRight);
    taxesejour->setFixedWidth(80);
    taxesejour->setToolTip(QStringLiteral("Montant par adulte et par nuit, sans TVA ; les enfants en sont exemptés"));
    libelletaxe->setBuddy(taxesejour);
    connect(taxesejour, &QLineEdit::editingFinished, this, &OngletTarifs::taxesejour_Change);

    auto* taxe = new QHBoxLayout;
    taxe->setContentsMargins(8, 0, 8, 8);
    taxe->setSpacing(6);
    taxe->addWidget(libelletaxe);
    taxe->addWidget(taxesejour);
    taxe->addWidget(new QLabel(QStringLiteral("€"), this));
    taxe->addStretch(1);
    auto* colonne = new QVBoxLayout(this);
    colonne->setContentsMargins(0, 0, 0, 0);
    colonne->setSpacing(0);
    colonne->addWidget(editeur, 1);
    colonne->addLayout(taxe);
}

void OngletTarifs::charger()
{
    // An unreadable table leaves the editor empty, as the other tabs do.
    modeletarifs->charger();
    m_taxe = Etablissement::TaxeDeSejour(m_contexte->CheminINI);
    taxesejour->setText(ModeleArticles::TextePrix(m_taxe));
}

void OngletTarifs::taxesejour_Change()
{
    const QString saisi = taxesejour->text();
    const QString stocke = ModeleArticles::TextePrix(m_taxe);
    if (saisi == stocke)
        return;
    const auto montant = ModeleArticles::LirePrix(saisi);
    QString message;
    if (!montant)
        message = QStringLiteral("La taxe de séjour « %1 » n'est pas un montant (exemple : 0,60).").arg(saisi);
    else if (*montant < 0)
        message = QStringLiteral("La taxe de séjour ne peut pas être négative (« %1 »).").arg(saisi);
    else if (!Etablissement::EcrireTaxeDeSejour(m_contexte->CheminINI, *montant))
        message = QStringLiteral("La taxe de séjour n'a pas pu être enregistrée dans le fichier de configuration.");
    if (!message.isEmpty()) {
        // The stored amount comes back before the message, so that leaving
        // the field for the message box stores nothing more.
        taxesejour->setText(stocke);
        emit refus(message);
        return;
    }
    m_taxe = Etablissement::TaxeDeSejour(m_contexte->CheminINI);
    taxesejour->setText(ModeleArticles::TextePrix(m_taxe));
}
