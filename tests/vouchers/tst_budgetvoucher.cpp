// The budget appropriation voucher on the screen: its open, the amount up to 亿, the lookups that hand over
// through the picker slots, the account choice, the number echo, the save's row, the reset and the exit.
#include "vouchertest.h"

#include "platform/units.h"

using namespace vouchertest;

namespace {
const QStringList kButtons = {"cb_1", "cb_5", "cb_2", "cb_3", "cb_4"};

w_ysbk *filledVoucher(Fixture &f)
{
    addAccounts(f);
    addPayee(f);
    addRemark(f);
    setUnit(f);
    g::name = QStringLiteral("王出纳");
    w_ysbk *w = openBudget();
    choose(w, "ddlb_1", 1);
    enter(w, "sle_8", "2026031");
    enter(w, "sle_6", "A01");
    enter(w, "em_1", "123456789.12");
    enter(w, "sle_13", "01");
    enter(w, "sle_25", "201");
    enter(w, "sle_27", "03");
    enter(w, "sle_26", "05");
    return w;
}
} // namespace

class tst_budgetvoucher : public QObject {
    Q_OBJECT
private slots:
    void init() { print::setBackend(print::Backend::Recording); }

    void openPreparesTheFirstVoucher();
    void amountUpToYi_data();
    void amountUpToYi();
    void payeeLookupHandsOverThroughTheSlots();
    void remarkLookupHandsOverThroughTheSlot();
    void payeePickerFillsTheThreeBoxes();
    void accountChoiceEmptiesTheNumberFirst();
    void numberEcho();
    void enterMovesAlongTheTabOrder();
    void saveWritesTheRow();
    void nextSheetClearsTheVoucher();
    void exitClosesWithoutAsking();
    void grabWhenAsked();
};

void tst_budgetvoucher::openPreparesTheFirstVoucher()
{
    Fixture f;
    QVERIFY(f.connect());
    addAccounts(f);
    setUnit(f);
    g::name = QStringLiteral("张会计");
    for (int slot = 1; slot <= 9; ++slot)
        g::dnname[slot] = QStringLiteral("left %1").arg(slot);
    w_ysbk *w = openBudget();
    QVERIFY(w);

    QCOMPARE(w->windowTitle(), QStringLiteral("预算拨款凭证(支款凭证)开票"));
    QCOMPARE(w->controlNames().size(), 93);
    QCOMPARE(g::rq, QDate(2026, 3, 5));
    QCOMPARE(boxes(w, {"sle_1", "sle_2", "sle_3"}), QStringLiteral("2026 3 5"));
    QCOMPARE(text(w, "sle_4"), QStringLiteral("北京市某某贸易有限公司"));
    QCOMPARE(text(w, "sle_24"), QStringLiteral("张会计"));
    QCOMPARE(text(w, "sle_28"), QStringLiteral("开"));
    QCOMPARE(text(w, "st_1"), QStringLiteral("预算拨款凭证（支款凭证）"));
    auto *list = w->get<ui::DropDownList>("ddlb_1");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->text(), QString());
    QCOMPARE(text(w, "sle_5"), QString());
    QCOMPARE(text(w, "rb_7"), QStringLiteral("格式七"));
    for (int k = 1; k <= 7; ++k)
        QVERIFY(!w->get<ui::RadioButton>(QStringLiteral("rb_%1").arg(k))->isChecked());
    for (int slot : {1, 2, 3, 4, 5, 6, 8})
        QVERIFY(g::dnname[slot].isEmpty());
    QCOMPARE(g::dnname[7], QStringLiteral("left 7"));
    QCOMPARE(g::dnname[9], QStringLiteral("left 9"));
    QCOMPARE(states(w, kButtons), QStringLiteral("00001"));
    QVERIFY(w->control("st_42")->isHidden() && w->control("rr_2")->isHidden());
    QCOMPARE(QApplication::focusWidget(), w->control("sle_4"));
    for (const char *box : {"sle_4", "sle_5", "sle_7", "sle_9", "sle_10"})
        QVERIFY2(w->get<QLineEdit>(box)->isReadOnly(), box);
}

