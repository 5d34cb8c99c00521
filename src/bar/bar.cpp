#include "bar.h"

#include "store/contexte.h"
#include "encaissement.h"
#include "config/ini32.h"
#include "store/conversion.h"
#include "store/horloge.h"
#include "store/requetes.h"
#include "ui/fenetres.h"
#include "store/module1.h"
#include "store/requetes_bar.h"
#include "ticketdecaisse.h"
#include "ui/boutoneclaire.h"
#include "ui/habillage.h"
#include "ui/twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProxyStyle>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

namespace {

// The article area's scroll bar is narrow, so that it fits between the last
// column of articles and the receipt.
class StyleBarreEtroite : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metrique, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metrique == PM_ScrollBarExtent)
            return 10;
        return QProxyStyle::pixelMetric(metrique, option, widget);
    }
};

// Where the article area lies on the panel, in pixels: from the panel's left
// edge to the receipt, from just above the first row to just above `infos`.
const QRect kZoneArticles(0, 44, 632, 440);

void ecranVertSurNoir(QWidget* w)
{
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    for (auto role : {QPalette::Window, QPalette::Base})
        p.setColor(role, Qt::black);
    for (auto role : {QPalette::WindowText, QPalette::Text})
        p.setColor(role, QColor(0, 255, 0));
    w->setPalette(p);
}

// The keypad's captions, in reading order.
const char* const kTouches[] = {"7", "8", "9", "+", "4", "5", "6", "-", "1", "2", "3", "0", ","};

QRect rectTouche(int i)
{
    if (i == 11)
        return Twips::rect(9480, 7080, 1095, 495);   // "0", two keys wide
    if (i == 12)
        return Twips::rect(10680, 7080, 495, 495);   // ","
    return Twips::rect(9480 + 600 * (i % 4), 5280 + 600 * (i / 4), 495, 495);
}

} // namespace

