#include "dataview/sql.h"

#include "dataview/registers.h"
#include "dataview/rows.h"
#include "platform/gbk.h"
#include "platform/services.h"
#include "platform/transaction.h"
#include "platform/units.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPalette>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>

#include <sqlite3.h>

#include <cmath>

namespace dw {
namespace {
// Reads "style(type=grid)column(color=9112585)": the presentation and the column text colour. A plain scan: the
// search describes its grid at every click, and compiling patterns for it cost more than its statement.
bool parseStyle(const QString &style, qint64 &columnColor, QString &error)
{
    QString type = QStringLiteral("grid");
    for (qsizetype open = style.indexOf(u'('), from = 0; open > 0; open = style.indexOf(u'(', from)) {
        const qsizetype close = style.indexOf(u')', open);
        if (close < 0)
            break;
        const QString group = style.mid(from, open - from).trimmed().toLower();
        QString settings = style.mid(open + 1, close - open - 1).simplified();
        settings.replace(QStringLiteral(" ="), QStringLiteral("=")).replace(QStringLiteral("= "), QStringLiteral("="));
        for (const QString &item : settings.split(u' ', Qt::SkipEmptyParts)) {
            const QString key = item.section(u'=', 0, 0).trimmed().toLower();
            const QString value = item.section(u'=', 1).trimmed();
            if (group == u"style" && key == u"type")
                type = value.toLower();
            else if (group == u"column" && key == u"color")
                columnColor = value.toLongLong();
        }
        from = close + 1;
    }
    if (type != u"grid") {
        error = QStringLiteral("Presentation style '%1' is not supported; only grid is.").arg(type);
        return false;
    }
    return true;
}

// A result column as the statement describes it; `table` is empty where the column is no table's.
struct ResultColumn {
    QString name;
    QString table;
    Type type = Type::Text;
};

// The type Qt's SQLite driver gives a declared column type.
Type typeOfDeclared(const QString &declared)
{
    const QString t = declared.toLower();
    if (t == u"integer" || t == u"int")
        return Type::Long;
    if (t == u"double" || t == u"float" || t == u"real" || t.startsWith(u"numeric"))
        return Type::Number;
    return Type::Text;
}

Type typeOf(const QSqlField &field)
{
    switch (field.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
        return Type::Long;
    case QMetaType::Double:
        return Type::Number;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return Type::Date;
    default:
        return Type::Text;
    }
}

// A width in window units that shows the heading and a typical value of the column; the widest identifier whole
// in the grid's type (digits of a Latin face are wider than half a Chinese character).
int cellWidth(const QString &header, const Column &column, const ui::Font &font)
{
    constexpr int unitsPerByte = 36; // one half-width character of a 12-point face
    const int bytes = column.limit;
    if (column.identifier && bytes > 0) {
        const QFontMetricsF digits(services::font(font.face, font.points, font.weight));
        const int whole = units::toUnitsX(int(std::ceil(digits.horizontalAdvance(QString(bytes, u'0')))) + 4);
        return qMax(whole, (gbk::byteLength(header) + 2) * unitsPerByte);
    }
    int content = 10;
    switch (column.type) {
    case Type::Long:
        content = 8;
        break;
    case Type::Number:
    case Type::Date:
        content = 12;
        break;
    case Type::Text:
        content = bytes > 0 ? qMin(bytes, 20) : 16;
        break;
    }
    return (qMax(content, gbk::byteLength(header)) + 2) * unitsPerByte;
}
// Learns the result columns of a statement. SQLite describes a compiled statement without running it (a
// search over a large register would otherwise be executed twice); another driver runs it once, its values
// bound by position. False with the transaction's error set when the statement cannot be compiled.
bool describe(db::Transaction &transaction, const QString &select, const QVariantList &values,
              QList<ResultColumn> &columns)
{
    if (sqlite3 *handle = transaction.sqliteHandle()) {
        sqlite3_stmt *stmt = nullptr;
        const QByteArray sql = select.toUtf8();
        if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK) {
            transaction.setError(sqlite3_errcode(handle), QString::fromUtf8(sqlite3_errmsg(handle)));
            sqlite3_finalize(stmt);
            return false;
        }
        // A column without a declared type (an expression) is text: its values are not known before a run.
        for (int i = 0; stmt && i < sqlite3_column_count(stmt); ++i)
            columns.append({QString::fromUtf8(sqlite3_column_name(stmt, i)),
                            QString::fromUtf8(sqlite3_column_table_name(stmt, i)),
                            typeOfDeclared(QString::fromUtf8(sqlite3_column_decltype(stmt, i)))});
        sqlite3_finalize(stmt);
        transaction.setOk();
        return true;
    }

