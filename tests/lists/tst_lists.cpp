// The payment and receipt lists: retrieval by date range, groups and totals, the report's texts as printed,
// resizing, printing, and the time a large register takes to list.
#include "fixture.h"
#include "ink.h"
#include "printedpages.h"

#include "books/lists_reports.h"
#include "books/w_cabank.h"
#include "books/w_cdbank.h"
#include "brevik.h"
#include "globals.h"
#include "platform/controls.h"
#include "dataview/print.h"
#include "platform/printjob.h"
#include "platform/services.h"
#include "platform/units.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QProcess>
#include <QScrollBar>
#include <QSqlQuery>
#include <QtTest>

namespace {
void addPayment(Fixture &f, const QString &rq, const QString &bank, double an, const QString &payee = QStringLiteral("收款人"),
                const QString &number = QStringLiteral("001"))
{
    f.exec("INSERT INTO xjzp (rq, bz, zphm, xkr, et, an, fkhm, kpr) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
           {rq, QStringLiteral("现金支票"), number, payee, QStringLiteral("货款"), an, bank, QStringLiteral("system")});
}

void addReceipt(Fixture &f, const QString &rq, const QString &ownBank, double an, const QString &drawer)
{
    f.exec("INSERT INTO jzd (rq, bz, zphm, xkr, an, kpr, fkhm, shbank, et) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
           {rq, QStringLiteral("汇票进帐单"), QStringLiteral("9"), drawer, an, QStringLiteral("system"),
            QStringLiteral("付款行"), ownBank, QStringLiteral("转帐支票")});
}

template <class W> W *openList(const char *name)
{
    auto *w = qobject_cast<W *>(ui::openWindow(QString::fromLatin1(name)));
    return w;
}

void query(w_cabank *w, const QString &from, const QString &to)
{
    w->get<ui::EditMask>("em_2")->setTextByCode(from);
    w->get<ui::EditMask>("em_1")->setTextByCode(to);
    w->get<QPushButton>("cb_3")->click();
}

QStringList column(const dw::Buffer &b, const char *name)
{
    QStringList out;
    for (int r = 1; r <= b.knownCount(); ++r)
        out << b.itemString(r, QString::fromLatin1(name));
    return out;
}

QStringList texts(const dw::PrintedPage &page) { return PrintedPages::texts(page); }

void grab(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("GRAB_DIR");
    if (!dir.isEmpty())
        w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}
} // namespace

class tst_lists : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { brevik::registerWindows(); }
    void cleanup()
    {
        closeOpenWindows();
    }

    void formats_data();
    void formats();
    void dateRangeIsInclusive_data();
    void dateRangeIsInclusive();
    void openAndQueryListsToday();
    void groupsTotalsAndFoundRange();
    void receiptListOverJzd();
    void printPagesCarryHeaderAndFooter();
    void lastPageSaysNOfN_data();
    void lastPageSaysNOfN();
    void printWithoutQueryShowsBands();
    void printWritesPdf();
    void dashBetweenTheDates_data();
    void dashBetweenTheDates();
    void longTextStaysInItsColumn_data();
    void longTextStaysInItsColumn();
    void resizeRecentres_data();
    void resizeRecentres();
    void failedQueryIsReported();
    void totalsAreExact_data();
    void totalsAreExact();
    void sumsPastTheirRangeShowNoFigure_data();
    void sumsPastTheirRangeShowNoFigure();
    void largeRegister();
    void reprintShowsChangedRows();
};

