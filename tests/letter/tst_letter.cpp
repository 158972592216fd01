// The business entrustment letter: the payment register drawn as letters, moving through them, typing that is
// never stored, and the strip of picture buttons.
#include "damaged.h"
#include "fixture.h"

#include "letter/dw_ywwts.h"
#include "letter/u_dw_ribbon1.h"
#include "letter/u_picb01.h"
#include "letter/w_ywwts.h"
#include "ostrel.h"
#include "dataview/freeform.h"
#include "globals.h"
#include "platform/balloon.h"
#include "platform/printjob.h"
#include "platform/services.h"
#include "platform/window.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFrame>
#include <QtTest>

namespace {
// One payment document; an empty amount string stores NULL.
struct Doc {
    QString kind;
    QString number;
    QString payee;
    QVariant amount;
};

void addPayment(Fixture &f, const Doc &d)
{
    f.exec("INSERT INTO xjzp (rq, bz, zphm, xkr, shbank, shcode, et, an, fkhm, fkzh, kpr, fkrm) "
           "VALUES ('2026-03-05', ?, ?, ?, '收款银行', '6222000011112222', '货款', ?, '工行城东支行', "
           "'1001002003', 'system', NULL)",
           {d.kind, d.number, d.payee, d.amount});
}

w_ywwts *openLetter()
{
    return qobject_cast<w_ywwts *>(openActive("w_ywwts"));
}

QStringList column(dw::FreeFormView *v, const QString &item)
{
    QStringList out;
    for (int r = 1; r <= v->rowCount(); ++r)
        out << v->shownText(r, item);
    return out;
}

void press(dw::FreeFormView *v, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *target = v->editor() ? static_cast<QWidget *>(v->editor()) : v;
    QTest::keyClick(target, key, modifiers);
}
} // namespace

class TestLetter : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The pictures live in the program's library, which nothing else here would load.
        Q_INIT_RESOURCE(pictures);
        ostrel::registerWindows();
    }
    void init() { print::setBackend(print::Backend::Recording); }
    void cleanup() { print::clearRecorded(); }

    void opensOnEveryPaymentInDatabaseOrder();
    void emptyRegisterShowsNoLetter();
    void texts_data();
    void texts();
    void tabVisitsFieldsThenNextLetter();
    void rowsAtBothEnds();
    void ctrlEndReadsTheLastLettersFromTheEnd();
    void focusBringsFieldIntoSight();
    void everyFieldCanBeSeen_data();
    void everyFieldCanBeSeen();
    void wheelScrollsWithinTheLetters();
    void clickFocusesField();
    void typingIsNeverStored();
    void typingLimits_data();
    void typingLimits();
    void strip_data();
    void strip();
    void stripTabOrder();
    void paintsEachLetter();
    void grab();
    void damagedRegister_data();
    void damagedRegister();
};

void TestLetter::opensOnEveryPaymentInDatabaseOrder()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayment(f, {"现金支票", "A1", "甲", 10.0});
    addPayment(f, {"银行汇票", "B2", "乙", 20.0});
    addPayment(f, {"预算付款", "C3", "丙", 30.0});
    f.exec("INSERT INTO jzd (rq, bz, zphm, xkr, an) VALUES ('2026-03-05', '汇票进帐单', 'J9', '丁', 5)");

    w_ywwts *w = openLetter();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QString("Untitled"));
    QCOMPARE(w->unitGeometry("dw_1"), QRect(27, 192, 2683, 1080));
    QCOMPARE(w->unitGeometry("uo_1"), QRect(0, 4, 3131, 164));
    QCOMPARE(w->dw_1()->rowCount(), 3);
    QCOMPARE(column(w->dw_1(), "zphm"), QStringList({"A1", "B2", "C3"}));
    QCOMPARE(column(w->dw_1(), "bz"), QStringList({"现金支票", "银行汇票", "预算付款"}));
    // The letter holds the focus on its first field.
    QCOMPARE(w->dw_1()->currentRow(), 1);
    QCOMPARE(w->dw_1()->currentItem(), QString("rq"));
    QVERIFY(w->dw_1()->editor() && w->dw_1()->editor()->hasFocus());

    // A document saved while the letter is open shows only once it is opened again.
    addPayment(f, {"转帐支票", "D4", "戊", 40.0});
    QCOMPARE(ui::openWindow("w_ywwts", nullptr), w);
    QCOMPARE(w->dw_1()->rowCount(), 3);
    w->uo_1()->button(5)->click();
    QTRY_VERIFY(!ui::findWindow("w_ywwts"));
    w = openLetter();
    QCOMPARE(column(w->dw_1(), "zphm"), QStringList({"A1", "B2", "C3", "D4"}));
}

