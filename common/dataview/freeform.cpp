#include "dataview/freeform.h"

#include "platform/controls.h"
#include "dataview/dataview.h"
#include "dataview/fit.h"
#include "dataview/report.h"
#include "platform/transaction.h"
#include "platform/services.h"
#include "platform/textinput.h"
#include "platform/units.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFrame>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

namespace dw {

// --- Layout ---

int FreeFormLayout::indexOf(const QString &name) const
{
    for (int i = 0; i < items.size(); ++i)
        if (items.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int FreeFormLayout::bandWidth() const
{
    int right = 0;
    for (const FreeFormItem &item : items)
        right = qMax(right, item.x + item.width);
    return right;
}

QList<int> FreeFormLayout::tabStops() const
{
    QList<int> stops;
    for (int i = 0; i < items.size(); ++i)
        if (items.at(i).kind == ItemKind::Column && items.at(i).tabOrder > 0)
            stops << i;
    std::stable_sort(stops.begin(), stops.end(),
                     [this](int a, int b) { return items.at(a).tabOrder < items.at(b).tabOrder; });
    return stops;
}

// --- Texts ---

QString itemText(const FreeFormItem &item, const Buffer &buffer, int row)
{
    const bool general = item.format.compare(QStringLiteral("[general]"), Qt::CaseInsensitive) == 0;
    switch (item.kind) {
    case ItemKind::Text:
        return item.text;
    case ItemKind::Column:
        return formatValue(buffer.item(row, item.column), general ? QString() : item.format);
    case ItemKind::Computed:
        return item.compute ? formatValue(item.compute(buffer, row), general ? QString() : item.format) : QString();
    case ItemKind::Line:
    case ItemKind::Rectangle:
        break;
    }
    return {};
}

// --- Painter ---

namespace {
// An item's text fitted to its box (dataview/fit.h): a column or computed item is a figure by its format and
// column; a fixed text is drawn whole.
FittedText fittedItem(const FreeFormItem &item, const Buffer &buffer, int row, qreal width, const QPaintDevice *device)
{
    const QFont font = services::font(item.font.face, item.font.points, item.font.weight);
    if (item.kind == ItemKind::Text)
        return {item.text, font};
    const bool figure = showsFigure(buffer.definition(), item.column, item.format, item.kind == ItemKind::Computed);
    return fitText(itemText(item, buffer, row), figure, font, width, device);
}
} // namespace

void paintBand(QPainter &painter, const FreeFormLayout &layout, const Buffer &buffer, int row, QPointF origin,
               double scaleX, double scaleY, int skipItem)
{
    for (int i = 0; i < layout.items.size(); ++i) {
        if (i == skipItem)
            continue;
        const FreeFormItem &item = layout.items.at(i);
        const QRectF box(origin.x() + item.x * scaleX, origin.y() + item.y * scaleY, item.width * scaleX,
                         item.height * scaleY);
        painter.save();
        switch (item.kind) {
        case ItemKind::Line:
            painter.setPen(services::color(item.textColor));
            painter.drawLine(box.topLeft(), box.bottomRight());
            break;
        case ItemKind::Rectangle:
            painter.setPen(services::color(item.textColor));
            if (item.backColor != ui::kNoColor)
                painter.setBrush(services::color(item.backColor));
            painter.drawRect(box);
            break;
        case ItemKind::Text:
        case ItemKind::Column:
        case ItemKind::Computed: {
            if (item.backColor != ui::kNoColor)
                painter.fillRect(box, services::color(item.backColor));
            const FittedText fitted = fittedItem(item, buffer, row, box.width(), painter.device());
            painter.setFont(fitted.font);
            painter.setPen(services::color(item.textColor));
            const QRectF at = item.alignment & Qt::AlignTop ? box.translated(0, fitted.shift) : box;
            painter.drawText(at, int(item.alignment) | Qt::TextSingleLine | Qt::TextDontClip, fitted.text);
            break;
        }
        }
        painter.restore();
    }
}

// --- Control ---

namespace {
constexpr double kScaleX = 1.0 / units::kUnitsPerPixelX;
constexpr double kScaleY = 1.0 / units::kUnitsPerPixelY;
} // namespace

FreeFormView::FreeFormView(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_across = new QScrollBar(Qt::Horizontal, this);
    m_across->setObjectName(QStringLiteral("across"));
    m_across->setFocusPolicy(Qt::NoFocus);
    m_across->hide();
    connect(m_across, &QScrollBar::valueChanged, this, [this](int x) {
        if (x != m_scroll.x())
            scrollTo(QPoint(x, m_scroll.y()));
    });
    // Rows are read while the bands paint or scroll: a failure is reported once that has ended, in the grids'
    // box, over the rows read before it.
    m_buffer.setFailureHandler([this](int code, const QString &text) {
        QMetaObject::invokeMethod(
            this,
            [this, code, text] {
                // The rows read past the failure are gone: the current letter goes back to the last one held.
                if (m_row > m_buffer.knownCount()) {
                    closeEditor();
                    m_row = m_buffer.knownCount();
                    emit rowFocusChanged(m_row);
                }
                clampScroll();
                update();
                showDatabaseError(code, text, m_transaction ? m_transaction->lockWaitMs : 5000);
            },
            Qt::QueuedConnection);
    });
}

FreeFormView::~FreeFormView()
{
    // The editor goes with the children after this body: it must not call back into a control that is gone.
    if (m_editor)
        m_editor->removeEventFilter(this);
}

void FreeFormView::setDefinition(const Definition &definition, const FreeFormLayout &layout)
{
    closeEditor();
    m_buffer.setDefinition(definition);
    m_layout = layout;
    m_row = 0;
    m_item = -1;
    m_scroll = {};
    placeScrollBar();
    update();
}

int FreeFormView::retrieve(const QVariantList &arguments)
{
    closeEditor();
    const int result = m_transaction ? m_buffer.retrieve(*m_transaction, arguments) : (m_buffer.reset(), -1);
    const QList<int> stops = m_layout.tabStops();
    m_row = m_buffer.readTo(1) ? 1 : 0;
    m_item = m_row > 0 && !stops.isEmpty() ? stops.first() : -1;
    m_scroll = {};
    placeScrollBar();
    update();
    if (hasFocus())
        openEditor();
    emit rowFocusChanged(m_row);
    if (result < 0 && m_transaction)
        showDatabaseError(m_transaction->SQLDBCode, m_transaction->SQLErrText, m_transaction->lockWaitMs);
    return result;
}

QString FreeFormView::currentItem() const { return m_item >= 0 ? m_layout.items.at(m_item).name : QString(); }

bool FreeFormView::setCurrent(int row, const QString &item)
{
    const int index = m_layout.indexOf(item);
    if (!m_buffer.readTo(row) || !m_layout.tabStops().contains(index))
        return false;
    const bool focused = hasFocus() || (m_editor && m_editor->hasFocus());
    closeEditor();
    const bool rowChanged = row != m_row;
    m_row = row;
    m_item = index;
    if (rowChanged) // a new letter comes into sight from its top
        m_scroll.setY(int(std::lround((row - 1) * m_layout.bandHeight * kScaleY)));
    clampScroll();
    ensureVisible(itemRect(row, item));
    update();
    if (focused)
        openEditor();
    if (rowChanged)
        emit rowFocusChanged(row);
    return true;
}

QString FreeFormView::shownText(int row, const QString &item) const
{
    const int index = m_layout.indexOf(item);
    if (index < 0 || !m_buffer.hasRow(row))
        return {};
    if (m_editor && row == m_row && index == m_item)
        return m_editor->text();
    return itemText(m_layout.items.at(index), m_buffer, row);
}

QRect FreeFormView::itemRect(int row, const QString &item) const
{
    const int index = m_layout.indexOf(item);
    if (index < 0 || row < 1)
        return {};
    const FreeFormItem &it = m_layout.items.at(index);
    const double top = (row - 1) * m_layout.bandHeight + it.y;
    return QRectF(it.x * kScaleX - m_scroll.x(), top * kScaleY - m_scroll.y(), it.width * kScaleX,
                  it.height * kScaleY)
        .toRect();
}

void FreeFormView::scrollTo(QPoint position)
{
    m_scroll = position;
    // The letters that come into sight are read before the position is held to the content.
    if (const double band = m_layout.bandHeight * kScaleY; band > 0)
        m_buffer.readTo(int((position.y() + viewHeight()) / band) + 1);
    clampScroll();
    if (m_editor && m_item >= 0)
        m_editor->setGeometry(itemRect(m_row, currentItem()));
    placeScrollBar();
    update();
}

int FreeFormView::viewHeight() const
{
    return m_across && !m_across->isHidden() ? height() - m_across->height() : height();
}

void FreeFormView::placeScrollBar()
{
    // A band wider than the control shows a scroll bar across, so that every field can be reached by the
    // pointer too; a figure beyond the edge would otherwise be a figure shown in part.
    const int content = contentSize().width();
    const bool needed = content > width();
    const int barHeight = m_across->sizeHint().height();
    m_across->setGeometry(0, height() - barHeight, width(), barHeight);
    if (needed != !m_across->isHidden()) {
        m_across->setVisible(needed);
        clampScroll(); // the rows in sight are fewer or more
    }
    const QSignalBlocker quiet(m_across);
    m_across->setRange(0, qMax(0, content - width()));
    m_across->setPageStep(width());
    m_across->setSingleStep(qMax(1, width() / 20));
    m_across->setValue(m_scroll.x());
}

QSize FreeFormView::contentSize() const
{
    return QSize(int(std::ceil(m_layout.bandWidth() * kScaleX)),
                 int(std::ceil(m_buffer.fetchedCount() * m_layout.bandHeight * kScaleY)));
}

void FreeFormView::clampScroll()
{
    const QSize content = contentSize();
    m_scroll.setX(qBound(0, m_scroll.x(), qMax(0, content.width() - width())));
    m_scroll.setY(qBound(0, m_scroll.y(), qMax(0, content.height() - viewHeight())));
}

void FreeFormView::ensureVisible(const QRect &rect)
{
    QPoint to = m_scroll;
    const QRect r = rect.translated(m_scroll);
    if (r.right() >= to.x() + width())
        to.setX(r.right() - width() + 2);
    if (r.left() < to.x())
        to.setX(r.left());
    if (r.bottom() >= to.y() + viewHeight())
        to.setY(r.bottom() - viewHeight() + 2);
    if (r.top() < to.y())
        to.setY(r.top());
    scrollTo(to);
}

void FreeFormView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), services::color(m_layout.background));
    const double band = m_layout.bandHeight * kScaleY;
    if (band <= 0 || !m_buffer.readTo(1))
        return;
    // Only the bands in sight are drawn (and read), so a long register stays fast.
    const int first = qMax(1, int(m_scroll.y() / band) + 1);
    int last = int((m_scroll.y() + viewHeight()) / band) + 1;
    if (!m_buffer.readTo(last))
        last = m_buffer.fetchedCount();
    for (int row = first; row <= last; ++row) {
        paintBand(painter, m_layout, m_buffer, row, QPointF(-m_scroll.x(), (row - 1) * band - m_scroll.y()), kScaleX,
                  kScaleY, m_editor && row == m_row ? m_item : -1);
    }
}

