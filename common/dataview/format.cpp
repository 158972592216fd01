#include "dataview/format.h"

#include "dataview/rows.h"

#include <QDate>
#include <QLocale>
#include <cmath>

namespace dw {

namespace {
bool isDatePicture(const QString &lower)
{
    return lower.contains(QStringLiteral("yy")) || lower.contains(QStringLiteral("dd"));
}

bool isNumberPicture(const QString &format) { return format.contains(u'#') || format.contains(u'0'); }

QString formatNumber(double v, const QString &format)
{
    const qsizetype dot = format.indexOf(u'.');
    const QString intPicture = dot < 0 ? format : format.left(dot);
    const int decimals = dot < 0 ? 0 : int(format.size() - dot - 1);
    const int minDigits = qMax(1, int(intPicture.count(u'0')));

    const QString s = QLocale::c().toString(std::fabs(v), 'f', decimals);
    const qsizetype point = s.indexOf(u'.');
    QString intPart = point < 0 ? s : s.left(point);
    const QString frac = point < 0 ? QString() : s.mid(point);
    while (intPart.size() < minDigits)
        intPart.prepend(u'0');
    if (intPicture.contains(u','))
        for (qsizetype i = intPart.size() - 3; i > 0; i -= 3)
            intPart.insert(i, u',');
    // No minus before a figure that shows as zero.
    const bool negative = v < 0 && std::any_of(s.cbegin(), s.cend(), [](QChar c) { return c >= u'1' && c <= u'9'; });
    return (negative ? QStringLiteral("-") : QString()) + intPart + frac;
}
} // namespace

QString displayText(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

bool isFigureFormat(const QString &format)
{
    return !format.startsWith(u'\'') && (isDatePicture(format.toLower()) || isNumberPicture(format));
}

QString formatValue(const QVariant &value, const QString &format)
{
    if (format.isEmpty())
        return displayText(value);
    if (format.startsWith(u'\'')) {
        const qsizetype end = format.indexOf(u'\'', 1);
        return format.mid(1, end < 0 ? -1 : end - 1);
    }
    if (value.isNull())
        return {};
    const QString lower = format.toLower();
    if (isDatePicture(lower)) {
        const QDate d = typedValue(value, Type::Date).toDate();
        if (!d.isValid())
            return displayText(value);
        QString picture = lower;
        picture.replace(QStringLiteral("mm"), QStringLiteral("MM"));
        return d.toString(picture);
    }
    if (isNumberPicture(format)) {
        bool ok = false;
        const double v = value.toDouble(&ok);
        return ok ? formatNumber(v, format) : displayText(value);
    }
    return displayText(value);
}
} // namespace dw
