#include "dataview/print.h"

#include "dataview/fit.h"
#include "dataview/format.h"

#include "platform/messagebox.h"
#include "platform/services.h"
#include "platform/units.h"
#include "platform/window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QTableView>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QPainter>
#include <QProgressDialog>
#include <cmath>
#include <numeric>
#include <optional>

namespace dw {

namespace {
PrintRecorder &recorder()
{
    static PrintRecorder r;
    return r;
}

std::function<void(QProgressDialog &, int)> &progressHook()
{
    static std::function<void(QProgressDialog &, int)> hook;
    return hook;
}

QMarginsF evenMargins(qreal millimetres) { return QMarginsF(millimetres, millimetres, millimetres, millimetres); }

// The name a job carries in the printer's queue: the title of the window printing, else the view's name.
QString jobName(QWidget *parent, const QString &viewName)
{
    const QString title = parent ? parent->window()->windowTitle() : QString();
    return title.isEmpty() ? viewName : title;
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// Why a print's rows could not be read: the pass's own failure, else the view's (rows read and kept).
QString readFailure(const Buffer &buffer, const Buffer::Pass &pass)
{
    if (pass.failureCode())
        return databaseErrorText(pass.failureCode(), pass.failureText());
    return buffer.failed() ? databaseErrorText(buffer.failureCode(), buffer.failureText()) : QString();
}

// The print's progress. 取消, Esc and the dialog's close box ask the print to stop; the dialog stays up, modal,
// until the print has unwound: hidden at once, it would let the windows under it close while the print still
// works on them.
class PrintProgress : public QProgressDialog {
public:
    explicit PrintProgress(QWidget *parent) : QProgressDialog(parent)
    {
        disconnect(this, &QProgressDialog::canceled, this, nullptr); // its own cancel hides the dialog
        connect(this, &QProgressDialog::canceled, this, [this] { m_stopped = true; });
    }
    bool stopped() const { return m_stopped; }
    void stop() { m_stopped = true; }
    void reject() override { emit canceled(); }

protected:
    void closeEvent(QCloseEvent *e) override
    {
        e->ignore();
        emit canceled();
    }

private:
    bool m_stopped = false;
};

} // namespace

// --- Reports ---

ReportPages::ReportPages(const ReportDefinition &definition, Buffer &buffer, const QDate &today,
                         ReportLayout *layout)
    : m_def(definition), m_buffer(buffer), m_pass(buffer), m_today(today), m_layout(layout)
{
}

ReportPages::~ReportPages() = default;

QString ReportPages::failure() const { return readFailure(m_buffer, m_pass); }

print::Paper ReportPages::paper() const
{
    print::Paper paper{{}, evenMargins(m_def.margin / 100.0)};
    if (m_def.paper)
        paper.size = QPageSize(*m_def.paper);
    return paper;
}

int ReportPages::paginate(QSize printable)
{
    if (!m_layout) {
        m_ownLayout = std::make_unique<ReportLayout>(m_def, m_buffer);
        m_layout = m_ownLayout.get();
    }
    m_pageHeight = printable.height();
    m_starts = m_layout->pageStarts(m_pageHeight);
    return int(m_starts.size());
}

void ReportPages::layoutPage(int page, PrintedPage &out)
{
    for (const PlacedBand &band : m_layout->page(m_starts, page - 1, m_pageHeight)) {
        ReportContext c = m_layout->context(band, page, int(m_starts.size()));
        c.today = m_today;
        resolveBand(m_def, band, c, 0, out);
    }
}

PrintedDocument ReportView::layoutDocument(QSizeF paperMillimetres, const QDate &today)
{
    const ReportDefinition &definition = m_def;
    ReportPages source(definition, m_buffer, today, m_layout.get());
    const int margins = 2 * definition.margin;
    const int count = source.paginate(QSize(qRound(paperMillimetres.width() * 100) - margins,
                                            qRound(paperMillimetres.height() * 100) - margins));
    PrintedDocument doc;
    doc.name = definition.data.name;
    doc.pages.resize(count);
    for (int p = 0; p < count; ++p)
        source.layoutPage(p + 1, doc.pages[p]);
    return doc;
}

int ReportView::print(QString *error)
{
    ReportPages source(m_def, m_buffer, services::today(), m_layout.get());
    const int pages = printPages(source, jobName(this, m_def.data.name), this, error);
    return pages > 0 ? 1 : pages;
}

// --- Grids ---

namespace {
// Window units to thousandths of a centimetre: 4.5 units a pixel across, 4 down, 96 pixels an inch.
int acrossOf(int unitsX) { return int(qRound64(unitsX * 2540.0 / (units::kUnitsPerPixelX * 96))); }
int downOf(int unitsY) { return int(qRound64(unitsY * 2540.0 / (units::kUnitsPerPixelY * 96))); }

} // namespace

constexpr qreal kGridMargin = 10.16; // millimetres, on every side

// How far a printed cell keeps its text off its sides: a pixel, as a grid cell on screen does, and on the
// paper at least three quarters of a point, so that a figure never runs into the next column's text.
constexpr int kScreenPadding = 26;    // a pixel, thousandths of a centimetre
constexpr qreal kPaperPadding = 26.5; // three quarters of a point

GridPages::GridPages(Buffer &buffer, QList<int> widths) : m_buffer(buffer), m_pass(buffer)
{
    // The grid is laid out as on screen; paginate decides the size it is drawn at.
    const Definition &def = m_buffer.definition();
    for (const Cell &cell : def.cells) {
        m_figure << showsFigure(def, cell.name, cell.format, bool(cell.compute));
        m_shown << acrossOf(widths.value(m_shown.size(), cell.width));
    }
    // The row numbers: the computed cells the grid starts with, else a first cell of whole numbers (the line).
    while (m_lead < def.cells.size() && def.cells.at(m_lead).compute)
        ++m_lead;
    if (m_lead == 0 && !def.cells.isEmpty()) {
        const int column = m_buffer.columnIndex(def.cells.first().name);
        if (column > 0 && def.columns.at(column - 1).type == Type::Long)
            m_lead = 1;
    }
    m_width = m_shown;
    m_font = def.font;
    if (m_font.points <= 0)
        m_font.points = 9;
    m_headerFont = m_font;
    m_headerFont.weight = 700;
    m_headerHeight = qMax(downOf(def.headerHeight), 559);
    m_lineHeight = qMax(downOf(def.rowHeight), 508);
}

QString GridPages::failure() const { return readFailure(m_buffer, m_pass); }

int GridPages::gridWidth() const { return std::accumulate(m_shown.cbegin(), m_shown.cend(), 0); }

qreal GridPages::leastScale() const { return qMin(1.0, qreal(kMinimumPrintedPoints) / m_font.points); }

int GridPages::paddingAt(qreal scale) const { return qMax(kScreenPadding, int(std::ceil(kPaperPadding / scale))); }

QList<int> GridPages::printedWidths(const QList<int> &need) const
{
    // With the padding of the least size, so that a column is as wide at every size the grid is drawn at.
    const int padding = paddingAt(leastScale());
    QList<int> widths = m_shown;
    for (int c = 0; c < widths.size(); ++c)
        if (need.value(c) > 0)
            widths[c] = qMax(widths.at(c), need.at(c) + 2 * padding);
    return widths;
}

QList<QList<int>> GridPages::columnsAcross(qreal scale, int printableWidth, bool *overflows) const
{
    const int room = int(printableWidth / scale);
    QList<QList<int>> across;
    QList<int> current;
    int used = 0;
    bool own = false; // the page holds a column of its own besides the row numbers
    for (int c = 0; c < m_width.size(); ++c) {
        if (overflows && used > room)
            *overflows = true;
        if (c >= m_lead && own && used + m_width.at(c) > room) {
            across << current;
            current.clear();
            used = 0;
            for (int l = 0; l < m_lead; ++l) {
                current << l;
                used += m_width.at(l);
            }
            own = false;
        }
        current << c;
        used += m_width.at(c);
        own = own || c >= m_lead;
    }
    across << current;
    if (overflows && used > room)
        *overflows = true;
    return across;
}

QList<int> GridPages::widestFigures()
{
    // The texts each figure cell shows at its widest: the last row's number; a column's least and greatest
    // number (its sign, its digits); an identifier's longest text; any date (all as wide). The database finds
    // them in one reading of the rows.
    const Definition &def = m_buffer.definition();
    QList<QVariantList> widest(def.cells.size());
    QList<std::pair<Aggregate, int>> asked;
    QList<int> askedFor; // the cell of each total asked
    for (int c = 0; c < def.cells.size(); ++c) {
        const Cell &cell = def.cells.at(c);
        const int column = m_buffer.columnIndex(cell.name);
        if (!m_figure.at(c) || (column == 0 && !cell.compute))
            continue; // a text is cut at its column's side: the column keeps its width
        const Type type = column > 0 ? def.columns.at(column - 1).type : Type::Long;
        if (cell.compute) {
            widest[c] << qint64(m_rows);
        } else if (type == Type::Date) {
            widest[c] << QDate(2000, 12, 28);
        } else if (type == Type::Text) {
            asked.append({Aggregate::Longest, column});
            askedFor << c;
        } else {
            asked.append({Aggregate::Min, column});
            asked.append({Aggregate::Max, column});
            askedFor << c << c;
        }
    }
    const QVariantList found = asked.isEmpty() ? QVariantList() : m_pass.totals(asked);
    for (int i = 0; i < found.size(); ++i)
        widest[askedFor.at(i)] << found.at(i);
    // Measured in the grid's face at a large size, in ems: the paper's type is not hinted, so a figure's
    // advance is in proportion to its size.
    QFont font = services::font(m_font.face, m_font.points, m_font.weight);
    font.setPixelSize(1000);
    const QFontMetricsF metrics(font);
    const qreal perEm = m_font.points * 2540.0 / 72;
    QList<int> need;
    for (int c = 0; c < def.cells.size(); ++c) {
        qreal advance = 0;
        for (const QVariant &value : std::as_const(widest.at(c)))
            advance = qMax(advance, metrics.horizontalAdvance(formatValue(value, def.cells.at(c).format)) / 1000 * perEm);
        // A little over, for the rounding of the paper's own measures.
        need << (advance > 0 ? int(std::ceil(advance * 1.01)) + 1 : 0);
    }
    return need;
}

print::Paper GridPages::paper() const
{
    print::Paper paper{{}, evenMargins(kGridMargin)};
    // A grid wider than the paper upright is turned across, so that it is drawn less small. The printer's own
    // paper is known once the job is open; the turn is asked for before, on the common A4.
    const qreal upright = QPageSize(QPageSize::A4).size(QPageSize::Millimeter).width() - 2 * kGridMargin;
    if (gridWidth() > qRound(upright * 100))
        paper.orientation = QPageLayout::Landscape;
    return paper;
}

int GridPages::paginate(QSize printable)
{
    m_rows = m_buffer.countRows();
    m_width = printedWidths(widestFigures());
    // Drawn smaller, type, padding and all, where the grid is wider than the paper (each text keeps its place
    // in its column), down to the least readable size; the columns beyond the paper then go on the pages after.
    // Then drawn as large as that number of pages across allows, so that the pages are filled, not the type
    // shrunk for a second page that holds little.
    const int width = printable.width();
    const qsizetype pagesAcross = columnsAcross(leastScale(), width).size();
    // A column wider than the paper even at the least size is drawn at that size.
    auto fitsAt = [&](qreal scale) {
        bool overflows = false;
        return columnsAcross(scale, width, &overflows).size() <= pagesAcross && !overflows;
    };
    qreal fits = leastScale(), larger = 1;
    if (fitsAt(larger))
        fits = larger;
    for (int i = 0; i < 20 && fits < larger; ++i) {
        const qreal scale = (fits + larger) / 2;
        (fitsAt(scale) ? fits : larger) = scale;
    }
    m_scale = fits;
    m_across = columnsAcross(m_scale, width);
    m_padding = paddingAt(m_scale);
    m_roomWidth = int(width / m_scale);
    m_roomHeight = int(printable.height() / m_scale);
    // The rows under the headings, the page's number at the foot.
    m_perPage = qMax(1, (m_roomHeight - m_headerHeight - m_lineHeight) / m_lineHeight);
    m_textsOf = 0;
    m_pages = qMax(1, (m_rows + m_perPage - 1) / m_perPage) * int(m_across.size());
    return m_pages;
}

void GridPages::layoutPage(int page, PrintedPage &out)
{
    out.scale = m_scale;
    const QList<Cell> &cells = m_buffer.definition().cells;
    const int rowPage = (page - 1) / pagesAcross() + 1;
    const QList<int> &shown = m_across.at((page - 1) % pagesAcross());
    const int first = (rowPage - 1) * m_perPage + 1;
    const int last = qMin(m_rows, first + m_perPage - 1);
    // A page of rows printed across several pages reads its rows once, for the first of them.
    const bool kept = pagesAcross() > 1;
    if (kept && m_textsOf != rowPage) {
        m_texts.clear();
        for (int r = first; r <= last; ++r) {
            m_buffer.readTo(r); // in a pass, the pass's window moves on to it
            QStringList &texts = m_texts.emplace_back();
            for (int c = 0; c < cells.size(); ++c)
                texts << m_buffer.shownText(r, c);
        }
        m_textsOf = rowPage;
    }
    QList<int> xs;
    for (int x = 0; const int c : shown) {
        xs << x;
        out.texts.append({QRect(x, 0, m_width.at(c), m_headerHeight), cells.at(c).header, Qt::AlignHCenter,
                          m_headerFont, false, false, true});
        x += m_width.at(c);
    }
    for (int r = first; r <= last; ++r) {
        if (!kept)
            m_buffer.readTo(r);
        const int y = m_headerHeight + (r - first) * m_lineHeight;
        for (int i = 0; i < shown.size(); ++i) {
            const int c = shown.at(i);
            const Qt::Alignment across = cells.at(c).alignment & Qt::AlignHorizontal_Mask;
            const QRect rect(xs.at(i) + m_padding, y, qMax(0, m_width.at(c) - 2 * m_padding), m_lineHeight);
            const QString text = kept ? m_texts.value(r - first).value(c) : m_buffer.shownText(r, c);
            out.texts.append({rect, text, across, m_font, false, m_figure.at(c)});
        }
    }
    // The page's number and the count, as the lists print them.
    out.texts.append({QRect(m_padding, m_roomHeight - m_lineHeight, m_roomWidth - 2 * m_padding, m_lineHeight),
                      QStringLiteral("第 %1 页,共 %2 页").arg(page).arg(m_pages), Qt::AlignLeft, m_font, false, true,
                      true});
}

int DataView::print(QString *error)
{
    acceptText();
    // A column the operator widened or narrowed prints as it is shown.
    QList<int> widths;
    for (int c = 0; c < m_buffer.definition().cells.size(); ++c) {
        const int designed = m_buffer.definition().cells.at(c).width;
        const int shown = m_grid->horizontalHeader()->sectionSize(c);
        widths << (shown == units::toPixelsX(designed) ? designed : units::toUnitsX(shown));
    }
    GridPages source(m_buffer, widths);
    const int pages = printPages(source, jobName(this, m_buffer.definition().name), this, error);
    return pages > 0 ? 1 : pages;
}

// --- The print path ---

int printPages(PageSource &document, const QString &documentName, QWidget *parent, QString *error)
{
    // The dialog comes first: counting the rows of a long result takes a moment of its own.
    PrintProgress progress(parent);
    // Its window cannot close under it: a close (or a halt) stops the print, and is made once it has returned.
    const ui::NestedLoop loop([&progress] { progress.stop(); }, parent);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setWindowTitle(QStringLiteral("打印"));
    progress.setCancelButtonText(QStringLiteral("取消"));
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.setRange(0, 0);
    progress.setLabelText(QStringLiteral("正在打印“%1”").arg(documentName));
    progress.show();
    QCoreApplication::processEvents();
    if (progress.stopped())
        return 0;

    const int job = print::openPaged(documentName, document.paper());
    if (job < 0) {
        setError(error, QStringLiteral("打印未能开始：") + print::lastError());
        return -1;
    }
    const QRectF area = print::pageLayout(job).paintRect(QPageLayout::Millimeter);
    const int count = document.paginate(QSize(qRound(area.width() * 100), qRound(area.height() * 100)));
    std::optional<PagePainter> painter;
    if (QPainter *p = print::painter(job))
        painter.emplace(*p, p->device()->logicalDpiX() / 2540.0);
    progress.setRange(0, count);
    // The dialog is brought up to date a few times a second, not for every page.
    QElapsedTimer sinceUpdate;
    auto update = [&](int done) {
        progress.setLabelText(QStringLiteral("正在打印“%1”\n第 %2 页,共 %3 页")
                                  .arg(documentName)
                                  .arg(qMin(done + 1, count))
                                  .arg(count));
        progress.setValue(done);
        QCoreApplication::processEvents();
        sinceUpdate.start();
    };
    update(0);

    PrintedPage page; // its lists keep their room from page to page
    for (int p = 1; p <= count && !progress.stopped(); ++p) {
        if (p > 1 && print::newPage(job) < 0) {
            setError(error, QStringLiteral("打印没有完成：") + print::lastError());
            print::abort(job);
            return -1;
        }
        page.texts.clear();
        page.bars.clear();
        page.scale = 1;
        document.layoutPage(p, page);
        // A page whose rows could not be read is not printed as if they were blank.
        if (const QString failed = document.failure(); !failed.isEmpty()) {
            setError(error, QStringLiteral("打印没有完成：") + failed);
            print::abort(job);
            return -1;
        }
        if (recorder())
            recorder()(documentName, p, count, page);
        if (painter)
            painter->paint(page);
        if (progressHook())
            progressHook()(progress, p);
        if (sinceUpdate.elapsed() >= 100)
            update(p);
    }
    if (progress.stopped()) {
        print::abort(job);
        return 0;
    }
    if (print::close(job) < 0) {
        setError(error, QStringLiteral("打印没有完成：") + print::lastError());
        return -1;
    }
    return count;
}

void showPrintError(const QString &error) { msg::show(QStringLiteral("错误!"), error, msg::Icon::StopSign); }

void setPrintRecorder(PrintRecorder r) { recorder() = std::move(r); }

void setPrintProgressHook(std::function<void(QProgressDialog &, int)> hook) { progressHook() = std::move(hook); }
} // namespace dw
