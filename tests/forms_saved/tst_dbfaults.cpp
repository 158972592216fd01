// Database faults made real on the test's own database file: read-only file, read-only folder, another
// program holding the write lock, a full file system, the file replaced or damaged. The operator is told what
// happened and what to do, followed by the engine's text; nothing is stored and the sheet keeps its values for
// the next try, which succeeds once the cause is gone, without a restart.
#include "../cheques/chequetest.h"

#include "app/quillan.h"
#include "books/grid_editor.h"
#include "books/sdwskrbk.h"
#include "brevik.h"
#include "dataview/dataview.h"
#include "ordinaryuser.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <atomic>
#include <sys/mount.h>
#include <thread>

using namespace chequetest;

namespace {
// A second program's connection that holds the write lock until it is destroyed.
class LockHolder {
public:
    explicit LockHolder(const QString &path)
    {
        QSqlDatabase d = QSqlDatabase::addDatabase("QSQLITE", "holder");
        d.setDatabaseName(path);
        m_ok = d.open() && QSqlQuery(d).exec("BEGIN IMMEDIATE");
    }
    ~LockHolder()
    {
        {
            QSqlDatabase d = QSqlDatabase::database("holder", false);
            QSqlQuery(d).exec("ROLLBACK");
            d.close();
        }
        QSqlDatabase::removeDatabase("holder");
    }
    bool ok() const { return m_ok; }

private:
    bool m_ok = false;
};

// A small file system mounted over the database folder, holding the database and filled to the last byte.
class FullDisk {
public:
    explicit FullDisk(const QString &databasePath) : m_folder(QFileInfo(databasePath).absolutePath())
    {
        QFile db(databasePath);
        if (!db.open(QIODevice::ReadOnly))
            return;
        const QByteArray content = db.readAll();
        db.close();
        if (::mount("tmpfs", qPrintable(m_folder), "tmpfs", 0, "size=1m") != 0)
            return;
        m_mounted = true;
        QFile copy(databasePath);
        if (!copy.open(QIODevice::WriteOnly) || copy.write(content) != content.size())
            return;
        copy.close();
        QFile filler(m_folder + "/filler");
        filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        while (filler.write("x", 1) == 1) {
        }
        m_ok = true;
    }
    ~FullDisk()
    {
        if (m_mounted)
            ::umount2(qPrintable(m_folder), MNT_DETACH);
    }
    bool ok() const { return m_ok; }
    void free() { QFile::remove(m_folder + "/filler"); }

private:
    QString m_folder;
    bool m_mounted = false;
    bool m_ok = false;
};

// The cash cheque with a payee and an amount, ready to be saved.
w_xjzp *filledCheque()
{
    w_xjzp *w = openCheque();
    enter(w, "sle_4", "PAYEEONE");
    enter(w, "em_1", "1.00");
    click(w, "rb_1");
    return w;
}

// What a restore or another program's save does: a copy takes the file's place by a rename.
bool replaceByACopy(const QString &path)
{
    return QFile::rename(path, path + ".old") && QFile::copy(path + ".old", path);
}

// Replaced by a copy of the file alone: without the saves its log holds.
bool replaceByTheFileAlone(const QString &path)
{
    return QFile::copy(path, path + ".new") && QFile::rename(path, path + ".old") && QFile::rename(path + ".new", path);
}

// Enough payees that a list of them stays half read.
void fillPayees(Fixture &f)
{
    f.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
           "INSERT INTO skrbook (skrname, skrbank) SELECT 'payee' || i, 'bank' FROM n");
    QSqlDatabase::database("fixture-direct", false).close();
}

int retrieveAllPayees(dw::DataView &view)
{
    view.setDefinition(brevik::sdwskrbk());
    view.setTransaction(g::sqlca);
    return view.retrieve({"%"});
}

