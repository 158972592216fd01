#pragma once
#include "brevik.h"

#include <QString>

// The conversions of the layout windows, free of widgets. Stored values are thousandths of an inch in
// 16-bit signed integers; a layout window shows the paper at half scale.
namespace layout {

constexpr int kInt16Min = -32768;
constexpr int kInt16Max = 32767;

// A value brought into the 16-bit range: out-of-range values stop at the nearest bound instead of wrapping.
BREVIK_EXPORT int clamp16(qint64 value);
// Stored to window: one half, truncated toward zero (301 -> 150, -3 -> -1).
BREVIK_EXPORT int toWindow(int stored);
// Window to stored: twice the position, kept within 16 bits (a position beyond stops at the last even value).
BREVIK_EXPORT int toStored(int windowPosition);
// A typed whole number (blanks around it allowed) within 16 bits; any other text counts as 0.
BREVIK_EXPORT int wholeNumber(const QString &text);

} // namespace layout
