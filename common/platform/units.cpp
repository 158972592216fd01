#include "platform/units.h"

#include <cmath>

namespace units {
int toPixelsX(int unitsX) { return int(std::lround(unitsX / kUnitsPerPixelX)); }
int toPixelsY(int unitsY) { return int(std::lround(unitsY / kUnitsPerPixelY)); }
int toUnitsX(int pixelsX) { return int(std::lround(pixelsX * kUnitsPerPixelX)); }
int toUnitsY(int pixelsY) { return int(std::lround(pixelsY * kUnitsPerPixelY)); }
QRect toPixels(int x, int y, int w, int h)
{
    // Derive the far edges from units too, so neighbouring controls keep their shared borders.
    const int left = toPixelsX(x), top = toPixelsY(y);
    return QRect(left, top, toPixelsX(x + w) - left, toPixelsY(y + h) - top);
}
} // namespace units
