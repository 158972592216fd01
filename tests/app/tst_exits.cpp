// Every way the real program ends leaves the database as one file in the rollback journal, holding every save:
// the program itself runs (a process of its own, headless), its windows worked by a preloaded driver. The same
// real program prints a long list without handing its heap back at every page.
#include "fixture.h"

#include "globals.h"
#include "platform/transaction.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <csignal>

class tst_exits : public QObject {
    Q_OBJECT
private slots:
    void endsWithOneFile_data();
    void endsWithOneFile();
    void replacedAfterASaveThenKilled_data();
    void replacedAfterASaveThenKilled();
    void longPrintKeepsItsHeap();

private:
    // Starts the real program in the fixture's folder, driven as `how` says, and waits until its work is done.
    static bool startDriven(QProcess &program, const Fixture &f, const QString &how);
};

bool tst_exits::startDriven(QProcess &program, const Fixture &f, const QString &how)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", f.dir());
    env.insert("XDG_CONFIG_HOME", f.dir() + "/config");
    env.insert("XDG_RUNTIME_DIR", f.dir());
    env.insert("LD_PRELOAD", EXIT_DRIVER);
    env.insert("QUILLANX_DRIVE", how);
    env.insert("CUPS_SERVER", "/nonexistent/test.sock"); // a print goes to a PDF, never to a printer here
    const QString mark = f.dir() + "/used";
    env.insert("QUILLANX_DRIVE_MARK", mark);
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(f.dir());
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QUILLANX, {});
    if (!program.waitForStarted())
        return false;
    QDeadlineTimer limit(60000);
    while (!QFile::exists(mark) && !limit.hasExpired() && program.state() == QProcess::Running)
        QTest::qWait(20);
    return QFile::exists(mark);
}

namespace {
// Enough payees that the list the driver opens stays half read.
void fillPayees(Fixture &f)
{
    f.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
           "INSERT INTO skrbook (skrname, skrbank) SELECT 'payee' || i, 'bank' FROM n");
    QSqlDatabase::database("fixture-direct", false).close();
}

QVariant scalarOf(const QString &path, const QString &sql)
{
    QVariant value;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase("QSQLITE", "probe");
        d.setDatabaseName(path);
        if (d.open() && db::registerGbkCollation(d)) {
            QSqlQuery q(d);
            if (q.exec(sql) && q.next())
                value = q.value(0);
        }
    }
    QSqlDatabase::removeDatabase("probe");
    return value;
}
} // namespace

void tst_exits::endsWithOneFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("signal");
    QTest::newRow("main window, close picture, Yes") << "main-close-picture" << 0;
    QTest::newRow("main window, title bar close, Yes") << "main-close" << 0;
    QTest::newRow("login cancelled") << "login-cancel" << 0;
    QTest::newRow("login window closed") << "login-close" << 0;
    QTest::newRow("SIGTERM") << "use" << SIGTERM;
    QTest::newRow("SIGHUP at logout") << "use" << SIGHUP;
    // A halt ends Qt's own dialogs over the printer dialog too; nobody is there to close them.
    QTest::newRow("SIGTERM over the printer dialog's 属性") << "printer-properties" << SIGTERM;
    QTest::newRow("SIGTERM over the printer dialog's file chooser") << "printer-file" << SIGTERM;
}

void tst_exits::endsWithOneFile()
{
    QFETCH(QString, how);
    QFETCH(int, signal);
    Fixture f;
    fillPayees(f);
    QProcess program;
    QVERIFY(startDriven(program, f, how));
    if (signal)
        ::kill(pid_t(program.processId()), signal);
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);

    const QString path = f.databasePath();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(20);
    QCOMPARE(int(header.at(18)), 1); // rollback journal
    QCOMPARE(int(header.at(19)), 1);
    QVERIFY(!QFile::exists(path + "-wal"));
    QVERIFY(!QFile::exists(path + "-shm"));
    // The file alone holds the saves: a copy of it has them.
    QVERIFY(QFile::copy(path, f.dir() + "/copy.db"));
    QCOMPARE(scalarOf(f.dir() + "/copy.db", "SELECT count(*) FROM xjzp").toInt(), 20);
}

