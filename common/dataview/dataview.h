#pragma once
#include "dataview/buffer.h"
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
class QMouseEvent;
class QLineEdit;

namespace db {
class Transaction;
}

// The data view control: shows the rows of a Buffer in the grid (or a simple free form) and keeps the current
// row. Rows and columns are numbered from 1, as the windows speak of them.
namespace dw {


class GridModel;
class CellDelegate;

// The data view control. The grid presentation is a table view over a model that renders only the rows
// in sight, so large lists stay fast.
// The box a view shows when the database fails it ("数据库错误"): the engine's code, what happened and what
// the operator can do, then the engine's text.
COMMON_EXPORT void showDatabaseError(int code, const QString &text, int lockWaitMs = 5000);
// The words of that box.
COMMON_EXPORT QString databaseErrorText(int code, const QString &text, int lockWaitMs = 5000);

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

    // Every row: reads those not read yet (see Buffer::rowCount).
    int rowCount() { return m_buffer.rowCount(); }
    int currentRow() const { return m_current; }
    // Reads a row in, from the end when it lies beyond those read (rather than reading every row before it);
    // returns it, or the last row when there is no such row.
    int reachRow(int row);
    // Makes a row current (out of range: ignored) and scrolls it into sight.
    void setCurrentRow(int row);
    void scrollToRow(int row);

    // A value of any row there is: one not read yet is read first.
    QVariant item(int row, const QString &column)
    {
        m_buffer.readTo(row);
        return m_buffer.item(row, column);
    }
    QString itemString(int row, const QString &column)
    {
        m_buffer.readTo(row);
        return m_buffer.itemString(row, column);
    }

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
    // Makes the first cell in tab order of a row current (a grid without one: the row), as a new row is typed.
    void setCurrentFirstCell(int row);
    // Moves the input to the next (or previous) cell in tab order, as Tab does; at the end it stays.
    void nextCell(bool backwards = false);

    // Enter in the view: the handler decides; true consumes the key. Without a handler Enter moves as Tab.
    void setEnterHandler(std::function<bool()> handler) { m_onEnter = std::move(handler); }
    // The database-error event, raised when a retrieve or an update fails, and when reading the rows fails
    // part-way (the rows read so far stay), with the engine's code and text.
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
    void dbError(int code, const QString &text);
    bool handleKey(QKeyEvent *e);
    // The row a left press in the grid acts on, given the row under the pointer (0: none).
    int pressedRow(const QMouseEvent *e, int under);
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
    quint64 m_reads = 0; // retrieves so far
    // The record the last press acted on, when and where it came, and after which retrieve.
    struct Press {
        QVariantList key;
        quint64 time = 0;
        QPoint at;
        quint64 reads = 0;
    } m_press;
    std::function<bool()> m_onEnter;
    std::function<int(int, const QString &)> m_onDbError;
};
} // namespace dw
