#pragma once
class QComboBox;

namespace Module3 {

// Makes the drop-down list of a combo box tall enough for n items.
void DefinirHauteurListe(QComboBox* liste, int n);

} // namespace Module3