// Writes bytes over the file in place, returning what was there.
QByteArray overwrite(const QString &path, qint64 at, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.seek(at))
        return {};
    const QByteArray before = file.read(bytes.size());
    file.seek(at);
    file.write(bytes);
    return before;
}
} // namespace

class tst_dbfaults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { brevik::registerWindows(); }
    void cleanup() { g::sqlca.lockWaitMs = 5000; }
    void saveMeetsAFault_data();
    void saveMeetsAFault();
    void registerEditorMeetsALock();
    void replacedFileTakesTheNextSave();
    void movedFileTakesTheSaveOnceBack();
    void replacedFileIsNotWrittenBehindIt();
    void repairedFileTakesTheNextSave();
    void repairedBookIsReadAgain();
    void indexBuildMeetsAFullDisk();
    void readOnlyAtStartThenWritable_data();
    void readOnlyAtStartThenWritable();
    void viewAfterAReplacementReadsTheNewFileAlone();
    void replacedDuringAWriteLeavesNoOldLog();
    void readOnlyFileKeepsTheViewsOpen();
    void registerEditorReadOnlyThenWritable_data() { readOnlyAtStartThenWritable_data(); }
    void registerEditorReadOnlyThenWritable();
};

void tst_dbfaults::saveMeetsAFault_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("advice"); // a part of the Chinese message
    QTest::addColumn<QString>("engine"); // the engine's text that follows it
    QTest::newRow("read-only file") << "file" << "数据库文件是只读的" << "attempt to write a readonly database";
    QTest::newRow("read-only folder") << "folder" << "数据库文件是只读的" << "attempt to write a readonly database";
    QTest::newRow("locked") << "locked" << "数据库正被另一个程序占用" << "database is locked";
    QTest::newRow("disk full") << "full" << "磁盘已满" << "database or disk is full";
}

void tst_dbfaults::saveMeetsAFault()
{
    QFETCH(QString, fault);
    QFETCH(QString, advice);
    QFETCH(QString, engine);
    Fixture f;
    QVERIFY(f.connect());
    w_xjzp *w = filledCheque();
    const QString folder = QFileInfo(f.databasePath()).absolutePath();

    std::unique_ptr<AsOrdinaryUser> user;
    std::unique_ptr<LockHolder> holder;
    std::unique_ptr<FullDisk> disk;
    std::atomic<int> cursorDuringWait{-1};
    std::thread sampler;
    if (fault == "file" || fault == "folder") {
        // The ordinary user reaches the folder and reads the registry store, and meets the one restriction.
        setMode(f.dir(), 0755);
        setMode(f.dir() + "/registry.ini", 0644);
        setMode(folder, fault == "folder" ? 0555 : 0755);
        setMode(f.databasePath(), fault == "file" ? 0444 : 0666);
        g::sqlca.disconnect();
        user = std::make_unique<AsOrdinaryUser>();
        if (!user->ok())
            QSKIP("running as root without a way to act as an ordinary user");
        g::sqlca.connect();
        QCOMPARE(g::sqlca.SQLCode, 0);
    } else if (fault == "locked") {
        holder = std::make_unique<LockHolder>(f.databasePath());
        QVERIFY(holder->ok());
        g::sqlca.lockWaitMs = 600;
        sampler = std::thread([&cursorDuringWait] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            const QCursor *c = QGuiApplication::overrideCursor();
            cursorDuringWait = c ? int(c->shape()) : -2;
        });
    } else {
        g::sqlca.disconnect();
        disk = std::make_unique<FullDisk>(f.databasePath());
        if (!disk->ok())
            QSKIP("no small file system can be mounted here");
        g::sqlca.connect();
        QCOMPARE(g::sqlca.SQLCode, 0);
    }

    QElapsedTimer clock;
    clock.start();
    click(w, "cb_1");
    if (sampler.joinable())
        sampler.join();

    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.first().title, QString("错误!"));
    const QString text = f.boxes.first().text;
    QVERIFY2(text.startsWith(advice) && text.contains(QChar(13) + engine), qPrintable(text));
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 0);
    QCOMPARE(w->textOf("sle_4"), QString("PAYEEONE"));
    QCOMPARE(w->textOf("em_1"), QString("1.00"));
    QVERIFY(!markShown(w));
    QVERIFY(enabled(w, "cb_1"));
    QVERIFY(!enabled(w, "cb_2"));
    if (fault == "locked") {
        // It waited for the lock with the busy cursor, and the cursor is back once it gave up.
        QVERIFY(clock.elapsed() >= 600);
        QCOMPARE(cursorDuringWait.load(), int(Qt::WaitCursor));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // The fault gone, the same sheet saves, without a restart: the administrator gives the permission back to
    // the same ordinary user.
    if (user) {
        user.reset();
        setMode(folder, 0777);
        setMode(f.databasePath(), 0666);
        user = std::make_unique<AsOrdinaryUser>();
    }
    holder.reset();
    if (disk)
        disk->free();
    click(w, "cb_1");
    QCOMPARE(f.boxes.size(), 1);
    QVERIFY(markShown(w));
    QCOMPARE(f.scalar("SELECT group_concat(xkr) FROM xjzp").toString(), QString("PAYEEONE"));
    user.reset();
    if (disk) {
        g::sqlca.disconnect();
        QSqlDatabase::database("fixture-direct", false).close();
    }
}

