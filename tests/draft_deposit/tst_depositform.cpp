// The bank deposit form: its open, its entry aids, the receipt register row it saves, its next sheet, its
// print and its hand-over to the layout window.
#include "formtest.h"

#include "draft_deposit/w_jzd.h"

using namespace formtest;

namespace {
const QString kTitle = QStringLiteral("银行进帐单开票");

w_jzd *openDeposit() { return openForm<w_jzd>(QStringLiteral("w_jzd")); }

void addBooks(Fixture &f)
{
    addAccounts(f);
    f.exec("INSERT INTO fkrbook (bs, skrname, skrcode, skrbank) VALUES ('DF', '东方机械厂', '3300456', "
           "'农业银行天津分行')");
    // The payee book has the same short code: the deposit form reads the payer book.
    f.exec("INSERT INTO skrbook (bs, skrname, skrcode, skrbank) VALUES ('DF', '收款人', '1', '收款行')");
}

// A whole deposit form: drawer by its short code, bill number, account, amount.
w_jzd *filledDeposit(Fixture &f)
{
    addBooks(f);
    g::name = QStringLiteral("李会计");
    g::myname = QStringLiteral("北京某某科技有限公司");
    w_jzd *w = openDeposit();
    enter(w, "sle_6", "DF");
    enter(w, "sle_8", "00351");
    choose(w, "ddlb_1", 0);
    enter(w, "em_1", "10.05");
    return w;
}
} // namespace

class tst_depositform : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        print::setBackend(print::Backend::Recording);
        print::clearRecorded();
    }

    void opens();
    void tabOrder();
    void amount();
    void drawerLookupReadsThePayerBook();
    void accountChoice();
    void pickerHandover();
    void saveStoresTheDepositForm();
    void nextSheet();
    void printFollowsTheFieldTable();
    void printWithoutAFormatDoesNothing();
    void positioningHandsOver();
    void looks();
};

void tst_depositform::opens()
{
    Fixture f;
    QVERIFY(f.connect());
    addAccounts(f);
    g::name = QStringLiteral("李会计");
    g::myname = QStringLiteral("北京某某科技有限公司");
    for (int slot = 1; slot <= 9; ++slot)
        g::dnname[slot] = QStringLiteral("left %1").arg(slot);
    w_jzd *w = openDeposit();
    QVERIFY(w);

    QCOMPARE(w->windowTitle(), kTitle);
    QVERIFY(!w->windowIcon().pixmap(32, 32).isNull()); // its own icon, of the program's pictures
    QCOMPARE(g::rq, QDate(2026, 3, 5));
    QCOMPARE(text(w, "sle_1"), QStringLiteral("2026"));
    QCOMPARE(text(w, "sle_2"), QStringLiteral("3"));
    QCOMPARE(text(w, "sle_3"), QStringLiteral("5"));
    QCOMPARE(text(w, "sle_4"), QStringLiteral("北京某某科技有限公司"));
    QCOMPARE(text(w, "sle_24"), QStringLiteral("李会计"));
    QCOMPARE(text(w, "sle_13"), QStringLiteral("银行汇票"));
    QCOMPARE(text(w, "sle_12"), QStringLiteral("1张"));
    QCOMPARE(text(w, "st_1"), QStringLiteral("银行进帐单"));
    QCOMPARE(w->get<ui::DropDownList>("ddlb_1")->count(), 2);
    QVERIFY(text(w, "ddlb_1").isEmpty());
    for (int k = 1; k <= 7; ++k)
        QCOMPARE(text(w, QStringLiteral("rb_%1").arg(k)), f.scalar("SELECT psname FROM prsz WHERE prid = ?", {k}));
    // The deposit form has no remark picker: slot 8 stays.
    for (int slot = 1; slot <= 9; ++slot)
        QCOMPARE(g::dnname[slot], slot >= 7 ? QStringLiteral("left %1").arg(slot) : QString());
    for (const char *b : {"cb_1", "cb_2", "cb_3", "cb_5"})
        QVERIFY2(!enabled(w, b), b);
    QVERIFY(!shown(w, "st_25") && !shown(w, "rr_2"));
    QCOMPARE(QApplication::focusWidget(), w->control("sle_6"));
    QVERIFY(w->get<QLineEdit>("sle_7")->isReadOnly());
    QVERIFY(w->get<QLineEdit>("sle_9")->isReadOnly());
    QVERIFY(w->get<QLineEdit>("sle_10")->isReadOnly());
    click(w, "cb_4");
    QVERIFY(!ui::findWindow("w_jzd"));
    QVERIFY(f.boxes.isEmpty());
}

