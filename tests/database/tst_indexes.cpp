// The register indexes: built with the database, added at connect to a file made before them or made again where
// the file has them in an older form (the start-up told meanwhile), left out where the file cannot be written or
// another program holds it; the searches that should find their rows through an index do.
#include "fixture.h"

#include "books/book_views.h"
#include "books/lists_reports.h"
#include "books/sdwfkbk.h"
#include "books/sdwskrbk.h"
#include "letter/dw_ywwts.h"
#include "pickers/cnbs2.h"
#include "books/w_search.h"
#include "brevik.h"
#include "globals.h"
#include "ordinaryuser.h"
#include "platform/controls.h"
#include "dataview/sql.h"
#include "dataview/statement.h"
#include "platform/gbk.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <sqlite3.h>

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

int orderVersion(Fixture &f) { return f.scalar("PRAGMA user_version").toInt(); }

QString indexStatement(Fixture &f, const QString &name)
{
    return f.scalar("SELECT sql FROM sqlite_master WHERE type = 'index' AND name = ?", {name}).toString();
}

// Makes the remarks index again as files made before it held the texts have it.
void oldRemarksIndex(Fixture &f)
{
    f.exec("DROP INDEX bs_1_cid_gbk");
    f.exec("CREATE INDEX bs_1_cid_gbk ON bs_1 (cid COLLATE gbk)");
}

