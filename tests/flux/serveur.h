#pragma once
// A small HTTP server on 127.0.0.1 answering canned responses by path, for
// the feed fetching tests. It runs in the test's own thread: the fetching
// code's wait lets it answer.
#include <QByteArray>
#include <QHostAddress>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>

class ServeurTest : public QObject
{
public:
    struct Reponse {
        QByteArray entete;      // status line and headers, without the blank line
        QByteArray corps;
        bool silence = false;   // never answers
        bool avecLongueur = true;
    };

    ServeurTest()
    {
        m_serveur.listen(QHostAddress::LocalHost, 0);
        connect(&m_serveur, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = m_serveur.nextPendingConnection()) {
                s->setParent(this);
                connect(s, &QTcpSocket::readyRead, s, [this, s] { lire(s); });
            }
        });
    }

    bool pret() const { return m_serveur.isListening(); }
    QString url(const QString& chemin) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_serveur.serverPort()).arg(chemin);
    }

    void poser(const QByteArray& chemin, const QByteArray& corps, const QByteArray& type = "text/calendar")
    {
        m_reponses[chemin] = {"HTTP/1.1 200 OK\r\nContent-Type: " + type, corps};
    }
    void rediriger(const QByteArray& chemin, const QByteArray& vers)
    {
        m_reponses[chemin] = {"HTTP/1.1 302 Found\r\nLocation: " + vers, QByteArray()};
    }
    void poserReponse(const QByteArray& chemin, const Reponse& r) { m_reponses[chemin] = r; }
    QList<QByteArray> demandes;   // paths asked, in order

private:
    void lire(QTcpSocket* s)
    {
        QByteArray& recu = m_recus[s];
        recu += s->readAll();
        if (!recu.contains("\r\n\r\n"))
            return;
        const QByteArray chemin = recu.split(' ').value(1);
        demandes.append(chemin);
        const auto trouve = m_reponses.constFind(chemin);
        const Reponse r = trouve != m_reponses.cend()
            ? *trouve : Reponse{"HTTP/1.1 404 Not Found\r\nContent-Type: text/html", "<html>introuvable</html>"};
        if (r.silence)
            return;
        QByteArray entete = r.entete;
        if (r.avecLongueur)
            entete += "\r\nContent-Length: " + QByteArray::number(r.corps.size());
        s->write(entete + "\r\nConnection: close\r\n\r\n");
        s->write(r.corps);
        connect(s, &QTcpSocket::bytesWritten, s, [s] {
            if (s->bytesToWrite() == 0)
                s->disconnectFromHost();
        });
    }

    QTcpServer m_serveur;
    QMap<QByteArray, Reponse> m_reponses;
    QMap<QTcpSocket*, QByteArray> m_recus;
};
