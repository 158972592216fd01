#include "platform/dataview.h"

#include "platform/gbk.h"
#include "platform/messagebox.h"
#include "platform/services.h"
#include "platform/transaction.h"
#include "platform/units.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringEncoder>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace dw {

Expression rowNumber()
{
    return [](const Buffer &, int row) { return QVariant(qint64(row)); };
}

// --- Buffer ---

Buffer::Buffer(Definition definition) { setDefinition(std::move(definition)); }

void Buffer::setDefinition(Definition definition)
{
    m_def = std::move(definition);
    m_rows.clear();
    compile();
}

void Buffer::compile()
{
    // Turn each :name outside quoted literals into ? and remember which argument it binds, so an argument
    // may appear more than once.
    m_boundSql.clear();
    m_argOrder.clear();
    const QString &sql = m_def.sql;
    bool quoted = false;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u':' && i + 1 < sql.size() && (sql.at(i + 1).isLetter() || sql.at(i + 1) == u'_')) {
            qsizetype end = i + 1;
            while (end < sql.size() && (sql.at(end).isLetterOrNumber() || sql.at(end) == u'_'))
                ++end;
            const QString name = sql.mid(i + 1, end - i - 1);
            int index = -1;
            for (int a = 0; a < m_def.arguments.size(); ++a)
                if (m_def.arguments.at(a).name.compare(name, Qt::CaseInsensitive) == 0)
                    index = a;
            if (index >= 0) {
                m_boundSql += u'?';
                m_argOrder << index;
                i = end - 1;
                continue;
            }
        }
        m_boundSql += c;
    }

    m_cellColumn.clear();
    for (const Cell &cell : std::as_const(m_def.cells))
        m_cellColumn << (cell.compute ? 0 : columnIndex(cell.name));
}

