// The picture files: the header check both programs run before the loader sees a file, the
// layout of the pictures the resizer saves, and the decimal text of a number.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "bmpcheck.h"
#include "bmpfile.h"
#include "inttostring.h"

std::string gameCount;

namespace {

void put(std::vector<unsigned char> &file, std::size_t at, std::uint32_t value)
{
    for (std::size_t i = 0; i < (at == 26 || at == 28 ? 2U : 4U); ++i)
        file[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// A picture as a paint program writes it: file header, 40-byte info header, the colour
// table, spare bytes, then the rows, each padded to a multiple of 4 bytes.
std::vector<unsigned char> picture(std::uint32_t bits, std::uint32_t width, std::uint32_t height, std::uint32_t spare)
{
    const std::uint32_t rows = (width * bits + 31) / 32 * 4 * height,
                        offset = 54 + spare + (bits <= 8 ? 4U << bits : 0);
    std::vector<unsigned char> file(offset + rows);
    const std::uint32_t fields[][2] = {{0, 'B' | 'M' << 8}, {2, offset + rows}, {10, offset}, {14, 40},
                                       {18, width},         {22, height},       {26, 1},      {28, bits},
                                       {34, rows}};
    for (const auto &field : fields)
        put(file, field[0], field[1]);
    return file;
}

// A 16 x 16 picture of some bits a pixel with 12 spare bytes (room for colour masks; 834
// bytes at 24 bits), fields set (offset, value) and the file cut to a length unless 0:
// whether the check passes it.
TEST(HeaderCheck, PassesWholePicturesAndRefusesDamagedOnes)
{
    using Fields = std::vector<std::pair<std::size_t, std::uint32_t>>;
    const std::tuple<const char *, std::uint32_t, Fields, std::size_t, bool> variants[] = {
        {"24 bits", 24, {}, 0, true},
        {"8 bits with a colour table", 8, {}, 0, true},
        {"rows top-down", 24, {{22, 0xFFFFFFF0}}, 0, true},
        {"32 bits with colour masks", 32, {{30, 3}}, 0, true},
        {"8 bits run-length coded", 8, {{30, 1}}, 0, true},
        {"one byte short", 24, {}, 833, false},
        {"cut inside the headers", 24, {}, 30, false},
        {"pixel offset past the end", 24, {{10, 5000}}, 0, false},
        {"pixel offset inside the colour table", 8, {{10, 60}}, 0, false},
        {"no BM", 24, {{0, 'P' | 'M' << 8}}, 0, false},
        {"zero width", 24, {{18, 0}}, 0, false},
        {"negative width", 24, {{18, 0xFFFFFFF0}}, 0, false},
        {"the most negative height", 24, {{22, 0x80000000}}, 0, false},
        {"wider than the loader allows", 24, {{18, 100000}}, 0, false},
        {"unknown header size", 24, {{14, 66}}, 0, false},
        {"two planes", 24, {{26, 2}}, 0, false},
        {"seven bits a pixel", 24, {{28, 7}}, 0, false},
        {"embedded JPEG", 24, {{30, 4}}, 0, false},
        {"run-length coded at 24 bits", 24, {{30, 1}}, 0, false},
        {"more colours than 8 bits index", 8, {{46, 257}}, 0, false},
        {"run-length coded without its size", 8, {{30, 1}, {34, 0}}, 0, false},
        {"run-length stream past the end", 8, {{30, 1}, {34, 257}}, 0, false},
    };
    for (const auto &[what, bits, fields, keep, passes] : variants) {
        std::vector<unsigned char> file = picture(bits, 16, 16, 12);
        for (const auto &[at, value] : fields)
            put(file, at, value);
        file.resize(keep != 0 ? keep : file.size());
        EXPECT_EQ(bmpHeadersFit(file.data(), std::min(file.size(), BMP_HEADER_BYTES), file.size()), passes) << what;
    }
}

// The resizer's header and pixel rows make exactly the picture its header describes, rows
// padded (an odd width too), and the check passes it.
TEST(SavedPicture, HeaderDescribesExactlyTheBytesWritten)
{
    for (const int width : {192, 191, 5}) {
        std::vector<unsigned char> file(BMP_HEADERS_SIZE + captureImageSize(width, 192));
        fillCaptureHeader(file.data(), width, 192);
        EXPECT_TRUE(file == picture(24, static_cast<std::uint32_t>(width), 192, 0)) << width;
        EXPECT_TRUE(bmpHeadersFit(file.data(), BMP_HEADER_BYTES, file.size()));
    }
}

TEST(IntToString, WritesTheDecimalText)
{
    for (const auto &[number, text] :
         {std::pair<int, const char *>{0, "0"}, {-42, "-42"}, {2147483647, "2147483647"}}) {
        IntToString(number);
        EXPECT_EQ(gameCount, text);
    }
}

} // namespace