void TestLetter::emptyRegisterShowsNoLetter()
{
    Fixture f;
    QVERIFY(f.connect());
    w_ywwts *w = openLetter();
    QVERIFY(w);
    QCOMPARE(w->dw_1()->rowCount(), 0);
    QVERIFY(!w->dw_1()->editor());
    QCOMPARE(w->dw_1()->shownText(1, "zphm"), QString());
    // The view stands on the window-background colour, so it has an edge against the button-face window.
    const QImage view = w->dw_1()->grab().toImage();
    const QColor ground = view.pixelColor(view.rect().center());
    QCOMPARE(ground, QApplication::palette().color(QPalette::Base));
    QVERIFY(ground != w->palette().color(QPalette::Window));
    // Keys on an empty letter do nothing.
    QTest::keyClick(w->dw_1(), Qt::Key_PageDown);
    QTest::keyClick(w->dw_1(), Qt::Key_Tab);
    QCOMPARE(w->dw_1()->currentRow(), 0);
    QVERIFY(w->closeWindow());
    QVERIFY(!ui::findWindow("w_ywwts"));
    QVERIFY(f.boxes.isEmpty());
}

void TestLetter::texts_data()
{
    QTest::addColumn<QVariant>("amount");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("shown");

    QTest::newRow("register number") << QVariant(1.0) << "line" << "1";
    QTest::newRow("date") << QVariant(1.0) << "rq" << "2026-03-05";
    QTest::newRow("payee") << QVariant(1.0) << "xkr" << "某某公司";
    QTest::newRow("payer never written: blank") << QVariant(1.0) << "fkrm" << "";
    QTest::newRow("heading") << QVariant(1.0) << "t_1" << "银行业务委托书";
    QTest::newRow("capitals label") << QVariant(1.0) << "t_2" << "金额大写";
    QTest::newRow("amount through the mask") << QVariant(1234.56) << "an" << "1,234.56";
    QTest::newRow("amount whole") << QVariant(12.3) << "an" << "12.30";
    QTest::newRow("amount zero: a digit before the point") << QVariant(0.0) << "an" << "0.00";
    QTest::newRow("amount of millions in full") << QVariant(10005000.0) << "an" << "10,005,000.00";
    QTest::newRow("negative amount") << QVariant(-1234.5) << "an" << "-1,234.50";
    QTest::newRow("no amount") << QVariant() << "an" << "";
    // An amount stored with a third place (before the cells took two) reads in its fen, as its capitals do.
    QTest::newRow("amount past its places") << QVariant(2.675) << "an" << "2.68";
    QTest::newRow("capitals past the places") << QVariant(2.675) << "t_3" << "贰元陆角捌分";
    QTest::newRow("amount of 15 digits") << QVariant(9999999999999.99) << "an" << "9,999,999,999,999.99";
    QTest::newRow("capitals") << QVariant(1234.56) << "t_3" << "壹仟贰佰叁拾肆元伍角陆分";
    QTest::newRow("capitals of millions") << QVariant(10005000.0) << "t_3" << "壹仟万伍仟元整";
    QTest::newRow("no capitals without an amount") << QVariant() << "t_3" << "";
    QTest::newRow("no capitals for a negative amount") << QVariant(-5.0) << "t_3" << "";
    QTest::newRow("no capitals beyond 亿 places") << QVariant(1e9) << "t_3" << "";
}

