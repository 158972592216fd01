// The window layer: control tables, events raised only for the operator's actions, tab order, the
// window registry and activation hand-back.
#include "fixture.h"

#include "platform/controls.h"
#include "platform/post.h"
#include "platform/services.h"
#include "platform/window.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {
class Probe : public ui::Window {
public:
    QStringList log;
    Probe(const QString &cls = "w_probe") : ui::Window(cls, 2000, 1000)
    {
        build({
            {.name = "sle_b", .kind = ui::Kind::Edit, .x = 10, .y = 100, .width = 400, .height = 80, .tabOrder = 20},
            {.name = "sle_a", .kind = ui::Kind::Edit, .x = 10, .y = 10, .width = 400, .height = 80, .tabOrder = 10},
            {.name = "sle_off", .kind = ui::Kind::Edit, .x = 10, .y = 200, .width = 400, .height = 80,
             .tabOrder = 15, .flags = ui::Disabled},
            {.name = "sle_ro", .kind = ui::Kind::Edit, .x = 10, .y = 300, .width = 400, .height = 80, .tabOrder = 30,
             .flags = ui::DisplayOnly},
            {.name = "sle_click", .kind = ui::Kind::Edit, .x = 10, .y = 400, .width = 400, .height = 80},
            {.name = "rb_1", .kind = ui::Kind::RadioButton, .x = 500, .y = 10, .width = 200, .height = 80,
             .text = "A", .tabOrder = 40},
            {.name = "rb_2", .kind = ui::Kind::RadioButton, .x = 500, .y = 100, .width = 200, .height = 80,
             .text = "B", .tabOrder = 50},
            {.name = "ddlb_1", .kind = ui::Kind::DropDown, .x = 800, .y = 10, .width = 400, .height = 80,
             .tabOrder = 60, .flags = ui::AllowEdit, .limit = 8},
            {.name = "cb_exit", .kind = ui::Kind::CommandButton, .x = 800, .y = 300, .width = 200, .height = 80,
             .text = "退出", .tabOrder = 70, .flags = ui::CancelButton},
            {.name = "r_1", .kind = ui::Kind::Rectangle, .x = 0, .y = 0, .width = 2000, .height = 1000,
             .backColor = 15780518},
        });
        for (const char *n : {"sle_a", "sle_b", "ddlb_1"}) {
            const QString name = n;
            on(name, ui::Event::Modified, [this, name] { log << name + ".modified"; });
            on(name, ui::Event::GetFocus, [this, name] { log << name + ".getfocus"; });
            on(name, ui::Event::LoseFocus, [this, name] { log << name + ".losefocus"; });
        }
        on("ddlb_1", ui::Event::SelectionChanged, [this](int i) { log << QString("ddlb_1.selection %1").arg(i); });
        on("cb_exit", ui::Event::Clicked, [this] { log << "cb_exit.clicked"; });
    }
    void open() override { log << "open"; }
    void activate() override { log << "activate"; }
};

Probe *openProbe(const QString &cls = "w_probe", ui::Window *opener = nullptr)
{
    ui::registerWindow(cls, [cls] { return new Probe(cls); });
    auto *w = static_cast<Probe *>(ui::openWindow(cls, opener));
    if (w) {
        QApplication::setActiveWindow(w);
        (void)QTest::qWaitForWindowActive(w);
    }
    return w;
}

void focusTo(QWidget *w)
{
    w->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
}
} // namespace

class tst_window : public QObject {
    Q_OBJECT
private slots:
    void modifiedOnlyForOperatorChanges();
    void modifiedOnEnterAndKeyState();
    void heldKeyForgottenWhenFocusWindowChanges();
    void dropDownLimitAndSelection();
    void amountMaskRefusesPastedText();
    void dateMaskShowsItsOwnPicture_data();
    void dateMaskShowsItsOwnPicture();
    void textSetByCodeShowsItsStart_data();
    void textSetByCodeShowsItsStart();
    void tabOrderFollowsDeclaredOrder();
    void radiosMayAllBeUnchecked();
    void escapeClicksCancel();
    void registryOneInstanceAndUnknownNames();
    void closingHandsActivationBack();
    void postRunsAfterTheEventInOrder();
    void messageBoxResponder();
    void closeWaitsForTheBox_data();
    void closeWaitsForTheBox();
};