int Buffer::columnIndex(const QString &name) const
{
    for (int i = 0; i < m_def.columns.size(); ++i)
        if (m_def.columns.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i + 1;
    return 0;
}

QVariant Buffer::item(int row, int column) const
{
    if (row < 1 || row > m_rows.size() || column < 1 || column > m_def.columns.size())
        return {};
    return m_rows.at(row - 1).values.at(column - 1);
}

QVariant Buffer::item(int row, const QString &name) const
{
    if (const int column = columnIndex(name))
        return item(row, column);
    if (row < 1 || row > m_rows.size())
        return {};
    for (const Cell &cell : m_def.cells)
        if (cell.compute && cell.name.compare(name, Qt::CaseInsensitive) == 0)
            return cell.compute(*this, row);
    return {};
}

QString Buffer::itemString(int row, const QString &name) const { return displayText(item(row, name)); }

QString Buffer::cellText(int row, int cell) const
{
    if (cell < 0 || cell >= m_def.cells.size() || row < 1 || row > m_rows.size())
        return {};
    const Cell &c = m_def.cells.at(cell);
    return displayText(c.compute ? c.compute(*this, row) : item(row, m_cellColumn.at(cell)));
}

RowStatus Buffer::rowStatus(int row) const
{
    if (row < 1 || row > m_rows.size())
        return RowStatus::NotModified;
    return m_rows.at(row - 1).status;
}

QVariantList Buffer::keyOf(int row) const
{
    QVariantList key;
    if (row < 1 || row > m_rows.size())
        return key;
    for (int c = 0; c < m_def.columns.size(); ++c)
        if (m_def.columns.at(c).key)
            key << m_rows.at(row - 1).values.at(c);
    return key;
}

int Buffer::findRow(const QVariantList &key) const
{
    if (key.isEmpty())
        return 0;
    for (int r = 1; r <= m_rows.size(); ++r)
        if (keyOf(r) == key)
            return r;
    return 0;
}

QString Buffer::displayText(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

void Buffer::reset() { m_rows.clear(); }

namespace {
QVariant typed(const QVariant &raw, Type type)
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
} // namespace

int Buffer::retrieve(db::Transaction &transaction, const QVariantList &arguments)
{
    m_rows.clear();
    QVariantList bound;
    for (int index : std::as_const(m_argOrder))
        bound << typed(arguments.value(index), m_def.arguments.at(index).type);

    QSqlQuery query(transaction.database());
    query.setForwardOnly(true);
    if (!transaction.prepare(query, m_boundSql, bound))
        return -1;
    if (!query.exec()) {
        transaction.setFromQuery(query);
        return -1;
    }
    const int columns = int(m_def.columns.size());
    const int present = qMin(columns, query.record().count());
    while (query.next()) {
        Row row;
        row.values.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row.values << (c < present ? typed(query.value(c), m_def.columns.at(c).type) : QVariant());
        m_rows << std::move(row);
    }
    if (query.lastError().isValid()) {
        transaction.setFromQuery(query);
        m_rows.clear();
        return -1;
    }
    sortRows();
    transaction.setOk(int(m_rows.size()));
    transaction.SQLCode = m_rows.isEmpty() ? 100 : 0;
    return int(m_rows.size());
}

void Buffer::sortRows()
{
    QList<int> columns;
    for (const QString &name : std::as_const(m_def.sort))
        if (const int c = columnIndex(name))
            columns << c - 1;
    if (columns.isEmpty() || m_rows.size() < 2)
        return;
    // Texts order by their GBK bytes, which puts the common characters in pinyin order.
    QStringEncoder gbk("GBK");
    struct Keyed {
        QList<QVariant> keys;
        Row row;
    };
    QList<Keyed> keyed;
    keyed.reserve(m_rows.size());
    for (Row &row : m_rows) {
        Keyed k;
        for (int c : std::as_const(columns)) {
            const QVariant &v = row.values.at(c);
            k.keys << (v.typeId() == QMetaType::QString ? QVariant(QByteArray(gbk.encode(v.toString()))) : v);
        }
        k.row = std::move(row);
        keyed << std::move(k);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        for (qsizetype i = 0; i < a.keys.size(); ++i) {
            const QVariant &x = a.keys.at(i);
            const QVariant &y = b.keys.at(i);
            if (x.isNull() != y.isNull())
                return x.isNull(); // no value sorts first
            const auto order = QVariant::compare(x, y);
            if (order == QPartialOrdering::Less)
                return true;
            if (order == QPartialOrdering::Greater)
                return false;
        }
        return false;
    });
    m_rows.clear();
    for (Keyed &k : keyed)
        m_rows << std::move(k.row);
}

int Buffer::modifiedCount() const
{
    int n = 0;
    for (const Row &row : m_rows)
        n += row.status == RowStatus::DataModified || row.status == RowStatus::NewModified;
    return n;
}

int Buffer::insertRow(int before)
{
    if (before < 0 || before > m_rows.size() + 1)
        return -1;
    Row row;
    for (int c = 0; c < m_def.columns.size(); ++c)
        row.values << QVariant();
    row.status = RowStatus::New;
    const int at = before == 0 ? int(m_rows.size()) : before - 1;
    m_rows.insert(at, std::move(row));
    return at + 1;
}

int Buffer::deleteRow(int row)
{
    if (row < 1 || row > m_rows.size())
        return -1;
    Row taken = m_rows.takeAt(row - 1);
    if (taken.status != RowStatus::New && taken.status != RowStatus::NewModified)
        m_deleted << std::move(taken);
    return 1;
}

int Buffer::limitOf(int column) const
{
    if (column < 1 || column > m_def.columns.size())
        return 0;
    const Column &c = m_def.columns.at(column - 1);
    if (c.type != Type::Text)
        return 0;
    if (c.limit > 0)
        return c.limit;
    return m_def.updateTable.isEmpty() ? 0 : db::columnWidth(m_def.updateTable, c.name);
}

int Buffer::setItem(int row, int column, const QVariant &value)
{
    if (row < 1 || row > m_rows.size() || column < 1 || column > m_def.columns.size() || column > 64)
        return -1;
    QVariant v = typed(value, m_def.columns.at(column - 1).type);
    // A text given for a column of another type must read as such a value.
    if (value.typeId() == QMetaType::QString && m_def.columns.at(column - 1).type != Type::Text
        && !parse(column, value.toString(), v))
        return -1;
    const bool blankText = value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty();
    if (!value.isNull() && v.isNull() && !blankText)
        return -1; // no value of the column's type
    if (const int limit = limitOf(column); limit > 0 && gbk::byteLength(v.toString()) > limit)
        return -1;
    Row &r = m_rows[row - 1];
    if (r.values.at(column - 1) == v && r.values.at(column - 1).isNull() == v.isNull())
        return 1;
    if (r.original.isEmpty())
        r.original = r.values;
    r.values[column - 1] = v;
    r.changed |= quint64(1) << (column - 1);
    if (r.status == RowStatus::NotModified)
        r.status = RowStatus::DataModified;
    else if (r.status == RowStatus::New)
        r.status = RowStatus::NewModified;
    return 1;
}

int Buffer::setItem(int row, const QString &name, const QVariant &value)
{
    const int column = columnIndex(name);
    return column ? setItem(row, column, value) : -1;
}

bool Buffer::parse(int column, const QString &text, QVariant &value) const
{
    if (column < 1 || column > m_def.columns.size())
        return false;
    const QString t = text.trimmed();
    switch (m_def.columns.at(column - 1).type) {
    case Type::Text:
        value = text;
        return true;
    case Type::Long: {
        if (t.isEmpty()) {
            value = QVariant();
            return true;
        }
        bool ok = false;
        const qint64 n = t.toLongLong(&ok);
        value = n;
        return ok;
    }
    case Type::Number: {
        if (t.isEmpty()) {
            value = QVariant();
            return true;
        }
        bool ok = false;
        const double n = QString(t).remove(u',').toDouble(&ok);
        value = n;
        return ok && std::isfinite(n);
    }
    case Type::Date: {
        if (t.isEmpty()) {
            value = QVariant();
            return true;
        }
        for (const char *f : {"yyyy-MM-dd", "yyyy.MM.dd", "yyyy/MM/dd", "yyyyMMdd", "yyyy-M-d", "yyyy.M.d"}) {
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

QString Buffer::keyCondition(const Row &row, QVariantList &args) const
{
    QStringList parts;
    const QVariantList &read = row.asRead();
    for (int c = 0; c < m_def.columns.size(); ++c) {
        if (!m_def.columns.at(c).key)
            continue;
        // A key read as NULL is found as NULL: "= NULL" would find nothing.
        if (read.at(c).isNull()) {
            parts << m_def.columns.at(c).name + QStringLiteral(" IS NULL");
        } else {
            parts << m_def.columns.at(c).name + QStringLiteral(" = ?");
            args << read.at(c);
        }
    }
    return parts.join(QStringLiteral(" AND "));
}

int Buffer::update(db::Transaction &transaction)
{
    struct Statement {
        QString sql;
        QVariantList args;
        bool mustFindRow;
    };
    QList<Statement> statements;
    const QString &table = m_def.updateTable;
    bool hasKey = false;
    for (const Column &c : std::as_const(m_def.columns))
        hasKey = hasKey || c.key;
    if (table.isEmpty() || !hasKey) {
        transaction.setError(-1, QStringLiteral("数据窗口 %1 没有可更新的数据表或主键。").arg(m_def.name));
        return -1;
    }
    for (const Row &row : std::as_const(m_deleted)) {
        Statement st{QStringLiteral("DELETE FROM ") + table, {}, true};
        st.sql += QStringLiteral(" WHERE ") + keyCondition(row, st.args);
        statements << st;
    }
    for (const Row &row : std::as_const(m_rows)) {
        if (row.status == RowStatus::DataModified) {
            Statement st{{}, {}, true};
            QStringList sets;
            for (int c = 0; c < m_def.columns.size(); ++c) {
                if (m_def.columns.at(c).updatable && (row.changed & (quint64(1) << c))) {
                    sets << m_def.columns.at(c).name + QStringLiteral(" = ?");
                    st.args << row.values.at(c);
                }
            }
            if (sets.isEmpty())
                continue;
            st.sql = QStringLiteral("UPDATE %1 SET %2 WHERE ").arg(table, sets.join(QStringLiteral(", ")));
            st.sql += keyCondition(row, st.args);
            statements << st;
        } else if (row.status == RowStatus::NewModified) {
            Statement st{{}, {}, false};
            QStringList columns, marks;
            for (int c = 0; c < m_def.columns.size(); ++c) {
                if (!m_def.columns.at(c).updatable)
                    continue; // keys the database assigns are not sent
                columns << m_def.columns.at(c).name;
                marks << QStringLiteral("?");
                st.args << row.values.at(c);
            }
            if (columns.isEmpty())
                continue;
            st.sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                         .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
            statements << st;
        }
    }

    for (const Statement &st : std::as_const(statements)) {
        transaction.execute(st.sql, st.args);
        if (transaction.SQLCode == 0 && st.mustFindRow && transaction.SQLNRows == 0)
            transaction.setError(-3, QStringLiteral("要保存的行已被修改或删除，请重新读取后再改。"));
        if (transaction.SQLCode != 0) {
            // Nothing of this update may stay: undo what went before the refused statement.
            const int code = transaction.SQLDBCode;
            const QString text = transaction.SQLErrText;
            if (transaction.isConnected())
                transaction.rollback();
            transaction.setError(code, text);
            return -1;
        }
    }
    resetUpdate();
    transaction.setOk(int(statements.size()));
    return 1;
}

void Buffer::resetUpdate()
{
    m_deleted.clear();
    for (Row &row : m_rows) {
        row.original.clear();
        row.changed = 0;
        row.status = RowStatus::NotModified;
    }
}

QString Buffer::formatted(const QVariant &value, const QString &format)
{
    if (format.isEmpty())
        return Buffer::displayText(value);
    if (format.startsWith(u'\'')) {
        // A literal format shows its text whatever the value, an empty one included (a masked password).
        const qsizetype end = format.indexOf(u'\'', 1);
        return format.mid(1, end < 0 ? -1 : end - 1);
    }
    if (value.isNull())
        return {};
    if (format.contains(u'#') || format.contains(u'0')) {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (!ok)
            return Buffer::displayText(value);
        const qsizetype point = format.indexOf(u'.');
        const int decimals = point < 0 ? 0 : int(format.size() - point - 1);
        QString digits = QString::number(std::abs(v), 'f', decimals);
        if (format.contains(u',')) {
            const qsizetype dot = digits.indexOf(u'.');
            for (qsizetype i = (dot < 0 ? digits.size() : dot) - 3; i > 0; i -= 3)
                digits.insert(i, u',');
        }
        const bool negative = v < 0 && digits.contains(QRegularExpression(QStringLiteral("[1-9]")));
        return negative ? u'-' + digits : digits;
    }
    const QDate d = value.toDate();
    if (!d.isValid())
        return Buffer::displayText(value);
    QString f = format;
    f.replace(QStringLiteral("mm"), QStringLiteral("MM"));
    return d.toString(f);
}

// --- Grid presentation ---

class GridModel : public QAbstractTableModel {
public:
    GridModel(const Buffer &buffer, DataView *view) : QAbstractTableModel(view), m_buffer(buffer), m_view(view) {}
    using QAbstractTableModel::beginInsertRows;
    using QAbstractTableModel::beginRemoveRows;
    using QAbstractTableModel::endInsertRows;
    using QAbstractTableModel::endRemoveRows;

    void beginReset() { beginResetModel(); }
    void endReset()
    {
        auto brush = [](qint64 value) { return value == ui::kNoColor ? QVariant() : QVariant(services::color(value)); };
        m_colors.clear();
        for (const Cell &cell : m_buffer.definition().cells)
            m_colors.append({brush(cell.currentRowBackground), brush(cell.otherRowBackground)});
        endResetModel();
    }
    void setCurrent(int row) { m_current = row; }
    void rowChanged(int row)
    {
        if (row >= 1 && row <= rowCount())
            emit dataChanged(index(row - 1, 0), index(row - 1, columnCount() - 1), {Qt::BackgroundRole});
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_buffer.rowCount(); }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_buffer.definition().cells.size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        const int row = index.row() + 1;
        switch (role) {
        case Qt::DisplayRole: {
            const Cell &cell = m_buffer.definition().cells.at(index.column());
            return cell.format.isEmpty() ? m_buffer.cellText(row, index.column())
                                         : Buffer::formatted(m_buffer.item(row, cell.name), cell.format);
        }
        case Qt::EditRole:
            return editText(row, index.column());
        case Qt::TextAlignmentRole:
            return int(m_buffer.definition().cells.at(index.column()).alignment);
        case Qt::BackgroundRole: {
            const auto &c = m_colors.at(index.column());
            return row == m_current ? c.first : c.second;
        }
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
            return {};
        if (role == Qt::DisplayRole)
            return m_buffer.definition().cells.at(section).header;
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        const Cell &cell = m_buffer.definition().cells.at(index.column());
        const bool editable = cell.tabOrder > 0 && !cell.compute && m_buffer.columnIndex(cell.name) > 0;
        return editable ? Qt::ItemIsEnabled | Qt::ItemIsEditable : Qt::ItemIsEnabled;
    }
    bool setData(const QModelIndex &index, const QVariant &value, int role) override
    {
        if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
            return false;
        const Cell &cell = m_buffer.definition().cells.at(index.column());
        QVariant typedValue;
        // A text that is no value of the column's type leaves the item as it was.
        if (!m_buffer.parse(m_buffer.columnIndex(cell.name), value.toString(), typedValue))
            return false;
        if (editText(index.row() + 1, index.column()) == value.toString())
            return true; // leaving a cell unchanged edits nothing
        return m_view->setItem(index.row() + 1, cell.name, typedValue) == 1;
    }
    // The text an editor starts from: dates as ISO, numbers plain.
    QString editText(int row, int cellIndex) const
    {
        const Cell &cell = m_buffer.definition().cells.at(cellIndex);
        const QVariant v = m_buffer.item(row, cell.name);
        if (v.isNull())
            return {};
        if (v.typeId() == QMetaType::Double) {
            const qsizetype point = cell.format.indexOf(u'.');
            return point < 0 ? Buffer::displayText(v)
                             : QString::number(v.toDouble(), 'f', int(cell.format.size() - point - 1));
        }
        return Buffer::displayText(v);
    }
    void cellsChanged(int row)
    {
        if (row >= 1 && row <= rowCount())
            emit dataChanged(index(row - 1, 0), index(row - 1, columnCount() - 1));
    }
    void allChanged()
    {
        if (rowCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }

private:
    const Buffer &m_buffer;
    DataView *m_view;
    QList<QPair<QVariant, QVariant>> m_colors;
    int m_current = 0;
};

// The current row shows through its background colours only: no selection and no focus frame on a cell.
// Editable cells get a line editor that takes no more than the column holds; Tab and Enter in it are the
// view's to handle (next cell in tab order, the Enter event).
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(DataView *view, QObject *parent) : QStyledItemDelegate(parent), m_view(view) {}
    QPointer<QWidget> editor;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        const Buffer &buffer = m_view->buffer();
        const Cell &cell = buffer.definition().cells.at(index.column());
        auto *e = new QLineEdit(parent);
        e->setFrame(false);
        e->setAlignment(cell.alignment);
        limitInput(e, buffer, buffer.columnIndex(cell.name));
        if (cell.format.startsWith(u'\''))
            e->setEchoMode(QLineEdit::Password); // a masked cell stays masked while typed into
        const_cast<CellDelegate *>(this)->editor = e;
        return e;
    }
    void setModelData(QWidget *e, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *line = qobject_cast<QLineEdit *>(e))
            model->setData(index, line->text(), Qt::EditRole);
    }
    void destroyEditor(QWidget *e, const QModelIndex &index) const override
    {
        // A closed editor has nothing left to commit.
        if (e == editor)
            const_cast<CellDelegate *>(this)->editor = nullptr;
        QStyledItemDelegate::destroyEditor(e, index);
    }
    static void limitInput(QLineEdit *e, const Buffer &buffer, int column);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
    }
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::KeyPress) {
            auto *ke = static_cast<QKeyEvent *>(e);
            switch (ke->key()) {
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (auto *w = qobject_cast<QWidget *>(watched))
                    emit commitData(w);
                if (m_view->handleKey(ke))
                    return true;
                break;
            default:
                break;
            }
        }
        return QStyledItemDelegate::eventFilter(watched, e);
    }

private:
    DataView *m_view;
};

