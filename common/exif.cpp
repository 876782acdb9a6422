#include "exif.h"

#include <cstdint>
#include <cstring>

namespace {

const int UPRIGHT = 1;
const int LAST_ORIENTATION = 8;
const unsigned char MARKER = 0xFF;
const unsigned char START_OF_IMAGE = 0xD8;
const unsigned char START_OF_SCAN = 0xDA;
const unsigned char END_OF_IMAGE = 0xD9;
const unsigned char APP1 = 0xE1;
const unsigned char EXIF_NAME[6] = {'E', 'x', 'i', 'f', 0, 0};
const std::uint32_t ORIENTATION_TAG = 0x0112;
const std::uint32_t SHORT_TYPE = 3;
const std::uint32_t TIFF_MAGIC = 42;
const std::uint64_t TIFF_HEADER = 8;
const std::uint64_t ENTRY_SIZE = 12;

// The numbers of the TIFF block, stored in the byte order its header names.
struct Tiff {
    const unsigned char *data;
    std::uint64_t length;
    bool bigEndian;
};

std::uint32_t read16(const Tiff &tiff, std::uint64_t at)
{
    const unsigned char *p = tiff.data + at;
    if (tiff.bigEndian)
        return static_cast<std::uint32_t>(p[0] << 8 | p[1]);
    return static_cast<std::uint32_t>(p[1] << 8 | p[0]);
}

std::uint32_t read32(const Tiff &tiff, std::uint64_t at)
{
    const std::uint32_t first = read16(tiff, at);
    const std::uint32_t second = read16(tiff, at + 2);
    if (tiff.bigEndian)
        return first << 16 | second;
    return second << 16 | first;
}

// The orientation entry of the first IFD (the main picture's), each field within the block.
int tiffOrientation(const unsigned char *data, std::uint64_t length)
{
    if (length < TIFF_HEADER)
        return UPRIGHT;
    const bool littleEndian = data[0] == 'I' && data[1] == 'I';
    const bool bigEndian = data[0] == 'M' && data[1] == 'M';
    const Tiff tiff = {data, length, bigEndian};
    if ((!littleEndian && !bigEndian) || read16(tiff, 2) != TIFF_MAGIC)
        return UPRIGHT;
    const std::uint64_t directory = read32(tiff, 4);
    if (directory + 2 > length)
        return UPRIGHT;
    const std::uint64_t count = read16(tiff, directory);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t entry = directory + 2 + i * ENTRY_SIZE;
        if (entry + ENTRY_SIZE > length)
            return UPRIGHT;
        if (read16(tiff, entry) != ORIENTATION_TAG)
            continue;
        const std::uint32_t value = read16(tiff, entry + 8);
        const bool single = read16(tiff, entry + 2) == SHORT_TYPE && read32(tiff, entry + 4) == 1;
        return single && value >= 1 && value <= LAST_ORIENTATION ? static_cast<int>(value) : UPRIGHT;
    }
    return UPRIGHT;
}

// Markers without a length field: TEM and the restart markers.
bool standaloneMarker(unsigned char marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

} // namespace

int exifOrientation(const unsigned char *data, std::size_t length)
{
    if (length < 4 || data[0] != MARKER || data[1] != START_OF_IMAGE)
        return UPRIGHT;
    std::uint64_t at = 2;
    while (at + 4 <= length && data[at] == MARKER) {
        const unsigned char marker = data[at + 1];
        if (marker == MARKER) {
            at += 1; // a fill byte before the marker
            continue;
        }
        if (marker == START_OF_SCAN || marker == END_OF_IMAGE)
            return UPRIGHT; // the picture data begins: no EXIF block comes after it
        if (standaloneMarker(marker)) {
            at += 2;
            continue;
        }
        const std::uint64_t segment = static_cast<std::uint64_t>(data[at + 2] << 8 | data[at + 3]);
        if (segment < 2 || at + 2 + segment > length)
            return UPRIGHT;
        const unsigned char *body = data + at + 4;
        const std::uint64_t bodyLength = segment - 2;
        if (marker == APP1 && bodyLength >= sizeof(EXIF_NAME) && std::memcmp(body, EXIF_NAME, sizeof(EXIF_NAME)) == 0)
            return tiffOrientation(body + sizeof(EXIF_NAME), bodyLength - sizeof(EXIF_NAME));
        at += 2 + segment;
    }
    return UPRIGHT;
}

bool orientationSwapsSides(int orientation)
{
    return orientation >= 5 && orientation <= LAST_ORIENTATION;
}

void orientedPlace(int orientation, int width, int height, int x, int y, int *toX, int *toY)
{
    const int flippedX = width - 1 - x;
    const int flippedY = height - 1 - y;
    const int places[LAST_ORIENTATION + 1][2] = {
        {x, y}, {x, y},        {flippedX, y},        {flippedX, flippedY}, {x, flippedY},
        {y, x}, {flippedY, x}, {flippedY, flippedX}, {y, flippedX},
    };
    const int row = orientation >= 1 && orientation <= LAST_ORIENTATION ? orientation : UPRIGHT;
    *toX = places[row][0];
    *toY = places[row][1];
}
