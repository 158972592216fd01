#include "platform/transaction.h"

#include "platform/gbk.h"
#include "platform/registry.h"
#include "platform/transaction_internal.h"

#include <QDateTime>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHash>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

namespace db {
using namespace internal;

void Into::assign(const QVariant &value) const
{
    std::visit(
        [&value](auto *p) {
            using T = std::remove_pointer_t<decltype(p)>;
            if constexpr (std::is_same_v<T, QString>)
                *p = value.isNull() ? QString() : value.toString();
            else if constexpr (std::is_same_v<T, int>)
                *p = value.toInt();
            else if constexpr (std::is_same_v<T, qint64>)
                *p = value.toLongLong();
            else if constexpr (std::is_same_v<T, double>)
                *p = value.toDouble();
            else if constexpr (std::is_same_v<T, QDate>)
                *p = value.toDate().isValid() ? value.toDate() : QDate::fromString(value.toString(), Qt::ISODate);
            else
                *p = value;
        },
        target);
}

namespace {
int nextConnectionId()
{
    static int id = 0;
    return ++id;
}

// Dates are stored as ISO text; bind them that way whatever the caller passes.
QVariant bindable(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(Qt::ISODate);
    return v;
}

const QHash<QString, int> &widthTable()
{
    static const QHash<QString, int> table = [] {
        QHash<QString, int> t;
        QFile f(QStringLiteral(":/database/widths.tsv"));
        if (f.open(QIODevice::ReadOnly)) {
            for (const QByteArray &raw : f.readAll().split('\n')) {
                const QString line = QString::fromUtf8(raw).trimmed();
                if (line.isEmpty() || line.startsWith(u'#'))
                    continue;
                const QStringList parts = line.split(u'\t');
                if (parts.size() == 3)
                    t.insert(parts[0].toLower() + u'.' + parts[1].toLower(), parts[2].toInt());
            }
        }
        return t;
    }();
    return table;
}

// Splits a comma list at top level, leaving quoted literals and parentheses whole.
QStringList splitTopLevel(const QString &text)
{
    QStringList items;
    QString cur;
    int depth = 0;
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && c == u'(')
            ++depth;
        else if (!quoted && c == u')')
            --depth;
        if (!quoted && depth == 0 && c == u',') {
            items << cur.trimmed();
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.trimmed().isEmpty())
        items << cur.trimmed();
    return items;
}

QString literalText(const QString &item)
{
    if (item.size() >= 2 && item.startsWith(u'\'') && item.endsWith(u'\''))
        return item.mid(1, item.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    return {};
}

// The box as the operator sees it, else the column.
QString boxName(const QString &table, const QString &column, const QHash<QString, QString> &captions)
{
    const QString caption = captions.value(column.toLower());
    return caption.isEmpty() ? table + u'.' + column + u' ' : u'“' + caption + u'”';
}

QString tooLong(const QString &box, int bytes, int width)
{
    return QStringLiteral("%1的内容过长（%2 字节，最多 %3 字节），未保存。").arg(box).arg(bytes).arg(width);
}

QString notGbk(const QString &box, const QString &character)
{
    const char32_t code = character.toUcs4().value(0);
    return QStringLiteral("%1中的字符“%2”（U+%3）不在 GBK 字符集中，登记簿存不下，未保存。请删去或换用别的字。")
        .arg(box, character)
        .arg(QString::number(uint(code), 16).toUpper().rightJustified(4, u'0'));
}

// What the application shows while a statement waits for another program's lock (setWaitIndicator).
std::function<void(bool)> &waitIndicator()
{
    static std::function<void(bool)> indicator;
    return indicator;
}

void indicateWait(bool waiting)
{
    if (waitIndicator())
        waitIndicator()(waiting);
}

bool isWrite(const QString &sql)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(insert|update|delete)\\b"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(sql).hasMatch();
}

// The statements of a script: one per ';' at a line end (the scripts hold no ';' inside literals at line ends),
// comment lines dropped. A plain scan: the connect reads the index script, and a pattern compiled for it took
// longer than the rest of its index check.
QStringList scriptStatements(const QString &text)
{
    QStringList statements;
    QStringList lines;
    const auto finish = [&] {
        QString stmt = lines.join(u'\n').trimmed();
        lines.clear();
        if (stmt.endsWith(u';'))
            stmt.chop(1);
        if (!stmt.isEmpty())
            statements << stmt;
    };
    for (const QString &line : text.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QStringLiteral("--")))
            continue;
        lines << line;
        if (trimmed.endsWith(u';'))
            finish();
    }
    finish();
    return statements;
}


