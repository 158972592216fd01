#include "fixture.h"
#include "forms/amount.h"
#include "forms/layout.h"
#include "globals.h"

#include <QtTest>

using forms::Family;

Q_DECLARE_METATYPE(forms::Family)

namespace {
const QList<QPair<const char *, Family>> kFamilies = {
    {"cash cheque", Family::CashCheque},
    {"transfer cheque", Family::TransferCheque},
    {"draft application", Family::DraftApplication},
    {"wire transfer", Family::WireTransfer},
    {"deposit form", Family::DepositForm},
    {"budget voucher", Family::BudgetVoucher},
};

// Distinctive stored values: pair k at (100k + 1, 100k + 2).
QPoint storedPair(int k) { return {100 * k + 1, 100 * k + 2}; }
} // namespace

class tst_layout : public QObject {
    Q_OBJECT

private slots:
    void slotRule_data();
    void slotRule();
    void firstCheckedFormat();
    void split_data();
    void split();
    void digitRow();
    void columnOrder();
    void readLayoutRow_data();
    void readLayoutRow();
    void missingRowsReadAsZero();
    void readFontRow();
    void fieldTables_data();
    void fieldTables();
    void distinctiveFields();
};

void tst_layout::slotRule_data()
{
    QTest::addColumn<Family>("family");
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("slot");
    QTest::newRow("cash cheque 1") << Family::CashCheque << 1 << 1;
    QTest::newRow("cash cheque 3") << Family::CashCheque << 3 << 3;
    QTest::newRow("transfer cheque 3") << Family::TransferCheque << 3 << 10;
    QTest::newRow("draft application 7") << Family::DraftApplication << 7 << 21;
    QTest::newRow("wire transfer 1") << Family::WireTransfer << 1 << 22;
    QTest::newRow("deposit form 3") << Family::DepositForm << 3 << 31;
    QTest::newRow("budget voucher 3") << Family::BudgetVoucher << 3 << 38;
    QTest::newRow("budget voucher 7") << Family::BudgetVoucher << 7 << 42;
    QTest::newRow("format 0") << Family::TransferCheque << 0 << 0;
    QTest::newRow("format 8") << Family::DepositForm << 8 << 0;
}

void tst_layout::slotRule()
{
    QFETCH(Family, family);
    QFETCH(int, format);
    QTEST(forms::slotOf(family, format), "slot");
}

void tst_layout::firstCheckedFormat()
{
    QCOMPARE(forms::firstCheckedFormat({}), 0);
    QCOMPARE(forms::firstCheckedFormat({false, false, true, false, true, false, false}), 3);
    QCOMPARE(forms::firstCheckedFormat({false, false, false, false, false, false, true}), 7);
}

void tst_layout::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("blanks trimmed") << "  abc  " << 2 << "ab" << "c";
    QTest::newRow("fits") << "北京市朝阳区" << 40 << "北京市朝阳区" << "";
    QTest::newRow("exact length") << "北京市" << 6 << "北京市" << "";
    QTest::newRow("no half character") << "北京市" << 5 << "北京" << "市";
    QTest::newRow("mixed widths") << "ab北京" << 3 << "ab" << "北京";
    QTest::newRow("one byte") << "北京" << 1 << "" << "北京";
    QTest::newRow("zero length") << " 北京市 " << 0 << "" << "北京市";
    QTest::newRow("negative length") << "北京" << -3 << "" << "北京";
    QTest::newRow("full-width blank kept") << "\u3000北京 " << 4 << "\u3000北" << "京";
    QTest::newRow("inner blanks kept") << "ab cd" << 3 << "ab " << "cd";
    QTest::newRow("only blanks") << "    " << 2 << "" << "";
    QTest::newRow("empty") << "" << 40 << "" << "";
}

void tst_layout::split()
{
    QFETCH(QString, text);
    QFETCH(int, length);
    const auto lines = forms::splitLongField(text, length);
    QTEST(lines.first, "first");
    QTEST(lines.second, "second");
}

