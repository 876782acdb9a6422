#include "dpi.h"

namespace {

using DpiForWindow = UINT(WINAPI *)(HWND);

} // namespace

int systemDpi()
{
    HDC screen = GetDC(NULL);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(NULL, screen);
    return dpi > 0 ? dpi : BASE_DPI;
}

// GetDpiForWindow is looked up as the program runs: Windows 7 and 8.1 have none, and a program
// that named it among its imports would not start there.
int windowDpi(HWND window)
{
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    const UINT dpi = found != NULL ? reinterpret_cast<DpiForWindow>(reinterpret_cast<void *>(found))(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : systemDpi();
}

int scaled(int length, int dpi)
{
    return MulDiv(length, dpi, BASE_DPI);
}

int takeNewDpi(HWND window, WPARAM wParam, LPARAM lParam)
{
    const RECT *suggested = reinterpret_cast<const RECT *>(lParam);
    SetWindowPos(window, NULL, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    return LOWORD(wParam);
}
