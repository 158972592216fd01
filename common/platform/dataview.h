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
class QKeyEvent;
class QLineEdit;

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
    // > 0: the cell takes input and Tab visits it in this order; 0: shown only.
    int tabOrder = 0;
    // Display format: "yy.mm.dd" style dates, "###,###.00" style numbers, or a quoted literal ("'*****'")
    // shown in place of any value. Empty: the value as it is.
    QString format = {};
    // Free form only: the field's place in the view, in window units (width above).
    int x = 0, y = 0, height = 0;
};

// A fixed text of a free-form view, in window units.
struct Label {
    QString text;
    int x = 0, y = 0, width = 0, height = 0;
};

enum class Style { Grid, FreeForm };

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
    // Update: the table written, by the key columns as read; only updatable columns are written.
    QString updateTable = {};
    QList<Label> labels = {}; // free form
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
    // Rows waiting in the delete buffer, and rows the next update writes (changed, or new and edited).
    int deletedCount() const { return int(m_deleted.size()); }
    int modifiedCount() const;

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
    // DELETE and UPDATE find rows by the key columns as read, UPDATE sets the changed updatable columns, INSERT
    // sends the updatable ones. Returns 1 and marks everything written as unchanged; on any failure (also a row
    // the key no longer finds) rolls back, keeps every row and status, and returns -1 with the transaction's
    // SQLCode -1, SQLDBCode and SQLErrText telling why. Nothing is committed here.
    int update(db::Transaction &transaction);
    void resetUpdate();

    // The values of the key columns, and the row that holds them (0 when none does).
    QVariantList keyOf(int row) const;
    int findRow(const QVariantList &key) const;

    // Drops the rows and runs the query with the arguments bound, in one pass over the result. Returns the
    // number of rows, or -1 with the transaction's SQLCode/SQLErrText telling why; rows read before a
    // failure are dropped.
    int retrieve(db::Transaction &transaction, const QVariantList &arguments);
    void reset();

    static QString displayText(const QVariant &value);
    // A value as a cell's display format shows it (see Cell::format).
    static QString formatted(const QVariant &value, const QString &format);

private:
    struct Row {
        QVariantList values;
        QVariantList original; // the values as read; filled on the first change only
        quint64 changed = 0;   // bit c-1: column c was set to another value
        RowStatus status = RowStatus::NotModified;
        const QVariantList &asRead() const { return original.isEmpty() ? values : original; }
    };
    void compile();
    void sortRows();
    QString keyCondition(const Row &row, QVariantList &args) const;

    Definition m_def;
    QList<Row> m_rows;
    QList<Row> m_deleted;
    QString m_boundSql;     // the SQL with every :name turned into ?
    QList<int> m_argOrder;  // which argument each ? binds
    QList<int> m_cellColumn; // per cell: its result column (1-based), 0 for computed cells
};

class GridModel;
class CellDelegate;

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

    // Editing, as the buffer does it, keeping the presentation in step.
    int insertRow(int before);
    int deleteRow(int row);
    int setItem(int row, const QString &column, const QVariant &value);
    // Takes the text being typed into the current cell into the buffer.
    void acceptText();
    // Writes the changes (see Buffer::update). A failure raises the database-error event.
    int update();
    void resetUpdate();

    // The current cell: its column's position in the query (0 for a computed cell or none).
    int currentColumn() const;
    int columnCount() const { return int(m_buffer.definition().columns.size()); }
    // Makes a cell current (row and a result column by name) and gives it the input.
    void setCurrentCell(int row, const QString &column);
    // Moves the input to the next (or previous) cell in tab order, as Tab does; at the end it stays.
    void nextCell(bool backwards = false);

    // Enter in the view: the handler decides; true consumes the key. Without a handler Enter moves as Tab.
    void setEnterHandler(std::function<bool()> handler) { m_onEnter = std::move(handler); }
    // The database-error event, raised when a retrieve or an update fails, with the engine's code and text.
    // The handler returns 1 when it has reported the error itself; otherwise the view shows its own report.
    void setDbErrorHandler(std::function<int(int code, const QString &text)> handler)
    {
        m_onDbError = std::move(handler);
    }

    // Prints the rows as the grid lays them out (headers, then every row, as shown now, edited or not) in one
    // job (see printGrid). Returns 1, 0 when the operator cancelled, -1 on failure (the reason in `error`).
    int print(QString *error = nullptr);

    QTableView *grid() const { return m_grid; }
    // The free form's field of a result column (nullptr in a grid).
    QWidget *field(const QString &column) const;
signals:
    // The row under the pointer, 0 on the header or below the last row.
    void doubleClicked(int row);
    void rowFocusChanged(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    friend class CellDelegate;
    void applyPresentation();
    void setCurrent(int row, bool moveView);
    void dbError();
    bool handleKey(QKeyEvent *e);
    QList<int> tabCells() const; // editable cells (display index) in tab order
    void buildForm();
    void fillForm();

    Buffer m_buffer;
    db::Transaction *m_transaction = nullptr;
    GridModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    CellDelegate *m_delegate = nullptr;
    QWidget *m_form = nullptr; // free-form presentation
    QList<QPair<int, QLineEdit *>> m_fields; // free form: cell index, its box
    int m_current = 0;
    bool m_syncing = false;
    std::function<bool()> m_onEnter;
    std::function<int(int, const QString &)> m_onDbError;
};
} // namespace dw
