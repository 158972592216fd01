#include "dataview/rows.h"

#include "platform/textinput.h"
#include "platform/transaction.h"

#include <QDate>
#include <QSqlError>
#include <QSqlRecord>
#include <cmath>
#include <cstring>
#include <sqlite3.h>

namespace dw {

namespace {
enum Tag : char { TagNull, TagText, TagLong, TagNumber, TagDate, TagShared };
constexpr qsizetype kBlockSize = 256 * 1024;

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
QVariant readValue(const char *&p, bool want, const std::vector<std::string_view> *shared)
{
    switch (Tag(*p++)) {
    case TagNull:
        return {};
    case TagShared: {
        const auto n = size_t(getVarint(p));
        if (!want)
            return {};
        const std::string_view text = (*shared)[n];
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    }
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

bool parseValue(Type type, const QString &text, QVariant &value)
{
    const QString t = text.trimmed();
    if (type == Type::Text) {
        value = text;
        return true;
    }
    if (t.isEmpty()) {
        value = QVariant();
        return true;
    }
    switch (type) {
    case Type::Text:
        break;
    case Type::Long: {
        bool ok = false;
        const qint64 n = t.toLongLong(&ok);
        value = n;
        return ok;
    }
    case Type::Number: {
        if (!textinput::groupedByThousands(t))
            return false;
        bool ok = false;
        const double n = QString(t).remove(u',').toDouble(&ok);
        value = n;
        return ok && std::isfinite(n);
    }
    case Type::Date: {
        // M and d read one digit or two: "yyyy-M-d" takes 2024-06-15 and 2024-6-15 alike.
        for (const char *f : {"yyyy-M-d", "yyyy.M.d", "yyyy/M/d", "yyyyMMdd"}) {
            const QDate d = QDate::fromString(t, QString::fromLatin1(f));
            if (d.isValid()) {
                value = d;
                return true;
            }
        }
        // Two-digit years, as the registers show them, are years of this century.
        for (const char *f : {"yy.MM.dd", "yy-MM-dd", "yy.M.d"}) {
            const QDate d = QDate::fromString(t, QString::fromLatin1(f));
            if (d.isValid()) {
                value = d.addYears(100);
                return true;
            }
        }
        return false;
    }
    }
    return false;
}

// --- RowStore ---

void RowStore::clear()
{
    m_dictionaries.clear();
    m_textBlocks.clear();
    m_textUsed = m_textCapacity = 0;
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_capacity = m_used = m_rowStart = 0;
}

void RowStore::grow(qsizetype n)
{
    const qsizetype partial = m_used - m_rowStart;
    const qsizetype size = qMax(kBlockSize, partial + n);
    std::unique_ptr<char[]> block(new char[size_t(size)]); // not zeroed: every byte used is written
    if (partial > 0)
        std::memcpy(block.get(), m_blocks.back().get() + m_rowStart, size_t(partial));
    m_blocks.push_back(std::move(block));
    m_capacity = size;
    m_used = partial;
    m_rowStart = 0;
}

void RowStore::putVarint(quint64 v)
{
    char *p = reserve(10);
    char *start = p;
    while (v >= 0x80) {
        *p++ = char(v | 0x80);
        v >>= 7;
    }
    *p++ = char(v);
    m_used += p - start;
}

void RowStore::addNull() { *reserve(1) = TagNull, ++m_used; }

std::string_view RowStore::keep(std::string_view text)
{
    const auto n = qsizetype(text.size());
    if (m_textBlocks.empty() || m_textUsed + n > m_textCapacity) {
        m_textCapacity = qMax(kBlockSize / 4, n);
        m_textBlocks.push_back(std::unique_ptr<char[]>(new char[size_t(m_textCapacity)]));
        m_textUsed = 0;
    }
    char *at = m_textBlocks.back().get() + m_textUsed;
    std::memcpy(at, text.data(), text.size());
    m_textUsed += n;
    return {at, text.size()};
}

qint64 RowStore::find(const Dictionary &d, std::string_view text, size_t hash)
{
    if (d.table.empty())
        return -1;
    const size_t mask = d.table.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const quint32 slot = d.table[i];
        if (slot == 0)
            return -1;
        if (d.hashes[slot - 1] == hash && d.texts[slot - 1] == text)
            return qint64(slot - 1);
    }
}

void RowStore::insert(Dictionary &d, std::string_view text, size_t hash)
{
    d.texts.push_back(keep(text));
    d.hashes.push_back(hash);
    // Kept at most half full, so a miss ends soon.
    if (d.texts.size() * 2 > d.table.size()) {
        d.table.assign(qMax<size_t>(64, d.table.size() * 2), 0);
        const size_t mask = d.table.size() - 1;
        for (size_t n = 0; n < d.texts.size(); ++n) {
            size_t i = d.hashes[n] & mask;
            while (d.table[i] != 0)
                i = (i + 1) & mask;
            d.table[i] = quint32(n + 1);
        }
        return;
    }
    const size_t mask = d.table.size() - 1;
    size_t i = hash & mask;
    while (d.table[i] != 0)
        i = (i + 1) & mask;
    d.table[i] = quint32(d.texts.size());
}

void RowStore::addText(int column, const char *utf8, int bytes)
{
    // Repeated texts (payees, banks, purposes, operators) are held once. A column whose texts keep being
    // new ones (cheque numbers) stops collecting and looking them up, so its dictionary never outgrows its rows.
    constexpr int kLongest = 256;
    if (column >= 0 && bytes <= kLongest) {
        if (size_t(column) >= m_dictionaries.size())
            m_dictionaries.resize(size_t(column) + 1);
        Dictionary &d = m_dictionaries[size_t(column)];
        ++d.seen;
        const std::string_view text(utf8, size_t(bytes));
        qint64 number = d.last >= 0 && d.texts[size_t(d.last)] == text ? d.last : -1;
        if (number < 0 && !d.closed) {
            const size_t hash = std::hash<std::string_view>()(text);
            number = find(d, text, hash);
            if (number >= 0) {
            } else if ((d.seen > 4096 && qsizetype(d.texts.size()) * 10 > d.seen * 9) || d.texts.size() >= (1u << 20)) {
                d.closed = true; // nearly every text new (cheque numbers, accounts), or too many to look up
            } else {
                insert(d, text, hash);
                number = qint64(d.texts.size() - 1);
            }
        }
        if (number >= 0) {
            d.last = number;
            *reserve(1) = TagShared, ++m_used;
            putVarint(quint64(number));
            return;
        }
    }
    *reserve(1) = TagText, ++m_used;
    putVarint(quint64(bytes));
    std::memcpy(reserve(bytes), utf8, size_t(bytes));
    m_used += bytes;
}

void RowStore::addLong(qint64 value)
{
    *reserve(1) = TagLong, ++m_used;
    putVarint(zigzag(value));
}

void RowStore::addNumber(double value)
{
    char *p = reserve(1 + qsizetype(sizeof value));
    *p = TagNumber;
    std::memcpy(p + 1, &value, sizeof value);
    m_used += 1 + qsizetype(sizeof value);
}

void RowStore::addDate(qint64 julianDay)
{
    *reserve(1) = TagDate, ++m_used;
    putVarint(zigzag(julianDay));
}

void RowStore::addValue(int column, const QVariant &value)
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
        addText(column, utf8.constData(), int(utf8.size()));
        break;
    }
    }
}

