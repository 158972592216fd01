// The global transaction's contract: connect through the registered data source, status after every
// statement, singleton selects, cursors, AutoCommit off, bound values, the GBK width refusal, and the write-ahead
// log's files where a file or folder is read-only or they are another account's.
#include "fixture.h"

#include "books/sdwskrbk.h"
#include "dataview/dataview.h"
#include "globals.h"
#include "ordinaryuser.h"
#include "platform/registry.h"
#include "platform/transaction.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSqlQuery>
#include <QtTest>

class tst_transaction : public QObject {
    Q_OBJECT
private slots:
    void connectFailures_data();
    void connectFailures();
    void connectNeverCreatesTheFile();
    void singletonSelect();
    void cursorFetchesUntil100();
    void cursorEndsOnError();
    void autoCommitOffNeedsCommit();
    void commitWithNothingPending();
    void boundValuesAreNeverSql();
    void widthRefusal_data();
    void widthRefusal();
    void datesAreStoredAsIsoText();
    void writeAheadLogWhileConnected();
    void lockWaitToldToTheApplication();
    void logEmptiedWhenNoViewHoldsIt();
    void logEmptiedBySaveWithNoViewOpen();
    void oneLockWaitAtConnect();
    void readOnlyFileInTheLogIsNotConnectedAfresh();
    void logFilesInAReadOnlyFolderTakeTheSave_data();
    void logFilesInAReadOnlyFolderTakeTheSave();
    void logFilesOfAnotherAccountAreNamed_data();
    void logFilesOfAnotherAccountAreNamed();
};

namespace {
const char *const kInsert = "INSERT INTO xjzp (rq, zphm, an) VALUES ('2026-03-05', ?, 1)";

// A thousand payees: a list of them stays half read.
void fillPayees(Fixture &f)
{
    f.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
           "INSERT INTO skrbook (skrname, skrbank) SELECT 'payee' || i, 'bank' FROM n");
}

// The file as its owner left it in the log (its log files gone, the fixture's own connection closed), its
// folder and itself given the modes, the folders above open to the ordinary user.
bool leaveInTheLog(Fixture &f, mode_t folder, mode_t file)
{
    if (!f.connect()) // the data source registered
        return false;
    g::sqlca.disconnect();
    f.exec("PRAGMA journal_mode = WAL");
    QSqlDatabase::database("fixture-direct", false).close();
    setMode(f.dir(), 0755);
    setMode(f.dir() + "/registry.ini", 0644);
    setMode(QFileInfo(f.databasePath()).absolutePath(), folder);
    setMode(f.databasePath(), file);
    return true;
}

// Empty log files beside the database, as another program that has the file open leaves them.
void makeLogFiles(const QString &database, mode_t mode)
{
    for (const char *suffix : {"-wal", "-shm"}) {
        QFile file(database + suffix);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        setMode(database + suffix, mode);
    }
}
} // namespace

void tst_transaction::connectFailures_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("errorContains");
    QTest::newRow("missing file") << "missing" << "nardelo.db";
    QTest::newRow("not a database") << "garbage" << "";
    // A zero-length file would be an empty SQLite database: it is no database of the system.
    QTest::newRow("empty file") << "empty" << "数据库文件是空的";
    QTest::newRow("tables missing") << "table" << "缺少数据表 pass";
    QTest::newRow("no data source") << "nodsn" << "tolvane";
}

