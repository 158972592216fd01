// A register whose file is damaged part-way through its rows: the views read the rows before the damage,
// then say that the read failed, in the grid's own words, and show no count or total as if it were whole;
// nothing is written on the strength of the rows read.
#include "damaged.h"
#include "fixture.h"

#include "books/book_views.h"
#include "books/lists_reports.h"
#include "brevik.h"
#include "dataview/dataview.h"
#include "dataview/report.h"
#include "globals.h"
#include "platform/controls.h"
#include "platform/transaction.h"
#include "platform/window.h"

#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QTableView>
#include <QtTest>

namespace {
constexpr int kRows = 3000;
const QDate kFrom = damage::kFrom;
const QDate kTo = kFrom.addYears(10);

// What the windows read: the register editor its register, the search every amount over 0 (a statement of its
// own, unordered), the list ten years.
damage::Read readOf(const QString &window)
{
    if (window == u"w_search")
        return {QStringLiteral("SELECT * FROM xjzp Where xjzp.an>?"), {0}};
    if (window == u"w_cabank")
        return damage::readOf(brevik::cabank().data, {kFrom, kTo});
    return damage::readOf(brevik::views::gobank());
}

// The texts a report shows in the place of one of its band's texts.
QStringList textsAt(const dw::PrintedPage &page, const dw::ReportText &at)
{
    QStringList found;
    for (const dw::PrintedText &t : page.texts)
        if (t.rect.x() == at.x && t.rect.width() == at.width)
            found << t.text;
    return found;
}

// The count of pages the footer's page text shows: -1 when it shows none, -2 when there is no page text.
int pageCountShown(const dw::PrintedPage &shown, const dw::ReportDefinition &def)
{
    const QStringList texts = textsAt(shown, def.footer.texts.at(0));
    if (texts.size() != 1)
        return -2;
    const QRegularExpressionMatch count = QRegularExpression(QStringLiteral("共 *(\\d+)")).match(texts.constFirst());
    return count.hasMatch() ? count.captured(1).toInt() : -1;
}
} // namespace

class tst_dataview_damaged : public QObject {
    Q_OBJECT
    QTemporaryDir m_files;
    QString m_damaged; // a register damaged at about 60 % of its rows
    int m_readable = 0; // the rows before the damage
    // Registers damaged within the first rows a retrieve reads: after some rows, and at the first.
    damage::Damaged m_early, m_atFirst;
    int m_page = 0; // the damaged page of m_damaged

    // A fresh world on a damaged file, connected as the program connects.
    static std::unique_ptr<Fixture> damagedWorld(const QString &file)
    {
        auto f = std::make_unique<Fixture>();
        if (!QFile::remove(f->databasePath()) || !QFile::copy(file, f->databasePath()) || !f->connect())
            qFatal("cannot set up the damaged register");
        return f;
    }

    // Writes the damaged page of m_damaged back as it was, in place.
    bool repair(const QString &path) const
    {
        QFile good(m_files.filePath("good.db"));
        if (!good.open(QIODevice::ReadOnly) || !good.seek(qint64(m_page - 1) * damage::kPageSize))
            return false;
        const QByteArray page = good.read(damage::kPageSize);
        QFile file(path);
        return file.open(QIODevice::ReadWrite) && file.seek(qint64(m_page - 1) * damage::kPageSize)
               && file.write(page) == qint64(damage::kPageSize);
    }

    static QList<msg::Call> errorBoxes(const Fixture &f)
    {
        QList<msg::Call> found;
        for (const msg::Call &b : f.boxes)
            if (b.title == QStringLiteral("数据库错误"))
                found << b;
        return found;
    }

private slots:
    void initTestCase();
    void cleanup() { closeOpenWindows(); }
    void damageInTheFirstRows_data();
    void damageInTheFirstRows();
    void gridReportsTheFailedReadAndKeepsTheRowsBefore();
    void listShowsNoTotalOverRowsItCouldNotRead();
    void printStopsWhereTheRowsCannotBeRead();
    void repairedDamageIsReadAgain();
    void connectionThatMetTheDamageIsClosed();
    void readAtAPlaceMeetsTheDamage_data();
    void readAtAPlaceMeetsTheDamage();
};

