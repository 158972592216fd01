#pragma once
#include "dataview/format.h"
#include "dataview/rowindex.h"
#include "dataview/rows.h"
#include "dataview/statement.h"
#include "dataview/types.h"
#include "platform/export.h"
#include "platform/transaction.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QSqlQuery;

// The rows of a data view (no widgets, testable on its own). A retrieve reads the first rows only; the rest are
// read when a presentation asks for them, as a Qt model fetches: only the non-const members read (fetchMore,
// readTo, readEnd, rowCount, the finds and the totals), and every const member answers from the rows already
// read, so painting or asking for a cell never reads behind the caller's back. What has been read is held
// packed (RowStore); a row the operator edits is held unpacked beside it.
namespace dw {

// Longest: the value of a column with the most characters (of a text column, the widest it shows).
enum class Aggregate { Sum, Min, Max, Longest };

class COMMON_EXPORT Buffer : private db::Reader {
public:
    // Rows read at a time: more than a screenful, little against a register.
    static constexpr int kReadRows = 256;

    explicit Buffer(Definition definition = {});
    ~Buffer() override;
    Buffer(const Buffer &) = delete;
    Buffer &operator=(const Buffer &) = delete;

    const Definition &definition() const { return m_def; }
    // Replaces the definition and drops the rows.
    void setDefinition(Definition definition);

    // The 1-based position of a result column, 0 when there is none (names are case-insensitive).
    int columnIndex(const QString &name) const;

    // Every row of the result: reads the rows not read yet, unless the last rows were read from the end.
    int rowCount();
    // Every row of the result, counted by the database while rows remain unread (none is read for it).
    int countRows();
    // The rows read from the first on (with the rows added and less those deleted among them), and whether
    // that is all of them.
    int fetchedCount() const { return int(m_rows.segment(0).ids.size()); }
    bool complete() const { return !m_snapshot && !m_failed; }
    // Rows whose number is known: those read from the first on, and once the end was read, every row.
    int knownCount() const { return m_rows.known(); }
    bool endKnown() const { return m_rows.endKnown(); }
    // A read, a count or a total that failed (a damaged page, an I/O error): the rows read so far stay, but
    // they are not the whole result. Totals are then no value, and the update refuses to write. The handler
    // hears of the failure once, with the engine's code and text; a retrieve clears it.
    bool failed() const { return m_failed; }
    int failureCode() const { return m_failureCode; }
    QString failureText() const { return m_failureText; }
    void setFailureHandler(std::function<void(int code, const QString &text)> handler)
    {
        m_onFailed = std::move(handler);
    }
    // Reads up to `count` more rows after those known (all with count < 0); returns how many were read.
    int fetchMore(int count);
    // Makes the last rows known: while many rows remain unread and the order can be turned round, the
    // database counts them and the last screenfuls are read from the end; the rows between are read when
    // asked for. Otherwise every row is read.
    void readEnd();
    // Whether readEnd reads the last rows from the end (the order is total) rather than every row.
    bool endReadable() const { return !m_statement.reverseSql().isEmpty(); }
    // Whether the row exists, reading it (and a screenful around it) when it is not held yet: on from the rows
    // held just before it, back from those just after it, or, far from both, from its place in the order. In
    // a print pass, a row past those held is brought into the pass's window instead.
    bool readTo(int row);
    // Whether the row is known: read and held, or in a print pass's window. Reads nothing.
    bool hasRow(int row) const;
    // Reading every row once, in order, without keeping them (a print of a long result): while a Pass lives,
    // rows past those read are read by a cursor of its own into a window that moves on, so memory stays flat
    // however many rows go by, and the rows held stay as they were. Rows as retrieved only: with edits, or
    // every row read, rows are read and kept as always. An edit ends the pass.
    class COMMON_EXPORT Pass {
    public:
        explicit Pass(Buffer &buffer);
        ~Pass();
        Pass(const Pass &) = delete;
        Pass &operator=(const Pass &) = delete;
        // The database's code and text when the pass could not read its rows (0: it could); the rows held and
        // the view are not touched by it.
        int failureCode() const;
        QString failureText() const;
        // Least, greatest and longest values of columns over every row, as Buffer::total gives each. While
        // the pass reads on its own they are asked of the database in one reading of the rows, a failure then
        // the pass's, the view untouched.
        QVariantList totals(const QList<std::pair<Aggregate, int>> &asked);

    private:
        Buffer &m_buffer;
    };
    // Called after rows were read, with the counts before and after (a presentation shows them).
    void setFetchHandler(std::function<void(int before, int after)> handler) { m_onFetched = std::move(handler); }

    // A row or column that does not exist, or a row not read yet, gives a null value, and an empty text,
    // without an error. A name that is no result column may name a computed cell.
    QVariant item(int row, int column) const;
    QVariant item(int row, const QString &name) const;
    QString itemString(int row, const QString &name) const;
    // The text a cell of the definition holds (cell index 0-based, in display order), and the text it shows:
    // through the cell's display format, if it has one.
    QString cellText(int row, int cell) const;
    QString shownText(int row, int cell) const;
    RowStatus rowStatus(int row) const;
    // Rows waiting in the delete buffer, and rows the next update writes (changed, or new and edited).
    int deletedCount() const { return int(m_deleted.size()); }
    int modifiedCount() const;

