#include "ticketdecaisse.h"

#include "miseenpageticket.h"
#include "ui/twips.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {

// The paper: it keeps every line it was given and paints them on each
// repaint, so nothing is lost when it is covered or resized.
class RubanTicket : public QWidget
{
public:
    struct Ligne {
        QString texte;
        int x = 0;
        int y = 0;
        int hauteur = 0;
    };

    explicit RubanTicket(QWidget* parent) : QWidget(parent)
    {
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Base);
        QFont police = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        police.setPointSizeF(8.25);
        police.setBold(false);
        setFont(police);
    }

    void effacer()
    {
        m_lignes.clear();
        update();
    }

    void ajouter(const Ligne& ligne)
    {
        m_lignes.append(ligne);
        update(QRect(0, ligne.y, width(), ligne.hauteur));
    }

    const QList<Ligne>& lignes() const { return m_lignes; }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter p(this);
        p.setClipRect(event->rect());
        p.setPen(palette().color(QPalette::Text));
        const QFontMetrics fm(font());
        for (const Ligne& l : m_lignes) {
            if (l.y + l.hauteur < event->rect().top() || l.y > event->rect().bottom())
                continue;
            const QStringList morceaux = QString(l.texte).replace(QLatin1String("\r\n"), QLatin1String("\n"))
                                             .replace(QLatin1Char('\r'), QLatin1Char('\n'))
                                             .split(QLatin1Char('\n'));
            const int pas = l.hauteur / int(morceaux.size());
            for (int i = 0; i < morceaux.size(); ++i)
                p.drawText(l.x, l.y + i * pas + fm.ascent(), morceaux.at(i));
        }
    }

private:
    QList<Ligne> m_lignes;
};

} // namespace

TicketDeCaisse::TicketDeCaisse(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TicketDeCaisse"));
    setAutoFillBackground(true);
    QPalette fond = palette();
    fond.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(fond);
    // Lines are measured with a plain 8-point sans-serif font.
    QFont mesure = font();
    mesure.setPointSizeF(8);
    setFont(mesure);

    Ruban = new RubanTicket(this);
    Ruban->setObjectName(QStringLiteral("Ruban"));
    haut = new QWidget(this);
    haut->setObjectName(QStringLiteral("haut"));
    bas = new QWidget(this);
    bas->setObjectName(QStringLiteral("bas"));
    for (QWidget* bande : {haut, bas}) {
        bande->setAutoFillBackground(true);
        bande->setBackgroundRole(QPalette::Button);
        bande->resize(0, Twips::enPixels(135));
        bande->installEventFilter(this);
        bande->raise();   // the strips lie over the ribbon
    }

    Scrolleur = new QTimer(this);
    Scrolleur->setObjectName(QStringLiteral("Scrolleur"));
    Scrolleur->setInterval(100);
    connect(Scrolleur, &QTimer::timeout, this, &TicketDeCaisse::Scrolleur_Timer);
    repositionnement = new QTimer(this);
    repositionnement->setObjectName(QStringLiteral("repositionnement"));
    repositionnement->setInterval(100);
    connect(repositionnement, &QTimer::timeout, this, &TicketDeCaisse::repositionnement_Timer);

    resize(Twips::enPixels(4800), Twips::enPixels(3600));
    Ruban->setGeometry(marge, 0, width() - 2 * marge, height());
    disposer();
}

void TicketDeCaisse::init()
{
    auto* ruban = static_cast<RubanTicket*>(Ruban);
    ruban->effacer();
    Ruban->resize(Ruban->width(), MiseEnPageTicket::kHauteurVide);
    aligner();
}

void TicketDeCaisse::AjoutTexte(const QString& Texte)
{
    const int h = QFontMetrics(font()).height() * MiseEnPageTicket::nombreDeLignes(Texte);
    const auto ajout = MiseEnPageTicket::ajouter(Ruban->height(), h, interligne);
    Ruban->resize(Ruban->width(), ajout.hauteurRuban);
    static_cast<RubanTicket*>(Ruban)->ajouter({Texte, ajout.x, ajout.y, h});
    aligner();
}

QStringList TicketDeCaisse::Lignes() const
{
    QStringList textes;
    for (const auto& l : static_cast<const RubanTicket*>(Ruban)->lignes())
        textes.append(l.texte);
    return textes;
}

// Switches the re-alignment on, with the new line in view at once rather
// than one tick later.
void TicketDeCaisse::aligner()
{
    // A hidden control gets its resize event only when shown: lay it out now.
    disposer();
    repositionnement->setInterval(100);
    repositionnement->start();
    repositionnement_Timer();
}

void TicketDeCaisse::repositionnement_Timer()
{
    const auto haut = MiseEnPageTicket::realigner(Ruban->y(), height(), Ruban->height(), bas->height());
    if (!haut) {
        // In place: keep watching, but at a quieter pace.
        repositionnement->setInterval(1000);
        return;
    }
    Ruban->move(Ruban->x(), *haut);
}

void TicketDeCaisse::Scrolleur_Timer()
{
    Ruban->move(Ruban->x(), MiseEnPageTicket::defiler(Ruban->y(), pasdefilement));
}

void TicketDeCaisse::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    disposer();
}

void TicketDeCaisse::disposer()
{
    const auto d = MiseEnPageTicket::disposer(size(), marge, Ruban->geometry(), haut->height(), bas->height());
    Ruban->setGeometry(d.ruban);
    haut->setGeometry(d.haut);
    bas->setGeometry(d.bas);
}

bool TicketDeCaisse::eventFilter(QObject* objet, QEvent* event)
{
    if (objet == haut || objet == bas) {
        if (event->type() == QEvent::MouseButtonPress) {
            pasdefilement = objet == bas ? 15 : -15;
            Scrolleur->start();
            repositionnement->stop();
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            Scrolleur->stop();
            return true;
        }
    }
    return QWidget::eventFilter(objet, event);
}
