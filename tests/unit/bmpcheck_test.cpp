#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "bmpcheck.h"

namespace {

void put16(std::vector<unsigned char> &file, std::size_t at, std::uint32_t value)
{
    file[at] = static_cast<unsigned char>(value);
    file[at + 1] = static_cast<unsigned char>(value >> 8);
}

void put32(std::vector<unsigned char> &file, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        file[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// A complete, well-formed BMP with a 40-byte header, laid out the way a paint program
// writes one: file header, info header, colour table, rows padded to 4 bytes.
std::vector<unsigned char> makeBmp(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression = 0,
                                   std::uint32_t colours = 0)
{
    const std::uint32_t tableEntries = colours != 0 ? colours : (bits <= 8 ? (1u << bits) : 0);
    const std::uint32_t masks = compression == 3 ? 12 : 0;
    const std::uint32_t offset = 14 + 40 + masks + 4 * tableEntries;
    const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
    const std::uint32_t stride = ((static_cast<std::uint32_t>(width) * bits + 31) / 32) * 4;
    std::vector<unsigned char> file(offset + stride * rows, 0);
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, static_cast<std::uint32_t>(file.size()));
    put32(file, 10, offset);
    put32(file, 14, 40);
    put32(file, 18, static_cast<std::uint32_t>(width));
    put32(file, 22, static_cast<std::uint32_t>(height));
    put16(file, 26, 1);
    put16(file, 28, static_cast<std::uint32_t>(bits));
    put32(file, 30, compression);
    put32(file, 34, stride * rows);
    put32(file, 46, colours);
    return file;
}

bool fits(const std::vector<unsigned char> &file)
{
    return bmpHeadersFit(file.data(), file.size() < BMP_HEADER_BYTES ? file.size() : BMP_HEADER_BYTES, file.size());
}

} // namespace

TEST(BmpCheck, WellFormedPicturesOfEveryDepthAreAccepted)
{
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        EXPECT_TRUE(fits(makeBmp(192, 192, bits))) << bits << " bits";
        EXPECT_TRUE(fits(makeBmp(3, 2, bits))) << bits << " bits, 3 x 2";
    }
    EXPECT_TRUE(fits(makeBmp(194, 150, 24)));
    EXPECT_TRUE(fits(makeBmp(1, 1, 24)));
    EXPECT_TRUE(fits(makeBmp(640, -480, 24))) << "top-down rows";
    EXPECT_TRUE(fits(makeBmp(64, 64, 16, 3))) << "16-bit with colour masks";
    EXPECT_TRUE(fits(makeBmp(64, 64, 32, 3))) << "32-bit with colour masks";
    EXPECT_TRUE(fits(makeBmp(16, 16, 8, 0, 17))) << "a short colour table";
}

TEST(BmpCheck, TruncatedFilesAreRefused)
{
    const std::vector<unsigned char> whole = makeBmp(192, 192, 24);
    ASSERT_TRUE(fits(whole));
    for (std::size_t cut : {std::size_t{0}, std::size_t{2}, std::size_t{13}, std::size_t{14}, std::size_t{30},
                            std::size_t{53}, std::size_t{54}, std::size_t{1000}, whole.size() - 1}) {
        std::vector<unsigned char> file(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_FALSE(fits(file)) << "cut to " << cut << " bytes";
    }
    // The declared length is not trusted either way: only the real length counts.
    std::vector<unsigned char> lying = whole;
    put32(lying, 2, 54);
    EXPECT_TRUE(fits(lying));
}

TEST(BmpCheck, AbsurdOrMissingDimensionsAreRefused)
{
    std::vector<unsigned char> file = makeBmp(16, 16, 24);
    put32(file, 18, 100000);
    put32(file, 22, 100000);
    EXPECT_FALSE(fits(file)) << "100000 x 100000 in a small file";
    file = makeBmp(16, 16, 24);
    put32(file, 18, 0);
    EXPECT_FALSE(fits(file)) << "zero width";
    file = makeBmp(16, 16, 24);
    put32(file, 22, 0);
    EXPECT_FALSE(fits(file)) << "zero height";
    file = makeBmp(16, 16, 24);
    put32(file, 18, static_cast<std::uint32_t>(-16));
    EXPECT_FALSE(fits(file)) << "negative width";
    file = makeBmp(16, 16, 24);
    put32(file, 22, 0x80000000u);
    EXPECT_FALSE(fits(file)) << "the most negative height";
    file = makeBmp(16, 16, 24);
    put32(file, 18, 70000);
    EXPECT_FALSE(fits(file)) << "wider than the loader allows";
}

TEST(BmpCheck, MalformedHeadersAreRefused)
{
    std::vector<unsigned char> file = makeBmp(16, 16, 24);
    file[0] = 'P';
    EXPECT_FALSE(fits(file)) << "no BM signature";
    file = makeBmp(16, 16, 24);
    put32(file, 14, 66);
    EXPECT_FALSE(fits(file)) << "unknown header size";
    file = makeBmp(16, 16, 24);
    put16(file, 26, 2);
    EXPECT_FALSE(fits(file)) << "two planes";
    file = makeBmp(16, 16, 24);
    put16(file, 28, 7);
    EXPECT_FALSE(fits(file)) << "seven bits per pixel";
    file = makeBmp(16, 16, 24);
    put32(file, 30, 4);
    EXPECT_FALSE(fits(file)) << "embedded JPEG";
    file = makeBmp(16, 16, 24);
    put32(file, 30, 1);
    EXPECT_FALSE(fits(file)) << "run-length coding at 24 bits";
    file = makeBmp(16, 16, 8);
    put32(file, 46, 100000);
    EXPECT_FALSE(fits(file)) << "a colour table larger than the file";
    file = makeBmp(16, 16, 24);
    put32(file, 10, static_cast<std::uint32_t>(file.size()) + 10);
    EXPECT_FALSE(fits(file)) << "pixel offset past the end";
    file = makeBmp(16, 16, 24);
    put32(file, 10, 20);
    EXPECT_FALSE(fits(file)) << "pixel offset inside the headers";
}

TEST(BmpCheck, RunLengthPicturesNeedTheirWholeStream)
{
    std::vector<unsigned char> file = makeBmp(32, 32, 8, 1);
    put32(file, 34, 200); // the compressed stream's declared size
    EXPECT_TRUE(fits(file));
    put32(file, 34, static_cast<std::uint32_t>(file.size()));
    EXPECT_FALSE(fits(file)) << "stream longer than the file";
    put32(file, 34, 0);
    EXPECT_FALSE(fits(file)) << "no stream size";
    file = makeBmp(32, 32, 4, 2);
    put32(file, 34, 64);
    EXPECT_TRUE(fits(file));
}

TEST(BmpCheck, TheOldCoreHeaderIsMeasuredWithThreeByteColours)
{
    // 12-byte header, 8 bits, 256 three-byte colours, 16 x 16 pixels.
    const std::uint32_t offset = 14 + 12 + 3 * 256;
    std::vector<unsigned char> file(offset + 16 * 16, 0);
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 10, offset);
    put32(file, 14, 12);
    put16(file, 18, 16);
    put16(file, 20, 16);
    put16(file, 22, 1);
    put16(file, 24, 8);
    EXPECT_TRUE(fits(file));
    file.pop_back();
    EXPECT_FALSE(fits(file));
}
