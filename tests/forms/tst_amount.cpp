#include "forms/amount.h"

#include <QtTest>

#include <limits>

using forms::AmountText;

class tst_amount : public QObject {
    Q_OBJECT

private slots:
    void capitalsAndBoxes_data();
    void capitalsAndBoxes();
    void negativeAmountsHaveTheBoxesOfZero();
    void boxesAreIndexedFromFen();
    void amountFromText_data();
    void amountFromText();
};

// Boxes are written highest place first, separated by blanks; "_" is an empty box.
void tst_amount::capitalsAndBoxes_data()
{
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("boxText");
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<QString>("capitals");

    struct Row {
        const char *amount;
        const char *boxes;
        const char *capitals;
    };
    const Row ten[] = {
        {"0.00", "_ _ _ _ _ _ _ ￥ _ 0", "元整"},
        {"0.05", "_ _ _ _ _ _ _ ￥ _ 5", "元伍分"},
        {"0.50", "_ _ _ _ _ _ _ ￥ 5 0", "元伍角整"},
        {"1.00", "_ _ _ _ _ _ ￥ 1 0 0", "壹元整"},
        {"1.13", "_ _ _ _ _ _ ￥ 1 1 3", "壹元壹角叁分"},
        {"10.05", "_ _ _ _ _ ￥ 1 0 0 5", "壹拾元零伍分"},
        {"12.30", "_ _ _ _ _ ￥ 1 2 3 0", "壹拾贰元叁角整"},
        {"305.60", "_ _ _ _ ￥ 3 0 5 6 0", "叁佰零伍元陆角整"},
        {"1,005.00", "_ _ _ ￥ 1 0 0 5 0 0", "壹仟零伍元整"},
        {"1,234.56", "_ _ _ ￥ 1 2 3 4 5 6", "壹仟贰佰叁拾肆元伍角陆分"},
        {"60,000.08", "_ _ ￥ 6 0 0 0 0 0 8", "陆万元零捌分"},
        {"100,000.00", "_ ￥ 1 0 0 0 0 0 0 0", "壹拾万元整"},
        {"10,005,000.00", "1 0 0 0 5 0 0 0 0 0", "壹仟万伍仟元整"},
        {"10,100,000.00", "1 0 1 0 0 0 0 0 0 0", "壹仟零壹拾万元整"},
        {"99,999,999.99", "9 9 9 9 9 9 9 9 9 9", "玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},
    };
    const Row eleven[] = {
        {"0.00", "_ _ _ _ _ _ _ _ ￥ _ 0", "元整"},
        {"0.50", "_ _ _ _ _ _ _ _ ￥ 5 0", "元伍角整"},
        {"5.00", "_ _ _ _ _ _ _ ￥ 5 0 0", "伍元整"},
        {"10.05", "_ _ _ _ _ _ ￥ 1 0 0 5", "壹拾元零伍分"},
        {"12.30", "_ _ _ _ _ _ ￥ 1 2 3 0", "壹拾贰元叁角整"},
        {"1,005.00", "_ _ _ _ ￥ 1 0 0 5 0 0", "壹仟零伍元整"},
        {"10,000,000.00", "￥ 1 0 0 0 0 0 0 0 0 0", "壹仟万元整"},
        {"10,010,000.00", "￥ 1 0 0 1 0 0 0 0 0 0", "壹仟零壹万元整"},
        {"100,000,000.00", "1 0 0 0 0 0 0 0 0 0 0", "壹亿元整"},
        {"100,010,000.00", "1 0 0 0 1 0 0 0 0 0 0", "壹亿零壹万元整"},
        {"100,100,000.00", "1 0 0 1 0 0 0 0 0 0 0", "壹亿零壹拾万元整"},
        {"100,001,000.00", "1 0 0 0 0 1 0 0 0 0 0", "壹亿壹仟元整"},
        {"200,300,000.00", "2 0 0 3 0 0 0 0 0 0 0", "贰亿零叁拾万元整"},
        {"123,456,789.12", "1 2 3 4 5 6 7 8 9 1 2", "壹亿贰仟叁佰肆拾伍万陆仟柒佰捌拾玖元壹角贰分"},
        {"999,999,999.99", "9 9 9 9 9 9 9 9 9 9 9", "玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},
    };
    for (const Row &r : ten)
        QTest::addRow("10 places %s", r.amount)
            << 10 << QString::fromUtf8(r.amount) << QString::fromUtf8(r.boxes) << QString::fromUtf8(r.capitals);
    for (const Row &r : eleven)
        QTest::addRow("11 places %s", r.amount)
            << 11 << QString::fromUtf8(r.amount) << QString::fromUtf8(r.boxes) << QString::fromUtf8(r.capitals);
}

void tst_amount::capitalsAndBoxes()
{
    QFETCH(int, places);
    QFETCH(QString, boxText);
    QFETCH(QString, boxes);
    QFETCH(QString, capitals);

    const double value = forms::amountFromText(boxText);
    const AmountText a = forms::amountInCapitals(value, places);
    QCOMPARE(a.value, value);
    QCOMPARE(a.capitals, capitals);
    QStringList shown = a.highestFirst();
    QCOMPARE(shown.size(), places);
    for (QString &box : shown)
        if (box.isEmpty())
            box = QStringLiteral("_");
    QCOMPARE(shown.join(u' '), boxes);
}

void tst_amount::negativeAmountsHaveTheBoxesOfZero()
{
    const AmountText zero = forms::amountInCapitals(0.0);
    for (double v : {-5.0, -0.01, std::numeric_limits<double>::quiet_NaN()}) {
        const AmountText a = forms::amountInCapitals(v);
        QCOMPARE(a.capitals, zero.capitals);
        QCOMPARE(a.places, zero.places);
    }
}

void tst_amount::boxesAreIndexedFromFen()
{
    // places[0] is the 分 box; the mark sits just above the highest yuan digit.
    const AmountText a = forms::amountInCapitals(1234.56);
    QCOMPARE(a.places.size(), 10);
    QCOMPARE(a.places.at(0), QStringLiteral("6"));
    QCOMPARE(a.places.at(5), QStringLiteral("1"));
    QCOMPARE(a.places.at(6), QStringLiteral("￥"));
    QVERIFY(a.places.at(9).isEmpty());
}

void tst_amount::amountFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("separators") << "1,234.56" << 1234.56;
    QTest::newRow("largest of eleven places") << "999,999,999.99" << 999999999.99;
    QTest::newRow("plain") << "12.3" << 12.3;
    QTest::newRow("blanks around") << "  305.60 " << 305.6;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("only blanks") << "   " << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("trailing garbage") << "12abc" << 0.0;
    QTest::newRow("not a number") << "nan" << 0.0;
    QTest::newRow("infinite") << "inf" << 0.0;
}

void tst_amount::amountFromText()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(forms::amountFromText(text), value);
}

QTEST_APPLESS_MAIN(tst_amount)
#include "tst_amount.moc"
