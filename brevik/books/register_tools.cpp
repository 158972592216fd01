#include "registration.h"

#include "books/w_about.h"
#include "books/w_cabank.h"
#include "books/w_cdbank.h"
#include "books/w_search.h"
#include "platform/window.h"

namespace brevik {
void registerRegisterToolWindows()
{
    ui::registerWindow(QStringLiteral("w_cabank"), [] { return new w_cabank; });
    ui::registerWindow(QStringLiteral("w_cdbank"), [] { return new w_cdbank; });
    ui::registerWindow(QStringLiteral("w_search"), [] { return new w_search; });
    ui::registerWindow(QStringLiteral("w_about"), [] { return new w_about; });
}
} // namespace brevik
