#include "dataview/report.h"

#include "dataview/dataview.h"
#include "dataview/fit.h"

#include "platform/messagebox.h"
#include "platform/services.h"
#include "platform/transaction.h"

#include <QFontMetricsF>
#include <QHelpEvent>
#include <QToolTip>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace dw {

// --- Band texts ---

ReportExpression literal(const QString &text)
{
    return [text](const ReportContext &) { return text; };
}

ReportExpression columnValue(const QString &column, const QString &format)
{
    // Rows come in order, so a column's value is often the one of the row before (a day's date, a group's
    // account): that text is not made again. Keyed by the value itself, it cannot outlive a change of rows. A
    // double is always made again: 0 and -0 are equal, yet they show apart.
    return [column, shown = Format(format), last = QVariant(), lastText = QString()](const ReportContext &c) mutable {
        QVariant value = c.buffer->item(c.row, column);
        if (value.metaType() != last.metaType() || value != last || last.isNull()
            || value.typeId() == QMetaType::Double) {
            lastText = shown.text(value);
            last = std::move(value);
        }
        return lastText;
    };
}

ReportExpression runningNumber()
{
    return [](const ReportContext &c) { return c.row > 0 ? QString::number(c.row) : QString(); };
}

namespace {
// Totals come from the buffer, which computes them once per retrieve.
ReportExpression totalOf(const QString &column, Aggregate kind, const QString &format)
{
    return [column, kind, shown = Format(format)](const ReportContext &c) {
        return shown.text(c.buffer->total(kind, c.buffer->columnIndex(column)));
    };
}
} // namespace

ReportExpression sumOf(const QString &column, Scope scope, const QString &format)
{
    if (scope == Scope::All)
        return totalOf(column, Aggregate::Sum, format);
    return [column, shown = Format(format)](const ReportContext &c) {
        const int of = c.buffer->columnIndex(column);
        // Outside a group (the summary, the header and footer) the group is every row.
        const QVariant sum = c.group >= 0 ? c.buffer->runTotal(c.groupColumn, c.group, Aggregate::Sum, of)
                                          : c.buffer->total(Aggregate::Sum, of);
        return shown.text(sum);
    };
}

ReportExpression minOf(const QString &column, const QString &format) { return totalOf(column, Aggregate::Min, format); }
ReportExpression maxOf(const QString &column, const QString &format) { return totalOf(column, Aggregate::Max, format); }

ReportExpression pageText(const QString &pattern)
{
    return [pattern](const ReportContext &c) {
        return pattern.arg(c.page).arg(c.pageCount > 0 ? QString::number(c.pageCount) : QString());
    };
}

ReportExpression todayText(const QString &format)
{
    return [shown = Format(format)](const ReportContext &c) { return shown.text(c.today); };
}

// --- Layout ---

ReportLayout::ReportLayout(const ReportDefinition &definition, Buffer &buffer)
    : m_def(definition), m_buffer(buffer), m_today(services::today()),
      m_groupColumn(definition.groupBy.isEmpty() ? 0 : buffer.columnIndex(definition.groupBy)),
      m_headerHeight(m_groupColumn ? qMax(0, definition.groupHeader.height) : 0),
      m_detailHeight(qMax(0, definition.detail.height)), m_summaryHeight(qMax(0, definition.summary.height))
{
    // The groups and their sizes come from the buffer's totals, so the flow is known before the rows are read.
    const QList<Buffer::Run> runs = buffer.runs(m_groupColumn);
    m_groups.reserve(runs.size());
    int band = 0;
    qint64 y = 0;
    for (const Buffer::Run &run : runs) {
        const int rowsOf = run.last - run.first + 1;
        m_groups.append({run.first, run.last, band, y});
        band += headerBands() + (m_detailHeight ? rowsOf : 0);
        y += m_headerHeight + qint64(m_detailHeight) * rowsOf;
    }
    m_bandCount = band + (m_summaryHeight ? 1 : 0);
    m_flowHeight = y + m_summaryHeight;
}