void TestLetter::texts()
{
    QFETCH(QVariant, amount);
    QFETCH(QString, item);
    QFETCH(QString, shown);
    Fixture f;
    QVERIFY(f.connect());
    addPayment(f, {"现金支票", "X", "某某公司", amount});
    w_ywwts *w = openLetter();
    QCOMPARE(w->dw_1()->shownText(1, item), shown);
}

void TestLetter::tabVisitsFieldsThenNextLetter()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayment(f, {"现金支票", "A1", "甲", 10.0});
    addPayment(f, {"现金支票", "B2", "乙", 20.0});
    w_ywwts *w = openLetter();
    dw::FreeFormView *v = w->dw_1();

    QStringList visited{v->currentItem()};
    for (int i = 0; i < 11; ++i) {
        press(v, Qt::Key_Tab);
        visited << v->currentItem();
    }
    QCOMPARE(visited, QStringList({"rq", "zphm", "xkr", "et", "fkhm", "fkzh", "kpr", "an", "shbank", "shcode", "bz",
                                   "fkrm"}));
    QCOMPARE(v->currentRow(), 1);
    press(v, Qt::Key_Tab);
    QCOMPARE(v->currentRow(), 2);
    QCOMPARE(v->currentItem(), QString("rq"));
    press(v, Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(v->currentRow(), 1);
    QCOMPARE(v->currentItem(), QString("fkrm"));

    // After the last field of the last letter the focus goes on to the strip, and comes back.
    QVERIFY(v->setCurrent(2, "fkrm"));
    press(v, Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->uo_1()->button(1)));
    QVERIFY(!v->editor());
    v->setFocus(Qt::BacktabFocusReason);
    QVERIFY(v->editor() && v->editor()->hasFocus());
    QCOMPARE(v->currentItem(), QString("fkrm"));
    // The register number is shown but never focused.
    QVERIFY(!v->setCurrent(1, "line"));
    QVERIFY(!v->setCurrent(1, "t_1"));
    QVERIFY(!v->setCurrent(3, "rq"));
}