namespace {
// Text typed into a cell: at most the column's width in GBK bytes, whatever the input method commits.
class GbkLimit : public QValidator {
public:
    GbkLimit(int bytes, QObject *parent) : QValidator(parent), m_bytes(bytes) {}
    State validate(QString &input, int &) const override
    {
        return gbk::byteLength(input) <= m_bytes ? Acceptable : Invalid;
    }

private:
    int m_bytes;
};

class GridView : public QTableView {
public:
    std::function<void(int)> onDoubleClick;
    std::function<bool(QKeyEvent *)> onKey;
    using QTableView::QTableView;

protected:
    bool event(QEvent *e) override
    {
        // Tab reaches the view before its key handling: the view's own handler decides first.
        if (e->type() == QEvent::KeyPress && onKey && onKey(static_cast<QKeyEvent *>(e)))
            return true;
        return QTableView::event(e);
    }
    void mouseDoubleClickEvent(QMouseEvent *e) override
    {
        QTableView::mouseDoubleClickEvent(e);
        if (e->button() != Qt::LeftButton || !onDoubleClick)
            return;
        const QModelIndex index = indexAt(e->position().toPoint());
        onDoubleClick(index.isValid() ? index.row() + 1 : 0);
    }
};
} // namespace

void CellDelegate::limitInput(QLineEdit *e, const Buffer &buffer, int column)
{
    if (column < 1)
        return;
    switch (buffer.definition().columns.at(column - 1).type) {
    case Type::Text:
        if (const int limit = buffer.limitOf(column); limit > 0)
            e->setValidator(new GbkLimit(limit, e));
        break;
    case Type::Long:
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d{0,18}")), e));
        break;
    case Type::Number:
        e->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[\\d,]{0,15}(\\.\\d{0,4})?")), e));
        break;
    case Type::Date:
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[\\d.\\-/]{0,10}")), e));
        break;
    }
}

