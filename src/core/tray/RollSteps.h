#pragma once

#include <cstdint>

// The arithmetic of rolling a window down or up: a fixed number of equal
// steps, each step derived once from the height at the animation's start.
namespace RollSteps {

inline constexpr int kCount = 299;

// Twips per step to shrink a window of `height` twips towards `minHeight`
// pixels; negative when the window is already shorter.
std::int16_t up(float height, std::int16_t minHeight, float twipsPerPixelY);
// Twips per step to grow a window of `height` twips; `maxHeight` pixels are
// added to the height before dividing, so a negative value grows it less.
std::int16_t down(float height, std::int16_t maxHeight, float twipsPerPixelY);

// The arguments, in pixels, whose steps bring a window of `height` twips as
// close to `target` twips as whole steps can; what is left is under a step.
std::int16_t minHeightFor(float height, float target, float twipsPerPixelY);
std::int16_t maxHeightFor(float height, float target, float twipsPerPixelY);

} // namespace RollSteps
