#include "veilleurbase.h"

#include <QSqlQuery>
#include <QTimer>
#include <QVariant>

VeilleurBase::VeilleurBase(const QSqlDatabase& base, QObject* parent, int intervalleMs)
    : QObject(parent), m_base(base), m_minuterie(new QTimer(this))
{
    m_derniere = versionDonnees();
    m_minuterie->setInterval(intervalleMs);
    connect(m_minuterie, &QTimer::timeout, this, &VeilleurBase::verifier);
    m_minuterie->start();
}

std::optional<qint64> VeilleurBase::versionDonnees() const
{
    // Only an SQLite file has this number; another engine is not watched here.
    if (m_base.driverName() != QLatin1String("QSQLITE") || !m_base.isOpen())
        return std::nullopt;
    QSqlQuery q(m_base);
    if (!q.exec(QStringLiteral("PRAGMA data_version")) || !q.next())
        return std::nullopt;
    return q.value(0).toLongLong();
}

bool VeilleurBase::verifier()
{
    const auto version = versionDonnees();
    if (!version || version == m_derniere)
        return false;
    m_derniere = version;
    Q_EMIT baseChangee();
    return true;
}
