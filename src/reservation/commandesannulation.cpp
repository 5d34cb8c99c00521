// The cancellation of a stay from its window: the fee asked, the stay
// cancelled with its credit note, the refund proposed; and the window of a
// cancelled stay, read only but for its payments and refunds.
#include "reservations.h"

#include "config/chemins.h"
#include "facturation/annulation.h"
#include "facturation/comptesejour.h"
#include "reservation/compte.h"
#include "store/contexte.h"
#include "store/conversion.h"
#include "store/dates.h"
#include "store/requetes_facturation.h"
#include "ui/xpcmdbutton.h"

#include "reservation/zonetexte.h"

#include "reservation/ongletfacturation.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>
#include <cmath>

namespace {

QSqlDatabase base(const Contexte* contexte)
{
    return contexte ? contexte->BaseOuverte : QSqlDatabase();
}

QString ini(const Contexte* contexte)
{
    return contexte ? contexte->CheminINI : QString();
}

} // namespace

void reservations::modifiable(bool oui)
{
    for (QWidget* w : QList<QWidget*>{Objets, etat, NomClient, datedebut, heuredebut, datefin, heurefin, arrhes,
                                      datelimite, nbadultes, nbenfants, remarque, telephone, Email})
        w->setEnabled(oui);
}

void reservations::montrerAnnulation(const Requetes::Reservation& r)
{
    m_annulee = r.annulee();
    if (!m_annulee)
        return;
    const QString titre = QStringLiteral("Réservation %1 (annulée le %2)").arg(r.numero).arg(Dates::jjmmaaaa(r.annulation.date()));
    setWindowTitle(titre);
    // The window's own heading says it too, in red.
    titrelibelle->setText(QStringLiteral("Annulée"));
    QPalette rouge = titrelibelle->palette();
    rouge.setColor(QPalette::WindowText, QColor(200, 0, 0));
    titrelibelle->setPalette(rouge);
    titrelibelle->setToolTip(titre);
    // Nothing of the stay changes any more; its account still takes
    // payments and refunds.
    modifiable(false);
    for (xpcmdbutton* b : {Modifier, supprimer, BoutonBAR, Confirmation})
        b->setEnabled(false);
    Encaisser->setEnabled(true);
    AnnulerReservation->setCaption(QStringLiteral("Rembourser"));
    const double solde = CompteSejour::Solde(base(m_contexte), r.numero).value_or(0);
    AnnulerReservation->setEnabled(std::llround(solde * 100) > 0);
}

void reservations::AnnulerReservation_Click()
{
    const auto numero = Compte::NumeroAffiche(numreservation->text());
    if (!numero)
        return;
    if (Modifiee() && !demanderOuiNon(QStringLiteral("Les modifications faites dans la fenêtre ne seront pas "
                                                     "enregistrées. Annuler la réservation telle qu'elle est enregistrée ?")))
        return;
    QString erreur;
    const auto s = CompteSejour::Lire(base(m_contexte), *numero, ini(m_contexte), &erreur);
    if (!s) {
        message(QStringLiteral("La réservation n'a pas pu être lue :\n") + erreur);
        return;
    }
    const auto frais = demanderFrais(Annulation::PrixDuSejour(s->poste, s->calcul));
    if (!frais)
        return;
    const auto r = Annulation::Annuler(base(m_contexte), *numero, m_version, *frais, ini(m_contexte),
                                       Chemins::dansDossier(QStringLiteral("Factures")));
    if (r.conflit) {
        conflit(*numero);
        return;
    }
    if (!r.fait) {
        message(r.message);
        return;
    }
    QMessageBox boite(QMessageBox::Information, windowTitle(), r.message, QMessageBox::Ok, this);
    boite.exec();
    // The calendar frees the nights at once.
    emit rafraichirDemande();
    if (const auto relue = Requetes::reservation(base(m_contexte), *numero)) {
        m_version = relue->version;
        montrerAnnulation(*relue);
    }
    AfficherLeTicket();
    ongletfacturation->afficher(*numero);
    if (std::llround(r.solde * 100) > 0)
        Rembourser_Click();
}

void reservations::Rembourser_Click()
{
    const auto numero = Compte::NumeroAffiche(numreservation->text());
    if (!numero)
        return;
    QString erreur;
    const auto solde = CompteSejour::Solde(base(m_contexte), *numero, &erreur);
    if (!solde) {
        message(QStringLiteral("Le compte n'a pas pu être lu :\n") + erreur);
        return;
    }
    if (std::llround(*solde * 100) <= 0) {
        message(QStringLiteral("Le client ne doit rien recevoir : le compte n'a pas de trop-perçu."));
        return;
    }
    const auto remboursement = demanderRemboursement(*solde);
    if (!remboursement)
        return;
    if (!Annulation::Rembourser(base(m_contexte), *numero, remboursement->montant, remboursement->code, &erreur)) {
        message(QStringLiteral("Le remboursement n'a pas pu être enregistré :\n") + erreur);
        return;
    }
    AfficherLeTicket();
    Q_EMIT compteModifie(*numero);
    const double reste = CompteSejour::Solde(base(m_contexte), *numero).value_or(0);
    AnnulerReservation->setEnabled(!m_annulee || std::llround(reste * 100) > 0);
}
