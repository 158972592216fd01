// The bank draft application form: its open, its entry aids, the register row it saves, its next sheet,
// its print and its hand-over to the layout window.
#include "formtest.h"

#include "draft_deposit/w_find.h"

#include <QLabel>

using namespace formtest;

namespace {
const QString kTitle = QStringLiteral("汇票委托书开票");

w_find *openDraft() { return openForm<w_find>(QStringLiteral("w_find")); }

void addBooks(Fixture &f)
{
    addAccounts(f);
    f.exec("INSERT INTO skrbook (bs, skrname, skrcode, skrbank) VALUES ('HX', '华星电子有限公司', '4000123', "
           "'中国银行上海分行')");
    f.exec("INSERT INTO bs_1 (cid, ctext) VALUES ('01', '购买材料')");
}

// A whole application: number, account, purpose by its code, payee by its short code, amount.
w_find *filledDraft(Fixture &f)
{
    addBooks(f);
    g::name = QStringLiteral("王出纳");
    g::myname = QStringLiteral("  北京某某科技有限公司 ");
    w_find *w = openDraft();
    enter(w, "sle_21", "HP0042");
    choose(w, "ddlb_1", 0);
    enter(w, "sle_3", "01");
    enter(w, "sle_4", "HX");
    enter(w, "em_1", "1005");
    return w;
}
} // namespace

class tst_draftform : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        print::setBackend(print::Backend::Recording);
        print::clearRecorded();
    }

    void opens();
    void tabOrder();
    void amount_data();
    void amount();
    void lookups();
    void accountChoiceTakesTheNumberOnly();
    void pickerHandover();
    void saveStoresTheApplication();
    void nextSheetUnchecksTheFirstFormatOnly();
    void printFollowsTheFieldTable();
    void printWithoutAJobSaysWhy();
    void positioningHandsOver();
    void looks();
};

void tst_draftform::opens()
{
    Fixture f;
    QVERIFY(f.connect());
    addAccounts(f);
    g::name = QStringLiteral("王出纳");
    g::myname = QStringLiteral("北京某某科技有限公司");
    for (int slot = 1; slot <= 9; ++slot)
        g::dnname[slot] = QStringLiteral("left %1").arg(slot);
    g::rq = QDate(2020, 1, 1);
    w_find *w = openDraft();
    QVERIFY(w);

    QCOMPARE(w->windowTitle(), kTitle);
    QCOMPARE(g::rq, QDate(2026, 3, 5));
    QCOMPARE(text(w, "sle_17"), QStringLiteral("2026"));
    QCOMPARE(text(w, "sle_18"), QStringLiteral("3"));
    QCOMPARE(text(w, "sle_19"), QStringLiteral("5"));
    QCOMPARE(text(w, "sle_1"), QStringLiteral("北京某某科技有限公司"));
    QCOMPARE(text(w, "sle_22"), QStringLiteral("王出纳"));
    QCOMPARE(text(w, "st_1"), QStringLiteral("银行汇票申请书"));
    auto *list = w->get<ui::DropDownList>("ddlb_1");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->itemText(0), QStringLiteral("基本户"));
    QCOMPARE(list->itemText(1), QStringLiteral("一般户"));
    QVERIFY(text(w, "ddlb_1").isEmpty());
    for (int k = 1; k <= 7; ++k) {
        QCOMPARE(text(w, QStringLiteral("rb_%1").arg(k)), f.scalar("SELECT psname FROM prsz WHERE prid = ?", {k}));
        QVERIFY(!checked(w, QStringLiteral("rb_%1").arg(k)));
    }
    // The slots of the payee and the remark are cleared, 7 and 9 are not this form's.
    for (int slot = 1; slot <= 9; ++slot)
        QCOMPARE(g::dnname[slot], slot == 7 || slot == 9 ? QStringLiteral("left %1").arg(slot) : QString());
    for (const char *b : {"cb_1", "cb_2", "cb_3", "cb_5"})
        QVERIFY2(!enabled(w, b), b);
    QVERIFY(enabled(w, "cb_4"));
    QVERIFY(!shown(w, "st_34") && !shown(w, "rr_2"));
    QCOMPARE(QApplication::focusWidget(), w->control("sle_21"));
    QVERIFY(w->get<QLineEdit>("sle_1")->isReadOnly());
    QVERIFY(w->get<QLineEdit>("sle_24")->isReadOnly());
    QCOMPARE(w->get<QLineEdit>("sle_22")->text(), QStringLiteral("王出纳"));

    // Esc does not close the form; the exit button does, asking nothing.
    QTest::keyClick(w->control("sle_21"), Qt::Key_Escape);
    QVERIFY(ui::findWindow("w_find"));
    click(w, "cb_4");
    QVERIFY(!ui::findWindow("w_find"));
    QVERIFY(f.boxes.isEmpty());
}