void tst_dbfaults::registerEditorMeetsALock()
{
    // The register editors' grid reports the same way, in its own box.
    Fixture f;
    QVERIFY(f.connect());
    f.exec("INSERT INTO xjzp (rq, bz, zphm, xkr, an, kpr) VALUES ('2026-03-05', '转帐支票', '001', '某某', 1, '张')");
    auto *w = qobject_cast<brevik::GridEditor *>(ui::openWindow("gobank"));
    QVERIFY(w);
    w->grid()->setItem(1, "xkr", "乙");
    LockHolder holder(f.databasePath());
    QVERIFY(holder.ok());
    g::sqlca.lockWaitMs = 100;
    w->get<QAbstractButton>("cb_3")->click();
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.first().title, QString("数据库错误"));
    QVERIFY2(f.boxes.first().text.contains("数据库正被另一个程序占用")
                 && f.boxes.first().text.endsWith("database is locked"),
             qPrintable(f.boxes.first().text));
    QCOMPARE(f.scalar("SELECT xkr FROM xjzp").toString(), QString("某某"));
    QCOMPARE(w->grid()->itemString(1, "xkr"), QString("乙"));
}

void tst_dbfaults::replacedFileTakesTheNextSave()
{
    // The file was replaced by a copy while the program ran: the save goes to the file now at the path, once.
    Fixture f;
    QVERIFY(f.connect());
    w_xjzp *w = filledCheque();
    QVERIFY(replaceByACopy(f.databasePath()));
    click(w, "cb_1");
    QVERIFY2(f.boxes.isEmpty(), qPrintable(f.boxes.value(0).text));
    QVERIFY(markShown(w));
    QCOMPARE(f.scalar("SELECT group_concat(xkr) FROM xjzp").toString(), QString("PAYEEONE"));
}

void tst_dbfaults::movedFileTakesTheSaveOnceBack()
{
    // The file renamed away while the program ran: the save says the file is missing (not a permission), and
    // takes the sheet once the file is back.
    Fixture f;
    QVERIFY(f.connect());
    w_xjzp *w = filledCheque();
    const QString path = f.databasePath();
    QVERIFY(QFile::rename(path, path + ".away"));
    click(w, "cb_1");
    QCOMPARE(f.boxes.size(), 1);
    const QString text = f.boxes.first().text;
    QVERIFY2(text.startsWith("打不开数据库文件") && text.contains("数据库文件不存在"), qPrintable(text));
    QVERIFY(!markShown(w));

    QVERIFY(QFile::rename(path + ".away", path));
    click(w, "cb_1");
    QCOMPARE(f.boxes.size(), 1);
    QVERIFY(markShown(w));
    QCOMPARE(f.scalar("SELECT group_concat(xkr) FROM xjzp").toString(), QString("PAYEEONE"));
}

