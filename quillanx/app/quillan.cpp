#include "app/quillan.h"

#include "app/w_face.h"
#include "app/windows.h"
#include "brevik.h"
#include "globals.h"
#include "ostrel.h"
#include "platform/messagebox.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/window.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QPointer>

namespace {
const QString kDriverName = QStringLiteral("SQLite 3 (Qt QSQLITE)");
const QString kDataSource = QStringLiteral("tolvane");

// The in-process SQLite driver stands where an ODBC driver would: its plugin file is the driver.
QString driverFile()
{
    const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/sqldrivers/libqsqlite.so");
    return QDir::toNativeSeparators(plugin);
}
} // namespace

QString Quillan::driverKey() { return QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBCINST.INI\\") + kDriverName; }
QString Quillan::translatorKey() { return driverKey() + QStringLiteral(" Translator"); }
QString Quillan::dataSourcesKey()
{
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\ODBC Data Sources");
}
QString Quillan::dataSourceKey() { return QStringLiteral("HKEY_CURRENT_USER\\Software\\ODBC\\ODBC.INI\\") + kDataSource; }
QString Quillan::connectParameters()
{
    return QStringLiteral("ConnectString='DSN=tolvane;UID=dba;PWD=h40392KT'");
}

Quillan::Quillan()
{
    g::resetAll();
    services::installFontSubstitutes();
    services::installGridCellStyle();
    services::installBusyCursor();
    services::installTranslations();
    QApplication::setQuitOnLastWindowClosed(true);
}

Quillan::~Quillan() { g::sqlca.disconnect(); }

void Quillan::registerAllWindows()
{
    registerProgramWindows();
    brevik::registerWindows();
    ostrel::registerWindows();
}

bool Quillan::start()
{
    registerAllWindows();

    // 1. The environment.
    services::screenSize(g::ge_every.screenWidth, g::ge_every.screenHeight);

    // 2. The splash window.
    ui::openWindow(QStringLiteral("w_face"));

    // 3. The paths, from the current directory at this moment.
    const QString sep = QDir::separator();
    const QString datadrv1 = driverFile();
    const QString datadrv2 = QDir::toNativeSeparators(QApplication::applicationDirPath() + sep + QStringLiteral("libcommon.so"));
    const QString datadrv3 = services::currentDirectory() + sep + QStringLiteral("quillanx (embedded engine)");
    const QString datapath1 = services::currentDirectory() + sep + QStringLiteral("DATABASE") + sep + QStringLiteral("nardelo.db");

    // 4. The twelve registry entries, every value rewritten at every start, in one write of the store; its
    //    result is the first entry's.
    using registry::ValueType;
    int answer[6] = {0, 0, 0, 0, 0, 0};
    answer[1] = registry::setValues({
        {driverKey(), QStringLiteral("UsageCount"), ValueType::DWord, 2},
        {driverKey(), QStringLiteral("Driver"), ValueType::String, datadrv1},
        {driverKey(), QStringLiteral("Setup"), ValueType::String, datadrv1},
        {translatorKey(), QStringLiteral("UsageCount"), ValueType::DWord, 2},
        {translatorKey(), QStringLiteral("Driver"), ValueType::String, datadrv2},
        {translatorKey(), QStringLiteral("Setup"), ValueType::String, datadrv2},
        {dataSourcesKey(), kDataSource, ValueType::String, kDriverName},
        {dataSourceKey(), QStringLiteral("Driver"), ValueType::String, datadrv1},
        {dataSourceKey(), QStringLiteral("Start"), ValueType::String, datadrv3},
        {dataSourceKey(), QStringLiteral("DatabaseFile"), ValueType::String, datapath1},
        {dataSourceKey(), QStringLiteral("AutoStop"), ValueType::String, QStringLiteral("Yes")},
        {dataSourceKey(), QStringLiteral("Integrated"), ValueType::String, QStringLiteral("No")},
    });

    // 5. Only now the first write's result. Without a data source nothing can follow: end the program
    //    rather than leave the borderless splash as the only window.
    if (answer[1] == -1) {
        msg::show(QStringLiteral("error"), QStringLiteral("error"), msg::Icon::StopSign);
        ui::closeWindowByName(QStringLiteral("w_face"));
        return false;
    }

    // 6. The global transaction.
    g::sqlca.DBMS = QStringLiteral("ODBC");
    g::sqlca.AutoCommit = false;
    g::sqlca.DBParm = connectParameters();
    // An older file gets its missing indexes during the connect; the splash says why the start waits.
    const QPointer<w_face> face = qobject_cast<w_face *>(ui::findWindow(QStringLiteral("w_face")));
    g::sqlca.preparing = [face](const QString &text) {
        if (face)
            face->showStatus(text);
    };
    g::sqlca.connect();
    g::sqlca.preparing = {};

    // 7. A failed connect ends the start-up with no window left.
    if (g::sqlca.SQLCode != 0) {
        // The prescribed text, then what the fault means and what the operator can do about it.
        QString text = QStringLiteral("不能连接数据库。") + QChar(13) + QStringLiteral("错误，") + g::sqlca.SQLErrText;
        if (const QString advice = db::faultAdvice(g::sqlca.SQLDBCode, g::sqlca.lockWaitMs); !advice.isEmpty())
            text += QChar(13) + advice;
        msg::show(QString::number(g::sqlca.SQLDBCode), text);
        ui::closeWindowByName(QStringLiteral("w_face"));
        return false;
    }

    // 8. Single instance: a running login or main window of this user holds the lock.
    g::sclass.clear();
    g::handle1 = services::anotherInstanceRunning() ? 1 : 0;
    if (g::handle1 > 0) {
        msg::show(QStringLiteral("提示信息"), QStringLiteral("Fennick用户登录系统已经运行！"));
        services::haltClose();
        return false;
    }
    services::acquireInstanceLock();

    // Indexes that could not be added for want of disk space: the program works without them, but the operator
    // should know why it is slow and what to do.
    if (const QString notice = db::indexFaultNotice(g::sqlca.indexFault); !notice.isEmpty())
        msg::show(QStringLiteral("提示信息"), notice, msg::Icon::Exclamation);

    // 9. The login window.
    ui::openWindow(QStringLiteral("w_pass"));
    // 10. There are no toolbars to lock.
    return true;
}
