#pragma once
#include "platform/export.h"
#include <QString>

class QPoint;
class QWidget;

// A note shown at a widget that stays until it has been read: unlike a tooltip, the pointer leaving a
// widget, a click elsewhere, a key or a focus change (a context menu closing) does not hide it. It goes after
// a fixed time, when the widget's window moves, hides or closes, or with the widget. It never takes the
// focus; one shows at a time, a new one replacing it.
namespace balloon {

// Shows `text` with its top left corner at `global` (kept on the screen), for `widget`.
COMMON_EXPORT void show(QWidget *widget, const QPoint &global, const QString &text);
COMMON_EXPORT void hide();
// The text of the balloon showing now; empty when none shows.
COMMON_EXPORT QString text();

// How long a balloon stays, in milliseconds.
constexpr int kShownFor = 7000;

} // namespace balloon
