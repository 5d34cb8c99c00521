#include "fichiers.h"

#include <QSaveFile>

namespace Fichiers {

QString Ecrire(const QString& chemin, const QByteArray& octets)
{
    QSaveFile fichier(chemin);
    if (fichier.open(QIODevice::WriteOnly) && fichier.write(octets) == octets.size() && fichier.commit())
        return QString();
    const QString raison = fichier.errorString();
    fichier.cancelWriting();
    return raison.isEmpty() ? QStringLiteral("erreur inconnue") : raison;
}

QString MessageNonEcrit(const QString& chemin, const QString& raison)
{
    return QStringLiteral("Le fichier « ") + chemin + QStringLiteral(" » ne peut pas être écrit : ") + raison;
}

} // namespace Fichiers