void tst_lists::formats_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("total") << QVariant(1234567.5) << "#,##0.00" << "1,234,567.50";
    QTest::newRow("zero total") << QVariant(0.0) << "#,##0.00" << "0.00";
    QTest::newRow("negative") << QVariant(-1234.5) << "#,##0.00" << "-1,234.50";
    QTest::newRow("rounds") << QVariant(2.675000001) << "#,##0.00" << "2.68";
    QTest::newRow("a digit before the point with #") << QVariant(0.5) << "###,###.00" << "0.50";
    QTest::newRow("upper-case date picture") << QVariant(QStringLiteral("2026-03-05")) << "YY.MM.DD" << "26.03.05";
    QTest::newRow("detail amount") << QVariant(98765.4) << "##,###,###,###.00" << "98,765.40";
    QTest::newRow("short date") << QVariant(QDate(2026, 3, 5)) << "YY.MM.DD" << "26.03.05";
    QTest::newRow("range date") << QVariant(QDate(2026, 3, 5)) << "YYYY.MM.DD" << "2026.03.05";
    QTest::newRow("lower-case month") << QVariant(QDate(2026, 11, 5)) << "yyyy.mm.dd" << "2026.11.05";
    QTest::newRow("footer date") << QVariant(QDate(2026, 3, 5)) << "yyyy-mm-dd" << "2026-03-05";
    QTest::newRow("null") << QVariant() << "#,##0.00" << "";
    // A total in fen shows whole, past what a double holds, and rounds half away from zero in fewer places.
    QTest::newRow("total of 17 digits") << QVariant::fromValue(dw::Fen{9999999999999990}) << "#,##0.00"
                                        << "99,999,999,999,999.90";
    QTest::newRow("negative total") << QVariant::fromValue(dw::Fen{-41664}) << "#,##0.00" << "-416.64";
    QTest::newRow("total in yuan") << QVariant::fromValue(dw::Fen{-150}) << "#,##0" << "-2";
    QTest::newRow("total under half a yuan") << QVariant::fromValue(dw::Fen{-49}) << "0" << "0";
    QTest::newRow("general text") << QVariant(QStringLiteral("中国银行")) << "" << "中国银行";
}

void tst_lists::formats()
{
    QFETCH(QVariant, value);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(dw::formatValue(value, format), expected);
}

void tst_lists::dateRangeIsInclusive_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("dates");
    const QStringList all{"2026-03-01", "2026-03-03", "2026-03-05", "2026-03-07"};
    QTest::newRow("both bounds included") << "2026-03-03" << "2026-03-05" << QStringList{"2026-03-03", "2026-03-05"};
    QTest::newRow("one day") << "2026-03-05" << "2026-03-05" << QStringList{"2026-03-05"};
    QTest::newRow("everything") << "2026-01-01" << "2026-12-31" << all;
    QTest::newRow("day without rows") << "2026-03-04" << "2026-03-04" << QStringList{};
    QTest::newRow("first after last") << "2026-03-07" << "2026-03-01" << QStringList{};
    QTest::newRow("box without a date") << "" << "2026-12-31" << QStringList{};
}

void tst_lists::dateRangeIsInclusive()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, dates);
    Fixture f;
    QVERIFY(f.connect());
    for (const char *d : {"2026-03-07", "2026-03-01", "2026-03-05", "2026-03-03"})
        addPayment(f, QString::fromLatin1(d), QStringLiteral("工商银行"), 10);
    auto *w = openList<w_cabank>("w_cabank");
    QVERIFY(w);
    query(w, from, to);
    QCOMPARE(column(w->report()->buffer(), "rq"), dates);
    QVERIFY(f.boxes.isEmpty());
}

void tst_lists::openAndQueryListsToday()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayment(f, "2026-03-04", "工商银行", 1);
    addPayment(f, "2026-03-05", "工商银行", 2);
    addPayment(f, "2026-03-06", "工商银行", 3);
    auto *w = openList<w_cabank>("w_cabank");
    QCOMPARE(w->windowTitle(), QStringLiteral("支出明细表"));
    QCOMPARE(w->get<ui::EditMask>("em_1")->date(), QDate(2026, 3, 5));
    QCOMPARE(w->get<ui::EditMask>("em_2")->date(), QDate(2026, 3, 5));
    QCOMPARE(w->get<ui::EditMask>("em_2")->text(), QString("2026.03.05")); // today in the box's own picture
    QCOMPARE(w->report()->rowCount(), 0); // nothing is read before the first query
    w->get<QPushButton>("cb_3")->click();
    QCOMPARE(column(w->report()->buffer(), "an"), QStringList{"2"});
    // A new query replaces the rows of the previous one.
    query(w, "2026-03-06", "2026-03-06");
    QCOMPARE(column(w->report()->buffer(), "an"), QStringList{"3"});
    grab(w, "w_cabank");
}

void tst_lists::groupsTotalsAndFoundRange()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayment(f, "2026-03-04", "建设银行", 300, "丙", "C1");
    addPayment(f, "2026-03-02", "建设银行", 1200.5, "甲", "C2");
    addPayment(f, "2026-03-03", "工商银行", 50, "乙", "G1");
    auto *w = openList<w_cabank>("w_cabank");
    query(w, "2026-01-01", "2026-12-31");
    grab(w, "w_cabank_groups");

    const dw::PrintedDocument doc =
        w->report()->layoutDocument({210, 297}, QDate(2026, 3, 5));
    QCOMPARE(doc.pages.size(), 1);
    const QStringList expected{
        "支出明细表",
        // the range found in the rows, not the one typed
        "2026.03.02", "--", "2026.03.04",
        "编号", "日期", "支票号码", "收款人全称", "用途", "金额", "备注",
        // banks in GBK order (工 before 建), each with its total, then its rows by date; numbers run on
        "工商银行", "50.00",
        "1", "26.03.03", "G1", "乙", "货款", "50.00", "现金支票",
        "建设银行", "1,500.50",
        "2", "26.03.02", "C2", "甲", "货款", "1,200.50", "现金支票",
        "3", "26.03.04", "C1", "丙", "货款", "300.00", "现金支票",
        "合计", "1,550.50",
        "第 1 页,共 1页 ", "打印日期：", "2026-03-05",
    };
    QCOMPARE(texts(doc.pages.first()), expected);
}

