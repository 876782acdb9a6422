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

// The levels of one channel: blue (shift 0), green (8), red (16) or the spare byte (24).
std::vector<int> channel(const Pixels &pixels, int shift)
{
    std::vector<int> levels;
    for (std::uint32_t pixel : pixels)
        levels.push_back(static_cast<int>(pixel >> shift & 0xFF));
    return levels;
}

double mean(const std::vector<int> &levels)
{
    double sum = 0;
    for (int level : levels)
        sum += level;
    return sum / static_cast<double>(levels.size());
}

// The first and one past the last source pixel under result pixel i of count, from length.
int firstUnder(int i, int length, int count)
{
    return i * length / count;
}

int endUnder(int i, int length, int count)
{
    return ((i + 1) * length + count - 1) / count;
}

// A strip of the skin and buttons at 125 %, 150 % and 175 % of their 200 % drawings and 250 %
// of their 300 % one, and one at its drawing's own size: each result pixel lies within the range
// of the source pixels under it, and each channel keeps its mean.
TEST(Average, KeepsEachPixelInRangeAndThePictureItsMean)
{
    struct Size {
        int fromWidth, fromHeight, toWidth, toHeight;
    };
    const Size sizes[] = {
        {1288, 60, 805, 37}, {1288, 60, 966, 45}, {188, 56, 165, 49}, {282, 84, 235, 70}, {188, 56, 188, 56}};
    std::mt19937 random(7);
    for (const Size &size : sizes) {
        Pixels from(static_cast<size_t>(size.fromWidth) * size.fromHeight);
        for (std::uint32_t &pixel : from)
            pixel = random();
        const Pixels to = averaged(from, size.fromWidth, size.fromHeight, size.toWidth, size.toHeight);
        SCOPED_TRACE(testing::Message() << size.fromWidth << " to " << size.toWidth);
        for (int shift = 0; shift < 32; shift += 8) {
            const std::vector<int> source = channel(from, shift);
            const std::vector<int> result = channel(to, shift);
            EXPECT_NEAR(mean(result), mean(source), 0.5);
            for (int y = 0; y < size.toHeight; ++y) {
                for (int x = 0; x < size.toWidth; ++x) {
                    int low = 255;
                    int high = 0;
                    for (int v = firstUnder(y, size.fromHeight, size.toHeight);
                         v < endUnder(y, size.fromHeight, size.toHeight); ++v) {
                        for (int u = firstUnder(x, size.fromWidth, size.toWidth);
                             u < endUnder(x, size.fromWidth, size.toWidth); ++u) {
                            low = std::min(low, source[static_cast<size_t>(v) * size.fromWidth + u]);
                            high = std::max(high, source[static_cast<size_t>(v) * size.fromWidth + u]);
                        }
                    }
                    const int seen = result[static_cast<size_t>(y) * size.toWidth + x];
                    ASSERT_TRUE(seen >= low && seen <= high) << "at " << x << ", " << y;
                }
            }
        }
    }
}

} // namespace