void tst_draftform::tabOrder()
{
    Fixture f;
    QVERIFY(f.connect());
    w_find *w = openDraft();
    click(w, "rb_2"); // save and positioning take part once enabled
    QStringList stops;
    for (QWidget *s : w->tabStops())
        stops << s->objectName();
    QCOMPARE(stops, QStringList({"sle_21", "sle_1", "ddlb_1", "sle_2", "sle_3", "sle_4", "sle_24", "sle_6", "pb_1",
                                 "em_1", "rb_1", "rb_2", "rb_3", "rb_4", "rb_5", "cb_1", "cb_5", "cb_4", "pb_2"}));
    // Enter moves on as Tab does.
    focusOn(w, "sle_2");
    QTest::keyClick(w->control("sle_2"), Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), w->control("sle_3"));
}

void tst_draftform::amount_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("capitals");
    QTest::newRow("1,005.00") << "1005" << 1005.0 << "_ _ _ ￥ 1 0 0 5 0 0" << "壹仟零伍元整";
    QTest::newRow("0.50") << "0.5" << 0.5 << "_ _ _ _ _ _ _ ￥ 5 0" << "元伍角整";
    QTest::newRow("10.05") << "10.05" << 10.05 << "_ _ _ _ _ ￥ 1 0 0 5" << "壹拾元零伍分";
    QTest::newRow("12,345,678.90") << "12345678.9" << 12345678.9 << "1 2 3 4 5 6 7 8 9 0"
                                   << "壹仟贰佰叁拾肆万伍仟陆佰柒拾捌元玖角整";
}

void tst_draftform::amount()
{
    QFETCH(QString, typed);
    QFETCH(double, value);
    QFETCH(QString, digits);
    QFETCH(QString, capitals);
    Fixture f;
    QVERIFY(f.connect());
    w_find *w = openDraft();
    // A larger amount first: the smaller one empties the boxes above its highest figure.
    enter(w, "em_1", "98765432.1");
    clear(w, "em_1");
    enter(w, "em_1", typed);
    QCOMPARE(w->an, value);
    QCOMPARE(digitRow(w, 7), digits);
    QCOMPARE(text(w, "sle_20"), capitals);
}

