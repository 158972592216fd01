// The layout windows: half-scale placing of the stored positions, dragging the sample fields, the save of
// the family's columns into the slot captured at open, the page size and each window's own differences.
#include "layouttest.h"

#include "app/windows.h"

#include "layout/font_window.h"
#include "layout/layout_units.h"
#include "layout/layout_window.h"
#include "layout/sample_fields.h"
#include "platform/balloon.h"
#include "platform/controls.h"
#include "platform/units.h"

#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace layouttest;

namespace {
struct Expected {
    int pair;
    QString control;
    int airSlot;
};

// Pairs 1..14 are st_1..st_14 with their own sample texts and pair 15 the grid; the rest per window.
QList<Expected> samplesOf(const QString &window)
{
    QList<Expected> out;
    for (int k = 1; k <= 14; ++k)
        out << Expected{k, QStringLiteral("st_%1").arg(k), k};
    out << Expected{15, "uo_1", 0};
    if (window == "w_setprint3")
        out << Expected{16, "st_15", 25} << Expected{17, "st_16", 26} << Expected{18, "st_17", 27}
            << Expected{19, "st_18", 28};
    if (window == "w_setprint1")
        out << Expected{16, "st_15", 25} << Expected{17, "st_35", 12} << Expected{18, "st_36", 13};
    if (window == "w_setprint4")
        out << Expected{16, "st_19", 27} << Expected{17, "st_28", 26};
    return out;
}

layout::LayoutWindow *layoutWindow(ui::Window *w) { return qobject_cast<layout::LayoutWindow *>(w); }

QString text(ui::Window *w, const QString &name)
{
    if (auto *e = w->get<QLineEdit>(name))
        return e->text();
    return w->get<QLabel>(name)->text();
}

void click(ui::Window *w, const QString &button) { w->get<QAbstractButton>(button)->click(); }

// Drags through the window system, as the operator's mouse does: press at a point of the window, move,
// release. The point is in the window's own coordinates.
void drag(QWidget *window, QPoint from, QPoint by)
{
    QWindow *handle = window->windowHandle();
    QTest::mousePress(handle, Qt::LeftButton, {}, from);
    QTest::mouseMove(handle, from + by / 2);
    QTest::mouseMove(handle, from + by);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, from + by);
}

QPoint centreOf(QWidget *window, QWidget *w) { return w->mapTo(window, w->rect().center()); }
} // namespace

class tst_layout_windows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { registerOnce(); }

    void conversions_data();
    void conversions();
    void storedStaysWithin16Bits();
    void overLongFigureRefusedWhole();
    void wholeNumbers_data();
    void wholeNumbers();

    void open_data();
    void open();
    void saveUnmoved_data() { open_data(); }
    void saveUnmoved();
    void dragField();
    void dragGridByItsCells_data();
    void dragGridByItsCells();
    void pressOnPictureMovesNothing();
    void capturedSlot();
    void pageSize_data();
    void pageSize();
    void digitSpacing_data();
    void digitSpacing();
    void exitDropsMoves();
    void missingRow();
    void failedSaveIsReported();
    void draftHidesPairs11To13();
    void chequeShowsSlot();
    void budgetGridAndNoFontButton();
    void fontButtonOpensFontWindow_data();
    void fontButtonOpensFontWindow();
    void handOverFromChequeForm();
    void handOverAgainWhileOpen();
    void grab_data();
    void grab();
};

void tst_layout_windows::conversions_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("storedBack");
    QTest::newRow("odd") << 301 << 150 << 300;
    QTest::newRow("even") << 300 << 150 << 300;
    QTest::newRow("negative odd") << -3 << -1 << -2;
    QTest::newRow("zero") << 0 << 0 << 0;
    QTest::newRow("largest") << 32767 << 16383 << 32766;
    QTest::newRow("smallest") << -32768 << -16384 << -32768;
}

void tst_layout_windows::conversions()
{
    QFETCH(int, stored);
    QFETCH(int, shown);
    QFETCH(int, storedBack);
    QCOMPARE(layout::toWindow(stored), shown);
    QCOMPARE(layout::toStored(shown), storedBack);
}

