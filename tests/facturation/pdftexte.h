#pragma once
// The text of a PDF as pdftotext reads it back; nullopt when pdftotext is
// not installed.
#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryFile>
#include <optional>

inline std::optional<QString> texteDuPdf(const QByteArray& pdf)
{
    const QString programme = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (programme.isEmpty())
        return std::nullopt;
    QTemporaryFile fichier;
    if (!fichier.open())
        return std::nullopt;
    fichier.write(pdf);
    fichier.flush();
    QProcess p;
    p.start(programme, {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), fichier.fileName(), QStringLiteral("-")});
    if (!p.waitForFinished(20000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}
