// The main window, its function navigator and the main menu: title and its refresh, resize rules, the
// categories, the posted start of a function, the menu's commands and the exit question.
#include "fixture.h"

#include "app/m_mainmenu.h"
#include "app/navigator.h"
#include "app/u_banner.h"
#include "app/w_main.h"
#include "app/windows.h"
#include "globals.h"
#include "platform/controls.h"
#include "platform/listcontrols.h"
#include "platform/printjob.h"
#include "platform/services.h"
#include "platform/window.h"
#include "windowmanager.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>

namespace {
class Dummy : public ui::Window {
public:
    explicit Dummy(const QString &cls) : ui::Window(cls, 1000, 500) {}
};

// Every window the menu opens, by item path, and whether the item is for the administrator only.
struct Target {
    const char *path;
    const char *window;
    bool admin;
};
const Target kTargets[] = {
    {"m_file.m_1", "w_xjzp", false},
    {"m_file.m_2", "w_zzzp", false},
    {"m_file.m_3", "w_find", false},
    {"m_file.m_17", "w_ywwts", false},
    {"m_file.m_4", "w_yhdh", false},
    {"m_file.m_预算拨款凭证支款", "w_ysbk", false},
    {"m_file.m_5", "w_jzd", false},
    {"m_f.m_18", "w_cabank", false},
    {"m_f.m_8", "w_cdbank", false},
    {"m_f.m_9", "w_search", false},
    {"m_f.m_6.m_15", "inbank", true},
    {"m_f.m_6.m_7", "gobank", true},
    {"m_g.m_10", "w_unman", false},
    {"m_g.m_11", "w_skrbk", false},
    {"m_g.m_12", "w_fkrbk", false},
    {"m_14.m_use", "w_passgate", true},
    {"m_14.m_dw", "w_gate", true},
    {"m_14.m_备注设定", "w_cnbs1", false},
    {"m_14.m_bank", "w_bank", true},
    {"m_14.m_gx", "w_prsz", true},
    {"m_h帮助.m_20", "w_about", false},
};

struct Frame {
    Fixture f;
    w_main *w = nullptr;
    QList<services::ExternalCall> external;
    qint64 runResult = 4242;

    explicit Frame(const QString &operatorName = "system")
    {
        registerFrameWindows();
        for (const Target &t : kTargets)
            if (QString(t.window) != "w_unman")
                ui::registerWindow(t.window, [name = QString(t.window)] { return new Dummy(name); });
        ui::registerWindow("w_face", [] { return new Dummy("w_face"); });
        services::setExternalRecorder([this](const services::ExternalCall &call) {
            external << call;
            return call.what == "run" ? runResult : qint64(1);
        });
        if (!f.connect())
            qFatal("no database");
        g::name = operatorName;
        g::we_1 = 3;
        w = static_cast<w_main *>(ui::openWindow("w_main"));
        QApplication::setActiveWindow(w);
        QCoreApplication::processEvents();
    }

    ui::ListView *lv() const { return w->functionList(); }
    ui::PictureList *plb() const { return w->categoryList(); }

    QStringList labels() const
    {
        QStringList out;
        for (int i = 1; i <= lv()->itemCount(); ++i) {
            QString label;
            int picture = 0;
            lv()->getItem(i, label, picture);
            out << QString("%1:%2").arg(label).arg(picture);
        }
        return out;
    }
    void chooseCategory(int n)
    {
        QListWidgetItem *item = plb()->item(n - 1);
        QTest::mouseClick(plb()->viewport(), Qt::LeftButton, {}, plb()->visualItemRect(item).center());
    }
    QPoint itemCentre(const QString &label) const
    {
        lv()->doItemsLayout();
        for (int i = 0; i < lv()->count(); ++i)
            if (lv()->item(i)->text() == label)
                return lv()->visualItemRect(lv()->item(i)).center();
        qFatal("no entry %s", qPrintable(label));
    }
    void doubleClick(const QString &label)
    {
        QTest::mouseDClick(lv()->viewport(), Qt::LeftButton, {}, itemCentre(label));
    }
    void click(const QString &path) { w->mmp4()->item(path)->click(); }
};

QString expectedTitle(const QString &blanks, const QString &op, const QString &date)
{
    return "〖FennickV2.58〗" + blanks + "操作员:" + op + "        日期:" + date + " ";
}
} // namespace

