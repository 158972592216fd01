#pragma once
#include "platform/export.h"

#include <QString>
#include <QVariant>

// The one formatter of the data view engine: grids, free forms, reports and their prints show a value through
// it, so one value in one display format reads the same wherever it appears.
namespace dw {

// A value as the presentations show it without a display format: a date as yyyy-MM-dd, a number with up to
// 15 significant digits, anything else as its text; no value as an empty text.
COMMON_EXPORT QString displayText(const QVariant &value);

// A value in a display format (case-insensitive codes):
// - empty: displayText;
// - a quoted literal ('*****'): that text, whatever the value, an empty one included;
// - a date picture of yyyy, yy, mm (the month) and dd, with any separators: "yyyy.mm.dd", "YY.MM.DD";
// - a number picture of '#' and '0' places, ',' grouping and '.' decimals: "###,###.00", "#,##0.00". The
//   integer part always has a digit, so an amount never starts with its decimal point (0.5 -> "0.50").
// No value shows as an empty text; a value that is not of the picture's kind shows as displayText.
COMMON_EXPORT QString formatValue(const QVariant &value, const QString &format);
// Whether a display format is a date or number picture, so that what it shows is a figure.
COMMON_EXPORT bool isFigureFormat(const QString &format);
} // namespace dw
