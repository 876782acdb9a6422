// Pictures made smaller by averaging: each pixel of the result is the mean of the pixels it
// covers, weighed by how much of each it covers. The skinned look is drawn at 200 % and 300 %
// and averaged down to the scales between, so that no edge or letter of it is ever enlarged.
#ifndef COMMON_AVERAGE_H
#define COMMON_AVERAGE_H

#include <cstdint>

// Fills the toWidth x toHeight picture to from the fromWidth x fromHeight picture from, both
// rows of 32-bit pixels from the top, each of its four 8-bit channels averaged on its own. A
// result larger than its source along a side repeats the source's pixels there, blended where a
// result pixel straddles two of them.
void averagePixels(const std::uint32_t *from, int fromWidth, int fromHeight, std::uint32_t *to, int toWidth,
                   int toHeight);

#endif