PlacedBand ReportLayout::band(int index) const
{
    if (m_summaryHeight && index == m_bandCount - 1)
        return {PlacedBand::Summary, m_flowHeight - m_summaryHeight, rows(), -1};
    const auto after = std::upper_bound(m_groups.begin(), m_groups.end(), index,
                                        [](int i, const Group &g) { return i < g.band; });
    const int g = qMax(0, int(after - m_groups.begin()) - 1);
    const Group &group = m_groups.at(g);
    const int detail = index - group.band - headerBands();
    if (detail < 0)
        return {PlacedBand::GroupHeader, group.y, group.first, g};
    return {PlacedBand::Detail, group.y + m_headerHeight + qint64(detail) * m_detailHeight, group.first + detail, g};
}

int ReportLayout::bandAt(qint64 y) const
{
    if (m_summaryHeight && y >= m_flowHeight - m_summaryHeight)
        return m_bandCount - 1;
    if (m_groups.isEmpty() || (!m_headerHeight && !m_detailHeight))
        return 0; // the summary, if any, is the only band
    const auto after = std::upper_bound(m_groups.begin(), m_groups.end(), y,
                                        [](qint64 at, const Group &g) { return at < g.y; });
    const Group &group = m_groups.at(qMax(0, int(after - m_groups.begin()) - 1));
    const qint64 within = y - group.y - m_headerHeight;
    if (within < 0 || !m_detailHeight)
        return group.band;
    return group.band + headerBands() + int(qMin<qint64>(group.last - group.first, within / m_detailHeight));
}

int ReportLayout::groupOf(int row) const
{
    if (row < 1 || row > rows())
        return -1;
    const auto it = std::upper_bound(m_groups.begin(), m_groups.end(), row,
                                     [](int r, const Group &g) { return r < g.first; });
    return int(it - m_groups.begin()) - 1;
}

QList<int> ReportLayout::pageStarts(int pageHeight) const
{
    const int top = m_def.header.height;
    const int bottom = qMax(top + 1, pageHeight - m_def.footer.height);
    QList<int> starts{0};
    int y = top;
    int band = 0;
    auto next = [&](int height) {
        if (band > starts.last() && y + height > bottom) {
            starts << band;
            y = top;
        }
        y += height;
        ++band;
    };
    for (const Group &g : m_groups) {
        if (m_headerHeight)
            next(m_headerHeight);
        for (int r = g.first; m_detailHeight && r <= g.last; ++r)
            next(m_detailHeight);
    }
    if (m_summaryHeight)
        next(m_summaryHeight);
    return starts;
}

QList<PlacedBand> ReportLayout::page(const QList<int> &starts, int page, int pageHeight) const
{
    QList<PlacedBand> bands;
    if (m_def.header.height > 0)
        bands.append({PlacedBand::Header, 0, 0, -1});
    const int from = starts.value(page, m_bandCount);
    const int to = page + 1 < starts.size() ? starts.at(page + 1) : m_bandCount;
    const qint64 top = from < m_bandCount ? band(from).y : 0;
    // The bands of a page follow one another as in the flow, from the top of the body.
    for (int i = from; i < to; ++i) {
        const PlacedBand placed = band(i);
        bands.append({placed.kind, m_def.header.height + placed.y - top, placed.row, placed.group});
    }
    if (m_def.footer.height > 0)
        bands.append({PlacedBand::Footer, pageHeight - m_def.footer.height, 0, -1});
    return bands;
}

ReportContext ReportLayout::context(const PlacedBand &band, int page, int pageCount)
{
    // A detail shows its row, a group header its group's first and the summary the last: they come in before
    // the texts ask for them (in a print pass the pass's window moves on to them). A page's header and footer
    // have no row.
    m_buffer.readTo(band.row);
    ReportContext c;
    c.buffer = &m_buffer;
    c.row = band.row;
    c.page = page;
    // Over rows that could not all be read the pages are not all known: no count, as no totals.
    c.pageCount = m_buffer.failed() ? 0 : pageCount;
    c.today = m_today;
    if (const int group = band.group >= 0 ? band.group : groupOf(band.row); band.kind != PlacedBand::Summary && group >= 0) {
        c.group = group;
        c.groupColumn = m_groupColumn;
    }
    return c;
}

