#include "registration.h"

#include "layout/font_window.h"
#include "layout/layout_window.h"
#include "platform/window.h"

namespace brevik {
void registerLayoutWindows()
{
    ui::registerWindow(QStringLiteral("w_setprint"), [] { return new layout::SetPrint; });
    ui::registerWindow(QStringLiteral("w_setprint1"), [] { return new layout::SetPrint1; });
    ui::registerWindow(QStringLiteral("w_setprint2"), [] { return new layout::SetPrint2; });
    ui::registerWindow(QStringLiteral("w_setprint3"), [] { return new layout::SetPrint3; });
    ui::registerWindow(QStringLiteral("w_setprint4"), [] { return new layout::SetPrint4; });
    ui::registerWindow(QStringLiteral("w_setextenter"), [] { return new layout::FontWindow; });
}
} // namespace brevik
