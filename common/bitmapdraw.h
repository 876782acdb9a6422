// Drawing bitmaps onto owner-drawn buttons: the skinned buttons.
#ifndef COMMON_BITMAPDRAW_H
#define COMMON_BITMAPDRAW_H

#include <windows.h>

// Width and height of a loaded bitmap; false when they can't be read.
bool bitmapSize(HBITMAP bitmap, int *width, int *height);

// Stretches the source rectangle of bitmap onto dest of target with SRCCOPY, through a
// memory context that is released again before returning. halftone asks for the smooth
// HALFTONE stretch; otherwise the target's stretch mode is left as it is.
void stretchBitmap(HDC target, const RECT &dest, HBITMAP bitmap, int srcX, int srcY, int srcWidth, int srcHeight,
                   bool halftone);

// Draws a bitmap button: resource bitmap normalId, or pressedId while the button is held
// down, fitted to the whole button with a HALFTONE stretch.
void drawBitmapButton(const DRAWITEMSTRUCT *item, int normalId, int pressedId);

#endif
