#include "sauvegardeserveur.h"

#include "store/copiebase.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>

namespace SauvegardeServeur {

namespace {

// A value of a libpq connection string, quoted when it must be.
QString valeurConnexion(const QString& v)
{
    if (!v.isEmpty() && !v.contains(QLatin1Char(' ')) && !v.contains(QLatin1Char('\''))
        && !v.contains(QLatin1Char('\\')))
        return v;
    QString q = v;
    q.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    q.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

// pg_dump may wait this long (a large database on a slow server).
constexpr int kAttenteMs = 30 * 60 * 1000;

} // namespace

QString NomBase(const Dialecte::Adresse& adresse)
{
    return adresse.base + QLatin1String(kExtension);
}

QString ChaineConnexion(const Dialecte::Adresse& adresse)
{
    QStringList parties{QStringLiteral("dbname=") + valeurConnexion(adresse.base)};
    if (!adresse.hote.isEmpty())
        parties << QStringLiteral("host=") + valeurConnexion(adresse.hote);
    if (adresse.port > 0)
        parties << QStringLiteral("port=%1").arg(adresse.port);
    if (!adresse.utilisateur.isEmpty())
        parties << QStringLiteral("user=") + valeurConnexion(adresse.utilisateur);
    // The address's options (sslmode, options…) are libpq's own keywords.
    for (const QString& option : adresse.options.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype egal = option.indexOf(QLatin1Char('='));
        if (egal <= 0)
            continue;
        const QString cle = option.left(egal).trimmed();
        if (cle.compare(QLatin1String("password"), Qt::CaseInsensitive) == 0)
            continue;
        parties << cle + QLatin1Char('=') + valeurConnexion(option.mid(egal + 1));
    }
    return parties.join(QLatin1Char(' '));
}

QStringList ArgumentsPgDump(const Dialecte::Adresse& adresse, const QString& fichier)
{
    return {QStringLiteral("--format=custom"), QStringLiteral("--no-password"), QStringLiteral("--file=") + fichier,
            QStringLiteral("--dbname=") + ChaineConnexion(adresse)};
}

QProcessEnvironment Environnement(const Dialecte::Adresse& adresse)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!adresse.motDePasse.isEmpty())
        env.insert(QStringLiteral("PGPASSWORD"), adresse.motDePasse);
    return env;
}

QString CheminPgDump()
{
    return QStandardPaths::findExecutable(QStringLiteral("pg_dump"));
}

bool Sauvegarder(const QString& adresse, const QString& cible, QString* erreur)
{
    QString raison;
    const auto a = Dialecte::lireAdresse(adresse, &raison);
    if (!a) {
        *erreur = raison;
        return false;
    }
    const QString programme = CheminPgDump();
    if (programme.isEmpty()) {
        *erreur = QStringLiteral("pg_dump est introuvable (paquet postgresql-client) : pas de copie de la base du serveur");
        return false;
    }
    const QString provisoire = CopieBase::nomProvisoire(cible);
    QFile::remove(provisoire);
    QProcess p;
    p.setProcessEnvironment(Environnement(*a));
    p.start(programme, ArgumentsPgDump(*a, provisoire));
    const bool fini = p.waitForFinished(kAttenteMs);
    if (!fini) {
        p.kill();
        p.waitForFinished();
    }
    const QString messages = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    if (!fini || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        QFile::remove(provisoire);
        *erreur = !fini ? QStringLiteral("pg_dump n'a pas fini à temps")
                        : QStringLiteral("pg_dump a échoué (code %1)").arg(p.exitCode());
        if (!messages.isEmpty())
            *erreur += QStringLiteral(" : ") + Dialecte::masquer(messages);
        return false;
    }
    return CopieBase::mettreEnPlace(provisoire, cible, erreur);
}

QString MessageRestauration(const QString& adresse, const QString& fichier, qint64 numerosDonnes)
{
    // Quoted for the shell: the file and the connection string as they are.
    auto entreApostrophes = [](QString t) {
        t.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
        return QLatin1Char('\'') + t + QLatin1Char('\'');
    };
    const auto a = Dialecte::lireAdresse(adresse);
    const QString cible = a ? ChaineConnexion(*a) : Dialecte::masquer(adresse);
    QString message = QString::fromUtf8("La base est sur un serveur PostgreSQL : le programme ne remplace pas la base "
                                        "du serveur. Une sauvegarde du serveur se restaure avec pg_restore, tous les "
                                        "postes fermés, par exemple :\n"
                                        "pg_restore --clean --if-exists --no-owner --dbname=%1 %2")
                          .arg(entreApostrophes(cible), entreApostrophes(fichier));
    // An older backup must not give again the numbers given since.
    if (numerosDonnes > 0)
        message += QString::fromUtf8("\npuis, pour que les numéros de réservation déjà donnés (jusqu'au n° %1) "
                                     "ne soient pas redonnés :\n"
                                     "psql --dbname=%2 --command=\"ALTER TABLE reservations ALTER COLUMN "
                                     "numeroreservation RESTART WITH %3\"")
                       .arg(numerosDonnes)
                       .arg(entreApostrophes(cible))
                       .arg(numerosDonnes + 1);
    if (a && !a->motDePasse.isEmpty())
        message += QString::fromUtf8("\n(le mot de passe se donne dans la variable PGPASSWORD)");
    return message;
}

} // namespace SauvegardeServeur
