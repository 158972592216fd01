#include "registration.h"

#include "platform/window.h"

namespace brevik {
void registerRegisterToolWindows()
{
}
} // namespace brevik
