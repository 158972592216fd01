// The connection's recovery: faults the connection keeps after their cause is gone, a file replaced or moved at
// its path, and the files the log leaves beside the database.
#include "platform/transaction.h"
#include "platform/transaction_internal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QUrl>

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace db {
namespace internal {
bool hasMoved(sqlite3 *handle)
{
    int moved = 0;
    return handle && sqlite3_file_control(handle, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved;
}

bool keptByTheConnection(int dbCode)
{
    switch (dbCode & 0xff) {
    case SQLITE_READONLY:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return true;
    default:
        return false;
    }
}

QString fileUri(const QString &file, const char *mode)
{
    return QStringLiteral("file:") + QUrl::toPercentEncoding(QFileInfo(file).absoluteFilePath(), "/")
         + QStringLiteral("?mode=") + QLatin1String(mode);
}

bool headerInLog(const QString &file)
{
    QFile f(file);
    const QByteArray header = f.open(QIODevice::ReadOnly) ? f.read(20) : QByteArray();
    return header.size() == 20 && header.at(18) == 2 && header.at(19) == 2;
}

bool writable(const QString &path)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
}

bool opensImmutable(const QString &file)
{
    return headerInLog(file) && !writable(QFileInfo(file).absolutePath()) && !QFileInfo::exists(file + QStringLiteral("-shm"));
}

bool readOnlyAgain(const QString &file)
{
    if (!writable(file))
        return true;
    // A read-only folder lets the file be written only through log files already there.
    return !writable(QFileInfo(file).absolutePath())
        && !(QFileInfo::exists(file + QStringLiteral("-shm")) && QFileInfo::exists(file + QStringLiteral("-wal")));
}

// SQLite makes the log's files with the database's own mode, so a read-only file in the log would get a read-only
// -shm that no later connection can write, the permission given back or not: every save would be refused. The
// program's own -shm and -wal are given write permission for their owner, and those a read-only file in the log
// needs are made first (empty), with the mode of the file as it is when writable.
void shareLogFiles(const QString &file, bool inLog)
{
    const QByteArray path = QFile::encodeName(file);
    struct stat database = {};
    if (::stat(path.constData(), &database) != 0)
        return;
    const mode_t wanted = (database.st_mode & 0666) | S_IRUSR | S_IWUSR;
    const bool readOnly = !writable(file);
    for (const char *suffix : {"-shm", "-wal"}) {
        const QByteArray name = path + suffix;
        struct stat log = {};
        if (::stat(name.constData(), &log) == 0) {
            if (log.st_uid == ::geteuid() && (log.st_mode & wanted) != wanted)
                ::chmod(name.constData(), (log.st_mode & 0777) | wanted);
        } else if (inLog && readOnly) {
            const int made = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, wanted);
            if (made >= 0)
                ::close(made);
        }
    }
}

QStringList logFilesRefusingWrites(const QString &file)
{
    // A file or folder that may not be written is the cause the operator is told of first.
    if (file.isEmpty() || !writable(file) || !writable(QFileInfo(file).absolutePath()))
        return {};
    QStringList refusing;
    for (const char *suffix : {"-wal", "-shm"}) {
        const QString log = file + QLatin1String(suffix);
        if (QFileInfo::exists(log) && !writable(log))
            refusing << QDir::toNativeSeparators(log);
    }
    return refusing;
}

QString noFile(const QString &file)
{
    return QStringLiteral("数据库文件不存在：%1").arg(QDir::toNativeSeparators(file));
}

} // namespace internal

using namespace internal;

bool Transaction::stale() const
{
    sqlite3 *handle = sqliteHandle();
    // Opened read-only although asked for read-write: the file refused writing when it was opened.
    return m_reopen || (handle && sqlite3_db_readonly(handle, "main") == 1) || hasMoved(handle);
}

// A fault the connection keeps would fail every write until a restart though its cause is gone (the permission
// given back, the file put back or repaired): such a connection is opened afresh, and so follows the file now
// at the path. Reads need it only after a statement met a fault (a read-only or replaced file still reads).
// Never inside a transaction that has written: its writes would be lost. False when the new connect failed
// (its error is set); the next statement tries again.
bool Transaction::reopenIfStale(bool write)
{
    // Another file at the path: reads follow it too, before a view opens on the pool's connections, which
    // would open the new file beside the old one's log.
    const bool replaced = hasMoved(sqliteHandle()) && QFileInfo(m_file).isFile();
    if ((m_inTransaction && m_wrote) || !(write ? stale() : m_reopen || replaced))
        return true;
    // The same file, still read-only (or its folder): connected afresh it would refuse the save the same way, and
    // every view half read would be let go for nothing.
    const bool sameFile = isConnected() && !hasMoved(sqliteHandle());
    if (sameFile && readOnlyAgain(m_file)) {
        shareLogFiles(m_file, false); // those SQLite made meanwhile, as a reconnect would
        return true;
    }
    if (isConnected() && !QFileInfo(m_file).isFile()) {
        // Moved away: the open connection stays, so that what was read stays readable until the file is back.
        setError(SQLITE_CANTOPEN, noFile(m_file));
        return false;
    }
    // Before a write to the same file (the permission given back), the views half read read on rather than
    // being let go: the operator's rows and edits stay, and the save goes through.
    if (write && sameFile)
        finishReaders();
    connect();
    m_reopen = SQLCode != 0;
    return SQLCode == 0;
}

void Transaction::fileChanged()
{
    const QScopedValueRollback inFileChanged(m_inFileChanged, true);
    sqlite3 *handle = sqliteHandle();
    if (!hasMoved(handle) || (m_inTransaction && m_wrote))
        return;
    if (QFileInfo(m_file).isFile()) {
        connect(); // lets every connection of the old file go, the last out removing its log
        return;
    }
    // Moved away: the connection stays (what was read stays readable), its log emptied.
    dropReaders();
    closeReadConnections();
    checkpoint();
}

bool Transaction::recover() { return reopenIfStale(false); }
} // namespace db
