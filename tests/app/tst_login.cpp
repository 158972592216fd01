// The login window: its user list, the password rule, the attempt counter, its exit paths and keys.
#include "fixture.h"

#include "app/windows.h"
#include "globals.h"
#include "platform/controls.h"
#include "platform/units.h"
#include "platform/window.h"

#include <QApplication>
#include <QtTest>

namespace {
class Dummy : public ui::Window {
public:
    explicit Dummy(const QString &cls) : ui::Window(cls, 1000, 500) {}
};

struct Login {
    Fixture f;
    ui::Window *w = nullptr;
    explicit Login(const QStringList &extraRows = {})
    {
        for (const QString &row : extraRows)
            f.exec(row);
        registerProgramWindows();
        // The main window is only observed here.
        ui::registerWindow("w_main", [] { return new Dummy("w_main"); });
        ui::registerWindow("w_face", [] { return new Dummy("w_face"); });
        if (!f.connect())
            qFatal("no database");
        ui::openWindow("w_face");
        w = ui::openWindow("w_pass");
        QApplication::setActiveWindow(w);
    }
    ui::DropDownList *list() const { return w->get<ui::DropDownList>("ddlb_1"); }
    ui::SingleLineEdit *password() const { return w->get<ui::SingleLineEdit>("sle_1"); }
    void attempt(const QString &user, const QString &pass)
    {
        list()->setTextByCode(user);
        password()->setTextByCode(pass);
        QTest::mouseClick(w->control("p_3"), Qt::LeftButton);
    }
    QStringList boxTexts() const
    {
        QStringList out;
        for (const auto &b : f.boxes)
            out << b.title + "|" + b.text;
        return out;
    }
};
} // namespace

class tst_login : public QObject {
    Q_OBJECT
private slots:
    void listsIdsOneToCount();
    void passwordRule_data();
    void passwordRule();
    void thirdAttemptEndsTheProgram();
    void exitBeforeAndAfterAnAttempt();
    void closeBoxAfterFailureEndsTheProgram();
    void keysMoveOnAndLogIn();
    void chosenNameThenEnterAndShiftTab();
    void typingLimitAndLongerListNames();
    void activatePositioning();
};

void tst_login::listsIdsOneToCount()
{
    Login l({"INSERT INTO pass (id, name, passwd) VALUES (2, '张三', 'z'), (4, 'dora', 'd')"});
    QStringList names;
    for (int i = 0; i < l.list()->count(); ++i)
        names << l.list()->itemText(i);
    // Three rows: ids 1 and 2, then id 3 is missing and the previous name repeats.
    QCOMPARE(names, QStringList({"system", "张三", "张三"}));
    QCOMPARE(l.list()->text(), QString());
    // The user with id 4 is not listed but logs in by typing the name.
    l.attempt("dora", "d");
    QCOMPARE(g::name, QString("dora"));
}

void tst_login::passwordRule_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("loggedInAs");
    QTest::newRow("right") << "system" << "quill58" << "system";
    QTest::newRow("blanks around both") << "  system " << " quill58  " << "system";
    QTest::newRow("stored with blanks") << "pad" << "p1" << "pad";
    QTest::newRow("case counts") << "system" << "QUILL58" << "";
    QTest::newRow("wrong") << "system" << "nope" << "";
    QTest::newRow("unknown user") << "nobody" << "quill58" << "";
    QTest::newRow("empty password, stored empty") << "empty" << "" << "";
    QTest::newRow("name twice in the table") << "twin" << "t" << "";
    QTest::newRow("Chinese name") << "张三" << "密码" << "张三";
    QTest::newRow("longer than the column") << "system" << "quill58quill58quill58" << "";
}

void tst_login::passwordRule()
{
    QFETCH(QString, user);
    QFETCH(QString, typed);
    QFETCH(QString, loggedInAs);
    Login l({"INSERT INTO pass (id, name, passwd) VALUES (2, 'pad', ' p1 '), (3, 'empty', ''), (4, 'twin', 't'),"
             " (5, 'twin', 't'), (6, '张三', '密码')"});
    l.attempt(user, typed);
    QCOMPARE(g::name, loggedInAs);
    if (loggedInAs.isEmpty()) {
        QCOMPARE(l.boxTexts(), QStringList({"Dallow财务软件| 用户名或口令错误! "}));
        QCOMPARE(int(l.f.boxes[0].icon), int(msg::Icon::StopSign));
        QVERIFY(ui::findWindow("w_pass"));
        QCOMPARE(l.list()->text(), user); // the boxes keep what was typed
        QCOMPARE(l.password()->text(), typed);
        QVERIFY(!ui::findWindow("w_main"));
    } else {
        QVERIFY(l.f.boxes.isEmpty());
        QVERIFY(ui::findWindow("w_main"));
        QVERIFY(!ui::findWindow("w_pass"));
        QVERIFY(l.f.halts.isEmpty());
    }
    QCOMPARE(g::we_1, 3);
}

