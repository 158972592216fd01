// The font and line-split window: the family button offered by the slot, the load of the slot's font row,
// the save of its eleven values, the limits of its boxes and the slot it keeps.
#include "layouttest.h"

#include "layout/font_window.h"
#include "layout/layout_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace layouttest;

namespace {
layout::FontWindow *openFonts(int slot, ui::Window *opener = nullptr)
{
    g::acer = slot;
    auto *w = qobject_cast<layout::FontWindow *>(ui::openWindow("w_setextenter", opener));
    if (w) {
        QApplication::setActiveWindow(w);
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(w);
    }
    return w;
}

layout::NumberBox *box(ui::Window *w, int n) { return w->get<layout::NumberBox>(QStringLiteral("em_%1").arg(n)); }

QStringList boxTexts(ui::Window *w)
{
    QStringList out;
    for (int n = 1; n <= 11; ++n)
        out << box(w, n)->text();
    return out;
}

QStringList labels(ui::Window *w)
{
    QStringList out;
    for (int n = 4; n <= 7; ++n)
        out << w->get<QLabel>(QStringLiteral("st_%1").arg(n))->text();
    return out;
}

bool enabled(ui::Window *w, const QString &name) { return w->control(name)->isEnabled(); }

// Clicks a family button and lets the posted load run.
void chooseFamily(ui::Window *w, int family)
{
    w->get<QAbstractButton>(QStringLiteral("cb_%1").arg(family))->click();
    QCoreApplication::processEvents();
}

const QStringList kColumns = {"sefont1", "sefont2", "sefont3", "senter1", "senter2", "senter3",
                              "senter4", "sehigh1", "sehigh2", "sehigh3", "sehigh4"};

QStringList fontRow(Fixture &f, int slot)
{
    QStringList out;
    for (const QString &c : kColumns)
        out << f.scalar(QStringLiteral("SELECT %1 FROM sefonent WHERE seno = ?").arg(c), {slot}).toString();
    return out;
}

void setFontRow(Fixture &f, int slot, const QList<int> &values)
{
    QStringList set;
    QVariantList args;
    for (int i = 0; i < kColumns.size(); ++i) {
        set << kColumns.at(i) + " = ?";
        args << values.at(i);
    }
    args << slot;
    f.exec(QStringLiteral("UPDATE sefonent SET %1 WHERE seno = ?").arg(set.join(", ")), args);
}

void typeInto(QWidget *w, const QString &keys)
{
    w->setFocus();
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_Delete);
    QTest::keyClicks(w, keys);
    QTest::keyClick(w, Qt::Key_Tab);
}
} // namespace

class tst_font_window : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { registerOnce(); }

    void familyBySlot_data();
    void familyBySlot();
    void emptyAtOpen();
    void familyButtonLoads_data();
    void familyButtonLoads();
    void reloadDropsTyping();
    void save();
    void boxLimits_data();
    void boxLimits();
    void emptyBoxSavesZero();
    void storedBeyondBox();
    void missingRow();
    void failedSaveIsReported();
    void keepsItsSlot();
    void layoutWindowsSlot();
    void exitDropsTyping();
};

void tst_font_window::familyBySlot_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("family");
    for (int slot : {1, 8, 14})
        QTest::addRow("cheque %d", slot) << slot << 1;
    for (int slot : {15, 21})
        QTest::addRow("draft %d", slot) << slot << 2;
    for (int slot : {22, 28})
        QTest::addRow("wire %d", slot) << slot << 3;
    for (int slot : {29, 35})
        QTest::addRow("deposit %d", slot) << slot << 4;
    for (int slot : {0, 36, 42, -1})
        QTest::addRow("none %d", slot) << slot << 0;
}

void tst_font_window::familyBySlot()
{
    QFETCH(int, slot);
    QFETCH(int, family);
    Fixture f;
    QVERIFY(f.connect());
    auto *w = openFonts(slot);
    QVERIFY(w);
    for (int b = 1; b <= 4; ++b)
        QCOMPARE(enabled(w, QStringLiteral("cb_%1").arg(b)), b == family);
    QVERIFY(enabled(w, "cb_6"));
    QVERIFY(!enabled(w, "cb_5"));
    QVERIFY(!w->control("cb_7")->isVisible());
}

void tst_font_window::emptyAtOpen()
{
    Fixture f;
    QVERIFY(f.connect());
    auto *w = openFonts(3);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QString("字号及转行设定"));
    QCOMPARE(boxTexts(w), QStringList(11, QString()));
    QCOMPARE(labels(w), QStringList({"4", "5", "6", "7"}));
    QCOMPARE(w->get<QLabel>("st_10")->text(), QString());
}