void TestLetter::rowsAtBothEnds()
{
    Fixture f;
    QVERIFY(f.connect());
    for (const char *n : {"A1", "B2", "C3"})
        addPayment(f, {"现金支票", n, "甲", 1.0});
    w_ywwts *w = openLetter();
    dw::FreeFormView *v = w->dw_1();
    QSignalSpy rows(v, &dw::FreeFormView::rowFocusChanged);
    press(v, Qt::Key_Tab); // on zphm

    press(v, Qt::Key_PageUp);
    press(v, Qt::Key_Up);
    QCOMPARE(v->currentRow(), 1);
    QCOMPARE(rows.count(), 0);
    for (int i = 0; i < 5; ++i)
        press(v, Qt::Key_PageDown);
    QCOMPARE(v->currentRow(), 3);
    QCOMPARE(rows.count(), 2);
    QCOMPARE(v->currentItem(), QString("zphm"));
    press(v, Qt::Key_Down);
    QCOMPARE(v->currentRow(), 3);
    press(v, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(v->currentRow(), 1);
    press(v, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(v->currentRow(), 3);
    QCOMPARE(v->editor()->text(), QString("C3"));
    // A new letter comes into sight from its top.
    QCOMPARE(v->itemRect(3, "line").top(), 20 / 4);
}

void TestLetter::ctrlEndReadsTheLastLettersFromTheEnd()
{
    // The letter's statement has no order of its own: the order of entry is its order, read from the end too.
    Fixture f;
    QVERIFY(f.connect());
    f.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
           "INSERT INTO xjzp (rq, bz, zphm, xkr, an) SELECT '2026-03-05', '现金支票', printf('Z%05d', i), '甲', i FROM n");
    w_ywwts *w = openLetter();
    dw::FreeFormView *v = w->dw_1();
    const int firstRead = v->buffer().fetchedCount();
    QVERIFY(firstRead < 3000);
    press(v, Qt::Key_Tab); // on zphm
    press(v, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(v->currentRow(), 3000);
    QCOMPARE(v->editor()->text(), QString("Z03000"));
    QCOMPARE(v->buffer().fetchedCount(), firstRead);
    press(v, Qt::Key_Up);
    QCOMPARE(v->shownText(2999, "zphm"), QString("Z02999"));
}

void TestLetter::focusBringsFieldIntoSight()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayment(f, {"现金支票", "A1", "甲", 1.0});
    addPayment(f, {"现金支票", "B2", "乙", 2.0});
    w_ywwts *w = openLetter();
    dw::FreeFormView *v = w->dw_1();
    // The payee reaches past the control's right edge and the remark lies under it.
    QVERIFY(!v->rect().contains(v->itemRect(1, "xkr")));
    QVERIFY(!v->rect().contains(v->itemRect(1, "bz")));
    for (const char *item : {"xkr", "bz", "rq", "an", "shcode"}) {
        QVERIFY(v->setCurrent(2, item));
        QVERIFY2(v->rect().contains(v->itemRect(2, item)), item);
        QCOMPARE(v->editor()->geometry(), v->itemRect(2, item));
    }
}

void TestLetter::everyFieldCanBeSeen_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("shown");
    QTest::newRow("amount") << "an" << "1,234,567.89";
    QTest::newRow("payee") << "xkr" << "上海某某贸易有限公司";
    QTest::newRow("bank") << "shbank" << "收款银行";
    QTest::newRow("account") << "shcode" << "6222000011112222";
}

// A letter is wider than its control: the scroll bar across reaches each field of its right half, and the
// field taking the focus comes into sight, each whole within the part of the control the letters show in.
void TestLetter::everyFieldCanBeSeen()
{
    QFETCH(QString, item);
    QFETCH(QString, shown);
    Fixture f;
    QVERIFY(f.connect());
    addPayment(f, {"现金支票", "A1", "上海某某贸易有限公司", 1234567.89});
    w_ywwts *w = openLetter();
    dw::FreeFormView *v = w->dw_1();
    QCOMPARE(v->shownText(1, item), shown);
    auto *across = v->findChild<QScrollBar *>("across");
    QVERIFY(across);
    QVERIFY(across->isVisible());
    const QRect letters(0, 0, v->width(), v->height() - across->height());
    QVERIFY(!letters.contains(v->itemRect(1, item)));
    // By the scroll bar, with the pointer.
    across->setValue(across->maximum());
    QVERIFY2(letters.contains(v->itemRect(1, item)), qPrintable(item));
    across->setValue(0);
    QVERIFY(!letters.contains(v->itemRect(1, item)));
    // By the focus, with Tab from the first field.
    v->setFocus();
    QVERIFY(v->setCurrent(1, "rq"));
    for (int i = 0; i < 12 && v->currentItem() != item; ++i)
        press(v, Qt::Key_Tab);
    QCOMPARE(v->currentItem(), item);
    QVERIFY2(letters.contains(v->itemRect(1, item)), qPrintable(item));
    QCOMPARE(across->value(), v->scrollPosition().x());
    // The field being typed into shows its figure whole too: its box is a little narrower than the field.
    QLineEdit *editor = v->editor();
    QVERIFY(editor);
    QCOMPARE(editor->text(), shown);
    QStyleOptionFrame frame;
    frame.initFrom(editor);
    frame.lineWidth = 0;
    const QRect box = editor->style()->subElementRect(QStyle::SE_LineEditContents, &frame, editor);
    QVERIFY2(QFontMetricsF(editor->font()).horizontalAdvance(shown) <= box.width() - 4,
             qPrintable(QStringLiteral("%1 in %2").arg(QFontMetricsF(editor->font()).horizontalAdvance(shown)).arg(box.width())));
}

