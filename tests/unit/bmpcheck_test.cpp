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

// One field of an otherwise well-formed picture changed to a value the check must refuse.
struct DamagedField {
    const char *what;
    int bits;            // depth of the picture before the change
    std::size_t offset;  // where the field starts in the file
    int fieldBytes;      // 2 or 4
    std::uint32_t value; // what is written there
};

TEST(BmpCheck, DamagedHeadersAreRefused)
{
    const std::uint32_t past = 10000; // further than any of these small files reach
    const DamagedField damaged[] = {
        {"no BM signature", 24, 0, 2, 'P' | ('M' << 8)},
        {"100000 x 100000 in a small file", 24, 18, 4, 100000},
        {"zero width", 24, 18, 4, 0},
        {"zero height", 24, 22, 4, 0},
        {"negative width", 24, 18, 4, static_cast<std::uint32_t>(-16)},
        {"the most negative height", 24, 22, 4, 0x80000000u},
        {"wider than the loader allows", 24, 18, 4, 70000},
        {"unknown header size", 24, 14, 4, 66},
        {"two planes", 24, 26, 2, 2},
        {"seven bits per pixel", 24, 28, 2, 7},
        {"embedded JPEG", 24, 30, 4, 4},
        {"run-length coding at 24 bits", 24, 30, 4, 1},
        {"a colour table larger than the file", 8, 46, 4, 100000},
        {"pixel offset past the end", 24, 10, 4, past},
        {"pixel offset inside the headers", 24, 10, 4, 20},
    };
    for (const DamagedField &field : damaged) {
        std::vector<unsigned char> file = makeBmp(16, 16, field.bits);
        ASSERT_TRUE(fits(file)) << field.what << ": the picture before the change";
        if (field.fieldBytes == 2)
            put16(file, field.offset, field.value);
        else
            put32(file, field.offset, field.value);
        EXPECT_FALSE(fits(file)) << field.what;
    }
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
