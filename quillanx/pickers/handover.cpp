#include "pickers/handover.h"

namespace pickers {
QList<HandoverButton> handoverTable(const QString &) { return {}; }
void installHandover(ui::Window *, const QList<HandoverButton> &) {}
} // namespace pickers