void tst_transaction::connectFailures()
{
    QFETCH(QString, setup);
    QFETCH(QString, errorContains);
    Fixture f;
    if (setup == "missing") {
        QFile::remove(f.databasePath());
    } else if (setup == "garbage") {
        QFile file(f.databasePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(4096, 'x'));
    } else if (setup == "empty") {
        QFile::remove(f.databasePath());
        QFile file(f.databasePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (setup == "table") {
        f.exec("DROP TABLE pass");
    }
    if (setup == "nodsn") {
        g::sqlca.DBParm = "ConnectString='DSN=tolvane;UID=dba;PWD=h40392KT'";
        g::sqlca.connect();
    } else {
        QVERIFY(!f.connect());
    }
    QCOMPARE(g::sqlca.SQLCode, -1);
    QVERIFY(!g::sqlca.isConnected());
    QVERIFY(g::sqlca.SQLDBCode != 0);
    QVERIFY2(g::sqlca.SQLErrText.contains(errorContains), qPrintable(g::sqlca.SQLErrText));
}

void tst_transaction::connectNeverCreatesTheFile()
{
    Fixture f;
    QFile::remove(f.databasePath());
    QVERIFY(!f.connect());
    QVERIFY(!QFile::exists(f.databasePath()));
}

void tst_transaction::singletonSelect()
{
    Fixture f;
    QVERIFY(f.connect());
    f.exec("INSERT INTO pass (id, name, passwd) VALUES (2, 'ann', 'a1'), (3, 'ann', 'a2')");

    QString name = "before";
    int id = -5;
    g::sqlca.selectInto("SELECT name, id FROM pass WHERE id = ?", {1}, {name, id});
    QCOMPARE(g::sqlca.SQLCode, 0);
    QCOMPARE(name, QString("system"));
    QCOMPARE(id, 1);

    name = "kept";
    g::sqlca.selectInto("SELECT name FROM pass WHERE id = ?", {99}, {name});
    QCOMPARE(g::sqlca.SQLCode, 100);
    QCOMPARE(name, QString("kept"));

    g::sqlca.selectInto("SELECT passwd FROM pass WHERE name = ?", {"ann"}, {name});
    QCOMPARE(g::sqlca.SQLCode, -1);
    QCOMPARE(name, QString("kept"));

    g::sqlca.selectInto("SELECT nosuchcolumn FROM pass", {}, {name});
    QCOMPARE(g::sqlca.SQLCode, -1);
    QVERIFY(!g::sqlca.SQLErrText.isEmpty());
}

void tst_transaction::cursorFetchesUntil100()
{
    Fixture f;
    QVERIFY(f.connect());
    db::Cursor c(g::sqlca, "SELECT prid, psname FROM prsz WHERE prid <= ? ORDER BY prid", {3});
    c.open();
    QCOMPARE(g::sqlca.SQLCode, 0);
    int prid = 0;
    QString psname;
    QStringList names;
    while (c.fetch({prid, psname}) == 0)
        names << psname;
    QCOMPARE(g::sqlca.SQLCode, 100);
    QCOMPARE(names, QStringList({"格式一", "格式二", "格式三"}));
    QCOMPARE(prid, 3); // the fetch that returned no row wrote nothing
    c.close();
}

void tst_transaction::cursorEndsOnError()
{
    Fixture f;
    QVERIFY(f.connect());
    db::Cursor c(g::sqlca, "SELECT nosuch FROM prsz");
    c.open();
    QCOMPARE(g::sqlca.SQLCode, -1);
    QString s;
    QCOMPARE(c.fetch({s}), -1); // a loop "while fetch == 0" ends
}

void tst_transaction::autoCommitOffNeedsCommit()
{
    Fixture f;
    QVERIFY(f.connect());
    g::sqlca.execute("INSERT INTO bs_1 (cid, ctext, ccode) VALUES (?, ?, ?)", {"A1", "房租", ""});
    QCOMPARE(g::sqlca.SQLCode, 0);
    g::sqlca.rollback();
    QCOMPARE(f.scalar("SELECT count(*) FROM bs_1").toInt(), 0);

    g::sqlca.execute("INSERT INTO bs_1 (cid, ctext, ccode) VALUES (?, ?, ?)", {"A2", "水费", ""});
    g::sqlca.commit();
    QCOMPARE(g::sqlca.SQLCode, 0);
    QCOMPARE(f.scalar("SELECT ctext FROM bs_1 WHERE cid = 'A2'").toString(), QString("水费"));
}

void tst_transaction::commitWithNothingPending()
{
    Fixture f;
    QVERIFY(f.connect());
    g::sqlca.commit();
    QCOMPARE(g::sqlca.SQLCode, 0);
}

void tst_transaction::boundValuesAreNeverSql()
{
    Fixture f;
    QVERIFY(f.connect());
    const QString nasty = "x'); DROP TABLE pass; --";
    QString got;
    g::sqlca.selectInto("SELECT name FROM pass WHERE name = ?", {nasty}, {got});
    QCOMPARE(g::sqlca.SQLCode, 100);
    g::sqlca.execute("INSERT INTO bs_1 (cid, ctext, ccode) VALUES (?, ?, ?)", {"Q", nasty, ""});
    g::sqlca.commit();
    QCOMPARE(f.scalar("SELECT ctext FROM bs_1 WHERE cid = 'Q'").toString(), nasty);
    QCOMPARE(f.scalar("SELECT count(*) FROM pass").toInt(), 1);
}

void tst_transaction::widthRefusal_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("args");
    QTest::addColumn<bool>("refused");
    const QString insert = "INSERT INTO xjzp ( rq , bz , xkr , an ) VALUES ( ? , '现金支票' , ? , ? )";
    QTest::newRow("30 CJK chars fit 60 bytes") << insert << QVariantList{"2026-03-05", QString(30, QChar(0x5F20)), 1.0}
                                               << false;
    QTest::newRow("31 CJK chars are 62 bytes") << insert << QVariantList{"2026-03-05", QString(31, QChar(0x5F20)), 1.0}
                                               << true;
    QTest::newRow("60 ASCII fit") << insert << QVariantList{"2026-03-05", QString(60, 'a'), 1.0} << false;
    QTest::newRow("59 ASCII + 1 CJK = 61") << insert
                                           << QVariantList{"2026-03-05", QString(59, 'a') + QChar(0x5F20), 1.0}
                                           << true;
    QTest::newRow("update set list") << "UPDATE xjzp SET bz = ?, shcode = ? WHERE line = ?"
                                     << QVariantList{"转帐支票", QString(26, '9'), 1} << true;
    QTest::newRow("literal too long") << "INSERT INTO prsz (prid, psname) VALUES (?, '一二三四')" << QVariantList{9}
                                      << true;
}

void tst_transaction::widthRefusal()
{
    QFETCH(QString, sql);
    QFETCH(QVariantList, args);
    QFETCH(bool, refused);
    Fixture f;
    QVERIFY(f.connect());
    f.exec("INSERT INTO xjzp (rq, bz) VALUES ('2026-03-01', 'x')");
    const int before = f.scalar("SELECT count(*) FROM xjzp").toInt();
    g::sqlca.execute(sql, args);
    g::sqlca.commit();
    if (refused) {
        QCOMPARE(g::sqlca.SQLCode, 0); // the commit itself succeeds: nothing was pending
        g::sqlca.execute(sql, args);
        QCOMPARE(g::sqlca.SQLCode, -1);
        QVERIFY2(g::sqlca.SQLErrText.contains("过长"), qPrintable(g::sqlca.SQLErrText));
        QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), before);
        QCOMPARE(f.scalar("SELECT bz FROM xjzp").toString(), QString("x"));
    } else {
        QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), before + 1);
    }
}

