#include "registration.h"

#include "platform/window.h"

namespace ostrel {
void registerLetterWindows()
{
}
} // namespace ostrel
