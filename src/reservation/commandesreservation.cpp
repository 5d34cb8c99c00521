// The commands of the reservation window: saving a new or changed
// reservation, deleting, leaving, recording the contract, and the account.
#include "ui/fenetres.h"
#include "reservations.h"

#include "store/contexte.h"
#include "bar/bar.h"
#include "bar/encaissement.h"
#include "bar/ticketdecaisse.h"
#include "facturation/annulation.h"
#include "facturation/comptesejour.h"
#include "facturation/documents.h"
#include "reservation/chevauchement.h"
#include "reservation/ongletfacturation.h"
#include "reservation/compte.h"
#include "reservation/enregistrementsejour.h"
#include "reservation/prixsejour.h"
#include "reservation/saisie.h"
#include "reservation/suppression.h"
#include "reservation/verification.h"
#include "reservation/zonetexte.h"
#include "store/conversion.h"
#include "store/dates.h"
#include "store/horloge.h"
#include "store/module1.h"
#include "store/requetes_reservation.h"
#include "ui/xpcmdbutton.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTabWidget>


namespace {

constexpr int kOngletFacturation = 3;
constexpr int kOngletConso = 5;
constexpr int kOngletHisto = 7;

QSqlDatabase base(const Contexte* contexte)
{
    return contexte ? contexte->BaseOuverte : QSqlDatabase();
}

// The stay's price, when the deposit is typed as a share of it.
std::optional<Tarification::Calcul> prixPourLesArrhes(const Contexte* contexte, const Verification::Champs& c)
{
    return PrixSejour::PourLesArrhes(base(contexte), contexte ? contexte->CheminINI : QString(), c);
}

QList<qint32> numerosDe(const QComboBox* liste)
{
    QList<qint32> numeros;
    for (int k = 0; k < liste->count(); ++k)
        numeros << Saisie::NumeroEntree(liste->itemText(k));
    return numeros;
}

} // namespace

Verification::Champs reservations::champs() const
{
    Verification::Champs c;
    c.objet = Objets->currentText();
    c.etat = etat->currentText();
    c.nomclient = NomClient->text();
    c.datedebut = datedebut->text();
    c.heuredebut = heuredebut->text();
    c.datefin = datefin->text();
    c.heurefin = heurefin->text();
    c.arrhes = arrhes->text();
    c.datelimite = datelimite->text();
    c.nbadultes = nbadultes->text();
    c.nbenfants = nbenfants->text();
    c.remarque = remarque->text();
    c.telephone = telephone->text();
    c.email = Email->text();
    return c;
}

Verification::Champs reservations::champsAEnregistrer() const
{
    Verification::Champs c = champs();
    if (m_charge && c.arrhes == m_charge->arrhes && c.arrhes.contains(QLatin1Char('%'))) {
        const auto prix = prixPourLesArrhes(m_contexte, c);
        if (!prix || !prix->valide())
            c.arrhes = QStringLiteral("0");
    }
    // A new stay's due date, as proposed a few days from now, is not after
    // its arrival (nor before today): the deposit is asked by the arrival
    // at the latest. A date the user typed stays as typed.
    if (m_charge && Modifier->isHidden() && c.datelimite == m_charge->datelimite) {
        const auto limite = Saisie::LireJour(c.datelimite);
        const auto arrivee = Saisie::LireJour(c.datedebut);
        if (limite && arrivee && *limite > *arrivee)
            c.datelimite = Dates::jjmmaaaa(std::max(*arrivee, Horloge::aujourdhui()));
    }
    return c;
}

Requetes::Reservation reservations::miseajourtousleschamps() const
{
    const Verification::Champs c = champsAEnregistrer();
    return Saisie::VersReservation(c, prixPourLesArrhes(m_contexte, c));
}

void reservations::message(const QString& texte)
{
    QMessageBox boite(QMessageBox::Warning, windowTitle(), texte, QMessageBox::Ok, this);
    boite.exec();
}

bool reservations::verifier()
{
    const Verification::Champs c = champsAEnregistrer();
    const QString erreur = Verification::Verifier(c, numerosDe(Objets), numerosDe(etat), prixPourLesArrhes(m_contexte, c));
    if (!erreur.isEmpty()) {
        message(erreur);
        return false;
    }
    return true;
}

