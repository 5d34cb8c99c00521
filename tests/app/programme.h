#pragma once
// The program itself run in a data folder, as a nightly job or the owner
// would run it from a shell.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace Programme {

struct Execution {
    int code = -1;       // -1: still running after the wait; -2: crashed
    QString sortie;
    QString erreurs;
};

// `planning --dossier DIR <arguments>`, waited for up to a minute.
inline Execution lancer(const QString& dossier, const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral(PROGRAMME_PLANNING), QStringList{QStringLiteral("--dossier"), dossier} + arguments);
    Execution e;
    if (!p.waitForFinished(60000))
        return e;
    e.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    e.sortie = QString::fromUtf8(p.readAllStandardOutput());
    e.erreurs = QString::fromUtf8(p.readAllStandardError());
    return e;
}

} // namespace Programme
