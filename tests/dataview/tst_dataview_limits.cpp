// Where the data view engine's counts and places grow with the rows: texts held once per column past the point
// where a column stops collecting them, rows packed across the store's blocks, and a report whose flow of
// bands runs past the range of an int, laid out from its groups alone.
#include "fixture.h"

#include "dataview/report.h"
#include "dataview/rows.h"
#include "globals.h"
#include "platform/transaction.h"

#include <QRegularExpression>
#include <QScrollBar>
#include <QtTest>

using dw::RowStore;

class tst_dataview_limits : public QObject {
    Q_OBJECT
private slots:
    void textsComeBackAsAdded_data();
    void textsComeBackAsAdded();
    void rowsAcrossBlocksComeBackWhole();
    void reportPastTheRangeOfAnInt();
    void layoutBandsAsPlacedOneByOne_data();
    void layoutBandsAsPlacedOneByOne();
};

void tst_dataview_limits::textsComeBackAsAdded_data()
{
    QTest::addColumn<int>("distinct"); // texts of the column never seen before
    QTest::addColumn<int>("repeats");  // each text added this many times, in a row
    QTest::newRow("few, repeated") << 100 << 20;
    QTest::newRow("just under the collecting limit") << 4000 << 2;
    QTest::newRow("past 4096 distinct texts") << 4200 << 1;
    QTest::newRow("many distinct, then repeated") << 10000 << 3;
}

void tst_dataview_limits::textsComeBackAsAdded()
{
    QFETCH(int, distinct);
    QFETCH(int, repeats);
    RowStore store;
    QList<QByteArray> added;
    // Texts of every length up to past the longest one held once, ASCII and Chinese, one of them empty.
    auto text = [](int n) {
        QByteArray t = QStringLiteral("收款单位%1").arg(n).toUtf8();
        while (t.size() < n % 300)
            t += char('a' + n % 26);
        return n % 997 == 0 ? QByteArray() : t;
    };
    for (int n = 0; n < distinct; ++n) {
        for (int r = 0; r < repeats; ++r) {
            const QByteArray t = text(n);
            store.beginRow();
            store.addLong(n);
            store.addText(1, t.constData(), int(t.size()));
            store.addText(2, t.constData(), int(t.size())); // a second column, collecting on its own
            QCOMPARE(store.endRow(), int(added.size()));
            added << t;
        }
    }
    for (int id = 0; id < added.size(); ++id) {
        const QVariantList values = store.values(id, 3);
        QCOMPARE(values.at(1).toString().toUtf8(), added.at(id));
        QCOMPARE(values.at(2).toString().toUtf8(), added.at(id));
        QCOMPARE(store.value(id, 1).toString().toUtf8(), added.at(id));
    }
}

void tst_dataview_limits::rowsAcrossBlocksComeBackWhole()
{
    // Rows of a few kilobytes each: many of them reach past the end of a block as they are added, and must be
    // moved whole into the next one.
    RowStore store;
    QList<QVariantList> added;
    for (int n = 0; n < 400; ++n) {
        const QByteArray longText(700 + (n * 37) % 2900, char('A' + n % 26));
        const QVariantList row = {qint64(n) * 1000003, QString::fromLatin1(longText), 0.25 * n,
                                  QDate(2020, 1, 1).addDays(n), QVariant(), QStringLiteral("备注%1").arg(n % 7)};
        store.beginRow();
        store.addLong(row.at(0).toLongLong());
        store.addText(1, longText.constData(), int(longText.size()));
        store.addNumber(row.at(2).toDouble());
        store.addDate(row.at(3).toDate().toJulianDay());
        store.addNull();
        const QByteArray remark = row.at(5).toString().toUtf8();
        store.addText(5, remark.constData(), int(remark.size()));
        QCOMPARE(store.endRow(), n);
        added << row;
    }
    QVERIFY(store.memoryUsed() > 4 * 256 * 1024); // the rows took several blocks
    for (int id = 0; id < added.size(); ++id)
        QCOMPARE(store.values(id, 6), added.at(id));
}

void tst_dataview_limits::reportPastTheRangeOfAnInt()
{
    // 2.2 million detail lines 1000 units high: the flow is 2.2e9 units long, past 2^31. The end of the scroll
    // bar shows the last line, numbered as the last row, on the last page.
    Fixture f;
    QVERIFY(f.connect());
    constexpr int kRows = 2'200'000;
    dw::ReportDefinition def;
    def.data.name = QStringLiteral("numbers");
    def.data.sql = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                  "SELECT i FROM n")
                       .arg(kRows);
    def.data.columns = {{QStringLiteral("i"), dw::Type::Long}};
    def.detail.height = 1000;
    def.detail.texts = {{0, 0, 2000, 0, dw::runningNumber()}};
    def.footer.height = 500;
    def.footer.texts = {{2500, 0, 6000, 0, dw::pageText(QStringLiteral("第 %1 页,共 %2页"))}};
    QVERIFY(qint64(kRows) * def.detail.height > std::numeric_limits<int>::max());

    dw::ReportView report;
    report.setDefinition(def);
    report.setTransaction(g::sqlca);
    report.resize(600, 400);
    report.show();
    QVERIFY(QTest::qWaitForWindowExposed(&report));
    QVERIFY(report.retrieve({}) > 0);
    QScrollBar *bar = report.verticalScrollBar();
    QVERIFY(bar->maximum() > 0);

    auto shown = [&](int x) {
        QStringList texts;
        for (const dw::PrintedText &t : report.visibleContent().texts)
            if (t.rect.x() == x && !t.text.isEmpty())
                texts << t.text;
        return texts;
    };
    // Halfway down, the lines are those of the middle: the layout needed no row past those in sight.
    bar->setValue(bar->maximum() / 2);
    const int middle = shown(0).constFirst().toInt();
    QVERIFY2(qAbs(middle - kRows / 2) < kRows / 100, qPrintable(QString::number(middle)));
    QVERIFY(report.buffer().fetchedCount() < kRows);
    bar->setValue(bar->maximum());
    const QStringList numbers = shown(0);
    QVERIFY(!numbers.isEmpty());
    QCOMPARE(numbers.last(), QString::number(kRows));
    const QStringList footer = shown(2500);
    QCOMPARE(footer.size(), 1);
    QVERIFY2(QRegularExpression(QStringLiteral("^第 (\\d+) 页,共 \\1页$")).match(footer.first()).hasMatch(),
             qPrintable(footer.first()));
}

