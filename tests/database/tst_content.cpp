#include "fixture.h"
#include "forms/layout.h"
#include "globals.h"

#include <QtTest>

using forms::Family;

Q_DECLARE_METATYPE(forms::Family)

// The initial content of a freshly built database: the rows the program reads and never inserts.
class tst_content : public QObject {
    Q_OBJECT

private slots:
    void fixedRows();
    void layoutRowsFitTheirPage_data();
    void layoutRowsFitTheirPage();
    void fontRows();
};

void tst_content::fixedRows()
{
    Fixture f;
    QCOMPARE(f.scalar(QStringLiteral("SELECT count(*) FROM pass WHERE id = 1 AND name = 'system'")).toInt(), 1);
    QVERIFY(!f.scalar(QStringLiteral("SELECT passwd FROM pass WHERE id = 1")).toString().isEmpty());
    QCOMPARE(f.scalar(QStringLiteral("SELECT count(*) FROM myname")).toInt(), 1);

    QCOMPARE(f.scalar(QStringLiteral("SELECT count(*) FROM prsz")).toInt(), 7);
    const QStringList names{"格式一", "格式二", "格式三", "格式四", "格式五", "格式六", "格式七"};
    for (int k = 1; k <= 7; ++k)
        QCOMPARE(f.scalar(QStringLiteral("SELECT psname FROM prsz WHERE prid = ?"), {k}).toString(), names.at(k - 1));

    // Exactly the slots 1..42 and 1..35: count, lowest and highest of a key leave no room for gaps.
    for (const auto &[table, key, last] : {std::tuple{"sescr", "no", 42}, std::tuple{"sefonent", "seno", 35}}) {
        const QString sql = QStringLiteral("SELECT count(*) || ',' || min(%2) || ',' || max(%2) FROM %1");
        QCOMPARE(f.scalar(sql.arg(QLatin1String(table), QLatin1String(key))).toString(),
                 QStringLiteral("%1,1,%1").arg(last));
    }

    // Every column of the layout and font rows holds a number.
    for (const char *table : {"sescr", "sefonent"}) {
        const QVariant columns = f.scalar(QStringLiteral("SELECT group_concat(name) FROM pragma_table_info('%1')")
                                              .arg(QLatin1String(table)));
        for (const QString &column : columns.toString().split(u',')) {
            const QString sql = QStringLiteral("SELECT count(*) FROM %1 WHERE typeof(%2) <> 'integer'");
            QVERIFY2(f.scalar(sql.arg(QLatin1String(table), column)).toInt() == 0,
                     qPrintable(QStringLiteral("%1.%2").arg(QLatin1String(table), column)));
        }
    }
}

void tst_content::layoutRowsFitTheirPage_data()
{
    QTest::addColumn<Family>("family");
    QTest::newRow("cash cheque") << Family::CashCheque;
    QTest::newRow("transfer cheque") << Family::TransferCheque;
    QTest::newRow("draft application") << Family::DraftApplication;
    QTest::newRow("wire transfer") << Family::WireTransfer;
    QTest::newRow("deposit form") << Family::DepositForm;
    QTest::newRow("budget voucher") << Family::BudgetVoucher;
}

// Each family's seven slots start alike, and everything the print places (the digit row to its last box)
// lies on the page that the layout window shows.
void tst_content::layoutRowsFitTheirPage()
{
    QFETCH(Family, family);
    Fixture f;
    QVERIFY(f.connect());

    const forms::LayoutRow first = forms::readLayoutRow(g::sqlca, family, forms::slotOf(family, 1));
    QCOMPARE(g::sqlca.SQLCode, 0);
    int sex = 0, sey = 0;
    g::sqlca.selectInto(QStringLiteral("SELECT sex, sey FROM sescr WHERE no = ?"), {forms::slotOf(family, 1)},
                        {sex, sey});
    QCOMPARE(g::sqlca.SQLCode, 0);
    QVERIFY(first.jj > 0);

    for (const forms::Field &field : forms::fieldTable(family)) {
        const QPoint p = first.pair[field.pair];
        const QPoint last = field.split == -1
                                ? forms::digitRowPositions(p, first.jj, forms::digitPlaces(family)).last()
                                : p;
        QVERIFY2(p.x() > 0 && p.y() > 0 && last.x() < sex && last.y() < sey,
                 qPrintable(QStringLiteral("pair %1").arg(field.pair)));
    }

    for (int format = 2; format <= 7; ++format) {
        const int slot = forms::slotOf(family, format);
        const forms::LayoutRow row = forms::readLayoutRow(g::sqlca, family, slot);
        QCOMPARE(row.pair, first.pair);
        QCOMPARE(row.jj, first.jj);
        const QString sameSize = QStringLiteral("SELECT count(*) FROM sescr WHERE no = ? AND sex = ? AND sey = ?");
        QCOMPARE(f.scalar(sameSize, {slot, sex, sey}).toInt(), 1);
    }

    if (family == Family::BudgetVoucher) // the payee block stands right of the payer block on this paper
        QVERIFY(first.pair[4].x() > first.pair[7].x());
}

void tst_content::fontRows()
{
    Fixture f;
    QVERIFY(f.connect());
    for (int slot = 1; slot <= 35; ++slot) {
        const forms::FontRow row = forms::readFontRow(g::sqlca, slot);
        QCOMPARE(row.font, (std::array<int, 4>{0, 12, 12, 10}));
        QCOMPARE(row.enter, (std::array<int, 5>{0, 40, 40, 40, 40}));
        QCOMPARE(row.high, (std::array<int, 5>{0, 150, 150, 150, 150}));
    }
}

QTEST_MAIN(tst_content)
#include "tst_content.moc"
