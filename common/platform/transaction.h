#pragma once
#include "platform/export.h"
#include <QDate>
#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <functional>
#include <initializer_list>
#include <memory>
#include <variant>

class QFileSystemWatcher;
class QSqlError;
class QSqlQuery;
struct sqlite3;

namespace db {

// A statement that is still being read, such as a data view's rows fetched as they are needed. Where reads
// share the program's connection (no write-ahead log, see Transaction::readsApart) each open reader reads the
// rest of its rows before the connection writes, commits or rolls back, so that what it holds stays the result
// of its own moment, as if it had read everything at once. Before the connection closes (a reconnect, the end
// of the program) each reader is dropped instead: it stops reading where it is, without reading on.
class COMMON_EXPORT Reader {
public:
    virtual ~Reader() = default;
    virtual void finish() = 0;
    virtual void drop() = 0;
};

// The name of the collation every connection carries: texts ordered by their GBK bytes.
inline constexpr const char *kGbkCollation = "gbk";
// SQLite's own handle of an open Qt connection, nullptr when closed or another engine.
COMMON_EXPORT sqlite3 *sqliteHandle(const QSqlDatabase &database);
// Registers the GBK collation on a SQLite connection. Every connection that writes the registers or the books
// needs it: their indexes keep texts in that order.
COMMON_EXPORT bool registerGbkCollation(sqlite3 *handle);
inline bool registerGbkCollation(const QSqlDatabase &database) { return registerGbkCollation(sqliteHandle(database)); }

// A target of a singleton select or a fetch. NULL arrives as empty text, 0 or an invalid date.
struct Into {
    std::variant<QString *, int *, qint64 *, double *, QDate *, QVariant *> target;
    Into(QString &v) : target(&v) {}
    Into(int &v) : target(&v) {}
    Into(qint64 &v) : target(&v) {}
    Into(double &v) : target(&v) {}
    Into(QDate &v) : target(&v) {}
    Into(QVariant &v) : target(&v) {}
    void assign(const QVariant &value) const;
};

class Snapshot;

// The one database connection of the system, in the shape the windows expect: after every statement
// SQLCode is 0 (ok), 100 (no row) or -1 (error), SQLDBCode the engine's error number, SQLErrText its text.
// Values are always bound ('?' placeholders), never pasted into the SQL text.
class COMMON_EXPORT Transaction {
public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    QString DBMS;
    bool AutoCommit = true;
    QString DBParm;

    int SQLCode = 0;
    int SQLDBCode = 0;
    QString SQLErrText;
    int SQLNRows = 0;

    // How long a statement waits for a lock that another program holds on the database before it fails
    // ("database is locked"); the busy cursor shows meanwhile.
    int lockWaitMs = 5000;
    // Whether connect puts the file in the write-ahead log; off, it puts it back in the rollback journal
    // where no other program keeps it in the log. Off, or where the log is impossible (a read-only file or
    // folder, a file system without shared memory), views read on the program's own connection.
    bool writeAheadLog = true;

    // Told while the connect prepares the file (rebuilds the indexes in a new text order, adds those an older
    // file lacks): a text for the operator, then an empty one when it is done. The start-up shows it on the splash.
    std::function<void(const QString &)> preparing;
    // The engine's code when the last connect could not add the missing indexes, 0 when none were missing or all
    // were added. The file works without them, and the next connect tries again.
    int indexFault = 0;
    // How many times a statement waited for another program's lock since the last connect began. Within a
    // connect one wait at most: once a wait ran out, the rest of the connect does not wait again.
    int lockWaits = 0;

    // Resolves the DSN named in DBParm through the registry store (its DatabaseFile) and opens that file.
    // A missing or empty file, a file that is not a database or one without the system's tables fails the
    // connect. A file made before an index was added gets it here (see indexFault).
    void connect();
    // Drops every open reader, rolls back what was not committed and closes the connections. The last program
    // to close the file checkpoints the log and leaves the file in the rollback journal: one file again.
    void disconnect();
    bool isConnected() const;
    // Disconnects every transaction of the process: the program ends next.
    static void disconnectAll();
    // The log files beside the database of any connected transaction that refuse this program's writes (another
    // account's -wal or -shm) while the file and its folder themselves may be written.
    static QStringList logFilesRefusingWrites();

