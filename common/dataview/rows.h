#pragma once
#include "dataview/types.h"
#include "platform/export.h"

#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <memory>
#include <string_view>
#include <vector>

struct sqlite3_stmt;

namespace db {
class Transaction;
}

// Row storage and fetching of the data view engine: rows as read are packed into large blocks (a row is one run
// of bytes, a value a tag and its payload), so a register of a million rows costs little more than its text;
// a cursor reads them from the database as the presentation asks for them.
namespace dw {

class COMMON_EXPORT RowStore {
public:
    RowStore() = default;
    RowStore(const RowStore &) = delete;
    RowStore &operator=(const RowStore &) = delete;
    RowStore(RowStore &&) = default;
    RowStore &operator=(RowStore &&) = default;

    int size() const { return int(m_rows.size()); }
    void clear();

    // A row is added value by value, in column order, between beginRow and endRow; endRow returns its id.
    void beginRow() { m_rowStart = m_used; }
    void addNull();
    // A text of a column: texts that repeat (payees, banks, purposes) are held once per column.
    void addText(int column, const char *utf8, int bytes);
    void addLong(qint64 value);
    void addNumber(double value);
    void addDate(qint64 julianDay);
    // A value already converted to the column's type (see typedValue).
    void addValue(int column, const QVariant &value);
    int endRow();

    QVariant value(int id, int column) const;
    // Whether two rows hold the same value in a column, texts compared byte for byte as read: bytes that are no
    // UTF-8 read as the same QString (U+FFFD) though the database tells them apart.
    bool sameValue(int idA, int idB, int column) const;
    QVariantList values(int id, int columns) const;
    // A value as the database gave it: a text as its bytes (a QByteArray), so that a write can compare it with
    // what is stored; other values as value() gives them.
    QVariant stored(int id, int column) const;
    // Bytes held, blocks and row index included.
    qsizetype memoryUsed() const;

private:
    const char *rowData(int id) const;
    // Where a column's value starts in a row, and the texts the column holds once.
    const char *field(int id, int column) const;
    const std::vector<std::string_view> *sharedTexts(int column) const;
    // Room for n more bytes of the row being added: a row never spans blocks, so a row that does not fit
    // moves to a new block with what it has so far.
    char *reserve(qsizetype n)
    {
        if (m_used + n > m_capacity)
            grow(n);
        return m_blocks.back().get() + m_used;
    }
    void grow(qsizetype n);
    void putVarint(quint64 v);

    // The texts of one column held once: a text's number is its place in `texts`. `table` is an open-addressed
    // table of numbers + 1 (0: free), looked up by the texts' hashes.
    struct Dictionary {
        std::vector<quint32> table;
        std::vector<size_t> hashes;
        std::vector<std::string_view> texts;
        qsizetype seen = 0;   // texts of the column added
        qint64 last = -1;     // the number of the column's last text: rows in order repeat it often
        bool closed = false;  // mostly different texts: held in the row, not looked up
    };
    std::string_view keep(std::string_view text); // a lasting copy for a dictionary
    static qint64 find(const Dictionary &d, std::string_view text, size_t hash);
    void insert(Dictionary &d, std::string_view text, size_t hash);
    std::vector<Dictionary> m_dictionaries;
    std::vector<std::unique_ptr<char[]>> m_textBlocks;
    qsizetype m_textUsed = 0, m_textCapacity = 0;

    std::vector<std::unique_ptr<char[]>> m_blocks;
    qsizetype m_capacity = 0; // of the last block
    qsizetype m_used = 0;     // bytes used in the last block
    qsizetype m_rowStart = 0; // where the row being added starts in it
    std::vector<quint64> m_rows; // block << 32 | offset
};

// A value converted to a column's type: text as QString, long as qint64, number as double, date as QDate
// (an invalid date is no value); NULL stays a null QVariant.
COMMON_EXPORT QVariant typedValue(const QVariant &raw, Type type);
// A value as the operator types it, converted to a type: numbers with or without group separators, dates as
// yyyy-mm-dd, yyyy.mm.dd, yyyy/mm/dd (month and day with or without a leading zero), yyyymmdd or with a
// two-digit year (yy.mm.dd). Blank is no value. False when the text is no such value.
COMMON_EXPORT bool parseValue(Type type, const QString &text, QVariant &value);

// An executed query whose rows are read on demand into a RowStore, through SQLite's own interface when the
// connection is SQLite, else through Qt SQL.
class COMMON_EXPORT RowCursor {
public:
    explicit RowCursor(QList<Type> types) : m_types(std::move(types)) {}
    ~RowCursor();
    RowCursor(const RowCursor &) = delete;
    RowCursor &operator=(const RowCursor &) = delete;

    // Prepares and runs the statement with its bound values on the connection; false with the transaction's
    // error set.
    bool open(db::Transaction &transaction, const QSqlDatabase &connection, const QString &sql,
              const QVariantList &values);
    // Reads up to `count` rows (all with count < 0) into the store, appending each new id to `ids`. Returns
    // the rows read, or -1 on a database error (its code and text in errorCode/errorText); the cursor is then
    // at its end.
    int read(RowStore &store, std::vector<quint32> &ids, int count);
    bool atEnd() const { return m_atEnd; }
    void close();
    int errorCode() const { return m_errorCode; }
    QString errorText() const { return m_errorText; }

private:
    QList<Type> m_types;
    sqlite3_stmt *m_stmt = nullptr;
    std::unique_ptr<QSqlQuery> m_query; // another engine than SQLite
    int m_columns = 0;
    bool m_atEnd = true;
    int m_errorCode = 0;
    QString m_errorText;
};
} // namespace dw