class tst_main : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup()
    {
        w_main::setTitleRefreshInterval(5000);
        m_mainmenu::setPrinterSetupHook({});
        m_mainmenu::setProcessProbe({});
    }

    void openSetsDateUnitTitleAndClosesSplash();
    void unitNameKeptWhenItsRowIsMissing();
    void titleRefreshFollowsOperatorAndDate();
    void layoutRules_data();
    void layoutRules();
    void resizingTheWindowAppliesTheRules();
    void categoriesRebuildTheFunctionList_data();
    void categoriesRebuildTheFunctionList();
    void focusChoosesNoCategoryKeysDo();
    void listControlsNumberItemsFromOne();
    void everyEntryReachesAMenuItem();
    void doubleClickPostsTheMenuItem_data();
    void doubleClickPostsTheMenuItem();
    void doubleClickOnEmptySpaceDoesNothing();
    void enterStartsTheSelectedEntry();
    void changeOperatorEntryDisablesTheMainWindow();
    void menuOpensWindowsWithAdministratorCheck_data();
    void menuOpensWindowsWithAdministratorCheck();
    void menuItemTextsAndShortcuts_data();
    void menuItemTextsAndShortcuts();
    void calculatorFoundOnPathInOrder();
    void calculatorStartedAgainOnlyWhenEnded();
    void calculatorMissingOrFailingIsReported();
    void printerSetupGetsTheMainWindow();
    void printerSetupOffersAFileInPrintout();
    void helpOpensTheGuideAsAFile();
    void helpFailureIsReported();
    void exitQuestion_data();
    void exitQuestion();
    void platformWordsAreChinese();
    void mainWindowEndStopsTheLoops();
    void noQuestionBeforeAnyLogin();
    void closeWhileTheExitQuestionShows_data();
    void closeWhileTheExitQuestionShows();
    void bannerPicturesChangeTheWindowState();
};

void tst_main::openSetsDateUnitTitleAndClosesSplash()
{
    Fixture f;
    registerFrameWindows();
    ui::registerWindow("w_face", [] { return new Dummy("w_face"); });
    QVERIFY(f.connect());
    f.exec("UPDATE myname SET ltdname = ?", {"红星机械厂"});
    ui::openWindow("w_face");
    g::name = "system";
    auto *w = static_cast<w_main *>(ui::openWindow("w_main"));
    QVERIFY(w);
    QVERIFY(!ui::findWindow("w_face"));
    QCOMPARE(g::rq, QDate(2026, 3, 5));
    QCOMPARE(g::myname, QString("红星机械厂"));
    QCOMPARE(w->windowTitle(), expectedTitle("     ", "system", "2026-03-05"));
    QVERIFY(w->isMaximized());
    QVERIFY(w->mmp4());
    QCOMPARE(w->mmp4()->items().size(), 5);
}

void tst_main::unitNameKeptWhenItsRowIsMissing()
{
    Fixture f;
    registerFrameWindows();
    QVERIFY(f.connect());
    f.exec("DELETE FROM myname");
    g::myname = "旧名称";
    QVERIFY(ui::openWindow("w_main"));
    QCOMPARE(g::myname, QString("旧名称"));
    QVERIFY(f.boxes.isEmpty());
}

void tst_main::titleRefreshFollowsOperatorAndDate()
{
    w_main::setTitleRefreshInterval(20);
    Frame fr;
    QCOMPARE(fr.w->windowTitle(), expectedTitle("     ", "system", "2026-03-05"));
    // The refresh reads the globals, not the clock, and writes six blanks after the banner.
    g::name = "zhang";
    QTRY_COMPARE(fr.w->windowTitle(), expectedTitle("      ", "zhang", "2026-03-05"));
    g::rq = QDate(2026, 3, 6);
    QTRY_COMPARE(fr.w->windowTitle(), expectedTitle("      ", "zhang", "2026-03-06"));
    QCOMPARE(w_main::titleRefreshInterval(), 20);
}

void tst_main::layoutRules_data()
{
    QTest::addColumn<int>("W");
    QTest::addColumn<int>("H");
    QTest::addColumn<QList<int>>("expected"); // the twelve values in the order of MainLayout
    QTest::newRow("3000 x 1700") << 3000 << 1700
                                 << QList<int>{2990, 2990, 2860, 2764, 2668, 2572, 1585, 2995, 2990, 2180, 1323, 1475};
    QTest::newRow("design size") << 3013 << 1792
                                 << QList<int>{3003, 3003, 2873, 2777, 2681, 2585, 1677, 3008, 3003, 2193, 1415, 1567};
    QTest::newRow("list edges") << 820 << 377
                                << QList<int>{810, 810, 680, 584, 488, 392, 262, 815, 810, 0, 0, 152};
    QTest::newRow("narrow, low: lists clamp at 0") << 600 << 200
                                                   << QList<int>{590, 590, 460, 364, 268, 172, 85, 595, 590, 0, 0, 0};
    QTest::newRow("minimised: every size 0, positions may go negative")
        << 0 << 0 << QList<int>{0, 0, -140, -236, -332, -428, -115, 0, 0, 0, 0, 0};
}

