#pragma once
#include "platform/export.h"
#include <QString>
#include <functional>

class QLineEdit;
class QObject;
class QRect;
class QValidator;
class QWidget;

// What a single-line box or a register cell can hold: one line of text without control characters.
namespace textinput {

// A text on one line: its lines that hold more than blanks joined (Chinese ones directly, others with a blank
// between), the line breaks and tabs around it dropped, tabs within as blanks, no other control character.
COMMON_EXPORT QString singleLine(const QString &text);

// Holds the operator's input to an edit to that rule, however it arrives (typed, pasted, dropped, from an
// input method): the inserted part is put on one line before the edit's own validator sees it, with the
// sign (see refused()) where lines were joined or tabs made blanks; a box that holds an identifier refuses a
// line break or a tab within it whole, with the sign. A validator set on the edit later is kept behind the
// rule (from the edit's next show, focus or drop, or at once by calling this again).
COMMON_EXPORT void keepSingleLine(QLineEdit *edit);

// Whether a text fits a box: its characters, its GBK bytes (the registers' widths) or its width on screen.
using Fits = std::function<bool(const QString &)>;
// A box's limit: the test, and the limit as the operator is told it ("最多 12 个字符"), read when it is told.
struct Limit {
    Fits fits = {};
    std::function<QString()> words = {};
};
COMMON_EXPORT Limit characters(int count);
COMMON_EXPORT Limit gbkBytes(int bytes);

// Holds the operator's input to what the box holds, however it arrives (typed, pasted, dropped, from an input
// method). The input replaces exactly what was selected; of a text that would not fit, the inserted part is
// cut to its longest start that fits, or refused whole in a box that holds an identifier. Either way the
// system beeps and the box shows the sign (see refused()). Text set by code is never cut, and taking text out
// is never refused. Replaces the box's limit; an empty Limit removes it. Keeps the single-line rule too.
COMMON_EXPORT void limitInput(QLineEdit *edit, Limit limit);

// A box that holds digits or an identifier (a cheque number, an account, a code, an amount): input that does
// not fit is refused whole, the box keeping its value, since a cut identifier is a wrong one.
COMMON_EXPORT void holdIdentifier(QLineEdit *edit, bool on);

// What the box's own validator takes, as the operator is told when it refuses a key or a paste
// ("只能输入数字和小数点，最多 8 位整数、2 位小数").
COMMON_EXPORT void describeAccepted(QLineEdit *edit, const QString &words);

// What the box takes of the operator's input, beyond its validator: a test of the inserted part alone, and
// the words that tell its refusal. What fails is refused whole with the sign.
COMMON_EXPORT void checkInserted(QLineEdit *edit, Fits takes, const QString &words);

// What a figure's box or cell takes as its whole text, however it arrives: digits with group separators, at
// most `integerDigits` before the point and `places` after it (none: no point), a leading minus where
// `negative`.
COMMON_EXPORT QValidator *figureValidator(int integerDigits, int places, bool negative, QObject *parent);
// The integer digits a stored number holds exactly with `places` after the point: a double is exact to 15
// significant digits, so an amount has 13 before its fen (9,999,999,999,999.99).
COMMON_EXPORT int exactIntegerDigits(int places);

// Group separators in a figure stand only between groups of three digits before the point: "1,5", "10,00"
// and "1.000,50" are no amounts (read without them they would be 15, 1000 and 1.0005).
COMMON_EXPORT bool groupedByThousands(const QString &number);

// The one visible sign of input a box refused or cut: a beep and a balloon (balloon::show) under the box that
// names it (its accessible name: the caption beside it, or the grid's column header) and says why.
COMMON_EXPORT void refused(QWidget *box, const QString &why);
// The same sign for a part of a widget named `name` (a grid's cell, by its header).
COMMON_EXPORT void refused(QWidget *widget, const QRect &part, const QString &name, const QString &why);

} // namespace textinput
