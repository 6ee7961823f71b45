#include "Twips.h"

#include <cmath>

namespace Twips {

int roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0))
        return static_cast<int>(floor) + 1;
    return static_cast<int>(floor);
}

int toPixels(double twips, double twipsPerPixel)
{
    return roundHalfEven(twips / twipsPerPixel);
}

} // namespace Twips

namespace Twips {

float current(int actualPixels, float lastSetTwips, float twipsPerPixel)
{
    if (toPixels(lastSetTwips, twipsPerPixel) == actualPixels)
        return lastSetTwips;
    return static_cast<float>(actualPixels) * twipsPerPixel;
}

} // namespace Twips
