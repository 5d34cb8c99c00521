#include "journalisation.h"

#include "dialecte.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>
#include <cstdio>
#include <sys/vfs.h>

namespace Journalisation {

namespace {

// File systems whose files other machines write too (linux/magic.h).
struct Reseau {
    quint32 magique;
    const char* nom;
};
const Reseau kReseaux[] = {
    {0x6969, "NFS"},
    {0x517B, "SMB"},
    {0xFF534D42, "CIFS"},
    {0xFE534D42, "SMB2"},
    {0x5346414F, "AFS"},
    {0x6B414653, "AFS"},
    {0x73757245, "Coda"},
    {0x01021997, "9P"},
    {0x00C36400, "Ceph"},
    {0x564C, "NCP"},
};

std::atomic_bool s_reseauSignale{false};

} // namespace

QString systemeReseau(quint32 magique)
{
    for (const Reseau& r : kReseaux)
        if (r.magique == magique)
            return QLatin1String(r.nom);
    return QString();
}

QString systemeReseauDe(const QString& chemin)
{
    // The file may not exist yet: its folder tells where it will be.
    struct statfs infos {};
    const QByteArray dossier = QFile::encodeName(QFileInfo(chemin).absolutePath());
    if (::statfs(dossier.constData(), &infos) != 0)
        return QString();
    return systemeReseau(quint32(infos.f_type));
}

Mode choisir(const QString& reseau, bool dossierInscriptible)
{
    if (!reseau.isEmpty())
        return Mode::Classique;
    // The log and its index are files beside the database: where they
    // cannot be made, a switch would leave a file no one could read.
    return dossierInscriptible ? Mode::Wal : Mode::Inchange;
}

QString regler(const QSqlDatabase& base)
{
    const QString chemin = base.databaseName();
    const QFileInfo fichier(chemin);
    const QString reseau = systemeReseauDe(chemin);
    const bool inscriptible = QFileInfo(fichier.absolutePath()).isWritable() && (!fichier.exists() || fichier.isWritable());
    const Mode mode = choisir(reseau, inscriptible);
    if (!reseau.isEmpty() && !s_reseauSignale.exchange(true))
        std::fprintf(stderr, "Base de données sur un partage réseau (%s) : journal classique, sans WAL "
                             "(son index en mémoire partagée ne se partage pas entre machines)\n",
                     qPrintable(reseau));
    QSqlQuery q(base);
    const QString question = QStringLiteral("PRAGMA journal_mode");
    if (q.exec(mode == Mode::Wal ? question + QStringLiteral("=WAL")
               : mode == Mode::Classique ? question + QStringLiteral("=DELETE") : question))
        return QString();
    // Another program holds the file: it goes on in its present mode.
    if (mode != Mode::Inchange && Dialecte::estOccupee(q.lastError().nativeErrorCode()) && q.exec(question))
        return QString();
    if (mode == Mode::Inchange && enteteWal(chemin))
        return QStringLiteral("base en mode WAL dans un dossier où le programme ne peut pas écrire : "
                              "son journal (%1) et son index (%2) ne peuvent pas y être créés")
            .arg(QFileInfo(nomWal(chemin)).fileName(), QFileInfo(nomShm(chemin)).fileName());
    return q.lastError().text();
}

bool enteteWal(const QString& chemin)
{
    // Bytes 18 and 19 of the header: 1 for a rollback journal, 2 for WAL.
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray entete = f.read(20);
    return entete.size() == 20 && entete.at(18) == 2 && entete.at(19) == 2;
}

QString nomWal(const QString& chemin)
{
    return chemin + QStringLiteral("-wal");
}

QString nomShm(const QString& chemin)
{
    return chemin + QStringLiteral("-shm");
}

} // namespace Journalisation
