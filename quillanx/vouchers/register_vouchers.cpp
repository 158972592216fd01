#include "app/windows.h"

#include "platform/window.h"

void registerVoucherWindows()
{
}
