// Start-up: the registry writes, the connect through the data source and its failure paths, the
// single-instance test and the windows left on the screen.
#include "fixture.h"

#include "app/quillan.h"
#include "app/w_face.h"
#include "globals.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/window.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QtTest>

namespace {
// Records the texts a label shows, and those it painted.
class ShownTexts : public QObject {
public:
    QStringList texts, painted;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            texts << static_cast<QLabel *>(watched)->text();
        if (event->type() == QEvent::Paint && painted.value(painted.size() - 1) != static_cast<QLabel *>(watched)->text())
            painted << static_cast<QLabel *>(watched)->text();
        return false;
    }
};
} // namespace

class tst_startup : public QObject {
    Q_OBJECT
private slots:
    void writesTheDataSourceAndOpensLogin();
    void registryFailureEndsTheProgram();
    void connectFailureShowsTheEngineError();
    void notADatabaseSaysWhatToDo_data();
    void notADatabaseSaysWhatToDo();
    void databaseWithoutTablesFailsToConnect();
    void olderFileIsPreparedUnderTheSplash();
    void secondInstanceIsRefused();
    void splashPictureUnscaled();
    void olderTextOrderIsPreparedUnderTheSplash();
};

void tst_startup::writesTheDataSourceAndOpensLogin()
{
    Fixture f;
    Quillan app;
    QVERIFY(app.start());
    QVERIFY(f.boxes.isEmpty());

    const QString cwd = QDir::toNativeSeparators(QDir::currentPath());
    const QString dsn = Quillan::dataSourceKey();
    QCOMPARE(registry::value(Quillan::driverKey(), "UsageCount").toInt(), 2);
    QCOMPARE(registry::value(Quillan::translatorKey(), "UsageCount").toInt(), 2);
    QVERIFY(!registry::value(Quillan::driverKey(), "Driver").toString().isEmpty());
    QCOMPARE(registry::value(Quillan::driverKey(), "Setup"), registry::value(Quillan::driverKey(), "Driver"));
    QCOMPARE(registry::value(Quillan::dataSourcesKey(), "tolvane").toString(), Quillan::driverKey().section('\\', -1));
    QCOMPARE(registry::value(dsn, "DatabaseFile").toString(), cwd + "/DATABASE/nardelo.db");
    QVERIFY(registry::value(dsn, "Start").toString().startsWith(cwd));
    QCOMPARE(registry::value(dsn, "AutoStop").toString(), QString("Yes"));
    QCOMPARE(registry::value(dsn, "Integrated").toString(), QString("No"));

    QVERIFY(g::sqlca.isConnected());
    QCOMPARE(g::sqlca.DBMS, QString("ODBC"));
    QVERIFY(!g::sqlca.AutoCommit);
    QVERIFY(ui::findWindow("w_face"));
    const QWidget *preparing = ui::findWindow("w_face")->control("st_status");
    QVERIFY(preparing && !preparing->isVisible()); // nothing to prepare
    QVERIFY(ui::findWindow("w_pass"));
    QCOMPARE(g::we_1, 5);
}

void tst_startup::registryFailureEndsTheProgram()
{
    Fixture f;
    const QString blocked = f.dir() + "/store-is-a-folder";
    QDir().mkpath(blocked);
    registry::setStorePath(blocked);
    Quillan app;
    QVERIFY(!app.start());
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes[0].title, QString("error"));
    QCOMPARE(f.boxes[0].text, QString("error"));
    QCOMPARE(int(f.boxes[0].icon), int(msg::Icon::StopSign));
    QVERIFY(!g::sqlca.isConnected()); // no connect was tried
    QVERIFY(!ui::findWindow("w_pass"));
    QVERIFY(!ui::findWindow("w_face")); // the splash does not linger as the only window
}

void tst_startup::connectFailureShowsTheEngineError()
{
    Fixture f;
    QFile::remove(f.databasePath());
    Quillan app;
    QVERIFY(!app.start());
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes[0].title, QString::number(g::sqlca.SQLDBCode));
    // The prescribed text with the engine's, then what to do about it.
    QVERIFY(f.boxes[0].text.startsWith(QString("不能连接数据库。") + QChar(13) + "错误，" + g::sqlca.SQLErrText
                                       + QChar(13)));
    QVERIFY(f.boxes[0].text.endsWith(db::faultAdvice(g::sqlca.SQLDBCode)));
    QCOMPARE(int(f.boxes[0].icon), int(msg::Icon::None));
    QVERIFY(!ui::findWindow("w_face"));
    QVERIFY(!ui::findWindow("w_pass"));
    QVERIFY(!QFile::exists(f.databasePath())); // never an empty database in its place
}

void tst_startup::notADatabaseSaysWhatToDo_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("garbage") << QByteArray(4096, 'x');
    // SQLite would take it for an empty database, without the system's tables.
    QTest::newRow("empty file") << QByteArray();
}

