#include "saveposition.h"

#include "chemins.h"
#include "ini32.h"
#include "positionfenetre.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {

const QString kPositions = QStringLiteral("Positions");
const QString kTaille = QStringLiteral("PositionsTaille");
const QString kVisible = QStringLiteral("Visible");

int etatFenetre(const QWidget* fenetre)
{
    const Qt::WindowStates etat = fenetre->windowState();
    if (etat & Qt::WindowMinimized)
        return 1;
    if (etat & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return 2;
    return 0;
}

QRect geometrie(const QWidget* fenetre)
{
    return QRect(fenetre->pos(), fenetre->size());
}

} // namespace

SavePosition::SavePosition(QObject* parent)
    : QObject(parent),
      m_fichier(Chemins::dansDossier(Chemins::nomExecutable() + QStringLiteral(".ini"))),
      m_section(QStringLiteral("default"))
{
    setObjectName(QStringLiteral("SavePosition1"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &SavePosition::Timer1_Timer);
    // Without a section of its own, the keeper files under its window's name.
    if (auto* porteuse = qobject_cast<QWidget*>(parent); porteuse && !porteuse->objectName().isEmpty())
        m_section = porteuse->objectName();
}

void SavePosition::init(QWidget* Fenetre, const QString& FichierINI, const QString& Section_INI)
{
    suivre(Fenetre);
    if (!FichierINI.isEmpty())
        m_fichier = FichierINI;
    m_section = Section_INI;
    Timer1->start();
    restaurer();
    // A window already on screen is where it belongs: the first look only
    // records it. (One still hidden is put back again when it first shows,
    // where the windowing system may have placed it otherwise.)
    if (m_fenetre && m_fenetre->isVisible()) {
        m_montre = true;
        m_restaure = true;
    }
}

void SavePosition::Timer1_Timer()
{
    if (!m_restaure) {
        // First look: the window that carries the keeper, unless init
        // already named one, is put back where the file says.
        if (!m_fenetre)
            suivre(qobject_cast<QWidget*>(parent()));
        if (!m_fenetre)
            return;
        Timer1->start();
        restaurer();
        m_restaure = true;
        return;
    }
    if (!m_fenetre) {
        Timer1->stop();
        return;
    }

    const QRect actuelle = geometrie(m_fenetre);
    const int etat = etatFenetre(m_fenetre);
    // Minimising leaves the coordinates as they were: the state is compared too.
    if (actuelle != m_derniere || etat != m_dernierEtat) {
        ecrire(kTaille, QString::number(etat));
        m_dernierEtat = etat;
        // Only the normal state's position is kept, so that a window
        // restored from minimised or maximised comes back there.
        if (etat == 0) {
            ecrire(kPositions, PositionFenetre::EcrirePositions(actuelle));
            m_derniere = actuelle;
        }
    }

    const bool visible = m_fenetre->isVisible();
    if (visible != m_dernierVisible) {
        ecrire(kVisible, visible ? QStringLiteral("OUI") : QStringLiteral("NON"));
        m_dernierVisible = visible;
    }
}

bool SavePosition::eventFilter(QObject* objet, QEvent* event)
{
    // The first showing of the window takes the first look at once
    // instead of a second later.
    if (objet == m_fenetre && event->type() == QEvent::Show && !m_montre && !m_enRestauration) {
        m_montre = true;
        Timer1_Timer();
    }
    return QObject::eventFilter(objet, event);
}

void SavePosition::suivre(QWidget* fenetre)
{
    if (m_fenetre == fenetre)
        return;
    if (m_fenetre)
        m_fenetre->removeEventFilter(this);
    m_fenetre = fenetre;
    if (m_fenetre)
        m_fenetre->installEventFilter(this);
}

bool SavePosition::positionsEnregistrees() const
{
    return PositionFenetre::LirePositions(lire(kPositions, QStringLiteral("0"))).has_value();
}

bool SavePosition::restaurerPositions()
{
    if (!m_fenetre)
        return false;
    const auto stockee = PositionFenetre::LirePositions(lire(kPositions, QStringLiteral("0")));
    if (!stockee)
        return false;
    // The last values are those of the file: a correction made below is
    // written back at the next look.
    m_derniere = *stockee;
    // The normal state first: a window moved while maximised would be drawn
    // at the stored size yet stay marked maximised, and come back to its
    // old place when restored. The stored state is set again afterwards.
    const Qt::WindowStates plein = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    if (m_fenetre->windowState() & plein)
        m_fenetre->setWindowState(m_fenetre->windowState() & ~plein);
    // Never smaller than the window can be used at (its layout's minimum).
    const QSize minimum = PositionFenetre::kTailleMinimale.expandedTo(m_fenetre->minimumSize())
                              .expandedTo(m_fenetre->minimumSizeHint());
    const QRect r = PositionFenetre::Corriger(*stockee, zones(), minimum);
    m_fenetre->move(r.topLeft());
    m_fenetre->resize(r.size());

    return true;
}

void SavePosition::restaurer()
{
    if (!m_fenetre)
        return;
    // A sub-window hides and shows itself while its state changes: that
    // showing is not its first one.
    const QScopedValueRollback<bool> enCours(m_enRestauration, true);
    // Without a stored state the window keeps the one it had.
    const int etatActuel = etatFenetre(m_fenetre);
    restaurerPositions();
    restaurerEtat(etatActuel);
}

void SavePosition::restaurerEtat(int etatParDefaut)
{
    if (!m_fenetre)
        return;
    const auto etat = PositionFenetre::LireEtat(lire(kTaille, QString::number(etatParDefaut)));
    if (!etat)
        return;
    Qt::WindowStates voulu = m_fenetre->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    if (*etat == 1)
        voulu |= Qt::WindowMinimized;
    else if (*etat == 2)
        voulu |= Qt::WindowMaximized;
    m_fenetre->setWindowState(voulu);
}

QString SavePosition::lire(const QString& cle, const QString& defaut) const
{
    return INI32::ProfilINI(m_section, cle, defaut, m_fichier, 1);
}

void SavePosition::ecrire(const QString& cle, const QString& valeur) const
{
    INI32::ProfilINI(m_section, cle, valeur, m_fichier, 0);
}

QList<QRect> SavePosition::zones() const
{
    QList<QRect> resultat;
    if (!m_fenetre->isWindow()) {
        if (QWidget* parent = m_fenetre->parentWidget()) {
            QRect zone = parent->rect();
            // A frame marked maximised whose window manager has not grown it
            // yet: its inner window gets the room the frame is about to have.
            const QWidget* cadre = m_fenetre->window();
            if (cadre->isMaximized() && cadre->screen()) {
                const QSize croissance = cadre->screen()->availableGeometry().size() - cadre->frameGeometry().size();
                zone.setSize(zone.size() + croissance.expandedTo(QSize(0, 0)));
            }
            resultat << zone;
        }
        return resultat;
    }
    // The main screen first: a window found on no screen comes back there.
    if (QScreen* principal = QGuiApplication::primaryScreen())
        resultat << principal->availableGeometry();
    for (QScreen* ecran : QGuiApplication::screens())
        if (ecran != QGuiApplication::primaryScreen())
            resultat << ecran->availableGeometry();
    return resultat;
}
