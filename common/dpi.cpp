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

// The window is made at the system's scale, then sized again for its monitor's.
HWND createScaledWindow(const wchar_t *className, const wchar_t *title, int width, int height, int offsetX, int offsetY,
                        int *dpi)
{
    *dpi = systemDpi();
    HWND window = CreateWindowEx(0, className, title, WS_POPUP | WS_SYSMENU,
                                 GetSystemMetrics(SM_CXSCREEN) / 2 - scaled(offsetX, *dpi),
                                 GetSystemMetrics(SM_CYSCREEN) / 2 - scaled(offsetY, *dpi), scaled(width, *dpi),
                                 scaled(height, *dpi), NULL, NULL, GetModuleHandle(NULL), NULL);
    *dpi = windowDpi(window);
    SetWindowPos(window, NULL, 0, 0, scaled(width, *dpi), scaled(height, *dpi), SWP_NOMOVE | SWP_NOZORDER);
    return window;
}

int takeNewDpi(HWND window, WPARAM wParam, LPARAM lParam)
{
    const RECT *suggested = reinterpret_cast<const RECT *>(lParam);
    SetWindowPos(window, NULL, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    return LOWORD(wParam);
}
