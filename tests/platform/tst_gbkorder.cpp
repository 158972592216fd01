// The database's text order: a total order over any bytes a text may hold, GBK byte order for the characters of
// the table the program carries, the characters GBK lacks after them and malformed bytes last.
#include "platform/gbk.h"

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QtTest>

#include <algorithm>

namespace {
int cmp(const QByteArray &a, const QByteArray &b)
{
    return gbk::compareUtf8(a.constData(), int(a.size()), b.constData(), int(b.size()));
}

// One character's UTF-8 bytes (QString would take U+FEFF for a byte order mark and drop it).
QByteArray utf8(char32_t c)
{
    if (c < 0x80)
        return QByteArray(1, char(c));
    if (c < 0x800)
        return QByteArray().append(char(0xC0 | c >> 6)).append(char(0x80 | (c & 0x3F)));
    return QByteArray()
        .append(char(0xE0 | c >> 12))
        .append(char(0x80 | (c >> 6 & 0x3F)))
        .append(char(0x80 | (c & 0x3F)));
}

// The carried table: the character of every two-byte code in code order, as the generator wrote it.
QList<std::pair<QByteArray, char16_t>> carriedTable()
{
    QFile f(QStringLiteral(SOURCE_DIR "/common/platform/gbkorder.inc"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<std::pair<QByteArray, char16_t>> table;
    int slot = 0;
    static const QRegularExpression number(QStringLiteral("0x([0-9A-F]{4})"));
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith("//"))
            continue;
        for (const auto &m : number.globalMatch(QString::fromLatin1(line))) {
            const int k = slot % 190, lead = 0x81 + slot / 190, trail = 0x40 + k + (k >= 0x3F ? 1 : 0);
            if (const char16_t c = char16_t(m.captured(1).toUInt(nullptr, 16)))
                table.append({QByteArray().append(char(lead)).append(char(trail)), c});
            ++slot;
        }
    }
    return table;
}

// Texts that once compared equal though they differ, or broke the order: '?' and characters GBK lacks, bytes that
// begin no character (a lead byte before ASCII, a lone continuation, a cut sequence, an encoded surrogate, an
// overlong form, a code point beyond U+10FFFF), and GBK texts beside them.
QList<QByteArray> adversarialTexts()
{
    return {
        "", "?", "??", "A", "a", "AB", "B", "\x7f",
        "啊", "阿", "一", "中国", "中国银行", "齄", "丂", "\xC2\xB7" /* U+00B7 */,
        "😀", "😁", "\xE2\x82\xAC" /* U+20AC */, "\xEF\xBF\xBD" /* U+FFFD */, "\xEE\x80\x80" /* U+E000 */,
        "\xC4\x80" /* U+0100 */, "\xF4\x8F\xBF\xBF" /* U+10FFFF */,
        "\xC3\x41", "\xC3\x42", "\xC3", "\x80", "\xBF", "\xFF", "\xFE", "\xE4\xB8", "\xE4\xB8\x41",
        "\xED\xA0\x80", "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80",
        "中\xC3", "中\xC3\x41", "中?", "中😀", "?中", "😀中", "\xFF中", "a\xC3", "a?", "a😀",
    };
}

// Random texts from the same pieces and single bytes of every value, seeded so that a failure repeats.
QList<QByteArray> randomTexts(int count)
{
    const QList<QByteArray> pieces = adversarialTexts();
    QRandomGenerator random(20260305);
    QList<QByteArray> texts;
    for (int i = 0; i < count; ++i) {
        QByteArray t;
        const int n = random.bounded(1, 5);
        for (int k = 0; k < n; ++k)
            t += random.bounded(3) ? pieces.at(random.bounded(pieces.size())) : QByteArray(1, char(random.bounded(256)));
        texts.append(t);
    }
    return texts;
}
} // namespace

class tst_gbkorder : public QObject {
    Q_OBJECT
private slots:
    void totalOrder();
    void placesOfTheKinds_data();
    void placesOfTheKinds();
    void textsOrderAsTheirBytes();
    void everyCharacterInItsPlace();
    void agreesWithTheConverter();
};