void tst_window::modifiedOnlyForOperatorChanges()
{
    Fixture f(false);
    Probe *w = openProbe();
    auto *a = w->get<ui::SingleLineEdit>("sle_a");
    focusTo(a);
    a->setTextByCode("set by code");
    QTest::keyClick(a, Qt::Key_Tab);
    QVERIFY(!w->log.contains("sle_a.modified"));

    focusTo(a);
    a->end(false); // a box left after a text set by code shows it from its start, the caret there too
    w->log.clear();
    QTest::keyClicks(a, "12");
    QTest::keyClick(a, Qt::Key_Tab);
    QCOMPARE(w->log.count("sle_a.modified"), 1);
    QCOMPARE(QApplication::focusWidget(), w->control("sle_b"));
    // Leaving again without a change raises nothing.
    focusTo(a);
    w->log.clear();
    focusTo(w->control("sle_b"));
    QCOMPARE(w->log.count("sle_a.modified"), 0);
    QCOMPARE(w->log.count("sle_a.losefocus"), 1);
    // Chinese typed through the input method counts as a change too.
    focusTo(a);
    typeText(a, "张三");
    focusTo(w->control("sle_b"));
    QCOMPARE(w->log.count("sle_a.modified"), 1);
    QCOMPARE(a->text(), QString("set by code12张三"));
}

void tst_window::modifiedOnEnterAndKeyState()
{
    Fixture f(false);
    Probe *w = openProbe();
    auto *a = w->get<ui::SingleLineEdit>("sle_a");
    bool enterWasDown = false;
    w->on("sle_a", ui::Event::Modified, [&] { enterWasDown = keystate::isDown(Qt::Key_Return); });
    focusTo(a);
    QTest::keyClicks(a, "x");
    QTest::keyClick(a, Qt::Key_Return);
    QVERIFY(enterWasDown);
    QVERIFY(!keystate::isDown(Qt::Key_Return)); // released again
    QCOMPARE(QApplication::focusWidget(), a);   // Enter alone does not move on
}

void tst_window::heldKeyForgottenWhenFocusWindowChanges()
{
    Fixture f(false);
    Probe *first = openProbe("w_first");
    QTest::keyPress(first->control("sle_a"), Qt::Key_Return);
    QVERIFY(keystate::isDown(Qt::Key_Return));
    // The window closes on the press; its release goes nowhere we can see.
    first->close();
    Probe *second = openProbe("w_second");
    QTRY_VERIFY(!keystate::isDown(Qt::Key_Return));
    QTest::keyClicks(second->control("sle_a"), "ab");
    QCOMPARE(second->get<ui::SingleLineEdit>("sle_a")->text(), QString("ab"));
}

void tst_window::dropDownLimitAndSelection()
{
    Fixture f(false);
    Probe *w = openProbe();
    auto *d = w->get<ui::DropDownList>("ddlb_1");
    d->addItemText("administrator"); // longer than the typing limit
    d->addItemText("ann");
    QCOMPARE(d->itemText(0), QString("administrator"));
    focusTo(d);
    QTest::keyClicks(d, "abcdefghijk");
    QCOMPARE(d->text(), QString("abcdefgh"));
    d->setTextByCode("");
    QCOMPARE(d->count(), 2); // clearing the text keeps the items
    d->setCurrentIndex(1);    // by code: no selection event
    QVERIFY(!w->log.join(',').contains("selection"));
    QTest::keyClick(d, Qt::Key_Up); // the operator's choice
    QVERIFY(w->log.contains("ddlb_1.selection 1"));
    QCOMPARE(d->text(), QString("administrator"));
}

void tst_window::amountMaskRefusesPastedText()
{
    Fixture f(false);
    ui::Window w("w_mask", 1000, 500);
    w.build({{.name = "em_1", .kind = ui::Kind::EditMask, .x = 0, .y = 0, .width = 400, .height = 80,
              .tabOrder = 10, .picture = "##,###,###.00"}});
    auto *m = w.get<ui::EditMask>("em_1");
    int beeps = 0;
    services::setBeepRecorder([&beeps] { ++beeps; });
    // Pasting goes through insert(): a sign, letters, too many places are refused whole, with a beep (cutting
    // the digits of a figure would change the amount).
    for (const char *bad : {"-5", "nan", "123456789", "1.234", "12a"}) {
        m->setTextByCode("");
        m->insert(QString::fromLatin1(bad));
        QVERIFY2(m->text().isEmpty(), bad);
    }
    QCOMPARE(beeps, 5);
    m->insert("12345678.9");
    QCOMPARE(m->number(), 12345678.9);
    m->setTextByCode("1,234.56"); // the box's own formatting is accepted
    m->end(false);
    m->insert("7"); // a third decimal place
    QCOMPARE(m->text(), QString("1,234.56"));
    QCOMPARE(beeps, 6);
}

