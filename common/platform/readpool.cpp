// The pool of read-only connections the views read in (db::Snapshot), and the checkpoint when none is open.
#include "platform/transaction.h"
#include "platform/transaction_internal.h"

#include <QSqlDatabase>

#include <sqlite3.h>

namespace db {
using namespace internal;

QString Transaction::takeReadConnection()
{
    if (!m_idleReadConnections.isEmpty())
        return m_idleReadConnections.takeLast();
    const QString name = m_connectionName + QStringLiteral("-read-%1").arg(++m_readConnections);
    bool opened = false;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        d.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"));
        d.setDatabaseName(fileUri(m_file, "ro") + m_uriOptions);
        if (d.open()) {
            sqlite3 *handle = db::sqliteHandle(d);
            // The views sort and group texts in GBK order.
            opened = registerGbkCollation(handle);
            sqlite3_busy_handler(handle, &Transaction::onBusy, this);
        }
        if (!opened)
            d.close();
    }
    if (!opened) {
        QSqlDatabase::removeDatabase(name);
        return {};
    }
    return name;
}

void Transaction::giveBackReadConnection(const QString &name, bool faulted)
{
    // A few stay open for the next views; more were open only while that many views were half read at once.
    constexpr int kIdleKept = 4;
    if (m_readsApart && !faulted && m_idleReadConnections.size() < kIdleKept)
        m_idleReadConnections << name;
    else
        closeReadConnection(name);
}

void Transaction::checkpoint()
{
    m_checkpointDue = m_openSnapshots > 0 || m_inTransaction;
    sqlite3 *handle = sqliteHandle();
    if (m_checkpointDue || !m_readsApart || !handle)
        return;
    // Another program reading or writing keeps its part of the log; its own end checkpoints it.
    sqlite3_busy_handler(handle, nullptr, nullptr);
    sqlite3_wal_checkpoint_v2(handle, "main", SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    sqlite3_busy_handler(handle, &Transaction::onBusy, this);
}

void Transaction::closeReadConnection(const QString &name)
{
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
}

void Transaction::closeReadConnections()
{
    for (const QString &name : std::as_const(m_idleReadConnections))
        closeReadConnection(name);
    m_idleReadConnections.clear();
}

Snapshot::Snapshot(Transaction &transaction) : m_transaction(transaction)
{
    if (!transaction.readsApart() || transaction.m_inTransaction)
        return;
    m_connection = transaction.takeReadConnection();
    // Deferred: the first statement's first step takes the moment, and every later one reads in it.
    if (apart() && sqlite3_exec(db::sqliteHandle(database()), "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) {
        m_transaction.giveBackReadConnection(m_connection, true);
        m_connection.clear();
    }
    if (apart())
        ++m_transaction.m_openSnapshots;
}

Snapshot::~Snapshot()
{
    if (!apart())
        return;
    bool faulted = true;
    if (sqlite3 *handle = db::sqliteHandle(database())) {
        // The last statement's fault stays the connection's until another call succeeds.
        faulted = keptByTheConnection(sqlite3_extended_errcode(handle));
        sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr);
    }
    m_transaction.giveBackReadConnection(m_connection, faulted);
    if (--m_transaction.m_openSnapshots == 0)
        m_transaction.checkpoint();
}

QSqlDatabase Snapshot::database() const
{
    return apart() ? QSqlDatabase::database(m_connection, false) : m_transaction.database();
}
} // namespace db
