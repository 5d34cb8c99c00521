#include "fenetres.h"

#include <QMessageBox>
#include <QPushButton>

#include "store/conversion.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace Fenetres {

QPoint PositionCentree(const QSize& ecran, const QSize& fenetre)
{
    const double gauche = Conversion::Maximum((ecran.width() - fenetre.width()) / 2, 0);
    const double haut = Conversion::Maximum((ecran.height() - fenetre.height()) / 2, 0);
    return QPoint(int(gauche), int(haut));
}

void PlacerFenetre(QWidget* fenetre)
{
    QScreen* ecran = fenetre->screen() ? fenetre->screen() : QGuiApplication::primaryScreen();
    if (!ecran)
        return;
    const QRect zone = ecran->geometry();
    const QSize taille = fenetre->frameGeometry().size();
    fenetre->move(zone.topLeft() + PositionCentree(zone.size(), taille));
}

bool DemanderOuiNon(QWidget* parent, const QString& titre, const QString& question, bool ouiParDefaut)
{
    QMessageBox boite(QMessageBox::Question, titre, question, QMessageBox::Yes | QMessageBox::No, parent);
    boite.button(QMessageBox::Yes)->setText(QStringLiteral("Oui"));
    boite.button(QMessageBox::No)->setText(QStringLiteral("Non"));
    boite.setDefaultButton(ouiParDefaut ? QMessageBox::Yes : QMessageBox::No);
    boite.setEscapeButton(QMessageBox::No);
    return boite.exec() == QMessageBox::Yes;
}

} // namespace Fenetres