// Rebuilds the file's gbk indexes in another order, the reverse of ours, as an older program would have left
// them, and marks the file with an older version of the order.
bool reorderReversed(Fixture &f)
{
    sqlite3 *handle = nullptr;
    bool ok = sqlite3_open_v2(f.databasePath().toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    const auto reversed = [](void *, int la, const void *a, int lb, const void *b) {
        return -gbk::compareUtf8(static_cast<const char *>(a), la, static_cast<const char *>(b), lb);
    };
    ok = ok && sqlite3_create_collation(handle, "gbk", SQLITE_UTF8, nullptr, reversed) == SQLITE_OK;
    ok = ok && sqlite3_exec(handle, "REINDEX gbk; PRAGMA user_version = 0", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(handle);
    return ok;
}

// The payees as the index on their names gives them, and as the order says they are.
QStringList payeesThroughIndex(const QString &where = {}, const QVariantList &args = {})
{
    QSqlQuery q(g::sqlca.database());
    q.prepare("SELECT skrname FROM skrbook INDEXED BY skrbook_skrname_gbk " + where + " ORDER BY skrname COLLATE gbk");
    for (const QVariant &a : args)
        q.addBindValue(a);
    QStringList names;
    if (q.exec())
        while (q.next())
            names << q.value(0).toString();
    return names;
}

// The real views that read by their order, with their retrieval arguments.
struct OrderedView {
    dw::Definition definition;
    QVariantList arguments;
};

OrderedView orderedView(const QString &name)
{
    const QVariantList years{QDate(2000, 1, 1), QDate(2099, 12, 31)};
    static const QHash<QString, std::function<OrderedView()>> views = {
        {"payment register", [] { return OrderedView{brevik::views::gobank(), {}}; }},
        {"receipt register", [] { return OrderedView{brevik::views::inbank(), {}}; }},
        {"payee book", [] { return OrderedView{brevik::views::dwskrbk(), {}}; }},
        {"payer book", [] { return OrderedView{brevik::views::dwfkbk(), {}}; }},
        {"remarks book", [] { return OrderedView{brevik::views::cnbs1(), {}}; }},
        {"operators", [] { return OrderedView{brevik::views::gates(), {}}; }},
        {"accounts", [] { return OrderedView{brevik::views::dwbank(), {}}; }},
        {"print formats", [] { return OrderedView{brevik::views::prsz(), {}}; }},
        {"the unit", [] { return OrderedView{brevik::views::dwgate(), {}}; }},
        {"payee picker", [] { return OrderedView{brevik::sdwskrbk(), {"%"}}; }},
        {"payer picker", [] { return OrderedView{brevik::sdwfkbk(), {"%"}}; }},
        {"remarks picker", [] { return OrderedView{pickers::cnbs2(), {"%"}}; }},
        {"payment list", [years] { return OrderedView{brevik::cabank().data, years}; }},
        {"receipt list", [years] { return OrderedView{brevik::eabank().data, years}; }},
        {"letter", [] { return OrderedView{ostrel::dw_ywwts_definition(), {}}; }},
        // The search's grid, described by the connection as the search makes it.
        {"search results", [] {
             QString error;
             const dw::GridSyntax grid = dw::syntaxFromSql(g::sqlca, "SELECT * FROM xjzp Where xjzp.xkr>:value COLLATE gbk",
                                                           {{"value", dw::Type::Text}}, {"乙"}, "style(type=grid)", error);
             return OrderedView{grid.definition, grid.values};
         }},
    };
    return views.value(name)();
}

// Rows in a table a view reads: in two of three rows each text and date has no value, the columns missing
// independently of each other (column c has one where digit c mod 3 of the row's number in base 3 is 0), so the
// first term of every order is missing in many rows; the values there repeat.
void fillWithGaps(Fixture &f, const QString &table, int rows)
{
    QSqlQuery info(g::sqlca.database());
    QVERIFY(info.exec("PRAGMA table_info(" + table + ")"));
    QStringList names;
    QList<bool> numbers;
    while (info.next()) {
        if (info.value(5).toInt() > 0)
            continue; // the key, given by the database
        names << info.value(1).toString();
        numbers << (info.value(2).toString() != "TEXT");
    }
    const QStringList texts{"中国", "甲", "乙", "阿", "a", ""};
    for (int i = 0; i < rows; ++i) {
        QVariantList values;
        QStringList marks;
        for (int c = 0; c < names.size(); ++c) {
            marks << "?";
            int digit = i;
            for (int d = 0; d < c % 3; ++d)
                digit /= 3;
            if (digit % 3 != 0)
                values << QVariant();
            else if (names.at(c) == "rq")
                values << QDate(2026, 1, 1 + i % 4).toString(Qt::ISODate);
            else if (numbers.at(c))
                values << i % 5;
            else
                values << texts.at(i % texts.size());
        }
        f.exec("INSERT INTO " + table + " (" + names.join(", ") + ") VALUES (" + marks.join(", ") + ")", values);
    }
}

QStringList planOf(const QString &sql, const QVariantList &args)
{
    QSqlQuery q(g::sqlca.database());
    QStringList plan;
    if (!g::sqlca.prepare(q, "EXPLAIN QUERY PLAN " + sql, args) || !q.exec())
        return {"cannot plan: " + sql};
    while (q.next())
        plan << q.value(3).toString();
    return plan;
}

// The row ids a statement of the view reads, in the order read.
QList<qint64> idsRead(const QString &sql, const QVariantList &args, int idColumn)
{
    QSqlQuery q(g::sqlca.database());
    QList<qint64> ids;
    if (!g::sqlca.prepare(q, sql, args) || !q.exec())
        return {-1};
    while (q.next())
        ids << q.value(idColumn).toLongLong();
    return ids;
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
    void connectMakesChangedIndexesAgain();
    void orderChangeRebuildsIndexes();
    void unwritableFileConnectsWithout_data();
    void unwritableFileConnectsWithout();
    void readerHoldsOffTheBuildOnce();
    void searchPlan_data();
    void searchPlan();
    void registerCountReadsANarrowIndex_data();
    void registerCountReadsANarrowIndex();
    void readsFromARowSeekTheIndex_data();
    void readsFromARowSeekTheIndex();
};

void tst_indexes::connectAddsMissingIndexes()
{
    Fixture f;
    const QStringList built = indexNames(f);
    for (const char *name : {"xjzp_rq", "jzd_rq", "xjzp_rq_fkhm", "jzd_rq_shbank", "xjzp_zphm", "xjzp_xkr"})
        QVERIFY2(built.contains(name), name);
    QCOMPARE(orderVersion(f), gbk::kOrderVersion); // a new file is in today's order
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

void tst_indexes::connectMakesChangedIndexesAgain()
{
    // A file whose remarks index was made before it held the texts, and which lacks another index: both are
    // made as they are now, in one go, and the next connect finds nothing to do.
    Fixture f;
    const QString now = indexStatement(f, "bs_1_cid_gbk");
    QVERIFY(now.contains("ctext"));
    const QStringList built = indexNames(f);
    oldRemarksIndex(f);
    dropIndexes(f, {"xjzp_zphm"});
    f.exec("INSERT INTO bs_1 (cid, ctext) VALUES ('2', '乙'), ('1', '甲'), ('3', '甲乙')");
    QStringList told;
    g::sqlca.preparing = [&told](const QString &text) { told << text; };
    QVERIFY(f.connect());
    QCOMPARE(g::sqlca.indexFault, 0);
    QCOMPARE(indexStatement(f, "bs_1_cid_gbk"), now);
    QCOMPARE(indexNames(f), built);
    QCOMPARE(told.size(), 2);
    // The index made again holds every row.
    QCOMPARE(f.scalar("SELECT group_concat(cid, ',') FROM (SELECT cid FROM bs_1 INDEXED BY bs_1_cid_gbk "
                      "WHERE ctext LIKE '%甲%' ORDER BY cid COLLATE gbk)")
                 .toString(),
             QString("1,3"));

    told.clear();
    QVERIFY(f.connect());
    QVERIFY(told.isEmpty());
    QCOMPARE(indexStatement(f, "bs_1_cid_gbk"), now);
}

void tst_indexes::orderChangeRebuildsIndexes()
{
    Fixture f;
    QStringList names = {"乙", "甲", "丙", "中国", "中", "?", "😀", "a", "Z", "啊", "阿"};
    for (const QString &name : names)
        f.exec("INSERT INTO skrbook (bs, skrname) VALUES ('1', ?)", {name});
    QVERIFY(reorderReversed(f));

    QVERIFY(f.connect());
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return gbk::compare(a, b) < 0; });
    QCOMPARE(payeesThroughIndex(), names);
    // A lookup goes down the index: it finds every name only when the index is in the order.
    for (const QString &name : names)
        QCOMPARE(payeesThroughIndex("WHERE skrname COLLATE gbk = ?", {name}), QStringList{name});
    QCOMPARE(payeesThroughIndex("WHERE skrname COLLATE gbk >= ?", {"中"}).size(), names.size() - names.indexOf("中"));
    QCOMPARE(orderVersion(f), gbk::kOrderVersion);
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
    const QString remarksIndex = indexStatement(f, "bs_1_cid_gbk");
    oldRemarksIndex(f);
    const QString oldRemarks = indexStatement(f, "bs_1_cid_gbk");
    f.exec("INSERT INTO xjzp (rq, zphm, an) VALUES ('2026-03-05', '77', 1)");
    f.exec("PRAGMA user_version = 0"); // a file from an older order
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
    QCOMPARE(indexStatement(f, "bs_1_cid_gbk"), oldRemarks); // not dropped without being made again
    QString zphm;
    g::sqlca.selectInto("SELECT zphm FROM xjzp WHERE zphm = ?", {"77"}, {zphm});
    QCOMPARE(g::sqlca.SQLCode, 0);
    QCOMPARE(zphm, QString("77"));
    QCOMPARE(orderVersion(f), 0);

    // Once the file can be written, the next connect brings it up to date.
    user.reset();
    if (readOnly)
        QFile::setPermissions(f.databasePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    else
        f.exec("ROLLBACK");
    QVERIFY(f.connect());
    QCOMPARE(orderVersion(f), gbk::kOrderVersion);
    QVERIFY(indexNames(f).contains("xjzp_zphm"));
    QCOMPARE(indexStatement(f, "bs_1_cid_gbk"), remarksIndex);
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

void tst_indexes::registerCountReadsANarrowIndex_data()
{
    QTest::addColumn<bool>("payments");
    QTest::addColumn<QStringList>("indexes");
    // The cheque numbers or the dates: a third of the size of the payees' names.
    QTest::newRow("payment register") << true << QStringList{"xjzp_zphm", "xjzp_rq"};
    QTest::newRow("receipt register") << false << QStringList{"jzd_rq"};
}

void tst_indexes::registerCountReadsANarrowIndex()
{
    // The count an editor's Add takes (every row of the register) reads one of the narrow one-column indexes,
    // also in a file whose payee index is of the older kind.
    QFETCH(bool, payments);
    QFETCH(QStringList, indexes);
    Fixture f;
    f.exec("DROP INDEX xjzp_xkr");
    f.exec("CREATE INDEX xjzp_xkr ON xjzp (xkr)");
    QVERIFY(f.connect());
    dw::Statement statement;
    statement.compile(payments ? brevik::views::gobank() : brevik::views::inbank());
    QSqlQuery plan(g::sqlca.database());
    QVERIFY(plan.exec("EXPLAIN QUERY PLAN " + statement.over("count(*)")));
    QStringList details;
    while (plan.next())
        details << plan.value(3).toString();
    QCOMPARE(details.size(), 1);
    const QString used = details.first().section(' ', -1);
    QVERIFY2(indexes.contains(used), qPrintable(details.first()));
}


void tst_indexes::readsFromARowSeekTheIndex_data()
{
    QTest::addColumn<QString>("view");
    QTest::addColumn<bool>("gaps"); // whether its first term can be without a value
    for (const char *view : {"payment register", "receipt register", "payee book", "payer book", "remarks book",
                             "remarks picker", "payment list", "receipt list"})
        QTest::newRow(view) << view << true;
    // The payee picker finds names by a pattern, which a missing name never matches.
    for (const char *view : {"operators", "accounts", "print formats", "the unit", "payee picker", "payer picker",
                             "letter", "search results"})
        QTest::newRow(view) << view << false;
}

void tst_indexes::readsFromARowSeekTheIndex()
{
    // From any row held, with or without a first value, the rows before it, after it and from it on, and
    // the count before it: each starts and stops on an index, never walks one (or the table) from an end,
    // and gives the rows the view's own statement gives on that side.
    QFETCH(QString, view);
    QFETCH(bool, gaps);
    Fixture f;
    QVERIFY(f.connect());
    const OrderedView v = orderedView(view);
    dw::Statement statement;
    statement.compile(v.definition);
    QVERIFY(statement.identified());
    const QString table = statement.identity().section('.', 0, 0);
    fillWithGaps(f, v.definition.updateTable.isEmpty() ? table : v.definition.updateTable, 81);
    g::sqlca.commit();
    statement.learn(g::sqlca.database());

    const QVariantList own = statement.bind(v.arguments);
    const int idColumn = v.definition.columns.size();
    const QList<qint64> all = idsRead(statement.sql(), own, idColumn);
    QVERIFY(all.size() >= 7);
    int nulls = 0;
    for (qsizetype at = 0; at < all.size(); ++at) {
        QVariantList args;
        QSqlQuery q(g::sqlca.database());
        QVERIFY(g::sqlca.prepare(q, statement.edgeOf(all.at(at), args), args) && q.exec() && q.next());
        dw::Edge edge{all.at(at), {}};
        for (int i = 1; i < q.record().count(); ++i)
            edge.nulls << q.value(i).toBool();
        nulls += edge.nulls.value(0);
        q.finish();

        QList<qint64> before = all.mid(0, at);
        std::reverse(before.begin(), before.end());
        const struct {
            const char *what;
            bool before, after;
            QList<qint64> rows;
        } sides[] = {{"before", true, false, before},
                     {"after", false, true, all.mid(at + 1)},
                     {"from", false, false, all.mid(at)}};
        QStringList statements;
        for (const auto &side : sides) {
            args = own;
            const QString sql = statement.rowsFrom(edge, side.before, args, side.after);
            QCOMPARE(idsRead(sql, args, idColumn), side.rows);
            statements << sql;
            const QStringList plan = planOf(sql, args);
            for (const QString &step : plan)
                QVERIFY2(!step.startsWith("SCAN ") || step == "SCAN CONSTANT ROW",
                         qPrintable(QString("%1 row %2: %3").arg(side.what).arg(at + 1).arg(plan.join(" | "))));
            QVERIFY2(!plan.filter(QRegularExpression("^SEARCH ")).isEmpty(), qPrintable(plan.join(" | ")));
        }
        args = own;
        const QString count = statement.countBefore(edge, args);
        QCOMPARE(idsRead(count, args, 0), QList<qint64>{at});
        const QStringList plan = planOf(count, args);
        for (const QString &step : plan)
            QVERIFY2(!step.startsWith("SCAN ") || step == "SCAN CONSTANT ROW",
                     qPrintable(QString("count before row %1: %2").arg(at + 1).arg(plan.join(" | "))));
    }
    // The orders that start with a text or a date met rows without one.
    QCOMPARE(nulls > 0, gaps);
}

QTEST_MAIN(tst_indexes)
#include "tst_indexes.moc"
