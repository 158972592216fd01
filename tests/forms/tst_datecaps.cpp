#include "forms/datecaps.h"

#include <QtTest>

namespace {
// Months 1..12 and days 1..31 as the bill-filling rule writes them.
const char *const kMonths[] = {"零壹", "零贰", "零叁", "零肆", "零伍", "零陆",
                               "零柒", "零捌", "零玖", "零壹拾", "壹拾壹", "壹拾贰"};
const char *const kDays[] = {"零壹",   "零贰",   "零叁",   "零肆",   "零伍",   "零陆",   "零柒",   "零捌",
                             "零玖",   "零壹拾", "壹拾壹", "壹拾贰", "壹拾叁", "壹拾肆", "壹拾伍", "壹拾陆",
                             "壹拾柒", "壹拾捌", "壹拾玖", "零贰拾", "贰拾壹", "贰拾贰", "贰拾叁", "贰拾肆",
                             "贰拾伍", "贰拾陆", "贰拾柒", "贰拾捌", "贰拾玖", "零叁拾", "叁拾壹"};
} // namespace

class tst_datecaps : public QObject {
    Q_OBJECT

private slots:
    void month_data();
    void month();
    void day_data();
    void day();
    void year_data();
    void year();
    void fromBoxTexts_data();
    void fromBoxTexts();
};

void tst_datecaps::month_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<QString>("capitals");
    for (int m = 1; m <= 12; ++m)
        QTest::addRow("month %d", m) << m << QString::fromUtf8(kMonths[m - 1]);
}

void tst_datecaps::month()
{
    QFETCH(int, month);
    QFETCH(QString, capitals);
    QCOMPARE(forms::dateInCapitals(QDate(2026, month, 1)).month, capitals);
    QCOMPARE(forms::dateInCapitals(QStringLiteral("2026"), QString::number(month), QStringLiteral("1")).month,
             capitals);
}

void tst_datecaps::day_data()
{
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("capitals");
    for (int d = 1; d <= 31; ++d)
        QTest::addRow("day %d", d) << d << QString::fromUtf8(kDays[d - 1]);
}

void tst_datecaps::day()
{
    QFETCH(int, day);
    QFETCH(QString, capitals);
    QCOMPARE(forms::dateInCapitals(QDate(2026, 3, day)).day, capitals);
    QCOMPARE(forms::dateInCapitals(QStringLiteral("2026"), QStringLiteral("3"), QString::number(day)).day, capitals);
}

void tst_datecaps::year_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("capitals");
    QTest::newRow("2026") << 2026 << QStringLiteral("贰零贰陆");
    QTest::newRow("zeros written as 零") << 2009 << QStringLiteral("贰零零玖");
    QTest::newRow("2000") << 2000 << QStringLiteral("贰零零零");
    QTest::newRow("1998") << 1998 << QStringLiteral("壹玖玖捌");
}

void tst_datecaps::year()
{
    QFETCH(int, year);
    QFETCH(QString, capitals);
    QCOMPARE(forms::dateInCapitals(QDate(year, 12, 31)).year, capitals);
}

// The form reads the three boxes as they stand; what cannot be a month or day gives no capitals.
void tst_datecaps::fromBoxTexts_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("yearCaps");
    QTest::addColumn<QString>("monthCaps");
    QTest::addColumn<QString>("dayCaps");
    QTest::newRow("as the open writes them") << "2026" << "3" << "5" << "贰零贰陆" << "零叁" << "零伍";
    QTest::newRow("leading zeros") << "2026" << "03" << "05" << "贰零贰陆" << "零叁" << "零伍";
    QTest::newRow("month 13, day 32") << "2026" << "13" << "32" << "贰零贰陆" << "" << "";
    QTest::newRow("month 0, day 0") << "2026" << "0" << "0" << "贰零贰陆" << "" << "";
    QTest::newRow("empty boxes") << "" << "" << "" << "" << "" << "";
    QTest::newRow("letters") << "2026" << "ab" << "c" << "贰零贰陆" << "" << "";
}

void tst_datecaps::fromBoxTexts()
{
    QFETCH(QString, year);
    QFETCH(QString, month);
    QFETCH(QString, day);
    const forms::DateCapitals c = forms::dateInCapitals(year, month, day);
    QTEST(c.year, "yearCaps");
    QTEST(c.month, "monthCaps");
    QTEST(c.day, "dayCaps");
}

QTEST_APPLESS_MAIN(tst_datecaps)
#include "tst_datecaps.moc"