DataView::DataView(QWidget *parent) : QWidget(parent)
{
    auto *grid = new GridView(this);
    m_grid = grid;
    m_model = new GridModel(m_buffer, this);
    grid->setModel(m_model);
    m_delegate = new CellDelegate(this, grid);
    grid->setItemDelegate(m_delegate);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    // The current cell, when it takes input, is always being edited, as the operator expects of a book.
    grid->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::DoubleClicked
                          | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    // Tab is the view's own (handleKey): through the cells of an editable grid, else to the next control.
    grid->setTabKeyNavigation(false);
    grid->onKey = [this](QKeyEvent *e) { return handleKey(e); };
    grid->setWordWrap(false);
    grid->setTextElideMode(Qt::ElideNone);
    grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setStretchLastSection(false);
    grid->setCornerButtonEnabled(false);
    setFocusProxy(grid);
    setFocusPolicy(Qt::StrongFocus);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid);

    grid->onDoubleClick = [this](int row) { emit doubleClicked(row); };
    connect(grid->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, [this] { emit doubleClicked(0); });
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (!m_syncing && current.isValid())
                    setCurrent(current.row() + 1, false);
            });
}

DataView::~DataView()
{
    // An open editor commits into the buffer as it goes: let it go while the buffer is still there.
    delete m_form;
    delete m_grid;
}

