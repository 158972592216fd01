// Editing in the data view engine: row states, the update by key with its rollback on failure, the
// database-error event, typing limits, Tab and Enter through the cells, display formats and printing.
#include "fixture.h"
#include "ink.h"
#include "printedpages.h"

#include "books/book_views.h"
#include "globals.h"
#include "dataview/dataview.h"
#include "platform/balloon.h"
#include "platform/printjob.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

namespace {
using dw::RowStatus;

void addAccount(Fixture &f, int code, const QString &name)
{
    f.exec("INSERT INTO bankoffice (code, bankcode, bankoffice, printbank) VALUES (?, ?, ?, ?)",
           {code, QString("6222%1").arg(code), name, name + "行"});
}

QStringList accounts(Fixture &f)
{
    QStringList out;
    const int n = f.scalar("SELECT count(*) FROM bankoffice").toInt();
    for (int i = 0; i < n; ++i)
        out << f.scalar(QString("SELECT code || ':' || bankoffice FROM bankoffice ORDER BY code LIMIT 1 OFFSET %1")
                            .arg(i))
                   .toString();
    return out;
}

// A bank-account book with rows 1 甲, 2 乙, 3 丙, bound and read.
struct Book {
    Fixture f;
    dw::DataView view;
    Book()
    {
        if (!f.connect())
            qFatal("no database");
        addAccount(f, 1, "甲");
        addAccount(f, 2, "乙");
        addAccount(f, 3, "丙");
        view.setDefinition(brevik::views::dwbank());
        view.setTransaction(g::sqlca);
        view.retrieve();
    }
};

QLineEdit *editor() { return qobject_cast<QLineEdit *>(QApplication::focusWidget()); }
} // namespace

class tst_dataview_edit : public QObject {
    Q_OBJECT
private slots:
    void init() { print::setBackend(print::Backend::Recording); }
    void rowStatesThroughEditing();
    void updateWritesDeletesChangesAndEditedNewRows();
    void updateFindsRowsByTheKeyAsRead();
    void keyReadAsNullIsFound();
    void failedUpdateRollsBackAndKeepsEdits_data();
    void failedUpdateRollsBackAndKeepsEdits();
    void rowGoneSinceReadFailsTheUpdate();
    void writeThatReachesOtherThanOneRowIsRefused_data();
    void writeThatReachesOtherThanOneRowIsRefused();
    void itemsRefuseWhatTheColumnCannotHold();
    void typingStopsAtTheColumnWidth();
    void formBoxNamedByItsLabel();
    void tabAndEnterMoveThroughTheCells();
    void enterHandlerDecides();
    void displayFormats_data();
    void displayFormats();
    void printShowsTheGridAsEdited();
    void wideGridIsNarrowedToThePage();
    void printedCellsStayInTheirColumns();
    void totalsAfterAnEditAreExact_data();
    void totalsAfterAnEditAreExact();
};

void tst_dataview_edit::rowStatesThroughEditing()
{
    Book b;
    dw::DataView &v = b.view;
    QCOMPARE(v.rowCount(), 3);
    QCOMPARE(b.view.buffer().rowStatus(1), RowStatus::NotModified);

    const int added = v.insertRow(0);
    QCOMPARE(added, 4);
    QCOMPARE(v.buffer().rowStatus(4), RowStatus::New);
    QCOMPARE(v.setItem(4, "bankoffice", "丁"), 1);
    QCOMPARE(v.buffer().rowStatus(4), RowStatus::NewModified);

    // Setting the value a row already holds edits nothing.
    QCOMPARE(v.setItem(2, "bankoffice", "乙"), 1);
    QCOMPARE(v.buffer().rowStatus(2), RowStatus::NotModified);
    QCOMPARE(v.setItem(2, "bankoffice", "乙二"), 1);
    QCOMPARE(v.buffer().rowStatus(2), RowStatus::DataModified);
    QCOMPARE(v.buffer().modifiedCount(), 2);

    // A retrieved row goes to the delete buffer, a new one is just dropped.
    QCOMPARE(v.deleteRow(1), 1);
    QCOMPARE(v.buffer().deletedCount(), 1);
    v.insertRow(0);
    QCOMPARE(v.deleteRow(v.rowCount()), 1);
    QCOMPARE(v.buffer().deletedCount(), 1);
    QCOMPARE(v.deleteRow(99), -1);
    // Row numbers follow: the row-number cell counts from the top.
    QCOMPARE(v.itemString(1, "bankoffice"), QString("乙二"));
    QCOMPARE(v.rowCount(), 3);
}

