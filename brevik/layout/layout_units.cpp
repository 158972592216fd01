#include "layout/layout_units.h"

#include <QRegularExpression>
#include <algorithm>

namespace layout {

int clamp16(qint64 value) { return int(std::clamp<qint64>(value, kInt16Min, kInt16Max)); }

int toWindow(int stored) { return stored / 2; }

int toStored(int windowPosition)
{
    // Kept even, as every stored coordinate of a layout window is: the window side stops at the 16-bit halves.
    return 2 * std::clamp(windowPosition, kInt16Min / 2, kInt16Max / 2);
}

int wholeNumber(const QString &text)
{
    static const QRegularExpression whole(QStringLiteral("^[+-]?[0-9]+$"));
    const QString t = text.trimmed();
    if (!whole.match(t).hasMatch())
        return 0;
    bool ok = false;
    const qint64 v = t.toLongLong(&ok);
    if (ok)
        return clamp16(v);
    // More digits than any integer holds: as far as the range goes in the number's direction.
    return t.startsWith(u'-') ? kInt16Min : kInt16Max;
}

} // namespace layout