void tst_main::layoutRules()
{
    QFETCH(int, W);
    QFETCH(int, H);
    QFETCH(QList<int>, expected);
    const MainLayout l = mainLayout(W, H);
    const QList<int> got{l.banner1Width,  l.banner1PictureWidth, l.closeX,
                         l.maximiseX,     l.restoreX,            l.minimiseX,
                         l.banner2Y,      l.banner2Width,        l.banner2PictureWidth,
                         l.functionListWidth, l.categoryListHeight, l.functionListHeight};
    QCOMPARE(got, expected);
}

void tst_main::resizingTheWindowAppliesTheRules()
{
    Frame fr;
    for (const QSize px : {QSize(700, 450), QSize(120, 60), QSize(1000, 700)}) {
        fr.w->showNormal();
        fr.w->resize(px);
        QCoreApplication::processEvents();
        const int W = fr.w->workspaceWidthUnits(), H = fr.w->workspaceHeightUnits();
        const MainLayout l = mainLayout(W, H);
        QCOMPARE(fr.w->unitGeometry("uo_1"), QRect(0, 0, l.banner1Width, 120));
        QCOMPARE(fr.w->unitGeometry("uo_2"), QRect(0, l.banner2Y, l.banner2Width, 120));
        QCOMPARE(fr.w->unitGeometry("lv_1"), QRect(814, 116, l.functionListWidth, l.functionListHeight));
        QCOMPARE(fr.w->unitGeometry("plb_1"), QRect(9, 268, 800, l.categoryListHeight));
        QCOMPARE(fr.w->unitGeometry("p_1"), QRect(5, 116, 805, 148));
        u_banner1 *top = fr.w->topBanner();
        QCOMPARE(top->unitGeometry("p_1"), QRect(0, 0, l.banner1PictureWidth, 120));
        QCOMPARE(top->unitGeometry("p_5"), QRect(l.closeX, 24, 87, 72));
        QCOMPARE(top->unitGeometry("p_4"), QRect(l.maximiseX, 24, 87, 72));
        QCOMPARE(top->unitGeometry("p_3"), QRect(l.restoreX, 24, 87, 72));
        QCOMPARE(top->unitGeometry("p_2"), QRect(l.minimiseX, 24, 87, 72));
        QCOMPARE(fr.w->bottomBanner()->unitGeometry("p_1"), QRect(0, 0, l.banner2PictureWidth, 120));
        for (QWidget *child : fr.w->findChildren<QWidget *>())
            QVERIFY2(child->width() >= 0 && child->height() >= 0, qPrintable(child->objectName()));
    }
}

void tst_main::categoriesRebuildTheFunctionList_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("开支票") << 1
                         << QStringList{"现金支票:1", "转帐支票:2", "汇票申请书:3", "银行电汇凭证:4",
                                        "预算拨款凭证(支款):5", "银行进帐单:6"};
    QTest::newRow("统计查询") << 2
                          << QStringList{"付款情况:7", "收款情况:8", "查询:9", "收款资料整理:10", "付款资料整理:11",
                                         "业务委托书:25"};
    QTest::newRow("业务管理") << 3 << QStringList{"更换操作员:12", "供应商资料:13", "销售商资料:14"};
    QTest::newRow("系统设置") << 4
                          << QStringList{"计算器:15", "用户设置:16", "单位信息:17", "备注设定:18", "开户行设置:20",
                                         "打印格式设定:21", "打印机设定:22"};
    QTest::newRow("帮助") << 5 << QStringList{"帮助主题:23", "版权声明:24"};
}

void tst_main::categoriesRebuildTheFunctionList()
{
    QFETCH(int, category);
    QFETCH(QStringList, entries);
    Frame fr;
    QCOMPARE(fr.plb()->itemCount(), 5);
    QCOMPARE(fr.plb()->selectedItem(), 0);
    // Before any choice: the six forms, the fifth label as the window has always written it.
    QCOMPARE(fr.labels(), (QStringList{"现金支票:1", "转帐支票:2", "汇票申请书:3", "银行电汇凭证:4",
                                       "预算拔款凭证(支款):5", "银行进帐单:6"}));
    // Another category first, so the list is rebuilt from empty and not appended to.
    fr.chooseCategory(category == 3 ? 4 : 3);
    fr.chooseCategory(category);
    QCOMPARE(fr.labels(), entries);
    // A selection made by code is no choice of the operator's.
    fr.plb()->selectItem(category == 1 ? 2 : 1);
    QCOMPARE(fr.labels(), entries);
}