void tst_draftform::lookups()
{
    Fixture f;
    QVERIFY(f.connect());
    addBooks(f);
    // The payer book has the same short code: the draft application reads the payee book.
    f.exec("INSERT INTO fkrbook (bs, skrname, skrcode, skrbank) VALUES ('HX', '付款人', '1', '付款行')");
    w_find *w = openDraft();

    enter(w, "sle_3", "01");
    QCOMPARE(text(w, "sle_3"), QStringLiteral("购买材料"));
    enter(w, "sle_4", "HX");
    QCOMPARE(text(w, "sle_4"), QStringLiteral("华星电子有限公司"));
    QCOMPARE(text(w, "sle_24"), QStringLiteral("4000123"));
    QCOMPARE(text(w, "sle_6"), QStringLiteral("中国银行上海分行"));
    // The purpose has one box: nothing is copied anywhere else.
    QVERIFY(text(w, "sle_2").isEmpty());

    // Codes that no row has stay as typed; the payee's account and bank keep the last payee's.
    clear(w, "sle_3");
    enter(w, "sle_3", "99");
    QCOMPARE(text(w, "sle_3"), QStringLiteral("99"));
    clear(w, "sle_4");
    enter(w, "sle_4", "ZZ");
    QCOMPARE(text(w, "sle_4"), QStringLiteral("ZZ"));
    QCOMPARE(text(w, "sle_24"), QStringLiteral("4000123"));
    QCOMPARE(text(w, "sle_6"), QStringLiteral("中国银行上海分行"));
    QVERIFY(f.boxes.isEmpty());
}

void tst_draftform::accountChoiceTakesTheNumberOnly()
{
    Fixture f;
    QVERIFY(f.connect());
    addAccounts(f);
    w_find *w = openDraft();
    choose(w, "ddlb_1", 1);
    QCOMPARE(text(w, "sle_2"), QStringLiteral("110060001"));
    QVERIFY(w->prnbank.isEmpty());
    QCOMPARE(QApplication::focusWidget(), w->control("ddlb_1"));
    // An account gone from the book leaves the number empty.
    f.exec("DELETE FROM bankoffice WHERE bankoffice = '基本户'");
    choose(w, "ddlb_1", 0);
    QVERIFY(text(w, "sle_2").isEmpty());
}

void tst_draftform::pickerHandover()
{
    Fixture f;
    QVERIFY(f.connect());
    w_find *w = openDraft();
    g::dnname[1] = QStringLiteral("华星电子有限公司");
    g::dnname[2] = QStringLiteral("4000123");
    g::dnname[3] = QStringLiteral("中国银行上海分行");
    g::dnname[4] = QStringLiteral("上海");
    focusOn(w, "pb_1");
    QCOMPARE(text(w, "sle_4"), QStringLiteral("华星电子有限公司"));
    QCOMPARE(text(w, "sle_24"), QStringLiteral("4000123"));
    QCOMPARE(text(w, "sle_6"), QStringLiteral("中国银行上海分行"));
    g::dnname[8] = QStringLiteral("差旅费");
    focusOn(w, "pb_2");
    QCOMPARE(text(w, "sle_3"), QStringLiteral("差旅费"));
    QVERIFY(g::dnname[1].isEmpty() && g::dnname[2].isEmpty() && g::dnname[3].isEmpty());
    QCOMPARE(g::dnname[4], QStringLiteral("上海"));
    focusOn(w, "sle_21");
    QVERIFY(g::dnname[8].isEmpty());
}

void tst_draftform::saveStoresTheApplication()
{
    Fixture f;
    QVERIFY(f.connect());
    w_find *w = filledDraft(f);
    click(w, "rb_1");
    QVERIFY(enabled(w, "cb_1") && enabled(w, "cb_5"));
    click(w, "cb_1");

    QVERIFY(f.boxes.isEmpty());
    QVERIFY(shown(w, "st_34") && shown(w, "rr_2"));
    QVERIFY(enabled(w, "cb_2"));
    QVERIFY(!enabled(w, "cb_1"));
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 1);
    const QStringList columns = {"rq", "zphm", "xkr", "et", "fkhm", "fkzh", "kpr", "shbank", "shcode", "bz"};
    const QStringList expected = {"2026-03-05", "HP0042", "华星电子有限公司", "购买材料", "基本户",
                                  "6222020012345678", "王出纳", "中国银行上海分行", "4000123", "银行汇票"};
    for (int i = 0; i < columns.size(); ++i)
        QCOMPARE(f.scalar(QStringLiteral("SELECT %1 FROM xjzp").arg(columns.at(i))).toString(), expected.at(i));
    QCOMPARE(f.scalar("SELECT an FROM xjzp").toDouble(), 1005.0);
    QVERIFY(f.scalar("SELECT fkrm FROM xjzp").isNull());

    // A second format click offers the save again: a second row of the same sheet.
    click(w, "rb_2");
    click(w, "cb_1");
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp WHERE bz = '银行汇票' AND zphm = 'HP0042'").toInt(), 2);
}