BAR::BAR(Contexte* contexte, QWidget* parent)
    : QWidget(parent, Qt::Window), m_contexte(contexte)
{
    setObjectName(QStringLiteral("BAR"));
    setWindowTitle(QStringLiteral("Bar"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(Twips::enPixels(13695), Twips::enPixels(9135));

    dessin = new QLabel(this);
    dessin->setObjectName(QStringLiteral("dessin"));
    dessin->setGeometry(Twips::rect(120, 120, 13095, 8775));
    Fond = Habillage::CreerFond(this, Twips::rect(360, 360, 12000, 7695));

    Label2 = new QLabel(QStringLiteral("réservation : "), Fond);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(Twips::rect(240, 120, 975, 255));
    reservation = new QLabel(QStringLiteral("réservation"), Fond);
    reservation->setObjectName(QStringLiteral("reservation"));
    reservation->setGeometry(Twips::rect(1200, 120, 975, 255));
    // The caption must not run under the number when the font is wider than
    // the one the window was drawn for.
    Label2->resize(qMax(Label2->width(), Label2->sizeHint().width()), Label2->height());
    if (Label2->geometry().right() >= reservation->x())
        reservation->move(Label2->geometry().right() + 1, reservation->y());

    zoneArticles = new QScrollArea(Fond);
    zoneArticles->setObjectName(QStringLiteral("zoneArticles"));
    zoneArticles->setGeometry(kZoneArticles);
    zoneArticles->setFrameShape(QFrame::NoFrame);
    zoneArticles->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* style = new StyleBarreEtroite;
    style->setParent(zoneArticles);
    zoneArticles->verticalScrollBar()->setStyle(style);
    m_articles = new QWidget;
    m_articles->setObjectName(QStringLiteral("articles"));
    zoneArticles->setWidget(m_articles);
    zoneArticles->viewport()->setAutoFillBackground(false);
    m_articles->setAutoFillBackground(false);

    auto* modele = new BoutonEclaire(QStringLiteral("Consommation"), m_articles);
    modele->setObjectName(QStringLiteral("Consommation"));
    modele->setIndex(0);
    Consommation.append(modele);

    Ticket = new TicketDeCaisse(Fond);
    Ticket->setObjectName(QStringLiteral("Ticket"));
    Ticket->setGeometry(Twips::rect(9480, 240, 2415, 4455));

    R = new QLabel(QStringLiteral("Total"), Fond);
    R->setObjectName(QStringLiteral("R"));
    R->setGeometry(Twips::rect(9480, 4800, 495, 375));
    ecranVertSurNoir(R);
    afficheur = new QLineEdit(QStringLiteral("0.00"), Fond);
    afficheur->setObjectName(QStringLiteral("afficheur"));
    afficheur->setGeometry(Twips::rect(9960, 4800, 1815, 375));
    afficheur->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    afficheur->setFrame(false);
    ecranVertSurNoir(afficheur);
    QFont chiffres(QStringLiteral("DejaVu Sans"));
    chiffres.setPointSizeF(14.25);
    chiffres.setBold(true);
    afficheur->setFont(chiffres);
    afficheur->installEventFilter(this);
    connect(afficheur, &QLineEdit::textEdited, this, &BAR::afficheurModifie);

    construireClavier();

    infos = new QLabel(Fond);
    infos->setObjectName(QStringLiteral("infos"));
    infos->setGeometry(Twips::rect(240, 7290, 7815, 285));
    infos->setTextFormat(Qt::PlainText);

    Habillage::HabillerFenetre(dessin, Fond);
    chargerArticles();
    Ticket->init();
    nouvelleQuantite();
}

void BAR::construireClavier()
{
    for (int i = 0; i < int(std::size(kTouches)); ++i) {
        auto* touche = new xpcmdbutton(QString::fromLatin1(kTouches[i]), Fond);
        touche->setObjectName(QStringLiteral("calc"));
        touche->setIndex(i);
        touche->setGeometry(rectTouche(i));
        // The keypad leaves the focus (and the typed quantity) in the display.
        touche->setFocusPolicy(Qt::NoFocus);
        connect(touche, &xpcmdbutton::Click, this, &BAR::calc_Click);
        calc.append(touche);
    }
    encaissemnt = new xpcmdbutton(QStringLiteral("€"), Fond);
    encaissemnt->setObjectName(QStringLiteral("encaissemnt"));
    encaissemnt->setGeometry(Twips::rect(11280, 6480, 495, 1095));
    connect(encaissemnt, &xpcmdbutton::Click, this, &BAR::encaissemnt_Click);
    Quitter = new xpcmdbutton(QStringLiteral("Fermer"), Fond);
    Quitter->setObjectName(QStringLiteral("Quitter"));
    Quitter->setGeometry(Twips::rect(8400, 7320, 855, 255));
    connect(Quitter, &xpcmdbutton::Click, this, &QWidget::close);
}

void BAR::chargerArticles()
{
    QString erreur;
    const auto lus = RequetesBar::articles(m_contexte->BaseOuverte, &erreur);
    if (!lus || lus->isEmpty()) {
        Consommation.first()->hide();
        infos->setText(lus ? QStringLiteral("Aucun article")
                           : QStringLiteral("Les articles ne peuvent pas être lus : %1").arg(erreur));
        return;
    }
    const QList<QPoint> positions = Caisse::dispositionArticles(int(lus->size()));
    const QSize taille = Twips::rect(0, 0, Caisse::kTailleArticle.width(), Caisse::kTailleArticle.height()).size();
    int bas = 0;
    for (int i = 0; i < lus->size(); ++i) {
        Caisse::Article article = Caisse::lireArticle(lus->at(i).libelle, lus->at(i).prixTTC);
        article.tauxTVA = lus->at(i).tauxTVA;
        BoutonEclaire* bouton = i == 0 ? Consommation.first() : new BoutonEclaire(m_articles);
        if (i > 0) {
            bouton->setObjectName(QStringLiteral("Consommation"));
            bouton->setIndex(i);
            Consommation.append(bouton);
        }
        const QPoint p(Twips::enPixels(positions[i].x()) - kZoneArticles.x(),
                       Twips::enPixels(positions[i].y()) - kZoneArticles.y());
        bouton->setGeometry(QRect(p, taille));
        bouton->lbl->setTextFormat(Qt::PlainText);
        bouton->setCaption(Caisse::legendeArticle(article.libelle));
        bouton->setProperty("Tag", article.prix ? Caisse::textePrix(*article.prix) : QString());
        bouton->setToolTip(article.prix ? article.libelle
                                        : QStringLiteral("%1 : prix non valable").arg(article.libelle));
        bouton->setEnabled(article.prix.has_value());
        bouton->show();
        connect(bouton, &xpcmdbutton::Click, this, &BAR::Consommation_Click);
        connect(bouton, &xpcmdbutton::KeyPress, this, &BAR::Consommation_KeyPress);
        connect(bouton, &xpcmdbutton::MouseMove, this, [this, i] { Consommation_MouseMove(i); });
        m_catalogue.append(article);
        bas = qMax(bas, p.y() + taille.height());
    }
    m_articles->resize(kZoneArticles.width() - 10, bas + 4);
}

// The display starts a new quantity: "1", selected, so that typed digits
// replace it; `R` is emptied.
void BAR::nouvelleQuantite()
{
    afficherQuantite(QStringLiteral("1"), true);
}

// The display holds a quantity: its digits, after a "-" while a correction
// is armed. A new quantity has its digits selected, so that typing replaces
// them and keeps the "-".
void BAR::afficherQuantite(const QString& chiffres, bool neuve)
{
    afficheur->setText(m_annulation ? QStringLiteral("-") + chiffres : chiffres);
    if (neuve)
        selectionnerQuantite();
    else
        afficheur->end(false);
    R->clear();
    m_quantiteNeuve = neuve;
}

// The quantity's digits: the display's text without the correction's "-".
QString BAR::chiffresAffiches() const
{
    const QString texte = afficheur->text();
    return m_annulation && texte.startsWith(QLatin1Char('-')) ? texte.mid(1) : texte;
}

void BAR::selectionnerQuantite()
{
    const int debut = m_annulation && afficheur->text().startsWith(QLatin1Char('-')) ? 1 : 0;
    afficheur->setSelection(debut, int(afficheur->text().size()) - debut);
}

// Typing by hand may wipe the "-" of an armed correction: it comes back in
// front, the cursor staying after what was typed.
void BAR::afficheurModifie()
{
    m_quantiteNeuve = false;
    if (m_annulation && !afficheur->text().startsWith(QLatin1Char('-'))) {
        const int curseur = afficheur->cursorPosition();
        afficheur->setText(QStringLiteral("-") + afficheur->text());
        afficheur->setCursorPosition(curseur + 1);
    }
}

// "-" arms a correction: the next article clicked is taken back from the
// account instead of sold. "+" goes back to selling. The quantity typed so
// far stays; a shown total gives way to a new quantity.
void BAR::armerAnnulation(bool armer)
{
    if (m_annulation == armer)
        return;
    const bool neuve = m_quantiteNeuve || !R->text().isEmpty() || afficheur->hasSelectedText();
    const QString chiffres = R->text().isEmpty() ? chiffresAffiches() : QStringLiteral("1");
    m_annulation = armer;
    afficherQuantite(chiffres.isEmpty() ? QStringLiteral("1") : chiffres, neuve);
    infos->setText(armer ? QStringLiteral("Annulation : cliquez sur l'article vendu par erreur "
                                          "(touche + pour revenir à la vente).")
                         : QString());
}

void BAR::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_premierAffichage) {
        m_premierAffichage = false;
        afficheur->setFocus(Qt::OtherFocusReason);
    }
}

