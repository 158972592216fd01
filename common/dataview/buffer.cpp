#include "dataview/buffer.h"

#include "platform/gbk.h"
#include "platform/transaction.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QScopedValueRollback>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>
#include <limits>
#include <sqlite3.h>

namespace dw {

Expression rowNumber()
{
    return [](const Buffer &, int row) { return QVariant(qint64(row)); };
}

// Figures over the rows, each computed the first time it is asked for and kept until the rows change.
struct Buffer::Totals {
    int runsColumn = -1; // the column `runs` were made for; -1: none yet
    bool runsAfterFailure = false; // made from the rows read before a failure
    QList<Run> runs;
    QHash<QString, QVariant> values; // "kind:column" over all rows, "kind:column:run" over a run
};

// The rows a pass reads past those held: a window of them, from row `first` on.
struct Buffer::Passing {
    std::unique_ptr<RowCursor> cursor; // opened when first needed
    RowStore store;
    std::vector<quint32> ids;
    int first = 0;
    int failureCode = 0; // a read that failed, with the engine's text
    QString failureText;
};

Buffer::Buffer(Definition definition) { setDefinition(std::move(definition)); }

Buffer::~Buffer() { closeCursor(); }

void Buffer::setDefinition(Definition definition)
{
    reset();
    m_def = std::move(definition);
    m_statement.compile(m_def);
    m_cellColumn.clear();
    for (const Cell &cell : std::as_const(m_def.cells))
        m_cellColumn << (cell.compute ? 0 : columnIndex(cell.name));
}

int Buffer::columnIndex(const QString &name) const
{
    for (int i = 0; i < m_def.columns.size(); ++i)
        if (m_def.columns.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i + 1;
    return 0;
}

// --- Reading ---

void Buffer::reset()
{
    m_pass.reset();
    closeCursor();
    m_store.clear();
    m_rows.clear();
    m_edits.clear();
    m_deleted.clear();
    m_nextNew = kNewRow;
    m_failed = false;
    m_failureCode = 0;
    m_failureText.clear();
    dropTotals();
}

void Buffer::fail(int code, const QString &text, bool tell)
{
    closeCursor();
    if (m_failed)
        return; // the first failure is the one reported
    m_failed = true;
    m_failureCode = code;
    m_failureText = text;
    if (tell && m_onFailed)
        m_onFailed(code, text);
}

namespace {
// A sum past the fen's range, said alike whether the program or the database adds it.
QString sumOverflowText() { return QStringLiteral("金额合计超出了能计算的范围（integer overflow）"); }
} // namespace

std::pair<int, QString> Buffer::failureOf(const QSqlQuery &query) const
{
    // A query that could not even be prepared left its reason with the transaction.
    const QSqlError e = query.lastError();
    if (!e.isValid())
        return {m_transaction->SQLDBCode, m_transaction->SQLErrText};
    if (db::engineText(e) == u"integer overflow") // SQLite's sum()
        return {db::engineCode(e), sumOverflowText()};
    return {db::engineCode(e), db::engineText(e)};
}

void Buffer::failOn(QSqlQuery &query)
{
    const auto [code, text] = failureOf(query);
    query.finish(); // the failure ends the snapshot the query reads in
    fail(code, text);
}

void Buffer::closeCursor()
{
    for (int i = 0; i < m_rows.count(); ++i)
        m_rows.segment(i).cursor.reset();
    if (!m_rows.endKnown())
        m_rows.setTail(0); // nothing more is read: what is known is all there is
    if (!m_snapshot)
        return;
    m_snapshot.reset();
    if (m_transaction)
        m_transaction->removeReader(this);
}

int Buffer::retrieve(db::Transaction &transaction, const QVariantList &arguments)
{
    reset();
    if (!transaction.recover()) {
        fail(transaction.SQLDBCode, transaction.SQLErrText, false);
        return -1;
    }
    m_transaction = &transaction;
    m_bound = m_statement.bind(arguments);
    m_snapshot = std::make_unique<db::Snapshot>(transaction);
    m_statement.learn(m_snapshot->database());
    std::unique_ptr<RowCursor> &cursor = m_rows.segment(0).cursor;
    cursor = openCursor(m_statement.sql(), m_bound);
    if (!cursor) {
        fail(transaction.SQLDBCode, transaction.SQLErrText, false);
        return -1;
    }
    transaction.addReader(this, m_snapshot->apart());
    std::vector<quint32> ids;
    const int read = cursor->read(m_store, ids, kReadRows);
    if (read < 0) {
        // As a failure further on: the rows read before it stay (none, if none), not the whole result. The
        // caller reports it, so the failure handler is not told.
        transaction.setError(cursor->errorCode(), cursor->errorText());
        m_rows.append(0, ids);
        fail(transaction.SQLDBCode, transaction.SQLErrText, false);
        return -1;
    }
    m_rows.append(0, ids);
    if (cursor->atEnd())
        closeCursor();
    transaction.setOk(fetchedCount());
    transaction.SQLCode = ids.empty() ? 100 : 0;
    return fetchedCount();
}

int Buffer::fetchMore(int count) { return readAfter(m_rows.count() - 1, count); }

namespace {
// Rows held around each place shown besides the first and the last ones: places beyond these go first.
constexpr int kPlaces = 8;
// A row this near the rows held is read on to (or back to) from them rather than from its place.
constexpr int kNear = 2 * Buffer::kReadRows;
} // namespace

int Buffer::readAfter(int segment, int count)
{
    if (!m_snapshot || count == 0)
        return 0;
    const bool last = segment + 1 == m_rows.count();
    // With the rows after known by number, reading stops where the next rows held begin.
    const int room = last ? m_rows.tail() : m_rows.segment(segment + 1).gap;
    if (room == 0)
        return 0;
    if (room > 0)
        count = count < 0 ? room : qMin(count, room);
    RowIndex::Segment &s = m_rows.segment(segment);
    if (!s.cursor) {
        // The rows after a segment read from a place: after its last row, found by its identity, or by their
        // place.
        const int lastRow = m_rows.firstRow(segment) + int(s.ids.size()) - 1;
        Edge edge;
        QVariantList args = m_bound;
        if (edgeOf(segment, lastRow, edge))
            s.cursor = openCursor(m_statement.rowsFrom(edge, false, args, true), args);
        else
            s.cursor = openCursor(m_statement.slice(false),
                                  m_bound + QVariantList{-1, m_rows.resultBefore(segment) + s.read});
        if (!s.cursor) {
            fail(m_transaction->SQLDBCode, m_transaction->SQLErrText);
            return 0;
        }
    }
    const int before = knownCount();
    std::vector<quint32> ids;
    const int read = s.cursor->read(m_store, ids, count);
    if (read < 0) {
        const int code = s.cursor->errorCode();
        const QString text = s.cursor->errorText();
        s.cursor.reset();
        m_rows.append(segment, ids); // those read before the failure
        failRead(code, text, before);
        return 0;
    }
    const bool atEnd = s.cursor->atEnd();
    if (atEnd)
        s.cursor.reset();
    m_rows.append(segment, ids);
    if (atEnd && last)
        m_rows.setTail(0);
    settle(before);
    return read;
}

void Buffer::failRead(int code, const QString &text, int before)
{
    // A failure in the middle of the rows ends the reading there: the rows read from the first on stay (those
    // read after them are dropped: a gap would be shown as no gap), and the view is told that they are not
    // all.
    forgetBack();
    fail(code, text);
    settle(before);
}

bool Buffer::readBefore(int segment, int count)
{
    std::vector<quint32> ids;
    const int firstRow = m_rows.firstRow(segment);
    Edge edge;
    QVariantList args = m_bound;
    if (edgeOf(segment, firstRow, edge)) {
        // Before its first row, found by its identity, the order turned round: the rows before it, last first.
        const QString sql = m_statement.rowsFrom(edge, true, args) + QStringLiteral(" LIMIT ?");
        const std::unique_ptr<RowCursor> back = openCursor(sql, args + QVariantList{count});
        const int read = back ? back->read(m_store, ids, count) : 0;
        if (read < 0)
            failRead(back->errorCode(), back->errorText(), knownCount());
        if (read != count)
            return false;
        std::reverse(ids.begin(), ids.end());
    } else if (!readSlice(m_rows.resultBefore(segment) - count, count, ids) || int(ids.size()) != count) {
        return false;
    }
    const int before = knownCount();
    m_rows.prepend(segment, ids);
    settle(before);
    return true;
}

bool Buffer::readAt(int row, const RowIndex::Gap &gap)
{
    // A screenful from a little before the row, as far as the gap goes.
    const int first = qMax(gap.first, row - kReadRows / 2);
    const int count = gap.last < 0 ? kReadRows : qMin(kReadRows, gap.last - first + 1);
    const RowIndex::Segment &s = m_rows.segment(gap.before);
    const qint64 offset = qint64(m_rows.resultBefore(gap.before)) + s.read + (first - gap.first);
    std::vector<quint32> ids;
    std::unique_ptr<RowCursor> cursor;
    if (!readSlice(offset, count, ids, &cursor) || ids.empty())
        return false;
    const int before = knownCount();
    const bool meets = gap.last >= 0 && first + int(ids.size()) - 1 >= gap.last;
    const int at = m_rows.place(first, std::move(ids));
    if (at < 0)
        return false;
    if (!meets)
        m_rows.segment(at).cursor = std::move(cursor);
    // The places shown longest ago and farthest away go; rows edited there stay.
    m_rows.dropFar(row, kPlaces, [this](const RowIndex::Segment &seg) {
        if (seg.read != int(seg.ids.size()))
            return true;
        for (const quint32 id : seg.ids)
            if (id >= kNewRow || m_edits.contains(id))
                return true;
        return false;
    });
    compact();
    settle(before);
    return true;
}

void Buffer::compact()
{
    int held = 0;
    m_rows.forEach([&held](int, quint32 id) { held += id < kNewRow; });
    if (m_store.size() <= 2 * held + kPlaces * kNear)
        return;
    RowStore kept;
    QHash<quint32, Edited> edits;
    const int columns = storedColumns();
    m_rows.remap([&](quint32 id) {
        if (id >= kNewRow)
            return id;
        const QVariantList values = m_store.values(int(id), columns);
        kept.beginRow();
        for (int c = 0; c < columns; ++c)
            kept.addValue(c, values.at(c));
        const quint32 moved = quint32(kept.endRow());
        if (const auto it = m_edits.constFind(id); it != m_edits.constEnd())
            edits.insert(moved, *it);
        return moved;
    });
    for (auto it = m_edits.cbegin(); it != m_edits.cend(); ++it)
        if (it.key() >= kNewRow)
            edits.insert(it.key(), it.value());
    m_store = std::move(kept);
    m_edits = std::move(edits);
}

bool Buffer::readSlice(qint64 offset, int count, std::vector<quint32> &ids, std::unique_ptr<RowCursor> *keep)
{
    if (offset < 0 || !m_snapshot)
        return false;
    // From the end when that passes over fewer rows (the rows come last first then), else from the first;
    // a cursor kept goes on after them.
    const qint64 rows = m_rows.endKnown() ? m_rows.resultRows() : -1;
    const qint64 fromEnd = rows - offset - count;
    const bool reverse = rows >= 0 && fromEnd >= 0 && fromEnd < offset && !m_statement.reverseSql().isEmpty();
    const QVariantList args = m_bound + QVariantList{reverse || !keep ? count : -1, reverse ? fromEnd : offset};
    std::unique_ptr<RowCursor> cursor = openCursor(m_statement.slice(reverse), args);
    if (!cursor)
        return false;
    if (cursor->read(m_store, ids, count) < 0) {
        failRead(cursor->errorCode(), cursor->errorText(), knownCount());
        return false;
    }
    if (reverse)
        std::reverse(ids.begin(), ids.end());
    else if (keep && !cursor->atEnd())
        *keep = std::move(cursor);
    return true;
}

bool Buffer::noneDeleted(const RowIndex::Segment &s) const
{
    // Rows added there are not among those read: a row added and one deleted would count as none.
    const auto added = std::count_if(s.ids.begin(), s.ids.end(), [](quint32 id) { return id >= kNewRow; });
    return s.read == int(s.ids.size() - size_t(added));
}

int Buffer::storedColumns() const { return int(m_def.columns.size()) + (m_statement.identified() ? 1 : 0); }

bool Buffer::byIdentity(const RowIndex::Segment *segment) const
{
    // A row deleted next to the rows held (see noneDeleted) is still in the moment the rows are read in: the
    // rows after it are found by place.
    return m_statement.identified() && (!segment || noneDeleted(*segment));
}

bool Buffer::edgeOf(int segment, int row, Edge &edge)
{
    // A row added has no identity yet.
    if (!byIdentity(&m_rows.segment(segment)) || row < 1 || !m_rows.held(row) || m_rows.at(row) >= kNewRow)
        return false;
    // The identity the row was read with (an edit leaves it as read).
    edge.id = m_store.value(int(m_rows.at(row)), int(m_def.columns.size()));
    if (edge.id.isNull())
        return false;
    QSqlQuery q(m_snapshot->database());
    q.setForwardOnly(true);
    QVariantList args;
    if (!m_transaction->prepare(q, m_statement.edgeOf(edge.id, args), args) || !q.exec() || !q.next())
        return false;
    edge.nulls.clear();
    for (int i = 1; i < q.record().count(); ++i)
        edge.nulls << q.value(i).toBool();
    return true;
}

void Buffer::settle(int before)
{
    if (m_rows.whole())
        closeCursor();
    if (knownCount() > before && m_onFetched)
        m_onFetched(before, knownCount());
}

void Buffer::forgetBack()
{
    m_rows.dropAfterFirst();
    if (!m_rows.segment(0).cursor)
        m_rows.setTail(0);
}

void Buffer::readEnd()
{
    if (endKnown())
        return;
    const int last = m_rows.count() - 1;
    const int before = knownCount();
    const QString reverse = m_statement.reverseSql();
    const qint64 rows = reverse.isEmpty() || !m_transaction ? -1 : scalar(QStringLiteral("count(*)")).toLongLong();
    if (m_failed)
        return; // the count failed: the view has been told
    const qint64 unread = rows - m_rows.resultRows();
    // A few screenfuls are read on at once; so is a result whose order cannot be turned round.
    if (rows < 0 || unread <= 4 * kReadRows) {
        readAfter(last, -1);
        return;
    }
    const std::unique_ptr<RowCursor> end = openCursor(m_statement.slice(true), m_bound + QVariantList{kReadRows, 0});
    if (!end) {
        readAfter(last, -1);
        return;
    }
    std::vector<quint32> ids;
    const int read = end->read(m_store, ids, kReadRows);
    if (read < 0) {
        fail(end->errorCode(), end->errorText());
        return;
    }
    if (read != kReadRows) {
        readAfter(last, -1);
        return;
    }
    std::reverse(ids.begin(), ids.end());
    m_rows.setTail(int(unread));
    m_rows.place(before + int(unread) - kReadRows + 1, std::move(ids));
    settle(before);
}

std::unique_ptr<RowCursor> Buffer::openCursor(const QString &sql, const QVariantList &args)
{
    QList<Type> types;
    for (const Column &c : std::as_const(m_def.columns))
        types << c.type;
    if (m_statement.identified())
        types << Type::Long; // the row's identity, after the result columns
    auto cursor = std::make_unique<RowCursor>(types);
    if (!cursor->open(*m_transaction, m_snapshot->database(), sql, args))
        return nullptr;
    return cursor;
}

namespace {
// The rows to read for `row` to be there, a screenful beyond it, counted in 64 bits: a row asked for near the
// largest int must not wrap round.
int readAhead(int row, int known)
{
    return int(qMin<qint64>(qint64(row) - known + Buffer::kReadRows, std::numeric_limits<int>::max()));
}
} // namespace

bool Buffer::readTo(int row)
{
    if (row < 1)
        return false;
    if (held(row))
        return true;
    if (!m_snapshot)
        return false;
    if (m_pass && ahead(row))
        return passTo(row);
    const RowIndex::Gap gap = m_rows.gapAt(row);
    if (gap.before < 0)
        return false; // past the last row
    // Near the rows held before it, or beyond what is known: read on. Near those after it: read back. Far
    // from both: read where it is, never from the first row up to it.
    const bool next = gap.last >= 0 && gap.before + 1 < m_rows.count();
    if (gap.last < 0 || row - gap.first < kNear) {
        readAfter(gap.before, readAhead(row, gap.first - 1));
    } else if (next && gap.last - row < kNear) {
        if (!readBefore(gap.before + 1, gap.last - qMax(gap.first, row - kReadRows) + 1) && !m_failed)
            readAfter(gap.before, readAhead(row, gap.first - 1));
    } else if (!readAt(row, gap) && !m_failed) {
        readAfter(gap.before, readAhead(row, gap.first - 1));
    }
    return hasRow(row);
}

bool Buffer::hasRow(int row) const { return held(row) || inPass(row); }

bool Buffer::held(int row) const { return m_rows.held(row); }

bool Buffer::ahead(int row) const
{
    return row > fetchedCount() && !held(row) && (!endKnown() || row <= knownCount());
}

quint32 Buffer::handleAt(int row) const { return m_rows.at(row); }

void Buffer::placeHandle(int index, quint32 handle) { m_rows.insert(index + 1, handle); }

quint32 Buffer::takeHandle(int index) { return m_rows.take(index + 1); }

int Buffer::rowCount()
{
    if (!endKnown())
        readAfter(m_rows.count() - 1, -1);
    return knownCount();
}

int Buffer::countRows()
{
    if (complete())
        return fetchedCount();
    const QList<Run> all = runs(0);
    return all.isEmpty() ? 0 : all.last().last;
}

void Buffer::finish()
{
    m_pass.reset();
    readAll();
}

void Buffer::drop()
{
    m_pass.reset();
    // Not the whole result: the rows read so far stay, as after a failed read.
    fail(SQLITE_ABORT, QStringLiteral("数据库连接已重新打开，这些数据没有读完。请重新检索。"));
}

void Buffer::readAll()
{
    // The rows between, joining each segment in turn.
    while (m_snapshot && !m_rows.whole())
        if (readFront(-1) <= 0)
            break; // the result ended early or the read failed
}

Buffer::Pass::Pass(Buffer &buffer) : m_buffer(buffer)
{
    if (buffer.databaseTotals())
        buffer.m_pass = std::make_unique<Passing>();
}

Buffer::Pass::~Pass() { m_buffer.m_pass.reset(); }

int Buffer::Pass::failureCode() const { return m_buffer.m_pass ? m_buffer.m_pass->failureCode : 0; }

QString Buffer::Pass::failureText() const { return m_buffer.m_pass ? m_buffer.m_pass->failureText : QString(); }

bool Buffer::inPass(int row) const
{
    return m_pass && ahead(row) && row >= m_pass->first && row < m_pass->first + int(m_pass->ids.size());
}

bool Buffer::passTo(int row)
{
    Passing &p = *m_pass;
    if (p.failureCode)
        return false; // the print has failed: nothing more is read
    auto failed = [&](int code, const QString &text) {
        p.failureCode = code ? code : -1;
        p.failureText = text;
        p.cursor.reset();
        p.store.clear();
        p.ids.clear();
        return false;
    };
    auto readOn = [&] {
        p.store.clear(); // the window moves on: the rows before it go
        p.first += int(p.ids.size());
        p.ids.clear();
        return p.cursor->read(p.store, p.ids, kReadRows) >= 0 || failed(p.cursor->errorCode(), p.cursor->errorText());
    };
    if (!p.cursor || row < p.first) {
        // The same statement on the same connection, so the same moment of the database as the rows held;
        // the rows held are passed over.
        p.cursor = openCursor(m_statement.sql(), m_bound);
        p.ids.clear();
        p.first = 1;
        if (!p.cursor)
            return failed(m_transaction->SQLDBCode, m_transaction->SQLErrText);
        while (p.first + int(p.ids.size()) <= fetchedCount() && !p.cursor->atEnd())
            if (!readOn())
                return false;
    }
    while (row >= p.first + int(p.ids.size())) {
        if (p.cursor->atEnd() || !readOn())
            return false;
    }
    return true;
}

qsizetype Buffer::memoryUsed() const
{
    qsizetype edited = 0;
    for (const Edited &e : m_edits)
        edited += 2 * e.values.size() * qsizetype(sizeof(QVariant)) + 64;
    return m_store.memoryUsed() + m_rows.capacity() * qsizetype(sizeof(quint32)) + edited;
}

// --- Items ---

QVariantList Buffer::valuesOf(quint32 handle) const
{
    if (const auto it = m_edits.constFind(handle); it != m_edits.constEnd())
        return it->values;
    return m_store.values(int(handle), int(m_def.columns.size()));
}

QVariant Buffer::item(int row, int column) const
{
    if (column < 1 || column > m_def.columns.size() || !hasRow(row))
        return {};
    if (inPass(row))
        return m_pass->store.value(int(m_pass->ids[size_t(row - m_pass->first)]), column - 1);
    const quint32 handle = handleAt(row);
    if (!m_edits.isEmpty())
        if (const auto it = m_edits.constFind(handle); it != m_edits.constEnd())
            return it->values.at(column - 1);
    return m_store.value(int(handle), column - 1);
}

QVariant Buffer::item(int row, const QString &name) const
{
    if (const int column = columnIndex(name))
        return item(row, column);
    if (!hasRow(row))
        return {};
    for (const Cell &cell : m_def.cells)
        if (cell.compute && cell.name.compare(name, Qt::CaseInsensitive) == 0)
            return cell.compute(*this, row);
    return {};
}

QString Buffer::itemString(int row, const QString &name) const { return displayText(item(row, name)); }

QString Buffer::cellText(int row, int cell) const
{
    if (cell < 0 || cell >= m_def.cells.size() || !hasRow(row))
        return {};
    const Cell &c = m_def.cells.at(cell);
    return displayText(c.compute ? c.compute(*this, row) : item(row, m_cellColumn.at(cell)));
}

QString Buffer::shownText(int row, int cell) const
{
    if (cell < 0 || cell >= m_def.cells.size())
        return {};
    const Cell &c = m_def.cells.at(cell);
    return c.format.isEmpty() ? cellText(row, cell) : formatValue(item(row, c.name), c.format);
}

RowStatus Buffer::rowStatus(int row) const
{
    if (!held(row) || m_edits.isEmpty())
        return RowStatus::NotModified;
    const auto it = m_edits.constFind(handleAt(row));
    return it == m_edits.constEnd() ? RowStatus::NotModified : it->status;
}

QVariantList Buffer::keyOf(int row) const
{
    QVariantList key;
    if (!hasRow(row))
        return key;
    for (int c = 0; c < m_def.columns.size(); ++c)
        if (m_def.columns.at(c).key)
            key << item(row, c + 1);
    return key;
}

bool Buffer::rowHasKey(int row, const QVariantList &key) const
{
    qsizetype k = 0;
    for (int c = 0; c < m_def.columns.size(); ++c)
        if (m_def.columns.at(c).key && (k >= key.size() || item(row, c + 1) != key.at(k++)))
            return false;
    return k == key.size();
}

int Buffer::findRow(const QVariantList &key, int within)
{
    if (key.isEmpty())
        return 0;
    for (int r = 1; within <= 0 || r <= within; ++r) {
        if (!readTo(r))
            return 0;
        if (rowHasKey(r, key))
            return r;
    }
    return 0;
}

int Buffer::findHeld(const QVariantList &key) const
{
    if (key.isEmpty())
        return 0;
    // The rows read from the first on, then those around places and from the end.
    int found = 0;
    m_rows.forEach([&](int row, quint32) {
        if (!found && rowHasKey(row, key))
            found = row;
    });
    return found;
}

int Buffer::locateRow(const QVariantList &key)
{
    if (key.isEmpty())
        return 0;
    if (const int row = findHeld(key))
        return row;
    if (!m_snapshot)
        return 0;
    if (databaseTotals()) {
        if (const int row = readAround(key); row >= 0)
            return row;
        QVariantList args;
        const QVariant held = scalar(QStringLiteral("count(*)"), keyWhere(key, args), args);
        if (held.isValid() && held.toLongLong() == 0)
            return 0;
    }
    return findRow(key);
}

int Buffer::readAround(const QVariantList &key)
{
    // Where the record stands in the order: its identity, and the rows before it counted.
    if (!byIdentity(nullptr))
        return -1;
    QVariantList args = m_bound;
    const QString locate = m_statement.locate(key, args);
    if (locate.isEmpty())
        return -1;
    QSqlQuery q(m_snapshot->database());
    q.setForwardOnly(true);
    if (!m_transaction->prepare(q, locate, args) || !q.exec())
        return -1;
    if (!q.next())
        return q.lastError().isValid() ? -1 : 0; // no such record
    Edge edge{q.value(0), {}};
    for (int i = 1; i < q.record().count(); ++i)
        edge.nulls << q.value(i).toBool();
    q.finish();
    args = m_bound;
    if (!m_transaction->prepare(q, m_statement.countBefore(edge, args), args) || !q.exec() || !q.next())
        return -1;
    const qint64 place = q.value(0).toLongLong() + 1;
    q.finish();
    if (place <= fetchedCount() + 4 * kReadRows)
        return -1; // near enough to read on to it
    const int row = int(place);
    // Among the rows known by number: read where it is.
    if (row <= knownCount())
        return readTo(row) && rowHasKey(row, key) ? row : -1;

    // Beyond them: a screenful before it, last first, and the rows from it on through a cursor of their own.
    std::vector<quint32> ids;
    args = m_bound;
    const QString before = m_statement.rowsFrom(edge, true, args) + QStringLiteral(" LIMIT ?");
    const std::unique_ptr<RowCursor> above = openCursor(before, args + QVariantList{kReadRows});
    if (!above || above->read(m_store, ids, kReadRows) < 0)
        return -1;
    std::vector<quint32> on;
    args = m_bound;
    std::unique_ptr<RowCursor> from = openCursor(m_statement.rowsFrom(edge, false, args), args);
    if (!from || from->read(m_store, on, kReadRows) <= 0)
        return -1;
    const int known = knownCount();
    const int first = row - int(ids.size());
    if (first <= known)
        return -1;
    std::reverse(ids.begin(), ids.end());
    ids.insert(ids.end(), on.begin(), on.end());
    const int at = m_rows.place(first, std::move(ids));
    if (at < 0)
        return -1;
    if (from->atEnd())
        m_rows.setTail(0);
    else
        m_rows.segment(at).cursor = std::move(from);
    if (!rowHasKey(row, key)) {
        // The count and the rows disagree: forget them and read on.
        forgetBack();
        return -1;
    }
    settle(known);
    return row;
}

// --- Totals ---

void Buffer::dropTotals() { m_totals.reset(); }

Buffer::Totals &Buffer::totals()
{
    if (!m_totals)
        m_totals = std::make_unique<Totals>();
    return *m_totals;
}

bool Buffer::databaseTotals() const
{
    // While rows remain unread and none was changed, the database counts and adds up: it reads no more than
    // it must, and nothing is kept. A row deleted by an update is still in the moment the rows are read in.
    if (!m_snapshot || !m_transaction || !m_edits.isEmpty() || !m_deleted.isEmpty())
        return false;
    for (int i = 0; i < m_rows.count(); ++i)
        if (!noneDeleted(m_rows.segment(i)))
            return false;
    return true;
}

QVariant Buffer::scalar(const QString &select, const QString &where, const QVariantList &more)
{
    return scalars(select, where, more).value(0);
}

QVariantList Buffer::scalars(const QString &select, const QString &where, const QVariantList &more)
{
    if (!m_snapshot)
        return {};
    QSqlQuery q(m_snapshot->database());
    q.setForwardOnly(true);
    const QString sql = m_statement.over(select) + (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where);
    if (!m_transaction->prepare(q, sql, m_bound + more) || !q.exec() || !q.next()) {
        if (m_passQuery && m_pass && !m_pass->failureCode) {
            const auto [code, text] = failureOf(q);
            m_pass->failureCode = code ? code : -1;
            m_pass->failureText = text;
            return {};
        }
        failOn(q);
        return {};
    }
    QVariantList values;
    for (int i = 0; i < q.record().count(); ++i)
        values << q.value(i);
    return values;
}

namespace {
QString aggregateKey(Aggregate kind, int column, int run = -1)
{
    return QStringLiteral("%1:%2:%3").arg(int(kind)).arg(column).arg(run);
}

// A sum of a number column adds amounts: each taken to the fen and added in integers, by the database as by
// the rows, so that it is exact and equals the sum of the figures shown. Other columns add as numbers.
QString sumTerm(const Column &c)
{
    return c.type == Type::Number ? QStringLiteral("coalesce(sum(CAST(round(%1 * 100) AS INTEGER)), 0)").arg(c.name)
                                  : QStringLiteral("total(%1)").arg(c.name);
}

QVariant sumValue(const Column &c, const QVariant &added)
{
    return c.type == Type::Number ? QVariant::fromValue(Fen{added.toLongLong()}) : QVariant(added.toDouble());
}

// SQLite's code for its own sum's overflow (SQLITE_ERROR), which the program's sum gives too.
constexpr int kSumOverflowCode = 1;

void keepBest(QVariant &best, const QVariant &v, bool greatest)
{
    if (v.isNull())
        return;
    const auto order = QVariant::compare(v, best);
    if (best.isNull() || (greatest ? order == QPartialOrdering::Greater : order == QPartialOrdering::Less))
        best = v;
}
} // namespace

QVariant Buffer::aggregate(Aggregate kind, int column, int first, int last)
{
    QVariant best;
    const Column &c = m_def.columns.at(column - 1);
    double sum = 0;
    qint64 fen = 0;
    for (int r = first; r <= last; ++r) {
        // A row between those read from the first on and those read from the end comes in first.
        if (!hasRow(r) && !readTo(r))
            break; // the read failed: the caller gives no value
        const QVariant v = item(r, column);
        if (kind == Aggregate::Longest) {
            if (!v.isNull() && (best.isNull() || v.toString().size() > best.toString().size()))
                best = v;
        } else if (kind != Aggregate::Sum) {
            keepBest(best, v, kind == Aggregate::Max);
        } else if (c.type == Type::Number) {
            // Past the fen's range the sum is no sum: it fails as the database's own sum does.
            const std::optional<qint64> one = v.isNull() ? std::optional<qint64>(0) : toFen(v);
            if (!one || __builtin_add_overflow(fen, *one, &fen)) {
                fail(kSumOverflowCode, sumOverflowText());
                return {};
            }
        } else {
            sum += v.toDouble();
        }
    }
    if (kind != Aggregate::Sum)
        return best;
    return c.type == Type::Number ? sumValue(c, fen) : sumValue(c, sum);
}

QVariant Buffer::databaseTotal(Aggregate kind, const Column &c)
{
    QVariant value;
    // A plain least or greatest lets the database answer from an index. A date is text that sorts as a
    // date; one without a value ('' or NULL) is left out, as the rows show none.
    const QString function = kind == Aggregate::Min ? QStringLiteral("min") : QStringLiteral("max");
    if (kind == Aggregate::Sum) {
        value = sumValue(c, scalar(sumTerm(c)));
    } else if (kind == Aggregate::Longest) {
        value = longestOf(c, scalar(QStringLiteral("max(length(%1))").arg(c.name)));
    } else if (c.type == Type::Date) {
        const QVariant raw = scalar(QStringLiteral("%1(%2)").arg(function, c.name), c.name + QStringLiteral(" > ''"));
        value = typedValue(raw, c.type);
        // A text that is no date (a day the month does not have) is no value: ask again for real dates only.
        if (value.isNull() && !raw.isNull())
            value = typedValue(scalar(QStringLiteral("%1(substr(%2, 1, 10))").arg(function, c.name),
                                      QStringLiteral("date(substr(%1, 1, 10), '+0 days') = substr(%1, 1, 10)")
                                          .arg(c.name)),
                               c.type);
    } else {
        value = typedValue(scalar(QStringLiteral("%1(%2)").arg(function, c.name),
                                  c.type == Type::Text ? c.name + QStringLiteral(" > ''") : QString()),
                           c.type);
    }
    return value;
}

QVariantList Buffer::Pass::totals(const QList<std::pair<Aggregate, int>> &asked)
{
    Buffer &b = m_buffer;
    QVariantList values;
    if (!b.m_pass) { // the view's own rows (edited, or all read)
        for (const auto &[kind, column] : asked)
            values << b.total(kind, column);
        return values;
    }
    QStringList terms;
    for (const auto &[kind, column] : asked) {
        const QString name = b.m_def.columns.at(column - 1).name;
        terms << (kind == Aggregate::Longest ? QStringLiteral("max(length(%1))").arg(name)
                                             : QStringLiteral("%1(%2)").arg(kind == Aggregate::Max ? u"max" : u"min", name));
    }
    const QScopedValueRollback<bool> own(b.m_passQuery, true);
    const QVariantList found = b.m_pass->failureCode ? QVariantList() : b.scalars(terms.join(QStringLiteral(", ")));
    for (int i = 0; i < asked.size(); ++i) {
        const Column &c = b.m_def.columns.at(asked.at(i).second - 1);
        values << (asked.at(i).first == Aggregate::Longest ? b.longestOf(c, found.value(i))
                                                            : typedValue(found.value(i), c.type));
    }
    return values;
}

QVariant Buffer::longestOf(const Column &c, const QVariant &length)
{
    // The first row's value of that length.
    if (length.isNull())
        return {};
    return typedValue(scalar(c.name, QStringLiteral("length(%1) = ?").arg(c.name), {length}), c.type);
}

QVariant Buffer::total(Aggregate kind, int column)
{
    if (column < 1 || column > m_def.columns.size() || m_failed)
        return {};
    Totals &t = totals();
    const QString key = aggregateKey(kind, column);
    if (const auto it = t.values.constFind(key); it != t.values.constEnd())
        return *it;
    QVariant value;
    const Column &c = m_def.columns.at(column - 1);
    if (databaseTotals()) {
        value = databaseTotal(kind, c);
    } else {
        value = aggregate(kind, column, 1, rowCount());
    }
    // A total over rows that could not all be read is no total.
    if (m_failed)
        return {};
    t.values.insert(key, value);
    return value;
}

QList<Buffer::Run> Buffer::runs(int column)
{
    Totals &t = totals();
    if (t.runsColumn == column && t.runsAfterFailure == m_failed)
        return t.runs;
    t.runs.clear();
    t.runsColumn = column;
    // The database counts the rows of each group; its groups come in the rows' order when the group column is
    // the first the rows are sorted by.
    const bool groupsFollowOrder =
        column == 0 || (!m_def.sort.isEmpty() && columnIndex(m_def.sort.first()) == column);
    if (databaseTotals() && groupsFollowOrder && column <= m_def.columns.size()) {
        QSqlQuery q(m_snapshot->database());
        q.setForwardOnly(true);
        const QString group = column ? m_def.columns.at(column - 1).name : QString();
        const QString order = column ? m_statement.orderTerm(column, group) : QString();
        const QString sql = column ? m_statement.over(QStringLiteral("count(*)"), order)
                                   : m_statement.over(QStringLiteral("count(*)"));
        if (m_transaction->prepare(q, sql, m_bound) && q.exec()) {
            int first = 1;
            while (q.next()) {
                const int count = q.value(0).toInt();
                if (count > 0)
                    t.runs.append({first, first + count - 1});
                first += count;
            }
            if (!q.lastError().isValid()) {
                t.runsAfterFailure = false;
                return t.runs;
            }
        }
        failOn(q);
        t.runs.clear();
    }
    // Runs of the rows there are, every one of them held; after a failure, of the rows read before it.
    readAll();
    const int rows = fetchedCount();
    for (int r = 1; r <= rows; ++r) {
        if (t.runs.isEmpty() || (column && !sameValue(r, r - 1, column)))
            t.runs.append({r, r});
        t.runs.last().last = r;
    }
    t.runsAfterFailure = m_failed;
    return t.runs;
}

bool Buffer::sameValue(int rowA, int rowB, int column) const
{
    const quint32 a = m_rows.at(rowA), b = m_rows.at(rowB);
    // Rows as read compare as the database groups them; an edited or added row holds the operator's text.
    if (a < kNewRow && b < kNewRow && (m_edits.isEmpty() || (!m_edits.contains(a) && !m_edits.contains(b))))
        return m_store.sameValue(int(a), int(b), column - 1);
    return item(rowA, column) == item(rowB, column);
}

QVariant Buffer::runTotal(int column, int run, Aggregate kind, int of)
{
    // No column: the one run is every row.
    if (column == 0)
        return run == 0 ? total(kind, of) : QVariant();
    const QList<Run> all = runs(column);
    if (run < 0 || run >= all.size() || of < 1 || of > m_def.columns.size() || m_failed)
        return {};
    Totals &t = totals();
    const QString key = aggregateKey(kind, of, run);
    if (const auto it = t.values.constFind(key); it != t.values.constEnd())
        return *it;
    const Run r = all.at(run);
    QVariant value;
    // Read first: reaching the group's first row may read the rest of the rows and end the snapshot.
    readTo(r.first);
    const QVariant groupValue = item(r.first, column);
    if (databaseTotals() && r.last > fetchedCount()) {
        // A group not read to its end: the database adds up the rows with its value.
        const Column &g = m_def.columns.at(column - 1);
        const Column &c = m_def.columns.at(of - 1);
        const QString select = kind == Aggregate::Sum ? sumTerm(c)
                                                      : QStringLiteral("%1(%2)").arg(kind == Aggregate::Min ? u"min" : u"max", c.name);
        const QString where = groupValue.isNull() ? g.name + QStringLiteral(" IS NULL")
                                                  : m_statement.orderTerm(column, g.name) + QStringLiteral(" = ?");
        value = scalar(select, where, groupValue.isNull() ? QVariantList() : QVariantList{groupValue});
        value = kind == Aggregate::Sum ? sumValue(c, value) : typedValue(value, c.type);
    } else {
        value = aggregate(kind, of, r.first, r.last);
    }
    if (m_failed)
        return {};
    t.values.insert(key, value);
    return value;
}

// --- Editing ---

int Buffer::modifiedCount() const
{
    int n = 0;
    for (const Edited &e : m_edits)
        n += e.status == RowStatus::DataModified || e.status == RowStatus::NewModified;
    return n;
}

int Buffer::insertRow(int before)
{
    m_pass.reset(); // an edit ends a pass
    int at = 0;
    if (before == 0) {
        readEnd(); // after the last row
        at = rowCount();
    } else if (before > 0 && readTo(before)) {
        at = before - 1;
    } else if (before == knownCount() + 1 && endKnown()) {
        at = knownCount();
    } else {
        return -1;
    }
    Edited row;
    for (int c = 0; c < m_def.columns.size(); ++c)
        row.values << QVariant();
    row.status = RowStatus::New;
    const quint32 handle = m_nextNew++;
    m_edits.insert(handle, row);
    placeHandle(at, handle);
    dropTotals();
    return at + 1;
}

int Buffer::deleteRow(int row)
{
    m_pass.reset(); // an edit ends a pass
    if (!readTo(row))
        return -1;
    const quint32 handle = takeHandle(row - 1);
    Edited taken;
    if (const auto it = m_edits.find(handle); it != m_edits.end()) {
        taken = *it;
        m_edits.erase(it);
    } else {
        taken.values = m_store.values(int(handle), int(m_def.columns.size()));
        keepIdentity(taken, handle);
    }
    if (taken.status != RowStatus::New && taken.status != RowStatus::NewModified) {
        if (taken.original.isEmpty())
            taken.original = taken.values;
        m_deleted << std::move(taken);
    }
    dropTotals();
    return 1;
}

int Buffer::limitOf(int column) const
{
    if (column < 1 || column > m_def.columns.size())
        return 0;
    const Column &c = m_def.columns.at(column - 1);
    if (c.type != Type::Text)
        return 0;
    if (c.limit > 0)
        return c.limit;
    return m_def.updateTable.isEmpty() ? 0 : db::columnWidth(m_def.updateTable, c.name);
}

int Buffer::setItem(int row, int column, const QVariant &value)
{
    m_pass.reset(); // an edit ends a pass
    if (!readTo(row) || column < 1 || column > m_def.columns.size() || column > 64)
        return -1;
    QVariant v = typedValue(value, m_def.columns.at(column - 1).type);
    // A text given for a column of another type must read as such a value.
    if (value.typeId() == QMetaType::QString && m_def.columns.at(column - 1).type != Type::Text
        && !parse(column, value.toString(), v))
        return -1;
    const bool blankText = value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty();
    if (!value.isNull() && v.isNull() && !blankText)
        return -1; // no value of the column's type
    if (const int limit = limitOf(column); limit > 0 && gbk::byteLength(v.toString()) > limit)
        return -1;
    const quint32 handle = handleAt(row);
    const QVariant held = item(row, column);
    if (held == v && held.isNull() == v.isNull())
        return 1;
    auto it = m_edits.find(handle);
    if (it == m_edits.end()) {
        Edited e;
        e.values = m_store.values(int(handle), int(m_def.columns.size()));
        e.original = e.values;
        keepIdentity(e, handle);
        it = m_edits.insert(handle, e);
    }
    it->values[column - 1] = v;
    it->changed |= quint64(1) << (column - 1);
    if (it->status == RowStatus::NotModified)
        it->status = RowStatus::DataModified;
    else if (it->status == RowStatus::New)
        it->status = RowStatus::NewModified;
    dropTotals();
    return 1;
}

int Buffer::setItem(int row, const QString &name, const QVariant &value)
{
    const int column = columnIndex(name);
    return column ? setItem(row, column, value) : -1;
}

bool Buffer::parse(int column, const QString &text, QVariant &value) const
{
    if (column < 1 || column > m_def.columns.size())
        return false;
    return parseValue(m_def.columns.at(column - 1).type, text, value);
}

QString Buffer::keyWhere(const QVariantList &key, QVariantList &args) const
{
    QStringList names;
    for (const Column &c : std::as_const(m_def.columns))
        names << c.name;
    return keyCondition(m_def.columns, names, key, args);
}

void Buffer::keepIdentity(Edited &row, quint32 handle) const
{
    if (handle >= kNewRow)
        return; // an added row has neither
    if (m_statement.identified())
        row.id = m_store.value(int(handle), int(m_def.columns.size()));
    row.stored.clear();
    for (int c = 0; c < m_def.columns.size(); ++c)
        if (m_def.columns.at(c).key)
            row.stored << m_store.stored(int(handle), c);
}

bool Buffer::writesByIdentity() const
{
    return m_statement.identified()
           && m_statement.identity().compare(m_def.updateTable + QStringLiteral(".rowid"), Qt::CaseInsensitive) == 0;
}

namespace {
// A key as the database holds what the program wrote: texts as their UTF-8 bytes.
QVariant storedForm(const QVariant &value)
{
    return value.typeId() == QMetaType::QString ? QVariant(value.toString().toUtf8()) : value;
}
} // namespace

QString Buffer::rowWhere(const Edited &row, QVariantList &args) const
{
    QStringList parts;
    if (writesByIdentity() && !row.id.isNull()) {
        parts << QStringLiteral("rowid = ?");
        args << row.id;
    }
    qsizetype k = 0;
    for (int c = 0; c < m_def.columns.size(); ++c) {
        const Column &column = m_def.columns.at(c);
        if (!column.key)
            continue;
        const QVariant v = row.stored.value(k++);
        if (v.isNull()) {
            parts << column.name + QStringLiteral(" IS NULL");
        } else if (v.typeId() == QMetaType::QByteArray) {
            // The bytes as stored, whether or not they are UTF-8: never through Qt's text.
            parts << QStringLiteral("CAST(%1 AS BLOB) = ?").arg(column.name);
            args << v;
        } else {
            parts << column.name + QStringLiteral(" = ?");
            args << v;
        }
    }
    return parts.join(QStringLiteral(" AND "));
}

QString Buffer::rowName(int row, const QVariantList &values) const
{
    // The key columns the grid shows, else the first texts it shows, each under its header.
    QStringList named;
    auto add = [&](bool keysOnly) {
        for (const Cell &cell : std::as_const(m_def.cells)) {
            const int c = cell.compute || cell.header.isEmpty() ? 0 : columnIndex(cell.name);
            if (!c || (keysOnly && !m_def.columns.at(c - 1).key))
                continue;
            const QString text = displayText(values.value(c - 1)).trimmed();
            if (!keysOnly && text.isEmpty())
                continue;
            named << QStringLiteral("%1“%2”").arg(cell.header.simplified(), text);
            if (!keysOnly && named.size() == 2)
                return;
        }
    };
    add(true);
    if (named.isEmpty())
        add(false);
    const QString what = named.join(QStringLiteral("，"));
    const QString place = row > 0 ? QStringLiteral("第 %1 行").arg(row) : QStringLiteral("删除的行");
    return what.isEmpty() ? place : QStringLiteral("%1（%2）").arg(place, what);
}

int Buffer::update(db::Transaction &transaction)
{
    m_pass.reset(); // an edit ends a pass
    struct Write {
        QString sql;
        QVariantList args;
        bool mustFindRow;
        QString row; // the row as the operator knows it
    };
    QList<Write> statements;
    const QString &table = m_def.updateTable;
    bool hasKey = false;
    for (const Column &c : std::as_const(m_def.columns))
        hasKey = hasKey || c.key;
    if (table.isEmpty() || !hasKey) {
        transaction.setError(-1, QStringLiteral("数据窗口 %1 没有可更新的数据表或主键。").arg(m_def.name));
        return -1;
    }
    // Rows that could not all be read are no ground for writing: the operator retrieves again first.
    if (m_failed) {
        transaction.setError(m_failureCode, m_failureText);
        return -1;
    }
    for (const Edited &row : std::as_const(m_deleted)) {
        Write st{QStringLiteral("DELETE FROM ") + table, {}, true, rowName(0, row.original)};
        st.sql += QStringLiteral(" WHERE ") + rowWhere(row, st.args);
        statements << st;
    }
    if (!m_edits.isEmpty()) {
        std::vector<std::pair<int, quint32>> rows;
        m_rows.forEach([&rows](int r, quint32 id) { rows.emplace_back(r, id); });
        for (const auto &[number, handle] : rows) {
            const auto it = m_edits.constFind(handle);
            if (it == m_edits.constEnd())
                continue;
            const Edited &row = *it;
            if (row.status == RowStatus::DataModified) {
                Write st{{}, {}, true, rowName(number, row.original)};
                QStringList sets;
                for (int c = 0; c < m_def.columns.size(); ++c) {
                    if (m_def.columns.at(c).updatable && (row.changed & (quint64(1) << c))) {
                        sets << m_def.columns.at(c).name + QStringLiteral(" = ?");
                        st.args << row.values.at(c);
                    }
                }
                if (sets.isEmpty())
                    continue;
                st.sql = QStringLiteral("UPDATE %1 SET %2 WHERE ").arg(table, sets.join(QStringLiteral(", ")));
                st.sql += rowWhere(row, st.args);
                statements << st;
            } else if (row.status == RowStatus::NewModified) {
                Write st{{}, {}, false, {}};
                QStringList columns, marks;
                for (int c = 0; c < m_def.columns.size(); ++c) {
                    if (!m_def.columns.at(c).updatable)
                        continue; // keys the database assigns are not sent
                    columns << m_def.columns.at(c).name;
                    marks << QStringLiteral("?");
                    st.args << row.values.at(c);
                }
                if (columns.isEmpty())
                    continue;
                st.sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                             .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
                statements << st;
            }
        }
    }

    for (const Write &st : std::as_const(statements)) {
        transaction.execute(st.sql, st.args);
        // A statement must reach exactly the row the operator chose: none means another program changed or
        // deleted it; several (a row found by a key that repeats) would change rows the operator never chose.
        if (transaction.SQLCode == 0 && st.mustFindRow && transaction.SQLNRows != 1) {
            const QString verb = st.sql.startsWith(QStringLiteral("DELETE")) ? QStringLiteral("删除")
                                                                             : QStringLiteral("修改");
            const QString why = transaction.SQLNRows == 0
                                    ? QStringLiteral("已被其他程序修改或删除")
                                    : QStringLiteral("在数据库中有 %1 行与它相同，无法只%2这一行")
                                          .arg(transaction.SQLNRows)
                                          .arg(verb);
            // Read again, a row changed meanwhile can be edited anew; rows alike stay alike.
            const QString advice = transaction.SQLNRows == 0 ? QStringLiteral("，请重新读取后再改") : QString();
            transaction.setError(-3, QStringLiteral("%1%2。这次保存的内容都没有写入%3。").arg(st.row, why, advice));
        }
        if (transaction.SQLCode != 0) {
            // Nothing of this update may stay: undo what went before the refused statement.
            const int code = transaction.SQLDBCode;
            const QString text = transaction.SQLErrText;
            if (transaction.isConnected())
                transaction.rollback();
            transaction.setError(code, text);
            return -1;
        }
    }
    resetUpdate();
    transaction.setOk(int(statements.size()));
    return 1;
}

void Buffer::resetUpdate()
{
    m_deleted.clear();
    // Edited rows stay unpacked, now as read: their values are what the database holds.
    for (Edited &row : m_edits) {
        // A key written is now stored as the program wrote it; a row added has no row id of its own here, so
        // its key alone finds it from now on.
        if (row.status == RowStatus::NewModified || row.status == RowStatus::DataModified) {
            QVariantList stored;
            qsizetype k = 0;
            for (int c = 0; c < m_def.columns.size(); ++c)
                if (m_def.columns.at(c).key) {
                    const bool written = row.status == RowStatus::NewModified || (row.changed & (quint64(1) << c));
                    stored << (written ? storedForm(row.values.value(c)) : row.stored.value(k));
                    ++k;
                }
            row.stored = stored;
        }
        row.original = row.values;
        row.changed = 0;
        row.status = RowStatus::NotModified;
    }
}

} // namespace dw