// Antisymmetric, transitive, and equal only when the bytes are equal: sorted, every earlier text is below every
// later one.
void tst_gbkorder::totalOrder()
{
    QList<QByteArray> texts = adversarialTexts() + randomTexts(600);
    std::sort(texts.begin(), texts.end());
    texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
    for (const QByteArray &a : texts)
        for (const QByteArray &b : texts) {
            const int ab = cmp(a, b), ba = cmp(b, a);
            if ((ab == 0) != (a == b) || (ab > 0) != (ba < 0) || (ab < 0) != (ba > 0))
                QFAIL(qPrintable(QStringLiteral("%1 against %2: %3, %4")
                                     .arg(QString::fromLatin1(a.toHex(' ')), QString::fromLatin1(b.toHex(' ')))
                                     .arg(ab)
                                     .arg(ba)));
        }
    std::sort(texts.begin(), texts.end(), [](const QByteArray &a, const QByteArray &b) { return cmp(a, b) < 0; });
    for (qsizetype i = 0; i < texts.size(); ++i)
        for (qsizetype j = i + 1; j < texts.size(); ++j)
            if (cmp(texts.at(i), texts.at(j)) >= 0)
                QFAIL(qPrintable(QStringLiteral("not transitive at %1 and %2")
                                     .arg(QString::fromLatin1(texts.at(i).toHex(' ')),
                                          QString::fromLatin1(texts.at(j).toHex(' ')))));
}

void tst_gbkorder::placesOfTheKinds_data()
{
    QTest::addColumn<QByteArray>("lower");
    QTest::addColumn<QByteArray>("higher");
    QTest::newRow("GBK bytes: pinyin order") << QByteArray("啊") << QByteArray("阿");
    QTest::newRow("GBK bytes: symbols before hanzi") << QByteArray("\xC2\xB7") << QByteArray("啊");
    QTest::newRow("ASCII before two bytes") << QByteArray("z") << QByteArray("啊");
    QTest::newRow("a prefix first") << QByteArray("中国") << QByteArray("中国银行");
    QTest::newRow("'?' before what GBK lacks") << QByteArray("?") << QByteArray("😀");
    QTest::newRow("the last GBK character before what GBK lacks") << QByteArray("\xEF\xA8\xA9" /* U+FA29 */)
                                                                  << QByteArray("\xC4\x80" /* U+0100 */);
    QTest::newRow("lacking: by code point") << QByteArray("\xC4\x80") << QByteArray("😀");
    QTest::newRow("lacking: the first character decides") << QByteArray("😀z") << QByteArray("😁a");
    QTest::newRow("malformed after lacking") << QByteArray("\xF4\x8F\xBF\xBF") << QByteArray("\x80");
    QTest::newRow("malformed: by byte value") << QByteArray("\xC3") << QByteArray("\xFF");
    QTest::newRow("no byte swallowed") << QByteArray("\xC3\x41") << QByteArray("\xC3\x42");
    QTest::newRow("a cut sequence: its bytes one by one") << QByteArray("\xE4\xB8\x41") << QByteArray("\xE4\xB8\x42");
    QTest::newRow("an encoded surrogate is malformed") << QByteArray("😀") << QByteArray("\xED\xA0\x80");
    QTest::newRow("an overlong NUL is malformed") << QByteArray("\xF4\x8F\xBF\xBF") << QByteArray("\xC0\x80");
}

void tst_gbkorder::placesOfTheKinds()
{
    QFETCH(QByteArray, lower);
    QFETCH(QByteArray, higher);
    QVERIFY(cmp(lower, higher) < 0);
    QVERIFY(cmp(higher, lower) > 0);
    // The text form gives the same order for what it can hold.
    if (QString::fromUtf8(lower).toUtf8() == lower && QString::fromUtf8(higher).toUtf8() == higher)
        QVERIFY(gbk::compare(QString::fromUtf8(lower), QString::fromUtf8(higher)) < 0);
}