    // Totals over every row (the database computes them while rows remain unread), each computed when first
    // asked for and kept until a row changes: the sum counts no value as 0 (of a number column it is a Fen,
    // exact, each value taken to the fen); the least and greatest skip rows without one.
    QVariant total(Aggregate kind, int column);
    // Runs of rows with equal values of a column, in row order (first and last row, 1-based). With no column,
    // one run of every row.
    struct Run {
        int first = 0, last = 0;
    };
    QList<Run> runs(int column);
    // A total over the rows of one run of runs(column).
    QVariant runTotal(int column, int run, Aggregate kind, int of);

    // Editing. A new row is empty and has status New; it becomes NewModified when an item is set, and only
    // then is it inserted. insertRow(0) appends; returns the new row's number, -1 when `before` is invalid.
    int insertRow(int before);
    // Moves a retrieved row to the delete buffer (a new row is just dropped). 1, or -1 for no such row.
    int deleteRow(int row);
    // Sets an item, converted to the column's type; text longer than the column's limit is refused. A value equal
    // to the one held changes nothing. 1 on success, -1 when refused or out of range.
    int setItem(int row, int column, const QVariant &value);
    int setItem(int row, const QString &name, const QVariant &value);
    // Converts an operator's text to the column's type; false when it is no such value.
    bool parse(int column, const QString &text, QVariant &value) const;
    // The typing limit of a text column in GBK bytes (its own, else the update table's width), 0 for none.
    int limitOf(int column) const;

    // Writes the delete buffer, then changed and new-modified rows in row order, through the transaction:
    // DELETE and UPDATE find a row by its row id where the rows bring it (else by the key alone), with the key
    // columns still as read; UPDATE sets the changed updatable columns, INSERT sends the updatable ones. Returns
    // 1 and marks everything written as unchanged; on any failure (also a statement that finds no row, or more
    // than one) rolls back, keeps every row and status, and returns -1 with the transaction's SQLCode -1,
    // SQLDBCode and SQLErrText telling why. Nothing is committed here.
    int update(db::Transaction &transaction);
    void resetUpdate();

    // The values of the key columns of a row read, and the row that holds them (0 when none does). The search
    // reads rows as it goes; with `within` > 0 it looks no further than that row.
    QVariantList keyOf(int row) const;
    int findRow(const QVariantList &key, int within = 0);
    // The row among those held that holds the key (0 when none does); reads nothing.
    int findHeld(const QVariantList &key) const;
    // The row that holds the key at any depth. While rows remain unread the database first says whether the
    // result holds the key at all, so a record that is gone costs no reading. Where the order allows, the
    // database also counts the rows before it, and the rows around it are read from there (the rows between
    // come in when asked for); otherwise reading goes on to it.
    int locateRow(const QVariantList &key);

    // Drops the rows and runs the query with the arguments bound; the rows are then read as needed. Returns the
    // number of rows read so far (every row of a short result), or -1 with the transaction's SQLCode/SQLErrText
    // telling why.
    int retrieve(db::Transaction &transaction, const QVariantList &arguments);
    void reset();

    // Memory held by the rows, in bytes (packed rows and edited ones).
    qsizetype memoryUsed() const;


private:
    // A row the operator changed or added, unpacked.
    struct Edited {
        QVariantList values;
        QVariantList original; // the values as read
        quint64 changed = 0;   // bit c-1: column c was set to another value
        RowStatus status = RowStatus::NotModified;
        // What finds the row again: its row id as read (none for a row added), and its key columns as the
        // database holds them (texts as their bytes, which Qt's text may not give back).
        QVariant id;
        QVariantList stored;
    };
    static constexpr quint32 kNewRow = 0x80000000u; // handles of added rows start here