void tst_dbfaults::replacedFileIsNotWrittenBehindIt()
{
    // Replaced in the middle of a transaction: committing would put the rows into the file that went away.
    // The commit is refused naming the cause; the next try writes to the file at the path, once.
    Fixture f;
    QVERIFY(f.connect());
    const QString insert = "INSERT INTO xjzp (rq, zphm, an) VALUES ('2026-03-05', ?, 1)";
    g::sqlca.execute(insert, {"1"});
    QCOMPARE(g::sqlca.SQLCode, 0);
    QVERIFY(replaceByACopy(f.databasePath()));
    g::sqlca.commit();
    QCOMPARE(g::sqlca.SQLCode, -1);
    const QString text = db::faultMessage(g::sqlca);
    QVERIFY2(text.startsWith("数据库文件在程序打开它之后被替换了") && text.contains("重新启动程序"), qPrintable(text));
    g::sqlca.rollback();

    g::sqlca.execute(insert, {"2"});
    QCOMPARE(g::sqlca.SQLCode, 0);
    g::sqlca.commit();
    QCOMPARE(g::sqlca.SQLCode, 0);
    QCOMPARE(f.scalar("SELECT group_concat(zphm) FROM xjzp").toString(), QString("2"));
}

void tst_dbfaults::repairedFileTakesTheNextSave()
{
    // A damaged page of an index the save writes to, repaired in place (its bytes put back) after the failed
    // save: the connection must not keep the damaged page it read, neither for reads nor for the next save.
    Fixture f;
    QVERIFY(f.connect());
    const qint64 at = (f.scalar("SELECT rootpage FROM sqlite_master WHERE name = 'xjzp_rq'").toLongLong() - 1)
                      * f.scalar("PRAGMA page_size").toLongLong();
    w_xjzp *w = filledCheque();
    const QByteArray good = overwrite(f.databasePath(), at, QByteArray(8, '\x77'));
    QCOMPARE(good.size(), 8);
    click(w, "cb_1");
    QCOMPARE(f.boxes.size(), 1);
    QVERIFY2(f.boxes.first().text.startsWith("数据库文件已经损坏"), qPrintable(f.boxes.first().text));
    // A copy put in the file's place while the program runs would be mixed with the damaged file's log.
    QVERIFY2(f.boxes.first().text.contains("请先退出程序，再从备份恢复"), qPrintable(f.boxes.first().text));
    QVERIFY(!markShown(w));

    overwrite(f.databasePath(), at, good);
    // A read through the index works again at once, and so does the save.
    int rows = -1;
    g::sqlca.selectInto("SELECT count(*) FROM xjzp INDEXED BY xjzp_rq WHERE rq > ''", {}, {rows});
    QCOMPARE(g::sqlca.SQLCode, 0);
    QCOMPARE(rows, 0);
    click(w, "cb_1");
    QCOMPARE(f.boxes.size(), 1);
    QVERIFY(markShown(w));
    QCOMPARE(f.scalar("SELECT group_concat(xkr) FROM xjzp").toString(), QString("PAYEEONE"));
}

