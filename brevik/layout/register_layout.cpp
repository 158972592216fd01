#include "registration.h"

#include "platform/window.h"

namespace brevik {
void registerLayoutWindows()
{
}
} // namespace brevik
