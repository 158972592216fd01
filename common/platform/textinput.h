#pragma once
#include "platform/export.h"
#include <QString>

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

} // namespace textinput
