// The layout of the pictures that the resizer saves: row padding, sizes and the 54 header
// bytes, checked against the published BMP layout written out here by hand.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "bmpfile.h"

namespace {

unsigned long read16(const unsigned char *bytes, int offset)
{
    return static_cast<unsigned long>(bytes[offset]) | (static_cast<unsigned long>(bytes[offset + 1]) << 8);
}

unsigned long read32(const unsigned char *bytes, int offset)
{
    return read16(bytes, offset) | (read16(bytes, offset + 2) << 16);
}

// One header field: where it starts, how many bytes it has, the value it must hold.
struct Field {
    const char *name;
    int offset;
    int size;
    unsigned long value;
};

// Fills the header of a width x height picture into a larger buffer of marker bytes and
// returns the buffer, so that a write past the 54 header bytes shows.
std::vector<unsigned char> headerOf(int width, int height)
{
    std::vector<unsigned char> buffer(80, 0xA5);
    fillCaptureHeader(buffer.data(), width, height);
    return buffer;
}

void expectFields(const std::vector<unsigned char> &header, const std::vector<Field> &fields)
{
    int covered = 0;
    for (const Field &field : fields) {
        const unsigned long actual =
            field.size == 2 ? read16(header.data(), field.offset) : read32(header.data(), field.offset);
        EXPECT_EQ(actual, field.value) << field.name << " at offset " << field.offset;
        covered += field.size;
    }
    EXPECT_EQ(covered, 54) << "the fields must cover the whole header";
}

std::vector<Field> expectedFields(unsigned long width, unsigned long height, unsigned long imageSize)
{
    // One header field to a line.
    // clang-format off
    return {
        {"bfType", 0, 2, 0x4D42},
        {"bfSize", 2, 4, 54 + imageSize},
        {"bfReserved1", 6, 2, 0},
        {"bfReserved2", 8, 2, 0},
        {"bfOffBits", 10, 4, 54},
        {"biSize", 14, 4, 40},
        {"biWidth", 18, 4, width},
        {"biHeight", 22, 4, height},
        {"biPlanes", 26, 2, 1},
        {"biBitCount", 28, 2, 24},
        {"biCompression", 30, 4, 0},
        {"biSizeImage", 34, 4, imageSize},
        {"biXPelsPerMeter", 38, 4, 0},
        {"biYPelsPerMeter", 42, 4, 0},
        {"biClrUsed", 46, 4, 0},
        {"biClrImportant", 50, 4, 0},
    };
    // clang-format on
}

} // namespace

TEST(CaptureRows, AreThreeBytesAPixelPaddedToFourBytes)
{
    struct Case {
        int width;
        unsigned long stride;
    };
    const Case cases[] = {
        {1, 4},     {2, 8},     {3, 12},    {4, 12},    {5, 16},     {88, 264},
        {191, 576}, {192, 576}, {193, 580}, {194, 584}, {544, 1632}, {1023, 3072},
    };
    for (const Case &c : cases)
        EXPECT_EQ(captureStride(c.width), c.stride) << "width " << c.width;
}

TEST(CaptureRows, AnEmptyWindowHasNoRows)
{
    EXPECT_EQ(captureStride(0), 0UL);
    EXPECT_EQ(captureStride(-5), 0UL);
    EXPECT_EQ(captureImageSize(192, 0), 0UL);
    EXPECT_EQ(captureImageSize(0, 192), 0UL);
    EXPECT_EQ(captureImageSize(192, -1), 0UL);
    EXPECT_EQ(captureFileSize(0, 0), 54UL);
}

TEST(CaptureSizes, CountThePaddingInTheImageAndTheFile)
{
    EXPECT_EQ(captureImageSize(192, 192), 110592UL);
    EXPECT_EQ(captureFileSize(192, 192), 110646UL);
    // 191 pixels need 573 bytes, stored as 576: the padding is counted.
    EXPECT_EQ(captureImageSize(191, 192), 110592UL);
    EXPECT_EQ(captureFileSize(191, 192), 110646UL);
    EXPECT_EQ(captureImageSize(191, 1), 576UL);
    EXPECT_EQ(captureImageSize(5, 3), 48UL);
    EXPECT_EQ(captureFileSize(5, 3), 102UL);
    EXPECT_EQ(captureImageSize(1, 300), 1200UL);
}

TEST(CaptureHeader, OfThePreviewMatchesTheLayoutFieldByField)
{
    const std::vector<unsigned char> header = headerOf(192, 192);
    expectFields(header, expectedFields(192, 192, 110592));
    EXPECT_EQ(header[0], 'B');
    EXPECT_EQ(header[1], 'M');
    for (size_t i = 54; i < header.size(); ++i)
        ASSERT_EQ(header[i], 0xA5) << "byte " << i << " lies past the header";
}

TEST(CaptureHeader, OfThePreviewIsExactlyTheseBytes)
{
    const unsigned char expected[54] = {
        0x42, 0x4D,             // "BM"
        0x36, 0xB0, 0x01, 0x00, // 110,646 bytes in all
        0x00, 0x00, 0x00, 0x00, // reserved
        0x36, 0x00, 0x00, 0x00, // pixels at 54
        0x28, 0x00, 0x00, 0x00, // info header of 40 bytes
        0xC0, 0x00, 0x00, 0x00, // 192 wide
        0xC0, 0x00, 0x00, 0x00, // 192 high, bottom row first
        0x01, 0x00,             // one plane
        0x18, 0x00,             // 24 bits a pixel
        0x00, 0x00, 0x00, 0x00, // not compressed
        0x00, 0xB0, 0x01, 0x00, // 110,592 bytes of pixels
        0x00, 0x00, 0x00, 0x00, // no horizontal resolution
        0x00, 0x00, 0x00, 0x00, // no vertical resolution
        0x00, 0x00, 0x00, 0x00, // colours used
        0x00, 0x00, 0x00, 0x00, // important colours
    };
    const std::vector<unsigned char> header = headerOf(192, 192);
    EXPECT_EQ(std::memcmp(header.data(), expected, sizeof(expected)), 0);
}

TEST(CaptureHeader, OfOtherSizesCarriesTheirSizesAndPadding)
{
    expectFields(headerOf(191, 10), expectedFields(191, 10, 5760));
    expectFields(headerOf(5, 3), expectedFields(5, 3, 48));
    expectFields(headerOf(1000, 700), expectedFields(1000, 700, 2100000));
    // A height above 65535 needs the upper bytes of the field.
    expectFields(headerOf(4, 70000), expectedFields(4, 70000, 840000));
}

TEST(CaptureHeader, OverwritesWhatTheBufferHeldBefore)
{
    std::vector<unsigned char> header(54, 0xFF);
    fillCaptureHeader(header.data(), 192, 192);
    expectFields(header, expectedFields(192, 192, 110592));
}
