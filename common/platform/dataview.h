#pragma once
#include "platform/export.h"
#include "platform/window.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <functional>

class QTableView;

namespace db {
class Transaction;
}

// The data view engine: a stored presentation bound to one SQL query. A Definition describes it in code,
// a Buffer holds the retrieved rows (no widgets, testable on its own), and the DataView control shows the
// rows and keeps the current row. Rows and columns are numbered from 1, as the windows speak of them.
namespace dw {

enum class Type { Text, Long, Number, Date };

// A result column of the query, in SELECT order.
struct Column {
    QString name;
    Type type = Type::Text;
    int limit = 0;          // text width in GBK bytes
    bool key = false;       // identifies a row: the update key, and how a re-read finds a row again
    bool updatable = false; // written by an update (not used by read-only views)
};

// A retrieval argument, referenced in the SQL as :name. Arguments are always bound, never pasted.
struct Argument {
    QString name;
    Type type = Type::Text;
};

class Buffer;
// The value of a computed cell for a row (1-based).
using Expression = std::function<QVariant(const Buffer &, int row)>;

// The row's position in the list: 1, 2, 3 ...
COMMON_EXPORT Expression rowNumber();

// One cell of a grid line, in display order: a result column, or a computed expression when `compute` is set.
struct Cell {
    QString name; // the column shown, or the computed cell's own name
    QString header;
    int width = 0; // window units
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    Expression compute = {};
    // Background of the cell in the current row and in every other row (system colour values).
    qint64 currentRowBackground = ui::kNoColor;
    qint64 otherRowBackground = ui::kNoColor;
};

enum class Style { Grid };

struct Definition {
    QString name;
    Style style = Style::Grid;
    QString sql; // retrieval arguments as :name
    QList<Argument> arguments;
    QList<Column> columns;
    QList<Cell> cells;
    QStringList sort; // columns the rows are ordered by after a retrieve, ascending
    ui::Font font;
    int headerHeight = 80; // window units
    int rowHeight = 80;
};

enum class RowStatus { NotModified, DataModified, New, NewModified };

// The rows of a data view. Values are held by column type: text as QString, long as qint64, number as
// double, date as QDate; NULL stays a null QVariant.
class COMMON_EXPORT Buffer {
public:
    explicit Buffer(Definition definition = {});

    const Definition &definition() const { return m_def; }
    // Replaces the definition and drops the rows.
    void setDefinition(Definition definition);

    // The 1-based position of a result column, 0 when there is none (names are case-insensitive).
    int columnIndex(const QString &name) const;
    int rowCount() const { return int(m_rows.size()); }

    // A row or column that does not exist gives a null value, and an empty text, without an error.
    // A name that is no result column may name a computed cell.
    QVariant item(int row, int column) const;
    QVariant item(int row, const QString &name) const;
    QString itemString(int row, const QString &name) const;
    // The text a cell of the definition shows (cell index 0-based, in display order).
    QString cellText(int row, int cell) const;
    RowStatus rowStatus(int row) const;

    // The values of the key columns, and the row that holds them (0 when none does).
    QVariantList keyOf(int row) const;
    int findRow(const QVariantList &key) const;

    // Drops the rows and runs the query with the arguments bound, in one pass over the result. Returns the
    // number of rows, or -1 with the transaction's SQLCode/SQLErrText telling why; rows read before a
    // failure are dropped.
    int retrieve(db::Transaction &transaction, const QVariantList &arguments);
    void reset();

    static QString displayText(const QVariant &value);

private:
    struct Row {
        QVariantList values;
        RowStatus status = RowStatus::NotModified;
    };
    void compile();
    void sortRows();

    Definition m_def;
    QList<Row> m_rows;
    QString m_boundSql;     // the SQL with every :name turned into ?
    QList<int> m_argOrder;  // which argument each ? binds
    QList<int> m_cellColumn; // per cell: its result column (1-based), 0 for computed cells
};

class GridModel;

// The data view control. The grid presentation is a table view over a model that renders only the rows
// in sight, so large lists stay fast.
class COMMON_EXPORT DataView : public QWidget {
    Q_OBJECT
public:
    explicit DataView(QWidget *parent = nullptr);
    ~DataView() override;

    void setDefinition(const Definition &definition);
    const Definition &definition() const { return m_buffer.definition(); }
    const Buffer &buffer() const { return m_buffer; }

    // Binds the view to a transaction; retrieve runs through it.
    void setTransaction(db::Transaction &transaction) { m_transaction = &transaction; }

    // After a retrieve the current row is the first (0 on an empty list); SameRecord keeps it on the row
    // with the same key, and the list where it was scrolled, when that row is still there.
    enum class Keep { FirstRow, SameRecord };
    int retrieve(const QVariantList &arguments = {}, Keep keep = Keep::FirstRow);

    int rowCount() const { return m_buffer.rowCount(); }
    int currentRow() const { return m_current; }
    // Makes a row current (out of range: ignored) and scrolls it into sight.
    void setCurrentRow(int row);
    void scrollToRow(int row);

    QVariant item(int row, const QString &column) const { return m_buffer.item(row, column); }
    QString itemString(int row, const QString &column) const { return m_buffer.itemString(row, column); }

    QTableView *grid() const { return m_grid; }
signals:
    // The row under the pointer, 0 on the header or below the last row.
    void doubleClicked(int row);
    void rowFocusChanged(int row);

private:
    void applyPresentation();
    void setCurrent(int row, bool moveView);

    Buffer m_buffer;
    db::Transaction *m_transaction = nullptr;
    GridModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    int m_current = 0;
    bool m_syncing = false;
};
} // namespace dw
