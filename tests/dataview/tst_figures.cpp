// Figures are drawn whole, on screen and on paper: the widest amounts, long cheque numbers and accounts in the
// lists, the register editors and the payee book, and the page count in a list's footer. Each is checked by the
// ink on the picture: a figure drawn whole shows one run of ink a character, as the same text drawn alone does,
// where a figure cut at a side shows fewer. A figure that cannot be drawn readably shows a mark and tells its
// value in a tooltip; a text too wide is cut with an ellipsis.
#include "fixture.h"
#include "ink.h"
#include "printedpages.h"

#include "books/grid_editor.h"
#include "books/lists_reports.h"
#include "books/w_cabank.h"
#include "books/w_cdbank.h"
#include "brevik.h"
#include "dataview/dataview.h"
#include "dataview/fit.h"
#include "dataview/freeform.h"
#include "dataview/print.h"
#include "globals.h"
#include "platform/controls.h"
#include "platform/printjob.h"
#include "platform/services.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QPainter>
#include <QProcess>
#include <QPdfWriter>
#include <QScrollBar>
#include <QTableView>
#include <QToolTip>
#include <QtTest>

namespace {
constexpr int kDpi = 600; // a printed page as pdftoppm draws it (its top 15 cm)

// Runs of inked columns across an area: one a character where characters stand apart, as digits, points,
// commas and the characters of the footer do at a resolution that keeps them apart. Ink is what is clearly
// darker than the area's background (a cell may have a colour).
int inkRuns(const QImage &image, const QRectF &area)
{
    const QRect r = area.toAlignedRect().adjusted(0, 1, 0, -1) & image.rect();
    int background = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            background = qMax(background, qGray(image.pixel(x, y)));
    int runs = 0;
    bool inked = false;
    for (int x = r.left(); x <= r.right(); ++x) {
        bool column = false;
        for (int y = r.top(); y <= r.bottom() && !column; ++y)
            column = qGray(image.pixel(x, y)) < background - 80;
        runs += column && !inked;
        inked = column;
    }
    return runs;
}

// The runs of a text drawn alone, large, in its face.
int inkRunsOf(const QString &text, const ui::Font &font)
{
    QFont f = services::font(font.face, font.points, font.weight);
    f.setPixelSize(48);
    QImage image(QFontMetrics(f).horizontalAdvance(text) + 40, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(image.rect(), Qt::AlignCenter, text);
    p.end();
    return inkRuns(image, image.rect());
}

QString figuresNotWhole(const QImage &image, const dw::PrintedPage &page, const QStringList &figures,
                        qreal pixelsPerUnit, QPointF origin = {})
{
    const qreal k = pixelsPerUnit * page.scale;
    QStringList wrong;
    QStringList seen;
    for (const dw::PrintedText &t : page.texts) {
        if (!figures.contains(t.text))
            continue;
        seen << t.text;
        const QRectF area(origin.x() + t.rect.x() * k, origin.y() + t.rect.y() * k, t.rect.width() * k,
                          t.rect.height() * k);
        const int runs = inkRuns(image, area);
        if (runs != inkRunsOf(t.text, t.font))
            wrong << QStringLiteral("%1 (%2 of %3)").arg(t.text).arg(runs).arg(inkRunsOf(t.text, t.font));
    }
    for (const QString &f : figures)
        if (!seen.contains(f))
            wrong << f + QStringLiteral(" not laid out");
    return wrong.join(QStringLiteral(", "));
}

void grabTo(const QImage &image, const QString &name)
{
    if (const QString dir = qEnvironmentVariable("GRAB_DIR"); !dir.isEmpty())
        image.copy(0, 0, image.width(), qMin(image.height(), 800)).save(QDir(dir).filePath(name + ".png"));
}

// The first page printed, as the paper shows it, and as laid out.
bool printedFirstPage(const std::function<int()> &print, QImage &image, dw::PrintedPage &page)
{
    PrintedPages printed(print::Backend::Pdf);
    if (print() != 1 || printed.documents.size() != 1)
        return false;
    page = printed.documents.first().pages.first();
    image = pdfFirstPage(print::lastOutputFile(), kDpi, kDpi * 6);
    return !image.isNull();
}

brevik::GridEditor *openEditor(const QString &name) { return qobject_cast<brevik::GridEditor *>(openActive(name)); }

// The payment register editor over a payment of this amount, after any rows already there.
brevik::GridEditor *openPaymentsWith(Fixture &f, double amount)
{
    f.exec("INSERT INTO xjzp (rq, bz, zphm, xkr, an, fkhm, kpr) VALUES ('2026-03-06', '现金支票', '2', '甲', ?, "
           "'工商银行', '张')",
           {amount});
    return openEditor(QStringLiteral("gobank"));
}

// The place of the amount among an editor's cells.
int amountCell(brevik::GridEditor *w)
{
    const QList<dw::Cell> &cells = w->grid()->buffer().definition().cells;
    int an = 0;
    while (an < cells.size() && cells.at(an).name != u"an")
        ++an;
    return an;
}

// The figures of a grid's row as shown, each scrolled into sight: what is missing from them.
QString gridFiguresNotWhole(dw::DataView *view, int row, const QStringList &figures)
{
    QTableView *grid = view->grid();
    const dw::Definition &def = view->buffer().definition();
    QStringList wrong;
    for (int c = 0; c < def.cells.size(); ++c) {
        const QModelIndex index = grid->model()->index(row - 1, c);
        if (!figures.contains(index.data().toString()))
            continue;
        grid->scrollTo(index);
        const QImage image = grid->viewport()->grab().toImage();
        dw::PrintedPage page;
        page.texts.append({grid->visualRect(index), index.data().toString(), {}, def.font, false, false});
        grabTo(image, QStringLiteral("%1_screen_%2").arg(def.name, def.cells.at(c).name));
        if (const QString w = figuresNotWhole(image, page, {index.data().toString()}, image.devicePixelRatio());
            !w.isEmpty())
            wrong << w;
    }
    return wrong.join(QStringLiteral(", "));
}
} // namespace

class tst_figures : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { brevik::registerWindows(); }
    void cleanup() { closeOpenWindows(); }