void tst_dataview_edit::updateWritesDeletesChangesAndEditedNewRows()
{
    Book b;
    dw::DataView &v = b.view;
    v.deleteRow(1);                      // 甲
    v.setItem(1, "bankoffice", "乙改"); // 乙
    const int fresh = v.insertRow(0);
    v.setItem(fresh, "code", 9);
    v.setItem(fresh, "bankoffice", "新");
    v.insertRow(0); // never typed into: not inserted

    QCOMPARE(v.update(), 1);
    QCOMPARE(g::sqlca.SQLCode, 0);
    g::sqlca.commit();
    QCOMPARE(accounts(b.f), (QStringList{"2:乙改", "3:丙", "9:新"}));
    // The other columns of a changed row keep their values; the written rows count as unchanged now.
    QCOMPARE(b.f.scalar("SELECT bankcode FROM bankoffice WHERE code = 2").toString(), QString("62222"));
    QCOMPARE(v.buffer().deletedCount(), 0);
    QCOMPARE(v.buffer().modifiedCount(), 0);
    QCOMPARE(v.buffer().rowStatus(fresh), RowStatus::NotModified);
    QVERIFY(b.f.boxes.isEmpty());
}

void tst_dataview_edit::updateFindsRowsByTheKeyAsRead()
{
    Fixture f;
    QVERIFY(f.connect());
    // The payer book is keyed by name, bank and account: renaming finds the row by its old name.
    f.exec("INSERT INTO fkrbook (bs, skrname, skrbank, skrcode) VALUES ('a', '旧名', '某行', '1')");
    f.exec("INSERT INTO fkrbook (bs, skrname, skrbank, skrcode) VALUES ('b', '旧名', '某行', '2')");
    dw::DataView v;
    v.setDefinition(brevik::views::dwfkbk());
    v.setTransaction(g::sqlca);
    QCOMPARE(v.retrieve(), 2);
    const int row = v.itemString(1, "skrcode") == "1" ? 1 : 2;
    v.setItem(row, "skrname", "新名");
    v.setItem(row, "skrcode", "11");
    QCOMPARE(v.update(), 1);
    g::sqlca.commit();
    QCOMPARE(f.scalar("SELECT skrname || skrcode FROM fkrbook WHERE bs = 'a'").toString(), QString("新名11"));
    QCOMPARE(f.scalar("SELECT skrname || skrcode FROM fkrbook WHERE bs = 'b'").toString(), QString("旧名2"));
}

void tst_dataview_edit::keyReadAsNullIsFound()
{
    Fixture f;
    QVERIFY(f.connect());
    f.exec("UPDATE myname SET prov = NULL, city = NULL");
    dw::DataView v;
    v.setDefinition(brevik::views::dwgate());
    v.setTransaction(g::sqlca);
    QCOMPARE(v.retrieve(), 1);
    v.setItem(1, "city", "杭州");
    QCOMPARE(v.update(), 1);
    g::sqlca.commit();
    QCOMPARE(f.scalar("SELECT city FROM myname").toString(), QString("杭州"));
    QCOMPARE(f.scalar("SELECT count(*) FROM myname").toInt(), 1);
}

void tst_dataview_edit::failedUpdateRollsBackAndKeepsEdits_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("handlerResult");
    QTest::addColumn<int>("reports");
    QTest::newRow("text too long, own report") << "long" << 0 << 1;
    QTest::newRow("duplicate key, handled") << "duplicate" << 1 << 0;
}

