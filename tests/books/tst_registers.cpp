// The register editors inbank (receipts, jzd) and gobank (payments, xjzp): open, add, delete, save by `line`,
// re-centring, exit without saving, and a failed save.
#include "fixture.h"

#include "books/book_views.h"
#include "books/grid_editor.h"
#include "books/sdwfkbk.h"
#include "books/sdwskrbk.h"
#include "brevik.h"
#include "globals.h"
#include "pickers/cnbs2.h"
#include "dataview/dataview.h"
#include "platform/units.h"
#include "platform/window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QStyleOptionHeader>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

Q_DECLARE_METATYPE(dw::Definition)

namespace {
brevik::GridEditor *openEditor(const QString &name)
{
    return qobject_cast<brevik::GridEditor *>(openActive(name));
}

void click(ui::Window *w, const QString &button) { w->get<QAbstractButton>(button)->click(); }

QLineEdit *editor() { return qobject_cast<QLineEdit *>(QApplication::focusWidget()); }

void addRow(Fixture &f, const QString &table, const QString &rq, const QString &bank, double an)
{
    f.exec(QString("INSERT INTO %1 (rq, bz, zphm, xkr, shbank, fkhm, an, kpr) VALUES (?, '转帐支票', '001', '某某', ?, ?, ?, "
                   "'张')")
               .arg(table),
           {rq, bank, bank, an});
}

void grab(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("GRAB_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    w->grab().save(dir + u'/' + name + QStringLiteral(".png"));
}
} // namespace

class tst_registers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { brevik::registerWindows(); }
    void cleanup()
    {
        closeOpenWindows();
    }
    void opensInDateOrder_data();
    void opensInDateOrder();
    void addTypeSaveInsertsWithANewLine_data();
    void addTypeSaveInsertsWithANewLine();
    void deleteTheOnlyRowThenSave();
    void saveOfOneCellReadsNoFurtherRows_data();
    void endAndAddReadFromTheEnd_data();
    void endAndAddReadFromTheEnd();
    void saveOfOneCellReadsNoFurtherRows();
    void okInTheMiddleReadsWhereTheRowIs_data();
    void okInTheMiddleReadsWhereTheRowIs();
    void paymentEditKeepsTheUnshownColumn();
    void exitWritesNothing();
    void badSaveKeepsTheEdits();
    void resizeRecentresTheGrid_data();
    void resizeRecentresTheGrid();
    void textsFitTheirColumns_data();
    void textsFitTheirColumns();
};

void tst_registers::opensInDateOrder_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("bankColumn"); // the second sort column
    QTest::newRow("receipts") << "inbank" << "jzd" << "收款资料整理" << "shbank";
    QTest::newRow("payments") << "gobank" << "xjzp" << "付款资料整理" << "fkhm";
}

void tst_registers::opensInDateOrder()
{
    QFETCH(QString, window);
    QFETCH(QString, table);
    QFETCH(QString, title);
    QFETCH(QString, bankColumn);
    Fixture f;
    QVERIFY(f.connect());
    addRow(f, table, "2026-03-05", "乙", 1234.5);
    addRow(f, table, "2026-01-02", "甲", 10);
    addRow(f, table, "2026-03-05", "A", 0.5);
    auto *w = openEditor(window);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), title);
    dw::DataView *v = w->grid();
    QCOMPARE(v->rowCount(), 3);
    QCOMPARE(v->itemString(1, bankColumn), QString("甲"));
    QCOMPARE(v->itemString(2, bankColumn), QString("A"));
    // Shown as the register displays them: the row number, dates as yy.mm.dd, amounts grouped.
    QAbstractItemModel *m = v->grid()->model();
    QCOMPARE(m->index(2, 0).data().toString(), QString("3"));
    QCOMPARE(m->index(0, 1).data().toString(), QString("26.01.02"));
    const int an = window == "inbank" ? 5 : 8;
    QCOMPARE(m->index(2, an).data().toString(), QString("1,234.50"));
    // The current row stands out by its background.
    QCOMPARE(m->index(0, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(254, 235, 187));
    QCOMPARE(m->index(1, 1).data(Qt::BackgroundRole).value<QColor>().rgb(), QColor(216, 240, 208).rgb());
    grab(w, window);
}

void tst_registers::addTypeSaveInsertsWithANewLine_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("table");
    QTest::newRow("receipts") << "inbank" << "jzd";
    QTest::newRow("payments") << "gobank" << "xjzp";
}

