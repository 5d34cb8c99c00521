#pragma once
// Tells when another desk (another connection, another program) committed a
// change to the database, so that the windows showing it draw it again. It
// asks SQLite's data version once a second: the number changes only for the
// commits of other connections, never for this desk's own writes.
#include <QObject>
#include <QSqlDatabase>
#include <optional>

class QTimer;

class VeilleurBase : public QObject
{
    Q_OBJECT
public:
    explicit VeilleurBase(const QSqlDatabase& base, QObject* parent = nullptr, int intervalleMs = 1000);

    // One look at the database (the timer's tick); true when it changed.
    bool verifier();

Q_SIGNALS:
    void baseChangee();

private:
    std::optional<qint64> versionDonnees() const;

    QSqlDatabase m_base;
    QTimer* m_minuterie;
    std::optional<qint64> m_derniere;
};
