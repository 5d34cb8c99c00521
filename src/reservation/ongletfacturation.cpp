#include "ongletfacturation.h"

#include "ui/fenetres.h"
#include "config/chemins.h"
#include "facturation/annulation.h"
#include "facturation/comptesejour.h"
#include "facturation/lignesfacture.h"
#include "store/contexte.h"
#include "store/conversion.h"
#include "store/requetes_facturation.h"

#include <QDesktopServices>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

OngletFacturation::OngletFacturation(Contexte* contexte, QWidget* parent)
    : QWidget(parent), m_contexte(contexte)
{
    setObjectName(QStringLiteral("ongletfacturation"));
    auto* grille = new QGridLayout(this);
    grille->setContentsMargins(4, 4, 4, 4);
    lignesfacture = new QPlainTextEdit(this);
    lignesfacture->setObjectName(QStringLiteral("lignesfacture"));
    lignesfacture->setReadOnly(true);
    lignesfacture->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont petite = font();
    petite.setPointSizeF(std::max(7.0, petite.pointSizeF() - 1));
    lignesfacture->setFont(petite);
    auto bouton = [this](const char* nom, const QString& texte) {
        auto* b = new QPushButton(texte, this);
        b->setObjectName(QLatin1String(nom));
        return b;
    };
    porteraucompte = bouton("porteraucompte", QStringLiteral("Porter au compte"));
    facture = bouton("facture", QStringLiteral("Facture"));
    reimprimer = bouton("reimprimer", QStringLiteral("Réimprimer"));
    avoir = bouton("avoir", QStringLiteral("Avoir…"));
    derniereFacture = new QLabel(this);
    derniereFacture->setObjectName(QStringLiteral("dernierefacture"));
    // The last document's number shows on the reprint button's tooltip and
    // under the lines, so that four buttons keep their whole captions.
    grille->addWidget(lignesfacture, 0, 0, 1, 4);
    grille->addWidget(derniereFacture, 1, 0, 1, 4);
    grille->addWidget(porteraucompte, 2, 0);
    grille->addWidget(facture, 2, 1);
    grille->addWidget(avoir, 2, 2);
    grille->addWidget(reimprimer, 2, 3);
    grille->setVerticalSpacing(2);

    question = [this](const QString& texte) { return Fenetres::DemanderOuiNon(this, window()->windowTitle(), texte); };
    information = [this](const QString& texte) {
        QMessageBox::information(this, window()->windowTitle(), texte, QMessageBox::Ok);
    };
    ouvrir = [](const QString& chemin) { return QDesktopServices::openUrl(QUrl::fromLocalFile(chemin)); };
    demanderAvoir = [this](const QString& origine) {
        return DialoguesAnnulation::DemanderAvoir(this, window()->windowTitle(), origine);
    };

    connect(porteraucompte, &QPushButton::clicked, this, &OngletFacturation::porter);
    connect(facture, &QPushButton::clicked, this, &OngletFacturation::emettre);
    connect(reimprimer, &QPushButton::clicked, this, &OngletFacturation::reimprimerDerniere);
    connect(avoir, &QPushButton::clicked, this, &OngletFacturation::emettreAvoir);
}

QString OngletFacturation::dossier(const char* nom) const
{
    return Chemins::dansDossier(QLatin1String(nom));
}

void OngletFacturation::afficher(qint32 numero)
{
    m_numero = numero;
    lignesfacture->clear();
    derniereFacture->clear();
    for (QPushButton* b : {porteraucompte, facture, reimprimer, avoir})
        b->setEnabled(numero > 0 && m_contexte);
    if (numero <= 0 || !m_contexte)
        return;
    QString erreur;
    const auto s = CompteSejour::Lire(m_contexte->BaseOuverte, numero, m_contexte->CheminINI, &erreur);
    lignesfacture->setPlainText(s ? CompteSejour::TexteDesLignes(*s) : QStringLiteral("Réservation illisible : ") + erreur);
    // A cancelled stay is never posted again; its fee can still be invoiced.
    if (s && s->reservation.annulee())
        porteraucompte->setEnabled(false);
    const auto factures = RequetesFacturation::facturesDeReservation(m_contexte->BaseOuverte, numero);
    const bool aUneFacture = factures && !factures->isEmpty();
    reimprimer->setEnabled(aUneFacture);
    avoir->setEnabled(factures && !Annulation::DerniereFacture(*factures).isEmpty());
    if (aUneFacture)
        derniereFacture->setText(factures->constLast().numero);
    reimprimer->setToolTip(aUneFacture ? QStringLiteral("Réimprimer ") + factures->constLast().numero : QString());
}

