#include "titledrag.h"

void dragByTitle(HWND window, const RECT &titleRect, LPARAM lParam)
{
    // The press point as two unsigned 16-bit halves of lParam.
    POINT point;
    point.x = static_cast<LONG>(LOWORD(lParam));
    point.y = static_cast<LONG>(HIWORD(lParam));
    if (PtInRect(&titleRect, point))
        SendMessage(window, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
}