void tst_registers::addTypeSaveInsertsWithANewLine()
{
    QFETCH(QString, window);
    QFETCH(QString, table);
    Fixture f;
    QVERIFY(f.connect());
    addRow(f, table, "2026-03-05", "乙", 1);
    addRow(f, table, "2026-03-06", "丙", 2);
    auto *w = openEditor(window);
    dw::DataView *v = w->grid();
    click(w, "cb_1");
    QCOMPARE(v->rowCount(), 3);
    QCOMPARE(w->rememberedRow(), 3);
    QVERIFY(!w->control("cb_1")->isEnabled());
    // The date cell takes the input first; a two-digit year is read as this century.
    QCOMPARE(v->currentColumn(), v->buffer().columnIndex("rq"));
    typeText(editor(), "26.01.15");
    QTest::keyClick(editor(), Qt::Key_Tab);
    v->setCurrentCell(3, "an");
    typeText(editor(), "88.5");
    QTest::keyClick(editor(), Qt::Key_Tab);
    v->setItem(3, "kpr", "李");
    click(w, "cb_3");
    QCOMPARE(f.scalar(QString("SELECT count(*) FROM %1").arg(table)).toInt(), 3);
    QCOMPARE(f.scalar(QString("SELECT rq || '/' || an || '/' || kpr FROM %1 WHERE line = 3").arg(table)).toString(),
             QString("2026-01-15/88.5/李"));
    // Re-read in date order: the new row is first now; the grid stays on row 3, another record.
    QCOMPARE(v->itemString(1, "kpr"), QString("李"));
    QCOMPARE(v->currentRow(), 3);
    QVERIFY(w->control("cb_1")->isEnabled());
    QVERIFY(w->control("cb_2")->isEnabled());
    QVERIFY(f.boxes.isEmpty());
}

void tst_registers::saveOfOneCellReadsNoFurtherRows_data()
{
    addTypeSaveInsertsWithANewLine_data();
}

namespace {
struct FilledEditor {
    brevik::GridEditor *w;
    dw::DataView *v;
    int firstRead; // the rows read at the open
    QTableView *grid;
};

// The register editor over far more rows than a grid reads at first, one a day; row i has the amount i.
FilledEditor openFilledEditor(Fixture &f, const QString &window, const QString &table)
{
    f.exec(QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                   "INSERT INTO %1 (rq, bz, zphm, xkr, shbank, fkhm, an, kpr) "
                   "SELECT date('2016-01-01', '+' || i || ' days'), '转帐支票', printf('%08d', i), '某某', '乙', '乙', i, '张' "
                   "FROM n")
               .arg(table));
    brevik::GridEditor *w = openEditor(window);
    dw::DataView *v = w->grid();
    return {w, v, v->buffer().fetchedCount(), v->grid()};
}
} // namespace

void tst_registers::saveOfOneCellReadsNoFurtherRows()
{
    QFETCH(QString, window);
    QFETCH(QString, table);
    Fixture f;
    QVERIFY(f.connect());
    const auto [w, v, firstRead, grid] = openFilledEditor(f, window, table);
    QVERIFY(firstRead < 3000);
    v->setCurrentRow(5);
    v->setItem(5, "kpr", "李");
    click(w, "cb_3");
    QVERIFY(f.boxes.isEmpty());
    QCOMPARE(f.scalar(QString("SELECT kpr FROM %1 WHERE line = 5").arg(table)).toString(), QString("李"));
    QCOMPARE(f.scalar(QString("SELECT count(*) FROM %1 WHERE kpr = '张'").arg(table)).toInt(), 2999);
    // The re-read shows the saved row where it was and reads no further than at the open.
    QCOMPARE(v->currentRow(), 5);
    QCOMPARE(v->itemString(5, "kpr"), QString("李"));
    QCOMPARE(v->buffer().fetchedCount(), firstRead);
}

void tst_registers::endAndAddReadFromTheEnd_data()
{
    addTypeSaveInsertsWithANewLine_data();
}

void tst_registers::endAndAddReadFromTheEnd()
{
    QFETCH(QString, window);
    QFETCH(QString, table);
    Fixture f;
    QVERIFY(f.connect());
    const auto [w, v, firstRead, grid] = openFilledEditor(f, window, table);
    auto shown = [grid](int row) {
        const int y = grid->visualRect(grid->model()->index(row - 1, 0)).center().y();
        return y > 0 && y < grid->viewport()->height();
    };

    // Ctrl+End: the last row, without the rows before it.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(v->currentRow(), 3000);
    QCOMPARE(v->item(3000, "an").toDouble(), 3000.0);
    QTRY_VERIFY(shown(3000));
    QCOMPARE(grid->model()->rowCount(), 3000);
    QCOMPARE(v->buffer().fetchedCount(), firstRead);
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(v->currentRow(), 1);

    // Add: a new row after the last, in sight, again without the rows before it; OK stores it.
    click(w, "cb_1");
    QCOMPARE(v->currentRow(), 3001);
    QCOMPARE(w->rememberedRow(), 3001);
    QTRY_VERIFY(shown(3001));
    QCOMPARE(v->buffer().fetchedCount(), firstRead);
    v->setItem(3001, "rq", QDate(2026, 3, 5));
    v->setItem(3001, "an", 88.5);
    click(w, "cb_3");
    QVERIFY(f.boxes.isEmpty());
    QCOMPARE(f.scalar(QString("SELECT count(*) FROM %1").arg(table)).toInt(), 3001);
    QCOMPARE(f.scalar(QString("SELECT rq || '/' || an FROM %1 WHERE line = 3001").arg(table)).toString(),
             QString("2026-03-05/88.5"));
    // The re-read goes back to the remembered row, the last, from the end.
    QCOMPARE(v->currentRow(), 3001);
    QCOMPARE(v->item(3001, "an").toDouble(), 88.5);
    QVERIFY(v->buffer().fetchedCount() < 3001);
}

