// The register indexes: built with the database, added at connect to a file made before them (the start-up told
// meanwhile), left out where the file cannot be written or another program holds it; the searches that should
// find their rows through an index do.
#include "fixture.h"

#include "books/w_search.h"
#include "brevik.h"
#include "globals.h"
#include "ordinaryuser.h"
#include "platform/controls.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QtTest>

namespace {
QStringList indexNames(Fixture &f)
{
    // Indexes the schema declares; the implicit ones of UNIQUE and PRIMARY KEY have no SQL text.
    return f.scalar("SELECT group_concat(name, ',') FROM (SELECT name FROM sqlite_master "
                    "WHERE type = 'index' AND sql IS NOT NULL ORDER BY name)")
        .toString()
        .split(u',', Qt::SkipEmptyParts);
}

void dropIndexes(Fixture &f, const QStringList &names)
{
    for (const QString &name : names)
        f.exec("DROP INDEX " + name);
}
} // namespace

class tst_indexes : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { brevik::registerWindows(); }
    void cleanup()
    {
        closeOpenWindows();
        g::sqlca.lockWaitMs = 5000;
        g::sqlca.preparing = {};
    }

    void connectAddsMissingIndexes();
    void unwritableFileConnectsWithout_data();
    void unwritableFileConnectsWithout();
    void readerHoldsOffTheBuildOnce();
    void searchPlan_data();
    void searchPlan();
};

void tst_indexes::connectAddsMissingIndexes()
{
    Fixture f;
    const QStringList built = indexNames(f);
    for (const char *name : {"xjzp_rq", "jzd_rq", "xjzp_rq_fkhm", "jzd_rq_shbank", "xjzp_zphm", "xjzp_xkr"})
        QVERIFY2(built.contains(name), name);
    const QString tables = f.scalar("SELECT group_concat(sql, ';') FROM sqlite_master WHERE type = 'table'").toString();

    // A file from before any of them.
    dropIndexes(f, built);
    f.exec("INSERT INTO xjzp (rq, zphm, an) VALUES ('2026-03-05', '77', 1)");
    QStringList told;
    g::sqlca.preparing = [&told](const QString &text) { told << text; };
    QVERIFY(f.connect());
    QCOMPARE(indexNames(f), built);
    QCOMPARE(g::sqlca.indexFault, 0);
    // The start-up was told the file is being prepared, and when it was done.
    QCOMPARE(told.size(), 2);
    QVERIFY2(told.first().startsWith("正在准备数据库"), qPrintable(told.first()));
    QVERIFY(told.last().isEmpty());
    // Only indexes were added: the tables and their rows are as they were.
    QCOMPARE(f.scalar("SELECT group_concat(sql, ';') FROM sqlite_master WHERE type = 'table'").toString(), tables);
    QCOMPARE(f.scalar("SELECT zphm FROM xjzp INDEXED BY xjzp_zphm WHERE zphm = '77'").toString(), QString("77"));

    // A second connect finds nothing to add, and says nothing.
    told.clear();
    QVERIFY(f.connect());
    QCOMPARE(indexNames(f), built);
    QVERIFY(told.isEmpty());
}

void tst_indexes::unwritableFileConnectsWithout_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("read-only file") << true;
    // Another program in the middle of a write: the connect waits out the busy timeout, then goes on.
    QTest::newRow("file locked by a writer") << false;
}

