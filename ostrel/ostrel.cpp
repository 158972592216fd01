#include "ostrel.h"

namespace ostrel {
void registerWindows()
{
    // The library's windows register here as they are built.
}
} // namespace ostrel