void reservations::completerNom()
{
    // "3 - Fermé" names a reservation typed without a client "Fermé".
    if (NomClient->text().trimmed().isEmpty())
        NomClient->setText(Saisie::NomParDefaut(etat->currentText()));
}

bool reservations::demanderOuiNon(const QString& question)
{
    // Every question here (an overlap, a deletion, edits thrown away) is
    // about something hard to undo: Enter or Escape must not do it.
    return Fenetres::DemanderOuiNon(this, windowTitle(), question);
}

bool reservations::accepterChevauchements(const Requetes::Reservation& r, qint32 sauf, QList<qint32>* acceptes)
{
    const EnregistrementSejour::Accord accord = EnregistrementSejour::Chevauchements(
        base(m_contexte), r, sauf, [this](const QString& question) { return poserChevauchement(question); });
    if (!accord.erreur.isEmpty()) {
        message(QStringLiteral("Les autres réservations de ce logement n'ont pas pu être lues :\n") + accord.erreur);
        return false;
    }
    *acceptes = accord.numeros;
    return accord.accepte;
}

bool reservations::poserChevauchement(const QString& question)
{
    return questionChevauchement ? questionChevauchement(question) : demanderOuiNon(question);
}

void reservations::liberer(qint32 numeroEncours)
{
    if (!m_appelante)
        return;
    if (numeroEncours != 0)
        emit reservationEncours(numeroEncours);
    m_appelante->setEnabled(true);
}

void reservations::Terminer(bool rafraichir)
{
    if (m_bar)
        m_bar->close();
    if (m_encaissement)
        m_encaissement->close();
    m_fin = true;
    hide();
    m_fin = false;
    Charger();
    if (rafraichir)
        emit rafraichirDemande();
    emit fermee();
}

void reservations::ajouter_Click()
{
    QList<qint32> acceptes;
    if (!verifier() || !accepterChevauchements(miseajourtousleschamps(), 0, &acceptes))
        return;
    completerNom();
    const Requetes::Reservation r = miseajourtousleschamps();
    QString erreur;
    // The stay's price is posted with the reservation, in its transaction,
    // when the settings say so.
    CompteSejour::Suivi suivi;
    const auto porter = CompteSejour::SuivreEnEnregistrant(base(m_contexte), m_contexte ? m_contexte->CheminINI : QString(), true, &suivi);
    // The overlaps are read again under the write lock: a stay another desk
    // booked since the question is asked about before anything is stored.
    bool nouveau = false;
    auto numero = RequetesReservation::creer(base(m_contexte), r, QStringLiteral("Création de la reservation"), &erreur,
                                             &acceptes, &nouveau, porter);
    while (!numero && nouveau) {
        if (!accepterChevauchements(r, 0, &acceptes))
            return;
        numero = RequetesReservation::creer(base(m_contexte), r, QStringLiteral("Création de la reservation"), &erreur,
                                            &acceptes, &nouveau, porter);
    }
    if (!numero) {
        message(QStringLiteral("La réservation n'a pas pu être créée :\n") + erreur);
        return;
    }
    if (!suivi.avertissement.isEmpty())
        message(suivi.avertissement);
    emit dateDepart(r.debut.date());
    liberer(*numero);
    Terminer(true);
}

void reservations::Modifier_Click()
{
    if (!verifier())
        return;
    const auto numero = Compte::NumeroAffiche(numreservation->text());
    if (!numero) {
        message(QStringLiteral("Le numéro de la réservation est illisible : « %1 ».").arg(numreservation->text()));
        return;
    }
    QList<qint32> acceptes;
    if (!accepterChevauchements(miseajourtousleschamps(), *numero, &acceptes))
        return;
    completerNom();
    Requetes::Reservation r = miseajourtousleschamps();
    r.numero = *numero;
    r.version = m_version;
    // The corrections of the stay's charges are posted with the change, in
    // its transaction, when the settings say so.
    const EnregistrementSejour::Resultat resultat = EnregistrementSejour::Modifier(
        base(m_contexte), m_contexte ? m_contexte->CheminINI : QString(), r,
        QStringLiteral("Modification d'informations"), acceptes,
        [this](const QString& question) { return poserChevauchement(question); });
    if (resultat.issue == EnregistrementSejour::Issue::Abandonne)
        return;
    if (resultat.issue == EnregistrementSejour::Issue::AutrePoste) {
        conflit(*numero);
        return;
    }
    if (resultat.issue != EnregistrementSejour::Issue::Enregistre) {
        message(QStringLiteral("Les modifications n'ont pas pu être enregistrées :\n") + resultat.erreur);
        return;
    }
    if (!resultat.avertissement.isEmpty())
        message(resultat.avertissement);
    emit dateDepart(r.debut.date());
    liberer(*numero);
    Terminer(false);
}

