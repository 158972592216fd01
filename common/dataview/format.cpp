#include "dataview/format.h"

#include "dataview/rows.h"

#include <QDate>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

namespace dw {

namespace {
bool isDatePicture(const QString &lower)
{
    return lower.contains(QStringLiteral("yy")) || lower.contains(QStringLiteral("dd"));
}

bool isNumberPicture(const QString &format) { return format.contains(u'#') || format.contains(u'0'); }

// The digits of a figure without its sign, rounded to `decimals` places, and whether it is below zero: from
// its fen in integers where it shows at most two places, else from the double. Null for no number.
QString unsignedDigits(const QVariant &value, int decimals, bool &negative)
{
    if (const std::optional<qint64> fen = decimals <= 2 ? toFen(value) : std::nullopt) {
        quint64 divisor = 1;
        for (int d = decimals; d < 2; ++d)
            divisor *= 10;
        const quint64 magnitude = *fen < 0 ? 0 - quint64(*fen) : quint64(*fen);
        const quint64 scaled = (magnitude + divisor / 2) / divisor; // half away from zero, as the fen itself
        negative = *fen < 0 && scaled != 0;
        QString digits = QString::number(scaled).rightJustified(decimals + 1, u'0');
        if (decimals > 0)
            digits.insert(digits.size() - decimals, u'.');
        return digits;
    }
    bool ok = false;
    const double v = value.toDouble(&ok);
    if (!ok)
        return {};
    const QString s = QLocale::c().toString(std::fabs(v), 'f', decimals);
    // No minus before a figure that shows as zero.
    negative = v < 0 && std::any_of(s.cbegin(), s.cend(), [](QChar c) { return c >= u'1' && c <= u'9'; });
    return s;
}

// Null for a value that is no number.
QString formatNumber(const QVariant &value, int decimals, int minDigits, bool grouped)
{
    bool negative = false;
    const QString s = unsignedDigits(value, decimals, negative);
    if (s.isNull())
        return {};
    const qsizetype point = s.indexOf(u'.');
    QString intPart = point < 0 ? s : s.left(point);
    const QString frac = point < 0 ? QString() : s.mid(point);
    while (intPart.size() < minDigits)
        intPart.prepend(u'0');
    if (grouped)
        for (qsizetype i = intPart.size() - 3; i > 0; i -= 3)
            intPart.insert(i, u',');
    return (negative ? QStringLiteral("-") : QString()) + intPart + frac;
}

// Code that wants a number of a total gets one.
[[maybe_unused]] const bool kFenConverts =
    QMetaType::registerConverter<Fen, double>([](const Fen &fen) { return double(fen.value) / 100; })
    && QMetaType::registerConverter<Fen, QString>([](const Fen &fen) { return displayText(QVariant::fromValue(fen)); });
} // namespace

std::optional<qint64> toFen(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    if (value.metaType() == QMetaType::fromType<Fen>())
        return value.value<Fen>().value;
    constexpr qint64 kMost = std::numeric_limits<qint64>::max() / 100;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong: {
        const qint64 v = value.toLongLong();
        return v >= -kMost && v <= kMost ? std::optional<qint64>(v * 100) : std::nullopt;
    }
    default:
        break;
    }
    bool ok = false;
    const double v = value.toDouble(&ok);
    const double hundred = std::fabs(v * 100);
    if (!ok || !std::isfinite(v) || hundred >= double(std::numeric_limits<qint64>::max()))
        return std::nullopt;
    const auto fen = qint64(hundred + 0.5);
    return v < 0 ? -fen : fen;
}

int decimalPlaces(const QString &format)
{
    if (!isFigureFormat(format) || isDatePicture(format.toLower()))
        return -1;
    const qsizetype dot = format.indexOf(u'.');
    return dot < 0 ? 0 : int(format.size() - dot - 1);
}

QString displayText(const QVariant &value)
{
    if (value.isNull())
        return {};
    if (value.metaType() == QMetaType::fromType<Fen>())
        return formatNumber(value, 2, 1, false);
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

QString formatValue(const QVariant &value, const QString &format) { return Format(format).text(value); }

Format::Format(const QString &format)
{
    if (format.isEmpty())
        return;
    if (format.startsWith(u'\'')) {
        const qsizetype end = format.indexOf(u'\'', 1);
        m_kind = Kind::Literal;
        m_picture = format.mid(1, end < 0 ? -1 : end - 1);
        return;
    }
    const QString lower = format.toLower();
    if (isDatePicture(lower)) {
        m_kind = Kind::Date;
        m_picture = lower;
        m_picture.replace(QStringLiteral("mm"), QStringLiteral("MM"));
    } else if (isNumberPicture(format)) {
        m_kind = Kind::Number;
        const qsizetype dot = format.indexOf(u'.');
        const QString intPicture = dot < 0 ? format : format.left(dot);
        m_decimals = decimalPlaces(format);
        m_minDigits = qMax(1, int(intPicture.count(u'0')));
        m_grouped = intPicture.contains(u',');
    } else {
        m_kind = Kind::Other;
    }
}

QString Format::text(const QVariant &value) const
{
    switch (m_kind) {
    case Kind::Plain:
        return displayText(value);
    case Kind::Literal:
        return m_picture;
    case Kind::Date: {
        if (value.isNull())
            return {};
        const QDate d = typedValue(value, Type::Date).toDate();
        return d.isValid() ? d.toString(m_picture) : displayText(value);
    }
    case Kind::Number: {
        if (value.isNull())
            return {};
        const QString figure = formatNumber(value, m_decimals, m_minDigits, m_grouped);
        return figure.isNull() ? displayText(value) : figure;
    }
    case Kind::Other:
        break;
    }
    return displayText(value);
}
} // namespace dw
