#include "brevik.h"

#include "registration.h"

namespace brevik {
void registerWindows()
{
    registerLayoutWindows();
    registerBookWindows();
    registerRegisterToolWindows();
}
} // namespace brevik
