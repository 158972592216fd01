// The change of operator: its list of operators, the password rule with three allowed failures, its
// messages, and the main window locked while it is open.
#include "fixture.h"

#include "app/m_mainmenu.h"
#include "app/w_main.h"
#include "app/windows.h"
#include "globals.h"
#include "platform/controls.h"
#include "platform/window.h"

#include <QApplication>
#include <QtTest>

namespace {
class Dummy : public ui::Window {
public:
    explicit Dummy(const QString &cls) : ui::Window(cls, 1000, 500) {}
};

struct Change {
    Fixture f;
    w_main *main = nullptr;
    ui::Window *w = nullptr;

    explicit Change(const QStringList &setup = {})
    {
        for (const QString &sql : setup)
            f.exec(sql);
        registerFrameWindows();
        ui::registerWindow("w_passgate", [] { return new Dummy("w_passgate"); });
        if (!f.connect())
            qFatal("no database");
        g::name = "system";
        g::we_1 = 3;
        main = static_cast<w_main *>(ui::openWindow("w_main"));
        main->mmp4()->item("m_g.m_10")->click();
        w = ui::findWindow("w_unman");
        QApplication::setActiveWindow(w);
    }
    ui::DropDownList *list() const { return w->get<ui::DropDownList>("ddlb_1"); }
    ui::SingleLineEdit *password() const { return w->get<ui::SingleLineEdit>("sle_1"); }
    QStringList items() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->itemText(i);
        return out;
    }
    void attempt(const QString &user, const QString &pass)
    {
        list()->setCurrentIndex(list()->findText(user));
        password()->clear();
        password()->setFocus();
        QTest::keyClicks(password(), pass);
        QTest::mouseClick(w->control("cb_1"), Qt::LeftButton);
    }
    QString lastBox() const
    {
        return f.boxes.isEmpty() ? QString() : f.boxes.last().title + "|" + f.boxes.last().text;
    }
};
} // namespace

class tst_unman : public QObject {
    Q_OBJECT
private slots:
    void listsEveryOperatorOnceSorted_data();
    void listsEveryOperatorOnceSorted();
    void opensLockedMainWindowNothingChosen();
    void rightPasswordChangesOperator_data();
    void rightPasswordChangesOperator();
    void wrongPasswordKeepsWindowAndUnlocksMain_data();
    void wrongPasswordKeepsWindowAndUnlocksMain();
    void fourthAttemptEndsTheProgram();
    void countStartsAgainAtNextOpening();
    void operatorCannotCloseItOtherwise();
    void newAdministratorGetsTheAdministratorItems();
};

void tst_unman::listsEveryOperatorOnceSorted_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("one operator") << QStringList{} << QStringList{"system"};
    QTest::newRow("rows out of order, gaps in ids")
        << QStringList{"INSERT INTO pass (id, name, passwd) VALUES (7, 'zhang', '1')",
                       "INSERT INTO pass (id, name, passwd) VALUES (3, 'li', '2')",
                       "INSERT INTO pass (id, name, passwd) VALUES (4, 'wang', '3')"}
        << QStringList{"li", "system", "wang", "zhang"};
    QTest::newRow("names sharing a beginning")
        << QStringList{"INSERT INTO pass (id, name, passwd) VALUES (2, 'sys', '1')",
                       "INSERT INTO pass (id, name, passwd) VALUES (3, 'system2', '2')"}
        << QStringList{"sys", "system", "system2"};
    QTest::newRow("case does not order")
        << QStringList{"INSERT INTO pass (id, name, passwd) VALUES (2, 'System', '1')",
                       "INSERT INTO pass (id, name, passwd) VALUES (3, 'zed', '2')",
                       "INSERT INTO pass (id, name, passwd) VALUES (4, 'Clerk', '3')",
                       "INSERT INTO pass (id, name, passwd) VALUES (5, 'bob', '4')"}
        << QStringList{"bob", "Clerk", "system", "System", "zed"};
    QTest::newRow("Chinese names by pinyin")
        << QStringList{"DELETE FROM pass", "INSERT INTO pass (id, name, passwd) VALUES (1, '张三', '1')",
                       "INSERT INTO pass (id, name, passwd) VALUES (2, '王五', '2')",
                       "INSERT INTO pass (id, name, passwd) VALUES (3, '安静', '3')",
                       "INSERT INTO pass (id, name, passwd) VALUES (4, '李四', '4')"}
        << QStringList{"安静", "李四", "王五", "张三"};
    QTest::newRow("empty table: one empty entry") << QStringList{"DELETE FROM pass"} << QStringList{""};
}

void tst_unman::listsEveryOperatorOnceSorted()
{
    QFETCH(QStringList, setup);
    QFETCH(QStringList, items);
    Change c(setup);
    QCOMPARE(c.items(), items);
}

void tst_unman::opensLockedMainWindowNothingChosen()
{
    Change c;
    QVERIFY(c.w);
    QCOMPARE(c.w->opener(), static_cast<ui::Window *>(c.main));
    QCOMPARE(c.w->windowTitle(), QString("更换操作员"));
    QVERIFY(!(c.w->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!c.main->isEnabled());
    QVERIFY(c.w->isEnabled());
    QCOMPARE(c.list()->currentIndex(), -1);
    QCOMPARE(c.list()->text(), QString());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(c.list()));
    QVERIFY(c.password()->echoMode() == QLineEdit::Password);
    QVERIFY(c.f.boxes.isEmpty());
}