bool BAR::eventFilter(QObject* objet, QEvent* event)
{
    if (objet != afficheur)
        return QWidget::eventFilter(objet, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        nouvelleQuantite();
        // A click puts the cursor where it lands; select again once it has.
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
            QTimer::singleShot(0, this, [this] { selectionnerQuantite(); });
        break;
    case QEvent::MouseButtonRelease:
        // Clicked while it already had the focus: a shown total gives way to
        // a new quantity, and an untouched "1" stays selected.
        if (!R->text().isEmpty())
            nouvelleQuantite();
        else if (m_quantiteNeuve)
            selectionnerQuantite();
        break;
    case QEvent::KeyPress: {
        const QString texte = static_cast<QKeyEvent*>(event)->text();
        // "-" and "+" typed do what the keypad's keys do.
        if (texte == QLatin1String("-") || texte == QLatin1String("+")) {
            armerAnnulation(texte == QLatin1String("-"));
            return true;
        }
        // Typing over a shown total starts a new quantity.
        if (!R->text().isEmpty() && !texte.isEmpty() && texte.at(0).isPrint())
            nouvelleQuantite();
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(objet, event);
}

void BAR::Consommation_Click(int index)
{
    if (index < 0 || index >= m_catalogue.size() || !m_catalogue[index].prix)
        return;
    int quantite = 1;
    if (R->text().isEmpty()) {
        const auto lue = Caisse::lireQuantite(chiffresAffiches());
        if (!lue) {
            avertir(QStringLiteral("La quantité « ") + chiffresAffiches()
                    + QStringLiteral(" » n'est pas valable : tapez un nombre entier de %1 à %2, sans virgule.")
                          .arg(QString::number(Caisse::kQuantiteMin), QString::number(Caisse::kQuantiteMax)));
            selectionnerQuantite();
            m_quantiteNeuve = true;
            return;
        }
        quantite = *lue;
    }
    const auto numero = Caisse::numeroReservation(reservation->text());
    if (!numero) {
        avertir(m_annulation ? QStringLiteral("Aucune réservation n'est choisie : rien ne peut être annulé.")
                             : QStringLiteral("Aucune réservation n'est choisie : la vente ne peut pas être enregistrée."));
        return;
    }
    if (m_annulation)
        annulerVente(*numero, m_catalogue[index], quantite);
    else if (venteConfirmee(*numero))
        vendre(*numero, m_catalogue[index], quantite);
}

// A sale on the account of a guest who has left is most often a slip of
// the desk (the wrong reservation in the bar): asked once per stay while
// the window is open.
bool BAR::venteConfirmee(qint32 numero)
{
    if (m_partisConfirmes.contains(numero))
        return true;
    // A reservation that cannot be read is left to the sale's own write to report.
    const auto r = Requetes::reservation(m_contexte->BaseOuverte, numero);
    if (!r)
        return true;
    bool ok = false;
    const qint32 code = INI32::ProfilINI(QStringLiteral("reservation"), QStringLiteral("etat depart"), QString(),
                                         m_contexte->CheminINI, 1).trimmed().toInt(&ok);
    if (!Caisse::clientParti(r->etat, r->fin, ok ? std::optional<qint32>(code) : std::nullopt, Horloge::aujourdhui()))
        return true;
    const QString jour = r->fin.date().toString(QStringLiteral("dd/MM/yyyy"));
    const QString depart = r->fin.date() < Horloge::aujourdhui() ? QStringLiteral("départ le ") + jour
                                                                  : QStringLiteral("départ noté, prévu le ") + jour;
    const QString question = QStringLiteral("Le client %1 est parti (%2).\nEnregistrer quand même la vente sur son compte ?")
                                 .arg(r->nomclient.trimmed(), depart);
    if (!Fenetres::DemanderOuiNon(this, QStringLiteral("Bar"), question, false))
        return false;
    m_partisConfirmes.insert(numero);
    return true;
}

void BAR::vendre(qint32 numero, const Caisse::Article& article, int quantite)
{
    const Caisse::Vente vente = Caisse::vendre(article, quantite);
    // The sale is printed only once the account holds it.
    QString erreur;
    if (!Module1::EnregistrerOperationTVA(m_contexte->BaseOuverte, numero, -vente.montant, QString(),
                                          vente.libelleOperation, article.tauxTVA, &erreur)) {
        avertir(QStringLiteral("La vente n'a pas été enregistrée :\n") + erreur);
        return;
    }
    afficherVente(vente, vente.montant);
    Q_EMIT operationEnregistree(numero);
}

// A correction books the amount back (a positive row), and never more units
// than the account still holds of the article.
void BAR::annulerVente(qint32 numero, const Caisse::Article& article, int quantite)
{
    QString erreur;
    const auto compte = Module1::LireCompte(m_contexte->BaseOuverte, numero, &erreur);
    if (!compte) {
        avertir(QStringLiteral("Les ventes de ce compte ne peuvent pas être lues, rien n'est annulé :\n") + erreur);
        return;
    }
    const int vendus = Caisse::quantiteAnnulable(compte->libelles, article.libelle);
    if (quantite > vendus) {
        avertir(vendus == 0
                    ? QStringLiteral("Impossible d'annuler : aucun « ") + article.libelle
                          + QStringLiteral(" » vendu sur ce compte ne reste à annuler.")
                    : QStringLiteral("Impossible d'annuler plus que ce qui a été vendu : ") + QString::number(vendus)
                          + QStringLiteral(" x ") + article.libelle + QStringLiteral(" sur ce compte."));
        selectionnerQuantite();
        m_quantiteNeuve = true;
        return;
    }
    const Caisse::Vente annulation = Caisse::annuler(article, quantite);
    if (!Module1::EnregistrerOperationTVA(m_contexte->BaseOuverte, numero, annulation.montant, QString(),
                                          annulation.libelleOperation, article.tauxTVA, &erreur)) {
        avertir(QStringLiteral("L'annulation n'a pas été enregistrée :\n") + erreur);
        return;
    }
    // One correction per arming: the next click sells again.
    m_annulation = false;
    infos->clear();
    afficherVente(annulation, -annulation.montant);
    Q_EMIT operationEnregistree(numero);
}

// Prints a stored sale or correction and shows the new total.
void BAR::afficherVente(const Caisse::Vente& vente, double ajout)
{
    for (const QString& ligne : vente.lignesRecu)
        Ticket->AjoutTexte(ligne);
    totaldu = Conversion::ArrondiCentime(totaldu + ajout);
    afficheur->setText(Conversion::Monnaie(totaldu));
    R->setText(QStringLiteral("Total"));
    m_quantiteNeuve = true;
}

// Typing on an article button types into the display, as a new quantity.
void BAR::Consommation_KeyPress(int, int KeyAscii)
{
    afficheur->setFocus(Qt::OtherFocusReason);
    nouvelleQuantite();
    const QChar c(KeyAscii);
    QKeyEvent touche(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(afficheur, &touche);
    if (c != QLatin1Char('-') && c != QLatin1Char('+'))
        m_quantiteNeuve = false;
}

void BAR::Consommation_MouseMove(int index)
{
    if (index < 0 || index >= m_catalogue.size() || !m_catalogue[index].prix)
        return;
    infos->setText(m_catalogue[index].libelle + QStringLiteral(" : ") + Conversion::Monnaie(*m_catalogue[index].prix));
}

// The keypad types digits and the comma into the display; "-" arms a
// correction and "+" disarms it.
void BAR::calc_Click(int index)
{
    if (index < 0 || index >= calc.size())
        return;
    const QString touche = calc[index]->Caption();
    if (touche == QLatin1String("+") || touche == QLatin1String("-")) {
        armerAnnulation(touche == QLatin1String("-"));
        return;
    }
    if (m_quantiteNeuve || !R->text().isEmpty() || afficheur->hasSelectedText())
        afficherQuantite(touche, false);
    else
        afficherQuantite(chiffresAffiches() + touche, false);
}

void BAR::encaissemnt_Click()
{
    if (!m_paiement) {
        m_paiement = new Encaissement(m_contexte, this);
        connect(m_paiement, &Encaissement::operationEnregistree, this, &BAR::operationEnregistree);
    }
    m_paiement->reservation->setText(reservation->text());
    m_paiement->show();
    m_paiement->proposerMontantDu();
    m_paiement->raise();
    m_paiement->activateWindow();
}

void BAR::avertir(const QString& texte)
{
    QMessageBox::warning(this, QStringLiteral("Bar"), texte, QMessageBox::Ok);
}

void BAR::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted() && !m_fermee) {
        m_fermee = true;
        Q_EMIT fermee();
    }
}
