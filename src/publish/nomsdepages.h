#pragma once
// File names of the availability pages. A unit's name becomes a file name of
// the program folder: cleaned of the characters a file name or a web address
// cannot carry, cut so that the file system accepts it, and unique among the
// units so that no page overwrites another.
#include <QList>
#include <QString>
#include <QStringList>

namespace Requetes {
struct Objet;
}

namespace Publication {

// Most bytes (UTF-8) of a page file name before its extension: well under
// the 255 bytes of the usual file systems, with room for the extension.
constexpr int kOctetsNomMax = 150;
// Longest extension (with its dot, in bytes) kept apart when the name is
// cut; a longer one is cut with the rest of the name.
constexpr int kOctetsExtensionMax = 16;

// `nom` cleaned as Conversion::NomDeFichierValide does, with control
// characters (NUL included) also turned into '_', then cut to `octetsMax`
// UTF-8 bytes before its extension, never inside a character.
QString NomDePage(const QString& nom, int octetsMax = kOctetsNomMax);

// The names of `noms` (each through NomDePage), in the same order, made
// unique: a name already given to another unit gets " (2)", " (3)"… before
// its extension, cleaned like the rest of the name ("Chalet__2_.html"), the
// first free number. A unit whose own name is free keeps it, even when a
// numbered name of an earlier unit would have taken it.
QStringList NomsDePagesUniques(const QStringList& noms);

// Page file of a unit before it is made unique: FichierPlanningHTML, or
// Nom + ".html" when empty, through NomDePage.
QString FichierHTML(const Requetes::Objet& objet);
// The page files of every unit, in order, unique.
QStringList FichiersHTML(const QList<Requetes::Objet>& objets);
// Name in the page heading: NomInternet, or Nom when empty.
QString NomInternet(const Requetes::Objet& objet);

} // namespace Publication