void TestLetter::wheelScrollsWithinTheLetters()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayment(f, {"现金支票", "A1", "甲", 1.0});
    addPayment(f, {"现金支票", "B2", "乙", 2.0});
    w_ywwts *w = openLetter();
    dw::FreeFormView *v = w->dw_1();
    const QPoint centre = v->rect().center();
    auto wheel = [&](QPoint angle, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWheelEvent e(centre, v->mapToGlobal(centre), QPoint(), angle, Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(v, &e);
    };
    wheel(QPoint(0, 120));
    QCOMPARE(v->scrollPosition(), QPoint(0, 0));
    wheel(QPoint(0, -120));
    QVERIFY(v->scrollPosition().y() > 0);
    for (int i = 0; i < 200; ++i)
        wheel(QPoint(0, -120));
    // The end of the last letter rests on the scroll bar across the control's bottom edge.
    const QScrollBar *across = v->findChild<QScrollBar *>("across");
    QVERIFY(across && across->isVisible());
    QCOMPARE(v->scrollPosition().y(), 2 * 1880 / 4 - (v->height() - across->height()));
    wheel(QPoint(0, -120), Qt::ShiftModifier);
    QVERIFY(v->scrollPosition().x() > 0);
    for (int i = 0; i < 200; ++i)
        wheel(QPoint(0, -120), Qt::ShiftModifier);
    QCOMPARE(v->scrollPosition().x(), int(std::ceil(4530 / 4.5)) - v->width());
}

void TestLetter::clickFocusesField()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayment(f, {"现金支票", "A1", "甲", 1.0});
    w_ywwts *w = openLetter();
    dw::FreeFormView *v = w->dw_1();
    QTest::mouseClick(v, Qt::LeftButton, {}, v->itemRect(1, "fkhm").center());
    QCOMPARE(v->currentItem(), QString("fkhm"));
    QCOMPARE(v->editor()->text(), QString("工行城东支行"));
    // The register number and the labels take no focus.
    for (const char *item : {"line", "t_1", "fkhm_t"}) {
        QTest::mouseClick(v, Qt::LeftButton, {}, v->itemRect(1, item).center());
        QCOMPARE(v->currentItem(), QString("fkhm"));
    }
}

void TestLetter::typingIsNeverStored()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayment(f, {"现金支票", "A1", "甲", 1234.5});
    w_ywwts *w = openLetter();
    dw::FreeFormView *v = w->dw_1();

    QVERIFY(v->setCurrent(1, "zphm"));
    QTest::keyClicks(v->editor(), "999");
    press(v, Qt::Key_Tab);
    QCOMPARE(v->shownText(1, "zphm"), QString("999"));
    typeText(v->editor(), "改名公司");
    QVERIFY(v->setCurrent(1, "an"));
    QTest::keyClicks(v->editor(), "88");
    press(v, Qt::Key_Tab);
    QCOMPARE(v->shownText(1, "xkr"), QString("改名公司"));
    QCOMPARE(v->shownText(1, "an"), QString("88.00"));
    // A date that cannot be read gives way to the stored one; a readable one shows in the date form.
    QVERIFY(v->setCurrent(1, "rq"));
    QTest::keyClicks(v->editor(), "abc");
    press(v, Qt::Key_Tab);
    QCOMPARE(v->shownText(1, "rq"), QString("2026-03-05"));
    QVERIFY(v->setCurrent(1, "rq"));
    QTest::keyClicks(v->editor(), "2025-1-2");
    press(v, Qt::Key_Tab);
    QCOMPARE(v->shownText(1, "rq"), QString("2025-01-02"));

    QVERIFY(w->closeWindow());
    QCOMPARE(f.scalar("SELECT zphm || '|' || xkr || '|' || an || '|' || rq FROM xjzp").toString(),
             QString("A1|甲|1234.5|2026-03-05"));
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 1);
    w = openLetter();
    QCOMPARE(w->dw_1()->shownText(1, "zphm"), QString("A1"));
    QCOMPARE(w->dw_1()->shownText(1, "an"), QString("1,234.50"));
}

