#include "brevik.h"

namespace brevik {
void registerWindows()
{
    // The library's windows register here as they are built.
}
} // namespace brevik