void tst_dataview_edit::failedUpdateRollsBackAndKeepsEdits()
{
    QFETCH(QString, failure);
    QFETCH(int, handlerResult);
    QFETCH(int, reports);
    Book b;
    // The view's own typing limit lifted, so a too-long text reaches the transaction, which refuses it.
    dw::Definition loose = brevik::views::dwbank();
    loose.columns[1].limit = 100;
    dw::DataView v;
    v.setDefinition(loose);
    v.setTransaction(g::sqlca);
    QCOMPARE(v.retrieve(), 3);
    QList<QPair<int, QString>> raised;
    v.setDbErrorHandler([&](int code, const QString &text) {
        raised.append({code, text});
        return handlerResult;
    });
    // The delete and the first change run first and succeed; the last statement is refused.
    v.deleteRow(3);
    v.setItem(1, "printbank", "改过的行名");
    if (failure == "long") {
        QCOMPARE(v.setItem(2, "bankcode", QString(26, u'9')), 1);
    } else {
        const int fresh = v.insertRow(0);
        v.setItem(fresh, "code", 2); // 乙 holds 2
        v.setItem(fresh, "bankoffice", "重号");
    }
    QCOMPARE(v.update(), -1);
    QCOMPARE(g::sqlca.SQLCode, -1);
    QCOMPARE(raised.size(), 1);
    QVERIFY(!raised.first().second.isEmpty());
    QCOMPARE(int(b.f.boxes.size()), reports);
    if (reports)
        QVERIFY(b.f.boxes.first().text.contains(raised.first().second));
    // The edits stay to be corrected and saved again.
    QCOMPARE(v.buffer().deletedCount(), 1);
    QCOMPARE(v.buffer().modifiedCount(), 2);
    QCOMPARE(v.itemString(1, "printbank"), QString("改过的行名"));
    // Nothing of the update stays, even after a commit.
    g::sqlca.commit();
    QCOMPARE(accounts(b.f), (QStringList{"1:甲", "2:乙", "3:丙"}));
    QCOMPARE(b.f.scalar("SELECT printbank FROM bankoffice WHERE code = 1").toString(), QString("甲行"));
}

void tst_dataview_edit::rowGoneSinceReadFailsTheUpdate()
{
    Book b;
    b.f.exec("DELETE FROM bankoffice WHERE code = 2");
    b.view.setItem(2, "bankoffice", "乙改");
    QCOMPARE(b.view.update(), -1);
    QCOMPARE(g::sqlca.SQLDBCode, -3);
    QCOMPARE(b.view.buffer().rowStatus(2), RowStatus::DataModified);
    QCOMPARE(b.f.boxes.size(), 1);
}

void tst_dataview_edit::writeThatReachesOtherThanOneRowIsRefused_data()
{
    // The payer book's view, as defined or over two tables (its rows then bring no row id and are found by
    // their key alone). Two payers entered alike; another program may change the row chosen after the read.
    QTest::addColumn<bool>("twoTables");
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<bool>("deletes");
    QTest::addColumn<QString>("message");
    const QString named = "（付款人全称“甲公司”，付款人开户行“甲行”，银行帐号“6222”）";
    QTest::newRow("key alone finds two, delete")
        << true << "" << true << "删除的行" + named + "在数据库中有 2 行与它相同，无法只删除这一行";
    QTest::newRow("key alone finds two, edit")
        << true << "" << false << "第 1 行" + named + "在数据库中有 2 行与它相同，无法只修改这一行";
    const QString renamed = "UPDATE fkrbook SET skrname = '丙公司' WHERE code = 1";
    QTest::newRow("renamed meanwhile, delete") << false << renamed << true << "删除的行" + named + "已被其他程序修改或删除";
    QTest::newRow("renamed meanwhile, edit") << false << renamed << false << "第 1 行" + named + "已被其他程序修改或删除";
}