    QSqlQuery query(transaction.database());
    query.setForwardOnly(true);
    const bool prepared = transaction.prepare(query, select, values);
    if (!prepared || !query.exec()) {
        if (prepared)
            transaction.setFromQuery(query);
        return false;
    }
    const QSqlRecord record = query.record();
    query.finish();
    transaction.setOk();
    for (int i = 0; i < record.count(); ++i)
        columns.append({record.field(i).name(), record.field(i).tableName(), typeOf(record.field(i))});
    return true;
}

// A text given for a number or date argument in the form the registers store it. False with `error` set when
// the text is no such value.
bool storedForm(Type type, const QString &given, QVariant &stored, QString &error)
{
    QVariant value;
    if (given.trimmed().isEmpty()) {
        stored = given;
        return true;
    }
    if (!parseValue(type, given, value)) {
        switch (type) {
        case Type::Date:
            error = QStringLiteral("不能把“%1”转换为日期。日期可写作 2024.06.15、2024-6-15、2024/6/15 或 20240615。")
                        .arg(given);
            break;
        case Type::Long:
            error = QStringLiteral("不能把“%1”转换为整数。").arg(given);
            break;
        default:
            error = QStringLiteral("不能把“%1”转换为数字。数字可写作 1000、1,000 或 1000.50。").arg(given);
            break;
        }
        return false;
    }
    switch (type) {
    case Type::Date:
        stored = value.toDate().toString(Qt::ISODate);
        break;
    case Type::Number:
        stored = QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
        break;
    default:
        stored = value.toString();
        break;
    }
    return true;
}
} // namespace

GridSyntax syntaxFromSql(db::Transaction &transaction, const QString &select, const QList<Argument> &arguments,
                         const QVariantList &values, const QString &style, QString &error)
{
    error.clear();
    GridSyntax syntax;
    if (!parseStyle(style, syntax.columnColor, error))
        return {};

    // Values typed for numbers and dates are bound as the texts they stand for; the column's type does the rest.
    // A malformed statement is reported before a value that is no number or date.
    QList<Argument> bound = arguments;
    QVariantList boundValues = values;
    QString valueError;
    for (qsizetype i = 0; i < bound.size() && i < boundValues.size() && valueError.isEmpty(); ++i) {
        if (bound.at(i).type == Type::Text || boundValues.at(i).typeId() != QMetaType::QString)
            continue;
        if (storedForm(bound.at(i).type, boundValues.at(i).toString(), boundValues[i], valueError))
            bound[i].type = Type::Text;
    }

    QList<ResultColumn> columns;
    if (!describe(transaction, select, boundValues, columns)) {
        error = transaction.SQLErrText.isEmpty() ? QStringLiteral("The statement cannot be described.")
                                                 : transaction.SQLErrText;
        return {};
    }
    if (!valueError.isEmpty()) {
        error = valueError;
        return {};
    }
    if (columns.isEmpty()) {
        error = QStringLiteral("The statement selects no columns.");
        return {};
    }

    // The table a column without one (an expression) is counted to: the statement's first.
    const auto firstTable = [&select] {
        static const QRegularExpression fromRe(QStringLiteral("\\bfrom\\s+(\\w+)"),
                                               QRegularExpression::CaseInsensitiveOption);
        return fromRe.match(select).captured(1);
    };
    Definition &d = syntax.definition;
    d.name = QStringLiteral("grid");
    d.sql = select;
    d.arguments = bound;
    syntax.values = boundValues;
    d.font = {QStringLiteral("Arial"), 12, 400};
    for (const ResultColumn &column : std::as_const(columns)) {
        const Type type = column.type;
        const QString owner = column.table.isEmpty() ? firstTable() : column.table;
        // A register's column is what the register says it is (a date, an identifier); any other as described.
        Column described{column.name, type, type == Type::Text ? db::columnWidth(owner, column.name) : 0};
        if (isRegisterColumn(owner, column.name)) {
            described = registerColumn(owner, column.name);
            described.key = false; // the grid is read only
        }
        d.columns.append(described);
        const Qt::Alignment align = type == Type::Long || type == Type::Number ? Qt::AlignRight | Qt::AlignVCenter
                                                                               : Qt::AlignLeft | Qt::AlignVCenter;
        d.cells.append({.name = column.name, .header = column.name, .width = cellWidth(column.name, described, d.font),
                        .alignment = align});
    }
    return syntax;
}

bool createGrid(DataView &view, const GridSyntax &syntax, QString &error)
{
    error.clear();
    const Definition &d = syntax.definition;
    if (d.columns.isEmpty() || d.cells.isEmpty() || d.sql.isEmpty()) {
        error = QStringLiteral("The grid description is empty.");
        return false;
    }
    view.setDefinition(d);
    QPalette pal = view.grid()->palette();
    pal.setColor(QPalette::Text, syntax.columnColor == ui::kNoColor ? QPalette().color(QPalette::Text)
                                                                    : services::color(syntax.columnColor));
    view.grid()->setPalette(pal);
    return true;
}
} // namespace dw
