// Pictures averaged down: the skinned look at the scales between its 200 % and 300 % drawings.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "average.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

// One level in each of the four channels: blue, green, red and the spare byte.
std::uint32_t grey(std::uint32_t level)
{
    return level * 0x01010101U;
}

Pixels averaged(const Pixels &from, int fromWidth, int fromHeight, int toWidth, int toHeight)
{
    Pixels to(static_cast<size_t>(toWidth) * toHeight);
    averagePixels(from.data(), fromWidth, fromHeight, to.data(), toWidth, toHeight);
    return to;
}

// Shares worked out by hand: of 0, 90 and 180 two pixels take one and a half each, and of 0
// and 90 three take one, half of each, and the other. Rows of two, 0 60, 90 90 and 180 180, are
// one pixel each, 30, 90 and 180, and two rows take one and a half of those each: 50 and 150.
TEST(Average, WeighsEachPixelByWhatItCovers)
{
    EXPECT_EQ(averaged({grey(0), grey(90), grey(180)}, 3, 1, 2, 1), Pixels({grey(30), grey(150)}));
    EXPECT_EQ(averaged({grey(0), grey(90)}, 1, 2, 1, 3), Pixels({grey(0), grey(45), grey(90)}));
    EXPECT_EQ(averaged({0x00FF0000, 0x000000FF, 0x0000FF00, 0xFF000000}, 2, 2, 1, 1), Pixels({0x40404040}));
    EXPECT_EQ(averaged({grey(0), grey(60), grey(90), grey(90), grey(180), grey(180)}, 2, 3, 1, 2),
              Pixels({grey(50), grey(150)}));
}

} // namespace