const Band &bandOf(const ReportDefinition &definition, PlacedBand::Kind kind)
{
    switch (kind) {
    case PlacedBand::Header:
        return definition.header;
    case PlacedBand::GroupHeader:
        return definition.groupHeader;
    case PlacedBand::Detail:
        return definition.detail;
    case PlacedBand::Summary:
        return definition.summary;
    case PlacedBand::Footer:
        break;
    }
    return definition.footer;
}

void resolveBand(const ReportDefinition &definition, const PlacedBand &placed, const ReportContext &context,
                 qint64 yOffset, PrintedPage &out)
{
    const Band &band = bandOf(definition, placed.kind);
    // A band in sight of the screen or on a page: its place relative to them fits an int.
    const int top = int(placed.y + yOffset);
    for (const ReportText &t : band.texts) {
        const int height = t.height > 0 ? t.height : band.height - t.y;
        out.texts.append({QRect(t.x, top + t.y, t.width, height), t.value ? t.value(context) : QString(), t.alignment,
                          t.font, t.opaque, t.figure, t.fixed});
    }
    for (const ReportBar &b : band.bars)
        out.bars.append(QRect(b.x, top + b.y, b.width, b.height));
}

void PagePainter::paint(const PrintedPage &page)
{
    m_painter.save();
    if (page.scale != 1) {
        m_painter.translate(m_origin);
        m_painter.scale(page.scale, page.scale);
        m_painter.translate(-m_origin);
    }
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(Qt::black);
    for (const QRect &bar : page.bars)
        m_painter.drawRect(toDevice(bar));
    m_painter.setPen(Qt::black);
    m_painter.setBrush(Qt::NoBrush);
    for (const PrintedText &t : page.texts) {
        if (t.text.isEmpty())
            continue;
        Made &made = m_fonts[select(t.font)];
        // A band lower than its type still shows the whole line.
        QRectF rect = toDevice(t.rect);
        rect.setHeight(qMax(rect.height(), made.height));
        const qreal least = kMinimumFigurePoints / page.scale;
        const FittedText fitted = t.fixed || surelyFits(made, t.text, rect.width())
                                          || advanceOf(made, t.text) <= rect.width()
                                      ? FittedText{t.text, made.made}
                                      : made.fitted.get({t.text, rect.width(), least, t.figure}, [&] {
                                            return fitText(t.text, t.figure, made.made, made.metrics, rect.width(),
                                                           m_painter.device(), least);
                                        });
        const int flags = int(t.alignment | Qt::AlignTop) | Qt::TextSingleLine | Qt::TextDontClip;
        if (fitted.font != made.made) {
            m_painter.setFont(fitted.font);
            m_current = -1;
        }
        if (t.opaque)
            m_painter.fillRect(m_painter.boundingRect(rect, flags, fitted.text) & rect, Qt::white);
        if (fitted.tellsValue())
            m_marked.append({m_painter.transform().mapRect(rect), t.text});
        m_painter.drawText(rect.translated(0, fitted.shift), flags, fitted.text);
    }
    m_painter.restore();
    m_current = -1; // restore() put the painter's own font back
}

int PagePainter::select(const ui::Font &font)
{
    auto same = [](const ui::Font &a, const ui::Font &b) {
        return a.points == b.points && a.weight == b.weight && a.italic == b.italic && a.underline == b.underline
               && a.face == b.face;
    };
    if (m_current >= 0 && same(m_fonts.at(m_current).font, font))
        return m_current;
    m_current = -1;
    for (int i = 0; i < m_fonts.size() && m_current < 0; ++i)
        if (same(m_fonts.at(i).font, font))
            m_current = i;
    if (m_current < 0) {
        QFont made = services::font(font.face, font.points, font.weight);
        made.setUnderline(font.underline);
        made.setItalic(font.italic);
        const QFontMetricsF metrics(made, m_painter.device());
        m_fonts.append({font, made, metrics, metrics.height(), {}, {}, {}});
        m_current = int(m_fonts.size() - 1);
    }
    m_painter.setFont(m_fonts.at(m_current).made);
    return m_current;
}

