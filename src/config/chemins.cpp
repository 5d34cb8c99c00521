#include "chemins.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace Chemins {

namespace {
QString g_dossier;
}

QString dossierProgramme()
{
    if (!g_dossier.isEmpty())
        return g_dossier;
    return QCoreApplication::applicationDirPath();
}

void fixerDossierProgramme(const QString& dossier)
{
    g_dossier = dossier.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(dossier).absoluteFilePath());
}

QString nomExecutable()
{
    const QString nom = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return nom.isEmpty() ? QStringLiteral("planning") : nom;
}

QString cheminExecutable()
{
    return QCoreApplication::applicationFilePath();
}

QString dansDossier(const QString& nom)
{
    return dossierProgramme() + QLatin1Char('/') + nom;
}

QString dossierConfiguration()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

} // namespace Chemins