void tst_lists::receiptListOverJzd()
{
    Fixture f;
    QVERIFY(f.connect());
    addReceipt(f, "2026-03-05", "农业银行", 800, "销售甲");
    addReceipt(f, "2026-03-01", "农业银行", 0.5, "销售乙");
    addPayment(f, "2026-03-05", "工商银行", 999); // the payment register is not listed here
    auto *w = openList<w_cdbank>("w_cdbank");
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("支出明细表"));
    query(w, "2026-03-01", "2026-03-05");
    grab(w, "w_cdbank");
    QCOMPARE(column(w->report()->buffer(), "xkr"), (QStringList{"销售乙", "销售甲"}));

    const dw::PrintedDocument doc =
        w->report()->layoutDocument({210, 297}, QDate(2026, 3, 5));
    const QStringList all = texts(doc.pages.first());
    QCOMPARE(all.first(), QStringLiteral("收入明细表"));
    QVERIFY(all.contains("2026.03.01") && all.contains("2026.03.05"));
    QVERIFY(all.contains("销售商名称"));
    QVERIFY(all.contains("0.50")); // "###,###.00" shows a digit before the point, as the grids do
    QVERIFY(!all.contains("合计"));
    QCOMPARE(all.mid(all.size() - 4), (QStringList{"800.50", "第1页,共1页", "打印日期：", "2026.03.05"}));
}

void tst_lists::printPagesCarryHeaderAndFooter()
{
    Fixture f;
    QVERIFY(f.connect());
    for (int i = 1; i <= 60; ++i)
        addPayment(f, QStringLiteral("2026-02-%1").arg(1 + i % 28, 2, 10, QChar('0')), i % 2 ? "工商银行" : "建设银行",
                   i);
    auto *w = openList<w_cabank>("w_cabank");
    query(w, "2026-01-01", "2026-12-31");
    PrintedPages printed;
    w->get<QPushButton>("cb_1")->click();
    QCOMPARE(printed.documents.size(), 1);
    const QList<dw::PrintedPage> &pages = printed.documents.first().pages;
    QVERIFY(pages.size() >= 2);
    // One job for all pages.
    QStringList calls{"open"};
    for (int p = 2; p <= pages.size(); ++p)
        calls << "newPage";
    QCOMPARE(printed.calls(), calls << "close");
    int details = 0;
    for (int p = 0; p < pages.size(); ++p) {
        const QStringList t = texts(pages.at(p));
        QCOMPARE(t.first(), QStringLiteral("支出明细表"));
        QCOMPARE(t.at(t.size() - 3), QStringLiteral("第 %1 页,共 %2页 ").arg(p + 1).arg(pages.size()));
        // Everything stays inside the printable area of A4 less the margins.
        for (const auto &text : pages.at(p).texts)
            QVERIFY2(text.rect.bottom() <= 29700 - 2 * 635, qPrintable(text.text));
        for (const auto &text : pages.at(p).texts)
            if (text.rect.x() == 0 && !text.text.isEmpty()) // the running number
                QCOMPARE(text.text.toInt(), ++details);
    }
    QCOMPARE(details, 60);
    QVERIFY(texts(pages.last()).contains("1,830.00")); // 1 + 2 + ... + 60
}

