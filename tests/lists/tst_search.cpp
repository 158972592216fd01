// The payment search: the statement built from the field, the comparison and the typed value (always bound),
// the grid built from it at run time, the two error boxes, resizing and printing; and the about window.
#include "fixture.h"
#include "printedpages.h"

#include "books/w_about.h"
#include "books/w_search.h"
#include "brevik.h"
#include "globals.h"
#include "platform/controls.h"
#include "dataview/sql.h"
#include "platform/balloon.h"
#include "platform/printjob.h"
#include "platform/services.h"
#include "platform/units.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>
#include <QSqlDriver>
#include <QTableView>
#include <QtTest>

#include <sqlite3.h>

namespace {
void addPayment(Fixture &f, const QString &zphm, const QString &rq, double an, const QString &xkr, const QString &kpr)
{
    f.exec("INSERT INTO xjzp (rq, bz, zphm, xkr, an, kpr) VALUES (?, '现金支票', ?, ?, ?, ?)", {rq, zphm, xkr, an, kpr});
}

void fill(Fixture &f)
{
    addPayment(f, "123", "2009-02-16", 1000, "中国", "张三");
    addPayment(f, "1234", "2026-03-05", 10000, "北京", "");
    addPayment(f, "O'Brien", "2026-03-05", 5000, "%全%", "李四");
    addPayment(f, "50%", "2026-03-04", 500, "全国", "李四");
    addPayment(f, " 12 ", "2026-03-04", 12, "上海", "李四");
}

void choose(w_search *w, const QString &field, const QString &comparison, const QString &value)
{
    auto pick = [](ui::DropDownList *list, const QString &text) {
        if (text.isNull())
            list->setCurrentIndex(-1);
        else
            QVERIFY(list->selectItem(text) >= 0);
    };
    pick(w->get<ui::DropDownList>("ddlb_1"), field);
    pick(w->get<ui::DropDownList>("ddlb_2"), comparison);
    w->get<ui::SingleLineEdit>("sle_1")->setText(value);
    w->get<QPushButton>("cb_1")->click();
}

QStringList numbers(dw::DataView *grid)
{
    QStringList out;
    for (int r = 1; r <= grid->rowCount(); ++r)
        out << grid->itemString(r, "zphm");
    return out;
}

void grab(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("GRAB_DIR");
    if (!dir.isEmpty())
        w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}
} // namespace

class tst_search : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { brevik::registerWindows(); }
    void cleanup()
    {
        closeOpenWindows();
        print::setBackend(print::Backend::Automatic);
    }

    void opensEmpty();
    void conditionIsBound_data();
    void conditionIsBound();
    void valueTakenAsTheColumnsType_data();
    void valueTakenAsTheColumnsType();
    void gridOverEveryColumn();
    void identifiersShownWhole_data();
    void identifiersShownWhole();
    void queryThatCannotBeBuilt_data();
    void queryThatCannotBeBuilt();
    void pastedValue_data();
    void pastedValue();
    void descriptionThatCannotMakeAGrid();
    void styleOfTheDescription_data();
    void styleOfTheDescription();
    void describedWithoutRunning();
    void resizeMovesOnlyTheGrid_data();
    void resizeMovesOnlyTheGrid();
    void printsTheGridOnlyAfterAQuery();
    void aboutWindow();
};

void tst_search::opensEmpty()
{
    Fixture f;
    QVERIFY(f.connect());
    auto *w = qobject_cast<w_search *>(ui::openWindow("w_search"));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("付款查询"));
    auto *fields = w->get<ui::DropDownList>("ddlb_1");
    auto *comparisons = w->get<ui::DropDownList>("ddlb_2");
    QCOMPARE(fields->currentIndex(), -1);
    QCOMPARE(comparisons->currentIndex(), -1);
    QStringList items;
    for (int i = 0; i < fields->count(); ++i)
        items << fields->itemText(i);
    QCOMPARE(items, (QStringList{"支票号码", "日期", "收款人", "金额", "开票人"}));
    items.clear();
    for (int i = 0; i < comparisons->count(); ++i)
        items << comparisons->itemText(i);
    QCOMPARE(items, (QStringList{">", "<", "=", ""}));
    QCOMPARE(w->grid()->rowCount(), 0);
}

