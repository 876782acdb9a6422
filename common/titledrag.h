// Dragging a borderless window by the title bar painted on its skin.
#ifndef COMMON_TITLEDRAG_H
#define COMMON_TITLEDRAG_H

#include <windows.h>

// Called with a WM_LBUTTONDOWN's lParam. A press inside titleRect (client coordinates of the
// 96-DPI layout, taken at the window's dpi; right and bottom edges excluded) lets the system
// move the window as if its caption had been grabbed; a press anywhere else does nothing.
void dragByTitle(HWND window, const RECT &titleRect, LPARAM lParam, int dpi);

#endif
