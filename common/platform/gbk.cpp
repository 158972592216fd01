#include "platform/gbk.h"

#include <QList>
#include <QStringEncoder>

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
} // namespace gbk
