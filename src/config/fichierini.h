#pragma once
// An INI file read and written the way the profile functions of the
// original platform do: section and key names match without regard to case,
// a read of a missing key gives the default, a write replaces the value in
// place and keeps every other line (comments, blank lines, unknown keys)
// untouched. Text is Windows-1252; a file that starts with a UTF-8 byte-order
// mark is UTF-8, and a file holding a character Windows-1252 cannot write is
// rewritten that way. CR LF, LF and CR all end a line when reading, and a
// rewritten file keeps the line end it had (CR LF for a new file). Any value
// written reads back exactly (blanks and double quotes at its ends, line
// ends inside it).
#include <QByteArray>
#include <QString>
#include <optional>

namespace FichierIni {

// The value of a key (spaces around it trimmed), nullopt when the file,
// the section or the key is missing.
std::optional<QString> lire(const QString& chemin, const QString& section, const QString& cle);
// Writes key=value into the section, creating file, section and key as
// needed. False when the file cannot be written (it is then unchanged).
bool ecrire(const QString& chemin, const QString& section, const QString& cle, const QString& valeur);

// Windows-1252 conversions (unmapped characters are written as '?').
QString depuisCp1252(const QByteArray& octets);
bool representableCp1252(const QString& texte);
QByteArray versCp1252(const QString& texte);

} // namespace FichierIni