void tst_window::dateMaskShowsItsOwnPicture_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("shown");
    QTest::newRow("dots") << "yyyy.mm.dd" << QDate(2026, 12, 10) << "2026.12.10";
    QTest::newRow("dashes") << "yyyy-mm-dd" << QDate(2026, 3, 5) << "2026-03-05";
    QTest::newRow("day first") << "dd/mm/yyyy" << QDate(2026, 3, 5) << "05/03/2026";
}

void tst_window::dateMaskShowsItsOwnPicture()
{
    QFETCH(QString, mask);
    QFETCH(QDate, date);
    QFETCH(QString, shown);
    Fixture f(false);
    ui::Window w("w_datemask", 1000, 500);
    w.build({{.name = "em_1", .kind = ui::Kind::EditMask, .x = 0, .y = 0, .width = 416, .height = 100,
              .tabOrder = 10, .picture = mask}});
    auto *m = w.get<ui::EditMask>("em_1");
    QVERIFY(m->isDateMask());
    m->setDate(date);
    QCOMPARE(m->text(), shown);
    QCOMPARE(m->date(), date);
    // Typing fills the same picture: the separators stand, only digits go in.
    m->setTextByCode("");
    m->setFocus(Qt::TabFocusReason);
    m->home(false);
    QTest::keyClicks(m, shown.remove(QRegularExpression("[^0-9]")));
    QCOMPARE(m->date(), date);
    m->setTextByCode("");
    QVERIFY(!m->date().isValid()); // an empty box holds no date
}

void tst_window::textSetByCodeShowsItsStart_data()
{
    QTest::addColumn<bool>("inTheBox"); // the operator is in the box when the text is set
    QTest::addColumn<QString>("typed"); // then typed by the operator, before leaving
    QTest::addColumn<int>("caretAfterLeaving");
    const QString longName = "ABCDEFGHIJ有限责任公司第一分公司营业部";
    QTest::newRow("set elsewhere") << false << QString() << 0;
    QTest::newRow("set while in the box") << true << QString() << 0;
    QTest::newRow("typed on after it") << true << QString("XY") << int(longName.size()) + 2;
}

void tst_window::textSetByCodeShowsItsStart()
{
    QFETCH(bool, inTheBox);
    QFETCH(QString, typed);
    QFETCH(int, caretAfterLeaving);
    const QString longName = "ABCDEFGHIJ有限责任公司第一分公司营业部";
    Fixture f(false);
    Probe *w = openProbe();
    auto *a = w->get<ui::SingleLineEdit>("sle_a");
    focusTo(inTheBox ? static_cast<QWidget *>(a) : w->control("sle_b"));
    QVERIFY(QFontMetrics(a->font()).horizontalAdvance(longName) > a->width()); // wider than the box
    a->setTextByCode(longName);
    if (!inTheBox)
        QCOMPARE(a->cursorPosition(), 0);
    else
        QCOMPARE(a->cursorPosition(), longName.size()); // the operator goes on where the text ends
    if (!typed.isEmpty())
        QTest::keyClicks(a, typed);
    focusTo(w->control("sle_ro"));
    QCOMPARE(a->cursorPosition(), caretAfterLeaving);
}