void tst_layout::digitRow()
{
    const QList<QPoint> ten = forms::digitRowPositions({4736, 1128}, 186, 10);
    QCOMPARE(ten.size(), 10);
    QCOMPARE(ten.first(), QPoint(4736, 1128));
    QCOMPARE(ten.last(), QPoint(4736 + 9 * 186, 1128));
    QCOMPARE(forms::digitRowPositions({10, 20}, -5, 11).last(), QPoint(-40, 20));

    // 1,234.56 puts the mark in box j = 3 and the digits in boxes 4 to 9.
    const QStringList boxes = forms::amountInCapitals(1234.56).highestFirst();
    QCOMPARE(boxes.mid(0, 3), QStringList({"", "", ""}));
    QCOMPARE(boxes.at(3), QStringLiteral("￥"));
    QCOMPARE(boxes.mid(4), QStringList({"1", "2", "3", "4", "5", "6"}));
}

// The print and the layout window of a family read and write the columns in this order.
void tst_layout::columnOrder()
{
    auto pairs = [](int from, int to) {
        QStringList columns;
        for (int k = from; k <= to; ++k)
            columns << QStringLiteral("x%1w").arg(k) << QStringLiteral("y%1w").arg(k);
        return columns;
    };
    const QStringList jj{QStringLiteral("jj")};
    QCOMPARE(forms::layoutColumns(Family::CashCheque), pairs(1, 15) + jj + pairs(16, 18));
    QCOMPARE(forms::layoutColumns(Family::TransferCheque), pairs(1, 15) + jj + pairs(16, 18));
    QCOMPARE(forms::layoutColumns(Family::DraftApplication), pairs(1, 15) + jj);
    QCOMPARE(forms::layoutColumns(Family::WireTransfer), pairs(1, 19) + jj);
    QCOMPARE(forms::layoutColumns(Family::DepositForm), pairs(1, 15) + jj);
    QCOMPARE(forms::layoutColumns(Family::BudgetVoucher), pairs(1, 17) + jj);
}

void tst_layout::readLayoutRow_data()
{
    QTest::addColumn<Family>("family");
    for (const auto &[name, family] : kFamilies)
        QTest::newRow(name) << family;
}

// Every stored column gets its own value, so a column read in the wrong order shows up as a wrong pair.
void tst_layout::readLayoutRow()
{
    QFETCH(Family, family);
    Fixture f;
    QVERIFY(f.connect());
    const int slot = forms::slotOf(family, 4);
    QStringList sets;
    QVariantList values;
    for (int k = 1; k <= 19; ++k) {
        sets << QStringLiteral("x%1w = ?").arg(k) << QStringLiteral("y%1w = ?").arg(k);
        values << storedPair(k).x() << storedPair(k).y();
    }
    f.exec(QStringLiteral("UPDATE sescr SET %1, jj = 77, sex = 9001, sey = 9002 WHERE no = %2")
               .arg(sets.join(u", "))
               .arg(slot),
           values);

    const forms::LayoutRow row = forms::readLayoutRow(g::sqlca, family, slot);
    QCOMPARE(g::sqlca.SQLCode, 0);
    QCOMPARE(row.jj, 77);
    QCOMPARE(row.sex, 0);
    QCOMPARE(row.sey, 0);
    for (int k = 1; k <= 19; ++k) {
        const QPoint expected = k <= forms::pairCount(family) ? storedPair(k) : QPoint();
        QVERIFY2(row.pair[k] == expected, qPrintable(QStringLiteral("pair %1").arg(k)));
    }
}

void tst_layout::missingRowsReadAsZero()
{
    Fixture f;
    QVERIFY(f.connect());
    f.exec(QStringLiteral("DELETE FROM sescr WHERE no = 3"));
    f.exec(QStringLiteral("DELETE FROM sefonent WHERE seno = 3"));

    const forms::LayoutRow row = forms::readLayoutRow(g::sqlca, Family::CashCheque, 3);
    QCOMPARE(g::sqlca.SQLCode, 100);
    QCOMPARE(row.jj, 0);
    for (const QPoint &p : row.pair)
        QCOMPARE(p, QPoint());

    const forms::FontRow font = forms::readFontRow(g::sqlca, 3);
    QCOMPARE(g::sqlca.SQLCode, 100);
    QCOMPARE(font.font, (std::array<int, 4>{}));
    QCOMPARE(font.enter, (std::array<int, 5>{}));
    QCOMPARE(font.high, (std::array<int, 5>{}));

    // The budget voucher's slots have no font row at all.
    forms::readFontRow(g::sqlca, 36);
    QCOMPARE(g::sqlca.SQLCode, 100);
}

