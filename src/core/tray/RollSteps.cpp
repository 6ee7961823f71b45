#include "RollSteps.h"

#include "core/common/Twips.h"

#include <algorithm>
#include <limits>

namespace RollSteps {
namespace {

// The step is a 300th of the distance, though only 299 steps are taken.
constexpr float kDivisor = 300.0f;

std::int16_t toStep(float twips)
{
    const int rounded = Twips::roundHalfEven(twips / kDivisor);
    return static_cast<std::int16_t>(std::clamp<int>(rounded, std::numeric_limits<std::int16_t>::min(),
                                                     std::numeric_limits<std::int16_t>::max()));
}

std::int16_t toPixels(float twips, float twipsPerPixelY)
{
    return static_cast<std::int16_t>(std::clamp<int>(Twips::roundHalfEven(twips / twipsPerPixelY),
                                                     std::numeric_limits<std::int16_t>::min(),
                                                     std::numeric_limits<std::int16_t>::max()));
}

// The steps are a 300th of the distance the arguments give, and 299 of them
// are taken: the arguments are chosen so that 299 steps cover the distance.
float spannedBySteps(float distance)
{
    return distance * kDivisor / static_cast<float>(kCount);
}

} // namespace

std::int16_t up(float height, std::int16_t minHeight, float twipsPerPixelY)
{
    return toStep(height - static_cast<float>(minHeight) * twipsPerPixelY);
}

std::int16_t down(float height, std::int16_t maxHeight, float twipsPerPixelY)
{
    return toStep(static_cast<float>(maxHeight) * twipsPerPixelY + height);
}

std::int16_t minHeightFor(float height, float target, float twipsPerPixelY)
{
    return toPixels(height - spannedBySteps(height - target), twipsPerPixelY);
}

std::int16_t maxHeightFor(float height, float target, float twipsPerPixelY)
{
    return toPixels(spannedBySteps(target - height) - height, twipsPerPixelY);
}

} // namespace RollSteps
