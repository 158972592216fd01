// The wire-transfer voucher on the screen: its open, the amount, the lookups and the account choice, the
// picker hand-over, the save's row, the next-sheet reset and the exit.
#include "vouchertest.h"

#include "platform/post.h"
#include "platform/units.h"

using namespace vouchertest;

namespace {
const QStringList kButtons = {"cb_1", "cb_5", "cb_2", "cb_3", "cb_4"};

// A whole voucher: account, payee by short code, purpose by remark code, amount.
w_yhdh *filledVoucher(Fixture &f)
{
    addAccounts(f);
    addPayee(f);
    addRemark(f);
    setUnit(f);
    g::name = QStringLiteral("王出纳");
    w_yhdh *w = openWire();
    choose(w, "ddlb_1", 0);
    enter(w, "sle_27", "01");
    enter(w, "sle_7", "A01");
    enter(w, "em_1", "40050");
    return w;
}
} // namespace

class tst_wirevoucher : public QObject {
    Q_OBJECT
private slots:
    void init() { print::setBackend(print::Backend::Recording); }

    void openPreparesTheFirstVoucher();
    void openWithoutAUnitRow();
    void amountFillsDigitBoxesAndCapitals_data();
    void amountFillsDigitBoxesAndCapitals();
    void payeeLookupFillsTheSixBoxes();
    void remarkLookup();
    void accountChoiceMovesToThePurpose();
    void payeePickerFillsTheSixBoxes();
    void enterMovesAlongTheTabOrder();
    void saveWritesTheRow();
    void refusedSaveIsReported();
    void nextSheetClearsTheVoucher();
    void exitClosesWithoutAsking();
    void grabWhenAsked();
};

void tst_wirevoucher::openPreparesTheFirstVoucher()
{
    Fixture f;
    QVERIFY(f.connect());
    addAccounts(f);
    setUnit(f);
    g::name = QStringLiteral("张会计");
    g::rq = QDate(2001, 1, 1);
    for (int slot = 1; slot <= 9; ++slot)
        g::dnname[slot] = QStringLiteral("left %1").arg(slot);
    w_yhdh *w = openWire();
    QVERIFY(w);

    QCOMPARE(w->windowTitle(), QStringLiteral("银行电汇开票"));
    QCOMPARE(w->size(), QSize(units::toPixelsX(3529), units::toPixelsY(1888)));
    QCOMPARE(g::rq, QDate(2026, 3, 5));
    QCOMPARE(boxes(w, {"sle_1", "sle_2", "sle_3"}), QStringLiteral("2026 3 5"));
    QCOMPARE(text(w, "sle_28"), QStringLiteral("张会计"));
    QCOMPARE(text(w, "sle_4"), QStringLiteral("北京市某某贸易有限公司"));
    QCOMPARE(boxes(w, {"sle_6", "sle_11", "sle_12"}), QStringLiteral("北京 北京 朝阳"));
    auto *list = w->get<ui::DropDownList>("ddlb_1");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->itemText(0), QStringLiteral("基本户"));
    QCOMPARE(list->itemText(1), QStringLiteral("一般户"));
    QCOMPARE(list->text(), QString());
    QCOMPARE(g::kk, QStringLiteral("一般户"));
    for (int k = 1; k <= 7; ++k) {
        auto *radio = w->get<ui::RadioButton>(QStringLiteral("rb_%1").arg(k));
        QCOMPARE(radio->text(), QStringLiteral("格式") + QStringLiteral("一二三四五六七").at(k - 1));
        QVERIFY(!radio->isChecked());
    }
    for (int slot : {1, 2, 3, 4, 5, 6, 8})
        QVERIFY2(g::dnname[slot].isEmpty(), qPrintable(QString::number(slot)));
    QCOMPARE(g::dnname[7], QStringLiteral("left 7"));
    QCOMPARE(g::dnname[9], QStringLiteral("left 9"));
    QCOMPARE(states(w, kButtons), QStringLiteral("00001"));
    QVERIFY(enabled(w, "pb_1") && enabled(w, "pb_2"));
    QVERIFY(w->control("st_45")->isHidden() && w->control("rr_2")->isHidden());
    QCOMPARE(text(w, "st_1"), QStringLiteral("银行电汇凭证"));
    QCOMPARE(QApplication::focusWidget(), w->control("sle_4"));
    // The unit's boxes are filled by the form only.
    for (const char *box : {"sle_4", "sle_5", "sle_6", "sle_11", "sle_12", "sle_8", "sle_9"})
        QVERIFY2(w->get<QLineEdit>(box)->isReadOnly(), box);
    for (const char *box : {"sle_1", "sle_7", "sle_10", "sle_14", "sle_17", "sle_27", "sle_28"})
        QVERIFY2(!w->get<QLineEdit>(box)->isReadOnly(), box);
}