void OngletFacturation::porter()
{
    if (m_numero <= 0 || !m_contexte)
        return;
    const auto porte = CompteSejour::PorterAuCompte(m_contexte->BaseOuverte, m_numero, m_contexte->CheminINI);
    if (porte.resultat == CompteSejour::Resultat::Ecrit) {
        afficher(m_numero);
        Q_EMIT compteModifie();
    }
    information(porte.message);
}

void OngletFacturation::emettre()
{
    if (m_numero <= 0 || !m_contexte)
        return;
    QString erreur;
    const auto solde = CompteSejour::Solde(m_contexte->BaseOuverte, m_numero, &erreur);
    if (!solde) {
        information(QStringLiteral("Le compte n'a pas pu être lu : ") + erreur);
        return;
    }
    if (std::llround(*solde * 100) != 0
        && !question(QStringLiteral("Le compte n'est pas soldé (") + LignesFacture::Solde(*solde).toLower()
                     + QStringLiteral("). Une facture émise ne change plus. Émettre la facture quand même ?")))
        return;
    const auto f = CompteSejour::EmettreFacture(m_contexte->BaseOuverte, m_numero, m_contexte->CheminINI,
                                                dossier("Factures"), &erreur);
    if (!f) {
        information(QStringLiteral("La facture n'a pas été émise (aucun numéro n'est pris) : ") + erreur);
        return;
    }
    afficher(m_numero);
    remettre(f->numero, QStringLiteral("Facture ") + f->numero + QStringLiteral(" émise"));
}

void OngletFacturation::remettre(const QString& numero, const QString& annonce)
{
    const QString chemin = dossier("Factures") + QLatin1Char('/') + numero + QStringLiteral(".pdf");
    const bool ouvert = ouvrir(chemin);
    information(annonce + QStringLiteral(" : ") + chemin
                + (ouvert ? QString() : QStringLiteral("\n(aucun programme n'a pu l'ouvrir)")));
}

void OngletFacturation::reimprimerDerniere()
{
    if (m_numero <= 0 || !m_contexte)
        return;
    QString erreur;
    const auto factures = RequetesFacturation::facturesDeReservation(m_contexte->BaseOuverte, m_numero, &erreur);
    if (!factures || factures->isEmpty()) {
        information(factures ? QStringLiteral("Aucune facture émise pour cette réservation.")
                             : QStringLiteral("Les factures n'ont pas pu être lues : ") + erreur);
        return;
    }
    // The very bytes issued, written again where the invoice belongs.
    const auto& f = factures->constLast();
    const QString chemin = dossier("Factures") + QLatin1Char('/') + f.numero + QStringLiteral(".pdf");
    if (!CompteSejour::EcrireFichier(chemin, f.pdf, &erreur)) {
        information(QStringLiteral("La facture n'a pas pu être écrite : ") + erreur);
        return;
    }
    if (!ouvrir(chemin))
        information((f.serie == RequetesFacturation::Serie::Avoir ? QStringLiteral("Avoir ") : QStringLiteral("Facture "))
                    + f.numero + QStringLiteral(" : ") + chemin
                    + QStringLiteral("\n(aucun programme n'a pu l'ouvrir)"));
}

void OngletFacturation::emettreAvoir()
{
    if (m_numero <= 0 || !m_contexte)
        return;
    QString erreur;
    const auto origine = Annulation::DerniereFacture(m_contexte->BaseOuverte, m_numero, &erreur);
    if (!origine || origine->isEmpty()) {
        information(origine ? QStringLiteral("Aucune facture émise : un avoir se rapporte à une facture.")
                            : QStringLiteral("Les factures n'ont pas pu être lues : ") + erreur);
        return;
    }
    const auto demande = demanderAvoir(*origine);
    if (!demande)
        return;
    const auto a = Annulation::AvoirManuel(m_contexte->BaseOuverte, m_numero, *origine, demande->montant, demande->tauxTVA,
                                           demande->motif, m_contexte->CheminINI, dossier("Factures"), &erreur);
    if (!a) {
        information(QStringLiteral("L'avoir n'a pas été émis (aucun numéro n'est pris) : ") + erreur);
        return;
    }
    Q_EMIT compteModifie();
    afficher(m_numero);
    remettre(a->numero, QStringLiteral("Avoir ") + a->numero + QStringLiteral(" émis sur la facture ") + *origine);
}
