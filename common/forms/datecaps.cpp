#include "forms/datecaps.h"

namespace forms {
namespace {

QString capitalDigit(int digit)
{
    static const QString capitals = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    return digit >= 0 && digit <= 9 ? QString(capitals.at(digit)) : QString();
}

// Month or day 1..31 in capitals. A 零 goes before every value that a digit could be put in front of:
// 1..9, 10, 20 and 30.
QString numberInCapitals(int value)
{
    const int tens = value / 10;
    const int units = value % 10;
    if (tens == 0)
        return QStringLiteral("零") + capitalDigit(units);
    const QString tensText = capitalDigit(tens) + QStringLiteral("拾");
    if (units == 0)
        return QStringLiteral("零") + tensText;
    return tensText + capitalDigit(units);
}

int wholeNumber(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= low && value <= high ? value : 0;
}

} // namespace

DateCapitals dateInCapitals(const QDate &date)
{
    if (!date.isValid())
        return {};
    return dateInCapitals(QString::number(date.year()), QString::number(date.month()), QString::number(date.day()));
}

DateCapitals dateInCapitals(const QString &year, const QString &month, const QString &day)
{
    DateCapitals out;
    // The year is written digit by digit from its last four characters.
    for (QChar c : year.trimmed().right(4))
        out.year += c.isDigit() ? capitalDigit(c.digitValue()) : QString();
    if (const int m = wholeNumber(month, 1, 12))
        out.month = numberInCapitals(m);
    if (const int dd = wholeNumber(day, 1, 31))
        out.day = numberInCapitals(dd);
    return out;
}

} // namespace forms
