#include "app/m_mainmenu.h"

#include "globals.h"
#include "platform/messagebox.h"
#include "platform/post.h"
#include "platform/printjob.h"
#include "platform/services.h"
#include "platform/window.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace {
std::function<bool(QWidget *)> &printerSetupHook()
{
    static std::function<bool(QWidget *)> hook = [](QWidget *parent) { return print::printerSetup(parent); };
    return hook;
}

std::function<bool(qint64)> &processProbe()
{
    static std::function<bool(qint64)> probe = [](qint64 pid) { return services::isProcessRunning(pid); };
    return probe;
}

ui::Window *mainWindow() { return ui::findWindow(QStringLiteral("w_main")); }
} // namespace

// --- MenuItem ---

MenuItem::MenuItem(const QString &name, const QString &text, QObject *parent) : QObject(parent), m_text(text)
{
    setObjectName(name);
}

MenuItem *MenuItem::item(const QString &name) const
{
    for (MenuItem *i : m_items)
        if (i->name() == name)
            return i;
    return nullptr;
}

MenuItem *MenuItem::addItem(const QString &name, const QString &text, std::function<void()> script)
{
    auto *i = new MenuItem(name, text, this);
    i->setScript(std::move(script));
    m_items << i;
    return i;
}

void MenuItem::click()
{
    emit clicked();
    if (m_script)
        m_script();
}

void MenuItem::postClick()
{
    QPointer<MenuItem> self(this);
    post::later(this, [self] {
        if (self)
            self->click();
    });
}

// --- m_mainmenu ---

m_mainmenu::m_mainmenu(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("m_mainmenu"));
    auto window = [this](const char *name) { return [this, w = QString::fromUtf8(name)] { openByName(w); }; };
    auto admin = [this](const char *name) { return [this, w = QString::fromUtf8(name)] { openForAdministrator(w); }; };

    MenuItem *file = addTop(QStringLiteral("m_file"), QStringLiteral("开支票"));
    file->addItem(QStringLiteral("m_1"), QStringLiteral("现金支票"), window("w_xjzp"));
    file->addItem(QStringLiteral("m_2"), QStringLiteral("转帐支票"), window("w_zzzp"));
    file->addItem(QStringLiteral("m_3"), QStringLiteral("汇票申请书"), window("w_find"))
        ->setShortcut(QKeySequence(Qt::ALT | Qt::Key_H));
    file->addItem(QStringLiteral("m_17"), QStringLiteral("业务委托书\tAlt+Y"), window("w_ywwts"))
        ->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Y));
    file->addItem(QStringLiteral("m_4"), QStringLiteral("银行电汇凭证"), window("w_yhdh"));
    file->addItem(QStringLiteral("m_预算拨款凭证支款"), QStringLiteral("预算拨款凭证(支款)"), window("w_ysbk"));
    file->addItem(QStringLiteral("m_5"), QStringLiteral("银行进帐单"), window("w_jzd"))
        ->setShortcut(QKeySequence(Qt::ALT | Qt::Key_J));

    MenuItem *f = addTop(QStringLiteral("m_f"), QStringLiteral("统计查询"));
    f->addItem(QStringLiteral("m_18"), QStringLiteral("付款情况"), window("w_cabank"));
    f->addItem(QStringLiteral("m_8"), QStringLiteral("收款情况"), window("w_cdbank"));
    f->addItem(QStringLiteral("m_9"), QStringLiteral("查询"), window("w_search"));
    MenuItem *registers = f->addItem(QStringLiteral("m_6"), QStringLiteral("资料整理"));
    registers->addItem(QStringLiteral("m_15"), QStringLiteral("收款资料整理"), admin("inbank"));
    registers->addItem(QStringLiteral("m_7"), QStringLiteral("付款资料整理"), admin("gobank"));

    MenuItem *gItem = addTop(QStringLiteral("m_g"), QStringLiteral("业务管理"));
    gItem->addItem(QStringLiteral("m_10"), QStringLiteral("更换操作员"), window("w_unman"));
    gItem->addItem(QStringLiteral("m_11"), QStringLiteral("供应商资料"), window("w_skrbk"));
    gItem->addItem(QStringLiteral("m_12"), QStringLiteral("销售商资料"), window("w_fkrbk"));

    MenuItem *settings = addTop(QStringLiteral("m_14"), QStringLiteral("系统设置"));
    settings->addItem(QStringLiteral("m_40"), QStringLiteral("计算器"), [this] { startCalculator(); });
    settings->addItem(QStringLiteral("m_use"), QStringLiteral("用户设置"), admin("w_passgate"));
    settings->addItem(QStringLiteral("m_dw"), QStringLiteral("单位信息"), admin("w_gate"));
    settings->addItem(QStringLiteral("m_备注设定"), QStringLiteral("备注设定"), window("w_cnbs1"));
    settings->addItem(QStringLiteral("m_bank"), QStringLiteral("开户行设置"), admin("w_bank"));
    settings->addItem(QStringLiteral("m_gx"), QStringLiteral("打印格式设定"), admin("w_prsz"));
    settings->addItem(QStringLiteral("m_16"), QStringLiteral("打印机设定"), [this] { printerSetup(); });

    MenuItem *help = addTop(QStringLiteral("m_h帮助"), QStringLiteral("帮助"));
    help->addItem(QStringLiteral("m_帮助主题"), QStringLiteral("帮助主题"), [this] { showHelp(); });
    help->addItem(QStringLiteral("m_20"), QStringLiteral("版权声明"), window("w_about"));
}

