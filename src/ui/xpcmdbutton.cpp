#include "xpcmdbutton.h"

#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcutEvent>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTimer>

namespace {

QPoint entier(const QPointF& p)
{
    return p.toPoint();
}

} // namespace

xpcmdbutton::xpcmdbutton(QWidget* parent)
    : xpcmdbutton(QString(), parent)
{
}

xpcmdbutton::xpcmdbutton(const QString& caption, QWidget* parent)
    : QWidget(parent),
      pc(HabillageBouton::Image(), 1, HabillageBouton::kNbCellules)
{
    construire(caption);
}

void xpcmdbutton::construire(const QString& caption)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);

    lbl = new QLabel(this);
    lbl->setObjectName(QStringLiteral("lbl"));
    lbl->setAlignment(Qt::AlignCenter);
    lbl->setAttribute(Qt::WA_TranslucentBackground);
    lbl->setAutoFillBackground(false);
    lbl->setMouseTracking(true);
    // With the button as buddy the label underlines the access key and
    // registers it; the filter below turns it into a click.
    lbl->setBuddy(this);
    lbl->installEventFilter(this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &xpcmdbutton::Timer1_Timer);

    resize(75, 23);
    setCaption(caption);
    appliquerCouleurLegende();
    Redessiner();
}

QString xpcmdbutton::Caption() const
{
    return lbl->text();
}

void xpcmdbutton::setCaption(const QString& vNewCaption)
{
    lbl->setText(vNewCaption);
    centrerLegende();
    updateGeometry();
}

void xpcmdbutton::setState(qint32 vNewValue)
{
    m_state = vNewValue;
    Redessiner();
}

QColor xpcmdbutton::CouleurLegende(bool actif)
{
    return actif ? QColor(0, 0, 0) : QColor(161, 161, 146);
}

int xpcmdbutton::IdentifiantEvenement(Evenement evenement) const
{
    // The windowing system's standard identifiers; MouseOut is the
    // control's own.
    switch (evenement) {
    case Evenement::Click: return -600;
    case Evenement::KeyDown: return -602;
    case Evenement::KeyPress: return -603;
    case Evenement::KeyUp: return -604;
    case Evenement::MouseOut: return 1;
    case Evenement::MouseDown: return -605;
    case Evenement::MouseMove: return -606;
    case Evenement::MouseUp: return -607;
    }
    return 0;
}

void xpcmdbutton::Redessiner()
{
    if (m_state == 1)
        m_base = HabillageBouton::Eclairee;
    else if (m_state == 0)
        m_base = HabillageBouton::Normale;
    DessinerEtat(isEnabled() ? m_base : HabillageBouton::Desactivee);
}

void xpcmdbutton::DessinerEtat(int cellule)
{
    if (cellule < 0 || cellule >= HabillageBouton::kNbCellules || cellule == m_cellule)
        return;
    m_cellule = cellule;
    update();
}

bool xpcmdbutton::PointDedans(const QPoint& p, const QSize& taille)
{
    return p.x() >= 0 && p.y() >= 0 && p.x() <= taille.width() && p.y() <= taille.height();
}

void xpcmdbutton::Timer1_Timer()
{
    if (PointDedans(mapFromGlobal(QCursor::pos()), size()))
        return;
    Timer1->stop();
    QPointer<xpcmdbutton> garde(this);
    Q_EMIT MouseOut(m_index);
    if (garde)
        Redessiner();
}

QSize xpcmdbutton::sizeHint() const
{
    const QSize texte = lbl->sizeHint();
    return QSize(std::max(75, texte.width() + 16), std::max(23, texte.height() + 8));
}

QSize xpcmdbutton::minimumSizeHint() const
{
    return QSize(2 * HabillageBouton::kMarge, 2 * HabillageBouton::kMarge);
}

void xpcmdbutton::paintEvent(QPaintEvent*)
{
    if (m_celluleSurface != m_cellule || m_tailleSurface != size()) {
        m_surface = HabillageBouton::Etirer(pc.GraphicCell(m_cellule), size());
        m_celluleSurface = m_cellule;
        m_tailleSurface = size();
    }
    QPainter p(this);
    p.drawImage(0, 0, m_surface);
    const int m = HabillageBouton::kMarge;
    if (hasFocus() && width() > 4 * m && height() > 4 * m) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(m, m, -m, -m);
        option.backgroundColor = QColor(243, 243, 239);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
    }
}

void xpcmdbutton::resizeEvent(QResizeEvent* event)
{
    Redessiner();
    centrerLegende();
    QWidget::resizeEvent(event);
}

void xpcmdbutton::showEvent(QShowEvent* event)
{
    Redessiner();
    QWidget::showEvent(event);
}