void tst_layout::readFontRow()
{
    Fixture f;
    QVERIFY(f.connect());
    f.exec(QStringLiteral("UPDATE sefonent SET sefont1 = 11, sefont2 = 12, sefont3 = 13, senter1 = 21, "
                          "senter2 = 22, senter3 = 23, senter4 = 24, sehigh1 = 301, sehigh2 = 302, sehigh3 = 303, "
                          "sehigh4 = 304 WHERE seno = 30"));
    const forms::FontRow row = forms::readFontRow(g::sqlca, 30);
    QCOMPARE(g::sqlca.SQLCode, 0);
    QCOMPARE(row.font, (std::array<int, 4>{0, 11, 12, 13}));
    QCOMPARE(row.enter, (std::array<int, 5>{0, 21, 22, 23, 24}));
    QCOMPARE(row.high, (std::array<int, 5>{0, 301, 302, 303, 304}));
}

void tst_layout::fieldTables_data()
{
    readLayoutRow_data();
}

// What holds for every family: pairs in order within the row, one digit row at pair 15, the amount in
// capitals in font 2, and the four long fields exactly where the family has a font row.
void tst_layout::fieldTables()
{
    QFETCH(Family, family);
    const QList<forms::Field> fields = forms::fieldTable(family);
    QVERIFY(!fields.isEmpty());
    int previous = 0;
    QList<int> splits;
    int digitRows = 0;
    for (const forms::Field &field : fields) {
        QVERIFY(field.pair > previous);
        QVERIFY(field.pair <= forms::pairCount(family));
        QVERIFY(field.airSlot >= 1 && field.airSlot <= 28);
        QVERIFY(!field.what.isEmpty());
        previous = field.pair;
        if (field.split == -1) {
            ++digitRows;
            QCOMPARE(field.pair, 15);
            QCOMPARE(field.airSlot, 15);
        } else if (field.split > 0) {
            splits << field.split;
        }
        QCOMPARE(field.font == 2, field.what == QStringLiteral("amount in capitals"));
    }
    QCOMPARE(digitRows, 1);
    QCOMPARE(fields.last().pair, forms::pairCount(family));
    QCOMPARE(splits, forms::readsFontRow(family) ? QList<int>({1, 2, 3, 4}) : QList<int>());
    QCOMPARE(forms::digitPlaces(family), family == Family::BudgetVoucher ? 11 : 10);
}

// The rows where a family differs from the plain "pair k, sample slot k, font 1".
void tst_layout::distinctiveFields()
{
    auto field = [](Family family, int pair) {
        for (const forms::Field &f : forms::fieldTable(family))
            if (f.pair == pair)
                return f;
        return forms::Field{0, 0, 0, 0, {}};
    };
    auto check = [&](Family family, int pair, int font, int split, int airSlot) {
        const forms::Field f = field(family, pair);
        QVERIFY2(f.pair == pair && f.font == font && f.split == split && f.airSlot == airSlot,
                 qPrintable(QStringLiteral("pair %1 of %2").arg(pair).arg(int(family))));
    };
    for (Family cheque : {Family::CashCheque, Family::TransferCheque}) {
        check(cheque, 4, 3, 1, 4);
        check(cheque, 11, 1, 3, 11);
        check(cheque, 16, 1, 4, 25);
        check(cheque, 17, 1, 0, 12);
        check(cheque, 18, 1, 0, 13);
    }
    for (int pair : {11, 12, 13})
        QCOMPARE(field(Family::DraftApplication, pair).pair, 0);
    check(Family::DraftApplication, 9, 1, 4, 9);
    check(Family::WireTransfer, 9, 3, 2, 9);
    check(Family::WireTransfer, 16, 3, 0, 25);
    check(Family::WireTransfer, 17, 3, 4, 26);
    check(Family::WireTransfer, 19, 1, 0, 28);
    check(Family::DepositForm, 9, 1, 4, 9);
    check(Family::BudgetVoucher, 14, 3, 0, 14);
    check(Family::BudgetVoucher, 16, 1, 0, 27);
    check(Family::BudgetVoucher, 17, 1, 0, 26);
}

QTEST_MAIN(tst_layout)
#include "tst_layout.moc"