void tst_dbfaults::repairedBookIsReadAgain()
{
    // A book whose page was damaged, then repaired in place: the list reads it again without a restart.
    Fixture f;
    QVERIFY(f.connect());
    f.exec("INSERT INTO skrbook (skrname, skrbank) VALUES ('甲', '乙')");
    f.scalar("PRAGMA wal_checkpoint(TRUNCATE)"); // the page in the file itself, not only in the log
    const qint64 at = (f.scalar("SELECT rootpage FROM sqlite_master WHERE name = 'skrbook'").toLongLong() - 1)
                      * f.scalar("PRAGMA page_size").toLongLong();
    dw::DataView view;
    view.setDefinition(brevik::sdwskrbk());
    view.setTransaction(g::sqlca);
    const QByteArray good = overwrite(f.databasePath(), at, QByteArray(8, '\x77'));
    QCOMPARE(good.size(), 8);
    QCOMPARE(view.retrieve({"%"}), -1);
    QCOMPARE(g::sqlca.SQLDBCode & 0xff, 11); // damaged

    overwrite(f.databasePath(), at, good);
    QCOMPARE(view.retrieve({"%"}), 1);
    QCOMPARE(view.itemString(1, "skrname"), QString("甲"));
}

void tst_dbfaults::indexBuildMeetsAFullDisk()
{
    // An older file, without its indexes, on a full disk: the start-up says so and goes on to the login window
    // without them; the next start with space builds them.
    Fixture f;
    const QString indexes = "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL";
    const int built = f.scalar(indexes).toInt();
    QVERIFY(built > 0);
    const QStringList names = f.scalar("SELECT group_concat(name) FROM sqlite_master WHERE type = 'index' AND "
                                       "sql IS NOT NULL")
                                  .toString()
                                  .split(u',');
    for (const QString &name : names)
        f.exec("DROP INDEX " + name);
    QSqlDatabase::database("fixture-direct", false).close();
    FullDisk disk(f.databasePath());
    if (!disk.ok())
        QSKIP("no small file system can be mounted here");
    const qint64 size = QFileInfo(f.databasePath()).size();

    {
        Quillan app;
        QVERIFY(app.start());
        QCOMPARE(f.boxes.size(), 1);
        QVERIFY2(f.boxes.first().text.startsWith("磁盘已满，数据库的索引没有建成"), qPrintable(f.boxes.first().text));
        QVERIFY(ui::findWindow("w_pass"));
        QString none;
        g::sqlca.selectInto(indexes, {}, {none});
        QCOMPARE(none, QString("0"));
        // Nothing of the attempt stays on the disk.
        QCOMPARE(QFileInfo(f.databasePath()).size(), size);
        QVERIFY(!QFile::exists(f.databasePath() + "-journal"));
        closeOpenWindows();
    }

    disk.free();
    QVERIFY(f.connect());
    QCOMPARE(g::sqlca.indexFault, 0);
    int now = 0;
    g::sqlca.selectInto(indexes, {}, {now});
    QCOMPARE(now, built);
    g::sqlca.disconnect();
}

void tst_dbfaults::readOnlyAtStartThenWritable_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("leftInLog"); // the file's header says write-ahead log, its -wal and -shm gone
    QTest::newRow("read-only file") << "file" << false;
    QTest::newRow("read-only file left in the log") << "file" << true;
    QTest::newRow("read-only folder") << "folder" << false;
    QTest::newRow("read-only folder, file left in the log") << "folder" << true;
}

