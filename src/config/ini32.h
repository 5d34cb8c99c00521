#pragma once
// Every setting of the program is read and written through ProfilINI.
#include <QString>

namespace INI32 {

// Reads or writes one setting.
//  fichier: empty = the program's configuration file; "$" + path = the
//           registry store (path\section, value name = cle); a bare name
//           without folder = the user's configuration folder; otherwise a path.
//  mode:    0 write (returns valeur); 1 read (valeur is the default);
//           2 read and write the default back when missing or empty.
// A value read is cut to 589 characters. Never fails.
QString ProfilINI(const QString& section, const QString& cle, const QString& valeur,
                  const QString& fichier, int mode);

// The file a non-registry file argument designates.
QString CheminFichier(const QString& fichier);

constexpr int kLongueurLue = 589;

} // namespace INI32
