// The layout of the pictures that Save .Bmp writes: an uncompressed 24-bit BMP file made of
// a 14-byte file header, a 40-byte info header and the pixel rows, bottom row first.
// Nothing here touches the platform, so the layout can be checked on any machine.
#ifndef PIXELHEM_BMPFILE_H
#define PIXELHEM_BMPFILE_H

// Bytes before the pixel rows: the file header and the info header.
const unsigned long BMP_FILE_HEADER_SIZE = 14;
const unsigned long BMP_INFO_HEADER_SIZE = 40;
const unsigned long BMP_HEADERS_SIZE = BMP_FILE_HEADER_SIZE + BMP_INFO_HEADER_SIZE;

// Bytes of one stored row of a picture width pixels wide: 3 bytes a pixel, padded up to a
// multiple of 4. 0 for a width of 0 or less.
unsigned long captureStride(int width);

// Bytes of all pixel rows: stride x height. 0 when either size is 0 or less.
unsigned long captureImageSize(int width, int height);

// Bytes of the whole file: both headers and the pixel rows.
unsigned long captureFileSize(int width, int height);

// Writes the BMP_HEADERS_SIZE header bytes of a width x height picture into header,
// little-endian: "BM", the file size, pixel offset 54, info header size 40, the width,
// the (positive) height, 1 plane, 24 bits a pixel, no compression, the image size;
// the reserved words, the resolutions and the colour counts are 0.
void fillCaptureHeader(unsigned char *header, int width, int height);

#endif
