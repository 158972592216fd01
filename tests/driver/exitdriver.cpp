// Preloaded into the real program by the exit tests (LD_PRELOAD): it works the program's own windows as an
// operator would, then ends it the way QUILLANX_DRIVE names. Every exit runs the program's real path; the
// driver only clicks, and writes "used" into QUILLANX_DRIVE_MARK once the day's work is done. "print-list"
// prints a long list instead and writes what its pages cost there.
#include "books/sdwskrbk.h"
#include "dataview/dataview.h"
#include "dataview/print.h"
#include "globals.h"
#include "platform/controls.h"
#include "platform/window.h"
#include "app/m_mainmenu.h"
#include "app/w_main.h"
#include "app/u_banner.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <sys/resource.h>

namespace {
enum class Step { Login, Main, Question, Printer, Inner, Done };

// A list left half read and a few saves: the log then holds the day's work and a view holds it back. For
// "save" the list is closed before the saves.
void work(const QString &how)
{
    auto *view = new dw::DataView(ui::findWindow(QStringLiteral("w_pass")));
    view->setDefinition(brevik::sdwskrbk());
    view->setTransaction(g::sqlca);
    view->retrieve({QStringLiteral("%")});
    if (how == u"save")
        delete view;
    for (int n = 1; n <= 20; ++n)
        g::sqlca.execute(QStringLiteral("INSERT INTO xjzp (rq, zphm, an) VALUES ('2026-03-05', ?, 1)"),
                         {QString::number(n)});
    g::sqlca.commit();
}

// Tells the test that the program is where it should end.
void markUsed()
{
    QFile mark(qEnvironmentVariable("QUILLANX_DRIVE_MARK"));
    if (mark.open(QIODevice::WriteOnly))
        mark.write("used");
}

long pageFaults()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

// "print-list": the payment list of every date printed, as the operator prints it; the mark then says the page
// faults of the pages after the first ten, and how many those were.
void printList()
{
    ui::Window *list = ui::openWindow(QStringLiteral("w_cabank"));
    list->get<ui::EditMask>(QStringLiteral("em_2"))->setDate(QDate(2000, 1, 1));
    list->get<ui::EditMask>(QStringLiteral("em_1"))->setDate(QDate(2030, 12, 31));
    QTest::mouseClick(list->control(QStringLiteral("cb_3")), Qt::LeftButton);
    auto faults = std::make_shared<long>(0);
    dw::setPrintProgressHook([faults](QProgressDialog &progress, int page) {
        constexpr int kSettled = 10; // the fonts, the job and the rows' first window are made by then
        if (page == kSettled)
            *faults = pageFaults();
        if (page < progress.maximum())
            return;
        QFile mark(qEnvironmentVariable("QUILLANX_DRIVE_MARK"));
        if (mark.open(QIODevice::WriteOnly))
            mark.write(QStringLiteral("faults=%1 pages=%2").arg(pageFaults() - *faults).arg(page - kSettled).toUtf8());
    });
    QTest::mouseClick(list->control(QStringLiteral("cb_1")), Qt::LeftButton);
}

// A click runs as an event of its own: the question it brings runs a loop of its own, in which the driver's
// timer must go on.
void later(std::function<void()> action)
{
    QMetaObject::invokeMethod(qApp, std::move(action), Qt::QueuedConnection);
}

void drive()
{
    const QString how = qEnvironmentVariable("QUILLANX_DRIVE");
    auto *timer = new QTimer(qApp);
    auto step = std::make_shared<Step>(Step::Login);
    QObject::connect(timer, &QTimer::timeout, qApp, [how, step] {
        if (*step == Step::Login) {
            ui::Window *pass = ui::findWindow(QStringLiteral("w_pass"));
            if (!pass || !pass->isVisible())
                return;
            if (how != u"print-list")
                work(how);
            if (!how.startsWith(u"printer") && how != u"print-list")
                markUsed();
            // Leaving the login window asks "确定要退出吗" too; "save" and "use" end by a signal or a kill, and
            // any box they bring (a view dropped when its file was replaced) is no question of the driver's.
            if (how == u"save" || how == u"use")
                *step = Step::Done;
            else
                *step = how.startsWith(u"main") || how.startsWith(u"printer") || how == u"print-list"
                            ? Step::Main
                            : Step::Question;
            if (how == u"login-cancel") {
                later([pass] { QTest::mouseClick(pass->control(QStringLiteral("p_4")), Qt::LeftButton); });
            } else if (how == u"login-close") {
                later([pass] { pass->close(); });
            } else if (how.startsWith(u"main") || how.startsWith(u"printer") || how == u"print-list") {
                pass->get<ui::DropDownList>(QStringLiteral("ddlb_1"))->setTextByCode(QStringLiteral("system"));
                pass->get<ui::SingleLineEdit>(QStringLiteral("sle_1"))->setTextByCode(QStringLiteral("quill58"));
                later([pass] { QTest::mouseClick(pass->control(QStringLiteral("p_3")), Qt::LeftButton); });
            }
        } else if (*step == Step::Main && how.startsWith(u"printer")) {
            // 系统设置 → 打印机设定, then the button of the printer dialog that opens a dialog over it.
            auto *main = qobject_cast<w_main *>(ui::findWindow(QStringLiteral("w_main")));
            if (!main || !main->isVisible())
                return;
            *step = Step::Printer;
            later([main] { main->mmp4()->item(QStringLiteral("m_14.m_16"))->click(); });
        } else if (*step == Step::Printer) {
            auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            const QString button = how == u"printer-properties" ? QStringLiteral("properties")
                                                                 : QStringLiteral("fileBrowser");
            auto *b = dialog->findChild<QAbstractButton *>(button);
            if (!b || !b->isEnabled())
                return;
            *step = Step::Inner;
            later([b = QPointer<QAbstractButton>(b)] {
                if (b)
                    b->click();
            });
        } else if (*step == Step::Inner) {
            QWidget *inner = QApplication::activeModalWidget();
            if (inner && inner->isVisible() && !qobject_cast<QPrintDialog *>(inner)) {
                *step = Step::Done;
                markUsed();
            }
        } else if (*step == Step::Main) {
            auto *main = qobject_cast<w_main *>(ui::findWindow(QStringLiteral("w_main")));
            if (!main || !main->isVisible())
                return;
            *step = Step::Question;
            if (how == u"print-list") {
                *step = Step::Done;
                later(printList);
            } else if (how == u"main-close-picture") {
                later([main] { QTest::mouseClick(main->topBanner()->picture(QStringLiteral("p_5")), Qt::LeftButton); });
            } else {
                later([main] { main->close(); }); // the title bar's close and its system menu
            }
        } else if (*step == Step::Question) {
            // "确定要退出吗": Yes.
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box && box->button(QMessageBox::Yes)) {
                *step = Step::Done;
                later([box = QPointer<QMessageBox>(box)] {
                    if (box)
                        box->button(QMessageBox::Yes)->click();
                });
            }
        }
    });
    timer->start(50);
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(drive)
