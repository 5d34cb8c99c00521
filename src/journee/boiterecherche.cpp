#include "boiterecherche.h"

#include "store/contexte.h"
#include "store/dates.h"

#include <QAction>
#include <QColor>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>

namespace {

enum Colonne { Client, Unite, Arrivee, Depart, Etat, Numero, NombreColonnes };

// Under 100 ms from the last key to the results: this wait, then a search
// of a few milliseconds.
constexpr int kAttente = 60;
constexpr int kLimite = 50;

bool dans(const QWidget* conteneur, const QWidget* w)
{
    return w && (w == conteneur || conteneur->isAncestorOf(w));
}

// While the list shows, watches the whole program: a click anywhere but in
// the box, the list or the list's menu closes it, and so does Escape
// wherever it is typed (the calendar's grid…), which still goes on to the
// widget it was typed in.
class Gardien : public QObject
{
public:
    explicit Gardien(BoiteRecherche* boite) : QObject(boite), m_boite(boite) {}

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override
    {
        const QEvent::Type t = evenement->type();
        if (t != QEvent::MouseButtonPress && t != QEvent::MouseButtonDblClick && t != QEvent::KeyPress)
            return false;
        auto* w = qobject_cast<QWidget*>(objet);
        if (!w || dans(m_boite->champrecherche, w) || dans(m_boite->resultatsrecherche, w)
            || dans(m_boite->menuresultat, w))
            return false;
        if (t == QEvent::KeyPress && static_cast<QKeyEvent*>(evenement)->key() != Qt::Key_Escape)
            return false;
        m_boite->fermerResultats();
        return false;
    }

private:
    BoiteRecherche* m_boite;
};

} // namespace

BoiteRecherche::BoiteRecherche(Contexte* contexte, QWidget* hote, QWidget* parent)
    : QWidget(parent), m_contexte(contexte), m_hote(hote)
{
    setObjectName(QStringLiteral("BoiteRecherche"));
    champrecherche = new QLineEdit(this);
    champrecherche->setObjectName(QStringLiteral("champrecherche"));
    champrecherche->setPlaceholderText(QStringLiteral("Rechercher un client (Ctrl+F)"));
    champrecherche->setClearButtonEnabled(true);
    champrecherche->setMinimumWidth(220);
    champrecherche->installEventFilter(this);
    auto* disposition = new QHBoxLayout(this);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->addWidget(champrecherche);

    resultatsrecherche = new QTreeWidget(hote ? hote : this);
    resultatsrecherche->setObjectName(QStringLiteral("resultatsrecherche"));
    resultatsrecherche->setColumnCount(NombreColonnes);
    resultatsrecherche->setHeaderLabels({QStringLiteral("Client"), QStringLiteral("Unité"), QStringLiteral("Arrivée"),
                                         QStringLiteral("Départ"), QStringLiteral("État"), QStringLiteral("N°")});
    resultatsrecherche->setRootIsDecorated(false);
    resultatsrecherche->setUniformRowHeights(true);
    resultatsrecherche->setAllColumnsShowFocus(true);
    resultatsrecherche->setContextMenuPolicy(Qt::CustomContextMenu);
    resultatsrecherche->setColumnWidth(Client, 170);
    resultatsrecherche->setColumnWidth(Unite, 120);
    resultatsrecherche->setColumnWidth(Arrivee, 80);
    resultatsrecherche->setColumnWidth(Depart, 80);
    resultatsrecherche->setColumnWidth(Etat, 90);
    resultatsrecherche->installEventFilter(this);
    resultatsrecherche->hide();

    menuresultat = new QMenu(resultatsrecherche);
    menuresultat->setObjectName(QStringLiteral("menuresultat"));
    nouvellepourclient = menuresultat->addAction(QStringLiteral("Nouvelle réservation pour ce client"));
    nouvellepourclient->setObjectName(QStringLiteral("nouvellepourclient"));
    connect(nouvellepourclient, &QAction::triggered, this, [this] { nouvellePour(rangCourant()); });
    connect(resultatsrecherche, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        QTreeWidgetItem* item = resultatsrecherche->itemAt(p);
        if (!item || resultatsrecherche->indexOfTopLevelItem(item) >= m_resultats.size())
            return;
        resultatsrecherche->setCurrentItem(item);
        menuresultat->popup(resultatsrecherche->viewport()->mapToGlobal(p));
    });
    connect(resultatsrecherche, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { montrer(resultatsrecherche->indexOfTopLevelItem(item)); });

    m_gardien = new Gardien(this);

    minuterierecherche = new QTimer(this);
    minuterierecherche->setObjectName(QStringLiteral("minuterierecherche"));
    minuterierecherche->setSingleShot(true);
    minuterierecherche->setInterval(kAttente);
    connect(minuterierecherche, &QTimer::timeout, this, &BoiteRecherche::rechercher);
    connect(champrecherche, &QLineEdit::textChanged, minuterierecherche, qOverload<>(&QTimer::start));
}