void DataView::setDefinition(const Definition &definition)
{
    m_model->beginReset();
    m_buffer.setDefinition(definition);
    m_current = 0;
    m_model->setCurrent(0);
    m_model->endReset();
    applyPresentation();
    buildForm();
}

void DataView::applyPresentation()
{
    const Definition &def = m_buffer.definition();
    const QFont font = services::font(def.font.face, def.font.points, def.font.weight);
    m_grid->setFont(font);
    m_grid->horizontalHeader()->setFont(font);
    const int rowPx = qMax(units::toPixelsY(def.rowHeight), QFontMetrics(font).height() + 2);
    m_grid->verticalHeader()->setMinimumSectionSize(1);
    m_grid->verticalHeader()->setDefaultSectionSize(rowPx);
    const int headerPx = qMax(units::toPixelsY(def.headerHeight), QFontMetrics(font).height() + 4);
    m_grid->horizontalHeader()->setFixedHeight(headerPx);
    for (int c = 0; c < def.cells.size(); ++c)
        m_grid->horizontalHeader()->resizeSection(c, units::toPixelsX(def.cells.at(c).width));
}

int DataView::retrieve(const QVariantList &arguments, Keep keep)
{
    const QVariantList key = keep == Keep::SameRecord ? m_buffer.keyOf(m_current) : QVariantList();
    const int scrolled = m_grid->verticalScrollBar()->value();

    m_syncing = true;
    m_model->beginReset();
    const int result = m_transaction ? m_buffer.retrieve(*m_transaction, arguments) : (m_buffer.reset(), -1);
    int row = m_buffer.rowCount() > 0 ? 1 : 0;
    if (const int found = m_buffer.findRow(key))
        row = found;
    m_model->setCurrent(row);
    m_model->endReset();
    m_syncing = false;

    if (row > 0 && row != 1) {
        m_grid->verticalScrollBar()->setValue(scrolled);
        setCurrent(row, true);
    } else {
        m_grid->scrollToTop();
        setCurrent(row, row > 0);
    }
    fillForm();
    if (result < 0 && m_transaction)
        dbError();
    return result;
}