void xpcmdbutton::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        if (!isEnabled())
            m_appuiGauche = false;
        Redessiner();
        appliquerCouleurLegende();
        break;
    case QEvent::FontChange:
        // The caption follows the button's font and is centred again.
        lbl->setFont(font());
        centrerLegende();
        updateGeometry();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void xpcmdbutton::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void xpcmdbutton::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

void xpcmdbutton::mousePressEvent(QMouseEvent* event)
{
    appui(event, entier(event->position()));
}

void xpcmdbutton::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = entier(event->position());
    deplacement(event, p, p);
}

void xpcmdbutton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = entier(event->position());
    relachement(event, p, p);
}

void xpcmdbutton::keyPressEvent(QKeyEvent* event)
{
    QPointer<xpcmdbutton> garde(this);
    Q_EMIT KeyDown(m_index, event->key(), event->modifiers());
    if (garde && !event->text().isEmpty() && event->text().at(0).isPrint())
        Q_EMIT KeyPress(m_index, event->text().at(0).unicode());
    // Passed on: the window still sees Escape, Enter or its own shortcuts.
    if (garde)
        QWidget::keyPressEvent(event);
}

void xpcmdbutton::keyReleaseEvent(QKeyEvent* event)
{
    QPointer<xpcmdbutton> garde(this);
    Q_EMIT KeyUp(m_index, event->key(), event->modifiers());
    if (garde)
        QWidget::keyReleaseEvent(event);
}

bool xpcmdbutton::eventFilter(QObject* objet, QEvent* event)
{
    if (objet != lbl)
        return QWidget::eventFilter(objet, event);
    // A disabled button takes no pointer input, through its caption either.
    if (!isEnabled())
        return false;
    switch (event->type()) {
    case QEvent::Shortcut: {
        // Two buttons sharing an access key: the key moves the focus
        // between them instead of clicking one at random.
        if (static_cast<QShortcutEvent*>(event)->isAmbiguous())
            setFocus(Qt::ShortcutFocusReason);
        else
            Q_EMIT Click(m_index);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* souris = static_cast<QMouseEvent*>(event);
        appui(souris, entier(souris->position()));
        return true;
    }
    case QEvent::MouseMove: {
        auto* souris = static_cast<QMouseEvent*>(event);
        const QPoint p = entier(souris->position());
        deplacement(souris, p, lbl->mapTo(this, p));
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* souris = static_cast<QMouseEvent*>(event);
        const QPoint p = entier(souris->position());
        relachement(souris, p, lbl->mapTo(this, p));
        return true;
    }
    default:
        return false;
    }
}

void xpcmdbutton::appui(QMouseEvent* event, const QPoint& signale)
{
    if (event->button() == Qt::LeftButton)
        m_appuiGauche = true;
    QPointer<xpcmdbutton> garde(this);
    Q_EMIT MouseDown(m_index, event->button(), event->modifiers(), signale.x(), signale.y());
    if (garde)
        DessinerEtat(HabillageBouton::Enfoncee);
}

void xpcmdbutton::deplacement(QMouseEvent* event, const QPoint& signale, const QPoint& local)
{
    Timer1->start();
    // A move outside comes only while a press holds the pointer: nothing
    // is raised or drawn, the timer brings the base look back.
    if (!PointDedans(local, size()))
        return;
    QPointer<xpcmdbutton> garde(this);
    Q_EMIT MouseMove(m_index, event->buttons(), event->modifiers(), signale.x(), signale.y());
    if (garde)
        DessinerEtat(event->buttons() == Qt::LeftButton ? HabillageBouton::Enfoncee : HabillageBouton::Survolee);
}

void xpcmdbutton::relachement(QMouseEvent* event, const QPoint& signale, const QPoint& local)
{
    const bool clic = event->button() == Qt::LeftButton && m_appuiGauche && PointDedans(local, size());
    if (event->button() == Qt::LeftButton)
        m_appuiGauche = false;
    QPointer<xpcmdbutton> garde(this);
    Q_EMIT MouseUp(m_index, event->button(), event->modifiers(), signale.x(), signale.y());
    if (!garde)
        return;
    Redessiner();
    if (clic && isEnabled())
        Q_EMIT Click(m_index);
}

void xpcmdbutton::centrerLegende()
{
    lbl->adjustSize();
    lbl->move((width() - lbl->width()) / 2, (height() - lbl->height()) / 2);
}

void xpcmdbutton::appliquerCouleurLegende()
{
    QPalette palette = lbl->palette();
    const QColor couleur = CouleurLegende(isEnabled());
    for (auto groupe : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(groupe, QPalette::WindowText, couleur);
    lbl->setPalette(palette);
}