    // INSERT, UPDATE or DELETE. With AutoCommit off the first write begins a transaction.
    // Text longer than its column's width in GBK bytes is refused before anything is written.
    // A connection that may still hold a fault whose cause is gone is opened again first, unless a transaction
    // has written (see reopenIfStale); a select or cursor does the same after a damaged file (see recover).
    void execute(const QString &sql, const QVariantList &args = {});
    // One row into the targets: no row -> 100, more than one -> -1; the targets change only on success.
    void selectInto(const QString &sql, const QVariantList &args, std::initializer_list<Into> targets);
    void commit();
    void rollback();

    // Before a statement that reads: a connection that met a damaged or unreadable file (whose pages it may keep)
    // is connected afresh, unless a transaction has written. False when that connect failed (its error is set).
    bool recover();

    // For the data view engine: the open connection and the status helpers it reports through.
    QSqlDatabase database() const;
    bool prepare(QSqlQuery &query, const QString &sql, const QVariantList &args);
    void beginWrite();
    void setOk(int rows = 0);
    void setError(int dbCode, const QString &text);
    void setFromQuery(const QSqlQuery &query);
    // SQLite's own handle of the open connection, nullptr when not connected or another engine.
    sqlite3 *sqliteHandle() const;
    // Whether the file is in the write-ahead log and views read on connections of their own (see Snapshot).
    bool readsApart() const { return m_readsApart; }
    // `apart`: the reader reads in a Snapshot of its own connection, so writes here do not concern it.
    void addReader(Reader *reader, bool apart = false);
    void removeReader(Reader *reader);
    // Lets every open reader read its remaining rows (see Reader).
    void finishReaders();
    // Stops every open reader where it is (see Reader).
    void dropReaders();

private:
    friend class Captions;
    friend class Snapshot;
    static int onBusy(void *transaction, int count);
    // Before a write, commit or rollback: the readers that read on this connection.
    void finishSharedReaders();
    // The read-only connections of the same file: an idle one, else a new one (empty when none opens).
    QString takeReadConnection();
    // A connection that met a fault (a damaged page it may keep in its cache) is closed, never pooled.
    void giveBackReadConnection(const QString &name, bool faulted);
    // Copies the log into the file and empties it, without waiting for anyone: done when the last snapshot
    // ends, and after a commit while one ended during the transaction, so the log never grows without bound.
    void checkpoint();
    void closeReadConnections();
    static void closeReadConnection(const QString &name);
    bool stale() const;
    bool reopenIfStale(bool write);
    // The file at the path changed: when it is no longer the one open, its log, which stays at the path, is
    // emptied into it at once (the views that hold it back let go), so that a file put in its place never gets
    // its pages, even when the program is killed before its next statement.
    void fileChanged();
    std::unique_ptr<QFileSystemWatcher> m_watcher;
    bool m_inFileChanged = false;
    QString m_connectionName;
    QString m_file;
    QString m_uriOptions; // added to the file's URI, for the pool's connections too
    bool m_inTransaction = false;
    bool m_readsApart = false;
    int m_readConnections = 0; // opened so far, for their names
    int m_openSnapshots = 0;   // read transactions on the pool's connections
    bool m_checkpointDue = false;
    bool m_noWait = false; // a wait of this connect ran out: the rest of it does not wait
    QStringList m_idleReadConnections;
    // Readers on the program's own connection, and those that read in a snapshot of their own.
    QList<Reader *> m_sharedReaders, m_apartReaders;
    void endAll(QList<Reader *> &readers, void (Reader::*end)());
    QHash<QString, QString> m_captions; // column -> the caption of its box, while a Captions lives
    qint64 m_waitStarted = 0;
    bool m_wrote = false;  // a write of the open transaction succeeded
    bool m_reopen = false; // a statement met a fault the open connection may keep
};

// A moment of the database to read in. With the write-ahead log it is a read transaction on a read-only
// connection of its own, taken from the transaction's pool and given back when the snapshot ends: every
// statement run on it (a view's rows, and its counts and sums) sees the database as it was at its first read,
// while the program's connection and other programs write. Otherwise, and while the program's connection has
// writes not yet committed (which a read elsewhere would not see), it is the program's own connection.
class COMMON_EXPORT Snapshot {
public:
    explicit Snapshot(Transaction &transaction);
    ~Snapshot();
    Snapshot(const Snapshot &) = delete;
    Snapshot &operator=(const Snapshot &) = delete;