void tst_exits::replacedAfterASaveThenKilled_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("the list closed before the save") << "save";
    // The save then stays in the log until the program notices the replacement.
    QTest::newRow("a list left half read") << "use";
}

void tst_exits::replacedAfterASaveThenKilled()
{
    // A save, then another file put in the database's place by a rename while the program runs, then the
    // program killed: the next start finds each file with its own rows, none of the old file's in the new one.
    QFETCH(QString, how);
    Fixture f;
    fillPayees(f);
    const QString path = f.databasePath();
    const QString other = f.dir() + "/other.db";
    QVERIFY(QFile::copy(path, other));
    {
        QSqlDatabase d = QSqlDatabase::addDatabase("QSQLITE", "other");
        d.setDatabaseName(other);
        QVERIFY(d.open() && db::registerGbkCollation(d));
        QVERIFY(QSqlQuery(d).exec("INSERT INTO xjzp (rq, zphm, an) VALUES ('2026-03-01', 'OTHER', 2)"));
    }
    QSqlDatabase::removeDatabase("other");

    QProcess program;
    QVERIFY(startDriven(program, f, how));
    QVERIFY(QFile::rename(path, path + ".old"));
    QVERIFY(QFile::rename(other, path));
    // The old file's log, left at the path, is emptied into the old file once the program sees the change.
    QTRY_COMPARE(QFileInfo(path + "-wal").size(), 0);
    qWarning() << "state" << program.state() << program.exitStatus() << program.exitCode();
    program.kill();
    QVERIFY(program.waitForFinished(60000));

    QVERIFY(f.connect());
    QString rows;
    g::sqlca.selectInto("SELECT group_concat(zphm) FROM xjzp", {}, {rows});
    QCOMPARE(rows, QString("OTHER"));
    g::sqlca.disconnect();
    QCOMPARE(scalarOf(path, "PRAGMA integrity_check").toString(), QString("ok"));
    QCOMPARE(scalarOf(path + ".old", "SELECT count(*) FROM xjzp").toInt(), 20);
}

// The payment list of 9,000 rows (250 pages), printed by the real program: each page's PDF stream and
// compressor are made and freed again, and the heap must keep that memory between pages rather than hand it
// back and fault it in again (near forty faults a page when it did; six with it kept, the rows' reads and the
// document's own growth).
void tst_exits::longPrintKeepsItsHeap()
{
    Fixture f;
    f.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 9000) "
           "INSERT INTO xjzp (rq, bz, zphm, xkr, shbank, shcode, an, fkhm, fkzh, kpr) "
           "SELECT date('2020-01-01', '+' || (i / 10) || ' days'), '转账支票', printf('%08d', i), "
           "'收款单位' || (i % 97), '中国工商银行' || (i % 13) || '支行', printf('6222%012d', i * 7919), "
           "i * 13.37, '付款单位', '1234567890123', '张' FROM n");
    QSqlDatabase::database("fixture-direct", false).close();
    QProcess program;
    QVERIFY(startDriven(program, f, "print-list"));
    QFile mark(f.dir() + "/used");
    QVERIFY(mark.open(QIODevice::ReadOnly));
    const QString said = QString::fromUtf8(mark.readAll());
    program.kill();
    program.waitForFinished();
    const long faults = said.section(u' ', 0, 0).section(u'=', 1).toLong();
    const int pages = said.section(u' ', 1, 1).section(u'=', 1).toInt();
    QVERIFY2(pages >= 200, qPrintable(said));
    QVERIFY2(faults < 15L * pages, qPrintable(said));
}

QTEST_MAIN(tst_exits)
#include "tst_exits.moc"
