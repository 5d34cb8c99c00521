#include "registre.h"

#include "registrykey.h"

namespace Registre {

std::pair<quint32, QString> DecouperChemin(const QString& chemin)
{
    const qsizetype barre = chemin.indexOf(QLatin1Char('\\'));
    const QString racine = (barre < 0 ? chemin : chemin.left(barre)).toUpper();
    const QString sousCle = barre < 0 ? QString() : chemin.mid(barre + 1);
    static const std::pair<const char*, quint32> racines[] = {
        {"HKEY_CLASSES_ROOT", RegistryKey::HKEY_CLASSES_ROOT},
        {"HKEY_CURRENT_CONFIG", RegistryKey::HKEY_CURRENT_CONFIG},
        {"HKEY_CURRENT_USER", RegistryKey::HKEY_CURRENT_USER},
        {"HKEY_DYN_DATA", RegistryKey::HKEY_DYN_DATA},
        {"HKEY_LOCAL_MACHINE", RegistryKey::HKEY_LOCAL_MACHINE},
        {"HKEY_PERFORMANCE_DATA", RegistryKey::HKEY_PERFORMANCE_DATA},
        {"HKEY_USERS", RegistryKey::HKEY_USERS},
    };
    for (const auto& [nom, valeur] : racines)
        if (racine == QLatin1String(nom))
            return {valeur, sousCle};
    return {0u, sousCle};
}

QString LireRegistre(const QString& chemin, const QString& nom)
{
    const auto [racine, sousCle] = DecouperChemin(chemin);
    RegistryKey cle;
    cle.OpenKey(racine, sousCle, RegistryKey::KEY_READ);
    return cle.Value(nom);
}

void EcrireRegistre(const QString& chemin, const QString& nom, const QString& valeur)
{
    const auto [racine, sousCle] = DecouperChemin(chemin);
    RegistryKey cle;
    cle.OpenKey(racine, sousCle, RegistryKey::KEY_WRITE);
    cle.setValue(nom, valeur);
}

} // namespace Registre
