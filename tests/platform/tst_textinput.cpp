// The one-line rule and the GBK test behind the refusals: pure functions, no window.
#include "platform/gbk.h"
#include "platform/textinput.h"

#include <QtTest>

class tst_textinput : public QObject {
    Q_OBJECT
private slots:
    void singleLine_data();
    void singleLine();
    void firstUnencodable_data();
    void firstUnencodable();
};

void tst_textinput::singleLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("plain") << "北京 公司" << "北京 公司";
    QTest::newRow("LF, CRLF") << "line1\nline2\r\nline3" << "line1";
    QTest::newRow("CR alone") << "a\rb" << "a";
    QTest::newRow("leading breaks") << "\r\n\r\nabc\ndef" << "abc";
    QTest::newRow("blank first line") << "   \nabc" << "abc";
    QTest::newRow("only breaks") << "\n\r\n" << "";
    QTest::newRow("tab as a blank") << "A\tB" << "A B";
    QTest::newRow("bell, escape, delete") << "A\aB\x1b" "C\x7f" << "ABC";
    QTest::newRow("C1 controls") << QString("A") + QChar(0x85) + "B" + QChar(0x9b) << "A";
    QTest::newRow("line separator") << QString("甲") + QChar(0x2028) + "乙" << "甲";
    QTest::newRow("trailing line end") << "12.50\r\n" << "12.50";
}

void tst_textinput::singleLine()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(textinput::singleLine(text), line);
}

void tst_textinput::firstUnencodable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("character");
    QTest::newRow("ASCII") << "abc 123" << "";
    QTest::newRow("GB2312 and GBK") << "北京·—㈠" << "";
    QTest::newRow("emoji") << "付款😀好" << "😀";
    QTest::newRow("extension B") << "𠀀" << "𠀀";
    QTest::newRow("bullet") << "a•b" << "•";
}

void tst_textinput::firstUnencodable()
{
    QFETCH(QString, text);
    QFETCH(QString, character);
    QCOMPARE(gbk::firstUnencodable(text), character);
}

QTEST_MAIN(tst_textinput)
#include "tst_textinput.moc"
