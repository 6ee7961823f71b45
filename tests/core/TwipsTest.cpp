#include "core/common/Twips.h"

#include <gtest/gtest.h>

namespace {

TEST(Twips, RoundHalfToEven)
{
    const std::pair<double, int> cases[] = {{0.5, 0},  {1.5, 2},  {2.5, 2},    {-0.5, 0}, {-1.5, -2},
                                            {2.49, 2}, {2.51, 3}, {-2.51, -3}, {7.0, 7},  {0.27, 0}};
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(Twips::roundHalfEven(value), expected) << value;
}

TEST(Twips, ToPixelsByTheScreensResolution)
{
    EXPECT_DOUBLE_EQ(Twips::perPixel(96), 15.0);
    EXPECT_EQ(Twips::toPixels(4200, 15.0), 280);
    EXPECT_EQ(Twips::toPixels(3360, 15.0), 224);
    EXPECT_EQ(Twips::toPixels(11085, 15.0), 739);
    EXPECT_EQ(Twips::toPixels(4200, Twips::perPixel(192)), 560);
    EXPECT_EQ(Twips::toPixels(7.5, 15.0), 0) << "half a pixel rounds to the even neighbour";
    EXPECT_EQ(Twips::toPixels(22.5, 15.0), 2);
}

} // namespace
