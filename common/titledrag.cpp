#include "titledrag.h"

#include "dpi.h"

void dragByTitle(HWND window, const RECT &titleRect, LPARAM lParam, int dpi)
{
    const RECT title = {scaled(titleRect.left, dpi), scaled(titleRect.top, dpi), scaled(titleRect.right, dpi),
                        scaled(titleRect.bottom, dpi)};
    // The press point as two unsigned 16-bit halves of lParam.
    POINT point;
    point.x = static_cast<LONG>(LOWORD(lParam));
    point.y = static_cast<LONG>(HIWORD(lParam));
    if (PtInRect(&title, point))
        SendMessage(window, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
}
