#include "dataview/grid.h"

#include "dataview/dataview.h"
#include "platform/post.h"
#include "dataview/fit.h"
#include "platform/services.h"
#include "platform/textinput.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QToolTip>

namespace dw {

// --- Model ---

GridModel::GridModel(Buffer &buffer, DataView *view)
    : QAbstractTableModel(view), m_buffer(buffer), m_view(view)
{
}

void GridModel::beginReset()
{
    m_resetting = true;
    beginResetModel();
}

void GridModel::endReset()
{
    auto brush = [](qint64 value) { return value == ui::kNoColor ? QVariant() : QVariant(services::color(value)); };
    m_colors.clear();
    for (const Cell &cell : m_buffer.definition().cells)
        m_colors.append({brush(cell.currentRowBackground), brush(cell.otherRowBackground)});
    m_shown = m_buffer.knownCount();
    m_resetting = false;
    endResetModel();
}

void GridModel::rowsFetched(int after)
{
    if (m_resetting || after <= m_shown)
        return;
    beginInsertRows({}, m_shown, after - 1);
    m_shown = after;
    endInsertRows();
}

void GridModel::rowsDropped()
{
    const int known = m_buffer.knownCount();
    if (m_resetting || known >= m_shown)
        return;
    beginRemoveRows({}, known, m_shown - 1);
    m_shown = known;
    endRemoveRows();
}

void GridModel::beginInsert(int row) { beginInsertRows({}, row - 1, row - 1); }

void GridModel::endInsert()
{
    m_shown = m_buffer.knownCount();
    endInsertRows();
}

void GridModel::beginRemove(int row) { beginRemoveRows({}, row - 1, row - 1); }

void GridModel::endRemove()
{
    m_shown = m_buffer.knownCount();
    endRemoveRows();
}

void GridModel::rowChanged(int row)
{
    if (row >= 1 && row <= m_shown)
        emit dataChanged(index(row - 1, 0), index(row - 1, columnCount() - 1), {Qt::BackgroundRole});
}

void GridModel::cellsChanged(int row)
{
    if (row >= 1 && row <= m_shown)
        emit dataChanged(index(row - 1, 0), index(row - 1, columnCount() - 1));
}

void GridModel::allChanged()
{
    if (m_shown > 0)
        emit dataChanged(index(0, 0), index(m_shown - 1, columnCount() - 1));
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_buffer.definition().cells.size());
}

bool GridModel::canFetchMore(const QModelIndex &parent) const { return !parent.isValid() && !m_buffer.endKnown(); }

void GridModel::fetchMore(const QModelIndex &parent)
{
    if (!parent.isValid())
        m_buffer.fetchMore(Buffer::kReadRows); // the buffer's fetch handler tells rowsFetched
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    const int row = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return m_buffer.shownText(row, index.column());
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

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return m_buffer.definition().cells.at(section).header;
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Cell &cell = m_buffer.definition().cells.at(index.column());
    const bool editable = cell.tabOrder > 0 && !cell.compute && m_buffer.columnIndex(cell.name) > 0;
    return editable ? Qt::ItemIsEnabled | Qt::ItemIsEditable : Qt::ItemIsEnabled;
}

bool GridModel::setData(const QModelIndex &index, const QVariant &value, int role)
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

QString GridModel::editText(int row, int cellIndex) const
{
    const Cell &cell = m_buffer.definition().cells.at(cellIndex);
    const QVariant v = m_buffer.item(row, cell.name);
    if (v.isNull())
        return {};
    // A figure as the cell shows it, without its group separators.
    if (const int places = decimalPlaces(cell.format); places >= 0 && v.typeId() == QMetaType::Double)
        return formatValue(v, places ? QStringLiteral("0.") + QString(places, u'0') : QStringLiteral("0"));
    return displayText(v);
}

// --- Cell editor ---

