#include "copiebase.h"

#include "journalisation.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace CopieBase {

namespace {

QString raison(const QSqlError& e)
{
    const QString texte = e.databaseText().trimmed();
    return texte.isEmpty() ? e.text().trimmed() : texte;
}

// SQLITE_CORRUPT (11) and SQLITE_NOTADB (26), possibly extended: SQLite
// read the file and found it damaged.
bool signaleDommage(const QString& codeNatif)
{
    bool nombre = false;
    const int code = codeNatif.toInt(&nombre) & 0xFF;
    return nombre && (code == 11 || code == 26);
}

} // namespace

QString premiereLigne(const QString& resultat)
{
    static const QString entete = QStringLiteral("*** in database main ***");
    QString texte = resultat.trimmed();
    if (texte.startsWith(entete))
        texte = texte.mid(entete.size()).trimmed();
    const qsizetype fin = texte.indexOf(QLatin1Char('\n'));
    return (fin < 0 ? texte : texte.left(fin)).trimmed();
}

Controle controler(const QSqlDatabase& base, bool complet)
{
    Controle c;
    QSqlQuery q(base);
    q.setForwardOnly(true);
    auto echec = [&c](const QSqlError& e) {
        c.endommagee = signaleDommage(e.nativeErrorCode());
        c.occupee = Dialecte::estOccupee(e.nativeErrorCode());
        c.premiereLigne = raison(e);
        return c;
    };
    if (!q.exec(complet ? QStringLiteral("PRAGMA integrity_check") : QStringLiteral("PRAGMA quick_check")))
        return echec(q.lastError());
    if (!q.next()) {
        // A check cut short by damage reports the error after its rows.
        if (q.lastError().isValid())
            return echec(q.lastError());
        c.premiereLigne = QStringLiteral("aucun résultat");
        return c;
    }
    const QString premier = q.value(0).toString();
    c.saine = premier == QLatin1String("ok") && !q.next();
    c.endommagee = !c.saine;
    c.premiereLigne = c.saine ? premier : premiereLigne(premier);
    if (c.premiereLigne.isEmpty())
        c.premiereLigne = QStringLiteral("contrôle en échec");
    return c;
}

bool synchroniser(const QString& chemin)
{
    const int fd = ::open(QFile::encodeName(chemin).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

QString nomProvisoire(const QString& cible)
{
    const QFileInfo info(cible);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".tmp");
}

bool mettreEnPlace(const QString& provisoire, const QString& cible, QString* erreur)
{
    auto echec = [&](const QString& pourquoi) {
        QFile::remove(provisoire);
        if (erreur)
            *erreur = pourquoi;
        return false;
    };
    if (!QFileInfo(provisoire).isFile() || !synchroniser(provisoire))
        return echec(QStringLiteral("copie impossible à écrire sur le disque"));
    // Another file's log would be read into the new one: it goes first.
    for (const QString& reste : {Journalisation::nomWal(cible), Journalisation::nomShm(cible)})
        if (QFileInfo::exists(reste) && !QFile::remove(reste))
            return echec(QStringLiteral("impossible d'enlever ") + QFileInfo(reste).fileName());
    // rename() replaces the older file in one step.
    const QFileInfo info(cible);
    if (std::rename(QFile::encodeName(provisoire).constData(), QFile::encodeName(cible).constData()) != 0)
        return echec(QStringLiteral("impossible de renommer la copie en ") + info.fileName());
    synchroniser(info.absolutePath());
    return true;
}

bool copier(const QSqlDatabase& base, const QString& cible, QString* erreur, bool* occupee)
{
    const QString provisoire = nomProvisoire(cible);
    if (occupee)
        *occupee = false;
    auto echec = [&](const QString& pourquoi) {
        QFile::remove(provisoire);
        if (erreur)
            *erreur = pourquoi;
        return false;
    };
    // VACUUM INTO needs a file that does not exist yet: a leftover of an
    // interrupted copy goes first.
    QFile::remove(provisoire);
    QSqlQuery q(base);
    if (!q.prepare(QStringLiteral("VACUUM INTO ?")))
        return echec(raison(q.lastError()));
    q.addBindValue(provisoire);
    if (!q.exec()) {
        if (occupee)
            *occupee = Dialecte::estOccupee(q.lastError().nativeErrorCode());
        return echec(raison(q.lastError()));
    }
    return mettreEnPlace(provisoire, cible, erreur);
}

std::optional<QSqlDatabase> ouvrir(const QString& chemin, const QString& connexion, bool lectureSeule,
                                   QString* erreur, int attenteMs)
{
    if (!QFileInfo(chemin).isFile()) {
        if (erreur)
            *erreur = QStringLiteral("le fichier n'existe pas");
        return std::nullopt;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connexion);
    db.setDatabaseName(chemin);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(attenteMs);
    if (lectureSeule)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    if (!db.open()) {
        if (erreur)
            *erreur = raison(db.lastError());
        db = QSqlDatabase();
        fermer(connexion);
        return std::nullopt;
    }
    return db;
}

void fermer(const QString& connexion)
{
    {
        QSqlDatabase db = QSqlDatabase::database(connexion, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connexion);
}

QString nouvelleConnexion(const QString& prefixe)
{
    static QAtomicInt compteur;
    return prefixe + QLatin1Char('_') + QString::number(compteur.fetchAndAddRelaxed(1));
}

bool estSQLite(const QSqlDatabase& base)
{
    return base.driverName() == QLatin1String("QSQLITE");
}

} // namespace CopieBase