void tst_dbfaults::readOnlyAtStartThenWritable()
{
    // Read-only when the program starts: the rows are read, a save is refused with the advice. The permission
    // given back, saves work again (in the same run and at the next start) with nothing changed by hand.
    QFETCH(QString, fault);
    QFETCH(bool, leftInLog);
    Fixture f;
    QVERIFY(f.connect()); // the data source registered
    g::sqlca.disconnect();
    f.exec("INSERT INTO xjzp (rq, zphm, an) VALUES ('2026-03-05', 'FIRST', 1)");
    if (leftInLog)
        f.exec("PRAGMA journal_mode = WAL");
    QSqlDatabase::database("fixture-direct", false).close();
    const QString folder = QFileInfo(f.databasePath()).absolutePath();
    setMode(f.dir(), 0755);
    setMode(f.dir() + "/registry.ini", 0644);
    setMode(folder, fault == "folder" ? 0555 : 0777);
    setMode(f.databasePath(), fault == "file" ? 0444 : 0666);
    const QString insert = "INSERT INTO xjzp (rq, zphm, an) VALUES ('2026-03-05', ?, 1)";
    auto user = std::make_unique<AsOrdinaryUser>();
    if (!user->ok())
        QSKIP("running as root without a way to act as an ordinary user");
    g::sqlca.connect();
    QCOMPARE(g::sqlca.SQLCode, 0);
    QString first;
    g::sqlca.selectInto("SELECT zphm FROM xjzp", {}, {first});
    QCOMPARE(first, QString("FIRST"));
    dw::DataView view;
    view.setDefinition(brevik::sdwskrbk());
    view.setTransaction(g::sqlca);
    QVERIFY(view.retrieve({"%"}) >= 0);
    g::sqlca.execute(insert, {"REFUSED"});
    if (g::sqlca.SQLCode == 0)
        g::sqlca.commit();
    QCOMPARE(g::sqlca.SQLCode, -1);
    QVERIFY2(db::faultMessage(g::sqlca).startsWith("数据库文件是只读的"), qPrintable(db::faultMessage(g::sqlca)));
    g::sqlca.rollback();
    // Whatever the program left beside the file, its owner can write it.
    for (const char *suffix : {"-shm", "-wal"})
        if (QFile::exists(f.databasePath() + suffix))
            QVERIFY((QFile::permissions(f.databasePath() + suffix) & QFileDevice::WriteOwner));

    user.reset();
    setMode(folder, 0777);
    setMode(f.databasePath(), 0666);
    user = std::make_unique<AsOrdinaryUser>();
    g::sqlca.execute(insert, {"SECOND"});
    QCOMPARE(g::sqlca.SQLCode, 0);
    g::sqlca.commit();
    QCOMPARE(g::sqlca.SQLCode, 0);
    g::sqlca.disconnect();
    g::sqlca.connect();
    QCOMPARE(g::sqlca.SQLCode, 0);
    g::sqlca.execute(insert, {"THIRD"});
    g::sqlca.commit();
    QCOMPARE(g::sqlca.SQLCode, 0);
    g::sqlca.disconnect();
    user.reset();
    QCOMPARE(f.scalar("SELECT group_concat(zphm) FROM xjzp").toString(), QString("FIRST,SECOND,THIRD"));
}

void tst_dbfaults::viewAfterAReplacementReadsTheNewFileAlone()
{
    // A save while a list holds the log back stays in the old file's log, at the path. A list opened after the
    // file was replaced reads the new file alone; the old file keeps its save.
    Fixture f;
    fillPayees(f);
    QVERIFY(f.connect());
    dw::DataView halfRead;
    QCOMPARE(retrieveAllPayees(halfRead), dw::Buffer::kReadRows);
    g::sqlca.execute("INSERT INTO skrbook (skrname, skrbank) VALUES ('OLDFILE', 'bank')");
    g::sqlca.commit();
    QCOMPARE(g::sqlca.SQLCode, 0);
    const QString path = f.databasePath();
    QVERIFY(replaceByTheFileAlone(path));

    dw::DataView view;
    view.setDefinition(brevik::sdwskrbk());
    view.setTransaction(g::sqlca);
    QCOMPARE(view.retrieve({"OLDFILE"}), 0);
    QVERIFY(!halfRead.buffer().complete()); // let go with the old file, not read on
    g::sqlca.disconnect();
    QSqlDatabase::database("fixture-direct", false).close();
    QCOMPARE(f.scalar("SELECT count(*) FROM skrbook NOT INDEXED").toInt(), 1000);
    QCOMPARE(f.scalar("PRAGMA integrity_check").toString(), QString("ok"));
    QSqlDatabase::database("fixture-direct", false).close();
    QVERIFY(QFile::rename(path, path + ".new") && QFile::rename(path + ".old", path));
    QCOMPARE(f.scalar("SELECT count(*) FROM skrbook NOT INDEXED WHERE skrname = 'OLDFILE'").toInt(), 1);
}

