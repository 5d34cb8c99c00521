#include "boutoneclaire.h"

BoutonEclaire::BoutonEclaire(QWidget* parent)
    : xpcmdbutton(parent)
{
}

BoutonEclaire::BoutonEclaire(const QString& caption, QWidget* parent)
    : xpcmdbutton(caption, parent)
{
}

int BoutonEclaire::IdentifiantEvenement(Evenement evenement) const
{
    // Numbered in the order the events are declared.
    switch (evenement) {
    case Evenement::Click: return 1;
    case Evenement::KeyDown: return 2;
    case Evenement::KeyPress: return 3;
    case Evenement::KeyUp: return 4;
    case Evenement::MouseOut: return 5;
    case Evenement::MouseDown: return 6;
    case Evenement::MouseMove: return 7;
    case Evenement::MouseUp: return 8;
    }
    return 0;
}
