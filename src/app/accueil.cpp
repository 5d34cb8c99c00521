#include "accueil.h"

#include "config/ini32.h"

namespace Accueil {

namespace {
const QString kSection = QStringLiteral("accueil");
const QString kCle = QStringLiteral("ne plus afficher");
} // namespace

bool AMontrer(bool demo, bool baseVide, const QString& cheminINI)
{
    if (demo || !baseVide)
        return false;
    // Only "1" silences it: a hand-edited "oui" or a blank keeps it shown.
    return INI32::ProfilINI(kSection, kCle, QStringLiteral("0"), cheminINI, 1).trimmed() != QStringLiteral("1");
}

void NePlusAfficher(const QString& cheminINI, bool nePlus)
{
    INI32::ProfilINI(kSection, kCle, nePlus ? QStringLiteral("1") : QStringLiteral("0"), cheminINI, 0);
}

} // namespace Accueil
