// The register save of the cash cheque: the row it stores, and a save the database refuses, which leaves
// nothing behind, says why and lets the operator save again.
#include "chequetest.h"

#include "platform/printjob.h"

using namespace chequetest;

class tst_chequesave : public QObject {
    Q_OBJECT
private slots:
    void init() { print::setBackend(print::Backend::Recording); }

    void saveStoresTheSheet();
    void saveTwiceStoresTwoRows();
    void refusedSave_data();
    void refusedSave();
};

void tst_chequesave::saveStoresTheSheet()
{
    Fixture f;
    QVERIFY(f.connect());
    addAccounts(f);
    g::name = QStringLiteral("王出纳");
    w_xjzp *w = openCheque();
    fillSheet(w);
    // The register keeps the register date, not what the date boxes show.
    enter(w, "sle_3", "9");
    click(w, "rb_1");
    click(w, "cb_1");

    QVERIFY(f.boxes.isEmpty());
    QVERIFY(markShown(w));
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 1);
    const QStringList columns = {"rq", "zphm", "xkr", "et", "fkhm", "fkzh", "kpr", "bz"};
    const QStringList expected = {"2026-03-05", "XJ001", "北京市某某贸易有限公司", "备用金", "基本户",
                                  "6222020012345678", "王出纳", "现金支票"};
    for (int i = 0; i < columns.size(); ++i)
        QCOMPARE(f.scalar(QStringLiteral("SELECT %1 FROM xjzp").arg(columns.at(i))).toString(), expected.at(i));
    QCOMPARE(f.scalar("SELECT an FROM xjzp").toDouble(), 1234.56);
    // The columns the cash cheque does not write.
    for (const char *c : {"shbank", "shcode", "fkrm"})
        QVERIFY2(f.scalar(QStringLiteral("SELECT %1 FROM xjzp").arg(c)).isNull(), c);
}

void tst_chequesave::saveTwiceStoresTwoRows()
{
    Fixture f;
    QVERIFY(f.connect());
    w_xjzp *w = openCheque();
    // Nothing filled in: a row of empty texts with the date, the kind and the amount.
    click(w, "rb_1");
    click(w, "cb_1");
    click(w, "rb_2");
    click(w, "cb_1");
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 2);
    QCOMPARE(f.scalar("SELECT count(DISTINCT line) FROM xjzp").toInt(), 2);
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp WHERE zphm = '' AND xkr = '' AND et = '' AND fkhm = '' AND "
                      "fkzh = '' AND bz = '现金支票' AND an = 0 AND rq = '2026-03-05'")
                 .toInt(),
             2);
}

void tst_chequesave::refusedSave_data()
{
    QTest::addColumn<QString>("payee");
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("repair");

    // 31 Chinese characters are 62 GBK bytes; the payee column holds 60.
    const QString tooLong = QString(31, QChar(u'款'));
    QTest::newRow("payee too long") << tooLong << QStringList{} << "“收款人”的内容过长（62 字节，最多 60 字节），未保存。"
                                    << QStringList{};
    QTest::newRow("insert refused")
        << "华星"
        << QStringList{"CREATE TRIGGER refuse BEFORE INSERT ON xjzp BEGIN SELECT RAISE(ABORT, '登记簿已锁定'); END"}
        << "登记簿已锁定" << QStringList{"DROP TRIGGER refuse"};
    // The insert goes through; the commit fails on a deferred constraint.
    QTest::newRow("commit refused")
        << "华星"
        << QStringList{"CREATE TABLE p (id INTEGER PRIMARY KEY)",
                       "CREATE TABLE c (pid INTEGER REFERENCES p (id) DEFERRABLE INITIALLY DEFERRED)",
                       "CREATE TRIGGER dangling AFTER INSERT ON xjzp BEGIN INSERT INTO c VALUES (99); END"}
        << "FOREIGN KEY constraint failed" << QStringList{"DROP TRIGGER dangling"};
}

void tst_chequesave::refusedSave()
{
    QFETCH(QString, payee);
    QFETCH(QStringList, setup);
    QFETCH(QString, error);
    QFETCH(QStringList, repair);
    Fixture f;
    QVERIFY(f.connect());
    for (const QString &sql : setup)
        f.exec(sql);
    w_xjzp *w = openCheque();
    enter(w, "sle_4", payee);
    enter(w, "em_1", "88");
    click(w, "rb_1");
    click(w, "cb_1");

    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.first().title, QStringLiteral("错误!"));
    QCOMPARE(f.boxes.first().icon, msg::Icon::StopSign);
    QVERIFY2(f.boxes.first().text.contains(error), qPrintable(f.boxes.first().text));
    QVERIFY(!markShown(w));
    QVERIFY(enabled(w, "cb_1"));
    QVERIFY(!enabled(w, "cb_2"));
    // Rolled back: nothing of the refused save is in the database.
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 0);
    if (setup.size() > 1)
        QCOMPARE(f.scalar("SELECT count(*) FROM c").toInt(), 0);

    // Once the cause is gone the same sheet saves, as one row.
    for (const QString &sql : repair)
        f.exec(sql);
    if (payee.size() > 30) {
        clear(w, "sle_4");
        enter(w, "sle_4", payee.left(30));
    }
    click(w, "cb_1");
    QCOMPARE(f.boxes.size(), 1);
    QVERIFY(markShown(w));
    QVERIFY(!enabled(w, "cb_1"));
    QVERIFY(enabled(w, "cb_2"));
    QCOMPARE(f.scalar("SELECT count(*) FROM xjzp").toInt(), 1);
    QCOMPARE(f.scalar("SELECT an FROM xjzp").toDouble(), 88.0);
}

QTEST_MAIN(tst_chequesave)
#include "tst_chequesave.moc"
