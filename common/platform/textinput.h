#pragma once
#include "platform/export.h"
#include <QString>
#include <functional>

class QLineEdit;

// What a single-line box or a register cell can hold: one line of text without control characters.
namespace textinput {

// The first line of a text that has one (leading line breaks skipped), tabs as blanks, no other control
// character.
COMMON_EXPORT QString singleLine(const QString &text);

// Holds the operator's input to an edit to that rule, however it arrives (typed, pasted, dropped, from an
// input method): the inserted part is cut to its first line and cleaned before the edit's own validator sees
// it. A validator set on the edit later is kept behind the rule (from the edit's next show, focus or drop,
// or at once by calling this again).
COMMON_EXPORT void keepSingleLine(QLineEdit *edit);

// Whether a text fits a box: its characters, its GBK bytes (the registers' widths) or its width on screen.
using Fits = std::function<bool(const QString &)>;
COMMON_EXPORT Fits characters(int count);
COMMON_EXPORT Fits gbkBytes(int bytes);

// Holds the operator's input to what the box holds, however it arrives (typed, pasted, dropped, from an input
// method): of a text that would not fit, the inserted part is cut to what fits, and the system beeps. A paste
// is never dropped whole in silence. Text set by code is never cut, and taking text out is never refused.
// Replaces the box's limit; an empty Fits removes it. Keeps the single-line rule too.
COMMON_EXPORT void limitInput(QLineEdit *edit, Fits fits);

} // namespace textinput