void tst_registers::okInTheMiddleReadsWhereTheRowIs_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("deletes");
    for (const char *window : {"inbank", "gobank"})
        for (const bool deletes : {false, true})
            QTest::newRow(QString("%1, %2").arg(window, deletes ? "delete" : "edit").toUtf8())
                << QString(window) << QString(window == QString("inbank") ? "jzd" : "xjzp") << deletes;
}

void tst_registers::okInTheMiddleReadsWhereTheRowIs()
{
    QFETCH(QString, window);
    QFETCH(QString, table);
    QFETCH(bool, deletes);
    Fixture f;
    QVERIFY(f.connect());
    const auto [w, v, firstRead, grid] = openFilledEditor(f, window, table);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    // A row in the middle, reached as the operator would (it is read where it is), edited or deleted.
    v->setCurrentRow(1500);
    QCOMPARE(v->item(1500, "an").toDouble(), 1500.0);
    if (deletes) {
        click(w, "cb_2");
        QCOMPARE(v->item(1500, "an").toDouble(), 1501.0);
    } else {
        v->setItem(1500, "kpr", "李");
    }
    click(w, "cb_3");
    QVERIFY(f.boxes.isEmpty());
    QCOMPARE(f.scalar(QString("SELECT count(*) FROM %1").arg(table)).toInt(), deletes ? 2999 : 3000);
    // OK re-reads and lands on the remembered row, read where it is, not from the first row up to it.
    QCOMPARE(v->currentRow(), 1500);
    QCOMPARE(v->item(1500, "an").toDouble(), deletes ? 1501.0 : 1500.0);
    QCOMPARE(v->itemString(1500, "kpr"), deletes ? QString("张") : QString("李"));
    QCOMPARE(v->item(1499, "an").toDouble(), 1499.0);
    QCOMPARE(v->buffer().fetchedCount(), firstRead);
}

void tst_registers::deleteTheOnlyRowThenSave()
{
    Fixture f;
    QVERIFY(f.connect());
    addRow(f, "jzd", "2026-03-05", "乙", 1);
    auto *w = openEditor("inbank");
    click(w, "cb_2");
    QVERIFY(!w->control("cb_2")->isEnabled());
    click(w, "cb_2"); // disabled: nothing more
    click(w, "cb_3");
    QCOMPARE(w->grid()->rowCount(), 0);
    QCOMPARE(f.scalar("SELECT count(*) FROM jzd").toInt(), 0);
    QVERIFY(w->control("cb_1")->isEnabled());
    QVERIFY(w->control("cb_2")->isEnabled());
}

void tst_registers::paymentEditKeepsTheUnshownColumn()
{
    Fixture f;
    QVERIFY(f.connect());
    f.exec("INSERT INTO xjzp (rq, bz, xkr, an, fkrm) VALUES ('2026-03-05', '现金支票', '甲', 5, '付款人')");
    auto *w = openEditor("gobank");
    w->grid()->setItem(1, "xkr", "乙");
    click(w, "cb_3");
    QCOMPARE(f.scalar("SELECT xkr || fkrm FROM xjzp").toString(), QString("乙付款人"));
}

void tst_registers::exitWritesNothing()
{
    Fixture f;
    QVERIFY(f.connect());
    addRow(f, "jzd", "2026-03-05", "乙", 1);
    auto *w = openEditor("inbank");
    w->grid()->setItem(1, "kpr", "改");
    click(w, "cb_1");
    w->grid()->setItem(2, "kpr", "新");
    QPointer<ui::Window> alive = w;
    click(w, "cb_4");
    QTRY_VERIFY(!alive);
    g::sqlca.commit();
    QCOMPARE(f.scalar("SELECT group_concat(kpr) FROM jzd").toString(), QString("张"));
    QVERIFY(f.boxes.isEmpty());
}