void tst_layout_windows::storedStaysWithin16Bits()
{
    // A field dragged far off the paper stops at the last even 16-bit value instead of wrapping around.
    QCOMPARE(layout::toStored(16383), 32766);
    QCOMPARE(layout::toStored(16384), 32766);
    QCOMPARE(layout::toStored(40000), 32766);
    QCOMPARE(layout::toStored(-16384), -32768);
    QCOMPARE(layout::toStored(-40000), -32768);
}

void tst_layout_windows::wholeNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("number") << "163" << 163;
    QTest::newRow("blanks around") << " 42 " << 42;
    QTest::newRow("negative") << "-7" << -7;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("decimal") << "12.5" << 0;
    QTest::newRow("digits then letters") << "12a" << 0;
    QTest::newRow("above 16 bits") << "70000" << 32767;
    QTest::newRow("below 16 bits") << "-70000" << -32768;
    QTest::newRow("more digits than any integer") << "123456789012345678901234567890" << 32767;
}

void tst_layout_windows::wholeNumbers()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(layout::wholeNumber(text), value);
}

void tst_layout_windows::open_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("pairs");
    QTest::newRow("deposit form") << "w_setprint" << 30 << 15;
    QTest::newRow("draft application") << "w_setprint2" << 16 << 15;
    QTest::newRow("wire transfer") << "w_setprint3" << 23 << 19;
    QTest::newRow("transfer cheque") << "w_setprint1" << 9 << 18;
    QTest::newRow("budget voucher") << "w_setprint4" << 37 << 17;
}

void tst_layout_windows::open()
{
    QFETCH(QString, window);
    QFETCH(int, slot);
    QFETCH(int, pairs);
    Fixture f;
    QVERIFY(f.connect());
    setKnownRow(f, slot);
    fillSampleTexts();
    auto *w = layoutWindow(openAt(window, slot));
    QVERIFY(w);
    QCOMPARE(w->slot(), slot);
    const QList<Expected> expected = samplesOf(window);
    QCOMPARE(expected.size(), pairs);
    for (const Expected &e : expected) {
        QCOMPARE(w->sampleOf(e.pair), e.control);
        const QRect u = w->unitGeometry(e.control);
        QCOMPARE(u.topLeft(), QPoint(storedX(e.pair) / 2, storedY(e.pair) / 2));
        if (e.airSlot > 0)
            QCOMPARE(text(w, e.control), QStringLiteral("样%1").arg(e.airSlot));
    }
    QCOMPARE(w->unitGeometry("st_2").x(), -1); // -3 shows at -1
    QCOMPARE(text(w, "sle_3"), QString("163"));
    QCOMPARE(text(w, "sle_1"), QString("6134"));
    QCOMPARE(text(w, "sle_2"), QString("3056"));
    QCOMPARE(w->pageWidthUnits(), 3067);
    QCOMPARE(text(w, "st_100"), QString("样30"));
    QStringList digits;
    for (QLabel *cell : w->grid()->digitCells())
        digits << cell->text();
    QStringList want;
    if (window == "w_setprint4")
        want << "样25";
    for (int k = 15; k <= 24; ++k)
        want << QStringLiteral("样%1").arg(k);
    QCOMPARE(digits, want);
    QCOMPARE(w->windowTitle(), QString(window == "w_setprint1" ? "打印设置" : "打印定位"));
}