void TestLetter::typingLimits_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("pasted"); // pasted at once instead of typed
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("sign"); // for a paste: what the balloon at the field says
    QTest::newRow("document number 15 bytes") << "zphm" << "12345678901234567890" << false << "123456789012345"
                                              << "";
    QTest::newRow("operator 10 bytes") << "kpr" << "abcdefghijkl" << false << "abcdefghij" << "";
    QTest::newRow("payee to its column's 60 bytes") << "xkr" << QString(70, u'x') << false << QString(60, u'x')
                                                    << "";
    QTest::newRow("amount by its mask") << "an" << "12345678.987" << false << "123,456.98" << "";
    // A cheque number or an account that does not fit is refused whole: a cut one is a wrong one.
    QTest::newRow("document number pasted") << "zphm" << "12345678901234567890" << true << ""
                                            << "“支票号码”最多 15 字节";
    QTest::newRow("payer account pasted") << "fkzh" << "62220212345678901234567890" << true << ""
                                          << "“付款帐号”最多 25 字节";
    QTest::newRow("payee account pasted") << "shcode" << "6222 0212 3456 7890 1234 567" << true << ""
                                          << "“收款行帐号”最多 25 字节";
    QTest::newRow("payee pasted, GBK bytes") << "xkr" << QString(31, u'款') << true << QString(30, u'款')
                                             << "“收款人”最多 60 字节";
}

void TestLetter::typingLimits()
{
    QFETCH(QString, item);
    QFETCH(QString, typed);
    QFETCH(bool, pasted);
    QFETCH(QString, kept);
    QFETCH(QString, sign);
    Fixture f;
    QVERIFY(f.connect());
    int beeps = 0;
    services::setBeepRecorder([&beeps] { ++beeps; });
    addPayment(f, {"现金支票", "", "", QVariant()});
    w_ywwts *w = openLetter();
    dw::FreeFormView *v = w->dw_1();
    QVERIFY(v->setCurrent(1, item));
    v->editor()->clear();
    if (pasted) {
        QGuiApplication::clipboard()->setText(typed);
        QTest::keyClick(v->editor(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(beeps, 1); // what did not fit is not dropped in silence
        QVERIFY(!balloon::text().isEmpty());
        QVERIFY2(balloon::text().contains(sign), qPrintable(balloon::text()));
    } else {
        QTest::keyClicks(v->editor(), typed);
    }
    press(v, Qt::Key_Tab);
    QCOMPARE(v->shownText(1, item), kept);
}

void TestLetter::strip_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<bool>("closes");
    QTest::newRow("pb_1") << 1 << "存盘" << false;
    QTest::newRow("pb_2") << 2 << "打印定位" << false;
    QTest::newRow("pb_3") << 3 << "打印" << false;
    QTest::newRow("pb_4") << 4 << "下一张" << false;
    QTest::newRow("pb_5") << 5 << "退出" << true;
    QTest::newRow("pb_6") << 6 << "" << false;
}

void TestLetter::strip()
{
    QFETCH(int, button);
    QFETCH(QString, tooltip);
    QFETCH(bool, closes);
    Fixture f;
    QVERIFY(f.connect());
    addPayment(f, {"现金支票", "A1", "甲", 1.0});
    w_ywwts *w = openLetter();
    u_picb01 *b = w->uo_1()->button(button);
    QVERIFY(b);
    QCOMPARE(b->toolTip(), tooltip);
    QVERIFY(b->text().isEmpty());
    QVERIFY2(!b->icon().isNull(), "the picture is found by its bare file name");
    QCOMPARE(b->iconSize(), QSize(32, 32));

    QTest::mouseClick(b, Qt::LeftButton);
    if (closes) {
        QTRY_VERIFY(!ui::findWindow("w_ywwts"));
    } else {
        QTest::qWait(20);
        QCOMPARE(ui::findWindow("w_ywwts"), w);
        QCOMPARE(w->dw_1()->rowCount(), 1);
    }
    QVERIFY(print::recorded().isEmpty());
    QVERIFY(f.boxes.isEmpty());
    QCOMPARE(ui::openWindows().size(), closes ? 0 : 1);
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 1);
}