QWidget *CellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const Buffer &buffer = m_view->buffer();
    const Cell &cell = buffer.definition().cells.at(index.column());
    auto *e = new QLineEdit(parent);
    e->setFrame(false);
    e->setAlignment(cell.alignment);
    limitInput(e, buffer, cell);
    if (cell.format.startsWith(u'\''))
        e->setEchoMode(QLineEdit::Password); // a masked cell stays masked while typed into
    const_cast<CellDelegate *>(this)->editor = e;
    return e;
}

void CellDelegate::setModelData(QWidget *e, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *line = qobject_cast<QLineEdit *>(e);
    if (!line)
        return;
    const QString text = line->text();
    if (model->setData(index, text, Qt::EditRole))
        return;
    // A text that is no value of the cell's type ("1,5" as an amount, 2024.13.45 as a date) leaves the cell
    // as it was; the operator is told once the editor has closed and the next cell has the focus.
    const Buffer &buffer = m_view->buffer();
    const Cell &cell = buffer.definition().cells.at(index.column());
    QVariant value;
    QWidget *viewport = e->parentWidget();
    auto *grid = qobject_cast<QAbstractItemView *>(viewport ? viewport->parentWidget() : nullptr);
    if (!grid || buffer.parse(buffer.columnIndex(cell.name), text, value))
        return;
    post::later(grid, [grid, at = QPersistentModelIndex(index), name = cell.header, text] {
        textinput::refused(grid->viewport(), grid->visualRect(at), name,
                           QStringLiteral("不能取“%1”，保留原值。").arg(text));
    });
}

void CellDelegate::destroyEditor(QWidget *e, const QModelIndex &index) const
{
    // A closed editor has nothing left to commit.
    if (e == editor)
        const_cast<CellDelegate *>(this)->editor = nullptr;
    QStyledItemDelegate::destroyEditor(e, index);
}

void CellDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->state &= ~QStyle::State_HasFocus;
    fit(option, index);
}

bool CellDelegate::fit(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    const Definition &def = m_view->buffer().definition();
    const Cell &cell = def.cells.at(index.column());
    const bool figure = showsFigure(def, cell.name, cell.format, bool(cell.compute));
    const QWidget *widget = option->widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    // The style keeps a text this far off the sides of its rectangle.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const int width = style->subElementRect(QStyle::SE_ItemViewItemText, option, widget).width() - 2 * margin;
    const FittedText fitted = fitText(option->text, figure, option->font, width, widget);
    option->text = fitted.text;
    option->font = fitted.font;
    option->fontMetrics = QFontMetrics(fitted.font);
    option->textElideMode = figure ? Qt::ElideNone : Qt::ElideRight;
    return fitted.tellsValue();
}

void CellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem fitted = option;
    initStyleOption(&fitted, index);
    const QWidget *widget = option.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    if (fitted.font == option.font || fitted.text.isEmpty()) {
        style->drawControl(QStyle::CE_ItemViewItem, &fitted, painter, widget);
        return;
    }
    // Both lines centred in the cell: the smaller one drops by half of what its ascent lacks less half of what
    // its descent lacks.
    const QFontMetricsF cell(option.font), smaller(fitted.font);
    const qreal drop = ((cell.ascent() - smaller.ascent()) - (cell.descent() - smaller.descent())) / 2;
    const QString text = fitted.text;
    fitted.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &fitted, painter, widget); // the ground, without the text
    fitted.text = text;
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRectF area = QRectF(style->subElementRect(QStyle::SE_ItemViewItemText, &fitted, widget))
                            .adjusted(margin, 0, -margin, 0)
                            .translated(0, drop);
    const QPalette::ColorGroup group = fitted.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    painter->save();
    painter->setFont(fitted.font);
    painter->setPen(fitted.palette.color(group, fitted.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                       : QPalette::Text));
    painter->drawText(area, int(fitted.displayAlignment) | Qt::TextSingleLine | Qt::TextDontClip, text);
    painter->restore();
}