void tst_layout_windows::saveUnmoved()
{
    QFETCH(QString, window);
    QFETCH(int, slot);
    QFETCH(int, pairs);
    Fixture f;
    QVERIFY(f.connect());
    setKnownRow(f, slot);
    const QVariantList before = rowOf(f, slot);
    const QVariantList neighbour = rowOf(f, slot + 1);
    const QVariantList otherFamily = rowOf(f, slot <= 7 ? 40 : 1);
    fillSampleTexts();
    auto *w = layoutWindow(openAt(window, slot));
    QVERIFY(w);
    click(w, "cb_3");
    QVERIFY(f.boxes.isEmpty());
    const QVariantList after = rowOf(f, slot);
    const QStringList columns = allColumns();
    for (int k = 1; k <= 19; ++k) {
        // The window's pairs come back as twice their truncated half; the others are never touched.
        const int x = after.at(2 * (k - 1)).toInt(), y = after.at(2 * (k - 1) + 1).toInt();
        if (k <= pairs) {
            QCOMPARE(x, 2 * (storedX(k) / 2));
            QCOMPARE(y, 2 * (storedY(k) / 2));
        } else {
            QCOMPARE(x, storedX(k));
            QCOMPARE(y, storedY(k));
        }
    }
    QCOMPARE(after.at(columns.indexOf("x2w")).toInt(), -2);
    QCOMPARE(after.at(columns.indexOf("jj")).toInt(), 163);
    QCOMPARE(after.at(columns.indexOf("sex")), before.at(columns.indexOf("sex")));
    QCOMPARE(after.at(columns.indexOf("sey")), before.at(columns.indexOf("sey")));
    QCOMPARE(rowOf(f, slot + 1), neighbour);
    QCOMPARE(rowOf(f, slot <= 7 ? 40 : 1), otherFamily);
    // Committed: a second connection sees it.
    QCOMPARE(f.scalar("SELECT x1w FROM sescr WHERE no = ?", {slot}).toInt(), 2 * (storedX(1) / 2));
}

void tst_layout_windows::dragField()
{
    // The initial rows: fields apart from each other, every coordinate even.
    Fixture f;
    QVERIFY(f.connect());
    const QVariantList before = rowOf(f, 30);
    auto *w = layoutWindow(openAt("w_setprint", 30));
    QVERIFY(w);
    const QRect start = w->unitGeometry("st_4");
    QWidget *field = w->control("st_4");
    drag(w, centreOf(w, field), QPoint(10, 5));
    // 4.5 units per pixel across, 4 down.
    QCOMPARE(w->unitGeometry("st_4"), start.translated(45, 20));
    QCOMPARE(field->geometry().topLeft(), units::toPixels(start.x() + 45, start.y() + 20, 1, 1).topLeft());
    click(w, "cb_3");
    QVariantList after = rowOf(f, 30);
    const QStringList columns = allColumns();
    QCOMPARE(after.at(columns.indexOf("x4w")).toInt(), 2 * (start.x() + 45));
    QCOMPARE(after.at(columns.indexOf("y4w")).toInt(), 2 * (start.y() + 20));
    // Every other value is exactly as it was.
    after[columns.indexOf("x4w")] = before.at(columns.indexOf("x4w"));
    after[columns.indexOf("y4w")] = before.at(columns.indexOf("y4w"));
    QCOMPARE(after, before);

    // Dragging back by the same travel returns the field to its exact units, not to a rounded neighbour.
    const QRect moved = w->unitGeometry("st_4");
    drag(w, centreOf(w, field), QPoint(7, 3));
    drag(w, centreOf(w, field), QPoint(-7, -3));
    QCOMPARE(w->unitGeometry("st_4"), moved);
}

void tst_layout_windows::dragGridByItsCells_data()
{
    QTest::addColumn<QString>("cell");
    QTest::newRow("caption") << "st_60";
    QTest::newRow("digit") << "st_3";
}

void tst_layout_windows::dragGridByItsCells()
{
    QFETCH(QString, cell);
    Fixture f;
    QVERIFY(f.connect());
    setKnownRow(f, 30);
    fillSampleTexts();
    auto *w = layoutWindow(openAt("w_setprint", 30));
    QVERIFY(w);
    layout::DigitGrid *grid = w->grid();
    const QRect start = w->unitGeometry("uo_1");
    QLabel *pressed = grid->cell(cell);
    const QPoint captionOffset = grid->cell("st_60")->pos() - grid->cell("st_10")->pos();
    drag(w, centreOf(w, pressed), QPoint(-20, 8));
    QCOMPARE(w->unitGeometry("uo_1"), start.translated(-90, 32));
    // Captions and digits move together.
    QCOMPARE(grid->cell("st_60")->pos() - grid->cell("st_10")->pos(), captionOffset);
    click(w, "cb_3");
    QCOMPARE(f.scalar("SELECT x15w FROM sescr WHERE no = 30").toInt(), 2 * (start.x() - 90));
    QCOMPARE(f.scalar("SELECT y15w FROM sescr WHERE no = 30").toInt(), 2 * (start.y() + 32));
}

