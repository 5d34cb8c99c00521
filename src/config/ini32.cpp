#include "ini32.h"

#include "chemins.h"
#include "fichierini.h"
#include "registry/registre.h"

#include <QDir>

namespace INI32 {

QString CheminFichier(const QString& fichier)
{
    if (fichier.isEmpty())
        return Chemins::dansDossier(Chemins::nomExecutable() + QStringLiteral(".ini"));
    if (!fichier.contains(QLatin1Char('/')) && !fichier.contains(QLatin1Char('\\'))) {
        const QString dossier = Chemins::dossierConfiguration();
        QDir().mkpath(dossier);
        return dossier + QLatin1Char('/') + fichier;
    }
    return fichier;
}

QString ProfilINI(const QString& section, const QString& cle, const QString& valeur,
                  const QString& fichier, int mode)
{
    if (fichier.startsWith(QLatin1Char('$'))) {
        const QString chemin = fichier.mid(1) + QLatin1Char('\\') + section;
        if (mode == 0) {
            Registre::EcrireRegistre(chemin, cle, valeur);
            return valeur;
        }
        const QString lu = Registre::LireRegistre(chemin, cle);
        if (lu.isEmpty()) {
            if (mode == 2)
                Registre::EcrireRegistre(chemin, cle, valeur);
            return valeur;
        }
        return lu;
    }

    const QString chemin = CheminFichier(fichier);
    if (mode == 0) {
        FichierIni::ecrire(chemin, section, cle, valeur);
        return valeur;
    }
    // The platform read returns the default for a missing key and the
    // stored text (possibly empty) otherwise, cut to the buffer.
    const auto lu = FichierIni::lire(chemin, section, cle);
    const QString texte = (lu ? *lu : valeur).left(kLongueurLue);
    if (texte.isEmpty()) {
        if (mode == 2)
            FichierIni::ecrire(chemin, section, cle, valeur);
        return valeur;
    }
    if (mode == 2 && texte == valeur) {
        FichierIni::ecrire(chemin, section, cle, valeur);
        return valeur;
    }
    return texte;
}

} // namespace INI32