void tst_main::focusChoosesNoCategoryKeysDo()
{
    Frame fr;
    const QStringList initial = fr.labels();
    QSignalSpy choices(fr.plb(), &ui::PictureList::selectionChangedItem);
    fr.plb()->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QCOMPARE(fr.labels(), initial);
    QCOMPARE(choices.size(), 0);
    QTest::keyClick(fr.plb(), Qt::Key_Down);
    QTest::keyClick(fr.plb(), Qt::Key_Down);
    QCOMPARE(fr.plb()->selectedItem(), 3);
    QCOMPARE(fr.labels(), (QStringList{"更换操作员:12", "供应商资料:13", "销售商资料:14"}));
    // Clicking the chosen category again is no new choice.
    const int before = choices.size();
    fr.chooseCategory(3);
    QCOMPARE(choices.size(), before);
}

void tst_main::listControlsNumberItemsFromOne()
{
    ui::ListView lv;
    QCOMPARE(lv.addLargePicture("001\\k01.bmp"), 1);
    QCOMPARE(lv.addLargePicture("001\\k02.bmp"), 2);
    QCOMPARE(lv.appendItem("甲", 2), 1);
    QCOMPARE(lv.appendItem("乙", 1), 2);
    QString label = "keep";
    int picture = -7;
    for (int bad : {0, -1, 3}) {
        QCOMPARE(lv.getItem(bad, label, picture), -1);
        QCOMPARE(label, QString("keep"));
        QCOMPARE(picture, -7);
    }
    QCOMPARE(lv.getItem(1, label, picture), 1);
    QCOMPARE(label, QString("甲"));
    QCOMPARE(picture, 2);
    QSignalSpy changes(&lv, &ui::ListView::selectionChangedItem);
    lv.selectItem(2);
    QCOMPARE(lv.selectedItem(), 2);
    lv.deleteItems();
    QCOMPARE(lv.itemCount(), 0);
    QCOMPARE(lv.selectedItem(), 0);
    QCOMPARE(changes.size(), 0);

    ui::PictureList plb;
    QCOMPARE(plb.appendItem("1", plb.addPicture("001\\kzp.bmp")), 1);
    QCOMPARE(plb.getItem(1, label, picture), 1);
    QCOMPARE(label, QString("1"));
    QCOMPARE(picture, 1);
    QCOMPARE(plb.getItem(2, label, picture), -1);
}

void tst_main::everyEntryReachesAMenuItem()
{
    Frame fr;
    QSet<int> pictures;
    for (const navigator::Function &fn : navigator::functions()) {
        QVERIFY2(!pictures.contains(fn.picture), qPrintable(fn.label));
        pictures << fn.picture;
        MenuItem *item = fr.w->mmp4()->item(fn.menuPath);
        QVERIFY2(item && item->hasScript(), qPrintable(fn.menuPath));
    }
    QCOMPARE(navigator::menuPathFor(25), QString("m_file.m_17"));
    QVERIFY(navigator::menuPathFor(19).isEmpty());
    QCOMPARE(navigator::largePictureName(7), QString("001\\k07.bmp"));
    QCOMPARE(fr.lv()->largePictureCount(), 25);
}

void tst_main::doubleClickPostsTheMenuItem_data()
{
    QTest::addColumn<int>("category"); // 0: the entries shown at open
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("window");
    QTest::newRow("at open: 现金支票") << 0 << "现金支票" << "w_xjzp";
    QTest::newRow("at open: 预算拔款") << 0 << "预算拔款凭证(支款)" << "w_ysbk";
    QTest::newRow("预算拨款") << 1 << "预算拨款凭证(支款)" << "w_ysbk";
    QTest::newRow("银行进帐单") << 1 << "银行进帐单" << "w_jzd";
    QTest::newRow("付款情况") << 2 << "付款情况" << "w_cabank";
    QTest::newRow("业务委托书") << 2 << "业务委托书" << "w_ywwts";
    QTest::newRow("供应商资料") << 3 << "供应商资料" << "w_skrbk";
    QTest::newRow("用户设置") << 4 << "用户设置" << "w_passgate";
    QTest::newRow("版权声明") << 5 << "版权声明" << "w_about";
}

void tst_main::doubleClickPostsTheMenuItem()
{
    QFETCH(int, category);
    QFETCH(QString, label);
    QFETCH(QString, window);
    Frame fr;
    if (category > 0)
        fr.chooseCategory(category);
    QStringList clicked;
    for (MenuItem *top : fr.w->mmp4()->findChildren<MenuItem *>())
        connect(top, &MenuItem::clicked, top, [&clicked, top] { clicked << top->name(); });

    fr.doubleClick(label);
    // Posted: nothing has run when the double-click event ends.
    QVERIFY(clicked.isEmpty());
    QVERIFY(!ui::findWindow(window));
    QTRY_VERIFY(ui::findWindow(window));
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(ui::findWindow(window)->opener(), fr.w);
}