void tst_depositform::tabOrder()
{
    Fixture f;
    QVERIFY(f.connect());
    w_jzd *w = openDeposit();
    QStringList stops;
    for (QWidget *s : w->tabStops())
        stops << s->objectName();
    QCOMPARE(stops, QStringList({"sle_6", "pb_1", "sle_7", "sle_9", "sle_8", "sle_4", "ddlb_1", "sle_5", "em_1",
                                 "sle_13", "sle_12", "rb_1", "rb_2", "rb_3", "rb_4", "rb_5", "cb_4"}));
    focusOn(w, "sle_13");
    QTest::keyClick(w->control("sle_13"), Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), w->control("sle_12"));
}

void tst_depositform::amount()
{
    Fixture f;
    QVERIFY(f.connect());
    w_jzd *w = openDeposit();
    enter(w, "em_1", "1005");
    QCOMPARE(w->an, 1005.0);
    QCOMPARE(digitRow(w, 14), QStringLiteral("_ _ _ ￥ 1 0 0 5 0 0"));
    QCOMPARE(text(w, "sle_10"), QStringLiteral("壹仟零伍元整"));
}

void tst_depositform::drawerLookupReadsThePayerBook()
{
    Fixture f;
    QVERIFY(f.connect());
    addBooks(f);
    w_jzd *w = openDeposit();
    enter(w, "sle_6", "DF");
    QCOMPARE(text(w, "sle_6"), QStringLiteral("东方机械厂"));
    QCOMPARE(text(w, "sle_9"), QStringLiteral("3300456"));
    QCOMPARE(text(w, "sle_7"), QStringLiteral("农业银行天津分行"));
    // A code that no payer has stays as the name; bank and account keep the drawer found before.
    clear(w, "sle_6");
    enter(w, "sle_6", "XX");
    QCOMPARE(text(w, "sle_6"), QStringLiteral("XX"));
    QCOMPARE(text(w, "sle_9"), QStringLiteral("3300456"));
    QCOMPARE(text(w, "sle_7"), QStringLiteral("农业银行天津分行"));
    QVERIFY(f.boxes.isEmpty());
}

void tst_depositform::accountChoice()
{
    Fixture f;
    QVERIFY(f.connect());
    addAccounts(f);
    w_jzd *w = openDeposit();
    choose(w, "ddlb_1", 1);
    QCOMPARE(text(w, "sle_5"), QStringLiteral("110060001"));
    QCOMPARE(w->prnbank, QStringLiteral("建设银行朝阳支行"));
    QCOMPARE(QApplication::focusWidget(), w->control("ddlb_1"));
    choose(w, "ddlb_1", 0);
    QCOMPARE(text(w, "sle_5"), QStringLiteral("6222020012345678"));
    QCOMPARE(w->prnbank, QStringLiteral("工商银行北京分行"));
}

void tst_depositform::pickerHandover()
{
    Fixture f;
    QVERIFY(f.connect());
    w_jzd *w = openDeposit();
    g::dnname[1] = QStringLiteral("东方机械厂");
    g::dnname[2] = QStringLiteral("3300456");
    g::dnname[3] = QStringLiteral("农业银行天津分行");
    g::dnname[6] = QStringLiteral("河西区");
    focusOn(w, "pb_1");
    QCOMPARE(text(w, "sle_6"), QStringLiteral("东方机械厂"));
    QCOMPARE(text(w, "sle_9"), QStringLiteral("3300456"));
    QCOMPARE(text(w, "sle_7"), QStringLiteral("农业银行天津分行"));
    focusOn(w, "sle_8");
    QVERIFY(g::dnname[1].isEmpty() && g::dnname[2].isEmpty() && g::dnname[3].isEmpty());
    QCOMPARE(g::dnname[6], QStringLiteral("河西区"));
}

