#include "telechargement.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace Telechargement {

namespace {

std::optional<QByteArray> lireFichier(const QString& chemin, const Options& options, QString* erreur)
{
    auto refus = [&](const QString& raison) -> std::optional<QByteArray> {
        if (erreur)
            *erreur = raison;
        return std::nullopt;
    };
    const QFileInfo info(chemin);
    if (!info.exists())
        return refus(QStringLiteral("fichier introuvable"));
    if (!info.isFile())
        return refus(QStringLiteral("ce n'est pas un fichier"));
    if (info.size() > options.tailleMax)
        return refus(QStringLiteral("fichier de plus de %1 Mo").arg(options.tailleMax / (1024 * 1024)));
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return refus(fichier.errorString());
    // Read one byte past the limit: a file that grew meanwhile is refused too.
    const QByteArray contenu = fichier.read(options.tailleMax + 1);
    if (contenu.size() > options.tailleMax)
        return refus(QStringLiteral("fichier de plus de %1 Mo").arg(options.tailleMax / (1024 * 1024)));
    return contenu;
}

// The network's failures in the desk's words.
QString raisonReseau(QNetworkReply::NetworkError code, const QString& message)
{
    switch (code) {
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("serveur introuvable");
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("connexion refusée par le serveur");
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("connexion coupée par le serveur");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("connexion sécurisée impossible (certificat ou TLS)");
    case QNetworkReply::TooManyRedirectsError:
        return QStringLiteral("trop de redirections");
    case QNetworkReply::InsecureRedirectError:
        return QStringLiteral("redirection de https vers http refusée");
    default:
        return QStringLiteral("erreur réseau (%1)").arg(message);
    }
}

} // namespace

std::optional<QByteArray> Lire(QNetworkAccessManager& reseau, const QString& adresse, const Options& options,
                               QString* erreur)
{
    auto refus = [&](const QString& raison) -> std::optional<QByteArray> {
        if (erreur)
            *erreur = raison;
        return std::nullopt;
    };
    if (adresse.startsWith(QLatin1Char('/')))
        return lireFichier(adresse, options, erreur);
    const QUrl url(adresse);
    if (url.isLocalFile())
        return lireFichier(url.toLocalFile(), options, erreur);
    const QString schema = url.scheme().toLower();
    if (schema != QStringLiteral("http") && schema != QStringLiteral("https"))
        return refus(QStringLiteral("adresse non reconnue (http://, https://, file:// ou chemin d'un fichier)"));

    QNetworkRequest requete(url);
    requete.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    requete.setMaximumRedirectsAllowed(kRedirectionsMax);
    requete.setTransferTimeout(options.delaiMs);
    requete.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Orvane-Planning"));
    QNetworkReply* reponse = reseau.get(requete);

    QEventLoop boucle;
    QString raison;
    QByteArray recu;
    // The whole exchange, redirects included, is bounded; the request's own
    // limit only counts silence.
    QTimer delai;
    delai.setSingleShot(true);
    QObject::connect(&delai, &QTimer::timeout, reponse, [&] {
        raison = QStringLiteral("pas de réponse en %1 s").arg(options.delaiMs / 1000.0, 0, 'g', 3);
        reponse->abort();
    });
    auto tropGros = [&] {
        raison = QStringLiteral("réponse de plus de %1 Mo, refusée").arg(options.tailleMax / (1024 * 1024));
        reponse->abort();
    };
    QObject::connect(reponse, &QNetworkReply::metaDataChanged, reponse, [&] {
        const QVariant longueur = reponse->header(QNetworkRequest::ContentLengthHeader);
        const int statut = reponse->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (raison.isEmpty() && (statut < 300 || statut >= 400) && longueur.isValid()
            && longueur.toLongLong() > options.tailleMax)
            tropGros();
    });
    QObject::connect(reponse, &QNetworkReply::readyRead, reponse, [&] {
        recu.append(reponse->read(options.tailleMax + 1 - recu.size()));
        if (raison.isEmpty() && recu.size() > options.tailleMax)
            tropGros();
    });
    QObject::connect(reponse, &QNetworkReply::finished, &boucle, &QEventLoop::quit);
    delai.start(options.delaiMs);
    if (!reponse->isFinished())
        boucle.exec(QEventLoop::ExcludeUserInputEvents);
    delai.stop();
    if (raison.isEmpty() && reponse->bytesAvailable() > 0)
        recu.append(reponse->read(options.tailleMax + 1 - recu.size()));
    if (raison.isEmpty() && recu.size() > options.tailleMax)
        raison = QStringLiteral("réponse de plus de %1 Mo, refusée").arg(options.tailleMax / (1024 * 1024));

    const int statut = reponse->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError code = reponse->error();
    const QString message = reponse->errorString();
    reponse->deleteLater();
    if (!raison.isEmpty())
        return refus(raison);
    if (statut >= 400)
        return refus(QStringLiteral("le serveur répond %1").arg(statut));
    if (code == QNetworkReply::OperationCanceledError || code == QNetworkReply::TimeoutError)
        return refus(QStringLiteral("pas de réponse en %1 s").arg(options.delaiMs / 1000.0, 0, 'g', 3));
    if (code != QNetworkReply::NoError)
        return refus(raisonReseau(code, message));
    return recu;
}

} // namespace Telechargement
