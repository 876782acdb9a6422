#include "bmpcheck.h"

namespace {

const std::uint32_t CORE_HEADER = 12; // the old OS/2 header: 16-bit sizes, 3-byte colours
const std::uint32_t INFO_HEADER = 40;
const std::uint32_t LARGEST_HEADER = 124;
const std::uint32_t MAX_SIDE = 65535; // the loader refuses anything larger anyway

const std::uint32_t COMPRESSION_NONE = 0;
const std::uint32_t COMPRESSION_RLE8 = 1;
const std::uint32_t COMPRESSION_RLE4 = 2;
const std::uint32_t COMPRESSION_BITFIELDS = 3;

std::uint32_t read16(const unsigned char *at)
{
    return static_cast<std::uint32_t>(at[0] | (at[1] << 8));
}

std::uint32_t read32(const unsigned char *at)
{
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

bool knownHeaderSize(std::uint32_t size)
{
    return size == CORE_HEADER || size == INFO_HEADER || size == 52 || size == 56 || size == 64 || size == 108 ||
           size == LARGEST_HEADER;
}

bool knownDepth(std::uint32_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

} // namespace

bool bmpHeadersFit(const unsigned char *head, std::size_t headLength, std::uint64_t fileLength)
{
    if (headLength < 14 + 4 || fileLength < 14 + CORE_HEADER || head[0] != 'B' || head[1] != 'M')
        return false;
    const std::uint64_t pixelOffset = read32(head + 10);
    const std::uint32_t headerSize = read32(head + 14);
    if (!knownHeaderSize(headerSize) || headLength < 14 + headerSize || fileLength < 14 + headerSize)
        return false;

    const unsigned char *info = head + 14;
    std::uint64_t width;
    std::uint64_t height;
    std::uint32_t planes;
    std::uint32_t bits;
    std::uint32_t compression = COMPRESSION_NONE;
    std::uint64_t colours;
    std::uint64_t colourBytes;
    std::uint64_t declaredImageSize = 0;
    if (headerSize == CORE_HEADER) {
        width = read16(info + 4);
        height = read16(info + 6);
        planes = read16(info + 8);
        bits = read16(info + 10);
        colours = bits <= 8 ? (1u << bits) : 0;
        colourBytes = 3 * colours;
    } else {
        const std::int32_t signedWidth = static_cast<std::int32_t>(read32(info + 4));
        const std::int32_t signedHeight = static_cast<std::int32_t>(read32(info + 8));
        if (signedWidth <= 0 || signedHeight == 0 || signedHeight == INT32_MIN)
            return false;
        width = static_cast<std::uint64_t>(signedWidth);
        // Negative heights store the rows top-down; only the magnitude matters here.
        height = static_cast<std::uint64_t>(signedHeight < 0 ? -static_cast<std::int64_t>(signedHeight)
                                                             : static_cast<std::int64_t>(signedHeight));
        planes = read16(info + 12);
        bits = read16(info + 14);
        compression = read32(info + 16);
        declaredImageSize = read32(info + 20);
        colours = read32(info + 32);
        if (colours == 0 && bits <= 8)
            colours = 1u << bits;
        colourBytes = 4 * colours;
        if (headerSize == INFO_HEADER && compression == COMPRESSION_BITFIELDS)
            colourBytes += 12; // the three colour masks follow a 40-byte header
    }

    if (width == 0 || height == 0 || width > MAX_SIDE || height > MAX_SIDE || planes != 1 || !knownDepth(bits))
        return false;
    if (bits <= 8 && colours > (1u << bits))
        return false; // more colours than the depth can index
    const bool rle = compression == COMPRESSION_RLE8 || compression == COMPRESSION_RLE4;
    if (compression == COMPRESSION_RLE8 && bits != 8)
        return false;
    if (compression == COMPRESSION_RLE4 && bits != 4)
        return false;
    if (compression == COMPRESSION_BITFIELDS && bits != 16 && bits != 32)
        return false;
    if (compression > COMPRESSION_BITFIELDS)
        return false; // embedded JPEG or PNG, or unknown

    const std::uint64_t tableEnd = 14 + headerSize + colourBytes;
    if (tableEnd > fileLength || pixelOffset < tableEnd || pixelOffset >= fileLength)
        return false;
    const std::uint64_t available = fileLength - pixelOffset;
    if (rle) {
        // Compressed rows can't be sized in advance; the stream must at least be there.
        return declaredImageSize != 0 && declaredImageSize <= available;
    }
    const std::uint64_t stride = ((width * bits + 31) / 32) * 4;
    return stride * height <= available;
}

bool bmpTopDown(const unsigned char *head, std::size_t headLength)
{
    return headLength >= 14 + INFO_HEADER && read32(head + 14) != CORE_HEADER &&
           static_cast<std::int32_t>(read32(head + 22)) < 0;
}
