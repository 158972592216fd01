#include "forms/amount.h"

#include <QtMath>
#include <algorithm>
#include <array>
#include <cmath>

namespace forms {
namespace {

const QString kYuanMark = QStringLiteral("￥");

QString capitalDigit(QChar digit)
{
    static const QString capitals = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    if (digit < u'0' || digit > u'9')
        return {};
    return capitals.at(digit.unicode() - u'0');
}

// Unit word of place i (1 = 分 ... 11 = 亿).
QString unitOf(int place)
{
    static const std::array<const char16_t *, 12> units = {u"",  u"分", u"角", u"元", u"拾", u"佰",
                                                           u"仟", u"万", u"拾", u"佰", u"仟", u"亿"};
    return QString::fromUtf16(units.at(place));
}

} // namespace

QStringList AmountText::highestFirst() const
{
    QStringList out = places;
    std::reverse(out.begin(), out.end());
    return out;
}

double amountFromText(const QString &boxText)
{
    QString text = boxText.trimmed();
    text.remove(u',');
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

AmountText amountInCapitals(double value, int places)
{
    places = places == 11 ? 11 : 10;
    AmountText out;
    out.value = value;

    // The product is taken to the nearest fen: 1.13 * 100 is 112.99999... in double arithmetic.
    // A negative or non-finite amount has no capitals: its boxes are those of 0.
    const qint64 fen = std::isfinite(value) && value > 0 ? qRound64(value * 100.0) : 0;
    QString fenDigits = QString::number(fen);
    std::reverse(fenDigits.begin(), fenDigits.end());
    // Yuan digits counted from the same rounded fen, so that the digits and the mark always agree.
    const qint64 yuan = fen / 100;
    const int n = yuan == 0 ? 0 : int(QString::number(yuan).size());

    std::array<int, 12> d{};      // digit of place i, 0 where there is none
    std::array<QString, 12> part; // piece of the capitals contributed by place i
    for (int i = 1; i <= places; ++i) {
        const QString ch = i <= fenDigits.size() ? QString(fenDigits.at(i - 1)) : QString();
        const QString cap = ch.isEmpty() ? QString() : capitalDigit(ch.at(0));
        d[i] = ch.isEmpty() ? 0 : ch.at(0).digitValue();
        out.places << ch;

        if (d[i] != 0)
            part[i] = cap + unitOf(i);
        else if (i == 1)
            part[i] = QStringLiteral("整");
        else if (i == 3)
            part[i] = QStringLiteral("元");
        else if (i == 7)
            part[i] = n > 4 ? QStringLiteral("万") : QString();
        else if (i == places)
            part[i].clear(); // the top place never writes 零
        else if (d[i - 1] != 0)
            part[i] = cap; // a zero place writes 零 only when the place below it is not zero
    }
    // A whole zero 万 group under a non-zero 亿 writes no bare 万.
    if (places == 11 && d[11] != 0 && d[7] == 0 && d[8] == 0 && d[9] == 0 && d[10] == 0)
        part[7].clear();

    if (n + 3 <= places)
        out.places[n + 2] = kYuanMark;
    for (int i = places; i >= 1; --i)
        out.capitals += part[i];
    return out;
}

} // namespace forms
