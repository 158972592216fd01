// The data view engine: retrieve with bound arguments, items by row and name, computed cells, order,
// the current row and its colours, the double-click report, and the time a large book takes to show.
#include "fixture.h"

#include "books/sdwfkbk.h"
#include "books/sdwskrbk.h"
#include "globals.h"
#include "dataview/dataview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>

namespace {
void addPayee(Fixture &f, const QVariant &name, const QString &bs = {}, const QString &account = {})
{
    f.exec("INSERT INTO skrbook (bs, skrname, skrcode, skrbank, prov, city, xian) VALUES (?, ?, ?, ?, ?, ?, ?)",
           {bs, name, account, QString("银行") + name.toString(), "省", "市", QVariant()});
}

int codeOf(Fixture &f, const QString &name)
{
    return f.scalar("SELECT code FROM skrbook WHERE skrname = ?", {name}).toInt();
}

QStringList names(dw::DataView &view)
{
    QStringList out;
    for (int r = 1; r <= view.rowCount(); ++r)
        out << view.itemString(r, "skrname");
    return out;
}

QPoint cellCentre(QTableView *grid, int row, int column)
{
    return grid->visualRect(grid->model()->index(row - 1, column)).center();
}
} // namespace

class tst_dataview : public QObject {
    Q_OBJECT
private slots:
    void retrieveBindsThePattern_data();
    void retrieveBindsThePattern();
    void itemsOfMissingRowsAndNullsAreEmpty();
    void argumentsByNameAndQuotedColons();
    void endReadOnlyWhereTheOrderIsTotal_data();
    void endReadOnlyWhereTheOrderIsTotal();
    void failedRetrieveReportsThroughTheTransaction();
    void rowsOrderByGbkText();
    void currentRowAndItsColours();
    void keepSameRecordAcrossReread();
    void doubleClickReportsTheRow();
    void benchmarkTenThousandRows();
};

void tst_dataview::retrieveBindsThePattern_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("expected");
    // The book: 北京甲, 上海乙, 50%折扣, 5_0 and a row without a name.
    QTest::newRow("all") << "%" << QStringList{"50%折扣", "5_0", "北京甲", "上海乙"};
    QTest::newRow("part") << "%京%" << QStringList{"北京甲"};
    QTest::newRow("percent is a wildcard") << "%5%0%" << QStringList{"50%折扣", "5_0"};
    QTest::newRow("underscore is a wildcard") << "%5_%" << QStringList{"50%折扣", "5_0"};
    QTest::newRow("no match") << "%广州%" << QStringList{};
    QTest::newRow("quote is only text") << "%'%" << QStringList{};
}

void tst_dataview::retrieveBindsThePattern()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, expected);
    Fixture f;
    QVERIFY(f.connect());
    for (const char *n : {"北京甲", "上海乙", "50%折扣", "5_0"})
        addPayee(f, QString::fromUtf8(n));
    addPayee(f, QVariant()); // NULL name: matches no pattern
    dw::DataView view;
    view.setDefinition(brevik::sdwskrbk());
    view.setTransaction(g::sqlca);
    QCOMPARE(view.retrieve({pattern}), expected.size());
    QCOMPARE(g::sqlca.SQLCode, expected.isEmpty() ? 100 : 0);
    QCOMPARE(names(view), expected);
    QCOMPARE(view.currentRow(), expected.isEmpty() ? 0 : 1);
}

void tst_dataview::itemsOfMissingRowsAndNullsAreEmpty()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayee(f, "甲", "A1", "6222");
    dw::DataView view;
    view.setDefinition(brevik::sdwskrbk());
    view.setTransaction(g::sqlca);
    QCOMPARE(view.retrieve({"%"}), 1);
    QCOMPARE(view.itemString(1, "skrname"), QString("甲"));
    QCOMPARE(view.itemString(1, "SKRCODE"), QString("6222"));
    QCOMPARE(view.item(1, "code").toLongLong(), qint64(codeOf(f, "甲")));
    QCOMPARE(view.itemString(1, "xian"), QString()); // NULL
    QVERIFY(view.item(1, "xian").isNull());
    for (int row : {0, 2, -1})
        QCOMPARE(view.itemString(row, "skrname"), QString());
    QCOMPARE(view.itemString(1, "nosuch"), QString());
    // The computed row number, by its cell name and as shown.
    QCOMPARE(view.itemString(1, "rownum"), QString("1"));
    QCOMPARE(view.buffer().cellText(1, 0), QString("1"));
    QCOMPARE(view.buffer().cellText(1, 1), QString("A1"));
}