void tst_budgetvoucher::amountUpToYi_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("capitals");
    QTest::newRow("0") << "0" << 0.0 << "_ _ _ _ _ _ _ _ ￥ _ 0" << "元整";
    QTest::newRow("1,005.00") << "1005" << 1005.0 << "_ _ _ _ ￥ 1 0 0 5 0 0" << "壹仟零伍元整";
    QTest::newRow("10,010,000.00") << "10010000" << 10010000.0 << "￥ 1 0 0 1 0 0 0 0 0 0" << "壹仟零壹万元整";
    QTest::newRow("100,000,000.00") << "100000000" << 100000000.0 << "1 0 0 0 0 0 0 0 0 0 0" << "壹亿元整";
    QTest::newRow("100,001,000.00") << "100001000" << 100001000.0 << "1 0 0 0 0 1 0 0 0 0 0" << "壹亿壹仟元整";
    QTest::newRow("200,300,000.00") << "200300000" << 200300000.0 << "2 0 0 3 0 0 0 0 0 0 0"
                                    << "贰亿零叁拾万元整";
    QTest::newRow("999,999,999.99") << "999999999.99" << 999999999.99 << "9 9 9 9 9 9 9 9 9 9 9"
                                    << "玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分";
}

void tst_budgetvoucher::amountUpToYi()
{
    QFETCH(QString, typed);
    QFETCH(double, value);
    QFETCH(QString, digits);
    QFETCH(QString, capitals);
    Fixture f;
    QVERIFY(f.connect());
    w_ysbk *w = openBudget();
    enter(w, "em_1", "123456789.12");
    QCOMPARE(text(w, "sle_10"), QStringLiteral("壹亿贰仟叁佰肆拾伍万陆仟柒佰捌拾玖元壹角贰分"));
    clear(w, "em_1");
    enter(w, "em_1", typed);
    QCOMPARE(w->an, value);
    QCOMPARE(boxes(w, budgetDigits()), digits);
    QCOMPARE(text(w, "sle_10"), capitals);
}

void tst_budgetvoucher::payeeLookupHandsOverThroughTheSlots()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayee(f);
    w_ysbk *w = openBudget();
    // The lookup writes the slots only; Tab reaches pb_1 at once, which shows them.
    focusOn(w, "sle_6");
    typeText(w->control("sle_6"), "A01");
    QTest::keyClick(w->control("sle_6"), Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), w->control("pb_1"));
    QCOMPARE(boxes(w, {"sle_6", "sle_7", "sle_9"}), QStringLiteral("上海某某科技有限公司 招商银行上海分行 31001234"));
    focusOn(w, "em_1");
    for (int slot : {1, 2, 3})
        QVERIFY(g::dnname[slot].isEmpty());

    // Left with the mouse: the code stays in the box, the row waits in the slots for pb_1.
    clear(w, "sle_6");
    focusOn(w, "sle_6");
    typeText(w->control("sle_6"), "A01");
    focusOn(w, "em_1");
    QCOMPARE(text(w, "sle_6"), QStringLiteral("A01"));
    QCOMPARE(g::dnname[1], QStringLiteral("上海某某科技有限公司"));
    QCOMPARE(g::dnname[2], QStringLiteral("31001234"));
    QCOMPARE(g::dnname[3], QStringLiteral("招商银行上海分行"));
    focusOn(w, "pb_1");
    QCOMPARE(text(w, "sle_6"), QStringLiteral("上海某某科技有限公司"));

    // An unknown code writes no slot: the typed name stays.
    focusOn(w, "em_1");
    clear(w, "sle_6");
    enter(w, "sle_6", "某某个人");
    QCOMPARE(QApplication::focusWidget(), w->control("pb_1"));
    QCOMPARE(text(w, "sle_6"), QStringLiteral("某某个人"));
}

