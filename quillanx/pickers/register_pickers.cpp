#include "app/windows.h"

#include "pickers/w_temp.h"
#include "pickers/w_temp1.h"
#include "pickers/w_tempbs.h"
#include "platform/window.h"

void registerPickerWindows()
{
    ui::registerWindow(QStringLiteral("w_temp1"), [] { return new w_temp1; });
    ui::registerWindow(QStringLiteral("w_tempbs"), [] { return new w_tempbs; });
    ui::registerWindow(QStringLiteral("w_temp"), [] { return new w_temp; });
}