void tst_search::conditionIsBound_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("comparison");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("cheque number equal") << "支票号码" << "=" << "123" << "SELECT * FROM xjzp Where xjzp.zphm=:value"
                                     << QStringList{"123"};
    // The database compares the amount as a number: as text "10000" would sort before "5000".
    QTest::newRow("amount above") << "金额" << ">" << "5000" << "SELECT * FROM xjzp Where xjzp.an>:value"
                                  << QStringList{"1234"};
    QTest::newRow("amount below") << "金额" << "<" << "1000" << "SELECT * FROM xjzp Where xjzp.an<:value"
                                  << QStringList{"50%", " 12 "};
    QTest::newRow("date") << "日期" << "=" << "2009-02-16" << "SELECT * FROM xjzp Where xjzp.rq=:value"
                          << QStringList{"123"};
    // Texts before and after in the lists' order: GBK puts 北, 全 and 上 before 中.
    QTest::newRow("payee before") << "收款人" << "<" << "中" << "SELECT * FROM xjzp Where xjzp.xkr<:value COLLATE gbk"
                                  << QStringList{"1234", "O'Brien", "50%", " 12 "};
    QTest::newRow("empty operator") << "开票人" << "=" << "" << "SELECT * FROM xjzp Where xjzp.kpr=:value"
                                    << QStringList{"1234"};
    QTest::newRow("quote is data") << "支票号码" << "=" << "O'Brien" << "SELECT * FROM xjzp Where xjzp.zphm=:value"
                                   << QStringList{"O'Brien"};
    QTest::newRow("percent is data") << "收款人" << "=" << "%全%" << "SELECT * FROM xjzp Where xjzp.xkr=:value"
                                     << QStringList{"O'Brien"};
    QTest::newRow("injected condition stays a value")
        << "支票号码" << "=" << "x' OR '1'='1" << "SELECT * FROM xjzp Where xjzp.zphm=:value" << QStringList{};
    QTest::newRow("blanks are part of the value") << "支票号码" << "=" << " 12 "
                                                  << "SELECT * FROM xjzp Where xjzp.zphm=:value" << QStringList{" 12 "};
}

void tst_search::conditionIsBound()
{
    QFETCH(QString, field);
    QFETCH(QString, comparison);
    QFETCH(QString, value);
    QFETCH(QString, statement);
    QFETCH(QStringList, found);
    Fixture f;
    QVERIFY(f.connect());
    fill(f);
    auto *w = qobject_cast<w_search *>(ui::openWindow("w_search"));
    choose(w, field, comparison, value);
    QVERIFY2(f.boxes.isEmpty(), f.boxes.isEmpty() ? "" : qPrintable(f.boxes.first().text));
    QCOMPARE(w->lastStatement(), statement);
    QCOMPARE(numbers(w->grid()), found);
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 5);
}