// Brings the file's indexes up to this program: a file built before an index was added gets it (`present` holds
// the statement of each index the file has, by name), one whose index of that name was made otherwise has it
// made again as it is now, and a file whose texts were indexed in another version of the gbk order (its
// version in the file's user_version) has those indexes rebuilt. All of it runs in one transaction: another
// program's lock is waited for once, and a failure (the lock, a read-only file, a full disk) leaves nothing half
// done. The file works meanwhile; the next connect tries again. Returns the engine's code of a failure, 0 when
// there was nothing to do or all was done.
int prepareIndexes(const QSqlDatabase &dbase, const QHash<QString, QString> &present,
                   const std::function<void(const QString &)> &preparing)
{
    QFile f(QStringLiteral(":/database/indexes.sql"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    // The file keeps an index's statement without its IF NOT EXISTS, spaced as it was written.
    const auto definition = [](const QString &stmt) {
        return stmt.simplified().toLower().remove(QStringLiteral("if not exists ")).remove(u' ');
    };
    QStringList steps;
    for (const QString &stmt : scriptStatements(QString::fromUtf8(f.readAll()))) {
        // "CREATE INDEX IF NOT EXISTS name ON ..."
        const QStringList words = stmt.simplified().toLower().split(u' ');
        const qsizetype on = words.indexOf(QStringLiteral("on"));
        const QString name = on < 1 ? QString() : words.at(on - 1);
        if (!present.contains(name))
            steps << stmt;
        else if (definition(present.value(name)) != definition(stmt))
            steps << QStringLiteral("DROP INDEX ") + name << stmt;
    }
    QSqlQuery q(dbase);
    const bool reorder = q.exec(QStringLiteral("PRAGMA user_version")) && q.next()
                      && q.value(0).toInt() != gbk::kOrderVersion;
    q.finish();
    if (steps.isEmpty() && !reorder)
        return 0;
    if (preparing)
        preparing(QStringLiteral("正在准备数据库，请稍候……"));
    bool ok = q.exec(QStringLiteral("BEGIN IMMEDIATE"));
    const bool begun = ok;
    if (ok && reorder)
        ok = q.exec(QStringLiteral("REINDEX ") + QLatin1String(kGbkCollation));
    for (qsizetype i = 0; ok && i < steps.size(); ++i)
        ok = q.exec(steps.at(i));
    if (ok && reorder)
        ok = q.exec(QStringLiteral("PRAGMA user_version = %1").arg(gbk::kOrderVersion));
    if (ok)
        ok = q.exec(QStringLiteral("COMMIT"));
    const int fault = ok ? 0 : engineCode(q.lastError());
    if (!ok && begun)
        QSqlQuery(dbase).exec(QStringLiteral("ROLLBACK"));
    if (preparing)
        preparing({});
    return fault;
}

// The data source of connect parameters "...DSN=name;..." (the name runs to a ';' or a quote), else empty.
QString dataSourceName(const QString &parameters)
{
    const qsizetype at = parameters.indexOf(QStringLiteral("DSN="), 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    qsizetype end = at + 4;
    while (end < parameters.size() && parameters.at(end) != u';' && parameters.at(end) != u'\'')
        ++end;
    return parameters.mid(at + 4, end - at - 4).trimmed();
}
} // namespace

void setWaitIndicator(std::function<void(bool)> indicator) { waitIndicator() = std::move(indicator); }

int columnWidth(const QString &table, const QString &column)
{
    return widthTable().value(table.toLower() + u'.' + column.toLower(), 0);
}

QString checkWidths(const QString &sql, const QVariantList &args, const QHash<QString, QString> &captions)
{
    static const QRegularExpression insertRe(
        QStringLiteral("^\\s*insert\\s+into\\s+(\\w+)\\s*\\((.*?)\\)\\s*values\\s*\\((.*)\\)\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression updateRe(
        QStringLiteral("^\\s*update\\s+(\\w+)\\s+set\\s+(.*?)(\\s+where\\s+.*)?\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);

    QString table;
    QList<QPair<QString, QString>> assignments; // column, value expression
    if (auto m = insertRe.match(sql); m.hasMatch()) {
        table = m.captured(1);
        const QStringList cols = splitTopLevel(m.captured(2));
        const QStringList vals = splitTopLevel(m.captured(3));
        for (int i = 0; i < cols.size() && i < vals.size(); ++i)
            assignments.append({cols[i], vals[i]});
    } else if (auto u = updateRe.match(sql); u.hasMatch()) {
        table = u.captured(1);
        for (const QString &item : splitTopLevel(u.captured(2))) {
            const qsizetype eq = item.indexOf(u'=');
            if (eq > 0)
                assignments.append({item.left(eq).trimmed(), item.mid(eq + 1).trimmed()});
        }
    } else {
        return {};
    }

    int argIndex = 0;
    for (const auto &[column, expr] : assignments) {
        QString value;
        if (expr == QStringLiteral("?")) {
            if (argIndex >= args.size())
                break;
            const QVariant &v = args.at(argIndex++);
            if (v.typeId() != QMetaType::QString)
                continue;
            value = v.toString();
        } else {
            argIndex += int(expr.count(u'?'));
            value = literalText(expr);
        }
        const int width = columnWidth(table, column);
        if (width <= 0)
            continue;
        if (const QString character = gbk::firstUnencodable(value); !character.isEmpty())
            return notGbk(boxName(table, column, captions), character);
        if (const int bytes = gbk::byteLength(value); bytes > width)
            return tooLong(boxName(table, column, captions), bytes, width);
    }
    return {};
}

Captions::Captions(Transaction &transaction, const QHash<QString, QString> &byColumn)
    : m_transaction(transaction), m_previous(transaction.m_captions)
{
    for (auto it = byColumn.cbegin(); it != byColumn.cend(); ++it)
        m_transaction.m_captions.insert(it.key().toLower(), it.value());
}

Captions::~Captions() { m_transaction.m_captions = m_previous; }

QStringList expectedTables()
{
    return {QStringLiteral("xjzp"), QStringLiteral("jzd"), QStringLiteral("sescr"), QStringLiteral("sefonent"),
            QStringLiteral("prsz"), QStringLiteral("bankoffice"), QStringLiteral("skrbook"), QStringLiteral("fkrbook"),
            QStringLiteral("bs_1"), QStringLiteral("myname"), QStringLiteral("pass")};
}

namespace {
QList<Transaction *> &allTransactions()
{
    static QList<Transaction *> all;
    return all;
}
} // namespace

Transaction::Transaction() : m_connectionName(QStringLiteral("sqlca-%1").arg(nextConnectionId()))
{
    allTransactions() << this;
}

Transaction::~Transaction()
{
    disconnect();
    allTransactions().removeAll(this);
}

void Transaction::disconnectAll()
{
    for (Transaction *t : std::as_const(allTransactions()))
        t->disconnect();
}

QStringList Transaction::logFilesRefusingWrites()
{
    QStringList files;
    for (const Transaction *t : std::as_const(allTransactions()))
        if (t->isConnected())
            for (const QString &file : internal::logFilesRefusingWrites(t->m_file))
                if (!files.contains(file))
                    files << file;
    return files;
}

QSqlDatabase Transaction::database() const { return QSqlDatabase::database(m_connectionName, false); }

bool Transaction::isConnected() const { return database().isOpen(); }

int Transaction::onBusy(void *transaction, int count)
{
    auto *t = static_cast<Transaction *>(transaction);
    if (t->m_noWait)
        return 0;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (count == 0) {
        t->m_waitStarted = now;
        ++t->lockWaits;
        indicateWait(true);
    }
    const qint64 left = t->lockWaitMs - (now - t->m_waitStarted);
    if (left <= 0)
        return 0;
    sqlite3_sleep(int(qMin<qint64>(left, 20)));
    return 1;
}

void Transaction::setOk(int rows)
{
    indicateWait(false);
    SQLCode = 0;
    SQLDBCode = 0;
    SQLErrText.clear();
    SQLNRows = rows;
}

void Transaction::setError(int dbCode, const QString &text)
{
    indicateWait(false);
    if (keptByTheConnection(dbCode) && isConnected())
        m_reopen = true;
    SQLCode = -1;
    SQLDBCode = dbCode;
    SQLErrText = text;
    SQLNRows = 0;
}

void Transaction::setFromQuery(const QSqlQuery &query)
{
    const QSqlError e = query.lastError();
    if (e.type() == QSqlError::NoError)
        setOk(query.numRowsAffected() > 0 ? query.numRowsAffected() : 0);
    else
        setError(engineCode(e), engineText(e));
}

void Transaction::connect()
{
    disconnect();
    lockWaits = 0;
    const QString dsn = dataSourceName(DBParm);
    if (dsn.isEmpty()) {
        setError(-1, QStringLiteral("连接参数中没有数据源名称。"));
        return;
    }
    const QString file =
        registry::value(QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\") + dsn, QStringLiteral("DatabaseFile"))
            .toString();
    if (file.isEmpty()) {
        setError(-1, QStringLiteral("数据源 %1 没有登记数据库文件。").arg(dsn));
        return;
    }
    const QFileInfo info(file);
    if (!info.isFile()) {
        // Never create an empty database in place of a missing one.
        setError(SQLITE_CANTOPEN, noFile(file));
        return;
    }
    if (info.size() == 0) {
        // SQLite takes an empty file for an empty database; for the operator it is no database of this program.
        setError(SQLITE_NOTADB, QStringLiteral("数据库文件是空的（0 字节）：%1").arg(QDir::toNativeSeparators(file)));
        return;
    }

    const bool leftInLog = headerInLog(file);
    shareLogFiles(file, leftInLog);
    // A file in the log needs its -shm: in a read-only folder without one it is read as it is in the file
    // alone, as a file that cannot change (a log beside it from a crash is not read).
    m_uriOptions.clear();
    if (opensImmutable(file))
        m_uriOptions = QStringLiteral("&immutable=1");

    QSqlDatabase dbase = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    // mode=rw: SQLite refuses to create the file if it vanished since the check above.
    dbase.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    dbase.setDatabaseName(fileUri(file, m_uriOptions.isEmpty() ? "rw" : "ro") + m_uriOptions);
    if (!dbase.open()) {
        setError(engineCode(dbase.lastError()), dbase.lastError().text());
        dbase = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        return;
    }

    m_file = info.absoluteFilePath();
    // Waiting for another program's lock goes through our handler, which shows the busy cursor.
    if (sqlite3 *connection = db::sqliteHandle(dbase))
        sqlite3_busy_handler(connection, &Transaction::onBusy, this);

    // A file that is not a database, or a database without the system's tables, is no connection either.
    QSqlQuery probe(dbase);
    if (!probe.exec(QStringLiteral("SELECT type, name, sql FROM sqlite_master WHERE type IN ('table', 'index')"))) {
        setFromQuery(probe);
        probe = QSqlQuery();
        dbase = QSqlDatabase(); // no handle left in use when the connection is removed
        disconnect();
        return;
    }
    QStringList present;
    QHash<QString, QString> indexes;
    while (probe.next()) {
        if (probe.value(0).toString() == u"index")
            indexes.insert(probe.value(1).toString().toLower(), probe.value(2).toString());
        else
            present << probe.value(1).toString().toLower();
    }
    for (const QString &t : expectedTables()) {
        if (!present.contains(t)) {
            probe = QSqlQuery();
            dbase = QSqlDatabase();
            disconnect();
            setError(1, QStringLiteral("数据库中缺少数据表 %1。").arg(t));
            return;
        }
    }
    probe = QSqlQuery();
    registerGbkCollation(dbase);
    indexFault = prepareIndexes(dbase, indexes, preparing);
    // Another program's lock was waited for once already: the switch to the log does not wait for it again
    // (without the log the views read on this connection; the next connect tries again).
    m_noWait = (indexFault & 0xff) == SQLITE_BUSY;
    QSqlQuery(dbase).exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    // With the write-ahead log a read never holds up a write, the program's own or another program's, so the
    // views read on connections of their own. The log needs a file and folder that can be written and shared
    // memory between the programs; without it the rollback journal stays. Every commit still reaches the disk.
    QSqlQuery mode(dbase);
    const bool inLog = mode.exec(writeAheadLog ? QStringLiteral("PRAGMA journal_mode = WAL")
                                               : QStringLiteral("PRAGMA journal_mode = DELETE"))
                    && mode.next() && mode.value(0).toString().compare(u"wal", Qt::CaseInsensitive) == 0;
    mode = QSqlQuery();
    m_readsApart = writeAheadLog && inLog;
    m_noWait = false;
    shareLogFiles(file, false); // SQLite may have made them anew meanwhile
    if (QCoreApplication::instance()) {
        m_watcher = std::make_unique<QFileSystemWatcher>(QStringList{m_file});
        QObject::connect(m_watcher.get(), &QFileSystemWatcher::fileChanged, m_watcher.get(), [this] { fileChanged(); },
                         Qt::QueuedConnection);
    }
    QSqlQuery(dbase).exec(QStringLiteral("PRAGMA synchronous = FULL"));
    m_inTransaction = false;
    setOk();
}

void Transaction::disconnect()
{
    // Deleted at once, and with it any call it has queued, unless this runs in that call.
    if (m_watcher && m_inFileChanged)
        m_watcher.release()->deleteLater();
    m_watcher.reset();
    dropReaders();
    closeReadConnections();
    if (QSqlDatabase::contains(m_connectionName)) {
        {
            QSqlDatabase d = QSqlDatabase::database(m_connectionName, false);
            if (d.isOpen()) {
                if (m_inTransaction)
                    d.rollback();
                // The last program to close the file leaves it in the rollback journal: one file again, which
                // opens anywhere, read-only files and folders included. While another program has it open
                // the log stays, without waiting for it.
                if (m_readsApart) {
                    sqlite3_busy_handler(db::sqliteHandle(d), nullptr, nullptr);
                    QSqlQuery(d).exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
                }
                d.close();
            }
        }
        QSqlDatabase::removeDatabase(m_connectionName);
        shareLogFiles(m_file, false); // those the log leaves behind, as SQLite made them
    }
    m_inTransaction = false;
    m_readsApart = false;
    m_wrote = false;
    m_reopen = false;
}

bool Transaction::prepare(QSqlQuery &query, const QString &sql, const QVariantList &args)
{
    if (!isConnected()) {
        setError(-1, QStringLiteral("没有连接数据库。"));
        return false;
    }
    if (!query.prepare(sql)) {
        setFromQuery(query);
        return false;
    }
    for (const QVariant &a : args)
        query.addBindValue(bindable(a));
    return true;
}

void Transaction::beginWrite()
{
    if (!AutoCommit && !m_inTransaction && isConnected()) {
        m_inTransaction = database().transaction();
    }
}

void Transaction::execute(const QString &sql, const QVariantList &args)
{
    if (const QString refused = checkWidths(sql, args, m_captions); !refused.isEmpty()) {
        setError(-1, refused);
        return;
    }
    const bool write = isWrite(sql);
    if (!reopenIfStale(write))
        return;
    QSqlQuery q(database());
    if (!prepare(q, sql, args))
        return;
    if (write) {
        finishSharedReaders();
        beginWrite();
    }
    q.exec();
    setFromQuery(q);
    if (write && SQLCode == 0)
        m_wrote = true;
}

void Transaction::selectInto(const QString &sql, const QVariantList &args, std::initializer_list<Into> targets)
{
    if (!recover())
        return;
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!prepare(q, sql, args))
        return;
    if (!q.exec()) {
        setFromQuery(q);
        return;
    }
    if (!q.next()) {
        if (q.lastError().type() != QSqlError::NoError) {
            setFromQuery(q);
            return;
        }
        setOk();
        SQLCode = 100;
        return;
    }
    QVariantList row;
    for (int i = 0; i < q.record().count(); ++i)
        row << q.value(i);
    if (q.next()) {
        setError(-1, QStringLiteral("查询返回了多于一行的结果。"));
        return;
    }
    int i = 0;
    for (const Into &t : targets) {
        if (i < row.size())
            t.assign(row.at(i));
        ++i;
    }
    setOk(1);
}

void Transaction::commit()
{
    if (!isConnected()) {
        setError(-1, QStringLiteral("没有连接数据库。"));
        return;
    }
    if (!m_inTransaction) {
        setOk();
        return;
    }
    finishSharedReaders();
    if (hasMoved(sqliteHandle())) {
        // The writes went to a file that is no longer at the path: committed, they would be lost from it.
        rollback();
        setError(SQLITE_READONLY_DBMOVED,
                 QStringLiteral("数据库文件已被替换：%1").arg(QDir::toNativeSeparators(m_file)));
        return;
    }
    // COMMIT as a statement, so that a failure keeps the engine's code and text (disk full, locked).
    QSqlQuery q(database());
    if (q.exec(QStringLiteral("COMMIT"))) {
        m_inTransaction = false;
        m_wrote = false;
        // Emptied now the log holds nothing a reader needs: a file replaced after this save is never given
        // this file's pages from a log left at the path.
        q = QSqlQuery();
        checkpoint();
        setOk();
    } else {
        setFromQuery(q);
    }
}

void Transaction::rollback()
{
    if (!isConnected()) {
        setError(-1, QStringLiteral("没有连接数据库。"));
        return;
    }
    if (m_inTransaction) {
        finishSharedReaders();
        database().rollback();
    }
    m_inTransaction = false;
    m_wrote = false;
    // The watcher's call leaves a file replaced during a transaction that wrote alone: it is let go now.
    if (hasMoved(sqliteHandle()))
        fileChanged();
    else if (m_checkpointDue)
        checkpoint();
    setOk();
}

sqlite3 *sqliteHandle(const QSqlDatabase &database)
{
    if (!database.isOpen())
        return nullptr;
    const QVariant v = database.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(v.constData());
}

sqlite3 *Transaction::sqliteHandle() const { return db::sqliteHandle(database()); }

void Transaction::addReader(Reader *reader, bool apart)
{
    removeReader(reader);
    (apart ? m_apartReaders : m_sharedReaders) << reader;
}

void Transaction::removeReader(Reader *reader)
{
    m_sharedReaders.removeAll(reader);
    m_apartReaders.removeAll(reader);
}

void Transaction::endAll(QList<Reader *> &readers, void (Reader::*end)())
{
    // A reader removes itself once it has ended (ending one may end others too).
    while (!readers.isEmpty()) {
        Reader *reader = readers.first();
        (reader->*end)();
        removeReader(reader);
    }
}

void Transaction::finishSharedReaders() { endAll(m_sharedReaders, &Reader::finish); }

void Transaction::finishReaders()
{
    endAll(m_sharedReaders, &Reader::finish);
    endAll(m_apartReaders, &Reader::finish);
}

void Transaction::dropReaders()
{
    endAll(m_sharedReaders, &Reader::drop);
    endAll(m_apartReaders, &Reader::drop);
}

namespace {
int gbkCollate(void *, int lengthA, const void *a, int lengthB, const void *b)
{
    return gbk::compareUtf8(static_cast<const char *>(a), lengthA, static_cast<const char *>(b), lengthB);
}
} // namespace

bool registerGbkCollation(sqlite3 *handle)
{
    return handle && sqlite3_create_collation(handle, kGbkCollation, SQLITE_UTF8, nullptr, gbkCollate) == SQLITE_OK;
}

Cursor::Cursor(Transaction &transaction, QString sql, QVariantList args)
    : m_tr(transaction), m_sql(std::move(sql)), m_args(std::move(args))
{
}

Cursor::~Cursor() { close(); }

void Cursor::open()
{
    m_query.reset();
    if (!m_tr.recover())
        return;
    m_query = std::make_unique<QSqlQuery>(m_tr.database());
    m_query->setForwardOnly(true);
    if (!m_tr.prepare(*m_query, m_sql, m_args)) {
        m_query.reset();
        return;
    }
    if (!m_query->exec()) {
        m_tr.setFromQuery(*m_query);
        m_query.reset();
        return;
    }
    m_tr.setOk();
}

int Cursor::fetch(std::initializer_list<Into> targets)
{
    if (!m_query) {
        if (m_tr.SQLCode == 0)
            m_tr.setError(-1, QStringLiteral("游标没有打开。"));
        return m_tr.SQLCode;
    }
    if (!m_query->next()) {
        if (m_query->lastError().type() != QSqlError::NoError) {
            m_tr.setFromQuery(*m_query);
            return m_tr.SQLCode;
        }
        m_tr.setOk();
        m_tr.SQLCode = 100;
        return 100;
    }
    int i = 0;
    for (const Into &t : targets) {
        if (i < m_query->record().count())
            t.assign(m_query->value(i));
        ++i;
    }
    m_tr.setOk(1);
    return 0;
}

void Cursor::close() { m_query.reset(); }

QString createDatabase(const QString &path)
{
    if (QFileInfo::exists(path))
        return QStringLiteral("%1 already exists").arg(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString conn = QStringLiteral("create-%1").arg(nextConnectionId());
    QString error;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conn);
        d.setDatabaseName(path);
        if (!d.open()) {
            error = d.lastError().text();
        } else {
            registerGbkCollation(d);
            d.transaction();
            QSqlQuery(d).exec(QStringLiteral("PRAGMA user_version = %1").arg(gbk::kOrderVersion));
            for (const char *name : {":/database/schema.sql", ":/database/indexes.sql", ":/database/content.sql"}) {
                QFile f(QString::fromLatin1(name));
                if (!f.open(QIODevice::ReadOnly)) {
                    error = QStringLiteral("cannot read %1").arg(QString::fromLatin1(name));
                    break;
                }
                for (const QString &stmt : scriptStatements(QString::fromUtf8(f.readAll()))) {
                    QSqlQuery q(d);
                    if (!q.exec(stmt)) {
                        error = q.lastError().text() + QStringLiteral(" in: ") + stmt.left(80);
                        break;
                    }
                }
                if (!error.isEmpty())
                    break;
            }
            if (error.isEmpty())
                d.commit();
            else
                d.rollback();
            d.close();
        }
    }
    QSqlDatabase::removeDatabase(conn);
    if (!error.isEmpty())
        QFile::remove(path);
    return error;
}
} // namespace db