void tst_layout_windows::pressOnPictureMovesNothing()
{
    Fixture f;
    QVERIFY(f.connect());
    auto *w = layoutWindow(openAt("w_setprint", 30));
    QVERIFY(w);
    QHash<QString, QRect> before;
    for (const QString &name : w->controlNames())
        before.insert(name, w->unitGeometry(name));
    drag(w, centreOf(w, w->control("st_31")), QPoint(15, 15));
    drag(w, centreOf(w, w->control("st_100")), QPoint(15, 15));
    for (const QString &name : w->controlNames())
        QCOMPARE(w->unitGeometry(name), before.value(name));
}

void tst_layout_windows::capturedSlot()
{
    Fixture f;
    QVERIFY(f.connect());
    setKnownRow(f, 30);
    const QVariantList other = rowOf(f, 31);
    auto *w = layoutWindow(openAt("w_setprint", 30));
    QVERIFY(w);
    // Another form's positioning button changes acer while the window is open.
    g::acer = 31;
    drag(w, centreOf(w, w->control("st_1")), QPoint(4, 4));
    click(w, "cb_3");
    w->get<QLineEdit>("sle_1")->setText("5000");
    click(w, "cb_2");
    QCOMPARE(rowOf(f, 31), other);
    QCOMPARE(f.scalar("SELECT x1w FROM sescr WHERE no = 30").toInt(), 2 * (storedX(1) / 2 + 18));
    QCOMPARE(f.scalar("SELECT sex FROM sescr WHERE no = 30").toInt(), 5000);
    QCOMPARE(g::acer, 31);
}

void tst_layout_windows::overLongFigureRefusedWhole()
{
    // A page size is a figure: a paste wider than its box is refused whole, never cut to its first digits,
    // and the balloon at the box says so.
    Fixture f;
    QVERIFY(f.connect());
    auto *w = layoutWindow(openAt("w_setprint", 30));
    QVERIFY(w);
    balloon::hide();
    auto *box = w->get<QLineEdit>("sle_1");
    box->setFocus(Qt::MouseFocusReason);
    box->setText("5000");
    box->selectAll();
    QGuiApplication::clipboard()->setText("123456789012345678901234");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QString("5000"));
    QVERIFY(!balloon::text().isEmpty());
    QVERIFY2(balloon::text().contains("“长度”"), qPrintable(balloon::text()));
}

void tst_layout_windows::pageSize_data()
{
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("width");
    QTest::addColumn<int>("sex");
    QTest::addColumn<int>("sey");
    QTest::addColumn<int>("windowWidth");
    QTest::newRow("odd length") << "841" << "3056" << 840 << 3056 << 420;
    QTest::newRow("cheque page") << "6813" << "3057" << 6812 << 3056 << 3406;
    QTest::newRow("letters") << "abc" << "3056" << 0 << 3056 << -1;
    QTest::newRow("beyond 16 bits") << "99999" << "3056" << 32766 << 3056 << 16383;
}

