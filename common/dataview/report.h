#pragma once
#include "dataview/buffer.h"
#include "dataview/fit.h"
#include "dataview/format.h"
#include "platform/export.h"
#include "platform/window.h"

#include <QDate>
#include <QFontMetricsF>
#include <QList>
#include <QPageSize>
#include <QRect>
#include <QString>
#include <QAbstractScrollArea>
#include <QHash>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QPainter;
class QSizeF;

// The report presentation of the data view engine: bands (header, group header, detail, summary, footer)
// laid out in thousandths of a centimetre, one group level, one painter shared by the screen and the printer.
// Only the bands in sight are resolved and drawn, so reports over large registers stay fast.
namespace dw {

struct PrintedDocument;

// What a band's text is evaluated against.
struct ReportContext {
    Buffer *buffer = nullptr; // totals are computed (and rows read) through it
    int row = 0;    // the detail row, or the first row of the group for a group header
    int group = -1; // the group's index among the buffer's runs of groupColumn, -1 for none
    int groupColumn = 0;
    int page = 1, pageCount = 1; // no count (0) when the rows could not all be read
    QDate today;
};
using ReportExpression = std::function<QString(const ReportContext &)>;

struct ReportText {
    int x = 0, y = 0, width = 0, height = 0; // within the band; height 0: to the band's bottom
    ReportExpression value;
    Qt::Alignment alignment = Qt::AlignLeft;
    ui::Font font;
    bool opaque = false; // drawn on a white background of its own
    bool figure = false; // an amount, a date, a number or a page count: drawn whole (dataview/fit.h)
    bool fixed = false;  // a fixed text of the view (a label, a heading): drawn whole as it is, never cut
};

struct ReportBar {
    int x = 0, y = 0, width = 0, height = 0;
};

struct Band {
    int height = 0;
    QList<ReportText> texts;
    QList<ReportBar> bars;
};

struct ReportDefinition {
    Definition data; // query, arguments, columns and order of the rows
    QString groupBy; // column of the one group level; empty: no groups
    Band header, groupHeader, detail, summary, footer;
    int margin = 635;
    std::optional<QPageSize::PageSizeId> paper; // none: the printer's default paper
};

// Texts of a band.
COMMON_EXPORT ReportExpression literal(const QString &text);
COMMON_EXPORT ReportExpression columnValue(const QString &column, const QString &format = {});
COMMON_EXPORT ReportExpression runningNumber();
enum class Scope { Group, All };
COMMON_EXPORT ReportExpression sumOf(const QString &column, Scope scope, const QString &format);
COMMON_EXPORT ReportExpression minOf(const QString &column, const QString &format);
COMMON_EXPORT ReportExpression maxOf(const QString &column, const QString &format);
// The page text: %1 is the page number, %2 the page count (blank when not known).
COMMON_EXPORT ReportExpression pageText(const QString &pattern);
COMMON_EXPORT ReportExpression todayText(const QString &format);


// A band placed on a page or in the screen's flow.
struct PlacedBand {
    enum Kind { Header, GroupHeader, Detail, Summary, Footer } kind = Detail;
    qint64 y = 0;  // from the top of the page's printable area (or of the flow: past 2^31 at millions of rows)
    int row = 0;   // detail row, or the group's first row
    int group = 0; // index into the groups, -1 for none
};

// Groups and their rows, and the flow of the body bands (group headers, details, summary) one after another.
// Each group's bands follow a rule (its header, then a detail a row), so only the groups are held and a band
// is worked out from its index or its place: a list of millions of rows lays out in the time and memory of
// its groups.
class COMMON_EXPORT ReportLayout {
public:
    ReportLayout(const ReportDefinition &definition, Buffer &buffer);

