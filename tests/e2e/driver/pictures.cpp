// Pictures as the tests see them: the pixels a file holds, read by the test itself, and the
// judgement of what a control shows of them.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "driver.h"

namespace e2e {

namespace {

const int LEVELS = 2;      // how far a pixel may lie outside the range under it (rounding)
const int MEAN_LEVELS = 6; // how far a shrunk part's mean colour may lie from the part's
const int CHANNEL_SHIFTS[] = {0, 8, 16};

int32_t field(Text file, size_t at)
{
    int32_t value = 0;
    if (file.size() >= at + sizeof(value))
        std::memcpy(&value, file.data() + at, sizeof(value));
    return value;
}

// The pixels of an uncompressed 24-bit BMP file, bottom-up or top-down (the only kind the tests
// read); none when the file is shorter than its rows.
Image bmpPixels(Text file)
{
    Image image;
    const int32_t offset = field(file, 10);
    const int32_t height = field(file, 22);
    image.width = field(file, 18);
    image.height = std::abs(height);
    const int row = (image.width * 3 + 3) / 4 * 4;
    if (file.size() < static_cast<size_t>(offset) + static_cast<size_t>(row) * image.height)
        return Image();
    for (int y = 0; y < image.height; ++y) {
        const char *line = file.data() + offset + static_cast<size_t>(row) * (height > 0 ? image.height - 1 - y : y);
        for (int x = 0; x < image.width; ++x) {
            const auto *pixel = reinterpret_cast<const unsigned char *>(line) + 3 * static_cast<size_t>(x);
            image.pixels.push_back(pixel[2] << 16 | pixel[1] << 8 | pixel[0]);
        }
    }
    return image;
}

int level(uint32_t pixel, int shift)
{
    return static_cast<int>(pixel >> shift & 0xFF);
}

// The first and one past the last pixel of the picture under pixel i of count, stretched from
// the part's length pixels from start, with one pixel of margin on each side.
void under(int i, int count, int start, int length, int side, int *first, int *last)
{
    *first = std::max(start + i * length / count - 1, 0);
    *last = std::min(start + ((i + 1) * length + count - 1) / count + 1, side);
}

bool withinRange(const Image &seen, const Image &picture, const Part &part, int x, int y)
{
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;
    under(y, seen.height, part.y, part.height, picture.height, &top, &bottom);
    under(x, seen.width, part.x, part.width, picture.width, &left, &right);
    for (int shift : CHANNEL_SHIFTS) {
        int low = 255;
        int high = 0;
        for (int v = top; v < bottom; ++v)
            for (int u = left; u < right; ++u) {
                low = std::min(low, level(picture.at(u, v), shift));
                high = std::max(high, level(picture.at(u, v), shift));
            }
        const int seenLevel = level(seen.at(x, y), shift);
        if (seenLevel < low - LEVELS || seenLevel > high + LEVELS)
            return false;
    }
    return true;
}

// The mean of one colour over a part of the image.
double mean(const Image &image, const Part &part, int shift)
{
    double sum = 0;
    for (int y = part.y; y < part.y + part.height; ++y)
        for (int x = part.x; x < part.x + part.width; ++x)
            sum += level(image.at(x, y), shift);
    return sum / std::max(part.width * part.height, 1);
}

bool copied(const Image &seen, const Image &picture, const Part &part)
{
    for (int y = 0; y < seen.height; ++y)
        for (int x = 0; x < seen.width; ++x)
            if (seen.at(x, y) != picture.at(part.x + x, part.y + y))
                return false;
    return true;
}

} // namespace

Image pictureOf(Text path)
{
    const string file = fileText(path);
    if (file.compare(0, 2, "BM") == 0)
        return bmpPixels(file);
    return bmpPixels(fileText(path + ".bmp"));
}

Part pieceOf(const Image &picture, int piece)
{
    if (piece == 0)
        return Part{0, 0, picture.width, picture.height};
    const int w = picture.width / 4;
    const int h = picture.height / 4;
    const int x[4] = {0, w, picture.width / 2, picture.width - w};
    const int y[4] = {0, h, picture.height / 2, picture.height - h};
    return Part{x[(piece - 1) % 4], y[(piece - 1) / 4], w, h};
}

// A shrink drops pixels, so the mean tells whether the dropped ones were combined honestly; an
// enlargement that smooths (as HALFTONE does) shifts the mean of a few pixels' edges, and only
// the ranges judge it.
bool stretchOf(const Image &seen, const Image &picture, const Part &part)
{
    if (seen.pixels.empty() || picture.pixels.empty())
        return false;
    if (seen.width == part.width && seen.height == part.height)
        return copied(seen, picture, part);
    for (int y = 0; y < seen.height; ++y)
        for (int x = 0; x < seen.width; ++x)
            if (!withinRange(seen, picture, part, x, y))
                return false;
    const bool shrunk = part.width > seen.width || part.height > seen.height;
    const Part all = {0, 0, seen.width, seen.height};
    for (int shift : CHANNEL_SHIFTS)
        if (shrunk && std::abs(mean(seen, all, shift) - mean(picture, part, shift)) > MEAN_LEVELS)
            return false;
    return true;
}

bool shows(HWND control, const Image &picture, const Part &part)
{
    return waitFor([&]() { return stretchOf(captureWindow(control), picture, part); }, 6000);
}

bool showsPlain(HWND control, uint32_t colour)
{
    return waitFor(
        [&]() {
            const Image seen = captureWindow(control);
            return seen.width > 3 && seen.height > 3 && seen.at(3, 3) == colour;
        },
        6000);
}

bool showsPieces(const Program &program, int previewId, int pieces, Text path, Text what)
{
    const Image picture = path.empty() ? Image() : pictureOf(path);
    for (int n = 0; n < pieces; ++n) {
        const HWND control = GetDlgItem(program.window, n == 0 ? previewId : 100 * (n + 4));
        const bool shown = path.empty() ? showsPlain(control, LETTERED) : shows(control, picture, pieceOf(picture, n));
        if (!check(shown, what + ": piece " + to_string(n)))
            return false;
    }
    return true;
}

} // namespace e2e