    void listShowsFiguresWhole_data();
    void listShowsFiguresWhole();
    void gridShowsFiguresWhole_data();
    void gridShowsFiguresWhole();
    void footerShowsPageCountWhole_data();
    void footerShowsPageCountWhole();
    void figureTooNarrowIsMarked();
    void printedWidestAmountStaysInItsCell_data();
    void shrunkFigureKeepsItsBaseline_data();
    void shrunkFigureKeepsItsBaseline();
    void printedWidestAmountStaysInItsCell();
    void widenedColumnPrintsWide();
    void reportFigureTooNarrowIsMarked();
    void freeFormFigureTooNarrowIsMarked();
    void textTooWideIsCutWithEllipsis();
    void listPrintCutsLongTextWithEllipsis();
    void sameTextFitsEachWidth_data();
    void sameTextFitsEachWidth();
};

void tst_figures::listShowsFiguresWhole_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("paper");
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("total");
    const QString number = QStringLiteral("1234567890123");
    for (const char *list : {"w_cabank", "w_cdbank"})
        for (bool paper : {false, true}) {
            const char *medium = paper ? "paper" : "screen";
            QTest::addRow("%s %s 99,999,999.99", list, medium)
                << list << paper << 99999999.99 << "99,999,999.99" << "99,999,999.99";
            // 15 significant digits: all that an amount column stores exactly and its format shows.
            QTest::addRow("%s %s largest", list, medium)
                << list << paper << 9999999999999.99 << "9,999,999,999,999.99" << "9,999,999,999,999.99";
            QTest::addRow("%s %s most negative", list, medium)
                << list << paper << -9999999999999.99 << "-9,999,999,999,999.99" << "-9,999,999,999,999.99";
        }
}