void tst_dbfaults::replacedDuringAWriteLeavesNoOldLog()
{
    // Replaced while a transaction has written (a box open before its rollback): the watcher's call cannot let
    // the old file go then. Once the transaction ends, the old file's log held back by a list is emptied into
    // the old file at once: a kill -9 after it leaves no old pages beside the new file.
    Fixture f;
    fillPayees(f);
    QVERIFY(f.connect());
    dw::DataView halfRead;
    QCOMPARE(retrieveAllPayees(halfRead), dw::Buffer::kReadRows);
    const QString insert = "INSERT INTO xjzp (rq, zphm, an) VALUES ('2026-03-05', ?, 1)";
    g::sqlca.execute(insert, {"1"});
    g::sqlca.commit();
    QCOMPARE(g::sqlca.SQLCode, 0);
    const QString path = f.databasePath();
    QVERIFY(QFileInfo(path + "-wal").size() > 0); // the save, held back by the list
    g::sqlca.execute(insert, {"2"});
    QCOMPARE(g::sqlca.SQLCode, 0);
    QVERIFY(replaceByTheFileAlone(path));
    QTest::qWait(200); // the watcher's call, in the box's loop
    g::sqlca.rollback();
    QCOMPARE(QFileInfo(path + "-wal").size(), 0); // absent or empty: nothing a restart would put in the new file
    g::sqlca.disconnect();
    QSqlDatabase::database("fixture-direct", false).close();
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 0);
    QSqlDatabase::database("fixture-direct", false).close();
    QVERIFY(QFile::rename(path, path + ".new") && QFile::rename(path + ".old", path));
    QCOMPARE(f.scalar("SELECT group_concat(zphm) FROM xjzp").toString(), QString("1"));
}

void tst_dbfaults::readOnlyFileKeepsTheViewsOpen()
{
    // A read-only file: a refused save, and the reads after it, leave the lists half read as they are (connected
    // afresh, the file would be read-only again). Once the permission is back, the next save writes.
    Fixture f;
    fillPayees(f);
    QVERIFY(f.connect()); // the data source registered
    g::sqlca.disconnect();
    QSqlDatabase::database("fixture-direct", false).close();
    setMode(f.dir(), 0755);
    setMode(f.dir() + "/registry.ini", 0644);
    setMode(QFileInfo(f.databasePath()).absolutePath(), 0777);
    setMode(f.databasePath(), 0444);
    auto user = std::make_unique<AsOrdinaryUser>();
    if (!user->ok())
        QSKIP("running as root without a way to act as an ordinary user");
    g::sqlca.connect();
    QCOMPARE(g::sqlca.SQLCode, 0);
    dw::DataView halfRead;
    QCOMPARE(retrieveAllPayees(halfRead), dw::Buffer::kReadRows);
    const QString insert = "INSERT INTO xjzp (rq, zphm, an) VALUES ('2026-03-05', ?, 1)";
    for (int n = 0; n < 2; ++n) {
        g::sqlca.execute(insert, {"REFUSED"});
        QCOMPARE(g::sqlca.SQLCode, -1);
        QVERIFY2(db::faultMessage(g::sqlca).startsWith("数据库文件是只读的"), qPrintable(db::faultMessage(g::sqlca)));
        g::sqlca.rollback();
        int count = 0;
        g::sqlca.selectInto("SELECT count(*) FROM xjzp", {}, {count});
        QCOMPARE(g::sqlca.SQLCode, 0);
    }
    QVERIFY2(!halfRead.buffer().failed(), qPrintable(halfRead.buffer().failureText()));

    user.reset();
    setMode(f.databasePath(), 0666);
    user = std::make_unique<AsOrdinaryUser>();
    g::sqlca.execute(insert, {"SAVED"});
    QCOMPARE(g::sqlca.SQLCode, 0);
    g::sqlca.commit();
    QCOMPARE(g::sqlca.SQLCode, 0);
    g::sqlca.disconnect();
    user.reset();
    QCOMPARE(f.scalar("SELECT group_concat(zphm) FROM xjzp").toString(), QString("SAVED"));
}

