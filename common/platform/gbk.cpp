#include "platform/gbk.h"

#include <QList>
#include <QStringEncoder>

#include <algorithm>
#include <cstring>
#include <iterator>
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
// The characters of the GBK code page in code order (tools/gbkorder.py): the order is carried by the program,
// never asked of a converter, so that an index written on one machine is in order on every other.
constexpr char16_t kByCode[] = {
#include "platform/gbkorder.inc"
};
constexpr int kTrails = 190; // trail bytes 0x40..0xFE without 0x7F
static_assert(std::size(kByCode) == (0xFE - 0x81 + 1) * kTrails);

// The places of a text's units: a character GBK has by its code (one byte b as b << 8, two as b1 << 8 | b2, so
// that the places order as the byte strings do; lead bytes never equal a single byte), then every character GBK
// lacks by its code point, then every byte that begins no well-formed character by its value. Each unit has a
// place of its own, so only equal texts compare equal.
constexpr quint16 kNoCode = 0xFFFF; // no GBK code is FFFF: FF is never a lead byte
constexpr quint32 kLacking = 0x10000;
constexpr quint32 kMalformed = kLacking + 0x110000;

// Every character of the basic plane's GBK code, kNoCode where GBK lacks it.
const quint16 *codeTable()
{
    static const std::unique_ptr<quint16[]> table = [] {
        auto t = std::make_unique<quint16[]>(0x10000);
        std::fill_n(t.get(), 0x10000, kNoCode);
        for (int c = 0; c < 0x80; ++c)
            t[c] = quint16(c << 8);
        for (size_t i = 0; i < std::size(kByCode); ++i) {
            if (!kByCode[i])
                continue;
            const int lead = 0x81 + int(i / kTrails), k = int(i % kTrails);
            t[kByCode[i]] = quint16(lead << 8 | (0x40 + k + (k >= 0x7F - 0x40 ? 1 : 0)));
        }
        return t;
    }();
    return table.get();
}

// The place of the unit at p, which it steps over: a well-formed UTF-8 character (shortest form, no surrogate,
// at most U+10FFFF) or else the single byte.
quint32 nextPlace(const unsigned char *&p, const unsigned char *end, const quint16 *table)
{
    const unsigned char c = *p;
    if (c < 0x80) {
        ++p;
        return quint32(c) << 8;
    }
    const int n = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
    if (n && end - p >= n) {
        // The second byte's range rules out overlong forms, surrogates and code points beyond U+10FFFF.
        const unsigned char low = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
        bool wellFormed = p[1] >= low && p[1] <= high;
        for (int i = 2; wellFormed && i < n; ++i)
            wellFormed = (p[i] & 0xC0) == 0x80;
        if (wellFormed) {
            char32_t v = c & (0x7F >> n);
            for (int i = 1; i < n; ++i)
                v = v << 6 | (p[i] & 0x3F);
            p += n;
            const quint16 code = v < 0x10000 ? table[v] : kNoCode;
            return code != kNoCode ? code : kLacking + v;
        }
    }
    ++p;
    return kMalformed + c;
}

// UTF-8 as the database holds texts, except that a lone surrogate half (which no stored text has) becomes its own
// three bytes, malformed to the order, instead of the '?' Qt writes for it: only equal texts compare equal.
QByteArray orderBytes(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() * 3);
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text.at(++i).unicode());
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        static constexpr unsigned char lead[] = {0, 0xC0, 0xE0, 0xF0};
        const int more = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        out += char(lead[more] | c >> (6 * more));
        for (int k = more - 1; k >= 0; --k)
            out += char(0x80 | (c >> (6 * k) & 0x3F));
    }
    return out;
}
} // namespace

int compare(QStringView a, QStringView b)
{
    const QByteArray x = orderBytes(a), y = orderBytes(b);
    return compareUtf8(x.constData(), int(x.size()), y.constData(), int(y.size()));
}

int compareUtf8(const char *a, int lengthA, const char *b, int lengthB)
{
    // Equal bytes are an equal text: the common case where the database groups a sorted column.
    if (lengthA == lengthB && std::memcmp(a, b, size_t(lengthA)) == 0)
        return 0;
    const quint16 *table = codeTable();
    auto pa = reinterpret_cast<const unsigned char *>(a), ea = pa + lengthA;
    auto pb = reinterpret_cast<const unsigned char *>(b), eb = pb + lengthB;
    while (pa < ea && pb < eb) {
        if (*pa == *pb && *pa < 0x80) { // the common case: the same ASCII byte
            ++pa;
            ++pb;
            continue;
        }
        const quint32 x = nextPlace(pa, ea, table), y = nextPlace(pb, eb, table);
        if (x != y)
            return x < y ? -1 : 1;
    }
    const bool aLeft = pa < ea, bLeft = pb < eb;
    return aLeft == bLeft ? 0 : (aLeft ? 1 : -1);
}
} // namespace gbk