void reservations::supprimer_Click()
{
    const auto numero = Compte::NumeroAffiche(numreservation->text());
    if (!numero) {
        message(QStringLiteral("Le numéro de la réservation est illisible : « %1 ».").arg(numreservation->text()));
        return;
    }
    // The question and the journal name the reservation as it is stored,
    // whatever was typed in the boxes since.
    QString erreur;
    const auto stockee = Requetes::reservation(base(m_contexte), *numero, &erreur);
    if (!stockee) {
        message(QStringLiteral("La réservation %1 n'a pas pu être lue :\n%2").arg(*numero).arg(erreur));
        return;
    }
    // A stay with money or an invoice is cancelled, never deleted.
    if (const QString refus = Annulation::RefusSuppression(base(m_contexte), *numero, &erreur); !refus.isEmpty()) {
        message(refus);
        return;
    }
    if (!demanderOuiNon(Suppression::Question(*stockee)))
        return;
    const QString unite = Suppression::NomUnite(Requetes::objets(base(m_contexte)).value_or(QList<Requetes::Objet>()),
                                                stockee->objet);
    bool autrePoste = false;
    const auto supprimees = RequetesReservation::supprimer(base(m_contexte), *numero,
                                                           Suppression::Libelle(*stockee, unite), &erreur,
                                                           m_version, &autrePoste, [&] {
        // Checked again under the write lock; its own postings are reversed.
        return Annulation::RetirerPostes(base(m_contexte), *numero, m_contexte ? m_contexte->CheminINI : QString(),
                                         &erreur);
    });
    if (!supprimees && autrePoste) {
        conflit(*numero);
        return;
    }
    if (!supprimees) {
        message(QStringLiteral("La réservation n'a pas pu être supprimée :\n") + erreur);
        return;
    }
    if (*supprimees == 0)
        message(QStringLiteral("La réservation %1 n'existe plus : elle avait déjà été supprimée.").arg(*numero));
    liberer(0);
    Terminer(true);
}

void reservations::conflit(qint32 numero)
{
    if (!questionConflit(RequetesReservation::MessageModifieeAilleurs()))
        return;
    QString erreur;
    const auto stockee = Requetes::reservation(base(m_contexte), numero, &erreur);
    if (!stockee) {
        message(QStringLiteral("La réservation ") + QString::number(numero)
                + QStringLiteral(" n'existe plus : elle a été supprimée sur un autre poste."));
        liberer(0);
        Terminer(true);
        return;
    }
    QString libelleEtat;
    if (m_contexte)
        for (const EntreeEtat& e : m_contexte->TableEtats)
            if (e.code == stockee->etat)
                libelleEtat = e.libelle;
    RemplirDepuis(*stockee, libelleEtat);
    memoriserChargement();
    AfficherLeTicket();
}

void reservations::Annuler_Click()
{
    if (Modifiee() && !demanderOuiNon(QStringLiteral("Abandonner les modifications de cette réservation ?")))
        return;
    liberer(qint32(Conversion::LireNombre(numreservation->text())));
    Terminer(false);
}

void reservations::ImprimerContrat_Click(int index)
{
    // A reservation not saved yet has no number to record the sending under.
    if (index < 0 || index >= ImprimerContrat.size() || !Compte::NumeroAffiche(numreservation->text()))
        return;
    const qint32 numero = *Compte::NumeroAffiche(numreservation->text());
    QString erreur;
    const auto contrat = CompteSejour::Contrat(base(m_contexte), numero, m_contexte ? m_contexte->CheminINI : QString(), &erreur);
    if (!contrat) {
        message(QStringLiteral("Le contrat n'a pas pu être fait : ") + erreur);
        return;
    }
    // The journal says the contract went only when it really went.
    const auto envoi = EnvoiContrat::Envoyer(numero, EnvoiContrat::Moyen(index), contrat->email,
                                             Documents::HtmlContrat(*contrat), sortiesContrat);
    if (!envoi.envoye) {
        message(envoi.message);
        return;
    }
    if (!Module1::EnregistrerOperation(base(m_contexte), numero, 0, QString(),
                                       QStringLiteral("Envoi contrat par ") + ImprimerContrat.at(index)->Caption(), &erreur))
        message(QStringLiteral("L'envoi du contrat n'a pas pu être noté :\n") + erreur);
}

