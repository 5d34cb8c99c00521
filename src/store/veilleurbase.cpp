#include "veilleurbase.h"

#include "base.h"
#include "basepostgres.h"
#include "dialecte.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QVariant>
#include <cstdio>

namespace {
// The announces of one commit arrive together: they are gathered this long.
constexpr int kRegroupementMs = 100;
} // namespace

VeilleurBase::VeilleurBase(const QSqlDatabase& base, QObject* parent, int intervalleMs)
    : QObject(parent), m_base(base), m_minuterie(new QTimer(this))
{
    connect(m_minuterie, &QTimer::timeout, this, &VeilleurBase::verifier);
    if (Dialecte::estPostgres(m_base) && m_base.isOpen()) {
        ecouter();
        connect(m_base.driver(), &QSqlDriver::notification, this, &VeilleurBase::annonceRecue);
        m_minuterie->setSingleShot(true);
        m_minuterie->setInterval(kRegroupementMs);
        m_connexion = new QTimer(this);
        m_connexion->setInterval(kIntervalleConnexionMs);
        connect(m_connexion, &QTimer::timeout, this, &VeilleurBase::verifierConnexion);
        m_connexion->start();
        return;
    }
    m_derniere = versionDonnees();
    m_minuterie->setInterval(intervalleMs);
    m_minuterie->start();
}

bool VeilleurBase::ecouter()
{
    m_ecoute = m_base.driver()->subscribeToNotification(QLatin1String(BasePostgres::kCanal));
    return m_ecoute;
}

bool VeilleurBase::verifierConnexion()
{
    if (!Dialecte::estPostgres(m_base))
        return m_base.isOpen();
    {
        QSqlQuery q(m_base);
        // A transaction that failed (a window's question open meanwhile)
        // refuses the look, but the server answered it.
        if (q.exec(QStringLiteral("SELECT 1")) || q.lastError().nativeErrorCode() == QLatin1String("25P02"))
            return true;
    }
    QString raison;
    if (!Base::rouvrir(m_base, &raison)) {
        std::fprintf(stderr, "Connexion au serveur perdue, nouvel essai dans %d s : %s\n",
                     kIntervalleConnexionMs / 1000, qPrintable(raison));
        return false;
    }
    // Opening again forgot the subscription; what the other desks wrote
    // meanwhile was never announced here: everything is drawn again.
    ecouter();
    std::fprintf(stderr, "Connexion au serveur rétablie\n");
    Q_EMIT baseChangee();
    return true;
}

VeilleurBase::~VeilleurBase()
{
    if (m_ecoute && m_base.isOpen())
        m_base.driver()->unsubscribeFromNotification(QLatin1String(BasePostgres::kCanal));
}

void VeilleurBase::annonceRecue(const QString& canal, QSqlDriver::NotificationSource source, const QVariant& texte)
{
    // This desk's own writes are no news; neither is another channel.
    if (source != QSqlDriver::OtherSource || canal != QLatin1String(BasePostgres::kCanal))
        return;
    m_annonces << texte.toString();
    if (!m_minuterie->isActive())
        m_minuterie->start();
}

std::optional<qint64> VeilleurBase::versionDonnees() const
{
    if (Dialecte::estPostgres(m_base) || !m_base.isOpen())
        return std::nullopt;
    QSqlQuery q(m_base);
    if (!q.exec(QStringLiteral("PRAGMA data_version")) || !q.next())
        return std::nullopt;
    return q.value(0).toLongLong();
}

bool VeilleurBase::verifier()
{
    if (m_ecoute) {
        if (m_annonces.isEmpty())
            return false;
        Q_EMIT baseChangee();
        m_annonces.clear();
        return true;
    }
    const auto version = versionDonnees();
    if (!version || version == m_derniere)
        return false;
    m_derniere = version;
    Q_EMIT baseChangee();
    return true;
}