void DataView::setCurrentRow(int row)
{
    if (row < 1 || row > m_buffer.rowCount())
        return;
    setCurrent(row, true);
}

void DataView::scrollToRow(int row)
{
    if (m_buffer.rowCount() == 0)
        return;
    row = qBound(1, row, m_buffer.rowCount());
    m_grid->scrollTo(m_model->index(row - 1, 0), QAbstractItemView::EnsureVisible);
}

void DataView::setCurrent(int row, bool moveView)
{
    const int previous = m_current;
    m_current = row;
    m_model->setCurrent(row);
    if (moveView && row > 0) {
        m_syncing = true;
        // The cell keeps its column when that takes input, else the row's first cell in tab order gets it.
        const QList<int> cells = tabCells();
        int column = m_grid->currentIndex().isValid() ? m_grid->currentIndex().column() : 0;
        if (!cells.isEmpty() && !cells.contains(column))
            column = cells.first();
        m_grid->selectionModel()->setCurrentIndex(m_model->index(row - 1, column), QItemSelectionModel::NoUpdate);
        m_syncing = false;
        scrollToRow(row);
    }
    if (previous != row) {
        m_model->rowChanged(previous);
        m_model->rowChanged(row);
        fillForm();
        emit rowFocusChanged(row);
    }
}
} // namespace dw