void tst_budgetvoucher::remarkLookupHandsOverThroughTheSlot()
{
    Fixture f;
    QVERIFY(f.connect());
    addRemark(f);
    w_ysbk *w = openBudget();
    enter(w, "sle_13", "01");
    QCOMPARE(QApplication::focusWidget(), w->control("pb_2"));
    QCOMPARE(text(w, "sle_13"), QStringLiteral("货款"));
    focusOn(w, "sle_25");
    QVERIFY(g::dnname[8].isEmpty());
    clear(w, "sle_13");
    enter(w, "sle_13", "02");
    QCOMPARE(text(w, "sle_13"), QStringLiteral("02"));
}

void tst_budgetvoucher::payeePickerFillsTheThreeBoxes()
{
    Fixture f;
    QVERIFY(f.connect());
    w_ysbk *w = openBudget();
    const QStringList chosen = {"杭州某某有限公司", "33005678", "农业银行杭州分行", "浙江", "杭州", "西湖"};
    for (int slot = 1; slot <= 6; ++slot)
        g::dnname[slot] = chosen.at(slot - 1);
    focusOn(w, "pb_1");
    // The bank beside "开户银行", the account beside "帐    号".
    QCOMPARE(boxes(w, {"sle_6", "sle_7", "sle_9"}), QStringLiteral("杭州某某有限公司 农业银行杭州分行 33005678"));
    focusOn(w, "em_1");
    for (int slot : {1, 2, 3})
        QVERIFY(g::dnname[slot].isEmpty());
    QCOMPARE(g::dnname[4], QStringLiteral("浙江")); // the place is no business of this form's button
    QCOMPARE(g::dnname[6], QStringLiteral("西湖"));
}

void tst_budgetvoucher::accountChoiceEmptiesTheNumberFirst()
{
    Fixture f;
    QVERIFY(f.connect());
    addAccounts(f);
    w_ysbk *w = openBudget();
    choose(w, "ddlb_1", 0);
    QCOMPARE(text(w, "sle_5"), QStringLiteral("6222020012345678"));
    QCOMPARE(w->prnbank, QStringLiteral("工商银行北京分行"));
    QCOMPARE(QApplication::focusWidget(), w->control("ddlb_1"));
    f.exec("DELETE FROM bankoffice WHERE bankoffice = '一般户'");
    choose(w, "ddlb_1", 1);
    QCOMPARE(text(w, "sle_5"), QString());
    QCOMPARE(w->prnbank, QString());
}

void tst_budgetvoucher::numberEcho()
{
    Fixture f;
    QVERIFY(f.connect());
    w_ysbk *w = openBudget();
    enter(w, "sle_8", "12345");
    QCOMPARE(text(w, "sle_12"), QStringLiteral("12345"));
    clear(w, "sle_8");
    QCOMPARE(text(w, "sle_12"), QString());
}

void tst_budgetvoucher::enterMovesAlongTheTabOrder()
{
    Fixture f;
    QVERIFY(f.connect());
    w_ysbk *w = openBudget();
    click(w, "rb_2");
    focusOn(w, "sle_4");
    const QStringList expected = {"ddlb_1", "sle_5", "sle_8", "sle_6", "pb_1", "sle_7", "sle_9", "em_1",
                                  "sle_13", "pb_2", "sle_25", "sle_27", "sle_26", "sle_28", "rb_1", "rb_2",
                                  "rb_3", "rb_4", "rb_5", "rb_6", "rb_7", "cb_1", "cb_5", "cb_4", "sle_4"};
    for (const QString &next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), w->control(next));
    }
}

