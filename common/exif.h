// The orientation a camera records in a JPEG file's EXIF block (tag 0x0112): how the stored
// pixels must be turned to show the photo upright. Read from the file's first bytes alone,
// without the platform: its imaging component does not report the tag everywhere.
#ifndef COMMON_EXIF_H
#define COMMON_EXIF_H

#include <cstddef>

// How much of a file's start exifOrientation needs: the EXIF block is one APP1 segment of
// at most 64 KiB, with room for the few segments that may come before it.
const std::size_t EXIF_SEARCH_BYTES = 65536 + 4096;

// The orientation, 1 to 8, of the JPEG file whose first length bytes are data: 1 (upright)
// when there is no EXIF block, no orientation in it, or anything in it is out of place.
int exifOrientation(const unsigned char *data, std::size_t length);

// True for the orientations 5 to 8, whose upright picture has width and height swapped.
bool orientationSwapsSides(int orientation);

// Where the stored pixel (x, y) of a width x height picture goes in the upright picture
// of the given orientation: 2 flips it left to right, 3 turns it half round, 4 flips it top
// to bottom, 5 mirrors it across the diagonal from the top left, 6 turns it a quarter
// clockwise, 7 mirrors it across the other diagonal, 8 turns it a quarter anticlockwise.
void orientedPlace(int orientation, int width, int height, int x, int y, int *toX, int *toY);

#endif