qreal PagePainter::advanceOf(Made &made, const QString &text)
{
    return made.advances.get(text, [&] { return made.metrics.horizontalAdvance(text); });
}

bool PagePainter::surelyFits(Made &made, const QString &text, qreal width)
{
    // Only characters drawn one glyph each, side by side, add up: ASCII, CJK ideographs and punctuation and the
    // full-width forms. Kerning may still move a pair a little, hence the margin; a text near its width is
    // measured whole.
    qreal sum = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= 0x20 && u < 0x7f) || (u >= 0x3000 && u < 0x3040) || (u >= 0x4e00 && u < 0xa000)
              || (u >= 0xff00 && u < 0xfff0)))
            return false;
        if (u < 0x7f) {
            qreal &advance = made.ascii[u - 0x20];
            if (advance < 0)
                advance = made.metrics.horizontalAdvance(c);
            sum += advance;
            continue;
        }
        auto it = made.characters.constFind(u);
        if (it == made.characters.constEnd())
            it = made.characters.insert(u, made.metrics.horizontalAdvance(c));
        sum += *it;
    }
    return sum * 1.02 + 1 <= width;
}

QRectF PagePainter::toDevice(const QRect &r) const
{
    return QRectF(m_origin.x() + r.x() * m_scale, m_origin.y() + r.y() * m_scale, r.width() * m_scale,
                  r.height() * m_scale);
}

// --- The report control ---

ReportView::ReportView(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setBackgroundRole(QPalette::Base);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Base, Qt::white);
    viewport()->setPalette(pal);
    viewport()->setAutoFillBackground(true);
    // Rows, counts and totals are read while the report paints: a failure is reported once that has ended,
    // and the report is laid out again over the rows read before it, with no totals.
    m_buffer.setFailureHandler([this](int code, const QString &text) {
        QMetaObject::invokeMethod(
            this,
            [this, code, text] {
                m_layout.reset();
                relayout();
                showDatabaseError(code, text, m_transaction ? m_transaction->lockWaitMs : 5000);
            },
            Qt::QueuedConnection);
    });
    relayout();
}

ReportView::~ReportView() = default;

void ReportView::setDefinition(const ReportDefinition &definition)
{
    m_layout.reset();
    m_def = definition;
    m_buffer.setDefinition(definition.data);
    relayout();
}

int ReportView::retrieve(const QVariantList &arguments)
{
    m_layout.reset();
    const int result = m_transaction ? m_buffer.retrieve(*m_transaction, arguments) : (m_buffer.reset(), -1);
    verticalScrollBar()->setValue(0);
    relayout();
    if (result < 0 && m_transaction)
        showDatabaseError(m_transaction->SQLDBCode, m_transaction->SQLErrText, m_transaction->lockWaitMs);
    return result;
}

qreal ReportView::scale() const { return viewport()->logicalDpiX() / 2540.0; }

int ReportView::bodyHeight() const
{
    return qMax(1, int(viewport()->height() / scale()) - m_def.header.height - m_def.footer.height);
}

void ReportView::relayout()
{
    if (!m_layout)
        m_layout = std::make_unique<ReportLayout>(m_def, m_buffer);
    int width = 0;
    for (const Band *band : {&m_def.header, &m_def.groupHeader, &m_def.detail, &m_def.summary, &m_def.footer}) {
        for (const ReportText &t : band->texts)
            width = qMax(width, t.x + t.width);
        for (const ReportBar &b : band->bars)
            width = qMax(width, b.x + b.width);
    }
    const int visibleWidth = int(viewport()->width() / scale());
    horizontalScrollBar()->setRange(0, qMax(0, width - visibleWidth));
    horizontalScrollBar()->setPageStep(visibleWidth);
    horizontalScrollBar()->setSingleStep(500);
    const int body = bodyHeight();
    // A scroll bar counts in int: a flow longer than that (a list of millions of rows) scrolls in steps of
    // several units.
    const qint64 range = qMax<qint64>(0, m_layout->flowHeight() - body);
    m_scrollUnit = int(range / (std::numeric_limits<int>::max() / 2) + 1);
    verticalScrollBar()->setRange(0, int(range / m_scrollUnit));
    verticalScrollBar()->setPageStep(qMax(1, body / m_scrollUnit));
    verticalScrollBar()->setSingleStep(qMax(1, m_def.detail.height / m_scrollUnit));
    viewport()->update();
}

