#include "bitmapdraw.h"

#include "artwork.h"

bool bitmapSize(HBITMAP bitmap, int *width, int *height)
{
    BITMAP record;
    if (bitmap == NULL || GetObject(bitmap, sizeof(record), &record) != sizeof(record))
        return false;
    *width = record.bmWidth;
    *height = record.bmHeight;
    return true;
}

void drawBitmapButton(const DRAWITEMSTRUCT *item, int normalId, int pressedId, int dpi)
{
    const int id = (item->itemState & ODS_SELECTED) ? pressedId : normalId;
    const int width = item->rcItem.right - item->rcItem.left;
    const int height = item->rcItem.bottom - item->rcItem.top;
    HBITMAP bitmap = artwork(id, width, height, dpi);
    if (bitmap == NULL)
        return;
    HDC memory = CreateCompatibleDC(item->hDC);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(item->hDC, item->rcItem.left, item->rcItem.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}
