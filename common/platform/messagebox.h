#pragma once
#include "platform/export.h"
#include <QString>
#include <functional>

class QWidget;

namespace msg {
enum class Icon { None, Information, StopSign, Exclamation, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
// The button pressed: 1 for the first button of the set (OK, Yes, Retry), 2 for the second, 3 for the third.
enum Answer { First = 1, Second = 2, Third = 3 };

struct Call {
    QString title;
    QString text;
    Icon icon;
    Buttons buttons;
    int defaultButton;
};

// Shows a modal box and returns the button pressed. A bare CR in the text shows as a line break.
COMMON_EXPORT int show(const QString &title, const QString &text, Icon icon = Icon::None,
                       Buttons buttons = Buttons::Ok, int defaultButton = 1);

// Tests install a responder: every box is handed to it instead of being shown, and its result is returned.
using Responder = std::function<int(const Call &)>;
COMMON_EXPORT void setResponder(Responder responder);
} // namespace msg