void tst_dataview::argumentsByNameAndQuotedColons()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayee(f, "甲", "x:y");
    addPayee(f, "乙", "b");
    dw::Definition d;
    d.sql = "SELECT skrname, bs FROM skrbook WHERE (skrname = :who OR bs = :who) AND bs <> ':who' AND bs LIKE :b";
    d.arguments = {{"b"}, {"who"}};
    d.columns = {{"skrname"}, {"bs"}};
    dw::Buffer buffer(d);
    QCOMPARE(buffer.retrieve(g::sqlca, {"%", "乙"}), 1);
    QCOMPARE(buffer.itemString(1, "skrname"), QString("乙"));
    QCOMPARE(buffer.retrieve(g::sqlca, {"x%", "x:y"}), 1);
    QCOMPARE(buffer.itemString(1, "skrname"), QString("甲"));
}

void tst_dataview::endReadOnlyWhereTheOrderIsTotal_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("uniqueKey");
    QTest::addColumn<bool>("fromTheEnd");
    QTest::addColumn<bool>("identified");
    const QString two = "SELECT s.code, s.skrname FROM skrbook s, fkrbook p WHERE s.code = p.code";
    QTest::newRow("one table: its row id") << "SELECT code, skrname FROM skrbook" << false << true << true;
    QTest::newRow("two tables, the key not said unique") << two << false << false << false;
    QTest::newRow("two tables, the key said unique") << two << true << true << false;
    QTest::newRow("rows of a query in parentheses, the key not said unique")
        << "SELECT code, skrname FROM (SELECT code, skrname FROM skrbook) t" << false << false << false;
    QTest::newRow("an order that cannot be turned round")
        << "SELECT code, skrname FROM skrbook ORDER BY bs NULLS LAST" << false << false << false;
}

void tst_dataview::endReadOnlyWhereTheOrderIsTotal()
{
    // The last rows are read from the end only where the order tells every row apart: a query of one table by
    // its row id, another by its key only where the view says the key is unique.
    QFETCH(QString, sql);
    QFETCH(bool, uniqueKey);
    QFETCH(bool, fromTheEnd);
    QFETCH(bool, identified);
    dw::Definition d;
    d.sql = sql;
    d.columns = {{"code", dw::Type::Long, 0, true}, {"skrname"}};
    d.sort = {"skrname"};
    d.uniqueKey = uniqueKey;
    QCOMPARE(dw::Buffer(d).endReadable(), fromTheEnd);
    dw::Statement statement;
    statement.compile(d);
    QCOMPARE(statement.identified(), identified);
    QCOMPARE(statement.order().first().expression, QString(sql.startsWith("SELECT s.") ? "s.skrname" : "skrname"));
}

void tst_dataview::failedRetrieveReportsThroughTheTransaction()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayee(f, "甲");
    dw::Definition good = brevik::sdwskrbk();
    dw::DataView view;
    view.setDefinition(good);
    view.setTransaction(g::sqlca);
    QCOMPARE(view.retrieve({"%"}), 1);

    dw::Definition bad = good;
    bad.sql = "SELECT code, skrname FROM nosuchtable WHERE skrname LIKE :dnname";
    view.setDefinition(bad);
    QCOMPARE(view.retrieve({"%"}), -1);
    QCOMPARE(g::sqlca.SQLCode, -1);
    QVERIFY(g::sqlca.SQLErrText.contains("nosuchtable"));
    QCOMPARE(view.rowCount(), 0);
    QCOMPARE(view.currentRow(), 0);

    // An unbound view retrieves nothing.
    dw::DataView unbound;
    unbound.setDefinition(good);
    QCOMPARE(unbound.retrieve({"%"}), -1);
}