// The payment and receipt lists: the amount, its group's and the list's totals and a 13-digit cheque number.
void tst_figures::listShowsFiguresWhole()
{
    QFETCH(QString, list);
    QFETCH(bool, paper);
    QFETCH(double, amount);
    QFETCH(QString, shown);
    QFETCH(QString, total);
    Fixture f;
    QVERIFY(f.connect());
    const QString number = QStringLiteral("1234567890123");
    if (list == u"w_cabank")
        f.exec("INSERT INTO xjzp (rq, bz, zphm, xkr, et, an, fkhm, kpr) VALUES ('2026-03-05', '现金支票', ?, '甲', "
               "'货款', ?, '工商银行', 'system')",
               {number, amount});
    else
        f.exec("INSERT INTO jzd (rq, bz, zphm, xkr, an, kpr, fkhm, shbank, et) VALUES ('2026-03-05', '汇票进帐单', "
               "?, '乙', ?, 'system', '付款行', '工商银行', '转帐支票')",
               {number, amount});
    auto *w = qobject_cast<ui::Window *>(ui::openWindow(list));
    QVERIFY(w);
    w->get<QPushButton>("cb_3")->click();
    auto *view = w->findChild<dw::ReportView *>();
    QVERIFY(view);
    QCOMPARE(view->rowCount(), 1);
    const QStringList figures{shown, number, total};
    QImage image;
    dw::PrintedPage page;
    QString wrong;
    if (paper) {
        QVERIFY(printedFirstPage([view] { return view->print(); }, image, page));
        const qreal margin = view->definition().margin * kDpi / 2540.0;
        wrong = figuresNotWhole(image, page, figures, kDpi / 2540.0, QPointF(margin, margin));
    } else {
        w->show();
        view->horizontalScrollBar()->setValue(0);
        image = view->viewport()->grab().toImage();
        page = view->visibleContent();
        wrong = figuresNotWhole(image, page, figures,
                                view->viewport()->logicalDpiX() / 2540.0 * image.devicePixelRatio());
    }
    grabTo(image, QStringLiteral("%1_%2_%3").arg(list, paper ? "paper" : "screen", shown));
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void tst_figures::gridShowsFiguresWhole_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("paper");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QStringList>("figures");
    const QString account = QStringLiteral("6222021234567890123456789");
    const QString number = QStringLiteral("1234567890123");
    const QString payment = "INSERT INTO xjzp (rq, bz, zphm, xkr, shbank, shcode, et, an, fkhm, fkzh, kpr) VALUES "
                            "('2026-03-06', '现金支票', ?, '甲', '工商银行', ?, '货款', ?, '建设银行', ?, '张')";
    const QString receipt = "INSERT INTO jzd (rq, et, zphm, xkr, an, fkhm, fkzh, shbank, shcode, kpr, bz) VALUES "
                            "('2026-03-06', '转帐支票', ?, '乙', ?, '建设银行', ?, '工商银行', ?, '张', '')";
    const QString payee = "INSERT INTO skrbook (skrname, skrbank, skrcode, prov, city, xian, bs) VALUES "
                          "('乙', '工商银行', ?, '北京', '北京', '', 'GS')";
    for (bool paper : {false, true}) {
        const char *medium = paper ? "paper" : "screen";
        QTest::addRow("payment register %s 99,999,999.99", medium)
            << "gobank" << paper << payment << QVariantList{number, account, 99999999.99, account}
            << QStringList{number, account, "99,999,999.99"};
        QTest::addRow("payment register %s most negative", medium)
            << "gobank" << paper << payment << QVariantList{number, account, -9999999999999.99, account}
            << QStringList{"-9,999,999,999,999.99"};
        QTest::addRow("receipt register %s 99,999,999.99", medium)
            << "inbank" << paper << receipt << QVariantList{number, 99999999.99, account, account}
            << QStringList{number, account, "99,999,999.99"};
        if (!paper)
            QTest::addRow("receipt register %s most negative", medium)
                << "inbank" << paper << receipt << QVariantList{number, -9999999999999.99, account, account}
                << QStringList{"-9,999,999,999,999.99"};
        QTest::addRow("payee book %s", medium) << "w_skrbk" << paper << payee << QVariantList{account}
                                               << QStringList{account};
    }
}