void tst_dataview_limits::layoutBandsAsPlacedOneByOne_data()
{
    QTest::addColumn<bool>("grouped");
    QTest::addColumn<int>("header"); // band heights; 0: no such band
    QTest::addColumn<int>("detail");
    QTest::addColumn<int>("summary");
    QTest::newRow("groups with headers, summary") << true << 700 << 450 << 900;
    QTest::newRow("groups without headers") << true << 0 << 450 << 900;
    QTest::newRow("no groups") << false << 700 << 450 << 900;
    QTest::newRow("no summary") << true << 700 << 450 << 0;
    QTest::newRow("headers only") << true << 700 << 0 << 900;
    QTest::newRow("summary only") << false << 0 << 0 << 900;
}

void tst_dataview_limits::layoutBandsAsPlacedOneByOne()
{
    // Groups of uneven sizes (17 rows down to 3); the layout works bands out from its groups, and must place
    // them where a flow built band by band puts them.
    QFETCH(bool, grouped);
    QFETCH(int, header);
    QFETCH(int, detail);
    QFETCH(int, summary);
    Fixture f;
    QVERIFY(f.connect());
    dw::ReportDefinition def;
    def.data.name = QStringLiteral("groups");
    def.data.sql = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60) "
                                  "SELECT i, i * i / 300 AS g FROM n");
    def.data.columns = {{QStringLiteral("i"), dw::Type::Long}, {QStringLiteral("g"), dw::Type::Long}};
    def.groupBy = grouped ? QStringLiteral("g") : QString();
    def.header.height = 300;
    def.groupHeader.height = header;
    def.detail.height = detail;
    def.summary.height = summary;
    def.footer.height = 200;
    dw::Buffer rows(def.data);
    QVERIFY2(rows.retrieve(g::sqlca, {}) > 0, qPrintable(g::sqlca.SQLErrText));
    dw::ReportLayout layout(def, rows);
    QCOMPARE(layout.groups().size(), grouped ? 13 : 1);

    QList<dw::PlacedBand> expected;
    qint64 y = 0;
    auto place = [&](dw::PlacedBand::Kind kind, int row, int group, int height) {
        if (height > 0)
            expected.append({kind, y, row, group});
        y += qMax(0, height);
    };
    for (int g = 0; g < layout.groups().size(); ++g) {
        if (grouped)
            place(dw::PlacedBand::GroupHeader, layout.groups().at(g).first, g, header);
        for (int r = layout.groups().at(g).first; r <= layout.groups().at(g).last; ++r)
            place(dw::PlacedBand::Detail, r, g, detail);
    }
    place(dw::PlacedBand::Summary, 60, -1, summary);
    QCOMPARE(layout.flowHeight(), y);
    QCOMPARE(layout.bandCount(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const dw::PlacedBand got = layout.band(i), want = expected.at(i);
        QVERIFY2(got.kind == want.kind && got.y == want.y && got.row == want.row && got.group == want.group,
                 qPrintable(QStringLiteral("band %1").arg(i)));
    }
    // The band at a place: the last that starts at or above it.
    for (qint64 at = -100; at <= y + 100; at += 50) {
        int want = 0;
        for (int i = 0; i < expected.size(); ++i)
            if (expected.at(i).y <= at)
                want = i;
        QVERIFY2(layout.bandAt(at) == want, qPrintable(QStringLiteral("place %1").arg(at)));
    }
    // Pages break before the band that would cross the footer.
    const int pageHeight = 4000;
    QList<int> starts{0};
    int onPage = def.header.height;
    for (int i = 0; i < expected.size(); ++i) {
        const int height = expected.at(i).kind == dw::PlacedBand::Summary ? summary
                           : expected.at(i).kind == dw::PlacedBand::Detail ? detail
                                                                            : header;
        if (i > starts.last() && onPage + height > pageHeight - def.footer.height) {
            starts << i;
            onPage = def.header.height;
        }
        onPage += height;
    }
    QCOMPARE(layout.pageStarts(pageHeight), starts);
}

QTEST_MAIN(tst_dataview_limits)
#include "tst_dataview_limits.moc"