    // A group's rows, the index of its first band and where it starts in the flow.
    struct Group {
        int first = 0, last = 0;
        int band = 0;
        qint64 y = 0;
    };
    const QList<Group> &groups() const { return m_groups; }
    // The bands of the flow, by index (0-based), and the index of the band at a place in it (the first band
    // for a place above it, the last for one below).
    int bandCount() const { return m_bandCount; }
    PlacedBand band(int index) const;
    int bandAt(qint64 y) const;
    qint64 flowHeight() const { return m_flowHeight; }
    // The group a row belongs to.
    int groupOf(int row) const;

    // Pages for a printable area of this height: the header at the top, the footer at the bottom, the body
    // between; a band never straddles a page. Where each page's body starts in the flow, one index a page
    // (a list of ten years holds as little as a page's worth of its bands).
    QList<int> pageStarts(int pageHeight) const;
    // The bands of a page (0-based) of those starts, the header and the footer included.
    QList<PlacedBand> page(const QList<int> &starts, int page, int pageHeight) const;

    // What the band's texts are evaluated against; the band's row is read first when it is not yet.
    ReportContext context(const PlacedBand &band, int page, int pageCount);

private:
    const ReportDefinition &m_def;
    Buffer &m_buffer;
    QDate m_today; // once per layout, not per band
    int m_groupColumn = 0;
    QList<Group> m_groups;
    // A band lower than nothing takes no place in the flow: heights of 0 for bands there are none of.
    int m_headerHeight = 0; // a group's header: none without groups
    int m_detailHeight = 0;
    int m_summaryHeight = 0;
    int m_bandCount = 0;
    qint64 m_flowHeight = 0;

    int rows() const { return m_groups.isEmpty() ? 0 : m_groups.last().last; }
    int headerBands() const { return m_headerHeight > 0 ? 1 : 0; }
};

// The texts and bars of a page, resolved: what is printed, in thousandths of a centimetre.
struct PrintedText {
    QRect rect;
    QString text;
    Qt::Alignment alignment;
    ui::Font font;
    bool opaque = false;
    bool figure = false;
    bool fixed = false;
};
struct PrintedPage {
    QList<PrintedText> texts;
    QList<QRect> bars;
    qreal scale = 1; // drawn at this scale, type and all (a grid narrowed to the paper)
};

COMMON_EXPORT const Band &bandOf(const ReportDefinition &definition, PlacedBand::Kind kind);
COMMON_EXPORT void resolveBand(const ReportDefinition &definition, const PlacedBand &placed,
                               const ReportContext &context, qint64 yOffset, PrintedPage &out);
// Draws resolved texts and bars, for the screen and the printer alike; `scale` is device pixels per thousandth
// of a centimetre. A data text stays within the sides of its rectangle, so that it never covers the next column:
// a figure drawn smaller or marked, another text cut with an ellipsis (dataview/fit.h); a fixed text is drawn
// whole; no text is clipped. A figure is fitted at the size it has on the page (a page drawn smaller as a whole
// allows its figures no less type on the paper). Pages
// print thousands of texts in a handful of fonts: each font object is made once, and the painter's font changes
// only where the font does (a printer resolves a font anew on every change).
class COMMON_EXPORT PagePainter {
public:
    PagePainter(QPainter &painter, qreal scale, QPointF origin = {})
        : m_painter(painter), m_scale(scale), m_origin(origin)
    {
    }
    void paint(const PrintedPage &page);
    // The figures painted smaller or as a mark since the painter was made: where (device pixels, the painter's
    // transformation applied) and their whole text.
    struct Marked {
        QRectF rect;
        QString text;
    };
    const QList<Marked> &marked() const { return m_marked; }

private:
    // Makes the font current; its index among those made.
    int select(const ui::Font &font);
    QRectF toDevice(const QRect &r) const;