void tst_transaction::datesAreStoredAsIsoText()
{
    Fixture f;
    QVERIFY(f.connect());
    g::sqlca.execute("INSERT INTO xjzp (rq, bz, an) VALUES (?, ?, ?)", {QDate(2026, 3, 5), "现金支票", 12.3});
    g::sqlca.commit();
    QCOMPARE(f.scalar("SELECT rq FROM xjzp").toString(), QString("2026-03-05"));
    QDate d;
    double an = 0;
    g::sqlca.selectInto("SELECT rq, an FROM xjzp", {}, {d, an});
    QCOMPARE(d, QDate(2026, 3, 5));
    QCOMPARE(an, 12.3);
}


namespace {
// The file's journal as a connection of its own finds it.
QString journalMode(const QString &path)
{
    QString mode;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase("QSQLITE", "journal-probe");
        d.setDatabaseName(path);
        QSqlQuery q(d);
        if (d.open() && q.exec("PRAGMA journal_mode") && q.next())
            mode = q.value(0).toString();
    }
    QSqlDatabase::removeDatabase("journal-probe");
    return mode;
}
} // namespace

void tst_transaction::writeAheadLogWhileConnected()
{
    Fixture f;
    QVERIFY(f.connect());
    QVERIFY(g::sqlca.readsApart());
    QCOMPARE(journalMode(f.databasePath()), QString("wal"));
    QString synchronous;
    g::sqlca.selectInto("PRAGMA synchronous", {}, {synchronous});
    QCOMPARE(synchronous, QString("2")); // FULL: every commit is on the disk

    // The last program out leaves one file in the rollback journal.
    g::sqlca.disconnect();
    QCOMPARE(journalMode(f.databasePath()), QString("delete"));
    QVERIFY(!QFile::exists(f.databasePath() + "-wal"));

    // While another program has the file open, the log stays for it.
    QVERIFY(f.connect());
    QCOMPARE(f.scalar("SELECT count(*) FROM pass").toInt() > 0, true);
    g::sqlca.disconnect();
    QCOMPARE(f.scalar("PRAGMA journal_mode").toString(), QString("wal"));

    // Turned off, the connection keeps the rollback journal.
    QSqlDatabase::database("fixture-direct", false).close();
    g::sqlca.writeAheadLog = false;
    QVERIFY(f.connect());
    g::sqlca.writeAheadLog = true;
    QVERIFY(!g::sqlca.readsApart());
    QCOMPARE(journalMode(f.databasePath()), QString("delete"));
}

