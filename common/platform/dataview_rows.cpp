#include "platform/dataview_rows.h"

#include "platform/transaction.h"

#include <QDate>
#include <QSqlError>
#include <QSqlRecord>
#include <cstring>
#include <sqlite3.h>

namespace dw {

namespace {
enum Tag : char { TagNull, TagText, TagLong, TagNumber, TagDate };
constexpr qsizetype kBlockSize = 256 * 1024;

void putVarint(std::string &out, quint64 v)
{
    while (v >= 0x80) {
        out += char(v | 0x80);
        v >>= 7;
    }
    out += char(v);
}

quint64 getVarint(const char *&p)
{
    quint64 v = 0;
    int shift = 0;
    for (;;) {
        const quint8 b = quint8(*p++);
        v |= quint64(b & 0x7f) << shift;
        if (!(b & 0x80))
            return v;
        shift += 7;
    }
}

quint64 zigzag(qint64 v) { return (quint64(v) << 1) ^ quint64(v >> 63); }
qint64 unzigzag(quint64 v) { return qint64(v >> 1) ^ -qint64(v & 1); }

// Steps over one value and returns it when `want` is set.
QVariant readValue(const char *&p, bool want)
{
    switch (Tag(*p++)) {
    case TagNull:
        return {};
    case TagText: {
        const auto n = qsizetype(getVarint(p));
        const char *text = p;
        p += n;
        return want ? QVariant(QString::fromUtf8(text, n)) : QVariant();
    }
    case TagLong: {
        const qint64 v = unzigzag(getVarint(p));
        return want ? QVariant(v) : QVariant();
    }
    case TagNumber: {
        double v;
        std::memcpy(&v, p, sizeof v);
        p += sizeof v;
        return want ? QVariant(v) : QVariant();
    }
    case TagDate: {
        const qint64 day = unzigzag(getVarint(p));
        return want ? QVariant(QDate::fromJulianDay(day)) : QVariant();
    }
    }
    return {};
}

// 'YYYY-MM-DD' at the start of a text, as the registers store dates; anything else is no date.
bool parseIsoDate(const char *s, int n, qint64 &julianDay)
{
    if (n < 10 || s[4] != '-' || s[7] != '-')
        return false;
    auto digits = [s](int from, int count) {
        int v = 0;
        for (int i = from; i < from + count; ++i) {
            if (s[i] < '0' || s[i] > '9')
                return -1;
            v = v * 10 + (s[i] - '0');
        }
        return v;
    };
    const int y = digits(0, 4), m = digits(5, 2), d = digits(8, 2);
    if (y < 0 || m < 0 || d < 0)
        return false;
    const QDate date(y, m, d); // invalid for a day the month does not have
    if (!date.isValid())
        return false;
    julianDay = date.toJulianDay();
    return true;
}
} // namespace

QVariant typedValue(const QVariant &raw, Type type)
{
    if (raw.isNull())
        return {};
    switch (type) {
    case Type::Text:
        return raw.toString();
    case Type::Long:
        return raw.toLongLong();
    case Type::Number:
        return raw.toDouble();
    case Type::Date: {
        const QDate d = raw.typeId() == QMetaType::QDate ? raw.toDate()
                                                         : QDate::fromString(raw.toString().left(10), Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    }
    return raw;
}

// --- RowStore ---

void RowStore::clear()
{
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_blockUsed = 0;
    m_pending.clear();
}

void RowStore::addNull() { m_pending += char(TagNull); }

void RowStore::addText(const char *utf8, int bytes)
{
    m_pending += char(TagText);
    putVarint(m_pending, quint64(bytes));
    m_pending.append(utf8, size_t(bytes));
}

void RowStore::addLong(qint64 value)
{
    m_pending += char(TagLong);
    putVarint(m_pending, zigzag(value));
}

void RowStore::addNumber(double value)
{
    m_pending += char(TagNumber);
    m_pending.append(reinterpret_cast<const char *>(&value), sizeof value);
}

void RowStore::addDate(qint64 julianDay)
{
    m_pending += char(TagDate);
    putVarint(m_pending, zigzag(julianDay));
}

void RowStore::addValue(const QVariant &value)
{
    if (value.isNull()) {
        addNull();
        return;
    }
    switch (value.typeId()) {
    case QMetaType::QDate:
        addDate(value.toDate().toJulianDay());
        break;
    case QMetaType::Double:
        addNumber(value.toDouble());
        break;
    case QMetaType::LongLong:
    case QMetaType::Int:
        addLong(value.toLongLong());
        break;
    default: {
        const QByteArray utf8 = value.toString().toUtf8();
        addText(utf8.constData(), int(utf8.size()));
        break;
    }
    }
}

int RowStore::endRow()
{
    const auto n = qsizetype(m_pending.size());
    if (m_blocks.empty() || m_blockUsed + n > kBlockSize) {
        // A row larger than a block gets a block of its own size.
        m_blocks.push_back(std::make_unique<char[]>(size_t(qMax(kBlockSize, n))));
        m_blockUsed = 0;
    }
    std::memcpy(m_blocks.back().get() + m_blockUsed, m_pending.data(), size_t(n));
    m_rows.push_back(quint64(m_blocks.size() - 1) << 32 | quint64(m_blockUsed));
    m_blockUsed += n;
    return int(m_rows.size() - 1);
}

const char *RowStore::rowData(int id) const
{
    const quint64 at = m_rows[size_t(id)];
    return m_blocks[size_t(at >> 32)].get() + (at & 0xffffffffu);
}

QVariant RowStore::value(int id, int column) const
{
    if (id < 0 || id >= size() || column < 0)
        return {};
    const char *p = rowData(id);
    for (int c = 0; c < column; ++c)
        readValue(p, false);
    return readValue(p, true);
}

QVariantList RowStore::values(int id, int columns) const
{
    QVariantList out;
    if (id < 0 || id >= size())
        return out;
    out.reserve(columns);
    const char *p = rowData(id);
    for (int c = 0; c < columns; ++c)
        out << readValue(p, true);
    return out;
}

qsizetype RowStore::memoryUsed() const
{
    qsizetype blocks = 0;
    for (size_t i = 0; i + 1 < m_blocks.size(); ++i)
        blocks += kBlockSize;
    return blocks + (m_blocks.empty() ? 0 : qMax(kBlockSize, m_blockUsed)) + qsizetype(m_rows.capacity() * 8);
}

// --- RowCursor ---

RowCursor::~RowCursor() { close(); }

void RowCursor::close()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    m_query.reset();
    m_atEnd = true;
}

bool RowCursor::open(db::Transaction &transaction, const QString &sql, const QVariantList &values)
{
    close();
    m_errorCode = 0;
    m_errorText.clear();
    if (sqlite3 *handle = transaction.sqliteHandle()) {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &m_stmt, nullptr) != SQLITE_OK) {
            transaction.setError(sqlite3_errcode(handle), QString::fromUtf8(sqlite3_errmsg(handle)));
            close();
            return false;
        }
        for (int i = 0; i < values.size(); ++i) {
            const QVariant &v = values.at(i);
            const int at = i + 1;
            if (v.isNull()) {
                sqlite3_bind_null(m_stmt, at);
            } else if (v.typeId() == QMetaType::Double) {
                sqlite3_bind_double(m_stmt, at, v.toDouble());
            } else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int) {
                sqlite3_bind_int64(m_stmt, at, v.toLongLong());
            } else {
                // Dates are bound as the ISO text the registers store.
                const QString s = v.typeId() == QMetaType::QDate ? v.toDate().toString(Qt::ISODate) : v.toString();
                const QByteArray utf8 = s.toUtf8();
                sqlite3_bind_text(m_stmt, at, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            }
        }
        m_columns = qMin(int(m_types.size()), sqlite3_column_count(m_stmt));
        m_atEnd = false;
        return true;
    }
    m_query = std::make_unique<QSqlQuery>(transaction.database());
    m_query->setForwardOnly(true);
    if (!transaction.prepare(*m_query, sql, values)) {
        close();
        return false;
    }
    if (!m_query->exec()) {
        transaction.setFromQuery(*m_query);
        close();
        return false;
    }
    m_columns = qMin(int(m_types.size()), m_query->record().count());
    m_atEnd = false;
    return true;
}

