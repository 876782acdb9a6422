#include "artwork.h"

#include <cstdint>
#include <vector>

#include "average.h"
#include "bitmapdraw.h"
#include "dpi.h"
#include "picturefile.h"

namespace {

const int DOUBLE_DPI = 2 * BASE_DPI; // the larger drawing is the 300 % one above this

struct Made {
    int id;
    int width;
    int height;
    HBITMAP bitmap;
};
std::vector<Made> made; // all for madeDpi
int madeDpi = 0;
HBRUSH skinBrush = NULL;

// The 1x bitmap at width x height: stretched with HALFTONE where it is a pixel off that size.
HBITMAP fromBitmap(int id, int width, int height)
{
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImage(GetModuleHandle(NULL), MAKEINTRESOURCE(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    int bitmapWidth = 0;
    int bitmapHeight = 0;
    if (!bitmapSize(bitmap, &bitmapWidth, &bitmapHeight) || (bitmapWidth == width && bitmapHeight == height))
        return bitmap;
    void *pixels = NULL;
    HBITMAP fitted = topDownBitmap(width, height, &pixels);
    HDC from = CreateCompatibleDC(NULL);
    HDC to = CreateCompatibleDC(NULL);
    HGDIOBJ previousFrom = SelectObject(from, bitmap);
    HGDIOBJ previousTo = SelectObject(to, fitted);
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, NULL);
    StretchBlt(to, 0, 0, width, height, from, 0, 0, bitmapWidth, bitmapHeight, SRCCOPY);
    SelectObject(to, previousTo);
    SelectObject(from, previousFrom);
    DeleteDC(to);
    DeleteDC(from);
    DeleteObject(bitmap);
    return fitted;
}

// The drawing for the scale, averaged to width x height.
HBITMAP fromDrawing(int id, int width, int height, int dpi)
{
    HBITMAP drawing = loadPictureResource(id, dpi <= DOUBLE_DPI ? L"PNG200" : L"PNG300");
    DIBSECTION section = {};
    if (drawing == NULL || GetObject(drawing, sizeof(section), &section) != sizeof(section)) {
        if (drawing != NULL)
            DeleteObject(drawing);
        return NULL;
    }
    void *pixels = NULL;
    HBITMAP bitmap = topDownBitmap(width, height, &pixels);
    if (bitmap != NULL)
        averagePixels(static_cast<const std::uint32_t *>(section.dsBm.bmBits), section.dsBm.bmWidth,
                      section.dsBm.bmHeight, static_cast<std::uint32_t *>(pixels), width, height);
    DeleteObject(drawing);
    return bitmap;
}

void forgetBitmaps()
{
    for (const Made &kept : made)
        if (kept.bitmap != NULL)
            DeleteObject(kept.bitmap);
    made.clear();
}

} // namespace

HBITMAP artwork(int id, int width, int height, int dpi)
{
    if (dpi != madeDpi) {
        forgetBitmaps();
        madeDpi = dpi;
    }
    for (const Made &kept : made)
        if (kept.id == id && kept.width == width && kept.height == height)
            return kept.bitmap;
    HBITMAP bitmap = dpi == BASE_DPI ? fromBitmap(id, width, height) : fromDrawing(id, width, height, dpi);
    made.push_back(Made{id, width, height, bitmap});
    return bitmap;
}

void useSkin(HWND window, int id, int width, int height, int dpi)
{
    HBRUSH old = skinBrush;
    skinBrush = CreatePatternBrush(artwork(id, width, height, dpi)); // the brush keeps a copy of its own
    SetClassLongPtr(window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(skinBrush));
    if (old != NULL)
        DeleteObject(old);
}

void forgetArtwork()
{
    forgetBitmaps();
    madeDpi = 0;
    if (skinBrush != NULL)
        DeleteObject(skinBrush);
    skinBrush = NULL;
}
