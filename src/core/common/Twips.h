#pragma once

// Sizes and places of the windows are designed in twips, 1/1440 inch, and
// become pixels by the screen's own resolution.
namespace Twips {

inline constexpr double kPerInch = 1440.0;

// Twips per pixel for a screen of `dotsPerInch` logical pixels per inch.
inline double perPixel(double dotsPerInch)
{
    return kPerInch / dotsPerInch;
}

// Rounds to the nearest integer, halves to the even neighbour.
int roundHalfEven(double value);

int toPixels(double twips, double twipsPerPixel);

} // namespace Twips

namespace Twips {

// A window's extent in twips as the program last set it, while the window
// still has the pixels that extent gives; what the window really has as soon
// as anything else changed it. Steps smaller than a pixel thus add up.
float current(int actualPixels, float lastSetTwips, float twipsPerPixel);

} // namespace Twips