void tst_layout_windows::pageSize()
{
    QFETCH(QString, length);
    QFETCH(QString, width);
    QFETCH(int, sex);
    QFETCH(int, sey);
    QFETCH(int, windowWidth);
    Fixture f;
    QVERIFY(f.connect());
    setKnownRow(f, 30);
    auto *w = layoutWindow(openAt("w_setprint", 30));
    QVERIFY(w);
    w->get<QLineEdit>("sle_1")->setText(length);
    w->get<QLineEdit>("sle_2")->setText(width);
    click(w, "cb_2");
    QVERIFY(f.boxes.isEmpty());
    QCOMPARE(f.scalar("SELECT sex FROM sescr WHERE no = 30").toInt(), sex);
    QCOMPARE(f.scalar("SELECT sey FROM sescr WHERE no = 30").toInt(), sey);
    if (windowWidth >= 0)
        QCOMPARE(w->pageWidthUnits(), windowWidth);
    QCOMPARE(w->pageHeightUnits(), sey / 2);
    // The boxes keep the typed texts; positions and spacing are not written.
    QCOMPARE(text(w, "sle_1"), length);
    QCOMPARE(f.scalar("SELECT x1w FROM sescr WHERE no = 30").toInt(), storedX(1));
    QCOMPARE(f.scalar("SELECT jj FROM sescr WHERE no = 30").toInt(), 163);
    // The next opening shows the stored size.
    w->close();
    QCoreApplication::processEvents();
    w = layoutWindow(openAt("w_setprint", 30));
    if (windowWidth > 0)
        QCOMPARE(text(w, "sle_1"), QString::number(sex));
}

void tst_layout_windows::digitSpacing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("jj");
    QTest::newRow("as typed") << "163" << 163;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("beyond 16 bits") << "70000" << 32767;
}

void tst_layout_windows::digitSpacing()
{
    QFETCH(QString, typed);
    QFETCH(int, jj);
    Fixture f;
    QVERIFY(f.connect());
    setKnownRow(f, 5);
    auto *w = layoutWindow(openAt("w_setprint1", 5));
    QVERIFY(w);
    w->get<QLineEdit>("sle_3")->setText(typed);
    click(w, "cb_3");
    QCOMPARE(f.scalar("SELECT jj FROM sescr WHERE no = 5").toInt(), jj);
    QCOMPARE(f.scalar("SELECT sex FROM sescr WHERE no = 5").toInt(), 6135);
}

void tst_layout_windows::exitDropsMoves()
{
    Fixture f;
    QVERIFY(f.connect());
    setKnownRow(f, 30);
    const QVariantList before = rowOf(f, 30);
    auto *w = layoutWindow(openAt("w_setprint", 30));
    QVERIFY(w);
    drag(w, centreOf(w, w->control("st_5")), QPoint(30, 30));
    w->get<QLineEdit>("sle_3")->setText("99");
    QPointer<QWidget> guard(w);
    click(w, "cb_1");
    QCoreApplication::processEvents();
    QVERIFY(!ui::findWindow("w_setprint"));
    QCOMPARE(rowOf(f, 30), before);
    QVERIFY(f.boxes.isEmpty());
}

void tst_layout_windows::missingRow()
{
    Fixture f;
    QVERIFY(f.connect());
    f.exec("DELETE FROM sescr WHERE no = 30");
    auto *w = layoutWindow(openAt("w_setprint", 30));
    QVERIFY(w);
    QCOMPARE(w->unitGeometry("st_4").topLeft(), QPoint(0, 0));
    QCOMPARE(w->unitGeometry("uo_1").topLeft(), QPoint(0, 0));
    QCOMPARE(text(w, "sle_3"), QString("0"));
    // Nothing can be saved into a row that is not there, and the operator is told so.
    click(w, "cb_3");
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.at(0).title, QString("错误!"));
    QVERIFY(f.boxes.at(0).text.contains("30"));
    QCOMPARE(f.scalar("SELECT COUNT(*) FROM sescr WHERE no = 30").toInt(), 0);
}

void tst_layout_windows::failedSaveIsReported()
{
    Fixture f;
    QVERIFY(f.connect());
    setKnownRow(f, 30);
    const QVariantList before = rowOf(f, 30);
    auto *w = layoutWindow(openAt("w_setprint", 30));
    QVERIFY(w);
    f.exec("CREATE TRIGGER refuse BEFORE UPDATE ON sescr BEGIN SELECT RAISE(ABORT, 'layout locked'); END");
    drag(w, centreOf(w, w->control("st_6")), QPoint(10, 10));
    click(w, "cb_3");
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.at(0).title, QString("错误!"));
    QVERIFY(f.boxes.at(0).text.contains("layout locked"));
    w->get<QLineEdit>("sle_1")->setText("5000");
    click(w, "cb_2");
    QCOMPARE(f.boxes.size(), 2);
    f.exec("DROP TRIGGER refuse");
    QCOMPARE(rowOf(f, 30), before);
    // The transaction is left clean: a later save goes through.
    click(w, "cb_3");
    QCOMPARE(f.boxes.size(), 2);
    QVERIFY(f.scalar("SELECT x6w FROM sescr WHERE no = 30").toInt() != before.at(10).toInt());
}