bool FreeFormView::event(QEvent *e)
{
    if (e->type() != QEvent::ToolTip)
        return QWidget::event(e);
    // A figure shown smaller or as a mark tells its whole value.
    const QPoint at = static_cast<QHelpEvent *>(e)->pos();
    const double band = m_layout.bandHeight * kScaleY;
    const int row = band > 0 ? int((at.y() + m_scroll.y()) / band) + 1 : 0;
    if (row >= 1 && m_buffer.hasRow(row))
        for (const FreeFormItem &item : m_layout.items) {
            const QRect box = itemRect(row, item.name);
            if (item.kind == ItemKind::Column || item.kind == ItemKind::Computed)
                if (box.contains(at) && fittedItem(item, m_buffer, row, box.width(), this).tellsValue()) {
                    QToolTip::showText(static_cast<QHelpEvent *>(e)->globalPos(), itemText(item, m_buffer, row), this,
                                       box);
                    return true;
                }
        }
    QToolTip::hideText();
    e->ignore();
    return true;
}

void FreeFormView::wheelEvent(QWheelEvent *e)
{
    QPoint delta = e->angleDelta();
    if (e->modifiers() & Qt::ShiftModifier && delta.x() == 0)
        delta = QPoint(delta.y(), 0);
    // One notch moves three lines of text.
    const int step = QFontMetrics(services::font(QStringLiteral("宋体"), 12)).height() * 3;
    scrollTo(m_scroll - QPoint(delta.x() * step / 120, delta.y() * step / 120));
    e->accept();
}

