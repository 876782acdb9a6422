// Asks the platform about one picture file, in a process of its own so that a loader that
// crashes takes only this process with it:
//   robust_probe FILE
// prints "fit=1" or "fit=0" (whether the programs' header check lets the file through),
// then "raw=WxH" or "raw=null" for LoadImageA with LR_LOADFROMFILE called on the file
// directly, without the check, as the programs would call it, and "corner=RRGGBB", the
// colour of its top-left pixel as loaded. A crash in the loader shows
// as a missing raw line and an exit code other than 0.
#include <windows.h>

#include <cstdio>

#include "bmpcheck.h"

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: robust_probe FILE\n");
        return 2;
    }
    const char *path = argv[1];
    bool fits = false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        unsigned char head[BMP_HEADER_BYTES] = {};
        DWORD got = 0;
        LARGE_INTEGER length = {};
        if (ReadFile(file, head, sizeof(head), &got, NULL) && GetFileSizeEx(file, &length))
            fits = bmpHeadersFit(head, got, static_cast<std::uint64_t>(length.QuadPart));
        CloseHandle(file);
    }
    std::printf("fit=%d\n", fits ? 1 : 0);
    std::fflush(stdout);

    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(NULL, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    BITMAP record = {};
    if (bitmap != NULL && GetObjectA(bitmap, sizeof(record), &record) == sizeof(record)) {
        std::printf("raw=%ldx%ld\n", static_cast<long>(record.bmWidth), static_cast<long>(record.bmHeight));
        // The colour at the picture's top-left corner, as drawing would take it.
        HDC memory = CreateCompatibleDC(NULL);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        const COLORREF corner = GetPixel(memory, 0, 0);
        SelectObject(memory, previous);
        DeleteDC(memory);
        std::printf("corner=%02x%02x%02x\n", GetRValue(corner), GetGValue(corner), GetBValue(corner));
    } else
        std::printf("raw=null\n");
    if (bitmap != NULL)
        DeleteObject(bitmap);
    return 0;
}
