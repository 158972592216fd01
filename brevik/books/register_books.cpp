#include "registration.h"

#include "books/inbank.h"
#include "books/reference_books.h"
#include "books/w_passgate.h"
#include "platform/window.h"

namespace brevik {
void registerBookWindows()
{
    ui::registerWindow(QStringLiteral("w_passgate"), [] { return new w_passgate; });
    ui::registerWindow(QStringLiteral("w_bank"), [] { return new w_bank; });
    ui::registerWindow(QStringLiteral("w_skrbk"), [] { return new w_skrbk; });
    ui::registerWindow(QStringLiteral("w_fkrbk"), [] { return new w_fkrbk; });
    ui::registerWindow(QStringLiteral("w_cnbs1"), [] { return new w_cnbs1; });
    ui::registerWindow(QStringLiteral("w_prsz"), [] { return new w_prsz; });
    ui::registerWindow(QStringLiteral("w_gate"), [] { return new w_gate; });
    ui::registerWindow(QStringLiteral("inbank"), [] { return new inbank; });
    ui::registerWindow(QStringLiteral("gobank"), [] { return new gobank; });
}
} // namespace brevik