void tst_layout_windows::draftHidesPairs11To13()
{
    Fixture f;
    QVERIFY(f.connect());
    setKnownRow(f, 16);
    g::air[11] = g::air[12] = g::air[13] = QString();
    auto *w = layoutWindow(openAt("w_setprint2", 16));
    QVERIFY(w);
    for (const char *hidden : {"st_11", "st_12", "st_13", "st_35", "st_29", "st_26", "st_28"})
        QVERIFY2(!w->control(hidden)->isVisible(), hidden);
    for (const char *shown : {"st_10", "st_14", "st_39", "st_24", "uo_1"})
        QVERIFY2(w->control(shown)->isVisible(), shown);
    QCOMPARE(text(w, "st_39"), QString("收款人"));
    QCOMPARE(text(w, "st_24"), QString("申请人"));
    QCOMPARE(text(w, "st_33"), QString("经办"));
    QCOMPARE(w->unitGeometry("st_100").x(), 718);
    QVERIFY(w->control("cb_4")->isVisible());
    click(w, "cb_3");
    for (int k = 11; k <= 13; ++k) {
        QCOMPARE(f.scalar(QString("SELECT x%1w FROM sescr WHERE no = 16").arg(k)).toInt(), 2 * (storedX(k) / 2));
        QCOMPARE(f.scalar(QString("SELECT y%1w FROM sescr WHERE no = 16").arg(k)).toInt(), 2 * (storedY(k) / 2));
    }
}

void tst_layout_windows::chequeShowsSlot()
{
    Fixture f;
    QVERIFY(f.connect());
    f.exec("UPDATE sescr SET x19w = 777 WHERE no = 10");
    const int x12 = f.scalar("SELECT x12w FROM sescr WHERE no = 10").toInt();
    const int x17 = f.scalar("SELECT x17w FROM sescr WHERE no = 10").toInt();
    const int y17 = f.scalar("SELECT y17w FROM sescr WHERE no = 10").toInt();
    fillSampleTexts();
    auto *w = layoutWindow(openAt("w_setprint1", 10));
    QVERIFY(w);
    QCOMPARE(text(w, "st_16"), QString("10"));
    QCOMPARE(text(w, "st_35"), text(w, "st_12"));
    QCOMPARE(text(w, "st_36"), text(w, "st_13"));
    // Moving only pair 17 changes only pair 17; pair 12, showing the same text, stays.
    drag(w, centreOf(w, w->control("st_35")), QPoint(2, 10));
    click(w, "cb_3");
    QCOMPARE(f.scalar("SELECT x17w FROM sescr WHERE no = 10").toInt(), x17 + 18);
    QCOMPARE(f.scalar("SELECT y17w FROM sescr WHERE no = 10").toInt(), y17 + 80);
    QCOMPARE(f.scalar("SELECT x12w FROM sescr WHERE no = 10").toInt(), x12);
    QCOMPARE(f.scalar("SELECT x19w FROM sescr WHERE no = 10").toInt(), 777);
    // The cash cheque's row of the same format is another row.
    QCOMPARE(f.scalar("SELECT x17w FROM sescr WHERE no = 3").toInt(), x17);
}

