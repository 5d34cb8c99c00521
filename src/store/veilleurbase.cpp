#include "veilleurbase.h"

#include "basepostgres.h"
#include "dialecte.h"

#include <QSqlQuery>
#include <QTimer>
#include <QVariant>

namespace {
// The announces of one commit arrive together: they are gathered this long.
constexpr int kRegroupementMs = 100;
} // namespace

VeilleurBase::VeilleurBase(const QSqlDatabase& base, QObject* parent, int intervalleMs)
    : QObject(parent), m_base(base), m_minuterie(new QTimer(this))
{
    connect(m_minuterie, &QTimer::timeout, this, &VeilleurBase::verifier);
    if (Dialecte::estPostgres(m_base) && m_base.isOpen()) {
        QSqlDriver* pilote = m_base.driver();
        m_ecoute = pilote->subscribeToNotification(QLatin1String(BasePostgres::kCanal));
        connect(pilote, &QSqlDriver::notification, this, &VeilleurBase::annonceRecue);
        m_minuterie->setSingleShot(true);
        m_minuterie->setInterval(kRegroupementMs);
        return;
    }
    m_derniere = versionDonnees();
    m_minuterie->setInterval(intervalleMs);
    m_minuterie->start();
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
