// Pictures averaged down: the skinned look at the scales between its 200 % and 300 % drawings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
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
// and 90 three take one, half of each, and the other.
TEST(Average, WeighsEachPixelByWhatItCovers)
{
    EXPECT_EQ(averaged({grey(0), grey(90), grey(180)}, 3, 1, 2, 1), Pixels({grey(30), grey(150)}));
    EXPECT_EQ(averaged({grey(0), grey(90)}, 1, 2, 1, 3), Pixels({grey(0), grey(45), grey(90)}));
    EXPECT_EQ(averaged({0x00FF0000, 0x000000FF, 0x0000FF00, 0xFF000000}, 2, 2, 1, 1), Pixels({0x40404040}));
}

// For the sizes of the skin and a button at 125 %, 150 % and 175 % of their 200 % drawings and
// 250 % of their 300 % one (and at the drawing's own size): each result pixel lies within the
// range of the source pixels under it and each channel keeps its mean.
TEST(Average, KeepsEachPixelInRangeAndThePictureItsMean)
{
    const int sizes[][4] = {{1288, 60, 805, 37}, {1288, 60, 966, 45}, {188, 56, 165, 49},
                            {282, 84, 235, 70},    {188, 56, 188, 56}};
    std::mt19937 random(7);
    for (const auto &size : sizes) {
        Pixels from(static_cast<size_t>(size[0]) * size[1]);
        for (std::uint32_t &pixel : from)
            pixel = random();
        const Pixels to = averaged(from, size[0], size[1], size[2], size[3]);
        SCOPED_TRACE(testing::Message() << size[0] << " x " << size[1] << " to " << size[2] << " x " << size[3]);
        for (int shift = 0; shift < 32; shift += 8) {
            const auto level = [shift](std::uint32_t pixel) { return static_cast<int>(pixel >> shift & 0xFF); };
            double fromSum = 0;
            double toSum = 0;
            for (std::uint32_t pixel : from)
                fromSum += level(pixel);
            for (int y = 0; y < size[3]; ++y)
                for (int x = 0; x < size[2]; ++x) {
                    int low = 255;
                    int high = 0;
                    for (int v = y * size[1] / size[3]; v < ((y + 1) * size[1] + size[3] - 1) / size[3]; ++v)
                        for (int u = x * size[0] / size[2]; u < ((x + 1) * size[0] + size[2] - 1) / size[2]; ++u) {
                            low = std::min(low, level(from[static_cast<size_t>(v) * size[0] + u]));
                            high = std::max(high, level(from[static_cast<size_t>(v) * size[0] + u]));
                        }
                    const int seen = level(to[static_cast<size_t>(y) * size[2] + x]);
                    ASSERT_TRUE(seen >= low && seen <= high) << "at " << x << ", " << y;
                    toSum += seen;
                }
            EXPECT_NEAR(toSum / to.size(), fromSum / from.size(), 0.5);
        }
    }
}

} // namespace