void tst_dataview::rowsOrderByGbkText()
{
    Fixture f;
    QVERIFY(f.connect());
    // In code-point order these would read 张 李 王 阿; GBK puts the common characters in pinyin order.
    for (const char *n : {"张三", "王五", "阿六", "李四"})
        addPayee(f, QString::fromUtf8(n));
    dw::DataView view;
    view.setDefinition(brevik::sdwskrbk());
    view.setTransaction(g::sqlca);
    view.retrieve({"%"});
    QCOMPARE(names(view), QStringList({"阿六", "李四", "王五", "张三"}));
    QCOMPARE(view.itemString(4, "rownum"), QString("4"));
}

void tst_dataview::currentRowAndItsColours()
{
    Fixture f;
    QVERIFY(f.connect());
    for (const char *n : {"甲", "乙", "丙"})
        addPayee(f, QString::fromUtf8(n));
    dw::DataView view;
    view.setDefinition(brevik::sdwskrbk());
    view.setTransaction(g::sqlca);
    view.resize(400, 200);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QSignalSpy focus(&view, &dw::DataView::rowFocusChanged);
    view.retrieve({"%"});
    QCOMPARE(view.currentRow(), 1);

    QTableView *grid = view.grid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, 3, 2));
    QCOMPARE(view.currentRow(), 3);
    QCOMPARE(focus.last().at(0).toInt(), 3);

    const QColor current(254, 235, 187), other(216, 240, 208);
    auto background = [grid](int row, int column) {
        return grid->model()->index(row - 1, column).data(Qt::BackgroundRole).value<QColor>();
    };
    QCOMPARE(background(3, 2), current);
    QCOMPARE(background(1, 2), other);
    QVERIFY(!background(3, 0).isValid()); // the row number has no colour of its own

    // The payer list marks only the full name.
    dw::DataView payers;
    payers.setDefinition(brevik::sdwfkbk());
    payers.setTransaction(g::sqlca);
    f.exec("INSERT INTO fkrbook (skrname) VALUES ('付')");
    payers.retrieve({"%"});
    const QAbstractItemModel *m = payers.grid()->model();
    QCOMPARE(m->headerData(2, Qt::Horizontal).toString(), QString("付款人全称"));
    QCOMPARE(m->index(0, 2).data(Qt::BackgroundRole).value<QColor>(), current);
    QVERIFY(!m->index(0, 3).data(Qt::BackgroundRole).isValid());

    // Keyboard moves the current row too.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Up);
    QCOMPARE(view.currentRow(), 2);
    view.setCurrentRow(9); // out of range: ignored
    QCOMPARE(view.currentRow(), 2);
}

void tst_dataview::keepSameRecordAcrossReread()
{
    Fixture f;
    QVERIFY(f.connect());
    for (const char *n : {"乙", "丙", "丁"})
        addPayee(f, QString::fromUtf8(n));
    dw::DataView view;
    view.setDefinition(brevik::sdwskrbk());
    view.setTransaction(g::sqlca);
    view.retrieve({"%"});
    const int row = view.buffer().findHeld({qint64(codeOf(f, "乙"))});
    QVERIFY(row > 0);
    view.setCurrentRow(row);

    // A new row that sorts first moves the record down one line; the current row follows it.
    addPayee(f, "阿");
    view.retrieve({"%"}, dw::DataView::Keep::SameRecord);
    QCOMPARE(view.itemString(view.currentRow(), "skrname"), QString("乙"));
    QCOMPARE(view.currentRow(), row + 1);

    // A plain retrieve goes back to the first row; a vanished record does too.
    view.retrieve({"%"});
    QCOMPARE(view.currentRow(), 1);
    view.setCurrentRow(view.buffer().findHeld({qint64(codeOf(f, "丁"))}));
    f.exec("DELETE FROM skrbook WHERE skrname = '丁'");
    view.retrieve({"%"}, dw::DataView::Keep::SameRecord);
    QCOMPARE(view.currentRow(), 1);
}

