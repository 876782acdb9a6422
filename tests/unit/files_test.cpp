// The picture files: the header check both programs run before the loader sees a file, and
// the layout of the pictures the resizer saves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "bmpcheck.h"
#include "bmpfile.h"

namespace {

using std::size_t;
using std::uint32_t;
using std::uint64_t;
using Bytes = std::vector<unsigned char>;

// A picture's headers: whether the check passes it, 32-bit fields set last (file offset, value),
// header size (12 is the old OS/2 one, with 16-bit sides), bits a pixel, sides, and spare
// bytes between the colour table and the pixels.
struct Picture {
    bool passes;
    std::vector<std::pair<size_t, uint32_t>> fields;
    uint32_t header = 40;
    uint32_t bits = 24;
    uint32_t width = 16;
    uint32_t height = 16;
    uint32_t spare = 0;
};

void put(Bytes &file, size_t at, uint32_t value, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        file[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// The picture as a paint program writes it, pixels right after the colour table and the
// spare bytes, exactly long enough for the rows (all zero).
Bytes headers(const Picture &picture)
{
    const size_t side = picture.header == 12 ? 2 : 4;
    const uint32_t table = picture.bits <= 8 ? (side == 2 ? 3U : 4U) << picture.bits : 0;
    const uint32_t offset = 14 + picture.header + table + picture.spare;
    const uint32_t rows = (picture.width * picture.bits + 31) / 32 * 4 * picture.height;
    Bytes file(offset + rows);
    put(file, 0, 'B' | 'M' << 8, 2);
    put(file, 2, offset + rows, 4);
    put(file, 10, offset, 4);
    put(file, 14, picture.header, 4);
    put(file, 18, picture.width, side);
    put(file, 18 + side, picture.height, side);
    put(file, 18 + 2 * side, 1, 2);
    put(file, 20 + 2 * side, picture.bits, 2);
    put(file, 34, rows, 4); // past an OS/2 header: no matter
    for (const auto &[at, value] : picture.fields)
        put(file, at, value, 4);
    return file;
}

bool fits(const Bytes &file, uint64_t length)
{
    return bmpHeadersFit(file.data(), std::min<uint64_t>(length, BMP_HEADER_BYTES), length);
}

// Whether the check takes the picture as it should; one it passes must be refused cut
// short by any number of bytes, or with its pixels a byte earlier, inside the colour table
// or the headers.
void expectJudged(const Picture &picture)
{
    Bytes file = headers(picture);
    SCOPED_TRACE(testing::Message() << picture.header << "-byte header, " << picture.bits << " bits");
    EXPECT_EQ(fits(file, file.size()), picture.passes);
    for (uint64_t shorter = 0; shorter < file.size() && picture.passes; ++shorter)
        ASSERT_FALSE(fits(file, shorter)) << "cut to " << shorter;
    --file[10];
    EXPECT_FALSE(fits(file, file.size())) << "pixels a byte earlier";
}

// Every header size the platform knows with every depth it draws, 1 pixel and 65535 pixels
// across or high. The OS/2 sides are such that reading them from anywhere but their own
// place gets the length wrong.
TEST(HeaderCheck, PassesEveryKindOfWholePicture)
{
    for (const uint32_t header : {12U, 40U, 52U, 56U, 64U, 108U, 124U}) {
        for (const uint32_t bits : {1U, 4U, 8U, 16U, 24U, 32U})
            expectJudged({true, {}, header, bits, 3, 5});
        expectJudged({true, {}, header, 1, 65535, 1});
        expectJudged({true, {}, header, 1, 1, 65535});
    }
}

TEST(HeaderCheck, JudgesEachField)
{
    const Picture pictures[] = {
        {true, {{22, 0xFFFFFFF0}}},            // rows top-down
        {true, {{30, 3}}, 40, 32, 16, 16, 12}, // 32 bits with its colour masks
        {true, {{30, 1}}, 40, 8},              // 8 bits run-length coded
        {false, {}, 40, 1, 65536, 1},          // wider than the loader allows
        {false, {}, 40, 1, 1, 65536},          // higher than the loader allows
        {false, {{22, 0}}},                    // 0 high
        {false, {}, 66},                       // an unknown header size
        {false, {}, 40, 2},                    // 2 bits a pixel
        {false, {{10, 5000}}},                 // pixels past the end
        {false, {{30, 1}, {34, 0}}, 40, 8},    // run-length coded without its size
    };
    for (const Picture &picture : pictures)
        expectJudged(picture);
}

// The resizer's header describes exactly the bytes it writes, rows padded.
TEST(SavedPicture, HeaderDescribesExactlyTheBytesWritten)
{
    const Bytes expected = headers({true, {}, 40, 24, 191, 192});
    Bytes file(expected.size());
    fillCaptureHeader(file.data(), 191, 192);
    EXPECT_EQ(file, expected);
    EXPECT_EQ(BMP_HEADERS_SIZE + captureImageSize(191, 192), expected.size());
}

} // namespace