void tst_font_window::familyButtonLoads_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("longFields");
    QTest::newRow("cheques") << 9 << "现金转帐支票"
                             << QStringList{"存根栏单位名称", "存根栏单位用途", "单位名称", "用途"};
    QTest::newRow("draft") << 20 << "汇票申请书" << QStringList{"申请人名称", "用途", "收款人名称", "代理付款行"};
    QTest::newRow("wire") << 22 << "银行电汇" << QStringList{"汇款人全称", "汇出行名", "收款人全称", "汇入行名"};
    QTest::newRow("deposit") << 35 << "进帐单"
                             << QStringList{"出票人全称", "出票人开户银行", "收款人全称", "收款人开户银行"};
}

void tst_font_window::familyButtonLoads()
{
    QFETCH(int, slot);
    QFETCH(QString, caption);
    QFETCH(QStringList, longFields);
    Fixture f;
    QVERIFY(f.connect());
    setFontRow(f, slot, {11, 14, 9, 20, 21, 22, 23, 100, 200, 300, 999});
    auto *w = openFonts(slot);
    QVERIFY(w);
    const int family = layout::FontWindow::familyOfSlot(slot);
    QCOMPARE(w->get<QPushButton>(QStringLiteral("cb_%1").arg(family))->text(), caption);
    chooseFamily(w, family);
    QCOMPARE(w->get<QLabel>("st_10")->text(), caption);
    QCOMPARE(labels(w), longFields);
    QCOMPARE(boxTexts(w), QStringList({"11", "14", "9", "20", "21", "22", "23", "100", "200", "300", "999"}));
    QVERIFY(enabled(w, "cb_5"));
}

void tst_font_window::reloadDropsTyping()
{
    Fixture f;
    QVERIFY(f.connect());
    auto *w = openFonts(30);
    chooseFamily(w, 4);
    typeInto(box(w, 2), "33");
    QCOMPARE(box(w, 2)->text(), QString("33"));
    chooseFamily(w, 4);
    QCOMPARE(box(w, 2)->text(), QString("12"));
}

void tst_font_window::save()
{
    Fixture f;
    QVERIFY(f.connect());
    const QStringList cashRow = fontRow(f, 2);
    const QStringList neighbour = fontRow(f, 10);
    auto *w = openFonts(9);
    chooseFamily(w, 1);
    typeInto(box(w, 1), "14");
    typeInto(box(w, 7), "36");
    typeInto(box(w, 11), "175");
    w->get<QAbstractButton>("cb_5")->click();
    QVERIFY(f.boxes.isEmpty());
    QCOMPARE(fontRow(f, 9), QStringList({"14", "12", "10", "40", "40", "40", "36", "150", "150", "150", "175"}));
    QCOMPARE(fontRow(f, 2), cashRow);
    QCOMPARE(fontRow(f, 10), neighbour);
    QCOMPARE(f.scalar("SELECT typeof(sefont1) FROM sefonent WHERE seno = 9").toString(), QString("integer"));
    // Saved: save waits for the family button again; the boxes keep what was written.
    QVERIFY(!enabled(w, "cb_5"));
    QCOMPARE(box(w, 1)->text(), QString("14"));
    chooseFamily(w, 1);
    QVERIFY(enabled(w, "cb_5"));
}

void tst_font_window::boxLimits_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("font size, two digits") << 1 << "123" << "12";
    QTest::newRow("split length, two digits") << 5 << "999" << "99";
    QTest::newRow("offset, three digits") << 8 << "1234" << "123";
    QTest::newRow("letters refused") << 3 << "a1b" << "1";
    QTest::newRow("minus refused") << 9 << "-5" << "5";
}

void tst_font_window::boxLimits()
{
    QFETCH(int, box);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Fixture f;
    QVERIFY(f.connect());
    auto *w = openFonts(30);
    chooseFamily(w, 4);
    typeInto(::box(w, box), typed);
    QCOMPARE(::box(w, box)->text(), shown);
    w->get<QAbstractButton>("cb_5")->click();
    QCOMPARE(f.scalar(QStringLiteral("SELECT %1 FROM sefonent WHERE seno = 30").arg(kColumns.at(box - 1))).toString(),
             shown);
}

void tst_font_window::emptyBoxSavesZero()
{
    Fixture f;
    QVERIFY(f.connect());
    auto *w = openFonts(30);
    chooseFamily(w, 4);
    typeInto(box(w, 4), "");
    QCOMPARE(box(w, 4)->text(), QString());
    w->get<QAbstractButton>("cb_5")->click();
    QCOMPARE(f.scalar("SELECT senter1 FROM sefonent WHERE seno = 30").toInt(), 0);
    QCOMPARE(f.scalar("SELECT typeof(senter1) FROM sefonent WHERE seno = 30").toString(), QString("integer"));
}