    QSqlDatabase database() const;
    // Whether it reads on a connection of its own.
    bool apart() const { return !m_connection.isEmpty(); }

private:
    Transaction &m_transaction;
    QString m_connection; // empty: the program's connection
};

// Names the boxes behind the columns of the statements run while it lives: a text that a column cannot
// hold is then refused naming the box by the caption the operator sees (收款人) instead of table.column.
class COMMON_EXPORT Captions {
public:
    Captions(Transaction &transaction, const QHash<QString, QString> &byColumn);
    ~Captions();
    Captions(const Captions &) = delete;
    Captions &operator=(const Captions &) = delete;

private:
    Transaction &m_transaction;
    QHash<QString, QString> m_previous;
};

// The message for the operator after a statement failed: what happened and what they can do, then the
// engine's own text. A refusal that is already the operator's message (a text too long, a character GBK
// cannot encode) comes back as it is.
// The engine's error code of a failed statement (-1 where it gives none) and its own text.
COMMON_EXPORT int engineCode(const QSqlError &error);
COMMON_EXPORT QString engineText(const QSqlError &error);

COMMON_EXPORT QString faultMessage(const Transaction &transaction);
COMMON_EXPORT QString faultMessage(int dbCode, const QString &engineText, int lockWaitMs = 5000);
// What an engine error code means for the operator and what they can do; empty for codes without advice.
COMMON_EXPORT QString faultAdvice(int dbCode, int lockWaitMs = 5000);
// What the operator is told when the connect could not add the missing indexes (Transaction::indexFault); empty
// where the program goes on without a word (another program's lock, a read-only file: the next start tries again).
COMMON_EXPORT QString indexFaultNotice(int dbCode);
// Told true when a statement starts to wait for another program's lock and false after each statement has
// reported. The database layer shows nothing itself: the application installs its busy cursor here.
COMMON_EXPORT void setWaitIndicator(std::function<void(bool waiting)> indicator);

// A declared cursor: open, fetch until 100 (an error ends the loop too), close.
class COMMON_EXPORT Cursor {
public:
    Cursor(Transaction &transaction, QString sql, QVariantList args = {});
    ~Cursor();
    void open();
    // Returns SQLCode: 0 with the targets written, 100 at the end, -1 on error.
    int fetch(std::initializer_list<Into> targets);
    void close();

private:
    Transaction &m_tr;
    QString m_sql;
    QVariantList m_args;
    std::unique_ptr<QSqlQuery> m_query;
};

// The widths of the text columns in GBK bytes, from the table kept beside the schema.
COMMON_EXPORT int columnWidth(const QString &table, const QString &column);
// Checks the bound texts of an INSERT or UPDATE against the columns: every character must have a GBK code
// and the text must fit the column's width. Empty when all pass, else the message that refuses the
// statement, naming the box by its caption (column -> caption) where one is given, else table.column.
COMMON_EXPORT QString checkWidths(const QString &sql, const QVariantList &args,
                                  const QHash<QString, QString> &captions = {});

// Builds a fresh database file from the schema and initial content. Returns an error text, empty on success.
COMMON_EXPORT QString createDatabase(const QString &path);

// The tables the system expects in its database.
COMMON_EXPORT QStringList expectedTables();
} // namespace db