void tst_dataview_damaged::initTestCase()
{
    brevik::registerWindows();
    Fixture f;
    damage::fillRegister(f.databasePath(), kRows);
    const QString good = m_files.filePath("good.db");
    QVERIFY(QFile::copy(f.databasePath(), good));
    const int pages = int(QFileInfo(good).size() / damage::kPageSize);
    // The first page from 60 % of the file on whose damage the read stops part-way, past the first screens.
    const damage::Damaged late = damage::damagedCopy(good, m_files.path(), {readOf("gobank")}, pages * 6 / 10,
                                                     4 * dw::Buffer::kReadRows + 1, kRows - dw::Buffer::kReadRows - 1);
    QVERIFY2(!late.path.isEmpty(), "no page whose damage stops the read part-way");
    m_damaged = late.path;
    m_readable = late.readable.constFirst();
    m_page = late.page;

    // Pages on whose damage every window's first read fails: part-way, and at its first row.
    const QList<damage::Read> reads{readOf("gobank"), readOf("w_search"), readOf("w_cabank")};
    m_early = damage::damagedCopy(good, m_files.path(), reads, 2, 10, dw::Buffer::kReadRows - 10);
    QVERIFY2(!m_early.path.isEmpty(), "no page whose damage stops the first read part-way");
    m_atFirst = damage::damagedCopy(good, m_files.path(), reads, 2, 0, 0);
    QVERIFY2(!m_atFirst.path.isEmpty(), "no page whose damage stops the read at its first row");
}

void tst_dataview_damaged::damageInTheFirstRows_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("print"); // the window's print button
    QTest::addColumn<bool>("atFirst");
    for (const bool atFirst : {false, true}) {
        const char *where = atFirst ? "at the first row" : "after some rows";
        QTest::addRow("register editor, %s", where) << "gobank" << "cb_5" << atFirst;
        QTest::addRow("search, %s", where) << "w_search" << "cb_3" << atFirst;
        QTest::addRow("list, %s", where) << "w_cabank" << "cb_1" << atFirst;
    }
}