int RowCursor::read(RowStore &store, std::vector<quint32> &ids, int count)
{
    int n = 0;
    const int total = int(m_types.size());
    while (!m_atEnd && (count < 0 || n < count)) {
        if (m_stmt) {
            const int rc = sqlite3_step(m_stmt);
            if (rc == SQLITE_DONE) {
                close();
                break;
            }
            if (rc != SQLITE_ROW) {
                sqlite3 *handle = sqlite3_db_handle(m_stmt);
                m_errorCode = sqlite3_extended_errcode(handle) & 0xff;
                m_errorText = QString::fromUtf8(sqlite3_errmsg(handle));
                close();
                return -1;
            }
            store.beginRow();
            for (int c = 0; c < total; ++c) {
                if (c >= m_columns || sqlite3_column_type(m_stmt, c) == SQLITE_NULL) {
                    store.addNull();
                    continue;
                }
                switch (m_types.at(c)) {
                case Type::Text:
                    // The text first, then its length: the call that converts a value comes before the size.
                    store.addText(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, c)),
                                  sqlite3_column_bytes(m_stmt, c));
                    break;
                case Type::Long:
                    store.addLong(sqlite3_column_int64(m_stmt, c));
                    break;
                case Type::Number:
                    store.addNumber(sqlite3_column_double(m_stmt, c));
                    break;
                case Type::Date: {
                    const char *s = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, c));
                    qint64 day = 0;
                    if (s && parseIsoDate(s, sqlite3_column_bytes(m_stmt, c), day))
                        store.addDate(day);
                    else
                        store.addNull();
                    break;
                }
                }
            }
        } else {
            if (!m_query->next()) {
                if (m_query->lastError().isValid()) {
                    m_errorCode = m_query->lastError().nativeErrorCode().toInt();
                    m_errorText = m_query->lastError().text();
                    close();
                    return -1;
                }
                close();
                break;
            }
            store.beginRow();
            for (int c = 0; c < total; ++c)
                store.addValue(c < m_columns ? typedValue(m_query->value(c), m_types.at(c)) : QVariant());
        }
        ids.push_back(quint32(store.endRow()));
        ++n;
    }
    return n;
}
} // namespace dw
