#pragma once
// The program folder and the executable's name, from which the default
// configuration file, database, backups and pages are named.
#include <QString>

namespace Chemins {

// The executable's folder unless set (--dossier). Never ends with '/'.
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

} // namespace Chemins