void tst_font_window::storedBeyondBox()
{
    Fixture f;
    QVERIFY(f.connect());
    setFontRow(f, 30, {150, 12, 10, 40, 40, 40, 40, 1500, 150, 150, -4});
    auto *w = openFonts(30);
    chooseFamily(w, 4);
    QCOMPARE(box(w, 1)->text(), QString("99"));
    QCOMPARE(box(w, 8)->text(), QString("999"));
    QCOMPARE(box(w, 11)->text(), QString("0"));
}

void tst_font_window::missingRow()
{
    Fixture f;
    QVERIFY(f.connect());
    f.exec("DELETE FROM sefonent WHERE seno = 30");
    auto *w = openFonts(30);
    chooseFamily(w, 4);
    QCOMPARE(boxTexts(w), QStringList(11, QString()));
    w->get<QAbstractButton>("cb_5")->click();
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.at(0).title, QString("错误!"));
    QCOMPARE(f.scalar("SELECT COUNT(*) FROM sefonent").toInt(), 34);
}

void tst_font_window::failedSaveIsReported()
{
    Fixture f;
    QVERIFY(f.connect());
    const QStringList before = fontRow(f, 30);
    auto *w = openFonts(30);
    chooseFamily(w, 4);
    f.exec("CREATE TRIGGER refuse BEFORE UPDATE ON sefonent BEGIN SELECT RAISE(ABORT, 'fonts locked'); END");
    typeInto(box(w, 1), "20");
    w->get<QAbstractButton>("cb_5")->click();
    QCOMPARE(f.boxes.size(), 1);
    QVERIFY(f.boxes.at(0).text.contains("fonts locked"));
    // Not saved: save stays available.
    QVERIFY(enabled(w, "cb_5"));
    f.exec("DROP TRIGGER refuse");
    QCOMPARE(fontRow(f, 30), before);
    w->get<QAbstractButton>("cb_5")->click();
    QCOMPARE(f.scalar("SELECT sefont1 FROM sefonent WHERE seno = 30").toInt(), 20);
}

void tst_font_window::keepsItsSlot()
{
    Fixture f;
    QVERIFY(f.connect());
    const QStringList other = fontRow(f, 3);
    auto *w = openFonts(31);
    g::acer = 3;
    chooseFamily(w, 4);
    typeInto(box(w, 3), "8");
    w->get<QAbstractButton>("cb_5")->click();
    QCOMPARE(f.scalar("SELECT sefont3 FROM sefonent WHERE seno = 31").toInt(), 8);
    QCOMPARE(fontRow(f, 3), other);
}

void tst_font_window::layoutWindowsSlot()
{
    Fixture f;
    QVERIFY(f.connect());
    g::acer = 24;
    auto *layoutWindow = qobject_cast<layout::LayoutWindow *>(ui::openWindow("w_setprint3"));
    QVERIFY(layoutWindow);
    // A form changed acer after the layout window opened: the font window follows the layout window.
    auto *w = openFonts(2, layoutWindow);
    QCOMPARE(w->slot(), 24);
    QVERIFY(enabled(w, "cb_3"));
    QVERIFY(!enabled(w, "cb_1"));

    // The font button of another layout window, for another slot, starts the font window afresh for it.
    chooseFamily(w, 3);
    auto *cheques = qobject_cast<layout::LayoutWindow *>(ui::openWindow("w_setprint1"));
    QCOMPARE(cheques->slot(), 2);
    QApplication::setActiveWindow(cheques);
    QTRY_VERIFY(QApplication::activeWindow() == cheques);
    cheques->get<QAbstractButton>("cb_5")->click();
    QCoreApplication::processEvents();
    auto *again = qobject_cast<layout::FontWindow *>(ui::findWindow("w_setextenter"));
    QVERIFY(again);
    QCOMPARE(again->slot(), 2);
    // The closing font window hands the activation back to its layout window; the new one stays in front.
    QTRY_VERIFY(QApplication::activeWindow() == again);
    QVERIFY(enabled(again, "cb_1"));
    QCOMPARE(again->get<QLabel>("st_10")->text(), QString());
}

void tst_font_window::exitDropsTyping()
{
    Fixture f;
    QVERIFY(f.connect());
    const QStringList before = fontRow(f, 30);
    auto *w = openFonts(30);
    chooseFamily(w, 4);
    typeInto(box(w, 1), "30");
    w->get<QAbstractButton>("cb_6")->click();
    QCoreApplication::processEvents();
    QVERIFY(!ui::findWindow("w_setextenter"));
    QCOMPARE(fontRow(f, 30), before);
    QVERIFY(f.boxes.isEmpty());
}

QTEST_MAIN(tst_font_window)
#include "tst_font_window.moc"
