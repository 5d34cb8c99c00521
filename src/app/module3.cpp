#include "module3.h"

#include <QComboBox>

namespace Module3 {

void DefinirHauteurListe(QComboBox* liste, int n)
{
    if (liste && n > 0)
        liste->setMaxVisibleItems(n);
}

} // namespace Module3