void tst_search::valueTakenAsTheColumnsType_data()
{
    // Found cheque numbers, or empty with refused set: the statement is refused with the search's box.
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("comparison");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("found");
    QTest::addColumn<bool>("refused");
    const QStringList none;
    QTest::newRow("amount with a group separator") << "金额" << "<" << "1,000" << QStringList{"P1", "P5"} << false;
    QTest::newRow("amount without one") << "金额" << ">" << "1000" << QStringList{"P3", "P4"} << false;
    QTest::newRow("amount with decimals") << "金额" << "=" << "1,000.50" << QStringList{"P3"} << false;
    QTest::newRow("amount in blanks") << "金额" << ">" << " 99,999,999.98 " << QStringList{"P4"} << false;
    QTest::newRow("no amount lists the empty ones") << "金额" << "=" << "" << none << false;
    QTest::newRow("date in the lists' picture") << "日期" << ">" << "2024.06.01" << QStringList{"P3", "P4", "P5"}
                                                << false;
    QTest::newRow("date with slashes") << "日期" << ">" << "2024/06/01" << QStringList{"P3", "P4", "P5"} << false;
    QTest::newRow("date as stored") << "日期" << "<" << "2024-06-01" << QStringList{"P1"} << false;
    QTest::newRow("date without leading zeros") << "日期" << "=" << "2024-6-15" << QStringList{"P3"} << false;
    QTest::newRow("date with slashes, no zeros") << "日期" << "=" << "2024/6/15" << QStringList{"P3"} << false;
    QTest::newRow("date in eight digits") << "日期" << "=" << "20240615" << QStringList{"P3"} << false;
    QTest::newRow("date in the grids' picture") << "日期" << "=" << "24.06.15" << QStringList{"P3"} << false;
    QTest::newRow("amount that is no number") << "金额" << ">" << "abc" << none << true;
    QTest::newRow("amount with letters after it") << "金额" << "=" << "12abc" << none << true;
    // Separators only between groups of three before the point, as an amount is written.
    QTest::newRow("separator in a group of one") << "金额" << ">" << "1,5" << none << true;
    QTest::newRow("separator in a group of two") << "金额" << "=" << "10,00" << none << true;
    QTest::newRow("separators swapped") << "金额" << "<" << "1.000,50" << none << true;
    QTest::newRow("separator after the point") << "金额" << ">" << "1,000.500,1" << none << true;
    QTest::newRow("month and day that do not exist") << "日期" << "=" << "2024.13.45" << none << true;
    QTest::newRow("day the month does not have") << "日期" << ">" << "2024-02-30" << none << true;
    // 啊, 北, 一 and 张 come before 中 in GBK, 一 alone in code points; 中国 is after 中 in both.
    QTest::newRow("payee before, in GBK order") << "收款人" << "<" << "中" << QStringList{"P1", "P3", "P4", "P5"}
                                                << false;
    QTest::newRow("payee after, in GBK order") << "收款人" << ">" << "中" << QStringList{"P2"} << false;
    QTest::newRow("payee equal") << "收款人" << "=" << "中国" << QStringList{"P2"} << false;
}

void tst_search::valueTakenAsTheColumnsType()
{
    QFETCH(QString, field);
    QFETCH(QString, comparison);
    QFETCH(QString, value);
    QFETCH(QStringList, found);
    QFETCH(bool, refused);
    Fixture f;
    QVERIFY(f.connect());
    addPayment(f, "P1", "2024-05-31", 999.99, "张三", "");
    addPayment(f, "P2", "2024-06-01", 1000, "中国", "");
    addPayment(f, "P3", "2024-06-15", 1000.5, "啊公司", "");
    addPayment(f, "P4", "2024-12-31", 99999999.99, "一", "");
    addPayment(f, "P5", "2025-01-01", 0.5, "北京", "");
    auto *w = qobject_cast<w_search *>(ui::openWindow("w_search"));
    choose(w, "支票号码", "=", "P2");
    QCOMPARE(numbers(w->grid()), QStringList{"P2"});

    choose(w, field, comparison, value);
    if (!refused) {
        QVERIFY2(f.boxes.isEmpty(), f.boxes.isEmpty() ? "" : qPrintable(f.boxes.first().text));
        QCOMPARE(numbers(w->grid()), found);
        return;
    }
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.first().title, QStringLiteral("Syntax From SQL"));
    QVERIFY2(f.boxes.first().text.contains(value), qPrintable(f.boxes.first().text));
    QCOMPARE(f.boxes.first().icon, msg::Icon::None);
    QCOMPARE(f.boxes.first().buttons, msg::Buttons::Ok);
    QCOMPARE(numbers(w->grid()), QStringList{"P2"}); // the earlier result stays
}

void tst_search::gridOverEveryColumn()
{
    Fixture f;
    QVERIFY(f.connect());
    fill(f);
    auto *w = qobject_cast<w_search *>(ui::openWindow("w_search"));
    choose(w, "开票人", "=", "李四");
    QCOMPARE(w->grid()->rowCount(), 3);
    QStringList headers;
    for (const dw::Cell &cell : w->grid()->definition().cells)
        headers << cell.header;
    QCOMPARE(headers, (QStringList{"line", "rq", "bz", "zphm", "xkr", "shbank", "shcode", "et", "an", "fkhm", "fkzh",
                                   "kpr", "fkrm"}));
    QCOMPARE(w->grid()->grid()->palette().color(QPalette::Text), QColor(9, 12, 139));
    grab(w, "w_search");
    // A second query replaces the first result entirely.
    choose(w, "支票号码", "=", "123");
    QCOMPARE(numbers(w->grid()), QStringList{"123"});
}