void tst_dataview_damaged::damageInTheFirstRows()
{
    // The first rows a window reads hold the damage: the rows before it stay (none, if none), the window says
    // so in the database-error box, totals and the page count are blank, and printing fails in the same words.
    QFETCH(QString, window);
    QFETCH(QString, print);
    QFETCH(bool, atFirst);
    const damage::Damaged &file = atFirst ? m_atFirst : m_early;
    const int readable = file.readable.at(window == u"gobank" ? 0 : window == u"w_search" ? 1 : 2);
    auto f = damagedWorld(file.path);
    const QDir printout(QStringLiteral("PRINTOUT"));
    const QStringList before = printout.entryList(QDir::Files | QDir::Hidden);

    auto *w = qobject_cast<ui::Window *>(ui::openWindow(window));
    QVERIFY(w);
    if (window == u"w_search") {
        QVERIFY(w->get<ui::DropDownList>("ddlb_1")->selectItem(QStringLiteral("金额")) >= 0);
        QVERIFY(w->get<ui::DropDownList>("ddlb_2")->selectItem(QStringLiteral(">")) >= 0);
        w->get<ui::SingleLineEdit>("sle_1")->setText(QStringLiteral("0"));
        w->get<QPushButton>("cb_1")->click();
    } else if (window == u"w_cabank") {
        w->get<ui::EditMask>("em_2")->setTextByCode(kFrom.toString(Qt::ISODate));
        w->get<ui::EditMask>("em_1")->setTextByCode(kTo.toString(Qt::ISODate));
        w->get<QPushButton>("cb_3")->click();
    }
    QCoreApplication::processEvents();
    QCOMPARE(errorBoxes(*f).size(), 1);
    QVERIFY2(errorBoxes(*f).constFirst().text.contains(QStringLiteral("错误代码 11")),
             qPrintable(errorBoxes(*f).constFirst().text));

    if (auto *grid = w->findChild<dw::DataView *>()) {
        QCOMPARE(grid->buffer().fetchedCount(), readable);
        QCOMPARE(grid->grid()->model()->rowCount(), readable);
        QVERIFY(grid->buffer().failed() && !grid->buffer().complete());
        QVERIFY(!grid->grid()->model()->canFetchMore({}));
    } else {
        auto *report = w->findChild<dw::ReportView *>();
        QVERIFY(report);
        const dw::ReportDefinition &def = report->definition();
        QCOMPARE(report->buffer().fetchedCount(), readable);
        QVERIFY(report->buffer().failed() && !report->buffer().complete());
        // At the top the sum of the group (when a row was read) is blank, and there is no count of pages.
        QScrollBar *bar = report->verticalScrollBar();
        const dw::PrintedPage top = report->visibleContent();
        const QStringList sums = textsAt(top, def.groupHeader.texts.at(1));
        QCOMPARE(sums, readable ? QStringList{QString()} : QStringList());
        QCOMPARE(pageCountShown(top, def), -1);
        // At the end the last row read, numbered, and the list's total blank.
        bar->setValue(bar->maximum());
        const dw::PrintedPage end = report->visibleContent();
        const QStringList numbers = textsAt(end, def.detail.texts.at(0));
        QCOMPARE(numbers.isEmpty() ? 0 : numbers.last().toInt(), readable);
        QCOMPARE(textsAt(end, def.summary.texts.last()), QStringList{QString()});
        QCOMPARE(pageCountShown(end, def), -1);
    }
    QCOMPARE(errorBoxes(*f).size(), 1); // reported once

    // 打印 fails in the database's words and leaves no file.
    f->boxes.clear();
    w->get<QPushButton>(print)->click();
    QCOMPARE(f->boxes.size(), 1);
    QCOMPARE(f->boxes.constFirst().title, QStringLiteral("错误!"));
    QVERIFY2(f->boxes.constFirst().text.startsWith(QStringLiteral("打印没有完成：数据库操作没有完成（错误代码 11）")),
             qPrintable(f->boxes.constFirst().text));
    QCOMPARE(printout.entryList(QDir::Files | QDir::Hidden), before);
}

void tst_dataview_damaged::gridReportsTheFailedReadAndKeepsTheRowsBefore()
{
    auto f = damagedWorld(m_damaged);
    dw::DataView view;
    view.setDefinition(brevik::views::gobank());
    view.setTransaction(g::sqlca);
    view.resize(800, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.retrieve(), dw::Buffer::kReadRows);
    QVERIFY(errorBoxes(*f).isEmpty());

    // Scrolling down reads on and meets the damage.
    for (int i = 0; i < kRows / dw::Buffer::kReadRows + 2 && errorBoxes(*f).isEmpty(); ++i) {
        view.grid()->scrollToBottom();
        QCoreApplication::processEvents();
    }
    QTRY_COMPARE(errorBoxes(*f).size(), 1);
    const msg::Call box = errorBoxes(*f).constFirst();
    QVERIFY2(box.text.contains(QStringLiteral("错误代码 11")), qPrintable(box.text));
    QVERIFY2(box.text.contains(db::faultAdvice(11)), qPrintable(box.text));

    // The rows before the damage stay; they are not presented as all there is.
    QCOMPARE(view.buffer().fetchedCount(), m_readable);
    QCOMPARE(view.grid()->model()->rowCount(), m_readable);
    QVERIFY(!view.buffer().complete());
    QVERIFY(!view.grid()->model()->canFetchMore({}));
    QCOMPARE(errorBoxes(*f).size(), 1); // reported once
    {
        // Nor are their totals or their count: the same rows in a buffer of their own.
        dw::Buffer rows(brevik::views::gobank());
        QCOMPARE(rows.retrieve(g::sqlca, {}), dw::Buffer::kReadRows);
        QCOMPARE(rows.rowCount(), m_readable);
        QVERIFY(rows.failed() && !rows.complete());
        QVERIFY(rows.total(dw::Aggregate::Sum, rows.columnIndex("an")).isNull());
        QVERIFY(rows.runTotal(0, 0, dw::Aggregate::Sum, rows.columnIndex("an")).isNull());
    }

    // An edit is not written on the strength of a partial read.
    const QVariant before = f->scalar("SELECT xkr FROM xjzp WHERE zphm = ?", {view.itemString(1, "zphm")});
    QCOMPARE(view.setItem(1, "xkr", QStringLiteral("改过的收款人")), 1);
    QCOMPARE(view.update(), -1);
    g::sqlca.rollback();
    QCOMPARE(f->scalar("SELECT xkr FROM xjzp WHERE zphm = ?", {view.itemString(1, "zphm")}), before);

    // A new retrieve starts afresh: the first rows read without a word.
    f->boxes.clear();
    QCOMPARE(view.retrieve(), dw::Buffer::kReadRows);
    QVERIFY(!view.buffer().failed());
    QCoreApplication::processEvents();
    QVERIFY(errorBoxes(*f).isEmpty());
}

