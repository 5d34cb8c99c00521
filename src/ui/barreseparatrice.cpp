#include "barreseparatrice.h"

#include "config/ini32.h"
#include "store/conversion.h"
#include "ui/twips.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace {

// Room the layout keeps between the left pane's edge and the right pane.
constexpr int kEcartDroite = 6;

// Left edge of a widget on the screen.
int gaucheEcran(const QWidget* w)
{
    return w->mapToGlobal(QPoint(0, 0)).x();
}

} // namespace

BarreSeparatrice::BarreSeparatrice(QWidget* parent)
    : QWidget(parent)
    , Clignotement(new QTimer(this))
    , m_couleur(couleurRepos())
{
    // The bar is always 50 twips wide, whatever its host asks.
    setFixedWidth(Twips::enPixels(kLargeurTwips));
    setMouseTracking(true);
    setCursor(Qt::SizeHorCursor);
    Clignotement->setObjectName(QStringLiteral("Clignotement"));
    Clignotement->setInterval(100);
    connect(Clignotement, &QTimer::timeout, this, &BarreSeparatrice::Clignotement_Timer);
}

void BarreSeparatrice::Controle_GAUCHEDROITE(QWidget* gauche, QWidget* droite, qint32 positionorigine,
                                             QWidget* control_parent)
{
    m_gauche = gauche;
    m_droite = droite;
    m_parent = control_parent;
    m_nonConfiguree = false;
    if (m_gauche)
        m_gauche->resize(std::max(0, Twips::enPixels(positionorigine)), m_gauche->height());
    REFRESHING();
}

void BarreSeparatrice::Controle_GAUCHEDROITE_avecMEMOIRE(QWidget* gauche, QWidget* droite,
                                                         QWidget* control_parent, const QString& rubrique,
                                                         const QString& variable, const QString& fichier)
{
    m_gauche = gauche;
    m_droite = droite;
    m_parent = control_parent;
    IO_rubrique = rubrique;
    IO_variable = variable;
    IO_fichier = fichier;
    m_nonConfiguree = false;
    if (m_gauche) {
        const QString defaut = QString::number(m_gauche->width() * Twips::kParPixel);
        const QString lu = INI32::ProfilINI(IO_rubrique, IO_variable, defaut, IO_fichier, 2);
        // A remembered width that no longer fits would push the bar out of
        // reach for good: keep it inside the container.
        double largeur = Conversion::LireNombre(lu) / Twips::kParPixel;
        const QWidget* conteneur = m_gauche->parentWidget();
        if (conteneur && conteneur->width() > 0)
            largeur = std::min(largeur, double(std::max(0, conteneur->width() - 1 - kEcartDroite)));
        largeur = std::max(0.0, largeur);
        m_gauche->setGeometry(0, m_gauche->y(), int(largeur), m_gauche->height());
    }
    REFRESHING();
}

void BarreSeparatrice::REFRESHING()
{
    if (m_nonConfiguree || !m_gauche)
        return;
    // Against the left pane's right edge, reaching far above and below the
    // container so that it always spans its whole height.
    QPoint bord(m_gauche->x() + m_gauche->width() + 1, 0);
    if (m_gauche->parentWidget() && parentWidget() && m_gauche->parentWidget() != parentWidget())
        bord = parentWidget()->mapFromGlobal(m_gauche->parentWidget()->mapToGlobal(bord));
    const QScreen* ecran = screen();
    const int hauteur = (ecran ? ecran->geometry().height() : 768) * Twips::kParPixel;
    setGeometry(bord.x(), -hauteur, 5, 3 * hauteur);

    appuye = true;
    deplacementSouris(Qt::NoButton);
    envoyerPanneauxDerriere();
}

void BarreSeparatrice::deplacementSouris(Qt::MouseButtons boutons)
{
    if (boutons != Qt::NoButton)
        return;
    if (appuye) {
        disposerPanneaux();
        return;
    }
    // The pointer passes over the idle bar: blink five ticks. A running
    // blink is not restarted, so that a pointer moving on keeps it going.
    m_compteur = 5;
    if (!Clignotement->isActive())
        Clignotement->start();
}

void BarreSeparatrice::disposerPanneaux()
{
    appuye = false;
    if (!m_gauche || !m_droite)
        return;
    const int ecart = gaucheEcran(this) - gaucheEcran(m_gauche);
    const int hauteur = m_parent ? m_parent->height() : m_gauche->height();
    m_gauche->setGeometry(0, 0, std::max(0, ecart - 1), hauteur);
    const int xDroite = ecart + kEcartDroite;
    const int largeurConteneur = m_droite->parentWidget() ? m_droite->parentWidget()->width() : 0;
    m_droite->setGeometry(xDroite, 0, std::max(0, largeurConteneur - xDroite), hauteur);

    // Keep a Changed handler that lays out again from re-entering.
    m_nonConfiguree = true;
    PositionReelle = (m_gauche->x() + m_gauche->width()) * Twips::kParPixel;
    if (!IO_fichier.isEmpty())
        INI32::ProfilINI(IO_rubrique, IO_variable, QString::number(PositionReelle), IO_fichier, 0);
    emit Changed();
    m_nonConfiguree = false;
}

void BarreSeparatrice::envoyerPanneauxDerriere()
{
    if (m_gauche)
        m_gauche->lower();
    if (m_droite)
        m_droite->lower();
    raise();
}

void BarreSeparatrice::Clignotement_Timer()
{
    if (m_compteur < 1)
        return;
    m_couleur = (m_couleur != QColor(0, 0, 0)) ? QColor(0, 0, 0) : couleurRepos();
    --m_compteur;
    if (m_compteur == 0) {
        m_couleur = couleurRepos();
        Clignotement->stop();
    }
    update();
}

void BarreSeparatrice::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_couleur);
}

void BarreSeparatrice::mousePressEvent(QMouseEvent* e)
{
    // A bar without panes has nothing to share: it is not dragged.
    if (e->button() != Qt::LeftButton || m_nonConfiguree)
        return;
    appuye = true;
    envoyerPanneauxDerriere();
    m_glisse = true;
    m_prise = int(e->position().x());
}

void BarreSeparatrice::mouseMoveEvent(QMouseEvent* e)
{
    if (e->buttons() == Qt::NoButton) {
        deplacementSouris(Qt::NoButton);
        return;
    }
    if (!m_glisse || !parentWidget())
        return;
    // The bar follows the pointer sideways and stays inside its container.
    const int x = mapToParent(e->position().toPoint()).x() - m_prise;
    const int maxi = std::max(0, parentWidget()->width() - width());
    move(std::clamp(x, 0, maxi), y());
}

void BarreSeparatrice::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !m_glisse)
        return;
    m_glisse = false;
    // The drag is over: lay the panes out against the bar's new place.
    deplacementSouris(Qt::NoButton);
}