void tst_layout_windows::budgetGridAndNoFontButton()
{
    Fixture f;
    QVERIFY(f.connect());
    fillSampleTexts();
    g::air[25] = QString();
    auto *w = layoutWindow(openAt("w_setprint4", 38));
    QVERIFY(w);
    QCOMPARE(w->grid()->places(), 11);
    QCOMPARE(w->grid()->digitCells().size(), 11);
    QCOMPARE(w->grid()->cell("st_12")->text(), QString());
    QCOMPARE(w->grid()->cell("st_10")->text(), QString("样15"));
    QCOMPARE(w->grid()->cell("st_15")->text(), QString("亿"));
    QCOMPARE(w->unitGeometry("uo_1").width(), 1033);
    QVERIFY(!w->control("cb_4"));
    QVERIFY(!w->control("cb_5"));
    for (QPushButton *b : w->findChildren<QPushButton *>())
        QVERIFY(b->text() != "字号及转行设定");
    QCOMPARE(text(w, "st_19"), QString("样27"));
    QCOMPARE(text(w, "st_28"), QString("样26"));
}

void tst_layout_windows::fontButtonOpensFontWindow_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("slot");
    QTest::newRow("deposit form") << "w_setprint" << "cb_4" << 33;
    QTest::newRow("draft application") << "w_setprint2" << "cb_4" << 17;
    QTest::newRow("wire transfer") << "w_setprint3" << "cb_4" << 25;
    QTest::newRow("cheques") << "w_setprint1" << "cb_5" << 12;
}

void tst_layout_windows::fontButtonOpensFontWindow()
{
    QFETCH(QString, window);
    QFETCH(QString, button);
    QFETCH(int, slot);
    Fixture f;
    QVERIFY(f.connect());
    auto *w = layoutWindow(openAt(window, slot));
    QVERIFY(w);
    QCOMPARE(w->get<QPushButton>(button)->text(), QString("字号及转行设定"));
    g::acer = 40; // another form has changed it meanwhile
    click(w, button);
    ui::Window *fonts = ui::findWindow("w_setextenter");
    QVERIFY(fonts);
    QCOMPARE(qobject_cast<layout::FontWindow *>(fonts)->slot(), slot);
    // The font window outlives the layout window.
    w->close();
    QCoreApplication::processEvents();
    QVERIFY(ui::findWindow("w_setextenter"));
}

// The cash cheque form's positioning button hands its texts over and opens the cheque layout window.
void tst_layout_windows::handOverFromChequeForm()
{
    Fixture f;
    QVERIFY(f.connect());
    registerChequeWindows();
    ui::Window *form = ui::openWindow("w_xjzp");
    QVERIFY(form);
    QApplication::setActiveWindow(form);
    QVERIFY(QTest::qWaitForWindowActive(form));
    for (const auto &[box, typed] : {std::pair{"sle_4", "某某公司"}, std::pair{"em_1", "1234.5"}}) {
        form->control(box)->setFocus(Qt::MouseFocusReason);
        typeText(form->control(box), typed);
        QTest::keyClick(form->control(box), Qt::Key_Tab);
        QCoreApplication::processEvents();
    }
    QTest::mouseClick(form->control("rb_3"), Qt::LeftButton);
    QTest::mouseClick(form->control("cb_10"), Qt::LeftButton);
    QCoreApplication::processEvents();
    auto *w = layoutWindow(ui::findWindow("w_setprint1"));
    QVERIFY(w);
    QCOMPARE(w->slot(), 3);
    QCOMPARE(text(w, "st_16"), QString("3"));
    QCOMPARE(text(w, "st_4"), QString("某某公司"));
    QCOMPARE(text(w, "st_11"), QString("某某公司"));
    QCOMPARE(w->grid()->cell("st_7")->text(), QString("￥"));
    QCOMPARE(w->grid()->cell("st_1")->text(), QString("0"));
    QCOMPARE(w->grid()->cell("st_2")->text(), QString("5"));
    QCOMPARE(text(w, "st_100"), QString("银行现金支票开票"));
    const int x4 = f.scalar("SELECT x4w FROM sescr WHERE no = 3").toInt();
    QCOMPARE(w->unitGeometry("st_4").x(), x4 / 2);
}