void tst_dataview_edit::writeThatReachesOtherThanOneRowIsRefused()
{
    QFETCH(bool, twoTables);
    QFETCH(QString, meanwhile);
    QFETCH(bool, deletes);
    QFETCH(QString, message);
    Fixture f;
    QVERIFY(f.connect());
    f.exec("INSERT INTO fkrbook (bs, skrname, skrbank, skrcode) VALUES ('1', '甲公司', '甲行', '6222'), "
           "('1', '甲公司', '甲行', '6222'), ('2', '乙公司', '乙行', '6223')");
    const QString before = f.scalar("SELECT group_concat(code || skrname || coalesce(prov, '-'), ',') FROM fkrbook").toString();
    dw::Definition d = brevik::views::dwfkbk();
    if (twoTables)
        d.sql = "SELECT fkrbook.code, fkrbook.bs, fkrbook.skrname, fkrbook.skrbank, fkrbook.skrcode, fkrbook.prov, "
                "fkrbook.city, fkrbook.xian FROM fkrbook, myname";
    dw::DataView v;
    v.setDefinition(d);
    v.setTransaction(g::sqlca);
    QCOMPARE(v.retrieve(), 3);
    if (!meanwhile.isEmpty())
        f.exec(meanwhile);
    if (deletes)
        QCOMPARE(v.deleteRow(1), 1);
    else
        QCOMPARE(v.setItem(1, "prov", "浙江"), 1);
    QCOMPARE(v.update(), -1);
    QCOMPARE(g::sqlca.SQLDBCode, -3);
    QCOMPARE(f.boxes.size(), 1);
    QVERIFY2(f.boxes.first().text.contains(message), qPrintable(f.boxes.first().text));
    // The edits stay in the window; nothing was written.
    QCOMPARE(v.buffer().deletedCount(), deletes ? 1 : 0);
    QCOMPARE(v.buffer().modifiedCount(), deletes ? 0 : 1);
    g::sqlca.commit();
    QString after = f.scalar("SELECT group_concat(code || skrname || coalesce(prov, '-'), ',') FROM fkrbook").toString();
    if (!meanwhile.isEmpty())
        after.replace("1丙公司", "1甲公司"); // the other program's change stays, only that
    QCOMPARE(after, before);
}

void tst_dataview_edit::itemsRefuseWhatTheColumnCannotHold()
{
    Book b;
    dw::DataView &v = b.view;
    // bankoffice holds 30 GBK bytes: 15 Chinese characters fit, 16 do not.
    QCOMPARE(v.setItem(1, "bankoffice", QString(15, QChar(0x4E2D))), 1);
    QCOMPARE(v.setItem(1, "bankoffice", QString(16, QChar(0x4E2D))), -1);
    QCOMPARE(v.itemString(1, "bankoffice"), QString(15, QChar(0x4E2D)));
    QCOMPARE(v.setItem(1, "code", "abc"), -1);
    QCOMPARE(v.setItem(1, "nosuch", "x"), -1);
    QCOMPARE(v.setItem(9, "bankoffice", "x"), -1);
}

void tst_dataview_edit::typingStopsAtTheColumnWidth()
{
    Book b;
    b.view.resize(800, 300);
    b.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b.view));
    b.view.setCurrentCell(1, "bankoffice");
    QLineEdit *e = editor();
    QVERIFY(e);
    e->selectAll();
    typeText(e, QString(20, QChar(0x56FD))); // 40 bytes typed into a 30-byte column
    QCOMPARE(e->text(), QString(15, QChar(0x56FD)));
    QTest::keyClick(e, Qt::Key_Tab);
    QCOMPARE(b.view.itemString(1, "bankoffice"), QString(15, QChar(0x56FD)));
    QCOMPARE(b.view.buffer().rowStatus(1), RowStatus::DataModified);
}

