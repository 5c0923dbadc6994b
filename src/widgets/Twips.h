#pragma once

#include <cmath>

// Window geometry is stated in twips (1,440 per logical inch) and converted at the screen's logical
// DPI: at 96 DPI one pixel is 15 twips.
namespace twips {

inline constexpr double kPerInch = 1440.0;

inline int toPixels(int value, double logicalDpi)
{
    return static_cast<int>(std::lround(value * logicalDpi / kPerInch));
}

inline int fromPixels(int pixels, double logicalDpi)
{
    return static_cast<int>(std::lround(pixels * kPerInch / logicalDpi));
}

} // namespace twips