bool CellDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                             const QModelIndex &index)
{
    if (event->type() == QEvent::ToolTip && index.isValid()) {
        QStyleOptionViewItem fitted = option;
        QStyledItemDelegate::initStyleOption(&fitted, index);
        const QString whole = fitted.text;
        if (fit(&fitted, index)) {
            QToolTip::showText(event->globalPos(), whole, view->viewport(), option.rect);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

bool CellDelegate::eventFilter(QObject *watched, QEvent *e)
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

namespace {
// The places a number cell without a number picture takes.
constexpr int kPlainPlaces = 4;
} // namespace

void CellDelegate::limitInput(QLineEdit *e, const Buffer &buffer, const Cell &cell)
{
    const int column = buffer.columnIndex(cell.name);
    if (column < 1)
        return;
    e->setAccessibleName(cell.header);
    const Column &of = buffer.definition().columns.at(column - 1);
    const Type type = of.type;
    switch (type) {
    case Type::Text:
        // At most the column's width in GBK bytes, whatever the input method commits.
        if (const int limit = buffer.limitOf(column); limit > 0)
            textinput::limitInput(e, textinput::gbkBytes(limit));
        break;
    case Type::Long:
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d{0,18}")), e));
        textinput::describeAccepted(e, QStringLiteral("只能输入整数，最多 18 位"));
        break;
    case Type::Number: {
        // The places the cell shows (an amount's two), so that what is stored is what the operator saw.
        const int shown = decimalPlaces(cell.format);
        const int places = shown < 0 ? kPlainPlaces : shown;
        // No more integer digits than a stored number holds exactly at these places: a figure past them would
        // be stored as another.
        const int digits = textinput::exactIntegerDigits(places);
        e->setValidator(textinput::figureValidator(digits, places, true, e));
        textinput::describeAccepted(
            e, places ? QStringLiteral("只能输入数字，小数点前最多 %1 位，小数点后最多 %2 位").arg(digits).arg(places)
                      : QStringLiteral("只能输入数字，最多 %1 位，没有小数").arg(digits));
        break;
    }
    case Type::Date:
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[\\d.\\-/]{0,10}")), e));
        textinput::describeAccepted(e, QStringLiteral("只能输入日期，如 2024.06.15"));
        break;
    }
    textinput::holdIdentifier(e, of.identifier || type != Type::Text);
    textinput::keepSingleLine(e);
}

// --- View ---

bool GridView::event(QEvent *e)
{
    // Tab reaches the view before its key handling: the view's own handler decides first.
    if (e->type() == QEvent::KeyPress && onKey && onKey(static_cast<QKeyEvent *>(e)))
        return true;
    return QTableView::event(e);
}

void GridView::paintEvent(QPaintEvent *e)
{
    if (beforePaint && model()) {
        const int rows = model()->rowCount();
        const int first = rowAt(0);
        if (first >= 0) {
            const int last = rowAt(viewport()->height() - 1);
            beforePaint(first + 1, last >= 0 ? last + 1 : rows);
        }
    }
    QTableView::paintEvent(e);
}

void GridView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (beforeCurrent && current.isValid())
        beforeCurrent(current.row() + 1);
    QTableView::currentChanged(current, previous);
}

int GridView::pressRow(QMouseEvent *e, int &under)
{
    const QModelIndex index = indexAt(e->position().toPoint());
    under = index.isValid() ? index.row() + 1 : 0;
    return e->button() == Qt::LeftButton && onPress ? onPress(e, under) : under;
}

void GridView::mousePressEvent(QMouseEvent *e)
{
    int under = 0;
    if (pressRow(e, under) != under) {
        e->accept();
        return;
    }
    QTableView::mousePressEvent(e);
}

void GridView::mouseDoubleClickEvent(QMouseEvent *e)
{
    int under = 0;
    const int row = pressRow(e, under);
    if (row == under)
        QTableView::mouseDoubleClickEvent(e);
    else
        e->accept();
    if (e->button() == Qt::LeftButton && onDoubleClick)
        onDoubleClick(row);
}
} // namespace dw