void tst_dbfaults::registerEditorReadOnlyThenWritable()
{
    // Read-only when the program starts (a folder the administrator made read-only, the file maybe left in the
    // log without its side files): 确定 in the payment register editor is refused with the advice alone, and the
    // editor keeps its rows and the typed row. The permission given back, the next 确定 stores it, nothing
    // reopened; the end leaves one file, out of the log.
    QFETCH(QString, fault);
    QFETCH(bool, leftInLog);
    Fixture f;
    QVERIFY(f.connect()); // the data source registered
    g::sqlca.disconnect();
    f.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
           "INSERT INTO xjzp (rq, bz, zphm, xkr, fkhm, an, kpr) "
           "SELECT '2026-03-05', '转帐支票', 1000 + i, 'payee' || i, '甲行', i, '张' FROM n");
    if (leftInLog)
        f.exec("PRAGMA journal_mode = WAL");
    QSqlDatabase::database("fixture-direct", false).close();
    QVERIFY(!QFile::exists(f.databasePath() + "-wal") && !QFile::exists(f.databasePath() + "-shm"));
    const QString folder = QFileInfo(f.databasePath()).absolutePath();
    setMode(f.dir(), 0755);
    setMode(f.dir() + "/registry.ini", 0644);
    setMode(folder, fault == "folder" ? 0555 : 0777);
    setMode(f.databasePath(), fault == "file" ? 0444 : 0666);
    auto user = std::make_unique<AsOrdinaryUser>();
    if (!user->ok())
        QSKIP("running as root without a way to act as an ordinary user");
    g::sqlca.connect();
    QCOMPARE(g::sqlca.SQLCode, 0);
    auto *w = qobject_cast<brevik::GridEditor *>(ui::openWindow("gobank"));
    QVERIFY(w);
    dw::DataView *v = w->grid();
    QVERIFY(!v->buffer().complete()); // half read
    w->get<QAbstractButton>("cb_1")->click();
    const int added = v->currentRow();
    QCOMPARE(added, 5001);
    v->setItem(added, "xkr", "TYPED");
    QVERIFY(!v->buffer().complete());
    for (int n = 0; n < 2; ++n) {
        w->get<QAbstractButton>("cb_3")->click();
        QCoreApplication::processEvents(); // a box the view would post
        QCOMPARE(f.boxes.size(), n + 1);
        QVERIFY2(f.boxes.last().text.contains("数据库文件是只读的"), qPrintable(f.boxes.last().text));
        QCOMPARE(v->rowCount(), 5001);
        QCOMPARE(v->itemString(added, "xkr"), QString("TYPED"));
        QVERIFY2(!v->buffer().failed(), qPrintable(v->buffer().failureText()));
    }

    user.reset();
    setMode(folder, 0777);
    setMode(f.databasePath(), 0666);
    user = std::make_unique<AsOrdinaryUser>();
    w->get<QAbstractButton>("cb_3")->click();
    QCoreApplication::processEvents();
    QCOMPARE(f.boxes.size(), 2);
    int stored = 0;
    g::sqlca.selectInto("SELECT count(*) FROM xjzp WHERE xkr = 'TYPED'", {}, {stored});
    QCOMPARE(stored, 1);
    delete w;
    db::Transaction::disconnectAll();
    user.reset();
    QVERIFY(!QFile::exists(f.databasePath() + "-wal") && !QFile::exists(f.databasePath() + "-shm"));
    QFile file(f.databasePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(20);
    QCOMPARE(int(header.at(18)), 1);
    QCOMPARE(int(header.at(19)), 1);
}

QTEST_MAIN(tst_dbfaults)
#include "tst_dbfaults.moc"
