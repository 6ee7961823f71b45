#include "RollSteps.h"

#include "mainwindow/Twips.h"

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

} // namespace

std::int16_t up(float height, std::int16_t minHeight, float twipsPerPixelY)
{
    return toStep(height - static_cast<float>(minHeight) * twipsPerPixelY);
}

std::int16_t down(float height, std::int16_t maxHeight, float twipsPerPixelY)
{
    return toStep(static_cast<float>(maxHeight) * twipsPerPixelY + height);
}

} // namespace RollSteps