void BoiteRecherche::rechercher()
{
    minuterierecherche->stop();
    const QString texte = champrecherche->text().trimmed();
    m_resultats.clear();
    resultatsrecherche->clear();
    if (texte.size() < 2 || !m_contexte || !m_contexte->BaseOuverte.isOpen()) {
        fermerResultats();
        return;
    }
    QString erreur;
    const auto trouves = RequetesJournee::rechercher(m_contexte->BaseOuverte, texte, kLimite, &erreur);
    if (trouves)
        m_resultats = *trouves;
    for (const RequetesJournee::Sejour& s : m_resultats) {
        QString client = s.client;
        client.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
        // A cancelled stay is still found, and says so instead of its state.
        const QString etat = s.annulee() ? QStringLiteral("Annulée") : s.etatTrouve ? s.nomEtat : QString();
        auto* item = new QTreeWidgetItem(resultatsrecherche,
            {client.trimmed(), s.unite.isEmpty() ? QString::number(s.objet) : s.unite, Dates::jjmmaaaa(s.debut.date()),
             Dates::jjmmaaaa(s.fin.date()), etat, QString::number(s.numero)});
        item->setToolTip(Client, QStringList({s.client, s.telephone.trimmed(), s.email.trimmed()}).join(QLatin1Char('\n')).trimmed());
        if (s.annulee()) {
            for (int c = 0; c < NombreColonnes; ++c)
                item->setForeground(c, QColor(128, 128, 128));
            item->setToolTip(Etat, QStringLiteral("Annulée le ") + Dates::jjmmaaaa(s.annulation.date()));
        }
    }
    if (m_resultats.isEmpty()) {
        const QString texteVide = trouves ? QStringLiteral("Aucune réservation trouvée")
                                          : QStringLiteral("La recherche a échoué : ") + erreur;
        auto* item = new QTreeWidgetItem(resultatsrecherche, {texteVide});
        item->setFlags(Qt::NoItemFlags);
        item->setFirstColumnSpanned(true);
    } else {
        resultatsrecherche->setCurrentItem(resultatsrecherche->topLevelItem(0));
    }
    placerResultats();
    resultatsrecherche->show();
    resultatsrecherche->raise();
    qApp->installEventFilter(m_gardien);
}

void BoiteRecherche::placerResultats()
{
    QWidget* hote = resultatsrecherche->parentWidget();
    const int largeur = 680;
    const int lignes = std::clamp(int(resultatsrecherche->topLevelItemCount()), 1, 12);
    const int hauteur = resultatsrecherche->header()->sizeHint().height() + lignes * 20 + 6;
    QPoint coin = champrecherche->mapTo(window(), QPoint(champrecherche->width(), champrecherche->height()));
    if (hote != window())
        coin = hote->mapFrom(window(), coin);
    int x = std::max(0, coin.x() - largeur);
    const int y = std::max(0, coin.y());
    resultatsrecherche->setGeometry(x, y, std::min(largeur, std::max(200, hote->width())), hauteur);
}

void BoiteRecherche::fermerResultats()
{
    qApp->removeEventFilter(m_gardien);
    resultatsrecherche->hide();
}

void BoiteRecherche::baseRemplacee()
{
    if (resultatsrecherche->isVisible()) {
        rechercher();
        return;
    }
    m_resultats.clear();
    resultatsrecherche->clear();
}

int BoiteRecherche::rangCourant() const
{
    return resultatsrecherche->currentItem() ? resultatsrecherche->indexOfTopLevelItem(resultatsrecherche->currentItem()) : -1;
}

const RequetesJournee::Sejour* BoiteRecherche::resultat(int rang) const
{
    return rang >= 0 && rang < m_resultats.size() ? &m_resultats[rang] : nullptr;
}

void BoiteRecherche::montrer(int rang)
{
    // The list goes so that the calendar shows; coming back to the box
    // brings it again.
    if (const auto* s = resultat(rang)) {
        fermerResultats();
        Q_EMIT montrerReservation(s->numero);
    }
}

void BoiteRecherche::ouvrir(int rang)
{
    if (const auto* s = resultat(rang)) {
        fermerResultats();
        Q_EMIT ouvrirReservation(s->numero);
    }
}

void BoiteRecherche::nouvellePour(int rang)
{
    if (const auto* s = resultat(rang)) {
        fermerResultats();
        Q_EMIT nouvelleReservation(s->client, s->telephone.trimmed(), s->email.trimmed());
    }
}

bool BoiteRecherche::eventFilter(QObject* objet, QEvent* evenement)
{
    // Coming back to the box brings the list again, when the user comes
    // (a click, Tab, Ctrl+F); not when a window that closed (the
    // reservation opened by Ctrl+Enter, a message) gives the focus back.
    if (objet == champrecherche && evenement->type() == QEvent::FocusIn && !resultatsrecherche->isVisible()
        && champrecherche->text().trimmed().size() >= 2) {
        const Qt::FocusReason raison = static_cast<QFocusEvent*>(evenement)->reason();
        if (raison == Qt::MouseFocusReason || raison == Qt::TabFocusReason || raison == Qt::BacktabFocusReason
            || raison == Qt::ShortcutFocusReason)
            QTimer::singleShot(0, this, &BoiteRecherche::rechercher);
    }
    if (evenement->type() != QEvent::KeyPress)
        return QWidget::eventFilter(objet, evenement);
    auto* touche = static_cast<QKeyEvent*>(evenement);
    const bool entree = touche->key() == Qt::Key_Return || touche->key() == Qt::Key_Enter;
    if (touche->key() == Qt::Key_Escape) {
        fermerResultats();
        champrecherche->setFocus();
        return true;
    }
    if (objet == champrecherche) {
        if (entree) {
            // A search still waiting runs first: Enter acts on what was typed.
            if (minuterierecherche->isActive() || !resultatsrecherche->isVisible())
                rechercher();
            const int rang = std::max(0, rangCourant());
            (touche->modifiers() & Qt::ControlModifier) ? ouvrir(rang) : montrer(rang);
            return true;
        }
        if ((touche->key() == Qt::Key_Down || touche->key() == Qt::Key_Up) && resultatsrecherche->isVisible()) {
            resultatsrecherche->setFocus();
            QCoreApplication::sendEvent(resultatsrecherche, evenement);
            return true;
        }
    } else if (objet == resultatsrecherche && entree) {
        (touche->modifiers() & Qt::ControlModifier) ? ouvrir(rangCourant()) : montrer(rangCourant());
        return true;
    }
    return QWidget::eventFilter(objet, evenement);
}