int RowStore::endRow()
{
    if (m_blocks.empty())
        grow(0); // an empty row still needs a place
    m_rows.push_back(quint64(m_blocks.size() - 1) << 32 | quint64(m_rowStart));
    m_rowStart = m_used;
    return int(m_rows.size() - 1);
}

const char *RowStore::rowData(int id) const
{
    const quint64 at = m_rows[size_t(id)];
    return m_blocks[size_t(at >> 32)].get() + (at & 0xffffffffu);
}

const char *RowStore::field(int id, int column) const
{
    const char *p = rowData(id);
    for (int c = 0; c < column; ++c)
        readValue(p, false, nullptr);
    return p;
}

const std::vector<std::string_view> *RowStore::sharedTexts(int column) const
{
    return size_t(column) < m_dictionaries.size() ? &m_dictionaries[size_t(column)].texts : nullptr;
}

QVariant RowStore::value(int id, int column) const
{
    if (id < 0 || id >= size() || column < 0)
        return {};
    const char *p = field(id, column);
    return readValue(p, true, sharedTexts(column));
}

bool RowStore::sameValue(int idA, int idB, int column) const
{
    if (idA < 0 || idA >= size() || idB < 0 || idB >= size() || column < 0)
        return false;
    const auto *shared = sharedTexts(column);
    // A text's bytes, or nothing for a value of another kind.
    const auto textAt = [shared](const char *p, std::string_view &text) {
        const Tag tag = Tag(*p++);
        if (tag != TagShared && tag != TagText)
            return false;
        const auto n = size_t(getVarint(p));
        text = tag == TagShared ? (*shared)[n] : std::string_view(p, n);
        return true;
    };
    const char *pa = field(idA, column), *pb = field(idB, column);
    std::string_view a, b;
    const bool textA = textAt(pa, a), textB = textAt(pb, b);
    if (textA || textB)
        return textA && textB && a == b;
    return readValue(pa, true, shared) == readValue(pb, true, shared);
}

