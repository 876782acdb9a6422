#include "average.h"

#include <cstddef>
#include <vector>

namespace {

const int CHANNELS = 4;
const int CHANNEL_BITS = 8;
const std::uint32_t CHANNEL_MAX = 255;

// What one result pixel along a side takes of the source's pixels: the first it covers, and
// the share of each from there on, the shares summing to 1.
struct Cover {
    int first;
    std::vector<double> shares;
};

// Result pixel i of to covers the source from i * from / to to (i + 1) * from / to.
std::vector<Cover> coversOf(int from, int to)
{
    std::vector<Cover> covers(static_cast<std::size_t>(to));
    const double step = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        const double start = i * step;
        const double end = start + step;
        Cover &cover = covers[static_cast<std::size_t>(i)];
        cover.first = static_cast<int>(start);
        for (int pixel = cover.first; pixel < from && pixel < end; ++pixel) {
            const double left = pixel > start ? pixel : start;
            const double right = pixel + 1 < end ? pixel + 1 : end;
            cover.shares.push_back((right - left) / step);
        }
    }
    return covers;
}

std::uint32_t channel(double value)
{
    const double rounded = value + 0.5;
    return rounded >= CHANNEL_MAX ? CHANNEL_MAX : static_cast<std::uint32_t>(rounded);
}

} // namespace

void averagePixels(const std::uint32_t *from, int fromWidth, int fromHeight, std::uint32_t *to, int toWidth,
                   int toHeight)
{
    const std::vector<Cover> across = coversOf(fromWidth, toWidth);
    const std::vector<Cover> down = coversOf(fromHeight, toHeight);
    // Each source row averaged across first, every channel apart; then down the columns.
    std::vector<double> rows(static_cast<std::size_t>(fromHeight) * toWidth * CHANNELS, 0.0);
    for (int y = 0; y < fromHeight; ++y)
        for (int x = 0; x < toWidth; ++x) {
            const Cover &cover = across[static_cast<std::size_t>(x)];
            double *sums = &rows[(static_cast<std::size_t>(y) * toWidth + x) * CHANNELS];
            for (std::size_t i = 0; i < cover.shares.size(); ++i) {
                const std::uint32_t pixel = from[static_cast<std::size_t>(y) * fromWidth + cover.first + i];
                for (int c = 0; c < CHANNELS; ++c)
                    sums[c] += cover.shares[i] * (pixel >> (c * CHANNEL_BITS) & CHANNEL_MAX);
            }
        }
    for (int y = 0; y < toHeight; ++y)
        for (int x = 0; x < toWidth; ++x) {
            const Cover &cover = down[static_cast<std::size_t>(y)];
            double sums[CHANNELS] = {};
            for (std::size_t i = 0; i < cover.shares.size(); ++i)
                for (int c = 0; c < CHANNELS; ++c)
                    sums[c] += cover.shares[i] * rows[((cover.first + i) * toWidth + x) * CHANNELS + c];
            std::uint32_t pixel = 0;
            for (int c = 0; c < CHANNELS; ++c)
                pixel |= channel(sums[c]) << (c * CHANNEL_BITS);
            to[static_cast<std::size_t>(y) * toWidth + x] = pixel;
        }
}