void tst_dataview_damaged::listShowsNoTotalOverRowsItCouldNotRead()
{
    auto f = damagedWorld(m_damaged);
    const dw::ReportDefinition def = brevik::cabank();
    dw::ReportView report;
    report.setDefinition(def);
    report.setTransaction(g::sqlca);
    report.resize(1000, 700);
    report.show();
    QVERIFY(QTest::qWaitForWindowExposed(&report));
    QVERIFY(report.retrieve({kFrom, kFrom.addYears(10)}) > 0);

    // Page by page to the end, as the operator scrolls.
    QScrollBar *bar = report.verticalScrollBar();
    for (int at = 0; at <= bar->maximum() && errorBoxes(*f).isEmpty(); at += bar->pageStep()) {
        bar->setValue(at);
        report.viewport()->repaint();
    }
    QTRY_COMPARE(errorBoxes(*f).size(), 1);
    QVERIFY(errorBoxes(*f).constFirst().text.contains(db::faultAdvice(11)));

    // Laid out again over the rows read: the last numbered line is the last row read, the total is blank.
    bar->setValue(bar->maximum());
    report.viewport()->repaint();
    const dw::PrintedPage shown = report.visibleContent();
    const QStringList numbers = textsAt(shown, def.detail.texts.at(0));
    QVERIFY(!numbers.isEmpty());
    QCOMPARE(numbers.last(), QString::number(report.buffer().fetchedCount()));
    QVERIFY(!numbers.contains(QString()));
    QCOMPARE(textsAt(shown, def.summary.texts.last()), QStringList{QString()});
    // Nor a count of pages, as if the rows read were all.
    QCOMPARE(pageCountShown(shown, def), -1);
}

void tst_dataview_damaged::printStopsWhereTheRowsCannotBeRead()
{
    // A print reads the rows past those the view holds as its pages go: meeting the damage, it fails in the
    // database's words and leaves no file, rather than printing blank lines as the rest of the register.
    auto f = damagedWorld(m_damaged);
    const QDir printout(QStringLiteral("PRINTOUT"));
    const QStringList before = printout.entryList(QDir::Files | QDir::Hidden);

    dw::DataView grid;
    grid.setDefinition(brevik::views::gobank());
    grid.setTransaction(g::sqlca);
    QCOMPARE(grid.retrieve(), dw::Buffer::kReadRows);
    QString error;
    QCOMPARE(grid.print(&error), -1);
    QVERIFY2(error.startsWith(QStringLiteral("打印没有完成：数据库操作没有完成（错误代码 11）")), qPrintable(error));
    QVERIFY2(error.contains(db::faultAdvice(11)), qPrintable(error));
    // The view's own rows are untouched: they were read whole.
    QVERIFY(!grid.buffer().failed());
    QCOMPARE(grid.buffer().fetchedCount(), dw::Buffer::kReadRows);

    dw::ReportView report;
    report.setDefinition(brevik::cabank());
    report.setTransaction(g::sqlca);
    QVERIFY(report.retrieve({kFrom, kFrom.addYears(10)}) > 0);
    error.clear();
    QCOMPARE(report.print(&error), -1);
    QVERIFY2(error.contains(db::faultAdvice(11)), qPrintable(error));

    QCOMPARE(printout.entryList(QDir::Files | QDir::Hidden), before);
}