QVariantList RowStore::values(int id, int columns) const
{
    QVariantList out;
    if (id < 0 || id >= size())
        return out;
    out.reserve(columns);
    const char *p = rowData(id);
    for (int c = 0; c < columns; ++c)
        out << readValue(p, true, sharedTexts(c));
    return out;
}

QVariant RowStore::stored(int id, int column) const
{
    if (id < 0 || id >= size() || column < 0)
        return {};
    const char *p = field(id, column);
    const Tag tag = Tag(*p);
    if (tag != TagShared && tag != TagText)
        return readValue(p, true, sharedTexts(column));
    ++p;
    const auto n = size_t(getVarint(p));
    const std::string_view text = tag == TagShared ? (*sharedTexts(column))[n] : std::string_view(p, n);
    return QByteArray(text.data(), qsizetype(text.size()));
}

qsizetype RowStore::memoryUsed() const
{
    qsizetype dictionaries = 0;
    for (const Dictionary &d : m_dictionaries)
        dictionaries += qsizetype(d.texts.capacity() * sizeof(std::string_view) + d.hashes.capacity() * sizeof(size_t)
                                  + d.table.capacity() * sizeof(quint32));
    return qsizetype(m_blocks.size()) * kBlockSize + qsizetype(m_textBlocks.size()) * kBlockSize / 4
         + qsizetype(m_rows.capacity() * sizeof(quint64)) + dictionaries;
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

bool RowCursor::open(db::Transaction &transaction, const QSqlDatabase &connection, const QString &sql,
                     const QVariantList &values)
{
    close();
    m_errorCode = 0;
    m_errorText.clear();
    if (!transaction.isConnected()) {
        transaction.setError(-1, QStringLiteral("没有连接数据库。"));
        return false;
    }
    if (sqlite3 *handle = db::sqliteHandle(connection)) {
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
    m_query = std::make_unique<QSqlQuery>(connection);
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
                const Type type = m_types.at(c);
                if (c >= m_columns || (type != Type::Text && sqlite3_column_type(m_stmt, c) == SQLITE_NULL)) {
                    store.addNull();
                    continue;
                }
                switch (type) {
                case Type::Text:
                    // The text first, then its length: the call that converts a value comes before the size.
                    // No text at all is NULL.
                    if (const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, c)))
                        store.addText(c, text, sqlite3_column_bytes(m_stmt, c));
                    else
                        store.addNull();
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
                    m_errorCode = db::engineCode(m_query->lastError());
                    m_errorText = db::engineText(m_query->lastError());
                    close();
                    return -1;
                }
                close();
                break;
            }
            store.beginRow();
            for (int c = 0; c < total; ++c)
                store.addValue(c, c < m_columns ? typedValue(m_query->value(c), m_types.at(c)) : QVariant());
        }
        ids.push_back(quint32(store.endRow()));
        ++n;
    }
    return n;
}
} // namespace dw
