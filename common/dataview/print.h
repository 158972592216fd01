#pragma once
#include "dataview/dataview.h"
#include "dataview/report.h"
#include "platform/export.h"
#include "platform/printjob.h"

#include <QDate>
#include <QList>
#include <QSize>
#include <QString>
#include <functional>

class QProgressDialog;
class QWidget;

// The one print path of the data views: grids and reports alike go, page by page, as one job to the current
// printer (the application printer, else the system default, else a PDF in PRINTOUT/), while a progress
// dialog shows the page count and lets the operator cancel. Pages are laid out one at a time and the rows
// are read as the pages go, none kept, so printing needs no more memory for a thousand pages than for one.
namespace dw {

// A document laid out one page at a time, in thousandths of a centimetre from the top-left corner of the
// printable area.
class COMMON_EXPORT PageSource {
public:
    virtual ~PageSource() = default;
    virtual print::Paper paper() const = 0;
    // Lays the document out for a printable area of this size; returns the number of pages (at least 1).
    virtual int paginate(QSize printable) = 0;
    // The texts and bars of a page (1-based), after paginate.
    virtual void layoutPage(int page, PrintedPage &out) = 0;
    // Why the document could not be laid out whole (its rows could not be read), in the operator's words;
    // empty while it can.
    virtual QString failure() const { return {}; }
};

// The pages of a report: its bands, paginated, resolved a page at a time against a date fixed for the job.
// The layout of a report view over the same rows serves as it is; without one, one is made.
class COMMON_EXPORT ReportPages : public PageSource {
public:
    ReportPages(const ReportDefinition &definition, Buffer &buffer, const QDate &today,
                ReportLayout *layout = nullptr);
    ~ReportPages() override;
    print::Paper paper() const override;
    int paginate(QSize printable) override;
    void layoutPage(int page, PrintedPage &out) override;
    QString failure() const override;

private:
    const ReportDefinition &m_def;
    Buffer &m_buffer;
    Buffer::Pass m_pass; // the rows go by as the pages do
    QDate m_today;
    ReportLayout *m_layout;
    std::unique_ptr<ReportLayout> m_ownLayout;
    QList<int> m_starts; // where each page starts in the layout's flow
    int m_pageHeight = 0;
};

// The least type a grid prints its texts in, in points on the paper.
constexpr int kMinimumPrintedPoints = 6;

// The pages of a grid: the column headers at the top of every page, then as many rows as fit, each cell as
// the grid shows it, at the widths it shows (window units a cell; none: the definition's), and the page's number
// at its foot. A figure column is printed at least as wide as its widest figure needs, so that no figure is
// marked on paper. A grid wider than the paper upright is printed across the paper, drawn smaller as a whole
// where it is wider still, but never so small that its type is below kMinimumPrintedPoints on the paper: the
// columns that do not fit then continue on the pages after, each repeating the headers and the row numbers,
// the grid drawn as large as that number of pages across allows.
class COMMON_EXPORT GridPages : public PageSource {
public:
    explicit GridPages(Buffer &buffer, QList<int> widths = {});
    print::Paper paper() const override;
    int paginate(QSize printable) override;
    void layoutPage(int page, PrintedPage &out) override;
    QString failure() const override;
    // The pages across that one page of rows takes (after paginate).
    int pagesAcross() const { return int(m_across.size()); }

private:
    // The least scale that keeps the type readable on paper.
    qreal leastScale() const;
    int gridWidth() const; // as shown
    // How far a cell keeps its text off its sides, drawn at a scale.
    int paddingAt(qreal scale) const;
    // The widths of the cells as printed: as shown, a figure column as wide as its widest figure needs
    // (`need`, per cell, 0: no figure).
    QList<int> printedWidths(const QList<int> &need) const;
    // The cells of each page across, the grid drawn at a scale on paper this wide; whether a page is wider
    // than the paper (a column that alone is) in `overflows`.
    QList<QList<int>> columnsAcross(qreal scale, int printableWidth, bool *overflows = nullptr) const;
    // The advance of the widest figure of each cell at the grid's own size (0: no figure cell).
    QList<int> widestFigures();

    Buffer &m_buffer;
    Buffer::Pass m_pass; // the rows go by as the pages do
    int m_rows = 0;
    QList<int> m_shown;      // per cell, thousandths of a centimetre at the grid's own size, as shown
    QList<int> m_width;      // per cell, as printed (at the grid's own size)
    QList<bool> m_figure;    // per cell: whether it shows a figure
    int m_lead = 0;          // the cells repeated on every page across: the row or line numbers
    QList<QList<int>> m_across; // the cells of each page across a page of rows
    qreal m_scale = 1;          // the grid's size on paper
    ui::Font m_font, m_headerFont;
    int m_headerHeight = 0, m_lineHeight = 0, m_perPage = 1, m_padding = 0;
    int m_roomWidth = 0, m_roomHeight = 0; // the printable area at the grid's own size
    int m_pages = 1;
    // The shown texts of the page of rows last read, so that its pages across read its rows once.
    int m_textsOf = 0;
    QList<QStringList> m_texts;
};

// Prints a document as one job named `documentName`, with the progress dialog over `parent`. Returns the
// number of pages printed, 0 when the operator cancelled (nothing more is printed and a PDF is removed), -1
// when the job could not start or failed, the reason in `error`.
COMMON_EXPORT int printPages(PageSource &document, const QString &documentName, QWidget *parent,
                             QString *error = nullptr);
// Tells the operator that a print could not start or failed: "错误!" with the reason.
COMMON_EXPORT void showPrintError(const QString &error);

// The pages of a report laid out at once (see ReportView::layoutDocument).
struct PrintedDocument {
    QString name;
    QList<PrintedPage> pages;
};

// Tests: every page laid out for a job (its document name, number and the page count) before it is painted,
// and the progress dialog after each page, where a test can cancel.
using PrintRecorder = std::function<void(const QString &document, int page, int pageCount, const PrintedPage &)>;
COMMON_EXPORT void setPrintRecorder(PrintRecorder recorder);
COMMON_EXPORT void setPrintProgressHook(std::function<void(QProgressDialog &dialog, int page)> hook);
} // namespace dw
