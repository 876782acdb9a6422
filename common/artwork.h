// The skinned look of a program at its window's scale: the skin and the bitmap buttons, each a
// bitmap of the program's resources made for the size it is shown at. At 96 DPI that is the 1x
// bitmap, stretched with HALFTONE where its control is a pixel off its size, as always. At any
// other scale it is the drawing made for 200 % (up to 200 %) or for 300 % (above), averaged down
// to the size shown, so that no 1x bitmap is ever enlarged on screen.
#ifndef COMMON_ARTWORK_H
#define COMMON_ARTWORK_H

#include <windows.h>

// The bitmap resource id (its 1x bitmap's id) as shown at width x height in a window at dpi,
// made on first use and kept: it belongs to this module, which lets it go when a bitmap for
// another scale is asked for and at forgetArtwork. NULL when it can't be made.
HBITMAP artwork(int id, int width, int height, int dpi);

// Makes the skin, resource id at width x height (the window's size) for dpi, the background
// brush of the window's class; the brush it had is deleted.
void useSkin(HWND window, int id, int width, int height, int dpi);

// Lets go of every bitmap made, and of the skin's brush (the end of the program).
void forgetArtwork();

#endif