// The register editors and the payee book, on screen and in their grid print: the second row, away from the
// cell being edited in the first.
void tst_figures::gridShowsFiguresWhole()
{
    QFETCH(QString, window);
    QFETCH(bool, paper);
    QFETCH(QString, sql);
    QFETCH(QVariantList, values);
    QFETCH(QStringList, figures);
    Fixture f;
    QVERIFY(f.connect());
    if (window == u"w_skrbk")
        f.exec("INSERT INTO skrbook (skrname, skrbank, skrcode, prov, city, xian, bs) VALUES "
               "('甲', '银行', '1', '', '', '', '')");
    else
        f.exec(QString(sql).replace(QStringLiteral("2026-03-06"), QStringLiteral("2026-03-01")),
               QVariantList(values.size(), QStringLiteral("1")));
    f.exec(sql, values);
    brevik::GridEditor *w = openEditor(window);
    QVERIFY(w);
    dw::DataView *view = w->grid();
    QCOMPARE(view->rowCount(), 2);
    QImage image;
    dw::PrintedPage page;
    QString wrong;
    if (paper) {
        QVERIFY(printedFirstPage([view] { return view->print(); }, image, page));
        const qreal margin = 0.4 * kDpi;
        page.texts.remove(0, view->buffer().definition().cells.size() * 2); // the headers and the first row
        wrong = figuresNotWhole(image, page, figures, kDpi / 2540.0, QPointF(margin, margin));
        grabTo(image, QStringLiteral("%1_paper_%2").arg(window, figures.last()));
    } else {
        wrong = gridFiguresNotWhole(view, 2, figures);
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void tst_figures::footerShowsPageCountWhole_data()
{
    QTest::addColumn<bool>("payments");
    QTest::addColumn<bool>("paper");
    QTest::addColumn<int>("pages");
    for (bool payments : {true, false})
        for (bool paper : {false, true})
            for (int pages : {27778, 91091, 123456})
                QTest::addRow("%s %s %d", payments ? "payments" : "receipts", paper ? "paper" : "screen", pages)
                    << payments << paper << pages;
}

// The footer of a long list: the last page, painted as the list's screen and its print paint a page.
void tst_figures::footerShowsPageCountWhole()
{
    QFETCH(bool, payments);
    QFETCH(bool, paper);
    QFETCH(int, pages);
    const dw::ReportDefinition def = payments ? brevik::cabank() : brevik::eabank();
    dw::PrintedPage page;
    dw::ReportContext c;
    c.page = pages;
    c.pageCount = pages;
    c.today = QDate(2026, 3, 5);
    dw::resolveBand(def, {dw::PlacedBand::Footer, 0, 0, -1}, c, 0, page);
    const QString footer = page.texts.first().text;
    QVERIFY(footer.contains(QString::number(pages)));
    QImage image;
    qreal k = 0;
    if (paper) {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("footer.pdf"));
        {
            QPdfWriter pdf(file);
            pdf.setResolution(1200);
            pdf.setPageSize(QPageSize(QPageSize::A4));
            pdf.setPageMargins({});
            QPainter p(&pdf);
            dw::PagePainter(p, 1200 / 2540.0).paint(page);
        }
        image = pdfFirstPage(file, kDpi, kDpi * 2);
        k = kDpi / 2540.0;
    } else {
        // A screen at four times the pixels, as the others here.
        image = QImage(3200, 160, QImage::Format_RGB32);
        image.setDevicePixelRatio(4);
        image.fill(Qt::white);
        QPainter p(&image);
        dw::PagePainter(p, image.logicalDpiX() / 2540.0).paint(page);
        k = image.logicalDpiX() / 2540.0 * 4;
    }
    QVERIFY(!image.isNull());
    grabTo(image, QStringLiteral("footer_%1_%2_%3").arg(payments ? "payments" : "receipts", paper ? "paper" : "screen")
                      .arg(pages));
    const QString wrong = figuresNotWhole(image, page, {footer}, k);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

// A column narrowed below what the smallest type can show fills its cell with a mark, and the cell's tooltip
// tells the whole value, as it does over a figure drawn smaller; a figure at its cell's type has no tooltip.
void tst_figures::figureTooNarrowIsMarked()
{
    Fixture f;
    QVERIFY(f.connect());
    f.exec("INSERT INTO xjzp (rq, bz, zphm, xkr, an, fkhm, kpr) VALUES ('2026-03-01', '现金支票', '1', '甲', 1, '工商银行', "
           "'张')");
    brevik::GridEditor *w = openPaymentsWith(f, -9999999999999.99);
    QVERIFY(w);
    QTableView *grid = w->grid()->grid();
    const int an = amountCell(w);
    auto tooltipAt = [&](int row = 1) {
        QToolTip::hideText();
        const QRect cell = grid->visualRect(grid->model()->index(row, an));
        QHelpEvent help(QEvent::ToolTip, cell.center(), grid->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(grid->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tooltipAt(0), QString());
    QCOMPARE(tooltipAt(), QStringLiteral("-9,999,999,999,999.99")); // drawn smaller
    grid->scrollTo(grid->model()->index(1, an));
    const QImage shown = grid->viewport()->grab().toImage();
    const QRectF at = QRectF(grid->visualRect(grid->model()->index(1, an)));
    const qreal dpr = shown.devicePixelRatio();
    const int before = inkRuns(shown, QRectF(at.topLeft() * dpr, at.size() * dpr));
    QCOMPARE(before, inkRunsOf(QStringLiteral("-9,999,999,999,999.99"), w->grid()->buffer().definition().font));
    grid->horizontalHeader()->resizeSection(an, 60);
    grid->scrollTo(grid->model()->index(1, an));
    const QRectF cell = QRectF(grid->visualRect(grid->model()->index(1, an)));
    const QImage image = grid->viewport()->grab().toImage();
    grabTo(image, QStringLiteral("gobank_marked"));
    // The mark, not a part of the figure: ink, but not the figure's characters.
    const int marks = inkRuns(image, QRectF(cell.topLeft() * dpr, cell.size() * dpr));
    QVERIFY(marks >= 1);
    QVERIFY(marks < before);
    QCOMPARE(tooltipAt(), QStringLiteral("-9,999,999,999,999.99"));
}

void tst_figures::printedWidestAmountStaysInItsCell_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("sql");
    // The cells beside the amount are empty: any ink there is the mark's.
    QTest::newRow("payment register")
        << "gobank"
        << "INSERT INTO xjzp (rq, bz, zphm, xkr, et, an, fkhm, kpr) VALUES ('2026-03-06', '现金支票', '2', '甲', '', "
           "-9999999999999.99, '', '张')";
    QTest::newRow("receipt register")
        << "inbank"
        << "INSERT INTO jzd (rq, et, zphm, xkr, an, fkhm, kpr) VALUES ('2026-03-06', '转帐支票', '2', '', "
           "-9999999999999.99, '', '张')";
}

// The widest amount in a register editor's print: its column is printed as wide as it needs, the amount whole,
// and its ink stays inside its cell, off the empty cells on either side.
void tst_figures::printedWidestAmountStaysInItsCell()
{
    QFETCH(QString, window);
    QFETCH(QString, sql);
    Fixture f;
    QVERIFY(f.connect());
    f.exec(sql);
    brevik::GridEditor *w = openEditor(window);
    QVERIFY(w);
    dw::DataView *view = w->grid();
    QImage image;
    dw::PrintedPage page;
    QVERIFY(printedFirstPage([view] { return view->print(); }, image, page));
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {print::lastOutputFile(), QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished());
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QVERIFY2(!text.contains(u'#') && text.contains(QStringLiteral("-9,999,999,999,999.99")), qPrintable(text));
    grabTo(image, QStringLiteral("%1_paper_marked").arg(window));
    // The cells on the first page (a grid wider than the paper goes on to the next): one heading each.
    const auto cells = std::count_if(page.texts.cbegin(), page.texts.cend(),
                                     [](const dw::PrintedText &t) { return t.fixed && t.rect.y() == 0; });
    const int an = amountCell(w);
    QVERIFY(an + 1 < cells);
    const qreal k = kDpi / 2540.0 * page.scale, margin = 0.4 * kDpi;
    auto area = [&](int cell) {
        const QRect r = page.texts.at(cells + cell).rect; // the row after the headers
        return QRectF(margin + r.x() * k, margin + r.y() * k, r.width() * k, r.height() * k);
    };
    QCOMPARE(page.texts.at(cells + an).text, QStringLiteral("-9,999,999,999,999.99"));
    QVERIFY(inkIn(image, area(an)) > 0);
    QCOMPARE(inkIn(image, area(an - 1)), 0);
    QCOMPARE(inkIn(image, area(an + 1)), 0);
}

void tst_figures::shrunkFigureKeepsItsBaseline_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("paper");
    for (const char *window : {"w_cabank", "gobank"})
        for (bool paper : {false, true})
            QTest::addRow("%s %s", window, paper ? "paper" : "screen") << QString::fromLatin1(window) << paper;
}

// A 15-digit cheque number drawn smaller to fit its column stands on the same line as the date beside it at
// its full size: the lowest ink of both (digits and points rest on the baseline) is level.
void tst_figures::shrunkFigureKeepsItsBaseline()
{
    QFETCH(QString, window);
    QFETCH(bool, paper);
    Fixture f;
    QVERIFY(f.connect());
    const QString number = QStringLiteral("123456789012345");
    f.exec("INSERT INTO xjzp (rq, bz, zphm, xkr, et, an, fkhm, kpr) VALUES ('2026-03-05', '现金支票', ?, '甲', '货款', 5, "
           "'工商银行', 'system')",
           {number});
    QImage image;
    QRectF date, cheque; // in the image's pixels
    const QString shownDate = QStringLiteral("26.03.05");
    // The rectangles of the page's texts, a little lower than laid out (a band lower than its type).
    auto placed = [&](const dw::PrintedPage &page, qreal k, QPointF origin) {
        for (const dw::PrintedText &t : page.texts) {
            const QRectF r(origin.x() + t.rect.x() * k * page.scale, origin.y() + t.rect.y() * k * page.scale,
                           t.rect.width() * k * page.scale, t.rect.height() * k * page.scale * 1.5);
            if (t.text == shownDate)
                date = r;
            else if (t.text == number)
                cheque = r;
        }
    };
    if (window == u"w_cabank") {
        auto *w = qobject_cast<ui::Window *>(ui::openWindow(window));
        QVERIFY(w);
        w->get<QPushButton>("cb_3")->click();
        auto *view = w->findChild<dw::ReportView *>();
        QVERIFY(view);
        dw::PrintedPage page;
        if (paper) {
            QVERIFY(printedFirstPage([view] { return view->print(); }, image, page));
            const qreal margin = view->definition().margin * kDpi / 2540.0;
            placed(page, kDpi / 2540.0, QPointF(margin, margin));
        } else {
            w->show();
            view->horizontalScrollBar()->setValue(0);
            image = view->viewport()->grab().toImage();
            placed(view->visibleContent(), view->viewport()->logicalDpiX() / 2540.0 * image.devicePixelRatio(), {});
        }
    } else {
        brevik::GridEditor *w = openEditor(window);
        QVERIFY(w);
        dw::DataView *view = w->grid();
        if (paper) {
            dw::PrintedPage page;
            QVERIFY(printedFirstPage([view] { return view->print(); }, image, page));
            placed(page, kDpi / 2540.0, QPointF(0.4 * kDpi, 0.4 * kDpi));
        } else {
            QTableView *grid = view->grid();
            image = grid->viewport()->grab().toImage();
            const qreal dpr = image.devicePixelRatio();
            const QList<dw::Cell> &cells = view->buffer().definition().cells;
            for (int c = 0; c < cells.size(); ++c) {
                const QRectF r = QRectF(grid->visualRect(grid->model()->index(0, c)));
                const QRectF at(r.topLeft() * dpr, r.size() * dpr);
                if (cells.at(c).name == u"rq")
                    date = at;
                else if (cells.at(c).name == u"zphm")
                    cheque = at;
            }
        }
    }
    QVERIFY(!image.isNull() && !date.isEmpty() && !cheque.isEmpty());
    grabTo(image, QStringLiteral("%1_%2_baseline").arg(window, paper ? "paper" : "screen"));
    auto lowestInk = [&](const QRectF &area) {
        const QRect r = area.toAlignedRect() & image.rect();
        for (int y = r.bottom(); y >= r.top(); --y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (qGray(image.pixel(x, y)) < 160)
                    return y;
        return -1;
    };
    const int dateBase = lowestInk(date), chequeBase = lowestInk(cheque);
    QVERIFY(dateBase >= 0 && chequeBase >= 0);
    // The cheque number is drawn smaller: its ink is less high than the date's.
    QVERIFY(qAbs(chequeBase - dateBase) <= (paper ? 3 : 2));
}

// A column the operator widened on screen is as wide in the grid's print, so a figure it shows whole there
// prints at the same size; the other columns keep their widths.
void tst_figures::widenedColumnPrintsWide()
{
    Fixture f;
    QVERIFY(f.connect());
    brevik::GridEditor *w = openPaymentsWith(f, 99999999.99);
    QVERIFY(w);
    QTableView *grid = w->grid()->grid();
    const QList<dw::Cell> &cells = w->grid()->buffer().definition().cells;
    const int an = amountCell(w);
    auto printedWidths = [&] {
        PrintedPages printed;
        QList<int> widths;
        if (w->grid()->print() == 1)
            for (int c = 0; c < cells.size(); ++c)
                widths << printed.documents.first().pages.first().texts.at(c).rect.width();
        return widths;
    };
    const QList<int> designed = printedWidths();
    QCOMPARE(designed.size(), cells.size());
    grid->horizontalHeader()->resizeSection(an, grid->horizontalHeader()->sectionSize(an) * 2);
    const QList<int> widened = printedWidths();
    QCOMPARE(widened.size(), cells.size());
    // As wide as shown (a pixel is 2540 / 96 thousandths of a centimetre at the grid's own size).
    const int shown = qRound(grid->horizontalHeader()->sectionSize(an) * 2540.0 / 96);
    for (int c = 0; c < cells.size(); ++c)
        if (c == an)
            QVERIFY2(qAbs(widened.at(c) - shown) <= 30, qPrintable(QString::number(widened.at(c))));
        else
            QCOMPARE(widened.at(c), designed.at(c));
}

// A list's figure alike: a mark on screen, the whole value in the tooltip over it, none over one that shows.
void tst_figures::reportFigureTooNarrowIsMarked()
{
    Fixture f;
    QVERIFY(f.connect());
    dw::ReportDefinition def;
    def.data.name = QStringLiteral("amounts");
    def.data.sql = QStringLiteral("SELECT 12345678.9 AS an, 1.5 AS small, 98765.43 AS mid");
    def.data.columns = {{QStringLiteral("an"), dw::Type::Number}, {QStringLiteral("small"), dw::Type::Number},
                        {QStringLiteral("mid"), dw::Type::Number}};
    def.detail.height = 600;
    dw::ReportText narrow{0, 0, 300, 0, dw::columnValue(QStringLiteral("an"), QStringLiteral("#,##0.00"))};
    narrow.figure = true;
    dw::ReportText fits{2000, 0, 3000, 0, dw::columnValue(QStringLiteral("small"), QStringLiteral("#,##0.00"))};
    fits.figure = true;
    dw::ReportText smaller{6000, 0, 1000, 0, dw::columnValue(QStringLiteral("mid"), QStringLiteral("#,##0.00"))};
    smaller.figure = true;
    def.detail.texts = {narrow, fits, smaller};
    dw::ReportView report;
    report.setDefinition(def);
    report.setTransaction(g::sqlca);
    report.resize(600, 300);
    report.show();
    QVERIFY(QTest::qWaitForWindowExposed(&report));
    QCOMPARE(report.retrieve({}), 1);
    report.viewport()->grab();
    const qreal k = report.viewport()->logicalDpiX() / 2540.0;
    // A tooltip takes a moment to hide: the cell without one is asked first.
    auto tooltipAt = [&](const QPointF &at) {
        QHelpEvent help(QEvent::ToolTip, at.toPoint(), report.viewport()->mapToGlobal(at.toPoint()));
        QApplication::sendEvent(report.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tooltipAt(QPointF(4900 * k, 200 * k)), QString());
    QCOMPARE(tooltipAt(QPointF(150 * k, 200 * k)), QStringLiteral("12,345,678.90"));
    QCOMPARE(tooltipAt(QPointF(6500 * k, 200 * k)), QStringLiteral("98,765.43")); // drawn smaller
}

// A free form's field alike.
void tst_figures::freeFormFigureTooNarrowIsMarked()
{
    Fixture f;
    QVERIFY(f.connect());
    dw::Definition def;
    def.name = QStringLiteral("amounts");
    def.style = dw::Style::FreeForm;
    def.sql = QStringLiteral("SELECT 12345678.9 AS an, 1.5 AS small, 98765.43 AS mid");
    def.columns = {{QStringLiteral("an"), dw::Type::Number}, {QStringLiteral("small"), dw::Type::Number},
                   {QStringLiteral("mid"), dw::Type::Number}};
    auto field = [](const char *name, int x, int width) {
        return dw::FreeFormItem{.name = QString::fromLatin1(name), .kind = dw::ItemKind::Column, .x = x, .y = 0,
                                .width = width, .height = 80, .column = QString::fromLatin1(name),
                                .format = QStringLiteral("#,##0.00")};
    };
    dw::FreeFormLayout layout;
    layout.bandHeight = 200;
    layout.items = {field("an", 0, 60), field("small", 400, 600), field("mid", 1100, 150)};
    dw::FreeFormView view;
    view.setDefinition(def, layout);
    view.setTransaction(g::sqlca);
    view.resize(400, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.retrieve(), 1);
    view.grab();
    // A tooltip takes a moment to hide: the field without one is asked first.
    auto tooltipAt = [&](const QString &item) {
        const QPoint at = view.itemRect(1, item).center();
        QHelpEvent help(QEvent::ToolTip, at, view.mapToGlobal(at));
        QApplication::sendEvent(&view, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tooltipAt(QStringLiteral("small")), QString());
    QCOMPARE(tooltipAt(QStringLiteral("an")), QStringLiteral("12,345,678.90"));
    QCOMPARE(tooltipAt(QStringLiteral("mid")), QStringLiteral("98,765.43")); // drawn smaller
}

// A text too wide for its column is cut at its side with an ellipsis, on screen and on paper alike.
void tst_figures::textTooWideIsCutWithEllipsis()
{
    const QFont font = services::font(QStringLiteral("宋体"), 12, 400);
    const QString payee = QStringLiteral("青岛天鑫信息技术有限责任公司北京分公司第一营业部办事处");
    const dw::FittedText fitted = dw::fitText(payee, false, font, 100);
    QVERIFY(fitted.text.endsWith(QChar(0x2026)));
    QVERIFY(payee.startsWith(fitted.text.chopped(1)));
    QVERIFY(QFontMetricsF(font).horizontalAdvance(fitted.text) <= 100);
    QCOMPARE(fitted.font, font);
    // A figure in the same width is smaller, never cut.
    const dw::FittedText amount = dw::fitText(QStringLiteral("99,999,999.99"), true, font, 80);
    QCOMPARE(amount.text, QStringLiteral("99,999,999.99"));
    QVERIFY(amount.font.pointSizeF() < 12 && amount.font.pointSizeF() >= dw::kMinimumFigurePoints);
    QVERIFY(QFontMetricsF(amount.font).horizontalAdvance(amount.text) <= 80);
}

// A payee far wider than its column prints its start and an ellipsis, not the rest.
void tst_figures::listPrintCutsLongTextWithEllipsis()
{
    Fixture f;
    QVERIFY(f.connect());
    const QString payee = QStringLiteral("青岛天鑫信息技术有限责任公司北京分公司第一营业部办事处");
    f.exec("INSERT INTO xjzp (rq, bz, zphm, xkr, et, an, fkhm, kpr) VALUES ('2026-03-05', '现金支票', '1', ?, '货款', 5, "
           "'工商银行', 'system')",
           {payee});
    auto *w = qobject_cast<ui::Window *>(ui::openWindow(QStringLiteral("w_cabank")));
    QVERIFY(w);
    w->get<QPushButton>("cb_3")->click();
    auto *view = w->findChild<dw::ReportView *>();
    QVERIFY(view);
    PrintedPages printed(print::Backend::Pdf);
    QCOMPARE(view->print(), 1);
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {print::lastOutputFile(), QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished());
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QVERIFY2(!text.contains(payee), qPrintable(text));
    const qsizetype cut = text.indexOf(QChar(0x2026));
    QVERIFY2(cut > 0, qPrintable(text));
    qsizetype start = cut;
    while (start > 0 && payee.contains(text.at(start - 1)))
        --start;
    QVERIFY2(cut - start >= 10 && payee.startsWith(text.mid(start, cut - start)), qPrintable(text));
}

void tst_figures::sameTextFitsEachWidth_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("figure");
    QTest::addColumn<int>("wide");
    QTest::addColumn<int>("narrow");
    // Both widths too narrow for the whole text: it is cut, or drawn smaller, in each.
    QTest::newRow("payee") << QStringLiteral("青岛天鑫信息技术有限责任公司北京分公司第一营业部办事处") << false << 3500 << 1500;
    QTest::newRow("amount") << QStringLiteral("9,999,999,999,999.99") << true << 1300 << 1000;
}

// One painter draws a text again and again across a print: drawn in a wide cell, then in a narrow one, it is
// fitted to each, never to the width it was first drawn in.
void tst_figures::sameTextFitsEachWidth()
{
    QFETCH(QString, text);
    QFETCH(bool, figure);
    QFETCH(int, wide);
    QFETCH(int, narrow);
    const ui::Font font{QStringLiteral("宋体"), 12, 400};
    dw::PrintedPage page;
    int y = 0;
    for (const int width : {wide, narrow, wide, narrow}) {
        page.texts.append({QRect(0, y, width, 600), text, Qt::AlignLeft, font, false, figure});
        y += 1000;
    }
    QImage image(800, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    const qreal k = 0.0945; // device pixels a thousandth of a centimetre: 240 to the inch
    {
        QPainter p(&image);
        dw::PagePainter(p, k).paint(page);
    }
    grabTo(image, QStringLiteral("same_text_%1").arg(figure ? "figure" : "text"));
    for (const dw::PrintedText &t : std::as_const(page.texts)) {
        const QRectF cell(t.rect.left() * k, t.rect.top() * k, t.rect.width() * k, t.rect.height() * k);
        QVERIFY(inkRuns(image, cell) > 3);
        // A few pixels right of its side on, the row shows no ink.
        QCOMPARE(inkRuns(image, QRectF(cell.right() + 3, cell.top(), image.width(), cell.height())), 0);
    }
}

int main(int argc, char **argv)
{
    // The screen at four times the pixels, as a high-resolution one: small type keeps its characters apart.
    qputenv("QT_SCALE_FACTOR", "4");
    QApplication app(argc, argv);
    tst_figures test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_figures.moc"