void tst_registers::badSaveKeepsTheEdits()
{
    Fixture f;
    QVERIFY(f.connect());
    addRow(f, "xjzp", "2026-03-05", "乙", 1);
    addRow(f, "xjzp", "2026-03-06", "丙", 2);
    // The register refuses a kind it does not know (a constraint of this database, not of the program).
    f.exec("CREATE TRIGGER refuse BEFORE UPDATE ON xjzp WHEN NEW.bz = '坏' BEGIN SELECT RAISE(ABORT, 'refused'); END");
    auto *w = openEditor("gobank");
    dw::DataView *v = w->grid();
    v->setItem(1, "kpr", "王");
    v->setItem(2, "bz", "坏");
    click(w, "cb_3");
    QCOMPARE(f.boxes.size(), 1);
    QVERIFY(f.boxes.first().text.contains("refused"));
    g::sqlca.commit();
    QCOMPARE(f.scalar("SELECT group_concat(kpr) FROM xjzp").toString(), QString("张,张"));
    QCOMPARE(v->itemString(1, "kpr"), QString("王"));
    QCOMPARE(v->buffer().modifiedCount(), 2);
}

void tst_registers::resizeRecentresTheGrid_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("design") << 3615;
    QTest::newRow("wider") << 4616;
    QTest::newRow("narrow") << 3000;
}

void tst_registers::resizeRecentresTheGrid()
{
    QFETCH(int, width);
    Fixture f;
    QVERIFY(f.connect());
    auto *w = openEditor("inbank");
    const QRect button = w->unitGeometry("cb_1");
    w->resizeUnits(width, 1968);
    const int W = w->workspaceWidthUnits();
    QCOMPARE(w->unitGeometry("dw_1").x(), 9 + int(std::trunc((W - 40 - 3575) * 0.5)));
    QCOMPARE(w->unitGeometry("dw_1").width(), 3575);
    QCOMPARE(w->unitGeometry("cb_1"), button);
}

namespace {
// What a cell shows at its widest: its header; a date, amount or row number in its format; a full-width text
// filling its column's bytes.
QStringList widestTexts(const dw::Definition &d, const dw::Cell &c)
{
    QStringList out{c.header};
    if (c.format == "yy.mm.dd")
        out << "26.11.20";
    else if (c.format.startsWith("###"))
        out << "999,999.99";
    else if (c.compute)
        out << "99";
    for (const dw::Column &column : d.columns)
        if (column.name == c.name && column.type == dw::Type::Text && column.limit > 1)
            out << QString(column.limit / 2, QChar(0x4E2D));
    return out;
}
} // namespace

void tst_registers::textsFitTheirColumns_data()
{
    QTest::addColumn<dw::Definition>("definition");
    QTest::newRow("payments") << brevik::views::gobank();
    QTest::newRow("receipts") << brevik::views::inbank();
    QTest::newRow("operators") << brevik::views::gates();
    QTest::newRow("own accounts") << brevik::views::dwbank();
    QTest::newRow("payee book") << brevik::views::dwskrbk();
    QTest::newRow("payer book") << brevik::views::dwfkbk();
    QTest::newRow("remarks") << brevik::views::cnbs1();
    QTest::newRow("print formats") << brevik::views::prsz();
    QTest::newRow("payee list") << brevik::sdwskrbk();
    QTest::newRow("payer list") << brevik::sdwfkbk();
    QTest::newRow("remarks list") << pickers::cnbs2();
}

void tst_registers::textsFitTheirColumns()
{
    // A text as wide as its column's units, drawn from the column's edge, showed whole in the system's grids:
    // here too, in the cells and in the header.
    QFETCH(dw::Definition, definition);
    Fixture f(false);
    dw::DataView view;
    view.setDefinition(definition);
    QTableView *grid = view.grid();
    QHeaderView *header = grid->horizontalHeader();
    const QFontMetrics metrics(grid->font());
    const int cellMargin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    const int gridLine = grid->showGrid() ? 1 : 0;
    for (int c = 0; c < definition.cells.size(); ++c) {
        const dw::Cell &cell = definition.cells.at(c);
        const int section = header->sectionSize(c);
        for (const QString &text : widestTexts(definition, cell)) {
            const int width = metrics.horizontalAdvance(text);
            if (text.isEmpty() || width > cell.width / units::kUnitsPerPixelX)
                continue; // did not fit there either
            const QString what = QString("%1: %2 (%3 px in %4 px)").arg(cell.name, text).arg(width).arg(section);
            if (text == cell.header) {
                QStyleOptionHeader option;
                option.initFrom(header);
                option.rect = QRect(0, 0, section, header->height());
                option.text = text;
                QVERIFY2(header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header).width() >= width,
                         qPrintable(what));
            } else {
                QVERIFY2(cellMargin + width <= section - gridLine, qPrintable(what));
            }
        }
    }
}

QTEST_MAIN(tst_registers)
#include "tst_registers.moc"
