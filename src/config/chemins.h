#pragma once
// The program folder and the executable's name, from which the default
// configuration file, database, backups and pages are named.
#include <QString>

namespace Chemins {

// The data folder: the one set by --dossier, else dossierParDefaut() for
// the executable's folder. Never ends with '/'.
QString dossierProgramme();
void fixerDossierProgramme(const QString& dossier);
// The executable's name without extension ("planning").
QString nomExecutable();
// Full path of the running executable.
QString cheminExecutable();
// dossierProgramme() + "/" + nom.
QString dansDossier(const QString& nom);
// Folder of bare INI file names such as "daduvuvav.ini".
QString dossierConfiguration();

// The data folder of an installed program, "$XDG_DATA_HOME/orvane-planning"
// (~/.local/share/orvane-planning).
QString dossierUtilisateur();

// A folder where a package puts programs (/usr/..., /bin, /sbin): the data
// never goes there, and the executable found there is not backed up.
bool dossierSysteme(const QString& dossier);
// Whether this user may create files in the folder (a read-only mount
// counts as not writable, even for root).
bool dossierInscriptible(const QString& dossier);

// Where the data goes when no --dossier is given: beside the executable
// (a portable copy, the build folder), unless that folder is a system
// folder or not writable; then the user's own folder.
QString dossierParDefaut(const QString& dossierExecutable, bool inscriptible, const QString& dossierUtilisateur);

} // namespace Chemins