// A list printed, its rows changed, queried and printed again: the second print shows the rows as they are now,
// the same as a first print of them would.
void tst_lists::reprintShowsChangedRows()
{
    Fixture f;
    QVERIFY(f.connect());
    for (int i = 1; i <= 3; ++i)
        addPayment(f, QStringLiteral("2026-02-01"), QStringLiteral("工商银行"), 10 * i, QStringLiteral("甲公司"));
    auto *w = openList<w_cabank>("w_cabank");
    auto detailTexts = [&] {
        query(w, "2026-01-01", "2026-12-31");
        PrintedPages printed;
        w->get<QPushButton>("cb_1")->click();
        return printed.documents.size() == 1 ? texts(printed.documents.first().pages.first()) : QStringList();
    };
    const QStringList before = detailTexts();
    QVERIFY2(before.join(u' ').contains(QStringLiteral("2 26.02.01 001 甲公司 货款 20.00")), qPrintable(before.join(u' ')));
    f.exec("UPDATE xjzp SET rq = '2026-02-01', xkr = '乙公司', an = 25 WHERE an = 20");
    f.exec("UPDATE xjzp SET rq = '2026-02-03' WHERE an = 30");
    const QStringList after = detailTexts();
    const QString shown = after.join(u' ');
    QVERIFY2(shown.contains(QStringLiteral("1 26.02.01 001 甲公司 货款 10.00 现金支票 2 26.02.01 001 乙公司 货款 25.00 "
                                           "现金支票 3 26.02.03 001 甲公司 货款 30.00")),
             qPrintable(shown));
}

void tst_lists::lastPageSaysNOfN_data()
{
    // Rows as whole screens of details plus some; the screen's page step decides how many rows a screen holds.
    QTest::addColumn<int>("screens");
    QTest::addColumn<int>("extra");
    QTest::newRow("one row") << 0 << 1;
    QTest::newRow("a screen of rows") << 1 << 0;
    QTest::newRow("a screen and one row") << 1 << 1;
    QTest::newRow("two screens less one row") << 2 << -1;
    QTest::newRow("two screens") << 2 << 0;
    QTest::newRow("three screens and one row") << 3 << 1;
    QTest::newRow("rows read on demand") << 0 << 700;
}

void tst_lists::lastPageSaysNOfN()
{
    QFETCH(int, screens);
    QFETCH(int, extra);
    Fixture f;
    QVERIFY(f.connect());
    auto *w = openList<w_cabank>("w_cabank");
    w->show();
    dw::ReportView *report = w->report();
    QScrollBar *bar = report->verticalScrollBar();
    const int perScreen = bar->pageStep() / report->definition().detail.height;
    QVERIFY(perScreen > 1);
    const int rows = qMax(1, screens * perScreen + extra);
    {
        QSqlDatabase db = g::sqlca.database();
        QSqlQuery q(db);
        QVERIFY(db.transaction());
        QVERIFY(q.prepare("INSERT INTO xjzp (rq, bz, zphm, xkr, et, an, fkhm) VALUES ('2026-03-05', '现金支票', '001', "
                          "'收款人', '货款', ?, '工商银行')"));
        for (int i = 1; i <= rows; ++i) {
            q.addBindValue(i);
            QVERIFY(q.exec());
        }
        QVERIFY(db.commit());
    }
    query(w, "2026-01-01", "2026-12-31");
    if (rows > 600)
        QVERIFY(!report->buffer().complete()); // the page count is known before the rows are read

    auto footer = [](const dw::PrintedPage &page) {
        for (const dw::PrintedText &t : page.texts)
            if (t.text.startsWith(QStringLiteral("第")))
                return t.text;
        return QString();
    };
    // Page down from the top: each step shows the next page, and the end shows the last.
    QStringList shown;
    for (int at = 0;; at += bar->pageStep()) {
        bar->setValue(at);
        shown << footer(report->visibleContent());
        if (at >= bar->maximum())
            break;
    }
    QStringList expected;
    for (int p = 1; p <= shown.size(); ++p)
        expected << QStringLiteral("第 %1 页,共 %2页 ").arg(p).arg(shown.size());
    QCOMPARE(shown, expected);
    QVERIFY(texts(report->visibleContent()).contains(QString::number(rows)));

    // On paper too: no empty page at the end, the last row and the total on the last page.
    const dw::PrintedDocument doc = report->layoutDocument({210, 297}, QDate(2026, 3, 5));
    const QStringList last = texts(doc.pages.last());
    QCOMPARE(footer(doc.pages.last()), QStringLiteral("第 %1 页,共 %1页 ").arg(doc.pages.size()));
    QVERIFY(last.contains(QString::number(rows)));
    QVERIFY(last.contains("合计"));
}

void tst_lists::printWithoutQueryShowsBands()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayment(f, "2026-03-05", "工商银行", 5);
    auto *w = openList<w_cabank>("w_cabank");
    PrintedPages printed;
    w->get<QPushButton>("cb_1")->click();
    QCOMPARE(printed.documents.size(), 1);
    QCOMPARE(printed.documents.first().pages.size(), 1);
    const QStringList t = texts(printed.documents.first().pages.first());
    QVERIFY(t.contains("编号") && t.contains("合计") && t.contains("0.00"));
    QVERIFY(!t.contains("工商银行"));
}