void FreeFormView::mousePressEvent(QMouseEvent *e)
{
    const double band = m_layout.bandHeight * kScaleY;
    const QPointF at = e->position() + m_scroll;
    if (band > 0 && e->button() == Qt::LeftButton) {
        const int row = int(at.y() / band) + 1;
        const QPointF inBand((at.x()) / kScaleX, (at.y() - (row - 1) * band) / kScaleY);
        for (int index : m_layout.tabStops()) {
            const FreeFormItem &it = m_layout.items.at(index);
            if (QRectF(it.x, it.y, it.width, it.height).contains(inBand)) {
                setCurrent(row, it.name);
                break;
            }
        }
    }
    QWidget::mousePressEvent(e);
}

void FreeFormView::keyPressEvent(QKeyEvent *e)
{
    if (!handleKey(e))
        QWidget::keyPressEvent(e);
}

void FreeFormView::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    if (!m_editor && !m_closing)
        openEditor();
}

void FreeFormView::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    scrollTo(m_scroll);
}

bool FreeFormView::eventFilter(QObject *watched, QEvent *e)
{
    if (watched != m_editor)
        return QWidget::eventFilter(watched, e);
    if (e->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent *>(e)))
        return true;
    if (e->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(e)->reason();
        QWidget *to = QApplication::focusWidget();
        // The field stays open while the window is merely inactive or a popup shows.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && to != this &&
            !isAncestorOf(to))
            closeEditor();
    }
    return QWidget::eventFilter(watched, e);
}

