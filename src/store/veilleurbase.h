#pragma once
// Tells when another desk (another connection, another program) committed a
// change to the database, so that the windows showing it draw it again.
// On an SQLite file it asks the data version once a second: the number
// changes only for the commits of other connections, never for this desk's
// own writes. On a PostgreSQL server it listens to the announces every
// write makes ("planning", "<TABLE>:<number>") and keeps those of the other
// desks; the announces of one commit give one signal. It also looks every
// few seconds that the server still answers, and opens the connection
// again when it was lost (a server restarted, a network cut), then asks
// the windows to draw everything again: what was written meanwhile is
// shown, and the desk goes on without being started again.
#include <QObject>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QStringList>
#include <optional>

class QTimer;

class VeilleurBase : public QObject
{
    Q_OBJECT
public:
    explicit VeilleurBase(const QSqlDatabase& base, QObject* parent = nullptr, int intervalleMs = 1000);
    ~VeilleurBase() override;

    // One look at the database (the timer's tick); true when it changed.
    bool verifier();

    // The announces received since the last signal (server only).
    QStringList annonces() const { return m_annonces; }

    // One look at the server's connection: opened again when it was lost.
    // True when it answers (at once or once opened again).
    bool verifierConnexion();

    // How often the server's connection is looked at (milliseconds).
    static constexpr int kIntervalleConnexionMs = 5000;

Q_SIGNALS:
    void baseChangee();

private:
    std::optional<qint64> versionDonnees() const;
    void annonceRecue(const QString& canal, QSqlDriver::NotificationSource source, const QVariant& texte);

    bool ecouter();

    QSqlDatabase m_base;
    QTimer* m_minuterie;
    QTimer* m_connexion = nullptr;   // server only: the connection's look
    std::optional<qint64> m_derniere;
    bool m_ecoute = false;        // subscribed to the server's announces
    QStringList m_annonces;       // other desks' announces not yet signalled
};
