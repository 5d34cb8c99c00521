#include "encaissement.h"

#include "store/contexte.h"
#include "caisse.h"
#include "store/module1.h"
#include "store/requetes.h"
#include "ui/habillage.h"
#include "ui/twips.h"
#include "ui/xpcmdbutton.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

QLabel* etiquette(QWidget* parent, const char* nom, const QString& texte, const QRect& zone)
{
    auto* l = new QLabel(texte, parent);
    l->setObjectName(QLatin1String(nom));
    l->setGeometry(zone);
    return l;
}

} // namespace

const QList<QPair<QString, QString>>& Encaissement::TypesDeReglement()
{
    static const QList<QPair<QString, QString>> types = {
        {QStringLiteral("Espèces"), QStringLiteral("ESP")},
        {QStringLiteral("Carte Bleue"), QStringLiteral("CB")},
        {QStringLiteral("Chèque"), QStringLiteral("CHQ")},
        {QStringLiteral("Virement"), QStringLiteral("VIR")},
    };
    return types;
}

Encaissement::Encaissement(Contexte* contexte, QWidget* parent)
    : QWidget(parent, Qt::Window), m_contexte(contexte)
{
    setObjectName(QStringLiteral("Encaissement"));
    setWindowTitle(QStringLiteral("Encaissement"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(Twips::enPixels(6735), Twips::enPixels(3255));

    dessin = new QLabel(this);
    dessin->setObjectName(QStringLiteral("dessin"));
    dessin->setGeometry(Twips::rect(120, 120, 6495, 2895));
    Fond = Habillage::CreerFond(this, Twips::rect(240, 240, 6495, 2775));

    const auto& types = TypesDeReglement();
    for (int i = 0; i < types.size(); ++i) {
        auto* b = new xpcmdbutton(types[i].first, Fond);
        b->setObjectName(QStringLiteral("typereglemement"));
        b->setIndex(i);
        b->setProperty("Tag", types[i].second);
        b->setGeometry(Twips::rect(240, 240 + 600 * i, 1335, 495));
        connect(b, &xpcmdbutton::Click, this, &Encaissement::typereglemement_Click);
        typereglemement.append(b);
    }
    Label2 = etiquette(Fond, "Label2", QStringLiteral("réservation : "), Twips::rect(2160, 120, 975, 255));
    reservation = etiquette(Fond, "reservation", QStringLiteral("réservation"), Twips::rect(3120, 120, 975, 255));
    // The caption must not run under the number when the font is wider than
    // the one the window was drawn for.
    Label2->resize(qMax(Label2->width(), Label2->sizeHint().width()), Label2->height());
    if (Label2->geometry().right() >= reservation->x())
        reservation->move(Label2->geometry().right() + 1, reservation->y());
    typepaiement = etiquette(Fond, "typepaiement", QString(), Twips::rect(2400, 600, 3855, 495));
    QFont grande = typepaiement->font();
    grande.setPointSize(18);
    typepaiement->setFont(grande);
    Label1 = etiquette(Fond, "Label1", QStringLiteral("Montant : "), Twips::rect(1920, 1320, 1575, 255));
    montant = new QLineEdit(QStringLiteral("0"), Fond);
    montant->setObjectName(QStringLiteral("montant"));
    montant->setGeometry(Twips::rect(3600, 1320, 2055, 285));
    Label3 = etiquette(Fond, "Label3", QStringLiteral("Commentaire"), Twips::rect(1920, 1800, 1095, 255));
    commentaire = new QLineEdit(Fond);
    commentaire->setObjectName(QStringLiteral("commentaire"));
    commentaire->setGeometry(Twips::rect(3000, 1800, 3255, 285));
    OK = new QPushButton(QStringLiteral("OK"), Fond);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setGeometry(Twips::rect(3480, 2160, 1335, 375));
    OK->setEnabled(false);
    OK->setDefault(true);
    Annuler = new QPushButton(QStringLiteral("Annuler"), Fond);
    Annuler->setObjectName(QStringLiteral("Annuler"));
    Annuler->setGeometry(Twips::rect(4920, 2160, 1335, 375));
    connect(OK, &QPushButton::clicked, this, &Encaissement::OK_Click);
    connect(Annuler, &QPushButton::clicked, this, &QWidget::close);
    // Enter in the amount or the comment confirms, as "OK" would.
    connect(montant, &QLineEdit::returnPressed, OK, &QPushButton::click);
    connect(commentaire, &QLineEdit::returnPressed, OK, &QPushButton::click);

    Habillage::HabillerFenetre(dessin, Fond);
}

void Encaissement::typereglemement_Click(int index)
{
    if (index < 0 || index >= typereglemement.size())
        return;
    typepaiement->setText(typereglemement[index]->Caption());
    typepaiement->setProperty("Tag", typereglemement[index]->property("Tag"));
    OK->setEnabled(!m_enregistre);
    montant->setFocus(Qt::OtherFocusReason);
    montant->selectAll();
}

void Encaissement::OK_Click()
{
    if (m_enregistre || !OK->isEnabled())
        return;
    const QString code = typepaiement->property("Tag").toString();
    const auto numero = Caisse::numeroReservation(reservation->text());
    if (!numero) {
        avertir(QStringLiteral("Aucune réservation n'est choisie : le paiement ne peut pas être enregistré."));
        return;
    }
    QString motif;
    const auto somme = Caisse::lireMontantPaiement(montant->text(), &motif);
    if (!somme) {
        avertir(motif);
        montant->setFocus(Qt::OtherFocusReason);
        montant->selectAll();
        return;
    }
    const QString libelle = Caisse::libellePaiement(commentaire->text(), code);
    QString erreur;
    if (!Module1::EnregistrerOperation(m_contexte->BaseOuverte, *numero, *somme, code, libelle, &erreur)) {
        avertir(QStringLiteral("Le paiement n'a pas été enregistré :\n") + erreur);
        return;
    }
    // Stored: a second "OK" (a quick double click) must not store it again.
    m_enregistre = true;
    OK->setEnabled(false);
    commentaire->setText(libelle);
    Q_EMIT operationEnregistree(*numero);
    close();
}

// The amount starts as the deposit still to receive, or else what the
// client still owes, selected, so that Enter after the payment type takes
// the whole of it. An amount the user has already changed stays as typed.
void Encaissement::proposerMontantDu()
{
    if (montant->text() != m_montantPropose)
        return;
    double du = 0;
    if (const auto numero = Caisse::numeroReservation(reservation->text())) {
        // A sale at the bar for a number without a stay has no deposit.
        const auto sejour = Requetes::reservation(m_contexte->BaseOuverte, *numero);
        const double arrhes = sejour ? sejour->arrhes : 0.0;
        if (const auto compte = Module1::LireCompte(m_contexte->BaseOuverte, *numero))
            du = Caisse::montantPropose(compte->prix, compte->paiements, arrhes);
    }
    m_montantPropose = Caisse::texteMontant(du);
    montant->setText(m_montantPropose);
    montant->setFocus(Qt::OtherFocusReason);
    montant->selectAll();
}

void Encaissement::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The opener sets the reservation number once the window is visible.
    if (m_premierAffichage) {
        m_premierAffichage = false;
        QTimer::singleShot(0, this, &Encaissement::proposerMontantDu);
    }
}

void Encaissement::avertir(const QString& texte)
{
    QMessageBox::warning(this, QStringLiteral("Encaissement"), texte, QMessageBox::Ok);
}

// Escape cancels, as "Annuler" does.
void Encaissement::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Annuler->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Encaissement::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted() && !m_fermee) {
        m_fermee = true;
        Q_EMIT fermee();
    }
}
