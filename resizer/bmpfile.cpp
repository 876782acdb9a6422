#include "bmpfile.h"

namespace {

void put16(unsigned char *at, unsigned long value)
{
    at[0] = static_cast<unsigned char>(value & 0xFF);
    at[1] = static_cast<unsigned char>((value >> 8) & 0xFF);
}

void put32(unsigned char *at, unsigned long value)
{
    put16(at, value & 0xFFFF);
    put16(at + 2, (value >> 16) & 0xFFFF);
}

} // namespace

unsigned long captureStride(int width)
{
    if (width <= 0)
        return 0;
    const unsigned long bits = 24UL * static_cast<unsigned long>(width);
    return ((bits + 31) / 32) * 4;
}

unsigned long captureImageSize(int width, int height)
{
    if (height <= 0)
        return 0;
    return captureStride(width) * static_cast<unsigned long>(height);
}

unsigned long captureFileSize(int width, int height)
{
    return BMP_HEADERS_SIZE + captureImageSize(width, height);
}

void fillCaptureHeader(unsigned char *header, int width, int height)
{
    for (unsigned long i = 0; i < BMP_HEADERS_SIZE; ++i)
        header[i] = 0;

    // File header.
    header[0] = 'B';
    header[1] = 'M';
    put32(header + 2, captureFileSize(width, height));
    put32(header + 10, BMP_HEADERS_SIZE); // the pixel rows follow the headers at once

    // Info header.
    unsigned char *info = header + BMP_FILE_HEADER_SIZE;
    put32(info + 0, BMP_INFO_HEADER_SIZE);
    put32(info + 4, static_cast<unsigned long>(width));
    put32(info + 8, static_cast<unsigned long>(height)); // positive: bottom row first
    put16(info + 12, 1);                                 // planes
    put16(info + 14, 24);                                // bits a pixel
    put32(info + 20, captureImageSize(width, height));   // compression at +16 stays 0 (none)
}
