#include "app/windows.h"

#include "app/w_main.h"
#include "app/w_unman.h"
#include "platform/window.h"

void registerFrameWindows()
{
    ui::registerWindow(QStringLiteral("w_main"), [] { return new w_main; });
    ui::registerWindow(QStringLiteral("w_unman"), [] { return new w_unman; });
}
