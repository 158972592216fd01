// Printing the wire-transfer voucher and handing it over to its layout window: the slot, the font row, the
// small font named by its calls, the four long fields, the digit row, and the texts of the hand-over.
#include "vouchertest.h"

using namespace vouchertest;

namespace {
// Format 3 of the wire voucher is slot 24: fonts 11/14/9 points; splits of 8, 6, 10 and 2 bytes; second
// lines 101..104 below.
void setUpSlot24(Fixture &f)
{
    setLayoutRow(f, 24);
    f.exec("UPDATE sefonent SET sefont1 = 11, sefont2 = 14, sefont3 = 9, senter1 = 8, senter2 = 6, senter3 = 10, "
           "senter4 = 2, sehigh1 = 101, sehigh2 = 102, sehigh3 = 103, sehigh4 = 104 WHERE seno = 24");
}

w_yhdh *savedVoucher(Fixture &f)
{
    addAccounts(f);
    addPayee(f);
    setUnit(f);
    setUpSlot24(f);
    g::name = QStringLiteral("王出纳");
    w_yhdh *w = openWire();
    choose(w, "ddlb_1", 0);
    enter(w, "sle_27", "  差旅费 ");
    enter(w, "sle_7", "A01");
    enter(w, "em_1", "40050");
    click(w, "rb_3");
    click(w, "cb_1");
    return w;
}
} // namespace

class tst_wireprint : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        print::setBackend(print::Backend::Recording);
        print::clearRecorded();
    }

    void printFollowsTheFieldTable();
    void printTakesTheCheckedFormat_data();
    void printTakesTheCheckedFormat();
    void printWithoutAFormatDoesNothing();
    void printWithoutAJobSaysWhy();
    void positioningHandsOver();
    void printToPdf();
};

void tst_wireprint::printFollowsTheFieldTable()
{
    Fixture f;
    QVERIFY(f.connect());
    w_yhdh *w = savedVoucher(f);
    g::acer = 3;
    click(w, "cb_2");
    QCOMPARE(g::acer, 24);

    constexpr int small = 3;
    QStringList expected = {
        "open(银行电汇开票)",
        "defineFont(1,宋体,-11,400,0,5,false,false)",
        "defineFont(2,黑体,-14,800,0,5,false,false)",
        "defineFont(3,宋体,-9,400,0,5,false,false)",
        "setFont(1)",
        textCall("2026", pairAt(1)),
        textCall("3", pairAt(2)),
        textCall("5", pairAt(3)),
        textCall("北京市某", pairAt(4)), // the remitter split at 8 bytes
        textCall("某贸易有限公司", pairAt(4), 101),
        textCall("6222020012345678", pairAt(5)),
        textCall("北京", pairAt(6), 0, small), // city, province, county of the remitter
        textCall("北京", pairAt(7), 0, small),
        textCall("朝阳", pairAt(8), 0, small),
        textCall("工商银", pairAt(9), 0, small), // the bank's print name, split at 6 bytes
        textCall("行北京分行", pairAt(9), 102, small),
        textCall("上海某某科", pairAt(11)), // the payee split at 10 bytes
        textCall("技有限公司", pairAt(11), 103),
        textCall("31001234", pairAt(12)),
        textCall("上海", pairAt(13), 0, small), // city and province of the payee
        textCall("上海", pairAt(14), 0, small),
        textCall("浦东", pairAt(16), 0, small), // the county after the digit row's pair
        textCall("招", pairAt(17), 0, small),   // the payee's bank split at 2 bytes
        textCall("商银行上海分行", pairAt(17), 104, small),
        "setFont(2)",
        textCall("肆万零伍拾元整", pairAt(10)),
        "setFont(1)",
    };
    const QStringList digits = {"", "", "￥", "4", "0", "0", "5", "0", "0", "0"};
    for (int j = 0; j < 10; ++j)
        expected << textCall(digits.at(j), pairAt(15) + QPoint(j * kJj, 0));
    // The purpose is no long field: its blanks are printed.
    expected << textCall("  差旅费 ", pairAt(18)) << textCall("王出纳", pairAt(19)) << "line()" << "close()";
    compareCalls(expected);
    QVERIFY(enabled(w, "cb_3"));
    QVERIFY(enabled(w, "cb_2"));
    QVERIFY(f.boxes.isEmpty());
}

