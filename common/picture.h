// The picture a program shows, kept in the forms its controls draw: the whole picture
// stretched with HALFTONE to the preview's size and, in the game, the sixteen pieces of its
// 4 x 4 grid stretched to the tiles' size. The forms are made from the file on its first
// draw, in one reading of the file, and the decoded picture is let go as soon as they are
// made. Every draw looks at the file's size and times: when the file has changed on disk,
// been replaced or gone, the forms are made afresh, exactly as drawing from the file each
// time would show it.
#ifndef COMMON_PICTURE_H
#define COMMON_PICTURE_H

#include <windows.h>
#include <shellapi.h>

#include <string>

// The pictures both programs show: BMP files, read by the platform's loader, and whatever the
// imaging component decodes (JPEG, PNG, the first frame of a GIF, the first page of a TIFF),
// shown upright as the EXIF orientation of a photo says and over white where transparent.
// Pictures of more than 100 million pixels, and files that can't be decoded, are not shown.

// The open-file dialogs' filter: all the pictures first, then BMP files alone.
const char PICTURE_FILTER[] = "Pictures (*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff)\0"
                              "*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff\0"
                              "Bmp File (*.bmp)\0*.bmp\0";

// Sizes of the forms the program draws, set once at start: the preview's, and the tiles'
// (0 when the program has no tiles).
void pictureForms(int previewWidth, int previewHeight, int tileSize);

// Draws the whole picture of file path at the top left of dest. False, drawing nothing,
// when the file is not a picture that can be shown.
bool drawPictureWhole(HDC target, const RECT &dest, const char *path);

// Draws piece (0 to 15, row by row) of the picture at the top left of dest: the last column
// and row start at w - w/4 and h - h/4, so that they end exactly at the picture's edges.
// The piece is stretched with the stretch mode that target has. False, drawing nothing, when
// the file can't be shown or its pieces would be smaller than a pixel.
bool drawPicturePiece(HDC target, const RECT &dest, const char *path, int piece);

// Lets go of the forms: the next draw reads the file again (a picture chosen again, and
// the end of the program).
void forgetPicture();

// The file named on the program's command line (opened with the program, or dropped on its
// icon), quotes taken off, as a full path; empty when none is named or it is no file.
std::string commandLinePicture(const char *commandLine);

// The first file of a drop on a window, as a full path, and the drop let go; empty when
// it is a folder.
std::string droppedFile(HDROP drop);

#endif
