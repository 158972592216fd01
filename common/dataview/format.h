#pragma once
#include "platform/export.h"

#include <QString>
#include <QVariant>
#include <optional>

// The one formatter of the data view engine: grids, free forms, reports and their prints show a value through
// it, so one value in one display format reads the same wherever it appears.
namespace dw {

// An amount in fen, exact: a total of amounts, which past 15 digits no double holds (ten amounts of
// 9,999,999,999,999.99). Converts to double for code that only wants a number.
struct Fen {
    qint64 value = 0;
    bool operator==(const Fen &) const = default;
};

// A number to the fen: times 100, rounded half away from zero as SQLite's round() does, so that a sum made by
// the database (of CAST(round(x * 100) AS INTEGER)) and one made from the rows agree. No fen for no value, a
// value that is no number, or one beyond the fen's range.
COMMON_EXPORT std::optional<qint64> toFen(const QVariant &value);

// The places after the point of a number picture ("###,###.00": 2, "#,##0": 0); -1 for any other format. What
// a figure shows is what a cell of it takes.
COMMON_EXPORT int decimalPlaces(const QString &format);

// A value as the presentations show it without a display format: a date as yyyy-MM-dd, a number with up to
// 15 significant digits, anything else as its text; no value as an empty text.
COMMON_EXPORT QString displayText(const QVariant &value);

// A value in a display format (case-insensitive codes):
// - empty: displayText;
// - a quoted literal ('*****'): that text, whatever the value, an empty one included;
// - a date picture of yyyy, yy, mm (the month) and dd, with any separators: "yyyy.mm.dd", "YY.MM.DD";
// - a number picture of '#' and '0' places, ',' grouping and '.' decimals: "###,###.00", "#,##0.00". The
//   integer part always has a digit, so an amount never starts with its decimal point (0.5 -> "0.50"). A
//   figure of at most two places is made from its fen in integers, so a Fen total shows whole and every
//   figure reads as the sums add it.
// No value shows as an empty text; a value that is not of the picture's kind shows as displayText.
COMMON_EXPORT QString formatValue(const QVariant &value, const QString &format);

// A display format read once, for what shows many values in it (a list's column, row after row): the same
// texts as formatValue, without reading the picture again for each value.
class COMMON_EXPORT Format {
public:
    explicit Format(const QString &format = {});
    QString text(const QVariant &value) const;

private:
    enum class Kind { Plain, Literal, Date, Number, Other } m_kind = Kind::Plain;
    QString m_picture; // the literal's text, or the date picture as QDate reads it
    int m_decimals = 0, m_minDigits = 1;
    bool m_grouped = false;
};

// Whether a display format is a date or number picture, so that what it shows is a figure.
COMMON_EXPORT bool isFigureFormat(const QString &format);
} // namespace dw

Q_DECLARE_METATYPE(dw::Fen)