void tst_depositform::saveStoresTheDepositForm()
{
    Fixture f;
    QVERIFY(f.connect());
    w_jzd *w = filledDeposit(f);
    click(w, "rb_1");
    click(w, "cb_1");

    QVERIFY(f.boxes.isEmpty());
    QVERIFY(shown(w, "st_25") && shown(w, "rr_2"));
    QVERIFY(enabled(w, "cb_2") && !enabled(w, "cb_1"));
    QCOMPARE(f.scalar("SELECT count(*) FROM jzd").toInt(), 1);
    const QStringList columns = {"rq", "zphm", "xkr", "et", "fkhm", "fkzh", "kpr", "shbank", "shcode", "bz"};
    const QStringList expected = {"2026-03-05", "00351", "东方机械厂", "银行汇票", "农业银行天津分行", "3300456",
                                  "李会计", "基本户", "6222020012345678", "汇票进帐单"};
    for (int i = 0; i < columns.size(); ++i)
        QCOMPARE(f.scalar(QStringLiteral("SELECT %1 FROM jzd").arg(columns.at(i))).toString(), expected.at(i));
    QCOMPARE(f.scalar("SELECT an FROM jzd").toDouble(), 10.05);
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 0);

    // A drawer's name longer than its 60 bytes is refused whole: nothing stored, the reason shown, no mark.
    click(w, "rb_2");
    clear(w, "sle_6");
    enter(w, "sle_6", QString(31, QChar(u'款')));
    click(w, "cb_1");
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.first().title, QStringLiteral("错误!"));
    QVERIFY2(f.boxes.first().text.contains(QStringLiteral("“出票人全称”的内容过长（62 字节，最多 60 字节）")), qPrintable(f.boxes.first().text));
    QCOMPARE(f.scalar("SELECT count(*) FROM jzd").toInt(), 1);
    QVERIFY(!shown(w, "st_25"));
    QVERIFY(enabled(w, "cb_1"));
}

void tst_depositform::nextSheet()
{
    Fixture f;
    QVERIFY(f.connect());
    w_jzd *w = filledDeposit(f);
    clear(w, "sle_13");
    enter(w, "sle_13", "转帐支票");
    g::dnname[8] = QStringLiteral("差旅费");
    click(w, "rb_3");
    click(w, "cb_1");
    click(w, "cb_2");
    click(w, "cb_3");

    for (const char *box : {"sle_6", "sle_7", "sle_9", "sle_8", "em_1", "sle_5", "sle_10", "ddlb_1"})
        QVERIFY2(text(w, box).isEmpty(), box);
    QCOMPARE(digitRow(w, 14), QStringLiteral("_ _ _ _ _ _ _ _ _ _"));
    // Kept: kind and number of bills as last typed, the payee, the date, the operator.
    QCOMPARE(text(w, "sle_13"), QStringLiteral("转帐支票"));
    QCOMPARE(text(w, "sle_12"), QStringLiteral("1张"));
    QCOMPARE(text(w, "sle_4"), QStringLiteral("北京某某科技有限公司"));
    QCOMPARE(text(w, "sle_1"), QStringLiteral("2026"));
    QCOMPARE(text(w, "sle_24"), QStringLiteral("李会计"));
    QCOMPARE(g::dnname[8], QStringLiteral("差旅费"));
    for (int k = 1; k <= 7; ++k)
        QVERIFY(!checked(w, QStringLiteral("rb_%1").arg(k)));
    QVERIFY(!shown(w, "st_25") && !shown(w, "rr_2"));
    for (const char *b : {"cb_1", "cb_2", "cb_3", "cb_5"})
        QVERIFY2(!enabled(w, b), b);
    // No amount and no bank name of the previous form are carried into the next one.
    QCOMPARE(w->an, 0.0);
    QVERIFY(w->prnbank.isEmpty());
}