void tst_dataview_edit::formBoxNamedByItsLabel()
{
    // A box of a data view in free form is named by the label beside it when it cuts what was pasted.
    Fixture f;
    QVERIFY(f.connect());
    balloon::hide();
    dw::DataView v;
    v.setDefinition(brevik::views::dwgate());
    v.setTransaction(g::sqlca);
    v.resize(1000, 400);
    v.show();
    QApplication::setActiveWindow(&v);
    QVERIFY(QTest::qWaitForWindowActive(&v));
    QCOMPARE(v.retrieve(), 1);
    v.setCurrentCell(1, "ltdname");
    QLineEdit *e = editor();
    QVERIFY(e);
    e->selectAll();
    QGuiApplication::clipboard()->setText(QString(20, QChar(0x56FD))); // 40 bytes into a 32-byte column
    QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(e->text(), QString(16, QChar(0x56FD)));
    QVERIFY(!balloon::text().isEmpty());
    QVERIFY2(balloon::text().startsWith("“单位名称”"), qPrintable(balloon::text()));
}

void tst_dataview_edit::tabAndEnterMoveThroughTheCells()
{
    Book b;
    b.view.resize(800, 300);
    b.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b.view));
    b.view.setCurrentCell(2, "bankoffice");
    QCOMPARE(b.view.currentColumn(), 3);
    QTest::keyClick(editor(), Qt::Key_Tab);
    QCOMPARE(b.view.currentColumn(), 4);
    // Past the last cell of a row, Tab goes to the first of the next row; Backtab comes back.
    QTest::keyClick(editor(), Qt::Key_Tab);
    QCOMPARE(b.view.currentRow(), 3);
    QCOMPARE(b.view.currentColumn(), 1);
    QTest::keyClick(editor(), Qt::Key_Backtab);
    QCOMPARE(b.view.currentRow(), 2);
    QCOMPARE(b.view.currentColumn(), 4);
    // Enter without a handler of the window goes down the same column, and stays on the last row.
    QTest::keyClick(editor(), Qt::Key_Return);
    QCOMPARE(b.view.currentRow(), 3);
    QCOMPARE(b.view.currentColumn(), 4);
    QTest::keyClick(editor(), Qt::Key_Return);
    QCOMPARE(b.view.currentRow(), 3);
    // The last cell of the last row: Tab stays, and no row is added.
    b.view.setCurrentCell(3, "printbank");
    QTest::keyClick(editor(), Qt::Key_Tab);
    QCOMPARE(b.view.currentRow(), 3);
    QCOMPARE(b.view.currentColumn(), 4);
    QCOMPARE(b.view.rowCount(), 3);
    // Typed text reaches the item when Enter leaves the cell.
    b.view.setCurrentCell(1, "bankcode");
    editor()->selectAll();
    QTest::keyClicks(editor(), "555");
    QTest::keyClick(editor(), Qt::Key_Enter);
    QCOMPARE(b.view.itemString(1, "bankcode"), QString("555"));
}

void tst_dataview_edit::enterHandlerDecides()
{
    Book b;
    b.view.resize(800, 300);
    b.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b.view));
    int calls = 0;
    QString typedWhenCalled;
    b.view.setEnterHandler([&] {
        ++calls;
        typedWhenCalled = b.view.itemString(b.view.currentRow(), "printbank");
        if (b.view.currentColumn() == b.view.columnCount() && b.view.currentRow() == b.view.rowCount()) {
            b.view.insertRow(0);
            return true;
        }
        return false;
    });
    b.view.setCurrentCell(3, "printbank");
    editor()->selectAll();
    QTest::keyClicks(editor(), "x");
    QTest::keyClick(editor(), Qt::Key_Return);
    QCOMPARE(calls, 1);
    QCOMPARE(typedWhenCalled, QString("x")); // the typing is taken before the handler runs
    QCOMPARE(b.view.rowCount(), 4);
    QCOMPARE(b.view.buffer().rowStatus(4), RowStatus::New);
    // Declined: Enter moves on as Tab.
    b.view.setCurrentCell(1, "code");
    QTest::keyClick(editor(), Qt::Key_Return);
    QCOMPARE(b.view.currentColumn(), 2);
}