MenuItem *m_mainmenu::addTop(const QString &name, const QString &text)
{
    auto *i = new MenuItem(name, text, this);
    m_items << i;
    return i;
}

MenuItem *m_mainmenu::item(const QString &path) const
{
    const QStringList names = path.split(u'.');
    MenuItem *current = nullptr;
    for (const QString &n : names) {
        if (!current) {
            for (MenuItem *top : m_items)
                if (top->name() == n)
                    current = top;
        } else {
            current = current->item(n);
        }
        if (!current)
            return nullptr;
    }
    return current;
}

void m_mainmenu::openByName(const QString &window) { ui::openWindow(window, mainWindow()); }

void m_mainmenu::openForAdministrator(const QString &window)
{
    if (g::name == QLatin1String("system")) {
        openByName(window);
        return;
    }
    msg::show(QStringLiteral("警告!"), QStringLiteral("请以系统管理员身份登录!"), msg::Icon::Exclamation);
}

QStringList m_mainmenu::calculatorCandidates()
{
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("galculator"),
            QStringLiteral("mate-calc"), QStringLiteral("xcalc")};
}

QString m_mainmenu::findCalculator()
{
    for (const QString &candidate : calculatorCandidates()) {
        const QString path = QStandardPaths::findExecutable(candidate);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

void m_mainmenu::startCalculator()
{
    // The calculator started last time, while it still runs, stands for "a calculator is open".
    g::sclass.clear();
    g::handle1 = m_calculatorPid > 0 && processProbe()(m_calculatorPid) ? m_calculatorPid : 0;
    if (g::handle1 > 0)
        return;
    const QString program = findCalculator();
    if (program.isEmpty()) {
        msg::show(QStringLiteral("提示"),
                  QStringLiteral("没有找到计算器程序。\n请安装 gnome-calculator、kcalc、galculator、mate-calc 或 xcalc 之一。"),
                  msg::Icon::Information);
        return;
    }
    m_calculatorPid = services::runCommand(program);
    if (m_calculatorPid <= 0)
        msg::show(QStringLiteral("提示"), QStringLiteral("计算器程序无法启动：") + program, msg::Icon::Exclamation);
}

void m_mainmenu::printerSetup()
{
    // The operator's choice in the dialog is the printer layer's affair.
    printerSetupHook()(mainWindow());
}

QString m_mainmenu::writeHelpFile()
{
    QFile source(QStringLiteral(":/help/index.html"));
    if (!source.open(QIODevice::ReadOnly))
        return {};
    const QByteArray content = source.readAll();

    QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (base.isEmpty())
        base = QDir::temp().filePath(QStringLiteral("quillanx"));
    const QString folder = QDir(base).filePath(QStringLiteral("help"));
    const QString path = QDir(folder).filePath(QStringLiteral("index.html"));

    // Rewrite only when the program carries a different text, so an open viewer keeps its file.
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content)
        return path;
    existing.close();
    if (!QDir().mkpath(folder))
        return {};
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.commit())
        return {};
    return path;
}

void m_mainmenu::showHelp()
{
    const QString path = writeHelpFile();
    if (path.isEmpty() || !services::openUrl(QUrl::fromLocalFile(path).toString())) {
        msg::show(QStringLiteral("提示"),
                  path.isEmpty() ? QStringLiteral("无法打开帮助文档。")
                                : QStringLiteral("无法打开帮助文档，请用浏览器打开：\n") + path,
                  msg::Icon::Exclamation);
    }
}

void m_mainmenu::setPrinterSetupHook(std::function<bool(QWidget *)> hook)
{
    printerSetupHook() = hook ? std::move(hook) : [](QWidget *parent) { return print::printerSetup(parent); };
}

void m_mainmenu::setProcessProbe(std::function<bool(qint64)> probe)
{
    processProbe() = probe ? std::move(probe) : [](qint64 pid) { return services::isProcessRunning(pid); };
}