void tst_main::doubleClickOnEmptySpaceDoesNothing()
{
    Frame fr;
    fr.lv()->doItemsLayout();
    const QPoint empty(fr.lv()->viewport()->width() - 5, fr.lv()->viewport()->height() - 5);
    QCOMPARE(fr.lv()->itemNumberAt(empty), 0);
    int posted = 0;
    for (MenuItem *item : fr.w->mmp4()->findChildren<MenuItem *>())
        connect(item, &MenuItem::clicked, item, [&posted] { ++posted; });
    QTest::mouseDClick(fr.lv()->viewport(), Qt::LeftButton, {}, empty);
    QTest::qWait(20);
    QCOMPARE(posted, 0);
    QCOMPARE(ui::openWindows().size(), 1);
}

void tst_main::enterStartsTheSelectedEntry()
{
    Frame fr;
    fr.chooseCategory(2);
    fr.lv()->selectItem(3); // 查询
    fr.lv()->setFocus();
    QTest::keyClick(fr.lv(), Qt::Key_Return);
    QTRY_VERIFY(ui::findWindow("w_search"));
    QCOMPARE(ui::findWindow("w_search")->opener(), fr.w);
}

void tst_main::changeOperatorEntryDisablesTheMainWindow()
{
    Frame fr;
    fr.chooseCategory(3);
    fr.doubleClick("更换操作员");
    QTRY_VERIFY(ui::findWindow("w_unman"));
    QCOMPARE(ui::findWindow("w_unman")->opener(), fr.w);
    QVERIFY(!fr.w->isEnabled());
}

void tst_main::menuOpensWindowsWithAdministratorCheck_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("opens");
    for (const char *op : {"system", "zhang", "SYSTEM", ""})
        for (const Target &t : kTargets) {
            if (QString(t.window) == "w_unman")
                continue;
            const bool opens = !t.admin || QString(op) == "system";
            QTest::addRow("%s %s", *op ? op : "(none)", t.path) << op << t.path << t.window << opens;
        }
}

void tst_main::menuOpensWindowsWithAdministratorCheck()
{
    QFETCH(QString, op);
    QFETCH(QString, path);
    QFETCH(QString, window);
    QFETCH(bool, opens);
    Frame fr(op);
    fr.click(path);
    if (opens) {
        QVERIFY(ui::findWindow(window));
        QCOMPARE(ui::findWindow(window)->opener(), fr.w);
        QVERIFY(fr.f.boxes.isEmpty());
    } else {
        QVERIFY(!ui::findWindow(window));
        QCOMPARE(fr.f.boxes.size(), 1);
        QCOMPARE(fr.f.boxes[0].title, QString("警告!"));
        QCOMPARE(fr.f.boxes[0].text, QString("请以系统管理员身份登录!"));
        QCOMPARE(fr.f.boxes[0].icon, msg::Icon::Exclamation);
        QCOMPARE(fr.f.boxes[0].buttons, msg::Buttons::Ok);
    }
}

void tst_main::menuItemTextsAndShortcuts_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::newRow("draft application") << "m_file.m_3" << "汇票申请书" << QKeySequence(Qt::ALT | Qt::Key_H);
    QTest::newRow("letter") << "m_file.m_17" << "业务委托书\tAlt+Y" << QKeySequence(Qt::ALT | Qt::Key_Y);
    QTest::newRow("deposit form") << "m_file.m_5" << "银行进帐单" << QKeySequence(Qt::ALT | Qt::Key_J);
    QTest::newRow("cash cheque") << "m_file.m_1" << "现金支票" << QKeySequence();
    QTest::newRow("budget voucher") << "m_file.m_预算拨款凭证支款" << "预算拨款凭证(支款)" << QKeySequence();
}

void tst_main::menuItemTextsAndShortcuts()
{
    QFETCH(QString, path);
    QFETCH(QString, text);
    QFETCH(QKeySequence, shortcut);
    Frame fr;
    MenuItem *item = fr.w->mmp4()->item(path);
    QVERIFY(item);
    QCOMPARE(item->text(), text);
    QCOMPARE(item->shortcut(), shortcut);
    if (shortcut.isEmpty())
        return;
    // The menu is never shown: its shortcut starts nothing, the function list is the way in.
    QTest::keySequence(fr.w, shortcut);
    QCoreApplication::processEvents();
    for (const Target &t : kTargets)
        QVERIFY2(!ui::findWindow(t.window), t.window);
}

