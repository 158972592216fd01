#pragma once
#include "platform/export.h"
#include <functional>

class QObject;

namespace post {
// Runs the call after the current event has ended, in the order posted.
// With a context object the call is dropped when the context is destroyed first.
COMMON_EXPORT void later(std::function<void()> call);
COMMON_EXPORT void later(QObject *context, std::function<void()> call);
// Posts a Tab key press to the focused widget (Enter as Tab on the forms).
COMMON_EXPORT void tabFromFocus();
} // namespace post

namespace keystate {
// Whether the key is held down now, as tracked by an application-wide filter of key events.
COMMON_EXPORT bool isDown(int qtKey);
// Installs the filter; idempotent. Called by the window layer on first use.
COMMON_EXPORT void install();
} // namespace keystate