void tst_dataview_edit::displayFormats_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("shown");
    QTest::newRow("date yy.mm.dd") << QVariant(QDate(2026, 3, 5)) << "yy.mm.dd" << "26.03.05";
    QTest::newRow("date YY.MM.DD") << QVariant(QDate(2026, 3, 5)) << "YY.MM.DD" << "26.03.05";
    QTest::newRow("amount") << QVariant(1234567.5) << "###,###.00" << "1,234,567.50";
    QTest::newRow("small amount") << QVariant(0.5) << "###,###.00" << "0.50";
    QTest::newRow("negative") << QVariant(-1234.0) << "###,###.00" << "-1,234.00";
    QTest::newRow("masked") << QVariant("secret") << "'*****'" << "*****";
    QTest::newRow("masked null") << QVariant() << "'*****'" << "*****";
    QTest::newRow("general") << QVariant("text") << "" << "text";
}

void tst_dataview_edit::displayFormats()
{
    QFETCH(QVariant, value);
    QFETCH(QString, format);
    QFETCH(QString, shown);
    QCOMPARE(dw::formatValue(value, format), shown);
}

void tst_dataview_edit::printShowsTheGridAsEdited()
{
    Book b;
    b.view.setItem(2, "bankoffice", "未保存的名");
    PrintedPages printed;
    QCOMPARE(b.view.print(), 1);
    const QStringList texts = printed.allTexts();
    QVERIFY(texts.contains("开户名"));
    QVERIFY(texts.contains("未保存的名"));
    QVERIFY(!texts.contains("乙"));
    QCOMPARE(printed.calls(), (QStringList{"open", "close"}));
}

void tst_dataview_edit::wideGridIsNarrowedToThePage()
{
    Book b;
    dw::Definition wide = brevik::views::dwbank();
    for (dw::Cell &cell : wide.cells)
        cell.width *= 6; // far wider than A4 across, even at the least readable size
    b.view.setDefinition(wide);
    b.view.retrieve();
    PrintedPages printed;
    QCOMPARE(b.view.print(), 1);
    // Printed across the paper, drawn no smaller than the least readable type, the columns that do not fit
    // continuing on the next pages, each with the headers and the accounts' numbers (编号, the book's code).
    const int printableWidth = 29700 - 2 * 1016; // A4 across less the margins, thousandths of a centimetre
    const QList<dw::PrintedPage> pages = printed.documents.value(0).pages;
    QVERIFY(pages.size() > 1);
    QStringList headers;
    int widest = 0;
    for (const dw::PrintedPage &page : pages) {
        QVERIFY(page.scale < 1);
        QVERIFY(page.scale * wide.font.points >= dw::kMinimumPrintedPoints);
        QVERIFY(page.texts.first().fixed);
        for (const dw::PrintedText &t : page.texts) {
            QVERIFY2((t.rect.x() + t.rect.width()) * page.scale <= printableWidth, qPrintable(t.text));
            widest = qMax(widest, int((t.rect.x() + t.rect.width()) * page.scale));
            if (t.fixed)
                headers << t.text;
        }
    }
    QVERIFY(widest > 21000 - 2 * 1016); // wider than the paper upright
    QCOMPARE(headers.count(wide.cells.first().header), pages.size());
    for (const dw::Cell &cell : wide.cells.mid(1))
        QCOMPARE(headers.count(cell.header), 1);
}

