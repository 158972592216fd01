#pragma once
#include "platform/export.h"
#include <QRect>

// Window units are the layout currency of every window: 4.5 units per logical pixel across, 4 down.
// Positions are stored in units; pixels are derived, never the other way round for unmoved controls.
namespace units {
constexpr double kUnitsPerPixelX = 4.5;
constexpr double kUnitsPerPixelY = 4.0;

COMMON_EXPORT int toPixelsX(int unitsX);
COMMON_EXPORT int toPixelsY(int unitsY);
COMMON_EXPORT int toUnitsX(int pixelsX);
COMMON_EXPORT int toUnitsY(int pixelsY);
COMMON_EXPORT QRect toPixels(int x, int y, int w, int h);
} // namespace units
