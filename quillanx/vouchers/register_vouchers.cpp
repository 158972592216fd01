#include "app/windows.h"

#include "platform/window.h"
#include "vouchers/w_yhdh.h"
#include "vouchers/w_ysbk.h"

void registerVoucherWindows()
{
    ui::registerWindow(QStringLiteral("w_yhdh"), [] { return new w_yhdh; });
    ui::registerWindow(QStringLiteral("w_ysbk"), [] { return new w_ysbk; });
}