// The payment register is printed narrower than it is shown; a payee far wider than its column leaves the
// next column (收款人开户行) as a short payee does.
void tst_dataview_edit::printedCellsStayInTheirColumns()
{
    Fixture f;
    QVERIFY(f.connect());
    f.exec("INSERT INTO xjzp (rq, bz, zphm, xkr, shbank, shcode, et, an, fkhm, kpr) "
           "VALUES ('2026-03-05', '现金支票', '001', '甲', '工商银行', '6222', '货款', 5, '建设银行', 'system')");
    dw::DataView view;
    view.setDefinition(brevik::views::gobank());
    view.setTransaction(g::sqlca);
    auto inkInBank = [&] {
        view.retrieve();
        PrintedPages printed(print::Backend::Pdf);
        if (view.print() != 1 || printed.documents.size() != 1)
            return -1;
        const int dpi = 150;
        const qreal margin = 10.16 / 25.4 * dpi;
        const dw::PrintedPage &page = printed.documents.first().pages.first();
        if (const QString dir = qEnvironmentVariable("GRAB_DIR"); !dir.isEmpty())
            QFile::copy(print::lastOutputFile(), QDir(dir).filePath(QFileInfo(print::lastOutputFile()).fileName()));
        if (page.scale >= 1)
            return -2; // the grid is wider than A4: it must be narrowed
        return inkInTexts(pdfFirstPage(print::lastOutputFile(), dpi), page, "工商银行", dpi / 2540.0,
                          QPointF(margin, margin));
    };
    const int alone = inkInBank();
    QVERIFY(alone > 0);
    f.exec("UPDATE xjzp SET xkr = ?", {QStringLiteral("青岛天鑫信息技术有限责任公司北京分公司第一营业部办事")});
    QCOMPARE(inkInBank(), alone);
}

void tst_dataview_edit::totalsAfterAnEditAreExact_data()
{
    // The payment register editor's rows with an amount edited and a row added: the sums come from the rows,
    // in fen, to the last one of 17 digits and past two large amounts. `amounts`: the rows in date order.
    QTest::addColumn<QStringList>("amounts");
    QTest::addColumn<QString>("edited"); // the first row's amount, typed in its cell
    QTest::addColumn<QString>("added");  // a new row's amount
    QTest::addColumn<qint64>("fen");
    QTest::newRow("ten large") << QStringList{"1"} + QStringList(8, "9999999999999.99") << "9999999999999.99"
                               << "9999999999999.99" << qint64(9999999999999990);
    QTest::newRow("small between large")
        << QStringList{"1", "31.12", "51.62", "37.78", "29.85", "26.50", "45.68", "17.37", "57.87", "57.09", "61.76"}
        << "9999999999999.99" << "-9999999999999.99" << qint64(41664);
}

void tst_dataview_edit::totalsAfterAnEditAreExact()
{
    QFETCH(QStringList, amounts);
    QFETCH(QString, edited);
    QFETCH(QString, added);
    QFETCH(qint64, fen);
    Fixture f;
    QVERIFY(f.connect());
    for (int i = 0; i < amounts.size(); ++i)
        f.exec("INSERT INTO xjzp (rq, an, fkhm) VALUES (?, ?, '工商银行')",
               {QString("2026-03-%1").arg(i + 1, 2, 10, QChar('0')), amounts.at(i).toDouble()});
    dw::Buffer b(brevik::views::gobank());
    QCOMPARE(b.retrieve(g::sqlca, {}), int(amounts.size()));
    QCOMPARE(b.setItem(1, "an", edited), 1);
    const int row = b.insertRow(0);
    QCOMPARE(b.setItem(row, "an", added), 1);
    QCOMPARE(b.setItem(row, "fkhm", "工商银行"), 1);
    const int an = b.columnIndex("an");
    const QVariant total = b.total(dw::Aggregate::Sum, an);
    QCOMPARE(total.value<dw::Fen>().value, fen);
    QCOMPARE(b.runTotal(b.columnIndex("fkhm"), 0, dw::Aggregate::Sum, an), total);
    QCOMPARE(dw::formatValue(total, "#,##0.00"), dw::formatValue(QVariant::fromValue(dw::Fen{fen}), "#,##0.00"));
}

QTEST_MAIN(tst_dataview_edit)
#include "tst_dataview_edit.moc"