namespace {
// A PATH holding only the given programs.
struct FakePath {
    QTemporaryDir dir;
    QByteArray old = qgetenv("PATH");
    explicit FakePath(const QStringList &programs)
    {
        for (const QString &p : programs) {
            QFile f(dir.filePath(p));
            f.open(QIODevice::WriteOnly);
            f.write("#!/bin/sh\n");
            f.close();
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", dir.path().toLocal8Bit());
    }
    ~FakePath() { qputenv("PATH", old); }
    QString path(const QString &p) const { return dir.filePath(p); }
};
} // namespace

void tst_main::calculatorFoundOnPathInOrder()
{
    {
        FakePath path({"xcalc", "mate-calc", "kcalc"});
        QCOMPARE(m_mainmenu::findCalculator(), path.path("kcalc"));
    }
    {
        FakePath path({"xcalc", "galculator"});
        QCOMPARE(m_mainmenu::findCalculator(), path.path("galculator"));
    }
    {
        FakePath path({"gnome-calculator", "kcalc"});
        QCOMPARE(m_mainmenu::findCalculator(), path.path("gnome-calculator"));
    }
    FakePath none({});
    QVERIFY(m_mainmenu::findCalculator().isEmpty());
}

void tst_main::calculatorStartedAgainOnlyWhenEnded()
{
    Frame fr("zhang");
    FakePath path({"xcalc"});
    bool running = true;
    QList<qint64> probed;
    m_mainmenu::setProcessProbe([&](qint64 pid) {
        probed << pid;
        return running;
    });
    fr.click("m_14.m_40");
    QCOMPARE(fr.external.size(), 1);
    QCOMPARE(fr.external[0].what, QString("run"));
    QCOMPARE(fr.external[0].target, path.path("xcalc"));
    // Still running: nothing is started, the running one stands for the calculator.
    fr.click("m_14.m_40");
    QCOMPARE(fr.external.size(), 1);
    QCOMPARE(probed, QList<qint64>{4242});
    QCOMPARE(g::handle1, qint64(4242));
    // Ended: started again.
    running = false;
    fr.click("m_14.m_40");
    QCOMPARE(fr.external.size(), 2);
    QCOMPARE(g::handle1, qint64(0));
    QVERIFY(fr.f.boxes.isEmpty());
}

void tst_main::calculatorMissingOrFailingIsReported()
{
    Frame fr;
    {
        FakePath none({});
        fr.click("m_14.m_40");
        QVERIFY(fr.external.isEmpty());
        QCOMPARE(fr.f.boxes.size(), 1);
        QCOMPARE(fr.f.boxes[0].title, QString("提示"));
        QVERIFY(fr.f.boxes[0].text.contains("没有找到计算器程序"));
    }
    FakePath path({"galculator"});
    fr.runResult = 0; // the program could not be started
    fr.click("m_14.m_40");
    QCOMPARE(fr.external.size(), 1);
    QCOMPARE(fr.f.boxes.size(), 2);
    QVERIFY(fr.f.boxes[1].text.contains(path.path("galculator")));
}

void tst_main::printerSetupGetsTheMainWindow()
{
    Frame fr;
    QList<QWidget *> parents;
    m_mainmenu::setPrinterSetupHook([&](QWidget *parent) {
        parents << parent;
        return false;
    });
    fr.chooseCategory(4);
    fr.doubleClick("打印机设定");
    QTRY_COMPARE(parents.size(), 1);
    QCOMPARE(parents[0], static_cast<QWidget *>(fr.w));
    QVERIFY(fr.f.boxes.isEmpty());
}

void tst_main::printerSetupOffersAFileInPrintout()
{
    // Printing to a file, the set-up dialog offers one where the program's own PDFs go, named by the time as
    // they are; a form printed then is written there, the folder made for it.
    Frame fr;
    m_mainmenu::setPrinterSetupHook({}); // the real dialog
    print::setBackend(print::Backend::Automatic);
    QString offered;
    bool answered = false;
    std::function<void()> answer = [&] {
        auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            QTimer::singleShot(20, answer);
            return;
        }
        offered = dialog->findChild<QLineEdit *>("filename")->text();
        auto *printers = dialog->findChild<QComboBox *>("printers");
        printers->setCurrentIndex(printers->count() - 1); // Print to File (PDF)
        answered = true;
        // Should the dialog refuse the file with a box of its own, the test goes on to fail, not wait.
        QTimer::singleShot(2000, dialog, [dialog] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->close();
            dialog->reject();
        });
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click(); // 打印(P)
    };
    QTimer::singleShot(0, answer);
    fr.chooseCategory(4);
    fr.doubleClick("打印机设定");
    QTRY_VERIFY(answered);
    const QString file = QDir::current().filePath("PRINTOUT/20260305-093000.pdf");
    QCOMPARE(offered, QDir::toNativeSeparators(file));
    QVERIFY(print::applicationPrinter());
    QCOMPARE(print::applicationPrinter()->outputFileName(), file);

    const int job = print::open("支票");
    QVERIFY2(job > 0, qPrintable(print::lastError()));
    QCOMPARE(print::text(job, "123", 100, 100), 1);
    QCOMPARE(print::close(job), 1);
    QVERIFY(QFile::exists(file));
    print::applicationPrinter()->setOutputFileName({});
    print::chooseApplicationPrinter(false);
}

