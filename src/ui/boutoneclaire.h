#pragma once
// The article button of the bar window: the same skinned button as
// xpcmdbutton, whose events carry the control's own identifiers 1 to 8
// instead of the windowing system's standard ones.
#include "xpcmdbutton.h"

class BoutonEclaire : public xpcmdbutton
{
    Q_OBJECT
public:
    explicit BoutonEclaire(QWidget* parent = nullptr);
    explicit BoutonEclaire(const QString& caption, QWidget* parent = nullptr);

    int IdentifiantEvenement(Evenement evenement) const override;
};
