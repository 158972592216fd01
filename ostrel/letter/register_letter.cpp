#include "registration.h"

#include "w_ywwts.h"

#include "platform/window.h"

namespace ostrel {
void registerLetterWindows()
{
    ui::registerWindow(QStringLiteral("w_ywwts"), [] { return new w_ywwts; });
}
} // namespace ostrel
