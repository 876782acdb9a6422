// The picture a program shows, kept in the forms its controls draw: the whole picture
// stretched to the preview's size (and, in the resizer, to the size it saves), and, in the
// game, the sixteen pieces of its 4 x 4 grid stretched to the tiles' size, all with HALFTONE
// (a form already of its size is copied). The forms are made from the file on its first
// draw, in one reading of the file, and the decoded picture is let go as soon as they are
// made. Every draw looks at the file's size and times: when the file has changed on disk,
// been replaced or gone, the forms are made afresh, exactly as drawing from the file each
// time would show it.
#ifndef COMMON_FORMS_H
#define COMMON_FORMS_H

#include <windows.h>

// Sizes of the forms the program draws, set at start and whenever its window's scale changes:
// the preview's side; the tiles' (0 when the program has no tiles); and the side of the picture
// it saves (0 when it saves none), which is the same whatever the screen's scale.
void pictureForms(int preview, int piece, int saved);

// Draws the whole picture of file path at the top left of dest, at the preview's size. False,
// drawing nothing, when the file is not a picture that can be shown.
bool drawPictureWhole(HDC target, const RECT &dest, const wchar_t *path);

// Draws the whole picture at the size it is saved at, as drawPictureWhole does.
bool drawPictureSaved(HDC target, const RECT &dest, const wchar_t *path);

// Draws piece (0 to 15, row by row) of the picture at the top left of dest: the last column
// and row start at w - w/4 and h - h/4, so that they end exactly at the picture's edges.
// False, drawing nothing, when the file can't be shown or its pieces would be smaller than a
// pixel.
bool drawPicturePiece(HDC target, const RECT &dest, const wchar_t *path, int piece);

// Lets go of the forms: the next draw reads the file again (a picture chosen again, and
// the end of the program).
void forgetPicture();

#endif