void tst_depositform::printFollowsTheFieldTable()
{
    Fixture f;
    QVERIFY(f.connect());
    setUpSlot(f, 31);
    w_jzd *w = filledDeposit(f);
    clear(w, "sle_4");
    enter(w, "sle_4", " 北京某某科技有限公司 ");
    click(w, "rb_3");
    click(w, "cb_1");
    g::acer = 17;
    click(w, "cb_2");
    QCOMPARE(g::acer, 31);

    QStringList expected = jobStart(kTitle);
    expected << textCall("2026", pairAt(1)) << textCall("3", pairAt(2)) << textCall("5", pairAt(3))
             << textCall("东方机械", pairAt(4)) << textCall("厂", pairAt(4), 101) << textCall("3300456", pairAt(5))
             << textCall("农业银", pairAt(6)) << textCall("行天津分行", pairAt(6), 102)
             << textCall("北京某某科", pairAt(7)) << textCall("技有限公司", pairAt(7), 103)
             << textCall("6222020012345678", pairAt(8))
             // The account's print name, not the name the list shows.
             << textCall("工", pairAt(9)) << textCall("商银行北京分行", pairAt(9), 104) << "setFont(2)"
             << textCall("壹拾元零伍分", pairAt(10)) << "setFont(1)";
    expected << digitCalls({"", "", "", "", "", "￥", "1", "0", "0", "5"});
    expected << textCall("银行汇票", pairAt(11)) << textCall("1张", pairAt(12)) << textCall("00351", pairAt(13))
             << textCall("李会计", pairAt(14)) << "line()" << "close()";
    compareCalls(expected);
    QVERIFY(enabled(w, "cb_3") && enabled(w, "cb_2"));
    QVERIFY(f.boxes.isEmpty());
}

void tst_depositform::printWithoutAFormatDoesNothing()
{
    Fixture f;
    QVERIFY(f.connect());
    w_jzd *w = filledDeposit(f);
    // Save offered again after a save, then next: print is reachable with no format checked.
    click(w, "rb_2");
    click(w, "cb_1");
    click(w, "cb_2");
    click(w, "rb_2");
    click(w, "cb_3");
    click(w, "cb_1");
    QVERIFY(enabled(w, "cb_2"));
    g::acer = 3;
    print::clearRecorded();
    click(w, "cb_2");
    QVERIFY(print::recorded().isEmpty());
    QCOMPARE(g::acer, 3);
    QVERIFY(!enabled(w, "cb_3"));
}

void tst_depositform::positioningHandsOver()
{
    Fixture f;
    QVERIFY(f.connect());
    w_jzd *w = filledDeposit(f);
    for (int slot = 1; slot <= 30; ++slot)
        g::air[slot] = QStringLiteral("old %1").arg(slot);
    ui::Window *opened = nullptr;
    registerLayoutStandIn(QStringLiteral("w_setprint"), &opened);
    click(w, "rb_7");
    click(w, "cb_5");
    QCOMPARE(g::acer, 35);
    const QStringList expected = {
        "2026", "3", "5", "东方机械厂", "3300456", "农业银行天津分行", "北京某某科技有限公司", "6222020012345678",
        "基本户", // the account's name where the print has its print name
        "壹拾元零伍分", "银行汇票", "1张", "00351", "李会计", "", "", "", "", "", "￥", "1", "0", "0", "5",
        "old 25", "old 26", "old 27", "old 28", "old 29", "银行进帐单"};
    for (int slot = 1; slot <= 30; ++slot)
        QCOMPARE(g::air[slot], expected.at(slot - 1));
    QVERIFY(opened);
    QVERIFY(!opened->opener());
    QVERIFY(ui::findWindow("w_jzd"));
}

void tst_depositform::looks()
{
    const QString dir = qEnvironmentVariable("GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("GRAB_DIR is not set");
    Fixture f;
    QVERIFY(f.connect());
    w_jzd *w = filledDeposit(f);
    click(w, "rb_1");
    click(w, "cb_1");
    grab(w, QStringLiteral("w_jzd"));
    print::setBackend(print::Backend::Pdf);
    click(w, "cb_2");
    QFile::copy(print::lastOutputFile(), QDir(dir).filePath(QStringLiteral("w_jzd.pdf")));
}

QTEST_MAIN(tst_depositform)
#include "tst_depositform.moc"
