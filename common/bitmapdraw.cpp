#include "bitmapdraw.h"

bool bitmapSize(HBITMAP bitmap, int *width, int *height)
{
    BITMAP record;
    if (bitmap == NULL || GetObject(bitmap, sizeof(record), &record) != sizeof(record))
        return false;
    *width = record.bmWidth;
    *height = record.bmHeight;
    return true;
}

void stretchBitmap(HDC target, const RECT &dest, HBITMAP bitmap, int srcX, int srcY, int srcWidth, int srcHeight,
                   bool halftone)
{
    HDC memory = CreateCompatibleDC(NULL);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (halftone) {
        SetStretchBltMode(target, HALFTONE);
        SetBrushOrgEx(target, 0, 0, NULL);
    }
    StretchBlt(target, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, memory, srcX, srcY,
               srcWidth, srcHeight, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

void drawBitmapButton(const DRAWITEMSTRUCT *item, int normalId, int pressedId)
{
    const int id = (item->itemState & ODS_SELECTED) ? pressedId : normalId;
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImage(GetModuleHandle(NULL), MAKEINTRESOURCE(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    int width = 0;
    int height = 0;
    if (bitmapSize(bitmap, &width, &height))
        stretchBitmap(item->hDC, item->rcItem, bitmap, 0, 0, width, height, true);
    if (bitmap != NULL)
        DeleteObject(bitmap);
}