void reservations::Confirmation_Click()
{
    // The button stays disabled; its command records the confirmation and
    // opens the "Confirm" tab.
    QString erreur;
    if (!Module1::EnregistrerOperation(base(m_contexte), Conversion::LireNombre(numreservation->text()), 0,
                                       QString(), QStringLiteral("Confirmation de réservation"), &erreur)) {
        message(QStringLiteral("La confirmation n'a pas pu être notée :\n") + erreur);
        return;
    }
    infos->setTabEnabled(1, true);
    Confirmation->hide();
    infos->setCurrentIndex(1);
}

void reservations::BoutonBAR_Click()
{
    if (!Compte::NumeroAffiche(numreservation->text()))
        return;
    if (m_bar) {
        m_bar->raise();
        m_bar->activateWindow();
        return;
    }
    BAR* bar = new BAR(m_contexte, this);
    bar->setWindowFlag(Qt::Window, true);
    bar->setAttribute(Qt::WA_DeleteOnClose, true);
    m_bar = bar;
    connect(bar, &BAR::operationEnregistree, this, [this](qint32 numero) {
        AfficherLeTicket();
        Q_EMIT compteModifie(numero);
    });
    connect(bar, &BAR::fermee, this, [this] { AfficherLeTicket(); });
    bar->show();
    bar->totaldu = 0;
    bar->reservation->setText(numreservation->text());
}

void reservations::Encaisser_Click()
{
    if (!Compte::NumeroAffiche(numreservation->text()))
        return;
    if (m_encaissement) {
        m_encaissement->raise();
        m_encaissement->activateWindow();
        return;
    }
    Encaissement* caisse = new Encaissement(m_contexte, this);
    caisse->setWindowFlag(Qt::Window, true);
    caisse->setAttribute(Qt::WA_DeleteOnClose, true);
    m_encaissement = caisse;
    connect(caisse, &Encaissement::operationEnregistree, this, [this](qint32 numero) {
        AfficherLeTicket();
        Q_EMIT compteModifie(numero);
    });
    caisse->show();
    caisse->reservation->setText(numreservation->text());
}

void reservations::AfficherLeTicket()
{
    Ticket->init();
    double total = 0;
    if (const auto numero = Compte::NumeroAffiche(numreservation->text())) {
        if (const auto lignes = Requetes::operationsMontant(base(m_contexte), *numero)) {
            const Compte::Ticket t = Compte::LignesTicket(*lignes);
            for (const QString& ligne : t.lignes)
                Ticket->AjoutTexte(ligne);
            total = t.total;
        }
    }
    afficherSolde(total, Conversion::Monnaie(total));
}

void reservations::infos_Click(int onglet)
{
    if (onglet == kOngletFacturation)
        ongletfacturation->afficher(Compte::NumeroAffiche(numreservation->text()).value_or(0));
    else if (onglet == kOngletConso)
        remplirTicketDate(ticketconso, true);
    else if (onglet == kOngletHisto)
        remplirTicketDate(tickethisto, false);
}

void reservations::remplirTicketDate(TicketDeCaisse* ticket, bool avecMontant)
{
    ticket->init();
    const auto numero = Compte::NumeroAffiche(numreservation->text());
    if (!numero)
        return;
    const auto lignes = avecMontant ? Requetes::operationsMontant(base(m_contexte), *numero)
                                    : Requetes::operationsHistorique(base(m_contexte), *numero);
    if (!lignes)
        return;
    for (const QString& ligne : avecMontant ? Compte::LignesConso(*lignes) : Compte::LignesHisto(*lignes))
        ticket->AjoutTexte(ligne);
}

void reservations::TrouverReservation(qint32 reserv)
{
    // Opened and let go at once; nothing in the window uses the row.
    Requetes::reservationNominative(base(m_contexte), reserv);
}