// The text form orders as the UTF-8 the database holds, and a lone surrogate half, which Qt would write as '?',
// has a place of its own too.
void tst_gbkorder::textsOrderAsTheirBytes()
{
    QStringList texts;
    for (const QByteArray &t : adversarialTexts())
        if (QString::fromUtf8(t).toUtf8() == t)
            texts << QString::fromUtf8(t);
    for (const QString &a : texts)
        for (const QString &b : texts)
            QCOMPARE(gbk::compare(a, b), cmp(a.toUtf8(), b.toUtf8()));
    const QString high(QChar(0xD83D)), low(QChar(0xDE00));
    const QStringList halves = {"?", high, low, high + "a", low + high, "a" + high, QString::fromUtf8("😀"), high + low};
    for (const QString &a : halves)
        for (const QString &b : halves) {
            QCOMPARE(gbk::compare(a, b) == 0, a == b);
            QCOMPARE(gbk::compare(a, b) < 0, gbk::compare(b, a) > 0);
        }
}

// Every character of the basic plane has a place of its own: the table's in the order of their codes, then the
// rest in code point order.
void tst_gbkorder::everyCharacterInItsPlace()
{
    const QList<std::pair<QByteArray, char16_t>> table = carriedTable();
    QCOMPARE(table.size(), 21791);
    QList<char32_t> expected;
    for (char32_t c = 0; c < 0x80; ++c)
        expected.append(c);
    for (const auto &[code, c] : table)
        expected.append(c);
    QSet<char32_t> inTable(expected.begin(), expected.end());
    for (char32_t c = 0x80; c < 0x10000; ++c)
        if (!inTable.contains(c) && !(c >= 0xD800 && c < 0xE000))
            expected.append(c);

    QList<char32_t> sorted = expected;
    std::sort(sorted.begin(), sorted.end(), [](char32_t a, char32_t b) { return cmp(utf8(a), utf8(b)) < 0; });
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        if (sorted.at(i) != expected.at(i))
            QFAIL(qPrintable(QStringLiteral("place %1: U+%2 where U+%3 belongs")
                                 .arg(i)
                                 .arg(uint(sorted.at(i)), 4, 16, QLatin1Char('0'))
                                 .arg(uint(expected.at(i)), 4, 16, QLatin1Char('0'))));
        if (i > 0 && cmp(utf8(sorted.at(i - 1)), utf8(sorted.at(i))) >= 0)
            QFAIL(qPrintable(QStringLiteral("U+%1 not below U+%2")
                                 .arg(uint(sorted.at(i - 1)), 4, 16, QLatin1Char('0'))
                                 .arg(uint(sorted.at(i)), 4, 16, QLatin1Char('0'))));
    }
}

// Where the program has a GBK converter, it encodes every character of the carried table to the table's code, so
// that the order is the one indexes written through the converter had.
void tst_gbkorder::agreesWithTheConverter()
{
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        QSKIP("no GBK converter on this machine");
    const QList<std::pair<QByteArray, char16_t>> table = carriedTable();
    QVERIFY(!table.isEmpty());
    QStringList differ;
    for (const auto &[code, c] : table) {
        const QByteArray bytes = encoder.encode(QStringView(&c, 1));
        if (bytes != code)
            differ << QStringLiteral("U+%1 %2/%3")
                          .arg(uint(c), 4, 16, QLatin1Char('0'))
                          .arg(QString::fromLatin1(code.toHex()), QString::fromLatin1(bytes.toHex()));
    }
    QVERIFY2(differ.isEmpty(), qPrintable(differ.join(u", ")));
    // Consecutive codes of the table are in order.
    for (qsizetype i = 1; i < table.size(); ++i)
        QVERIFY(cmp(utf8(table.at(i - 1).second), utf8(table.at(i).second)) < 0);
}

QTEST_MAIN(tst_gbkorder)
#include "tst_gbkorder.moc"