void tst_unman::rightPasswordChangesOperator_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("typed");
    QTest::newRow("exact") << "zhang" << "abc";
    QTest::newRow("blanks around the typed password") << "zhang" << "  abc ";
    QTest::newRow("stored with blanks") << "li" << "xyz";
}

void tst_unman::rightPasswordChangesOperator()
{
    QFETCH(QString, user);
    QFETCH(QString, typed);
    Change c({"INSERT INTO pass (id, name, passwd) VALUES (2, 'zhang', 'abc')",
              "INSERT INTO pass (id, name, passwd) VALUES (3, 'li', ' xyz  ')"});
    QPointer<ui::Window> w = c.w;
    c.attempt(user, typed);
    QCOMPARE(g::name, user);
    QVERIFY(!ui::findWindow("w_unman"));
    QVERIFY(!w || !w->isVisible());
    QCOMPARE(c.f.boxes.size(), 1);
    QCOMPARE(c.lastBox(), QString("更换操作员!| 现在操作员是%1! ").arg(user));
    QCOMPARE(c.f.boxes[0].icon, msg::Icon::Exclamation);
    QVERIFY(c.main->isEnabled());
    QVERIFY(c.f.halts.isEmpty());
}

void tst_unman::wrongPasswordKeepsWindowAndUnlocksMain_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("typed");
    QTest::newRow("wrong password") << "zhang" << "abd";
    QTest::newRow("case counts") << "zhang" << "ABC";
    QTest::newRow("no user chosen") << "" << "abc";
    QTest::newRow("empty password, empty stored") << "nopass" << "";
    QTest::newRow("name standing twice") << "twice" << "t";
}

void tst_unman::wrongPasswordKeepsWindowAndUnlocksMain()
{
    QFETCH(QString, user);
    QFETCH(QString, typed);
    Change c({"INSERT INTO pass (id, name, passwd) VALUES (2, 'zhang', 'abc')",
              "INSERT INTO pass (id, name, passwd) VALUES (3, 'nopass', '')",
              "INSERT INTO pass (id, name, passwd) VALUES (4, 'twice', 't')",
              "INSERT INTO pass (id, name, passwd) VALUES (5, 'twice', 't')"});
    c.attempt(user, typed);
    QCOMPARE(g::name, QString("system"));
    QCOMPARE(ui::findWindow("w_unman"), c.w);
    QVERIFY(c.w->isVisible());
    QCOMPARE(c.password()->text(), typed);
    QCOMPARE(c.lastBox(), QString("错误!| 密码错误，请重新输入! "));
    QCOMPARE(c.f.boxes.last().icon, msg::Icon::StopSign);
    // The main window is usable beside the change-operator window from now on.
    QVERIFY(c.main->isEnabled());
}

void tst_unman::fourthAttemptEndsTheProgram()
{
    Change c({"INSERT INTO pass (id, name, passwd) VALUES (2, 'zhang', 'abc')"});
    for (int i = 0; i < 3; ++i) {
        c.attempt("zhang", "bad");
        QCOMPARE(c.lastBox(), QString("错误!| 密码错误，请重新输入! "));
        QVERIFY(c.f.halts.isEmpty());
    }
    // The right password does not help on the fourth press.
    c.attempt("zhang", "abc");
    QCOMPARE(c.f.boxes.size(), 4);
    QCOMPARE(c.lastBox(), QString("警告!| 非法用户，正在退出! "));
    QCOMPARE(c.f.boxes.last().icon, msg::Icon::StopSign);
    QVERIFY(!ui::findWindow("w_unman"));
    QCOMPARE(c.f.halts, QList<bool>{false});
    QCOMPARE(g::name, QString("system"));
}

void tst_unman::countStartsAgainAtNextOpening()
{
    Change c({"INSERT INTO pass (id, name, passwd) VALUES (2, 'zhang', 'abc')"});
    c.attempt("zhang", "bad");
    c.attempt("zhang", "bad");
    c.attempt("zhang", "abc");
    QCOMPARE(g::name, QString("zhang"));
    c.main->mmp4()->item("m_g.m_10")->click();
    c.w = ui::findWindow("w_unman");
    QVERIFY(c.w);
    QVERIFY(!c.main->isEnabled());
    for (int i = 0; i < 3; ++i)
        c.attempt("system", "bad");
    c.attempt("system", "quill58");
    QCOMPARE(c.f.halts, QList<bool>{false});
}

void tst_unman::operatorCannotCloseItOtherwise()
{
    Change c;
    QVERIFY(!c.w->close());
    QCOMPARE(ui::findWindow("w_unman"), c.w);
    QVERIFY(c.w->isVisible());
    QTest::keyClick(c.list(), Qt::Key_Escape);
    QVERIFY(c.w->isVisible());
    QVERIFY(c.f.boxes.isEmpty());
}

void tst_unman::newAdministratorGetsTheAdministratorItems()
{
    Change c({"INSERT INTO pass (id, name, passwd) VALUES (2, 'zhang', 'abc')"});
    c.attempt("zhang", "abc");
    c.main->mmp4()->item("m_14.m_use")->click();
    QVERIFY(!ui::findWindow("w_passgate"));
    QCOMPARE(c.lastBox(), QString("警告!|请以系统管理员身份登录!"));

    c.main->mmp4()->item("m_g.m_10")->click();
    c.w = ui::findWindow("w_unman");
    c.attempt("system", "quill58");
    QCOMPARE(g::name, QString("system"));
    c.main->mmp4()->item("m_14.m_use")->click();
    QVERIFY(ui::findWindow("w_passgate"));
}

QTEST_MAIN(tst_unman)
#include "tst_unman.moc"