void tst_main::helpOpensTheGuideAsAFile()
{
    Frame fr;
    fr.click("m_h帮助.m_帮助主题");
    QCOMPARE(fr.external.size(), 1);
    QCOMPARE(fr.external[0].what, QString("url"));
    const QUrl url(fr.external[0].target);
    QVERIFY(url.isLocalFile());
    QFile written(url.toLocalFile());
    QVERIFY(written.open(QIODevice::ReadOnly));
    QFile resource(":/help/index.html");
    QVERIFY(resource.open(QIODevice::ReadOnly));
    const QByteArray content = resource.readAll();
    QCOMPARE(written.readAll(), content);
    const QString text = QString::fromUtf8(content);
    for (const char *needle : {"system", "quill58", "存盘", "打印定位", "供应商资料"})
        QVERIFY2(text.contains(QString::fromUtf8(needle)), needle);
    // A stale copy is replaced by the program's own text.
    written.close();
    QVERIFY(written.open(QIODevice::WriteOnly | QIODevice::Truncate));
    written.write("old");
    written.close();
    fr.click("m_h帮助.m_帮助主题");
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), content);
    QVERIFY(fr.f.boxes.isEmpty());
}

void tst_main::helpFailureIsReported()
{
    Frame fr;
    services::setExternalRecorder([](const services::ExternalCall &) { return qint64(-1); });
    fr.click("m_h帮助.m_帮助主题");
    QCOMPARE(fr.f.boxes.size(), 1);
    QVERIFY(fr.f.boxes[0].text.startsWith("无法打开帮助文档"));
    QVERIFY(fr.f.boxes[0].text.contains("index.html"));
}

void tst_main::exitQuestion_data()
{
    QTest::addColumn<bool>("throughBanner");
    QTest::addColumn<int>("answer");
    QTest::newRow("banner close, Yes") << true << 1;
    QTest::newRow("banner close, No") << true << 2;
    QTest::newRow("platform close, Yes") << false << 1;
    QTest::newRow("platform close, No") << false << 2;
}

void tst_main::exitQuestion()
{
    QFETCH(bool, throughBanner);
    QFETCH(int, answer);
    w_main::setTitleRefreshInterval(20);
    Frame fr;
    QPointer<w_main> w = fr.w;
    MenuItem *menuItem = w->mmp4()->item("m_file.m_1");
    fr.f.answers << answer;
    if (throughBanner)
        QTest::mouseClick(w->topBanner()->picture("p_5"), Qt::LeftButton);
    else
        w->close();
    QCOMPARE(fr.f.boxes.size(), 1);
    QCOMPARE(fr.f.boxes[0].title, QString("提示"));
    QCOMPARE(fr.f.boxes[0].text, QString("确定要退出吗(Yes/No)?"));
    QCOMPARE(fr.f.boxes[0].icon, msg::Icon::Exclamation);
    QCOMPARE(fr.f.boxes[0].buttons, msg::Buttons::YesNo);
    QCOMPARE(fr.f.boxes[0].defaultButton, 1);
    if (answer == 1) {
        QVERIFY(!w || !w->isVisible());
        QCOMPARE(fr.f.halts, QList<bool>{true});
        QVERIFY(!ui::findWindow("w_main"));
    } else {
        QVERIFY(w && w->isVisible());
        QVERIFY(fr.f.halts.isEmpty());
        QCOMPARE(w->mmp4()->item("m_file.m_1"), menuItem);
        g::name = "li";
        QTRY_VERIFY(w->windowTitle().contains("操作员:li"));
    }
}

namespace {
// The texts of the buttons of a dialog as shown, without their mnemonics.
QStringList buttonTexts(QWidget *dialog)
{
    QStringList out;
    for (QAbstractButton *b : dialog->findChildren<QAbstractButton *>())
        if (b->isVisible())
            out << b->text().remove("&");
    return out;
}
} // namespace

