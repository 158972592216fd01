#include "platform/gbk.h"

#include <QList>
#include <QStringEncoder>

#include <memory>

namespace gbk {
namespace {
int charBytes(char32_t c) { return c < 0x80 ? 1 : 2; }
} // namespace

int byteLength(const QString &text)
{
    int n = 0;
    for (char32_t c : text.toUcs4())
        n += charBytes(c);
    return n;
}

QString leftBytes(const QString &text, int maxBytes)
{
    int n = 0;
    QString out;
    for (char32_t c : text.toUcs4()) {
        if (n + charBytes(c) > maxBytes)
            break;
        n += charBytes(c);
        out += QString::fromUcs4(&c, 1);
    }
    return out;
}

QString firstUnencodable(const QString &text)
{
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    for (char32_t c : text.toUcs4()) {
        if (c < 0x80)
            continue;
        const QString ch = QString::fromUcs4(&c, 1);
        // Without a GBK converter only characters beyond the basic plane are known to have no code.
        if (c > 0xFFFF)
            return ch;
        if (encoder.isValid()) {
            encoder.resetState();
            const QByteArray bytes = encoder.encode(ch);
            if (encoder.hasError() || bytes.isEmpty())
                return ch;
        }
    }
    return {};
}

QString trimBlanks(const QString &text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text.at(b) == u' ')
        ++b;
    while (e > b && text.at(e - 1) == u' ')
        --e;
    return text.mid(b, e - b);
}
namespace {
// Every UTF-16 unit's GBK bytes as one number: a single byte b as b << 8, a pair b1 b2 as b1 << 8 | b2. Lead bytes
// of pairs (0x81..0xFE) never equal a single byte, so these numbers order as the byte strings do.
const quint16 *byteOrderTable()
{
    static const std::unique_ptr<quint16[]> table = [] {
        auto t = std::make_unique<quint16[]>(0x10000);
        QStringEncoder encoder("GBK");
        const quint16 unmapped = quint16('?') << 8;
        for (int u = 0; u < 0x10000; ++u) {
            if (u >= 0xD800 && u < 0xE000) {
                t[u] = unmapped; // a surrogate pair stands for one character GBK cannot encode
                continue;
            }
            const char16_t c = char16_t(u);
            const QByteArray bytes = encoder.encode(QStringView(&c, 1));
            t[u] = bytes.size() == 2 ? quint16(quint8(bytes[0]) << 8 | quint8(bytes[1]))
                   : bytes.size() == 1 ? quint16(quint8(bytes[0]) << 8)
                                       : unmapped;
        }
        return t;
    }();
    return table.get();
}
} // namespace

int compare(QStringView a, QStringView b)
{
    const quint16 *table = byteOrderTable();
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char16_t x = a.at(i).unicode(), y = b.at(j).unicode();
        // A surrogate pair is one character: step over its second half.
        i += QChar::isHighSurrogate(x) && i + 1 < a.size() && a.at(i + 1).isLowSurrogate() ? 2 : 1;
        j += QChar::isHighSurrogate(y) && j + 1 < b.size() && b.at(j + 1).isLowSurrogate() ? 2 : 1;
        if (x == y)
            continue;
        const quint16 cx = table[x], cy = table[y];
        if (cx != cy)
            return cx < cy ? -1 : 1;
    }
    const bool aLeft = i < a.size(), bLeft = j < b.size();
    return aLeft == bLeft ? 0 : (aLeft ? 1 : -1);
}
namespace {
// The next code point of a UTF-8 text; a malformed byte stands for itself.
char32_t nextUtf8(const unsigned char *&p, const unsigned char *end)
{
    const unsigned char c = *p++;
    if (c < 0x80)
        return c;
    const int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    char32_t v = more == 3 ? c & 0x07 : more == 2 ? c & 0x0F : c & 0x1F;
    if (more == 0 || end - p < more)
        return 0xFFFD;
    for (int i = 0; i < more; ++i)
        v = v << 6 | (*p++ & 0x3F);
    return v;
}
} // namespace

int compareUtf8(const char *a, int lengthA, const char *b, int lengthB)
{
    const quint16 *table = byteOrderTable();
    auto pa = reinterpret_cast<const unsigned char *>(a), ea = pa + lengthA;
    auto pb = reinterpret_cast<const unsigned char *>(b), eb = pb + lengthB;
    while (pa < ea && pb < eb) {
        if (*pa == *pb && *pa < 0x80) { // the common case: the same ASCII byte
            ++pa;
            ++pb;
            continue;
        }
        const char32_t x = nextUtf8(pa, ea), y = nextUtf8(pb, eb);
        if (x == y)
            continue;
        const quint16 cx = x < 0x10000 ? table[x] : table[0xD800];
        const quint16 cy = y < 0x10000 ? table[y] : table[0xD800];
        if (cx != cy)
            return cx < cy ? -1 : 1;
    }
    const bool aLeft = pa < ea, bLeft = pb < eb;
    return aLeft == bLeft ? 0 : (aLeft ? 1 : -1);
}
} // namespace gbk
