// Printing the budget voucher and handing it over to its layout window: fixed fonts, no split, eleven
// digits from 亿 down, the mark in its large font, and the texts of the hand-over with the 亿 box last.
#include "vouchertest.h"

using namespace vouchertest;

namespace {
w_ysbk *savedVoucher(Fixture &f, const QString &amount)
{
    addAccounts(f);
    addPayee(f);
    setUnit(f);
    setLayoutRow(f, 38);
    g::name = QStringLiteral("王出纳");
    w_ysbk *w = openBudget();
    choose(w, "ddlb_1", 0);
    enter(w, "sle_8", "NO.7");
    enter(w, "sle_6", "A01");
    enter(w, "em_1", amount);
    enter(w, "sle_13", " 拨款 ");
    enter(w, "sle_25", "201");
    enter(w, "sle_27", "03");
    enter(w, "sle_26", "05");
    click(w, "rb_3");
    click(w, "cb_1");
    return w;
}
} // namespace

class tst_budgetprint : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        print::setBackend(print::Backend::Recording);
        print::clearRecorded();
    }

    void printFollowsTheFieldTable_data();
    void printFollowsTheFieldTable();
    void printTakesTheCheckedFormat();
    void printWithoutAJobSaysWhy();
    void positioningHandsOver();
    void printToPdf();
};

void tst_budgetprint::printFollowsTheFieldTable_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("capitals");
    QTest::addColumn<QStringList>("digits");
    // Below 亿 the 亿 column is printed all the same: 千万 always lands at x15 + jj.
    QTest::newRow("40,050.00") << "40050" << "肆万零伍拾元整"
                               << QStringList{"", "", "", "￥", "4", "0", "0", "5", "0", "0", "0"};
    QTest::newRow("123,456,789.12") << "123456789.12" << "壹亿贰仟叁佰肆拾伍万陆仟柒佰捌拾玖元壹角贰分"
                                    << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "1", "2"};
}

void tst_budgetprint::printFollowsTheFieldTable()
{
    QFETCH(QString, amount);
    QFETCH(QString, capitals);
    QFETCH(QStringList, digits);
    Fixture f;
    QVERIFY(f.connect());
    w_ysbk *w = savedVoucher(f, amount);
    g::acer = 3;
    click(w, "cb_2");
    QCOMPARE(g::acer, 38);

    QStringList expected = {
        "open(预算拨款凭证(支款凭证)开票)",
        "defineFont(1,宋体,-11,400,0,5,false,false)",
        "defineFont(2,黑体,-12,800,0,5,false,false)",
        "defineFont(3,宋体,-40,400,0,5,false,false)",
        "setFont(1)",
        textCall("2026", pairAt(1)),
        textCall("3", pairAt(2)),
        textCall("5", pairAt(3)),
        textCall("上海某某科技有限公司", pairAt(4)), // the payee at pairs 4 to 6
        textCall("31001234", pairAt(5)),
        textCall("招商银行上海分行", pairAt(6)),
        textCall("北京市某某贸易有限公司", pairAt(7)), // the unit at pairs 7 to 9
        textCall("6222020012345678", pairAt(8)),
        textCall("工商银行北京分行", pairAt(9)),
        "setFont(2)",
        textCall(capitals, pairAt(10)),
        "setFont(1)",
    };
    for (int k = 0; k < 11; ++k)
        expected << textCall(digits.at(k), pairAt(15) + QPoint(k * kJj, 0));
    expected << textCall(" 拨款 ", pairAt(11)) // nothing is trimmed
             << textCall("NO.7", pairAt(12)) << textCall("201", pairAt(13)) << textCall("03", pairAt(16))
             << textCall("05", pairAt(17)) << "setFont(3)" << textCall("开", pairAt(14)) << "line()" << "close()";
    compareCalls(expected);
    QVERIFY(enabled(w, "cb_3"));
    QVERIFY(f.boxes.isEmpty());
}

void tst_budgetprint::printTakesTheCheckedFormat()
{
    Fixture f;
    QVERIFY(f.connect());
    w_ysbk *w = savedVoucher(f, "1");
    // Another format between save and print: the other slot's row; a slot without a row prints at 0, 0.
    f.exec("UPDATE sescr SET x1w = 0, y1w = 0, jj = 0 WHERE no = 41");
    click(w, "rb_6");
    click(w, "cb_2");
    QCOMPARE(g::acer, 41);
    QVERIFY(recordedCalls().contains(textCall("2026", {0, 0})));
    // The mark emptied by the operator prints an empty text in its font, once the sheet is saved again.
    clear(w, "sle_28");
    click(w, "rb_3");
    click(w, "cb_1");
    print::clearRecorded();
    click(w, "cb_2");
    const QStringList calls = recordedCalls();
    QCOMPARE(calls.mid(calls.size() - 4), (QStringList{"setFont(3)", textCall("", pairAt(14)), "line()", "close()"}));
}

void tst_budgetprint::printWithoutAJobSaysWhy()
{
    Fixture f;
    QVERIFY(f.connect());
    w_ysbk *w = savedVoucher(f, "1");
    print::setBackend(print::Backend::Failing);
    click(w, "cb_2");
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.first().title, QStringLiteral("错误!"));
    QCOMPARE(recordedCalls(), QStringList{"open(预算拨款凭证(支款凭证)开票)"});
    QVERIFY(enabled(w, "cb_3"));
}

void tst_budgetprint::positioningHandsOver()
{
    Fixture f;
    QVERIFY(f.connect());
    w_ysbk *w = savedVoucher(f, "123456789.12");
    for (int slot = 1; slot <= 30; ++slot)
        g::air[slot] = QStringLiteral("old %1").arg(slot);
    ui::Window *opened = nullptr;
    ui::registerWindow("w_setprint4", [&opened] { return opened = new ui::Window("w_setprint4", 2000, 1000); });
    click(w, "rb_7");
    click(w, "cb_5");
    QCOMPARE(g::acer, 42);
    const QStringList expected = {
        "2026", "3", "5", "上海某某科技有限公司", "31001234", "招商银行上海分行", "北京市某某贸易有限公司",
        "6222020012345678",
        "基本户", // the account's name where the print has the bank's print name
        "壹亿贰仟叁佰肆拾伍万陆仟柒佰捌拾玖元壹角贰分", " 拨款 ", "NO.7", "201", "开",
        "2", "3", "4", "5", "6", "7", "8", "9", "1", "2", // 千万 .. 分
        "1",                                              // the 亿 box last
        "05", "03", "old 28", "old 29", "预算拨款凭证（支款凭证）"};
    for (int slot = 1; slot <= 30; ++slot)
        QCOMPARE(g::air[slot], expected.at(slot - 1));
    QVERIFY(opened);
    QVERIFY(!opened->opener());
    QVERIFY(print::recorded().isEmpty());
}

void tst_budgetprint::printToPdf()
{
    Fixture f;
    QVERIFY(f.connect());
    w_ysbk *w = savedVoucher(f, "123456789.12");
    print::setBackend(print::Backend::Pdf);
    click(w, "cb_2");
    const QString file = print::lastOutputFile();
    QVERIFY2(QFileInfo(file).size() > 0, qPrintable(file));
    const QString keep = qEnvironmentVariable("GRAB_DIR");
    if (!keep.isEmpty())
        QFile::copy(file, QDir(keep).filePath("w_ysbk.pdf"));
}

QTEST_MAIN(tst_budgetprint)
#include "tst_budgetprint.moc"