void tst_transaction::lockWaitToldToTheApplication()
{
    // A write that waits for another program's lock tells the application once when the wait starts and once
    // when the statement has given up; the database layer shows no cursor of its own meanwhile.
    Fixture f;
    QVERIFY(f.connect());
    QList<bool> told;
    bool cursorWhileWaiting = true;
    db::setWaitIndicator([&](bool waiting) {
        if (waiting) {
            told << true;
            cursorWhileWaiting = QGuiApplication::overrideCursor() != nullptr;
        } else if (!told.isEmpty() && told.last()) {
            told << false;
        }
    });
    g::sqlca.lockWaitMs = 300;
    f.exec("BEGIN IMMEDIATE");
    g::sqlca.execute("INSERT INTO bs_1 (cid, ctext) VALUES ('1', 'a')");
    f.exec("ROLLBACK");
    g::sqlca.lockWaitMs = 5000;
    QCOMPARE(g::sqlca.SQLCode, -1);
    QCOMPARE(told, QList<bool>({true, false}));
    QVERIFY(!cursorWhileWaiting);

    // Statements that wait for nothing tell it nothing more.
    g::sqlca.execute("INSERT INTO bs_1 (cid, ctext) VALUES ('1', 'a')");
    QCOMPARE(g::sqlca.SQLCode, 0);
    QCOMPARE(told, QList<bool>({true, false}));
    db::setWaitIndicator({});
}

void tst_transaction::logEmptiedWhenNoViewHoldsIt()
{
    // A list left half read holds the log back while the saves go on; once it closes, the log is emptied into
    // the file.
    Fixture f;
    f.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
           "INSERT INTO skrbook (skrname, skrbank) SELECT 'payee' || i, 'bank' FROM n");
    QSqlDatabase::database("fixture-direct", false).close();
    QVERIFY(f.connect());
    const QString wal = f.databasePath() + "-wal";
    {
        dw::DataView view;
        view.setDefinition(brevik::sdwskrbk());
        view.setTransaction(g::sqlca);
        QCOMPARE(view.retrieve({"%"}), dw::Buffer::kReadRows);
        for (int n = 1; n <= 500; ++n) {
            g::sqlca.execute("INSERT INTO xjzp (rq, zphm, an) VALUES ('2026-03-05', ?, 1)", {QString::number(n)});
            g::sqlca.commit();
            QCOMPARE(g::sqlca.SQLCode, 0);
        }
        QVERIFY(QFileInfo(wal).size() > 0);
    }
    QCOMPARE(QFileInfo(wal).size(), 0);
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 500);
}

