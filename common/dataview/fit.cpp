#include "dataview/fit.h"

#include "dataview/format.h"

#include <QFontMetricsF>
#include <QPaintDevice>

namespace dw {

namespace {
QFontMetricsF metricsOf(const QFont &font, const QPaintDevice *device)
{
    return device ? QFontMetricsF(font, device) : QFontMetricsF(font);
}

qreal pointsOf(const QFont &font, const QPaintDevice *device)
{
    if (font.pointSizeF() > 0)
        return font.pointSizeF();
    const qreal dpi = device ? device->logicalDpiY() : 96;
    return font.pixelSize() * 72.0 / dpi;
}

QFont scaled(const QFont &font, qreal points)
{
    QFont f = font;
    f.setPointSizeF(points);
    return f;
}
} // namespace

FittedText fitText(const QString &text, bool figure, const QFont &font, qreal width, const QPaintDevice *device)
{
    return fitText(text, figure, font, metricsOf(font, device), width, device);
}

FittedText fitText(const QString &text, bool figure, const QFont &font, const QFontMetricsF &metrics, qreal width,
                   const QPaintDevice *device, qreal minimumPoints)
{
    if (metrics.horizontalAdvance(text) <= width)
        return {text, font};
    if (!figure)
        return {metrics.elidedText(text, Qt::ElideRight, width), font};
    // Smaller type does not narrow a text exactly in proportion (hinting): each try measures again.
    const qreal points = pointsOf(font, device);
    qreal size = points * width / metrics.horizontalAdvance(text);
    for (int tries = 0; tries < 8 && size >= minimumPoints; ++tries) {
        const QFont smaller = scaled(font, size);
        const QFontMetricsF m = metricsOf(smaller, device);
        const qreal advance = m.horizontalAdvance(text);
        if (advance <= width)
            return {text, smaller, metrics.ascent() - m.ascent(), false, true};
        size = qMin(size * width / advance, size - 0.1);
    }
    const qreal hash = metrics.horizontalAdvance(u'#');
    const int marks = qMax(1, int(width / qMax<qreal>(1, hash)));
    return {QString(marks, u'#'), font, 0, true};
}

bool showsFigure(const Definition &definition, const QString &column, const QString &format, bool computed)
{
    if (format.startsWith(u'\''))
        return false;
    if (computed || isFigureFormat(format))
        return true;
    for (const Column &c : definition.columns)
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            return c.type != Type::Text || c.identifier;
    return false;
}
} // namespace dw
