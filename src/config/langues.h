#pragma once
// Translation of the interface texts through the configuration file: the
// first request of a French text writes it as its own translation into the
// language's section; an edited right-hand side is returned from then on.
#include <QString>

namespace Langues {

// Uses the configuration file set by fixerFichier (the start-up's CheminINI).
QString Traduire(const QString& texte);
// The same under a key of its own: the key an older INI file may translate
// stays, while a text mended since shows where the file has none (or holds
// the key itself, as the first request of an older program wrote it).
QString Traduire(const QString& cle, const QString& texte);
void fixerFichier(const QString& cheminINI);
// The current language ("Francais" after the first translation).
QString langueCourante();

} // namespace Langues