bool FreeFormView::handleKey(QKeyEvent *e)
{
    if (m_row == 0 || m_item < 0)
        return false;
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    switch (e->key()) {
    case Qt::Key_Tab:
        moveField(!(e->modifiers() & Qt::ShiftModifier));
        return true;
    case Qt::Key_Backtab:
        moveField(false);
        return true;
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        moveRow(m_row - 1);
        return true;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        moveRow(m_row + 1);
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (!ctrl)
            return false;
        if (e->key() == Qt::Key_End)
            m_buffer.readEnd(); // the last rows come from the end, not after every row before them
        moveRow(e->key() == Qt::Key_Home ? 1 : m_buffer.rowCount());
        return true;
    default:
        return false;
    }
}

void FreeFormView::moveField(bool forward)
{
    const QList<int> stops = m_layout.tabStops();
    const qsizetype at = stops.indexOf(m_item) + (forward ? 1 : -1);
    if (at >= 0 && at < stops.size()) {
        setCurrent(m_row, m_layout.items.at(stops.at(at)).name);
        return;
    }
    const int row = m_row + (forward ? 1 : -1);
    if (m_buffer.readTo(row)) {
        setCurrent(row, m_layout.items.at(forward ? stops.first() : stops.last()).name);
        return;
    }
    leave(forward);
}

