#pragma once
// Registry paths: "ROOT\sub\key" read and written as one text value.
#include <QString>
#include <utility>

namespace Registre {

// Root constant of the part before the first '\' (upper-cased), 0 when it
// names no root; and the subkey after it.
std::pair<quint32, QString> DecouperChemin(const QString& chemin);

// "" when the key, the value or the root is missing. Never reports errors.
QString LireRegistre(const QString& chemin, const QString& nom);
// Creates missing keys. A refused write is silently lost.
void EcrireRegistre(const QString& chemin, const QString& nom, const QString& valeur);

} // namespace Registre