qint64 ReportView::scrolled() const
{
    const QScrollBar *bar = verticalScrollBar();
    if (!m_layout)
        return 0;
    // The end of the bar is the end of the flow, whatever its unit.
    if (bar->value() >= bar->maximum())
        return qMax<qint64>(0, m_layout->flowHeight() - bodyHeight());
    return qint64(bar->value()) * m_scrollUnit;
}

void ReportView::resizeEvent(QResizeEvent *e)
{
    QAbstractScrollArea::resizeEvent(e);
    relayout();
}

void ReportView::collect(PrintedPage &body, PrintedPage &fixed)
{
    if (!m_layout)
        return;
    const int height = bodyHeight();
    const qint64 scrolled = this->scrolled();
    // A screen page is a page step of the scroll bar. The last one stops at the end of the flow, short of a
    // whole step after the one before it, and is still a page of its own: the end shows page N of N.
    const int pageCount = qMax(1, int(std::ceil(double(m_layout->flowHeight()) / height)));
    const int page = verticalScrollBar()->value() >= verticalScrollBar()->maximum()
                         ? pageCount
                         : int(qMin<qint64>(pageCount, scrolled / height + 1));
    auto add = [&](const PlacedBand &band, qint64 yOffset, PrintedPage &out) {
        const ReportContext c = m_layout->context(band, page, pageCount);
        resolveBand(m_def, band, c, yOffset, out);
    };
    // Far past the rows known (the scroll bar dragged): the last rows come from the end first, so that the
    // rows in sight are read where they are rather than after every row before them.
    if (m_layout->bandCount() > 0 && !m_buffer.endKnown() && m_buffer.endReadable()
        && m_layout->band(m_layout->bandAt(scrolled)).row > m_buffer.knownCount() + 2 * Buffer::kReadRows)
        m_buffer.readEnd();
    // Only the body bands in sight are resolved.
    for (int i = m_layout->bandAt(scrolled); i < m_layout->bandCount(); ++i) {
        const PlacedBand band = m_layout->band(i);
        if (band.y >= scrolled + height)
            break;
        add(band, m_def.header.height - scrolled, body);
    }
    add({PlacedBand::Header, 0, 0, -1}, 0, fixed);
    add({PlacedBand::Footer, m_def.header.height + height, 0, -1}, 0, fixed);
}

PrintedPage ReportView::visibleContent()
{
    PrintedPage body, fixed;
    collect(body, fixed);
    body.texts << fixed.texts;
    body.bars << fixed.bars;
    return body;
}

void ReportView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const qreal s = scale();
    const QPointF origin(-horizontalScrollBar()->value() * s, 0);
    PrintedPage body, fixed;
    collect(body, fixed);
    // The body scrolls between the header and the footer, which stay in place.
    PagePainter pages(painter, s, origin);
    painter.save();
    painter.setClipRect(QRectF(0, m_def.header.height * s, viewport()->width(), bodyHeight() * s));
    pages.paint(body);
    painter.restore();
    pages.paint(fixed);
    m_marked = pages.marked();
}

bool ReportView::viewportEvent(QEvent *e)
{
    if (e->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(e);
        for (const PagePainter::Marked &m : std::as_const(m_marked))
            if (m.rect.contains(help->pos())) {
                QToolTip::showText(help->globalPos(), m.text, viewport(), m.rect.toAlignedRect());
                return true;
            }
        QToolTip::hideText();
        e->ignore();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(e);
}
} // namespace dw