void FreeFormView::moveRow(int row)
{
    if (m_buffer.readTo(row) && row != m_row)
        setCurrent(row, currentItem());
}

void FreeFormView::leave(bool forward)
{
    // Out to the window's next (or previous) tab stop.
    if (auto *window = qobject_cast<ui::Window *>(this->window())) {
        const QList<QWidget *> stops = window->tabStops();
        const qsizetype at = stops.indexOf(this);
        if (at >= 0 && stops.size() > 1) {
            stops.at((at + (forward ? 1 : stops.size() - 1)) % stops.size())
                ->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
    focusNextPrevChild(forward);
}

void FreeFormView::openEditor()
{
    if (m_editor || m_row == 0 || m_item < 0)
        return;
    const FreeFormItem &item = m_layout.items.at(m_item);
    ui::SingleLineEdit *editor = nullptr;
    if (!item.editMask.isEmpty()) {
        auto *mask = new ui::EditMask(this);
        mask->setMask(item.editMask);
        editor = mask;
    } else {
        editor = new ui::SingleLineEdit(this);
        if (item.limit > 0) // GBK bytes, as every width of the system counts
            textinput::limitInput(editor, textinput::gbkBytes(item.limit));
        // A cheque number or an account (its column says so) is refused whole rather than cut.
        const int column = m_buffer.columnIndex(item.column);
        editor->setIdentifier(column > 0 && m_buffer.definition().columns.at(column - 1).identifier);
    }
    editor->setAccessibleName(item.caption);
    editor->setObjectName(QStringLiteral("editor"));
    editor->setFrame(false);
    editor->setAlignment(item.alignment);
    editor->setFont(services::font(item.font.face, item.font.points, item.font.weight));
    QPalette pal = editor->palette();
    pal.setColor(QPalette::Base, services::color(m_layout.background));
    pal.setColor(QPalette::Text, services::color(item.textColor));
    editor->setPalette(pal);
    editor->setTextByCode(shownText(m_row, item.name));
    editor->setGeometry(itemRect(m_row, item.name));
    // A figure being typed into shows whole as it does drawn: in smaller type where its field is too narrow
    // (the box keeps its text a little off its sides).
    QStyleOptionFrame frame;
    frame.initFrom(editor);
    frame.lineWidth = 0;
    const int room = editor->style()->subElementRect(QStyle::SE_LineEditContents, &frame, editor).width() - 4;
    if (const FittedText fitted = fittedItem(item, m_buffer, m_row, room, this); fitted.shrunk)
        editor->setFont(fitted.font);
    editor->installEventFilter(this);
    m_editor = editor;
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
    editor->selectAll();
    update();
}

void FreeFormView::commitEditor()
{
    if (!m_editor || m_item < 0)
        return;
    const int column = m_buffer.columnIndex(m_layout.items.at(m_item).column);
    QString text = m_editor->text();
    if (const auto *mask = qobject_cast<ui::EditMask *>(m_editor.data()); mask && !text.trimmed().isEmpty())
        text = QString::number(mask->number(), 'f', 15);
    // What cannot be read as the column's type gives way to the value the field held.
    QVariant value;
    if (m_buffer.parse(column, text, value))
        m_buffer.setItem(m_row, column, value);
}

void FreeFormView::closeEditor()
{
    if (!m_editor)
        return;
    commitEditor();
    QLineEdit *editor = m_editor;
    m_editor = nullptr;
    editor->removeEventFilter(this);
    // Keep the focus inside the control while the field moves, so it does not wander to the next control.
    if (editor->hasFocus()) {
        m_closing = true;
        setFocus(Qt::OtherFocusReason);
        m_closing = false;
    }
    editor->hide();
    editor->deleteLater();
    update();
}

} // namespace dw