void tst_draftform::nextSheetUnchecksTheFirstFormatOnly()
{
    Fixture f;
    QVERIFY(f.connect());
    w_find *w = filledDraft(f);
    g::dnname[8] = QStringLiteral("差旅费");
    click(w, "rb_3");
    click(w, "cb_1");
    click(w, "cb_2");
    QVERIFY(enabled(w, "cb_3"));
    for (int slot = 1; slot <= 6; ++slot)
        g::dnname[slot] = QStringLiteral("x");
    click(w, "cb_3");

    for (const char *box : {"sle_21", "sle_2", "sle_3", "sle_4", "sle_24", "sle_6", "em_1", "sle_20", "ddlb_1"})
        QVERIFY2(text(w, box).isEmpty(), box);
    QCOMPARE(digitRow(w, 7), QStringLiteral("_ _ _ _ _ _ _ _ _ _"));
    QCOMPARE(text(w, "sle_1"), QStringLiteral("  北京某某科技有限公司 "));
    QCOMPARE(text(w, "sle_17"), QStringLiteral("2026"));
    QCOMPARE(text(w, "sle_22"), QStringLiteral("王出纳"));
    QCOMPARE(w->get<ui::DropDownList>("ddlb_1")->count(), 2);
    for (int slot = 1; slot <= 6; ++slot)
        QVERIFY(g::dnname[slot].isEmpty());
    QCOMPARE(g::dnname[8], QStringLiteral("差旅费"));
    QVERIFY(!shown(w, "st_34") && !shown(w, "rr_2"));
    for (const char *b : {"cb_1", "cb_2", "cb_3", "cb_5"})
        QVERIFY2(!enabled(w, b), b);
    // Only the first format is unchecked: the third stays chosen, and a click on it offers save again.
    QVERIFY(checked(w, "rb_3"));
    click(w, "rb_3");
    QVERIFY(enabled(w, "cb_1") && enabled(w, "cb_5"));
    // The amount behind the emptied box is 0 again: a sheet saved without one stores 0.
    QCOMPARE(w->an, 0.0);
    click(w, "cb_1");
    QCOMPARE(f.scalar("SELECT an FROM xjzp ORDER BY line DESC LIMIT 1").toDouble(), 0.0);

    click(w, "rb_1");
    click(w, "cb_1");
    click(w, "cb_2");
    click(w, "cb_3");
    QVERIFY(!checked(w, "rb_1"));
}

void tst_draftform::printFollowsTheFieldTable()
{
    Fixture f;
    QVERIFY(f.connect());
    setUpSlot(f, 17);
    w_find *w = filledDraft(f);
    clear(w, "sle_6");
    enter(w, "sle_6", " 中国银行 ");
    clear(w, "sle_2");
    enter(w, "sle_2", " 62220 ");
    click(w, "rb_3");
    click(w, "cb_1");
    g::acer = 5;
    click(w, "cb_2");
    QCOMPARE(g::acer, 17);

    QStringList expected = jobStart(kTitle);
    expected << textCall("2026", pairAt(1)) << textCall("3", pairAt(2)) << textCall("5", pairAt(3))
             // Long fields trimmed and split by GBK bytes; the others as they stand.
             << textCall("北京某某", pairAt(4)) << textCall("科技有限公司", pairAt(4), 101)
             << textCall(" 62220 ", pairAt(5)) << textCall("购买材", pairAt(6)) << textCall("料", pairAt(6), 102)
             << textCall("华星电子有", pairAt(7)) << textCall("限公司", pairAt(7), 103)
             << textCall("4000123", pairAt(8)) << textCall("中", pairAt(9)) << textCall("国银行", pairAt(9), 104)
             << "setFont(2)" << textCall("壹仟零伍元整", pairAt(10)) << "setFont(1)";
    expected << digitCalls({"", "", "", "￥", "1", "0", "0", "5", "0", "0"});
    expected << textCall("王出纳", pairAt(14)) << "line()" << "close()";
    compareCalls(expected);
    // Pairs 11 to 13 are read with the row, never printed; nor is the application number.
    const QString all = recordedCalls().join(u'|');
    for (int k = 11; k <= 13; ++k)
        QVERIFY(!all.contains(QStringLiteral(",%1,%2,").arg(pairAt(k).x()).arg(pairAt(k).y())));
    QVERIFY(!all.contains(QStringLiteral("HP0042")));
    QVERIFY(enabled(w, "cb_3") && enabled(w, "cb_2"));
    QVERIFY(f.boxes.isEmpty());
}