namespace dw {

QList<int> DataView::tabCells() const
{
    const Definition &def = m_buffer.definition();
    QList<int> cells;
    for (int c = 0; c < def.cells.size(); ++c)
        if (def.cells.at(c).tabOrder > 0 && !def.cells.at(c).compute && m_buffer.columnIndex(def.cells.at(c).name))
            cells << c;
    std::stable_sort(cells.begin(), cells.end(),
                     [&def](int a, int b) { return def.cells.at(a).tabOrder < def.cells.at(b).tabOrder; });
    return cells;
}

int DataView::insertRow(int before)
{
    acceptText();
    const int at = before == 0 ? m_buffer.rowCount() + 1 : before;
    if (at < 1 || at > m_buffer.rowCount() + 1)
        return -1;
    m_syncing = true;
    m_model->beginInsertRows({}, at - 1, at - 1);
    const int row = m_buffer.insertRow(before);
    m_model->endInsertRows();
    m_syncing = false;
    m_model->allChanged(); // row numbers below it moved
    if (m_current >= row)
        setCurrent(m_current + 1, false);
    if (m_current == 0)
        setCurrent(row, true);
    return row;
}

int DataView::deleteRow(int row)
{
    acceptText();
    if (row < 1 || row > m_buffer.rowCount())
        return -1;
    m_syncing = true;
    m_model->beginRemoveRows({}, row - 1, row - 1);
    m_buffer.deleteRow(row);
    m_model->endRemoveRows();
    m_syncing = false;
    m_model->allChanged();
    // The row that moved up into the place becomes current, or the new last row.
    int current = m_current > row ? m_current - 1 : m_current;
    current = qMin(current, m_buffer.rowCount());
    m_current = -1;
    setCurrent(current, current > 0);
    return 1;
}

int DataView::setItem(int row, const QString &column, const QVariant &value)
{
    const int result = m_buffer.setItem(row, column, value);
    if (result == 1) {
        m_model->cellsChanged(row);
        if (row == m_current)
            fillForm();
    }
    return result;
}

void DataView::acceptText()
{
    if (m_delegate->editor)
        emit m_delegate->commitData(m_delegate->editor);
}

int DataView::update()
{
    acceptText();
    if (!m_transaction)
        return -1;
    const int result = m_buffer.update(*m_transaction);
    if (result < 0)
        dbError();
    m_model->allChanged();
    return result;
}

void DataView::resetUpdate() { m_buffer.resetUpdate(); }

void DataView::dbError()
{
    const int code = m_transaction->SQLDBCode;
    const QString text = m_transaction->SQLErrText;
    if (m_onDbError && m_onDbError(code, text) == 1)
        return;
    msg::show(QStringLiteral("数据库错误"), QStringLiteral("数据库操作没有完成（错误代码 %1）：\r%2").arg(code).arg(text),
              msg::Icon::StopSign);
}

int DataView::currentColumn() const
{
    if (m_current < 1)
        return 0;
    const Definition &def = m_buffer.definition();
    int cell = -1;
    if (m_form) {
        for (const auto &[index, box] : m_fields)
            if (box->hasFocus())
                cell = index;
    } else {
        cell = m_grid->currentIndex().column();
    }
    if (cell < 0 || cell >= def.cells.size() || def.cells.at(cell).compute)
        return 0;
    return m_buffer.columnIndex(def.cells.at(cell).name);
}

void DataView::setCurrentCell(int row, const QString &column)
{
    if (row < 1 || row > m_buffer.rowCount())
        return;
    const Definition &def = m_buffer.definition();
    for (int c = 0; c < def.cells.size(); ++c) {
        if (def.cells.at(c).name.compare(column, Qt::CaseInsensitive) != 0)
            continue;
        if (m_form) {
            setCurrent(row, false);
            for (const auto &[index, box] : m_fields)
                if (index == c)
                    box->setFocus(Qt::TabFocusReason);
            return;
        }
        m_grid->setFocus(Qt::OtherFocusReason);
        m_grid->setCurrentIndex(m_model->index(row - 1, c));
        return;
    }
}

void DataView::nextCell(bool backwards)
{
    const QList<int> cells = tabCells();
    const int rows = m_buffer.rowCount();
    if (cells.isEmpty() || rows == 0)
        return;
    int row = qMax(1, m_current);
    int cell = -1;
    if (m_form) {
        for (const auto &[index, box] : m_fields)
            if (box->hasFocus())
                cell = index;
    } else if (m_grid->currentIndex().isValid()) {
        cell = m_grid->currentIndex().column();
    }
    qsizetype pos = cells.indexOf(cell);
    if (pos < 0) {
        pos = backwards ? cells.size() - 1 : 0;
    } else if (!backwards && ++pos >= cells.size()) {
        if (row == rows || m_form)
            return; // the last cell of the last row: Tab stays
        ++row;
        pos = 0;
    } else if (backwards && --pos < 0) {
        if (row == 1 || m_form)
            return;
        --row;
        pos = cells.size() - 1;
    }
    setCurrentCell(row, m_buffer.definition().cells.at(cells.at(pos)).name);
}

bool DataView::handleKey(QKeyEvent *e)
{
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    const bool editable = !tabCells().isEmpty();
    switch (e->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // An empty or read-only view lets Tab go on to the window's next control.
        if (!editable || m_buffer.rowCount() == 0)
            return false;
        nextCell(e->key() == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!editable && !m_onEnter)
            return false;
        acceptText();
        if (m_onEnter) {
            if (!m_onEnter())
                nextCell();
            return true;
        }
        // A grid without a rule of its own: Enter goes down to the same column of the next row, and stays on
        // the last row.
        if (!m_form && m_grid->currentIndex().isValid() && m_current < m_buffer.rowCount())
            setCurrentCell(m_current + 1, m_buffer.definition().cells.at(m_grid->currentIndex().column()).name);
        return true;
    default:
        return false;
    }
}

bool DataView::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress && m_form && handleKey(static_cast<QKeyEvent *>(e)))
        return true;
    return QWidget::eventFilter(watched, e);
}