void tst_lists::printWritesPdf()
{
    Fixture f;
    print::setBackend(print::Backend::Pdf);
    auto automatic = qScopeGuard([] { print::setBackend(print::Backend::Automatic); });
    QVERIFY(f.connect());
    addPayment(f, "2026-03-05", "工商银行", 1234.5, "北京某公司");
    auto *w = openList<w_cabank>("w_cabank");
    w->get<QPushButton>("cb_3")->click();
    QString error;
    QCOMPARE(w->report()->print(&error), 1);
    const QString file = print::lastOutputFile();
    QVERIFY2(QFileInfo(file).size() > 0, qPrintable(error));
    QVERIFY(file.startsWith(QDir(f.dir()).filePath("PRINTOUT")));
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", file, "-"});
    QVERIFY(pdftotext.waitForFinished());
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const char *expected : {"支出明细表", "北京某公司", "1,234.50", "工商银行", "合计", "2026-03-05"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    if (const QString dir = qEnvironmentVariable("GRAB_DIR"); !dir.isEmpty())
        QFile::copy(file, QDir(dir).filePath("w_cabank.pdf"));
}

void tst_lists::dashBetweenTheDates_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("paper");
    for (const char *list : {"w_cabank", "w_cdbank"})
        for (bool paper : {false, true})
            QTest::addRow("%s %s", list, paper ? "paper" : "screen") << QString::fromLatin1(list) << paper;
}

// The heading's "--" between the first and the last date found: drawn whole within its own box, apart from
// both dates, on screen and on paper.
void tst_lists::dashBetweenTheDates()
{
    QFETCH(QString, list);
    QFETCH(bool, paper);
    Fixture f;
    QVERIFY(f.connect());
    if (list == u"w_cabank")
        addPayment(f, "2026-12-11", "工商银行", 5);
    else
        addReceipt(f, "2026-12-11", "工商银行", 5, "付款人");
    auto *w = qobject_cast<w_cabank *>(ui::openWindow(list));
    QVERIFY(w);
    query(w, "2026.12.11", "2026.12.11");
    dw::ReportView *view = w->report();
    QCOMPARE(view->rowCount(), 1);
    if (paper) {
        PrintedPages printed(print::Backend::Pdf);
        QCOMPARE(view->print(), 1);
        // The line of the first date, left to right: three words, a point apart at least.
        QList<PdfWord> words = pdfWords(print::lastOutputFile());
        const auto first = std::find_if(words.cbegin(), words.cend(),
                                        [](const PdfWord &w) { return w.text == u"2026.12.11"; });
        QVERIFY(first != words.cend());
        const qreal y = first->box.top();
        words.removeIf([y](const PdfWord &w) { return qAbs(w.box.top() - y) > 1; });
        std::sort(words.begin(), words.end(), [](const PdfWord &a, const PdfWord &b) { return a.box.x() < b.box.x(); });
        QStringList line;
        for (const PdfWord &w : words)
            line << w.text;
        QCOMPARE(line, (QStringList{"2026.12.11", "--", "2026.12.11"}));
        QVERIFY2(words.at(1).box.left() - words.at(0).box.right() >= 1, qPrintable(QString::number(words.at(1).box.left())));
        QVERIFY2(words.at(2).box.left() - words.at(1).box.right() >= 1, qPrintable(QString::number(words.at(1).box.right())));
        return;
    }
    w->show();
    view->horizontalScrollBar()->setValue(0);
    const QImage image = view->viewport()->grab().toImage();
    const dw::PrintedPage page = view->visibleContent();
    const qreal k = view->viewport()->logicalDpiX() / 2540.0 * image.devicePixelRatio();
    const QFont type = services::font(QStringLiteral("宋体"), 12, 400);
    int ink = 0;
    for (const dw::PrintedText &t : page.texts) {
        if (t.text != u"--")
            continue;
        // Its box holds it: as wide as the dash in the list's type, or wider.
        QVERIFY(QFontMetricsF(type, view->viewport()).horizontalAdvance(t.text) * image.devicePixelRatio()
                <= t.rect.width() * k);
        ink += inkIn(image, QRectF(t.rect.x() * k, t.rect.y() * k, t.rect.width() * k, t.rect.height() * k));
    }
    // All the ink of the two dashes drawn alone in the list's type lies inside the box.
    QImage alone(image.size(), QImage::Format_RGB32);
    alone.setDevicePixelRatio(image.devicePixelRatio());
    alone.fill(Qt::white);
    QPainter p(&alone);
    p.setFont(type);
    p.setPen(Qt::black);
    p.drawText(QPointF(20, 40), QStringLiteral("--"));
    p.end();
    const int dashes = inkIn(alone, alone.rect().adjusted(-2, -2, 2, 2));
    QVERIFY2(ink >= dashes * 0.95, qPrintable(QStringLiteral("%1 of %2").arg(ink).arg(dashes)));
}

