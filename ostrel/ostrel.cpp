#include "ostrel.h"

#include "registration.h"

namespace ostrel {
void registerWindows() { registerLetterWindows(); }
} // namespace ostrel