void tst_indexes::unwritableFileConnectsWithout()
{
    QFETCH(bool, readOnly);
    Fixture f;
    // The data source is registered by the user who may write the settings.
    QVERIFY(f.connect());
    g::sqlca.disconnect();
    dropIndexes(f, {"xjzp_zphm"});
    f.exec("INSERT INTO xjzp (rq, zphm, an) VALUES ('2026-03-05', '77', 1)");
    std::unique_ptr<AsOrdinaryUser> user;
    if (readOnly) {
        // An ordinary user reaches the folder and reads the settings, and may only read the file.
        setMode(f.dir(), 0755);
        setMode(f.dir() + "/registry.ini", 0644);
        setMode(QFileInfo(f.databasePath()).absolutePath(), 0755);
        setMode(f.databasePath(), 0444);
        user = std::make_unique<AsOrdinaryUser>();
        if (!user->ok())
            QSKIP("running as root without a way to act as an ordinary user");
    } else {
        f.exec("BEGIN IMMEDIATE");
    }
    g::sqlca.connect();
    QCOMPARE(g::sqlca.SQLCode, 0);
    QVERIFY(g::sqlca.indexFault != 0);
    QVERIFY(db::indexFaultNotice(g::sqlca.indexFault).isEmpty()); // nothing for the operator to do
    QVERIFY(!indexNames(f).contains("xjzp_zphm"));
    QString zphm;
    g::sqlca.selectInto("SELECT zphm FROM xjzp WHERE zphm = ?", {"77"}, {zphm});
    QCOMPARE(g::sqlca.SQLCode, 0);
    QCOMPARE(zphm, QString("77"));
    if (!readOnly)
        f.exec("ROLLBACK");
}

void tst_indexes::readerHoldsOffTheBuildOnce()
{
    // Another program in the middle of reading an older file: the connect waits for it once, not once per
    // missing index, goes on without them, and the next connect after the reader has finished adds them all.
    Fixture f;
    const QStringList built = indexNames(f);
    QVERIFY(built.size() > 3);
    dropIndexes(f, built);
    f.exec("BEGIN");
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 0);
    g::sqlca.lockWaitMs = 1000;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(f.connect());
    const qint64 waited = clock.elapsed();
    QVERIFY2(waited < 3 * g::sqlca.lockWaitMs,
             qPrintable(QString("%1 ms for %2 missing indexes").arg(waited).arg(built.size())));
    QCOMPARE(g::sqlca.indexFault & 0xff, 5); // busy
    QVERIFY(indexNames(f).isEmpty());
    f.exec("COMMIT");

    QVERIFY(f.connect());
    QCOMPARE(g::sqlca.indexFault, 0);
    QCOMPARE(indexNames(f), built);
}

void tst_indexes::searchPlan_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("comparison");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("index");
    QTest::newRow("one cheque number") << "支票号码" << "=" << "123" << "xjzp_zphm";
    QTest::newRow("one payee") << "收款人" << "=" << "中国" << "xjzp_xkr";
    // Amounts keep the register's own order: no index.
    QTest::newRow("amounts above") << "金额" << ">" << "10" << "";
}

void tst_indexes::searchPlan()
{
    QFETCH(QString, field);
    QFETCH(QString, comparison);
    QFETCH(QString, value);
    QFETCH(QString, index);
    Fixture f;
    QVERIFY(f.connect());
    auto *w = qobject_cast<w_search *>(ui::openWindow("w_search"));
    QVERIFY(w);
    QVERIFY(w->get<ui::DropDownList>("ddlb_1")->selectItem(field) >= 0);
    QVERIFY(w->get<ui::DropDownList>("ddlb_2")->selectItem(comparison) >= 0);
    w->get<ui::SingleLineEdit>("sle_1")->setText(value);
    w->get<QPushButton>("cb_1")->click();
    QVERIFY(f.boxes.isEmpty());

    QSqlQuery plan(g::sqlca.database());
    QVERIFY(plan.prepare("EXPLAIN QUERY PLAN " + w->lastStatement()));
    plan.addBindValue(value);
    QVERIFY(plan.exec());
    QStringList details;
    while (plan.next())
        details << plan.value(3).toString();
    const QString expected = index.isEmpty() ? QString("SCAN xjzp") : "SEARCH xjzp USING INDEX " + index;
    QVERIFY2(details.join(u'|').startsWith(expected), qPrintable(details.join(u'|')));
}

QTEST_MAIN(tst_indexes)
#include "tst_indexes.moc"
