// Drawing bitmaps onto owner-drawn buttons: the skinned buttons.
#ifndef COMMON_BITMAPDRAW_H
#define COMMON_BITMAPDRAW_H

#include <windows.h>

// Width and height of a loaded bitmap; false when they can't be read.
bool bitmapSize(HBITMAP bitmap, int *width, int *height);

// Draws a bitmap button of a window at dpi: resource bitmap normalId, or pressedId while the
// button is held down, as the skinned look has it at the button's size (artwork.h).
void drawBitmapButton(const DRAWITEMSTRUCT *item, int normalId, int pressedId, int dpi);

#endif