void tst_search::identifiersShownWhole_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("value");
    QTest::newRow("cheque number") << "zphm" << "123456789012345";
    QTest::newRow("payee's account") << "shcode" << "6222021234567890123456789";
    QTest::newRow("paying account") << "fkzh" << "6222029876543210987654321";
}

// The grid made at run time takes what each column is from the register: a cheque number or an account is shown
// whole, in its column's width as made, and drawn smaller where the operator narrows the column, its tooltip
// telling it; never cut.
void tst_search::identifiersShownWhole()
{
    QFETCH(QString, column);
    QFETCH(QString, value);
    Fixture f;
    QVERIFY(f.connect());
    f.exec(QString("INSERT INTO xjzp (rq, bz, zphm, xkr, an, kpr, %1) VALUES ('2026-03-05', '现金支票', '1', '甲', 5, "
                   "'李四', ?)")
               .arg(column == u"zphm" ? QStringLiteral("shcode") : column),
           {value});
    if (column == u"zphm")
        f.exec("UPDATE xjzp SET zphm = ?", {value});
    auto *w = qobject_cast<w_search *>(ui::openWindow("w_search"));
    w->show();
    choose(w, "开票人", "=", "李四");
    QCOMPARE(w->grid()->rowCount(), 1);
    const dw::Definition &def = w->grid()->definition();
    int at = 0;
    while (at < def.cells.size() && def.cells.at(at).name != column)
        ++at;
    QVERIFY(at < def.cells.size());
    QTableView *grid = w->grid()->grid();
    const QModelIndex index = grid->model()->index(0, at);
    QCOMPARE(index.data().toString(), value);
    auto tooltip = [&] {
        grid->scrollTo(index);
        QToolTip::hideText();
        const QRect cell = grid->visualRect(index);
        QHelpEvent help(QEvent::ToolTip, cell.center(), grid->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(grid->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    // As made, the column is wide enough for it at its type: no tooltip.
    QCOMPARE(tooltip(), QString());
    grid->horizontalHeader()->resizeSection(at, grid->horizontalHeader()->sectionSize(at) * 2 / 3);
    QCOMPARE(tooltip(), value);
}

void tst_search::queryThatCannotBeBuilt_data()
{
    // With no field or no comparison chosen there is no condition to ask for: the operator is told what to
    // choose, and nothing is asked of the database.
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("comparison");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("told");
    const QString chooseField = "请先选择要查询的项目（支票号码、日期、收款人、金额或开票人）。";
    const QString chooseComparison = "请先选择比较方式（>、< 或 =）。";
    QTest::newRow("no field") << QString() << "=" << "5" << chooseField;
    QTest::newRow("no field, no comparison") << QString() << QString() << "5" << chooseField;
    QTest::newRow("no comparison") << "支票号码" << QString() << "5" << chooseComparison;
    QTest::newRow("empty comparison") << "支票号码" << "" << "5" << chooseComparison;
    QTest::newRow("no comparison, no amount") << "金额" << QString() << "abc" << chooseComparison;
}

void tst_search::queryThatCannotBeBuilt()
{
    QFETCH(QString, field);
    QFETCH(QString, comparison);
    QFETCH(QString, value);
    QFETCH(QString, told);
    Fixture f;
    QVERIFY(f.connect());
    fill(f);
    auto *w = qobject_cast<w_search *>(ui::openWindow("w_search"));
    choose(w, "支票号码", "=", "123");
    QCOMPARE(w->grid()->rowCount(), 1);

    choose(w, field, comparison, value);
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.first().title, QStringLiteral("查询"));
    QCOMPARE(f.boxes.first().text, told);
    QCOMPARE(f.boxes.first().icon, msg::Icon::None);
    QCOMPARE(f.boxes.first().buttons, msg::Buttons::Ok);
    // The earlier result stays on the screen.
    QCOMPARE(numbers(w->grid()), QStringList{"123"});
    QCOMPARE(w->lastStatement(), QStringLiteral("SELECT * FROM xjzp Where xjzp.zphm=:value"));
}

void tst_search::pastedValue_data()
{
    // The value box takes the rule of the field chosen: a cheque number, a date or an amount pasted on two
    // lines (or from two spreadsheet cells) is refused whole, a name is taken on one line; the balloon names
    // the field. `sign` empty: no balloon.
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("sign");
    QTest::addColumn<QStringList>("found"); // the cheque numbers the query finds with "="
    const QString refused = "只能输入一行，输入的内容有换行或制表符，未放入。";
    QTest::newRow("number on two lines") << "支票号码" << "20180003\n34" << "" << "“支票号码”" + refused
                                         << QStringList{};
    QTest::newRow("number from two cells") << "支票号码" << "12\t34" << "" << "“支票号码”" + refused << QStringList{};
    QTest::newRow("number with its line end") << "支票号码" << "1234\r\n" << "1234" << "" << QStringList{"1234"};
    QTest::newRow("amount on two lines") << "金额" << "500\n12" << "" << "“金额”" + refused << QStringList{};
    QTest::newRow("date from two cells") << "日期" << "2026.03.04\t2026.03.05" << "" << "“日期”" + refused
                                         << QStringList{};
    QTest::newRow("name on two lines") << "收款人" << "上\n海" << "上海" << "“收款人”只能输入一行，输入的几行已连成一行。"
                                       << QStringList{" 12 "};
}

void tst_search::pastedValue()
{
    QFETCH(QString, field);
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    QFETCH(QString, sign);
    QFETCH(QStringList, found);
    Fixture f;
    QVERIFY(f.connect());
    fill(f);
    auto *w = qobject_cast<w_search *>(ui::openWindow("w_search"));
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    QVERIFY(w->get<ui::DropDownList>("ddlb_1")->selectItem(field) >= 0);
    QVERIFY(w->get<ui::DropDownList>("ddlb_2")->selectItem("=") >= 0);
    auto *value = w->get<ui::SingleLineEdit>("sle_1");
    value->setFocus(Qt::MouseFocusReason);
    balloon::hide();
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keyClick(value, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(value->text(), kept);
    QCOMPARE(balloon::text(), sign);
    if (kept.isEmpty())
        return;
    w->get<QPushButton>("cb_1")->click();
    QVERIFY(f.boxes.isEmpty());
    QCOMPARE(numbers(w->grid()), found);
}

void tst_search::descriptionThatCannotMakeAGrid()
{
    Fixture f;
    QVERIFY(f.connect());
    QString error;
    const dw::GridSyntax unsupported = dw::syntaxFromSql(g::sqlca, "SELECT * FROM xjzp", {}, {},
                                                         "style(type=label)", error);
    QVERIFY(!error.isEmpty());
    QVERIFY(unsupported.definition.columns.isEmpty());

    dw::DataView view;
    const dw::GridSyntax good = dw::syntaxFromSql(g::sqlca, "SELECT zphm FROM xjzp", {}, {}, "style(type=grid)", error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(dw::createGrid(view, good, error));
    QCOMPARE(view.definition().columns.size(), 1);
    QVERIFY(!dw::createGrid(view, dw::GridSyntax{}, error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(view.definition().columns.size(), 1); // the view keeps what it showed
}

void tst_search::styleOfTheDescription_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<bool>("grid");
    QTest::addColumn<qint64>("columnColor");
    QTest::newRow("the search's") << "style(type=grid)column(color=9112585)" << true << qint64(9112585);
    QTest::newRow("blanks and capitals") << " Style ( Type = GRID ) column( color= 255 )" << true << qint64(255);
    QTest::newRow("no colour") << "style(type=grid)" << true << ui::kNoColor;
    QTest::newRow("grid by default") << "column(color=0)" << true << qint64(0);
    QTest::newRow("another presentation") << "column(color=255)style(type=freeform)" << false << ui::kNoColor;
}

void tst_search::styleOfTheDescription()
{
    QFETCH(QString, style);
    QFETCH(bool, grid);
    QFETCH(qint64, columnColor);
    Fixture f;
    QVERIFY(f.connect());
    QString error;
    const dw::GridSyntax syntax = dw::syntaxFromSql(g::sqlca, "SELECT zphm FROM xjzp", {}, {}, style, error);
    QCOMPARE(error.isEmpty(), grid);
    if (grid)
        QCOMPARE(syntax.columnColor, columnColor);
}

void tst_search::describedWithoutRunning()
{
    Fixture f;
    QVERIFY(f.connect());
    fill(f);
    sqlite3 *connection = g::sqlca.sqliteHandle();
    QVERIFY(connection);
    int runs = 0;
    sqlite3_trace_v2(
        connection, SQLITE_TRACE_STMT,
        [](unsigned, void *counter, void *, void *) {
            ++*static_cast<int *>(counter);
            return 0;
        },
        &runs);
    QString error;
    const dw::GridSyntax syntax = dw::syntaxFromSql(g::sqlca, "SELECT * FROM xjzp Where xjzp.an>:value",
                                                    {{"value", dw::Type::Text}}, {"0"}, "style(type=grid)", error);
    sqlite3_trace_v2(connection, 0, nullptr, nullptr);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(runs, 0);
    // The declared types still give the columns their kinds and the text columns their widths.
    const QList<dw::Column> &columns = syntax.definition.columns;
    QCOMPARE(columns.size(), 13);
    QCOMPARE(int(columns.at(0).type), int(dw::Type::Long));   // line
    QCOMPARE(int(columns.at(8).type), int(dw::Type::Number)); // an
    QCOMPARE(int(columns.at(4).type), int(dw::Type::Text));   // xkr
    QCOMPARE(columns.at(4).limit, 60);
}

void tst_search::resizeMovesOnlyTheGrid_data()
{
    QTest::addColumn<int>("workspace");
    QTest::newRow("design") << 3446;
    QTest::newRow("maximised") << 5000;
    QTest::newRow("narrow") << 3000;
}

void tst_search::resizeMovesOnlyTheGrid()
{
    QFETCH(int, workspace);
    Fixture f;
    QVERIFY(f.connect());
    auto *w = qobject_cast<w_search *>(ui::openWindow("w_search"));
    w->resize(units::toPixelsX(workspace), w->height());
    const int expected = 14 + int(std::trunc((w->workspaceWidthUnits() - 40 - 3406) * 0.5));
    QCOMPARE(w->unitGeometry("dw_scrth").x(), expected);
    QCOMPARE(w->unitGeometry("dw_scrth").width(), 3406);
    QCOMPARE(w->unitGeometry("cb_1").x(), 2601);
    QCOMPARE(w->unitGeometry("ddlb_1").x(), 471);
}

void tst_search::printsTheGridOnlyAfterAQuery()
{
    Fixture f;
    QVERIFY(f.connect());
    fill(f);
    PrintedPages printed;
    auto *w = qobject_cast<w_search *>(ui::openWindow("w_search"));
    w->get<QPushButton>("cb_3")->click();
    QVERIFY(printed.calls().isEmpty());

    choose(w, "支票号码", "=", "O'Brien");
    w->get<QPushButton>("cb_3")->click();
    QCOMPARE(printed.calls(), (QStringList{"open", "close"}));
    const QStringList texts = printed.allTexts();
    QVERIFY(texts.contains("zphm") && texts.contains("O'Brien") && texts.contains("%全%"));
    QVERIFY(f.boxes.isEmpty());
}

void tst_search::aboutWindow()
{
    Fixture f;
    QList<services::ExternalCall> opened;
    services::setExternalRecorder([&](const services::ExternalCall &c) {
        opened << c;
        return qint64(1);
    });
    auto *w = ui::openWindow("w_about");
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("关于Dallow财务软件"));
    QVERIFY(w->isModal());
    QCOMPARE(w->get<QLabel>("st_1")->text(), QStringLiteral("Fennick 软件    V2.58"));
    grab(w, "w_about");
    QTest::mouseClick(w->control("shl_1"), Qt::LeftButton);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.first().what, QStringLiteral("url"));
    QCOMPARE(opened.first().target, w_about::updateAddress());
    QVERIFY(ui::findWindow("w_about")); // the link leaves the window open
    w->get<QPushButton>("cb_1")->click();
    QVERIFY(!ui::findWindow("w_about"));
}

QTEST_MAIN(tst_search)
#include "tst_search.moc"