void tst_login::thirdAttemptEndsTheProgram()
{
    Login l;
    l.attempt("system", "x");
    l.attempt("system", "y");
    QVERIFY(l.f.halts.isEmpty());
    l.attempt("system", "quill58"); // the right password, but the counter is tested first
    QCOMPARE(l.f.boxes.last().title, QString("警告!"));
    QCOMPARE(l.f.boxes.last().text, QString(" 非法用户，正在退出! "));
    QCOMPARE(int(l.f.boxes.last().icon), int(msg::Icon::StopSign));
    QVERIFY(!l.f.halts.isEmpty());
    QVERIFY(g::name.isEmpty());
    QVERIFY(!ui::findWindow("w_main"));
}

void tst_login::exitBeforeAndAfterAnAttempt()
{
    {
        Login l;
        l.f.answers << 2; // No
        QTest::mouseClick(l.w->control("p_4"), Qt::LeftButton);
        QCOMPARE(l.boxTexts(), QStringList({"提示|确定要退出吗(Yes/No)?"}));
        QCOMPARE(int(l.f.boxes[0].buttons), int(msg::Buttons::YesNo));
        QCOMPARE(l.f.boxes[0].defaultButton, 1);
        QVERIFY(ui::findWindow("w_pass"));
        QVERIFY(!ui::findWindow("w_face")); // the splash is closed all the same
        QVERIFY(l.f.halts.isEmpty());
        l.f.answers << 1; // Yes
        QTest::mouseClick(l.w->control("p_4"), Qt::LeftButton);
        QCOMPARE(l.f.halts.size(), 1);
    }
    {
        Login l;
        l.attempt("system", "wrong");
        l.f.boxes.clear();
        QTest::mouseClick(l.w->control("p_4"), Qt::LeftButton);
        QVERIFY(l.f.boxes.isEmpty()); // no question after an attempt
        QVERIFY(!ui::findWindow("w_pass"));
        QCOMPARE(l.f.halts.size(), 1);
    }
}

void tst_login::closeBoxAfterFailureEndsTheProgram()
{
    Login l;
    l.attempt("system", "wrong");
    l.w->close();
    QVERIFY(!ui::findWindow("w_face"));
    QCOMPARE(l.f.halts.size(), 1);
}

void tst_login::keysMoveOnAndLogIn()
{
    Login l;
    l.list()->setFocus();
    QTest::keyClicks(l.list(), "system");
    QTest::keyClick(l.list(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), l.password());
    QTest::keyClicks(l.password(), "quill58");
    QTest::keyClick(l.password(), Qt::Key_Return);
    QVERIFY(g::name.isEmpty()); // the login is posted, it runs after the key event
    QTRY_COMPARE(g::name, QString("system"));

    // A change left with the mouse does not log in.
    Login m;
    m.password()->setFocus();
    QTest::keyClicks(m.password(), "quill58");
    m.list()->setFocus(Qt::MouseFocusReason);
    QTest::qWait(20);
    QCOMPARE(g::we_1, 5);
}

void tst_login::chosenNameThenEnterAndShiftTab()
{
    Login l;
    l.list()->setFocus();
    QTest::keyClick(l.list(), Qt::Key_Down); // a name chosen from the list counts as a change
    QCOMPARE(l.list()->text(), QString("system"));
    QTest::keyClick(l.list(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), l.password());
    QTest::keyClicks(l.password(), "quill58");
    QTest::keyClick(l.password(), Qt::Key_Backtab, Qt::ShiftModifier); // Shift+Tab holds Tab down too
    QTRY_COMPARE(g::name, QString("system"));
}

void tst_login::typingLimitAndLongerListNames()
{
    Login l({"INSERT INTO pass (id, name, passwd) VALUES (2, 'longname10', 'pw')"});
    l.list()->setFocus();
    QTest::keyClicks(l.list(), "abcdefghijkl");
    QCOMPARE(l.list()->text(), QString("abcdefgh"));
    l.list()->setCurrentIndex(1);
    QCOMPARE(l.list()->text(), QString("longname10"));
    l.password()->setTextByCode("pw");
    QTest::mouseClick(l.w->control("p_3"), Qt::LeftButton);
    QCOMPARE(g::name, QString("longname10"));
}

void tst_login::activatePositioning()
{
    {
        Login l;
        g::ge_every = {1024, 768}; // 4608 x 3072 units
        QApplication::setActiveWindow(nullptr);
        QApplication::setActiveWindow(l.w);
        QTRY_COMPARE(l.w->pos(),
                     QPoint(units::toPixelsX(int((4608 - 1400) * 0.5)), units::toPixelsY(int((3072 - 212) * 0.5))));
    }
    {
        Login small;
        g::ge_every = {300, 200}; // smaller than 1400 x 1012 units: the design position stays
        QApplication::setActiveWindow(nullptr);
        QApplication::setActiveWindow(small.w);
        QCOMPARE(small.w->pos(), QPoint(units::toPixelsX(9), units::toPixelsY(12)));
    }
}

QTEST_MAIN(tst_login)
#include "tst_login.moc"
