// Reading a picture file, or a picture built into the program, into a bitmap, upright: BMP
// files through the platform's loader, once their headers are seen to fit the file, and
// whatever the imaging component decodes (JPEG, PNG, the first frame of a GIF, the first page
// of a TIFF) turned upright as the EXIF orientation of a photo says and put over white where
// transparent. Pictures of more than 100 million pixels, and files that can't be decoded, are
// refused before their pixels are.
#ifndef COMMON_PICTUREFILE_H
#define COMMON_PICTUREFILE_H

#include <windows.h>

// The picture at its own size, or NULL when it can't be shown: missing or unreadable, a BMP
// file whose headers don't fit its length, or a file the imaging component refuses. The
// caller deletes it.
HBITMAP loadPictureFile(const wchar_t *path);

// A picture built into the program: its resource id of the type given (a PNG file), decoded by
// the imaging component. NULL when the program has none such. The caller deletes it.
HBITMAP loadPictureResource(int id, const wchar_t *type);

// A top-down 32-bit DIB section of width x height, its pixels at *pixels.
HBITMAP topDownBitmap(int width, int height, void **pixels);

#endif
