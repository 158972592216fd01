#include "app/windows.h"

#include "draft_deposit/w_find.h"
#include "draft_deposit/w_jzd.h"
#include "platform/window.h"

void registerDraftDepositWindows()
{
    ui::registerWindow(QStringLiteral("w_find"), [] { return new w_find; });
    ui::registerWindow(QStringLiteral("w_jzd"), [] { return new w_jzd; });
}
