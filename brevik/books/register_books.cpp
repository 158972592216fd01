#include "registration.h"

#include "platform/window.h"

namespace brevik {
void registerBookWindows()
{
}
} // namespace brevik