    void finish() override; // the connection is about to write: read the rest
    void drop() override;   // the connection closes: stop where the reading is
    struct Passing;
    // Brings a row past those held into the pass's window; false when there is no such row or the read failed.
    bool passTo(int row);
    // Whether the row is one of the pass's window (not held), and whether it is held.
    bool inPass(int row) const;
    bool held(int row) const;
    // Whether the row is one the cursor from the first row has yet to give: past those read from the first on
    // and before any read from the end (those between are known by number only).
    bool ahead(int row) const;
    // The handle of a row known (see hasRow), and where a handle goes or comes from by row index (0-based).
    quint32 handleAt(int row) const;
    void placeHandle(int index, quint32 handle);
    quint32 takeHandle(int index);
    // Drops the rows read after the first ones (from the end, around a place): the end is not known again.
    void forgetBack();
    // Reads every row into those held from the first on (the rows between those and the rows read from the end
    // too).
    void readAll();
    int readFront(int count) { return readAfter(0, count); }
    // Reads up to `count` rows after segment i (all up to the next segment, or to the end, with count < 0).
    int readAfter(int segment, int count);
    // Reads `count` rows just before segment i; false when they could not be read as counted.
    bool readBefore(int segment, int count);
    // Makes the store again from the rows held once the rows of places dropped outweigh them.
    void compact();
    // Reads a screenful around a row far from any held, as a segment of its own.
    bool readAt(int row, const RowIndex::Gap &gap);
    // Rows read by their place in the result (0-based offset): forward, or from the end when that is nearer.
    bool readSlice(qint64 offset, int count, std::vector<quint32> &ids, std::unique_ptr<RowCursor> *keep = nullptr);
    // Whether every row read into a segment is still there (a row deleted there since, even one written by an
    // update, is still in the moment the rows are read in, next to its neighbours).
    bool noneDeleted(const RowIndex::Segment &s) const;
    // The one judge of how rows next to others are read: by a row's identity, for a query whose rows bring
    // theirs, next to a segment (none: anywhere in the result) where no row read was deleted; else by place.
    bool byIdentity(const RowIndex::Segment *segment) const;
    // A row of a segment as the statements find it again by its identity (see byIdentity), when it is a row as
    // read; false when the rows next to it must be found by place.
    bool edgeOf(int segment, int row, Edge &edge);
    // The values a row is stored with: the result columns, and the row's identity where the rows bring it.
    int storedColumns() const;
    // After rows were read: every row held ends the snapshot; the presentation hears of new rows.
    void settle(int before);
    // A read that failed part-way (`before`: the rows known when it began).
    void failRead(int code, const QString &text, int before);
    int readAround(const QVariantList &key);
    void closeCursor();
    // `tell`: the failure handler hears of it (not for a retrieve, whose caller reports it).
    void fail(int code, const QString &text, bool tell = true);
    // Fails with the error of a query on the view's connection.
    void failOn(QSqlQuery &query);
    // A cursor over the statement in the view's snapshot, the result columns read as their types; null (the
    // reason with the transaction) when it could not be opened.
    std::unique_ptr<RowCursor> openCursor(const QString &sql, const QVariantList &args);
    QVariantList valuesOf(quint32 handle) const;
    // Why a query failed: the engine's code and words (or what it left with the transaction).
    std::pair<int, QString> failureOf(const QSqlQuery &query) const;
    // The condition that finds the row with the key by the columns' names.
    QString keyWhere(const QVariantList &key, QVariantList &args) const;
    // An edited or deleted row's identity and stored key, taken from the rows read.
    void keepIdentity(Edited &row, quint32 handle) const;
    // Whether the update table is the table the rows' identity is of.
    bool writesByIdentity() const;
    // The condition that finds exactly the row as read: its row id, and its key columns unchanged, compared
    // with the stored bytes inside the statement.
    QString rowWhere(const Edited &row, QVariantList &args) const;
    // The row as the operator knows it: its number in the grid (0: a row deleted) and its key texts.
    QString rowName(int row, const QVariantList &values) const;
    bool rowHasKey(int row, const QVariantList &key) const;
    void dropTotals();
    struct Totals;
    Totals &totals();
    bool databaseTotals() const;
    // One value of "SELECT <select> FROM (<query>) [WHERE <where>]", the query's own values bound first.
    QVariant scalar(const QString &select, const QString &where = {}, const QVariantList &more = {});
    // The values of one row of such a statement, a value a term of the select list (none when it fails).
    QVariantList scalars(const QString &select, const QString &where = {}, const QVariantList &more = {});
    // A total of a column by the database; no value when it fails.
    QVariant databaseTotal(Aggregate kind, const Column &c);
    // The value of a text column as long as this (its greatest length), by the database.
    QVariant longestOf(const Column &c, const QVariant &length);
    bool m_passQuery = false; // a query of a print's pass: its failure is the pass's
    // Two rows read here hold the same value of the column (1-based), as the database groups values.
    bool sameValue(int rowA, int rowB, int column) const;
    // Over rows first..last, read here first.
    QVariant aggregate(Aggregate kind, int column, int first, int last);

    Definition m_def;
    Statement m_statement;
    QList<int> m_cellColumn; // per cell: its result column (1-based), 0 for computed cells
    RowStore m_store;
    // Row handles in row order (a store id, or kNewRow + n), in segments, each with the cursor that feeds it.
    RowIndex m_rows;
    // The moment the rows are read in, with their counts and sums, while rows remain unread.
    std::unique_ptr<db::Snapshot> m_snapshot;
    db::Transaction *m_transaction = nullptr;
    QVariantList m_bound;
    QHash<quint32, Edited> m_edits;
    QList<Edited> m_deleted;
    quint32 m_nextNew = kNewRow;
    std::unique_ptr<Totals> m_totals;
    std::unique_ptr<Passing> m_pass;
    std::function<void(int, int)> m_onFetched;
    bool m_failed = false;
    int m_failureCode = 0;
    QString m_failureText;
    std::function<void(int, const QString &)> m_onFailed;
};
} // namespace dw