void tst_main::platformWordsAreChinese()
{
    // The exit question as the operator sees it (no responder), and the printer dialog: the platform's own
    // words are Chinese, whatever the locale.
    Frame fr;
    msg::setResponder({});
    QStringList question;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        question = buttonTexts(box);
        box->button(QMessageBox::No)->click();
    });
    QVERIFY(!fr.w->close());
    QCOMPARE(question, (QStringList{"是(Y)", "否(N)"}));
    QVERIFY(fr.f.halts.isEmpty());

    QStringList printer;
    QString title;
    QTimer::singleShot(0, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        title = dialog->windowTitle();
        printer = buttonTexts(dialog);
        dialog->close();
    });
    QVERIFY(!print::printerSetup(fr.w));
    QVERIFY2(title.contains("打印"), qPrintable(title));
    for (const char *button : {"打印(P)", "取消", "属性(R)"})
        QVERIFY2(printer.contains(button), qPrintable(printer.join('|')));
}

void tst_main::mainWindowEndStopsTheLoops()
{
    // The main window closed while a nested loop runs (a box here; a print runs the same kind of loop): its end
    // stops every loop, the box answered as by Esc, and once the loop has unwound the exit question comes.
    Frame fr;
    QPointer<w_main> w = fr.w;
    msg::setResponder({});
    bool closedAtOnce = true;
    QTimer::singleShot(0, [&] {
        closedAtOnce = w->close();
        msg::setResponder([&](const msg::Call &call) {
            fr.f.boxes << call;
            return call.defaultButton;
        });
        // A box still waiting is answered Yes, so that the test ends either way.
        QTimer::singleShot(0, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->button(QMessageBox::Yes)->click();
        });
    });
    QCOMPARE(msg::show("提示", "要保存修改吗?", msg::Icon::Question, msg::Buttons::YesNo, 1), 2);
    QVERIFY(!closedAtOnce);
    QVERIFY(fr.f.halts.isEmpty());
    QTRY_COMPARE(fr.f.halts, QList<bool>{true});
    QCOMPARE(fr.f.boxes.size(), 1);
    QCOMPARE(fr.f.boxes[0].text, QString("确定要退出吗(Yes/No)?"));
}

void tst_main::closeWhileTheExitQuestionShows_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("then No") << false;
    QTest::newRow("then Yes") << true;
}

void tst_main::closeWhileTheExitQuestionShows()
{
    // The window manager's close of the main window (its title bar) while "确定要退出吗" waits: the question stays
    // up, and only its answer ends the program.
    QFETCH(bool, yes);
    Frame fr;
    QPointer<w_main> w = fr.w;
    msg::setResponder({});
    bool taken = true;
    bool stayed = false;
    QTimer::singleShot(0, [&] {
        QPointer<QMessageBox> question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(question);
        taken = closeByWindowManager(w);
        QTest::qWait(50);
        stayed = question && question->isVisible() && QApplication::activeModalWidget() == question.data()
              && w && w->isVisible() && w->windowHandle()->handle();
        if (question)
            question->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    QCOMPARE(w->close(), yes);
    QVERIFY(!taken);
    QVERIFY(stayed);
    QTest::qWait(50);
    if (yes) {
        QCOMPARE(fr.f.halts, QList<bool>{true});
    } else {
        QVERIFY(fr.f.halts.isEmpty());
        QVERIFY(w && w->isVisible());
    }
}

void tst_main::noQuestionBeforeAnyLogin()
{
    Frame fr;
    g::we_1 = 5;
    QVERIFY(fr.w->close());
    QVERIFY(fr.f.boxes.isEmpty());
    QCOMPARE(fr.f.halts, QList<bool>{true});
}

void tst_main::bannerPicturesChangeTheWindowState()
{
    Frame fr;
    u_banner1 *top = fr.w->topBanner();
    QVERIFY(fr.w->isMaximized());
    QTest::mouseClick(top->picture("p_4"), Qt::LeftButton); // already maximised: no change
    QVERIFY(fr.w->isMaximized());
    QTest::mouseClick(top->picture("p_3"), Qt::LeftButton);
    QTRY_VERIFY(!fr.w->isMaximized());
    QTest::mouseClick(top->picture("p_3"), Qt::LeftButton);
    QVERIFY(!fr.w->isMaximized() && !fr.w->isMinimized());
    QTest::mouseClick(top->picture("p_4"), Qt::LeftButton);
    QTRY_VERIFY(fr.w->isMaximized());
    QTest::mouseClick(top->picture("p_2"), Qt::LeftButton);
    QTRY_VERIFY(fr.w->isMinimized());
    QVERIFY(fr.f.boxes.isEmpty());
}

QTEST_MAIN(tst_main)
#include "tst_main.moc"