void tst_wirevoucher::openWithoutAUnitRow()
{
    Fixture f;
    QVERIFY(f.connect());
    f.exec("DELETE FROM myname");
    g::myname = QStringLiteral("旧单位");
    w_yhdh *w = openWire();
    QVERIFY(w);
    QCOMPARE(boxes(w, {"sle_6", "sle_11", "sle_12"}), QStringLiteral("_ _ _"));
    QCOMPARE(text(w, "sle_4"), QStringLiteral("旧单位"));
    QCOMPARE(w->get<ui::DropDownList>("ddlb_1")->count(), 0);
}

void tst_wirevoucher::amountFillsDigitBoxesAndCapitals_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("capitals");
    QTest::newRow("1,005.00") << "1005" << 1005.0 << "_ _ _ ￥ 1 0 0 5 0 0" << "壹仟零伍元整";
    QTest::newRow("10.05") << "10.05" << 10.05 << "_ _ _ _ _ ￥ 1 0 0 5" << "壹拾元零伍分";
    QTest::newRow("0.50") << "0.5" << 0.5 << "_ _ _ _ _ _ _ ￥ 5 0" << "元伍角整";
    QTest::newRow("0.00") << "0" << 0.0 << "_ _ _ _ _ _ _ ￥ _ 0" << "元整";
    QTest::newRow("40,050.00") << "40050" << 40050.0 << "_ _ ￥ 4 0 0 5 0 0 0" << "肆万零伍拾元整";
    QTest::newRow("10,010,000.00") << "10010000" << 10010000.0 << "1 0 0 1 0 0 0 0 0 0" << "壹仟零壹万元整";
    QTest::newRow("99,999,999.99") << "99999999.99" << 99999999.99 << "9 9 9 9 9 9 9 9 9 9"
                                   << "玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分";
}

void tst_wirevoucher::amountFillsDigitBoxesAndCapitals()
{
    QFETCH(QString, typed);
    QFETCH(double, value);
    QFETCH(QString, digits);
    QFETCH(QString, capitals);
    Fixture f;
    QVERIFY(f.connect());
    w_yhdh *w = openWire();
    // A longer amount first: nothing of it may stay above the new amount's highest digit.
    enter(w, "em_1", "12345678.9");
    clear(w, "em_1");
    enter(w, "em_1", typed);
    QCOMPARE(w->an, value);
    QCOMPARE(boxes(w, wireDigits()), digits);
    QCOMPARE(text(w, "sle_10"), capitals);
}

void tst_wirevoucher::payeeLookupFillsTheSixBoxes()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayee(f);
    w_yhdh *w = openWire();
    const QStringList payee = {"sle_7", "sle_9", "sle_8", "sle_14", "sle_15", "sle_16"};
    enter(w, "sle_7", "A01");
    QCOMPARE(boxes(w, payee), QStringLiteral("上海某某科技有限公司 31001234 招商银行上海分行 上海 上海 浦东"));
    // An unknown code stays as the payee's name; the other boxes keep the earlier payee.
    clear(w, "sle_7");
    enter(w, "sle_7", "新客户");
    QCOMPARE(boxes(w, payee), QStringLiteral("新客户 31001234 招商银行上海分行 上海 上海 浦东"));
    // Emptying the name reads nothing.
    clear(w, "sle_7");
    QCOMPARE(boxes(w, payee), QStringLiteral("_ 31001234 招商银行上海分行 上海 上海 浦东"));
    // The slots of the picker are not touched by the lookup.
    for (int slot = 1; slot <= 6; ++slot)
        QVERIFY(g::dnname[slot].isEmpty());
}

void tst_wirevoucher::remarkLookup()
{
    Fixture f;
    QVERIFY(f.connect());
    addRemark(f);
    w_yhdh *w = openWire();
    enter(w, "sle_27", "01");
    QCOMPARE(text(w, "sle_27"), QStringLiteral("货款"));
    clear(w, "sle_27");
    enter(w, "sle_27", "02");
    QCOMPARE(text(w, "sle_27"), QStringLiteral("02"));
    QVERIFY(g::dnname[8].isEmpty());
}

