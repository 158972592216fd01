#pragma once
#include "dataview/types.h"
#include "platform/export.h"

#include <QFont>
#include <QString>

class QFontMetricsF;
class QPaintDevice;

// How a value is drawn in the width of its cell, one rule for the grids, the free forms, the reports and their
// prints. A figure (an amount, a date, a number, an identifier such as a cheque number or an account, a page
// count) is drawn whole: at its cell's type where it fits, else smaller, down to kMinimumFigurePoints; below that
// the cell shows a mark no one can read as a figure. On screen the cell's tooltip tells the whole value of a
// figure drawn smaller or marked. Any other data text is cut at its cell's side with an ellipsis; the views'
// fixed texts (labels, headings) are not fitted at all: they are drawn whole.
namespace dw {

constexpr qreal kMinimumFigurePoints = 5;

struct FittedText {
    QString text;    // what is drawn: the value, the value cut with an ellipsis, or the mark
    QFont font;      // the type it is drawn in: the cell's, or smaller for a figure drawn to fit
    qreal shift = 0; // how far down the smaller type's top sits, so that it keeps the cell's baseline
    bool marked = false;
    bool shrunk = false; // a figure drawn smaller than its cell's type
    // Whether the screen tells the whole value in a tooltip: a figure not drawn at its cell's type.
    bool tellsValue() const { return marked || shrunk; }
};

// `text` in `font` on `device` (null: the screen) within `width` device pixels.
COMMON_EXPORT FittedText fitText(const QString &text, bool figure, const QFont &font, qreal width,
                                 const QPaintDevice *device = nullptr);
// The same with the font's metrics on the device at hand (a painter measuring thousands of texts keeps them).
// `minimumPoints` is the least type of the font's own size that still reads: a page drawn at a smaller scale
// asks for more, so that a figure on the paper is never below kMinimumFigurePoints.
COMMON_EXPORT FittedText fitText(const QString &text, bool figure, const QFont &font, const QFontMetricsF &metrics,
                                 qreal width, const QPaintDevice *device, qreal minimumPoints = kMinimumFigurePoints);

// Whether a view's cell shows a figure: by its display format (numbers, dates), its column's type, or its
// column's identifier flag; a computed cell shows a figure (the row numbers), a literal format (a mask) does not.
COMMON_EXPORT bool showsFigure(const Definition &definition, const QString &column, const QString &format,
                               bool computed = false);
} // namespace dw
