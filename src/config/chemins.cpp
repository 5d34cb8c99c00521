#include "chemins.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace Chemins {

namespace {
QString g_dossier;
}

QString dossierProgramme()
{
    if (!g_dossier.isEmpty())
        return g_dossier;
    const QString executable = QCoreApplication::applicationDirPath();
    const QString utilisateur = dossierUtilisateur();
    const QString dossier = dossierParDefaut(executable, dossierInscriptible(executable), utilisateur);
    // The user's folder is made on the first start of an installed program.
    if (!utilisateur.isEmpty() && dossier == utilisateur)
        QDir().mkpath(dossier);
    return dossier;
}

QString dossierUtilisateur()
{
    const QString donnees = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return donnees.isEmpty() ? QString() : QDir::cleanPath(donnees + QStringLiteral("/orvane-planning"));
}

bool dossierSysteme(const QString& dossier)
{
    const QString d = QDir::cleanPath(dossier);
    for (const char* racine : {"/usr", "/bin", "/sbin", "/lib", "/lib64"}) {
        const QString r = QLatin1String(racine);
        if (d == r || d.startsWith(r + QLatin1Char('/')))
            return true;
    }
    return false;
}

bool dossierInscriptible(const QString& dossier)
{
    return !dossier.isEmpty() && ::access(QFile::encodeName(dossier).constData(), W_OK | X_OK) == 0;
}

QString dossierParDefaut(const QString& dossierExecutable, bool inscriptible, const QString& dossierUtilisateur)
{
    const bool aCote = inscriptible && !dossierExecutable.isEmpty() && !dossierSysteme(dossierExecutable);
    // Without a home folder there is no user's folder: the executable's
    // folder is the only place left.
    if (aCote || dossierUtilisateur.isEmpty())
        return QDir::cleanPath(dossierExecutable);
    return QDir::cleanPath(dossierUtilisateur);
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
