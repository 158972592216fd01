#include "dataview/dataview.h"

#include "dataview/grid.h"
#include "platform/messagebox.h"
#include "platform/services.h"
#include "platform/transaction.h"
#include "platform/units.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyleHints>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace dw {

DataView::DataView(QWidget *parent) : QWidget(parent)
{
    auto *grid = new GridView(this);
    m_grid = grid;
    m_model = new GridModel(m_buffer, this);
    m_buffer.setFetchHandler([this](int, int after) { m_model->rowsFetched(after); });
    // Rows are read while the grid paints or scrolls: the failure is reported once that has ended.
    m_buffer.setFailureHandler([this](int code, const QString &text) {
        QMetaObject::invokeMethod(
            this,
            [this, code, text] {
                m_model->rowsDropped();
                if (m_current > m_buffer.knownCount())
                    setCurrent(m_buffer.knownCount(), true);
                dbError(code, text);
            },
            Qt::QueuedConnection);
    });
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
    grid->onPress = [this](const QMouseEvent *e, int under) { return pressedRow(e, under); };
    // The rows in sight that are known by number only (between the first rows read and the last ones, after
    // Ctrl+End) are read before they are painted: the model itself reads nothing.
    grid->beforePaint = [this](int first, int last) {
        for (int row = last; row >= first; --row)
            if (!m_buffer.hasRow(row)) {
                m_buffer.readTo(row);
                return;
            }
    };
    // A key or a click can make such a row current before it is painted: its editor must start from its text.
    grid->beforeCurrent = [this](int row) { m_buffer.readTo(row); };
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
    // The fonts first: the reset measures the header sections once, in the font they are shown in.
    const QFont font = services::font(definition.font.face, definition.font.points, definition.font.weight);
    m_grid->setFont(font);
    m_grid->horizontalHeader()->setFont(font);
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
    const QFont font = m_grid->font();
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
    // The record keeps its line on the screen: the operator may be about to click it again.
    const int top = m_grid->rowAt(0) + 1;
    const int lines = qMax(1, m_grid->viewport()->height() / qMax(1, m_grid->verticalHeader()->defaultSectionSize()));
    const int line = top > 0 ? qBound(0, m_current - top, lines - 1) : 0;

    m_syncing = true;
    m_model->beginReset();
    ++m_reads;
    const int result = m_transaction ? m_buffer.retrieve(*m_transaction, arguments) : (m_buffer.reset(), -1);
    int row = m_buffer.readTo(1) ? 1 : 0;
    if (const int found = m_buffer.locateRow(key))
        row = found;
    m_model->setCurrent(row);
    m_model->endReset();
    m_syncing = false;

    if (row > 1) {
        static_cast<GridView *>(m_grid)->layoutNow();
        m_grid->scrollTo(m_model->index(qMax(0, row - 1 - line), 0), QAbstractItemView::PositionAtTop);
        setCurrent(row, true);
    } else {
        m_grid->scrollToTop();
        setCurrent(row, row > 0);
    }
    fillForm();
    if (result < 0 && m_transaction)
        dbError(m_transaction->SQLDBCode, m_transaction->SQLErrText);
    return result;
}

int DataView::pressedRow(const QMouseEvent *e, int under)
{
    // The second press of a double-click after a re-read (an activation that came between the two) acts on the
    // record the first press was on, wherever the re-read has put it.
    const bool secondOfPair = !m_press.key.isEmpty() && m_press.reads != m_reads
                              && e->timestamp() - m_press.time <= quint64(QGuiApplication::styleHints()->mouseDoubleClickInterval())
                              && (e->position().toPoint() - m_press.at).manhattanLength() <= QApplication::startDragDistance();
    int row = under;
    if (secondOfPair) {
        // The re-read has kept that record current, unless it is gone.
        if (m_buffer.keyOf(m_current) == m_press.key)
            row = m_current;
        else if (const int found = m_buffer.findHeld(m_press.key))
            row = found;
    }
    m_buffer.readTo(row);
    m_press = {m_buffer.keyOf(row), e->timestamp(), e->position().toPoint(), m_reads};
    if (row != under)
        setCurrent(row, true);
    return row;
}

