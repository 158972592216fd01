#pragma once
#include "platform/export.h"
#include "platform/font.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

// The definitions of the data view engine: a stored presentation bound to one SQL query, described in code.
// Rows and columns are numbered from 1, as the windows speak of them.
namespace dw {

enum class Type { Text, Long, Number, Date };

// A result column of the query, in SELECT order.
struct Column {
    QString name;
    Type type = Type::Text;
    int limit = 0;          // text width in GBK bytes
    bool key = false;       // identifies a row: the update key, and how a re-read finds a row again
    bool updatable = false; // written by an update (not used by read-only views)
    // A text that is a figure (a cheque number, an account, a code): shown whole or not at all, never cut, and
    // input that does not fit is refused whole. Numbers and dates always are.
    bool identifier = false;
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
    // Columns the rows are ordered by, ascending (texts by their GBK bytes), ahead of the query's own ORDER BY,
    // which with the key columns decides between equal values. The database does the ordering.
    QStringList sort;
    ui::Font font;
    int headerHeight = 80; // window units
    int rowHeight = 80;
    // Update: the table written, each row by its row id where the rows bring it, with the key columns as read;
    // only updatable columns are written.
    QString updateTable = {};
    // The key columns name one row at most. A query of several tables is then ordered last by them, and its
    // order is total (readable from the end); without it, the key is not taken to tell rows apart.
    bool uniqueKey = false;
    QList<Label> labels = {}; // free form
};

enum class RowStatus { NotModified, DataModified, New, NewModified };
} // namespace dw