void tst_wirevoucher::accountChoiceMovesToThePurpose()
{
    Fixture f;
    QVERIFY(f.connect());
    addAccounts(f);
    w_yhdh *w = openWire();
    choose(w, "ddlb_1", 1);
    QCOMPARE(text(w, "sle_5"), QStringLiteral("110060001"));
    QCOMPARE(w->prnbank, QStringLiteral("建设银行朝阳支行"));
    QCOMPARE(QApplication::focusWidget(), w->control("sle_27"));
    // An account gone from the book meanwhile: the number box and the bank name both keep the previous
    // account, so what prints stays one account.
    f.exec("DELETE FROM bankoffice WHERE bankoffice = '基本户'");
    choose(w, "ddlb_1", 0);
    QCOMPARE(text(w, "sle_5"), QStringLiteral("110060001"));
    QCOMPARE(w->prnbank, QStringLiteral("建设银行朝阳支行"));
    QCOMPARE(QApplication::focusWidget(), w->control("sle_27"));
}

void tst_wirevoucher::payeePickerFillsTheSixBoxes()
{
    Fixture f;
    QVERIFY(f.connect());
    w_yhdh *w = openWire();
    // What the payee picker's choice leaves in the slots reaches the boxes when pb_1 gets the focus.
    const QStringList chosen = {"杭州某某有限公司", "33005678", "农业银行杭州分行", "浙江", "杭州", "西湖"};
    for (int slot = 1; slot <= 6; ++slot)
        g::dnname[slot] = chosen.at(slot - 1);
    g::dnname[8] = QStringLiteral("差旅费");
    focusOn(w, "pb_1");
    QCOMPARE(boxes(w, {"sle_7", "sle_9", "sle_8", "sle_14", "sle_15", "sle_16"}), chosen.join(u' '));
    QCOMPARE(text(w, "sle_27"), QString()); // pb_1 takes no remark
    focusOn(w, "pb_2");
    QCOMPARE(text(w, "sle_27"), QStringLiteral("差旅费"));
    for (int slot : {1, 2, 3, 4, 5, 6})
        QVERIFY(g::dnname[slot].isEmpty()); // emptied when pb_1 lost the focus
    focusOn(w, "sle_7");
    QVERIFY(g::dnname[8].isEmpty());

    // Places left in slots 4 to 6 by another form's picker (which empties only 1 to 3) are no choice: what
    // the operator has in the payee boxes stays.
    for (const char *box : {"sle_7", "sle_9", "sle_8"})
        w->get<ui::SingleLineEdit>(QString::fromLatin1(box))->setTextByCode(QStringLiteral("typed"));
    g::dnname[4] = QStringLiteral("浙江");
    g::dnname[5] = QStringLiteral("杭州");
    g::dnname[6] = QStringLiteral("西湖");
    focusOn(w, "pb_1");
    QCOMPARE(boxes(w, {"sle_7", "sle_9", "sle_8"}), QStringLiteral("typed typed typed"));
}

void tst_wirevoucher::enterMovesAlongTheTabOrder()
{
    Fixture f;
    QVERIFY(f.connect());
    addAccounts(f);
    w_yhdh *w = openWire();
    click(w, "rb_1"); // the buttons that follow the radios take part once enabled
    focusOn(w, "sle_4");
    const QStringList expected = {"ddlb_1", "sle_5", "sle_6", "sle_11", "sle_12", "sle_27", "sle_7", "sle_8",
                                  "sle_9", "sle_14", "sle_15", "sle_16", "em_1", "rb_1", "rb_2", "rb_3",
                                  "rb_4", "rb_5", "cb_1", "pb_1", "pb_2", "cb_4", "cb_5", "sle_4"};
    for (const QString &next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), w->control(next));
    }
}

void tst_wirevoucher::saveWritesTheRow()
{
    Fixture f;
    QVERIFY(f.connect());
    w_yhdh *w = filledVoucher(f);
    click(w, "rb_2");
    QCOMPARE(states(w, kButtons), QStringLiteral("11001"));
    click(w, "cb_1");
    QCOMPARE(states(w, kButtons), QStringLiteral("01101"));
    QVERIFY(markShown(w, "st_45"));
    QVERIFY(f.boxes.isEmpty());

    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 1);
    const QStringList columns = {"rq", "zphm", "xkr", "et", "fkhm", "fkzh", "kpr", "an", "shbank", "shcode",
                                 "bz", "fkrm"};
    QStringList row;
    for (const QString &c : columns) {
        const QVariant v = f.scalar(QStringLiteral("SELECT %1 FROM xjzp").arg(c));
        row << (v.isNull() ? QStringLiteral("NULL") : v.toString());
    }
    QCOMPARE(row, (QStringList{"2026-03-05", "NULL", "上海某某科技有限公司", "货款", "基本户", "6222020012345678",
                               "王出纳", "40050", "招商银行上海分行", "31001234", "银行电汇", "NULL"}));

    // A format clicked again offers a second save: a second row.
    click(w, "rb_4");
    click(w, "cb_1");
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 2);
}