void TestLetter::stripTabOrder()
{
    Fixture f;
    QVERIFY(f.connect());
    addPayment(f, {"现金支票", "A1", "甲", 1.0});
    w_ywwts *w = openLetter();
    w->uo_1()->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int i = 0; i < 6; ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    visited << QApplication::focusWidget()->objectName();
    // After the strip the letter takes the focus again, on its field.
    QCOMPARE(visited, QStringList({"pb_1", "pb_2", "pb_3", "pb_4", "pb_5", "pb_6", "editor"}));
    QCOMPARE(w->dw_1()->currentItem(), QString("rq"));
}

void TestLetter::paintsEachLetter()
{
    // The painter draws a band on any device: the ink lies where the boxes are, scaled to the device.
    Fixture f;
    QVERIFY(f.connect());
    addPayment(f, {"现金支票", "A1", "甲", 1.0});
    addPayment(f, {"银行汇票", "B2", "乙", 10005000.0});
    dw::Buffer buffer(ostrel::dw_ywwts_definition());
    QCOMPARE(buffer.retrieve(g::sqlca, {}), 2);
    const dw::FreeFormLayout layout = ostrel::dw_ywwts_layout();
    for (double scale : {1.0, 2.0}) {
        // A device of `scale` times the screen's resolution, as a printer is: the fonts grow with it.
        QImage image(int(4600 / 4.5 * scale), int(1880 / 4.0 * scale), QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(image.dotsPerMeterX() * scale));
        image.setDotsPerMeterY(qRound(image.dotsPerMeterY() * scale));
        auto paint = [&](int row) {
            image.fill(Qt::white);
            QPainter p(&image);
            dw::paintBand(p, layout, buffer, row, QPointF(0, 0), scale / 4.5, scale / 4.0);
        };
        auto inked = [&](int x, int y, int w, int h) {
            const QRect r = QRectF(x / 4.5 * scale, y / 4.0 * scale, w / 4.5 * scale, h / 4.0 * scale).toRect();
            for (int py = r.top(); py <= r.bottom(); ++py)
                for (int px = r.left(); px <= r.right(); ++px)
                    if (image.pixel(px, py) != QColor(Qt::white).rgb())
                        return true;
            return false;
        };
        paint(1);
        QVERIFY(inked(558, 8, 896, 108));    // heading
        QVERIFY(inked(1280, 148, 585, 84));  // document number
        QVERIFY(!inked(325, 424, 1499, 84)); // payer name: blank
        QVERIFY(!inked(0, 1600, 4530, 270)); // nothing under the remark
        QVERIFY(!inked(3030, 872, 600, 84)); // "1.00" fits its box
        QVERIFY(!inked(2587, 872, 60, 84));  // at its right
        // An amount wider than its box is drawn smaller within it, never cut: its leading digit is at the box's
        // left, and nothing runs on past its right.
        paint(2);
        QVERIFY(inked(2587, 872, 60, 84));
        QVERIFY(!inked(3030, 872, 600, 84));
    }
}