void tst_transaction::logEmptiedBySaveWithNoViewOpen()
{
    // With no view open, each save is emptied from the log into the file as it commits: a file replaced or
    // copied after it is whole without its log.
    Fixture f;
    QSqlDatabase::database("fixture-direct", false).close();
    QVERIFY(f.connect());
    QVERIFY(g::sqlca.readsApart());
    const QString wal = f.databasePath() + "-wal";
    for (int n = 1; n <= 3; ++n) {
        g::sqlca.execute("INSERT INTO xjzp (rq, zphm, an) VALUES ('2026-03-05', ?, 1)", {QString::number(n)});
        g::sqlca.commit();
        QCOMPARE(g::sqlca.SQLCode, 0);
        QCOMPARE(QFileInfo(wal).size(), 0);
    }
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 3);
}

void tst_transaction::oneLockWaitAtConnect()
{
    // An older file (an index missing) while another program reads it: the index build waits for the reader
    // once; the switch to the log does not wait for it again.
    Fixture f;
    f.exec("DROP INDEX xjzp_rq");
    QSqlDatabase::database("fixture-direct", false).close();
    const QString holder = "reader";
    {
        QSqlDatabase d = QSqlDatabase::addDatabase("QSQLITE", holder);
        d.setDatabaseName(f.databasePath());
        QVERIFY(d.open());
        QSqlQuery reading(d);
        reading.setForwardOnly(true);
        QVERIFY(reading.exec("SELECT id FROM pass UNION ALL SELECT id FROM pass") && reading.next());
        g::sqlca.lockWaitMs = 300;
        QVERIFY(f.connect());
        g::sqlca.lockWaitMs = 5000;
        QCOMPARE(g::sqlca.lockWaits, 1);
        QCOMPARE(g::sqlca.indexFault & 0xff, 5); // busy: the next connect tries again
        QVERIFY(!g::sqlca.readsApart());
    }
    QSqlDatabase::removeDatabase(holder);
    g::sqlca.disconnect();
}

void tst_transaction::readOnlyFileInTheLogIsNotConnectedAfresh()
{
    // A read-only file its owner left in the log: the list reads on a connection of its own, and a refused save,
    // and the reads after it, leave it half read as it is. Connected afresh, the file would be read-only again,
    // and the list would be read to its end or let go for nothing.
    Fixture f;
    fillPayees(f);
    QVERIFY(leaveInTheLog(f, 0777, 0444));
    AsOrdinaryUser user;
    if (!user.ok())
        QSKIP("running as root without a way to act as an ordinary user");
    g::sqlca.connect();
    QCOMPARE(g::sqlca.SQLCode, 0);
    QVERIFY(g::sqlca.readsApart());
    dw::DataView halfRead;
    halfRead.setDefinition(brevik::sdwskrbk());
    halfRead.setTransaction(g::sqlca);
    QCOMPARE(halfRead.retrieve({"%"}), dw::Buffer::kReadRows);
    for (int n = 0; n < 2; ++n) {
        g::sqlca.execute(kInsert, {"REFUSED"});
        QCOMPARE(g::sqlca.SQLCode, -1);
        QVERIFY2(db::faultMessage(g::sqlca).startsWith("数据库文件是只读的"), qPrintable(db::faultMessage(g::sqlca)));
        g::sqlca.rollback();
        int count = -1;
        g::sqlca.selectInto("SELECT count(*) FROM xjzp", {}, {count});
        QCOMPARE(g::sqlca.SQLCode, 0);
        QCOMPARE(count, 0);
    }
    QVERIFY2(!halfRead.buffer().failed(), qPrintable(halfRead.buffer().failureText()));
    QVERIFY(!halfRead.buffer().complete());
    g::sqlca.disconnect();
}