void tst_wireprint::printTakesTheCheckedFormat_data()
{
    QTest::addColumn<QString>("radio");
    QTest::addColumn<int>("slot");
    QTest::newRow("rb_1") << "rb_1" << 22;
    QTest::newRow("rb_4") << "rb_4" << 25;
    QTest::newRow("rb_7") << "rb_7" << 28;
}

void tst_wireprint::printTakesTheCheckedFormat()
{
    QFETCH(QString, radio);
    QFETCH(int, slot);
    Fixture f;
    QVERIFY(f.connect());
    w_yhdh *w = savedVoucher(f);
    // The fonts of the slot tell which font row was read.
    f.exec("UPDATE sefonent SET sefont1 = ? WHERE seno = ?", {slot - 10, slot});
    click(w, radio);
    click(w, "cb_2");
    QCOMPARE(g::acer, slot);
    QCOMPARE(recordedCalls().value(1), QStringLiteral("defineFont(1,宋体,-%1,400,0,5,false,false)").arg(slot - 10));
}

void tst_wireprint::printWithoutAFormatDoesNothing()
{
    Fixture f;
    QVERIFY(f.connect());
    w_yhdh *w = savedVoucher(f);
    click(w, "cb_2");
    click(w, "rb_2");
    click(w, "cb_3"); // no format any more, the save still offered
    click(w, "cb_1");
    QVERIFY(enabled(w, "cb_2"));
    g::acer = 40;
    print::clearRecorded();
    click(w, "cb_2");
    QVERIFY(print::recorded().isEmpty());
    QCOMPARE(g::acer, 40);
    QVERIFY(!enabled(w, "cb_3"));
    for (int slot = 1; slot <= 30; ++slot)
        g::air[slot] = QStringLiteral("old");
    click(w, "cb_5"); // disabled by the reset: nothing is handed over
    QCOMPARE(g::air[1], QStringLiteral("old"));
    QVERIFY(f.boxes.isEmpty());
}

void tst_wireprint::printWithoutAJobSaysWhy()
{
    Fixture f;
    QVERIFY(f.connect());
    w_yhdh *w = savedVoucher(f);
    print::setBackend(print::Backend::Failing);
    click(w, "cb_2");
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.first().title, QStringLiteral("错误!"));
    QCOMPARE(recordedCalls(), QStringList{"open(银行电汇开票)"});
    QVERIFY(enabled(w, "cb_3"));
}

void tst_wireprint::positioningHandsOver()
{
    Fixture f;
    QVERIFY(f.connect());
    w_yhdh *w = savedVoucher(f);
    for (int slot = 1; slot <= 30; ++slot)
        g::air[slot] = QStringLiteral("old %1").arg(slot);
    g::acer = 3;
    ui::Window *opened = nullptr;
    ui::registerWindow("w_setprint3", [&opened] { return opened = new ui::Window("w_setprint3", 2000, 1000); });
    click(w, "rb_5");
    click(w, "cb_5");
    QCOMPARE(g::acer, 26);
    const QStringList expected = {
        "2026", "3", "5", "北京市某某贸易有限公司", "6222020012345678", "北京", "北京", "朝阳",
        "基本户", // the account's name where the print has the bank's print name
        "肆万零伍拾元整", "上海某某科技有限公司", "31001234", "上海", "上海",
        "", "", "￥", "4", "0", "0", "5", "0", "0", "0", // the digit boxes 千万 .. 分
        "浦东", "招商银行上海分行", "  差旅费 ", "王出纳", "old 29", "银行电汇凭证"};
    for (int slot = 1; slot <= 30; ++slot)
        QCOMPARE(g::air[slot], expected.at(slot - 1));
    QVERIFY(opened);
    QVERIFY(!opened->opener());
    QVERIFY(print::recorded().isEmpty());
    QCOMPARE(states(w, {"cb_1", "cb_5", "cb_2", "cb_3"}), QStringLiteral("1110"));
}

void tst_wireprint::printToPdf()
{
    Fixture f;
    QVERIFY(f.connect());
    w_yhdh *w = savedVoucher(f);
    print::setBackend(print::Backend::Pdf);
    click(w, "cb_2");
    const QString file = print::lastOutputFile();
    QVERIFY2(QFileInfo(file).size() > 0, qPrintable(file));
    const QString keep = qEnvironmentVariable("GRAB_DIR");
    if (!keep.isEmpty())
        QFile::copy(file, QDir(keep).filePath("w_yhdh.pdf"));
}

QTEST_MAIN(tst_wireprint)
#include "tst_wireprint.moc"