void tst_draftform::printWithoutAJobSaysWhy()
{
    Fixture f;
    QVERIFY(f.connect());
    w_find *w = filledDraft(f);
    click(w, "rb_1");
    click(w, "cb_1");
    print::setBackend(print::Backend::Failing);
    click(w, "cb_2");
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.first().title, QStringLiteral("错误!"));
    QCOMPARE(recordedCalls(), QStringList{QStringLiteral("open(%1)").arg(kTitle)});
    QVERIFY(enabled(w, "cb_3"));
}

void tst_draftform::positioningHandsOver()
{
    Fixture f;
    QVERIFY(f.connect());
    w_find *w = filledDraft(f);
    g::acer = 30;
    for (int slot = 1; slot <= 30; ++slot)
        g::air[slot] = QStringLiteral("old %1").arg(slot);
    // No format checked: nothing is handed over, nothing opens.
    ui::Window *opened = nullptr;
    registerLayoutStandIn(QStringLiteral("w_setprint2"), &opened);
    click(w, "cb_5");
    QCOMPARE(g::acer, 30);
    QVERIFY(!opened);

    click(w, "rb_2");
    const bool printOn = enabled(w, "cb_2"), nextOn = enabled(w, "cb_3");
    click(w, "cb_5");
    QCOMPARE(g::acer, 16);
    const QStringList expected = {
        "2026", "3", "5", "  北京某某科技有限公司 ", "6222020012345678", "购买材料", "华星电子有限公司", "4000123",
        "中国银行上海分行", "壹仟零伍元整", "", "", "", "王出纳", "", "", "", "￥", "1", "0", "0", "5", "0", "0",
        "old 25", "old 26", "old 27", "old 28", "old 29", "银行汇票申请书"};
    for (int slot = 1; slot <= 30; ++slot)
        QCOMPARE(g::air[slot], expected.at(slot - 1));
    QVERIFY(opened);
    QVERIFY(!opened->opener());
    QVERIFY(ui::findWindow("w_find"));
    // Positioning changes no button.
    QCOMPARE(enabled(w, "cb_2"), printOn);
    QCOMPARE(enabled(w, "cb_3"), nextOn);
    QVERIFY(enabled(w, "cb_5") && enabled(w, "cb_1"));
}

void tst_draftform::looks()
{
    const QString dir = qEnvironmentVariable("GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("GRAB_DIR is not set");
    Fixture f;
    QVERIFY(f.connect());
    w_find *w = filledDraft(f);
    click(w, "rb_1");
    click(w, "cb_1");
    grab(w, QStringLiteral("w_find"));
    print::setBackend(print::Backend::Pdf);
    click(w, "cb_2");
    QFile::copy(print::lastOutputFile(), QDir(dir).filePath(QStringLiteral("w_find.pdf")));
}

QTEST_MAIN(tst_draftform)
#include "tst_draftform.moc"