int DataView::reachRow(int row)
{
    if (row > m_buffer.fetchedCount())
        m_buffer.readEnd();
    return m_buffer.readTo(row) ? row : m_buffer.rowCount();
}

void DataView::setCurrentRow(int row)
{
    if (!m_buffer.readTo(row))
        return;
    setCurrent(row, true);
}

void DataView::scrollToRow(int row)
{
    if (!m_buffer.readTo(1))
        return;
    if (!m_buffer.readTo(row))
        row = row < 1 ? 1 : m_buffer.knownCount();
    m_grid->scrollTo(m_model->index(row - 1, 0), QAbstractItemView::EnsureVisible);
}

void DataView::setCurrent(int row, bool moveView)
{
    m_buffer.readTo(row); // the current row is always held: its key, its form, its editor
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
    int at = before;
    if (before == 0) {
        m_buffer.readEnd(); // the grid learns of the rows before the new one first
        at = m_buffer.rowCount() + 1;
    } else if (!m_buffer.readTo(before) && !(before == m_buffer.knownCount() + 1 && m_buffer.endKnown())) {
        return -1;
    }
    m_syncing = true;
    m_model->beginInsert(at);
    const int row = m_buffer.insertRow(before);
    m_model->endInsert();
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
    if (!m_buffer.readTo(row))
        return -1;
    m_syncing = true;
    m_model->beginRemove(row);
    m_buffer.deleteRow(row);
    m_model->endRemove();
    m_syncing = false;
    m_model->allChanged();
    // The row that moved up into the place becomes current, or the new last row.
    int current = m_current > row ? m_current - 1 : m_current;
    if (current > 0 && !m_buffer.readTo(current))
        current = m_buffer.knownCount();
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
        dbError(m_transaction->SQLDBCode, m_transaction->SQLErrText);
    m_model->allChanged();
    return result;
}

void DataView::resetUpdate() { m_buffer.resetUpdate(); }

QString databaseErrorText(int code, const QString &text, int lockWaitMs)
{
    return QStringLiteral("数据库操作没有完成（错误代码 %1）：\r%2").arg(code).arg(db::faultMessage(code, text, lockWaitMs));
}

void showDatabaseError(int code, const QString &text, int lockWaitMs)
{
    msg::show(QStringLiteral("数据库错误"), databaseErrorText(code, text, lockWaitMs), msg::Icon::StopSign);
}

void DataView::dbError(int code, const QString &text)
{
    if (m_onDbError && m_onDbError(code, text) == 1)
        return;
    showDatabaseError(code, text, m_transaction ? m_transaction->lockWaitMs : 5000);
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
    if (!m_buffer.readTo(row))
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

void DataView::setCurrentFirstCell(int row)
{
    const QList<int> cells = tabCells();
    if (cells.isEmpty())
        setCurrentRow(row);
    else
        setCurrentCell(row, m_buffer.definition().cells.at(cells.first()).name);
}

void DataView::nextCell(bool backwards)
{
    const QList<int> cells = tabCells();
    if (cells.isEmpty() || !m_buffer.readTo(1))
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
        if (m_form || !m_buffer.readTo(row + 1))
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
    // Ctrl+End goes to the last row there is: the last rows come in first (see Buffer::readEnd).
    if (e->key() == Qt::Key_End && (e->modifiers() & Qt::ControlModifier))
        m_buffer.readEnd();
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    const bool editable = !tabCells().isEmpty();
    switch (e->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // An empty or read-only view lets Tab go on to the window's next control.
        if (!editable || !m_buffer.readTo(1))
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
        if (!m_form && m_grid->currentIndex().isValid() && m_buffer.readTo(m_current + 1))
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
        CellDelegate::limitInput(box, m_buffer, cell);
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