void tst_layout_windows::handOverAgainWhileOpen()
{
    Fixture f;
    QVERIFY(f.connect());
    registerChequeWindows();
    ui::Window *form = ui::openWindow("w_xjzp");
    QVERIFY(form);
    auto typeInto = [form](const char *box, const QString &typed) {
        auto *e = form->get<QLineEdit>(box);
        e->setFocus(Qt::MouseFocusReason);
        e->selectAll();
        typeText(e, typed);
        QTest::keyClick(e, Qt::Key_Tab);
        QCoreApplication::processEvents();
    };
    auto handOver = [form](const char *radio) {
        QApplication::setActiveWindow(form);
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(form);
        QTest::mouseClick(form->control(radio), Qt::LeftButton);
        QTest::mouseClick(form->control("cb_10"), Qt::LeftButton);
        QCoreApplication::processEvents();
        return QPointer<layout::LayoutWindow>(layoutWindow(ui::findWindow("w_setprint1")));
    };
    typeInto("sle_4", "甲公司");
    QPointer<layout::LayoutWindow> first = handOver("rb_3");
    QVERIFY(first);
    drag(first, centreOf(first, first->control("st_4")), QPoint(4, 4));
    const QRect moved = first->unitGeometry("st_4");

    // The same hand-over again: the open window comes to the front as it is, unsaved moves included.
    QCOMPARE(handOver("rb_3"), first);
    QCOMPARE(first->unitGeometry("st_4"), moved);
    QTRY_VERIFY(QApplication::activeWindow() == first);

    // Another format: the window starts afresh on that slot, in front.
    QPointer<layout::LayoutWindow> second = handOver("rb_5");
    QVERIFY(!first);
    QVERIFY(second);
    QCOMPARE(second->slot(), 5);
    QCOMPARE(text(second, "st_16"), QString("5"));
    QCOMPARE(second->unitGeometry("st_4").x(), f.scalar("SELECT x4w FROM sescr WHERE no = 5").toInt() / 2);
    QTRY_VERIFY(QApplication::activeWindow() == second);

    // The same format with other texts on the form: afresh with the new samples.
    typeInto("sle_4", "乙公司");
    QPointer<layout::LayoutWindow> third = handOver("rb_5");
    QVERIFY(!second);
    QVERIFY(third);
    QCOMPARE(third->slot(), 5);
    QCOMPARE(text(third, "st_4"), QString("乙公司"));
}

void tst_layout_windows::grab_data() { open_data(); }

// Pictures of the windows for a look by eye: only when GRAB_DIR names a folder.
void tst_layout_windows::grab()
{
    QFETCH(QString, window);
    QFETCH(int, slot);
    const QString dir = qEnvironmentVariable("GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("GRAB_DIR not set");
    Fixture f;
    QVERIFY(f.connect());
    g::air = {};
    const QStringList texts = {"", "2026", "3", "5", "某某有限公司", "1234567890123", "中国工商银行", "张三",
                               "李四", "农业银行", "壹万贰仟叁佰肆拾伍元陆角柒分", "转帐支票", "1张", "123456",
                               "王五"};
    for (int k = 1; k < texts.size(); ++k)
        g::air[std::size_t(k)] = texts.at(k);
    const QStringList digits = {"", "￥", "1", "2", "3", "4", "5", "6", "7", "8"};
    for (int k = 0; k < 10; ++k)
        g::air[std::size_t(15 + k)] = digits.at(k);
    g::air[25] = "县";
    g::air[26] = "建设银行";
    g::air[27] = "货款";
    g::air[28] = "赵六";
    g::air[30] = "银行进帐单";
    auto *w = layoutWindow(openAt(window, slot));
    QVERIFY(w);
    QVERIFY(w->grab().save(QDir(dir).filePath(window + ".png")));
    if (window == "w_setprint") {
        click(w, "cb_4");
        auto *fonts = ui::findWindow("w_setextenter");
        fonts->get<QAbstractButton>("cb_4")->click();
        QCoreApplication::processEvents();
        QVERIFY(fonts->grab().save(QDir(dir).filePath("w_setextenter.png")));
    }
}

QTEST_MAIN(tst_layout_windows)
#include "tst_layout_windows.moc"
