#include "app/windows.h"

#include "cheques/w_xjzp.h"
#include "cheques/w_zzzp.h"
#include "platform/window.h"

void registerChequeWindows()
{
    ui::registerWindow(QStringLiteral("w_xjzp"), [] { return new w_xjzp; });
    ui::registerWindow(QStringLiteral("w_zzzp"), [] { return new w_zzzp; });
}