void tst_lists::longTextStaysInItsColumn_data()
{
    QTest::addColumn<bool>("paper");
    QTest::newRow("screen") << false;
    QTest::newRow("paper") << true;
}

// A payee far wider than its column leaves the next column (用途) as a short one does, shown and printed.
void tst_lists::longTextStaysInItsColumn()
{
    QFETCH(bool, paper);
    Fixture f;
    QVERIFY(f.connect());
    print::setBackend(print::Backend::Pdf);
    auto automatic = qScopeGuard([] { print::setBackend(print::Backend::Automatic); });
    addPayment(f, "2026-03-05", "工商银行", 5, "甲");
    auto *w = openList<w_cabank>("w_cabank");
    dw::ReportView *view = w->report();
    auto inkInPurpose = [&] {
        w->get<QPushButton>("cb_3")->click();
        if (!paper) {
            grab(w, QStringLiteral("w_cabank_payee%1").arg(w->report()->buffer().itemString(1, "xkr").size()));
            const qreal s = view->viewport()->logicalDpiX() / 2540.0;
            return inkInTexts(view->viewport()->grab().toImage(), view->visibleContent(), "货款", s,
                              QPointF(-view->horizontalScrollBar()->value() * s, 0));
        }
        PrintedPages printed(print::Backend::Pdf);
        if (view->print() != 1 || printed.documents.size() != 1)
            return -1;
        const int dpi = 150;
        const qreal margin = view->definition().margin * dpi / 2540.0;
        if (const QString dir = qEnvironmentVariable("GRAB_DIR"); !dir.isEmpty())
            QFile::copy(print::lastOutputFile(), QDir(dir).filePath(QFileInfo(print::lastOutputFile()).fileName()));
        return inkInTexts(pdfFirstPage(print::lastOutputFile(), dpi), printed.documents.first().pages.first(), "货款",
                          dpi / 2540.0, QPointF(margin, margin));
    };
    const int alone = inkInPurpose();
    QVERIFY(alone > 0);
    f.exec("UPDATE xjzp SET xkr = ?", {QStringLiteral("青岛天鑫信息技术有限责任公司北京分公司第一营业部办事")});
    QCOMPARE(f.scalar("SELECT length(xkr) FROM xjzp").toInt(), 26);
    QCOMPARE(inkInPurpose(), alone);
}

void tst_lists::resizeRecentres_data()
{
    QTest::addColumn<int>("workspace");
    QTest::addColumn<int>("shift");
    QTest::newRow("design") << 3505 << 0;
    QTest::newRow("wider") << 4505 << 500;
    QTest::newRow("odd width truncates") << 3508 << 1;  // 1.5
    QTest::newRow("narrower truncates to zero") << 3502 << -1; // -1.5
}

void tst_lists::resizeRecentres()
{
    QFETCH(int, workspace);
    QFETCH(int, shift);
    Fixture f;
    QVERIFY(f.connect());
    auto *w = openList<w_cabank>("w_cabank");
    const QHash<QString, int> design{{"dw_1", 14},   {"st_1", 603}, {"em_1", 1509}, {"cb_1", 2226},
                                     {"cb_2", 2505}, {"cb_3", 1952}, {"em_2", 960},  {"st_2", 1403}};
    // The window's width in pixels is rounded, so the workspace in units may differ from the one asked by a unit
    // or two; the expected shift is computed from what the window really has.
    w->resize(units::toPixelsX(workspace), w->height());
    const int p2 = w->workspaceWidthUnits() - 40;
    const int expected = int(std::trunc((p2 - 3465) * 0.5));
    if (w->workspaceWidthUnits() == workspace)
        QCOMPARE(expected, shift);
    for (auto it = design.begin(); it != design.end(); ++it)
        QCOMPARE(w->unitGeometry(it.key()).x(), it.value() + expected);
    QCOMPARE(w->unitGeometry("dw_1").width(), 3465);
    QCOMPARE(w->unitGeometry("cb_1").y(), 1716);
}

