// A register whose file is damaged part-way through its rows: the views read the rows before the damage,
// then say that the read failed, in the grid's own words, and show no count or total as if it were whole;
// nothing is written on the strength of the rows read.
#include "fixture.h"

#include "books/book_views.h"
#include "books/lists_reports.h"
#include "dataview/dataview.h"
#include "dataview/report.h"
#include "globals.h"
#include "platform/transaction.h"

#include <QFile>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>

namespace {
constexpr int kRows = 3000;
const QDate kFrom(2020, 1, 1);

// Payments entered day by day, so the register's own order (by date) follows the order of the table's pages.
void fillRegister(const QString &path)
{
    const QString name = QStringLiteral("damaged-fill");
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        d.setDatabaseName(path);
        if (!d.open() || !db::registerGbkCollation(d) || !d.transaction())
            qFatal("cannot fill the test database");
        QSqlQuery q(d);
        q.prepare("INSERT INTO xjzp (rq, bz, zphm, xkr, shbank, shcode, et, an, fkhm, fkzh, kpr, fkrm) "
                  "VALUES (?, '现金支票', ?, ?, '中国银行', ?, '货款', ?, '中国工商银行', '9558', 'system', '张三')");
        for (int i = 1; i <= kRows; ++i) {
            q.addBindValue(kFrom.addDays(i / 3).toString(Qt::ISODate));
            q.addBindValue(QString::number(10000000 + i));
            q.addBindValue(QStringLiteral("收款单位%1有限公司").arg(i % 7));
            q.addBindValue(QStringLiteral("6222%1").arg(i));
            q.addBindValue(i + 0.5);
            if (!q.exec())
                qFatal("fill: %s", qPrintable(q.lastError().text()));
        }
        if (!d.commit())
            qFatal("fill: commit failed");
    }
    QSqlDatabase::removeDatabase(name);
}

// Rows a plain read of the register in date order returns before it fails; -1 when it does not fail.
int readableRows(const QString &path)
{
    const QString name = QStringLiteral("damaged-probe");
    int rows = 0;
    bool failed = false;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        d.setDatabaseName(path);
        if (!d.open() || !db::registerGbkCollation(d))
            qFatal("cannot open the probe");
        QSqlQuery q(d);
        q.setForwardOnly(true);
        failed = !q.exec("SELECT * FROM xjzp ORDER BY rq, fkhm");
        while (!failed && q.next())
            ++rows;
        failed = failed || q.lastError().isValid();
    }
    QSqlDatabase::removeDatabase(name);
    return failed ? rows : -1;
}

// Overwrites one page of the file with bytes no page holds.
void damagePage(const QString &path, int page, int pageSize)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite) || !f.seek(qint64(page - 1) * pageSize)
        || f.write(QByteArray(pageSize, char(0xa5))) != pageSize)
        qFatal("cannot damage the file");
}
} // namespace

class tst_dataview_damaged : public QObject {
    Q_OBJECT
    QTemporaryDir m_files;
    QString m_damaged; // a register damaged at about 60 % of its rows
    int m_readable = 0; // the rows before the damage
    int m_page = 0;     // the damaged page

    // A fresh world on the damaged file, connected as the program connects.
    std::unique_ptr<Fixture> damagedWorld()
    {
        auto f = std::make_unique<Fixture>();
        if (!QFile::remove(f->databasePath()) || !QFile::copy(m_damaged, f->databasePath()) || !f->connect())
            qFatal("cannot set up the damaged register");
        return f;
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
    void gridReportsTheFailedReadAndKeepsTheRowsBefore();
    void listShowsNoTotalOverRowsItCouldNotRead();
    void printStopsWhereTheRowsCannotBeRead();
    void repairedDamageIsReadAgain();
};

void tst_dataview_damaged::initTestCase()
{
    Fixture f;
    fillRegister(f.databasePath());
    const QString good = m_files.filePath("good.db");
    QVERIFY(QFile::copy(f.databasePath(), good));
    const int pages = int(QFileInfo(good).size() / 4096);
    // The first page from 60 % of the file on whose damage the read stops part-way, past the first screens.
    for (int page = pages * 6 / 10; page <= pages && m_damaged.isEmpty(); ++page) {
        const QString candidate = m_files.filePath(QStringLiteral("damaged-%1.db").arg(page));
        QVERIFY(QFile::copy(good, candidate));
        damagePage(candidate, page, 4096);
        const int rows = readableRows(candidate);
        if (rows > 4 * dw::Buffer::kReadRows && rows < kRows - dw::Buffer::kReadRows) {
            m_damaged = candidate;
            m_readable = rows;
            m_page = page;
        }
    }
    QVERIFY2(!m_damaged.isEmpty(), "no page whose damage stops the read part-way");
}

void tst_dataview_damaged::gridReportsTheFailedReadAndKeepsTheRowsBefore()
{
    auto f = damagedWorld();
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
    auto f = damagedWorld();
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
    QStringList numbers, totals;
    for (const dw::PrintedText &t : report.visibleContent().texts) {
        if (t.rect.x() == def.detail.texts.at(0).x && t.rect.width() == def.detail.texts.at(0).width)
            numbers << t.text;
        if (t.rect.x() == def.summary.texts.last().x && t.rect.width() == def.summary.texts.last().width)
            totals << t.text;
    }
    QVERIFY(!numbers.isEmpty());
    QCOMPARE(numbers.last(), QString::number(report.buffer().fetchedCount()));
    QVERIFY(!numbers.contains(QString()));
    QCOMPARE(totals, QStringList{QString()});
}

void tst_dataview_damaged::printStopsWhereTheRowsCannotBeRead()
{
    // A print reads the rows past those the view holds as its pages go: meeting the damage, it fails in the
    // database's words and leaves no file, rather than printing blank lines as the rest of the register.
    auto f = damagedWorld();
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
    auto f = damagedWorld();
    dw::Buffer rows(brevik::views::gobank());
    QCOMPARE(rows.retrieve(g::sqlca, {}), dw::Buffer::kReadRows);
    QCOMPARE(rows.rowCount(), m_readable);
    QVERIFY(rows.failed());

    QFile good(m_files.filePath("good.db"));
    QVERIFY(good.open(QIODevice::ReadOnly) && good.seek(qint64(m_page - 1) * 4096));
    const QByteArray page = good.read(4096);
    QFile file(f->databasePath());
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(qint64(m_page - 1) * 4096));
    QCOMPARE(file.write(page), qint64(4096));
    file.close();

    QCOMPARE(rows.retrieve(g::sqlca, {}), dw::Buffer::kReadRows);
    QCOMPARE(rows.rowCount(), kRows);
    QVERIFY(rows.complete());
}

QTEST_MAIN(tst_dataview_damaged)
#include "tst_dataview_damaged.moc"
