// Reading a picture file into a bitmap, upright: BMP files through the platform's loader, once
// their headers are seen to fit the file, and whatever the imaging component decodes (JPEG,
// PNG, the first frame of a GIF, the first page of a TIFF) turned upright as the EXIF
// orientation of a photo says and put over white where transparent. Pictures of more than
// 100 million pixels, and files that can't be decoded, are refused before their pixels are.
#ifndef COMMON_PICTUREFILE_H
#define COMMON_PICTUREFILE_H

#include <windows.h>

// The picture at its own size, or NULL when it can't be shown: missing or unreadable, a BMP
// file whose headers don't fit its length, or a file the imaging component refuses. The
// caller deletes it.
HBITMAP loadPictureFile(const wchar_t *path);

#endif
