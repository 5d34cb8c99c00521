#pragma once
// Fetching a feed: an http(s) address through Qt Network (redirects
// followed, a time limit, a size limit), or a local file (a path or a
// file:// address). Waits for the answer while letting events run, so a
// window stays drawn. No widget.
#include <QByteArray>
#include <QString>
#include <optional>

class QNetworkAccessManager;

namespace Telechargement {

constexpr int kDelaiMs = 20000;                 // per feed
constexpr qint64 kTailleMax = 5 * 1024 * 1024;  // 5 MB
constexpr int kRedirectionsMax = 10;

struct Options {
    int delaiMs = kDelaiMs;
    qint64 tailleMax = kTailleMax;
};

// The feed's bytes, or nullopt with the reason (French) in *erreur: not
// found, an HTTP error, no answer in time, too big, a refused address.
std::optional<QByteArray> Lire(QNetworkAccessManager& reseau, const QString& adresse, const Options& options,
                               QString* erreur = nullptr);

} // namespace Telechargement