void tst_transaction::logFilesInAReadOnlyFolderTakeTheSave_data()
{
    QTest::addColumn<bool>("beforeTheConnect"); // else they appear after it: another program opened the file
    QTest::newRow("there at the connect") << true;
    QTest::newRow("made after the connect") << false;
}

void tst_transaction::logFilesInAReadOnlyFolderTakeTheSave()
{
    // A file in the log in a read-only folder, its -wal and -shm there and writable: the save goes through
    // them, though no journal could be made in the folder.
    QFETCH(bool, beforeTheConnect);
    Fixture f;
    QVERIFY(leaveInTheLog(f, 0555, 0666));
    const QString path = f.databasePath();
    if (beforeTheConnect)
        makeLogFiles(path, 0666);
    {
        AsOrdinaryUser user;
        if (!user.ok())
            QSKIP("running as root without a way to act as an ordinary user");
        g::sqlca.connect();
        QCOMPARE(g::sqlca.SQLCode, 0);
    }
    if (!beforeTheConnect) {
        int count = -1;
        g::sqlca.selectInto("SELECT count(*) FROM xjzp", {}, {count});
        QCOMPARE(count, 0);
        makeLogFiles(path, 0666);
    }
    {
        AsOrdinaryUser user;
        g::sqlca.execute(kInsert, {"SAVED"});
        QCOMPARE(g::sqlca.SQLCode, 0);
        g::sqlca.commit();
        QVERIFY2(g::sqlca.SQLCode == 0, qPrintable(db::faultMessage(g::sqlca)));
        g::sqlca.disconnect();
    }
    setMode(QFileInfo(path).absolutePath(), 0777);
    QCOMPARE(f.scalar("SELECT group_concat(zphm) FROM xjzp").toString(), QString("SAVED"));
}

void tst_transaction::logFilesOfAnotherAccountAreNamed_data()
{
    QTest::addColumn<QStringList>("theirs"); // the log files another account's program left, with its permissions
    QTest::newRow("both") << QStringList{"-wal", "-shm"};
    QTest::newRow("the -shm") << QStringList{"-shm"};
    QTest::newRow("the -wal") << QStringList{"-wal"};
}

void tst_transaction::logFilesOfAnotherAccountAreNamed()
{
    // Log files that another account's program left beside a file and in a folder this account may write: the
    // refusal names the files that stop the save, not the folder and the file.
    QFETCH(QStringList, theirs);
    Fixture f;
    QVERIFY(leaveInTheLog(f, 0777, 0666));
    const QString path = f.databasePath();
    makeLogFiles(path, 0666);
    for (const QString &suffix : theirs)
        setMode(path + suffix, 0644);
    AsOrdinaryUser user;
    if (!user.ok())
        QSKIP("running as root without a way to act as an ordinary user");
    g::sqlca.connect();
    g::sqlca.execute(kInsert, {"REFUSED"});
    if (g::sqlca.SQLCode == 0)
        g::sqlca.commit();
    QCOMPARE(g::sqlca.SQLCode, -1);
    const QString text = db::faultMessage(g::sqlca);
    QVERIFY2(text.startsWith("数据库文件旁的 "), qPrintable(text));
    for (const char *suffix : {"-wal", "-shm"})
        QVERIFY2(text.contains(QDir::toNativeSeparators(path + suffix)) == theirs.contains(suffix), qPrintable(text));
    QVERIFY2(!text.contains("DATABASE 文件夹"), qPrintable(text));
    g::sqlca.disconnect();
}

QTEST_MAIN(tst_transaction)
#include "tst_transaction.moc"
