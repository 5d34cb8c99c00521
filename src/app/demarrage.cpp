#include "demarrage.h"

#include "config/chemins.h"
#include "config/ini32.h"
#include "config/langues.h"
#include "store/base.h"
#include "store/dialecte.h"
#include "store/conversion.h"
#include "store/requetes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <cstdio>

namespace Demarrage {

QString CheminIniParDefaut()
{
    return Chemins::dansDossier(Chemins::nomExecutable() + QStringLiteral(".ini"));
}

QString CheminBaseParDefaut()
{
    return Chemins::dansDossier(NomBaseParDefaut());
}

QString NomBaseParDefaut()
{
    return Chemins::nomExecutable() + QStringLiteral(".db");
}

QString ResoudreCheminBase(const QString& valeur, const QString& dossierIni)
{
    if (Dialecte::estAdresse(valeur) || valeur.isEmpty() || QDir::isAbsolutePath(valeur))
        return valeur;
    return QDir::cleanPath(QDir(dossierIni).filePath(valeur));
}

namespace {

// Two names of one folder (through a link, or written differently).
bool memeDossier(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    if (!ca.isEmpty())
        return ca == QFileInfo(b).canonicalFilePath();
    return QDir::cleanPath(a) == QDir::cleanPath(b);
}

// The default an earlier version wrote: the database's absolute path.
bool ancienDefaut(const QString& valeur)
{
    return !Dialecte::estAdresse(valeur) && QDir::isAbsolutePath(valeur)
        && QFileInfo(valeur).fileName() == NomBaseParDefaut();
}

} // namespace

bool DefautDUnAutreDossier(const QString& valeur, const QString& dossierIni)
{
    if (!ancienDefaut(valeur))
        return false;
    const QString autre = QFileInfo(valeur).absolutePath();
    // The other folder was a data folder (it still holds its configuration,
    // or it was moved away); a shared folder the owner typed is neither.
    const bool dossierDeDonnees = !QFileInfo::exists(autre)
        || QFileInfo(QDir(autre).filePath(Chemins::nomExecutable() + QStringLiteral(".ini"))).isFile();
    return dossierDeDonnees && !memeDossier(autre, dossierIni)
        && QFileInfo(QDir(dossierIni).filePath(NomBaseParDefaut())).isFile();
}

QString LireCheminBase(const QString& cheminINI)
{
    const QString dossierIni = QFileInfo(cheminINI).absolutePath();
    const QString valeur = INI32::ProfilINI(QStringLiteral("system"), QStringLiteral("database"), NomBaseParDefaut(),
                                            cheminINI, 2);
    const bool ailleurs = DefautDUnAutreDossier(valeur, dossierIni);
    // The old absolute default of this very folder becomes relative too:
    // the folder may be copied or moved later.
    if (ailleurs || (ancienDefaut(valeur) && memeDossier(QFileInfo(valeur).absolutePath(), dossierIni))) {
        INI32::ProfilINI(QStringLiteral("system"), QStringLiteral("database"), NomBaseParDefaut(), cheminINI, 0);
        const QString propre = QDir::cleanPath(QDir(dossierIni).filePath(NomBaseParDefaut()));
        if (ailleurs)
            std::fprintf(stderr, "%s\n",
                         qPrintable(QString::fromUtf8("La configuration %1 nommait la base d'un autre dossier (%2) : "
                                                      "ce dossier a la sienne, %3, désormais écrite « database=%4 ».")
                                        .arg(cheminINI, valeur, propre, NomBaseParDefaut())));
        return propre;
    }
    return ResoudreCheminBase(valeur, dossierIni);
}

QString NomSauvegardeBase(const QString& nomFichier, int n)
{
    const qsizetype point = nomFichier.lastIndexOf(QLatin1Char('.'));
    if (point <= 0)
        return nomFichier + QStringLiteral("_%1").arg(n);
    return nomFichier.left(point) + QStringLiteral("_%1").arg(n) + nomFichier.mid(point);
}

namespace {

bool copier(const QString& source, const QString& cible)
{
    if (!QFileInfo(source).isFile())
        return false;
    // A copy overwrites the older file of the same slot.
    const QString provisoire = cible + QStringLiteral(".tmp");
    QFile::remove(provisoire);
    if (!QFile::copy(source, provisoire))
        return false;
    QFile::remove(cible);
    return QFile::rename(provisoire, cible);
}

int prendreCreneau(const QString& cheminINI)
{
    const QString numero = INI32::ProfilINI(QStringLiteral("system"), QStringLiteral("sauvegardes numero"),
                                            QStringLiteral("0"), cheminINI, 2);
    const double limite = Conversion::LireNombre(INI32::ProfilINI(
        QStringLiteral("system"), QStringLiteral("sauvegardes nombre"), QStringLiteral("30"), cheminINI, 2));
    int n = Conversion::EntierSeize(Conversion::LireNombre(numero) + 1).value_or(0);
    if (n > limite || n < 0)
        n = 0;
    INI32::ProfilINI(QStringLiteral("system"), QStringLiteral("sauvegardes numero"), QString::number(n), cheminINI, 0);
    return n;
}

} // namespace

Sauvegarde Sauvegarder(const QString& cheminINI, const QString& /*cheminBase*/)
{
    const QString dossier = Chemins::dansDossier(QStringLiteral("Sauvegardes"));
    QDir().mkpath(dossier);

    Sauvegarde s;
    {
        // Two programs started together read and advance the counter one
        // after the other, so they never share a slot. Without the folder
        // (a file in its way) there is no lock, and no copy either.
        QLockFile verrou(dossier + QStringLiteral("/.verrou"));
        verrou.setStaleLockTime(30000);
        const bool tenu = QFileInfo(dossier).isDir() && verrou.tryLock(10000);
        s.slot = prendreCreneau(cheminINI);
        if (tenu)
            verrou.unlock();
    }
    // The database is copied later, through SQLite, once it is open and
    // checked (Sauvegardes::ControlerEtCopier).
    const QFileInfo executable(Chemins::cheminExecutable());
    if (Chemins::dossierSysteme(executable.absolutePath())) {
        // A package owns it: the package manager keeps it, not our slots.
        std::fprintf(stderr, "Sauvegarde du programme omise : %s est un fichier du système, que son paquet fournit.\n",
                     qPrintable(executable.absoluteFilePath()));
        return s;
    }
    s.executableCopie = copier(executable.absoluteFilePath(),
        dossier + QLatin1Char('/') + NomSauvegardeBase(executable.fileName(), s.slot));
    return s;
}

qint16 LireNbClignotements(const QString& cheminINI)
{
    const QString texte = INI32::ProfilINI(QStringLiteral("reservation"), QStringLiteral("nb clignotement"),
                                           QStringLiteral("10"), cheminINI, 2);
    return Conversion::EntierSeize(Conversion::LireNombre(texte)).value_or(0);
}

QString LireModeleBarre(const QString& cheminINI)
{
    return INI32::ProfilINI(QStringLiteral("planning"), QStringLiteral("champsdansbarre"),
                            QStringLiteral("[nomclient] ([nbadultes]ad/[nbenfants]en)"), cheminINI, 2);
}

std::optional<QSqlDatabase> OuvrirBase(const QString& cheminBase, QString* erreur)
{
    const bool parDefaut = QFileInfo(cheminBase).absoluteFilePath() == QFileInfo(CheminBaseParDefaut()).absoluteFilePath();
    return Base::ouvrir(cheminBase, parDefaut ? Base::Ouverture::CreerSiAbsente : Base::Ouverture::Existante,
                        QLatin1String(kConnexion), erreur);
}

QString MessageEchecOuverture(const QString& cheminBase)
{
    // A server's address is shown without its password.
    return Langues::Traduire(QStringLiteral("Problème d'ouverture de la Base de Données : ")) + Dialecte::masquer(cheminBase);
}

QString MessageEchecOuverture(const QString& cheminBase, const QString& raison)
{
    if (raison.trimmed().isEmpty())
        return MessageEchecOuverture(cheminBase);
    return MessageEchecOuverture(cheminBase) + QLatin1Char('\n') + Dialecte::masquer(raison.trimmed());
}

std::optional<BaseSansFenetre> OuvrirSansFenetre(QTextStream& erreurs)
{
    const QString cheminINI = CheminIniParDefaut();
    Langues::fixerFichier(cheminINI);
    const QString cheminBase = LireCheminBase(cheminINI);
    QString raison;
    const auto base = OuvrirBase(cheminBase, &raison);
    if (!base) {
        erreurs << MessageEchecOuverture(cheminBase) << " (" << raison << ")\n";
        erreurs.flush();
        return std::nullopt;
    }
    return BaseSansFenetre{cheminINI, *base};
}

} // namespace Demarrage
