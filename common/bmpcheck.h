// A look at a BMP file's headers before the platform's loader sees it. The loader trusts
// the pixel offset and never compares the declared sizes with the file's length, so a
// truncated or absurd file can make it read past the end. Only files whose headers
// describe pixel data that is really there are handed on.
#ifndef COMMON_BMPCHECK_H
#define COMMON_BMPCHECK_H

#include <cstddef>
#include <cstdint>

// How much of a file's start bmpHeadersFit needs to see: the file header and the largest
// info header with its colour masks.
const std::size_t BMP_HEADER_BYTES = 14 + 124;

// head: the first bytes of the file (headLength of them, at most BMP_HEADER_BYTES are read);
// fileLength: the file's whole length. True when the file is a BMP whose headers, colour
// table and pixel data all lie inside the file and describe a picture that can be drawn.
bool bmpHeadersFit(const unsigned char *head, std::size_t headLength, std::uint64_t fileLength);

// True when the file's rows are stored top-down: a negative height in a Windows info header.
bool bmpTopDown(const unsigned char *head, std::size_t headLength);

#endif