void tst_lists::failedQueryIsReported()
{
    Fixture f;
    QVERIFY(f.connect());
    auto *w = openList<w_cabank>("w_cabank");
    f.exec("DROP TABLE xjzp");
    w->get<QPushButton>("cb_3")->click();
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.first().title, QStringLiteral("数据库错误"));
    QVERIFY(f.boxes.first().text.contains("xjzp"));
    QCOMPARE(w->report()->rowCount(), 0);
}

void tst_lists::totalsAreExact_data()
{
    // A group's sum and the list's total are the sum of the figures shown, to the fen, whether the rows were
    // all read (the sums come from them) or most remain unread (the database adds up): no binary double
    // loses the last fen of 17 digits, nor the small amounts between two large ones.
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("amounts"); // one group, in date order
    QTest::addColumn<int>("unread");          // rows of 0.00 after them in the group
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("first"); // the first row's figure, as it is added
    const QStringList tenLarge(10, "9999999999999.99");
    const QStringList largeSmallLarge = QStringList{"9999999999999.99"}
                                        + QStringList{"31.12", "51.62", "37.78", "29.85", "26.50",
                                                      "45.68", "17.37", "57.87", "57.09", "61.76"}
                                        + QStringList{"-9999999999999.99"};
    for (const QString list : {"w_cabank", "w_cdbank"})
        for (const int unread : {0, 700}) {
            const QString read = unread ? "rows unread" : "rows read";
            QTest::newRow(qPrintable(QString("%1, ten large, %2").arg(list, read)))
                << list << tenLarge << unread << "99,999,999,999,999.90" << "9,999,999,999,999.99";
            QTest::newRow(qPrintable(QString("%1, small between large, %2").arg(list, read)))
                << list << largeSmallLarge << unread << "416.64" << "9,999,999,999,999.99";
            // Stored with a third place (before the cells took two): each shows 2.68, as its fen is added.
            QTest::newRow(qPrintable(QString("%1, past the places, %2").arg(list, read)))
                << list << QStringList{"2.675", "2.675"} << unread << "5.36" << "2.68";
        }
}

void tst_lists::totalsAreExact()
{
    QFETCH(QString, list);
    QFETCH(QStringList, amounts);
    QFETCH(int, unread);
    QFETCH(QString, total);
    QFETCH(QString, first);
    Fixture f;
    QVERIFY(f.connect());
    const bool payments = list == "w_cabank";
    for (int i = 0; i < amounts.size(); ++i) {
        const QString rq = QStringLiteral("2026-03-%1").arg(i + 1, 2, 10, QChar('0'));
        if (payments)
            addPayment(f, rq, "工商银行", amounts.at(i).toDouble());
        else
            addReceipt(f, rq, "工商银行", amounts.at(i).toDouble(), "销售甲");
    }
    if (unread)
        f.exec(QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                       "INSERT INTO %2 (rq, bz, zphm, xkr, et, an, fkhm, shbank, kpr) "
                       "SELECT '2026-03-20', '现金支票', '001', '某某', '货款', 0, '工商银行', '工商银行', 'system' FROM n")
                   .arg(unread)
                   .arg(payments ? "xjzp" : "jzd"));
    auto *w = qobject_cast<w_cabank *>(ui::openWindow(list));
    QVERIFY(w);
    w->show();
    query(w, "2026-01-01", "2026-12-31");
    dw::ReportView *report = w->report();
    QCOMPARE(report->buffer().complete(), unread == 0);
    // On screen: the group's sum at its head.
    QVERIFY2(texts(report->visibleContent()).contains(total), qPrintable(texts(report->visibleContent()).join(u' ')));
    // On paper: the group's sum and the list's total.
    PrintedPages printed;
    w->get<QPushButton>("cb_1")->click();
    QCOMPARE(printed.documents.size(), 1);
    const QStringList all = printed.allTexts();
    QCOMPARE(all.count(total), 2);
    QVERIFY(all.contains(first));
    const QStringList last = texts(printed.documents.first().pages.last());
    QCOMPARE(last.at(last.size() - 4), total); // the list's total, above the footer's three texts
    QVERIFY(f.boxes.isEmpty());
}

void tst_lists::sumsPastTheirRangeShowNoFigure_data()
{
    // A hundred payments of the largest amount a cell shows add up past what 64 bits of fen hold: the group's
    // sum and the list's total are no figure, whether the program adds the rows read or the database adds them.
    QTest::addColumn<int>("unread"); // rows of 0.00 after them in the group
    QTest::newRow("rows read") << 0;
    QTest::newRow("rows unread") << 700;
}