void tst_dataview::doubleClickReportsTheRow()
{
    Fixture f;
    QVERIFY(f.connect());
    for (const char *n : {"甲", "乙"})
        addPayee(f, QString::fromUtf8(n));
    dw::DataView view;
    view.setDefinition(brevik::sdwskrbk());
    view.setTransaction(g::sqlca);
    view.resize(400, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.retrieve({"%"});
    QSignalSpy spy(&view, &dw::DataView::doubleClicked);
    QTableView *grid = view.grid();

    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, 2, 2));
    QCOMPARE(view.currentRow(), 2);
    QCOMPARE(spy.last().at(0).toInt(), 2);

    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(20, grid->viewport()->height() - 5));
    QCOMPARE(spy.last().at(0).toInt(), 0); // below the last row
    QCOMPARE(view.currentRow(), 2);

    QHeaderView *header = grid->horizontalHeader();
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {},
                       QPoint(header->sectionViewportPosition(2) + 10, header->height() / 2));
    QCOMPARE(spy.last().at(0).toInt(), 0);
}

void tst_dataview::benchmarkTenThousandRows()
{
    Fixture f;
    QVERIFY(f.connect());
    {
        QSqlDatabase d = QSqlDatabase::addDatabase("QSQLITE", "bench");
        d.setDatabaseName(f.databasePath());
        QVERIFY(d.open());
        QVERIFY(db::registerGbkCollation(d));
        d.transaction();
        QSqlQuery q(d);
        q.prepare("INSERT INTO skrbook (bs, skrname, skrcode, skrbank, prov, city, xian) VALUES (?, ?, ?, ?, ?, ?, ?)");
        for (int i = 0; i < 10000; ++i) {
            q.addBindValue(QString::number(i % 999999));
            q.addBindValue(QString("收款单位%1有限公司").arg(10000 - i));
            q.addBindValue(QString("6222%1").arg(i, 12, 10, QChar('0')));
            q.addBindValue(QString("中国工商银行第%1支行").arg(i % 300));
            q.addBindValue("浙江");
            q.addBindValue("杭州");
            q.addBindValue("西湖");
            QVERIFY(q.exec());
        }
        d.commit();
        q = QSqlQuery();
        d.close();
    }
    QSqlDatabase::removeDatabase("bench");

    dw::DataView view;
    view.setDefinition(brevik::sdwskrbk());
    view.setTransaction(g::sqlca);
    view.resize(445, 190);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    // A plain retrieve (open, search) and a re-read that keeps the current record (activation).
    for (const auto keep : {dw::DataView::Keep::FirstRow, dw::DataView::Keep::SameRecord}) {
        QList<qint64> times;
        for (int run = 0; run < 5; ++run) {
            view.setCurrentRow(7000);
            QElapsedTimer t;
            t.start();
            QVERIFY(view.retrieve({"%"}, keep) > 0); // the rows in sight and a little more are read
            view.repaint(); // header and the rows in sight are drawn now
            times << t.nsecsElapsed() / 1000;
            QCOMPARE(view.currentRow(), keep == dw::DataView::Keep::SameRecord ? 7000 : 1);
            // The current row is in sight.
            QTableView *grid = view.grid();
            const QRect cell = grid->visualRect(grid->model()->index(view.currentRow() - 1, 2));
            QVERIFY(grid->viewport()->rect().contains(cell.center()));
        }
        const qint64 first = times.first();
        std::sort(times.begin(), times.end());
        qInfo("10000 book rows retrieved and shown (%s): median %.1f ms, first %.1f ms, worst %.1f ms",
              keep == dw::DataView::Keep::FirstRow ? "first row" : "same record", times.at(times.size() / 2) / 1000.0,
              first / 1000.0, times.last() / 1000.0);
    }
    QCOMPARE(view.itemString(1, "skrname"), QString("收款单位10000有限公司"));
    QCOMPARE(view.rowCount(), 10000);
}

QTEST_MAIN(tst_dataview)
#include "tst_dataview.moc"