QWidget *DataView::field(const QString &column) const
{
    const Definition &def = m_buffer.definition();
    for (const auto &[index, box] : m_fields)
        if (def.cells.at(index).name.compare(column, Qt::CaseInsensitive) == 0)
            return box;
    return nullptr;
}

void DataView::buildForm()
{
    delete m_form;
    m_form = nullptr;
    m_fields.clear();
    const Definition &def = m_buffer.definition();
    m_grid->setVisible(def.style == Style::Grid);
    if (def.style != Style::FreeForm)
        return;
    m_form = new QWidget(this);
    layout()->addWidget(m_form);
    const QFont font = services::font(def.font.face, def.font.points, def.font.weight);
    m_form->setFont(font);
    for (const Label &l : def.labels) {
        auto *label = new QLabel(l.text, m_form);
        label->setGeometry(units::toPixels(l.x, l.y, l.width, l.height));
    }
    QList<QPair<int, QLineEdit *>> byTab;
    for (int c = 0; c < def.cells.size(); ++c) {
        const Cell &cell = def.cells.at(c);
        const int column = m_buffer.columnIndex(cell.name);
        if (!column)
            continue;
        auto *box = new QLineEdit(m_form);
        box->setGeometry(units::toPixels(cell.x, cell.y, cell.width, cell.height));
        box->setAlignment(cell.alignment);
        box->setReadOnly(cell.tabOrder <= 0);
        box->setFocusPolicy(cell.tabOrder > 0 ? Qt::StrongFocus : Qt::NoFocus);
        CellDelegate::limitInput(box, m_buffer, column);
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this, [this, column](const QString &text) {
            QVariant value;
            if (m_current > 0 && m_buffer.parse(column, text, value)) {
                m_buffer.setItem(m_current, column, value);
                m_model->cellsChanged(m_current);
            }
        });
        m_fields.append({c, box});
    }
    for (const int c : tabCells())
        for (const auto &f : std::as_const(m_fields))
            if (f.first == c)
                byTab << f;
    for (int i = 1; i < byTab.size(); ++i)
        QWidget::setTabOrder(byTab.at(i - 1).second, byTab.at(i).second);
    setFocusProxy(byTab.isEmpty() ? static_cast<QWidget *>(m_grid) : byTab.first().second);
    m_form->show();
    fillForm();
}

void DataView::fillForm()
{
    if (!m_form)
        return;
    for (const auto &[index, box] : std::as_const(m_fields)) {
        const QString text = m_current > 0 ? m_buffer.cellText(m_current, index) : QString();
        if (box->text() != text)
            box->setText(text);
        box->setEnabled(m_current > 0);
    }
}
} // namespace dw
