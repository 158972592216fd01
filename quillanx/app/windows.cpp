#include "app/windows.h"

#include "app/w_face.h"
#include "app/w_pass.h"
#include "platform/window.h"

void registerProgramWindows()
{
    ui::registerWindow(QStringLiteral("w_face"), [] { return new w_face; });
    ui::registerWindow(QStringLiteral("w_pass"), [] { return new w_pass; });
    registerFrameWindows();
    registerChequeWindows();
    registerPickerWindows();
    registerVoucherWindows();
    registerDraftDepositWindows();
}
