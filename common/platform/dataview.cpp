#include "platform/dataview.h"

#include "platform/services.h"
#include "platform/transaction.h"
#include "platform/units.h"

#include <QAbstractTableModel>
#include <QHeaderView>
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

// --- Grid presentation ---

class GridModel : public QAbstractTableModel {
public:
    GridModel(const Buffer &buffer, QObject *parent) : QAbstractTableModel(parent), m_buffer(buffer) {}

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
        case Qt::DisplayRole:
            return m_buffer.cellText(row, index.column());
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
        return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
    }

private:
    const Buffer &m_buffer;
    QList<QPair<QVariant, QVariant>> m_colors;
    int m_current = 0;
};

namespace {
// The current row shows through its background colours only: no selection and no focus frame on a cell.
class PlainDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
    }
};

class GridView : public QTableView {
public:
    std::function<void(int)> onDoubleClick;
    using QTableView::QTableView;

protected:
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

DataView::DataView(QWidget *parent) : QWidget(parent)
{
    auto *grid = new GridView(this);
    m_grid = grid;
    m_model = new GridModel(m_buffer, this);
    grid->setModel(m_model);
    grid->setItemDelegate(new PlainDelegate(grid));
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // No cell takes input yet, so Tab leaves the grid for the window's next control.
    grid->setTabKeyNavigation(false);
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

DataView::~DataView() = default;

void DataView::setDefinition(const Definition &definition)
{
    m_model->beginReset();
    m_buffer.setDefinition(definition);
    m_current = 0;
    m_model->setCurrent(0);
    m_model->endReset();
    applyPresentation();
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
        const int column = qMax(0, m_grid->currentIndex().column());
        m_grid->selectionModel()->setCurrentIndex(m_model->index(row - 1, column), QItemSelectionModel::NoUpdate);
        m_syncing = false;
        scrollToRow(row);
    }
    if (previous != row) {
        m_model->rowChanged(previous);
        m_model->rowChanged(row);
        emit rowFocusChanged(row);
    }
}
} // namespace dw