void tst_dataview_damaged::repairedDamageIsReadAgain()
{
    // The page repaired in place after a read met it: the next retrieve reads it from the file, not from the
    // cache of the connection that met the damage.
    auto f = damagedWorld(m_damaged);
    dw::Buffer rows(brevik::views::gobank());
    QCOMPARE(rows.retrieve(g::sqlca, {}), dw::Buffer::kReadRows);
    QCOMPARE(rows.rowCount(), m_readable);
    QVERIFY(rows.failed());

    QVERIFY(repair(f->databasePath()));
    QCOMPARE(rows.retrieve(g::sqlca, {}), dw::Buffer::kReadRows);
    QCOMPARE(rows.rowCount(), kRows);
    QVERIFY(rows.complete());
}

void tst_dataview_damaged::connectionThatMetTheDamageIsClosed()
{
    // The read connection a view met the damage on is closed, not kept for the next view (it would keep what
    // it read of the damaged file); the next retrieve reads the repaired file on a connection opened afresh.
    auto f = damagedWorld(m_damaged);
    QVERIFY(g::sqlca.readsApart());
    const auto readConnections = [] { return QSqlDatabase::connectionNames().filter(QStringLiteral("-read-")); };
    dw::Buffer rows(brevik::views::gobank());
    QCOMPARE(rows.retrieve(g::sqlca, {}), dw::Buffer::kReadRows);
    const QStringList reading = readConnections();
    QCOMPARE(reading.size(), 1);
    QCOMPARE(rows.rowCount(), m_readable);
    QVERIFY(rows.failed());
    QVERIFY2(!readConnections().contains(reading.first()), qPrintable(readConnections().join(u' ')));

    QVERIFY(repair(f->databasePath()));
    QCOMPARE(rows.retrieve(g::sqlca, {}), dw::Buffer::kReadRows);
    QCOMPARE(rows.rowCount(), kRows);
    QVERIFY(rows.complete());
}

void tst_dataview_damaged::readAtAPlaceMeetsTheDamage_data()
{
    QTest::addColumn<int>("from"); // a place read first, past the damage; 0: none
    QTest::addColumn<int>("to");   // the place whose read meets the damage
    QTest::newRow("a jump onto it") << 0 << 0;
    QTest::newRow("read back across it") << 300 << -300;
}

void tst_dataview_damaged::readAtAPlaceMeetsTheDamage()
{
    // Reading where the rows are, from their place or back from rows held after them, meets the damage: the
    // view is told, and nothing is read from the first rows up to the place instead.
    QFETCH(int, from);
    QFETCH(int, to);
    auto f = damagedWorld(m_damaged);
    dw::Buffer rows(brevik::views::gobank());
    int told = 0;
    rows.setFailureHandler([&told](int, const QString &) { ++told; });
    QCOMPARE(rows.retrieve(g::sqlca, {}), dw::Buffer::kReadRows);
    rows.readEnd();
    QCOMPARE(rows.knownCount(), kRows);
    if (from) {
        QVERIFY(rows.readTo(m_readable + from));
        QVERIFY(!rows.failed());
    }
    rows.readTo(m_readable + to);
    QVERIFY(rows.failed());
    QCOMPARE(told, 1);
    QCOMPARE(rows.fetchedCount(), dw::Buffer::kReadRows);
    QVERIFY(!rows.complete());
}

QTEST_MAIN(tst_dataview_damaged)
#include "tst_dataview_damaged.moc"
