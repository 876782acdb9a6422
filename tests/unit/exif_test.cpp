// The EXIF orientation read from a JPEG file's first bytes.
#include <gtest/gtest.h>

#include <cstddef>
#include <utility>
#include <vector>

#include "exif.h"

namespace {

using Bytes = std::vector<unsigned char>;

void put(Bytes &bytes, bool bigEndian, unsigned value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<unsigned char>(value >> (8 * (bigEndian ? size - 1 - i : i))));
}

// A JPEG file's start: an APP1 EXIF block ("MM" or "II", 42) whose first IFD holds one SHORT
// entry of the given tag, then the start of the scan.
Bytes jpegStart(bool bigEndian, unsigned tag, unsigned orientation)
{
    Bytes file = {0xFF, 0xD8, 0xFF, 0xE1, 0, 30, 'E', 'x', 'i', 'f', 0, 0};
    put(file, bigEndian, bigEndian ? 0x4D4D : 0x4949, 2);
    const unsigned fields[][2] = {{42, 2}, {8, 4}, {1, 2}, {tag, 2}, {3, 2}, {1, 4}, {orientation, 2}, {0, 2}};
    for (const auto &field : fields)
        put(file, bigEndian, field[0], static_cast<int>(field[1]));
    file.insert(file.end(), {0xFF, 0xDA});
    return file;
}

int orientationOf(const Bytes &file)
{
    return exifOrientation(file.data(), file.size());
}

TEST(ExifOrientation, ReadInBothByteOrders)
{
    for (const bool bigEndian : {false, true})
        for (unsigned orientation = 0; orientation <= 9; ++orientation)
            EXPECT_EQ(orientationOf(jpegStart(bigEndian, 0x0112, orientation)),
                      orientation >= 1 && orientation <= 8 ? orientation : 1);
}

// One byte changed at a time: no picture start, a segment running past the end, of length 0 or
// with no room for its name, no "Exif", no byte order, no 42, the entries past the end, another
// tag, another type, two values.
TEST(ExifOrientation, UprightWhenMissingOrDamaged)
{
    const std::pair<std::size_t, unsigned char> damages[] = {
        {1, 0xD9}, {4, 0xFF}, {5, 0}, {5, 2}, {10, 'X'}, {13, 'M'}, {14, 43}, {16, 0xF0}, {22, 0}, {24, 4}, {26, 2},
    };
    for (const auto &damage : damages) {
        Bytes file = jpegStart(false, 0x0112, 6);
        file[damage.first] = damage.second;
        EXPECT_EQ(orientationOf(file), 1) << damage.first;
    }
    // A second entry, for the orientation, that starts inside the block and ends past it.
    Bytes file = jpegStart(false, 0x0111, 6);
    file[5] = 40;
    file[20] = 2;
    file.insert(file.end() - 2, {0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0});
    EXPECT_EQ(orientationOf(file), 1);
}

} // namespace