    QPainter &m_painter;
    const qreal m_scale;
    const QPointF m_origin;
    // What is worked out for the texts a print keeps drawing: a list repeats its dates, names and accounts from
    // row to row, and measuring a text costs as much as drawing it. Two generations: when the newer is full it
    // becomes the older, so the texts that keep coming stay and the ones seen once go.
    template <typename Key, typename Value, int kSize>
    class Recent {
    public:
        template <typename Make>
        Value get(const Key &key, Make make)
        {
            if (const auto it = m_newer.constFind(key); it != m_newer.constEnd())
                return *it;
            const auto old = m_older.constFind(key);
            Value value = old != m_older.constEnd() ? *old : make();
            if (m_newer.size() >= kSize) {
                m_older = std::exchange(m_newer, {});
                m_newer.reserve(kSize);
            }
            m_newer.insert(key, value);
            return value;
        }

    private:
        QHash<Key, Value> m_newer, m_older;
    };
    // A text that does not fit its width, as drawn there: the long names of a list come back again and again.
    struct FitKey {
        QString text;
        qreal width;
        qreal minimumPoints;
        bool figure;
        bool operator==(const FitKey &) const = default;
        friend size_t qHash(const FitKey &k, size_t seed = 0) { return qHashMulti(seed, k.text, k.width, k.figure); }
    };
    struct Made {
        ui::Font font;
        QFont made;
        QFontMetricsF metrics; // on the device
        qreal height;
        Recent<QString, qreal, 4096> advances;
        // Fewer: a list cuts few of its texts, and each fit holds two texts and a font.
        Recent<FitKey, FittedText, 2048> fitted;
        // Each character's own advance: a text whose characters add up to well under its width fits unmeasured.
        // The printable ASCII ones (the digits and signs of every amount, date and number) in a table of their
        // own, -1 until measured.
        QHash<char16_t, qreal> characters;
        std::array<qreal, 0x5f> ascii = [] {
            std::array<qreal, 0x5f> unmeasured;
            unmeasured.fill(-1);
            return unmeasured;
        }();
    };
    // The text's advance in the font, measured once.
    static qreal advanceOf(Made &made, const QString &text);
    // Whether the text surely fits the width without being measured whole (amounts, cheque numbers and dates
    // seen once are most of a long print's texts).
    static bool surelyFits(Made &made, const QString &text, qreal width);
    QList<Made> m_fonts;
    QList<Marked> m_marked;
    int m_current = -1;
};

// The report control: the header band stays at the top, the footer at the bottom, the body scrolls between.
class COMMON_EXPORT ReportView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ReportView(QWidget *parent = nullptr);
    ~ReportView() override;

    void setDefinition(const ReportDefinition &definition);
    const ReportDefinition &definition() const { return m_def; }
    void setTransaction(db::Transaction &transaction) { m_transaction = &transaction; }
    // A failed retrieve is reported in the data views' database-error box.
    int retrieve(const QVariantList &arguments);
    const Buffer &buffer() const { return m_buffer; }
    int rowCount() { return m_buffer.rowCount(); }
    // Prints the report as retrieved, its pages as laid out on screen (see printPages); 1, 0 when the operator cancelled, -1 on failure.
    int print(QString *error = nullptr);
    // Its pages for a paper of this size, laid out at once against a date (tests and previews).
    PrintedDocument layoutDocument(QSizeF paperMillimetres, const QDate &today);

    // What the screen shows now, in thousandths of a centimetre from the control's top left (the rows in
    // sight are read first).
    PrintedPage visibleContent();

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    // A figure shown smaller or as a mark tells its whole value in a tooltip.
    bool viewportEvent(QEvent *e) override;

private:
    void relayout();
    void collect(PrintedPage &body, PrintedPage &fixed);
    qreal scale() const;
    int bodyHeight() const; // visible body height, thousandths of a centimetre
    // How far the body is scrolled, in thousandths of a centimetre.
    qint64 scrolled() const;

    ReportDefinition m_def;
    Buffer m_buffer;
    std::unique_ptr<ReportLayout> m_layout;
    db::Transaction *m_transaction = nullptr;
    int m_scrollUnit = 1; // thousandths of a centimetre a step of the scroll bar stands for
    QList<PagePainter::Marked> m_marked; // as last painted
};
} // namespace dw