void tst_budgetvoucher::saveWritesTheRow()
{
    Fixture f;
    QVERIFY(f.connect());
    w_ysbk *w = filledVoucher(f);
    click(w, "rb_1");
    click(w, "cb_1");
    QVERIFY(markShown(w, "st_42"));
    QCOMPARE(states(w, kButtons), QStringLiteral("01101"));
    const QStringList columns = {"rq", "zphm", "xkr", "et", "fkhm", "fkzh", "kpr", "an", "shbank", "shcode",
                                 "bz", "fkrm"};
    QStringList row;
    for (const QString &c : columns) {
        const QVariant v = f.scalar(QStringLiteral("SELECT %1 FROM xjzp").arg(c));
        row << (v.isNull() ? QStringLiteral("NULL") : v.toString());
    }
    // The payee in fkhm/fkzh, the unit's own account in shbank/shcode.
    QCOMPARE(row, (QStringList{"2026-03-05", "2026031", "上海某某科技有限公司", "货款", "招商银行上海分行",
                               "31001234", "王出纳", "123456789.12", "一般户", "110060001", "预算付款", "NULL"}));
    click(w, "rb_2");
    click(w, "cb_1");
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 2);
}

void tst_budgetvoucher::nextSheetClearsTheVoucher()
{
    Fixture f;
    QVERIFY(f.connect());
    w_ysbk *w = filledVoucher(f);
    clear(w, "sle_28");
    enter(w, "sle_28", "讫");
    click(w, "rb_3");
    click(w, "cb_1");
    click(w, "cb_2");
    for (int slot = 1; slot <= 9; ++slot)
        g::dnname[slot] = QStringLiteral("x");
    click(w, "cb_3");

    QCOMPARE(states(w, kButtons), QStringLiteral("00001"));
    QVERIFY(!markShown(w, "st_42"));
    for (const char *box : {"sle_6", "sle_7", "sle_9", "sle_8", "em_1", "sle_5", "sle_10", "sle_13", "sle_25",
                            "sle_26", "sle_27", "sle_12"})
        QVERIFY2(text(w, box).isEmpty(), box);
    QCOMPARE(boxes(w, budgetDigits()), QStringLiteral("_ _ _ _ _ _ _ _ _ _ _"));
    QCOMPARE(w->get<ui::DropDownList>("ddlb_1")->text(), QString());
    QCOMPARE(boxes(w, {"sle_1", "sle_2", "sle_3", "sle_4", "sle_24", "sle_28"}),
             QStringLiteral("2026 3 5 北京市某某贸易有限公司 王出纳 讫"));
    for (int slot = 1; slot <= 6; ++slot)
        QVERIFY(g::dnname[slot].isEmpty());
    for (int slot : {7, 8, 9})
        QCOMPARE(g::dnname[slot], QStringLiteral("x"));
    for (int k = 1; k <= 7; ++k)
        QVERIFY(!w->get<ui::RadioButton>(QStringLiteral("rb_%1").arg(k))->isChecked());
    QCOMPARE(w->an, 0.0);
    QCOMPARE(w->prnbank, QString());
}

void tst_budgetvoucher::exitClosesWithoutAsking()
{
    Fixture f;
    QVERIFY(f.connect());
    w_ysbk *w = openBudget();
    enter(w, "sle_8", "1");
    QTest::keyClick(w->control("sle_6"), Qt::Key_Escape);
    QCoreApplication::processEvents();
    QVERIFY(ui::findWindow("w_ysbk"));
    click(w, "cb_4");
    QTRY_VERIFY(!ui::findWindow("w_ysbk"));
    QVERIFY(f.boxes.isEmpty());
}

void tst_budgetvoucher::grabWhenAsked()
{
    Fixture f;
    QVERIFY(f.connect());
    w_ysbk *w = filledVoucher(f);
    click(w, "rb_1");
    click(w, "cb_1");
    grabIfAsked(w, "w_ysbk.png");
}

QTEST_MAIN(tst_budgetvoucher)
#include "tst_budgetvoucher.moc"
