// The display scale a window is drawn for, as dots per inch: 96 at 100 %, 192 at 200 %. Both
// programs lay their windows out, and draw them, at the scale of the monitor they are on: every
// place and size of their 96-DPI layout times dpi / 96.
#ifndef COMMON_DPI_H
#define COMMON_DPI_H

#include <windows.h>

const int BASE_DPI = 96;

// The scale of the window's monitor where the platform tells it window by window (Windows 10
// from 1607 on), else the system's.
int windowDpi(HWND window);

// The scale the system's own fonts are made for.
int systemDpi();

// A length of the 96-DPI layout at dpi, to the nearest pixel.
int scaled(int length, int dpi);

// Opens a borderless window of the class, of the 96-DPI layout's width x height, its top left
// offsetX, offsetY from the screen's centre, all at the scale of the monitor it opens on, which
// it leaves in *dpi.
HWND createScaledWindow(const wchar_t *className, const wchar_t *title, int width, int height, int offsetX, int offsetY,
                        int *dpi);

// For WM_DPICHANGED: moves the window into the rectangle the platform suggests (lParam) and
// returns the new scale (wParam), for the window to be laid out again at.
int takeNewDpi(HWND window, WPARAM wParam, LPARAM lParam);

#endif
