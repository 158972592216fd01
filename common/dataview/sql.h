#pragma once
#include "dataview/dataview.h"
#include "platform/export.h"

#include <QString>
#include <QVariantList>

namespace db {
class Transaction;
}

// Grids built at run time from a SELECT: the connection describes the statement's result columns, and a grid
// is created from that description.
namespace dw {

// A grid description: the definition of a grid over every result column, and its column text colour.
struct GridSyntax {
    Definition definition;
    qint64 columnColor = ui::kNoColor;
    QVariantList values; // the retrieval values, as the description bound them
};

// Describes a SELECT (retrieval arguments as :name, bound, never pasted) in a style such as
// "style(type=grid)column(color=9112585)". A text given for a number or date argument is read as the operator
// types it (see parseValue) and bound in the form the registers store (a number's shortest decimal, a date as
// yyyy-mm-dd), so the database compares it as the column's type; an empty text stays empty, as an empty box
// is stored. Retrieve with the description's `values`. On failure `error` holds the database's (or the
// style's) error text, or says which value is no number or date, and the description is empty.
COMMON_EXPORT GridSyntax syntaxFromSql(db::Transaction &transaction, const QString &select,
                                       const QList<Argument> &arguments, const QVariantList &values,
                                       const QString &style, QString &error);

// Replaces the view's grid with the described one (its rows dropped). False with `error` set when the
// description cannot make a grid; the view then keeps what it showed.
COMMON_EXPORT bool createGrid(DataView &view, const GridSyntax &syntax, QString &error);
} // namespace dw