void tst_startup::notADatabaseSaysWhatToDo()
{
    QFETCH(QByteArray, content);
    Fixture f;
    QFile file(f.databasePath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();
    Quillan app;
    QVERIFY(!app.start());
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes[0].title, QString("26"));
    QCOMPARE(f.boxes[0].text, QString("不能连接数据库。") + QChar(13) + "错误，" + g::sqlca.SQLErrText + QChar(13)
                                  + db::faultAdvice(26));
    QVERIFY(f.boxes[0].text.contains("不是本系统的数据库"));
    QVERIFY(!ui::findWindow("w_pass"));
    QCOMPARE(QFileInfo(f.databasePath()).size(), content.size()); // left as it was
}

void tst_startup::databaseWithoutTablesFailsToConnect()
{
    Fixture f;
    f.exec("DROP TABLE pass");
    Quillan app;
    QVERIFY(!app.start());
    QCOMPARE(f.boxes.size(), 1);
    QVERIFY(f.boxes[0].text.contains("pass"));
    QVERIFY(!ui::findWindow("w_pass"));
}

void tst_startup::olderFileIsPreparedUnderTheSplash()
{
    // A file made before its indexes: while they are built the splash says that the database is being prepared,
    // then the login window follows.
    Fixture f;
    const QString declared = "SELECT group_concat(name) FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL";
    const QString built = f.scalar(declared).toString();
    for (const QString &name : built.split(u','))
        f.exec("DROP INDEX " + name);
    Quillan::registerAllWindows();
    auto *face = qobject_cast<w_face *>(ui::openWindow("w_face"));
    QVERIFY(face);
    auto *status = face->get<ui::StaticText>("st_status");
    QVERIFY(status && !status->isVisible());
    ShownTexts shown;
    status->installEventFilter(&shown);

    Quillan app;
    QVERIFY(app.start());
    QVERIFY(f.boxes.isEmpty());
    QCOMPARE(shown.texts, QStringList({"正在准备数据库，请稍候……"}));
    QCOMPARE(shown.painted, QStringList({"正在准备数据库，请稍候……"})); // on the screen while the start-up waits
    QVERIFY(!status->isVisible());
    QVERIFY(ui::findWindow("w_pass"));
    QCOMPARE(f.scalar(declared).toString(), built);
}

void tst_startup::secondInstanceIsRefused()
{
    Fixture f;
    QLockFile running(f.dir() + "/instance.lock");
    QVERIFY(running.tryLock(0));
    Quillan app;
    QVERIFY(!app.start());
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes[0].title, QString("提示信息"));
    QCOMPARE(f.boxes[0].text, QString("Fennick用户登录系统已经运行！"));
    QCOMPARE(f.halts, QList<bool>({true})); // halt-close
    // It had rewritten the entries and connected before it refused to run.
    QVERIFY(registry::value(Quillan::dataSourceKey(), "DatabaseFile").isValid());
    QVERIFY(g::sqlca.isConnected());
    QVERIFY(!ui::findWindow("w_pass"));
}

void tst_startup::splashPictureUnscaled()
{
    Fixture f(false);
    w_face face;
    auto *p = face.get<ui::Picture>("p_1");
    QVERIFY(p);
    const QSize drawn = services::picture(p->pictureName()).deviceIndependentSize().toSize();
    QVERIFY(!drawn.isEmpty());
    QCOMPARE(p->pixmap().deviceIndependentSize().toSize(), drawn);
    // A control of another size shows the picture at its own size all the same.
    p->resize(p->size() * 2);
    QCOMPARE(p->pixmap().deviceIndependentSize().toSize(), drawn);
}

// A file whose indexes are in an older text order has them rebuilt at the connect, the splash saying so.
void tst_startup::olderTextOrderIsPreparedUnderTheSplash()
{
    Fixture f;
    f.exec("PRAGMA user_version = 0");
    Quillan::registerAllWindows();
    auto *face = qobject_cast<w_face *>(ui::openWindow("w_face"));
    QVERIFY(face);
    auto *status = face->get<ui::StaticText>("st_status");
    ShownTexts shown;
    status->installEventFilter(&shown);

    Quillan app;
    QVERIFY(app.start());
    QVERIFY(f.boxes.isEmpty());
    QCOMPARE(f.scalar("PRAGMA user_version").toInt(), gbk::kOrderVersion);
    QCOMPARE(shown.texts, QStringList({"正在准备数据库，请稍候……"}));
    QCOMPARE(shown.painted, QStringList({"正在准备数据库，请稍候……"})); // on the screen while the start-up waits
    QVERIFY(!status->isVisible());
    QVERIFY(ui::findWindow("w_pass"));
}

QTEST_MAIN(tst_startup)
#include "tst_startup.moc"