void TestLetter::grab()
{
    const QString dir = qEnvironmentVariable("GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("set GRAB_DIR to write a picture of the letter");
    Fixture f;
    QVERIFY(f.connect());
    addPayment(f, {"银行汇票", "HP000123", "上海某某贸易有限公司", 10005000.0});
    addPayment(f, {"现金支票", "XJ88", "张三", 1234.56});
    w_ywwts *w = openLetter();
    QVERIFY(w->grab().save(QDir(dir).filePath("w_ywwts.png")));
    QVERIFY(w->dw_1()->setCurrent(1, "xkr"));
    QVERIFY(w->grab().save(QDir(dir).filePath("w_ywwts_payee.png")));
    QVERIFY(w->dw_1()->setCurrent(1, "bz"));
    QVERIFY(w->grab().save(QDir(dir).filePath("w_ywwts_remark.png")));
}

void TestLetter::damagedRegister_data()
{
    // Where the read stops: the least and most letters before the damage, and the page the search starts from
    // (a share of the file's pages, in tenths).
    QTest::addColumn<int>("least");
    QTest::addColumn<int>("most");
    QTest::addColumn<int>("fromTenths");
    constexpr int first = dw::Buffer::kReadRows;
    QTest::newRow("past the first letters read") << 4 * first << 3000 - first << 6;
    QTest::newRow("within the first letters read") << 10 << first - 10 << 0;
    QTest::newRow("at the first letter") << 0 << 0 << 0;
}

void TestLetter::damagedRegister()
{
    // A damaged page among the payments: the letters before it stay, and the letter says that the read failed
    // in the grids' own box, once, rather than end there as if that were every payment.
    QFETCH(int, least);
    QFETCH(int, most);
    QFETCH(int, fromTenths);
    Fixture f;
    damage::fillRegister(f.databasePath(), 3000);
    QTemporaryDir files;
    const QString good = files.filePath("good.db");
    QVERIFY(QFile::copy(f.databasePath(), good));
    const int pages = int(QFileInfo(good).size() / damage::kPageSize);
    const damage::Damaged file = damage::damagedCopy(good, files.path(), {damage::readOf(ostrel::dw_ywwts_definition())},
                                                     qMax(2, pages * fromTenths / 10), least, most);
    QVERIFY2(!file.path.isEmpty(), "no page whose damage stops the read there");
    QVERIFY(QFile::remove(f.databasePath()) && QFile::copy(file.path, f.databasePath()));
    QVERIFY(f.connect());

    const auto closing = qScopeGuard([] { closeOpenWindows(); });
    w_ywwts *w = openLetter();
    QVERIFY(w);
    // To the last letter (its letters are read from the end), then to the first letter the damage holds.
    press(w->dw_1(), Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::processEvents();
    const int readable = file.readable.constFirst();
    const bool pastFirstRead = readable > dw::Buffer::kReadRows;
    if (pastFirstRead) {
        w->dw_1()->setCurrent(readable + 1, QStringLiteral("zphm"));
        QCoreApplication::processEvents();
    }
    QList<msg::Call> errors;
    for (const msg::Call &b : std::as_const(f.boxes))
        if (b.title == QStringLiteral("数据库错误"))
            errors << b;
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.constFirst().text.contains(QStringLiteral("错误代码 11")), qPrintable(errors.constFirst().text));
    QVERIFY(w->dw_1()->buffer().failed());
    if (pastFirstRead) {
        // Never on a letter that could not be read: it stays on one held.
        QVERIFY(w->dw_1()->currentRow() != readable + 1);
        QVERIFY(w->dw_1()->buffer().hasRow(w->dw_1()->currentRow()));
    } else {
        QCOMPARE(w->dw_1()->buffer().fetchedCount(), readable);
        QCOMPARE(w->dw_1()->rowCount(), readable);
        QCOMPARE(w->dw_1()->currentRow(), readable);
    }
}

QTEST_MAIN(TestLetter)
#include "tst_letter.moc"