void tst_wirevoucher::refusedSaveIsReported()
{
    Fixture f;
    QVERIFY(f.connect());
    w_yhdh *w = filledVoucher(f);
    // 31 characters of Chinese are 62 bytes, more than the register's 60 for the payee.
    clear(w, "sle_7");
    enter(w, "sle_7", QString(31, QChar(0x67D0)));
    click(w, "rb_1");
    click(w, "cb_1");
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.first().title, QStringLiteral("错误!"));
    QVERIFY(!markShown(w, "st_45"));
    QCOMPARE(states(w, kButtons), QStringLiteral("11001")); // corrected, it can be saved again
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 0);

    clear(w, "sle_7");
    enter(w, "sle_7", "A01");
    click(w, "cb_1");
    QVERIFY(markShown(w, "st_45"));
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 1);
}

void tst_wirevoucher::nextSheetClearsTheVoucher()
{
    Fixture f;
    QVERIFY(f.connect());
    w_yhdh *w = filledVoucher(f);
    g::dnname[7] = QStringLiteral("seven");
    g::dnname[8] = QStringLiteral("eight");
    click(w, "rb_3");
    click(w, "cb_1");
    click(w, "cb_2");
    QCOMPARE(states(w, kButtons), QStringLiteral("01111"));
    for (int slot = 1; slot <= 6; ++slot)
        g::dnname[slot] = QStringLiteral("x");
    focusOn(w, "em_1");
    click(w, "cb_3");

    QCOMPARE(states(w, kButtons), QStringLiteral("00001"));
    QVERIFY(!markShown(w, "st_45"));
    for (int k = 1; k <= 7; ++k)
        QVERIFY(!w->get<ui::RadioButton>(QStringLiteral("rb_%1").arg(k))->isChecked());
    for (const char *box : {"sle_5", "sle_7", "sle_9", "sle_14", "sle_15", "sle_16", "sle_8", "sle_10", "em_1",
                            "sle_27"})
        QVERIFY2(text(w, box).isEmpty(), box);
    QCOMPARE(boxes(w, wireDigits()), QStringLiteral("_ _ _ _ _ _ _ _ _ _"));
    QCOMPARE(w->get<ui::DropDownList>("ddlb_1")->text(), QString());
    QCOMPARE(w->get<ui::DropDownList>("ddlb_1")->count(), 2);
    // What belongs to the unit, the date and the operator stays.
    QCOMPARE(boxes(w, {"sle_1", "sle_2", "sle_3", "sle_4", "sle_6", "sle_11", "sle_12", "sle_28"}),
             QStringLiteral("2026 3 5 北京市某某贸易有限公司 北京 北京 朝阳 王出纳"));
    for (int slot = 1; slot <= 6; ++slot)
        QVERIFY(g::dnname[slot].isEmpty());
    QCOMPARE(g::dnname[7], QStringLiteral("seven"));
    QCOMPARE(g::dnname[8], QStringLiteral("eight"));
    // Neither the amount nor the bank of the previous voucher outlives it.
    QCOMPARE(w->an, 0.0);
    QCOMPARE(w->prnbank, QString());
    click(w, "rb_1");
    click(w, "cb_1");
    QCOMPARE(f.scalar("SELECT an FROM xjzp ORDER BY line DESC LIMIT 1").toDouble(), 0.0);
}

void tst_wirevoucher::exitClosesWithoutAsking()
{
    Fixture f;
    QVERIFY(f.connect());
    w_yhdh *w = openWire();
    enter(w, "sle_7", "未存的收款人");
    // Esc is no exit on this form.
    QTest::keyClick(w->control("sle_7"), Qt::Key_Escape);
    QCoreApplication::processEvents();
    QVERIFY(ui::findWindow("w_yhdh"));
    click(w, "cb_4");
    QTRY_VERIFY(!ui::findWindow("w_yhdh"));
    QVERIFY(f.boxes.isEmpty());
}

void tst_wirevoucher::grabWhenAsked()
{
    Fixture f;
    QVERIFY(f.connect());
    w_yhdh *w = filledVoucher(f);
    click(w, "rb_1");
    click(w, "cb_1");
    grabIfAsked(w, "w_yhdh.png");
}

QTEST_MAIN(tst_wirevoucher)
#include "tst_wirevoucher.moc"