void tst_lists::sumsPastTheirRangeShowNoFigure()
{
    QFETCH(int, unread);
    Fixture f;
    QVERIFY(f.connect());
    const auto add = [&f](int rows, const char *rq, const char *an) {
        f.exec(QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                       "INSERT INTO xjzp (rq, bz, zphm, xkr, et, an, fkhm, kpr) "
                       "SELECT '%2', '现金支票', '001', '某某', '货款', %3, '工商银行', 'system' FROM n")
                   .arg(rows)
                   .arg(rq, an));
    };
    add(100, "2026-03-01", "999999999999999.99");
    if (unread)
        add(unread, "2026-03-20", "0");
    auto *w = qobject_cast<w_cabank *>(ui::openWindow("w_cabank"));
    QVERIFY(w);
    w->show();
    query(w, "2026-01-01", "2026-12-31");
    dw::ReportView *report = w->report();
    const auto negative = [](const QStringList &texts) {
        return texts.filter(QRegularExpression("^-\\d")); // a wrapped sum reads as a negative figure
    };
    const QStringList screen = texts(report->visibleContent());
    QVERIFY2(screen.contains("1,000,000,000,000,000.00"), qPrintable(screen.join(u' '))); // the rows show
    QCOMPARE(negative(screen), QStringList());
    QTRY_COMPARE(f.boxes.size(), 1); // said once, as a sum the database cannot make
    QCOMPARE(f.boxes.first().title, QStringLiteral("数据库错误"));
    // Said alike whoever added the rows.
    QVERIFY2(f.boxes.first().text.contains("金额合计超出了能计算的范围（integer overflow）"),
             qPrintable(f.boxes.first().text));
    QVERIFY(screen.contains("第 1 页,共 页 ")); // no count of pages either, as after any failed read
    // On paper: a list whose sums failed is not printed, as one whose rows could not be read.
    PrintedPages printed;
    w->get<QPushButton>("cb_1")->click();
    QCOMPARE(negative(printed.allTexts()), QStringList());
    QCOMPARE(f.boxes.size(), 2);
    QVERIFY2(f.boxes.last().text.startsWith("打印没有完成：") && f.boxes.last().text.contains("金额合计超出了能计算的范围"),
             qPrintable(f.boxes.last().text));
    grab(w, QString("w_cabank_sum_past_range_%1").arg(unread));
}

void tst_lists::largeRegister()
{
    Fixture f;
    QVERIFY(f.connect());
    {
        QSqlDatabase db = g::sqlca.database();
        QSqlQuery q(db);
        QVERIFY(db.transaction());
        QVERIFY(q.prepare("INSERT INTO xjzp (rq, bz, zphm, xkr, et, an, fkhm) VALUES (?, '现金支票', ?, ?, '货款', ?, ?)"));
        for (int i = 0; i < 20000; ++i) {
            q.addBindValue(QDate(2026, 1, 1).addDays(i % 60).toString(Qt::ISODate));
            q.addBindValue(QString::number(100000 + i));
            q.addBindValue(QStringLiteral("收款人%1").arg(i));
            q.addBindValue(i % 1000 + 0.25);
            q.addBindValue(QStringLiteral("银行%1").arg(i % 7));
            QVERIFY(q.exec());
        }
        QVERIFY(db.commit());
    }
    auto *w = openList<w_cabank>("w_cabank");
    w->show();
    QElapsedTimer timer;
    timer.start();
    query(w, "2026-01-01", "2026-12-31");
    const qint64 retrieve = timer.restart();
    w->grab();
    const qint64 firstPaint = timer.restart();
    w->report()->verticalScrollBar()->setValue(w->report()->verticalScrollBar()->maximum());
    w->grab();
    const qint64 lastPaint = timer.restart();
    int pages = 0;
    {
        PrintedPages printed;
        w->report()->print();
        pages = int(printed.documents.value(0).pages.size());
    }
    const qint64 paginate = timer.elapsed();
    QCOMPARE(w->report()->rowCount(), 20000);
    qInfo("20000 rows: retrieve %lld ms, first paint %lld ms, paint at the end %lld ms, %lld pages laid out in %lld ms",
          retrieve, firstPaint, lastPaint, qint64(pages), paginate);
    QVERIFY(texts(w->report()->visibleContent()).contains("20000"));
    QVERIFY(retrieve < 3000);
    QVERIFY(firstPaint < 500 && lastPaint < 500);
}

QTEST_MAIN(tst_lists)
#include "tst_lists.moc"