void tst_window::tabOrderFollowsDeclaredOrder()
{
    Fixture f(false);
    Probe *w = openProbe();
    QCOMPARE(w->focusWidget(), w->control("sle_a")); // the first stop has the focus when the window opens
    QStringList visited;
    focusTo(w->control("sle_a"));
    for (int i = 0; i < 7; ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // Disabled sle_off (15) is skipped, display-only sle_ro (30) is a stop, each radio is its own stop,
    // sle_click (order 0) is never reached; then the tab chain wraps.
    QCOMPARE(visited, QStringList({"sle_a", "sle_b", "sle_ro", "rb_1", "rb_2", "ddlb_1", "cb_exit"}));
    QCOMPARE(w->control("sle_click")->focusPolicy(), Qt::ClickFocus);
}

void tst_window::radiosMayAllBeUnchecked()
{
    Fixture f(false);
    Probe *w = openProbe();
    auto *r1 = w->get<ui::RadioButton>("rb_1");
    auto *r2 = w->get<ui::RadioButton>("rb_2");
    QTest::mouseClick(r1, Qt::LeftButton);
    QVERIFY(r1->isChecked());
    QTest::mouseClick(r1, Qt::LeftButton); // clicking a checked radio keeps it checked
    QVERIFY(r1->isChecked());
    QTest::mouseClick(r2, Qt::LeftButton);
    QVERIFY(r2->isChecked() && !r1->isChecked());
    r2->setChecked(false);
    QVERIFY(!r1->isChecked() && !r2->isChecked());
}

void tst_window::escapeClicksCancel()
{
    Fixture f(false);
    Probe *w = openProbe();
    focusTo(w->control("sle_b"));
    QTest::keyClick(w->control("sle_b"), Qt::Key_Escape);
    QVERIFY(w->log.contains("cb_exit.clicked"));
}

void tst_window::registryOneInstanceAndUnknownNames()
{
    Fixture f(false);
    QVERIFY(!ui::openWindow("w_never_registered"));
    Probe *first = openProbe("w_one");
    Probe *again = static_cast<Probe *>(ui::openWindow("w_one"));
    QCOMPARE(again, first);
    QCOMPARE(first->log.count("open"), 1);
    QCOMPARE(ui::findWindow("w_one"), first);
    QPointer<Probe> gone = first;
    first->close();
    QVERIFY(!ui::findWindow("w_one"));
    QTRY_VERIFY(!gone);
}

void tst_window::closingHandsActivationBack()
{
    Fixture f(false);
    Probe *parent = openProbe("w_parent");
    focusTo(parent->control("sle_b"));
    Probe *child = openProbe("w_child", parent);
    QCOMPARE(child->opener(), parent);
    QVERIFY(parent->isEnabled());
    parent->log.clear();
    child->close();
    QTRY_VERIFY(parent->log.contains("activate"));
    // The focus comes back to the control that had it, raising its getfocus.
    QTRY_COMPARE(QApplication::focusWidget(), parent->control("sle_b"));
    QVERIFY(parent->log.contains("sle_b.getfocus"));
}

void tst_window::postRunsAfterTheEventInOrder()
{
    Fixture f(false);
    QStringList order;
    post::later([&] { order << "first"; });
    post::later([&] { order << "second"; });
    order << "now";
    QTRY_COMPARE(order, QStringList({"now", "first", "second"}));
}

void tst_window::messageBoxResponder()
{
    Fixture f(false);
    f.answers << 2;
    QCOMPARE(msg::show("提示", "确定要退出吗(Yes/No)?", msg::Icon::Exclamation, msg::Buttons::YesNo, 1), 2);
    QCOMPARE(msg::show("t", "x"), 1);
    QCOMPARE(f.boxes.size(), 2);
    QCOMPARE(f.boxes[0].title, QString("提示"));
    QCOMPARE(int(f.boxes[0].icon), int(msg::Icon::Exclamation));
}

void tst_window::closeWaitsForTheBox_data()
{
    QTest::addColumn<QString>("closer");
    QTest::addColumn<int>("answer"); // the box's
    QTest::newRow("the window's close") << "close" << 1;
    QTest::newRow("a signal's halt") << "halt" << 2;
    QTest::newRow("the main window's end") << "halt-close" << 2;
}

void tst_window::closeWaitsForTheBox()
{
    // A close asked for while the window's question box waits (a timer, a signal): the window and the box stay
    // until the box has returned; a halt dismisses the box as Esc would, and comes after it.
    QFETCH(QString, closer);
    QFETCH(int, answer);
    Fixture f(false);
    msg::setResponder({});
    QPointer<Probe> w = openProbe();
    bool boxStayed = false;
    QTimer::singleShot(0, [&] {
        QPointer<QWidget> box = QApplication::activeModalWidget();
        if (closer == "close")
            w->close();
        else if (closer == "halt")
            services::halt();
        else
            services::haltClose();
        // Answered later, once the events the close posted have had their turn.
        QTimer::singleShot(0, [&, box] {
            boxStayed = box && w && w->isVisible();
            if (box && box->isVisible())
                qobject_cast<QMessageBox *>(box.data())->button(QMessageBox::Yes)->click();
        });
    });
    QCOMPARE(msg::show("提示", "确定要退出吗(Yes/No)?", msg::Icon::Exclamation, msg::Buttons::YesNo, 1), answer);
    QVERIFY(w);
    QVERIFY(f.halts.isEmpty());
    if (closer == "close") {
        QVERIFY(boxStayed);
        QTRY_VERIFY(!w);
    } else {
        QTRY_COMPARE(f.halts, QList<bool>{closer == "halt-close"});
        QVERIFY(w);
    }
}

QTEST_MAIN(tst_window)
#include "tst_window.moc"
